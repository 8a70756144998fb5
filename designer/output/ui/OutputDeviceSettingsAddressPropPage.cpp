#include "designer/output/ui/OutputDeviceSettingsAddressPropPage.h"

#include "designer/output/OutputDevice.h"

#include <algorithm>
#include <utility>

namespace {

using Page = COutputDeviceSettingsAddressPropPage;
using Row = Page::Row;

constexpr int kEmailType = 4;
// The address-bound texts of a fax take the 50 characters the device keeps
// (and a JVX file carries), so a stored value never blocks the page.
constexpr int kAddressLimit = 50;
constexpr int kUserLimit = 10;
constexpr int kTransparencyLimit = 20;
constexpr int kEmailLimit = 256;
constexpr int kMessageLimit = 1024;

// Rows read through the device's getters of address-bound texts, which give
// an Address child's position text when there is one.
template <void (COutputDevice::*Get)(QString&) const, BOOL (COutputDevice::*Set)(const QString&)>
Row BoundRow(int id, QString Page::*member, int limit)
{
    return Row{id, member, limit, [](const COutputDevice& device, QString& out) { (device.*Get)(out); },
               [](COutputDevice& device, const QString& value) { return (device.*Set)(value); }};
}

template <const QString& (COutputDevice::*Get)() const, BOOL (COutputDevice::*Set)(const QString&)>
Row PlainRow(int id, QString Page::*member, int limit)
{
    return Row{id, member, limit, [](const COutputDevice& device, QString& out) { out = (device.*Get)(); },
               [](COutputDevice& device, const QString& value) { return (device.*Set)(value); }};
}

} // namespace

COutputDeviceSettingsAddressPropPage::COutputDeviceSettingsAddressPropPage(UINT dialogId, int acceptedType,
                                                                           std::vector<Row> rows,
                                                                           std::vector<int> storeOrder,
                                                                           bool hasEnvelope)
    : COutputDevicePropPage(dialogId, {acceptedType}), m_rows(std::move(rows)), m_storeOrder(std::move(storeOrder)),
      m_hasEnvelope(hasEnvelope)
{
    if (m_hasEnvelope)
        BindSelection(IDC_ENVELOPE, &envelopeIndex);
    for (const Row& row : m_rows)
        BindText(row.id, &(this->*row.member), row.limit);
}

Row COutputDeviceSettingsAddressPropPage::SharedRow(int id)
{
    switch (id) {
    case IDC_FROM:
        return BoundRow<&COutputDevice::GetFrom, &COutputDevice::SetFrom>(id, &Page::from, kAddressLimit);
    case IDC_TO:
        return BoundRow<&COutputDevice::GetTo, &COutputDevice::SetTo>(id, &Page::to, kAddressLimit);
    case IDC_USER_NAME:
        return PlainRow<&COutputDevice::GetUserName, &COutputDevice::SetUserName>(id, &Page::userName, kUserLimit);
    case IDC_USER_ID:
        return PlainRow<&COutputDevice::GetUserId, &COutputDevice::SetUserId>(id, &Page::userId, kUserLimit);
    case IDC_USER_ADDRESS:
        return PlainRow<&COutputDevice::GetUserAddress, &COutputDevice::SetUserAddress>(id, &Page::userAddress,
                                                                                        kUserLimit);
    default:
        return PlainRow<&COutputDevice::GetDepartment, &COutputDevice::SetDepartment>(IDC_DEPARTMENT, &Page::department,
                                                                                      kUserLimit);
    }
}

const Row& COutputDeviceSettingsAddressPropPage::RowOf(int id) const
{
    return *std::find_if(m_rows.begin(), m_rows.end(), [id](const Row& row) { return row.id == id; });
}

void COutputDeviceSettingsAddressPropPage::ReadDevice(COutputDevice& source)
{
    for (const int id : m_storeOrder) {
        const Row& row = RowOf(id);
        row.load(source, this->*row.member);
    }
}

BOOL COutputDeviceSettingsAddressPropPage::WriteDevice(COutputDevice& target)
{
    BOOL changed = FALSE;
    // Every setter runs, whatever the ones before reported.
    for (const int id : m_storeOrder) {
        const Row& row = RowOf(id);
        if (row.store(target, this->*row.member))
            changed = TRUE;
    }
    return changed;
}

void COutputDeviceSettingsAddressPropPage::EnableControls()
{
    if (m_hasEnvelope)
        EnableControl(IDC_ENVELOPE, false);
}

COutputDeviceSettingsFaxAddrPropPage::COutputDeviceSettingsFaxAddrPropPage()
    : COutputDeviceSettingsAddressPropPage(
        IDD, COutputDevice::kFaxType,
        {
            SharedRow(IDC_FROM),
            SharedRow(IDC_TO),
            BoundRow<&COutputDevice::GetAttention, &COutputDevice::SetAttention>(IDC_ATTENTION, &Page::attention,
                                                                                 kAddressLimit),
            BoundRow<&COutputDevice::GetReference, &COutputDevice::SetReference>(IDC_REFERENCE, &Page::reference,
                                                                                 kAddressLimit),
            SharedRow(IDC_USER_NAME),
            SharedRow(IDC_USER_ID),
            SharedRow(IDC_USER_ADDRESS),
            SharedRow(IDC_DEPARTMENT),
            PlainRow<&COutputDevice::GetTransparencyOn, &COutputDevice::SetTransparencyOn>(
                IDC_TRANSPARENCY_ON, &Page::transparencyOn, kTransparencyLimit),
            PlainRow<&COutputDevice::GetTransparencyOff, &COutputDevice::SetTransparencyOff>(
                IDC_TRANSPARENCY_OFF, &Page::transparencyOff, kTransparencyLimit),
        },
        {IDC_FROM, IDC_TO, IDC_ATTENTION, IDC_REFERENCE, IDC_USER_NAME, IDC_USER_ID, IDC_USER_ADDRESS, IDC_DEPARTMENT,
         IDC_TRANSPARENCY_ON, IDC_TRANSPARENCY_OFF},
        false)
{}

COutputDeviceSettingsEmailAddrPropPage::COutputDeviceSettingsEmailAddrPropPage()
    : COutputDeviceSettingsAddressPropPage(
        IDD, kEmailType,
        {
            SharedRow(IDC_FROM),
            SharedRow(IDC_TO),
            BoundRow<&COutputDevice::GetSubject, &COutputDevice::SetSubject>(IDC_SUBJECT, &Page::subject, kEmailLimit),
            BoundRow<&COutputDevice::GetMessage, &COutputDevice::SetMessage>(IDC_MESSAGE, &Page::message,
                                                                             kMessageLimit),
            SharedRow(IDC_USER_NAME),
            SharedRow(IDC_USER_ID),
            SharedRow(IDC_USER_ADDRESS),
            SharedRow(IDC_DEPARTMENT),
            BoundRow<&COutputDevice::GetFromEmail, &COutputDevice::SetFromEmail>(IDC_FROM_EMAIL, &Page::fromEmail,
                                                                                 kEmailLimit),
            PlainRow<&COutputDevice::GetPostmasterEmail, &COutputDevice::SetPostmasterEmail>(
                IDC_POSTMASTER, &Page::postmasterEmail, kEmailLimit),
        },
        {IDC_FROM, IDC_FROM_EMAIL, IDC_TO, IDC_SUBJECT, IDC_MESSAGE, IDC_USER_NAME, IDC_USER_ID, IDC_USER_ADDRESS,
         IDC_DEPARTMENT, IDC_POSTMASTER},
        true)
{}
