// The page's font list as the page and the document use it: defaults from the
// preferences, the page binding, font group name and description, the code
// page id and the copy of language settings between pages.

#include "designer/resources/fonts/FontManager.h"
#include "designer/document/Page.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/ResourceClasses.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class FontManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_preferences.DefaultCodePageID = 285;
        m_preferences.DefaultChrID = 697;
        m_preferences.DefaultCodePage = QStringLiteral("T1V10285");
        m_preferences.SetDefaultCharSet(QStringLiteral("Greek"));
        m_previous = SetPreferences(&m_preferences);
    }

    void TearDown() override { SetPreferences(m_previous); }

    CPreferences m_preferences;

private:
    CPreferences* m_previous = nullptr;
};

TEST_F(FontManagerTest, NewManagerTakesTheDocumentGroupAndThePreferences)
{
    CFontManager fonts;

    EXPECT_EQ(fonts.GetPage(), nullptr);
    EXPECT_EQ(fonts.GetFontGroupName(), QStringLiteral("*DOC"));
    EXPECT_TRUE(fonts.GetFontGroupDescription().isEmpty());
    EXPECT_EQ(fonts.GetMaxFonts(), 10);
    EXPECT_EQ(fonts.GetCodePageId(), 285);
    EXPECT_EQ(fonts.GetLanguageDefaults().characterId, 697u);
    EXPECT_EQ(fonts.GetLanguageDefaults().serverCodePage, QStringLiteral("T1V10285"));
    EXPECT_TRUE(fonts.GetLanguageDefaults().usePrinterResidentInfo);
    EXPECT_EQ(fonts.GetDisplayCharSet(), 161);
    EXPECT_EQ(fonts.GetCharSetName(), QStringLiteral("Greek"));
    EXPECT_TRUE(fonts.GetDefaultFollowsGrid());
}

TEST_F(FontManagerTest, BindingToAPageCopiesItsPixelSize)
{
    CPage page;
    page.SetPixelSize(1320, 1056);
    CFontManager fonts;

    fonts.SetPage(&page);

    EXPECT_EQ(fonts.GetPage(), &page);
    EXPECT_EQ(fonts.GetPagePixelSize(), QSize(1320, 1056));
}

TEST_F(FontManagerTest, IsASerialisableClassOfSchemaSixFoundByName)
{
    RegisterResourceClasses();
    const CRuntimeClass* found = CRuntimeClass::FromName("CFontManager");

    ASSERT_EQ(found, KWVD_RUNTIME_CLASS(CFontManager));
    EXPECT_EQ(found->GetStoredSchema(), 6u);
    EXPECT_TRUE(found->IsVersionable());
    std::unique_ptr<CObject> made(found->CreateObject());
    EXPECT_EQ(static_cast<CFontManager*>(made.get())->GetPage(), nullptr);
}

struct GroupNameCase
{
    const char* name;
    const char* input;
    BOOL changed;
    const char* result;
};

TEST_F(FontManagerTest, GroupNameIsCutToEightAndUpperCased)
{
    const GroupNameCase cases[] = {
        {"SameAsTheDefault", "*DOC", FALSE, "*DOC"},
        {"LowerCaseOfTheDefault", "*doc", FALSE, "*DOC"},
        {"EmptyChangesNothing", "", FALSE, "*DOC"},
        {"LongNameCut", "invoicegroup", TRUE, "INVOICEG"},
        {"SameAfterCut", "INVOICEGXYZ", FALSE, "INVOICEG"},
        {"EmptyKeepsTheLast", "", FALSE, "INVOICEG"},
        {"Short", "fg1", TRUE, "FG1"},
    };
    CFontManager fonts;
    for (const GroupNameCase& c : cases) {
        EXPECT_EQ(fonts.SetFontGroupName(QString::fromLatin1(c.input)), c.changed) << c.name;
        EXPECT_EQ(fonts.GetFontGroupName(), QString::fromLatin1(c.result)) << c.name;
    }
}

TEST_F(FontManagerTest, DescriptionIsCutToFifty)
{
    CFontManager fonts;
    const QString longText = QString(60, QLatin1Char('d'));

    EXPECT_TRUE(fonts.SetFontGroupDescription(longText));
    EXPECT_EQ(fonts.GetFontGroupDescription(), QString(50, QLatin1Char('d')));
    EXPECT_FALSE(fonts.SetFontGroupDescription(QString(55, QLatin1Char('d'))));
    EXPECT_TRUE(fonts.SetFontGroupDescription(QString()));
    EXPECT_TRUE(fonts.GetFontGroupDescription().isEmpty());
}

TEST_F(FontManagerTest, CodePageIdReportsAChange)
{
    CFontManager fonts;

    EXPECT_FALSE(fonts.SetCodePageId(285));
    EXPECT_TRUE(fonts.SetCodePageId(37));
    EXPECT_EQ(fonts.GetCodePageId(), 37);
    EXPECT_FALSE(fonts.SetCodePageId(37));
}

struct CopyCase
{
    const char* name;
    BYTE sourceCharSet;
    BYTE copiedCharSet;
};

TEST_F(FontManagerTest, LanguageCopyTakesCodePageCharSetAndServerCodePageOnly)
{
    const CopyCase cases[] = {
        {"ListedCharSet", 128, 128},
        {"UnlistedCharSetBecomesAnsi", 200, 0},
    };
    for (const CopyCase& c : cases) {
        CFontManager output;
        output.SetCodePageId(37);
        output.SetDisplayCharSet(c.sourceCharSet);
        output.GetLanguageDefaults().serverCodePage = QStringLiteral("T1V10037");
        output.GetLanguageDefaults().characterId = 1;
        output.GetLanguageDefaults().usePrinterResidentInfo = FALSE;
        CFontManager source;

        source.CopyLanguageSettings(&output);

        EXPECT_EQ(source.GetCodePageId(), 37) << c.name;
        EXPECT_EQ(source.GetDisplayCharSet(), c.copiedCharSet) << c.name;
        EXPECT_EQ(source.GetLanguageDefaults().serverCodePage, QStringLiteral("T1V10037")) << c.name;
        EXPECT_EQ(source.GetLanguageDefaults().characterId, 697u) << c.name;
        EXPECT_TRUE(source.GetLanguageDefaults().usePrinterResidentInfo) << c.name;
    }

    CFontManager untouched;
    untouched.CopyLanguageSettings(nullptr);
    EXPECT_EQ(untouched.GetCodePageId(), 285);
}

struct CharSetCase
{
    const char* name;
    BYTE value;
    const char* expectedName;
};

TEST(CharSetTable, NamesAndValuesMatchTheFirstRowExactly)
{
    const CharSetCase byValue[] = {
        {"Ansi", 0, "Ansi"},
        {"Greek", 161, "Greek"},
        {"OEM", 255, "OEM"},
        {"Unlisted", 200, "Ansi"},
    };
    for (const CharSetCase& c : byValue)
        EXPECT_EQ(CharSetName(c.value), QString::fromLatin1(c.expectedName)) << c.name;

    struct NameCase
    {
        const char* text;
        BYTE value;
    };
    const NameCase byName[] = {
        {"Greek", 161}, {"ShiftJIS", 128}, {"Chinese Big5", 136}, {"greek", 0}, {"ansi", 0}, {"", 0},
    };
    for (const NameCase& c : byName)
        EXPECT_EQ(CharSetFromName(QString::fromLatin1(c.text)), c.value) << c.text;

    EXPECT_EQ(WindowsCharSetTable().size(), 13u);
    EXPECT_STREQ(WindowsCharSetTable().front().name, "Ansi");
    EXPECT_STREQ(WindowsCharSetTable().back().name, "Turkish");
}

} // namespace
