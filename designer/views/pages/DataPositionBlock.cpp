#include "designer/views/pages/DataPositionBlock.h"

#include "designer/views/pages/ElementPageStrings.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"

namespace {

std::vector<PageControl> WithBlock(std::vector<PageControl> rows, const DataPositionIds& ids)
{
    using B = CDataPositionBlock;
    const std::vector<PageControl> block = {
        {ids.dataRadio, PageNotification::Clicked, B::DataGroup},
        {ids.data, PageNotification::Change, B::DataGroup},
        {ids.positionRadio, PageNotification::Clicked, B::PositionGroup},
        {ids.column, PageNotification::Change, B::PositionGroup, ids.columnSpin, true},
        {ids.line, PageNotification::Change, B::PositionGroup, ids.lineSpin, true},
        {ids.forceAbsolute, PageNotification::Clicked, B::ForceAbsoluteGroup},
        {ids.width, PageNotification::Change, B::WidthGroup, ids.widthSpin, true},
    };
    rows.insert(rows.end(), block.begin(), block.end());
    return rows;
}

// The block's labels are the same on every dialog that has it.
void AddBlockLabels(UINT dialogId, const DataPositionIds& ids)
{
    const std::pair<int, const char*> labels[] = {
        {ids.dataRadio, "Data:"},
        {ids.positionRadio, "Or Position:"},
        {ids.column, "Column:"},
        {ids.line, "Line:"},
        {ids.forceAbsolute, "Force Absolute"},
        {ids.width, "Width:"},
        {ids.positionGroup, "Position"},
        {CDataPositionBlock::IDC_SIZE_GROUP, "Size"},
    };
    for (const auto& [id, text] : labels)
        StringTable::Add(DialogTextId(dialogId, static_cast<UINT>(id)), QString::fromLatin1(text));
}

} // namespace

CDataPositionBlock::CDataPositionBlock(UINT dialogId, std::unique_ptr<CElementPageRecord> record,
                                       const DataPositionIds& ids, FieldsOf fieldsOf,
                                       std::vector<PageControl> ownControls)
    : CElementPropPage(dialogId, std::move(record), WithBlock(std::move(ownControls), ids)), m_ids(ids),
      m_fields(fieldsOf(*GetRecord()))
{
    AddBlockLabels(dialogId, ids);
    // The limit holds for what the user types (the view's); a longer data
    // text from a file stays whole rather than failing every refresh.
    BindText(ids.data, m_fields.data);
    BindNumber(ids.column, m_fields.column);
    BindNumber(ids.line, m_fields.line);
    BindCheck(ids.forceAbsolute, m_fields.forceAbsolute);
    BindNumber(ids.width, m_fields.width);
    Control(ids.forceAbsolute).enabled = false;
}

std::pair<int, int> CDataPositionBlock::Range(int editId) const
{
    if (editId == m_ids.column || editId == m_ids.width)
        return {1, *m_fields.largestColumn};
    if (editId == m_ids.line)
        return {1, *m_fields.largestLine};
    return {0, 0};
}

std::optional<int> CDataPositionBlock::UpperLimit(int id) const
{
    if (Range(id) == std::pair(0, 0))
        return std::nullopt;
    return Range(id).second;
}

bool CDataPositionBlock::PullsBeforeApply(const PageControl& control) const
{
    return control.id != m_ids.dataRadio && control.id != m_ids.positionRadio;
}

void CDataPositionBlock::BeforeApply(const PageControl& control)
{
    if (control.id == m_ids.dataRadio)
        *m_fields.constant = TRUE;
    else if (control.id == m_ids.positionRadio)
        *m_fields.constant = FALSE;
}

void CDataPositionBlock::UpdateControls()
{
    Control(m_ids.dataRadio).check = IsConstant() ? 1 : 0;
    Control(m_ids.positionRadio).check = IsConstant() ? 0 : 1;
    const bool inLoop = *m_fields.inLoop != 0;
    Control(m_ids.forceAbsolute).enabled = inLoop;
    const bool relative = inLoop && *m_fields.forceAbsolute == 0;
    Control(m_ids.positionGroup).text =
        LoadResString(relative ? ElementPageString::PositionRelative : ElementPageString::PositionAbsolute);
    EnableControls();
}

void CDataPositionBlock::EnableControls()
{
    const bool constant = IsConstant();
    Control(m_ids.data).enabled = constant;
    for (const int id : {m_ids.column, m_ids.columnSpin, m_ids.line, m_ids.lineSpin, m_ids.width, m_ids.widthSpin})
        Control(id).enabled = !constant;
}
