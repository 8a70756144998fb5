// The input pane: the spooled-file pages turned by the keys, resizing and
// dropping on the cells, the report's text over the elements.

#include "designer/views/tests/ViewTestFixture.h"

#include <set>

namespace {

// A spooled file of three pages in the input pane.
class SourceViewTest : public ViewTest
{
protected:
    SourceViewTest() : ViewTest(3) {}

    QSize Cell() { return input.GetCellSize(); }

    // The viewport point of a logical point given in cells.
    QPoint At(double column, double line)
    {
        return input.DocToClientPoint(QPoint(int(column * Cell().width()), int(line * Cell().height())));
    }

    CFormElement* AddSource(int c0, int l0, int c1, int l1)
    {
        return Make(FormElementType::Source, Cells(Cell(), c0, l0, c1 - c0, l1 - l0), PaneSide::Input);
    }
};

// Down and Page Down past the bottom of a page show the top of the next one,
// Up past the top the bottom of the previous one; the document is marked but
// no undo step is taken, and the first page's top stays put.
TEST_F(SourceViewTest, KeysPastThePageEdgeTurnTheSpooledPageWithoutUndoStep)
{
    CSpooledFile* file = doc.GetSpooledFile();
    const int undo = doc.GetUndoList().GetCount();
    const DWORD build = doc.GetBuildId();

    QTest::keyClick(&input, Qt::Key_Up);
    EXPECT_EQ(file->GetCurrentPageNumber(), 1);
    EXPECT_FALSE(doc.IsModified());

    // Where the pane can still scroll, the key scrolls and the page stays.
    QTest::keyClick(&input, Qt::Key_Down);
    EXPECT_EQ(file->GetCurrentPageNumber(), 1);
    EXPECT_GT(input.GetScrollPosition().y(), 0);
    EXPECT_FALSE(doc.IsModified());

    // Scroll down to the bottom first: only then does the page turn.
    input.ScrollToPosition(QPoint(0, 1 << 20));
    const int bottom = input.GetScrollPosition().y();
    ASSERT_GT(bottom, 0) << "the page must be taller than the pane";
    QTest::keyClick(&input, Qt::Key_PageDown);
    EXPECT_EQ(file->GetCurrentPageNumber(), 2);
    EXPECT_EQ(input.GetScrollPosition().y(), 0);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetUndoList().GetCount(), undo);
    EXPECT_EQ(doc.GetBuildId(), build);

    // At the top of page 2 the Up key goes to the bottom of page 1.
    QTest::keyClick(&input, Qt::Key_Up);
    EXPECT_EQ(file->GetCurrentPageNumber(), 1);
    EXPECT_EQ(input.GetScrollPosition().y(), bottom);
    EXPECT_EQ(doc.GetUndoList().GetCount(), undo);

    // Left and Right never turn the page.
    input.ScrollToPosition(QPoint(1 << 20, 1 << 20));
    QTest::keyClick(&input, Qt::Key_Right);
    EXPECT_EQ(file->GetCurrentPageNumber(), 1);
}

TEST_F(SourceViewTest, PageDownOnTheLastPageStaysThere)
{
    ASSERT_TRUE(doc.GetSpooledFile()->SetCurrentPage(3));
    input.ScrollToPosition(QPoint(0, 1 << 20));
    QTest::keyClick(&input, Qt::Key_Down);
    EXPECT_EQ(doc.GetSpooledFile()->GetCurrentPageNumber(), 3);
    EXPECT_FALSE(doc.IsModified());
}

// Resizing snaps again in the input pane, whatever cell fraction the mouse
// ended on.
TEST_F(SourceViewTest, CornerHandleLeavesTheElementOnCellBoundaries)
{
    CFormElement* element = AddSource(4, 4, 10, 6);
    ASSERT_NE(element, nullptr);
    input.SelectOnly(element);
    const int undo = doc.GetUndoList().GetCount();

    CElementTracker tracker;
    input.SetupTracker(tracker, element);
    const QPoint handle(tracker.m_rect.right - 2, tracker.m_rect.bottom - 2);
    ASSERT_EQ(tracker.HitTest(handle), CElementTracker::hitBottomRight);
    const QPoint to = handle + QPoint(int(3.4 * Cell().width()), int(1.3 * Cell().height()));
    QTest::mousePress(input.viewport(), Qt::LeftButton, Qt::NoModifier, handle);
    QTest::mouseMove(input.viewport(), handle + QPoint(5, 5));
    QTest::mouseMove(input.viewport(), to);
    QTest::mouseRelease(input.viewport(), Qt::LeftButton, Qt::NoModifier, to);

    const kwvd::Rect r = element->GetSourceRect();
    EXPECT_EQ(r.left, 4 * Cell().width());
    EXPECT_EQ(r.top, 4 * Cell().height());
    EXPECT_EQ(r.right, 13 * Cell().width());
    EXPECT_EQ(r.bottom, 7 * Cell().height());
    EXPECT_EQ(doc.GetUndoList().GetCount(), undo + 1);
}

// A selection dragged within the pane lands on the grid even with Alt held.
TEST_F(SourceViewTest, DropWithAltStillSnapsToTheGrid)
{
    CFormElement* element = AddSource(4, 4, 10, 6);
    ASSERT_NE(element, nullptr);
    const kwvd::Rect before = element->GetSourceRect();
    const int count = doc.GetElementList().GetCount();
    const QPoint grab = At(5.5, 5);
    const QPoint drop = grab + (At(2.7, 1.7) - At(0, 0));
    CDesignView::SetDragRunner([drop](CDesignView* source, std::unique_ptr<QMimeData> data, Qt::DropActions) {
        source->OnDragEnter(data.get(), Qt::AltModifier, drop);
        source->OnDragOver(data.get(), Qt::AltModifier, drop);
        return source->OnDrop(data.get(), Qt::MoveAction, drop) ? Qt::MoveAction : Qt::IgnoreAction;
    });

    QTest::mousePress(input.viewport(), Qt::LeftButton, Qt::NoModifier, grab);
    QTest::mouseMove(input.viewport(), grab + QPoint(6, 6));
    QTest::mouseRelease(input.viewport(), Qt::LeftButton, Qt::NoModifier, grab + QPoint(6, 6));

    const kwvd::Rect after = element->GetSourceRect();
    EXPECT_EQ(after.left, before.left + 3 * Cell().width());
    EXPECT_EQ(after.top, before.top + 2 * Cell().height());
    EXPECT_EQ(after.Width(), before.Width());
    EXPECT_EQ(doc.GetElementList().GetCount(), count) << "moved within the pane, not copied";
}

// The report's text is drawn over the elements that mark it.
TEST_F(SourceViewTest, SpooledTextIsDrawnOverTheElements)
{
    // Line 2 holds X in columns 1 to 20; the element covers columns 1 to 30.
    CFormElement* element = AddSource(0, 1, 30, 2);
    ASSERT_NE(element, nullptr);
    input.DeselectAll(TRUE);
    const QImage image = input.viewport()->grab().toImage();
    const kwvd::Rect text =
        input.DocToClientRect(kwvd::Rect(0, Cell().height(), 20 * Cell().width(), 2 * Cell().height()));
    const kwvd::Rect blank = input.DocToClientRect(
        kwvd::Rect(22 * Cell().width(), Cell().height(), 30 * Cell().width(), 2 * Cell().height()));

    auto darkest = [&](const kwvd::Rect& r) {
        int value = 255;
        for (int y = r.top + 2; y < r.bottom - 2; ++y)
            for (int x = r.left + 2; x < r.right - 2; ++x)
                value = std::min(value, qGray(image.pixel(x, y)));
        return value;
    };
    const QColor fill = image.pixelColor(blank.left + 4, (blank.top + blank.bottom) / 2);
    EXPECT_NE(fill, QColor(Qt::white)) << "the element is drawn at its source rectangle";
    EXPECT_LT(darkest(text), 100) << "the text shows over the element";
    EXPECT_GT(darkest(blank), qGray(fill.rgb()) - 10) << "no text where the line is blank";
}

} // namespace
