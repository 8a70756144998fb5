#pragma once
// The Remark is a note in the element tree: no box on either page, never
// drawn, hit or exported. Its text is searched by find and replace.

#include "designer/elements/ElementPagesText.h"
#include "designer/elements/FormElement.h"

class CFormRemarkElement : public CFormElement
{
    KWVD_DECLARE_SERIAL(CFormRemarkElement)

public:
    // The form the archive makes.
    CFormRemarkElement();
    // A new remark made by the insert command.
    explicit CFormRemarkElement(CDesignerDoc* doc);
    ~CFormRemarkElement() override;

    const QString& GetRemark() const { return m_remark; }
    // An automatic or empty description follows the text, trimmed and cut
    // to 50 characters. FALSE when the text is the current one.
    BOOL SetRemark(const QString& text);

    // ---- property page: the text, TRUE when it differed or changed.
    BOOL UpdatePage(RemarkPageData& page) const;
    BOOL ApplyPage(const RemarkPageData& page, DWORD what);

    void Copy(const CFormElement& other) override;
    int GetType() const override;
    void Serialize(CArchive& ar) override;
    // A remark has no record.
    BOOL ToRecord(CAPRTPDMRec& record) override;
    BOOL Select(BOOL select) override;
    BOOL Find(const QString& text) const override;
    BOOL Replace(const QString& find, const QString& replace) override;

private:
    QString m_remark;
};
