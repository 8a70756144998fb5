// The font table CSDEF.FNT and font exchange files: line syntax, where the
// table is found, and import and export through the master list.

#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/AS400FontFGID.h"
#include "designer/resources/fonts/AS400FontMaker.h"
#include "designer/resources/fonts/FontManager.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/FontTestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>

#include <cstdio>
#include <string>

namespace {

std::string ExchangeLine(const char* typeface, int fgid, int flags)
{
    char line[200];
    std::snprintf(line, sizeof line, "%-8s%-8s%05d%05d%05d%03d%-50s%05d%05d%04d%-10s%-8sN\r\n", "C1", "", fgid, 0, 0,
                  0x20, typeface, 833, 100, flags, "LIB", "");
    return line;
}

struct FgidCase
{
    const char* name;
    const char* line;
    DWORD fgid;
    const char* typeface;
    BYTE family;
    BOOL bold;
    BOOL italic;
};

TEST(FontTableLines, FgidLinesParseByTheirRules)
{
    const FgidCase cases[] = {
        {"Plain", "11=Courier,MODERN,MED,0", 11, "Courier", 0x30, FALSE, FALSE},
        {"TrailingBlanksCut", " +12=Arial  ,SWISS,BOLD,1xyz", 12, "Arial", 0x20, TRUE, TRUE},
        {"LowerFamily", "13=Arial,swiss,BOLD,0", 0, "", 0, FALSE, FALSE},
        {"KeyZero", "0=Arial,SWISS,BOLD,0", 0, "", 0, FALSE, FALSE},
        {"KeyTooLarge", "100000=Arial,SWISS,BOLD,0", 0, "", 0, FALSE, FALSE},
        {"Negative", "-5=Arial,SWISS,BOLD,0", 0, "", 0, FALSE, FALSE},
        {"EndsAfterThirdComma", "14=Arial,SWISS,BOLD,", 0, "", 0, FALSE, FALSE},
        {"BlankTypeface", "15=  ,SWISS,BOLD,0", 0, "", 0, FALSE, FALSE},
        {"Comment", ";16=Arial,SWISS,BOLD,0", 0, "", 0, FALSE, FALSE},
        {"BadWeight", "17=Arial,SWISS,HEAVY,0", 0, "", 0, FALSE, FALSE},
    };
    for (const FgidCase& c : cases) {
        const CAS400FontFGID entry{QString::fromLatin1(c.line)};
        EXPECT_EQ(entry.m_nFGID, c.fgid) << c.name;
        if (c.fgid == 0)
            continue;
        EXPECT_EQ(entry.m_strTypeface, QString::fromLatin1(c.typeface)) << c.name;
        EXPECT_EQ(entry.m_nPitchAndFamily, c.family) << c.name;
        EXPECT_EQ(entry.m_bBold, c.bold) << c.name;
        EXPECT_EQ(entry.m_bItalic, c.italic) << c.name;
    }
}

class CsdefTest : public FontTestEnvironment
{
protected:
    void SetUp() override
    {
        FontTestEnvironment::SetUp();
        // The table lies in the data folder under another case; the current
        // folder is elsewhere.
        m_previousFolder = QDir::currentPath();
        QDir::setCurrent(QDir::rootPath());
    }
    void TearDown() override
    {
        QDir::setCurrent(m_previousFolder);
        FontTestEnvironment::TearDown();
    }

    void WriteTable()
    {
        const QString table = QStringLiteral("[fgid]\r\n"
                                             "1=Wrong,MODERN,MED,0\r\n"
                                             "[FGID] ; faces\r\n"
                                             "11=Courier,MODERN,MED,0\r\n"
                                             "12=wbArial,SWISS,BOLD,1\n"
                                             ";comment\r\n"
                                             "[CHARSET]\r\n"
                                             "C?1=11,100,833,0,1\r\n"
                                             "C2=99,100,833,0,0\r\n"
                                             "C3 =12,120,0,1,0\r\n"
                                             "[END]\r\n"
                                             "C4=11,100,833,0,0\r\n");
        WriteAll(PathOf("csdef.fnt"), QByteArray("\xFF\xFE", 2) + Utf16Le(table));
    }

    QString m_previousFolder;
};

TEST_F(CsdefTest, SectionsAndCharsetFontsFromAUtf16Table)
{
    WriteTable();
    CAS400FontMaker maker(37, 697, QStringLiteral("T1V10037"));
    ASSERT_EQ(maker.GetFgidEntries().size(), 2u);
    EXPECT_EQ(maker.GetFgidEntries()[0]->m_nFGID, 11u);
    EXPECT_EQ(maker.GetFgidEntries()[1]->m_strTypeface, QStringLiteral("wbArial"));

    const auto& fonts = maker.GetCharsetFonts();
    ASSERT_EQ(fonts.size(), 2u);
    EXPECT_EQ(fonts[0]->GetCharSetName(), QStringLiteral("C01"));
    EXPECT_EQ(fonts[0]->GetTypeface(), QStringLiteral("Courier"));
    EXPECT_EQ(fonts[0]->GetFlags(), CAS400Font::kUnderline);
    EXPECT_EQ(fonts[0]->m_nCodePageId, 37u);
    EXPECT_EQ(fonts[0]->GetCodePageName(), QStringLiteral("T1V10037"));
    EXPECT_EQ(fonts[1]->GetCharSetName(), QStringLiteral("C3"));
    EXPECT_EQ(fonts[1]->GetFlags(), CAS400Font::kBold | CAS400Font::kItalic | CAS400Font::kStrikeout);
    EXPECT_TRUE(fonts[1]->GetLibrary().isEmpty());
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(CsdefTest, ImportCompletesFontsFromTheTable)
{
    WriteTable();
    const std::string file = ExchangeLine("ARIAL", 0, 1) + ExchangeLine("Courier", 11, 0) + ExchangeLine("Other", 0, 0);
    WriteAll(PathOf("fonts.fef"), QByteArray::fromStdString(file));
    CFontManager fonts;
    ASSERT_TRUE(fonts.ImportFontExchangeFile(PathOf("fonts.fef")));
    CObList* master = CFontManager::GetMasterFontList();
    ASSERT_EQ(master->GetCount(), 3);
    auto* arial = static_cast<CAS400Font*>(master->GetHead());
    EXPECT_EQ(arial->m_nFGID, 12u);
    EXPECT_EQ(arial->GetPitchAndFamily(), CAS400Font::FF_SWISS);
    auto* other = static_cast<CAS400Font*>(master->GetTail());
    EXPECT_EQ(other->m_nFGID, 0u);

    // The same file again adds nothing.
    ASSERT_TRUE(fonts.ImportFontExchangeFile(PathOf("fonts.fef")));
    EXPECT_EQ(master->GetCount(), 3);
}

struct ExchangeCase
{
    const char* name;
    std::string content;
    BOOL result;
    int added;
    int messages;
};

TEST_F(CsdefTest, ExchangeFileEdgesWithoutATable)
{
    const std::string full = ExchangeLine("One", 0, 0);
    const std::string second = ExchangeLine("Two", 0, 0);
    const ExchangeCase cases[] = {
        // Each import without CSDEF.FNT shows 283 once per section.
        {"ShortLastRecordDropped", full + second.substr(0, 60), TRUE, 1, 2},
        {"LastRecordWithoutLineEnd", full + second.substr(0, 117), FALSE, 0, 1},
        {"Empty", "", TRUE, 0, 2},
    };
    for (const ExchangeCase& c : cases) {
        FreshPrompts();
        WriteAll(PathOf("case.fef"), QByteArray::fromStdString(c.content));
        CFontManager fonts;
        const qsizetype before = CFontManager::GetMasterFontList()->GetCount();
        FreshPrompts();
        EXPECT_EQ(fonts.ImportFontExchangeFile(PathOf("case.fef")), c.result) << c.name;
        EXPECT_EQ(CFontManager::GetMasterFontList()->GetCount() - before, c.added) << c.name;
        ASSERT_EQ(Shown().size(), c.messages) << c.name;
        EXPECT_TRUE(Shown()[0].startsWith(QStringLiteral("Error reading file: "))) << c.name;
        for (CObject* font : *CFontManager::GetMasterFontList())
            delete font;
        CFontManager::GetMasterFontList()->RemoveAll();
    }
    FreshPrompts();
    CFontManager fonts;
    EXPECT_FALSE(fonts.ImportFontExchangeFile(PathOf("missing.fef")));
    EXPECT_EQ(Shown(), QStringList{QStringLiteral("Error reading file: ") + PathOf("missing.fef") + u'.'});
}

TEST_F(CsdefTest, ExportWritesEveryMasterFontAndReportsFailures)
{
    CFontManager fonts;
    ASSERT_TRUE(fonts.ExportFontExchangeFile(PathOf("empty.fef")));
    EXPECT_TRUE(ReadAll(PathOf("empty.fef")).isEmpty());

    ASSERT_TRUE(CFontManager::AddToMasterList(new CAS400Font(QStringLiteral("C1"), QString(), 0, 0, 0, 0x20,
                                                             QStringLiteral("One"), 833, 100, FALSE, FALSE, FALSE,
                                                             FALSE, QStringLiteral("LIB"), QString(), FALSE)));
    ASSERT_TRUE(fonts.ExportFontExchangeFile(PathOf("one.fef")));
    EXPECT_EQ(ReadAll(PathOf("one.fef")).toStdString(), ExchangeLine("One", 0, 0));

    FreshPrompts();
    EXPECT_FALSE(fonts.ExportFontExchangeFile(m_dir.path()));
    EXPECT_EQ(Shown(), QStringList{QStringLiteral("Error saving file: ") + m_dir.path() + u'.'});
}

} // namespace

namespace {

// The table the program ships is found in its data folder, whatever the
// current folder, and gives the host's common fonts.
TEST_F(CsdefTest, TheShippedTableIsFoundBesideTheProgram)
{
    m_dataDir.Unset();
    const QString path = CAS400FontMaker::FindFontTableFile();
    EXPECT_EQ(QFileInfo(path).fileName(), QStringLiteral("CSDEF.FNT"));
    EXPECT_EQ(QFileInfo(path).dir().dirName(), QStringLiteral("kwvd"));

    CAS400FontMaker maker(37, 697, QStringLiteral("T1V10037"));
    EXPECT_TRUE(Shown().isEmpty()) << Shown().join(u'\n').toStdString();
    struct Row
    {
        DWORD fgid;
        const char* typeface;
        BYTE family;
        BOOL bold;
        BOOL italic;
    };
    const Row rows[] = {
        {11, "Liberation Mono", CAS400Font::FF_MODERN, FALSE, FALSE},
        {92, "Liberation Mono", CAS400Font::FF_MODERN, FALSE, TRUE},
        {46, "Liberation Mono", CAS400Font::FF_MODERN, TRUE, FALSE},
        {2304, "Liberation Sans", CAS400Font::FF_SWISS, FALSE, FALSE},
        {5687, "Liberation Serif", CAS400Font::FF_ROMAN, FALSE, FALSE},
    };
    for (const Row& row : rows) {
        const CAS400FontFGID* entry = maker.FindFgid(row.fgid);
        ASSERT_NE(entry, nullptr) << row.fgid;
        EXPECT_EQ(entry->m_strTypeface, QString::fromLatin1(row.typeface)) << row.fgid;
        EXPECT_EQ(entry->m_nPitchAndFamily, row.family) << row.fgid;
        EXPECT_EQ(entry->m_bBold, row.bold) << row.fgid;
        EXPECT_EQ(entry->m_bItalic, row.italic) << row.fgid;
    }
    // Every character set names an FGID of the table.
    EXPECT_GE(maker.GetCharsetFonts().size(), 20u);
    const CAS400Font* gothic = nullptr;
    for (const auto& font : maker.GetCharsetFonts())
        if (font->GetCharSetName() == QStringLiteral("C0D0GT12"))
            gothic = font.get();
    ASSERT_NE(gothic, nullptr);
    EXPECT_EQ(gothic->m_nFGID, 66u);
    EXPECT_EQ(gothic->GetTypeface(), QStringLiteral("Liberation Mono"));
    EXPECT_EQ(gothic->m_nCodePageId, 37u);
}

} // namespace
