#pragma once
// Dialog 165 over CResourcePropPage: the resource list in the "File name"
// group with "&Reload" and "&Browse...", the export format and the JPEG
// quality.

#include "designer/views/pages/ResourcePropPage.h"
#include "designer/views/pages/ui/ElementPropPageView.h"

class CResourcePropPageView : public CElementPropPageView
{
public:
    CResourcePropPageView(CResourcePropPage& model, QWidget* parent);
};
