#pragma once
// The widgets of the file "General" page: the "File" group, then the name.

#include "designer/output/ui/OutputDevicePropPageView.h"
#include "designer/output/ui/OutputDeviceSettingsFileGeneralPropPage.h"

class COutputDeviceSettingsFileGenPropPageView : public COutputDevicePropPageView
{
public:
    COutputDeviceSettingsFileGenPropPageView(COutputDeviceSettingsFileGenPropPage& model, QWidget* parent = nullptr);
};
