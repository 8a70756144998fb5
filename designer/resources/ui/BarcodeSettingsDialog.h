#pragma once
// "Barcodes": chooses and edits the barcode definition of one barcode
// element. The description list offers the master entries and the element's
// own definition; the dialog writes its values straight into the definition
// it works on (a master entry or the document's), so a type change stays
// even when the user cancels. This is the dialog without its widgets;
// CBarcodeSettingsDialogView shows it. The definitions are never owned.

#include "platform/framework/Types.h"
#include "platform/ui/DialogModel.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class CBarcode;
class CBarcodeManager;

class CBarcodeSettingsDialog : public CDialogModel
{
public:
    enum {
        IDD = 113
    };

    enum ControlId : int {
        IDC_OK = 1,
        IDC_CANCEL = 2,
        IDC_MODIFIER = 1028,
        IDC_POSTAMBLE = 1030,
        IDC_PREAMBLE = 1031,
        IDC_DESCRIPTION = 1032,
        IDC_ADD = 1033,
        IDC_DELETE = 1034,
        IDC_PRINT_TEXT = 1035,
        IDC_REMOVE_LEADING = 1037,
        IDC_REMOVE_TRAILING = 1038,
        IDC_TYPE = 1039,
        IDC_MODULE_WIDTH = 1042,
    };

    static constexpr int kTextLimit = 30;
    static constexpr int kModuleWidthMin = 1;
    static constexpr int kModuleWidthMax = 999;

    CBarcodeSettingsDialog();

    void SetManager(CBarcodeManager* manager) { m_manager = manager; }
    void SetInitialBarcode(CBarcode* barcode) { m_initial = barcode; }
    // After OK: the definition chosen, none for an empty description
    // without a selected item.
    CBarcode* GetChosenBarcode() const { return m_chosen; }

    BOOL OnInitDialog();
    void OnDescriptionKillFocus();
    void OnDescriptionSelEndOk();
    void OnTypeSelChange();
    void OnAddBarcode();
    void OnDeleteBarcode();
    // True when the dialog ends with OK; false keeps it open, with
    // FailedControl() naming the control to focus.
    bool OnOK();

    // Selects the item carrying exactly that object and shows it.
    BOOL SelectBarcode(const CBarcode* barcode);
    // The barcode of the description item at that position, or none.
    CBarcode* ItemBarcode(int item) const;
    CBarcode* SelectedBarcode() const;

    // Called after the members were pushed into the controls.
    void SetControlsPushedHandler(std::function<void()> handler) { m_controlsPushed = std::move(handler); }

    QString postamble;
    QString preamble;
    int printText = 0;
    QString description;
    QString typeName;
    int moduleWidth = 0;
    int removeLeadingBlanks = 0;
    int removeTrailingBlanks = 0;

private:
    void FillDescriptionList();
    void FillModifierList(const CBarcode& barcode);
    void ShowSelectedBarcode();
    void ApplyValues(CBarcode& barcode);
    BOOL DeleteMasterBarcode(CBarcode* barcode);
    void PushControls();
    bool PullControls();

    CBarcodeManager* m_manager = nullptr;
    CBarcode* m_initial = nullptr;
    CBarcode* m_chosen = nullptr;
    // The definitions of the description items, in item order.
    std::vector<CBarcode*> m_itemBarcodes;
    // The modifier entry of each item of the modifier list: items are read
    // by position, since two entries of one type may share a text.
    std::vector<int> m_modifierEntries;
    int m_typeSelection = -1;
    int m_modifierSelection = -1;
    std::function<void()> m_controlsPushed;
};

// Registers the dialog's captions and labels. Called once at start-up.
void RegisterBarcodeSettingsDialogTexts();
