#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/document/DesignerDoc.h"
#include "designer/document/DocumentClasses.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/FormElement.h"
#include "platform/framework/Exceptions.h"
#include "tests/support/IconvTranslator.h"
#include "tests/support/JvxBytes.h"

#include <gtest/gtest.h>

namespace {

Bytes StoreRecord(int version, const std::function<void(CAPRTPDMRec&)>& fill = {})
{
    return StoreJvx(version, [&](CJVXArchive& ar) {
        CAPRTPDMRec record;
        if (fill)
            fill(record);
        record.ExchangeJVX(ar);
    });
}

TEST(APRTPDMRecTest, LineLengthFollowsTheVersion)
{
    // Characters before CR LF, for versions 1 to 28.
    const int expected[28] = {233, 233, 246, 255, 255, 255, 255, 511, 511, 511, 512, 512, 512, 512,
                              512, 512, 512, 513, 513, 513, 513, 513, 513, 513, 513, 513, 513, 513};
    for (int version = 1; version <= 28; ++version) {
        SCOPED_TRACE(version);
        const int characters = expected[version - 1] + 2;
        const size_t bytesPerCharacter = version <= 18 ? 1 : 2;
        const Bytes line = StoreRecord(version);
        ASSERT_EQ(line.size(), characters * bytesPerCharacter);
        EXPECT_EQ(line[line.size() - 2 * bytesPerCharacter], 0x0D);
        EXPECT_EQ(line[line.size() - bytesPerCharacter], 0x0A);
    }
    // Versions outside 1 to 28 count as 28.
    EXPECT_EQ(StoreRecord(40).size(), 2u * (513 + 2));
}

TEST(APRTPDMRecTest, FieldsOfALineInOrder)
{
    const Bytes line = StoreRecord(3, [](CAPRTPDMRec& r) {
        r.m_sequence.SetValue(7);
        r.m_opcode.SetValue(QStringLiteral("COPY"));
        r.m_sourceSign.SetValue(QStringLiteral("+"));
        r.m_sourceLine.SetValue(1);
        r.m_sourceFirstColumn.SetValue(12);
        r.m_sourceLastColumn.SetValue(20);
        r.m_destLine.SetValue(5);
        r.m_destOffsetY.SetValue(30);
        r.m_destFirstColumn.SetValue(2);
        r.m_destOffsetX.SetValue(-15);
        r.m_destLastColumn.SetValue(10);
        r.m_comparison.SetValue(QStringLiteral("EQ"));
        r.m_data.SetValue(QStringLiteral("DATA"));
        r.m_description.SetValue(QStringLiteral("Desc"));
        r.m_lineCount.SetValue(2);
        r.m_fontIndex.SetValue(QStringLiteral("3"));
        r.m_options[0].SetValue(QStringLiteral("Y"));
        r.m_flag.SetValue(QStringLiteral("1"));
        r.m_destWidth.SetValue(1440);
        r.m_destHeight.SetValue(720);
    });
    const std::string expected = std::string("  0007COPY+001012020 0050030002-015010EQ") + "DATA"
                                 + std::string(128, ' ') + "Desc" + std::string(46, ' ')
                                 + "00" // filler of versions 1 to 3
                                 + "0023Y    1001440000720\r\n";
    EXPECT_EQ(std::string(line.begin(), line.end()), expected);
}

TEST(APRTPDMRecTest, ALineReachesTheFileInOneWriteWithTheBytesOfItsFieldsWrittenOneByOne)
{
    IconvTranslator system("IBM285", TranslatorMode::PcToHost);
    IconvTranslator user("IBM285", TranslatorMode::PcToHost);
    CAPRTPDMRec record;
    record.m_sequence.SetValue(12);
    record.m_opcode.SetValue(QStringLiteral("MOVE"));
    record.m_sourceSign.SetValue(QStringLiteral("-"));
    record.m_sourceLine.SetValue(-7);
    record.m_destOffsetX.SetValue(-1440);
    record.m_destWidth.SetValue(123456);
    record.m_comparison.SetValue(QStringLiteral("NE"));
    // A character the 8-bit form lacks, and one it has above ASCII.
    record.m_data.SetValue(QString::fromUtf16(u"Data \u0101 \u00E9"));
    record.m_description.SetValue(QStringLiteral("A description"));
    record.m_options[4].SetValue(QStringLiteral("Y"));
    record.m_name.SetValue(QStringLiteral("FIELDNAME1"));
    record.m_longData.SetValue(QString(300, QLatin1Char('L')));
    record.m_resourceId.SetValue(QStringLiteral("R"));

    struct Form
    {
        const char* name;
        int version;
        bool translated;
    };
    const Form forms[] = {
        {"version 3, 8-bit", 3, false},
        {"version 18, 8-bit", 18, false},
        {"version 28, raw UTF-16", 28, false},
        {"version 28, IBM285", 28, true},
    };
    for (const Form& form : forms) {
        SCOPED_TRACE(form.name);
        SetUserDataTranslator(form.translated ? &user : nullptr);
        ITranslator* systemText = form.translated ? &system : nullptr;

        const CountedJvx gathered = StoreJvxCounted(
            form.version, [&](CJVXArchive& ar) { record.ExchangeJVX(ar); }, systemText);
        EXPECT_EQ(gathered.writes, 1);

        const Bytes fieldByField = StoreJvx(
            form.version,
            [&](CJVXArchive& ar) {
                CAPRTPDMRec& r = record;
                for (CFixedLenString* field : {&r.m_unused1, &r.m_unused2})
                    field->ExchangeJVX(ar);
                r.m_sequence.ExchangeJVX(ar);
                r.m_opcode.ExchangeJVX(ar);
                r.m_sourceSign.ExchangeJVX(ar);
                for (CFixedLenNum* field : {&r.m_sourceLine, &r.m_sourceFirstColumn, &r.m_sourceLastColumn})
                    field->ExchangeJVX(ar);
                r.m_destSign.ExchangeJVX(ar);
                for (CFixedLenNum* field :
                     {&r.m_destLine, &r.m_destOffsetY, &r.m_destFirstColumn, &r.m_destOffsetX, &r.m_destLastColumn})
                    field->ExchangeJVX(ar);
                r.m_comparison.ExchangeJVX(ar);
                r.m_data.ExchangeJVX(ar);
                r.m_description.ExchangeJVX(ar);
                if (form.version <= 3) {
                    CFixedLenNum filler(2);
                    filler.ExchangeJVX(ar);
                }
                r.m_lineCount.ExchangeJVX(ar);
                r.m_fontIndex.ExchangeJVX(ar);
                for (CFixedLenString& option : r.m_options)
                    option.ExchangeJVX(ar);
                r.m_flag.ExchangeJVX(ar);
                r.m_destWidth.ExchangeJVX(ar);
                r.m_destHeight.ExchangeJVX(ar);
                if (form.version >= 4) {
                    r.m_paramNumber.ExchangeJVX(ar);
                    r.m_name.ExchangeJVX(ar);
                    r.m_longData.ExchangeJVX(ar);
                    r.m_barcodeLetter.ExchangeJVX(ar);
                    r.m_resourceId.ExchangeJVX(ar);
                }
                ar.WriteLineEnd();
            },
            systemText);
        EXPECT_EQ(gathered.bytes, fieldByField);
    }
    SetUserDataTranslator(nullptr);
}

TEST(APRTPDMRecTest, OpcodesGiveRecordTypes)
{
    struct Case
    {
        const char* name;
        const char* opcode;
        const char* barcode;
        int type;
        bool valid;
    };
    const Case cases[] = {
        {"copy", "COPY", "", FormElementType::Source, true},
        {"copy with barcode", "COPY", "A", FormElementType::Barcode, true},
        {"move", "MOVE", "", FormElementType::Text, true},
        {"move with barcode", "MOVE", "B", FormElementType::Barcode, true},
        {"graphic", "GRPH", "", FormElementType::Image, true},
        {"overlay", "OVL", "", FormElementType::Image, true},
        {"loop", "LOOP", "", FormElementType::Loop, true},
        {"end loop", "ENDL", "", FormElementType::EndLoop, false},
        {"break loop", "BRKL", "", FormElementType::BreakLoop, false},
        {"if", "IF", "", FormElementType::Conditional, true},
        {"if page", "IFP", "", FormElementType::Conditional, true},
        {"end if", "ENDI", "", FormElementType::EndConditional, false},
        {"output", "OUTP", "", FormElementType::Output, true},
        {"call", "CALL", "", FormElementType::ExitProgram, true},
        {"parameter", "PARM", "", FormElementType::ExitParam, true},
        {"variable", "VAR", "", FormElementType::Variable, true},
        {"blank", "BLNK", "", FormElementType::Eraser, true},
        {"barcode", "BARC", "", FormElementType::Barcode, true},
        {"xml element", "XMLE", "", FormElementType::XmlElement, true},
        {"xml attribute", "XMLA", "", FormElementType::XmlAttribute, true},
        {"xml comment", "XMLC", "", FormElementType::XmlComment, true},
        {"xml instruction", "XMLI", "", FormElementType::XmlInstruction, true},
        {"end xml", "ENDX", "", FormElementType::EndXmlElement, false},
        {"resource", "RES", "", FormElementType::Resource, true},
        {"lower case", "copy", "", FormElementType::BlankRecord, false},
        {"unknown", "ZZZZ", "", FormElementType::BlankRecord, false},
        {"empty", "", "", FormElementType::BlankRecord, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes line = StoreRecord(28, [&](CAPRTPDMRec& r) {
            r.m_opcode.SetValue(QString::fromLatin1(c.opcode));
            r.m_barcodeLetter.SetValue(QString::fromLatin1(c.barcode));
        });
        JvxReader in(line, 28);
        CAPRTPDMRec record;
        record.ExchangeJVX(in.Archive());
        EXPECT_EQ(record.GetType(), c.type);
        EXPECT_EQ(record.IsValid() != FALSE, c.valid);
        EXPECT_FALSE(record.IsEndOfData());
        EXPECT_EQ(record.CreateElement(in.Archive()) == nullptr, true) << "no kind is registered here";
    }
}

TEST(APRTPDMRecTest, EndOfDataInsideARecordIsAQuietEnd)
{
    const Bytes full = StoreRecord(18, [](CAPRTPDMRec& r) { r.m_opcode.SetValue(QStringLiteral("COPY")); });
    struct Case
    {
        const char* name;
        Bytes file;
        bool valid;
        bool endOfData;
    };
    const Case cases[] = {
        {"nothing left", Bytes{}, false, true},
        {"cut inside the description", Bytes(full.begin(), full.begin() + 200), false, true},
        {"last record without its line end", Bytes(full.begin(), full.end() - 2), true, false},
        {"complete", full, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JvxReader in(c.file, 18);
        CAPRTPDMRec record;
        record.ExchangeJVX(in.Archive());
        EXPECT_EQ(record.IsValid() != FALSE, c.valid);
        EXPECT_EQ(record.IsEndOfData() != FALSE, c.endOfData);
        EXPECT_EQ(record.GetType(), c.valid ? FormElementType::Source : FormElementType::BlankRecord);
    }
}

TEST(APRTPDMRecTest, ABadLineEndIsAnErrorForTheReader)
{
    Bytes line = StoreRecord(18);
    line[line.size() - 2] = 'X';
    line[line.size() - 1] = 'Y';
    line.push_back('Z');
    JvxReader in(line, 18);
    CAPRTPDMRec record;
    try {
        record.ExchangeJVX(in.Archive());
        FAIL() << "the record was accepted";
    } catch (CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badIndex);
    }
}

TEST(APRTPDMRecTest, ResetKeepsDocumentParentAndEmptyMarks)
{
    CDesignerDoc doc;
    CAPRTPDMRec record(&doc);
    auto* parent = reinterpret_cast<CFormElement*>(&record); // only compared
    record.SetParent(parent);
    record.m_opcode.SetValue(QStringLiteral("LOOP"));
    record.m_sourceLine.SetValue(12);
    record.m_options[2].SetValue(QStringLiteral("X"));
    record.m_destLine.SetEmpty(TRUE);
    record.Reset();
    EXPECT_EQ(record.GetDocument(), &doc);
    EXPECT_EQ(record.GetParent(), parent);
    EXPECT_TRUE(record.m_opcode.GetValue().isEmpty());
    EXPECT_EQ(record.m_sourceLine.GetValue(), 0);
    EXPECT_FALSE(record.m_sourceLine.IsEmpty());
    EXPECT_TRUE(record.m_destLine.IsEmpty());
    EXPECT_TRUE(record.m_options[2].GetValue().isEmpty());
    EXPECT_EQ(record.GetType(), FormElementType::BlankRecord);
    EXPECT_FALSE(record.IsValid());
}

TEST(APRTPDMRecTest, SequenceNumbersComeFromTheDocumentsRunningCounter)
{
    CDesignerDoc doc;
    CAPRTPDMRec record(&doc);
    doc.m_jvxRecordCounter = 0;
    record.AssignSequenceNumber();
    EXPECT_EQ(record.m_sequence.GetValue(), 0);
    EXPECT_EQ(doc.m_jvxRecordCounter, 0);

    doc.m_jvxRecordCounter = 1;
    record.AssignSequenceNumber();
    EXPECT_EQ(record.m_sequence.GetValue(), 1);
    record.AssignSequenceNumber();
    EXPECT_EQ(record.m_sequence.GetValue(), 2);
    EXPECT_EQ(doc.m_jvxRecordCounter, 3);

    CAPRTPDMRec withoutDocument;
    withoutDocument.AssignSequenceNumber();
    EXPECT_EQ(withoutDocument.m_sequence.GetValue(), 0);
}

TEST(APRTPDMRecTest, ClearOptionFieldsEmptiesFields20To24Only)
{
    CAPRTPDMRec record;
    for (CFixedLenString& option : record.m_options)
        option.SetValue(QStringLiteral("Y"));
    record.m_fontIndex.SetValue(QStringLiteral("1"));
    record.m_flag.SetValue(QStringLiteral("1"));
    record.ClearOptionFields();
    for (const CFixedLenString& option : record.m_options)
        EXPECT_TRUE(option.GetValue().isEmpty());
    EXPECT_EQ(record.m_fontIndex.GetValue(), QStringLiteral("1"));
    EXPECT_EQ(record.m_flag.GetValue(), QStringLiteral("1"));
}

TEST(APRTPDMRecTest, FactoryRefusesTypesThatAreNeverMadeFromRecords)
{
    auto factory = [](CAPRTPDMRec&, CJVXArchive&) -> CFormElement* { return nullptr; };
    for (int type : {int(FormElementType::Address), int(FormElementType::Remark), int(FormElementType::EndLoop),
                     int(FormElementType::BlankRecord), int(FormElementType::BreakLoop), 0, 300})
        EXPECT_FALSE(RegisterRecordElementFactory(type, factory)) << type;
    EXPECT_FALSE(RegisterRecordElementFactory(FormElementType::Text, nullptr));
}

TEST(APRTPDMRecTest, ClassTableKnowsTheJvxClasses)
{
    RegisterDocumentClasses();
    struct Case
    {
        const char* name;
        const char* base;
        UINT schema;
    };
    const Case cases[] = {
        {"CAPRTPDMRec", "CObject", 28},
        {"CFixedLenNum", "CObject", 1},
        {"CFixedLenString", "CObject", 2},
        {"CFixedLenUserString", "CFixedLenString", 0},
        {"CFixedLenUserStringStripped", "CFixedLenUserString", 0},
        {"CTimeStamp", "CObject", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CRuntimeClass* runtimeClass = CRuntimeClass::FromName(c.name);
        ASSERT_NE(runtimeClass, nullptr);
        EXPECT_EQ(runtimeClass->GetStoredSchema(), c.schema);
        EXPECT_TRUE(runtimeClass->IsVersionable());
        ASSERT_NE(runtimeClass->baseClass, nullptr);
        EXPECT_STREQ(runtimeClass->baseClass->className, c.base);
    }
}

TEST(APRTPDMRecTest, AnArchiveNamingAnUnknownClassIsRefused)
{
    RegisterDocumentClasses();
    // A new class tag, schema 28, then the name "CAPRTPDMRex".
    const Bytes stream = Hex("FF FF 1C 00 0B 00") + Ascii("CAPRTPDMRex");
    try {
        Load(stream, [](CArchive& ar) { delete ar.ReadObject(nullptr); });
        FAIL() << "the object was read";
    } catch (CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badClass);
    }
}

} // namespace
