#pragma once
// The widgets of the five "Page" pages: the first-page group with the
// comparison, the text choice and the position choice, then the start line
// and the cover page where the page has them.

#include "designer/output/ui/OutputDevicePropPageView.h"
#include "designer/output/ui/OutputDeviceSettingsPagePropPage.h"

class COutputDeviceSettingsPagePropPageView : public COutputDevicePropPageView
{
public:
    COutputDeviceSettingsPagePropPageView(COutputDeviceSettingsPagePropPage& model, QWidget* parent = nullptr);
};
