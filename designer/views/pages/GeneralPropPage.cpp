#include "designer/views/pages/GeneralPropPage.h"

#include "designer/views/pages/ElementPageStrings.h"
#include "platform/ui/StringTable.h"

namespace {

using Data = GeneralPageData;

std::vector<PageControl> GeneralControls()
{
    using P = CGeneralPropPage;
    return {
        {P::IDC_DESCRIPTION, PageNotification::KillFocus, Data::Description},
        {P::IDC_COLUMN, PageNotification::Change, Data::Position, P::IDC_COLUMN_SPIN, true},
        {P::IDC_COLUMN_OFFSET, PageNotification::Change, Data::Offset, P::IDC_COLUMN_OFFSET_SPIN, true},
        {P::IDC_LINE, PageNotification::Change, Data::Position, P::IDC_LINE_SPIN, true},
        {P::IDC_LINE_OFFSET, PageNotification::Change, Data::Offset, P::IDC_LINE_OFFSET_SPIN, true},
        {P::IDC_FORCE_ABSOLUTE, PageNotification::Clicked, Data::ForceAbsolute},
        {P::IDC_WIDTH, PageNotification::Change, Data::Size, P::IDC_WIDTH_SPIN, true},
        {P::IDC_HEIGHT, PageNotification::Change, Data::Size, P::IDC_HEIGHT_SPIN, true},
    };
}

} // namespace

CGeneralPropPage::CGeneralPropPage(std::unique_ptr<CGeneralPageRecord> record)
    : CElementPropPage(IDD, std::move(record), GeneralControls()),
      m_data(static_cast<CGeneralPageRecord*>(GetRecord())->data)
{
    BindText(IDC_TYPE, &m_data.kindText);
    BindText(IDC_DESCRIPTION, &m_data.description);
    BindNumber(IDC_COLUMN, &m_data.column);
    BindNumber(IDC_COLUMN_OFFSET, &m_data.columnOffset);
    BindNumber(IDC_LINE, &m_data.line);
    BindNumber(IDC_LINE_OFFSET, &m_data.lineOffset);
    BindCheck(IDC_FORCE_ABSOLUTE, &m_data.forceAbsolute);
    BindNumber(IDC_WIDTH, &m_data.width);
    BindNumber(IDC_HEIGHT, &m_data.height);
    Control(IDC_FORCE_ABSOLUTE).enabled = false;
}

std::pair<int, int> CGeneralPropPage::Range(int editId) const
{
    switch (editId) {
    case IDC_COLUMN:
    case IDC_WIDTH:
        return {1, m_data.largestColumn};
    case IDC_LINE:
    case IDC_HEIGHT:
        return {1, m_data.largestLine};
    case IDC_COLUMN_OFFSET:
        return {0, m_data.largestColumnOffset};
    case IDC_LINE_OFFSET:
        return {0, m_data.largestLineOffset};
    default:
        return {0, 0};
    }
}

std::optional<int> CGeneralPropPage::UpperLimit(int id) const
{
    if (Range(id) == std::pair(0, 0))
        return std::nullopt;
    return Range(id).second;
}

void CGeneralPropPage::UpdateControls()
{
    const bool relative = m_data.inLoop != 0 && m_data.forceAbsolute == 0;
    Control(IDC_POSITION_GROUP).text =
        LoadResString(relative ? ElementPageString::PositionRelative : ElementPageString::PositionAbsolute);
    EnableControls();
}

void CGeneralPropPage::EnableControls()
{
    const WORD mask = m_data.mask;
    auto enable = [this](std::initializer_list<int> ids, bool on) {
        for (const int id : ids)
            Control(id).enabled = on;
    };
    enable({IDC_WIDTH, IDC_WIDTH_SPIN}, (mask & Data::NoWidth) == 0);
    enable({IDC_HEIGHT, IDC_HEIGHT_SPIN}, (mask & Data::NoHeight) == 0);
    enable({IDC_COLUMN, IDC_COLUMN_SPIN}, (mask & Data::NoColumn) == 0);
    const bool line = (mask & Data::NoLine) == 0;
    enable({IDC_LINE, IDC_LINE_SPIN, IDC_COLUMN_OFFSET, IDC_COLUMN_OFFSET_SPIN, IDC_LINE_OFFSET, IDC_LINE_OFFSET_SPIN},
           line);
    // Also off again when the Exit Parameter's mask turns to 15.
    Control(IDC_FORCE_ABSOLUTE).enabled = line && m_data.inLoop != 0;
}

void CGeneralPropPage::AfterApply(const PageControl& control, BOOL changed)
{
    if (control.id != IDC_DESCRIPTION)
        return;
    if (changed)
        m_historyEntry = m_data.description;
    Push();
}

std::optional<QString> CGeneralPropPage::TakeHistoryEntry()
{
    return std::exchange(m_historyEntry, std::nullopt);
}

std::optional<int> CGeneralPropPage::OnSetPageFocus(bool pageOrSheetActive)
{
    if (!pageOrSheetActive)
        return std::nullopt;
    RefreshPage();
    return IDC_DESCRIPTION;
}
