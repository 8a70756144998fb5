// The manager's older WVD forms, the fax question, the display defaults of
// new devices and how master-file failures reach the user.

#include "designer/document/DesignerDoc.h"
#include "designer/document/DocumentClasses.h"
#include "designer/document/LocalHostName.h"
#include "designer/elements/ElementClasses.h"
#include "designer/elements/FormOutputElement.h"
#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/preferences/Preferences.h"
#include "platform/framework/FrameworkClasses.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace {

Bytes ManagerHeader(int schema)
{
    return Hex("FF FF") + Word(schema) + Word(20) + Ascii("COutputDeviceManager");
}

// The device class the first time, then as a reference to that class: the
// manager's class is id 1, the manager 2, the device class 3.
Bytes DeviceSchemaOne(const char16_t* name, int type, const char16_t* description, bool first)
{
    const Bytes tag = first ? Hex("FF FF") + Word(1) + Word(13) + Ascii("COutputDevice") : Word(0x8000 | 3);
    return tag + Text(name) + Long(type) + Text(description);
}

const Bytes kSentinel = Hex("EF BE AD DE");

class ManagerFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterFrameworkClasses();
        RegisterDocumentClasses();
        RegisterElementClasses();
        RegisterOutputClasses();
        RegisterOutputStrings();
        prefs.MasterOutputDeviceFileV2 = MasterPath();
        before = SetPreferences(&prefs);
    }
    void TearDown() override
    {
        SetLocalHostNameOverride(std::nullopt);
        SetPreferences(before);
    }

    QString MasterPath() const { return folder.filePath(QStringLiteral("wvdOutpV2.dat")); }

    // Reads a manager object and checks that exactly the sentinel follows.
    std::unique_ptr<COutputDeviceManager> ReadManager(const Bytes& bytes)
    {
        std::unique_ptr<COutputDeviceManager> manager;
        Load(bytes + kSentinel, [&](CArchive& ar) {
            manager.reset(ar.ReadObject<COutputDeviceManager>());
            DWORD sentinel = 0;
            ar >> sentinel;
            EXPECT_EQ(sentinel, 0xDEADBEEFu) << "the manager read more or less than it stored";
        });
        return manager;
    }

    QTemporaryDir folder;
    CPreferences prefs;
    CPreferences* before = nullptr;
    ScopedPromptAnswers prompts;
};

using ManagerLoad = ManagerFixture;

TEST_F(ManagerLoad, SchemaOneStoresNoDefaultDevice)
{
    const Bytes bytes = ManagerHeader(1) + Word(3) + Hex("00 00") + DeviceSchemaOne(u"PRT1", 0, u"Printer", true)
                        + DeviceSchemaOne(u"FAX1", 3, u"", false);
    const std::unique_ptr<COutputDeviceManager> manager = ReadManager(bytes);
    ASSERT_NE(manager, nullptr);
    ASSERT_EQ(manager->GetSlotCount(), 3);
    COutputDevice* printer = manager->GetDevice(1);
    COutputDevice* fax = manager->GetDevice(2);
    ASSERT_NE(printer, nullptr);
    ASSERT_NE(fax, nullptr);
    EXPECT_EQ(printer->GetName(), QStringLiteral("PRT1"));
    EXPECT_EQ(fax->GetType(), 3);
    // Both went into the shared list, which owns them now.
    EXPECT_EQ(COutputDeviceManager::FindMasterByName(QStringLiteral("PRT1")), printer);
    EXPECT_EQ(COutputDeviceManager::FindMasterByName(QStringLiteral("FAX1")), fax);
    // The default device is made afresh.
    COutputDevice* byDefault = manager->GetDevice(0);
    ASSERT_NE(byDefault, nullptr);
    EXPECT_EQ(byDefault->GetName(), QStringLiteral("*DOC"));
    EXPECT_EQ(byDefault->GetType(), 0);
    EXPECT_TRUE(prompts->Recorded().empty());
}

// A device equal to a master one is let go during the read: a later
// reference in the data to it is refused instead of reaching freed memory.
TEST_F(ManagerLoad, DeviceLetGoAsEqualToAMasterOneCannotBeReferredToAgain)
{
    const Bytes manager = ManagerHeader(1) + Word(2) + Hex("00 00") + DeviceSchemaOne(u"FAX1", 3, u"Fax", true);
    // The first read puts FAX1 into the master list; it lives while a
    // manager does.
    const std::unique_ptr<COutputDeviceManager> first = ReadManager(manager);
    ASSERT_NE(first, nullptr);
    COutputDevice* master = COutputDeviceManager::FindMasterByName(QStringLiteral("FAX1"));
    ASSERT_NE(master, nullptr);

    CArchiveException::Cause cause = CArchiveException::none;
    std::unique_ptr<COutputDeviceManager> second;
    try {
        Load(manager + Word(4), [&](CArchive& ar) {
            second.reset(ar.ReadObject<COutputDeviceManager>());
            // Object 4 is the second stream's own FAX1.
            ar.ReadObject<COutputDevice>();
        });
    } catch (const CArchiveException& error) {
        cause = error.m_cause;
    }
    EXPECT_EQ(cause, CArchiveException::badIndex);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->GetDevice(1), master);
}

TEST_F(ManagerLoad, SchemaTwoReadsTheDefaultDeviceInPlace)
{
    // The default device's record follows the array without a class tag,
    // in the groups the manager's own schema knows.
    const Bytes defaultDevice = Text(u"*DOC") + Long(3) + Text(u"Fax default") + Text(u"*DEV") + Text(u"")
                                + Text(u"*JOB") + Text(u"*SOURCE") + Text(u"*STD") + Word(1) + Word(0) + Long(1)
                                + Long(2) + Long(8) + Long(12) + Long(66) + Long(4) + Long(0) + Text(u"FG")
                                + Text(u"RES") + Long(-1);
    const Bytes bytes =
        ManagerHeader(2) + Word(2) + Hex("00 00") + DeviceSchemaOne(u"PRT1", 0, u"Printer", true) + defaultDevice;
    const std::unique_ptr<COutputDeviceManager> manager = ReadManager(bytes);
    ASSERT_NE(manager, nullptr);
    COutputDevice* byDefault = manager->GetDefaultDevice();
    EXPECT_EQ(byDefault->GetName(), QStringLiteral("*DOC"));
    EXPECT_EQ(byDefault->GetType(), 3);
    EXPECT_EQ(byDefault->GetDescription(), QStringLiteral("Fax default"));
    EXPECT_TRUE(byDefault->GetHold());
    EXPECT_EQ(byDefault->GetCopies(), 2);
    EXPECT_EQ(byDefault->GetLPI(), 8);
    EXPECT_EQ(byDefault->GetCPI(), 12);
    EXPECT_EQ(byDefault->GetFontGroup(), QStringLiteral("*DOC")) << "never kept over a load";
    ASSERT_NE(manager->GetDevice(1), nullptr);
    EXPECT_EQ(manager->GetDevice(1)->GetName(), QStringLiteral("PRT1"));
    EXPECT_EQ(manager->IndexOfDevice(byDefault), 0) << "the default device stays out of the slots";
}

TEST_F(ManagerLoad, IsFaxDeviceInUse)
{
    struct Case
    {
        const char* name;
        std::function<void(COutputDeviceManager&, COutputDevice& printer, COutputDevice& fax, CFormOutputElement*)>
            bind;
        bool faxInUse;
        bool anyInUse;
    };
    const Case cases[] = {
        {"nothing used", [](COutputDeviceManager&, COutputDevice&, COutputDevice&, CFormOutputElement*) {}, false,
         false},
        {"a printer used, the fax idle",
         [](COutputDeviceManager&, COutputDevice& p, COutputDevice&, CFormOutputElement* e) { p.AddUser(e); }, false,
         true},
        {"the fax in a slot used",
         [](COutputDeviceManager&, COutputDevice&, COutputDevice& f, CFormOutputElement* e) { f.AddUser(e); }, true,
         true},
        {"the default device made a fax and used",
         [](COutputDeviceManager& m, COutputDevice&, COutputDevice&, CFormOutputElement* e) {
             m.GetDefaultDevice()->SetType(3);
             m.GetDefaultDevice()->AddUser(e);
         },
         true, true},
        {"a used fax no longer in a slot",
         [](COutputDeviceManager& m, COutputDevice&, COutputDevice& f, CFormOutputElement* e) {
             f.AddUser(e);
             m.DetachDevice(&f);
         },
         false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        COutputDeviceManager manager;
        COutputDevice printer(0, QStringLiteral("PRT1"), QString());
        COutputDevice fax(3, QStringLiteral("FAX1"), QString());
        manager.AttachDevice(&printer);
        manager.AttachDevice(&fax);
        CFormOutputElement element;
        c.bind(manager, printer, fax, &element);
        EXPECT_EQ(manager.IsFaxDeviceInUse() == TRUE, c.faxInUse);
        EXPECT_EQ(manager.IsAnyDeviceInUse() == TRUE, c.anyInUse);
        // The devices are the test's, not the manager's or the list's.
        manager.DetachDevice(&printer);
        manager.DetachDevice(&fax);
        printer.RemoveUser(&element);
        fax.RemoveUser(&element);
        manager.GetDefaultDevice()->RemoveUser(&element);
    }
}

TEST_F(ManagerLoad, EveryCreatedDeviceGetsTheDisplayDefaults)
{
    prefs.DefaultLibrary = QStringLiteral("Mylib");
    prefs.DefaultExportPath = QStringLiteral("/srv/pc/Mylib");
    SetLocalHostNameOverride(QStringLiteral("designer.example.lan"));
    CDesignerDoc doc;
    COutputDeviceManager manager(&doc);

    COutputDevice model(4, QStringLiteral("MAIL"), QString());
    model.SetDisplayFolder(QStringLiteral("OLD"));
    model.SetDisplayTargetAddress(QStringLiteral("OLDHOST"));

    struct Case
    {
        const char* name;
        std::function<COutputDevice*(std::unique_ptr<COutputDevice>& keep)> make;
    };
    const Case cases[] = {
        {"plain",
         [&](std::unique_ptr<COutputDevice>& keep) {
             keep = manager.CreateDevice();
             return keep.get();
         }},
        {"named",
         [&](std::unique_ptr<COutputDevice>& keep) {
             keep = manager.CreateNamedDevice(QStringLiteral("x"), 6, QString());
             return keep.get();
         }},
        {"a copy gets them afresh",
         [&](std::unique_ptr<COutputDevice>& keep) {
             keep = manager.CreateDeviceCopy(&model);
             return keep.get();
         }},
        {"a master device from a model",
         [&](std::unique_ptr<COutputDevice>&) {
             return manager.CreateMasterDevice(&model, QStringLiteral("mail2"), 4);
         }},
        {"the export device", [&](std::unique_ptr<COutputDevice>&) { return manager.GetExportDevice(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<COutputDevice> keep;
        COutputDevice* device = c.make(keep);
        ASSERT_NE(device, nullptr);
        EXPECT_EQ(device->GetDisplayFolder(), QStringLiteral("MYLIB/PCSRV"));
        EXPECT_EQ(device->GetDisplayServerPath(), QStringLiteral("/SRV/PC/"));
        EXPECT_EQ(device->GetDisplayTargetAddress(), QStringLiteral("DESIGNER.EXAMPLE.LAN"));
    }
    EXPECT_EQ(manager.GetExportDevice()->GetFileExitProgramLibrary(), QStringLiteral("MYLIB"));
}

TEST_F(ManagerLoad, DisplayDefaultsAreCutToTheirWidthsAndNeedADocument)
{
    prefs.DefaultLibrary = QString(70, u'l');
    SetLocalHostNameOverride(QString(130, u'h'));
    CDesignerDoc doc;
    COutputDeviceManager manager(&doc);
    const std::unique_ptr<COutputDevice> device = manager.CreateDevice();
    EXPECT_EQ(device->GetDisplayFolder(), QString(63, u'L'));
    EXPECT_EQ(device->GetDisplayTargetAddress(), QString(122, u'H'));

    COutputDeviceManager withoutDocument;
    const std::unique_ptr<COutputDevice> plain = withoutDocument.CreateDevice();
    EXPECT_EQ(plain->GetDisplayFolder(), QString());
    EXPECT_EQ(plain->GetDisplayTargetAddress(), QString());
}

// A file or archive error of the master file: with EnableDebugServices the
// error's own report comes first, then the program's message.
TEST_F(ManagerFixture, MasterFileFailuresReportThroughThePromptService)
{
    struct Case
    {
        const char* name;
        BOOL debug;
        bool saving;
        const char* message; // %1 is the path
    };
    const Case cases[] = {
        {"damaged file, debug services off", FALSE, false, "Error reading master output device file: %1."},
        {"damaged file, debug services on", TRUE, false, "Error reading master output device file: %1."},
        {"unwritable file, debug services off", FALSE, true, "Error saving master output device file: %1."},
        {"unwritable file, debug services on", TRUE, true, "Error saving master output device file: %1."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prefs.EnableDebugServices = c.debug;
        QString path;
        if (c.saving) {
            // A folder that does not exist: nothing to read, nothing can be written.
            path = folder.filePath(QStringLiteral("missing/wvdOutpV2.dat"));
        } else {
            path = MasterPath();
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            // Two devices announced, half a class tag present.
            const Bytes damaged = Hex("02 00 FF FF 14");
            file.write(reinterpret_cast<const char*>(damaged.data()), static_cast<qint64>(damaged.size()));
        }
        prefs.MasterOutputDeviceFileV2 = path;
        prompts->ClearRecorded();
        {
            COutputDeviceManager manager;
            if (!c.saving) {
                ASSERT_NE(COutputDeviceManager::GetMasterList(), nullptr);
                EXPECT_EQ(COutputDeviceManager::GetMasterList()->GetCount(), 0);
            }
        }
        const QString message = QString::fromLatin1(c.message).arg(path);
        // Messages after the read or write error (the damaged file kept
        // aside) are not this test's concern.
        std::vector<QString> texts;
        for (const RecordedPrompt& p : prompts->Recorded())
            texts.push_back(p.text);
        ASSERT_GE(texts.size(), c.debug ? 2u : 1u);
        if (c.debug) {
            EXPECT_FALSE(texts[0].isEmpty());
            EXPECT_NE(texts[0], message) << "the error's own report, not the program's message";
            EXPECT_EQ(prompts->Recorded()[0].Icon(), static_cast<UINT>(MB_ICONERROR));
            EXPECT_EQ(texts[1], message);
        } else {
            EXPECT_EQ(texts[0], message);
        }
        QFile::remove(path + QStringLiteral(".damaged"));
        QFile::remove(path);
    }
}

} // namespace
