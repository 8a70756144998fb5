#pragma once
// Reaching and driving the widgets of a settings page view in tests: each
// control is the child named with its id.

#include <QComboBox>
#include <QRadioButton>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace proppage_test {

template <class Widget>
Widget* Find(QWidget* parent, int id)
{
    auto* widget = parent->findChild<Widget*>(QString::number(id));
    EXPECT_NE(widget, nullptr) << "control " << id;
    return widget;
}

// The ids of the controls the Tab key can visit, in the order it does.
inline std::vector<int> TabOrder(QWidget* view)
{
    std::vector<int> ids;
    QWidget* widget = view;
    do {
        widget = widget->nextInFocusChain();
        bool isId = false;
        const int id = widget->objectName().toInt(&isId);
        if (isId && view->isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus))
            ids.push_back(id);
    } while (widget != view);
    return ids;
}

// A click on the button's own circle: a radio button spanning a wide cell
// takes no click beyond its text.
inline void ClickRadio(QRadioButton* radio)
{
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
}

// Chooses the entry of a drop-down list as the user does.
inline void ChooseEntry(QComboBox* list, const QString& entry)
{
    const int index = list->findText(entry);
    ASSERT_GE(index, 0) << entry.toStdString();
    list->setCurrentIndex(index);
    emit list->activated(index);
}

} // namespace proppage_test
