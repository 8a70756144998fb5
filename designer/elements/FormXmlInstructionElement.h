#pragma once
// A processing instruction of the XML output: a name (its target) and the
// attributes it holds, with the flow kinds that may stand among them. It has
// no box on either page: the explorer pane and the property sheet show it.
// In the JVX file an "XMLI" record, the children's records and an "ENDX"
// record that repeats the name.

#include "designer/elements/FormContainerElement.h"

#include <QString>

struct _xmlNode;
typedef struct _xmlNode xmlNode;

// What the instruction's page edits: the name only.
struct XmlInstructionPageData
{
    QString name;
};

class CFormXmlInstructionElement : public CFormContainerElement
{
    KWVD_DECLARE_SERIAL(CFormXmlInstructionElement)

public:
    // The form the archive makes.
    CFormXmlInstructionElement();
    // A new instruction of the insert command or the XML import.
    explicit CFormXmlInstructionElement(CDesignerDoc* doc);
    // From an "XMLI" record; reads its children up to "ENDX".
    CFormXmlInstructionElement(CAPRTPDMRec& record, CJVXArchive& ar);
    // Hands the children to its own container.
    ~CFormXmlInstructionElement() override;

    static void Register();

    const QString& GetName() const { return m_name; }
    // An automatic or empty description follows the name. FALSE when unchanged.
    BOOL SetName(const QString& name);

    // The name from the node's "name" attribute, then its attribute
    // references; nothing unless build is 1.
    BOOL LoadFromSchema(xmlNode* node, kwvd::Rect* rect, BOOL build);
    // One line and one column in for each attribute reference. FALSE
    // without a document.
    BOOL LoadSchemaAttributes(xmlNode* node, kwvd::Rect* rect, BOOL build);

    // TRUE when the page's name differed.
    BOOL UpdatePageName(QString& name) const;
    // Bit 0x400000 applies the name.
    BOOL ApplyPageName(const QString& name, DWORD what);
    BOOL UpdatePageData(XmlInstructionPageData& page) const { return UpdatePageName(page.name); }
    BOOL ApplyPageData(const XmlInstructionPageData& page, DWORD what) { return ApplyPageName(page.name, what); }

    // ---- CFormElement
    void Copy(const CFormElement& other) override;
    int GetType() const override;
    void Serialize(CArchive& ar) override;
    BOOL ToRecord(CAPRTPDMRec& record) override;
    void ExportJVX(CJVXArchive& ar) override;
    BOOL Select(BOOL select) override;
    BOOL IgnoresOffset() const override;

private:
    BOOL ExchangeChildrenJVX(CJVXArchive& ar);

    QString m_name;
};
