#include "designer/views/pages/tests/TextKindPageFixture.h"

#include "designer/elements/FormLoopElement.h"
#include "designer/views/pages/LoopPropPage.h"

#include <ostream>

namespace {

using Page = CLoopPropPage;

class LoopPageTest : public TextKindPageTest
{
protected:
    // Lines 3 to 6 of the input page.
    CFormLoopElement* Loop()
    {
        return static_cast<CFormLoopElement*>(Make(FormElementType::Loop, In(1, 3, 41, 7), nullptr, PaneSide::Input));
    }
    static void SetMode(CFormLoopElement* loop, int mode)
    {
        CDocChangeGuard change(loop->GetDocument());
        loop->SetLoopMode(mode);
        loop->ArrangeRects();
    }
};

// ---------------------------------------------------------------- the two boxes

struct BoxCase
{
    const char* name;
    int startMode;
    int box;   // the box clicked
    int check; // what it reads afterwards
    int mode;
    int endOfPage;
    int endOfDocument;
    bool heightOn;
};

void PrintTo(const BoxCase& c, std::ostream* os)
{
    *os << c.name;
}

class LoopBoxTest : public LoopPageTest, public ::testing::WithParamInterface<BoxCase>
{};

TEST_P(LoopBoxTest, ExclusiveOptionsThatMayBothBeClear)
{
    const BoxCase& c = GetParam();
    CFormLoopElement* loop = Loop();
    SetMode(loop, c.startMode);
    auto* page = OwnPage<Page>(loop);
    EXPECT_EQ(page->FindControl(Page::IDC_END_OF_PAGE)->check, c.startMode == 1 ? 1 : 0);
    EXPECT_EQ(page->FindControl(Page::IDC_END_OF_DOCUMENT)->check, c.startMode == 2 ? 1 : 0);

    Click(*page, c.box, c.check);

    EXPECT_EQ(loop->GetLoopMode(), c.mode);
    EXPECT_EQ(page->Data().mode, c.mode);
    EXPECT_EQ(page->FindControl(Page::IDC_END_OF_PAGE)->check, c.endOfPage);
    EXPECT_EQ(page->FindControl(Page::IDC_END_OF_DOCUMENT)->check, c.endOfDocument);
    EXPECT_EQ(page->FindControl(Page::IDC_HEIGHT)->enabled, c.heightOn);
    EXPECT_EQ(page->FindControl(Page::IDC_HEIGHT_SPIN)->enabled, c.heightOn);
    EXPECT_EQ(log.Saw(DocumentHint::ElementChanged), c.mode != c.startMode);
}

const BoxCase kBoxCases[] = {
    {"PageEndTickedFromFixed", 0, Page::IDC_END_OF_PAGE, 1, 1, 1, 0, false},
    {"DocumentEndTickedFromFixed", 0, Page::IDC_END_OF_DOCUMENT, 1, 2, 0, 1, false},
    {"PageEndTickedUnticksDocumentEnd", 2, Page::IDC_END_OF_PAGE, 1, 1, 1, 0, false},
    {"DocumentEndTickedUnticksPageEnd", 1, Page::IDC_END_OF_DOCUMENT, 1, 2, 0, 1, false},
    {"OnlyTickedBoxClearedGivesFixedHeight", 1, Page::IDC_END_OF_PAGE, 0, 0, 0, 0, true},
    {"DocumentEndClearedGivesFixedHeight", 2, Page::IDC_END_OF_DOCUMENT, 0, 0, 0, 0, true},
};

INSTANTIATE_TEST_SUITE_P(Loop, LoopBoxTest, ::testing::ValuesIn(kBoxCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LoopPageTest, ModeToThePageEndStretchesTheLoopAndBackKeepsItsHeight)
{
    CFormLoopElement* loop = Loop();
    auto* page = OwnPage<Page>(loop);
    const DWORD buildId = Doc().GetBuildId();
    Click(*page, Page::IDC_END_OF_PAGE, 1);
    EXPECT_EQ(loop->SourceRect().bottom, Input().GetPixelHeight());
    EXPECT_EQ(Doc().GetBuildId(), buildId + 1);
    // The page shows the height the element has now.
    EXPECT_EQ(page->Data().height, (Input().GetPixelHeight() - loop->SourceRect().top) / Input().GetCellHeight());

    Click(*page, Page::IDC_END_OF_PAGE, 0);
    EXPECT_EQ(loop->GetLoopMode(), LoopMode::FixedHeight);
    EXPECT_EQ(loop->SourceRect().bottom, Input().GetPixelHeight());
}

// ---------------------------------------------------------------- increment on success

struct IncrementCase
{
    const char* name;
    BYTE docType;
    bool boxOn;
    BOOL stored;
};

void PrintTo(const IncrementCase& c, std::ostream* os)
{
    *os << c.name;
}

class LoopIncrementTest : public LoopPageTest, public ::testing::WithParamInterface<IncrementCase>
{};

TEST_P(LoopIncrementTest, OffInAnXmlDocument)
{
    const IncrementCase& c = GetParam();
    CFormLoopElement* loop = Loop();
    {
        CDocChangeGuard change(&Doc());
        Doc().SetDocType(c.docType);
    }
    auto* page = OwnPage<Page>(loop);
    EXPECT_EQ(page->FindControl(Page::IDC_INCREMENT_ON_SUCCESS)->enabled, c.boxOn);
    const qsizetype steps = UndoSteps();

    Click(*page, Page::IDC_INCREMENT_ON_SUCCESS, 1);

    EXPECT_EQ(loop->GetIncrementOnSuccess(), c.stored);
    EXPECT_EQ(UndoSteps(), c.stored ? steps + 1 : steps);
    EXPECT_EQ(page->FindControl(Page::IDC_INCREMENT_ON_SUCCESS)->enabled, c.boxOn);
}

const IncrementCase kIncrementCases[] = {
    {"SpooledFileDocument", 0, true, TRUE},
    {"XmlDocument", 1, false, FALSE},
};

INSTANTIATE_TEST_SUITE_P(Loop, LoopIncrementTest, ::testing::ValuesIn(kIncrementCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- refresh and numbers

TEST_F(LoopPageTest, RefreshAfterAMoveInTheInputPaneKeepsTheMode)
{
    CFormLoopElement* loop = Loop();
    auto* page = OwnPage<Page>(loop);
    EXPECT_EQ(page->Data().startLine, 3);
    EXPECT_EQ(page->Data().height, 4);
    Click(*page, Page::IDC_END_OF_DOCUMENT, 1);
    ASSERT_EQ(loop->GetLoopMode(), LoopMode::ToDocumentEnd);
    Click(*page, Page::IDC_END_OF_DOCUMENT, 0);
    ASSERT_EQ(loop->GetLoopMode(), LoopMode::FixedHeight);

    // Back in mode 0 the loop keeps the height it reached; drags in the
    // input pane make it six lines high and move it five lines down.
    {
        CDocChangeGuard change(&Doc());
        loop->ResizeSource(0, 6 * Input().GetCellHeight(), ElementMoveFlags::Bottom, TRUE);
        loop->MoveSource(0, 5 * Input().GetCellHeight(), ElementMoveFlags::Top, FALSE);
    }
    EXPECT_EQ(page->OnUpdateData(), 1);

    EXPECT_EQ(page->Data().startLine, 8);
    EXPECT_EQ(page->FindControl(Page::IDC_START_LINE)->text, QStringLiteral("8"));
    EXPECT_EQ(page->FindControl(Page::IDC_HEIGHT)->text, QStringLiteral("6"));
    EXPECT_EQ(page->Data().mode, LoopMode::FixedHeight);
    EXPECT_EQ(page->FindControl(Page::IDC_END_OF_PAGE)->check, 0);
    EXPECT_EQ(page->FindControl(Page::IDC_END_OF_DOCUMENT)->check, 0);
    EXPECT_TRUE(page->FindControl(Page::IDC_HEIGHT)->enabled);
}

TEST_F(LoopPageTest, RefreshShowsAModeSetElsewhere)
{
    CFormLoopElement* loop = Loop();
    auto* page = OwnPage<Page>(loop);
    SetMode(loop, LoopMode::ToPageEnd);
    page->OnUpdateData();
    EXPECT_EQ(page->FindControl(Page::IDC_END_OF_PAGE)->check, 1);
    EXPECT_FALSE(page->FindControl(Page::IDC_HEIGHT)->enabled);
}

TEST_F(LoopPageTest, StartLineAndHeightCutToTheLargestLine)
{
    CFormLoopElement* loop = Loop();
    auto* page = OwnPage<Page>(loop);
    const int largest = page->Data().limits.largestLine;
    ASSERT_EQ(largest, Input().GetPixelHeight() / Input().GetCellHeight());
    EXPECT_EQ(page->Range(Page::IDC_START_LINE), std::make_pair(1, largest));
    EXPECT_EQ(page->Range(Page::IDC_HEIGHT), std::make_pair(1, largest));

    Type(*page, Page::IDC_HEIGHT, QStringLiteral("2"));
    EXPECT_EQ(loop->SourceRect().Height(), 2 * Input().GetCellHeight());
    Type(*page, Page::IDC_START_LINE, QStringLiteral("9999"));
    EXPECT_EQ(loop->SourceRect().bottom, Input().GetPixelHeight()) << "on the last lines of the page";
    EXPECT_EQ(page->Data().startLine, largest - 1);
    EXPECT_TRUE(env.env.PromptTexts().isEmpty());
}

TEST_F(LoopPageTest, LoopBindingTable)
{
    using D = LoopPageData;
    auto* page = OwnPage<Page>(Loop());
    const auto number = [](int D::*field) { return [field](const D& d) { return QString::number(d.*field); }; };
    CheckBindings<D>(
        *page, page->Data(),
        {
            {Page::IDC_START_LINE, PageNotification::Change, 0x1, "7", number(&D::startLine)},
            {Page::IDC_HEIGHT, PageNotification::Change, 0x2, "2", number(&D::height)},
            {Page::IDC_END_OF_PAGE, PageNotification::Clicked, 0x800, "1", number(&D::endOfPage)},
            {Page::IDC_END_OF_DOCUMENT, PageNotification::Clicked, 0x800, "1", number(&D::endOfDocument)},
            {Page::IDC_INCREMENT_ON_SUCCESS, PageNotification::Clicked, 0x400, "1", number(&D::incrementOnSuccess)},
        });
}

} // namespace
