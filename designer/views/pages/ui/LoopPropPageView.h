#pragma once
// Dialog 130 "Loop" over CLoopPropPage: the start line and the height with
// their up-downs, the two end boxes and the increment box.

#include "designer/views/pages/LoopPropPage.h"
#include "designer/views/pages/ui/ElementPropPageView.h"

class CLoopPropPageView : public CElementPropPageView
{
public:
    CLoopPropPageView(CLoopPropPage& model, QWidget* parent);

protected:
    std::pair<int, int> UpDownRange(int editId) const override;

private:
    CLoopPropPage& m_page;
};
