#pragma once
// Dialog 112 over an Address: which field of the parent Output element's
// device the Address supplies, the place on the input page its text is read
// from and "Delete ?". The field list is the device's, in its order, or
// every field when the Address has no device above it. The page's mask
// disables the place of a destination Address, which the General page edits.

#include "designer/elements/FormAddressElement.h"
#include "designer/output/OutputDeviceAddressType.h"
#include "designer/views/pages/ElementPropPage.h"

#include <utility>

class CAddressPropPage : public CElementPropPage
{
public:
    enum : int {
        IDD = 112,
        IDC_DELETE = 1001,
        IDC_TYPE = 1003,
        IDC_WIDTH = 1004,
        IDC_WIDTH_SPIN = 1005,
        IDC_COLUMN = 1006,
        IDC_COLUMN_SPIN = 1007,
        IDC_LINE = 1008,
        IDC_LINE_SPIN = 1009,
        IDC_DESCRIPTION = 1474,
        IDC_POSITION_GROUP = 0xFF10, // no ids of their own: only their titles are looked up
        IDC_SIZE_GROUP = 0xFF11,
    };

    using Record = TElementPageRecord<AddressPageData>;
    explicit CAddressPropPage(std::unique_ptr<CElementPageRecord> record);

    const AddressPageData& Data() const { return m_data; }
    const OutputDeviceAddressTypeList& AddressTypes() const { return m_types; }
    // The range of the column, line and width up-downs: 1 to the page's limit.
    std::pair<int, int> Range(int editId) const;

    // The list from the element's device, then the element's field chosen.
    BOOL OnInitDialog() override;

protected:
    void UpdateControls() override;
    void BeforeApply(const PageControl& control) override;
    void AfterApply(const PageControl& control, BOOL changed) override;

private:
    // The entry of the record's field and its description; none selected
    // and an empty description when the list has no such field.
    void SelectAddressType();
    void EnableControls();

    AddressPageData& m_data;
    OutputDeviceAddressTypeList m_types;
};

// The page's factory in the element property sheet, and its texts.
void RegisterAddressPropPage();
