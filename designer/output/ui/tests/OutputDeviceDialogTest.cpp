// The output device dialog without its window: the two modes, the master
// devices it lists, adds and deletes, and the type and name changes it makes
// at once.

#include "designer/output/ui/OutputDeviceDialog.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/output/OutputDeviceTypeTable.h"
#include "designer/output/ui/tests/OutputDeviceSettingsGeneralPageTesting.h"
#include "tests/support/ScriptedSettingsWindow.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace {

using Dialog = COutputDeviceDialog;

class OutputDeviceDialogTest : public ::testing::Test
{
protected:
    OutputDeviceDialogTest() { EXPECT_EQ(COutputDeviceManager::GetMasterList()->GetCount(), 0); }

    COutputDevice* Master(const char* name, int type = 0)
    {
        COutputDevice* device = manager.CreateMasterDevice(nullptr, QString::fromLatin1(name), type);
        EXPECT_NE(device, nullptr) << name;
        return device;
    }

    void Open(COutputDevice* selected)
    {
        dialog.SetManager(&manager);
        dialog.SetSelectedDevice(selected);
        dialog.OnInitDialog();
    }

    // The user's actions, as the view hands them over.
    void TypeName(const char* name) { dialog.Control(Dialog::IDC_NAME).text = QString::fromLatin1(name); }
    void ChooseName(const char* name)
    {
        DialogControlState& names = dialog.Control(Dialog::IDC_NAME);
        names.selection = static_cast<int>(names.items.indexOf(QString::fromLatin1(name)));
        ASSERT_GE(names.selection, 0) << name;
        names.text = QString::fromLatin1(name);
        dialog.OnNameSelChange();
    }
    void ChooseType(int type)
    {
        const std::vector<int>& rows = dialog.TypeRows();
        dialog.Control(Dialog::IDC_TYPE).selection =
            static_cast<int>(std::find(rows.begin(), rows.end(), type) - rows.begin());
        dialog.OnTypeSelChange();
    }
    void ClickMode(int mode)
    {
        dialog.Control(Dialog::IDC_MODE_DEFAULT).check = mode == Dialog::ModeDefault ? 1 : 0;
        dialog.Control(Dialog::IDC_MODE_SELECT).check = mode == Dialog::ModeSelect ? 1 : 0;
        if (mode == Dialog::ModeDefault)
            dialog.OnModeDefault();
        else
            dialog.OnModeSelect();
    }

    QString ShownType() const
    {
        const DialogControlState* types = dialog.FindControl(Dialog::IDC_TYPE);
        return types->items.value(types->selection);
    }
    QString ShownName() const { return dialog.FindControl(Dialog::IDC_NAME)->text; }
    QStringList Listed() const { return dialog.FindControl(Dialog::IDC_NAME)->items; }
    bool InMaster(const COutputDevice* device) const
    {
        const CObList* master = COutputDeviceManager::GetMasterList();
        return master->Find(const_cast<COutputDevice*>(device)) != master->end();
    }

    OutputStringsRegistered registered;
    ScopedPromptAnswers prompts;
    COutputDeviceManager manager;
    Dialog dialog;
    // Stands in for an Output element: only its presence among the users counts.
    int elementStandIn = 0;
    CFormOutputElement* element = reinterpret_cast<CFormOutputElement*>(&elementStandIn);
};

TEST_F(OutputDeviceDialogTest, TypeListFollowsTheTableRows)
{
    Open(nullptr);
    EXPECT_EQ(dialog.TypeRows(), (std::vector<int>{0, 1, 2, 4, 3, 6, 7, 5}));
    EXPECT_EQ(dialog.Control(Dialog::IDC_TYPE).items, (QStringList{"Print (SCS)", "Print (AFP)", "Print (HPT)", "Email",
                                                                   "Fax", "File", "DocStore", "Display"}));
}

TEST_F(OutputDeviceDialogTest, DefaultDeviceOpensInDefaultMode)
{
    Master("PRT01");
    Open(manager.GetDefaultDevice());
    EXPECT_EQ(dialog.mode, Dialog::ModeDefault);
    EXPECT_EQ(dialog.Control(Dialog::IDC_MODE_DEFAULT).check, 1);
    EXPECT_EQ(dialog.Control(Dialog::IDC_DEFAULT_NAME).text, QStringLiteral("*DOC"));
    EXPECT_TRUE(dialog.Control(Dialog::IDC_DEFAULT_NAME).enabled);
    for (const int id : {Dialog::IDC_NAME, Dialog::IDC_ADD, Dialog::IDC_DEL})
        EXPECT_FALSE(dialog.Control(id).enabled) << id;
    EXPECT_EQ(ShownType(), QStringLiteral("Print (SCS)"));
    EXPECT_EQ(dialog.GetChosenDevice(), manager.GetDefaultDevice());
}

TEST_F(OutputDeviceDialogTest, NamedDeviceOpensInSelectModeInSortedList)
{
    Master("prt02");
    COutputDevice* fax = Master("FAX01", 3);
    Master("ARCHIVE", 6);
    Open(fax);
    EXPECT_EQ(dialog.mode, Dialog::ModeSelect);
    EXPECT_EQ(Listed(), (QStringList{"ARCHIVE", "FAX01", "PRT02"}));
    EXPECT_EQ(dialog.Control(Dialog::IDC_NAME).selection, 1);
    EXPECT_EQ(ShownName(), QStringLiteral("FAX01"));
    EXPECT_EQ(ShownType(), QStringLiteral("Fax"));
    EXPECT_FALSE(dialog.Control(Dialog::IDC_DEFAULT_NAME).enabled);
}

TEST_F(OutputDeviceDialogTest, WithoutDeviceTheFirstEntryIsSelected)
{
    Master("ZED", 4);
    Master("ALPHA", 2);
    Open(nullptr);
    EXPECT_EQ(dialog.mode, Dialog::ModeSelect);
    EXPECT_EQ(ShownName(), QStringLiteral("ALPHA"));
    EXPECT_EQ(ShownType(), QStringLiteral("Print (HPT)"));
}

TEST_F(OutputDeviceDialogTest, EmptyListThenAddMakesTheDeviceWithTheChosenType)
{
    Open(nullptr);
    EXPECT_EQ(dialog.selectedDevice, nullptr);
    EXPECT_EQ(dialog.Control(Dialog::IDC_NAME).selection, -1);
    TypeName("mail1");
    ChooseType(4);
    dialog.OnAdd();
    COutputDevice* made = COutputDeviceManager::FindMasterByName(QStringLiteral("MAIL1"));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetType(), 4);
    EXPECT_EQ(dialog.selectedDevice, made);
    EXPECT_EQ(Listed(), QStringList{"MAIL1"});
    EXPECT_EQ(dialog.Control(Dialog::IDC_NAME).selection, 0);
    EXPECT_EQ(ShownType(), QStringLiteral("Email"));
}

TEST_F(OutputDeviceDialogTest, AddWithAnExistingNameSelectsItUnchanged)
{
    COutputDevice* printer = Master("PRT01", 1);
    COutputDevice* fax = Master("FAX01", 3);
    Open(printer);
    TypeName("FAX01");
    dialog.OnAdd();
    EXPECT_EQ(dialog.selectedDevice, fax);
    EXPECT_EQ(fax->GetType(), 3);
    EXPECT_EQ(ShownType(), QStringLiteral("Fax"));
    EXPECT_EQ(COutputDeviceManager::GetMasterList()->GetCount(), 2);
}

TEST_F(OutputDeviceDialogTest, TypeChangeInSelectModeIsMadeAtOnce)
{
    COutputDevice* printer = Master("PRT01", 0);
    Open(printer);
    ChooseType(2);
    // Cancel calls nothing: what was set stays.
    EXPECT_EQ(printer->GetType(), 2);
}

TEST_F(OutputDeviceDialogTest, TypeChosenOverANewNameGoesToTheNewDevice)
{
    COutputDevice* printer = Master("PRT01", 0);
    printer->SetDescription(QStringLiteral("Main printer"));
    Open(printer);
    TypeName("PRT02");
    ChooseType(1);
    EXPECT_EQ(printer->GetType(), 0);
    ASSERT_TRUE(dialog.OnOK());
    COutputDevice* made = dialog.GetChosenDevice();
    ASSERT_NE(made, nullptr);
    EXPECT_NE(made, printer);
    EXPECT_EQ(made->GetName(), QStringLiteral("PRT02"));
    EXPECT_EQ(made->GetType(), 1);
    EXPECT_EQ(made->GetDescription(), QStringLiteral("Main printer"));
    EXPECT_EQ(printer->GetName(), QStringLiteral("PRT01"));
    EXPECT_EQ(printer->GetType(), 0);
}

TEST_F(OutputDeviceDialogTest, OkOnTheSelectedDeviceMakesNothing)
{
    COutputDevice* printer = Master("PRT01", 0);
    Open(printer);
    ASSERT_TRUE(dialog.OnOK());
    EXPECT_EQ(dialog.GetChosenDevice(), printer);
    EXPECT_EQ(COutputDeviceManager::GetMasterList()->GetCount(), 1);
}

TEST_F(OutputDeviceDialogTest, OkWithAnEmptyNameChoosesNoDevice)
{
    COutputDevice* printer = Master("PRT01", 0);
    Open(printer);
    TypeName("");
    ASSERT_TRUE(dialog.OnOK());
    EXPECT_EQ(dialog.GetChosenDevice(), nullptr);
    EXPECT_EQ(COutputDeviceManager::GetMasterList()->GetCount(), 1);
}

TEST_F(OutputDeviceDialogTest, NameLongerThanTheFieldIsRefusedOnOk)
{
    Open(nullptr);
    TypeName("ABCDEFGHIJK");
    EXPECT_FALSE(dialog.OnOK());
    EXPECT_EQ(dialog.FailedControl(), Dialog::IDC_NAME);
    EXPECT_EQ(prompts.Texts(), QStringList{"Enter no more than 10 characters."});
}

TEST_F(OutputDeviceDialogTest, DefaultModeEditsTheDefaultDevice)
{
    COutputDevice* defaultDevice = manager.GetDefaultDevice();
    Open(defaultDevice);
    ChooseType(3);
    EXPECT_EQ(defaultDevice->GetType(), 3);
    dialog.Control(Dialog::IDC_DEFAULT_NAME).text = QStringLiteral("DOCDEV");
    EXPECT_EQ(defaultDevice->GetName(), QStringLiteral("*DOC"));
    dialog.OnDefaultNameKillFocus();
    EXPECT_EQ(defaultDevice->GetName(), QStringLiteral("DOCDEV"));
}

TEST_F(OutputDeviceDialogTest, DefaultNameTypedThenOkIsKept)
{
    COutputDevice* defaultDevice = manager.GetDefaultDevice();
    Open(defaultDevice);
    dialog.Control(Dialog::IDC_DEFAULT_NAME).text = QStringLiteral("DOCDEV");
    ASSERT_TRUE(dialog.OnOK());
    EXPECT_EQ(dialog.GetChosenDevice(), defaultDevice);
    EXPECT_EQ(defaultDevice->GetName(), QStringLiteral("DOCDEV"));
}

TEST_F(OutputDeviceDialogTest, SwitchingModesShowsEachModesDevice)
{
    manager.GetDefaultDevice()->SetType(4);
    COutputDevice* fax = Master("FAX01", 3);
    Open(fax);
    ClickMode(Dialog::ModeDefault);
    EXPECT_EQ(ShownType(), QStringLiteral("Email"));
    EXPECT_TRUE(dialog.Control(Dialog::IDC_DEFAULT_NAME).enabled);
    EXPECT_FALSE(dialog.Control(Dialog::IDC_ADD).enabled);
    EXPECT_EQ(dialog.GetChosenDevice(), manager.GetDefaultDevice());
    ClickMode(Dialog::ModeSelect);
    EXPECT_EQ(ShownType(), QStringLiteral("Fax"));
    EXPECT_EQ(dialog.GetChosenDevice(), fax);
}

TEST_F(OutputDeviceDialogTest, ChoosingAnEntryShowsItsType)
{
    Master("PRT01", 0);
    COutputDevice* file = Master("FILE01", 6);
    Open(nullptr);
    ChooseName("PRT01");
    EXPECT_EQ(ShownType(), QStringLiteral("Print (SCS)"));
    ChooseName("FILE01");
    EXPECT_EQ(dialog.selectedDevice, file);
    EXPECT_EQ(ShownType(), QStringLiteral("File"));
}

// ------------------------------------------------------------------ Del

struct DeleteCase
{
    const char* name;
    std::vector<const char*> devices;
    const char* deleted;
    const char* selectedAfter; // nullptr: none
};

void PrintTo(const DeleteCase& c, std::ostream* os)
{
    *os << c.name;
}

class OutputDeviceDialogDeleteTest : public OutputDeviceDialogTest, public ::testing::WithParamInterface<DeleteCase>
{};

TEST_P(OutputDeviceDialogDeleteTest, SelectionAfterDeletion)
{
    const DeleteCase& c = GetParam();
    COutputDevice* deleted = nullptr;
    for (const char* name : c.devices) {
        COutputDevice* device = Master(name);
        if (QByteArray(name) == c.deleted)
            deleted = device;
    }
    Open(deleted);
    prompts->AnswerMessageBox(IDYES);
    dialog.OnDel();
    EXPECT_FALSE(InMaster(deleted)) << c.name;
    EXPECT_FALSE(Listed().contains(QString::fromLatin1(c.deleted))) << c.name;
    if (c.selectedAfter == nullptr) {
        EXPECT_EQ(dialog.selectedDevice, nullptr) << c.name;
        EXPECT_EQ(dialog.Control(Dialog::IDC_NAME).selection, -1) << c.name;
        EXPECT_EQ(ShownName(), QString()) << c.name;
    } else {
        ASSERT_NE(dialog.selectedDevice, nullptr) << c.name;
        EXPECT_EQ(dialog.selectedDevice->GetName(), QString::fromLatin1(c.selectedAfter)) << c.name;
        EXPECT_EQ(ShownName(), QString::fromLatin1(c.selectedAfter)) << c.name;
    }
}

const DeleteCase kDeleteCases[] = {
    {"OnlyDevice", {"ONLY"}, "ONLY", nullptr},
    {"LastEntry", {"A1", "B1", "C1"}, "C1", "B1"},
    {"MiddleEntry", {"A1", "B1", "C1"}, "B1", "C1"},
    {"FirstEntry", {"A1", "B1", "C1"}, "A1", "B1"},
};

INSTANTIATE_TEST_SUITE_P(Cases, OutputDeviceDialogDeleteTest, ::testing::ValuesIn(kDeleteCases),
                         [](const ::testing::TestParamInfo<DeleteCase>& info) { return info.param.name; });

TEST_F(OutputDeviceDialogTest, DelAsksWithTheExactQuestion)
{
    COutputDevice* printer = Master("PRT01");
    Open(printer);
    prompts->AnswerMessageBox(IDYES);
    dialog.OnDel();
    ASSERT_EQ(prompts->Recorded().size(), 1u);
    EXPECT_EQ(prompts->Recorded()[0].text,
              QStringLiteral("Warning:\n  This Output Device may be used in other documents.  Deleting will remove it "
                             "completely from this system.  Do you want to continue ?"));
    EXPECT_EQ(prompts->Recorded()[0].Buttons(), static_cast<UINT>(MB_YESNO));
}

TEST_F(OutputDeviceDialogTest, DelOfADeviceInUseOnlySaysSo)
{
    COutputDevice* printer = Master("PRT01");
    printer->AddUser(element);
    ASSERT_EQ(manager.AttachDevice(printer), 1);
    Open(printer);
    dialog.OnDel();
    EXPECT_EQ(prompts.Texts(), QStringList{"This Output Device is in use."});
    EXPECT_EQ(prompts->Recorded()[0].Buttons(), static_cast<UINT>(MB_OK));
    EXPECT_TRUE(InMaster(printer));
    EXPECT_EQ(manager.GetDevice(1), printer);
    EXPECT_EQ(dialog.selectedDevice, printer);
    printer->RemoveUser(element);
}

TEST_F(OutputDeviceDialogTest, DelAnsweredNoChangesNothing)
{
    COutputDevice* printer = Master("PRT01");
    ASSERT_EQ(manager.AttachDevice(printer), 1);
    Open(printer);
    prompts->AnswerMessageBox(IDNO);
    dialog.OnDel();
    EXPECT_TRUE(InMaster(printer));
    EXPECT_EQ(manager.GetDevice(1), printer);
    EXPECT_EQ(dialog.selectedDevice, printer);
    EXPECT_EQ(Listed(), QStringList{"PRT01"});
}

TEST_F(OutputDeviceDialogTest, DelAnsweredYesLeavesTheDocumentsSlotToo)
{
    COutputDevice* printer = Master("PRT01");
    ASSERT_EQ(manager.AttachDevice(printer), 1);
    Open(printer);
    prompts->AnswerMessageBox(IDYES);
    dialog.OnDel();
    EXPECT_FALSE(InMaster(printer));
    EXPECT_EQ(manager.GetDevice(1), nullptr);
    // Still a valid object: other documents may hold it until the list goes.
    EXPECT_EQ(printer->GetName(), QStringLiteral("PRT01"));
}

TEST_F(OutputDeviceDialogTest, DelRemovesTheSelectedDeviceNotAnEqualTwin)
{
    // An empty description matches any: the two are equal, named apart only
    // by what the comparison skips when one side is empty.
    COutputDevice* first = Master("TWIN");
    auto twin = std::make_unique<COutputDevice>(first);
    twin->SetName(QString());
    twin->SetDescription(QStringLiteral("Second"));
    ASSERT_TRUE(twin->IsEqual(first));
    COutputDevice* second = twin.get();
    const_cast<CObList*>(COutputDeviceManager::GetMasterList())->AddTail(twin.release());
    Open(second);
    ASSERT_EQ(dialog.selectedDevice, second);
    prompts->AnswerMessageBox(IDYES);
    dialog.OnDel();
    EXPECT_TRUE(InMaster(first));
    EXPECT_FALSE(InMaster(second));
}

} // namespace

namespace {

// ------------------------------------------------------------- Settings

TEST_F(OutputDeviceDialogTest, SettingsInDefaultModeEditTheDefaultDevice)
{
    ScopedSettingsWindowScript window([](COutputDevice& copy) {
        copy.SetFormType(QStringLiteral("*INV"));
        return TRUE;
    });
    Open(manager.GetDefaultDevice());
    dialog.OnSettings(nullptr);
    EXPECT_EQ(window.editedNames, std::vector<QString>{QStringLiteral("*DOC")});
    EXPECT_EQ(manager.GetDefaultDevice()->GetFormType(), QStringLiteral("*INV"));
}

TEST_F(OutputDeviceDialogTest, SettingsInSelectModeMakeTheTypedDeviceFirst)
{
    ScopedSettingsWindowScript window([](COutputDevice&) { return FALSE; });
    COutputDevice* printer = Master("PRT01", 0);
    Open(printer);
    TypeName("MAIL2");
    ChooseType(4);
    dialog.OnSettings(nullptr);
    COutputDevice* made = COutputDeviceManager::FindMasterByName(QStringLiteral("MAIL2"));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(dialog.selectedDevice, made);
    EXPECT_EQ(window.types, std::vector<int>{4});
    EXPECT_EQ(window.editedNames, std::vector<QString>{QStringLiteral("MAIL2")});
    EXPECT_EQ(printer->GetType(), 0);
}

TEST_F(OutputDeviceDialogTest, SettingsWithAnEmptyNameOpenNothing)
{
    ScopedSettingsWindowScript window([](COutputDevice&) { return TRUE; });
    Open(nullptr);
    dialog.OnSettings(nullptr);
    EXPECT_TRUE(window.types.empty());
}

} // namespace
