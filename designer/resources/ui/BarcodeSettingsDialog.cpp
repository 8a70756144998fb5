#include "designer/resources/ui/BarcodeSettingsDialog.h"

#include "designer/resources/barcodes/Barcode.h"
#include "designer/resources/barcodes/BarcodeManager.h"
#include "designer/resources/barcodes/BarcodeStrings.h"
#include "designer/resources/barcodes/BarcodeTypeTable.h"
#include "platform/framework/Collections.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/StringTable.h"

#include <algorithm>
#include <numeric>

CBarcodeSettingsDialog::CBarcodeSettingsDialog()
{
    BindText(IDC_POSTAMBLE, &postamble, kTextLimit);
    BindText(IDC_PREAMBLE, &preamble, kTextLimit);
    BindCheck(IDC_PRINT_TEXT, &printText);
    BindText(IDC_DESCRIPTION, &description, kTextLimit);
    BindSelection(IDC_TYPE, &m_typeSelection);
    BindSelection(IDC_MODIFIER, &m_modifierSelection);
    BindInt(IDC_MODULE_WIDTH, &moduleWidth, kModuleWidthMin, kModuleWidthMax);
    BindCheck(IDC_REMOVE_LEADING, &removeLeadingBlanks);
    BindCheck(IDC_REMOVE_TRAILING, &removeTrailingBlanks);
}

CBarcode* CBarcodeSettingsDialog::ItemBarcode(int item) const
{
    if (item < 0 || item >= static_cast<int>(m_itemBarcodes.size()))
        return nullptr;
    return m_itemBarcodes[static_cast<size_t>(item)];
}

CBarcode* CBarcodeSettingsDialog::SelectedBarcode() const
{
    const DialogControlState* list = FindControl(IDC_DESCRIPTION);
    return list == nullptr ? nullptr : ItemBarcode(list->selection);
}

BOOL CBarcodeSettingsDialog::OnInitDialog()
{
    PushControls();
    FillDescriptionList();
    QStringList types;
    for (const BarcodeType& type : BarcodeTypeTable())
        types << QString::fromUtf16(type.name);
    Control(IDC_TYPE).items = types;
    FillModifierList(CBarcode());
    m_typeSelection = -1;
    m_modifierSelection = -1;
    Control(IDC_DESCRIPTION).selection = -1;
    PushControls();
    if (m_initial != nullptr)
        SelectBarcode(m_initial);
    return TRUE;
}

void CBarcodeSettingsDialog::FillDescriptionList()
{
    struct Item
    {
        QString text;
        CBarcode* barcode;
    };
    std::vector<Item> items;
    if (const CObList* master = CBarcodeManager::GetMasterBarcodeList()) {
        for (CObject* object : *master) {
            auto* entry = static_cast<CBarcode*>(object);
            items.push_back({entry->GetName(), entry});
        }
    }
    if (m_initial != nullptr) {
        const QString& name = m_initial->GetName();
        auto same = std::find_if(items.begin(), items.end(),
                                 [&](const Item& item) { return item.text.compare(name, Qt::CaseInsensitive) == 0; });
        if (same == items.end())
            items.push_back({name, m_initial});
        else
            same->barcode = m_initial;
    }
    // A sorted list, as the user reads it: letter case aside.
    std::stable_sort(items.begin(), items.end(),
                     [](const Item& a, const Item& b) { return a.text.compare(b.text, Qt::CaseInsensitive) < 0; });
    DialogControlState& list = Control(IDC_DESCRIPTION);
    list.items.clear();
    m_itemBarcodes.clear();
    for (const Item& item : items) {
        list.items << item.text;
        m_itemBarcodes.push_back(item.barcode);
    }
    list.selection = -1;
}

void CBarcodeSettingsDialog::FillModifierList(const CBarcode& barcode)
{
    DialogControlState& list = Control(IDC_MODIFIER);
    list.items.clear();
    m_modifierEntries.clear();
    const BarcodeModifierList& modifiers = barcode.GetModifiers();
    for (int entry = 0; entry < kBarcodeModifierCount; ++entry) {
        const QString& text = modifiers[static_cast<size_t>(entry)].text;
        if (text.isEmpty())
            continue;
        list.items << text;
        m_modifierEntries.push_back(entry);
    }
    m_modifierSelection = -1;
}

void CBarcodeSettingsDialog::ShowSelectedBarcode()
{
    if (const CBarcode* barcode = SelectedBarcode()) {
        FillModifierList(*barcode);
        description = barcode->GetName();
        m_typeSelection = barcode->GetTypeIndex();
        const auto entry = std::find(m_modifierEntries.begin(), m_modifierEntries.end(), barcode->GetModifierIndex());
        m_modifierSelection =
            entry == m_modifierEntries.end() ? -1 : static_cast<int>(entry - m_modifierEntries.begin());
        preamble = barcode->GetPreamble();
        postamble = barcode->GetPostamble();
        printText = barcode->m_bPrintText ? 1 : 0;
        moduleWidth = barcode->m_nModuleWidth;
        removeLeadingBlanks = barcode->m_bRemoveLeadingBlanks ? 1 : 0;
        removeTrailingBlanks = barcode->m_bRemoveTrailingBlanks ? 1 : 0;
    }
    PushControls();
}

BOOL CBarcodeSettingsDialog::SelectBarcode(const CBarcode* barcode)
{
    const auto item = std::find(m_itemBarcodes.begin(), m_itemBarcodes.end(), barcode);
    if (barcode == nullptr || item == m_itemBarcodes.end())
        return FALSE;
    Control(IDC_DESCRIPTION).selection = static_cast<int>(item - m_itemBarcodes.begin());
    ShowSelectedBarcode();
    return TRUE;
}

void CBarcodeSettingsDialog::OnDescriptionKillFocus()
{
    PullControls();
    if (CBarcode* entry = CBarcodeManager::FindMasterByName(description))
        SelectBarcode(entry);
}

void CBarcodeSettingsDialog::OnDescriptionSelEndOk()
{
    PullControls();
    ShowSelectedBarcode();
}

void CBarcodeSettingsDialog::OnTypeSelChange()
{
    PullControls();
    if (CBarcode* barcode = SelectedBarcode()) {
        barcode->SetTypeByName(typeName);
        ShowSelectedBarcode();
        return;
    }
    CBarcode scratch;
    scratch.SetTypeByName(typeName);
    FillModifierList(scratch);
    PushControls();
}

void CBarcodeSettingsDialog::ApplyValues(CBarcode& barcode)
{
    if (!typeName.isEmpty())
        barcode.SetTypeByName(typeName);
    // By position: the entry behind the item, provided the list shown is the
    // definition's own (its text there is the same).
    if (m_modifierSelection >= 0 && m_modifierSelection < static_cast<int>(m_modifierEntries.size())) {
        const int entry = m_modifierEntries[static_cast<size_t>(m_modifierSelection)];
        const QString text = Control(IDC_MODIFIER).items.value(m_modifierSelection);
        if (barcode.GetModifiers()[static_cast<size_t>(entry)].text == text)
            barcode.SetModifierIndex(entry);
        else
            barcode.SetModifierByText(text);
    }
    barcode.SetPreamble(preamble);
    barcode.SetPostamble(postamble);
    barcode.m_bPrintText = printText ? TRUE : FALSE;
    barcode.m_nModuleWidth = moduleWidth;
    barcode.SetRemoveLeadingBlanks(removeLeadingBlanks ? TRUE : FALSE);
    barcode.m_bRemoveTrailingBlanks = removeTrailingBlanks ? TRUE : FALSE;
}

void CBarcodeSettingsDialog::OnAddBarcode()
{
    if (!PullControls())
        return;
    CBarcode* entry = CBarcodeManager::FindMasterByName(description);
    if (entry == nullptr)
        entry = CBarcodeManager::FindMasterBarcode(description);
    if (entry != nullptr)
        ApplyValues(*entry);
    FillDescriptionList();
    if (entry == nullptr || !SelectBarcode(entry))
        PushControls();
}

void CBarcodeSettingsDialog::OnDeleteBarcode()
{
    PullControls();
    CBarcode* barcode = SelectedBarcode();
    if (barcode == nullptr)
        return;
    const BOOL deleted = DeleteMasterBarcode(barcode);
    FillDescriptionList();
    // A refused deletion keeps the item chosen, so OK still means it.
    if (deleted || !SelectBarcode(barcode))
        PushControls();
}

BOOL CBarcodeSettingsDialog::DeleteMasterBarcode(CBarcode* barcode)
{
    if (m_manager == nullptr || barcode == m_initial)
        return FALSE;
    if (AfxMessageBox(IDS_DELETE_MASTER_BARCODE, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return FALSE;
    CObList* master = CBarcodeManager::GetMasterBarcodeList();
    if (master == nullptr)
        return FALSE;
    // The entry itself: a later equal one stays.
    const auto position = master->Find(barcode);
    if (position == master->end())
        return FALSE;
    master->RemoveAt(position);
    delete barcode;
    return TRUE;
}

bool CBarcodeSettingsDialog::OnOK()
{
    if (!PullControls())
        return false;
    m_chosen = SelectedBarcode();
    if (m_chosen == nullptr)
        m_chosen = CBarcodeManager::FindMasterBarcode(description);
    if (m_chosen != nullptr)
        ApplyValues(*m_chosen);
    return true;
}

void CBarcodeSettingsDialog::PushControls()
{
    Push();
    if (m_controlsPushed)
        m_controlsPushed();
}

bool CBarcodeSettingsDialog::PullControls()
{
    const bool read = Pull();
    // The selections were read even when a later value failed.
    typeName = Control(IDC_TYPE).items.value(m_typeSelection);
    return read;
}

void RegisterBarcodeSettingsDialogTexts()
{
    using Dialog = CBarcodeSettingsDialog;
    static const StringTable::Entry entries[] = {
        {DialogTextId(Dialog::IDD, 0), "Barcodes"},
        {DialogTextId(Dialog::IDD, Dialog::IDC_OK), "OK"},
        {DialogTextId(Dialog::IDD, Dialog::IDC_CANCEL), "Cancel"},
        {DialogTextId(Dialog::IDD, Dialog::IDC_DESCRIPTION), "Description:"},
        {DialogTextId(Dialog::IDD, Dialog::IDC_ADD), "&Add"},
        {DialogTextId(Dialog::IDD, Dialog::IDC_DELETE), "&Del"},
        {DialogTextId(Dialog::IDD, Dialog::IDC_TYPE), "Type:"},
        {DialogTextId(Dialog::IDD, Dialog::IDC_MODIFIER), "Modifier:"},
        {DialogTextId(Dialog::IDD, Dialog::IDC_PREAMBLE), "Preamble:"},
        {DialogTextId(Dialog::IDD, Dialog::IDC_POSTAMBLE), "Postamble:"},
        {DialogTextId(Dialog::IDD, Dialog::IDC_MODULE_WIDTH), "Module Width:"},
        {DialogTextId(Dialog::IDD, Dialog::IDC_PRINT_TEXT), "Print Text"},
        {DialogTextId(Dialog::IDD, Dialog::IDC_REMOVE_LEADING), "Remove Leading Blanks"},
        {DialogTextId(Dialog::IDD, Dialog::IDC_REMOVE_TRAILING), "Remove Trailing Blanks"},
    };
    StringTable::Add(entries);
}
