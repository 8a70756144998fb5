#include "designer/elements/FormXmlElement.h"

#include "designer/document/XmlHttp.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/FormXmlAttributeElement.h"
#include "designer/elements/XmlSchemaNodes.h"
#include "platform/framework/Archive.h"

KWVD_IMPLEMENT_SERIAL(CFormXmlElement, CFormElement, VERSIONABLE_SCHEMA | 20)

namespace {

int CellWidthOf(const CDesignerDoc* doc)
{
    const CPage* page = doc != nullptr ? doc->GetSourcePage() : nullptr;
    return page != nullptr ? page->GetCellWidth() : 0;
}

int CellHeightOf(const CDesignerDoc* doc)
{
    const CPage* page = doc != nullptr ? doc->GetSourcePage() : nullptr;
    return page != nullptr ? page->GetCellHeight() : 0;
}

// The "attribute" references below the node, at the rectangle's current
// indentation.
void LoadAttributeReferences(CDesignerDoc* doc, CFormElement* container, xmlNode* node, kwvd::Rect* rect)
{
    const int ch = CellHeightOf(doc);
    for (xmlNode* reference : XmlChildElements(node, "attribute")) {
        if (XmlImportBatch::IsExhausted())
            break;
        QString type;
        if (!XmlGetAttributeValue(reference, QStringLiteral("type"), type))
            continue;
        xmlNode* declaration = FindSchemaDeclaration(node, "AttributeType", type);
        if (declaration == nullptr)
            continue;
        rect->Offset(0, ch);
        auto* attribute = new CFormXmlAttributeElement(doc, *rect, 0);
        if (AddImportedXmlElement(doc, attribute, container))
            attribute->LoadFromSchema(declaration, rect, 1);
    }
}

} // namespace

BOOL AddImportedXmlElement(CDesignerDoc* doc, CFormElement* element, CFormElement* container)
{
    if (XmlImportBatch::IsOpen())
        return XmlImportBatch::Take(doc, element, container) ? TRUE : FALSE;
    if (doc == nullptr || doc->AddElement(element, TRUE, nullptr) == nullptr) {
        delete element;
        return FALSE;
    }
    if (container != nullptr)
        doc->MoveElement(container, element, 1);
    return TRUE;
}

BOOL LoadXmlSchemaAttributes(CDesignerDoc* doc, CFormElement* container, xmlNode* node, kwvd::Rect* rect)
{
    if (doc == nullptr || rect == nullptr)
        return FALSE;
    const int cw = CellWidthOf(doc);
    rect->Offset(cw, 0);
    LoadAttributeReferences(doc, container, node, rect);
    rect->Offset(-cw, 0);
    return TRUE;
}

CFormXmlElement::CFormXmlElement() = default;

CFormXmlElement::CFormXmlElement(CDesignerDoc* doc, const kwvd::Rect& rect, int side) : XmlNamedKind(doc)
{
    InitialiseNew(rect, side);
    NormaliseSourceRect();
}

CFormXmlElement::CFormXmlElement(CAPRTPDMRec& record, CJVXArchive& ar) : XmlNamedKind(record)
{
    m_colour = TableColour();
    SetName(record.m_longData.GetValue());
    if (ReadRecordSource(record)) {
        m_constantDataFlag = TRUE;
        m_constantData = record.m_data.GetValue();
    }
    ExchangeChildrenJVX(ar);
    NormaliseSourceRect();
}

CFormXmlElement::~CFormXmlElement()
{
    ReleaseChildren();
    Announce(DocumentHint::ElementChanged);
}

void CFormXmlElement::Register()
{
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFormXmlElement));
    RegisterRecordElementFactory(
        FormElementType::XmlElement,
        [](CAPRTPDMRec& record, CJVXArchive& ar) -> CFormElement* { return new CFormXmlElement(record, ar); });
}

BOOL CFormXmlElement::SetMinOccurs(const QString& value)
{
    if (value == m_minOccurs)
        return FALSE;
    m_minOccurs = value;
    SetDocumentModified();
    return TRUE;
}

BOOL CFormXmlElement::SetMaxOccurs(const QString& value)
{
    if (value == m_maxOccurs)
        return FALSE;
    m_maxOccurs = value;
    SetDocumentModified();
    return TRUE;
}

void CFormXmlElement::GetSchemaInfo(QString& out) const
{
    out.clear();
    if (!m_content.isEmpty())
        out += QStringLiteral("Content =\t") + m_content + QLatin1Char('\n');
    if (!m_dataType.isEmpty())
        out += QStringLiteral("Type =   \t") + m_dataType + QLatin1Char('\n');
    if (!m_order.isEmpty())
        out += QStringLiteral("Order =  \t") + m_order + QLatin1Char('\n');
    if (!m_model.isEmpty())
        out += QStringLiteral("Model =  \t") + m_model + QLatin1Char('\n');
    if (!m_minOccurs.isEmpty() || !m_maxOccurs.isEmpty())
        out += QStringLiteral("Occurs = \t") + m_minOccurs + QStringLiteral(" - ") + m_maxOccurs;
}

// ---------------------------------------------------------------- schema

BOOL CFormXmlElement::LoadFromSchema(xmlNode* node, kwvd::Rect* rect, BOOL build)
{
    if (build != 1 || node == nullptr || rect == nullptr)
        return FALSE;
    m_content.clear();
    m_dataType.clear();
    m_model.clear();
    m_order.clear();
    m_minOccurs.clear();
    m_maxOccurs.clear();
    m_sourceRect = *rect;
    NormaliseSourceRect();

    XmlImportBatch batch(m_pDoc, kMaxSchemaImportElements);
    SchemaPathScope path(node);
    QString value;
    if (XmlGetAttributeValue(node, QStringLiteral("name"), value))
        SetName(value);
    if (XmlGetAttributeValue(node, QStringLiteral("content"), value))
        m_content = value;
    if (XmlGetAttributeValue(node, QStringLiteral("dt:type"), value))
        m_dataType = value;
    if (XmlGetAttributeValue(node, QStringLiteral("model"), value))
        m_model = value;
    if (XmlGetAttributeValue(node, QStringLiteral("order"), value))
        m_order = value;

    // A type met again inside itself is named but not built again: its
    // contents are those of the occurrence above.
    if (path.IsRecursive())
        path.NoteStopped(m_name);
    else
        LoadSchemaChildren(node, rect, 1);

    if (m_content.compare(QLatin1String("empty"), Qt::CaseInsensitive) == 0
        || m_content.compare(QLatin1String("eltOnly"), Qt::CaseInsensitive) == 0)
        m_constantDataFlag = TRUE;
    path.ReportIfOutermost(m_pDoc);
    if (XmlImportBatch::IsExhausted())
        return FALSE;
    batch.Commit();
    return TRUE;
}

BOOL CFormXmlElement::LoadSchemaChildren(xmlNode* node, kwvd::Rect* rect, BOOL build)
{
    if (m_pDoc == nullptr)
        return FALSE;
    if (build != 1 || node == nullptr || rect == nullptr)
        return TRUE;
    const int cw = CellWidthOf(m_pDoc);
    const int ch = CellHeightOf(m_pDoc);
    rect->Offset(cw, 0);
    LoadAttributeReferences(m_pDoc, this, node, rect);
    for (xmlNode* reference : XmlChildElements(node, "element")) {
        if (XmlImportBatch::IsExhausted())
            break;
        QString type;
        if (!XmlGetAttributeValue(reference, QStringLiteral("type"), type))
            continue;
        xmlNode* declaration = FindSchemaDeclaration(node, "ElementType", type);
        if (declaration == nullptr)
            continue;
        rect->Offset(0, ch);
        auto* element = new CFormXmlElement(m_pDoc, *rect, 0);
        if (!AddImportedXmlElement(m_pDoc, element, this))
            continue;
        element->LoadFromSchema(declaration, rect, 1);
        QString occurs;
        if (XmlGetAttributeValue(reference, QStringLiteral("minOccurs"), occurs))
            element->SetMinOccurs(occurs);
        if (XmlGetAttributeValue(reference, QStringLiteral("maxOccurs"), occurs))
            element->SetMaxOccurs(occurs);
    }
    rect->Offset(-cw, 0);
    return TRUE;
}

// ---------------------------------------------------------------- kind

void CFormXmlElement::Copy(const CFormElement& other)
{
    if (&other == this)
        return;
    CFormContainerElement::Copy(other);
    const auto* element = dynamic_cast<const CFormXmlElement*>(&other);
    if (element == nullptr)
        return;
    m_colour = element->m_colour;
    SetName(element->m_name);
    m_content = element->m_content;
    m_dataType = element->m_dataType;
    m_model = element->m_model;
    m_order = element->m_order;
    m_constantData = element->m_constantData;
    m_minOccurs = element->m_minOccurs;
    m_maxOccurs = element->m_maxOccurs;
    SetConstantData(element->m_constantDataFlag);
}

int CFormXmlElement::GetType() const
{
    return FormElementType::XmlElement;
}

void CFormXmlElement::Serialize(CArchive& ar)
{
    CFormElement::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_name << m_content << m_dataType << m_model << m_order << m_constantData << m_minOccurs << m_maxOccurs
           << static_cast<WORD>(m_constantDataFlag ? 1 : 0);
        SerializeChildren(ar);
        return;
    }

    UINT schema = ar.GetObjectSchema();
    if (schema == CArchive::kNoObjectSchema)
        schema = 20;
    QString name;
    QString value;
    WORD flag = 0;
    ar >> name >> m_content >> m_dataType >> m_model >> m_order >> value;
    if (schema > kLastSchemaWithoutOccurs)
        ar >> m_minOccurs >> m_maxOccurs;
    ar >> flag;
    SetName(name);
    SetValue(value);
    SetConstantData(flag != 0);
    m_colour = TableColour();
    SerializeChildren(ar);
    NormaliseSourceRect();
}

BOOL CFormXmlElement::ToRecord(CAPRTPDMRec& record)
{
    CFormElement::ToRecord(record);
    FillNamedRecord(record, QStringLiteral("XMLE"));
    return TRUE;
}

void CFormXmlElement::ExportJVX(CJVXArchive& ar)
{
    ExportXmlBlockJVX(*this, m_name, ar, [this](CJVXArchive& out) { ExchangeChildrenJVX(out); });
}

BOOL CFormXmlElement::ExchangeChildrenJVX(CJVXArchive& ar)
{
    if (ar.IsStoring()) {
        ExportChildrenJVX(ar);
        return TRUE;
    }
    return ReadChildrenJVX(ar, FormElementType::EndXmlElement);
}
