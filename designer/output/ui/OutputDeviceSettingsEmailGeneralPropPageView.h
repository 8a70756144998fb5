#pragma once
// The widgets of the e-mail "General" page: the queueing values, then the
// attachment's group, then start line and name.

#include "designer/output/ui/OutputDevicePropPageView.h"
#include "designer/output/ui/OutputDeviceSettingsEmailGeneralPropPage.h"

class COutputDeviceSettingsEmailGenPropPageView : public COutputDevicePropPageView
{
public:
    COutputDeviceSettingsEmailGenPropPageView(COutputDeviceSettingsEmailGenPropPage& model, QWidget* parent = nullptr);
};
