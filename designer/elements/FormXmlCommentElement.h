#pragma once
// A comment of the XML output at its place among its container's children:
// its text is read from the spooled file at a one-line box or given as
// constant data. In the JVX file one "XMLC" record.

#include "designer/elements/XmlTextKind.h"

class CFormXmlCommentElement : public XmlTextKind<CFormElement>
{
    KWVD_DECLARE_SERIAL(CFormXmlCommentElement)

public:
    static constexpr int kDescriptionLength = 50;

    // The form the archive makes.
    CFormXmlCommentElement();
    // A new comment over the rectangle; PaneSide::Input is drawn in the input pane.
    CFormXmlCommentElement(CDesignerDoc* doc, const kwvd::Rect& rect, int side);
    // From an "XMLC" record.
    explicit CFormXmlCommentElement(CAPRTPDMRec& record);
    ~CFormXmlCommentElement() override;

    static void Register();

    const QString& GetText() const { return m_text; }
    BOOL SetText(const QString& text);

    // Updates the description as well.
    BOOL SetConstantData(BOOL constant) override;
    // With an automatic or empty description: the constant text, or the
    // first line of spooled-file text under the box, trimmed, at most 50
    // characters.
    void UpdateAutoDescription();
    void NormaliseSourceRect() override;

    BOOL UpdatePageData(XmlPageData& page) const;
    BOOL ApplyPageData(const XmlPageData& page, DWORD what);

    // ---- CFormElement
    void Copy(const CFormElement& other) override;
    int GetType() const override;
    void Serialize(CArchive& ar) override;
    BOOL ToRecord(CAPRTPDMRec& record) override;
    void ExportJVX(CJVXArchive& ar) override;

private:
    QString m_text;
};
