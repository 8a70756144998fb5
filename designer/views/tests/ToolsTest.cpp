// The drawing tools: a band of at least one cell makes the tool's kind,
// Static Text makes its element at the click and opens the sheet, the tool
// returns to Select unless locked, new elements go under the explorer's
// anchor, and each creation is one undo step.

#include "designer/views/tests/ViewTestFixture.h"
#include "designer/views/ToolCursors.h"

using kwvd::Rect;

class ToolsTest : public ViewTest
{
protected:
    static void Band(CDesignView& pane, QPoint from, QPoint to)
    {
        QTest::mousePress(pane.viewport(), Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(pane.viewport(), to);
        QTest::mouseRelease(pane.viewport(), Qt::LeftButton, Qt::NoModifier, to);
    }

    // The newest element of the document: it is put at the front.
    CFormElement* Newest() { return dynamic_cast<CFormElement*>(doc.GetZOrderList().GetHead()); }
};

struct BandToolCase
{
    const char* name;
    bool outputPane;
    int tool;
    int type;
    Rect made; // as the kind lays itself over the band
};

class BandToolTest : public ToolsTest, public ::testing::WithParamInterface<BandToolCase>
{
};

TEST_P(BandToolTest, ABandOverTwoCellsMakesTheToolsKindOnTheGrid)
{
    const BandToolCase& c = GetParam();
    CDesignView& pane = c.outputPane ? static_cast<CDesignView&>(output) : static_cast<CDesignView&>(input);
    const qsizetype before = doc.GetElementList().GetCount();
    const int steps = UndoSteps();
    frame.tool = c.tool;
    Band(pane, QPoint(20, 32), QPoint(43, 60)); // the corner snaps to (40, 64)

    ASSERT_EQ(doc.GetElementList().GetCount(), before + 1);
    CFormElement* made = Newest();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetType(), c.type);
    EXPECT_EQ(pane.GetElementRect(made), c.made);
    EXPECT_EQ(pane.GetCurrentElement(), made);
    EXPECT_TRUE(made->IsSelected());
    EXPECT_EQ(made->GetParent(), nullptr) << "no explorer anchor: top level";
    EXPECT_EQ(frame.tool, DrawingTool::Select);
    EXPECT_EQ(UndoSteps(), steps + 1);
    doc.OnEditUndo();
    EXPECT_EQ(doc.GetElementList().GetCount(), before);
}

// The band runs from (20, 32) to (40, 64): two cells by two lines. Some
// kinds keep to one line, a Loop spans the page's width.
INSTANTIATE_TEST_SUITE_P(
    Tools, BandToolTest,
    ::testing::Values(
        BandToolCase{"Eraser", true, DrawingTool::Eraser, FormElementType::Eraser, Rect(20, 32, 40, 64)},
        BandToolCase{"Address", true, DrawingTool::Address, FormElementType::Address, Rect(20, 32, 40, 48)},
        BandToolCase{"Barcode", true, DrawingTool::Barcode, FormElementType::Barcode, Rect(20, 32, 40, 64)},
        BandToolCase{"SpooledFile", false, DrawingTool::SpooledFile, FormElementType::Source, Rect(20, 32, 40, 64)},
        BandToolCase{"Loop", false, DrawingTool::Loop, FormElementType::Loop, Rect(0, 32, 827, 64)},
        BandToolCase{"Conditional", false, DrawingTool::Conditional, FormElementType::Conditional,
                     Rect(20, 32, 40, 48)},
        BandToolCase{"Variable", false, DrawingTool::Variable, FormElementType::Variable, Rect(20, 32, 40, 48)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ToolsTest, OneCellInEitherDirectionIsEnough)
{
    struct Case
    {
        QPoint from;
        QPoint to;
        bool made;
    };
    // Cells are 10 x 16; the moving corner snaps to the nearest grid point.
    const Case cases[] = {
        {QPoint(5, 5), QPoint(9, 40), true},     // 5 wide, 27 high
        {QPoint(5, 5), QPoint(28, 9), true},     // 25 wide, 11 high
        {QPoint(2, 2), QPoint(6, 9), false},     // 8 x 14: less than a cell both ways
        {QPoint(30, 30), QPoint(30, 30), false}, // a click
    };
    for (size_t i = 0; i < std::size(cases); ++i)
    {
        const qsizetype before = doc.GetElementList().GetCount();
        frame.tool = DrawingTool::Eraser;
        Band(output, cases[i].from, cases[i].to);
        EXPECT_EQ(doc.GetElementList().GetCount(), before + (cases[i].made ? 1 : 0)) << "case " << i;
        EXPECT_EQ(frame.tool, DrawingTool::Select) << "made or not, the tool goes back";
    }
}

TEST_F(ToolsTest, ToolLockKeepsTheTool)
{
    frame.toolLock = true;
    frame.tool = DrawingTool::Eraser;
    Band(output, QPoint(20, 32), QPoint(40, 64));
    Band(output, QPoint(100, 32), QPoint(120, 64));
    EXPECT_EQ(frame.tool, DrawingTool::Eraser);
    int erasers = 0;
    for (CObject* o : doc.GetElementList())
        erasers += dynamic_cast<CFormElement*>(o)->GetType() == FormElementType::Eraser ? 1 : 0;
    EXPECT_EQ(erasers, 2);
}

TEST_F(ToolsTest, EscapeAbandonsABand)
{
    const qsizetype before = doc.GetElementList().GetCount();
    frame.tool = DrawingTool::Eraser;
    QTest::mousePress(output.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 32));
    QTest::mouseMove(output.viewport(), QPoint(80, 96));
    QTest::keyClick(&output, Qt::Key_Escape);
    QTest::mouseRelease(output.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(80, 96));
    EXPECT_EQ(doc.GetElementList().GetCount(), before);
    EXPECT_EQ(frame.tool, DrawingTool::Select);
}

TEST_F(ToolsTest, StaticTextIsMadeAtTheClickThenItsSheetOpens)
{
    frame.tool = DrawingTool::StaticText;
    const int steps = UndoSteps();
    QTest::mouseClick(output.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(45, 70));
    CFormElement* made = Newest();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetType(), FormElementType::Text);
    // One cell at the click, snapped onto the grid by the element.
    EXPECT_EQ(made->GetDestRect().Width(), 10);
    EXPECT_EQ(made->GetDestRect().Height(), 16);
    EXPECT_TRUE(made->GetDestRect().Contains(QPoint(45, 70)) || made->GetDestRect().TopLeft() == QPoint(40, 64));
    EXPECT_EQ(output.GetCurrentElement(), made);
    EXPECT_EQ(frame.sheetShows, 1);
    EXPECT_EQ(frame.toolWhenSheetShown, DrawingTool::Select) << "the tool is back before the sheet opens";
    EXPECT_EQ(UndoSteps(), steps + 1);
}

TEST_F(ToolsTest, AKindThatCannotBeMadeLeavesTheSelection)
{
    CFormElement* eraser = Make(FormElementType::Eraser, OutputCells(20, 20, 2, 2));
    output.SelectOnly(eraser);
    const qsizetype before = doc.GetElementList().GetCount();
    const int steps = UndoSteps();
    const Rect band = OutputCells(2, 2, 4, 4);
    EXPECT_EQ(output.CreateElementAt(FormElementType::BreakLoop, &band), nullptr);
    EXPECT_EQ(doc.GetElementList().GetCount(), before);
    EXPECT_EQ(output.GetCurrentElement(), eraser);
    EXPECT_TRUE(eraser->IsSelected());
    EXPECT_EQ(UndoSteps(), steps);
}

TEST_F(ToolsTest, NewElementsGoUnderTheExplorersAnchor)
{
    CFormElement* loop = Make(FormElementType::Loop, SourceCells(0, 0, 20, 20), 1);
    ASSERT_NE(loop, nullptr);
    frame.anchor = loop;
    frame.tool = DrawingTool::Conditional;
    Band(input, QPoint(20, 32), QPoint(40, 64));
    CFormElement* made = input.GetCurrentElement();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetType(), FormElementType::Conditional);
    EXPECT_EQ(made->GetParent(), loop);
}

TEST_F(ToolsTest, ToolsThatDoNotDrawInAPaneSelectThere)
{
    CFormElement* eraser = Make(FormElementType::Eraser, OutputCells(2, 2, 4, 2));
    const qsizetype before = doc.GetElementList().GetCount();
    frame.tool = DrawingTool::Loop; // an input-pane tool
    QTest::mouseClick(output.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(30, 40));
    EXPECT_EQ(doc.GetElementList().GetCount(), before);
    EXPECT_EQ(output.GetCurrentElement(), eraser);
    EXPECT_EQ(frame.tool, DrawingTool::Loop) << "selecting leaves the tool alone";
}

TEST_F(ToolsTest, CursorsShowTheToolOrTheHandle)
{
    CFormElement* eraser = Make(FormElementType::Eraser, OutputCells(2, 2, 6, 4)); // 20,32 - 80,96
    output.SelectOnly(eraser);
    output.viewport()->repaint(); // the tracker is made by the first drawing
    frame.tool = DrawingTool::Select;
    EXPECT_EQ(output.CursorAt(QPoint(78, 94)).shape(), Qt::SizeFDiagCursor);
    EXPECT_EQ(output.CursorAt(QPoint(50, 33)).shape(), Qt::SizeVerCursor);
    EXPECT_EQ(output.CursorAt(QPoint(50, 60)).shape(), Qt::ArrowCursor);

    frame.tool = DrawingTool::Eraser;
    const QCursor tool = output.CursorAt(QPoint(300, 200));
    EXPECT_EQ(tool.shape(), Qt::BitmapCursor);
    EXPECT_EQ(tool.hotSpot(), QPoint(8, 8));
    EXPECT_EQ(tool.pixmap().toImage(), ToolCursorPixmap(1088).toImage());
    EXPECT_NE(ToolCursorPixmap(1088).toImage(), ToolCursorPixmap(1398).toImage()) << "each tool its own";
    frame.tool = DrawingTool::Barcode; // no cursor of its own in this pane
    EXPECT_EQ(output.CursorAt(QPoint(300, 200)).shape(), Qt::ArrowCursor);
    EXPECT_TRUE(ToolCursorPixmap(4242).isNull());
}
