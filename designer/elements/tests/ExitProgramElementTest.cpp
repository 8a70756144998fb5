#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/FormExitParamElement.h"
#include "designer/elements/FormExitProgramElement.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/JvxBytes.h"

#include "ElementTestKinds.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

CStringArray Strings(std::initializer_list<const char*> items)
{
    CStringArray array;
    for (const char* item : items)
        array.Add(QString::fromLatin1(item));
    return array;
}

QStringList ToList(const CStringArray& array)
{
    QStringList list;
    for (const QString& item : array)
        list << item;
    return list;
}

// The exit program's class name, as a new class is written.
Bytes ProgramHeader(int schema)
{
    return Hex("FF FF") + Word(schema) + Word(23) + Ascii("CFormExitProgramElement");
}

// Base part without description, rectangles or offset.
Bytes EmptyBase(int schema)
{
    Bytes bytes = Hex("FF FE FF 00");
    for (int i = 0; i < 8; ++i)
        bytes = bytes + Word(1);
    bytes = bytes + Word(0) + Word(0);
    if (schema > 3)
        bytes = bytes + Long(0) + Long(0);
    if (schema >= 3)
        bytes = bytes + Long(0) + Long(0) + Word(1);
    return bytes;
}

class ExitProgramTest : public ElementDocFixture
{
protected:
    CFormExitProgramElement* MakeProgram()
    {
        return dynamic_cast<CFormExitProgramElement*>(
            doc->CreateNewElement(FormElementType::ExitProgram, 0, {}, nullptr));
    }

    CFormExitParamElement* MakeParam(int number)
    {
        auto* param =
            dynamic_cast<CFormExitParamElement*>(doc->CreateNewElement(FormElementType::ExitParam, 0, {}, nullptr));
        EXPECT_NE(param, nullptr);
        param->SetParamNumber(number);
        return param;
    }

    CFormExitProgramElement* LoadObject(const Bytes& bytes)
    {
        CFormExitProgramElement* element = nullptr;
        Load(bytes, [&](CArchive& ar) {
            ar.m_pDocument = doc.get();
            element = ar.ReadObject<CFormExitProgramElement>();
        });
        return element;
    }

    // The record's line at version 28, one UTF-16 unit per character.
    QString RecordLine(CFormElement& element)
    {
        const Bytes bytes = StoreJvx(
            28, [&](CJVXArchive& ar) { element.ExportJVX(ar); }, nullptr, doc.get());
        return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.data()),
                                  static_cast<qsizetype>(bytes.size() / 2));
    }
};

TEST_F(ExitProgramTest, CallRecordData)
{
    struct Case
    {
        const char* name;
        const char* program;
        CStringArray libraries;
        const char* data;
    };
    const Case cases[] = {
        {"empty entries are not kept", "prog", Strings({"lib1", ""}), "PROG      LIB1      "},
        {"names cut to ten", "averylongprogram", Strings({"library_one", "L2"}), "AVERYLONGPLIBRARY_ONL2        "},
        {"no libraries", "p", Strings({}), "P         "},
    };
    CFormExitProgramElement* program = MakeProgram();
    ASSERT_NE(program, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        program->SetProgramName(QString::fromLatin1(c.program));
        program->SetLibraries(c.libraries);
        const QString line = RecordLine(*program);
        // Opcode at character 7, data at 41 for 132 characters.
        EXPECT_EQ(line.mid(6, 4), QStringLiteral("CALL"));
        EXPECT_EQ(line.mid(40, 132), QString::fromLatin1(c.data).leftJustified(132, u' '));
    }
    EXPECT_TRUE(prompts->Recorded().empty());
}

TEST_F(ExitProgramTest, CallRecordIsReadBackWithFiveEntries)
{
    CFormExitProgramElement* program = MakeProgram();
    program->SetProgramName(QStringLiteral("prog"));
    program->SetLibraries(Strings({"lib1"}));
    const Bytes line = StoreJvx(
        28, [&](CJVXArchive& ar) { program->ExportJVX(ar); }, nullptr, doc.get());

    JvxReader in(line, 28, nullptr, doc.get());
    CAPRTPDMRec record(doc.get());
    record.ExchangeJVX(in.Archive());
    ASSERT_EQ(record.GetType(), FormElementType::ExitProgram);
    std::unique_ptr<CFormElement> read(record.CreateElement(in.Archive()));
    auto* back = dynamic_cast<CFormExitProgramElement*>(read.get());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetProgramName(), QStringLiteral("PROG"));
    EXPECT_EQ(ToList(back->Libraries()), (QStringList{"LIB1", "", "", "", ""}));
    EXPECT_TRUE(back->SourceRect().IsNull());
    EXPECT_TRUE(back->DestRect().IsNull());
    // All five entries go out again: sixty characters.
    EXPECT_EQ(RecordLine(*back).mid(40, 132).trimmed(), QStringLiteral("PROG      LIB1"));
}

TEST_F(ExitProgramTest, RecordOfAnotherKindIsRefused)
{
    CAPRTPDMRec record(doc.get());
    record.m_opcode.SetValue(QStringLiteral("PARM"));
    EXPECT_THROW(CFormExitProgramElement element(record), CArchiveException);
}

TEST_F(ExitProgramTest, SixthLibraryIsRefusedWithMessage274)
{
    CFormExitProgramElement* program = MakeProgram();
    program->SetLibraries(Strings({"A", "", "B", "C", "D", "E", "F"}));
    EXPECT_EQ(ToList(program->Libraries()), (QStringList{"A", "B", "C", "D", "E"}));
    ASSERT_EQ(prompts->Recorded().size(), 1u);
    EXPECT_EQ(prompts->Recorded()[0].text,
              QStringLiteral("Library List Full. Each Exit Program can have a maximum of 5  Library entries."));

    // Read from an undo snapshot or the clipboard, nobody is told.
    doc->BeginQuietRead();
    program->SetLibraries(Strings({"A", "B", "C", "D", "E", "F", "G"}));
    EXPECT_TRUE(doc->EndQuietRead().empty());
    EXPECT_EQ(prompts->Recorded().size(), 1u);
    EXPECT_EQ(program->Libraries().GetSize(), 5);
}

TEST_F(ExitProgramTest, PageChangesAreApplied)
{
    CFormExitProgramElement* program = MakeProgram();
    program->SetProgramName(QStringLiteral("PGM"));
    program->SetLibraries(Strings({"L1", "L2"}));
    ExitProgramPageData page;
    EXPECT_TRUE(program->UpdatePageData(page));
    EXPECT_FALSE(program->UpdatePageData(page));
    EXPECT_EQ(ToList(page.libraries), (QStringList{"L1", "L2"}));

    page.libraries.SetAt(0, QStringLiteral("NEW"));
    EXPECT_FALSE(program->ApplyPageData(page, ExitProgramPageBits::ProgramName));
    EXPECT_TRUE(program->ApplyPageData(page, ExitProgramPageBits::Libraries));
    EXPECT_EQ(ToList(program->Libraries()), (QStringList{"NEW", "L2"}));
    page.programName = QStringLiteral("OTHER");
    EXPECT_TRUE(program->ApplyPageData(page, ExitProgramPageBits::ProgramName | ExitProgramPageBits::Libraries));
    EXPECT_EQ(program->GetProgramName(), QStringLiteral("OTHER"));
}

TEST_F(ExitProgramTest, ParametersBeforeTheProgramByNumber)
{
    CFormExitParamElement* second = MakeParam(2);
    CFormExitParamElement* zero = MakeParam(0);
    CFormExitParamElement* laterSecond = MakeParam(2);
    CFormExitProgramElement* program = MakeProgram();
    MakeParam(1); // after the program: not its parameter
    std::vector<CFormExitParamElement*> parameters{second};
    program->FillExitParameters(parameters);
    EXPECT_EQ(parameters, (std::vector<CFormExitParamElement*>{zero, nullptr, laterSecond}));
    (void)second;
}

TEST_F(ExitProgramTest, FindAndReplace)
{
    CFormExitProgramElement* program = MakeProgram();
    program->SetProgramName(QStringLiteral("CALC"));
    program->SetLibraries(Strings({"QGPL", "MYLIB"}));
    CFormElement::SetDescription(QStringLiteral("Totals"), program);
    struct Case
    {
        const char* name;
        const char* text;
        BOOL found;
    };
    const Case cases[] = {
        {"description", "otal", TRUE},   {"program", "ALC", TRUE},  {"library", "YLI", TRUE},
        {"case counts", "mylib", FALSE}, {"nowhere", "XYZ", FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(program->Find(QString::fromLatin1(c.text)), c.found) << c.name;

    doc->ClearDirty();
    EXPECT_TRUE(program->Replace(QStringLiteral("L"), QStringLiteral("X")));
    EXPECT_EQ(program->GetProgramName(), QStringLiteral("CAXC"));
    EXPECT_EQ(ToList(program->Libraries()), (QStringList{"QGPX", "MYXIB"}));
    EXPECT_TRUE(doc->IsDirty());
    EXPECT_FALSE(program->Replace(QStringLiteral("L"), QStringLiteral("X")));
}

TEST_F(ExitProgramTest, WvdObjectCarriesNameAndLibraries)
{
    CFormExitProgramElement program(doc.get());
    program.SetProgramName(QStringLiteral("P"));
    program.SetLibraries(Strings({"A", "BC"}));
    const Bytes stored = Store([&](CArchive& ar) { ar.WriteObject(&program); });
    EXPECT_EQ(stored, ProgramHeader(20) + EmptyBase(20) + Text(u"P") + Hex("02 00") + Text(u"A") + Text(u"BC"));

    std::unique_ptr<CFormExitProgramElement> back(LoadObject(stored));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetProgramName(), QStringLiteral("P"));
    EXPECT_EQ(ToList(back->Libraries()), (QStringList{"A", "BC"}));
}

TEST_F(ExitProgramTest, OlderSchemasCarryOneLibrary)
{
    struct Case
    {
        const char* name;
        int schema;
        Bytes own;
        QStringList libraries;
    };
    const Case cases[] = {
        {"schema 10", 10, Text(u"PGM") + Text(u"LIB"), {"LIB"}},
        {"schema 9, no library", 9, Text(u"PGM") + Text(u""), {}},
        {"schema 7 with an empty old list", 7, Text(u"PGM") + Text(u"LIB") + Hex("00 00"), {"LIB"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CFormExitProgramElement> program(
            LoadObject(ProgramHeader(c.schema) + EmptyBase(c.schema) + c.own));
        ASSERT_NE(program, nullptr);
        EXPECT_EQ(program->GetProgramName(), QStringLiteral("PGM"));
        EXPECT_EQ(ToList(program->Libraries()), c.libraries);
    }
}

TEST_F(ExitProgramTest, OldElementListIsReadAndDeleted)
{
    // A schema-7 program whose old list holds one exit parameter of schema 20.
    const Bytes param = Hex("FF FF") + Word(20) + Word(21) + Ascii("CFormExitParamElement") + EmptyBase(20) + Word(1)
                        + Long(0) + Long(0) + Long(2) + Text(u"") + Word(0) + Word(1);
    const Bytes bytes = ProgramHeader(7) + EmptyBase(7) + Text(u"PGM") + Text(u"LIB") + Hex("01 00") + param;
    const qsizetype before = doc->GetElementList().GetCount();
    std::unique_ptr<CFormExitProgramElement> program(LoadObject(bytes));
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(ToList(program->Libraries()), (QStringList{"LIB"}));
    EXPECT_EQ(doc->GetElementList().GetCount(), before);

    // Cut inside the old list: an archive error, and nothing is left behind.
    const Bytes cut(bytes.begin(), bytes.end() - 2);
    EXPECT_THROW(LoadObject(cut), CArchiveException);
    EXPECT_EQ(doc->GetElementList().GetCount(), before);
}

TEST_F(ExitProgramTest, SelectionSendsNoHint)
{
    CFormExitProgramElement* program = MakeProgram();
    recorder.hints.clear();
    EXPECT_TRUE(program->Select(TRUE));
    EXPECT_FALSE(program->Select(TRUE));
    EXPECT_TRUE(program->Select(FALSE));
    EXPECT_TRUE(recorder.hints.empty());
}

} // namespace
