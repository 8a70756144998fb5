#pragma once
// The property sheet's window over the pages of the Data or Position block:
// the sheet made on a layout frame of its own and shown on an element's own
// page.

#include "designer/views/pages/ElementPropertySheet.h"
#include "designer/views/pages/tests/DataPositionPageFixture.h"
#include "designer/views/pages/ui/ElementPropertySheetWnd.h"
#include "designer/views/pages/ui/tests/SheetTestFrame.h"

#include <QTest>

#include <memory>

class KindSheetWindowTest : public DataPositionPageTest
{
protected:
    KindSheetWindowTest() : sheet(CElementPropertySheetWnd::Create(&frame, nullptr)) {}
    ~KindSheetWindowTest() override { sheet.reset(); }

    CElementPropertySheetWnd& Window() const { return static_cast<CElementPropertySheetWnd&>(*sheet->GetWindow()); }

    // The sheet on the element with its own page active.
    QWidget* ShowKindPage(CFormElement* element)
    {
        sheet->SetElement(element);
        sheet->ShowSheet();
        sheet->SetActivePageIndex(1);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Window()));
        return Window().PageView(1);
    }

    template <class Widget>
    static Widget* Find(QWidget* view, int id)
    {
        return FindControl<Widget>(view, id);
    }

    void SavePicture(const char* name) { SaveSheetPicture(Window(), name); }

    LayoutFrame frame;
    std::unique_ptr<CElementPropertySheet> sheet;
};
