#pragma once
// An element of the XML output: a name, a text value read from the spooled
// file or given as constant data, and the children it holds (attributes,
// comments, nested elements, instructions and the flow kinds). In the JVX
// file an "XMLE" record, the children's records and an "ENDX" record that
// repeats the name. It can be built, with its subtree, from an XDR
// ElementType declaration.

#include "designer/elements/FormContainerElement.h"
#include "designer/elements/XmlTextKind.h"

class CFormXmlElement : public XmlNamedKind<CFormContainerElement>
{
    KWVD_DECLARE_SERIAL(CFormXmlElement)

public:
    // WVD objects up to this schema have no occurrence limits.
    static constexpr UINT kLastSchemaWithoutOccurs = 13;

    // The form the archive makes.
    CFormXmlElement();
    // A new element over the rectangle; PaneSide::Input is drawn in the input pane.
    CFormXmlElement(CDesignerDoc* doc, const kwvd::Rect& rect, int side);
    // From an "XMLE" record; reads its children up to "ENDX".
    CFormXmlElement(CAPRTPDMRec& record, CJVXArchive& ar);
    // Hands the children to its own container first.
    ~CFormXmlElement() override;

    static void Register();

    const QString& GetContent() const { return m_content; }
    const QString& GetDataType() const { return m_dataType; }
    const QString& GetModel() const { return m_model; }
    const QString& GetOrder() const { return m_order; }
    const QString& GetMinOccurs() const { return m_minOccurs; }
    const QString& GetMaxOccurs() const { return m_maxOccurs; }
    BOOL SetMinOccurs(const QString& value);
    BOOL SetMaxOccurs(const QString& value);

    void GetSchemaInfo(QString& out) const override;

    // Builds the element and its subtree from an ElementType declaration,
    // laid out from the rectangle down (the rectangle follows the walk).
    // Nothing unless build is 1.
    BOOL LoadFromSchema(xmlNode* node, kwvd::Rect* rect, BOOL build);
    // The attribute and element references below the declaration, one line
    // each, indented one column. FALSE without a document.
    BOOL LoadSchemaChildren(xmlNode* node, kwvd::Rect* rect, BOOL build);

    // ---- CFormElement
    void Copy(const CFormElement& other) override;
    int GetType() const override;
    void Serialize(CArchive& ar) override;
    BOOL ToRecord(CAPRTPDMRec& record) override;
    void ExportJVX(CJVXArchive& ar) override;

private:
    // Exports the children, or reads them up to the end record.
    BOOL ExchangeChildrenJVX(CJVXArchive& ar);

    QString m_content;
    QString m_dataType;
    QString m_model;
    QString m_order;
    QString m_minOccurs;
    QString m_maxOccurs;
};

// Adds a new element of the import or the schema walk to the document and
// puts it into the container (none: top level). FALSE when the document
// refused it; the element is deleted then.
BOOL AddImportedXmlElement(CDesignerDoc* doc, CFormElement* element, CFormElement* container);

// Makes the XML attributes of the "attribute" references below the node,
// each one line further down and one column in, inside the container.
BOOL LoadXmlSchemaAttributes(CDesignerDoc* doc, CFormElement* container, xmlNode* node, kwvd::Rect* rect);
