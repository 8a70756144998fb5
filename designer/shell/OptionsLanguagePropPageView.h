#pragma once
// Dialog 135 over COptionsLanguagePropPage.

#include "designer/shell/OptionsLanguagePropPage.h"
#include "designer/shell/OptionsPropPageView.h"

class COptionsLanguagePropPageView : public COptionsPropPageView
{
public:
    COptionsLanguagePropPageView(COptionsLanguagePropPage& model, QWidget* parent = nullptr);
};
