#pragma once
// The Remark's own page: one multi-line edit for the note. Every change of
// the text is one change transaction; while the description is automatic it
// follows the text.

#include "designer/elements/ElementPagesText.h"
#include "designer/views/pages/ElementPropPage.h"

class CRemarkPropPage : public CElementPropPage
{
public:
    enum : int {
        IDD = 163,
        IDC_REMARK = 1379,
    };

    explicit CRemarkPropPage(std::unique_ptr<CElementPageRecord> record);

    const RemarkPageData& Data() const { return m_data; }

private:
    RemarkPageData& m_data;
};
