// The drawing tools: in each pane and kind of document, what each tool makes
// of a band (a kind of element laid over it, or nothing), where the tool
// stands after, the undo step and the cursor it shows; the Tool Lock, Escape,
// Static Text's click and sheet, and the explorer's anchor.

#include "designer/views/ToolCursors.h"
#include "designer/views/tests/ViewTestFixture.h"

#include <iterator>

using kwvd::Rect;

namespace {

const char* DrawingToolName(int tool)
{
    switch (tool) {
    case DrawingTool::Select:
        return "Select";
    case DrawingTool::SpooledFile:
        return "SpooledFile";
    case DrawingTool::Loop:
        return "Loop";
    case DrawingTool::Conditional:
        return "Conditional";
    case DrawingTool::Image:
        return "Image";
    case DrawingTool::StaticText:
        return "StaticText";
    case DrawingTool::ExitParameter:
        return "ExitParameter";
    case DrawingTool::Variable:
        return "Variable";
    case DrawingTool::Address:
        return "Address";
    case DrawingTool::Eraser:
        return "Eraser";
    case DrawingTool::Barcode:
        return "Barcode";
    case DrawingTool::XmlElement:
        return "XmlElement";
    case DrawingTool::XmlAttribute:
        return "XmlAttribute";
    case DrawingTool::XmlComment:
        return "XmlComment";
    default:
        return "Unknown";
    }
}

// What the mouse does, in page points at 100 % (cells are 10 x 16 in both
// panes); the moving corner snaps to the nearest grid point.
enum class Stroke {
    TwoCells,     // (20, 32) to (43, 60): two cells by two lines
    TallNarrow,   // 4 wide, 35 high: a cell in one direction is enough
    WideLow,      // 23 wide, 4 high
    UnderOneCell, // 4 x 7: less than a cell both ways
    Click,        // pressed and released in one place
};

struct StrokePoints
{
    const char* name;
    QPoint from;
    QPoint to;
};

StrokePoints PointsOf(Stroke stroke)
{
    switch (stroke) {
    case Stroke::TwoCells:
        return {"TwoCells", QPoint(20, 32), QPoint(43, 60)};
    case Stroke::TallNarrow:
        return {"TallNarrow", QPoint(5, 5), QPoint(9, 40)};
    case Stroke::WideLow:
        return {"WideLow", QPoint(5, 5), QPoint(28, 9)};
    case Stroke::UnderOneCell:
        return {"UnderOneCell", QPoint(2, 2), QPoint(6, 9)};
    case Stroke::Click:
        return {"Click", QPoint(30, 30), QPoint(30, 30)};
    }
    return {"", QPoint(), QPoint()};
}

constexpr BYTE kWvd = 0; // a spooled-file design
constexpr BYTE kXml = 1;

struct ToolRow
{
    PaneKind pane;
    BYTE docType;
    int tool;
    Stroke stroke;
    int made;  // the kind made, 0 for none
    Rect rect; // as the kind lays itself over the stroke, in the pane
    int toolAfter;
    int undoSteps;
    int cursor; // the tool's cursor in this pane; 0: the arrow
};

std::string RowName(const ToolRow& row)
{
    std::string name =
        std::string(PaneKindName(row.pane)) + (row.docType == kXml ? "_Xml_" : "_Wvd_") + DrawingToolName(row.tool);
    if (row.stroke != Stroke::TwoCells)
        name += std::string("_") + PointsOf(row.stroke).name;
    return name;
}

void PrintTo(const ToolRow& row, std::ostream* os)
{
    *os << RowName(row);
}

constexpr auto Out = PaneKind::Output;
constexpr auto In = PaneKind::Input;
constexpr auto Two = Stroke::TwoCells;
using T = DrawingTool;
using K = FormElementType;
using C = ToolCursorId;

// A tool that selects in a pane makes nothing and stays; a tool that draws
// goes back to Select (no Tool Lock here) whether it made anything or not.
const ToolRow kToolRows[] = {
    // ---- the output pane, spooled-file design
    {Out, kWvd, T::Select, Two, 0, {}, T::Select, 0, 0},
    {Out, kWvd, T::SpooledFile, Two, 0, {}, T::SpooledFile, 0, 0},
    {Out, kWvd, T::Loop, Two, 0, {}, T::Loop, 0, 0},
    {Out, kWvd, T::Conditional, Two, 0, {}, T::Conditional, 0, 0},
    {Out, kWvd, T::Image, Two, K::Image, Rect(20, 32, 40, 64), T::Select, 1, C::Image},
    {Out, kWvd, T::StaticText, Two, K::Text, Rect(20, 32, 30, 48), T::Select, 1, C::StaticText},
    {Out, kWvd, T::ExitParameter, Two, 0, {}, T::ExitParameter, 0, 0},
    {Out, kWvd, T::Variable, Two, 0, {}, T::Variable, 0, 0},
    {Out, kWvd, T::Address, Two, K::Address, Rect(20, 32, 40, 48), T::Select, 1, C::Address},
    {Out, kWvd, T::Eraser, Two, K::Eraser, Rect(20, 32, 40, 64), T::Select, 1, C::Eraser},
    {Out, kWvd, T::Barcode, Two, K::Barcode, Rect(20, 32, 40, 64), T::Select, 1, C::Barcode},
    // How big a band must be.
    {Out, kWvd, T::Eraser, Stroke::TallNarrow, K::Eraser, Rect(0, 0, 10, 32), T::Select, 1, C::Eraser},
    {Out, kWvd, T::Eraser, Stroke::WideLow, K::Eraser, Rect(0, 0, 30, 16), T::Select, 1, C::Eraser},
    {Out, kWvd, T::Eraser, Stroke::UnderOneCell, 0, {}, T::Select, 0, C::Eraser},
    {Out, kWvd, T::Eraser, Stroke::Click, 0, {}, T::Select, 0, C::Eraser},
    // Static Text makes its cell at the press, however far the mouse goes.
    {Out, kWvd, T::StaticText, Stroke::Click, K::Text, Rect(30, 32, 40, 48), T::Select, 1, C::StaticText},
    // ---- the output pane, XML document: it has no output page to address
    {Out, kXml, T::Select, Two, 0, {}, T::Select, 0, 0},
    {Out, kXml, T::Loop, Two, 0, {}, T::Loop, 0, 0},
    {Out, kXml, T::Conditional, Two, 0, {}, T::Conditional, 0, 0},
    {Out, kXml, T::ExitParameter, Two, 0, {}, T::ExitParameter, 0, 0},
    {Out, kXml, T::Variable, Two, 0, {}, T::Variable, 0, 0},
    {Out, kXml, T::Address, Two, 0, {}, T::Address, 0, 0},
    {Out, kXml, T::XmlElement, Two, 0, {}, T::XmlElement, 0, 0},
    {Out, kXml, T::XmlAttribute, Two, 0, {}, T::XmlAttribute, 0, 0},
    {Out, kXml, T::XmlComment, Two, 0, {}, T::XmlComment, 0, 0},
    // ---- the input pane, spooled-file design
    {In, kWvd, T::Select, Two, 0, {}, T::Select, 0, 0},
    {In, kWvd, T::SpooledFile, Two, K::Source, Rect(20, 32, 40, 64), T::Select, 1, C::SpooledFile},
    {In, kWvd, T::Loop, Two, K::Loop, Rect(0, 32, 827, 64), T::Select, 1, C::Loop},
    {In, kWvd, T::Conditional, Two, K::Conditional, Rect(20, 32, 40, 48), T::Select, 1, C::Conditional},
    {In, kWvd, T::Image, Two, K::Image, Rect(20, 32, 40, 48), T::Select, 1, C::Image},
    {In, kWvd, T::StaticText, Two, 0, {}, T::StaticText, 0, 0},
    {In, kWvd, T::ExitParameter, Two, K::ExitParam, Rect(20, 32, 40, 48), T::Select, 1, C::ExitParameter},
    {In, kWvd, T::Variable, Two, K::Variable, Rect(20, 32, 40, 48), T::Select, 1, C::Variable},
    // A spooled-file design places addresses on the output page only.
    {In, kWvd, T::Address, Two, 0, {}, T::Address, 0, 0},
    {In, kWvd, T::Eraser, Two, 0, {}, T::Eraser, 0, 0},
    {In, kWvd, T::Barcode, Two, K::Barcode, Rect(20, 32, 40, 48), T::Select, 1, C::Barcode},
    {In, kWvd, T::SpooledFile, Stroke::TallNarrow, K::Source, Rect(0, 0, 10, 32), T::Select, 1, C::SpooledFile},
    {In, kWvd, T::SpooledFile, Stroke::UnderOneCell, 0, {}, T::Select, 0, C::SpooledFile},
    // ---- the input pane, XML document
    {In, kXml, T::Select, Two, 0, {}, T::Select, 0, 0},
    {In, kXml, T::Loop, Two, K::Loop, Rect(0, 32, 827, 64), T::Select, 1, C::Loop},
    {In, kXml, T::Conditional, Two, K::Conditional, Rect(20, 32, 40, 48), T::Select, 1, C::Conditional},
    {In, kXml, T::ExitParameter, Two, K::ExitParam, Rect(20, 32, 40, 48), T::Select, 1, C::ExitParameter},
    {In, kXml, T::Variable, Two, K::Variable, Rect(20, 32, 40, 48), T::Select, 1, C::Variable},
    {In, kXml, T::Address, Two, K::Address, Rect(20, 32, 40, 48), T::Select, 1, C::Address},
    {In, kXml, T::XmlElement, Two, K::XmlElement, Rect(20, 32, 40, 48), T::Select, 1, C::XmlElement},
    {In, kXml, T::XmlAttribute, Two, K::XmlAttribute, Rect(20, 32, 40, 48), T::Select, 1, C::XmlAttribute},
    {In, kXml, T::XmlComment, Two, K::XmlComment, Rect(20, 32, 40, 48), T::Select, 1, C::XmlComment},
};

} // namespace

class ToolTest : public ViewTest, public ::testing::WithParamInterface<ToolRow>
{
protected:
    // The elements made since `before`.
    std::vector<CFormElement*> MadeSince(const std::vector<CObject*>& before)
    {
        std::vector<CFormElement*> made;
        for (CObject* o : doc.GetElementList())
            if (std::find(before.begin(), before.end(), o) == before.end())
                made.push_back(dynamic_cast<CFormElement*>(o));
        return made;
    }
};

TEST_P(ToolTest, MakesItsKindOrSelects)
{
    const ToolRow& row = GetParam();
    doc.SetDocType(row.docType);
    CDesignView& pane = Pane(row.pane);
    const std::vector<CObject*> before(doc.GetElementList().begin(), doc.GetElementList().end());
    const int steps = UndoSteps();
    frame.tool = row.tool;
    const StrokePoints stroke = PointsOf(row.stroke);
    Band(pane, pane.DocToClientPoint(stroke.from), pane.DocToClientPoint(stroke.to));

    EXPECT_EQ(frame.tool, row.toolAfter);
    EXPECT_EQ(UndoSteps(), steps + row.undoSteps);
    const std::vector<CFormElement*> made = MadeSince(before);
    if (row.made == 0) {
        EXPECT_TRUE(made.empty());
        EXPECT_EQ(frame.sheetShows, 0);
        return;
    }
    ASSERT_EQ(made.size(), 1u);
    CFormElement* element = made.front();
    EXPECT_EQ(element->GetType(), row.made);
    EXPECT_EQ(pane.GetElementRect(element), row.rect);
    EXPECT_EQ(pane.GetCurrentElement(), element);
    EXPECT_TRUE(element->IsSelected());
    EXPECT_EQ(element->GetParent(), nullptr) << "no explorer anchor: top level";
    EXPECT_EQ(doc.GetZOrderList().GetHead(), element) << "new elements go to the front";
    // Only Static Text opens the sheet by itself.
    EXPECT_EQ(frame.sheetShows, row.made == FormElementType::Text ? 1 : 0);
    doc.OnEditUndo();
    EXPECT_FALSE(doc.ContainsElement(element));
    EXPECT_EQ(int(ElementCount()), int(before.size()));
}

TEST_P(ToolTest, ShowsItsCursorOverThePage)
{
    const ToolRow& row = GetParam();
    doc.SetDocType(row.docType);
    frame.tool = row.tool;
    const QCursor cursor = Pane(row.pane).CursorAt(QPoint(300, 200));
    if (row.cursor == 0) {
        EXPECT_EQ(cursor.shape(), Qt::ArrowCursor);
        return;
    }
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.hotSpot(), QPoint(8, 8));
    EXPECT_EQ(cursor.pixmap().toImage(), ToolCursorPixmap(row.cursor).toImage());
}

INSTANTIATE_TEST_SUITE_P(Tools, ToolTest, ::testing::ValuesIn(kToolRows),
                         [](const ::testing::TestParamInfo<ToolRow>& info) { return RowName(info.param); });

// ---------------------------------------------------------------- in each pane

// A tool that draws in the pane, and a second place for it.
struct PaneTool
{
    int tool;
    int type;
};

class ToolsInPaneTest : public PaneTest
{
protected:
    PaneTool DrawingToolOfPane()
    {
        return GetParam() == PaneKind::Output ? PaneTool{DrawingTool::Eraser, FormElementType::Eraser}
                                              : PaneTool{DrawingTool::SpooledFile, FormElementType::Source};
    }
    int CountOf(int type)
    {
        int count = 0;
        for (CObject* o : doc.GetElementList())
            count += dynamic_cast<CFormElement*>(o)->GetType() == type ? 1 : 0;
        return count;
    }
};

TEST_P(ToolsInPaneTest, ToolLockKeepsTheTool)
{
    const PaneTool tool = DrawingToolOfPane();
    const int before = CountOf(tool.type);
    frame.toolLock = true;
    frame.tool = tool.tool;
    Band(ThisPane(), QPoint(20, 32), QPoint(40, 64));
    Band(ThisPane(), QPoint(100, 160), QPoint(120, 192));
    EXPECT_EQ(frame.tool, tool.tool);
    EXPECT_EQ(CountOf(tool.type), before + 2);
}

TEST_P(ToolsInPaneTest, EscapeAbandonsABand)
{
    const PaneTool tool = DrawingToolOfPane();
    const qsizetype before = ElementCount();
    const int steps = UndoSteps();
    frame.tool = tool.tool;
    QTest::mousePress(ThisPane().viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 32));
    QTest::mouseMove(ThisPane().viewport(), QPoint(80, 96));
    QTest::keyClick(&ThisPane(), Qt::Key_Escape);
    QTest::mouseRelease(ThisPane().viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(80, 96));
    EXPECT_EQ(ElementCount(), before);
    EXPECT_EQ(UndoSteps(), steps);
    EXPECT_EQ(frame.tool, DrawingTool::Select);
}

INSTANTIATE_TEST_SUITE_P(Panes, ToolsInPaneTest, ::testing::Values(PaneKind::Output, PaneKind::Input), PaneTestName);

// ---------------------------------------------------------------- one pane

using ToolsTest = ViewTest;

TEST_F(ToolsTest, StaticTextIsMadeAtTheClickThenItsSheetOpens)
{
    frame.tool = DrawingTool::StaticText;
    QTest::mouseClick(output.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(45, 70));
    CFormElement* made = output.GetCurrentElement();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetType(), FormElementType::Text);
    // One cell at the click, snapped onto the grid by the element.
    EXPECT_EQ(made->GetDestRect(), Rect(40, 64, 50, 80));
    EXPECT_EQ(frame.sheetShows, 1);
    EXPECT_EQ(frame.toolWhenSheetShown, DrawingTool::Select) << "the tool is back before the sheet opens";
}

TEST_F(ToolsTest, AKindThatCannotBeMadeLeavesTheSelection)
{
    CFormElement* eraser = Make(FormElementType::Eraser, OutputCells(20, 20, 2, 2));
    output.SelectOnly(eraser);
    const qsizetype before = ElementCount();
    const int steps = UndoSteps();
    const Rect band = OutputCells(2, 2, 4, 4);
    EXPECT_EQ(output.CreateElementAt(FormElementType::BreakLoop, &band), nullptr);
    EXPECT_EQ(ElementCount(), before);
    EXPECT_EQ(output.GetCurrentElement(), eraser);
    EXPECT_TRUE(eraser->IsSelected());
    EXPECT_EQ(UndoSteps(), steps);
}

TEST_F(ToolsTest, NewElementsGoUnderTheExplorersAnchor)
{
    CFormElement* loop = Make(FormElementType::Loop, SourceCells(0, 0, 20, 20), PaneSide::Input);
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
    const qsizetype before = ElementCount();
    frame.tool = DrawingTool::Loop; // an input-pane tool
    QTest::mouseClick(output.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(30, 40));
    EXPECT_EQ(ElementCount(), before);
    EXPECT_EQ(output.GetCurrentElement(), eraser);
    EXPECT_EQ(frame.tool, DrawingTool::Loop) << "selecting leaves the tool alone";
}

TEST_F(ToolsTest, TheSelectToolShowsTheHandleUnderTheMouse)
{
    CFormElement* eraser = Make(FormElementType::Eraser, OutputCells(2, 2, 6, 4)); // 20,32 - 80,96
    output.SelectOnly(eraser);
    output.viewport()->repaint(); // the tracker is made by the first drawing
    frame.tool = DrawingTool::Select;
    EXPECT_EQ(output.CursorAt(QPoint(78, 94)).shape(), Qt::SizeFDiagCursor);
    EXPECT_EQ(output.CursorAt(QPoint(50, 33)).shape(), Qt::SizeVerCursor);
    EXPECT_EQ(output.CursorAt(QPoint(50, 60)).shape(), Qt::ArrowCursor);
}

TEST(ToolCursors, EachToolHasItsOwnPictureAndUnknownNumbersNone)
{
    const int ids[] = {C::Address,      C::Barcode,    C::Conditional, C::Eraser,     C::ExitParameter,
                       C::Image,        C::Loop,       C::SpooledFile, C::StaticText, C::Variable,
                       C::XmlAttribute, C::XmlComment, C::XmlElement};
    for (size_t i = 0; i < std::size(ids); ++i) {
        EXPECT_TRUE(IsToolCursorId(ids[i])) << ids[i];
        for (size_t j = 0; j < i; ++j)
            EXPECT_NE(ToolCursorPixmap(ids[i]).toImage(), ToolCursorPixmap(ids[j]).toImage())
                << ids[i] << " " << ids[j];
    }
    EXPECT_FALSE(IsToolCursorId(4242));
    EXPECT_TRUE(ToolCursorPixmap(4242).isNull());
    EXPECT_EQ(ToolCursor(4242).shape(), Qt::ArrowCursor);
}
