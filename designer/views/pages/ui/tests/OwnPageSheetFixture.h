#pragma once
// The shown property sheet of the element page tests on the element's own
// page, with its controls found by id and its picture saved.

#include "designer/views/pages/tests/TextKindPageFixture.h"
#include "designer/views/pages/ui/ElementPropertySheetWnd.h"
#include "designer/views/pages/ui/tests/SheetTestFrame.h"

#include <QCoreApplication>
#include <QTest>

#include <memory>

class OwnPageSheetTest : public TextKindPageTest
{
protected:
    ~OwnPageSheetTest() override { shown.reset(); }

    CElementPropertySheetWnd& Window() const { return static_cast<CElementPropertySheetWnd&>(*shown->GetWindow()); }

    // The sheet shown on the element's own page.
    QWidget* ShowOwnPage(CFormElement* element)
    {
        shown->SetElement(element);
        shown->ShowSheet();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Window()));
        shown->SetActivePageIndex(1);
        // A view made for a shown window appears once its show is delivered.
        QCoreApplication::processEvents();
        return Window().PageView(1);
    }

    // The control, which the view must have.
    template <class Widget>
    Widget* Find(QWidget* view, int id) const
    {
        auto* widget = FindControl<Widget>(view, id);
        EXPECT_NE(widget, nullptr) << id;
        return widget;
    }

    void SavePicture(const char* name) { SaveSheetPicture(Window(), name); }

    std::unique_ptr<CElementPropertySheet> shown = CElementPropertySheetWnd::Create(nullptr, nullptr);
};
