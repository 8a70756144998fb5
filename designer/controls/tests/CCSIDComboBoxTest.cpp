#include "designer/controls/CCSIDComboBox.h"

#include "designer/controls/tests/ControlsTestSupport.h"

#include <QAbstractItemView>
#include <QMouseEvent>
#include <QTest>

namespace {

using CCSIDComboBoxTest = ControlsTest;

TEST_F(CCSIDComboBoxTest, FillAddsTheTableInOrderWithTheCcsidAsData)
{
    CCSIDComboBox box;
    box.FillCCSIDs();
    ASSERT_EQ(box.count(), 72);
    EXPECT_EQ(box.itemText(7), QStringLiteral("285 - United Kingdom"));
    EXPECT_EQ(box.itemData(7).toInt(), 285);
    EXPECT_EQ(box.itemText(71), QStringLiteral("13488 - UCS-2 Level 1"));
    box.FillCCSIDs();
    EXPECT_EQ(box.count(), 144); // not emptied first
}

TEST_F(CCSIDComboBoxTest, SelectByCcsid)
{
    CCSIDComboBox box;
    EXPECT_EQ(box.SelectedCCSID(), 0);
    box.FillCCSIDs();
    EXPECT_EQ(box.SelectCCSID(285), 7);
    EXPECT_EQ(box.SelectedCCSID(), 285);
    EXPECT_EQ(box.SelectCCSID(999), -1);
    EXPECT_EQ(box.currentIndex(), 7);
    // The same description twice: the numbers and data tell them apart.
    const int first = box.SelectCCSID(37);
    const int second = box.SelectCCSID(1140);
    EXPECT_NE(first, second);
    EXPECT_TRUE(box.itemText(first).startsWith(QStringLiteral("37 - USA")));
    EXPECT_TRUE(box.itemText(second).startsWith(QStringLiteral("1140 - USA")));
    EXPECT_EQ(box.itemText(first).mid(2), box.itemText(second).mid(4));
}

void MoveOver(QWidget* target, QPoint pos)
{
    QMouseEvent event(QEvent::MouseMove, pos, target->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

TEST_F(CCSIDComboBoxTest, TheBoxShowsATipOnlyForATextThatDoesNotFit)
{
    CCSIDComboBox box;
    box.FillCCSIDs();
    box.resize(160, 24);
    box.show();
    box.SelectCCSID(285);
    MoveOver(&box, QPoint(10, 10));
    EXPECT_FALSE(box.Tip().isVisible());

    box.SelectCCSID(37);
    MoveOver(&box, QPoint(10, 10));
    ASSERT_TRUE(box.Tip().isVisible());
    EXPECT_EQ(box.Tip().text(), box.currentText());
    EXPECT_EQ(box.Tip().pos(), box.mapToGlobal(QPoint(1, 3)));
    const QColor unfocused = box.Tip().palette().color(QPalette::Window);
    EXPECT_EQ(unfocused, box.palette().color(QPalette::Base));

    // Over the drop-down button the tip goes.
    MoveOver(&box, QPoint(box.width() - 3, 10));
    EXPECT_FALSE(box.Tip().isVisible());

    box.activateWindow();
    box.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return box.hasFocus(); }, 5000));
    MoveOver(&box, QPoint(10, 10));
    ASSERT_TRUE(box.Tip().isVisible());
    EXPECT_EQ(box.Tip().palette().color(QPalette::Window), box.palette().color(QPalette::Highlight));
    EXPECT_EQ(box.Tip().palette().color(QPalette::WindowText), box.palette().color(QPalette::HighlightedText));
}

TEST_F(CCSIDComboBoxTest, TheListShowsATipForTheHoveredItemThatDoesNotFit)
{
    CCSIDComboBox box;
    box.FillCCSIDs();
    box.resize(160, 24);
    box.show();
    box.showPopup();
    QAbstractItemView* view = box.view();
    view->setMinimumWidth(0);
    view->window()->resize(160, 300);
    ASSERT_NE(box.ListBox(), nullptr);
    const QRect shortItem = view->visualRect(box.model()->index(7, 0));
    MoveOver(view->viewport(), shortItem.center());
    EXPECT_EQ(box.ListBox()->LastHovered(), 7);
    EXPECT_FALSE(box.ListBox()->Tip().isVisible());

    const QRect longItem = view->visualRect(box.model()->index(0, 0));
    MoveOver(view->viewport(), longItem.center());
    EXPECT_EQ(box.ListBox()->LastHovered(), 0);
    ASSERT_TRUE(box.ListBox()->Tip().isVisible());
    EXPECT_EQ(box.ListBox()->Tip().text(), box.itemText(0));
    box.hidePopup();
}

} // namespace
