#include "designer/views/pages/ImagePropPage.h"

#include "designer/document/DesignerDoc.h"
#include "designer/resources/images/ImageRegistry.h"
#include "designer/views/pages/BarcodePropPage.h"
#include "designer/views/pages/ElementPageStrings.h"
#include "designer/views/pages/ElementPropertySheet.h"
#include "designer/views/pages/ResourcePropPage.h"
#include "platform/framework/Exceptions.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/StringTable.h"

#include <iterator>

namespace {

using Page = CImagePropPage;
using D = ImagePageData;

std::vector<PageControl> ImageControls()
{
    return {
        {Page::IDC_FILE_RADIO, PageNotification::Clicked, D::FileName},
        {Page::IDC_FILE_NAME, PageNotification::KillFocus, D::FileName},
        {Page::IDC_FORMAT, PageNotification::SelChange, D::FormatAndQuality},
        {Page::IDC_QUALITY, PageNotification::KillFocus, D::FormatAndQuality},
        {Page::IDC_BROWSE, PageNotification::Clicked, D::FileName},
        {Page::IDC_RELOAD, PageNotification::Clicked, D::Reload},
        {Page::IDC_POSITION_RADIO, PageNotification::Clicked, D::Position},
        {Page::IDC_COLUMN, PageNotification::Change, D::Position, Page::IDC_COLUMN_SPIN, true},
        {Page::IDC_LINE, PageNotification::Change, D::Position, Page::IDC_LINE_SPIN, true},
        {Page::IDC_FORCE_ABSOLUTE, PageNotification::Clicked, D::ForceAbsolute},
        {Page::IDC_WIDTH, PageNotification::Change, D::Size, Page::IDC_WIDTH_SPIN, true},
    };
}

void RegisterImagePageStrings()
{
    static const StringTable::Entry kStrings[] = {
        {DialogTextId(Page::IDD, 0), "Image"},
        {DialogTextId(Page::IDD, Page::IDC_FILE_RADIO), "File Name:"},
        {DialogTextId(Page::IDD, Page::IDC_FORMAT), "Format:"},
        {DialogTextId(Page::IDD, Page::IDC_QUALITY), "Quality:"},
        {DialogTextId(Page::IDD, Page::IDC_BROWSE), "&Browse..."},
        {DialogTextId(Page::IDD, Page::IDC_RELOAD), "&Reload"},
        {DialogTextId(Page::IDD, Page::IDC_POSITION_RADIO), "Or Position:"},
        {DialogTextId(Page::IDD, Page::IDC_POSITION_GROUP), "Position"},
        {DialogTextId(Page::IDD, Page::IDC_COLUMN), "Column:"},
        {DialogTextId(Page::IDD, Page::IDC_LINE), "Line:"},
        {DialogTextId(Page::IDD, Page::IDC_FORCE_ABSOLUTE), "Force Absolute"},
        {DialogTextId(Page::IDD, Page::IDC_SIZE_GROUP), "Size"},
        {DialogTextId(Page::IDD, Page::IDC_WIDTH), "Width:"},
    };
    StringTable::Add(kStrings);
}

template <class Data, class KindPage>
void RegisterRecordPage()
{
    CElementPropertySheet::RegisterPageFactory<Data>(
        [](std::unique_ptr<CElementPageRecord> record) { return std::make_unique<KindPage>(std::move(record)); });
}

} // namespace

QStringList ImageFormatTexts()
{
    QStringList texts;
    for (const ImageFormatEntry& entry : kImageFormatList)
        texts << QString::fromLatin1(entry.text);
    return texts;
}

int ImageFormatEntryOf(int format)
{
    for (int i = 0; i < static_cast<int>(std::size(kImageFormatList)); ++i) {
        if (kImageFormatList[i].format == format)
            return i;
    }
    return -1;
}

int ImageFormatOfEntry(int entry)
{
    if (entry < 0 || entry >= static_cast<int>(std::size(kImageFormatList)))
        return -1;
    return kImageFormatList[entry].format;
}

CImagePropPage::CImagePropPage(std::unique_ptr<CElementPageRecord> record)
    : CElementPropPage(IDD, std::move(record), ImageControls()),
      m_data(static_cast<TElementPageRecord<ImagePageData>*>(GetRecord())->data)
{
    RegisterImagePageStrings();
    BindText(IDC_FILE_NAME, &m_data.fileName);
    BindUInt(IDC_QUALITY, &m_data.quality, 0, kMaxQuality);
    BindNumber(IDC_COLUMN, &m_data.column);
    BindNumber(IDC_LINE, &m_data.line);
    BindCheck(IDC_FORCE_ABSOLUTE, &m_data.forceAbsolute);
    BindNumber(IDC_WIDTH, &m_data.width);
    Control(IDC_FORMAT).items = ImageFormatTexts();
    Control(IDC_FORCE_ABSOLUTE).enabled = false;
    for (const int id : {IDC_BROWSE, IDC_RELOAD, IDC_COLUMN_SPIN, IDC_LINE_SPIN, IDC_WIDTH_SPIN, IDC_POSITION_GROUP})
        Control(id);
}

std::pair<int, int> CImagePropPage::Range(int editId) const
{
    switch (editId) {
    case IDC_COLUMN:
    case IDC_WIDTH:
        return {1, m_data.largestColumn};
    case IDC_LINE:
        return {1, m_data.largestLine};
    default:
        return {0, 0};
    }
}

std::optional<int> CImagePropPage::UpperLimit(int id) const
{
    if (Range(id) == std::pair(0, 0))
        return std::nullopt;
    return Range(id).second;
}

int CImagePropPage::EffectiveFormat() const
{
    return m_data.format == -1 ? m_data.defaultFormat : m_data.format;
}

bool CImagePropPage::PullsBeforeApply(const PageControl& control) const
{
    return control.id != IDC_FILE_RADIO && control.id != IDC_POSITION_RADIO && control.id != IDC_FORMAT;
}

void CImagePropPage::BeforeApply(const PageControl& control)
{
    switch (control.id) {
    case IDC_FILE_RADIO:
        m_data.fixed = TRUE;
        break;
    case IDC_POSITION_RADIO:
        m_data.fixed = FALSE;
        break;
    case IDC_FORMAT:
        m_data.format = ImageFormatOfEntry(Control(IDC_FORMAT).selection);
        break;
    default:
        break;
    }
}

void CImagePropPage::RunHandler(const PageControl& control)
{
    if (control.id == IDC_FILE_NAME || control.id == IDC_RELOAD)
        ApplyKeepingName(control);
    else if (control.id == IDC_BROWSE)
        Browse(control);
    else
        CElementPropPage::RunHandler(control);
}

void CImagePropPage::ApplyKeepingName(const PageControl& control)
{
    CSheetBusyScope busy(GetSheet());
    const QString before = m_data.fileName;
    if (!PullControls(control))
        return;
    if (!ApplyGroup(control)) {
        m_data.fileName = before;
        Push();
    }
}

void CImagePropPage::Browse(const PageControl& control)
{
    // The sheet stays shown while the file chooser is up.
    CSheetBusyScope busy(GetSheet());
    if (!PullControls(control))
        return;
    CFormElement* element = GetElement();
    ImageRegistry* registry = element->GetDocument() != nullptr ? element->GetDocument()->GetImageRegistry() : nullptr;
    if (registry != nullptr) {
        try {
            registry->BrowseAndAdd(m_parent, m_data.fileName);
        } catch (const CException& error) {
            ReportError(error, MB_ICONEXCLAMATION);
        }
    }
    // A cancelled chooser left the name as it was: applying it changes nothing.
    ApplyGroup(control);
    RefreshPage();
}

void CImagePropPage::UpdateControls()
{
    const bool fixed = m_data.fixed != 0;
    Control(IDC_FILE_RADIO).check = fixed ? 1 : 0;
    Control(IDC_POSITION_RADIO).check = fixed ? 0 : 1;
    const bool inLoop = m_data.inLoop != 0;
    Control(IDC_FORCE_ABSOLUTE).enabled = inLoop;
    const bool relative = inLoop && m_data.forceAbsolute == 0;
    Control(IDC_POSITION_GROUP).text =
        LoadResString(relative ? ElementPageString::PositionRelative : ElementPageString::PositionAbsolute);
    Control(IDC_FORMAT).selection = ImageFormatEntryOf(m_data.format);
    EnableControls();
}

void CImagePropPage::EnableControls()
{
    const bool fixed = m_data.fixed != 0;
    for (const int id : {IDC_FILE_NAME, IDC_FORMAT, IDC_BROWSE})
        Control(id).enabled = fixed;
    Control(IDC_QUALITY).enabled = fixed && EffectiveFormat() == kJpegFormat;
    for (const int id : {IDC_COLUMN, IDC_COLUMN_SPIN, IDC_LINE, IDC_LINE_SPIN, IDC_WIDTH, IDC_WIDTH_SPIN})
        Control(id).enabled = !fixed;
}

void RegisterImageKindPageFactories()
{
    RegisterImagePageStrings();
    RegisterRecordPage<ImagePageData, CImagePropPage>();
    RegisterRecordPage<BarcodePageData, CBarcodePropPage>();
    RegisterRecordPage<ResourcePageData, CResourcePropPage>();
}
