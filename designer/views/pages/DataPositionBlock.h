#pragma once
// The base of the pages whose value is either typed data or read from the
// spooled file: the radios "Data:" and "Or Position:", the data edit, the
// column, line and width on the input page (cut to the page's limits), the
// source Force Absolute box (only inside a loop) and the position group
// titled absolute or relative. A radio sets the constant flag without
// reading the other controls and applies the data group or the position
// group. The pages name the ids; the fields live in their records.

#include "designer/views/pages/ElementPropPage.h"

#include <utility>

// The controls of the block on one dialog.
struct DataPositionIds
{
    int dataRadio;
    int data;
    int positionRadio;
    int column;
    int columnSpin;
    int line;
    int lineSpin;
    int forceAbsolute;
    int width;
    int widthSpin;
    int positionGroup;
};

// The record's fields the block edits.
struct DataPositionFields
{
    int* column;
    int* line;
    int* width;
    QString* data;
    BOOL* constant;
    BOOL* forceAbsolute;
    const BOOL* inLoop;
    const int* largestColumn;
    const int* largestLine;
};

class CDataPositionBlock : public CElementPropPage
{
public:
    // Groups of the block, the same on every page that has it.
    enum : DWORD {
        PositionGroup = 0x1,
        WidthGroup = 0x2,
        DataGroup = 0x8,
        ForceAbsoluteGroup = 0x100,
    };
    // The longest data text the user may type.
    static constexpr int kDataLimit = 132;
    // The size group has no id of its own: only its title is looked up.
    static constexpr int IDC_SIZE_GROUP = 0xFFFE;

    const DataPositionIds& BlockIds() const { return m_ids; }
    // The range of the column, line and width edits: 1 to the page's limit.
    std::pair<int, int> Range(int editId) const;
    // The value is constant data: the data edit is on, the position off.
    bool IsConstant() const { return *m_fields.constant != 0; }

protected:
    // The page's own rows come before the block's in the control table.
    // fieldsOf finds the fields in the record the page took.
    using FieldsOf = DataPositionFields (*)(CElementPageRecord& record);
    CDataPositionBlock(UINT dialogId, std::unique_ptr<CElementPageRecord> record, const DataPositionIds& ids,
                       FieldsOf fieldsOf, std::vector<PageControl> ownControls);

    void UpdateControls() override;
    std::optional<int> UpperLimit(int id) const override;
    bool PullsBeforeApply(const PageControl& control) const override;
    void BeforeApply(const PageControl& control) override;

    // The data edit on exactly for constant data, the position's edits and
    // up-downs exactly for a position.
    void EnableControls();

private:
    DataPositionIds m_ids;
    DataPositionFields m_fields;
};
