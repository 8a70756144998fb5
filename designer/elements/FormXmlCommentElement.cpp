#include "designer/elements/FormXmlCommentElement.h"

#include "designer/document/SpooledFile.h"
#include "platform/framework/Archive.h"

KWVD_IMPLEMENT_SERIAL(CFormXmlCommentElement, CFormElement, VERSIONABLE_SCHEMA | 20)

CFormXmlCommentElement::CFormXmlCommentElement() = default;

CFormXmlCommentElement::CFormXmlCommentElement(CDesignerDoc* doc, const kwvd::Rect& rect, int side) : XmlTextKind(doc)
{
    InitialiseNew(rect, side);
    NormaliseSourceRect();
}

CFormXmlCommentElement::CFormXmlCommentElement(CAPRTPDMRec& record) : XmlTextKind(record)
{
    m_colour = TableColour();
    m_destRect = kwvd::Rect();
    if (ReadRecordSource(record)) {
        const QString data = record.m_data.GetValue();
        SetConstantData(TRUE);
        if (data != m_text) {
            m_text = data;
            UpdateAutoDescription();
            SetDocumentModified();
        }
    }
    NormaliseSourceRect();
}

CFormXmlCommentElement::~CFormXmlCommentElement()
{
    Announce(DocumentHint::ElementChanged);
}

void CFormXmlCommentElement::Register()
{
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFormXmlCommentElement));
    RegisterRecordElementFactory(FormElementType::XmlComment, [](CAPRTPDMRec& record, CJVXArchive&) -> CFormElement* {
        return new CFormXmlCommentElement(record);
    });
}

BOOL CFormXmlCommentElement::SetText(const QString& text)
{
    if (text == m_text)
        return FALSE;
    m_text = text;
    UpdateAutoDescription();
    SetDocumentModified();
    return TRUE;
}

BOOL CFormXmlCommentElement::SetConstantData(BOOL constant)
{
    if (!XmlTextKind::SetConstantData(constant))
        return FALSE;
    UpdateAutoDescription();
    return TRUE;
}

void CFormXmlCommentElement::UpdateAutoDescription()
{
    if (!IsAutoDescription() && !m_description.isEmpty())
        return;
    if (m_constantDataFlag) {
        SetDescription(m_text, this);
        return;
    }
    const CPage* page = SourcePage();
    CSpooledFile* spooledFile = m_pDoc != nullptr ? m_pDoc->GetSpooledFile() : nullptr;
    if (page == nullptr || spooledFile == nullptr || page->GetCellWidth() <= 0 || page->GetCellHeight() <= 0)
        return;
    kwvd::Rect cells = m_sourceRect;
    page->RectToCells(cells);
    const QStringList lines = spooledFile->GetTextInRect(cells);
    if (!lines.isEmpty())
        SetDescription(lines.first().trimmed().left(kDescriptionLength), this);
}

void CFormXmlCommentElement::NormaliseSourceRect()
{
    m_destRect = kwvd::Rect();
    NormaliseXmlSourceBox(SourcePage(), m_sourceRect);
    UpdateAutoDescription();
    Announce(DocumentHint::SourceRectChanged);
}

BOOL CFormXmlCommentElement::UpdatePageData(XmlPageData& page) const
{
    BOOL changed = XmlTextKind::UpdatePageData(page);
    if (page.data != m_text)
        changed = TRUE;
    page.data = m_text;
    return changed;
}

BOOL CFormXmlCommentElement::ApplyPageData(const XmlPageData& page, DWORD what)
{
    BOOL changed = ApplyPageGeometry(page, what);
    if ((what & XmlPageBits::ConstantData) != 0) {
        changed |= SetConstantData(TRUE);
        changed |= SetText(page.data);
    }
    return changed;
}

void CFormXmlCommentElement::Copy(const CFormElement& other)
{
    if (&other == this)
        return;
    CFormElement::Copy(other);
    const auto* comment = dynamic_cast<const CFormXmlCommentElement*>(&other);
    if (comment == nullptr)
        return;
    m_colour = comment->m_colour;
    m_text = comment->m_text;
    SetConstantData(comment->m_constantDataFlag);
}

int CFormXmlCommentElement::GetType() const
{
    return FormElementType::XmlComment;
}

void CFormXmlCommentElement::Serialize(CArchive& ar)
{
    CFormElement::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_text << static_cast<WORD>(m_constantDataFlag ? 1 : 0);
    } else {
        QString text;
        WORD flag = 0;
        ar >> text >> flag;
        if (text != m_text) {
            m_text = text;
            UpdateAutoDescription();
            SetDocumentModified();
        }
        SetConstantData(flag != 0);
        m_colour = TableColour();
    }
    NormaliseSourceRect();
}

BOOL CFormXmlCommentElement::ToRecord(CAPRTPDMRec& record)
{
    CFormElement::ToRecord(record);
    record.m_opcode.SetValue(QStringLiteral("XMLC"));
    if (m_constantDataFlag) {
        record.m_data.SetValue(m_text);
        ClearRecordPositions(record);
    }
    return TRUE;
}

void CFormXmlCommentElement::ExportJVX(CJVXArchive& ar)
{
    ExportRecordJVX(ar);
}
