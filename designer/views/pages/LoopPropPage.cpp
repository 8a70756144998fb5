#include "designer/views/pages/LoopPropPage.h"

#include "designer/document/DesignerDoc.h"
#include "designer/elements/FormElement.h"
#include "designer/elements/FormLoopElement.h"
#include "designer/views/pages/ElementPropertySheet.h"
#include "designer/views/pages/SourceTextPropPages.h"

namespace {

std::vector<PageControl> LoopControls()
{
    using P = CLoopPropPage;
    using D = LoopPageData;
    return {
        {P::IDC_START_LINE, PageNotification::Change, D::StartLine, P::IDC_START_LINE_SPIN, true},
        {P::IDC_HEIGHT, PageNotification::Change, D::Height, P::IDC_HEIGHT_SPIN, true},
        {P::IDC_END_OF_PAGE, PageNotification::Clicked, D::Mode},
        {P::IDC_END_OF_DOCUMENT, PageNotification::Clicked, D::Mode},
        {P::IDC_INCREMENT_ON_SUCCESS, PageNotification::Clicked, D::IncrementOnSuccess},
    };
}

BYTE ModeOf(int endOfDocument, int endOfPage)
{
    if (endOfDocument != 0)
        return LoopMode::ToDocumentEnd;
    return endOfPage != 0 ? LoopMode::ToPageEnd : LoopMode::FixedHeight;
}

} // namespace

CLoopPropPage::CLoopPropPage(std::unique_ptr<CElementPageRecord> record)
    : CElementPropPage(IDD, std::move(record), LoopControls()),
      m_data(static_cast<TElementPageRecord<LoopPageData>*>(GetRecord())->data)
{
    RegisterTextKindPageStrings();
    BindNumber(IDC_START_LINE, &m_data.startLine);
    BindNumber(IDC_HEIGHT, &m_data.height);
    BindCheck(IDC_END_OF_PAGE, &m_data.endOfPage);
    BindCheck(IDC_END_OF_DOCUMENT, &m_data.endOfDocument);
    BindCheck(IDC_INCREMENT_ON_SUCCESS, &m_data.incrementOnSuccess);
}

std::pair<int, int> CLoopPropPage::Range(int editId) const
{
    if (editId == IDC_START_LINE || editId == IDC_HEIGHT)
        return {1, m_data.limits.largestLine};
    return {0, 0};
}

std::optional<int> CLoopPropPage::UpperLimit(int id) const
{
    if (Range(id) == std::pair(0, 0))
        return std::nullopt;
    return Range(id).second;
}

bool CLoopPropPage::InXmlDocument() const
{
    const CFormElement* element = GetElement();
    return element != nullptr && element->GetDocument() != nullptr && element->GetDocument()->IsXmlDocument();
}

void CLoopPropPage::SyncMode(Sync direction)
{
    if (direction == Sync::FromBoxes) {
        m_data.endOfDocument = FindControl(IDC_END_OF_DOCUMENT)->check != 0 ? 1 : 0;
        m_data.endOfPage = FindControl(IDC_END_OF_PAGE)->check != 0 ? 1 : 0;
        m_data.mode = ModeOf(m_data.endOfDocument, m_data.endOfPage);
    } else {
        m_data.endOfDocument = m_data.mode == LoopMode::ToDocumentEnd ? 1 : 0;
        m_data.endOfPage = m_data.mode == LoopMode::ToPageEnd ? 1 : 0;
        Control(IDC_END_OF_DOCUMENT).check = m_data.endOfDocument;
        Control(IDC_END_OF_PAGE).check = m_data.endOfPage;
    }
    const bool fixedHeight = m_data.endOfDocument == 0 && m_data.endOfPage == 0;
    Control(IDC_HEIGHT).enabled = fixedHeight;
    Control(IDC_HEIGHT_SPIN).enabled = fixedHeight;
}

void CLoopPropPage::RefreshPage()
{
    if (GetElement() == nullptr)
        return;
    // The mode as the boxes show it: the element's update then tells
    // whether it differs from its own.
    SyncMode(Sync::FromBoxes);
    CElementPropPage::RefreshPage();
}

void CLoopPropPage::UpdateControls()
{
    // Unchanged, the mode reads the same as the boxes it came from.
    SyncMode(Sync::ToBoxes);
    Control(IDC_INCREMENT_ON_SUCCESS).enabled = !InXmlDocument();
}

void CLoopPropPage::RunHandler(const PageControl& control)
{
    if (control.id != IDC_END_OF_PAGE && control.id != IDC_END_OF_DOCUMENT) {
        CElementPropPage::RunHandler(control);
        return;
    }
    CSheetBusyScope busy(GetSheet());
    if (!PullControls(control))
        return;
    // The two boxes are exclusive options that may both be clear.
    if (control.id == IDC_END_OF_PAGE && m_data.endOfPage != 0)
        m_data.endOfDocument = 0;
    if (control.id == IDC_END_OF_DOCUMENT && m_data.endOfDocument != 0)
        m_data.endOfPage = 0;
    Push();
    SyncMode(Sync::FromBoxes);
    ApplyGroup(control);
}
