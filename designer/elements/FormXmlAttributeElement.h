#pragma once
// One attribute of the XML element or instruction that holds it: a name and
// a value read from the spooled file or given as constant data. In the JVX
// file one "XMLA" record. An XDR AttributeType declaration can fill it.

#include "designer/elements/XmlTextKind.h"

class CFormXmlAttributeElement : public XmlNamedKind<CFormElement>
{
    KWVD_DECLARE_SERIAL(CFormXmlAttributeElement)

public:
    // The form the archive makes.
    CFormXmlAttributeElement();
    // A new attribute over the rectangle; PaneSide::Input is drawn in the input pane.
    CFormXmlAttributeElement(CDesignerDoc* doc, const kwvd::Rect& rect, int side);
    // From an "XMLA" record.
    explicit CFormXmlAttributeElement(CAPRTPDMRec& record);
    ~CFormXmlAttributeElement() override;

    static void Register();

    const QString& GetDefault() const { return m_default; }
    const QString& GetDataType() const { return m_dataType; }
    const QString& GetValues() const { return m_values; }
    const QString& GetRequired() const { return m_required; }

    void GetSchemaInfo(QString& out) const override;

    // Fills the attribute from an AttributeType declaration at the
    // rectangle; nothing unless build is 1. Absent facts stay as they are.
    BOOL LoadFromSchema(xmlNode* node, kwvd::Rect* rect, BOOL build);

    // ---- CFormElement
    void Copy(const CFormElement& other) override;
    int GetType() const override;
    void Serialize(CArchive& ar) override;
    BOOL ToRecord(CAPRTPDMRec& record) override;
    void ExportJVX(CJVXArchive& ar) override;

private:
    QString m_default;
    QString m_dataType;
    QString m_values;
    QString m_required;
};
