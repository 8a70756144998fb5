#include "designer/views/pages/ElementPropPage.h"

#include "designer/document/DesignerDoc.h"
#include "designer/elements/FormElement.h"
#include "designer/resources/fonts/FontManager.h"
#include "designer/views/pages/ElementPageStrings.h"
#include "designer/views/pages/ElementPropertySheet.h"
#include "platform/framework/Exceptions.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/StringTable.h"

#include <algorithm>

CElementPropPage::CElementPropPage(UINT dialogId, std::unique_ptr<CElementPageRecord> record,
                                   std::vector<PageControl> table)
    : m_dialogId(dialogId), m_record(std::move(record)), m_table(std::move(table))
{
    RegisterElementPageStrings();
}

CElementPropPage::~CElementPropPage() = default;

QString CElementPropPage::GetTitle() const
{
    return GetLabel(0);
}

QString CElementPropPage::GetLabel(int controlId) const
{
    return LoadResString(DialogTextId(m_dialogId, static_cast<UINT>(controlId)));
}

const PageControl* CElementPropPage::FindPageControl(int id) const
{
    const auto it = std::find_if(m_table.begin(), m_table.end(), [id](const PageControl& c) { return c.id == id; });
    return it != m_table.end() ? &*it : nullptr;
}

const PageControl* CElementPropPage::FindPageControl(int id, PageNotification notification) const
{
    const auto it = std::find_if(m_table.begin(), m_table.end(), [id, notification](const PageControl& c) {
        return c.id == id && c.notification == notification;
    });
    return it != m_table.end() ? &*it : nullptr;
}

void CElementPropPage::AttachWindow(std::function<void()> showControls)
{
    m_showControls = std::move(showControls);
}

void CElementPropPage::DetachWindow()
{
    m_showControls = nullptr;
}

void CElementPropPage::ShowControls()
{
    if (m_showControls)
        m_showControls();
}

BOOL CElementPropPage::OnInitDialog()
{
    if (GetElement() != nullptr)
        GetElement()->UpdatePage(*m_record);
    Push();
    UpdateControls();
    return TRUE;
}

void CElementPropPage::OnSetActive()
{
    RefreshPage();
}

int CElementPropPage::OnUpdateData()
{
    RefreshPage();
    ShowControls();
    return 1;
}

std::optional<int> CElementPropPage::OnSetPageFocus(bool)
{
    return std::nullopt;
}

bool CElementPropPage::UpdateData(bool saveAndValidate)
{
    if (!saveAndValidate) {
        Push();
        return true;
    }
    return Pull();
}

void CElementPropPage::BindNumber(int id, int* member)
{
    BindInt(id, member);
    m_numbers.emplace_back(id, member);
}

int* CElementPropPage::NumberMember(int id) const
{
    const auto it = std::find_if(m_numbers.begin(), m_numbers.end(), [id](const auto& n) { return n.first == id; });
    return it != m_numbers.end() ? it->second : nullptr;
}

bool CElementPropPage::IsEmptyNumber(const PageControl& control) const
{
    const DialogControlState* state = FindControl(control.id);
    return control.number && state != nullptr && state->text.trimmed().isEmpty();
}

void CElementPropPage::RestoreEmptyNumbers()
{
    for (const auto& [id, member] : m_numbers) {
        DialogControlState& state = Control(id);
        if (state.text.trimmed().isEmpty())
            state.text = QString::number(*member);
    }
}

void CElementPropPage::RefreshPage()
{
    CFormElement* element = GetElement();
    if (element == nullptr)
        return;
    // A number edit the user emptied is an entry not made yet, not an error.
    RestoreEmptyNumbers();
    Pull();
    if (element->UpdatePage(*m_record))
        Push();
    UpdateControls();
}

void CElementPropPage::OnControlNotify(int id, PageNotification notification)
{
    if (GetElement() == nullptr)
        return;
    const PageControl* control = FindPageControl(id, notification);
    if (control == nullptr) {
        // Leaving an emptied number edit shows the element's value again.
        const PageControl* edit = FindPageControl(id, PageNotification::Change);
        if (notification == PageNotification::KillFocus && edit != nullptr && IsEmptyNumber(*edit)) {
            RestoreEmptyNumbers();
            RefreshPage();
        }
        return;
    }
    if (IsEmptyNumber(*control))
        return;
    RunHandler(*control);
}

void CElementPropPage::RunHandler(const PageControl& control)
{
    // The element's setters may show messages: the sheet stays open meanwhile.
    CSheetBusyScope busy(m_sheet);
    if (PullsBeforeApply(control) && !PullControls(control))
        return;
    BeforeApply(control);
    ApplyGroup(control);
}

bool CElementPropPage::PullControls(const PageControl& control)
{
    if (!UpdateData(true))
        return false;
    if (const std::optional<int> limit = UpperLimit(control.id)) {
        int* member = NumberMember(control.id);
        if (member != nullptr && *member > *limit) {
            *member = *limit;
            Push();
        }
    }
    return true;
}

BOOL CElementPropPage::ApplyGroup(const PageControl& control)
{
    CFormElement* element = GetElement();
    if (element == nullptr)
        return FALSE;
    try {
        CDocChangeGuard transaction(element->GetDocument());
        const BOOL changed = element->ApplyPage(*m_record, control.group);
        if (changed)
            RefreshPage();
        AfterApply(control, changed);
        return changed;
    } catch (const CException& error) {
        // The transaction was closed on the way out; the user hears why.
        ReportError(error, MB_ICONEXCLAMATION);
        return FALSE;
    }
}

void CElementPropPage::RunFontButton(const PageControl& control, const QString& sample, int& fontIndex,
                                     CFontManager* fonts)
{
    // The sheet stays while the font dialog is open.
    CSheetBusyScope busy(GetSheet());
    if (fonts == nullptr)
        return;
    int index = fontIndex;
    try {
        if (!fonts->ChooseElementFont(sample, &index))
            return;
    } catch (const CException& error) {
        ReportError(error, MB_ICONEXCLAMATION);
        return;
    }
    fontIndex = index;
    // A font the element did not take is not shown as its own.
    if (!ApplyGroup(control))
        RefreshPage();
}
