#pragma once
// Dialog 133 over COptionsDirectoryPropPage: three folders, each with "...".

#include "designer/shell/OptionsDirectoryPropPage.h"
#include "designer/shell/OptionsPropPageView.h"

class COptionsDirectoryPropPageView : public COptionsPropPageView
{
public:
    COptionsDirectoryPropPageView(COptionsDirectoryPropPage& model, QWidget* parent = nullptr);
};
