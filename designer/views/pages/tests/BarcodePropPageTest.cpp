// The Barcode element's page without its window: its bindings, the list of
// the document's definitions with their slots, the data typed, the font of
// the human-readable text and the settings dialog.

#include "designer/views/pages/tests/TextKindPageFixture.h"

#include "designer/elements/FormBarcodeElement.h"
#include "designer/resources/barcodes/Barcode.h"
#include "designer/resources/barcodes/BarcodeManager.h"
#include "designer/views/pages/BarcodePropPage.h"

#include <algorithm>

namespace {

using Page = CBarcodePropPage;
using D = BarcodePageData;

class BarcodePageTest : public TextKindPageTest
{
protected:
    CBarcodeManager& Barcodes() const { return *Doc().GetBarcodeManager(); }

    // A definition of the document; its height tells two of one name apart.
    int AddDefinition(const char* name, int height = 0)
    {
        CBarcode definition{QString::fromLatin1(name)};
        if (height > 0)
            definition.SetHeight(height);
        return Barcodes().Add(definition);
    }

    CFormBarcodeElement* Barcode(int slot)
    {
        auto* element = static_cast<CFormBarcodeElement*>(
            Make(FormElementType::Barcode, In(3, 2, 12, 3), nullptr, PaneSide::Input));
        EXPECT_NE(element, nullptr);
        if (element != nullptr) {
            CDocChangeGuard change(&Doc());
            element->SetBarcodeIndex(slot);
        }
        env.env.prompts->ClearRecorded();
        return element;
    }

    // The slot of the list's selected entry, -1 for none.
    static int SelectedSlot(const Page& page)
    {
        const int selection = page.FindControl(Page::IDC_BARCODE_LIST)->selection;
        return selection >= 0 ? page.ListSlots().at(selection) : -1;
    }

    static bool Enabled(const Page& page, int id) { return page.FindControl(id)->enabled; }

    static int EntryOfSlot(const Page& page, int slot)
    {
        const auto it = std::find(page.ListSlots().begin(), page.ListSlots().end(), slot);
        return it != page.ListSlots().end() ? static_cast<int>(it - page.ListSlots().begin()) : -1;
    }
};

TEST_F(BarcodePageTest, EveryControlAppliesItsGroupAndReachesItsField)
{
    CFormBarcodeElement* barcode = Barcode(AddDefinition("ZIP"));
    ASSERT_NE(barcode, nullptr);
    auto* page = OwnPage<Page>(barcode);
    ASSERT_NE(page, nullptr);
    const std::vector<Binding<D>> rows = {
        {Page::IDC_BARCODE_LIST, PageNotification::SelChange, D::BarcodeIndex, "", nullptr},
        {Page::IDC_SETTINGS, PageNotification::Clicked, D::BarcodeIndex, "", nullptr},
        {Page::IDC_FONT, PageNotification::Clicked, D::Font, "", nullptr},
        {Page::IDC_DATA_RADIO, PageNotification::Clicked, D::Data, "", nullptr},
        {Page::IDC_DATA, PageNotification::Change, D::Data, "4711", [](const D& d) { return d.data; }},
        {Page::IDC_POSITION_RADIO, PageNotification::Clicked, D::Position, "", nullptr},
        {Page::IDC_COLUMN, PageNotification::Change, D::Position, "7",
         [](const D& d) { return QString::number(d.column); }},
        {Page::IDC_LINE, PageNotification::Change, D::Position, "4",
         [](const D& d) { return QString::number(d.line); }},
        {Page::IDC_FORCE_ABSOLUTE, PageNotification::Clicked, D::ForceAbsolute, "1",
         [](const D& d) { return QString::number(d.forceAbsolute); }},
        {Page::IDC_WIDTH, PageNotification::Change, D::Size, "9", [](const D& d) { return QString::number(d.width); }},
    };
    CheckBindings(*page, page->Data(), rows);
}

TEST_F(BarcodePageTest, ListIsSortedAndEachEntryKeepsItsSlot)
{
    const int zip = AddDefinition("ZIP");
    const int code = AddDefinition("CODE");
    CFormBarcodeElement* barcode = Barcode(zip);
    // A definition without users does not outlive the next change.
    ASSERT_NE(Barcode(code), nullptr);
    ASSERT_NE(barcode, nullptr);
    auto* page = OwnPage<Page>(barcode);
    ASSERT_NE(page, nullptr);
    const QStringList& items = page->FindControl(Page::IDC_BARCODE_LIST)->items;
    ASSERT_EQ(items.size(), static_cast<qsizetype>(page->ListSlots().size()));
    for (qsizetype i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i], Barcodes().GetBarcode(page->ListSlots()[i])->GetName()) << i;
        if (i > 0) {
            EXPECT_LE(QString::compare(items[i - 1], items[i], Qt::CaseInsensitive), 0) << i;
        }
    }
    ASSERT_GE(EntryOfSlot(*page, code), 0);
    EXPECT_LT(EntryOfSlot(*page, code), EntryOfSlot(*page, zip)) << "CODE before ZIP";
    EXPECT_EQ(SelectedSlot(*page), zip);

    // Choosing CODE is one change; the element joins that definition.
    const DWORD start = Doc().GetBuildId();
    Choose(*page, Page::IDC_BARCODE_LIST, EntryOfSlot(*page, code));
    EXPECT_EQ(barcode->GetBarcodeIndex(), code);
    EXPECT_EQ(SelectedSlot(*page), code);
    EXPECT_EQ(Doc().GetBuildId(), start + 1);

    // No entry chosen: nothing applied, the selection shows the element's again.
    Choose(*page, Page::IDC_BARCODE_LIST, -1);
    EXPECT_EQ(barcode->GetBarcodeIndex(), code);
    EXPECT_EQ(SelectedSlot(*page), code);
    EXPECT_EQ(Doc().GetBuildId(), start + 1);
}

TEST_F(BarcodePageTest, TwoDefinitionsOfOneNameEachShowTheirOwn)
{
    const int first = AddDefinition("ZIP", 3);
    const int second = AddDefinition("ZIP", 5);
    ASSERT_NE(first, second);
    CFormBarcodeElement* a = Barcode(first);
    CFormBarcodeElement* b = Barcode(second);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(b->GetBarcodeIndex(), second);
    auto* page = OwnPage<Page>(b);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(SelectedSlot(*page), second);
    page = OwnPage<Page>(a);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(SelectedSlot(*page), first);
}

TEST_F(BarcodePageTest, DataKeystrokesAndPositionKeepingTheData)
{
    CFormBarcodeElement* barcode = Barcode(AddDefinition("ZIP"));
    ASSERT_NE(barcode, nullptr);
    auto* page = OwnPage<Page>(barcode);
    ASSERT_NE(page, nullptr);
    Click(*page, Page::IDC_DATA_RADIO, 1);
    const DWORD start = Doc().GetBuildId();
    Type(*page, Page::IDC_DATA, QStringLiteral("4"));
    Type(*page, Page::IDC_DATA, QStringLiteral("47"));
    EXPECT_EQ(Doc().GetBuildId(), start + 2) << "one change at each changed keystroke";
    Type(*page, Page::IDC_DATA, QStringLiteral("47"));
    EXPECT_EQ(Doc().GetBuildId(), start + 2) << "the same data again records nothing";
    EXPECT_TRUE(Enabled(*page, Page::IDC_WIDTH));

    Click(*page, Page::IDC_POSITION_RADIO, 1);
    EXPECT_EQ(barcode->GetData(), QStringLiteral("47"));
    EXPECT_EQ(page->FindControl(Page::IDC_DATA)->text, QStringLiteral("47"));
    EXPECT_FALSE(Enabled(*page, Page::IDC_DATA));
    EXPECT_TRUE(Enabled(*page, Page::IDC_WIDTH)) << "the width in both modes";
    EXPECT_TRUE(Enabled(*page, Page::IDC_COLUMN));
}

TEST_F(BarcodePageTest, FontReachesEveryUserOfTheDefinition)
{
    CAS400Font* courier = AddFont(1, "Courier");
    ASSERT_NE(courier, nullptr);
    const int zip = AddDefinition("ZIP");
    CFormBarcodeElement* a = Barcode(zip);
    CFormBarcodeElement* b = Barcode(zip);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    auto* page = OwnPage<Page>(a);
    ASSERT_NE(page, nullptr);
    const DWORD start = Doc().GetBuildId();

    bool busyWhileOpen = false;
    QString sample = QStringLiteral("unset");
    const FontDialogRunner previous = SetFontDialogRunner([&](CFontManager&, FontDialogRun& run) -> BOOL {
        busyWhileOpen = sheet.IsBusy();
        sample = run.sampleText;
        run.primary = courier;
        return TRUE;
    });
    page->OnControlNotify(Page::IDC_FONT, PageNotification::Clicked);
    SetFontDialogRunner(previous);

    EXPECT_TRUE(busyWhileOpen);
    EXPECT_FALSE(sheet.IsBusy());
    EXPECT_TRUE(sample.isEmpty()) << "a barcode has no sample";
    EXPECT_EQ(a->GetFontIndex(), 1);
    EXPECT_EQ(Barcodes().GetBarcodeFontIndex(zip), 1);
    EXPECT_EQ(b->GetTextFontIndex(), a->GetTextFontIndex());
    EXPECT_EQ(page->FindControl(Page::IDC_FONT_DESCRIPTION)->text, Fonts().GetFontDescription(1));
    EXPECT_EQ(Doc().GetBuildId(), start + 1);
}

TEST_F(BarcodePageTest, SettingsAppliesTheChosenDefinitionOnlyOnOk)
{
    struct Case
    {
        const char* name;
        bool ok;
        bool changes;
    };
    const Case cases[] = {
        {"cancelled", false, false},
        {"another definition chosen", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int zip = AddDefinition("ZIP");
        CFormBarcodeElement* barcode = Barcode(zip);
        ASSERT_NE(barcode, nullptr);
        auto* page = OwnPage<Page>(barcode);
        ASSERT_NE(page, nullptr);
        const DWORD start = Doc().GetBuildId();
        bool busyWhileOpen = false;
        CBarcode edited{QStringLiteral("EAN")};
        const BarcodeSettingsRunner previous =
            SetBarcodeSettingsRunner([&](QWidget*, CBarcodeManager&, CBarcode*, CBarcode*& chosen) -> BOOL {
                busyWhileOpen = sheet.IsBusy();
                chosen = &edited;
                return c.ok ? TRUE : FALSE;
            });
        page->OnControlNotify(Page::IDC_SETTINGS, PageNotification::Clicked);
        SetBarcodeSettingsRunner(previous);

        EXPECT_TRUE(busyWhileOpen);
        EXPECT_FALSE(sheet.IsBusy());
        EXPECT_EQ(barcode->GetBarcodeIndex() != zip, c.changes);
        EXPECT_EQ(Doc().GetBuildId(), c.changes ? start + 1 : start);
        if (c.changes) {
            EXPECT_EQ(Barcodes().GetBarcode(barcode->GetBarcodeIndex())->GetName(), QStringLiteral("EAN"));
            EXPECT_EQ(SelectedSlot(*page), barcode->GetBarcodeIndex());
        }
        sheet.SetElement(nullptr);
    }
}

} // namespace
