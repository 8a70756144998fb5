// The "Font" dialog without its widgets: which fonts its lists offer, how a
// font is selected and taken on OK, and what its buttons do to the master
// list, with the add-font dialog and prompts scripted.

#include "designer/resources/ui/AS400FontDialog.h"

#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/FontManager.h"
#include "designer/resources/fonts/FontStrings.h"
#include "designer/resources/fonts/SelectedFontHolder.h"
#include "designer/resources/ui/tests/FontDialogFixture.h"
#include "tests/support/QtApplicationEnvironment.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Dlg = CAS400FontDialog;

CAS400Font* MasterFont(const char* typeface, DWORD height = 100, DWORD flags = 0, BOOL dbcs = FALSE,
                       const char* charSet = "")
{
    // A font group of its own per height, so the master list tells them apart.
    auto* font = new CAS400Font(QString::fromLatin1(charSet), QStringLiteral("T1V10285"), charSet[0] ? 0 : height, 0,
                                697, CAS400Font::FF_MODERN, QString::fromLatin1(typeface), 833, height, FALSE, FALSE,
                                FALSE, FALSE, QStringLiteral("LIB"), QString(), dbcs);
    font->SetFlags(flags);
    EXPECT_TRUE(CFontManager::AddToMasterList(font));
    return font;
}

class FontDialogTest : public FontDialogFixture<Dlg>
{
protected:
    const DialogControlState& State(int id) { return m_dialog.Control(id); }
    QStringList Items(int id) { return m_dialog.Control(id).items; }
};

TEST_F(FontDialogTest, AnIndexWithoutFontsSelectsNothingAndOkTakesNone)
{
    MasterFont("Courier");
    m_dialog.fontIndex = 3;

    m_dialog.OnInitDialog();

    EXPECT_EQ(Items(Dlg::IDC_TYPEFACE), QStringList{QStringLiteral("Courier")});
    EXPECT_EQ(State(Dlg::IDC_TYPEFACE).selection, -1);
    EXPECT_TRUE(Items(Dlg::IDC_SIZE).isEmpty());
    EXPECT_EQ(State(Dlg::IDC_DOWNLOADABLE).check, 2);
    EXPECT_EQ(State(Dlg::IDC_PRINTER_RESIDENT).check, 2);
    EXPECT_EQ(State(Dlg::IDC_FONT_INDEX).text, QStringLiteral("3"));
    EXPECT_TRUE(m_dialog.OnOK());
    EXPECT_EQ(m_dialog.GetPrimaryFont(), nullptr);
    EXPECT_EQ(m_dialog.GetSecondaryFont(), nullptr);
}

TEST_F(FontDialogTest, OpensOnTheIndexFontWithItsCountsAndSample)
{
    CAS400Font* courier = MasterFont("Courier", 120, CAS400Font::kBold);
    MasterFont("Courier", 100);
    CAS400Font* gothic = MasterFont("Gothic");
    m_manager->GetFontList().SetPrimaryFont(0, gothic);
    m_manager->GetFontList().SetPrimaryFont(2, courier);
    m_dialog.fontIndex = 2;
    m_dialog.sampleText = QStringLiteral("   Total ");

    m_dialog.OnInitDialog();

    EXPECT_EQ(m_dialog.GetPrimaryFont(), courier);
    EXPECT_EQ(State(Dlg::IDC_TYPEFACE).text, QStringLiteral("Courier"));
    EXPECT_EQ(Items(Dlg::IDC_STYLE).size(), 2);
    EXPECT_EQ(m_dialog.StyleFlags().at(static_cast<size_t>(State(Dlg::IDC_STYLE).selection)), CAS400Font::kBold);
    EXPECT_EQ(m_dialog.GetSelectedSizeFont(), courier);
    EXPECT_EQ(State(Dlg::IDC_SAMPLE).text, QStringLiteral("Total "));
    EXPECT_EQ(State(Dlg::IDC_FONTS_USED).text, QStringLiteral("2"));
    EXPECT_EQ(State(Dlg::IDC_MAX_FONTS).text, QStringLiteral("10"));
    EXPECT_EQ(State(Dlg::IDC_DOWNLOADABLE).check, 0);
    EXPECT_EQ(State(Dlg::IDC_PRINTER_RESIDENT).check, 1);
    ASSERT_TRUE(m_dialog.SampleFont().has_value());
    EXPECT_TRUE(m_dialog.SampleFont()->bold());
}

TEST_F(FontDialogTest, AnEmptySampleReadsAaBbYyZz)
{
    m_dialog.sampleText = QStringLiteral("  ");

    m_dialog.OnInitDialog();

    EXPECT_EQ(State(Dlg::IDC_SAMPLE).text, QStringLiteral("AaBbYyZz"));
}

TEST_F(FontDialogTest, TypefacesDifferingInCaseAreOneItemWithTheExactMatchesAsStyles)
{
    MasterFont("Courier", 100, 0);
    MasterFont("COURIER", 100, CAS400Font::kItalic);
    MasterFont("Arial");
    m_dialog.OnInitDialog();

    EXPECT_EQ(Items(Dlg::IDC_TYPEFACE), (QStringList{QStringLiteral("Arial"), QStringLiteral("Courier")}));
    m_dialog.OnSelectTypeface(1);

    EXPECT_EQ(m_dialog.StyleFlags(), std::vector<DWORD>{0});
}

TEST_F(FontDialogTest, HeightsRoundedToTheSamePointsAreTwoSizeItemsSortedByHeight)
{
    CAS400Font* ten = MasterFont("Courier", 100);
    CAS400Font* nineAndAHalf = MasterFont("Courier", 95);
    MasterFont("Courier", 120);
    m_dialog.OnInitDialog();

    m_dialog.OnSelectTypeface(0);

    EXPECT_EQ(Items(Dlg::IDC_SIZE), (QStringList{QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("12")}));
    EXPECT_EQ(m_dialog.SizeFonts().at(0), nineAndAHalf);
    EXPECT_EQ(m_dialog.SizeFonts().at(1), ten);
    EXPECT_EQ(State(Dlg::IDC_SIZE).selection, 0);
}

TEST_F(FontDialogTest, TheDbcsButtonShowsOnlyForADoubleByteDocument)
{
    m_dialog.OnInitDialog();
    EXPECT_FALSE(m_dialog.IsDbcsButtonShown());

    m_manager->SetCodePageId(930);
    Dlg doubleByte;
    doubleByte.fontManager = m_manager.get();
    doubleByte.OnInitDialog();
    EXPECT_TRUE(doubleByte.IsDbcsButtonShown());

    Dlg secondary;
    secondary.fontManager = m_manager.get();
    secondary.mode = Dlg::kSecondaryMode;
    secondary.OnInitDialog();
    EXPECT_FALSE(secondary.IsDbcsButtonShown());
    EXPECT_EQ(secondary.Title(), QStringLiteral("Secondary Font"));
}

TEST_F(FontDialogTest, OkRefusesAFontOfTheOtherKind)
{
    CAS400Font* courier = MasterFont("Courier");
    CAS400Font* mincho = MasterFont("Mincho", 100, 0, TRUE);
    m_manager->GetFontList().SetPrimaryFont(0, courier);
    m_dialog.OnInitDialog();

    EXPECT_FALSE(m_dialog.SetCurrentFont(mincho));
    EXPECT_FALSE(m_dialog.SetCurrentFont(courier));
    EXPECT_EQ(m_dialog.GetPrimaryFont(), courier);

    Dlg secondary;
    secondary.fontManager = m_manager.get();
    secondary.mode = Dlg::kSecondaryMode;
    secondary.OnInitDialog();
    EXPECT_EQ(secondary.Control(Dlg::IDC_TYPEFACE).items, QStringList{QStringLiteral("Mincho")});
    EXPECT_FALSE(secondary.SetCurrentFont(courier));
    EXPECT_TRUE(secondary.SetCurrentFont(mincho));
    EXPECT_EQ(secondary.GetSecondaryFont(), mincho);
}

TEST_F(FontDialogTest, DocumentFontsListTheIndexFontsOfTheMode)
{
    CAS400Font* courier = MasterFont("Courier");
    CAS400Font* gothic = MasterFont("Gothic");
    MasterFont("Arial");
    CAS400Font* mincho = MasterFont("Mincho", 100, 0, TRUE);
    CAS400Font* kanji = MasterFont("Kanji", 100, 0, TRUE);
    MasterFont("Other", 100, 0, TRUE);
    CSelectedFontList& list = m_manager->GetFontList();
    list.SetPrimaryFont(0, courier);
    list.GetHolder(0)->SetSecondary(mincho);
    list.SetPrimaryFont(1, gothic);
    list.GetHolder(1)->SetSecondary(mincho);
    list.SetPrimaryFont(2, kanji);
    m_dialog.displayChoice = Dlg::kDocumentFonts;
    m_dialog.OnInitDialog();

    EXPECT_EQ(Items(Dlg::IDC_TYPEFACE), (QStringList{QStringLiteral("Courier"), QStringLiteral("Gothic")}));
    EXPECT_EQ(State(Dlg::IDC_DOCUMENT_FONTS).check, 1);

    Dlg secondary;
    secondary.fontManager = m_manager.get();
    secondary.mode = Dlg::kSecondaryMode;
    secondary.displayChoice = Dlg::kDocumentFonts;
    secondary.OnInitDialog();
    EXPECT_EQ(secondary.Candidates(), (std::vector<CAS400Font*>{mincho, courier, gothic, kanji}));
    EXPECT_EQ(secondary.Control(Dlg::IDC_TYPEFACE).items,
              (QStringList{QStringLiteral("Kanji"), QStringLiteral("Mincho")}));
}

TEST_F(FontDialogTest, ChangingTheDisplayRefillsAndKeepsTheCurrentFontSelected)
{
    CAS400Font* courier = MasterFont("Courier");
    MasterFont("Arial");
    m_manager->GetFontList().SetPrimaryFont(0, courier);
    m_dialog.OnInitDialog();
    ASSERT_EQ(Items(Dlg::IDC_TYPEFACE).size(), 2);

    m_dialog.OnDisplayChoice(Dlg::kDocumentFonts);

    EXPECT_EQ(Items(Dlg::IDC_TYPEFACE), QStringList{QStringLiteral("Courier")});
    EXPECT_EQ(m_dialog.GetSelectedSizeFont(), courier);
    EXPECT_EQ(m_dialog.displayChoice, Dlg::kDocumentFonts);
}

TEST_F(FontDialogTest, DefaultFontButtonMakesIndexZerosFontCurrent)
{
    CAS400Font* courier = MasterFont("Courier");
    CAS400Font* gothic = MasterFont("Gothic");
    m_manager->GetFontList().SetPrimaryFont(0, courier);
    m_manager->GetFontList().SetPrimaryFont(1, gothic);
    m_dialog.fontIndex = 1;
    m_dialog.OnInitDialog();

    m_dialog.OnDefaultFont();

    EXPECT_EQ(m_dialog.GetPrimaryFont(), courier);
    EXPECT_EQ(m_dialog.GetSelectedSizeFont(), courier);
}

TEST_F(FontDialogTest, TheDbcsButtonTakesTheSecondaryDialogsChoiceOnOk)
{
    m_manager->SetCodePageId(930);
    CAS400Font* courier = MasterFont("Courier");
    CAS400Font* mincho = MasterFont("Mincho", 100, 0, TRUE);
    m_manager->GetFontList().SetPrimaryFont(0, courier);
    bool accept = false;
    m_dialog.SetSecondaryDialogRunner([&](Dlg& secondary) {
        EXPECT_EQ(secondary.mode, Dlg::kSecondaryMode);
        secondary.OnInitDialog();
        secondary.OnSelectTypeface(0);
        return accept && secondary.OnOK();
    });
    m_dialog.OnInitDialog();

    m_dialog.OnDbcsFont();
    EXPECT_EQ(m_dialog.GetSecondaryFont(), nullptr);
    accept = true;
    m_dialog.OnDbcsFont();

    EXPECT_EQ(m_dialog.GetSecondaryFont(), mincho);
    EXPECT_EQ(m_dialog.GetPrimaryFont(), courier);
}

TEST_F(FontDialogTest, RemovingAnUnusedFontTakesItOffTheListsAndTheCurrentFont)
{
    CAS400Font* courier = MasterFont("Courier");
    CAS400Font* arial = MasterFont("Arial");
    m_manager->GetFontList().SetPrimaryFont(0, courier);
    m_dialog.OnInitDialog();
    m_dialog.OnSelectTypeface(0);
    ASSERT_EQ(m_dialog.GetSelectedSizeFont(), arial);
    m_dialog.SetCurrentFont(arial);

    m_prompts->AnswerMessageBox(IDNO);
    m_dialog.OnRemove();
    EXPECT_EQ(Items(Dlg::IDC_TYPEFACE).size(), 2);

    m_prompts->AnswerMessageBox(IDYES);
    m_dialog.OnRemove();

    EXPECT_EQ(Items(Dlg::IDC_TYPEFACE), QStringList{QStringLiteral("Courier")});
    EXPECT_EQ(m_dialog.GetPrimaryFont(), nullptr);
    EXPECT_EQ(CFontManager::FindMasterFont(arial), nullptr);
    ASSERT_EQ(Shown().size(), 2);
    EXPECT_EQ(Shown().at(1),
              QStringLiteral("Are you sure you want to permanently remove this font from the font list ?"));
}

TEST_F(FontDialogTest, RemovingTheDefaultFontIsRefusedWithItsMessage)
{
    CAS400Font* courier = MasterFont("Courier");
    m_manager->GetFontList().SetPrimaryFont(0, courier);
    m_dialog.OnInitDialog();

    m_prompts->AnswerMessageBox(IDYES);
    m_dialog.OnRemove();

    EXPECT_EQ(CFontManager::FindMasterFont(courier), courier);
    EXPECT_EQ(m_dialog.GetPrimaryFont(), courier);
    ASSERT_EQ(Shown().size(), 2);
    EXPECT_TRUE(Shown().at(1).startsWith(QStringLiteral("You cannot delete the default font.")));
}

TEST_F(FontDialogTest, AddAndEditMakeTheDialogsFontCurrent)
{
    CAS400Font* courier = MasterFont("Courier");
    CAS400Font* added = nullptr;
    std::vector<BOOL> modes;
    const FontAddDialogRunner previous =
        SetFontAddDialogRunner([&](CFontManager&, CAS400Font*& font, BOOL editMode, QObject*) -> BOOL {
            modes.push_back(editMode);
            if (editMode)
                return font->SetTypeface(QStringLiteral("Courier New"));
            added = MasterFont("Zapf", 140);
            font = added;
            return TRUE;
        });
    m_dialog.OnInitDialog();

    m_dialog.OnAdd();
    EXPECT_EQ(m_dialog.GetPrimaryFont(), added);
    EXPECT_EQ(m_dialog.GetSelectedSizeFont(), added);
    EXPECT_EQ(Items(Dlg::IDC_TYPEFACE).size(), 2);

    m_dialog.OnSelectTypeface(0);
    ASSERT_EQ(m_dialog.GetSelectedSizeFont(), courier);
    m_dialog.OnEdit();

    EXPECT_EQ(m_dialog.GetPrimaryFont(), courier);
    EXPECT_EQ(State(Dlg::IDC_TYPEFACE).text, QStringLiteral("Courier New"));
    EXPECT_EQ(modes, (std::vector<BOOL>{FALSE, TRUE}));
    SetFontAddDialogRunner(previous);
}

} // namespace
