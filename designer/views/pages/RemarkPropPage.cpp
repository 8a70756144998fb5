#include "designer/views/pages/RemarkPropPage.h"

#include "designer/views/pages/SourceTextPropPages.h"

CRemarkPropPage::CRemarkPropPage(std::unique_ptr<CElementPageRecord> record)
    : CElementPropPage(IDD, std::move(record), {{IDC_REMARK, PageNotification::Change, RemarkPageData::Remark}}),
      m_data(static_cast<TElementPageRecord<RemarkPageData>*>(GetRecord())->data)
{
    RegisterTextKindPageStrings();
    BindText(IDC_REMARK, &m_data.remark);
}
