#include "designer/views/pages/ConditionalPropPage.h"

#include "designer/document/DesignerDoc.h"
#include "designer/elements/FormElement.h"
#include "designer/views/pages/ElementPageStrings.h"
#include "designer/views/pages/ElementPropertySheet.h"
#include "designer/views/pages/SourceTextPropPages.h"
#include "platform/ui/StringTable.h"

namespace {

std::vector<PageControl> ConditionalControls()
{
    using P = CConditionalPropPage;
    using D = ConditionalPageData;
    return {
        {P::IDC_SUBJECT, PageNotification::SelChange, D::Subject},
        {P::IDC_OPERATOR, PageNotification::SelChange, D::Operator},
        {P::IDC_VALUE, PageNotification::KillFocus, D::CompareValue},
        {P::IDC_COLUMN, PageNotification::Change, D::Position, P::IDC_COLUMN_SPIN, true},
        {P::IDC_LINE, PageNotification::Change, D::Position, P::IDC_LINE_SPIN, true},
        {P::IDC_FORCE_ABSOLUTE, PageNotification::Clicked, D::ForceAbsolute},
        {P::IDC_WIDTH, PageNotification::Change, D::Width, P::IDC_WIDTH_SPIN, true},
        {P::IDC_BREAK_LOOP, PageNotification::Clicked, D::BreakLoop},
    };
}

} // namespace

CConditionalPropPage::CConditionalPropPage(std::unique_ptr<CElementPageRecord> record)
    : CElementPropPage(IDD, std::move(record), ConditionalControls()),
      m_data(static_cast<TElementPageRecord<ConditionalPageData>*>(GetRecord())->data)
{
    RegisterTextKindPageStrings();
    BindSelection(IDC_SUBJECT, &m_subjectIndex);
    BindSelection(IDC_OPERATOR, &m_data.op);
    BindText(IDC_VALUE, &m_data.compareValue);
    BindNumber(IDC_COLUMN, &m_data.column);
    BindNumber(IDC_LINE, &m_data.line);
    BindCheck(IDC_FORCE_ABSOLUTE, &m_data.forceAbsolute);
    BindNumber(IDC_WIDTH, &m_data.width);
    BindCheck(IDC_BREAK_LOOP, &m_data.breakLoop);
    Control(IDC_FORCE_ABSOLUTE).enabled = false;
}

QStringList CConditionalPropPage::OperatorNames()
{
    return {QStringLiteral("Equal To"),  QStringLiteral("Not Equal To"),        QStringLiteral("Greater Than"),
            QStringLiteral("Less Than"), QStringLiteral("Greater or Equal To"), QStringLiteral("Less or Equal To")};
}

QStringList CConditionalPropPage::SubjectList() const
{
    QStringList subjects{LoadResString(IDS_POSITION), LoadResString(IDS_PAGE)};
    for (int n = 1; n <= kParameterCount; ++n)
        subjects << QStringLiteral("%1%2").arg(LoadResString(IDS_PARM)).arg(n);
    if (const CFormElement* element = GetElement(); element != nullptr && element->GetDocument() != nullptr) {
        QStringList variables;
        element->GetDocument()->GetVariableNames(variables);
        subjects << variables;
    }
    return subjects;
}

std::pair<int, int> CConditionalPropPage::Range(int editId) const
{
    switch (editId) {
    case IDC_COLUMN:
    case IDC_WIDTH:
        return {1, m_data.limits.largestColumn};
    case IDC_LINE:
        return {1, m_data.limits.largestLine};
    default:
        return {0, 0};
    }
}

BOOL CConditionalPropPage::OnInitDialog()
{
    Control(IDC_SUBJECT).items = SubjectList();
    Control(IDC_OPERATOR).items = OperatorNames();
    return CElementPropPage::OnInitDialog();
}

void CConditionalPropPage::UpdateControls()
{
    // The entry that equals the subject, as the element compares it: a
    // variable named "PA" or "page" is no "PAGE".
    m_subjectIndex = static_cast<int>(FindControl(IDC_SUBJECT)->items.indexOf(m_data.subject));
    Control(IDC_SUBJECT).selection = m_subjectIndex;
    Control(IDC_FORCE_ABSOLUTE).enabled = m_data.inLoop != 0;
    Control(IDC_BREAK_LOOP).enabled = m_data.loopOrInLoop != 0;
    const bool relative = m_data.inLoop != 0 && m_data.forceAbsolute == 0;
    Control(IDC_POSITION_GROUP).text =
        LoadResString(relative ? ElementPageString::PositionRelative : ElementPageString::PositionAbsolute);
    EnablePosition();
}

void CConditionalPropPage::EnablePosition()
{
    const bool position = FindControl(IDC_SUBJECT)->selection == 0;
    for (const int id : {IDC_COLUMN, IDC_COLUMN_SPIN, IDC_LINE, IDC_LINE_SPIN, IDC_WIDTH, IDC_WIDTH_SPIN})
        Control(id).enabled = position;
}

void CConditionalPropPage::RunHandler(const PageControl& control)
{
    if (control.id != IDC_SUBJECT) {
        CElementPropPage::RunHandler(control);
        return;
    }
    CSheetBusyScope busy(GetSheet());
    if (!PullControls(control))
        return;
    const QStringList& items = FindControl(IDC_SUBJECT)->items;
    // Without a selection there is no subject to take.
    if (m_subjectIndex < 0 || m_subjectIndex >= items.size())
        return;
    m_data.subject = items.at(m_subjectIndex);
    ApplyGroup(control);
    EnablePosition();
}
