#pragma once
// Page 0 of every element: the kind and description, the place on the
// output page (column, line, offsets within the cell), the size in cells and
// Force Absolute. The kind's mask disables the fields it leaves alone. The
// description applies when its edit loses the focus; a description the
// element took is handed to the view for the edit's history.

#include "designer/views/pages/ElementPropPage.h"

#include <utility>

class CGeneralPropPage : public CElementPropPage
{
public:
    enum : int {
        IDD = 126,
        IDC_TYPE = 1174,
        IDC_DESCRIPTION = 1152,
        IDC_COLUMN = 1166,
        IDC_COLUMN_SPIN = 1169,
        IDC_COLUMN_OFFSET = 1167,
        IDC_COLUMN_OFFSET_SPIN = 1168,
        IDC_LINE = 1170,
        IDC_LINE_SPIN = 1173,
        IDC_LINE_OFFSET = 1171,
        IDC_LINE_OFFSET_SPIN = 1172,
        IDC_FORCE_ABSOLUTE = 1153,
        IDC_WIDTH = 1164,
        IDC_WIDTH_SPIN = 1165,
        IDC_HEIGHT = 1154,
        IDC_HEIGHT_SPIN = 1155,
        IDC_POSITION_GROUP = 1163,
        IDC_SIZE_GROUP = 0xFFFE, // no id of its own: only its title is looked up
        IDC_STATIC_TEXT = 0xFFFF,
    };

    // The registry key of the description's history, below the program's.
    static constexpr const char* DescriptionHistoryKey = "Preferences\\AutoComplete\\ElementDescription";
    static constexpr int DescriptionHistorySize = 50;

    explicit CGeneralPropPage(std::unique_ptr<CGeneralPageRecord> record);

    const GeneralPageData& Data() const { return m_data; }

    // The range of each number edit, from the limits the element set.
    std::pair<int, int> Range(int editId) const;

    std::optional<int> OnSetPageFocus(bool pageOrSheetActive) override;

    // The description the element took last, for the edit's history; once.
    std::optional<QString> TakeHistoryEntry();

    // Enables the fields the mask leaves on.
    void EnableControls();

protected:
    void UpdateControls() override;
    std::optional<int> UpperLimit(int id) const override;
    void AfterApply(const PageControl& control, BOOL changed) override;

private:
    GeneralPageData& m_data;
    std::optional<QString> m_historyEntry;
};
