#include "designer/output/ui/OutputDeviceSettingsDspDialog.h"

#include "designer/output/OutputClasses.h"
#include "platform/ui/HelpPrompt.h"
#include "platform/ui/StringTable.h"

namespace {

// The rotation codes of the list's entries; any other code shows as "*DOC".
constexpr int kPortrait = 0;
constexpr int kLandscape = 1;
constexpr int kDocRotation = 4;

} // namespace

COutputDeviceSettingsDspDialog::COutputDeviceSettingsDspDialog()
{
    BindText(IDC_DOCUMENT, &documentName, kDocumentLimit);
    BindText(IDC_FOLDER, &folder, kFolderLimit);
    BindText(IDC_TARGET_ADDRESS, &targetAddress, kTargetAddressLimit);
    BindText(IDC_PC_PATH, &pcPath, kPcPathLimit);
    BindInt(IDC_PORT, &port, kPortMin, kPortMax);
    BindSelection(IDC_ROTATION, &m_rotationIndex);
    BindText(IDC_FONT_GROUP, &fontGroupText, kFontGroupLimit);
    Control(IDC_ROTATION).items = RotationTexts();
    Control(IDC_NAME);
}

QStringList COutputDeviceSettingsDspDialog::RotationTexts()
{
    return {LoadResString(IDS_PORTRAIT), LoadResString(IDS_LANDSCAPE), LoadResString(IDS_DOC)};
}

BOOL COutputDeviceSettingsDspDialog::SetDevice(COutputDevice* device)
{
    if (device == nullptr || device == m_device || device->GetType() != kDeviceType)
        return FALSE;
    m_deviceCopy.Copy(device);
    m_device = device;
    if (m_windowCreated)
        LoadFromDevice();
    return TRUE;
}

BOOL COutputDeviceSettingsDspDialog::OnInitDialog()
{
    m_windowCreated = true;
    LoadFromDevice();
    return TRUE;
}

void COutputDeviceSettingsDspDialog::LoadFromDevice()
{
    documentName = m_deviceCopy.GetDisplayDocument();
    if (documentName.isEmpty())
        documentName = m_deviceCopy.GetName();
    folder = m_deviceCopy.GetDisplayFolder();
    pcPath = m_deviceCopy.GetDisplayServerPath();
    targetAddress = m_deviceCopy.GetDisplayTargetAddress();
    port = m_deviceCopy.GetDisplayPort();
    const QStringList texts = RotationTexts();
    switch (m_deviceCopy.GetRotation()) {
    case kPortrait:
        rotationText = texts.at(0);
        break;
    case kLandscape:
        rotationText = texts.at(1);
        break;
    default:
        rotationText = texts.at(2);
        break;
    }
    fontGroupText = m_deviceCopy.GetFontGroup();
    Control(IDC_NAME).text = m_deviceCopy.GetName();
    PushControls();
}

BOOL COutputDeviceSettingsDspDialog::SaveToDevice()
{
    if (!PullControls())
        return FALSE;
    BOOL changed = FALSE;
    // Every setter runs, also after one has reported a change.
    changed |= m_deviceCopy.SetDisplayDocument(documentName);
    changed |= m_deviceCopy.SetDisplayFolder(folder);
    changed |= m_deviceCopy.SetDisplayServerPath(pcPath);
    changed |= m_deviceCopy.SetDisplayTargetAddress(targetAddress);
    if (port >= kPortMin && port <= kPortMax)
        changed |= m_deviceCopy.SetDisplayPort(port);
    const QStringList texts = RotationTexts();
    const int rotation = rotationText == texts.at(0)   ? kPortrait
                         : rotationText == texts.at(1) ? kLandscape
                                                       : kDocRotation;
    // The device takes 0, 1 and 4 from their number text on a display device.
    changed |= m_deviceCopy.SetRotationText(QString::number(rotation));
    changed |= m_deviceCopy.SetFontGroup(fontGroupText);
    return changed;
}

bool COutputDeviceSettingsDspDialog::OnOK()
{
    if (!PullControls())
        return false;
    SaveToDevice();
    if (m_device != nullptr)
        m_device->Copy(&m_deviceCopy);
    return true;
}

void COutputDeviceSettingsDspDialog::OnHelp(QObject* window)
{
    const HelpPromptContextScope context(kHelpContext);
    HelpRequest request;
    request.contextType = HELPINFO_WINDOW;
    request.item = window;
    request.owner = window;
    request.contextId = kHelpContext;
    SendHelpRequest(request);
}

void COutputDeviceSettingsDspDialog::PushControls()
{
    m_rotationIndex = static_cast<int>(Control(IDC_ROTATION).items.indexOf(rotationText));
    Push();
    if (m_controlsPushed)
        m_controlsPushed();
}

bool COutputDeviceSettingsDspDialog::PullControls()
{
    if (!Pull())
        return false;
    rotationText = Control(IDC_ROTATION).items.value(m_rotationIndex);
    return true;
}
