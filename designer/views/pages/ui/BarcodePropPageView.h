#pragma once
// Dialog 114 over CBarcodePropPage: the font description at the top, the
// Data or Position block, the barcode list with "&Settings", and "&Font".

#include "designer/views/pages/BarcodePropPage.h"
#include "designer/views/pages/ui/DataPositionBlockView.h"

class CBarcodePropPageView : public CDataPositionBlockView
{
public:
    CBarcodePropPageView(CBarcodePropPage& model, QWidget* parent);
};
