#include "designer/elements/FormXmlInstructionElement.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/XmlHttp.h"
#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/FormXmlElement.h"
#include "designer/elements/XmlTextKind.h"
#include "platform/framework/Archive.h"

KWVD_IMPLEMENT_SERIAL(CFormXmlInstructionElement, CFormElement, VERSIONABLE_SCHEMA | 20)

CFormXmlInstructionElement::CFormXmlInstructionElement() = default;

CFormXmlInstructionElement::CFormXmlInstructionElement(CDesignerDoc* doc) : CFormContainerElement(doc) {}

CFormXmlInstructionElement::CFormXmlInstructionElement(CAPRTPDMRec& record, CJVXArchive& ar)
    : CFormContainerElement(record)
{
    m_sourceRect = kwvd::Rect();
    m_destRect = kwvd::Rect();
    SetName(record.m_longData.GetValue());
    ExchangeChildrenJVX(ar);
}

CFormXmlInstructionElement::~CFormXmlInstructionElement() = default;

void CFormXmlInstructionElement::Register()
{
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFormXmlInstructionElement));
    RegisterRecordElementFactory(FormElementType::XmlInstruction,
                                 [](CAPRTPDMRec& record, CJVXArchive& ar) -> CFormElement* {
                                     return new CFormXmlInstructionElement(record, ar);
                                 });
}

BOOL CFormXmlInstructionElement::SetName(const QString& name)
{
    if (name == m_name)
        return FALSE;
    m_name = name;
    if (IsAutoDescription() || m_description.isEmpty())
        SetDescription(m_name, this);
    SetDocumentModified();
    return TRUE;
}

BOOL CFormXmlInstructionElement::LoadFromSchema(xmlNode* node, kwvd::Rect* rect, BOOL build)
{
    if (build != 1 || node == nullptr)
        return FALSE;
    QString name;
    if (XmlGetAttributeValue(node, QStringLiteral("name"), name))
        SetName(name);
    return LoadSchemaAttributes(node, rect, 1);
}

BOOL CFormXmlInstructionElement::LoadSchemaAttributes(xmlNode* node, kwvd::Rect* rect, BOOL build)
{
    if (m_pDoc == nullptr)
        return FALSE;
    if (build != 1 || node == nullptr || rect == nullptr)
        return TRUE;
    return LoadXmlSchemaAttributes(m_pDoc, this, node, rect);
}

BOOL CFormXmlInstructionElement::UpdatePageName(QString& name) const
{
    const BOOL changed = name != m_name;
    name = m_name;
    return changed;
}

BOOL CFormXmlInstructionElement::ApplyPageName(const QString& name, DWORD what)
{
    if ((what & XmlPageBits::Name) == 0 || name == m_name)
        return FALSE;
    return SetName(name);
}

void CFormXmlInstructionElement::Copy(const CFormElement& other)
{
    if (&other == this)
        return;
    CFormContainerElement::Copy(other);
    if (const auto* instruction = dynamic_cast<const CFormXmlInstructionElement*>(&other))
        SetName(instruction->m_name);
}

int CFormXmlInstructionElement::GetType() const
{
    return FormElementType::XmlInstruction;
}

void CFormXmlInstructionElement::Serialize(CArchive& ar)
{
    CFormElement::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_name;
    } else {
        QString name;
        ar >> name;
        SetName(name);
        m_sourceRect = kwvd::Rect();
        m_destRect = kwvd::Rect();
    }
    SerializeChildren(ar);
}

BOOL CFormXmlInstructionElement::ToRecord(CAPRTPDMRec& record)
{
    CFormElement::ToRecord(record);
    record.m_opcode.SetValue(QStringLiteral("XMLI"));
    record.m_longData.SetValue(m_name);
    ClearRecordPositions(record);
    return TRUE;
}

void CFormXmlInstructionElement::ExportJVX(CJVXArchive& ar)
{
    ExportXmlBlockJVX(*this, m_name, ar, [this](CJVXArchive& out) { ExchangeChildrenJVX(out); });
}

BOOL CFormXmlInstructionElement::ExchangeChildrenJVX(CJVXArchive& ar)
{
    if (ar.IsStoring()) {
        ExportChildrenJVX(ar);
        return TRUE;
    }
    return ReadChildrenJVX(ar, FormElementType::EndXmlElement);
}

BOOL CFormXmlInstructionElement::Select(BOOL select)
{
    return SelectQuietly(select);
}

BOOL CFormXmlInstructionElement::IgnoresOffset() const
{
    return TRUE;
}
