#include "designer/document/Page.h"
#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/FormVariableElement.h"
#include "designer/elements/VariableStrings.h"
#include "designer/preferences/Preferences.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/JvxBytes.h"

#include "ElementTestKinds.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using kwvd::Rect;

const QString kReservedText =
    QStringLiteral("Reserved variable name. Please choose another name. Reserved Names:\nPARM1-PARM6\nPAGE\nPOSITION");
const QString kMaximumText = QStringLiteral("Maximum Variables already in Use. The Maximum is 999.");

class VariableElementTest : public ElementDocFixture
{
protected:
    void SetUp() override
    {
        ElementDocFixture::SetUp();
        RegisterVariableStrings();
        cw = doc->GetSourcePage()->GetCellWidth();
        ch = doc->GetSourcePage()->GetCellHeight();
        ASSERT_EQ(cw, 10);
        ASSERT_EQ(ch, 16);
    }

    Rect Cells(int left, int top, int right, int bottom) const
    {
        return Rect((left - 1) * cw, (top - 1) * ch, (right - 1) * cw, (bottom - 1) * ch);
    }

    // A Variable in the document, with a name given through SetName.
    CFormVariableElement* AddVariable(const QString& name, int side = 0, const Rect& rect = {})
    {
        auto* variable =
            static_cast<CFormVariableElement*>(doc->CreateNewElement(FormElementType::Variable, side, rect, nullptr));
        EXPECT_NE(variable, nullptr);
        if (variable != nullptr && !name.isEmpty())
            variable->SetName(name);
        return variable;
    }

    std::vector<QString> PromptTexts() const
    {
        std::vector<QString> texts;
        for (const RecordedPrompt& prompt : prompts->Recorded())
            texts.push_back(prompt.text);
        return texts;
    }

    CFormVariableElement* LoadObject(int schema, const Bytes& body)
    {
        const Bytes bytes = Hex("FF FF") + Word(schema) + Word(20) + Ascii("CFormVariableElement") + body;
        CFormVariableElement* element = nullptr;
        Load(bytes, [&](CArchive& ar) {
            ar.m_pDocument = doc.get();
            element = ar.ReadObject<CFormVariableElement>();
        });
        return element;
    }

    // The base part of an element without rectangles, as every schema from 4 on stores it.
    static Bytes BaseWithoutRects(const char16_t* description, int automatic)
    {
        return Text(description) + Word(1) + Word(1) + Word(1) + Word(1) + Word(1) + Word(1) + Word(1) + Word(1)
               + Word(0) + Word(0) + Long(0) + Long(0) + Long(0) + Long(0) + Word(automatic);
    }

    int cw = 0;
    int ch = 0;
};

TEST_F(VariableElementTest, NamingRules)
{
    struct Case
    {
        const char* name;
        QString proposed;
        bool accepted;
        QString message; // empty: none shown
    };
    const Case cases[] = {
        {"plain name", QStringLiteral("TOTAL"), true, {}},
        {"ten characters", QStringLiteral("ABCDEFGHIJ"), true, {}},
        {"reserved POSITION", QStringLiteral("POSITION"), false, kReservedText},
        {"reserved PAGE", QStringLiteral("PAGE"), false, kReservedText},
        {"reserved PARM6", QStringLiteral("PARM6"), false, kReservedText},
        {"reserved names are case-sensitive", QStringLiteral("position"), true, {}},
        {"PARM7 is not reserved", QStringLiteral("PARM7"), true, {}},
        {"eleven characters", QStringLiteral("ABCDEFGHIJK"), false, {}},
        {"empty", QString(), false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompts->ClearRecorded();
        CFormVariableElement* variable = AddVariable(QStringLiteral("OLD"));
        ASSERT_EQ(variable->GetVariableName(), QStringLiteral("OLD"));
        EXPECT_EQ(variable->SetName(c.proposed), c.accepted ? TRUE : FALSE);
        EXPECT_EQ(variable->GetVariableName(), c.accepted ? c.proposed : QStringLiteral("OLD"));
        if (c.message.isEmpty())
            EXPECT_TRUE(prompts->Recorded().empty());
        else
            EXPECT_EQ(PromptTexts(), std::vector<QString>{c.message});
        doc->DeleteElement(variable, FALSE);
    }
}

TEST_F(VariableElementTest, AtTheLimitOnlyANewNameIsRefused)
{
    for (int i = 0; i < CFormVariableElement::kMaxVariableNames; ++i)
        ASSERT_EQ(AddVariable(QStringLiteral("V%1").arg(i))->GetVariableName(), QStringLiteral("V%1").arg(i));
    ASSERT_EQ(CFormVariableElement::GetVariableNames(doc.get()).size(), 999);
    prompts->ClearRecorded();

    CFormVariableElement* last = AddVariable({});
    // It was given the first name in use.
    ASSERT_EQ(last->GetVariableName(), QStringLiteral("V0"));
    EXPECT_FALSE(last->SetName(QStringLiteral("NEW")));
    EXPECT_EQ(last->GetVariableName(), QStringLiteral("V0"));
    EXPECT_EQ(PromptTexts(), std::vector<QString>{kMaximumText});

    prompts->ClearRecorded();
    EXPECT_TRUE(last->SetName(QStringLiteral("V17")));
    EXPECT_TRUE(prompts->Recorded().empty());
}

TEST_F(VariableElementTest, MessagesDuringAQuietReadAreHeldOnce)
{
    CFormVariableElement* variable = AddVariable(QStringLiteral("A"));
    doc->BeginQuietRead();
    EXPECT_FALSE(variable->SetName(QStringLiteral("PAGE")));
    EXPECT_FALSE(variable->SetName(QStringLiteral("PARM1")));
    const std::vector<HeldNotice> held = doc->EndQuietRead();
    EXPECT_TRUE(prompts->Recorded().empty());
    ASSERT_EQ(held.size(), 1u);
    EXPECT_EQ(held[0].text, kReservedText);
}

TEST_F(VariableElementTest, NamesOfTheDocumentAreSortedAndUnique)
{
    for (const char16_t* name : {u"b", u"A", u"a", u"A"})
        AddVariable(QString::fromUtf16(name));
    EXPECT_EQ(CFormVariableElement::GetVariableNames(doc.get()),
              (QStringList{QStringLiteral("A"), QStringLiteral("a"), QStringLiteral("b")}));
    // A new element proposes the first of them.
    EXPECT_EQ(AddVariable({})->GetVariableName(), QStringLiteral("A"));
}

TEST_F(VariableElementTest, AutomaticDescriptionFollowsNameAndData)
{
    struct Case
    {
        const char* name;
        int pane;
        QString varName;
        QString data;
        QString expected;
    };
    const QString longData(60, QLatin1Char('x'));
    const Case cases[] = {
        {"data variable", 0, QStringLiteral("TOTAL"), QStringLiteral("ABC"), QStringLiteral("TOTAL  ABC")},
        {"position variable shows the name only", PaneSide::Input, QStringLiteral("TOTAL"), QStringLiteral("ABC"),
         QStringLiteral("TOTAL")},
        {"data cut so the name and data make 50", 0, QStringLiteral("TOTAL"), longData,
         QStringLiteral("TOTAL  ") + longData.left(45)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFormVariableElement* variable = AddVariable(c.varName, c.pane, Cells(2, 2, 5, 3));
        variable->SetData(c.data);
        EXPECT_EQ(variable->GetDescription(), c.expected);
        EXPECT_TRUE(variable->IsAutoDescription());
    }

    CFormVariableElement* typed = AddVariable(QStringLiteral("X"));
    typed->SetAutoDescription(FALSE);
    CFormElement::SetDescription(QStringLiteral("mine"), typed);
    typed->SetData(QStringLiteral("ABC"));
    typed->SetName(QStringLiteral("Y"));
    EXPECT_EQ(typed->GetDescription(), QStringLiteral("mine"));
}

TEST_F(VariableElementTest, NewElementsByPane)
{
    CFormVariableElement* drawn = AddVariable({}, PaneSide::Input, Rect(14, 20, 60, 50));
    EXPECT_FALSE(drawn->GetUseData());
    EXPECT_EQ(drawn->SourceRect(), Rect(10, 16, 60, 32));
    EXPECT_TRUE(drawn->DestRect().IsNull());
    EXPECT_EQ(drawn->HitTestSource(QPoint(15, 20)), drawn);

    CFormVariableElement* inserted = AddVariable({}, 0, Rect(14, 20, 60, 50));
    EXPECT_TRUE(inserted->GetUseData());
    // A data variable has no box: neither drawn nor hit in the input pane.
    EXPECT_TRUE(inserted->GetSourceRect().IsEmpty());
    EXPECT_EQ(inserted->HitTestSource(QPoint(15, 20)), nullptr);
}

TEST_F(VariableElementTest, SelectingAnnouncesOnlyAPositionVariable)
{
    CFormVariableElement* position = AddVariable(QStringLiteral("P"), PaneSide::Input, Cells(2, 2, 5, 3));
    CFormVariableElement* data = AddVariable(QStringLiteral("D"), 0);
    recorder.hints.clear();
    EXPECT_TRUE(data->Select(TRUE));
    EXPECT_TRUE(data->Select(FALSE));
    EXPECT_TRUE(recorder.hints.empty());

    EXPECT_TRUE(position->Select(TRUE));
    EXPECT_FALSE(position->Select(TRUE));
    EXPECT_TRUE(position->Select(FALSE));
    EXPECT_EQ(recorder.HintNumbers(), (std::vector<LPARAM>{242, 242, 242}));
}

TEST_F(VariableElementTest, UseDataAnnouncesTheSwitch)
{
    CFormVariableElement* variable = AddVariable(QStringLiteral("V"), PaneSide::Input, Cells(2, 2, 5, 3));
    recorder.hints.clear();
    EXPECT_TRUE(variable->SetUseData(TRUE));
    EXPECT_FALSE(variable->SetUseData(TRUE));
    EXPECT_EQ(recorder.HintNumbers(), (std::vector<LPARAM>{242, 245}));
    recorder.hints.clear();
    EXPECT_TRUE(variable->SetUseData(FALSE));
    EXPECT_EQ(recorder.HintNumbers(), std::vector<LPARAM>{242});
}

TEST_F(VariableElementTest, FindAndReplace)
{
    struct Case
    {
        const char* name;
        QString find;
        QString replace;
        bool found;
        bool replaced;
        QString varName;
        QString data;
    };
    const Case cases[] = {
        {"in the data", QStringLiteral("BC"), QStringLiteral("XY"), true, true, QStringLiteral("TOTAL"),
         QStringLiteral("AXY")},
        {"in the name", QStringLiteral("TOT"), QStringLiteral("SUB"), true, true, QStringLiteral("SUBAL"),
         QStringLiteral("ABC")},
        {"case matters", QStringLiteral("abc"), QStringLiteral("x"), false, false, QStringLiteral("TOTAL"),
         QStringLiteral("ABC")},
        {"a replaced name that is reserved stays", QStringLiteral("TOTAL"), QStringLiteral("PAGE"), true, true,
         QStringLiteral("TOTAL"), QStringLiteral("ABC")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFormVariableElement* variable = AddVariable(QStringLiteral("TOTAL"));
        variable->SetData(QStringLiteral("ABC"));
        EXPECT_EQ(variable->Find(c.find), c.found ? TRUE : FALSE);
        EXPECT_EQ(variable->Replace(c.find, c.replace), c.replaced ? TRUE : FALSE);
        EXPECT_EQ(variable->GetVariableName(), c.varName);
        EXPECT_EQ(variable->GetData(), c.data);
        doc->DeleteElement(variable, FALSE);
    }
}

TEST_F(VariableElementTest, CopyCarriesTheDescriptionOfNameAndData)
{
    CFormVariableElement* original = AddVariable(QStringLiteral("TOTAL"));
    original->SetData(QStringLiteral("ABC"));
    CFormVariableElement copy;
    copy.Copy(*original);
    EXPECT_EQ(copy.GetVariableName(), QStringLiteral("TOTAL"));
    EXPECT_EQ(copy.GetData(), QStringLiteral("ABC"));
    EXPECT_TRUE(copy.GetUseData());
    EXPECT_EQ(copy.GetDescription(), QStringLiteral("TOTAL  ABC"));
    copy.SetDocument(nullptr);
}

TEST_F(VariableElementTest, WvdObjectIsNameDataAndFlag)
{
    CFormVariableElement variable(doc.get(), Rect(), 0);
    variable.SetName(QStringLiteral("TOTAL"));
    variable.SetData(QStringLiteral("ABC"));
    const Bytes stored = Store([&](CArchive& ar) { variable.Serialize(ar); });
    EXPECT_EQ(stored, BaseWithoutRects(u"TOTAL  ABC", 1) + Text(u"TOTAL") + Text(u"ABC") + Word(1));
}

TEST_F(VariableElementTest, WvdSchemaGatesTheName)
{
    struct Case
    {
        const char* name;
        int schema;
        Bytes nameField;
        QString expected;
    };
    const Case cases[] = {
        {"schema 18 stores the number", 18, Long(7), QStringLiteral("COPIES")},
        {"schema 18 number outside the table", 18, Long(12), QString()},
        {"schema 18 number 0", 18, Long(0), QString()},
        {"schema 19 stores the name", 19, Text(u"TOTAL"), QStringLiteral("TOTAL")},
        {"schema 20 with a reserved name", 20, Text(u"PAGE"), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CFormVariableElement> read(
            LoadObject(c.schema, BaseWithoutRects(u"", 1) + c.nameField + Text(u"ABC") + Word(1)));
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(read->GetVariableName(), c.expected);
        EXPECT_EQ(read->GetData(), QStringLiteral("ABC"));
        EXPECT_TRUE(read->GetUseData());
    }
}

TEST_F(VariableElementTest, ATruncatedObjectRaisesEndOfFile)
{
    try {
        delete LoadObject(20, BaseWithoutRects(u"", 1) + Text(u"TOTAL") + Hex("FF FE FF 05 41"));
        FAIL() << "the object was read";
    } catch (CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    }
}

TEST_F(VariableElementTest, WvdRoundTripKeepsAPositionVariable)
{
    CFormVariableElement* variable = AddVariable(QStringLiteral("NAME1"), PaneSide::Input, Cells(3, 4, 9, 5));
    const Bytes bytes = Store([&](CArchive& ar) { ar.WriteObject(variable); });
    CFormVariableElement* read = nullptr;
    Load(bytes, [&](CArchive& ar) {
        ar.m_pDocument = doc.get();
        read = ar.ReadObject<CFormVariableElement>();
    });
    std::unique_ptr<CFormVariableElement> owned(read);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetVariableName(), QStringLiteral("NAME1"));
    EXPECT_FALSE(read->GetUseData());
    EXPECT_EQ(read->SourceRect(), Cells(3, 4, 9, 5));
}

TEST_F(VariableElementTest, JvxRecordByVersion)
{
    struct Case
    {
        const char* name;
        int version;
        QString varName;
        int number;    // field 28
        QString named; // field 29
        QString readBack;
    };
    const Case cases[] = {
        {"fixed name at 24", 24, QStringLiteral("COPIES"), 7, QString(), QStringLiteral("COPIES")},
        {"other name at 24", 24, QStringLiteral("TOTAL"), 0, QString(), QString()},
        {"fixed name at 25", 25, QStringLiteral("COPIES"), 0, QStringLiteral("COPIES"), QStringLiteral("COPIES")},
        {"other name at 25", 25, QStringLiteral("TOTAL"), 0, QStringLiteral("TOTAL"), QStringLiteral("TOTAL")},
        {"beyond the newest counts as 28", 40, QStringLiteral("TOTAL"), 0, QStringLiteral("TOTAL"),
         QStringLiteral("TOTAL")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFormVariableElement* variable = AddVariable(c.varName, PaneSide::Input, Cells(3, 4, 9, 5));
        const Bytes line = StoreJvx(
            c.version, [&](CJVXArchive& ar) { variable->ExportJVX(ar); }, nullptr, doc.get());
        doc->DeleteElement(variable, FALSE);
        ASSERT_FALSE(line.empty());

        JvxReader in(line, c.version, nullptr, doc.get());
        CAPRTPDMRec record(doc.get());
        record.ExchangeJVX(in.Archive());
        ASSERT_TRUE(record.IsValid());
        EXPECT_EQ(record.m_opcode.GetValue(), QStringLiteral("VAR"));
        EXPECT_EQ(record.m_paramNumber.GetValue(), c.number);
        EXPECT_EQ(record.m_name.GetValue(), c.named);
        EXPECT_EQ(record.m_sourceLine.GetValue(), 4);
        EXPECT_EQ(record.m_sourceFirstColumn.GetValue(), 3);
        EXPECT_EQ(record.m_sourceLastColumn.GetValue(), 8);

        std::unique_ptr<CFormElement> read(record.CreateElement(in.Archive()));
        ASSERT_NE(read, nullptr);
        auto* readVariable = dynamic_cast<CFormVariableElement*>(read.get());
        ASSERT_NE(readVariable, nullptr);
        EXPECT_EQ(readVariable->GetVariableName(), c.readBack);
        EXPECT_FALSE(readVariable->GetUseData());
        EXPECT_EQ(readVariable->SourceRect(), Cells(3, 4, 9, 5));
        EXPECT_TRUE(readVariable->DestRect().IsNull());
    }
}

TEST_F(VariableElementTest, DataVariableRecordHasNoPosition)
{
    CFormVariableElement* variable = AddVariable(QStringLiteral("TOTAL"), PaneSide::Input, Cells(3, 4, 9, 5));
    variable->SetData(QStringLiteral("ABC"));
    variable->SetUseData(TRUE);
    CAPRTPDMRec record(doc.get());
    EXPECT_TRUE(variable->ToRecord(record, 28));
    EXPECT_EQ(record.m_data.GetValue(), QStringLiteral("ABC"));
    for (const CFixedLenNum* field :
         {&record.m_sourceLine, &record.m_sourceFirstColumn, &record.m_sourceLastColumn, &record.m_destLine,
          &record.m_destFirstColumn, &record.m_destLastColumn, &record.m_lineCount}) {
        EXPECT_EQ(field->GetValue(), 0);
        EXPECT_TRUE(field->IsEmpty());
    }
}

// A data variable's record carries no position, only the side of the
// current line it lies on. Read back it is a data variable again, data or
// not, and written again it gives the same line.
TEST_F(VariableElementTest, DataVariableRecordsReadBackAsTheyWereWritten)
{
    struct Case
    {
        const char* name;
        int currentLine;
        int top;
        const char16_t* data;
        const char* position; // fields 5 to 8
    };
    const Case cases[] = {
        {"no current line", 0, 7, u"", " 000000000"},     {"below the current line", 5, 7, u"", "+000000000"},
        {"on the current line", 5, 5, u"", "+000000000"}, {"above the current line", 5, 3, u"", "-000000000"},
        {"with data", 5, 7, u"ABC", "+000000000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFormVariableElement* variable = AddVariable(QStringLiteral("TOTAL"), 0, Cells(3, c.top, 9, c.top + 1));
        ASSERT_TRUE(variable->GetUseData());
        variable->SetData(QString::fromUtf16(c.data));
        doc->m_currentSourceLine = c.currentLine;
        const Bytes first = StoreJvx(
            18, [&](CJVXArchive& ar) { variable->ExportJVX(ar); }, nullptr, doc.get());
        doc->DeleteElement(variable, FALSE);
        ASSERT_GE(first.size(), 20u);
        EXPECT_EQ(std::string(first.begin() + 10, first.begin() + 20), c.position);

        JvxReader in(first, 18, nullptr, doc.get());
        CAPRTPDMRec record(doc.get());
        record.ExchangeJVX(in.Archive());
        ASSERT_TRUE(record.IsValid());
        std::unique_ptr<CFormElement> read(record.CreateElement(in.Archive()));
        auto* readVariable = dynamic_cast<CFormVariableElement*>(read.get());
        ASSERT_NE(readVariable, nullptr);
        EXPECT_TRUE(readVariable->GetUseData());
        EXPECT_EQ(readVariable->GetData(), QString::fromUtf16(c.data));
        const Bytes second = StoreJvx(
            18, [&](CJVXArchive& ar) { readVariable->ExportJVX(ar); }, nullptr, doc.get());
        EXPECT_EQ(second, first);
        doc->m_currentSourceLine = 0;
    }
}

TEST_F(VariableElementTest, RecordConstructorReadsNumberNameAndData)
{
    struct Case
    {
        const char* name;
        int number;
        QString named;
        QString data;
        QString expected;
        bool useData;
    };
    const Case cases[] = {
        {"number 2", 2, QString(), QString(), QStringLiteral("VAR2"), false},
        {"number 9 names nothing", 9, QString(), QString(), QString(), false},
        {"the name wins over the number", 2, QStringLiteral("TOTAL"), QString(), QStringLiteral("TOTAL"), false},
        {"data makes a data variable", 0, QStringLiteral("TOTAL"), QStringLiteral("ABC"), QStringLiteral("TOTAL"),
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CAPRTPDMRec record(doc.get());
        record.m_opcode.SetValue(QStringLiteral("VAR"));
        record.m_paramNumber.SetValue(c.number);
        record.m_name.SetValue(c.named);
        record.m_data.SetValue(c.data);
        record.m_sourceLine.SetValue(2);
        record.m_sourceFirstColumn.SetValue(3);
        record.m_sourceLastColumn.SetValue(6);
        record.m_lineCount.SetValue(3);
        record.m_destLine.SetValue(2);
        record.m_destFirstColumn.SetValue(1);
        record.m_destLastColumn.SetValue(1);
        CFormVariableElement variable(record);
        EXPECT_EQ(variable.GetVariableName(), c.expected);
        EXPECT_EQ(variable.GetUseData(), c.useData ? TRUE : FALSE);
        EXPECT_EQ(variable.GetData(), c.data);
        EXPECT_EQ(variable.SourceRect(), Cells(3, 2, 7, 3)); // one line, whatever the count
        EXPECT_TRUE(variable.DestRect().IsNull());
    }
}

TEST_F(VariableElementTest, ColourFollowsTheTable)
{
    const COLORREF saved = Preferences().ColourElementVariable;
    Preferences().ColourElementVariable = 0x0000FF;
    CFormVariableElement* variable = AddVariable(QStringLiteral("V"), PaneSide::Input, Cells(2, 2, 5, 3));
    EXPECT_EQ(variable->GetColour(), 0x0000FFu);
    Preferences().ColourElementVariable = 0x00FF00;
    recorder.hints.clear();
    variable->Revalidate(0);
    EXPECT_EQ(variable->GetColour(), 0x00FF00u);
    EXPECT_EQ(recorder.HintNumbers(), std::vector<LPARAM>{241});
    Preferences().ColourElementVariable = saved;
}

TEST_F(VariableElementTest, PageValuesRoundTrip)
{
    CFormVariableElement* variable = AddVariable(QStringLiteral("V"), 0);
    ASSERT_TRUE(variable->GetUseData());

    VariablePageValues page;
    page.column = 4;
    page.line = 6;
    page.width = 5;
    page.name = QStringLiteral("W");
    EXPECT_TRUE(
        variable->ApplyPage(page, VariablePageApply::Position | VariablePageApply::Width | VariablePageApply::Name));
    EXPECT_FALSE(variable->GetUseData());
    EXPECT_EQ(variable->SourceRect(), Cells(4, 6, 9, 7));
    EXPECT_EQ(variable->GetVariableName(), QStringLiteral("W"));

    VariablePageValues shown;
    EXPECT_TRUE(variable->UpdatePage(shown));
    EXPECT_EQ(shown.column, 4);
    EXPECT_EQ(shown.line, 6);
    EXPECT_EQ(shown.width, 5);
    EXPECT_FALSE(shown.useData);
    EXPECT_FALSE(variable->UpdatePage(shown));

    shown.data = QStringLiteral("ABC");
    EXPECT_TRUE(variable->ApplyPage(shown, VariablePageApply::Data));
    EXPECT_TRUE(variable->GetUseData());
    EXPECT_EQ(variable->GetData(), QStringLiteral("ABC"));
    EXPECT_FALSE(variable->ApplyPage(shown, VariablePageApply::Data));
}

} // namespace
