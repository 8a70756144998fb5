#include "designer/views/pages/OutputPropPage.h"

#include "designer/document/DesignerDoc.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/output/OutputDeviceTypeTable.h"
#include "designer/views/pages/ElementPropertySheet.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"

#include <optional>

namespace {

using Page = COutputPropPage;

constexpr StringTable::Entry kStrings[] = {
    {DialogTextId(Page::IDD, 0), "Output Device"},
    {DialogTextId(Page::IDD, Page::IDC_NAME), "Name:"},
    {DialogTextId(Page::IDD, Page::IDC_TYPE_LABEL), "Type:"},
    {DialogTextId(Page::IDD, Page::IDC_SELECT), "S&elect"},
    {DialogTextId(Page::IDD, Page::IDC_SETTINGS), "&Settings"},
};

} // namespace

void RegisterOutputPropPage()
{
    StringTable::Add(kStrings);
    CElementPropertySheet::RegisterPageFactory<OutputPageData>([](std::unique_ptr<CElementPageRecord> record) {
        return std::make_unique<COutputPropPage>(
            std::unique_ptr<COutputPageRecord>(static_cast<COutputPageRecord*>(record.release())));
    });
}

COutputPropPage::COutputPropPage(std::unique_ptr<COutputPageRecord> record)
    : CElementPropPage(IDD, std::move(record), {}), m_data(static_cast<COutputPageRecord*>(GetRecord())->data)
{
    StringTable::Add(kStrings);
    BindText(IDC_NAME, &deviceName);
    BindText(IDC_TYPE, &typeTitle);
    Control(IDC_SELECT);
    Control(IDC_SETTINGS);
}

void COutputPropPage::ShowDevice()
{
    if (COutputDeviceManager* manager = m_data.manager) {
        manager->GetDeviceName(m_data.deviceIndex, deviceName, FALSE);
        if (const OutputDeviceTypeRow* row = FindOutputDeviceType(manager->GetDeviceType(m_data.deviceIndex)))
            typeTitle = QString::fromUtf8(row->title);
    }
    Push();
}

void COutputPropPage::RefreshPage()
{
    CElementPropPage::RefreshPage();
    ShowDevice();
}

BOOL COutputPropPage::OnInitDialog()
{
    CElementPropPage::OnInitDialog();
    ShowDevice();
    return TRUE;
}

std::optional<int> COutputPropPage::OnSetPageFocus(bool)
{
    return IDC_SETTINGS;
}

void COutputPropPage::OnSelect(QWidget* parent)
{
    CFormElement* element = GetElement();
    if (GetSheet() == nullptr || element == nullptr || m_data.manager == nullptr)
        return;
    // The sheet stays shown while the modal dialog has the focus; the flag
    // goes before the transaction ends.
    std::optional<CSheetBusyScope> holdOpen(std::in_place, GetSheet());
    CDocChangeGuard transaction(element->GetDocument());
    int index = m_data.deviceIndex;
    if (m_data.manager->SelectDevice(index, parent)) {
        if (index != m_data.deviceIndex) {
            m_data.deviceIndex = index;
            if (element->ApplyPage(*GetRecord(), OutputPageData::DeviceIndex))
                RefreshPage();
        }
        if (element->ApplyPage(*GetRecord(), OutputPageData::DeviceChanged))
            RefreshPage();
        ShowDevice();
    }
    holdOpen.reset();
}

void COutputPropPage::OnSettings(QWidget* parent)
{
    CFormElement* element = GetElement();
    if (element == nullptr || m_data.manager == nullptr)
        return;
    CDocChangeGuard transaction(element->GetDocument());
    CSheetBusyScope holdOpen(GetSheet());
    if (m_data.manager->EditDeviceSettings(m_data.deviceIndex, parent)) {
        if (element->ApplyPage(*GetRecord(), OutputPageData::DeviceChanged))
            RefreshPage();
    }
}
