#pragma once
// The Conditional's own page: the subject compared (the data at a position
// of the input page, the page number, an exit-program parameter or a
// variable of the document), the operator, the compare value, the position
// and width of the data while the subject is "POSITION", the source Force
// Absolute flag and Break Loop. The subject list shows the entry whose text
// equals the subject exactly, or none; the numbers are not cut to the page
// here (the up-downs keep to it, the element's move keeps the box on it).

#include "designer/elements/ElementPagesText.h"
#include "designer/views/pages/ElementPropPage.h"

#include <QStringList>

#include <utility>

class CConditionalPropPage : public CElementPropPage
{
public:
    enum : int {
        IDD = 115,
        IDC_SUBJECT = 1053,
        IDC_OPERATOR = 1054,
        IDC_VALUE = 1052,
        IDC_COLUMN = 1060,
        IDC_COLUMN_SPIN = 1061,
        IDC_LINE = 1062,
        IDC_LINE_SPIN = 1063,
        IDC_FORCE_ABSOLUTE = 1056,
        IDC_WIDTH = 1058,
        IDC_WIDTH_SPIN = 1059,
        IDC_BREAK_LOOP = 1051,
        IDC_POSITION_GROUP = 1057,
        IDC_COMPARISON_GROUP = 0xFFFD, // titles only
        IDC_SIZE_GROUP = 0xFFFE,
    };

    // The fixed subjects of the list.
    enum : UINT {
        IDS_PAGE = 333,
        IDS_PARM = 335,
        IDS_POSITION = 339,
    };
    static constexpr int kParameterCount = 6;

    explicit CConditionalPropPage(std::unique_ptr<CElementPageRecord> record);

    const ConditionalPageData& Data() const { return m_data; }
    std::pair<int, int> Range(int editId) const;

    // The operators by their numbers, "Equal To" to "Less or Equal To".
    static QStringList OperatorNames();
    // "POSITION", "PAGE", "PARM1" to "PARM6", then the document's variables.
    QStringList SubjectList() const;

    // Fills the lists before the values are shown.
    BOOL OnInitDialog() override;

protected:
    void UpdateControls() override;
    void RunHandler(const PageControl& control) override;

private:
    // The position controls are on exactly while "POSITION" is selected.
    void EnablePosition();

    ConditionalPageData& m_data;
    int m_subjectIndex = -1;
};
