#include "designer/elements/FormXmlAttributeElement.h"

#include "designer/document/XmlHttp.h"
#include "platform/framework/Archive.h"

KWVD_IMPLEMENT_SERIAL(CFormXmlAttributeElement, CFormElement, VERSIONABLE_SCHEMA | 20)

CFormXmlAttributeElement::CFormXmlAttributeElement() = default;

CFormXmlAttributeElement::CFormXmlAttributeElement(CDesignerDoc* doc, const kwvd::Rect& rect, int side)
    : XmlNamedKind(doc)
{
    InitialiseNew(rect, side);
    NormaliseSourceRect();
}

CFormXmlAttributeElement::CFormXmlAttributeElement(CAPRTPDMRec& record) : XmlNamedKind(record)
{
    m_colour = TableColour();
    m_destRect = kwvd::Rect();
    SetName(record.m_longData.GetValue());
    if (ReadRecordSource(record)) {
        SetConstantData(TRUE);
        SetValue(record.m_data.GetValue());
    }
    NormaliseSourceRect();
}

CFormXmlAttributeElement::~CFormXmlAttributeElement()
{
    Announce(DocumentHint::ElementChanged);
}

void CFormXmlAttributeElement::Register()
{
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFormXmlAttributeElement));
    RegisterRecordElementFactory(FormElementType::XmlAttribute, [](CAPRTPDMRec& record, CJVXArchive&) -> CFormElement* {
        return new CFormXmlAttributeElement(record);
    });
}

void CFormXmlAttributeElement::GetSchemaInfo(QString& out) const
{
    out.clear();
    if (!m_default.isEmpty())
        out += QStringLiteral("Default = \t") + m_default + QLatin1Char('\n');
    if (!m_dataType.isEmpty())
        out += QStringLiteral("Type =    \t") + m_dataType + QLatin1Char('\n');
    if (!m_values.isEmpty())
        out += QStringLiteral("Values =  \t") + m_values + QLatin1Char('\n');
    if (!m_required.isEmpty())
        out += QStringLiteral("Required =\t") + m_required;
}

BOOL CFormXmlAttributeElement::LoadFromSchema(xmlNode* node, kwvd::Rect* rect, BOOL build)
{
    if (build != 1 || node == nullptr)
        return FALSE;
    if (rect != nullptr)
        m_sourceRect = *rect;
    NormaliseSourceRect();
    QString value;
    if (XmlGetAttributeValue(node, QStringLiteral("name"), value))
        SetName(value);
    if (XmlGetAttributeValue(node, QStringLiteral("default"), value))
        m_default = value;
    if (XmlGetAttributeValue(node, QStringLiteral("dt:type"), value))
        m_dataType = value;
    if (XmlGetAttributeValue(node, QStringLiteral("dt:values"), value))
        m_values = value;
    if (XmlGetAttributeValue(node, QStringLiteral("required"), value))
        m_required = value;
    return TRUE;
}

void CFormXmlAttributeElement::Copy(const CFormElement& other)
{
    if (&other == this)
        return;
    CFormElement::Copy(other);
    const auto* attribute = dynamic_cast<const CFormXmlAttributeElement*>(&other);
    if (attribute == nullptr)
        return;
    m_colour = attribute->m_colour;
    SetName(attribute->m_name);
    m_default = attribute->m_default;
    m_dataType = attribute->m_dataType;
    m_values = attribute->m_values;
    m_required = attribute->m_required;
    m_constantData = attribute->m_constantData;
    SetConstantData(attribute->m_constantDataFlag);
}

int CFormXmlAttributeElement::GetType() const
{
    return FormElementType::XmlAttribute;
}

void CFormXmlAttributeElement::Serialize(CArchive& ar)
{
    CFormElement::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_name << m_default << m_dataType << m_values << m_required << m_constantData
           << static_cast<WORD>(m_constantDataFlag ? 1 : 0);
        return;
    }
    QString name;
    QString value;
    WORD flag = 0;
    ar >> name >> m_default >> m_dataType >> m_values >> m_required >> value >> flag;
    SetName(name);
    SetValue(value);
    SetConstantData(flag != 0);
    m_colour = TableColour();
    NormaliseSourceRect();
}

BOOL CFormXmlAttributeElement::ToRecord(CAPRTPDMRec& record)
{
    CFormElement::ToRecord(record);
    FillNamedRecord(record, QStringLiteral("XMLA"));
    return TRUE;
}

void CFormXmlAttributeElement::ExportJVX(CJVXArchive& ar)
{
    ExportRecordJVX(ar);
}
