// The settings commands of the manager: a device's settings window run on a
// working copy, and what OK and Cancel do with it.

#include "designer/document/DesignerDoc.h"
#include "designer/elements/FormOutputElement.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"

#include <vector>

namespace {

OutputDeviceSettingsWindowFactory g_settingsWindows;

} // namespace

OutputDeviceSettingsWindowFactory SetOutputDeviceSettingsWindowFactory(OutputDeviceSettingsWindowFactory factory)
{
    std::swap(g_settingsWindows, factory);
    return factory;
}

BOOL COutputDeviceManager::EditDeviceSettings(int index, QWidget* parent)
{
    return EditSettings(parent, GetDevice(index));
}

BOOL COutputDeviceManager::EditSettings(QWidget* parent, COutputDevice* device)
{
    if (device == nullptr || device->GetType() < 0 || device->GetType() > COutputDevice::kMaxType || !g_settingsWindows)
        return FALSE;
    OutputDeviceSettingsContext context;
    context.xmlDocument = GetXmlDocumentFlag();
    context.deviceManager = this;
    context.docStoreManager = m_pDocument != nullptr ? m_pDocument->GetDocStoreManager() : nullptr;
    std::unique_ptr<IOutputDeviceSettingsWindow> window = g_settingsWindows(parent, device->GetType(), context);
    if (!window)
        return FALSE;

    // The copy takes the users along, so look-ups through them see the
    // document's elements; what it would move there waits for OK.
    COutputDevice* copy = window->GetDeviceCopy();
    if (copy != nullptr) {
        copy->Copy(device);
        copy->StartAddressRecording();
    } else {
        window->SetDevice(device);
    }
    window->AddPages();
    const BOOL ok = window->DoModal();
    if (ok && copy != nullptr) {
        copy->ApplyRecordedAddresses();
        device->Copy(copy);
    }
    window.reset();
    if (!ok)
        return FALSE;

    // A user may leave the device while it checks itself.
    const std::vector<CFormOutputElement*> users = device->GetUsers();
    for (CFormOutputElement* user : users) {
        if (user != nullptr)
            user->Revalidate(0);
    }
    return TRUE;
}
