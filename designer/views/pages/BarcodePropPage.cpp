#include "designer/views/pages/BarcodePropPage.h"

#include "designer/document/DesignerDoc.h"
#include "designer/resources/barcodes/Barcode.h"
#include "designer/resources/barcodes/BarcodeManager.h"
#include "designer/resources/fonts/FontManager.h"
#include "designer/views/pages/ElementPropertySheet.h"
#include "platform/framework/Exceptions.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/StringTable.h"

#include <algorithm>

namespace {

using Page = CBarcodePropPage;
using D = BarcodePageData;

constexpr DataPositionIds kIds = {
    Page::IDC_DATA_RADIO,  Page::IDC_DATA,       Page::IDC_POSITION_RADIO, Page::IDC_COLUMN,
    Page::IDC_COLUMN_SPIN, Page::IDC_LINE,       Page::IDC_LINE_SPIN,      Page::IDC_FORCE_ABSOLUTE,
    Page::IDC_WIDTH,       Page::IDC_WIDTH_SPIN, Page::IDC_POSITION_GROUP,
};

BarcodePageData& DataOf(CElementPageRecord& record)
{
    return static_cast<TElementPageRecord<BarcodePageData>&>(record).data;
}

DataPositionFields BlockFields(CElementPageRecord& record)
{
    BarcodePageData& d = DataOf(record);
    return {&d.column,        &d.line,   &d.width,         &d.data,       &d.useData,
            &d.forceAbsolute, &d.inLoop, &d.largestColumn, &d.largestLine};
}

} // namespace

void RegisterBarcodePageStrings()
{
    static const StringTable::Entry kStrings[] = {
        {DialogTextId(Page::IDD, 0), "Barcode"},
        {DialogTextId(Page::IDD, Page::IDC_BARCODE_LABEL), "Barcode:"},
        {DialogTextId(Page::IDD, Page::IDC_SETTINGS), "&Settings"},
        {DialogTextId(Page::IDD, Page::IDC_FONT), "&Font"},
    };
    StringTable::Add(kStrings);
}

CBarcodePropPage::CBarcodePropPage(std::unique_ptr<CElementPageRecord> record)
    : CDataPositionBlock(IDD, std::move(record), kIds, &BlockFields,
                         {
                             {IDC_BARCODE_LIST, PageNotification::SelChange, D::BarcodeIndex},
                             {IDC_SETTINGS, PageNotification::Clicked, D::BarcodeIndex},
                             {IDC_FONT, PageNotification::Clicked, D::Font},
                         }),
      m_data(DataOf(*GetRecord()))
{
    RegisterBarcodePageStrings();
    for (const int id : {IDC_BARCODE_LIST, IDC_SETTINGS, IDC_FONT, IDC_FONT_DESCRIPTION})
        Control(id);
}

void CBarcodePropPage::UpdateControls()
{
    CDataPositionBlock::UpdateControls();
    // The width sizes constant data too.
    Control(IDC_WIDTH).enabled = true;
    Control(IDC_WIDTH_SPIN).enabled = true;
    if (m_data.fontManager != nullptr)
        Control(IDC_FONT_DESCRIPTION).text = m_data.fontManager->GetFontDescription(m_data.fontIndex);
    FillBarcodeList();
}

void CBarcodePropPage::FillBarcodeList()
{
    struct Entry
    {
        QString name;
        int slot;
    };
    std::vector<Entry> entries;
    if (const CBarcodeManager* barcodes = m_data.barcodeManager) {
        for (int slot = 0; slot < barcodes->GetSlotCount(); ++slot) {
            if (const CBarcode* barcode = barcodes->GetBarcode(slot))
                entries.push_back({barcode->GetName(), slot});
        }
    }
    // A sorted list orders by name, case ignored; equal names keep their slots' order.
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return QString::compare(a.name, b.name, Qt::CaseInsensitive) < 0;
    });
    DialogControlState& list = Control(IDC_BARCODE_LIST);
    list.items.clear();
    m_slots.clear();
    for (const Entry& entry : entries) {
        list.items << entry.name;
        m_slots.push_back(entry.slot);
    }
    // By slot, not by name: another definition may carry the same name.
    const auto own = std::find(m_slots.begin(), m_slots.end(), m_data.barcodeIndex);
    list.selection = m_data.barcodeIndex != -1 && own != m_slots.end() ? static_cast<int>(own - m_slots.begin()) : -1;
}

void CBarcodePropPage::RunHandler(const PageControl& control)
{
    switch (control.id) {
    case IDC_BARCODE_LIST:
        OnBarcodeSelected(control);
        break;
    case IDC_SETTINGS:
        OnSettings(control);
        break;
    case IDC_FONT:
        // A barcode has no sample text of its own.
        RunFontButton(control, QString(), m_data.fontIndex, m_data.fontManager);
        break;
    default:
        CDataPositionBlock::RunHandler(control);
        break;
    }
}

void CBarcodePropPage::OnBarcodeSelected(const PageControl& control)
{
    CSheetBusyScope busy(GetSheet());
    const int selection = Control(IDC_BARCODE_LIST).selection;
    const int slot = selection >= 0 && selection < static_cast<int>(m_slots.size()) ? m_slots[selection] : -1;
    if (slot != -1) {
        m_data.barcodeIndex = slot;
        ApplyGroup(control);
    }
    RefreshPage();
}

void CBarcodePropPage::OnSettings(const PageControl& control)
{
    CFormElement* element = GetElement();
    if (GetSheet() == nullptr || element == nullptr || m_data.barcodeManager == nullptr)
        return;
    // The sheet stays shown while the settings dialog is up.
    CSheetBusyScope busy(GetSheet());
    try {
        CDocChangeGuard transaction(element->GetDocument());
        int index = m_data.barcodeIndex;
        if (!m_data.barcodeManager->EditBarcode(&index, m_parent))
            return;
        m_data.barcodeIndex = index;
        if (element->ApplyPage(*GetRecord(), control.group))
            RefreshPage();
    } catch (const CException& error) {
        ReportError(error, MB_ICONEXCLAMATION);
        return;
    }
    // A definition changed in place keeps the index: the list shows its new name.
    RefreshPage();
}

