#pragma once
// Dialog 156 over COutputPropPage: "Name:" with the device's name (read
// only) and "S&elect", "Type:" with the type's title and "&Settings".

#include "designer/views/pages/OutputPropPage.h"
#include "designer/views/pages/ui/ElementPropPageView.h"

class COutputPropPageView : public CElementPropPageView
{
public:
    COutputPropPageView(COutputPropPage& model, QWidget* parent);

private:
    // The button's action, then the model's state shown, unless the sheet
    // rebuilt its pages meanwhile and this view went with them.
    void RunButton(void (COutputPropPage::*action)(QWidget*));

    COutputPropPage& m_page;
};

// The page's view factory in the element property sheet's window.
void RegisterOutputPropPageView();
