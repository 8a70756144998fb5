#include "designer/elements/FormOutputElement.h"

#include "designer/document/DesignerDoc.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"

#include <QStringList>

KWVD_IMPLEMENT_SERIAL(CFormOutputElement, CFormElement, VERSIONABLE_SCHEMA | 20)

CFormOutputElement::CFormOutputElement() = default;

CFormOutputElement::CFormOutputElement(CDesignerDoc* doc) : CFormContainerElement(doc)
{
    m_sourceRect = {};
    m_destRect = {};
    SetOutputDevice(0);
}

CFormOutputElement::~CFormOutputElement()
{
    SetOutputDevice(-1);
    // Handed on here, while the element still answers as an Output element.
    ReleaseChildren();
}

int CFormOutputElement::GetType() const
{
    return FormElementType::Output;
}

BOOL CFormOutputElement::SetOutputDevice(int index)
{
    COutputDeviceManager* manager = m_pDoc != nullptr ? m_pDoc->GetOutputDeviceManager() : nullptr;
    BOOL changed = FALSE;
    if (index != m_deviceIndex) {
        if (manager != nullptr) {
            if (manager->ReassignElement(index, m_deviceIndex, this)) {
                m_deviceIndex = index;
                changed = TRUE;
            }
        } else if (index == -1) {
            // Without a manager there is no device to leave.
            m_deviceIndex = -1;
            changed = TRUE;
        }
    }
    if (m_deviceIndex == -1)
        return TRUE;

    if (RecheckAddresses(0))
        changed = TRUE;
    if (UpdateDescriptionFromDevice()) {
        SetDocumentModified();
        return TRUE;
    }
    if (changed)
        SetDocumentModified();
    return changed;
}

BOOL CFormOutputElement::UpdateDescriptionFromDevice()
{
    if (!IsAutoDescription() && !m_description.isEmpty())
        return FALSE;
    COutputDeviceManager* manager = m_pDoc != nullptr ? m_pDoc->GetOutputDeviceManager() : nullptr;
    if (manager == nullptr)
        return FALSE;
    QString name;
    if (!manager->GetDisplayName(m_deviceIndex, name))
        return FALSE;
    return SetDescription(name, this);
}

BOOL CFormOutputElement::RecheckAddresses(int mode)
{
    // The Address kind checks its setting against the device type in its
    // SetParent and takes its kind from the document type.
    BOOL changed = FALSE;
    ChildPosition position = GetFirstChildPosition();
    while (position) {
        CFormElement* child = GetNextChild(position);
        if (child == nullptr)
            continue;
        if (child->SetParent(this))
            changed = TRUE;
        child->Revalidate(mode);
    }
    return changed;
}

template <class Visit>
BOOL CFormOutputElement::ForEachAddress(int settingId, Visit visit) const
{
    BOOL found = FALSE;
    ChildPosition position = GetFirstChildPosition();
    while (position) {
        CFormElement* child = GetNextChild(position);
        if (child == nullptr || child->GetType() != FormElementType::Address)
            continue;
        auto* address = dynamic_cast<IOutputAddress*>(child);
        if (address == nullptr || address->GetSettingId() != settingId)
            continue;
        if (visit(*address))
            found = TRUE;
    }
    return found;
}

BOOL CFormOutputElement::HasAddress(int settingId) const
{
    return ForEachAddress(settingId, [](IOutputAddress&) { return true; });
}

BOOL CFormOutputElement::FormatAddressPlaceholder(int settingId, QString& out) const
{
    return ForEachAddress(settingId, [&out](IOutputAddress& address) {
        const kwvd::Rect cells = address.GetAddressCells();
        out = QString::asprintf("?%03d,%03d,%03d", cells.top, cells.left, cells.Width());
        if (address.GetDeleteFlag())
            out += QStringLiteral(",D");
        return true;
    });
}

BOOL CFormOutputElement::GetAddressCells(int settingId, kwvd::Rect& cells) const
{
    return ForEachAddress(settingId, [&cells](IOutputAddress& address) {
        cells = address.GetAddressCells();
        return true;
    });
}

BOOL CFormOutputElement::SetAddressCells(int settingId, const kwvd::Rect& cells)
{
    return ForEachAddress(settingId, [&cells](IOutputAddress& address) {
        address.SetAddressCells(cells);
        return true;
    });
}

BOOL CFormOutputElement::SetAddressFromPlaceholder(int settingId, const QString& text)
{
    if (!text.startsWith(u'?') || text.count(u',') < 2)
        return FALSE;
    const QStringList parts = text.mid(1).split(u',');
    const int line = COutputDevice::LeadingInteger(parts.value(0));
    const int column = COutputDevice::LeadingInteger(parts.value(1));
    const int length = COutputDevice::LeadingInteger(parts.value(2));
    const bool deleting = parts.size() > 3 && parts.value(3) == QLatin1StringView("D");
    // The positions themselves are never deleted from the output.
    const bool flagApplies = settingId != AddressFieldCode::Destination && settingId != AddressFieldCode::FirstPage;
    BOOL flagChanged = FALSE;
    const BOOL taken = ForEachAddress(settingId, [&](IOutputAddress& address) {
        if (line > 0 && column > 0 && length > 0)
            address.SetAddressCells(kwvd::Rect(column, line, column + length, line + 1));
        if (flagApplies && address.SetDeleteFlag(deleting ? TRUE : FALSE))
            flagChanged = TRUE;
        return true;
    });
    if (flagChanged)
        SetDocumentModified();
    return taken;
}

void CFormOutputElement::Copy(const CFormElement& other)
{
    if (&other == this)
        return;
    CFormContainerElement::Copy(other);
    m_sourceRect = {};
    m_destRect = {};
    if (const auto* output = dynamic_cast<const CFormOutputElement*>(&other))
        SetOutputDevice(output->m_deviceIndex);
}

BOOL CFormOutputElement::Select(BOOL select)
{
    return SelectQuietly(select);
}

void CFormOutputElement::Revalidate(int mode)
{
    CFormElement::Revalidate(mode);
    RecheckAddresses(mode);
}
