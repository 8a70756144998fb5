#pragma once
// The widgets of the fax "General" page, one row each in tab order.

#include "designer/output/ui/OutputDevicePropPageView.h"
#include "designer/output/ui/OutputDeviceSettingsFaxGeneralPropPage.h"

class COutputDeviceSettingsFaxGenPropPageView : public COutputDevicePropPageView
{
public:
    COutputDeviceSettingsFaxGenPropPageView(COutputDeviceSettingsFaxGenPropPage& model, QWidget* parent = nullptr);
};
