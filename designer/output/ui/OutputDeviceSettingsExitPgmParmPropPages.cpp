#include "designer/output/ui/OutputDeviceSettingsExitPgmParmPropPages.h"

#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "platform/ui/StringTable.h"

namespace {

constexpr int kFileType = 6;
constexpr int kLastDocStoreParameter = 18;

} // namespace

CExitProgramParametersPage::CExitProgramParametersPage(UINT dialogId, int deviceType, int first, int last,
                                                       ProgramPlace programPlace)
    : COutputDevicePropPage(dialogId, {deviceType}), parameters(static_cast<size_t>(last - first + 1)), m_first(first),
      m_last(last), m_programPlace(programPlace)
{
    // Bound in the order the page shows them, so that a check stops at the
    // first control the user meets.
    const auto bindProgram = [this] {
        BindText(IDC_EXIT_PROGRAM, &exitProgram, kProgramLimit);
        BindText(IDC_EXIT_PROGRAM_LIBRARY, &exitProgramLibrary, kProgramLimit);
    };
    if (m_programPlace == ProgramPlace::Top)
        bindProgram();
    for (int n = m_first; n <= m_last; ++n)
        BindText(ParameterEditId(n), &Parameter(n), ParameterLimit(n));
    if (m_programPlace == ProgramPlace::Bottom)
        bindProgram();
}

QString& CExitProgramParametersPage::Parameter(int n)
{
    return parameters.at(static_cast<size_t>(n - m_first));
}

int CExitProgramParametersPage::ParameterLabelId(int) const
{
    return 0;
}

void CExitProgramParametersPage::ReadDevice(COutputDevice& source)
{
    // The parameter getter gives an Address child's placeholder where there
    // is one.
    for (int n = m_first; n <= m_last; ++n)
        source.GetParameter(n, Parameter(n));
    if (m_programPlace != ProgramPlace::None) {
        exitProgram = source.GetFileExitProgram();
        exitProgramLibrary = source.GetFileExitProgramLibrary();
    }
}

BOOL CExitProgramParametersPage::WriteDevice(COutputDevice& target)
{
    BOOL changed = FALSE;
    const auto storeProgram = [&] {
        changed |= target.SetFileExitProgram(exitProgram);
        changed |= target.SetFileExitProgramLibrary(exitProgramLibrary);
    };
    if (m_programPlace == ProgramPlace::Top)
        storeProgram();
    for (int n = m_first; n <= m_last; ++n)
        changed |= target.SetParameter(n, Parameter(n));
    if (m_programPlace == ProgramPlace::Bottom)
        storeProgram();
    return changed ? TRUE : FALSE;
}

CDocStoreParametersPage::CDocStoreParametersPage(UINT dialogId, int first, int last, ProgramPlace programPlace)
    : CExitProgramParametersPage(dialogId, COutputDevice::kDocStoreType, first, last, programPlace)
{
    // Until a device names them, the labels are the dialog's own texts.
    for (int n = first; n <= last; ++n)
        labels.push_back(GetLabel(ParameterLabelId(n)));
    for (int n = first; n <= last; ++n)
        BindText(ParameterLabelId(n), &labels[static_cast<size_t>(n - first)]);
}

BOOL CDocStoreParametersPage::OnInitDialog()
{
    UpdateData(false);
    return TRUE;
}

void CDocStoreParametersPage::OnSetActive()
{
    LoadFromDevice();
}

BOOL CDocStoreParametersPage::OnKillActive()
{
    if (!UpdateData(true))
        return FALSE;
    if (GetDevice())
        WriteDevice(*GetDevice());
    return TRUE;
}

void CDocStoreParametersPage::ReadDevice(COutputDevice& source)
{
    CExitProgramParametersPage::ReadDevice(source);
    UpdateParameterLabels(source);
}

void CDocStoreParametersPage::UpdateParameterLabels(const COutputDevice& source)
{
    // Position n of the list names parameter n: a document-store device's
    // list gives its document type's keys, then "ParameterN" up to 18.
    OutputDeviceAddressTypeList fields;
    if (!deviceManager || !deviceManager->FillAddressTypes(&source, fields)) {
        // Without the document there is no catalogue: the parameters are
        // named by their numbers, not by the fields of other device types.
        fields.clear();
        for (int n = 1; n <= kLastDocStoreParameter; ++n)
            fields.push_back(outputDeviceAddressType::FromString(IDS_ADDRESS_PARAMETER1 + static_cast<UINT>(n - 1),
                                                                 COutputDevice::ParameterSettingId(n - 1)));
    }
    for (int n = FirstParameter(); n <= LastParameter(); ++n) {
        if (static_cast<size_t>(n) <= fields.size())
            labels[static_cast<size_t>(n - FirstParameter())] = fields[static_cast<size_t>(n - 1)].name + u':';
    }
}

COutputDeviceSettingsFileExitPgmPropPage::COutputDeviceSettingsFileExitPgmPropPage()
    : CExitProgramParametersPage(IDD, kFileType, 1, 10, ProgramPlace::Top)
{}

COutputDeviceSettingsFileExitPgmParmPropPage::COutputDeviceSettingsFileExitPgmParmPropPage()
    : CExitProgramParametersPage(IDD, kFileType, 11, 20, ProgramPlace::None)
{}

COutputDeviceSettingsDocStoreExitPgmPropPage::COutputDeviceSettingsDocStoreExitPgmPropPage()
    : CDocStoreParametersPage(IDD, 1, 10, ProgramPlace::None)
{}

COutputDeviceSettingsDocStoreExitPgmParmPropPage::COutputDeviceSettingsDocStoreExitPgmParmPropPage()
    : CDocStoreParametersPage(IDD, 11, kLastDocStoreParameter, ProgramPlace::Bottom)
{}
