#pragma once
// The widgets of the document-store "General" page: the name, the store
// and document type lists with their descriptions and Refresh, the
// description, then the "File" group.

#include "designer/output/ui/OutputDevicePropPageView.h"
#include "designer/output/ui/OutputDeviceSettingsDocStoreGenPropPage.h"

class COutputDeviceSettingsDocStoreGenPropPageView : public COutputDevicePropPageView
{
public:
    COutputDeviceSettingsDocStoreGenPropPageView(COutputDeviceSettingsDocStoreGenPropPage& model,
                                                 QWidget* parent = nullptr);

protected:
    // The entries' origins go to the lists, which draw them by it.
    void AfterShow() override;

private:
    COutputDeviceSettingsDocStoreGenPropPage& m_page;
};
