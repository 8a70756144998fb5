// The printer offsets presets file: its bytes, where it lies, what a damaged
// or missing file gives, and when it is written at all.

#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceOffsetsPreset.h"
#include "designer/output/OutputDeviceOffsetsPresetList.h"
#include "tests/support/OffsetsPresetFiles.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <ostream>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

using Offsets = COutputDeviceOffsetsPreset::Offsets;

const std::u16string kLongName(300, u'L');

const PresetRecord kFactory{u"Factory", 1, {360, 240, 240, 360, 350, 230, 250, 370}};
const PresetRecord kLong{kLongName, 0, {1, 2, 3, 4, 5, 6, 7, 99999}};

Offsets OffsetsOf(const PresetRecord& record)
{
    Offsets offsets{};
    for (size_t i = 0; i < offsets.size(); ++i)
        offsets[i] = static_cast<LONG>(record.offsets[i]);
    return offsets;
}

QString NameOf(const PresetRecord& record)
{
    return QString::fromStdU16String(record.name);
}

class PresetsFileTest : public ::testing::Test
{
protected:
    PresetsFileScope scope;
};

TEST_F(PresetsFileTest, TwoPresetsReadFromTheirBytes)
{
    WriteFileBytes(scope.Path(), PresetsFile({kFactory, kLong}));
    COutputDeviceOffsetsPresetList list;
    list.Load();
    const auto presets = list.Presets();
    ASSERT_EQ(presets.size(), 2u);
    EXPECT_EQ(presets[0]->GetName(), QStringLiteral("Factory"));
    EXPECT_TRUE(presets[0]->IsReadOnly());
    EXPECT_EQ(presets[0]->GetOffsets(), OffsetsOf(kFactory));
    EXPECT_EQ(presets[1]->GetName().size(), 300);
    EXPECT_FALSE(presets[1]->IsReadOnly());
    EXPECT_EQ(presets[1]->GetOffsets(), OffsetsOf(kLong));
    EXPECT_TRUE(scope.Prompts().Texts().isEmpty());
    EXPECT_FALSE(list.IsModified());
}

TEST_F(PresetsFileTest, WrittenListHasTheFilesBytes)
{
    // The long name is replaced by itself: the same list, written anew.
    WriteFileBytes(scope.Path(), PresetsFile({kFactory, kLong}));
    {
        COutputDeviceOffsetsPresetList list;
        list.Load();
        ASSERT_EQ(list.Add(NameOf(kLong), OffsetsOf(kLong)), COutputDeviceOffsetsPresetList::AddResult::Added);
        list.Store();
    }
    const Bytes expected = PresetsFile({kFactory, kLong});
    const Bytes written = ReadFileBytes(scope.Path());
    EXPECT_EQ(written, expected) << FirstDifference(written, expected);
    EXPECT_TRUE(scope.Prompts().Texts().isEmpty());
}

TEST_F(PresetsFileTest, FirstAddWritesANewFile)
{
    {
        COutputDeviceOffsetsPresetList list;
        list.Load();
        list.Add(QStringLiteral("A"), Offsets{1, 2, 3, 4, 5, 6, 7, 8});
        list.Store();
    }
    const Bytes expected = PresetsFile({{u"A", 0, {1, 2, 3, 4, 5, 6, 7, 8}}});
    EXPECT_EQ(ReadFileBytes(scope.Path()), expected);
    EXPECT_TRUE(scope.Prompts().Texts().isEmpty());
}

TEST_F(PresetsFileTest, BytesAfterTheListAreNotRead)
{
    WriteFileBytes(scope.Path(), PresetsFile({kFactory}) + Hex("01 80") + PresetData(kLong));
    COutputDeviceOffsetsPresetList list;
    list.Load();
    ASSERT_EQ(list.Presets().size(), 1u);
    EXPECT_EQ(list.Presets()[0]->GetName(), QStringLiteral("Factory"));
    EXPECT_TRUE(scope.Prompts().Texts().isEmpty());
}

TEST_F(PresetsFileTest, AShorterListReadsBackAfterADeletion)
{
    const PresetRecord third{u"Third", 0, {9, 9, 9, 9, 9, 9, 9, 9}};
    WriteFileBytes(scope.Path(), PresetsFile({kFactory, kLong, third}));
    {
        COutputDeviceOffsetsPresetList list;
        list.Load();
        ASSERT_TRUE(list.Remove(list.FindByName(NameOf(kLong))));
        list.Store();
    }
    EXPECT_EQ(ReadFileBytes(scope.Path()), PresetsFile({kFactory, third}));
    COutputDeviceOffsetsPresetList again;
    again.Load();
    ASSERT_EQ(again.Presets().size(), 2u);
    EXPECT_EQ(again.Presets()[1]->GetName(), QStringLiteral("Third"));
    EXPECT_TRUE(scope.Prompts().Texts().isEmpty());
}

TEST_F(PresetsFileTest, AnUnchangedListLeavesTheFileAsItWas)
{
    const Bytes bytes = PresetsFile({kFactory, kLong});
    WriteFileBytes(scope.Path(), bytes);
    const QDateTime written = QDateTime::fromSecsSinceEpoch(1000000000);
    {
        QFile file(scope.Path());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(written, QFileDevice::FileModificationTime));
    }
    {
        COutputDeviceOffsetsPresetList list;
        list.Load();
        // Looking the presets up changes nothing.
        EXPECT_NE(list.FindByValues(OffsetsOf(kFactory)), nullptr);
        list.Store();
    }
    EXPECT_EQ(ReadFileBytes(scope.Path()), bytes);
    EXPECT_EQ(QFileInfo(scope.Path()).lastModified(), written);
}

// The folder's advisory lock, taken without waiting: false while another
// holder has it.
bool FolderLockIsFree(const QString& file)
{
    const int fd = ::open(QFile::encodeName(QFileInfo(file).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

TEST_F(PresetsFileTest, TheLockIsHeldOnlyForTheReadAndTheWrite)
{
    WriteFileBytes(scope.Path(), PresetsFile({kFactory}));
    COutputDeviceOffsetsPresetList list;
    list.Load();
    ASSERT_EQ(list.Presets().size(), 1u);
    EXPECT_TRUE(FolderLockIsFree(scope.Path()));
    list.Add(QStringLiteral("A"), Offsets{});
    list.Store();
    EXPECT_TRUE(FolderLockIsFree(scope.Path()));
    EXPECT_EQ(ReadFileBytes(scope.Path()), PresetsFile({kFactory, {u"A", 0, {}}}));
}

TEST_F(PresetsFileTest, AMissingFileIsAnEmptyListWithoutAWord)
{
    COutputDeviceOffsetsPresetList list;
    list.Load();
    EXPECT_TRUE(list.Presets().empty());
    list.Store();
    EXPECT_FALSE(QFileInfo::exists(scope.Path()));
    EXPECT_TRUE(scope.Prompts().Texts().isEmpty());
}

TEST_F(PresetsFileTest, AnEmptyPreferenceTakesTheDataFolder)
{
    scope.Prefs().OutputDeviceOffsetsFileName.clear();
    const QString expected =
        QDir::toNativeSeparators(scope.Prefs().ApplicationDataDirectory + QStringLiteral("/WvdOutdOffsetsPresets.dat"));
    EXPECT_EQ(COutputDeviceOffsetsPresetList::GetFilePath(), expected);
    EXPECT_EQ(scope.Prefs().OutputDeviceOffsetsFileName, expected);
}

TEST_F(PresetsFileTest, AddAndRemoveKeepReadOnlyPresets)
{
    WriteFileBytes(scope.Path(), PresetsFile({kFactory, kLong}));
    COutputDeviceOffsetsPresetList list;
    list.Load();
    const COutputDeviceOffsetsPreset* factory = list.FindByName(QStringLiteral("Factory"));
    EXPECT_EQ(list.Add(QStringLiteral("Factory"), Offsets{}), COutputDeviceOffsetsPresetList::AddResult::ReadOnlyName);
    EXPECT_FALSE(list.Remove(factory));
    EXPECT_FALSE(list.IsModified());
    EXPECT_EQ(list.Presets().size(), 2u);
    EXPECT_EQ(list.FindByName(QStringLiteral("Factory"))->GetOffsets(), OffsetsOf(kFactory));
    // The name is compared exactly: another case is another preset.
    EXPECT_EQ(list.Add(QStringLiteral("factory"), Offsets{}), COutputDeviceOffsetsPresetList::AddResult::Added);
    EXPECT_EQ(list.Presets().size(), 3u);
}

TEST_F(PresetsFileTest, PresetAndDeviceShareTheOffsetsOrder)
{
    COutputDevice device;
    const Offsets offsets{1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_TRUE(COutputDeviceOffsetsPreset::StoreOffsets(device, offsets));
    EXPECT_EQ(device.GetImageOffsetPortrait(), QPoint(1, 2));
    EXPECT_EQ(device.GetImageOffsetLandscape(), QPoint(3, 4));
    EXPECT_EQ(device.GetTextOffsetPortrait(), QPoint(5, 6));
    EXPECT_EQ(device.GetTextOffsetLandscape(), QPoint(7, 8));
    EXPECT_EQ(COutputDeviceOffsetsPreset::OffsetsOf(device), offsets);
    EXPECT_FALSE(COutputDeviceOffsetsPreset::StoreOffsets(device, offsets));
    // Only the last pair changes: still a change.
    EXPECT_TRUE(COutputDeviceOffsetsPreset::StoreOffsets(device, Offsets{1, 2, 3, 4, 5, 6, 7, 9}));
}

// Files that cannot be read whole: message 283, the presets before the
// fault stay, and the file is kept aside when a changed list is written.
struct DamagedCase
{
    const char* name;
    Bytes bytes;
    size_t presetsKept;
};

void PrintTo(const DamagedCase& c, std::ostream* os)
{
    *os << c.name;
}

class DamagedPresetsFile : public ::testing::TestWithParam<DamagedCase>
{
protected:
    PresetsFileScope scope;
};

const Bytes kTwo = PresetsFile({kFactory, kLong});

const DamagedCase kDamagedCases[] = {
    {"EndsInsideTheSecondPreset", Bytes(kTwo.begin(), kTwo.end() - 5), 1},
    {"CountsThreeHoldsTwo", Word(3) + Bytes(kTwo.begin() + 2, kTwo.end()), 2},
    {"AnotherClass",
     Word(1) + Hex("FF FF") + Word(1) + Word(26) + Ascii("COutputDeviceOffsetsPresex") + PresetData(kFactory), 0},
    {"AHugeCount", Hex("FF FF") + Long(0x7FFFFFFF) + Bytes(kTwo.begin() + 2, kTwo.end()), 0},
    {"TheFirstPresetTwice", Word(2) + Bytes(kTwo.begin() + 2, kTwo.begin() + 2 + 84) + Hex("02 00"), 1},
};

TEST_P(DamagedPresetsFile, KeepsWhatWasReadAndTheFileAside)
{
    const DamagedCase& c = GetParam();
    WriteFileBytes(scope.Path(), c.bytes);
    const QString readError = QStringLiteral("Error reading file: %1.").arg(scope.Path());
    {
        COutputDeviceOffsetsPresetList list;
        list.Load();
        EXPECT_EQ(list.Presets().size(), c.presetsKept);
        EXPECT_EQ(scope.Prompts().Texts(), QStringList{readError});
        list.Add(QStringLiteral("New"), Offsets{});
        list.Store();
        // Once: the damaged file is aside, a second write finds none.
        list.Add(QStringLiteral("Newer"), Offsets{});
        list.Store();
    }
    const QString kept = QStringLiteral("The printer offsets file %1 could not be read. It was kept as %2 and a new "
                                        "one was started.")
                             .arg(scope.Path(), scope.DamagedPath());
    EXPECT_EQ(scope.Prompts().Texts(), (QStringList{readError, kept}));
    EXPECT_EQ(ReadFileBytes(scope.DamagedPath()), c.bytes);
    COutputDeviceOffsetsPresetList again;
    again.Load();
    EXPECT_EQ(again.Presets().size(), c.presetsKept + 2);
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedPresetsFile, ::testing::ValuesIn(kDamagedCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PresetsFileTest, ADamagedFileUnchangedStaysWhereItIs)
{
    const Bytes bytes(kTwo.begin(), kTwo.end() - 5);
    WriteFileBytes(scope.Path(), bytes);
    {
        COutputDeviceOffsetsPresetList list;
        list.Load();
        list.Store();
    }
    EXPECT_EQ(ReadFileBytes(scope.Path()), bytes);
    EXPECT_FALSE(QFileInfo::exists(scope.DamagedPath()));
    EXPECT_EQ(scope.Prompts().Texts().size(), 1);
}

TEST_F(PresetsFileTest, AnOlderDamagedCopyIsReplaced)
{
    WriteFileBytes(scope.DamagedPath(), Hex("00"));
    const Bytes bytes = Word(1);
    WriteFileBytes(scope.Path(), bytes);
    {
        COutputDeviceOffsetsPresetList list;
        list.Load();
        list.Add(QStringLiteral("A"), Offsets{});
        list.Store();
    }
    EXPECT_EQ(ReadFileBytes(scope.DamagedPath()), bytes);
}

TEST_F(PresetsFileTest, AFileThatCannotBeWrittenIsReported)
{
    // A folder where the file should be: nothing to read, nowhere to write.
    ASSERT_TRUE(QDir().mkpath(scope.Path()));
    COutputDeviceOffsetsPresetList list;
    list.Load();
    EXPECT_TRUE(list.Presets().empty());
    EXPECT_TRUE(scope.Prompts().Texts().isEmpty());
    list.Add(QStringLiteral("A"), Offsets{});
    list.Store();
    EXPECT_EQ(scope.Prompts().Texts(), QStringList{QStringLiteral("Error saving file: %1.").arg(scope.Path())});
    EXPECT_TRUE(QFileInfo(scope.Path()).isDir());
}

} // namespace
