// How a pane answers through the base both panes share: the tracker, keys,
// resizing by a handle, drag and drop, the clipboard, the context menu and
// the double-click. What both panes draw and which hints re-fit them is in
// PaneTest.cpp.

#include "designer/views/tests/ViewTestFixture.h"

#include <QClipboard>
#include <QMenu>

using kwvd::Rect;

namespace {

QColor At(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

} // namespace

class DesignViewTest : public ViewTest
{
protected:
    DesignViewTest()
    {
        a = Make(FormElementType::Eraser, OutputCells(2, 2, 4, 2));  // 20,32 - 60,64
        b = Make(FormElementType::Eraser, OutputCells(10, 2, 4, 2)); // 100,32 - 140,64
    }

    // a current, b selected too.
    void SelectBoth()
    {
        output.SelectOnly(b);
        output.SetCurrentElement(a, TRUE);
    }

    // Delivers each drag to the target pane with the keys and point given.
    void DeliverDragsTo(CDesignView& target, QPoint point, Qt::KeyboardModifiers keys)
    {
        CDesignView::SetDragRunner(
            [this, &target, point, keys](CDesignView*, std::unique_ptr<QMimeData> data, Qt::DropActions allowed) {
                ++drags;
                lastAllowed = allowed;
                const Qt::DropAction effect = target.OnDragEnter(data.get(), keys, point);
                if (effect == Qt::IgnoreAction || !target.OnDrop(data.get(), effect, point))
                    return Qt::IgnoreAction;
                return effect;
            });
    }

    void DragFrom(QPoint press, QPoint move)
    {
        QTest::mousePress(output.viewport(), Qt::LeftButton, Qt::NoModifier, press);
        QTest::mouseMove(output.viewport(), move);
        QTest::mouseRelease(output.viewport(), Qt::LeftButton, Qt::NoModifier, move);
    }

    CFormElement* a = nullptr;
    CFormElement* b = nullptr;
    int drags = 0;
    Qt::DropActions lastAllowed;
};

// ---------------------------------------------------------------- drawing

TEST_F(DesignViewTest, TheCurrentElementCarriesItsTrackerOnScreen)
{
    const QColor fill = kwvd::ToQColor(env.prefs.ColourElementSource);
    CFormElement* source = Make(FormElementType::Source, SourceCells(2, 2, 6, 4), PaneSide::Input); // 20,32 - 80,96
    input.DeselectAll(TRUE);
    const Rect box = source->GetSourceRect();
    const QPoint handle(box.right - 3, box.bottom - 3); // inside the bottom-right handle
    EXPECT_EQ(At(Picture(input), handle.x(), handle.y()), fill);
    input.SelectOnly(source);
    EXPECT_EQ(At(Picture(input), handle.x(), handle.y()), QColor(Qt::black));
    EXPECT_NE(input.GetTracker(), nullptr);
    input.DeselectAll(TRUE);
    EXPECT_EQ(input.GetTracker(), nullptr);
    EXPECT_EQ(At(Picture(input), handle.x(), handle.y()), fill);
}

// ---------------------------------------------------------------- keys

TEST_F(DesignViewTest, ArrowKeysMoveTheSelectionAsOneUndoStep)
{
    SelectBoth();
    const int steps = UndoSteps();
    QTest::keyClick(&output, Qt::Key_Right);
    EXPECT_EQ(a->GetDestRect(), Rect(30, 32, 70, 64));
    EXPECT_EQ(b->GetDestRect(), Rect(110, 32, 150, 64));
    EXPECT_EQ(UndoSteps(), steps + 1);

    output.OnKeyDown(Qt::Key_Down, 3); // a held key repeats
    EXPECT_EQ(a->GetDestRect(), Rect(30, 80, 70, 112));
    EXPECT_EQ(UndoSteps(), steps + 2);

    doc.OnEditUndo();
    for (CObject* o : doc.GetElementList()) {
        if (auto* e = dynamic_cast<CFormElement*>(o); e != nullptr && e->GetType() == FormElementType::Eraser) {
            EXPECT_EQ(e->GetDestRect().top, 32) << "undo puts the elements back one step";
        }
    }
    doc.OnEditRedo();
    int moved = 0;
    for (CObject* o : doc.GetElementList())
        if (auto* e = dynamic_cast<CFormElement*>(o); e != nullptr && e->GetDestRect().top == 80)
            ++moved;
    EXPECT_EQ(moved, 2) << "redo moves them again";
}

TEST_F(DesignViewTest, KeysWithNothingSelectedScrollByCells)
{
    output.DeselectAll(TRUE);
    const int steps = UndoSteps();
    QTest::keyClick(&output, Qt::Key_Right);
    EXPECT_EQ(output.GetScrollPosition(), QPoint(10, 0));
    QTest::keyClick(&output, Qt::Key_PageDown);
    EXPECT_EQ(output.GetScrollPosition(), QPoint(10, 160));
    EXPECT_EQ(UndoSteps(), steps);
}

TEST_F(DesignViewTest, AMovedSelectionIsScrolledIntoView)
{
    CFormElement* low = Make(FormElementType::Eraser, OutputCells(2, 17, 2, 1)); // 272 - 288
    output.SelectOnly(low);
    QTest::keyClick(&output, Qt::Key_Down);
    ASSERT_EQ(low->GetDestRect().bottom, 304);
    // The viewport is 298 high: the element's end is brought to its end.
    EXPECT_EQ(output.GetScrollPosition(), QPoint(0, 304 - output.viewport()->height()));
}

// ---------------------------------------------------------------- mouse

TEST_F(DesignViewTest, DraggingAHandleResizesTheSelectionOnTheGrid)
{
    SelectBoth();
    output.viewport()->repaint();
    const int steps = UndoSteps();
    // From inside a's bottom-right handle to a point that snaps to (80, 96).
    QTest::mousePress(output.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(58, 62));
    QTest::mouseMove(output.viewport(), QPoint(70, 80));
    QTest::mouseMove(output.viewport(), QPoint(79, 93));
    QTest::mouseRelease(output.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(79, 93));
    EXPECT_EQ(a->GetDestRect(), Rect(20, 32, 80, 96));
    EXPECT_EQ(b->GetDestRect(), Rect(100, 32, 160, 96)) << "every selected element, by the same amounts";
    EXPECT_EQ(UndoSteps(), steps + 1);
    EXPECT_EQ(frame.sheetRefreshes, 0) << "the sheet is not shown";
}

TEST_F(DesignViewTest, DoubleClickOpensTheElementsProperties)
{
    SelectBoth();
    QTest::mouseDClick(output.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(110, 40));
    EXPECT_EQ(output.GetSelectedElements(), std::vector<CFormElement*>{b});
    EXPECT_EQ(output.GetCurrentElement(), b);
    EXPECT_EQ(frame.sheetShows, 1);
    EXPECT_TRUE(frame.commands.empty());
    // Empty space opens no sheet; in the output pane it asks for Page Setup.
    QTest::mouseDClick(output.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 250));
    EXPECT_EQ(frame.sheetShows, 1);
    EXPECT_EQ(frame.commands, std::vector<UINT>{ID_FILE_PAGE_SETUP});
    QTest::mouseDClick(input.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 250));
    EXPECT_EQ(frame.sheetShows, 1);
    EXPECT_EQ(frame.commands, std::vector<UINT>{ID_FILE_PAGE_SETUP}) << "the input pane asks for nothing";
}

TEST_F(DesignViewTest, TheContextMenuActsOnTheElementUnderIt)
{
    output.SelectOnly(a);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(110, 40), output.viewport()->mapToGlobal(QPoint(110, 40)));
    QCoreApplication::sendEvent(output.viewport(), &event);
    EXPECT_EQ(output.GetCurrentElement(), b);
    EXPECT_TRUE(a->IsSelected()) << "other selections stay";

    QMenu* menu = output.findChild<QMenu*>(QStringLiteral("PaneContextMenu"));
    ASSERT_NE(menu, nullptr);
    QStringList texts;
    QAction* properties = nullptr;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            continue;
        texts << action->text();
        if (action->data().toUInt() == ID_EDIT_PROPERTIES)
            properties = action;
        if (action->data().toUInt() == ID_EDIT_CUT) {
            EXPECT_TRUE(action->isEnabled());
        }
        if (action->data().toUInt() == ID_EDIT_BRING_ALL_TO_FRONT) {
            EXPECT_FALSE(action->isEnabled()) << "an eraser has no children";
        }
    }
    const QStringList expected = {"Cu&t\tCtrl+X",
                                  "&Copy\tCtrl+C",
                                  "&Paste\tCtrl+V",
                                  "&Delete\tDel",
                                  "Bring to &Front\tCtrl+J",
                                  "Bring All to Front\tCtrl+Shift+J",
                                  "&Send to Back\tCtrl+K",
                                  "Send All to Back\tCtrl+Shift+K",
                                  "Zoom...",
                                  "Properties..."};
    EXPECT_EQ(texts, expected);
    ASSERT_NE(properties, nullptr);
    properties->trigger();
    EXPECT_EQ(frame.commands, std::vector<UINT>{ID_EDIT_PROPERTIES}) << "the frame runs Properties";
    menu->close();
}

// ---------------------------------------------------------------- drag and drop

TEST_F(DesignViewTest, ADropInTheSamePaneMovesTheSelectionKeepingTheGrabOffset)
{
    SelectBoth();
    const qsizetype count = doc.GetElementList().GetCount();
    const int steps = UndoSteps();
    // Grabbed 5, 8 inside a; dropped at (75, 90): a's corner goes to (70, 82),
    // which the grid makes (70, 80).
    DeliverDragsTo(output, QPoint(75, 90), Qt::NoModifier);
    DragFrom(QPoint(25, 40), QPoint(28, 44));
    EXPECT_EQ(drags, 1);
    EXPECT_EQ(lastAllowed, Qt::CopyAction | Qt::MoveAction);
    EXPECT_EQ(a->GetDestRect(), Rect(70, 80, 110, 112));
    EXPECT_EQ(b->GetDestRect(), Rect(150, 80, 190, 112));
    EXPECT_EQ(doc.GetElementList().GetCount(), count) << "moved, not copied or deleted";
    EXPECT_TRUE(doc.ContainsElement(a));
    EXPECT_EQ(UndoSteps(), steps + 1);
    EXPECT_FALSE(output.IsDragFromThisPane());
}

TEST_F(DesignViewTest, ACtrlDropCopiesTheSelection)
{
    SelectBoth();
    const qsizetype count = doc.GetElementList().GetCount();
    DeliverDragsTo(output, QPoint(75, 90), Qt::ControlModifier);
    DragFrom(QPoint(25, 40), QPoint(28, 44));
    EXPECT_EQ(doc.GetElementList().GetCount(), count + 2);
    EXPECT_EQ(a->GetDestRect(), Rect(20, 32, 60, 64)) << "the originals stay";
    EXPECT_FALSE(a->IsSelected());
    const std::vector<CFormElement*> copies = output.GetSelectedElements();
    ASSERT_EQ(copies.size(), 2u);
    std::vector<Rect> boxes;
    for (CFormElement* e : copies)
        boxes.push_back(e->GetDestRect());
    EXPECT_NE(std::find(boxes.begin(), boxes.end(), Rect(70, 80, 110, 112)), boxes.end());
    EXPECT_NE(std::find(boxes.begin(), boxes.end(), Rect(150, 80, 190, 112)), boxes.end());
    EXPECT_TRUE(output.GetCurrentElement() == copies[0] || output.GetCurrentElement() == copies[1]);
}

TEST_F(DesignViewTest, AMoveToAnotherPaneTakesTheElementsAway)
{
    CDesignerDoc otherDoc;
    otherDoc.OnNewDocument();
    CDDestView other;
    other.SetDocument(&otherDoc);
    other.resize(400, 300);
    SelectBoth();
    const qsizetype count = doc.GetElementList().GetCount();
    DeliverDragsTo(other, QPoint(300, 200), Qt::NoModifier);
    DragFrom(QPoint(25, 40), QPoint(28, 44));
    EXPECT_FALSE(doc.ContainsElement(a));
    EXPECT_FALSE(doc.ContainsElement(b));
    EXPECT_EQ(doc.GetElementList().GetCount(), count - 2);
    // Its own output element and the two that came in.
    EXPECT_EQ(otherDoc.GetElementList().GetCount(), count);
    EXPECT_NE(other.GetCurrentElement(), nullptr);
    other.SetDocument(nullptr);
}

TEST_F(DesignViewTest, DropsThatDoNotFitAreRefused)
{
    SelectBoth();
    std::unique_ptr<CServerItem> item = output.MakeServerItem();
    ASSERT_NE(item, nullptr);
    const std::unique_ptr<QMimeData> data = item->OnGetClipboardData();

    output.SetZoom(25, 25);
    EXPECT_EQ(output.OnDragEnter(data.get(), Qt::NoModifier, QPoint(380, 290)), Qt::IgnoreAction) << "outside the page";
    EXPECT_EQ(output.OnDragOver(data.get(), Qt::NoModifier, QPoint(50, 50)), Qt::MoveAction);
    EXPECT_EQ(output.OnDragOver(data.get(), Qt::ControlModifier, QPoint(51, 50)), Qt::CopyAction);
    EXPECT_EQ(output.OnDragOver(data.get(), Qt::ControlModifier | Qt::ShiftModifier, QPoint(52, 50)), Qt::LinkAction);
    output.OnDragLeave();
    const qsizetype count = doc.GetElementList().GetCount();
    EXPECT_FALSE(output.OnDrop(data.get(), Qt::LinkAction, QPoint(50, 50))) << "a link drops nothing";
    EXPECT_EQ(doc.GetElementList().GetCount(), count);

    // The input pane takes only its own kind.
    EXPECT_EQ(input.OnDragEnter(data.get(), Qt::NoModifier, QPoint(50, 50)), Qt::IgnoreAction);
    EXPECT_FALSE(input.OnDrop(data.get(), Qt::CopyAction, QPoint(50, 50)));
    EXPECT_EQ(doc.GetElementList().GetCount(), count);
}

TEST_F(DesignViewTest, ADragWithoutACurrentElementCarriesNothing)
{
    output.DeselectAll(TRUE);
    a->Select(TRUE); // selected, but no pane has it current
    DeliverDragsTo(output, QPoint(200, 200), Qt::NoModifier);
    EXPECT_FALSE(output.StartElementDrag(QPoint(25, 40), Rect(20, 32, 60, 64)));
    EXPECT_EQ(drags, 0);
    EXPECT_EQ(a->GetDestRect(), Rect(20, 32, 60, 64));

    // A Ctrl-press on an element arms a drag without making it current.
    QTest::mousePress(output.viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(25, 40));
    QTest::mouseMove(output.viewport(), QPoint(40, 60));
    QTest::mouseRelease(output.viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(40, 60));
    EXPECT_EQ(drags, 0);
    EXPECT_EQ(a->GetDestRect(), Rect(20, 32, 60, 64));
}

// ---------------------------------------------------------------- clipboard

TEST_F(DesignViewTest, CopyAndPastePlaceTheCopyAtTheTopLeftOfTheVisiblePage)
{
    output.SelectOnly(a);
    ASSERT_TRUE(output.OnCmdMsg(ID_EDIT_COPY));
    CCmdUI paste(ID_EDIT_PASTE);
    ASSERT_TRUE(output.OnUpdateCmdUI(paste));
    EXPECT_TRUE(paste.IsEnabled());
    CCmdUI inputPaste(ID_EDIT_PASTE);
    input.OnUpdateCmdUI(inputPaste);
    EXPECT_FALSE(inputPaste.IsEnabled()) << "the input pane pastes only its own kind";

    output.ScrollToPosition(QPoint(30, 40));
    QCursor::setPos(output.viewport()->mapToGlobal(QPoint(-50, -50))); // outside the pane
    const qsizetype count = doc.GetElementList().GetCount();
    const int steps = UndoSteps();
    ASSERT_TRUE(output.OnCmdMsg(ID_EDIT_PASTE));
    ASSERT_EQ(doc.GetElementList().GetCount(), count + 1);
    CFormElement* copy = output.GetCurrentElement();
    ASSERT_NE(copy, nullptr);
    ASSERT_NE(copy, a);
    // (30, 40) snapped outward to the grid is (30, 32).
    EXPECT_EQ(copy->GetDestRect(), Rect(30, 32, 70, 64));
    EXPECT_EQ(UndoSteps(), steps + 1);
}

TEST_F(DesignViewTest, CutRemovesAndPasteBringsBack)
{
    output.SelectOnly(b);
    const qsizetype count = doc.GetElementList().GetCount();
    ASSERT_TRUE(output.OnCmdMsg(ID_EDIT_CUT));
    EXPECT_EQ(doc.GetElementList().GetCount(), count - 1);
    EXPECT_EQ(output.GetCurrentElement(), nullptr);
    ASSERT_TRUE(output.OnCmdMsg(ID_EDIT_PASTE));
    EXPECT_EQ(doc.GetElementList().GetCount(), count);
}

TEST_F(DesignViewTest, AContainerCopiedInTheExplorerIsPastedWithItsChildren)
{
    CFormElement* loop = Make(FormElementType::Loop, OutputCells(1, 5, 40, 4));
    ASSERT_NE(loop, nullptr);
    CFormElement* child = nullptr;
    {
        CDocChangeGuard change(&doc);
        child = doc.CreateNewElement(FormElementType::Text, PaneSide::Output, OutputCells(2, 6, 5, 1), loop);
    }
    ASSERT_NE(child, nullptr);
    ASSERT_EQ(child->GetParent(), loop);
    {
        // What the explorer's Cut puts on the clipboard before it deletes.
        CServerItem copy(&doc, CServerItem::ExplFormat, {loop}, nullptr);
        copy.SetWithChildren(TRUE);
        ASSERT_TRUE(copy.CopyToClipboard());
    }
    {
        CDocChangeGuard change(&doc);
        doc.DeleteElement(loop, TRUE);
    }
    const qsizetype count = ElementCount();
    output.DeselectAll(TRUE);

    ASSERT_TRUE(output.OnCmdMsg(ID_EDIT_PASTE));

    ASSERT_EQ(ElementCount(), count + 2) << "the Loop and its child";
    CFormElement* pasted = output.GetCurrentElement();
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->GetType(), FormElementType::Loop);
    ChildPosition position = pasted->GetFirstChildPosition();
    CFormElement* pastedChild = pasted->GetNextChild(position);
    ASSERT_NE(pastedChild, nullptr);
    EXPECT_EQ(pastedChild->GetType(), FormElementType::Text);
    EXPECT_TRUE(doc.ContainsElement(pastedChild));
    EXPECT_TRUE(position.IsNull()) << "one child";
}

TEST_F(DesignViewTest, PastingNothingUsableChangesNothing)
{
    QGuiApplication::clipboard()->clear();
    const qsizetype count = doc.GetElementList().GetCount();
    const int steps = UndoSteps();
    output.OnCmdMsg(ID_EDIT_PASTE);
    auto* text = new QMimeData;
    text->setText(QStringLiteral("not elements"));
    QGuiApplication::clipboard()->setMimeData(text);
    output.OnCmdMsg(ID_EDIT_PASTE);
    EXPECT_EQ(doc.GetElementList().GetCount(), count);
    EXPECT_EQ(UndoSteps(), steps);

    // An empty item pastes nothing.
    CServerItem empty(&doc);
    output.PasteItem(empty, QPoint(0, 0));
    EXPECT_EQ(doc.GetElementList().GetCount(), count);
}
