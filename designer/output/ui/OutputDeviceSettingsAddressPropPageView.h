#pragma once
// The widgets of the two "Address" pages: one labelled edit per row, in tab
// order, after the e-mail page's envelope-type list.

#include "designer/output/ui/OutputDevicePropPageView.h"
#include "designer/output/ui/OutputDeviceSettingsAddressPropPage.h"

class COutputDeviceSettingsAddressPropPageView : public COutputDevicePropPageView
{
public:
    COutputDeviceSettingsAddressPropPageView(COutputDeviceSettingsAddressPropPage& model, QWidget* parent = nullptr);
};
