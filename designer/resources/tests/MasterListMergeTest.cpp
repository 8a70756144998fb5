// Two designer processes share each master list through one file: what one
// adds, changes or deletes while the other runs survives the other's save.

#include "tests/support/FontTestEnvironment.h"
#include "tests/support/MasterListOps.h"

#include "designer/output/OutputClasses.h"
#include "designer/preferences/PreferenceStrings.h"
#include "designer/resources/MasterListMerge.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <ostream>

namespace {

struct MergeCase
{
    const char* name;
    MasterKind kind;
    QStringList before; // the file as both processes find it
    char otherOp;       // what the other process does meanwhile
    const char* otherName;
    char ourOp; // what this one does
    const char* ourName;
    QStringList after;   // the file once this one has saved
    const char* changed; // an entry that must read back changed, or null
};

void PrintTo(const MergeCase& c, std::ostream* os)
{
    *os << c.name;
}

class MasterListMerge : public FontTestEnvironment, public ::testing::WithParamInterface<MergeCase>
{
protected:
    void SetUp() override
    {
        FontTestEnvironment::SetUp();
        RegisterOutputClasses();
        RegisterOutputStrings();
        m_preferences.MasterOutputDeviceFileV2.clear();
    }

    // Another designer process changes the list in the file.
    void OtherProcess(MasterKind kind, char op, const QString& name)
    {
        QProcess peer;
        peer.start(QStringLiteral(KWVD_MASTER_LIST_PEER),
                   {m_dir.path(), QString::fromLatin1(MasterKindName(kind)), QString(QChar::fromLatin1(op)), name});
        ASSERT_TRUE(peer.waitForFinished(30000)) << "the other process did not end";
        EXPECT_EQ(peer.exitCode(), 0) << peer.readAllStandardError().toStdString();
    }
};

TEST_P(MasterListMerge, TheOtherProcessesWorkSurvivesThisOnesSave)
{
    const MergeCase& c = GetParam();
    {
        const auto setUp = StartMasterManager(c.kind);
        for (const QString& name : c.before)
            ASSERT_TRUE(ApplyMasterOp(c.kind, 'a', name)) << c.name;
    }
    {
        const auto ours = StartMasterManager(c.kind);
        ASSERT_EQ(MasterNames(c.kind), c.before) << c.name;
        OtherProcess(c.kind, c.otherOp, QString::fromLatin1(c.otherName));
        ASSERT_TRUE(ApplyMasterOp(c.kind, c.ourOp, QString::fromLatin1(c.ourName))) << c.name;
    }
    const auto reread = StartMasterManager(c.kind);
    EXPECT_EQ(MasterNames(c.kind).join(u',').toStdString(), c.after.join(u',').toStdString()) << c.name;
    if (c.changed != nullptr) {
        EXPECT_TRUE(MasterEntryChanged(c.kind, QString::fromLatin1(c.changed))) << c.name;
    }
    EXPECT_TRUE(Shown().isEmpty()) << Shown().join(u'\n').toStdString();
}

const MergeCase kCases[] = {
    {"DevicesBothAdd", MasterKind::Devices, {"A"}, 'a', "Y", 'a', "X", {"A", "Y", "X"}, nullptr},
    {"DevicesOtherChangesWeAdd", MasterKind::Devices, {"A"}, 'c', "A", 'a', "X", {"A", "X"}, "A"},
    {"DevicesOtherDeletesWeAdd", MasterKind::Devices, {"A", "B"}, 'd', "B", 'a', "X", {"A", "X"}, nullptr},
    {"DevicesWeDeleteOtherAdds", MasterKind::Devices, {"A", "B"}, 'a', "Y", 'd', "A", {"B", "Y"}, nullptr},
    {"DevicesWeChangeOtherAdds", MasterKind::Devices, {"A"}, 'a', "Y", 'c', "A", {"A", "Y"}, "A"},
    {"BarcodesBothAdd", MasterKind::Barcodes, {"A"}, 'a', "Y", 'a', "X", {"A", "Y", "X"}, nullptr},
    {"BarcodesOtherChangesWeAdd", MasterKind::Barcodes, {"A"}, 'c', "A", 'a', "X", {"A", "X"}, "A"},
    {"BarcodesOtherDeletesWeAdd", MasterKind::Barcodes, {"A", "B"}, 'd', "B", 'a', "X", {"A", "X"}, nullptr},
    {"BarcodesWeChangeOtherAdds", MasterKind::Barcodes, {"A"}, 'a', "Y", 'c', "A", {"A", "Y"}, "A"},
    {"FontsBothAdd",
     MasterKind::Fonts,
     {"Courier"},
     'a',
     "Gothic",
     'a',
     "Arial",
     {"Courier", "Gothic", "Arial"},
     nullptr},
    {"FontsOtherDeletesWeAdd",
     MasterKind::Fonts,
     {"Courier", "Times"},
     'd',
     "Times",
     'a',
     "Arial",
     {"Courier", "Arial"},
     nullptr},
    {"FontsWeDeleteOtherAdds",
     MasterKind::Fonts,
     {"Courier", "Times"},
     'a',
     "Gothic",
     'd',
     "Courier",
     {"Times", "Gothic"},
     nullptr},
};

INSTANTIATE_TEST_SUITE_P(Kinds, MasterListMerge, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

namespace {

// While one saver holds the lock, no other can take it: the savers of a
// master file take turns.
TEST(MasterFileLock, IsHeldWhileTheWorkRunsAndFreeAfterwards)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("wvdOutpV2.dat"));
    auto tryLock = [&] {
        const int fd = ::open(QFile::encodeName(folder.path()).constData(), O_RDONLY | O_DIRECTORY);
        EXPECT_GE(fd, 0);
        const bool taken = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        ::close(fd);
        return taken;
    };
    bool ran = false;
    kwvd::WithMasterFileLock(path, [&] {
        ran = true;
        EXPECT_FALSE(tryLock()) << "another saver got the lock";
    });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(tryLock());
    // No lock file is left beside the master file.
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

} // namespace
