#include "designer/elements/FormRemarkElement.h"

#include "designer/document/DesignerDoc.h"
#include "platform/framework/Archive.h"

KWVD_IMPLEMENT_SERIAL(CFormRemarkElement, CFormElement, VERSIONABLE_SCHEMA | 20)

namespace {

constexpr int kDescriptionLength = 50;

} // namespace

CFormRemarkElement::CFormRemarkElement() = default;

CFormRemarkElement::CFormRemarkElement(CDesignerDoc* doc) : CFormElement(doc) {}

CFormRemarkElement::~CFormRemarkElement()
{
    Announce(DocumentHint::ElementChanged);
}

BOOL CFormRemarkElement::SetRemark(const QString& text)
{
    if (text == m_remark)
        return FALSE;
    m_remark = text;
    if (IsAutoDescription() || m_description.isEmpty())
        SetDescription(text.trimmed().left(kDescriptionLength), this);
    SetDocumentModified();
    return TRUE;
}

BOOL CFormRemarkElement::UpdatePage(RemarkPageData& page) const
{
    if (page.remark == m_remark)
        return FALSE;
    page.remark = m_remark;
    return TRUE;
}

BOOL CFormRemarkElement::ApplyPage(const RemarkPageData& page, DWORD what)
{
    return (what & RemarkPageData::Remark) != 0 ? SetRemark(page.remark) : FALSE;
}

void CFormRemarkElement::Copy(const CFormElement& other)
{
    CFormElement::Copy(other);
    if (const auto* remark = dynamic_cast<const CFormRemarkElement*>(&other))
        SetRemark(remark->m_remark);
}

int CFormRemarkElement::GetType() const
{
    return FormElementType::Remark;
}

void CFormRemarkElement::Serialize(CArchive& ar)
{
    CFormElement::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_remark;
    } else {
        QString text;
        ar >> text;
        SetRemark(text);
    }
    m_sourceRect = kwvd::Rect();
    m_destRect = kwvd::Rect();
}

BOOL CFormRemarkElement::ToRecord(CAPRTPDMRec&)
{
    return FALSE;
}

BOOL CFormRemarkElement::Select(BOOL select)
{
    return SelectQuietly(select);
}

BOOL CFormRemarkElement::Find(const QString& text) const
{
    if (text.isEmpty())
        return FALSE;
    return CFormElement::Find(text) || m_remark.contains(text, Qt::CaseSensitive);
}

BOOL CFormRemarkElement::Replace(const QString& find, const QString& replace)
{
    BOOL changed = FALSE;
    if (!find.isEmpty() && m_remark.contains(find, Qt::CaseSensitive)) {
        QString copy = m_remark;
        copy.replace(find, replace, Qt::CaseSensitive);
        changed = SetRemark(copy);
    }
    // The description is replaced in too, whatever happened to the text.
    const BOOL described = CFormElement::Replace(find, replace);
    return changed || described;
}
