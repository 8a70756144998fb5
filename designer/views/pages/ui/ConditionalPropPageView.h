#pragma once
// Dialog 115 "Conditional" over CConditionalPropPage: the comparison (the
// subject and operator lists and the Data edit), the position group with
// Force Absolute, the width, and Break Loop.

#include "designer/views/pages/ConditionalPropPage.h"
#include "designer/views/pages/ui/ElementPropPageView.h"

class CConditionalPropPageView : public CElementPropPageView
{
public:
    CConditionalPropPageView(CConditionalPropPage& model, QWidget* parent);

protected:
    std::pair<int, int> UpDownRange(int editId) const override;

private:
    CConditionalPropPage& m_page;
};
