#include "designer/elements/FormOutputElement.h"

#include "designer/document/DesignerDoc.h"
#include "designer/output/OutputDeviceManager.h"

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
