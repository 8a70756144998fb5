// What both panes draw alike (the page over the workspace, the front element
// winning where elements overlap) and which hints re-fit each pane.

#include "designer/views/tests/ViewTestFixture.h"

using kwvd::Rect;

namespace {

const QColor kWorkspace(171, 171, 171);
const QColor kWhite(255, 255, 255);

bool IsColour(const QColor& pixel, COLORREF colour)
{
    return pixel.rgb() == kwvd::ToQColor(colour).rgb();
}

} // namespace

using PaneDrawingTest = PaneTest;

TEST_P(PaneDrawingTest, ThePageLiesWhiteOnTheWorkspace)
{
    ASSERT_TRUE(ThisPane().SetZoom(25, 25)); // 827 x 1122 page pixels become about 207 x 281
    const QImage picture = Picture(ThisPane());
    EXPECT_EQ(picture.pixelColor(100, 100), kWhite);
    EXPECT_EQ(picture.pixelColor(300, 100), kWorkspace) << "right of the page";
    EXPECT_EQ(picture.pixelColor(390, 100), kWorkspace);
    EXPECT_EQ(picture.pixelColor(100, 290), kWorkspace) << "below the page";
    EXPECT_EQ(picture.pixelColor(300, 290), kWorkspace);
}

TEST_P(PaneDrawingTest, ADocumentNotReadyShowsOnlyTheWorkspace)
{
    doc.ResetContents();
    const QImage picture = Picture(ThisPane());
    EXPECT_EQ(picture.pixelColor(10, 10), kWorkspace);
    EXPECT_EQ(picture.pixelColor(200, 150), kWorkspace);
}

// Two elements of the pane's kinds, the later one in front, overlapping.
struct OverlapPair
{
    int backType;
    Rect back;
    COLORREF backColour;
    int frontType;
    Rect front;
};

OverlapPair OverlapOf(PaneKind pane)
{
    if (pane == PaneKind::Output)
        return {FormElementType::Address, Rect(100, 96, 200, 112), kAddressColour, FormElementType::Eraser,
                Rect(150, 96, 250, 112)};
    return {FormElementType::Loop, Rect(20, 96, 120, 160), kLoopColour, FormElementType::Conditional,
            Rect(60, 112, 180, 128)};
}

TEST_P(PaneDrawingTest, TheFrontElementWinsWhereElementsOverlap)
{
    const OverlapPair pair = OverlapOf(GetParam());
    CFormElement* back = Make(pair.backType, pair.back, SideOf(GetParam()));
    CFormElement* front = Make(pair.frontType, pair.front, SideOf(GetParam()));
    ASSERT_TRUE(back && front);
    const Rect backBox = ThisPane().GetElementRect(back);
    const Rect frontBox = ThisPane().GetElementRect(front);
    ASSERT_TRUE(backBox.Intersects(frontBox));
    const Rect shared = backBox.Intersected(frontBox);
    // Points well inside the overlap, away from the elements' outlines.
    const std::vector<QPoint> overlap = {shared.CenterPoint(), shared.CenterPoint() + QPoint(-5, 2),
                                         shared.CenterPoint() + QPoint(5, -2)};
    const QPoint backOnly(backBox.left + 5, shared.CenterPoint().y());
    ASSERT_FALSE(frontBox.Contains(backOnly));

    QImage picture = Picture(ThisPane());
    for (QPoint p : overlap)
        EXPECT_FALSE(IsColour(PixelAt(ThisPane(), picture, p), pair.backColour)) << p.x() << "," << p.y();
    EXPECT_TRUE(IsColour(PixelAt(ThisPane(), picture, backOnly), pair.backColour));

    // Brought to the front (one undo step), the back element wins the overlap.
    ThisPane().SetCurrentElement(back, FALSE);
    const int steps = UndoSteps();
    ASSERT_TRUE(ThisPane().OnCmdMsg(ID_EDIT_BRING_TO_FRONT));
    EXPECT_EQ(doc.GetZOrderList().GetHead(), back);
    EXPECT_EQ(UndoSteps(), steps + 1);
    ThisPane().DeselectAll(TRUE); // no selection frames in the picture
    picture = Picture(ThisPane());
    for (QPoint p : overlap)
        EXPECT_TRUE(IsColour(PixelAt(ThisPane(), picture, p), pair.backColour)) << p.x() << "," << p.y();

    ThisPane().SetCurrentElement(back, FALSE);
    ASSERT_TRUE(ThisPane().OnCmdMsg(ID_EDIT_SEND_TO_BACK));
    ThisPane().DeselectAll(TRUE);
    picture = Picture(ThisPane());
    for (QPoint p : overlap)
        EXPECT_FALSE(IsColour(PixelAt(ThisPane(), picture, p), pair.backColour)) << p.x() << "," << p.y();
}

INSTANTIATE_TEST_SUITE_P(Panes, PaneDrawingTest, ::testing::Values(PaneKind::Output, PaneKind::Input), PaneTestName);

// ---------------------------------------------------------------- hints

struct RefitRow
{
    PaneKind pane;
    int hint;
    bool refits;
};

void PrintTo(const RefitRow& row, std::ostream* os)
{
    *os << PaneKindName(row.pane) << "_" << DocumentHintName(row.hint).toStdString();
}

class RefitTest : public ViewTest, public ::testing::WithParamInterface<RefitRow>
{};

// A pane in page-fit mode fits the page again on the hints that concern its
// page, and only on those.
TEST_P(RefitTest, AFitPaneRefitsOnlyOnItsHints)
{
    const RefitRow& row = GetParam();
    CDesignView& pane = Pane(row.pane);
    CDesignView& other = Pane(row.pane == PaneKind::Output ? PaneKind::Input : PaneKind::Output);
    for (CDesignView* p : {&pane, &other}) {
        p->OnFitPage();
        p->SetZoom(100, 100); // still in page-fit mode
    }
    doc.BroadcastHint(row.hint, nullptr);
    // The whole page in a 400 x 300 pane: 300 / 1122.
    EXPECT_EQ(pane.GetZoomX(), row.refits ? 26 : 100);
    EXPECT_EQ(pane.GetFitMode(), ViewFitMode::Page);
}

const RefitRow kRefitRows[] = {
    {PaneKind::Output, DocumentHint::OutputViewRefit, true},
    {PaneKind::Output, DocumentHint::PageSetupChanged, true},
    {PaneKind::Output, DocumentHint::SpooledPageChanged, false},
    {PaneKind::Output, DocumentHint::OptionsChanged, false},
    {PaneKind::Input, DocumentHint::SpooledPageChanged, true},
    {PaneKind::Input, DocumentHint::PageSetupChanged, true},
    {PaneKind::Input, DocumentHint::OutputViewRefit, false},
    {PaneKind::Input, DocumentHint::OptionsChanged, false},
};

INSTANTIATE_TEST_SUITE_P(Hints, RefitTest, ::testing::ValuesIn(kRefitRows),
                         [](const ::testing::TestParamInfo<RefitRow>& info) {
                             return std::string(PaneKindName(info.param.pane)) + "_"
                                    + DocumentHintName(info.param.hint).toStdString();
                         });
