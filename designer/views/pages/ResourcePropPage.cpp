#include "designer/views/pages/ResourcePropPage.h"

#include "designer/document/DesignerDoc.h"
#include "designer/resources/images/Resource.h"
#include "designer/resources/images/ResourceManager.h"
#include "designer/views/pages/ElementPropertySheet.h"
#include "designer/views/pages/ImagePropPage.h"
#include "platform/framework/Exceptions.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/StringTable.h"

#include <algorithm>

namespace {

using Page = CResourcePropPage;
using D = ResourcePageData;

} // namespace

void RegisterResourcePageStrings()
{
    static const StringTable::Entry kStrings[] = {
        {DialogTextId(Page::IDD, 0), "Resource"},
        {DialogTextId(Page::IDD, Page::IDC_FILE_GROUP), "File name"},
        {DialogTextId(Page::IDD, Page::IDC_RELOAD), "&Reload"},
        {DialogTextId(Page::IDD, Page::IDC_BROWSE), "&Browse..."},
        {DialogTextId(Page::IDD, Page::IDC_FORMAT), "Image Export Format:"},
        {DialogTextId(Page::IDD, Page::IDC_QUALITY), "JPEG Quality:"},
    };
    StringTable::Add(kStrings);
}

CResourcePropPage::CResourcePropPage(std::unique_ptr<CElementPageRecord> record)
    : CElementPropPage(IDD, std::move(record),
                       {
                           {IDC_RESOURCE_LIST, PageNotification::SelChange, D::ResourceIndex},
                           {IDC_RELOAD, PageNotification::Clicked, 0},
                           {IDC_BROWSE, PageNotification::Clicked, D::ResourceIndex},
                           {IDC_FORMAT, PageNotification::SelChange, 0},
                           {IDC_QUALITY, PageNotification::KillFocus, 0},
                       }),
      m_data(static_cast<TElementPageRecord<ResourcePageData>*>(GetRecord())->data)
{
    RegisterResourcePageStrings();
    BindUInt(IDC_QUALITY, &m_quality, 0, kMaxQuality);
    Control(IDC_FORMAT).items = ImageFormatTexts();
    for (const int id : {IDC_RESOURCE_LIST, IDC_RELOAD, IDC_BROWSE})
        Control(id);
}

BOOL CResourcePropPage::OnInitDialog()
{
    RefreshPage();
    return TRUE;
}

CResource* CResourcePropPage::ChosenResource() const
{
    return m_data.manager != nullptr && m_data.resourceIndex >= 0 ? m_data.manager->GetResource(m_data.resourceIndex)
                                                                  : nullptr;
}

void CResourcePropPage::RefreshPage()
{
    if (CFormElement* element = GetElement())
        element->UpdatePage(*GetRecord());
    FillResourceList();
    SelectResource();
    Control(IDC_QUALITY).enabled = m_format == kJpegFormat;
    Push();
}

void CResourcePropPage::FillResourceList()
{
    DialogControlState& list = Control(IDC_RESOURCE_LIST);
    list.items.clear();
    m_slots.clear();
    if (m_data.manager == nullptr)
        return;
    for (int slot = 0; slot < m_data.manager->GetSlotCount(); ++slot) {
        if (const CResource* resource = m_data.manager->GetResource(slot)) {
            list.items << resource->GetPath();
            m_slots.push_back(slot);
        }
    }
}

void CResourcePropPage::SelectResource()
{
    m_format = -1;
    m_quality = 0;
    DialogControlState& list = Control(IDC_RESOURCE_LIST);
    DialogControlState& format = Control(IDC_FORMAT);
    list.selection = -1;
    format.selection = -1;
    if (m_data.resourceIndex == -1)
        return;
    const auto entry = std::find(m_slots.begin(), m_slots.end(), m_data.resourceIndex);
    if (entry != m_slots.end())
        list.selection = static_cast<int>(entry - m_slots.begin());
    if (const CResource* resource = ChosenResource()) {
        m_format = resource->GetFormat();
        m_quality = static_cast<UINT>(std::max(resource->GetQuality(), 0));
    }
    format.selection = ImageFormatEntryOf(m_format);
}

void CResourcePropPage::RunHandler(const PageControl& control)
{
    switch (control.id) {
    case IDC_RESOURCE_LIST:
        OnResourceSelected(control);
        break;
    case IDC_BROWSE:
        OnBrowse(control);
        break;
    case IDC_RELOAD:
        OnReload();
        break;
    case IDC_FORMAT:
        OnFormat();
        break;
    case IDC_QUALITY:
        OnQuality();
        break;
    default:
        CElementPropPage::RunHandler(control);
        break;
    }
}

void CResourcePropPage::OnResourceSelected(const PageControl& control)
{
    const int selection = Control(IDC_RESOURCE_LIST).selection;
    if (selection < 0 || selection >= static_cast<int>(m_slots.size()))
        return;
    m_data.resourceIndex = m_slots[selection];
    ApplyGroup(control);
    RefreshPage();
}

void CResourcePropPage::OnBrowse(const PageControl& control)
{
    if (m_data.manager == nullptr)
        return;
    // The sheet stays shown while the file chooser and its messages are up.
    CSheetBusyScope busy(GetSheet());
    int index = -1;
    try {
        CDocChangeGuard transaction(GetElement()->GetDocument());
        index = m_data.manager->BrowseAndAdd(m_parent);
        if (index == -1)
            return;
        m_data.resourceIndex = index;
        GetElement()->ApplyPage(*GetRecord(), control.group);
    } catch (const CException& error) {
        ReportError(error, MB_ICONEXCLAMATION);
    }
    RefreshPage();
}

void CResourcePropPage::OnReload()
{
    if (m_data.manager == nullptr || ChosenResource() == nullptr)
        return;
    CSheetBusyScope busy(GetSheet());
    try {
        CDocChangeGuard transaction(GetElement()->GetDocument());
        m_data.manager->Reload(m_data.resourceIndex);
    } catch (const CException& error) {
        ReportError(error, MB_ICONEXCLAMATION);
    }
    RefreshPage();
}

void CResourcePropPage::OnFormat()
{
    const int format = ImageFormatOfEntry(Control(IDC_FORMAT).selection);
    CResource* resource = ChosenResource();
    if (resource != nullptr && format != resource->GetFormat()) {
        CDocChangeGuard transaction(resource->GetDocument());
        if (resource->SetFormat(format) && resource->GetDocument() != nullptr)
            resource->GetDocument()->SetModifiedFlag(TRUE);
    }
    RefreshPage();
}

void CResourcePropPage::OnQuality()
{
    // A value outside 0 to 100 was reported by the pull and is not stored.
    if (Pull()) {
        CResource* resource = ChosenResource();
        if (resource != nullptr && static_cast<int>(m_quality) != resource->GetQuality() && m_quality <= kMaxQuality) {
            CDocChangeGuard transaction(resource->GetDocument());
            if (resource->SetQuality(m_quality) && resource->GetDocument() != nullptr)
                resource->GetDocument()->SetModifiedFlag(TRUE);
        }
    }
    RefreshPage();
}
