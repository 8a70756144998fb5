#pragma once
// A tooltip combo box filled with the host CCSIDs the system knows, each
// shown as "<number> - <description>" with the CCSID as the item's data.

#include "designer/controls/XTipComboBox.h"

class CCSIDComboBox : public CXTipComboBox
{
public:
    using CXTipComboBox::CXTipComboBox;

    // Adds one item per table row, in table order; the box is not emptied first.
    void FillCCSIDs();
    // The index selected, or -1 (the selection left as it was) when no item
    // carries that CCSID.
    int SelectCCSID(int ccsid);
    // The CCSID of the selected item, 0 when none is selected.
    int SelectedCCSID() const;
};
