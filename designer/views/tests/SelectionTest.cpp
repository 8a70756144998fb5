// The selection rules of a pane: click, Ctrl and Ctrl+Shift clicks, bands,
// the notices to the other pane, the explorer and the property sheet, and
// the commands over the selection.

#include "designer/views/tests/ViewTestFixture.h"

#include <gmock/gmock.h>

using kwvd::Rect;

class SelectionTest : public ViewTest
{
protected:
    SelectionTest()
    {
        a = Make(FormElementType::Eraser, OutputCells(2, 2, 4, 2));  // 20,32 - 60,64
        b = Make(FormElementType::Eraser, OutputCells(10, 2, 4, 2)); // 100,32 - 140,64
        d = Make(FormElementType::Eraser, OutputCells(2, 5, 4, 2));  // 20,80 - 60,112
        c = Make(FormElementType::Eraser, OutputCells(2, 8, 4, 2));  // 20,128 - 60,160
        EXPECT_TRUE(a && b && c && d);
    }

    void Click(QPoint p, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        QTest::mouseClick(output.viewport(), Qt::LeftButton, keys, p);
    }

    std::vector<CFormElement*> Selected() { return output.GetSelectedElements(); }

    CFormElement* a = nullptr;
    CFormElement* b = nullptr;
    CFormElement* c = nullptr;
    CFormElement* d = nullptr;
};

using Elements = std::vector<CFormElement*>;

TEST_F(SelectionTest, AClickSelectsOnlyTheElementAndTellsTheOthers)
{
    Click(QPoint(30, 40));
    EXPECT_EQ(Selected(), Elements{a});
    EXPECT_EQ(output.GetCurrentElement(), a);
    Click(QPoint(110, 40));
    EXPECT_EQ(Selected(), Elements{b});
    EXPECT_EQ(output.GetCurrentElement(), b);
    ASSERT_FALSE(frame.explorerNotices.empty());
    EXPECT_EQ(frame.explorerNotices.back(), (HintRecord{b, DocumentHint::SelectionChanged}));
    ASSERT_FALSE(frame.sheetElements.empty());
    EXPECT_EQ(frame.sheetElements.back(), b);

    // A click on empty space clears the selection and the current element.
    Click(QPoint(300, 250));
    EXPECT_TRUE(Selected().empty());
    EXPECT_EQ(output.GetCurrentElement(), nullptr);
    EXPECT_EQ(output.GetTracker(), nullptr);
    EXPECT_EQ(frame.sheetElements.back(), nullptr);
}

TEST_F(SelectionTest, CtrlClickAddsAnElementOrTakesTheCurrentOneOut)
{
    Click(QPoint(30, 40));
    Click(QPoint(110, 40), Qt::ControlModifier);
    EXPECT_EQ(Selected(), (Elements{a, b}));
    EXPECT_EQ(output.GetCurrentElement(), b);
    Click(QPoint(30, 140), Qt::ControlModifier);
    EXPECT_EQ(Selected(), (Elements{a, b, c}));
    EXPECT_EQ(output.GetCurrentElement(), c);

    // Out goes the current one; the first selected in document order takes over.
    Click(QPoint(30, 140), Qt::ControlModifier);
    EXPECT_EQ(Selected(), (Elements{a, b}));
    EXPECT_EQ(output.GetCurrentElement(), a);

    // Clicking the current element keeps a multiple selection.
    Click(QPoint(30, 40));
    EXPECT_EQ(Selected(), (Elements{a, b}));
    EXPECT_EQ(output.GetCurrentElement(), a);
}

TEST_F(SelectionTest, CtrlShiftClickSelectsTheSpanBetweenCurrentAndClicked)
{
    Click(QPoint(30, 40)); // a current
    Click(QPoint(30, 140), Qt::ControlModifier | Qt::ShiftModifier);
    // The union of a and c meets d as well; b lies outside it.
    EXPECT_EQ(Selected(), (Elements{a, d, c}));
    EXPECT_EQ(output.GetCurrentElement(), c);
}

TEST_F(SelectionTest, BandsSelectWhatTheyMeetAndCtrlBandsAdd)
{
    // From lower right to upper left over a and b.
    QTest::mousePress(output.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(150, 70));
    QTest::mouseMove(output.viewport(), QPoint(15, 20));
    QTest::mouseRelease(output.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(15, 20));
    EXPECT_EQ(Selected(), (Elements{a, b}));
    EXPECT_EQ(output.GetCurrentElement(), b) << "the last one met in document order";

    QTest::mousePress(output.viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(10, 150));
    QTest::mouseMove(output.viewport(), QPoint(40, 170));
    QTest::mouseRelease(output.viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(40, 170));
    EXPECT_EQ(Selected(), (Elements{a, b, c}));
    EXPECT_EQ(output.GetCurrentElement(), c);

    // Escape abandons a band: nothing more is selected.
    QTest::mousePress(output.viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(10, 75));
    QTest::mouseMove(output.viewport(), QPoint(70, 120));
    QTest::keyClick(&output, Qt::Key_Escape);
    QTest::mouseRelease(output.viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(70, 120));
    EXPECT_FALSE(d->IsSelected());
}

TEST_F(SelectionTest, ASelectionInOnePaneDropsTheOtherPanesCurrentElement)
{
    input.SelectOnly(a);
    ASSERT_EQ(input.GetCurrentElement(), a);
    Click(QPoint(110, 40), Qt::ControlModifier);
    EXPECT_EQ(output.GetCurrentElement(), b);
    EXPECT_EQ(input.GetCurrentElement(), nullptr);
    EXPECT_TRUE(a->IsSelected()) << "the element keeps its selected flag";
    EXPECT_EQ(input.GetTracker(), nullptr);
}

TEST_F(SelectionTest, SuppressedUpdatesSendNoNotices)
{
    doc.SuppressUpdates();
    input.SelectOnly(b);
    output.SetCurrentElement(a, TRUE);
    doc.ResumeUpdates();
    EXPECT_TRUE(frame.explorerNotices.empty());
    EXPECT_TRUE(frame.sheetElements.empty());
    EXPECT_EQ(input.GetCurrentElement(), b) << "no SelectionChanged reached the input pane";
}

TEST_F(SelectionTest, SelectAllSelectNoneAndDelete)
{
    ASSERT_TRUE(output.OnCmdMsg(ID_EDIT_SELECT_ALL));
    EXPECT_EQ(Selected().size(), doc.GetElementList().GetCount());
    EXPECT_NE(output.GetCurrentElement(), nullptr) << "the last element becomes current";

    ASSERT_TRUE(output.OnCmdMsg(ID_EDIT_SELECT_NONE));
    EXPECT_TRUE(Selected().empty());
    EXPECT_EQ(output.GetCurrentElement(), nullptr);

    CCmdUI ui(ID_EDIT_CLEAR);
    ASSERT_TRUE(output.OnUpdateCmdUI(ui));
    EXPECT_FALSE(ui.IsEnabled()) << "nothing current, nothing to delete";

    Click(QPoint(30, 40));
    Click(QPoint(110, 40), Qt::ControlModifier);
    const qsizetype before = doc.GetElementList().GetCount();
    const int steps = UndoSteps();
    ASSERT_TRUE(output.OnCmdMsg(ID_EDIT_CLEAR));
    EXPECT_EQ(doc.GetElementList().GetCount(), before - 2);
    EXPECT_FALSE(doc.ContainsElement(a));
    EXPECT_FALSE(doc.ContainsElement(b));
    EXPECT_EQ(output.GetCurrentElement(), nullptr);
    EXPECT_EQ(UndoSteps(), steps + 1) << "one undo step";
    doc.OnEditUndo();
    EXPECT_EQ(doc.GetElementList().GetCount(), before);
}

TEST_F(SelectionTest, RemovingTheCurrentElementClearsItInEveryPane)
{
    output.SelectOnly(a);
    input.SetCurrentElement(b, FALSE);
    {
        CDocChangeGuard change(&doc);
        doc.DeleteElement(a, FALSE);
    }
    EXPECT_EQ(output.GetCurrentElement(), nullptr);
    // The pane that lost its current element tells the others
    // (SelectionChanged), which drop theirs; flags stay.
    EXPECT_EQ(input.GetCurrentElement(), nullptr);
    EXPECT_TRUE(b->IsSelected());
    output.viewport()->repaint(); // drawing after the removal touches nothing freed
}

TEST_F(SelectionTest, TheWaitCursorShowsOnlyAboveFifteenElements)
{
    // Four elements now, and the document's own output element.
    while (doc.GetElementList().GetCount() < 15)
        Make(FormElementType::Eraser, OutputCells(20, 20, 1, 1));
    ASSERT_EQ(doc.GetElementList().GetCount(), 15);
    const int shown = env.prompts->WaitCursorShowCount();
    output.DeselectAll(TRUE);
    EXPECT_EQ(env.prompts->WaitCursorShowCount(), shown);
    Make(FormElementType::Eraser, OutputCells(20, 22, 1, 1));
    output.DeselectAll(TRUE);
    EXPECT_GT(env.prompts->WaitCursorShowCount(), shown);
}

TEST_F(SelectionTest, UndoLeavesNoPaneHoldingAReplacedElement)
{
    output.SelectOnly(a);
    input.SelectOnly(b);
    output.viewport()->repaint();
    QTest::keyClick(&output, Qt::Key_Right);
    doc.OnEditUndo();
    // The elements were read back from the snapshot: the old objects are gone.
    EXPECT_EQ(output.GetCurrentElement(), nullptr);
    EXPECT_EQ(input.GetCurrentElement(), nullptr);
    output.viewport()->repaint();
    input.viewport()->repaint();
    QTest::keyClick(&output, Qt::Key_Right); // keys after the undo touch nothing freed
}

TEST(HintRecordTest, AFailurePrintsTheHintsName)
{
    EXPECT_THAT(::testing::PrintToString(HintRecord{nullptr, DocumentHint::SelectionChanged}),
                ::testing::StartsWith("SelectionChanged for "));
    EXPECT_THAT(::testing::PrintToString(HintRecord{nullptr, DocumentHint::NewOrOpenDone}),
                ::testing::StartsWith("NewOrOpenDone for "));
    EXPECT_THAT(::testing::PrintToString(HintRecord{nullptr, 999}), ::testing::StartsWith("hint 999 for "));
}
