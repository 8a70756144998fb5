#include "designer/output/ui/OutputDeviceSettingsSheets.h"

#include "designer/output/ui/OutputDevicePropPageSheetPage.h"
#include "designer/output/ui/OutputDeviceSettingsAddressPropPage.h"
#include "designer/output/ui/OutputDeviceSettingsAddressPropPageView.h"
#include "designer/output/ui/OutputDeviceSettingsDestinationPropPage.h"
#include "designer/output/ui/OutputDeviceSettingsDestinationPropPageView.h"
#include "designer/output/ui/OutputDeviceSettingsDspDialogView.h"
#include "designer/output/ui/OutputDeviceSettingsEmailGeneralPropPage.h"
#include "designer/output/ui/OutputDeviceSettingsEmailGeneralPropPageView.h"
#include "designer/output/ui/OutputDeviceSettingsExitPgmParmPropPagesView.h"
#include "designer/output/ui/OutputDeviceSettingsFaxGeneralPropPage.h"
#include "designer/output/ui/OutputDeviceSettingsFaxGeneralPropPageView.h"
#include "designer/output/ui/OutputDeviceSettingsFileGeneralPropPage.h"
#include "designer/output/ui/OutputDeviceSettingsFileGeneralPropPageView.h"
#include "designer/output/ui/OutputDeviceSettingsPagePropPage.h"
#include "designer/output/ui/OutputDeviceSettingsPagePropPageView.h"
#include "designer/output/ui/OutputDeviceSettingsPrintGeneralPropPage.h"
#include "designer/output/ui/OutputDeviceSettingsPrintGeneralPropPageView.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/StringTable.h"

namespace {

constexpr UINT IDS_PRINT_SHEET_CAPTION = 341;
constexpr UINT IDS_FAX_SHEET_CAPTION = 279;
constexpr UINT IDS_EMAIL_SHEET_CAPTION = 272;
constexpr UINT IDS_FILE_SHEET_CAPTION = 280;
constexpr UINT IDS_DOCSTORE_SHEET_CAPTION = 369;

// The display device's dialog keeps its own copy of the device it is given
// and writes it back on OK.
class DisplaySettingsWindow : public IOutputDeviceSettingsWindow
{
public:
    explicit DisplaySettingsWindow(QWidget* parent) : m_dialog(parent) {}

    COutputDevice* GetDeviceCopy() override { return nullptr; }
    void SetDevice(COutputDevice* device) override { m_dialog.Model().SetDevice(device); }
    BOOL DoModal() override { return m_dialog.exec() == QDialog::Accepted ? TRUE : FALSE; }

private:
    COutputDeviceSettingsDspDialogView m_dialog;
};

} // namespace

// ---------------------------------------------------------------- the sheets

COutputDeviceSettingsSheet::COutputDeviceSettingsSheet(const QString& caption, QWidget* parent)
    : CNavigationSheet(caption, parent)
{
    SetNavigationWidth(kDefaultNavigationWidth);
}

BOOL COutputDeviceSettingsSheet::DoModal()
{
    // The first page is made before the window opens, so the window is
    // sized for it rather than for an empty page.
    if (GetPageCount() > 0 && GetActiveIndex() < 0) {
        SetActivePage(0);
        adjustSize();
    }
    return exec() == QDialog::Accepted ? TRUE : FALSE;
}

QStringList COutputDeviceSettingsSheet::PageTitles() const
{
    QStringList titles;
    for (int i = 0; i < GetPageCount(); ++i)
        titles << GetPage(i)->Title();
    return titles;
}

template <class Page, class View>
void COutputDeviceSettingsSheet::AddDevicePage()
{
    AddPage(MakeDeviceSheetPage<Page, View>(&device));
}

COutputDeviceSettingsPrintSheet::COutputDeviceSettingsPrintSheet(QWidget* parent)
    : COutputDeviceSettingsSheet(FormatResMessage(IDS_PRINT_SHEET_CAPTION, QString()), parent)
{}

QString COutputDeviceSettingsPrintSheet::Caption() const
{
    QString code;
    if (device.GetType() >= 0 && device.GetType() <= 2)
        COutputDevice::GetTypeCode(device.GetType(), code);
    return FormatResMessage(IDS_PRINT_SHEET_CAPTION, code);
}

void COutputDeviceSettingsPrintSheet::AddPages()
{
    using View = COutputDeviceSettingsPrintGenPropPageView;
    switch (device.GetType()) {
    case 0:
        AddDevicePage<COutputDeviceSettingsScsGenPropPage, View>();
        break;
    case 1:
        AddDevicePage<COutputDeviceSettingsAfpGenPropPage, View>();
        break;
    case 2:
        AddDevicePage<COutputDeviceSettingsHptGenPropPage, View>();
        break;
    default:
        break;
    }
    AddDevicePage<COutputDeviceSettingsPrintExitProgramPropPage, COutputDeviceSettingsDestinationPropPageView>();
    AddDevicePage<COutputDeviceSettingsPrintPagePropPage, COutputDeviceSettingsPagePropPageView>();
}

void COutputDeviceSettingsPrintSheet::showEvent(QShowEvent* event)
{
    // The copy was filled after the sheet was made.
    if (!m_captionSet) {
        setWindowTitle(Caption());
        m_captionSet = true;
    }
    COutputDeviceSettingsSheet::showEvent(event);
}

COutputDeviceSettingsFaxSheet::COutputDeviceSettingsFaxSheet(QWidget* parent)
    : COutputDeviceSettingsSheet(LoadResString(IDS_FAX_SHEET_CAPTION), parent)
{}

void COutputDeviceSettingsFaxSheet::AddPages()
{
    AddDevicePage<COutputDeviceSettingsFaxGenPropPage, COutputDeviceSettingsFaxGenPropPageView>();
    AddDevicePage<COutputDeviceSettingsFaxDestPropPage, COutputDeviceSettingsDestinationPropPageView>();
    AddDevicePage<COutputDeviceSettingsFaxAddrPropPage, COutputDeviceSettingsAddressPropPageView>();
    AddDevicePage<COutputDeviceSettingsFaxPagePropPage, COutputDeviceSettingsPagePropPageView>();
}

COutputDeviceSettingsEmailSheet::COutputDeviceSettingsEmailSheet(QWidget* parent)
    : COutputDeviceSettingsSheet(LoadResString(IDS_EMAIL_SHEET_CAPTION), parent)
{}

void COutputDeviceSettingsEmailSheet::AddPages()
{
    AddDevicePage<COutputDeviceSettingsEmailGenPropPage, COutputDeviceSettingsEmailGenPropPageView>();
    AddDevicePage<COutputDeviceSettingsEmailDestPropPage, COutputDeviceSettingsDestinationPropPageView>();
    AddDevicePage<COutputDeviceSettingsEmailAddrPropPage, COutputDeviceSettingsAddressPropPageView>();
    if (xmlDocument == L'0')
        AddDevicePage<COutputDeviceSettingsEmailPagePropPage, COutputDeviceSettingsPagePropPageView>();
}

COutputDeviceSettingsFileSheet::COutputDeviceSettingsFileSheet(QWidget* parent)
    : COutputDeviceSettingsSheet(LoadResString(IDS_FILE_SHEET_CAPTION), parent)
{}

void COutputDeviceSettingsFileSheet::AddPages()
{
    AddDevicePage<COutputDeviceSettingsFileGenPropPage, COutputDeviceSettingsFileGenPropPageView>();
    AddPage(MakeFileExitPgmSheetPage(&device));
    AddPage(MakeFileExitPgmParmSheetPage(&device));
    if (xmlDocument == L'0')
        AddDevicePage<COutputDeviceSettingsFilePagePropPage, COutputDeviceSettingsPagePropPageView>();
}

COutputDeviceSettingsDocStoreSheet::COutputDeviceSettingsDocStoreSheet(QWidget* parent)
    : COutputDeviceSettingsSheet(LoadResString(IDS_DOCSTORE_SHEET_CAPTION), parent)
{}

void COutputDeviceSettingsDocStoreSheet::AddPages()
{
    AddPage(MakeDocStoreExitPgmSheetPage(&device, deviceManager));
    AddPage(MakeDocStoreExitPgmParmSheetPage(&device, deviceManager));
    if (xmlDocument == L'0')
        AddDevicePage<COutputDeviceSettingsDocStorePagePropPage, COutputDeviceSettingsPagePropPageView>();
}

// ---------------------------------------------------------------- the seam

std::unique_ptr<IOutputDeviceSettingsWindow> MakeOutputDeviceSettingsWindow(QWidget* parent, int type,
                                                                            const OutputDeviceSettingsContext& context)
{
    switch (type) {
    case 0:
    case 1:
    case 2:
        return std::make_unique<COutputDeviceSettingsPrintSheet>(parent);
    case 3:
        return std::make_unique<COutputDeviceSettingsFaxSheet>(parent);
    case 4: {
        auto sheet = std::make_unique<COutputDeviceSettingsEmailSheet>(parent);
        sheet->xmlDocument = context.xmlDocument;
        return sheet;
    }
    case 5:
        return std::make_unique<DisplaySettingsWindow>(parent);
    case 6: {
        auto sheet = std::make_unique<COutputDeviceSettingsFileSheet>(parent);
        sheet->xmlDocument = context.xmlDocument;
        return sheet;
    }
    case 7: {
        auto sheet = std::make_unique<COutputDeviceSettingsDocStoreSheet>(parent);
        sheet->xmlDocument = context.xmlDocument;
        sheet->deviceManager = context.deviceManager;
        sheet->docStoreManager = context.docStoreManager;
        return sheet;
    }
    default:
        return nullptr;
    }
}

void InstallOutputDeviceSettingsWindows()
{
    SetOutputDeviceSettingsWindowFactory(&MakeOutputDeviceSettingsWindow);
}
