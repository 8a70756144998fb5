#pragma once
// The widgets of the three destination pages: the group "Destination from
// spooled file" with the text or position choice, the destination type and
// the exit program, then the e-mail page's confirmation type.

#include "designer/output/ui/OutputDevicePropPageView.h"
#include "designer/output/ui/OutputDeviceSettingsDestinationPropPage.h"

class COutputDeviceSettingsDestinationPropPageView : public COutputDevicePropPageView
{
public:
    COutputDeviceSettingsDestinationPropPageView(COutputDeviceSettingsDestinationPropPage& model,
                                                 QWidget* parent = nullptr);
};
