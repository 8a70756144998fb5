#pragma once
// The widgets of the Data or Position block, for the views of the pages
// built on CDataPositionBlock: the "Data:" radio with its edit, the
// "Or Position:" radio, the position group (column, line, Force Absolute)
// and the size group (width), each number edit with its up-down.

#include "designer/views/pages/DataPositionBlock.h"
#include "designer/views/pages/ui/ElementPropPageView.h"

class QLayout;
class QRadioButton;

class CDataPositionBlockView : public CElementPropPageView
{
public:
    CDataPositionBlockView(CDataPositionBlock& model, QWidget* parent);

protected:
    // The block's widgets, laid out below what the page puts above them.
    QLayout* BlockLayout();
    QRadioButton* Radio(int id);

    std::pair<int, int> UpDownRange(int editId) const override;

private:
    CDataPositionBlock& m_block;
};
