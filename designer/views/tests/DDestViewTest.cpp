// The output pane on screen: what it draws, how its zoom lives in the
// document, which hints re-fit it, what its tools make, and its layout values.

#include "designer/commands/CommandIds.h"
#include "designer/preferences/ColourRef.h"
#include "designer/views/tests/ViewTestFixture.h"

#include <QMimeData>
#include <QTest>

namespace {

using DestViewDrawing = ViewTest;

bool IsColour(const QColor& pixel, COLORREF colour)
{
    return pixel.rgb() == kwvd::ToQColor(colour).rgb();
}

TEST_F(DestViewDrawing, FrontElementWinsWhereElementsOverlap)
{
    // The eraser overlaps the right half of the address; added later, it
    // starts in front.
    CFormElement* address = Make(FormElementType::Address, kwvd::Rect(100, 96, 200, 112));
    CFormElement* eraser = Make(FormElementType::Eraser, kwvd::Rect(150, 96, 250, 112));
    ASSERT_NE(address, nullptr);
    ASSERT_NE(eraser, nullptr);
    const std::vector<QPoint> overlap = {{160, 100}, {170, 103}, {185, 106}, {195, 109}};

    QImage screen = Picture(output);
    for (QPoint p : overlap)
        EXPECT_FALSE(IsColour(PixelAt(output, screen, p), kAddressColour)) << p.x() << "," << p.y();
    EXPECT_TRUE(IsColour(PixelAt(output, screen, {120, 104}), kAddressColour));

    {
        CDocChangeGuard change(&doc);
        doc.BringToFront(address, FALSE);
    }
    screen = Picture(output);
    for (QPoint p : overlap)
        EXPECT_TRUE(IsColour(PixelAt(output, screen, p), kAddressColour)) << p.x() << "," << p.y();
}

TEST_F(DestViewDrawing, WorkspaceBesideThePageAndWindowColourOnIt)
{
    ASSERT_TRUE(output.SetZoom(25, 25));
    output.UpdateScrollSizes();
    const QImage screen = Picture(output);
    // 827 x 1122 page pixels at 25 % end at x = 206.
    EXPECT_EQ(screen.pixelColor(390, 100).rgb(), QColor(171, 171, 171).rgb());
    EXPECT_EQ(screen.pixelColor(150, 100).rgb(), QColor(Qt::white).rgb());
}

TEST_F(DestViewDrawing, NotReadyDocumentShowsOnlyTheWorkspace)
{
    doc.ResetContents();
    const QImage screen = Picture(output);
    EXPECT_EQ(screen.pixelColor(10, 10).rgb(), QColor(171, 171, 171).rgb());
    EXPECT_EQ(screen.pixelColor(200, 150).rgb(), QColor(171, 171, 171).rgb());
}

struct BandCase
{
    const char* name;
    int orientation;
    WORD border; // 1/1000 inch
    int zoom;
    QPoint inside;  // page points
    QPoint outside;
};

class DestViewBand : public ViewTest, public ::testing::WithParamInterface<BandCase>
{
};

TEST_P(DestViewBand, BandInvertsThePageUnderIt)
{
    const BandCase& c = GetParam();
    // Scrolling to the band needs the pane's scroll bars laid out.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&output));
    CPage& page = OutputPage();
    if (c.orientation != 0) {
        page.SetOrientation(c.orientation);
        page.SetWidth(CPage::kDefaultHeight);
        page.SetHeight(CPage::kDefaultWidth);
        page.RecalcGrid();
    }
    page.SetBorder(c.border);
    ASSERT_TRUE(output.SetZoom(c.zoom, c.zoom) || c.zoom == 100);
    output.UpdateScrollSizes();
    // Bring the point inside into view (the landscape band is at the bottom).
    const QPoint device = output.DocToClientPoint(c.inside);
    if (device.y() >= output.viewport()->height())
        output.ScrollToPosition(QPoint(0, device.y() - output.viewport()->height() / 2 + output.GetScrollPosition().y()));

    const QImage screen = Picture(output);
    const QColor inverted = kwvd::ToQColor(kBandColour ^ 0xFFFFFF);
    if (c.border / 10 > 0)
        EXPECT_EQ(PixelAt(output, screen, c.inside).rgb(), inverted.rgb());
    else
        EXPECT_EQ(PixelAt(output, screen, c.inside).rgb(), QColor(Qt::white).rgb());
    EXPECT_EQ(PixelAt(output, screen, c.outside).rgb(), QColor(Qt::white).rgb());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DestViewBand,
    ::testing::Values(BandCase{"PortraitLeftEdge", 0, 250, 100, {20, 200}, {30, 200}},
                      BandCase{"PortraitAtTwiceTheSize", 0, 250, 200, {24, 60}, {26, 60}},
                      BandCase{"LandscapeBottomEdge", 1, 250, 100, {200, 780}, {200, 760}},
                      BandCase{"OrientationTwoIsLandscape", 2, 250, 100, {200, 780}, {200, 760}},
                      BandCase{"NarrowBorderCutToWholePixels", 0, 19, 100, {0, 200}, {2, 200}},
                      BandCase{"NoBorderNoBand", 0, 9, 100, {0, 200}, {5, 200}}),
    [](const ::testing::TestParamInfo<BandCase>& info) { return info.param.name; });

TEST_F(DestViewDrawing, BandInvertsElementsUnderIt)
{
    ASSERT_NE(Make(FormElementType::Address, kwvd::Rect(0, 96, 100, 112)), nullptr);
    const QImage screen = Picture(output);
    EXPECT_TRUE(IsColour(PixelAt(output, screen, {10, 104}), kAddressColour ^ kBandColour));
    EXPECT_TRUE(IsColour(PixelAt(output, screen, {50, 104}), kAddressColour));
}

// ---- zoom in the document

using DestViewZoom = ViewTest;

TEST_F(DestViewZoom, ZoomIsKeptInTheDocumentAndReadBackByANewPane)
{
    const int undoSteps = doc.GetUndoList().GetCount();
    ASSERT_TRUE(output.SetZoom(150, 175));
    EXPECT_EQ(doc.m_destZoom[0], 150);
    EXPECT_EQ(doc.m_destZoom[1], 175);
    EXPECT_EQ(doc.m_destFit, 0);
    // The input pane's fields are not this pane's.
    EXPECT_EQ(doc.m_sourceZoom[0], 100);
    // A clean layout re-snaps nothing: no undo step for a zoom.
    EXPECT_EQ(doc.GetUndoList().GetCount(), undoSteps);

    output.OnFitPage();
    EXPECT_EQ(doc.m_destFit, ViewFitMode::Page);
    EXPECT_EQ(doc.m_destZoom[0], output.GetZoomX());

    CDDestView second;
    second.SetDocument(&doc);
    second.resize(400, 300);
    second.OnInitialUpdate();
    EXPECT_EQ(second.GetFitMode(), ViewFitMode::Page);
    second.SetDocument(nullptr);
}

TEST_F(DestViewZoom, StoredZoomTravelsInTheWvdFile)
{
    ASSERT_TRUE(output.SetZoom(250, 250));
    output.SetDocument(nullptr);
    const Bytes stored = StoreDocument(doc);
    CDesignerDoc reloaded;
    LoadDocument(reloaded, stored);
    CDDestView pane;
    pane.SetDocument(&reloaded);
    pane.OnInitialUpdate();
    EXPECT_EQ(pane.GetZoomX(), 250);
    EXPECT_EQ(pane.GetZoomY(), 250);
    pane.SetDocument(nullptr);
}

TEST_F(DestViewZoom, NewZoomResnapsElementsToTheGrid)
{
    CFormElement* address = Make(FormElementType::Address, kwvd::Rect(100, 96, 200, 112));
    ASSERT_NE(address, nullptr);
    // A finer grid leaves the element between lines until it revalidates.
    OutputPage().SetCharsPerInch(12);
    OutputPage().RecalcGrid();
    const int cell = OutputPage().GetCellWidth();
    ASSERT_EQ(cell, 8);
    ASSERT_NE(address->GetDestRect().left % cell, 0);

    ASSERT_TRUE(output.SetZoom(200, 200));
    const kwvd::Rect after = address->GetDestRect();
    EXPECT_EQ(after.left % cell, 0);
    EXPECT_EQ(after.right % cell, 0);
}

struct HintCase
{
    const char* name;
    int hint;
    bool refits;
};

class DestViewHints : public ViewTest, public ::testing::WithParamInterface<HintCase>
{
};

TEST_P(DestViewHints, FitFollowsThePageOnlyForItsHints)
{
    const HintCase& c = GetParam();
    output.OnFitPage();
    const int before = output.GetZoomX();
    // A page half as high fits at a larger zoom.
    OutputPage().SetHeight(CPage::kDefaultHeight / 2);
    OutputPage().RecalcGrid();
    doc.BroadcastHint(c.hint, nullptr);
    if (c.refits)
        EXPECT_GT(output.GetZoomX(), before);
    else
        EXPECT_EQ(output.GetZoomX(), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, DestViewHints,
                         ::testing::Values(HintCase{"SpooledPageChanged", 248, false},
                                           HintCase{"OutputViewRefit", 249, true},
                                           HintCase{"PageSetupChanged", 250, true},
                                           HintCase{"OptionsChanged", 251, false}),
                         [](const ::testing::TestParamInfo<HintCase>& info) { return info.param.name; });

// ---- tools

struct ToolCase
{
    const char* name;
    int tool;
    BYTE docType;
    QPoint bandEnd;   // page point; the band starts at (100, 96)
    int expectedType; // 0: nothing is made
    int toolAfter;
};

class DestViewTools : public ViewTest, public ::testing::WithParamInterface<ToolCase>
{
};

TEST_P(DestViewTools, BandMakesTheToolsKindFromOneCellOn)
{
    const ToolCase& c = GetParam();
    doc.SetDocType(c.docType);
    frame.tool = c.tool;
    const int before = doc.GetElementList().GetCount();
    const int undoSteps = doc.GetUndoList().GetCount();
    const QPoint from = output.DocToClientPoint(QPoint(100, 96));
    const QPoint to = output.DocToClientPoint(c.bandEnd);
    QTest::mousePress(output.viewport(), Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(output.viewport(), to);
    QTest::mouseRelease(output.viewport(), Qt::LeftButton, Qt::NoModifier, to);

    EXPECT_EQ(frame.tool, c.toolAfter);
    if (c.expectedType == 0) {
        EXPECT_EQ(doc.GetElementList().GetCount(), before);
        EXPECT_EQ(doc.GetUndoList().GetCount(), undoSteps);
        return;
    }
    ASSERT_EQ(doc.GetElementList().GetCount(), before + 1);
    CFormElement* made = output.GetCurrentElement();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetType(), c.expectedType);
    EXPECT_EQ(made->GetDestRect().TopLeft(), QPoint(100, 96));
    // Made and added in one step.
    EXPECT_EQ(doc.GetUndoList().GetCount(), undoSteps + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DestViewTools,
    ::testing::Values(
        ToolCase{"Eraser", DrawingTool::Eraser, 0, {130, 128}, FormElementType::Eraser, DrawingTool::Select},
        ToolCase{"EraserHalfACellWideTwoHigh", DrawingTool::Eraser, 0, {105, 128}, FormElementType::Eraser,
                 DrawingTool::Select},
        ToolCase{"EraserBelowOneCellBothWays", DrawingTool::Eraser, 0, {105, 104}, 0, DrawingTool::Select},
        ToolCase{"Address", DrawingTool::Address, 0, {130, 128}, FormElementType::Address, DrawingTool::Select},
        ToolCase{"Barcode", DrawingTool::Barcode, 0, {130, 128}, FormElementType::Barcode, DrawingTool::Select},
        ToolCase{"AddressInXmlDocumentSelects", DrawingTool::Address, 1, {130, 128}, 0, DrawingTool::Address},
        ToolCase{"SpooledFileToolSelectsHere", DrawingTool::SpooledFile, 0, {130, 128}, 0,
                 DrawingTool::SpooledFile},
        ToolCase{"LoopToolSelectsHere", DrawingTool::Loop, 0, {130, 128}, 0, DrawingTool::Loop}),
    [](const ::testing::TestParamInfo<ToolCase>& info) { return info.param.name; });

using DestViewTool = ViewTest;

TEST_F(DestViewTool, StaticTextIsOneCellAtTheClickThenItsSheet)
{
    frame.tool = DrawingTool::StaticText;
    const int before = doc.GetElementList().GetCount();
    const QPoint click = output.DocToClientPoint(QPoint(104, 100));
    QTest::mouseClick(output.viewport(), Qt::LeftButton, Qt::NoModifier, click);

    ASSERT_EQ(doc.GetElementList().GetCount(), before + 1);
    CFormElement* text = output.GetCurrentElement();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetType(), FormElementType::Text);
    EXPECT_EQ(text->GetDestRect().TopLeft(), QPoint(100, 96));
    EXPECT_EQ(frame.sheetShows, 1);
    // The tool was back to Select before the sheet opened.
    EXPECT_EQ(frame.toolWhenSheetShown, DrawingTool::Select);
}

TEST_F(DestViewTool, ToolLockKeepsTheToolAfterABand)
{
    frame.tool = DrawingTool::Eraser;
    frame.toolLock = TRUE;
    const int before = doc.GetElementList().GetCount();
    for (int row : {96, 160}) {
        const QPoint from = output.DocToClientPoint(QPoint(100, row));
        const QPoint to = output.DocToClientPoint(QPoint(140, row + 32));
        QTest::mousePress(output.viewport(), Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(output.viewport(), to);
        QTest::mouseRelease(output.viewport(), Qt::LeftButton, Qt::NoModifier, to);
    }
    EXPECT_EQ(doc.GetElementList().GetCount(), before + 2);
    EXPECT_EQ(frame.tool, DrawingTool::Eraser);
}

// ---- double-click

TEST_F(DestViewTool, DoubleClickOnEmptySpaceAsksForPageSetup)
{
    QTest::mouseDClick(output.viewport(), Qt::LeftButton, Qt::NoModifier, output.DocToClientPoint({300, 200}));
    ASSERT_EQ(frame.commands.size(), 1u);
    EXPECT_EQ(frame.commands.front(), ID_FILE_PAGE_SETUP);
    EXPECT_EQ(frame.sheetShows, 0);
}

TEST_F(DestViewTool, DoubleClickOnAnElementOpensItsProperties)
{
    CFormElement* address = Make(FormElementType::Address, kwvd::Rect(100, 96, 200, 112));
    ASSERT_NE(address, nullptr);
    QTest::mouseDClick(output.viewport(), Qt::LeftButton, Qt::NoModifier, output.DocToClientPoint({150, 104}));
    EXPECT_EQ(output.GetCurrentElement(), address);
    EXPECT_EQ(frame.sheetShows, 1);
    EXPECT_TRUE(frame.commands.empty());
}

// ---- dropping within the pane

using DestViewDrop = ViewTest;

TEST_F(DestViewDrop, SamePaneDropMovesTheSelectionKeepingSubCellOffsets)
{
    CFormElement* text = Make(FormElementType::Text, kwvd::Rect(100, 96, 160, 112));
    CFormElement* address = Make(FormElementType::Address, kwvd::Rect(200, 160, 260, 176));
    ASSERT_NE(text, nullptr);
    ASSERT_NE(address, nullptr);
    // A third of a cell to the right (48 of 144 twips).
    {
        CDocChangeGuard change(&doc);
        ASSERT_TRUE(text->SetOffset(QPoint(48, 0)));
    }
    const int subCell = text->GetDestRect().left - text->DestRect().left;
    ASSERT_GT(subCell, 0);
    output.SelectOnly(text);
    output.SetCurrentElement(address, TRUE); // both selected, the address current
    const kwvd::Rect textBefore = text->DestRect();
    const kwvd::Rect addressBefore = address->DestRect();
    const int undoSteps = doc.GetUndoList().GetCount();

    const QPoint press = output.DocToClientPoint(QPoint(230, 168));
    const QPoint target = press + QPoint(200, 64);
    CDesignView::SetDragRunner([&](CDesignView* source, std::unique_ptr<QMimeData> data, Qt::DropActions) {
        source->OnDragEnter(data.get(), Qt::NoModifier, target);
        source->OnDrop(data.get(), Qt::MoveAction, target);
        return Qt::MoveAction;
    });
    QTest::mousePress(output.viewport(), Qt::LeftButton, Qt::NoModifier, press);
    QTest::mouseMove(output.viewport(), press + QPoint(12, 0));
    QTest::mouseRelease(output.viewport(), Qt::LeftButton, Qt::NoModifier, press + QPoint(12, 0));
    CDesignView::SetDragRunner({});

    // Both moved alike, about the mouse's way, and nothing was deleted.
    const QPoint moved = text->DestRect().TopLeft() - textBefore.TopLeft();
    EXPECT_EQ(address->DestRect().TopLeft() - addressBefore.TopLeft(), moved);
    EXPECT_NEAR(moved.x(), 200, OutputPage().GetCellWidth());
    EXPECT_NEAR(moved.y(), 64, OutputPage().GetCellHeight());
    EXPECT_TRUE(doc.ContainsElement(text));
    EXPECT_TRUE(doc.ContainsElement(address));
    // The text still sits the same fraction of a cell off the grid, in
    // twips exactly, not as far as the nearest pixel gives back.
    EXPECT_EQ(text->GetDestRect().left - text->DestRect().left, subCell);
    EXPECT_EQ(text->GetOffset(), QPoint(48, 0));
    EXPECT_EQ(doc.GetUndoList().GetCount(), undoSteps + 1);
}

struct OffsetMoveCase
{
    const char* name;
    QPoint offset; // twips
    QPoint cells;  // the move, in whole cells
};

// A move by whole cells off the grid (as a drop makes it) keeps the offset
// in twips as it was, on both axes, whatever pixels show of it.
TEST_F(DestViewDrop, MoveOffTheGridKeepsTheOffsetInTwips)
{
    const OffsetMoveCase cases[] = {
        {"a third of a cell across", {48, 0}, {3, 2}},
        {"part of a line down", {0, 100}, {-2, 1}},
        {"both axes, no move", {30, 70}, {0, 0}},
        {"both axes, one cell each way", {131, 200}, {1, 1}},
    };
    const int cw = OutputPage().GetCellWidth();
    const int ch = OutputPage().GetCellHeight();
    for (const OffsetMoveCase& c : cases) {
        SCOPED_TRACE(c.name);
        CFormElement* text = Make(FormElementType::Text, kwvd::Rect(100, 96, 160, 112));
        ASSERT_NE(text, nullptr);
        {
            CDocChangeGuard change(&doc);
            ASSERT_TRUE(text->SetOffset(c.offset));
        }
        const kwvd::Rect before = text->DestRect();
        output.SelectOnly(text);
        ASSERT_TRUE(output.MoveSelection(0x43, c.cells.x() * cw, c.cells.y() * ch));
        EXPECT_EQ(text->DestRect().TopLeft() - before.TopLeft(), QPoint(c.cells.x() * cw, c.cells.y() * ch));
        EXPECT_EQ(text->GetOffset(), c.offset);
    }
}

// ---- layout values

using DestViewLayout = ViewTest;

TEST_F(DestViewLayout, ZoomAndFitGoUnderDestinationViewAndComeBack)
{
    ASSERT_TRUE(output.SetZoom(175, 175));
    ASSERT_EQ(output.OnSerializeLayout(1, 0), 1);
    ASSERT_FALSE(frame.layoutSubsections.empty());
    EXPECT_EQ(frame.layoutSubsections.back(), QStringLiteral("DestinationView"));

    auto key = frame.OpenLayoutKey(QStringLiteral("DestinationView"), false);
    ASSERT_TRUE(key.has_value());
    EXPECT_EQ(kwvd::RegistryStore::Instance().ReadNumber(*key, u"ZoomNumX"), 175u);

    ASSERT_TRUE(output.SetZoom(50, 50));
    ASSERT_EQ(output.OnSerializeLayout(0, 0), 1);
    EXPECT_EQ(output.GetZoomX(), 175);
}

} // namespace
