#pragma once
// What the tests of the "General" pages share: the strings registered
// before a page is made, a page model on its device, finding a control by its id, the order Tab
// follows, and a window made active for the keys.

#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "tests/support/ScopedPrompts.h"

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

// A page model on a new device of its type, its dialog initialised as its
// view would have it; typing and choosing as the user would.
template <class PageClass>
class GeneralPageModelTest : public ::testing::Test
{
protected:
    using Page = PageClass;

    GeneralPageModelTest(int deviceType, const char* deviceName)
        : device(deviceType, QString::fromLatin1(deviceName), QString())
    {
        page.SetDevice(&device);
        page.OnInitDialog();
    }

    void Type(int id, const QString& text) { page.Control(id).text = text; }
    void Choose(int id, const QString& entry)
    {
        DialogControlState& list = page.Control(id);
        list.selection = static_cast<int>(list.items.indexOf(entry));
        ASSERT_GE(list.selection, 0) << entry.toStdString();
    }
    const DialogControlState& State(int id) { return page.Control(id); }

    OutputStringsRegistered registered;
    ScopedPromptAnswers prompts;
    COutputDevice device;
    Page page;
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
