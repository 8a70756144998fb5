// The barcode settings dialog without its window, run by the settings
// command through the seam with a scripted user.

#include "designer/resources/ui/BarcodeSettingsDialog.h"

#include "designer/elements/FormBarcodeElement.h"
#include "designer/resources/barcodes/Barcode.h"
#include "designer/resources/barcodes/BarcodeManager.h"
#include "designer/resources/barcodes/BarcodeStrings.h"
#include "platform/framework/Collections.h"
#include "platform/ui/PromptService.h"
#include "platform/ui/StringTable.h"
#include "tests/support/WvdDocumentFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using Dialog = CBarcodeSettingsDialog;

constexpr int kMsiType = 1;

// What the user does in the open dialog; true ends it with OK (the script
// calls OnOK), false with Cancel.
using Script = std::function<bool(Dialog&)>;

class BarcodeSettingsDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterBarcodeStrings();
        RegisterBarcodeSettingsDialogTexts();
        doc = std::make_unique<CDesignerDoc>();
        ASSERT_TRUE(doc->OnNewDocument());
        doc->SetModifiedFlag(FALSE);
        m_previous =
            SetBarcodeSettingsRunner([this](QWidget*, CBarcodeManager& manager, CBarcode* initial, CBarcode*& chosen) {
                Dialog dialog;
                dialog.SetManager(&manager);
                dialog.SetInitialBarcode(initial);
                dialog.OnInitDialog();
                opened = initial;
                if (!script || !script(dialog))
                    return FALSE;
                chosen = dialog.GetChosenBarcode();
                return TRUE;
            });
    }

    void TearDown() override
    {
        SetBarcodeSettingsRunner(m_previous);
        doc.reset();
    }

    CBarcodeManager& Barcodes() const { return *doc->GetBarcodeManager(); }

    CBarcode* Slot(int index) const { return Barcodes().GetBarcode(index); }

    // A definition in the next slot with a barcode element using it, as
    // definitions without users do not outlive an undo snapshot. Slots are
    // filled from 0, where a new element first goes.
    int AddDefinition(const QString& name, int type = 0, int moduleWidth = 255)
    {
        CBarcode definition(name);
        definition.SetTypeIndex(type);
        definition.m_nModuleWidth = moduleWidth;
        const int slot = Barcodes().Add(definition);
        {
            CDocChangeGuard guard(doc.get());
            auto* element = new CFormBarcodeElement(doc.get(), kwvd::Rect(0, 0, 100, 40));
            doc->AddElement(element, FALSE, nullptr);
            element->SetBarcodeIndex(slot);
            EXPECT_EQ(element->GetBarcodeIndex(), slot);
        }
        doc->SetModifiedFlag(FALSE);
        return slot;
    }

    static CBarcode* AddMaster(const QString& name, int type = 0)
    {
        CBarcode* entry = CBarcodeManager::FindMasterBarcode(name);
        EXPECT_NE(entry, nullptr);
        if (entry != nullptr)
            entry->SetTypeIndex(type);
        return entry;
    }

    // The description item of that text; -1 when the list has none.
    static int Item(const Dialog& dialog, const QString& text)
    {
        return static_cast<int>(dialog.FindControl(Dialog::IDC_DESCRIPTION)->items.indexOf(text));
    }

    static void ChooseItem(Dialog& dialog, const QString& text)
    {
        const int item = Item(dialog, text);
        ASSERT_GE(item, 0) << text.toStdString();
        dialog.Control(Dialog::IDC_DESCRIPTION).selection = item;
        dialog.Control(Dialog::IDC_DESCRIPTION).text = text;
        dialog.OnDescriptionSelEndOk();
    }

    static void ChooseType(Dialog& dialog, int type)
    {
        dialog.Control(Dialog::IDC_TYPE).selection = type;
        dialog.OnTypeSelChange();
    }

    qsizetype UndoSteps() const { return doc->GetUndoList().GetCount(); }

    WvdTestEnvironment env;
    std::unique_ptr<CDesignerDoc> doc;
    Script script;
    CBarcode* opened = nullptr;

private:
    BarcodeSettingsRunner m_previous;
};

TEST_F(BarcodeSettingsDialogTest, OpensWithTheMasterEntriesAndTheElementsDefinitionMergedByCase)
{
    CBarcode* master = AddMaster(QStringLiteral("Parcel"));
    AddMaster(QStringLiteral("alpha"));
    int index = AddDefinition(QStringLiteral("PARCEL"), 7, 40);
    script = [&](Dialog& dialog) {
        const DialogControlState& list = *dialog.FindControl(Dialog::IDC_DESCRIPTION);
        EXPECT_EQ(list.items, QStringList({QStringLiteral("alpha"), QStringLiteral("Parcel")}));
        // The one item carries the document's definition, which is shown.
        EXPECT_EQ(dialog.SelectedBarcode(), Slot(0));
        EXPECT_EQ(dialog.description, QStringLiteral("PARCEL"));
        EXPECT_EQ(dialog.FindControl(Dialog::IDC_TYPE)->selection, 7);
        EXPECT_EQ(dialog.FindControl(Dialog::IDC_TYPE)->items.size(), 25);
        EXPECT_EQ(dialog.FindControl(Dialog::IDC_MODULE_WIDTH)->text, QStringLiteral("40"));
        dialog.Control(Dialog::IDC_PREAMBLE).text = QStringLiteral("PRE");
        return dialog.OnOK();
    };
    EXPECT_TRUE(Barcodes().EditBarcode(&index));
    EXPECT_EQ(index, 0);
    EXPECT_EQ(Slot(0)->GetPreamble(), QStringLiteral("PRE"));
    EXPECT_TRUE(master->GetPreamble().isEmpty());
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(BarcodeSettingsDialogTest, WithoutABarcodeNothingIsShownAndOkNeedsAModuleWidth)
{
    int index = -1;
    script = [&](Dialog& dialog) {
        EXPECT_TRUE(dialog.FindControl(Dialog::IDC_DESCRIPTION)->text.isEmpty());
        EXPECT_EQ(dialog.FindControl(Dialog::IDC_DESCRIPTION)->selection, -1);
        EXPECT_EQ(dialog.FindControl(Dialog::IDC_TYPE)->selection, -1);
        EXPECT_EQ(dialog.FindControl(Dialog::IDC_MODIFIER)->selection, -1);
        EXPECT_EQ(dialog.FindControl(Dialog::IDC_MODIFIER)->items.size(), 2);
        EXPECT_EQ(dialog.FindControl(Dialog::IDC_MODULE_WIDTH)->text, QStringLiteral("0"));
        dialog.Control(Dialog::IDC_MODULE_WIDTH).text.clear();
        EXPECT_FALSE(dialog.OnOK());
        EXPECT_EQ(dialog.FailedControl(), Dialog::IDC_MODULE_WIDTH);
        dialog.Control(Dialog::IDC_MODULE_WIDTH).text = QStringLiteral("1000");
        EXPECT_FALSE(dialog.OnOK());
        // An empty description and no item: OK chooses nothing.
        dialog.Control(Dialog::IDC_MODULE_WIDTH).text = QStringLiteral("999");
        return dialog.OnOK();
    };
    EXPECT_FALSE(Barcodes().EditBarcode(&index));
    EXPECT_EQ(index, -1);
    EXPECT_EQ(Barcodes().GetSlotCount(), 0);
    EXPECT_EQ(env.PromptTexts(), QStringList({DialogCheckText(DialogCheckMessage::Integer),
                                              DialogCheckText(DialogCheckMessage::IntegerRange, QStringLiteral("1"),
                                                              QStringLiteral("999"))}));
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(BarcodeSettingsDialogTest, AFullListKeepsTheElementsBarcode)
{
    for (int i = 0; i < CBarcodeManager::kMaxBarcodes; ++i)
        ASSERT_EQ(AddDefinition(QStringLiteral("BC%1").arg(i)), i);
    int index = 3;
    script = [&](Dialog& dialog) {
        dialog.Control(Dialog::IDC_DESCRIPTION).text = QStringLiteral("Another");
        dialog.Control(Dialog::IDC_DESCRIPTION).selection = -1;
        return dialog.OnOK();
    };
    EXPECT_FALSE(Barcodes().EditBarcode(&index));
    EXPECT_EQ(index, 3);
    ASSERT_EQ(env.PromptTexts().size(), 1);
    EXPECT_TRUE(env.PromptTexts().front().contains(QStringLiteral("maximum of 26")));
    EXPECT_FALSE(doc->IsModified());
    // The entry the user named is in the master list all the same.
    EXPECT_NE(CBarcodeManager::FindMasterByName(QStringLiteral("Another")), nullptr);
}

TEST_F(BarcodeSettingsDialogTest, AddCreatesAndSelectsANewMasterEntry)
{
    int index = -1;
    CBarcode* added = nullptr;
    script = [&](Dialog& dialog) {
        dialog.Control(Dialog::IDC_DESCRIPTION).text = QStringLiteral("Shipping");
        dialog.Control(Dialog::IDC_TYPE).selection = 12;
        dialog.Control(Dialog::IDC_MODULE_WIDTH).text = QStringLiteral("17");
        dialog.Control(Dialog::IDC_PRINT_TEXT).check = 1;
        dialog.OnAddBarcode();
        added = CBarcodeManager::FindMasterByName(QStringLiteral("Shipping"));
        EXPECT_EQ(dialog.SelectedBarcode(), added);
        return false;
    };
    EXPECT_FALSE(Barcodes().EditBarcode(&index));
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->GetTypeIndex(), 12);
    EXPECT_EQ(added->m_nModuleWidth, 17);
    EXPECT_TRUE(added->m_bPrintText);
}

TEST_F(BarcodeSettingsDialogTest, DelRefusesTheOwnDefinitionAndAsksForAMasterEntry)
{
    AddMaster(QStringLiteral("Old"));
    AddMaster(QStringLiteral("Kept"));
    int index = AddDefinition(QStringLiteral("Mine"));
    script = [&](Dialog& dialog) {
        dialog.OnDeleteBarcode();
        EXPECT_EQ(dialog.SelectedBarcode(), Slot(0));
        EXPECT_TRUE(env.PromptTexts().isEmpty());

        env.prompts->AnswerMessageBox(IDNO);
        ChooseItem(dialog, QStringLiteral("Kept"));
        dialog.OnDeleteBarcode();
        env.prompts->AnswerMessageBox(IDYES);
        ChooseItem(dialog, QStringLiteral("Old"));
        dialog.OnDeleteBarcode();
        EXPECT_EQ(dialog.FindControl(Dialog::IDC_DESCRIPTION)->items,
                  QStringList({QStringLiteral("Kept"), QStringLiteral("Mine")}));
        return false;
    };
    EXPECT_FALSE(Barcodes().EditBarcode(&index));
    EXPECT_EQ(env.PromptTexts(), QStringList(2, LoadResString(IDS_DELETE_MASTER_BARCODE)));
    EXPECT_EQ(CBarcodeManager::FindMasterByName(QStringLiteral("Old")), nullptr);
    EXPECT_NE(CBarcodeManager::FindMasterByName(QStringLiteral("Kept")), nullptr);
}

TEST_F(BarcodeSettingsDialogTest, TypeChangesStayAfterCancel)
{
    CBarcode* master = AddMaster(QStringLiteral("Master"));
    int index = AddDefinition(QStringLiteral("Mine"));
    const qsizetype stepsBefore = UndoSteps();
    script = [&](Dialog& dialog) {
        ChooseItem(dialog, QStringLiteral("Master"));
        ChooseType(dialog, 20);
        EXPECT_EQ(dialog.FindControl(Dialog::IDC_MODIFIER)->items.size(), 2);
        return false;
    };
    EXPECT_FALSE(Barcodes().EditBarcode(&index));
    EXPECT_EQ(master->GetTypeIndex(), 20);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(UndoSteps(), stepsBefore);

    // The document's own definition: kept too, and counted as a change.
    script = [&](Dialog& dialog) {
        ChooseType(dialog, 15);
        return false;
    };
    EXPECT_TRUE(Barcodes().EditBarcode(&index));
    EXPECT_EQ(index, 0);
    EXPECT_EQ(Slot(0)->GetTypeIndex(), 15);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(UndoSteps(), stepsBefore + 1);
}

TEST_F(BarcodeSettingsDialogTest, TypeChangeWithoutAnItemOnlyRefillsTheModifiers)
{
    int index = -1;
    script = [&](Dialog& dialog) {
        ChooseType(dialog, kMsiType);
        EXPECT_EQ(dialog.FindControl(Dialog::IDC_MODIFIER)->items.size(), 9);
        EXPECT_EQ(dialog.FindControl(Dialog::IDC_TYPE)->selection, kMsiType);
        return false;
    };
    EXPECT_FALSE(Barcodes().EditBarcode(&index));
    EXPECT_TRUE(CBarcodeManager::GetMasterBarcodeList()->IsEmpty());
}

TEST_F(BarcodeSettingsDialogTest, ModifiersAreReadByPosition)
{
    // The eighth and ninth MSI items read as the sixth and seventh.
    int index = AddDefinition(QStringLiteral("Msi"), kMsiType);
    script = [&](Dialog& dialog) {
        EXPECT_EQ(dialog.FindControl(Dialog::IDC_MODIFIER)->items.at(7),
                  dialog.FindControl(Dialog::IDC_MODIFIER)->items.at(5));
        dialog.Control(Dialog::IDC_MODIFIER).selection = 7;
        return dialog.OnOK();
    };
    EXPECT_TRUE(Barcodes().EditBarcode(&index));
    EXPECT_EQ(Slot(0)->GetModifierCode(), 8);

    // Opened and confirmed unchanged: still code 8, nothing changed.
    doc->SetModifiedFlag(FALSE);
    script = [&](Dialog& dialog) {
        EXPECT_EQ(dialog.FindControl(Dialog::IDC_MODIFIER)->selection, 7);
        return dialog.OnOK();
    };
    EXPECT_FALSE(Barcodes().EditBarcode(&index));
    EXPECT_EQ(Slot(0)->GetModifierCode(), 8);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(BarcodeSettingsDialogTest, AModuleWidthChangeCounts)
{
    int index = AddDefinition(QStringLiteral("Mine"), 0, 10);
    script = [&](Dialog& dialog) {
        dialog.Control(Dialog::IDC_MODULE_WIDTH).text = QStringLiteral("12");
        return dialog.OnOK();
    };
    EXPECT_TRUE(Barcodes().EditBarcode(&index));
    EXPECT_EQ(Slot(0)->m_nModuleWidth, 12);
    EXPECT_TRUE(doc->IsModified());

    // A master entry equal but for its width takes a slot of its own.
    CBarcode* master = AddMaster(QStringLiteral("Mine"));
    master->m_nModuleWidth = 30;
    int other = -1;
    script = [&](Dialog& dialog) {
        dialog.Control(Dialog::IDC_DESCRIPTION).text = QStringLiteral("Mine");
        dialog.OnDescriptionKillFocus();
        EXPECT_EQ(dialog.SelectedBarcode(), master);
        return dialog.OnOK();
    };
    EXPECT_TRUE(Barcodes().EditBarcode(&other));
    EXPECT_EQ(other, 1);
    EXPECT_EQ(Slot(1)->m_nModuleWidth, 30);
}

TEST_F(BarcodeSettingsDialogTest, ChoosingAMasterEntryFindsAnEqualSlotOrAddsOne)
{
    AddDefinition(QStringLiteral("Zero"));
    AddDefinition(QStringLiteral("One"));
    AddMaster(QStringLiteral("One"));
    AddMaster(QStringLiteral("Two"), 4);
    struct Case
    {
        const char* name;
        int expected;
    };
    for (const Case& c : {Case{"One", 1}, Case{"Two", 2}}) {
        SCOPED_TRACE(c.name);
        int index = 0;
        script = [&](Dialog& dialog) {
            ChooseItem(dialog, QString::fromLatin1(c.name));
            return dialog.OnOK();
        };
        EXPECT_TRUE(Barcodes().EditBarcode(&index));
        EXPECT_EQ(index, c.expected);
        EXPECT_EQ(Slot(index)->GetName(), QString::fromLatin1(c.name));
    }
}

TEST_F(BarcodeSettingsDialogTest, AddWithAnEmptyDescriptionOnlyRefillsTheList)
{
    AddMaster(QStringLiteral("Kept"));
    int index = -1;
    script = [&](Dialog& dialog) {
        dialog.Control(Dialog::IDC_MODULE_WIDTH).text = QStringLiteral("5");
        dialog.OnAddBarcode();
        EXPECT_EQ(dialog.FindControl(Dialog::IDC_DESCRIPTION)->items, QStringList(QStringLiteral("Kept")));
        EXPECT_EQ(dialog.SelectedBarcode(), nullptr);
        return false;
    };
    EXPECT_FALSE(Barcodes().EditBarcode(&index));
    EXPECT_EQ(CBarcodeManager::GetMasterBarcodeList()->GetCount(), 1);
}

TEST_F(BarcodeSettingsDialogTest, OkWithoutAChoiceStillCountsATypeChangeOfTheOwnDefinition)
{
    int index = AddDefinition(QStringLiteral("Mine"));
    script = [&](Dialog& dialog) {
        ChooseType(dialog, 6);
        dialog.Control(Dialog::IDC_DESCRIPTION).selection = -1;
        dialog.Control(Dialog::IDC_DESCRIPTION).text.clear();
        return dialog.OnOK();
    };
    EXPECT_TRUE(Barcodes().EditBarcode(&index));
    EXPECT_EQ(index, 0);
    EXPECT_EQ(Slot(0)->GetTypeIndex(), 6);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(BarcodeSettingsDialogTest, CancelWithoutChangesKeepsEverything)
{
    int index = AddDefinition(QStringLiteral("Mine"));
    script = [&](Dialog& dialog) {
        dialog.Control(Dialog::IDC_PREAMBLE).text = QStringLiteral("lost");
        return false;
    };
    EXPECT_FALSE(Barcodes().EditBarcode(&index));
    EXPECT_EQ(opened, Slot(0));
    EXPECT_TRUE(Slot(0)->GetPreamble().isEmpty());
    EXPECT_FALSE(doc->IsModified());
}

} // namespace
