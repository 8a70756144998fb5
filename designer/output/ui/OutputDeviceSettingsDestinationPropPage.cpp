#include "designer/output/ui/OutputDeviceSettingsDestinationPropPage.h"

#include "designer/output/OutputDevice.h"
#include "platform/ui/PromptService.h"
#include "platform/ui/StringTable.h"

#include <iterator>

namespace {

const QString kExitProgram = QStringLiteral("Exit Program");
const QString kLibraryList = QStringLiteral("*LIBL");

// The device's confirmation type for each entry of the list.
constexpr int kConfirmationValues[] = {0, 10, 20, 30};
constexpr int kConfirmationCount = static_cast<int>(std::size(kConfirmationValues));

int ConfirmationIndex(int value)
{
    for (int index = 1; index < kConfirmationCount; ++index) {
        if (kConfirmationValues[index] == value)
            return index;
    }
    return 0;
}

int ConfirmationValue(int index)
{
    return index >= 0 && index < kConfirmationCount ? kConfirmationValues[index] : 0;
}

} // namespace

COutputDeviceSettingsDestinationPropPage::COutputDeviceSettingsDestinationPropPage(
    UINT dialogId, std::initializer_list<int> acceptedTypes, const Variant& variant)
    : COutputDevicePropPage(dialogId, acceptedTypes), m_textLimit(variant.textLimit), m_widthMax(variant.widthMax),
      m_scanText(variant.scanText), m_blanksExitProgram(variant.blanksExitProgram),
      m_hasConfirmation(variant.hasConfirmation)
{
    // The lists' items are the dialog's own data, one per line.
    Control(IDC_TYPE).items = GetListItems(IDC_TYPE);
    if (m_hasConfirmation)
        Control(IDC_CONFIRMATION).items = GetListItems(IDC_CONFIRMATION);

    BindCheck(IDC_TEXT_MODE, &m_textModeChecked);
    BindCheck(IDC_POSITION_MODE, &m_positionModeChecked);
    BindText(IDC_TEXT, &text, m_textLimit);
    BindIntWithUpDown(IDC_COLUMN, IDC_COLUMN_SPIN, &column, 0, kPositionMax);
    BindIntWithUpDown(IDC_WIDTH, IDC_WIDTH_SPIN, &width, 0, m_widthMax);
    BindIntWithUpDown(IDC_LINE, IDC_LINE_SPIN, &line, 0, kPositionMax);
    BindSelection(IDC_TYPE, &m_typeIndex);
    BindText(IDC_PROGRAM, &program, kProgramLimit);
    BindText(IDC_LIBRARY, &library, kProgramLimit);
    if (m_hasConfirmation)
        BindSelection(IDC_CONFIRMATION, &confirmationIndex);
}

void COutputDeviceSettingsDestinationPropPage::ReadDevice(COutputDevice& source)
{
    text = m_scanText ? source.GetDestinationScanText() : source.GetDestinationText();
    column = source.GetDestinationColumn();
    line = source.GetDestinationLine();
    width = source.GetDestinationWidth();
    type.clear();
    source.GetDestinationTypeText(source.GetDestinationType(), type);
    program = source.GetDestinationExitProgram();
    library = source.GetDestinationExitLibrary();
    // The mode is not stored: a device with a text opens in text mode.
    mode = text.isEmpty() ? ModePosition : ModeText;
    if (m_hasConfirmation)
        confirmationIndex = ConfirmationIndex(source.GetConfirmationType());
}

BOOL COutputDeviceSettingsDestinationPropPage::WriteDevice(COutputDevice& target)
{
    return AnyChanged({
        m_scanText ? target.SetDestinationScanText(text) : target.SetDestinationText(text),
        target.SetDestinationColumn(column),
        target.SetDestinationLine(line),
        target.SetDestinationWidth(width),
        target.SetDestinationTypeText(type),
        target.SetDestinationExitProgram(program),
        target.SetDestinationExitLibrary(library),
        m_hasConfirmation && target.SetConfirmationType(ConfirmationValue(confirmationIndex)),
    });
}

void COutputDeviceSettingsDestinationPropPage::BeforePush()
{
    m_textModeChecked = mode == ModeText ? 1 : 0;
    m_positionModeChecked = mode == ModePosition ? 1 : 0;
    m_typeIndex = static_cast<int>(Control(IDC_TYPE).items.indexOf(type));
}

void COutputDeviceSettingsDestinationPropPage::AfterPull()
{
    mode = m_textModeChecked ? ModeText : m_positionModeChecked ? ModePosition : ModeNone;
    // A stored type this page does not list shows no entry and is kept.
    const QStringList& items = Control(IDC_TYPE).items;
    if (m_typeIndex >= 0 && m_typeIndex < items.size())
        type = items[m_typeIndex];
}

void COutputDeviceSettingsDestinationPropPage::EnableControls()
{
    const bool position = mode == ModePosition;
    EnableControl(IDC_TEXT, !position);
    EnableControl(IDC_LINE, position);
    EnableControl(IDC_LINE_SPIN, position);
    const bool exitProgram = type.contains(kExitProgram);
    EnableControl(IDC_PROGRAM, exitProgram);
    EnableControl(IDC_LIBRARY, exitProgram);
    if (!exitProgram && m_blanksExitProgram) {
        // The members follow the controls, so that what is shown is stored.
        program.clear();
        library = kLibraryList;
        Control(IDC_PROGRAM).text = program;
        Control(IDC_LIBRARY).text = library;
    }
}

BOOL COutputDeviceSettingsDestinationPropPage::OnApply()
{
    if (!UpdateData(true))
        return FALSE;
    if (type == kExitProgram && program.isEmpty()) {
        Prompts().MessageBox(LoadResString(IDS_EXIT_PROGRAM_REQUIRED), {}, MB_OK | MB_ICONEXCLAMATION);
        SetRefusedControl(IDC_PROGRAM);
        return FALSE;
    }
    SaveToDevice();
    return COutputDevicePropPage::OnApply();
}

bool COutputDeviceSettingsDestinationPropPage::OnChoiceChanged()
{
    if (!UpdateData(true))
        return false;
    EnableControls();
    return true;
}

bool COutputDeviceSettingsDestinationPropPage::OnPositionModeClicked()
{
    if (!UpdateData(true))
        return false;
    text.clear();
    EnableControls();
    UpdateData(false);
    return true;
}
