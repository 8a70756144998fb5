// The "Add Font"/"Edit Font" dialog without its widgets: the values it starts
// from, the order of its checks, what "&Add" and OK put into the master list
// and the font exchange files of its context menu, with prompts scripted.

#include "designer/resources/ui/AS400FontAddDialog.h"

#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/FontManager.h"
#include "designer/resources/fonts/FontStrings.h"
#include "designer/resources/ui/tests/FontDialogFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <ostream>

namespace {

using Dlg = CAS400FontAddDialog;

int MasterCount()
{
    return static_cast<int>(CFontManager::GetMasterFontList()->GetCount());
}

class FontAddDialogTest : public FontDialogFixture<Dlg>
{
protected:
    void Type(int id, const char* text) { m_dialog.Control(id).text = QString::fromLatin1(text); }

    // A downloadable font that passes every check.
    void TypeDownloadable()
    {
        Type(Dlg::IDC_FAMILY_NAME, "Courier");
        Type(Dlg::IDC_LIBRARY, "qfntcpl");
        Type(Dlg::IDC_CHARSET_NAME, "c0420090");
        Type(Dlg::IDC_CODE_PAGE_NAME, "T1V10037");
        Type(Dlg::IDC_HEIGHT, "100");
    }
};

TEST_F(FontAddDialogTest, AddModeStartsFromTheLanguageDefaultsWithZerosShownEmpty)
{
    m_dialog.OnInitDialog();

    EXPECT_EQ(m_dialog.Title(), QStringLiteral("Add Font"));
    EXPECT_TRUE(m_dialog.IsAddButtonShown());
    EXPECT_EQ(m_dialog.Control(Dlg::IDC_CODE_PAGE_NAME).text, QStringLiteral("T1V10285"));
    EXPECT_EQ(m_dialog.Control(Dlg::IDC_CHARACTER_ID).text, QStringLiteral("697"));
    for (int id : {Dlg::IDC_FGID, Dlg::IDC_CODE_PAGE_ID, Dlg::IDC_WIDTH, Dlg::IDC_HEIGHT})
        EXPECT_TRUE(m_dialog.Control(id).text.isEmpty()) << id;
    EXPECT_EQ(m_dialog.Control(Dlg::IDC_STYLE).items.size(), 6);
}

TEST_F(FontAddDialogTest, EditModeShowsTheFontAndEnablesByItsDbcsFlag)
{
    CAS400Font font(QString(), QString(), 11, 37, 697, CAS400Font::FF_SWISS | 0x01, QStringLiteral("Gothic"), 833, 120,
                    TRUE, FALSE, TRUE, FALSE, QStringLiteral("QFNTCPL"), QStringLiteral("X0G16F"), TRUE);
    m_dialog.font = &font;
    m_dialog.editMode = TRUE;

    m_dialog.OnInitDialog();

    EXPECT_EQ(m_dialog.Title(), QStringLiteral("Edit Font"));
    EXPECT_FALSE(m_dialog.IsAddButtonShown());
    EXPECT_EQ(m_dialog.Control(Dlg::IDC_FAMILY_NAME).text, QStringLiteral("Gothic"));
    EXPECT_EQ(m_dialog.Control(Dlg::IDC_STYLE).selection, 2);
    EXPECT_EQ(m_dialog.Control(Dlg::IDC_BOLD).check, 1);
    EXPECT_EQ(m_dialog.Control(Dlg::IDC_UNDERLINE).check, 1);
    EXPECT_EQ(m_dialog.Control(Dlg::IDC_ITALIC).check, 0);
    EXPECT_TRUE(m_dialog.Control(Dlg::IDC_CODE_PAGE_NAME).text.isEmpty());
    EXPECT_FALSE(m_dialog.Control(Dlg::IDC_CHARSET_NAME).enabled);
    EXPECT_FALSE(m_dialog.Control(Dlg::IDC_CODE_PAGE_NAME).enabled);
    EXPECT_TRUE(m_dialog.Control(Dlg::IDC_CODED_FONT_NAME).enabled);

    m_dialog.Control(Dlg::IDC_DBCS).check = 0;
    m_dialog.OnDbcs();

    EXPECT_TRUE(m_dialog.Control(Dlg::IDC_CHARSET_NAME).enabled);
    EXPECT_FALSE(m_dialog.Control(Dlg::IDC_CODED_FONT_NAME).enabled);
}

struct ValidationCase
{
    const char* name;
    const char* family;
    const char* library;
    const char* fgid;
    const char* charSet;
    const char* codePage;
    const char* height;
    const char* width;
    const char* characterId;
    const char* codePageId;
    const char* message; // the start of the message, or null when the font is made
};

void PrintTo(const ValidationCase& c, std::ostream* os)
{
    *os << c.name;
}

class FontAddValidationTest : public FontAddDialogTest, public ::testing::WithParamInterface<ValidationCase>
{};

TEST_P(FontAddValidationTest, ChecksInOrderAndStopsAtTheFirstFailure)
{
    const ValidationCase& c = GetParam();
    m_dialog.OnInitDialog();
    Type(Dlg::IDC_FAMILY_NAME, c.family);
    Type(Dlg::IDC_LIBRARY, c.library);
    Type(Dlg::IDC_FGID, c.fgid);
    Type(Dlg::IDC_CHARSET_NAME, c.charSet);
    Type(Dlg::IDC_CODE_PAGE_NAME, c.codePage);
    Type(Dlg::IDC_HEIGHT, c.height);
    Type(Dlg::IDC_WIDTH, c.width);
    Type(Dlg::IDC_CHARACTER_ID, c.characterId);
    Type(Dlg::IDC_CODE_PAGE_ID, c.codePageId);
    const int before = MasterCount();

    const bool closed = m_dialog.OnOK();

    if (c.message == nullptr) {
        EXPECT_TRUE(closed);
        EXPECT_TRUE(Shown().isEmpty());
        EXPECT_EQ(MasterCount(), before + 1);
        EXPECT_NE(m_dialog.font, nullptr);
        EXPECT_TRUE(m_dialog.changed);
    } else {
        EXPECT_FALSE(closed);
        ASSERT_EQ(Shown().size(), 1);
        EXPECT_TRUE(Shown().front().startsWith(QString::fromLatin1(c.message))) << Shown().front().toStdString();
        EXPECT_EQ(MasterCount(), before);
        EXPECT_FALSE(m_dialog.changed);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FontAddValidationTest,
    ::testing::Values(
        ValidationCase{"NoFamily", "", "", "", "", "", "100000", "", "", "", "You must enter a Family Name"},
        ValidationCase{"NoLibrary", "F", "", "", "", "", "100000", "", "", "", "You must enter an IBM Server Library"},
        ValidationCase{"NoGroupNorCharSet", "F", "L", "", "", "", "100000", "", "", "",
                       "You must enter a Font Group ID or IBM Character Set ID"},
        ValidationCase{"HeightTooBig", "F", "L", "", "C1", "", "100000", "", "", "", "Font height must be blank"},
        ValidationCase{"DownloadableWithoutCodePage", "F", "L", "", "C1", "", "100", "", "", "",
                       "A downloadable font must have a valid IBM Code Page"},
        ValidationCase{"DownloadableNeedsNoPrinterDetails", "F", "L", "", "C1", "T1", "", "", "", "100000", nullptr},
        ValidationCase{"FgidTooBig", "F", "L", "100000", "", "", "", "", "", "100000", "Font Group ID must be between"},
        ValidationCase{"NoWidth", "F", "L", "11", "", "", "", "", "", "100000",
                       "Printer resident font details must "
                       "include a valid Font Width"},
        ValidationCase{"WidthTooBig", "F", "L", "11", "", "", "", "100000", "", "",
                       "Printer resident font details "
                       "must include a valid Font Width"},
        ValidationCase{"NoCharacterId", "F", "L", "11", "", "", "", "833", "", "100000",
                       "Printer resident font details must include a valid Character ID"},
        ValidationCase{"CodePageIdTooBig", "F", "L", "11", "", "", "", "833", "697", "100000",
                       "Code Page ID must be between"},
        ValidationCase{"CodePageIdZeroPasses", "F", "L", "11", "", "", "", "833", "697", "", nullptr}),
    [](const ::testing::TestParamInfo<ValidationCase>& info) { return std::string(info.param.name); });

TEST_F(FontAddDialogTest, AnUnreadableNumberStopsOkWithTheFrameworksMessage)
{
    m_dialog.OnInitDialog();
    TypeDownloadable();
    Type(Dlg::IDC_WIDTH, "wide");

    EXPECT_FALSE(m_dialog.OnOK());

    EXPECT_EQ(m_dialog.FailedControl(), Dlg::IDC_WIDTH);
    EXPECT_EQ(Shown().size(), 1);
    EXPECT_FALSE(m_dialog.changed);
}

TEST_F(FontAddDialogTest, EmptyNumbersAreStoredAsZeroAndNamesUpperCase)
{
    m_dialog.OnInitDialog();
    TypeDownloadable();
    Type(Dlg::IDC_CHARACTER_ID, "");

    ASSERT_TRUE(m_dialog.OnOK());

    ASSERT_NE(m_dialog.font, nullptr);
    EXPECT_EQ(m_dialog.font->m_nFGID, 0u);
    EXPECT_EQ(m_dialog.font->m_nCharacterId, 0u);
    EXPECT_EQ(m_dialog.font->GetWidth(), 0u);
    EXPECT_EQ(m_dialog.font->GetLibrary(), QStringLiteral("QFNTCPL"));
    EXPECT_EQ(m_dialog.font->GetCharSetName(), QStringLiteral("C0420090"));

    Dlg edit;
    edit.font = m_dialog.font;
    edit.editMode = TRUE;
    edit.OnInitDialog();
    for (int id : {Dlg::IDC_FGID, Dlg::IDC_CHARACTER_ID, Dlg::IDC_WIDTH, Dlg::IDC_CODE_PAGE_ID})
        EXPECT_TRUE(edit.Control(id).text.isEmpty()) << id;
}

TEST_F(FontAddDialogTest, AddThenOkUnchangedAddsOnceAndEndsWithoutAFont)
{
    m_dialog.OnInitDialog();
    TypeDownloadable();
    const int before = MasterCount();

    m_dialog.OnAdd();
    ASSERT_NE(m_dialog.font, nullptr);
    CAS400Font* first = m_dialog.font;
    EXPECT_EQ(CFontManager::FindMasterFont(first), first);

    EXPECT_TRUE(m_dialog.OnOK());

    EXPECT_EQ(MasterCount(), before + 1);
    EXPECT_EQ(m_dialog.font, nullptr);
    EXPECT_TRUE(m_dialog.changed);
}

TEST_F(FontAddDialogTest, EditOkChangesTheFontInPlaceAndReportsOnlyAChange)
{
    auto* font = new CAS400Font(QStringLiteral("C1"), QStringLiteral("T1"), 0, 0, 0, 0x12, QStringLiteral("Gothic"), 0,
                                100, FALSE, FALSE, FALSE, FALSE, QStringLiteral("LIB"), QString(), FALSE);
    font->SetFlags(CAS400Font::kReverse);
    ASSERT_TRUE(CFontManager::AddToMasterList(font));
    m_dialog.font = font;
    m_dialog.editMode = TRUE;
    m_dialog.OnInitDialog();

    EXPECT_TRUE(m_dialog.OnOK());
    EXPECT_FALSE(m_dialog.changed);

    m_dialog.Control(Dlg::IDC_ITALIC).check = 1;
    m_dialog.Control(Dlg::IDC_STYLE).selection = 3;
    Type(Dlg::IDC_HEIGHT, "120");
    EXPECT_TRUE(m_dialog.OnOK());

    EXPECT_TRUE(m_dialog.changed);
    EXPECT_EQ(font->GetHeight(), 120u);
    EXPECT_EQ(font->GetFlags(), CAS400Font::kReverse | CAS400Font::kItalic);
    EXPECT_EQ(font->GetPitchAndFamily(), 0x32);
}

TEST_F(FontAddDialogTest, EditOkWithAFailingCheckLeavesTheFont)
{
    CAS400Font font(QStringLiteral("C1"), QStringLiteral("T1"), 0, 0, 0, 0, QStringLiteral("Gothic"), 0, 100, FALSE,
                    FALSE, FALSE, FALSE, QStringLiteral("LIB"), QString(), FALSE);
    m_dialog.font = &font;
    m_dialog.editMode = TRUE;
    m_dialog.OnInitDialog();
    Type(Dlg::IDC_FAMILY_NAME, "");

    EXPECT_FALSE(m_dialog.OnOK());

    EXPECT_EQ(font.GetTypeface(), QStringLiteral("Gothic"));
    EXPECT_FALSE(m_dialog.changed);
}

TEST_F(FontAddDialogTest, ImportIsOfferedAgainAfterAFailureAndAddsTheFileFonts)
{
    const QString path = PathOf("fonts.fef");
    char line[200];
    std::snprintf(line, sizeof line, "%-8s%-8s%05d%05d%05d%03d%-50s%05d%05d%04d%-10s%-8sN\r\n", "C1", "T1", 0, 0, 0,
                  0x31, "Imported", 833, 100, 0, "IMPLIB", "");
    WriteAll(path, QByteArray(line));
    m_prompts->AnswerFile(PathOf("missing.fef"));
    m_prompts->AnswerMessageBox(IDOK);
    m_prompts->AnswerFile(path);

    m_dialog.OnImport();

    // The test's data folder has no font table: the import says so per
    // section and still adds the file's fonts.
    const std::vector<RecordedPrompt>& prompts = m_prompts->Recorded();
    ASSERT_GE(prompts.size(), 3u);
    EXPECT_EQ(prompts[1].text, QStringLiteral("Error reading file: %1.").arg(PathOf("missing.fef")));
    EXPECT_EQ(std::count_if(prompts.begin(), prompts.end(),
                            [](const RecordedPrompt& prompt) { return prompt.kind != PromptKind::MessageBox; }),
              2);
    EXPECT_EQ(m_prompts->PendingAnswers(), 0);
    bool found = false;
    for (CObject* object : *CFontManager::GetMasterFontList())
        found = found || static_cast<CAS400Font*>(object)->GetTypeface() == QStringLiteral("Imported");
    EXPECT_TRUE(found);
}

TEST_F(FontAddDialogTest, ExportWritesTheMasterFontsAndCancelEnds)
{
    auto* font = new CAS400Font(QStringLiteral("C1"), QStringLiteral("T1"), 0, 0, 0, 0, QStringLiteral("Gothic"), 0,
                                100, FALSE, FALSE, FALSE, FALSE, QStringLiteral("LIB"), QString(), FALSE);
    ASSERT_TRUE(CFontManager::AddToMasterList(font));
    m_prompts->AnswerFile(PathOf("no/such/folder/out.fef"));
    m_prompts->AnswerMessageBox(IDOK);
    m_prompts->AnswerFile(PathOf("out.fef"));

    m_dialog.OnExport();

    EXPECT_TRUE(ReadAll(PathOf("out.fef")).contains("Gothic"));
    EXPECT_EQ(m_prompts->PendingAnswers(), 0);
    ASSERT_EQ(m_prompts->Recorded().size(), 3u);
    EXPECT_TRUE(m_prompts->Recorded()[1].text.startsWith(QStringLiteral("Error saving file:")));

    const size_t shown = m_prompts->Recorded().size();
    m_dialog.OnExport();
    EXPECT_EQ(m_prompts->Recorded().size(), shown + 1);
}

} // namespace
