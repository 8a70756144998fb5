#include "designer/output/ui/OutputDeviceSettingsPrintGeneralPropPage.h"

#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/ui/OutputDeviceSettingsOffsetsDialogView.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptService.h"
#include "platform/ui/StringTable.h"

#include <algorithm>

namespace {

using Page = COutputDeviceSettingsPrintGenPropPage;

std::vector<int> TabOrderOf(Page::Kind kind)
{
    switch (kind) {
    case Page::Scs:
        return {Page::IDC_PRINTER_DEVICE,
                Page::IDC_OUTPUT_QUEUE,
                Page::IDC_LIBRARY,
                Page::IDC_USER_DATA,
                Page::IDC_FORM,
                Page::IDC_HOLD,
                Page::IDC_SAVE,
                Page::IDC_DRAWER,
                Page::IDC_COPIES,
                Page::IDC_COPIES_NUMBER,
                Page::IDC_COPIES_FROM_SPOOLED_FILE,
                Page::IDC_LPI,
                Page::IDC_CPI,
                Page::IDC_PAGE_HEIGHT,
                Page::IDC_SCS_ROTATION,
                Page::IDC_START_LINE,
                Page::IDC_NAME,
                Page::IDC_PAGE_WIDTH};
    case Page::Afp:
        return {Page::IDC_PRINTER_DEVICE,
                Page::IDC_OUTPUT_QUEUE,
                Page::IDC_LIBRARY,
                Page::IDC_USER_DATA,
                Page::IDC_FORM,
                Page::IDC_HOLD,
                Page::IDC_SAVE,
                Page::IDC_PDF_DATASTREAM,
                Page::IDC_DRAWER,
                Page::IDC_COPIES,
                Page::IDC_COPIES_NUMBER,
                Page::IDC_COPIES_FROM_SPOOLED_FILE,
                Page::IDC_ROTATION,
                Page::IDC_FONT_GROUP,
                Page::IDC_PRINTER_RESOURCE,
                Page::IDC_AFP_DUPLEX,
                Page::IDC_NAME};
    case Page::Hpt:
        break;
    }
    return {Page::IDC_OFFSETS,       Page::IDC_PRINTER_DEVICE,
            Page::IDC_DRAWER,        Page::IDC_OUTPUT_QUEUE,
            Page::IDC_COPIES_NUMBER, Page::IDC_COPIES_FROM_SPOOLED_FILE,
            Page::IDC_COPIES,        Page::IDC_LIBRARY,
            Page::IDC_USER_DATA,     Page::IDC_ROTATION,
            Page::IDC_FORM,          Page::IDC_NO_PRINT_BORDER,
            Page::IDC_HOLD,          Page::IDC_SAVE,
            Page::IDC_FONT_GROUP,    Page::IDC_HPT_DUPLEX,
            Page::IDC_NAME};
}

QString EmptyForZero(int value)
{
    return value == 0 ? QString() : QString::number(value);
}

void RunOffsetsDialog(COutputDevice* device)
{
    COutputDeviceSettingsOffsetsDialogView dialog;
    if (device)
        dialog.SetDevice(device);
    dialog.exec();
}

} // namespace

COutputDeviceSettingsPrintGenPropPage::COutputDeviceSettingsPrintGenPropPage(UINT dialogId, Kind kind)
    : COutputDevicePropPage(dialogId, {static_cast<int>(kind)}), m_kind(kind), m_tabOrder(TabOrderOf(kind)),
      m_runOffsets(RunOffsetsDialog)
{
    for (const int id :
         {IDC_PRINTER_DEVICE, IDC_OUTPUT_QUEUE, IDC_LPI, IDC_CPI, IDC_SCS_ROTATION, IDC_AFP_DUPLEX, IDC_HPT_DUPLEX}) {
        if (std::find(m_tabOrder.begin(), m_tabOrder.end(), id) != m_tabOrder.end())
            Control(id).items = GetListItems(id);
    }
    if (m_kind != Scs)
        Control(IDC_ROTATION).items = PortraitLandscapeTexts();
    for (const int id : m_tabOrder)
        BindControl(id);
}

void COutputDeviceSettingsPrintGenPropPage::BindControl(int id)
{
    enum Way {
        Text,
        List,
        Check
    };
    struct Binding
    {
        int id;
        Way way;
        QString Page::*text;
        int Page::*number;
        int limit;
    };
    static const Binding bindings[] = {
        {IDC_PRINTER_DEVICE, Text, &Page::printerDevice, nullptr, kNameLimit},
        {IDC_OUTPUT_QUEUE, Text, &Page::outputQueue, nullptr, kNameLimit},
        {IDC_LIBRARY, Text, &Page::library, nullptr, kNameLimit},
        {IDC_USER_DATA, Text, &Page::userData, nullptr, kNameLimit},
        {IDC_FORM, Text, &Page::formType, nullptr, kNameLimit},
        {IDC_HOLD, Check, nullptr, &Page::hold, 0},
        {IDC_SAVE, Check, nullptr, &Page::save, 0},
        {IDC_PDF_DATASTREAM, Check, nullptr, &Page::pdfDataStream, 0},
        {IDC_DRAWER, Text, &Page::drawer, nullptr, kDrawerLimit},
        {IDC_COPIES_NUMBER, Check, nullptr, &Page::m_copiesNumberChecked, 0},
        {IDC_COPIES_FROM_SPOOLED_FILE, Check, nullptr, &Page::m_copiesFromSpooledFileChecked, 0},
        {IDC_LPI, List, &Page::linesPerInch, nullptr, 0},
        {IDC_CPI, List, &Page::charsPerInch, nullptr, 0},
        {IDC_PAGE_HEIGHT, Text, &Page::pageHeight, nullptr, kSizeLimit},
        {IDC_SCS_ROTATION, List, &Page::rotation, nullptr, 0},
        {IDC_ROTATION, List, &Page::rotation, nullptr, 0},
        {IDC_START_LINE, Text, &Page::startLine, nullptr, kSizeLimit},
        {IDC_NAME, Text, &Page::name, nullptr, kNameLimit},
        {IDC_PAGE_WIDTH, Text, &Page::pageWidth, nullptr, kSizeLimit},
        {IDC_FONT_GROUP, Text, &Page::fontGroup, nullptr, kFontGroupLimit},
        {IDC_PRINTER_RESOURCE, Text, &Page::printerResource, nullptr, kFontGroupLimit},
        {IDC_NO_PRINT_BORDER, Text, &Page::noPrintBorder, nullptr, kDrawerLimit},
        {IDC_AFP_DUPLEX, List, &Page::duplex, nullptr, 0},
        {IDC_HPT_DUPLEX, List, &Page::duplex, nullptr, 0},
    };
    if (id == IDC_COPIES) {
        // The range is the page's own check, when the edit is left.
        BindInt(id, &copies);
        return;
    }
    for (const Binding& binding : bindings) {
        if (binding.id != id)
            continue;
        if (binding.way == Text)
            BindText(id, &(this->*binding.text), binding.limit);
        else if (binding.way == List)
            BindListText(id, &(this->*binding.text));
        else
            BindCheck(id, &(this->*binding.number));
        return;
    }
}

void COutputDeviceSettingsPrintGenPropPage::ReadDevice(COutputDevice& source)
{
    name = source.GetName();
    outputQueue = source.GetOutputQueue();
    library = source.GetOutputQueueLibrary();
    printerDevice = source.GetPrinterDevice();
    userData = source.GetUserData();
    formType = source.GetFormType();
    hold = source.GetHold() ? 1 : 0;
    save = source.GetSave() ? 1 : 0;
    drawer = source.GetDrawer() == 0 ? QStringLiteral("*E1") : QString::number(source.GetDrawer());
    copies = source.GetCopies();
    if (m_kind == Scs) {
        linesPerInch = source.GetLPI() == -1 ? LoadResString(IDS_DOC) : QString::number(source.GetLPI());
        source.GetCPIText(charsPerInch);
        pageHeight = EmptyForZero(source.GetPageHeight());
        pageWidth = EmptyForZero(source.GetPageWidth());
        int stored = source.GetRotation();
        source.GetRotationText(stored, rotation);
        startLine = EmptyForZero(source.GetStartLine());
    } else {
        rotation = PortraitLandscapeText(source.GetRotation());
        fontGroup = source.GetFontGroup();
        printerResource = source.GetPrinterResource();
        const int border = source.GetNoPrintBorder();
        noPrintBorder = border == -1 ? LoadResString(IDS_DOC) : EmptyForZero(border);
        duplex = source.GetDuplex();
        pdfDataStream = source.GetPdfDataStream() == QLatin1StringView("Y") ? 1 : 0;
    }
    ApplyQueueRules();
    m_copiesEnabled = copies != 0;
    copiesSource = copies != 0 ? CopiesNumber : CopiesFromSpooledFile;
}

void COutputDeviceSettingsPrintGenPropPage::ApplyQueueRules()
{
    // The device holds these values in upper case: exact comparisons.
    m_libraryEnabled = true;
    m_printerDeviceEnabled = true;
    if (outputQueue == QLatin1StringView("*DEV") || outputQueue == QLatin1StringView("*USR")) {
        library.clear();
        m_libraryEnabled = false;
    } else if (outputQueue == QLatin1StringView("*JOB")) {
        library.clear();
        printerDevice.clear();
        m_libraryEnabled = false;
        m_printerDeviceEnabled = false;
    } else if (!outputQueue.isEmpty()) {
        printerDevice.clear();
        m_printerDeviceEnabled = false;
    }
}

BOOL COutputDeviceSettingsPrintGenPropPage::WriteDevice(COutputDevice& target)
{
    // The queue goes first: its setter decides what library and printer
    // device the device may keep.
    const BOOL where = AnyChanged({
        target.SetName(name),
        target.SetOutputQueue(outputQueue),
        target.SetOutputQueueLibrary(library),
        target.SetPrinterDevice(printerDevice),
        target.SetUserData(userData),
        target.SetFormType(formType),
        target.SetHold(hold != 0 ? TRUE : FALSE),
        target.SetSave(save != 0 ? TRUE : FALSE),
    });
    int drawerNumber = 1;
    COutputDevice::ParseDrawer(drawer, drawerNumber);
    const BOOL drawerChanged = target.SetDrawer(drawerNumber);
    const BOOL densities =
        m_kind == Scs && AnyChanged({target.SetLPIText(linesPerInch), target.SetCPIText(charsPerInch)});
    int copiesNumber = copies;
    if (copiesSource == CopiesFromSpooledFile)
        copiesNumber = 0;
    else if (copiesNumber == 0)
        copiesNumber = 1;
    const BOOL copiesChanged = target.SetCopies(copiesNumber);
    if (m_kind == Scs) {
        return AnyChanged({where, drawerChanged, densities, copiesChanged, target.SetPageHeight(pageHeight),
                           target.SetPageWidth(pageWidth), target.SetRotationText(rotation),
                           target.SetStartLine(startLine)});
    }
    const BOOL rest = AnyChanged({
        StorePortraitLandscape(target, rotation),
        target.SetFontGroup(fontGroup),
        m_kind == Afp ? target.SetPrinterResource(printerResource) : target.SetNoPrintBorder(noPrintBorder),
        target.SetDuplex(duplex),
    });
    const BOOL pdf = m_kind == Afp && target.SetPdfDataStream(pdfDataStream ? QStringLiteral("Y") : QString());
    return AnyChanged({where, drawerChanged, copiesChanged, rest, pdf});
}

void COutputDeviceSettingsPrintGenPropPage::BeforePush()
{
    // The boxes that take typing show their member's text, not the entry
    // last chosen from their lists.
    Control(IDC_OUTPUT_QUEUE).selection = -1;
    Control(IDC_PRINTER_DEVICE).selection = -1;
    m_copiesNumberChecked = copiesSource == CopiesNumber ? 1 : 0;
    m_copiesFromSpooledFileChecked = copiesSource == CopiesFromSpooledFile ? 1 : 0;
}

void COutputDeviceSettingsPrintGenPropPage::AfterPull()
{
    copiesSource = m_copiesFromSpooledFileChecked ? CopiesFromSpooledFile
                   : m_copiesNumberChecked        ? CopiesNumber
                                                  : CopiesNone;
}

void COutputDeviceSettingsPrintGenPropPage::EnableControls()
{
    EnableControl(IDC_LIBRARY, m_libraryEnabled);
    EnableControl(IDC_PRINTER_DEVICE, m_printerDeviceEnabled);
    EnableControl(IDC_COPIES, m_copiesEnabled);
    if (m_kind == Afp)
        EnableControl(IDC_PRINTER_RESOURCE, false);
}

bool COutputDeviceSettingsPrintGenPropPage::OnOutputQueueKillFocus(int focusedControl)
{
    StoreAndReload();
    return Control(IDC_LIBRARY).enabled && focusedControl == IDC_USER_DATA;
}

bool COutputDeviceSettingsPrintGenPropPage::OnOutputQueueSelected(const QString& entry)
{
    // What was typed elsewhere since the last store goes with the queue.
    if (!UpdateData(true))
        return false;
    outputQueue = entry;
    UpdateData(false);
    return StoreAndReload();
}

bool COutputDeviceSettingsPrintGenPropPage::OnCopiesSourceClicked()
{
    return StoreAndReload();
}

bool COutputDeviceSettingsPrintGenPropPage::OnCopiesKillFocus()
{
    const bool pulled = UpdateData(true);
    if (copies >= kMinCopies && copies <= kMaxCopies)
        return pulled;
    Prompts().MessageBox(FormatResMessage(IDS_ENTER_INTEGER_BETWEEN, kMinCopies, kMaxCopies), {},
                         MB_OK | MB_ICONINFORMATION);
    copies = kMinCopies;
    UpdateData(false);
    return pulled;
}

void COutputDeviceSettingsPrintGenPropPage::OnOffsets()
{
    if (m_runOffsets)
        m_runOffsets(device);
}
