#pragma once
// Dialog 169 over CVariablePropPage: the name box (the document's variable
// names, no blank or question mark, at most 10 characters) above the Data
// or Position block.

#include "designer/views/pages/VariablePropPage.h"
#include "designer/views/pages/ui/DataPositionBlockView.h"

class CSelectiveComboBox;

class CVariablePropPageView : public CDataPositionBlockView
{
public:
    CVariablePropPageView(CVariablePropPage& model, QWidget* parent);

    CSelectiveComboBox* NameBox() const { return m_name; }

private:
    CSelectiveComboBox* m_name;
};
