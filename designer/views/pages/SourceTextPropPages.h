#pragma once
// The two pages that choose a host font and can align the printed
// characters to the grid: the spooled-file page of a Section of spooled file
// (its source box on the input page's grid, its source Force Absolute, font
// and alignment) and the text page of a Static text (its text, font and
// alignment). The font button opens the font dialog under the sheet's busy
// flag and opens a change transaction only when the dialog chose another
// index.

#include "designer/elements/FormSourceElement.h"
#include "designer/elements/FormTextElement.h"
#include "designer/views/pages/ElementPropPage.h"

#include <utility>

class CFontManager;

// What both font pages share: the align box and the font description.
class CFontElementPage : public CElementPropPage
{
protected:
    using CElementPropPage::CElementPropPage;

    // The align field is 1 exactly when its box reads checked.
    void RunAlignBox(const PageControl& control, BOOL& alignToGrid);
    // The description of the index's font, right-aligned at the top.
    void ShowFontDescription(int staticId, int fontIndex, const CFontManager* fonts);
};

class CSourcePropPage : public CFontElementPage
{
public:
    enum : int {
        IDD = 166,
        IDC_COLUMN = 1394,
        IDC_COLUMN_SPIN = 1395,
        IDC_LINE = 1396,
        IDC_LINE_SPIN = 1397,
        IDC_FORCE_ABSOLUTE = 1387,
        IDC_WIDTH = 1392,
        IDC_WIDTH_SPIN = 1393,
        IDC_HEIGHT = 1388,
        IDC_HEIGHT_SPIN = 1389,
        IDC_ALIGN = 1391,
        IDC_FONT = 1385,
        IDC_FONT_DESCRIPTION = 1386,
        IDC_POSITION_GROUP = 1390,
        IDC_SIZE_GROUP = 0xFFFE, // no id of its own: only its title is looked up
    };

    explicit CSourcePropPage(std::unique_ptr<CElementPageRecord> record);

    const SourcePageData& Data() const { return m_data; }
    // The range of each number edit: 1 to the input page's largest column or line.
    std::pair<int, int> Range(int editId) const;

protected:
    void UpdateControls() override;
    std::optional<int> UpperLimit(int id) const override;
    void RunHandler(const PageControl& control) override;

private:
    SourcePageData& m_data;
};

class CTextPropPage : public CFontElementPage
{
public:
    enum : int {
        IDD = 125,
        IDC_TEXT = 1151,
        IDC_FONT = 1148,
        IDC_ALIGN = 1150,
        IDC_FONT_DESCRIPTION = 1149,
    };

    explicit CTextPropPage(std::unique_ptr<CElementPageRecord> record);

    const TextPageData& Data() const { return m_data; }

    // The text edit, while the page or its sheet is the active window.
    std::optional<int> OnSetPageFocus(bool pageOrSheetActive) override;

protected:
    void UpdateControls() override;
    void RunHandler(const PageControl& control) override;

private:
    TextPageData& m_data;
};

// The page factories of the spooled-file, text, Loop, Conditional and
// Remark pages, with their texts. Harmless to call again.
void RegisterTextKindPageFactories();
// The dialogs' texts of those pages.
void RegisterTextKindPageStrings();
