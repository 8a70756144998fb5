#pragma once
// Dialog 169 over a Variable: the name, chosen among the document's
// variable names or typed (the element's setter refuses reserved names and
// a new name beyond the document's limit, with its messages), and the
// Data or Position block. The name applies at every typed change and when
// the drop-down list closes, then with the text of the chosen entry.

#include "designer/elements/FormVariableElement.h"
#include "designer/views/pages/DataPositionBlock.h"

class CVariablePropPage : public CDataPositionBlock
{
public:
    enum : int {
        IDD = 169,
        IDC_NAME = 1407,
        IDC_DATA = 1405,
        IDC_FORCE_ABSOLUTE = 1406,
        IDC_POSITION_GROUP = 1408,
        IDC_DATA_RADIO = 1409,
        IDC_POSITION_RADIO = 1410,
        IDC_WIDTH = 1411,
        IDC_WIDTH_SPIN = 1412,
        IDC_COLUMN = 1413,
        IDC_COLUMN_SPIN = 1414,
        IDC_LINE = 1415,
        IDC_LINE_SPIN = 1416,
    };
    // The name's edit refuses these anywhere.
    static constexpr const char* RefusedNameChars = " ?";

    using Record = TElementPageRecord<VariablePageValues>;
    explicit CVariablePropPage(std::unique_ptr<CElementPageRecord> record);

    const VariablePageValues& Data() const { return m_data; }

    BOOL OnInitDialog() override;

protected:
    void UpdateControls() override;
    bool PullsBeforeApply(const PageControl& control) const override;
    void BeforeApply(const PageControl& control) override;
    void AfterApply(const PageControl& control, BOOL changed) override;

private:
    // The name shows as typed: no entry of the list stands for it.
    void ShowNameAsText();

    VariablePageValues& m_data;
};
