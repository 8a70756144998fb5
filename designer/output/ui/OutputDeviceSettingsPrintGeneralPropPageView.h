#pragma once
// The widgets of the three print "General" pages, made in the page's tab
// order: where the spooled file goes and its form on the left, drawer,
// copies and the data stream's own values on the right, the device's name
// below.

#include "designer/output/ui/OutputDevicePropPageView.h"
#include "designer/output/ui/OutputDeviceSettingsPrintGeneralPropPage.h"

class COutputDeviceSettingsPrintGenPropPageView : public COutputDevicePropPageView
{
public:
    COutputDeviceSettingsPrintGenPropPageView(COutputDeviceSettingsPrintGenPropPage& model, QWidget* parent = nullptr);

private:
    QWidget* MakeControl(int id);
    void Connect(int id, QWidget* widget);

    COutputDeviceSettingsPrintGenPropPage& m_page;
};
