#pragma once
// Dialog 114 over a Barcode: the Data or Position block (the width stays
// editable for constant data too), the document's barcode definitions in a
// sorted list, "&Settings" to edit the element's definition and "&Font" for
// its human-readable text. Each entry of the list carries its slot, so two
// definitions of one name stay apart.

#include "designer/elements/FormBarcodeElement.h"
#include "designer/views/pages/DataPositionBlock.h"

#include <vector>

class QWidget;

class CBarcodePropPage : public CDataPositionBlock
{
public:
    enum : int {
        IDD = 114,
        IDC_DATA = 1023,
        IDC_FONT = 1024,
        IDC_FONT_DESCRIPTION = 1025,
        IDC_FORCE_ABSOLUTE = 1026,
        IDC_BARCODE_LIST = 1027,
        IDC_POSITION_GROUP = 1029,
        IDC_SETTINGS = 1036,
        IDC_DATA_RADIO = 1040,
        IDC_POSITION_RADIO = 1041,
        IDC_WIDTH = 1042,
        IDC_WIDTH_SPIN = 1043,
        IDC_COLUMN = 1044,
        IDC_COLUMN_SPIN = 1045,
        IDC_LINE = 1046,
        IDC_LINE_SPIN = 1047,
        IDC_BARCODE_LABEL = 0xFF01, // no id of its own: only its text is looked up
    };

    explicit CBarcodePropPage(std::unique_ptr<CElementPageRecord> record);

    const BarcodePageData& Data() const { return m_data; }
    // The slot each entry of the list stands for, in the list's order.
    const std::vector<int>& ListSlots() const { return m_slots; }
    // The window the settings dialog opens over; the view sets it.
    void SetDialogParent(QWidget* parent) { m_parent = parent; }

protected:
    void UpdateControls() override;
    void RunHandler(const PageControl& control) override;

private:
    // Every definition of the document by name, each with its slot; the
    // element's own slot selected.
    void FillBarcodeList();
    void OnBarcodeSelected(const PageControl& control);
    void OnSettings(const PageControl& control);

    BarcodePageData& m_data;
    std::vector<int> m_slots;
    QWidget* m_parent = nullptr;
};

void RegisterBarcodePageStrings();
