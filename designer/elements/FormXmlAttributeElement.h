#pragma once
// One attribute of the XML element or instruction that holds it: a name and
// a value read from the spooled file or given as constant data. In the JVX
// file one "XMLA" record. An XDR AttributeType declaration can fill it.

#include "designer/elements/XmlTextKind.h"

class CFormXmlAttributeElement : public XmlTextKind<CFormElement>
{
    KWVD_DECLARE_SERIAL(CFormXmlAttributeElement)

public:
    // The form the archive makes.
    CFormXmlAttributeElement();
    // A new attribute over the rectangle; side 1 is drawn in the input pane.
    CFormXmlAttributeElement(CDesignerDoc* doc, const kwvd::Rect& rect, int side);
    // From an "XMLA" record.
    explicit CFormXmlAttributeElement(CAPRTPDMRec& record);
    ~CFormXmlAttributeElement() override;

    static void Register();

    const QString& GetName() const { return m_name; }
    // An automatic or empty description follows the name. FALSE when unchanged.
    BOOL SetName(const QString& name);
    const QString& GetValue() const { return m_constantData; }
    BOOL SetValue(const QString& value);
    const QString& GetDefault() const { return m_default; }
    const QString& GetDataType() const { return m_dataType; }
    const QString& GetValues() const { return m_values; }
    const QString& GetRequired() const { return m_required; }

    // The schema's facts of the attribute, one per line, for the page.
    void GetSchemaInfo(QString& out) const;

    // Fills the attribute from an AttributeType declaration at the
    // rectangle; nothing unless build is 1. Absent facts stay as they are.
    BOOL LoadFromSchema(xmlNode* node, kwvd::Rect* rect, BOOL build);

    BOOL UpdatePageData(XmlPageData& page) const;
    BOOL ApplyPageData(const XmlPageData& page, DWORD what);

    // ---- CFormElement
    void Copy(const CFormElement& other) override;
    void CopyFrom(const CFormElement& other) override;
    int GetType() const override;
    void Serialize(CArchive& ar) override;
    BOOL ToRecord(CAPRTPDMRec& record) override;
    void ExportJVX(CJVXArchive& ar) override;

private:
    QString m_name;
    QString m_default;
    QString m_dataType;
    QString m_values;
    QString m_required;
    QString m_constantData;
};
