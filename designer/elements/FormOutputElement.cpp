#include "designer/elements/FormOutputElement.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/FormAddressElement.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/output/OutputDeviceTypeTable.h"
#include "platform/framework/Archive.h"

KWVD_IMPLEMENT_SERIAL(CFormOutputElement, CFormElement, VERSIONABLE_SCHEMA | 20)

CFormOutputElement::CFormOutputElement() = default;

CFormOutputElement::CFormOutputElement(CDesignerDoc* doc) : CFormContainerElement(doc)
{
    m_sourceRect = {};
    m_destRect = {};
    SetOutputDevice(0);
}

CFormOutputElement::CFormOutputElement(CAPRTPDMRec& record) : CFormContainerElement(record)
{
    m_sourceRect = {};
    m_destRect = {};
    const QString data = record.m_data.GetValue();
    QString name = data.left(COutputDevice::kNameWidth);
    while (name.endsWith(u' '))
        name.chop(1);
    const QString code = data.mid(COutputDevice::kNameWidth, 4);
    COutputDeviceManager* manager = Manager();
    if (manager == nullptr)
        return;
    // A record without a name would make a nameless device in the master
    // list; it can only mean the document's own.
    SetOutputDevice(name.isEmpty() ? 0 : manager->AddDeviceByName(name, code));
}

CFormOutputElement::~CFormOutputElement()
{
    SetOutputDevice(-1);
    // Handed on here, while the element still answers as an Output element.
    ReleaseChildren();
}

void CFormOutputElement::Register()
{
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFormOutputElement));
    RegisterRecordElementFactory(FormElementType::Output, [](CAPRTPDMRec& record, CJVXArchive&) -> CFormElement* {
        return new CFormOutputElement(record);
    });
}

COutputDeviceManager* CFormOutputElement::Manager() const
{
    return m_pDoc != nullptr ? m_pDoc->GetOutputDeviceManager() : nullptr;
}

int CFormOutputElement::AddressKindForDocument() const
{
    return m_pDoc != nullptr && m_pDoc->IsXmlDocument() ? AddressKind::Source : AddressKind::Dest;
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
    // SetParent checks the Address's setting against the device type.
    const int kind = AddressKindForDocument();
    BOOL changed = FALSE;
    ChildPosition position = GetFirstChildPosition();
    while (position) {
        CFormElement* child = GetNextChild(position);
        if (child == nullptr)
            continue;
        if (child->SetParent(this))
            changed = TRUE;
        if (auto* address = dynamic_cast<CFormAddressElement*>(child); address != nullptr && address->SetKind(kind))
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
    BOOL taken = FALSE;
    ForEachAddress(settingId, [&](IOutputAddress& address) {
        if (address.SetFromPlaceholder(text))
            taken = TRUE;
        return true;
    });
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

BOOL CFormOutputElement::AddChild(CFormElement* child, CFormElement* insertionHint)
{
    if (!CFormContainerElement::AddChild(child, insertionHint))
        return FALSE;
    if (auto* address = dynamic_cast<CFormAddressElement*>(child))
        address->SetKind(AddressKindForDocument());
    return TRUE;
}

BOOL CFormOutputElement::UpdatePageDevice(int& index) const
{
    const BOOL changed = index != m_deviceIndex || m_deviceIndex == 0 ? TRUE : FALSE;
    index = m_deviceIndex;
    return changed;
}

BOOL CFormOutputElement::ApplyPageDevice(int index, DWORD what)
{
    BOOL changed = FALSE;
    if ((what & 0x1000) && SetOutputDevice(index))
        changed = TRUE;
    if (what & 0x2000) {
        UpdateDescriptionFromDevice();
        SetDocumentModified();
        RecheckAddresses(0);
        changed = TRUE;
    }
    return changed;
}

namespace {

class OutputPageRecord : public COutputPageRecord
{
public:
    explicit OutputPageRecord(CFormOutputElement* element) : COutputPageRecord(element) {}

    BOOL UpdateFrom(const CFormElement& element) override
    {
        const auto* output = dynamic_cast<const CFormOutputElement*>(&element);
        return output != nullptr ? output->UpdatePageDevice(data.deviceIndex) : FALSE;
    }

    BOOL ApplyTo(CFormElement& element, DWORD groups) const override
    {
        auto* output = dynamic_cast<CFormOutputElement*>(&element);
        return output != nullptr ? output->ApplyPageDevice(data.deviceIndex, groups) : FALSE;
    }
};

} // namespace

void CFormOutputElement::AddPropertyPages(IElementPageSink* sheet, WORD generalMask)
{
    CFormContainerElement::AddPropertyPages(sheet, generalMask);
    if (sheet == nullptr)
        return;
    auto record = std::make_unique<OutputPageRecord>(this);
    record->data.deviceIndex = m_deviceIndex;
    record->data.manager = Manager();
    sheet->AddPage(std::move(record));
}

void CFormOutputElement::Serialize(CArchive& ar)
{
    CFormElement::Serialize(ar);
    m_sourceRect = {};
    m_destRect = {};
    COutputDeviceManager* manager = Manager();
    if (ar.IsStoring()) {
        QString name;
        QString code;
        if (manager != nullptr) {
            manager->GetDeviceName(m_deviceIndex, name, FALSE);
            if (const OutputDeviceTypeRow* row = FindOutputDeviceType(manager->GetDeviceType(m_deviceIndex)))
                code = QString::fromLatin1(row->code);
        }
        ar << static_cast<LONG>(m_deviceIndex) << name << code;
        SerializeChildren(ar);
        return;
    }

    UINT schema = ar.GetObjectSchema();
    if (schema == CArchive::kNoObjectSchema)
        schema = 20;
    LONG index = -1;
    ar >> index;
    if (schema > 19) {
        QString name;
        QString code;
        ar >> name >> code;
        // The index was the saving document's; the name is what counts here.
        index = manager != nullptr && !name.isEmpty() ? manager->AddDeviceByName(name, code) : 0;
    }
    SetOutputDevice(static_cast<int>(index));
    if (m_deviceIndex == -1)
        SetOutputDevice(0);
    if (schema > 8)
        SerializeChildren(ar);
}

BOOL CFormOutputElement::ToRecord(CAPRTPDMRec& record)
{
    CFormElement::ToRecord(record);
    record.m_opcode.SetValue(QStringLiteral("OUTP"));
    QString name;
    QString code;
    if (COutputDeviceManager* manager = Manager()) {
        // FALSE only says the export device has no name of its own; the
        // default name then goes to the host as it is.
        manager->GetDeviceName(m_deviceIndex, name, TRUE);
        if (const OutputDeviceTypeRow* row = FindOutputDeviceType(manager->GetDeviceType(m_deviceIndex)))
            code = QString::fromLatin1(row->code);
    }
    record.m_data.SetValue(name.left(COutputDevice::kNameWidth).leftJustified(COutputDevice::kNameWidth, u' ') + code);
    return TRUE;
}

void CFormOutputElement::ExportJVX(CJVXArchive& ar)
{
    // The Address children go out through the device's own record.
    ExportRecordJVX(ar);
}

BOOL CFormOutputElement::Find(const QString& text) const
{
    if (CFormElement::Find(text))
        return TRUE;
    COutputDeviceManager* manager = Manager();
    return manager != nullptr && manager->FindInDevice(m_deviceIndex, text);
}

BOOL CFormOutputElement::Replace(const QString& find, const QString& replace)
{
    COutputDeviceManager* manager = Manager();
    BOOL changed = manager != nullptr && manager->ReplaceInDevice(m_deviceIndex, find, replace) ? TRUE : FALSE;
    if (CFormElement::Replace(find, replace))
        changed = TRUE;
    return changed;
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
