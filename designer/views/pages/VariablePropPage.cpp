#include "designer/views/pages/VariablePropPage.h"

#include "designer/document/DesignerDoc.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"

namespace {

using Page = CVariablePropPage;

constexpr DataPositionIds kIds = {
    Page::IDC_DATA_RADIO,  Page::IDC_DATA,       Page::IDC_POSITION_RADIO, Page::IDC_COLUMN,
    Page::IDC_COLUMN_SPIN, Page::IDC_LINE,       Page::IDC_LINE_SPIN,      Page::IDC_FORCE_ABSOLUTE,
    Page::IDC_WIDTH,       Page::IDC_WIDTH_SPIN, Page::IDC_POSITION_GROUP,
};

VariablePageValues& ValuesOf(CElementPageRecord* record)
{
    return static_cast<Page::Record*>(record)->data;
}

DataPositionFields BlockFields(CElementPageRecord& record)
{
    VariablePageValues& v = ValuesOf(&record);
    return {&v.column,        &v.line,   &v.width,         &v.data,       &v.useData,
            &v.forceAbsolute, &v.inLoop, &v.largestColumn, &v.largestLine};
}

void AddVariableLabels()
{
    StringTable::Add(DialogTextId(Page::IDD, 0), QStringLiteral("Variable"));
    StringTable::Add(DialogTextId(Page::IDD, Page::IDC_NAME), QStringLiteral("Index:"));
}

} // namespace

CVariablePropPage::CVariablePropPage(std::unique_ptr<CElementPageRecord> record)
    : CDataPositionBlock(IDD, std::move(record), kIds, &BlockFields,
                         {
                             {IDC_NAME, PageNotification::CloseUp, VariablePageApply::Name},
                             {IDC_NAME, PageNotification::EditUpdate, VariablePageApply::Name},
                         }),
      m_data(ValuesOf(GetRecord()))
{
    AddVariableLabels();
    BindText(IDC_NAME, &m_data.name);
}

BOOL CVariablePropPage::OnInitDialog()
{
    const CFormElement* element = GetElement();
    Control(IDC_NAME).items = CFormVariableElement::GetVariableNames(element ? element->GetDocument() : nullptr);
    return CDataPositionBlock::OnInitDialog();
}

void CVariablePropPage::ShowNameAsText()
{
    Control(IDC_NAME).selection = -1;
}

void CVariablePropPage::UpdateControls()
{
    CDataPositionBlock::UpdateControls();
    ShowNameAsText();
}

bool CVariablePropPage::PullsBeforeApply(const PageControl& control) const
{
    if (control.notification == PageNotification::CloseUp)
        return false;
    return CDataPositionBlock::PullsBeforeApply(control);
}

void CVariablePropPage::BeforeApply(const PageControl& control)
{
    if (control.notification == PageNotification::CloseUp) {
        const DialogControlState& name = Control(IDC_NAME);
        if (name.selection >= 0 && name.selection < name.items.size())
            m_data.name = name.items.at(name.selection);
        return;
    }
    CDataPositionBlock::BeforeApply(control);
}

void CVariablePropPage::AfterApply(const PageControl& control, BOOL)
{
    if (control.id == IDC_NAME)
        ShowNameAsText();
}
