// "Printer Offsets" without its window: opening on a device, the presets'
// buttons and box, OK and Cancel, and the presets file between dialogs.

#include "designer/output/ui/OutputDeviceSettingsOffsetsDialog.h"
#include "designer/output/OutputDevice.h"
#include "tests/support/OffsetsPresetFiles.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFileInfo>

#include <functional>
#include <memory>
#include <ostream>

namespace {

using Dialog = COutputDeviceSettingsOffsetsDialog;
using Offsets = COutputDeviceOffsetsPreset::Offsets;

const PresetRecord kFactory{u"Factory", 1, {360, 240, 240, 360, 360, 240, 240, 360}};
const PresetRecord kLaser{u"Laser", 0, {100, 200, 300, 400, 500, 600, 700, 800}};
const PresetRecord kInkjet{u"inkjet", 0, {1, 1, 1, 1, 2, 2, 2, 2}};

const Offsets kLaserOffsets{100, 200, 300, 400, 500, 600, 700, 800};
const Offsets kDeviceDefaults{360, 240, 240, 360, 360, 240, 240, 360};

class OffsetsDialogTest : public ::testing::Test
{
protected:
    void SetUp() override { WriteFileBytes(scope.Path(), PresetsFile({kFactory, kLaser, kInkjet})); }

    // A dialog opened on the device.
    std::unique_ptr<Dialog> Open()
    {
        auto dialog = std::make_unique<Dialog>();
        dialog->SetDevice(&device);
        dialog->OnInitDialog();
        return dialog;
    }

    static void Type(Dialog& dialog, const Offsets& offsets)
    {
        for (size_t i = 0; i < offsets.size(); ++i)
            dialog.Control(Dialog::kOffsetControls[i]).text = QString::number(offsets[i]);
    }

    static Offsets Shown(Dialog& dialog)
    {
        Offsets shown{};
        for (size_t i = 0; i < shown.size(); ++i)
            shown[i] = dialog.Control(Dialog::kOffsetControls[i]).text.toInt();
        return shown;
    }

    static QStringList Names(const COutputDeviceOffsetsPresetList& list)
    {
        QStringList names;
        for (const COutputDeviceOffsetsPreset* preset : list.Presets())
            names << preset->GetName();
        return names;
    }

    PresetsFileScope scope;
    COutputDevice device;
};

TEST_F(OffsetsDialogTest, TheListIsSortedAndEachEntryHoldsItsPreset)
{
    auto dialog = Open();
    const DialogControlState& list = dialog->Control(Dialog::IDC_PRESET);
    EXPECT_EQ(list.items, (QStringList{"Factory", "inkjet", "Laser"}));
    for (int i = 0; i < list.items.size(); ++i)
        EXPECT_EQ(dialog->PresetOfEntry(i)->GetName(), list.items[i]);
    EXPECT_EQ(dialog->PresetOfEntry(3), nullptr);
}

// What the dialog shows when it opens on a device.
struct OpeningCase
{
    const char* name;
    Offsets device;
    int selection;
    QString presetName;
};

void PrintTo(const OpeningCase& c, std::ostream* os)
{
    *os << c.name;
}

class OffsetsDialogOpening : public OffsetsDialogTest, public ::testing::WithParamInterface<OpeningCase>
{};

TEST_P(OffsetsDialogOpening, SelectsThePresetWithTheDevicesValues)
{
    const OpeningCase& c = GetParam();
    ASSERT_TRUE(COutputDeviceOffsetsPreset::StoreOffsets(device, c.device) || c.device == kDeviceDefaults);
    auto dialog = Open();
    EXPECT_EQ(dialog->Control(Dialog::IDC_PRESET).selection, c.selection);
    EXPECT_EQ(dialog->Control(Dialog::IDC_PRESET).text, c.presetName);
    EXPECT_EQ(Shown(*dialog), c.device);
    EXPECT_EQ(dialog->GetOffsets(), c.device);
}

const OpeningCase kOpeningCases[] = {
    {"MatchesAWritablePreset", kLaserOffsets, 2, QStringLiteral("Laser")},
    {"MatchesAReadOnlyPreset", kDeviceDefaults, 0, QStringLiteral("Factory")},
    {"MatchesNone", {5, 6, 7, 8, 9, 10, 11, 12}, -1, QString()},
};

INSTANTIATE_TEST_SUITE_P(Devices, OffsetsDialogOpening, ::testing::ValuesIn(kOpeningCases),
                         [](const auto& info) { return std::string(info.param.name); });

// "&Add" with the name typed and the values in the edits.
struct AddCase
{
    const char* name;
    QString presetName;
    QStringList namesAfter; // the list's order
    QStringList messages;
};

void PrintTo(const AddCase& c, std::ostream* os)
{
    *os << c.name;
}

class OffsetsDialogAdd : public OffsetsDialogTest, public ::testing::WithParamInterface<AddCase>
{};

TEST_P(OffsetsDialogAdd, FollowsTheRules)
{
    const AddCase& c = GetParam();
    const Offsets typed{11, 12, 13, 14, 15, 16, 17, 18};
    auto dialog = Open();
    Type(*dialog, typed);
    dialog->Control(Dialog::IDC_PRESET).text = c.presetName;
    EXPECT_TRUE(dialog->OnAdd());
    EXPECT_EQ(Names(dialog->GetPresetList()), c.namesAfter);
    EXPECT_EQ(scope.Prompts().Texts(), c.messages);
    const COutputDeviceOffsetsPreset* preset = dialog->FindPresetByName(c.presetName);
    ASSERT_NE(preset, nullptr);
    if (c.messages.isEmpty()) {
        EXPECT_EQ(preset->GetOffsets(), typed);
        EXPECT_FALSE(preset->IsReadOnly());
        // The new preset is selected and its values shown.
        EXPECT_EQ(dialog->PresetOfEntry(dialog->Control(Dialog::IDC_PRESET).selection), preset);
        EXPECT_EQ(dialog->Control(Dialog::IDC_PRESET).text, c.presetName);
        EXPECT_TRUE(dialog->GetPresetList().IsModified());
    } else {
        EXPECT_NE(preset->GetOffsets(), typed);
        EXPECT_FALSE(dialog->GetPresetList().IsModified());
    }
    EXPECT_EQ(Shown(*dialog), typed);
}

const AddCase kAddCases[] = {
    {"ANewName", QStringLiteral("Proof"), {"Factory", "Laser", "inkjet", "Proof"}, {}},
    {"AWritablePresetsNameReplacesIt", QStringLiteral("Laser"), {"Factory", "inkjet", "Laser"}, {}},
    {"AReadOnlyPresetsNameChangesNothing",
     QStringLiteral("Factory"),
     {"Factory", "Laser", "inkjet"},
     {QStringLiteral("This preset is read only and cannot be modified.")}},
    {"AnEmptyNameIsAName", QString(), {"Factory", "Laser", "inkjet", ""}, {}},
};

INSTANTIATE_TEST_SUITE_P(Names, OffsetsDialogAdd, ::testing::ValuesIn(kAddCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OffsetsDialogTest, AddWithAValueThatFailsItsCheckAddsNothing)
{
    auto dialog = Open();
    dialog->Control(Dialog::IDC_PORTRAIT_IMAGE_DOWN).text = QStringLiteral("100000");
    dialog->Control(Dialog::IDC_PRESET).text = QStringLiteral("Proof");
    EXPECT_FALSE(dialog->OnAdd());
    EXPECT_EQ(dialog->FailedControl(), Dialog::IDC_PORTRAIT_IMAGE_DOWN);
    EXPECT_EQ(scope.Prompts().Texts(), QStringList{QStringLiteral("Enter an integer between 0 and 99999.")});
    EXPECT_EQ(dialog->FindPresetByName(QStringLiteral("Proof")), nullptr);
    EXPECT_FALSE(dialog->GetPresetList().IsModified());
}

// "&Del" on the entry selected.
struct DelCase
{
    const char* name;
    int selection;
    QStringList namesAfter;
    QStringList messages;
};

void PrintTo(const DelCase& c, std::ostream* os)
{
    *os << c.name;
}

class OffsetsDialogDel : public OffsetsDialogTest, public ::testing::WithParamInterface<DelCase>
{};

TEST_P(OffsetsDialogDel, FollowsTheRules)
{
    const DelCase& c = GetParam();
    ASSERT_TRUE(COutputDeviceOffsetsPreset::StoreOffsets(device, kLaserOffsets));
    auto dialog = Open();
    dialog->Control(Dialog::IDC_PRESET).selection = c.selection;
    EXPECT_TRUE(dialog->OnDel());
    EXPECT_EQ(Names(dialog->GetPresetList()), c.namesAfter);
    EXPECT_EQ(scope.Prompts().Texts(), c.messages);
    // The edits keep their values.
    EXPECT_EQ(Shown(*dialog), kLaserOffsets);
}

const DelCase kDelCases[] = {
    {"AWritablePresetGoes", 2, {"Factory", "inkjet"}, {}},
    {"AReadOnlyPresetStays",
     0,
     {"Factory", "Laser", "inkjet"},
     {QStringLiteral("This preset is read only and cannot be deleted.")}},
    {"NothingSelectedNothingDeleted", -1, {"Factory", "Laser", "inkjet"}, {}},
};

INSTANTIATE_TEST_SUITE_P(Entries, OffsetsDialogDel, ::testing::ValuesIn(kDelCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OffsetsDialogTest, DelLeavesNoEntrySelected)
{
    ASSERT_TRUE(COutputDeviceOffsetsPreset::StoreOffsets(device, kLaserOffsets));
    auto dialog = Open();
    ASSERT_EQ(dialog->Control(Dialog::IDC_PRESET).selection, 2);
    EXPECT_TRUE(dialog->OnDel());
    EXPECT_EQ(dialog->Control(Dialog::IDC_PRESET).selection, -1);
    EXPECT_EQ(dialog->Control(Dialog::IDC_PRESET).items, (QStringList{"Factory", "inkjet"}));
    EXPECT_EQ(dialog->GetOffsets(), kLaserOffsets);
}

TEST_F(OffsetsDialogTest, ChoosingAnEntryLoadsItsPreset)
{
    auto dialog = Open();
    dialog->Control(Dialog::IDC_PRESET).selection = 1;
    dialog->OnPresetSelected();
    EXPECT_EQ(dialog->GetPresetName(), QStringLiteral("inkjet"));
    EXPECT_EQ(Shown(*dialog), (Offsets{1, 1, 1, 1, 2, 2, 2, 2}));
    // No entry: the values go to 0.
    dialog->Control(Dialog::IDC_PRESET).selection = -1;
    dialog->OnPresetSelected();
    EXPECT_EQ(Shown(*dialog), Offsets{});
}

// Leaving the box with a name typed.
struct TypedNameCase
{
    const char* name;
    QString typed;
    int selection;
    Offsets shown;
};

void PrintTo(const TypedNameCase& c, std::ostream* os)
{
    *os << c.name;
}

class OffsetsDialogTypedName : public OffsetsDialogTest, public ::testing::WithParamInterface<TypedNameCase>
{};

TEST_P(OffsetsDialogTypedName, LoadsThePresetOfThatName)
{
    const TypedNameCase& c = GetParam();
    auto dialog = Open();
    dialog->Control(Dialog::IDC_PRESET).text = c.typed;
    EXPECT_TRUE(dialog->OnPresetKillFocus());
    EXPECT_EQ(dialog->Control(Dialog::IDC_PRESET).selection, c.selection);
    EXPECT_EQ(Shown(*dialog), c.shown);
    EXPECT_EQ(dialog->GetPresetName(), c.typed);
}

const TypedNameCase kTypedNameCases[] = {
    {"APresetsName", QStringLiteral("Laser"), 2, kLaserOffsets},
    {"AnotherCaseIsNoPresetsName", QStringLiteral("laser"), 0, kDeviceDefaults},
    {"AnUnknownName", QStringLiteral("Proof"), 0, kDeviceDefaults},
};

INSTANTIATE_TEST_SUITE_P(Names, OffsetsDialogTypedName, ::testing::ValuesIn(kTypedNameCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OffsetsDialogTest, OkStoresTheValuesIntoTheDevice)
{
    const Offsets typed{0, 99999, 3, 4, 5, 6, 7, 8};
    auto dialog = Open();
    Type(*dialog, typed);
    EXPECT_TRUE(dialog->OnOK());
    EXPECT_EQ(COutputDeviceOffsetsPreset::OffsetsOf(device), typed);
    // The same values again: no change.
    EXPECT_FALSE(dialog->SaveToDevice());
    EXPECT_TRUE(scope.Prompts().Texts().isEmpty());
}

// A value that fails its check keeps the dialog open, says so once and
// leaves the device as it was.
struct FailedCheckCase
{
    const char* name;
    int control;
    QString text;
    QString message;
};

void PrintTo(const FailedCheckCase& c, std::ostream* os)
{
    *os << c.name;
}

class OffsetsDialogFailedCheck : public OffsetsDialogTest, public ::testing::WithParamInterface<FailedCheckCase>
{};

TEST_P(OffsetsDialogFailedCheck, KeepsTheDialogOpen)
{
    const FailedCheckCase& c = GetParam();
    auto dialog = Open();
    Type(*dialog, kLaserOffsets);
    dialog->Control(c.control).text = c.text;
    EXPECT_FALSE(dialog->OnOK());
    EXPECT_EQ(dialog->FailedControl(), c.control);
    EXPECT_EQ(scope.Prompts().Texts(), QStringList{c.message});
    EXPECT_EQ(COutputDeviceOffsetsPreset::OffsetsOf(device), kDeviceDefaults);
}

const FailedCheckCase kFailedCheckCases[] = {
    {"NotANumber", Dialog::IDC_LANDSCAPE_IMAGE_UP, QStringLiteral("12a"), QStringLiteral("Enter an integer.")},
    {"AboveTheRange", Dialog::IDC_PORTRAIT_TEXT_DOWN, QStringLiteral("100000"),
     QStringLiteral("Enter an integer between 0 and 99999.")},
    {"BelowTheRange", Dialog::IDC_LANDSCAPE_TEXT_RIGHT, QStringLiteral("-1"),
     QStringLiteral("Enter an integer between 0 and 99999.")},
    {"Empty", Dialog::IDC_PORTRAIT_IMAGE_RIGHT, QString(), QStringLiteral("Enter an integer.")},
};

INSTANTIATE_TEST_SUITE_P(Values, OffsetsDialogFailedCheck, ::testing::ValuesIn(kFailedCheckCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OffsetsDialogTest, TheFirstValueCheckedIsThePortraitTextDown)
{
    auto dialog = Open();
    for (const int id : Dialog::kOffsetControls)
        dialog->Control(id).text = QStringLiteral("x");
    EXPECT_FALSE(dialog->OnOK());
    EXPECT_EQ(dialog->FailedControl(), Dialog::IDC_PORTRAIT_TEXT_DOWN);
}

TEST_F(OffsetsDialogTest, CancelAfterAddKeepsThePresetButNotTheValues)
{
    const Offsets typed{21, 22, 23, 24, 25, 26, 27, 28};
    {
        auto dialog = Open();
        Type(*dialog, typed);
        dialog->Control(Dialog::IDC_PRESET).text = QStringLiteral("Proof");
        ASSERT_TRUE(dialog->OnAdd());
        // Cancel: the dialog goes without OK.
    }
    EXPECT_EQ(COutputDeviceOffsetsPreset::OffsetsOf(device), kDeviceDefaults);
    ASSERT_TRUE(COutputDeviceOffsetsPreset::StoreOffsets(device, typed));
    auto again = Open();
    EXPECT_EQ(again->GetPresetName(), QStringLiteral("Proof"));
    EXPECT_EQ(Shown(*again), typed);
}

TEST_F(OffsetsDialogTest, DialogsInSequenceSeeEachOthersChanges)
{
    {
        auto first = Open();
        first->Control(Dialog::IDC_PRESET).text = QStringLiteral("Proof");
        ASSERT_TRUE(first->OnAdd());
    }
    {
        auto second = Open();
        EXPECT_EQ(second->Control(Dialog::IDC_PRESET).items, (QStringList{"Factory", "inkjet", "Laser", "Proof"}));
        second->Control(Dialog::IDC_PRESET).selection = 2;
        ASSERT_TRUE(second->OnDel());
    }
    auto third = Open();
    EXPECT_EQ(third->Control(Dialog::IDC_PRESET).items, (QStringList{"Factory", "inkjet", "Proof"}));
    EXPECT_TRUE(scope.Prompts().Texts().isEmpty());
}

TEST_F(OffsetsDialogTest, ADialogThatChangedNothingLeavesTheFileAlone)
{
    const Bytes before = ReadFileBytes(scope.Path());
    const QDateTime written = QDateTime::fromSecsSinceEpoch(1000000000);
    {
        QFile file(scope.Path());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(written, QFileDevice::FileModificationTime));
    }
    {
        auto dialog = Open();
        Type(*dialog, kLaserOffsets);
        ASSERT_TRUE(dialog->OnPresetKillFocus());
        ASSERT_TRUE(dialog->OnOK());
        // Refused changes are no changes.
        dialog->Control(Dialog::IDC_PRESET).text = QStringLiteral("Factory");
        ASSERT_TRUE(dialog->OnAdd());
        dialog->Control(Dialog::IDC_PRESET).selection = 0;
        ASSERT_TRUE(dialog->OnDel());
    }
    EXPECT_EQ(ReadFileBytes(scope.Path()), before);
    EXPECT_EQ(QFileInfo(scope.Path()).lastModified(), written);
}

TEST_F(OffsetsDialogTest, ADamagedFileIsKeptBesideTheNewOne)
{
    // Counts two, holds one.
    const Bytes one = PresetsFile({kLaser});
    const Bytes damaged = Word(2) + Bytes(one.begin() + 2, one.end());
    WriteFileBytes(scope.Path(), damaged);
    {
        auto dialog = Open();
        EXPECT_EQ(dialog->Control(Dialog::IDC_PRESET).items, QStringList{"Laser"});
        dialog->Control(Dialog::IDC_PRESET).text = QStringLiteral("Proof");
        ASSERT_TRUE(dialog->OnAdd());
    }
    EXPECT_EQ(scope.Prompts().Texts(),
              (QStringList{QStringLiteral("Error reading file: %1.").arg(scope.Path()),
                           QStringLiteral("The printer offsets file %1 could not be read. It was kept as %2 and a "
                                          "new one was started.")
                               .arg(scope.Path(), scope.DamagedPath())}));
    EXPECT_EQ(ReadFileBytes(scope.DamagedPath()), damaged);
    scope.Prompts().Renew();
    auto again = Open();
    EXPECT_EQ(again->Control(Dialog::IDC_PRESET).items, (QStringList{"Laser", "Proof"}));
    EXPECT_TRUE(scope.Prompts().Texts().isEmpty());
}

TEST_F(OffsetsDialogTest, ADeviceSetWhileOpenIsLoadedAtOnce)
{
    auto dialog = std::make_unique<Dialog>();
    // Before the window: nothing loaded, no device needed.
    dialog->SetDevice(nullptr);
    EXPECT_FALSE(dialog->SaveToDevice());
    dialog->OnInitDialog();
    EXPECT_EQ(Shown(*dialog), Offsets{});
    dialog->SetDevice(&device);
    EXPECT_EQ(dialog->GetPresetName(), QStringLiteral("Factory"));
    COutputDevice other;
    ASSERT_TRUE(COutputDeviceOffsetsPreset::StoreOffsets(other, kLaserOffsets));
    dialog->SetDevice(&other);
    EXPECT_EQ(dialog->GetDevice(), &other);
    EXPECT_EQ(Shown(*dialog), kLaserOffsets);
}

} // namespace
