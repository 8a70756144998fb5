// The font commands of a page's font list with the dialogs scripted through
// their runners: which index an element's choice ends at, how the default
// font is set, and what the add and edit commands hand back.

#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/FontManager.h"
#include "designer/resources/fonts/FontStrings.h"
#include "designer/resources/fonts/SelectedFontHolder.h"
#include "tests/support/FontTestEnvironment.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

namespace {

CAS400Font* MasterFont(const char* typeface, BOOL dbcs = FALSE)
{
    auto* font = new CAS400Font(QString(), QString(), 1, 0, 0, CAS400Font::FF_MODERN, QString::fromLatin1(typeface),
                                833, 100, FALSE, FALSE, FALSE, FALSE, QStringLiteral("LIB"), QString(), dbcs);
    EXPECT_TRUE(CFontManager::AddToMasterList(font));
    return font;
}

// What the scripted font dialog answers: nothing for Cancel.
struct ScriptedChoice
{
    CAS400Font* primary = nullptr;
    CAS400Font* secondary = nullptr;
    int listChoice = 0;
};

class FontCommandsTest : public FontTestEnvironment
{
protected:
    void SetUp() override
    {
        FontTestEnvironment::SetUp();
        RegisterFontStrings();
        m_manager = std::make_unique<CFontManager>();
        m_courier = MasterFont("Courier");
        m_gothic = MasterFont("Gothic");
        m_mincho = MasterFont("Mincho", TRUE);
        m_previousRunner = SetFontDialogRunner([this](CFontManager& manager, FontDialogRun& run) -> BOOL {
            EXPECT_EQ(&manager, m_manager.get());
            m_opened = run;
            if (!m_choice)
                return FALSE;
            run.primary = m_choice->primary;
            run.secondary = m_choice->secondary;
            run.listChoice = m_choice->listChoice;
            return TRUE;
        });
    }

    void TearDown() override
    {
        SetFontDialogRunner(m_previousRunner);
        m_manager.reset();
        FontTestEnvironment::TearDown();
    }

    CSelectedFontList& List() { return m_manager->GetFontList(); }

    std::unique_ptr<CFontManager> m_manager;
    CAS400Font* m_courier = nullptr;
    CAS400Font* m_gothic = nullptr;
    CAS400Font* m_mincho = nullptr;
    std::optional<ScriptedChoice> m_choice;
    FontDialogRun m_opened;

private:
    FontDialogRunner m_previousRunner;
};

TEST_F(FontCommandsTest, ElementChoiceOpensTheDialogOnTheIndexWithTheListChoiceAndSample)
{
    List().SetPrimaryFont(0, m_courier);
    m_manager->SetFontListChoice(0);
    int index = 0;

    EXPECT_FALSE(m_manager->ChooseElementFont(QStringLiteral("Total"), &index));

    EXPECT_EQ(m_opened.index, 0);
    EXPECT_EQ(m_opened.listChoice, 0);
    EXPECT_EQ(m_opened.sampleText, QStringLiteral("Total"));
}

struct ElementChoiceCase
{
    const char* name;
    int startIndex;
    bool cancel;
    bool choosePrimary;   // Gothic, else no font
    bool chooseSecondary; // Mincho
    bool gothicAtTwo;     // the pair already stands at index 2
    int expectedIndex;
    BOOL expectedResult;
};

void PrintTo(const ElementChoiceCase& c, std::ostream* os)
{
    *os << c.name;
}

class ElementChoiceTest : public FontCommandsTest, public ::testing::WithParamInterface<ElementChoiceCase>
{};

TEST_P(ElementChoiceTest, EndsAtTheIndexOfThePair)
{
    const ElementChoiceCase& c = GetParam();
    List().SetPrimaryFont(0, m_courier);
    List().SetPrimaryFont(1, m_courier);
    if (c.gothicAtTwo) {
        List().SetPrimaryFont(2, m_gothic);
        List().GetHolder(2)->SetSecondary(m_mincho);
    }
    if (!c.cancel)
        m_choice = ScriptedChoice{c.choosePrimary ? m_gothic : nullptr, c.chooseSecondary ? m_mincho : nullptr, 0};
    int index = c.startIndex;

    EXPECT_EQ(m_manager->ChooseElementFont(QString(), &index), c.expectedResult);

    EXPECT_EQ(index, c.expectedIndex);
    if (c.expectedResult && !c.gothicAtTwo) {
        ASSERT_NE(List().GetHolder(index), nullptr);
        EXPECT_EQ(List().GetHolder(index)->GetPrimary(), m_gothic);
        EXPECT_EQ(List().GetHolder(index)->GetSecondary(), c.chooseSecondary ? m_mincho : nullptr);
    }
    EXPECT_EQ(m_manager->GetFontListChoice(), c.cancel ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ElementChoiceTest,
    ::testing::Values(ElementChoiceCase{"Cancel", 1, true, true, false, false, 1, FALSE},
                      ElementChoiceCase{"NoFontChosen", 1, false, false, false, false, 1, FALSE},
                      ElementChoiceCase{"NewPrimaryTakesAFreeIndex", 1, false, true, false, false, 2, TRUE},
                      ElementChoiceCase{"NewPairKeepsItsSecondary", 1, false, true, true, false, 2, TRUE},
                      ElementChoiceCase{"PairAtAnotherIndex", 1, false, true, true, true, 2, TRUE},
                      ElementChoiceCase{"PairAtTheCurrentIndex", 2, false, true, true, true, 2, FALSE}),
    [](const ::testing::TestParamInfo<ElementChoiceCase>& info) { return std::string(info.param.name); });

TEST_F(FontCommandsTest, ChoosingThePairOfIndexZeroGivesIndexZero)
{
    List().SetPrimaryFont(0, m_courier);
    List().SetPrimaryFont(1, m_gothic);
    m_choice = ScriptedChoice{m_courier, nullptr, 1};
    int index = 1;

    EXPECT_TRUE(m_manager->ChooseElementFont(QString(), &index));

    EXPECT_EQ(index, 0);
}

TEST_F(FontCommandsTest, AFullListGivesTheMaximumMessageAndKeepsTheIndex)
{
    for (int slot = 0; slot < m_manager->GetMaxFonts(); ++slot)
        List().SetPrimaryFont(slot, m_courier);
    m_choice = ScriptedChoice{m_gothic, nullptr, 1};
    int index = 3;

    EXPECT_FALSE(m_manager->ChooseElementFont(QString(), &index));

    EXPECT_EQ(index, 3);
    ASSERT_EQ(Shown().size(), 1);
    EXPECT_TRUE(Shown().front().startsWith(QStringLiteral("Maximum fonts already selected.")));
}

TEST_F(FontCommandsTest, DefaultFontTakesTheChosenPairAndStopsFollowingTheGrid)
{
    List().SetPrimaryFont(0, m_courier);
    m_choice = ScriptedChoice{m_gothic, m_mincho, 0};

    EXPECT_TRUE(m_manager->ChooseDefaultFont());

    EXPECT_EQ(m_opened.index, 0);
    EXPECT_EQ(List().GetHolder(0)->GetPrimary(), m_gothic);
    EXPECT_EQ(List().GetHolder(0)->GetSecondary(), m_mincho);
    EXPECT_FALSE(m_manager->GetDefaultFollowsGrid());
    EXPECT_EQ(m_manager->GetFontListChoice(), 0);
}

struct DefaultKeptCase
{
    const char* name;
    bool cancel;
    bool noFont; // OK with nothing selected, else the pair already there
    BOOL expectedResult;
};

void PrintTo(const DefaultKeptCase& c, std::ostream* os)
{
    *os << c.name;
}

class DefaultKeptTest : public FontCommandsTest, public ::testing::WithParamInterface<DefaultKeptCase>
{};

TEST_P(DefaultKeptTest, LeavesIndexZeroFollowingTheGrid)
{
    const DefaultKeptCase& c = GetParam();
    List().SetPrimaryFont(0, m_courier);
    if (!c.cancel)
        m_choice = ScriptedChoice{c.noFont ? nullptr : m_courier, nullptr, 0};

    EXPECT_EQ(m_manager->ChooseDefaultFont(), c.expectedResult);

    EXPECT_EQ(List().GetHolder(0)->GetPrimary(), m_courier);
    EXPECT_TRUE(m_manager->GetDefaultFollowsGrid());
}

INSTANTIATE_TEST_SUITE_P(Cases, DefaultKeptTest,
                         ::testing::Values(DefaultKeptCase{"Cancel", true, false, FALSE},
                                           DefaultKeptCase{"NoFontChosen", false, true, TRUE},
                                           DefaultKeptCase{"SamePair", false, false, TRUE}),
                         [](const ::testing::TestParamInfo<DefaultKeptCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(FontCommandsTest, TheDefaultHalvesApartSetAnEmptyIndexZero)
{
    EXPECT_FALSE(m_manager->ApplyDefaultFont(nullptr, nullptr));
    EXPECT_EQ(List().GetHolder(0), nullptr);

    EXPECT_TRUE(m_manager->ApplyDefaultFont(m_gothic, nullptr));

    ASSERT_NE(List().GetHolder(0), nullptr);
    EXPECT_EQ(List().GetHolder(0)->GetPrimary(), m_gothic);
    EXPECT_FALSE(m_manager->GetDefaultFollowsGrid());
}

TEST_F(FontCommandsTest, WithoutInstalledDialogsTheCommandsChangeNothing)
{
    const FontDialogRunner runner = SetFontDialogRunner(nullptr);
    const FontAddDialogRunner addRunner = SetFontAddDialogRunner(nullptr);
    int index = 1;
    CAS400Font* font = m_courier;

    EXPECT_FALSE(m_manager->ChooseElementFont(QString(), &index));
    EXPECT_FALSE(m_manager->ChooseDefaultFont());
    EXPECT_FALSE(m_manager->AddFont(nullptr, &font));
    EXPECT_FALSE(m_manager->EditFont(m_courier, nullptr));

    EXPECT_EQ(index, 1);
    EXPECT_EQ(font, m_courier);
    SetFontDialogRunner(runner);
    SetFontAddDialogRunner(addRunner);
}

TEST_F(FontCommandsTest, AddAndEditHandTheDialogsTheirFontAndMode)
{
    std::vector<std::pair<CAS400Font*, BOOL>> opened;
    CAS400Font* added = nullptr;
    const FontAddDialogRunner previous =
        SetFontAddDialogRunner([&](CFontManager& manager, CAS400Font*& font, BOOL editMode, QObject*) -> BOOL {
            EXPECT_EQ(&manager, m_manager.get());
            opened.emplace_back(font, editMode);
            if (editMode)
                return TRUE;
            added = MasterFont("Added");
            font = added;
            return TRUE;
        });
    CAS400Font* font = m_courier;

    EXPECT_TRUE(m_manager->AddFont(nullptr, &font));
    EXPECT_TRUE(m_manager->EditFont(m_gothic, nullptr));

    EXPECT_EQ(font, added);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], std::make_pair(m_courier, FALSE));
    EXPECT_EQ(opened[1], std::make_pair(m_gothic, TRUE));
    SetFontAddDialogRunner(previous);
}

TEST_F(FontCommandsTest, AnAddThatAddedNothingKeepsTheFont)
{
    const FontAddDialogRunner previous =
        SetFontAddDialogRunner([](CFontManager&, CAS400Font*& font, BOOL, QObject*) -> BOOL {
            font = nullptr;
            return FALSE;
        });
    CAS400Font* font = m_courier;

    EXPECT_FALSE(m_manager->AddFont(nullptr, &font));

    EXPECT_EQ(font, m_courier);
    SetFontAddDialogRunner(previous);
}

} // namespace
