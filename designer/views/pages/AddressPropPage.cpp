#include "designer/views/pages/AddressPropPage.h"

#include "designer/output/OutputDevice.h"
#include "designer/views/pages/ElementPropertySheet.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"

#include <initializer_list>

namespace {

using Page = CAddressPropPage;
using Bits = AddressPageBits;

constexpr StringTable::Entry kStrings[] = {
    {DialogTextId(Page::IDD, 0), "Address"},
    {DialogTextId(Page::IDD, Page::IDC_TYPE), "Type:"},
    {DialogTextId(Page::IDD, Page::IDC_COLUMN), "Column:"},
    {DialogTextId(Page::IDD, Page::IDC_LINE), "Line:"},
    {DialogTextId(Page::IDD, Page::IDC_WIDTH), "Width:"},
    {DialogTextId(Page::IDD, Page::IDC_DELETE), "Delete ?"},
    {DialogTextId(Page::IDD, Page::IDC_POSITION_GROUP), "Position"},
    {DialogTextId(Page::IDD, Page::IDC_SIZE_GROUP), "Size"},
};

AddressPageData& DataOf(CElementPageRecord* record)
{
    return static_cast<Page::Record*>(record)->data;
}

} // namespace

void RegisterAddressPropPage()
{
    StringTable::Add(kStrings);
    CElementPropertySheet::RegisterPageFactory<AddressPageData>(
        [](std::unique_ptr<CElementPageRecord> record) { return std::make_unique<Page>(std::move(record)); });
}

CAddressPropPage::CAddressPropPage(std::unique_ptr<CElementPageRecord> record)
    : CElementPropPage(IDD, std::move(record),
                       {
                           {IDC_TYPE, PageNotification::SelChange, Bits::SettingId},
                           {IDC_COLUMN, PageNotification::Change, Bits::Position, IDC_COLUMN_SPIN, true},
                           {IDC_LINE, PageNotification::Change, Bits::Position, IDC_LINE_SPIN, true},
                           {IDC_WIDTH, PageNotification::Change, Bits::Width, IDC_WIDTH_SPIN, true},
                           {IDC_DELETE, PageNotification::Clicked, Bits::DeleteFlag},
                       }),
      m_data(DataOf(GetRecord()))
{
    StringTable::Add(kStrings);
    BindNumber(IDC_COLUMN, &m_data.column);
    BindNumber(IDC_LINE, &m_data.line);
    BindNumber(IDC_WIDTH, &m_data.width);
    BindCheck(IDC_DELETE, &m_data.deleteFlag);
}

std::pair<int, int> CAddressPropPage::Range(int editId) const
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

BOOL CAddressPropPage::OnInitDialog()
{
    m_types.clear();
    if (const auto* address = dynamic_cast<const CFormAddressElement*>(GetElement()))
        address->GetAddressTypes(m_types);
    DialogControlState& list = Control(IDC_TYPE);
    list.items.clear();
    for (const outputDeviceAddressType& type : m_types)
        list.items << type.name;
    Control(IDC_DESCRIPTION).text.clear();
    return CElementPropPage::OnInitDialog();
}

void CAddressPropPage::SelectAddressType()
{
    DialogControlState& list = Control(IDC_TYPE);
    list.selection = -1;
    QString description;
    for (size_t i = 0; i < m_types.size(); ++i) {
        if (m_types[i].code == m_data.settingId) {
            list.selection = static_cast<int>(i);
            description = m_types[i].text;
            break;
        }
    }
    Control(IDC_DESCRIPTION).text = description;
}

void CAddressPropPage::EnableControls()
{
    const auto enable = [this](WORD bit, std::initializer_list<int> ids) {
        for (const int id : ids)
            Control(id).enabled = (m_data.mask & bit) == 0;
    };
    enable(AddressPageMask::NoWidth, {IDC_WIDTH, IDC_WIDTH_SPIN});
    enable(AddressPageMask::NoColumn, {IDC_COLUMN, IDC_COLUMN_SPIN});
    enable(AddressPageMask::NoLine, {IDC_LINE, IDC_LINE_SPIN});
    Control(IDC_DELETE).enabled =
        m_data.settingId != AddressFieldCode::Destination && m_data.settingId != AddressFieldCode::FirstPage;
}

void CAddressPropPage::UpdateControls()
{
    SelectAddressType();
    EnableControls();
}

void CAddressPropPage::BeforeApply(const PageControl& control)
{
    if (control.id != IDC_TYPE)
        return;
    Control(IDC_DESCRIPTION).text.clear();
    const int selection = Control(IDC_TYPE).selection;
    if (selection >= 0 && static_cast<size_t>(selection) < m_types.size()) {
        m_data.settingId = m_types[static_cast<size_t>(selection)].code;
        Control(IDC_DESCRIPTION).text = m_types[static_cast<size_t>(selection)].text;
    }
}

void CAddressPropPage::AfterApply(const PageControl& control, BOOL changed)
{
    // A field the device refused shows the element's own again at once,
    // not a choice that was never taken.
    if (control.id == IDC_TYPE && !changed)
        RefreshPage();
}
