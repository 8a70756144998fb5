// The master device list, its file, and the manager's WVD form merging with it.

#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/preferences/Preferences.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>

namespace {

class MasterFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterOutputClasses();
        RegisterOutputStrings();
        prefs.MasterOutputDeviceFileV2 = Path();
        before = SetPreferences(&prefs);
        ASSERT_EQ(COutputDeviceManager::GetLiveManagerCount(), 0);
    }
    void TearDown() override { SetPreferences(before); }

    QString Path() const { return folder.filePath(QStringLiteral("wvdOutpV2.dat")); }

    // A session: one manager lives while fill runs.
    void Session(const std::function<void(COutputDeviceManager&)>& fill)
    {
        COutputDeviceManager manager;
        fill(manager);
    }

    QTemporaryDir folder;
    CPreferences prefs;
    CPreferences* before = nullptr;
    ScopedPromptAnswers prompts;
};

TEST_F(MasterFileTest, EmptyPreferenceTakesTheDataFolder)
{
    prefs.MasterOutputDeviceFileV2.clear();
    prefs.ApplicationDataDirectory = folder.path();
    const QString expected = QDir::toNativeSeparators(folder.path() + QStringLiteral("/wvdOutpV2.dat"));
    EXPECT_EQ(COutputDeviceManager::GetMasterFilePath(), expected);
    EXPECT_EQ(prefs.MasterOutputDeviceFileV2, expected);
}

TEST_F(MasterFileTest, ThreeDevicesThenOneReadBackAsOne)
{
    Session([](COutputDeviceManager& m) {
        for (const char* name : {"A", "B", "C"})
            ASSERT_NE(m.CreateMasterDevice(nullptr, QString::fromLatin1(name), 0), nullptr);
    });
    Session([](COutputDeviceManager&) {
        ASSERT_EQ(COutputDeviceManager::GetMasterList()->GetCount(), 3);
        const CObList* list = COutputDeviceManager::GetMasterList();
        // Drop B and C: only A stays.
        for (const char* name : {"B", "C"}) {
            COutputDevice* device = COutputDeviceManager::FindMasterByName(QString::fromLatin1(name));
            const_cast<CObList*>(list)->RemoveAt(const_cast<CObList*>(list)->Find(device));
            delete device;
        }
    });
    Session([](COutputDeviceManager&) {
        ASSERT_EQ(COutputDeviceManager::GetMasterList()->GetCount(), 1);
        EXPECT_NE(COutputDeviceManager::FindMasterByName(QStringLiteral("A")), nullptr);
    });
    EXPECT_TRUE(prompts->Recorded().empty());
    EXPECT_FALSE(QFile::exists(Path() + QStringLiteral(".damaged")));
}

TEST_F(MasterFileTest, DamagedFileIsKeptAsideAndNotOverwritten)
{
    const Bytes damaged = Hex("05 00 FF FF 14 00");
    {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(damaged.data()), static_cast<qint64>(damaged.size()));
    }
    Session([](COutputDeviceManager& m) { m.CreateMasterDevice(nullptr, QStringLiteral("NEW"), 0); });
    ASSERT_EQ(prompts->Recorded().size(), 2u);
    EXPECT_EQ(prompts->Recorded()[0].text, QStringLiteral("Error reading master output device file: %1.").arg(Path()));
    EXPECT_EQ(
        prompts->Recorded()[1].text,
        QStringLiteral("The output device file %1 could not be read. It was kept as %2 and a new one was started.")
            .arg(Path(), Path() + QStringLiteral(".damaged")));
    QFile kept(Path() + QStringLiteral(".damaged"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    const QByteArray keptBytes = kept.readAll();
    EXPECT_EQ(Bytes(keptBytes.begin(), keptBytes.end()), damaged);
    Session([](COutputDeviceManager&) {
        EXPECT_NE(COutputDeviceManager::FindMasterByName(QStringLiteral("NEW")), nullptr);
    });
    EXPECT_EQ(prompts->Recorded().size(), 2u) << "told once";
}

TEST_F(MasterFileTest, AFileThatCannotBeOpenedIsReportedWhenLoaded)
{
    ASSERT_TRUE(QDir().mkpath(Path())); // a folder where the file should be
    Session([](COutputDeviceManager&) { EXPECT_EQ(COutputDeviceManager::GetMasterList()->GetCount(), 0); });
    ASSERT_FALSE(prompts->Recorded().empty());
    EXPECT_EQ(prompts->Recorded()[0].text, QStringLiteral("Error reading master output device file: %1.").arg(Path()));
    EXPECT_TRUE(QFileInfo(Path()).isDir());
}

TEST_F(MasterFileTest, AddToMasterCases)
{
    COutputDeviceManager manager;
    auto* first = new COutputDevice(0, QStringLiteral("PRT1"), QStringLiteral("One"));
    ASSERT_TRUE(COutputDeviceManager::AddToMaster(&manager, first));
    EXPECT_EQ(manager.AttachDevice(first), 1);

    COutputDevice equal(first);
    EXPECT_FALSE(COutputDeviceManager::AddToMaster(&manager, &equal)) << "equal device";
    EXPECT_TRUE(prompts->Recorded().empty());

    auto* replacement = new COutputDevice(0, QStringLiteral("PRT1"), QStringLiteral("Two"));
    ASSERT_TRUE(COutputDeviceManager::AddToMaster(&manager, replacement));
    EXPECT_EQ(manager.GetDevice(1), nullptr) << "the replaced device left the slot";
    EXPECT_EQ(COutputDeviceManager::FindMasterByName(QStringLiteral("PRT1")), replacement);
    EXPECT_EQ(COutputDeviceManager::GetMasterList()->GetCount(), 1);

    int user = 0;
    replacement->AddUser(reinterpret_cast<CFormOutputElement*>(&user));
    COutputDevice blocked(0, QStringLiteral("PRT1"), QStringLiteral("Three"));
    EXPECT_FALSE(COutputDeviceManager::AddToMaster(&manager, &blocked));
    ASSERT_EQ(prompts->Recorded().size(), 1u);
    EXPECT_EQ(prompts->Recorded()[0].text,
              QStringLiteral(
                  "An output device with the name PRT1 is already active.  Close all open WVD files and try again."));
    replacement->RemoveUser(reinterpret_cast<CFormOutputElement*>(&user));
}

// Two documents open: a device one of them holds in a slot stays alive and
// in the list, users or not, until that document lets go of it.
TEST_F(MasterFileTest, DeviceHeldByAnotherManagerIsNotReplaced)
{
    COutputDeviceManager holder;
    COutputDeviceManager asking;
    auto* held = new COutputDevice(0, QStringLiteral("PRT1"), QStringLiteral("One"));
    ASSERT_TRUE(COutputDeviceManager::AddToMaster(&holder, held));
    ASSERT_EQ(holder.AttachDevice(held), 1);
    ASSERT_FALSE(held->IsInUse());

    auto other = std::make_unique<COutputDevice>(0, QStringLiteral("PRT1"), QStringLiteral("Two"));
    if (COutputDeviceManager::AddToMaster(&asking, other.get()))
        other.release(); // the list owns it now
    EXPECT_NE(other, nullptr) << "refused";
    ASSERT_EQ(prompts->Recorded().size(), 1u);
    EXPECT_EQ(prompts->Recorded()[0].text,
              QStringLiteral(
                  "An output device with the name PRT1 is already active.  Close all open WVD files and try again."));
    EXPECT_EQ(holder.GetDevice(1), held);
    EXPECT_EQ(COutputDeviceManager::FindMasterByName(QStringLiteral("PRT1")), held);
    EXPECT_EQ(held->GetDescription(), QStringLiteral("One"));

    // Once the holder lets go, the name can be given to another device.
    holder.DetachDevice(held);
    EXPECT_TRUE(COutputDeviceManager::AddToMaster(&asking, other.release()));
    EXPECT_EQ(COutputDeviceManager::FindMasterByName(QStringLiteral("PRT1"))->GetDescription(), QStringLiteral("Two"));
    EXPECT_EQ(COutputDeviceManager::GetMasterList()->GetCount(), 1);
}

TEST_F(MasterFileTest, WvdLoadSharesEqualDevicesAndFreesTheCopies)
{
    COutputDeviceManager keeper; // keeps the master list alive
    COutputDevice* master = keeper.CreateMasterDevice(nullptr, QStringLiteral("PRT1"), 0);
    ASSERT_NE(master, nullptr);

    COutputDeviceManager writer;
    writer.AttachDevice(master);
    writer.AttachDevice(writer.GetDefaultDevice()); // written once, then referenced
    const Bytes bytes = Store([&](CArchive& ar) { ar.WriteObject(&writer); });

    COutputDeviceManager* read = nullptr;
    Load(bytes, [&](CArchive& ar) { read = ar.ReadObject<COutputDeviceManager>(); });
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetDevice(1), master);
    EXPECT_EQ(read->GetDevice(2), read->GetDefaultDevice());
    EXPECT_EQ(COutputDeviceManager::GetMasterList()->GetCount(), 1);
    delete read;
}

TEST_F(MasterFileTest, WvdLoadFailsWhenTheNameIsActive)
{
    COutputDeviceManager keeper;
    COutputDevice* master = keeper.CreateMasterDevice(nullptr, QStringLiteral("PRT1"), 0);
    int user = 0;
    master->AddUser(reinterpret_cast<CFormOutputElement*>(&user));

    COutputDeviceManager writer;
    COutputDevice other(1, QStringLiteral("PRT1"), QStringLiteral("different"));
    writer.AttachDevice(&other);
    const Bytes bytes = Store([&](CArchive& ar) { ar.WriteObject(&writer); });
    writer.DetachDevice(&other);

    EXPECT_THROW(Load(bytes, [&](CArchive& ar) { delete ar.ReadObject<COutputDeviceManager>(); }), CArchiveException);
    ASSERT_EQ(prompts->Recorded().size(), 2u);
    EXPECT_EQ(prompts->Recorded()[1].text, QStringLiteral("Failed to initialize Output Device PRT1."));
    master->RemoveUser(reinterpret_cast<CFormOutputElement*>(&user));
}

TEST_F(MasterFileTest, ExportPageSizeKeepsValuesOutOfRange)
{
    COutputDeviceManager manager;
    const int size[2] = {-2, 16838};
    manager.SetExportPageSize(size);
    EXPECT_EQ(manager.GetExportDevice()->GetPageWidthTwips(), -1);
    EXPECT_EQ(manager.GetExportDevice()->GetPageHeightTwips(), 16838);
    const int wide[2] = {1000000, -1};
    manager.SetExportPageSize(wide);
    EXPECT_EQ(manager.GetExportDevice()->GetPageWidthTwips(), -1);
    EXPECT_EQ(manager.GetExportDevice()->GetPageHeightTwips(), -1);
}

TEST_F(MasterFileTest, AddDeviceByName)
{
    COutputDeviceManager manager;
    EXPECT_EQ(manager.AddDeviceByName(QStringLiteral("*DOC"), QStringLiteral("*SCS")), 0);
    const int index = manager.AddDeviceByName(QStringLiteral("FAX1"), QStringLiteral("*FAX"));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(manager.GetDeviceType(index), 3);
    EXPECT_EQ(manager.AddDeviceByName(QStringLiteral("FAX1"), QStringLiteral("*FAX")), 1);
    EXPECT_NE(COutputDeviceManager::FindMasterByName(QStringLiteral("FAX1")), nullptr);
}

} // namespace
