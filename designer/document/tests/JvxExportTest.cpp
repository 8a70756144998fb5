// Writing a whole document as a JVX file: the header word and line by
// version, the member name, the export device, the record counter, version
// 28's upload record, the translators, and exports that fail.

#include "designer/document/Page.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/resources/fonts/FontManager.h"
#include "designer/resources/images/ResourceManager.h"
#include "platform/framework/Clock.h"
#include "tests/support/JvxDocumentFixture.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

namespace {

enum class TextForm {
    EightBit,
    Raw,
    Translated
};

// The characters of the header line (after the header word, before its line
// end) in the file's text form.
std::optional<size_t> HeaderLineLength(const Bytes& file, size_t start, TextForm form)
{
    switch (form) {
    case TextForm::EightBit:
        for (size_t i = start; i + 1 < file.size(); ++i)
            if (file[i] == 0x0D && file[i + 1] == 0x0A)
                return i - start;
        break;
    case TextForm::Translated: // CR LF in EBCDIC
        for (size_t i = start; i + 1 < file.size(); ++i)
            if (file[i] == 0x0D && file[i + 1] == 0x25)
                return i - start;
        break;
    case TextForm::Raw:
        for (size_t i = start; i + 3 < file.size(); i += 2)
            if (file[i] == 0x0D && file[i + 1] == 0 && file[i + 2] == 0x0A && file[i + 3] == 0)
                return (i - start) / 2;
        break;
    }
    return std::nullopt;
}

std::vector<QString> TemporaryFilesIn(const QString& folder)
{
    std::vector<QString> names;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        if (name.startsWith(QLatin1Char('~')) || name.endsWith(QStringLiteral(".TMP"), Qt::CaseInsensitive))
            names.push_back(name);
    return names;
}

class JvxExportTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(doc.OnNewDocument()); }

    QString PathOf(const char* name) const { return env.folder.filePath(QString::fromLatin1(name)); }

    std::vector<QString> Messages() const
    {
        std::vector<QString> texts;
        for (const RecordedPrompt& p : env.prompts->Recorded())
            texts.push_back(p.text);
        return texts;
    }

    WvdTestEnvironment env;
    CDesignerDoc doc;
};

TEST_F(JvxExportTest, HeaderWordAndLineFollowTheVersion)
{
    struct Case
    {
        const char* name;
        int version;
        bool translators;
        const char* word; // hex
        TextForm form;
        size_t lineLength;
    };
    const Case cases[] = {
        {"v5", 5, false, "4A 56 58 30 30 35", TextForm::EightBit, 128},
        {"v9", 9, false, "4A 56 58 30 30 39", TextForm::EightBit, 128},
        {"v10", 10, false, "4A 56 58 30 31 30", TextForm::EightBit, 129},
        {"v18", 18, false, "4A 56 58 30 31 38", TextForm::EightBit, 129},
        // Translators are never used below 19, even when they can be had.
        {"v18 with translators bound", 18, true, "4A 56 58 30 31 38", TextForm::EightBit, 129},
        {"v19 raw", 19, false, "D1 E5 E7 F0 F1 F9", TextForm::Raw, 134},
        {"v19 translated", 19, true, "D1 E5 E7 F0 F1 F9", TextForm::Translated, 134},
        {"v27 raw", 27, false, "D1 E5 E7 F0 F2 F7", TextForm::Raw, 134},
        {"v28 translated", 28, true, "D1 E5 E7 F0 F2 F8", TextForm::Translated, 486},
        {"v28 raw", 28, false, "D1 E5 E7 F0 F2 F8", TextForm::Raw, 486},
        {"out of range counts as 28", 40, false, "D1 E5 E7 F0 F2 F8", TextForm::Raw, 486},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TranslatorLog log;
        std::optional<TranslatorFactoryScope> factory;
        if (c.translators)
            factory.emplace(log);
        QString member = QStringLiteral("FORM1");
        const QString path = PathOf("form1.jvx");
        ASSERT_TRUE(doc.ExportJVXFile(path, member, c.version));
        const Bytes file = ReadFileBytes(path);
        ASSERT_GE(file.size(), 6u);
        EXPECT_EQ(Bytes(file.begin(), file.begin() + 6), Hex(c.word));
        EXPECT_EQ(HeaderLineLength(file, 6, c.form), c.lineLength);
    }
}

// Version 1 has no header word; its line is read back with 177 characters,
// so it is written that way too.
TEST_F(JvxExportTest, VersionOneIsWrittenInTheLayoutItIsReadIn)
{
    QString member = QStringLiteral("OLD");
    const QString path = PathOf("old.jvx");
    ASSERT_TRUE(doc.ExportJVXFile(path, member, 1));
    const Bytes file = ReadFileBytes(path);
    ASSERT_GE(file.size(), 6u);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 6), Ascii("JVX001"));
    EXPECT_EQ(HeaderLineLength(file, 6, TextForm::EightBit), 177u);
}

TEST_F(JvxExportTest, HeaderLineCarriesTheFieldsAndTheMemberNameInUpperCase)
{
    CPage& page = *doc.GetOutputPage();
    ASSERT_EQ(page.GetOrientation(), 0);
    ASSERT_EQ(page.GetBorder(), 250);
    doc.GetUploadTime().Clear();
    const DWORD buildBefore = doc.GetBuildId();
    const int undoBefore = static_cast<int>(doc.GetUndoList().GetCount());

    QString member = QStringLiteral("inv1");
    const QString path = PathOf("inv1.jvx");
    ASSERT_TRUE(doc.ExportJVXFile(path, member, 18));

    EXPECT_EQ(member, QStringLiteral("INV1"));
    EXPECT_EQ(doc.WvdName().GetValue(), QStringLiteral("INV1"));
    // Field 1 changed in a transaction of its own: one Build ID, one undo step.
    EXPECT_EQ(doc.GetBuildId(), buildBefore + 1);
    EXPECT_EQ(static_cast<int>(doc.GetUndoList().GetCount()), undoBefore + 1);

    const std::string line = std::string("JVX018") + "INV1      "          // word, 1
                             + std::string(50, ' ') + std::string(30, ' ') // 2, 3
                             + "00" + "000" + "00"                         // 4, 5, 6
                             + "  " + "N" + "000" + "000"                  // 7, 8, 9, 10
                             + "0"                                         // 11 portrait
                             + "00360"                                     // 12: 250/1000 inch in 1/1440
                             + "INV1    "                                  // 13 the font group
                             + "        "                                  // 14 no image resources
                             + "0" + "\r\n";                               // 15
    const Bytes file = ReadFileBytes(path);
    ASSERT_GE(file.size(), line.size());
    EXPECT_EQ(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(line.size())), Ascii(line.c_str()));
    EXPECT_TRUE(doc.ResourceLibrary().GetValue().isEmpty());
    EXPECT_TRUE(doc.GetResourceManager()->GetLibrary().isEmpty());

    // The same name again changes nothing and counts nothing.
    ASSERT_TRUE(doc.ExportJVXFile(path, member, 18));
    EXPECT_EQ(doc.GetBuildId(), buildBefore + 1);
}

// The host reads the header line at fixed widths; a WVD file may store other
// widths for the document's fields, which the document keeps for its own
// file, but the JVX line is written and read at the host's.
TEST_F(JvxExportTest, HeaderLineKeepsTheHostsWidthsWhateverTheWvdStored)
{
    struct Case
    {
        const char* name;
        CFixedLenString& (*text)(CDesignerDoc&); // null: a number field
        CFixedLenNum& (*number)(CDesignerDoc&);
        int storedWidth;
    };
    const Case cases[] = {
        {"description at 30", [](CDesignerDoc& d) -> CFixedLenString& { return d.Description(); }, nullptr, 30},
        {"description at 60", [](CDesignerDoc& d) -> CFixedLenString& { return d.Description(); }, nullptr, 60},
        {"first-page text at 5", [](CDesignerDoc& d) -> CFixedLenString& { return d.FirstPageText(); }, nullptr, 5},
        {"ignore first page at 3", [](CDesignerDoc& d) -> CFixedLenString& { return d.IgnoreFirstPage(); }, nullptr, 3},
        {"compare line at 4", nullptr, [](CDesignerDoc& d) -> CFixedLenNum& { return d.FirstPageTextLine(); }, 4},
        {"last page at 1", nullptr, [](CDesignerDoc& d) -> CFixedLenNum& { return d.LastPageToProcess(); }, 1},
        // The member name and font group reach the line whole, not as the
        // narrow fields hold them.
        {"WVD name at 4", [](CDesignerDoc& d) -> CFixedLenString& { return d.WvdName(); }, nullptr, 4},
        {"font group at 3", [](CDesignerDoc& d) -> CFixedLenString& { return d.FontGroupName(); }, nullptr, 3},
    };
    // Fields 1 to 15 of version 18 at the table's widths.
    const std::string expected = std::string("JVX018") + "WIDTHS    "      // word, 1
                                 + "North" + std::string(45, ' ')          // 2
                                 + "TOTAL" + std::string(25, ' ')          // 3
                                 + "07" + "012" + "05"                     // 4, 5, 6
                                 + "EQ" + "Y" + "001" + "009"              // 7, 8, 9, 10
                                 + "1" + "01777"                           // 11, 12: 1234/1000 inch
                                 + "WIDTHS  " + "        " + "0" + "\r\n"; // 13, 14, 15
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDesignerDoc source;
        ASSERT_TRUE(source.OnNewDocument());
        source.Description().SetValue(QStringLiteral("North"));
        source.FirstPageText().SetValue(QStringLiteral("TOTAL"));
        source.FirstPageTextLine().SetValue(7);
        source.FirstPageTextColumn().SetValue(12);
        source.FirstPageTextWidth().SetValue(5);
        source.FirstPageCompare().SetValue(QStringLiteral("EQ"));
        source.IgnoreFirstPage().SetValue(QStringLiteral("Y"));
        source.FirstPageToProcess().SetValue(1);
        source.LastPageToProcess().SetValue(9);
        source.GetOutputPage()->SetOrientation(1);
        source.GetOutputPage()->SetBorder(1234);
        if (c.text != nullptr)
            c.text(source).SetWidth(c.storedWidth);
        else
            c.number(source).SetWidth(c.storedWidth);

        // The width travels through the WVD file and stays the document's.
        CDesignerDoc opened;
        ASSERT_TRUE(opened.OnNewDocument());
        LoadDocument(opened, StoreDocument(source));
        EXPECT_EQ(c.text != nullptr ? c.text(opened).GetWidth() : c.number(opened).GetWidth(), c.storedWidth);

        QString member = QStringLiteral("widths");
        const QString path = PathOf("widths.jvx");
        ASSERT_TRUE(opened.ExportJVXFile(path, member, 18));
        const Bytes file = ReadFileBytes(path);
        EXPECT_EQ(HeaderLineLength(file, 6, TextForm::EightBit), 129u);
        ASSERT_GE(file.size(), expected.size());
        const Bytes line(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(expected.size()));
        EXPECT_TRUE(line == Ascii(expected.c_str())) << FirstDifference(Ascii(expected.c_str()), line);

        // Read back into a document with the same stored widths, every field
        // after the narrow one is still found where the host put it.
        CDesignerDoc target;
        ASSERT_TRUE(target.OnNewDocument());
        LoadDocument(target, StoreDocument(source));
        target.GetOutputPage()->SetOrientation(0);
        target.GetOutputPage()->SetBorder(0);
        ASSERT_TRUE(ImportInTransaction(target, path));
        EXPECT_EQ(target.GetOutputPage()->GetOrientation(), 1);
        EXPECT_EQ(target.GetOutputPage()->GetBorder(), 1234);
        EXPECT_EQ(target.GetOutputPage()->GetFontManager()->GetFontGroupName(), QStringLiteral("WIDTHS"));
        // The document's own field keeps its stored width.
        EXPECT_EQ(target.FontGroupName().GetValue(), QStringLiteral("WIDTHS").left(target.FontGroupName().GetWidth()));
        EXPECT_EQ(target.Description().GetValue(), QStringLiteral("North"));
        EXPECT_EQ(target.FirstPageTextColumn().GetShort(), 12);
    }
}

TEST_F(JvxExportTest, ExportDeviceIsPreparedFromThePage)
{
    struct Case
    {
        const char* name;
        int orientation;
        WORD border; // 1/1000 inch
        int fieldBorder;
        int deviceBorder; // what the device keeps
    };
    const Case cases[] = {
        {"portrait, small border", 0, 250, 360, 360},
        {"landscape, the largest border a device takes", 1, 2000, 2880, 2880},
        {"a border above the device's limit", 0, 2001, 2881, 2880},
        {"a border beyond 16 bits is held", 0, 50000, 65535, 2880},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPage& page = *doc.GetOutputPage();
        ASSERT_EQ(page.GetWidth(), 827);
        ASSERT_EQ(page.GetHeight(), 1169);
        page.SetOrientation(c.orientation);
        page.SetBorder(c.border);
        page.SetCharsPerInch(12);
        page.SetLinesPerInch(8);
        COutputDevice* device = doc.GetOutputDeviceManager()->GetExportDevice();
        device->SetNoPrintBorder(QStringLiteral("2880"));

        QString member = QStringLiteral("dev1");
        ASSERT_TRUE(doc.ExportJVXFile(PathOf("dev1.jvx"), member, 18));

        EXPECT_EQ(static_cast<int>(doc.NoPrintBorder().GetValue()), c.fieldBorder);
        EXPECT_EQ(doc.OrientationDigit().GetValue(), c.orientation == 1 ? QStringLiteral("1") : QStringLiteral("0"));
        EXPECT_EQ(device->GetName(), QStringLiteral("DEV1"));
        EXPECT_EQ(device->GetFontGroup(), QStringLiteral("DEV1"));
        EXPECT_EQ(device->GetNoPrintBorder(), c.deviceBorder);
        EXPECT_EQ(device->GetRotation(), c.orientation);
        EXPECT_EQ(device->GetCPI(), 12);
        EXPECT_EQ(device->GetLPI(), 8);
        // A4 in 1/100 inch, 827 x 1169, in twips rounded.
        EXPECT_EQ(device->GetPageWidthTwips(), 11909);
        EXPECT_EQ(device->GetPageHeightTwips(), 16834);
        EXPECT_EQ(doc.GetOutputPage()->GetFontManager()->GetFontGroupName(), QStringLiteral("DEV1"));
    }
}

// Only top-level elements are asked to write themselves; containers write
// their children. Every record is numbered from 1 on, and the counter is 0
// again afterwards.
TEST_F(JvxExportTest, ElementRecordsAreNumberedFromOne)
{
    BuildRichDocument(doc);
    QString member = QStringLiteral("INVOICE");
    const QString path = PathOf("invoice.jvx");
    ASSERT_TRUE(doc.ExportJVXFile(path, member, 18));
    EXPECT_EQ(doc.m_jvxRecordCounter, 0);
    EXPECT_EQ(doc.m_currentSourceLine, 0);
    EXPECT_EQ(doc.m_currentDestLine, 0);

    const Bytes file = ReadFileBytes(path);
    std::vector<int> sequence;
    std::vector<std::string> opcodes;
    size_t lineStart = 6;
    for (size_t i = lineStart; i + 1 < file.size(); ++i) {
        if (file[i] != 0x0D || file[i + 1] != 0x0A)
            continue;
        const std::string line(file.begin() + static_cast<std::ptrdiff_t>(lineStart),
                               file.begin() + static_cast<std::ptrdiff_t>(i));
        // Element records are the lines of 513 characters at this version.
        if (line.size() == 513 && line[0] == ' ') {
            sequence.push_back(std::stoi(line.substr(2, 4)));
            opcodes.push_back(line.substr(6, 4));
        }
        lineStart = i + 2;
    }
    ASSERT_FALSE(sequence.empty());
    for (size_t i = 0; i < sequence.size(); ++i)
        EXPECT_EQ(sequence[i], static_cast<int>(i) + 1) << "record " << i;
    // The loop and its end record, the conditionals and theirs.
    EXPECT_EQ(std::count(opcodes.begin(), opcodes.end(), "LOOP"), 1);
    EXPECT_EQ(std::count(opcodes.begin(), opcodes.end(), "ENDL"), 1);
    EXPECT_EQ(
        std::count(opcodes.begin(), opcodes.end(), "ENDI"),
        std::count_if(opcodes.begin(), opcodes.end(), [](const std::string& op) { return op.rfind("IF", 0) == 0; }));
}

TEST_F(JvxExportTest, VersionTwentyEightRecordsTheUploadWithoutATransaction)
{
    const kwvd::FixedClock clock(QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9, 123), Qt::UTC));
    QString member = QStringLiteral("UPL");
    const QString path = PathOf("upl.jvx");
    // A first export loads the master lists, which tell of their own files.
    ASSERT_TRUE(doc.ExportJVXFile(path, member, 18));
    env.prompts->ClearRecorded();
    doc.SetModifiedFlag(FALSE);
    doc.SetBuildId(42);
    doc.SetTitle(QStringLiteral("form"));
    ASSERT_FALSE(doc.IsModified());
    const int undoBefore = static_cast<int>(doc.GetUndoList().GetCount());

    ASSERT_TRUE(doc.ExportJVXFile(path, member, 28));

    EXPECT_EQ(doc.GetUploadTime().Format(), QStringLiteral("2024-05-06-07.08.09.123000"));
    EXPECT_EQ(doc.GetUploadPath(), doc.GetPathName());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.GetTitle().contains(QLatin1Char('*')));
    // Marked directly: no warning, no Build ID, no snapshot.
    for (const QString& m : Messages())
        ADD_FAILURE() << m.toStdString();
    EXPECT_EQ(doc.GetBuildId(), 42u);
    EXPECT_EQ(static_cast<int>(doc.GetUndoList().GetCount()), undoBefore);

    // Fields 16 and 17 in raw UTF-16 after the word, field 0 and fields 1 to 15.
    const Bytes file = ReadFileBytes(path);
    const size_t at = 6 + 2 * (5 + 129);
    ASSERT_GE(file.size(), at + 2 * 32);
    QString text;
    for (size_t i = at; i < at + 2 * 32; i += 2)
        text += QChar(static_cast<char16_t>(file[i] | (file[i + 1] << 8)));
    EXPECT_EQ(text, QStringLiteral("0000422024-05-06-07.08.09.123000"));
}

TEST_F(JvxExportTest, TranslatorsAreMadeForHostVersionsAndAlwaysDeleted)
{
    ASSERT_TRUE(doc.SetCodePageId(500));
    struct Case
    {
        const char* name;
        int version;
        const char* member;
        BOOL result;
        std::vector<int> modes;
        std::vector<int> ccsids;
    };
    const Case cases[] = {
        {"v18 makes none", 18, "T1", TRUE, {}, {}},
        {"v19 makes one for system and one for user text", 19, "T1", TRUE, {2, 2}, {285, 500}},
        {"a failed export deletes them too", 28, "*DOC", FALSE, {2, 2}, {285, 500}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TranslatorLog log;
        TranslatorFactoryScope factory(log);
        QString member = QString::fromLatin1(c.member);
        EXPECT_EQ(doc.ExportJVXFile(PathOf("t.jvx"), member, c.version), c.result);
        EXPECT_EQ(log.modes, c.modes);
        EXPECT_EQ(log.ccsids, c.ccsids);
        EXPECT_EQ(log.alive, 0);
        EXPECT_EQ(UserDataTranslator(), nullptr);
    }
}

// "*DOC" as member name makes the font section fail after the header has
// been written: the file that was there stays as it was, and nothing of the
// export is left in the folder.
TEST_F(JvxExportTest, FailedWriteLeavesTheOldTargetAndNoTemporaryFile)
{
    struct Case
    {
        const char* name;
        BOOL debug;
        size_t messages;
    };
    const Case cases[] = {{"plain", FALSE, 1}, {"with debug services the report comes first", TRUE, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        env.prefs.EnableDebugServices = c.debug;
        env.prompts->ClearRecorded();
        const QString path = PathOf("DOC.JVX");
        const Bytes old = Ascii("the previous export");
        ASSERT_TRUE(WriteFileBytes(path, old));
        const QString uploadBefore = doc.GetUploadTime().Format();

        QString member = QStringLiteral("*doc");
        EXPECT_FALSE(doc.ExportJVXFile(path, member, 28));

        EXPECT_EQ(ReadFileBytes(path), old);
        EXPECT_TRUE(TemporaryFilesIn(env.folder.path()).empty());
        const std::vector<QString> texts = Messages();
        ASSERT_EQ(texts.size(), c.messages);
        EXPECT_EQ(texts.back(), QStringLiteral("WVD *DOC not Exported. Errors were encountered.\n"
                                               "%1 contains an incorrect schema.")
                                    .arg(path));
        EXPECT_EQ(doc.m_jvxRecordCounter, 0);
        EXPECT_EQ(doc.m_currentSourceLine, 0);
        EXPECT_EQ(doc.m_currentDestLine, 0);
        // Nothing reached the host: the last upload stays the document's.
        EXPECT_EQ(doc.GetUploadTime().Format(), uploadBefore);
    }
}

// A file that cannot be made, or a target the finished file cannot be put
// over, gives the file-error message alone.
TEST_F(JvxExportTest, TargetThatCannotBeWrittenGivesTheFileError)
{
    struct Case
    {
        const char* name;
        QString path;
    };
    ASSERT_TRUE(QDir(env.folder.path()).mkdir(QStringLiteral("taken.jvx")));
    const Case cases[] = {
        {"missing folder", PathOf("missing/form.jvx")},
        {"target is a folder", PathOf("taken.jvx")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        env.prompts->ClearRecorded();
        QString member = QStringLiteral("FORM");
        EXPECT_FALSE(doc.ExportJVXFile(c.path, member, 18));
        const std::vector<QString> texts = Messages();
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_TRUE(texts[0].contains(QFileInfo(c.path).fileName())) << texts[0].toStdString();
        EXPECT_FALSE(texts[0].contains(QStringLiteral("not Exported")));
        EXPECT_TRUE(TemporaryFilesIn(env.folder.path()).empty());
    }
    EXPECT_TRUE(QFileInfo(PathOf("taken.jvx")).isDir());
}

} // namespace
