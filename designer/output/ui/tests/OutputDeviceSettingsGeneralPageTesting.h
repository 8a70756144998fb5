#pragma once
// What the tests of the "General" pages share: the strings registered
// before a page is made, finding a control by its id, the order Tab
// follows, and a window made active for the keys.

#include "designer/output/OutputClasses.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

// A fixture's first member: the pages read their lists from the string
// table when they are made.
struct OutputStringsRegistered
{
    OutputStringsRegistered()
    {
        RegisterOutputClasses();
        RegisterOutputStrings();
    }
};

template <class Widget>
Widget* FindControl(QWidget* parent, int id)
{
    auto* widget = parent->findChild<Widget*>(QString::number(id));
    EXPECT_NE(widget, nullptr) << "control " << id;
    return widget;
}

// The controls Tab meets from the control first on, each once.
inline std::vector<int> TabChain(QWidget* view, int first)
{
    std::vector<int> chain;
    QWidget* start = FindControl<QWidget>(view, first);
    if (!start)
        return chain;
    QWidget* widget = start;
    do {
        bool isNumber = false;
        const int id = widget->objectName().toInt(&isNumber);
        if (isNumber && (widget->focusPolicy() & Qt::TabFocus) != 0)
            chain.push_back(id);
        widget = widget->nextInFocusChain();
    } while (widget != start && chain.size() < 100);
    return chain;
}

// Shown and active, so that the focus and the keys reach it.
inline bool ShowActive(QWidget& window)
{
    window.show();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}
