// Choosing an Output element's device: the index and result the manager
// gives after the dialog, the dialog's changes that outlive a Cancel, and the
// master devices the dialog makes and deletes.

#include "tests/support/OutputAddressFixture.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace {

// What the scripted dialog does with the manager and the element's device
// before it ends; it returns whether it ended with OK and the chosen device.
using DialogScript = std::function<BOOL(COutputDeviceManager& manager, COutputDevice* current, COutputDevice*& chosen)>;

class OutputDeviceSelectTest : public OutputAddressFixture
{
protected:
    void SetUp() override
    {
        OutputAddressFixture::SetUp();
        m_previous = SetOutputDeviceDialogRunner(
            [this](QWidget*, COutputDeviceManager& manager, COutputDevice* current, COutputDevice*& chosen) {
                ++runs;
                return script(manager, current, chosen);
            });
    }
    void TearDown() override
    {
        SetOutputDeviceDialogRunner(m_previous);
        OutputAddressFixture::TearDown();
    }

    // Runs the manager's command with the script; the document starts
    // unmodified.
    BOOL Select(int& index, DialogScript run)
    {
        script = std::move(run);
        doc->SetModifiedFlag(FALSE);
        return Devices()->SelectDevice(index, nullptr);
    }

    DialogScript script;
    int runs = 0;
    ScopedPromptAnswers prompts;

private:
    OutputDeviceDialogRunner m_previous;
};

// One row: the element's device, what the dialog does, what follows.
struct SelectCase
{
    const char* name;
    bool startOnDefault; // else on the document device PRT01
    // The dialog's work; chosen is what it returns.
    std::function<BOOL(OutputDeviceSelectTest&, COutputDeviceManager&, COutputDevice*, COutputDevice*&)> dialog;
    BOOL result;
    // -1: the index stays; -2: a slot other than the start's; else the index.
    int index;
    bool modified;
};

void PrintTo(const SelectCase& c, std::ostream* os)
{
    *os << c.name;
}

class OutputDeviceSelectCases : public OutputDeviceSelectTest, public ::testing::WithParamInterface<SelectCase>
{};

COutputDevice* OtherMaster(COutputDeviceManager& manager)
{
    COutputDevice* device = COutputDeviceManager::FindMasterByName(QStringLiteral("OTHER"));
    return device != nullptr ? device : manager.CreateMasterDevice(nullptr, QStringLiteral("OTHER"), 3);
}

const SelectCase kSelectCases[] = {
    {"CancelUntouched", false, [](auto&, auto&, auto*, auto*&) { return FALSE; }, FALSE, -1, false},
    {"OkSameDevice", false,
     [](auto&, auto&, COutputDevice* current, COutputDevice*& chosen) {
         chosen = current;
         return TRUE;
     },
     FALSE, -1, false},
    {"OkDefaultDevice", false,
     [](auto&, COutputDeviceManager& m, auto*, COutputDevice*& chosen) {
         chosen = m.GetDefaultDevice();
         return TRUE;
     },
     TRUE, 0, false},
    {"OkAnotherMasterDevice", true,
     [](auto&, COutputDeviceManager& m, auto*, COutputDevice*& chosen) {
         chosen = OtherMaster(m);
         return TRUE;
     },
     TRUE, -2, false},
    {"OkNoDevice", false,
     [](auto&, auto&, auto*, COutputDevice*& chosen) {
         chosen = nullptr;
         return TRUE;
     },
     TRUE, 0, false},
    {"CancelAfterTypeChangeOfTheElementsDevice", false,
     [](auto&, auto&, COutputDevice* current, auto*&) {
         current->SetType(2);
         return FALSE;
     },
     TRUE, -1, true},
    {"CancelAfterRenamingTheDefaultDevice", false,
     [](auto&, COutputDeviceManager& m, auto*, auto*&) {
         m.GetDefaultDevice()->SetName(QStringLiteral("DOCDEV"));
         return FALSE;
     },
     TRUE, -1, true},
    {"CancelAfterChangingADeviceOutsideTheDocument", false,
     [](auto&, COutputDeviceManager& m, auto*, auto*&) {
         OtherMaster(m)->SetType(4);
         return FALSE;
     },
     FALSE, -1, false},
    {"OkSameDeviceWithChangedSettings", false,
     [](auto&, auto&, COutputDevice* current, COutputDevice*& chosen) {
         current->SetFormType(QStringLiteral("*INV"));
         chosen = current;
         return TRUE;
     },
     TRUE, -1, true},
};

TEST_P(OutputDeviceSelectCases, IndexResultAndMark)
{
    const SelectCase& c = GetParam();
    const int printer = AddDevice(QStringLiteral("PRT01"), 0);
    OtherMaster(*Devices());
    CFormOutputElement* output = AddOutput(c.startOnDefault ? 0 : printer);
    const int start = output->GetOutputDevice();
    int index = start;
    const BOOL result =
        Select(index, [this, &c, start](COutputDeviceManager& m, COutputDevice* current, COutputDevice*& chosen) {
            EXPECT_EQ(current, m.GetDevice(start));
            return c.dialog(*this, m, current, chosen);
        });
    EXPECT_EQ(runs, 1) << c.name;
    EXPECT_EQ(result, c.result) << c.name;
    if (c.index == -1)
        EXPECT_EQ(index, start) << c.name;
    else if (c.index == -2)
        EXPECT_TRUE(index > 0 && index != start) << c.name << " " << index;
    else
        EXPECT_EQ(index, c.index) << c.name;
    EXPECT_EQ(doc->IsModified() != FALSE, c.modified) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, OutputDeviceSelectCases, ::testing::ValuesIn(kSelectCases),
                         [](const ::testing::TestParamInfo<SelectCase>& info) { return info.param.name; });

TEST_F(OutputDeviceSelectTest, ChosenMasterDeviceIsAttachedToTheDocument)
{
    CFormOutputElement* output = AddOutput(0);
    COutputDevice* other = Devices()->CreateMasterDevice(nullptr, QStringLiteral("OTHER"), 3);
    int index = output->GetOutputDevice();
    EXPECT_TRUE(Select(index, [other](auto&, auto*, COutputDevice*& chosen) {
        chosen = other;
        return TRUE;
    }));
    EXPECT_EQ(Devices()->GetDevice(index), other);
}

TEST_F(OutputDeviceSelectTest, WithoutADialogNothingHappens)
{
    SetOutputDeviceDialogRunner({});
    int index = 0;
    doc->SetModifiedFlag(FALSE);
    EXPECT_FALSE(Devices()->SelectDevice(index, nullptr));
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(OutputDeviceSelectTest, NewMasterDeviceFromAModelHasNoUsers)
{
    const int printer = AddDevice(QStringLiteral("PRT01"), 0);
    CFormOutputElement* output = AddOutput(printer);
    COutputDevice* model = Devices()->GetDevice(printer);
    ASSERT_TRUE(model->HasUser(output));
    COutputDevice* copy = Devices()->CreateMasterDevice(model, QStringLiteral("prt02"), 1);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetName(), QStringLiteral("PRT02"));
    EXPECT_EQ(copy->GetType(), 1);
    EXPECT_FALSE(copy->IsInUse());
    EXPECT_TRUE(model->HasUser(output));
}

TEST_F(OutputDeviceSelectTest, RemovedMasterDeviceStaysValidUntilTheListGoes)
{
    COutputDevice* a = Devices()->CreateMasterDevice(nullptr, QStringLiteral("A"), 0);
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(COutputDeviceManager::RemoveFromMaster(a));
    EXPECT_EQ(COutputDeviceManager::FindMasterByName(QStringLiteral("A")), nullptr);
    EXPECT_EQ(a->GetName(), QStringLiteral("A"));
    EXPECT_FALSE(COutputDeviceManager::RemoveFromMaster(a));
    EXPECT_FALSE(COutputDeviceManager::RemoveFromMaster(nullptr));
}

} // namespace
