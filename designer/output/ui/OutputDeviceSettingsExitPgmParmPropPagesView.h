#pragma once
// The widgets of the exit program pages of the file and document-store
// sheets, one view for the family: the program and library where the page
// has them, and one row for each parameter, the short ones in their group.
// On a document-store page the label before each parameter is a static that
// the page fills from the device.

#include "designer/output/ui/OutputDevicePropPageSheetPage.h"
#include "designer/output/ui/OutputDevicePropPageView.h"
#include "designer/output/ui/OutputDeviceSettingsExitPgmParmPropPages.h"

#include <memory>

class COutputDeviceManager;

class CExitProgramParametersPageView : public COutputDevicePropPageView
{
public:
    CExitProgramParametersPageView(CExitProgramParametersPage& model, QWidget* parent = nullptr);
};

using COutputDeviceSettingsFileExitPgmPropPageView = CExitProgramParametersPageView;
using COutputDeviceSettingsFileExitPgmParmPropPageView = CExitProgramParametersPageView;
using COutputDeviceSettingsDocStoreExitPgmPropPageView = CExitProgramParametersPageView;
using COutputDeviceSettingsDocStoreExitPgmParmPropPageView = CExitProgramParametersPageView;

// The pages as their sheets add them, editing the sheet's device copy. The
// document-store pages also take the document's device manager, and store
// into the copy when the user leaves them.
std::unique_ptr<COutputDevicePropPageSheetPage> MakeFileExitPgmSheetPage(COutputDevice* device);
std::unique_ptr<COutputDevicePropPageSheetPage> MakeFileExitPgmParmSheetPage(COutputDevice* device);
std::unique_ptr<COutputDevicePropPageSheetPage> MakeDocStoreExitPgmSheetPage(COutputDevice* device,
                                                                             COutputDeviceManager* deviceManager);
std::unique_ptr<COutputDevicePropPageSheetPage> MakeDocStoreExitPgmParmSheetPage(COutputDevice* device,
                                                                                 COutputDeviceManager* deviceManager);
