// The manager's slots, its default and export devices, the look-ups by
// index and the binding of Output elements to devices.
//
// The manager never touches the elements it binds, so the tests bind
// addresses that stand in for elements.

#include "designer/output/OutputDeviceManager.h"
#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "designer/preferences/Preferences.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

namespace {

// Devices in slots belong to the shared device list, not to the manager:
// here the fixture owns them.
class OutputDeviceManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterOutputStrings();
        ASSERT_EQ(manager.AttachDevice(&printer), 1);
        ASSERT_EQ(manager.AttachDevice(&fax), 2);
    }

    CFormOutputElement* Element(int i)
    {
        return reinterpret_cast<CFormOutputElement*>(&elementStandIns[static_cast<size_t>(i)]);
    }

    std::vector<CFormOutputElement*> Elements(const std::vector<int>& indexes)
    {
        std::vector<CFormOutputElement*> elements;
        for (int i : indexes)
            elements.push_back(Element(i));
        return elements;
    }

    COutputDevice printer{0, QStringLiteral("PRT01"), QString()};
    COutputDevice fax{3, QStringLiteral("FAX01"), QStringLiteral("Fax to head office")};
    COutputDeviceManager manager;
    std::array<int, 3> elementStandIns{};
};

TEST_F(OutputDeviceManagerTest, NewManagerHasOnlyTheEmptySlotZero)
{
    COutputDeviceManager fresh;
    EXPECT_EQ(fresh.GetSlotCount(), 1);
    EXPECT_EQ(fresh.GetDevice(1), nullptr);
    EXPECT_EQ(fresh.GetDevice(-1), nullptr);
    EXPECT_EQ(fresh.GetDocument(), nullptr);

    COutputDevice* byIndex = fresh.GetDevice(0);
    ASSERT_NE(byIndex, nullptr);
    EXPECT_EQ(byIndex, fresh.GetDefaultDevice());
    EXPECT_EQ(byIndex->GetName(), QStringLiteral("*DOC"));
    EXPECT_EQ(byIndex->GetDescription(), QStringLiteral("Default Output Device"));
    EXPECT_EQ(byIndex->GetType(), 0);
    // The default device lives beside the slots, never in one.
    EXPECT_EQ(fresh.GetSlotCount(), 1);
    EXPECT_EQ(fresh.IndexOfDevice(byIndex), 0);
}

TEST_F(OutputDeviceManagerTest, SlotsAreReusedBeforeTheArrayGrows)
{
    COutputDevice mail{4, QStringLiteral("MAIL01"), QString()};
    COutputDevice file{6, QStringLiteral("FILE01"), QString()};

    EXPECT_EQ(manager.AttachDevice(&fax), 2);
    EXPECT_EQ(manager.AttachDevice(nullptr), 0);
    EXPECT_EQ(manager.DetachDevice(&mail), 0);

    EXPECT_EQ(manager.DetachDevice(&printer), 1);
    EXPECT_EQ(manager.GetDevice(1), nullptr);
    EXPECT_EQ(manager.GetSlotCount(), 3);
    EXPECT_EQ(manager.AttachDevice(&mail), 1);
    EXPECT_EQ(manager.AttachDevice(&file), 3);
    EXPECT_EQ(manager.GetSlotCount(), 4);
    EXPECT_EQ(manager.GetDevice(3), &file);
}

TEST_F(OutputDeviceManagerTest, FindIndexByNameTakesTheLastSlotAndCaseCounts)
{
    COutputDevice twin{1, QStringLiteral("PRT01"), QString()};
    ASSERT_EQ(manager.AttachDevice(&twin), 3);

    EXPECT_EQ(manager.FindIndexByName(QStringLiteral("PRT01")), 3);
    EXPECT_EQ(manager.FindIndexByName(QStringLiteral("prt01")), 0);
    EXPECT_EQ(manager.FindIndexByName(QStringLiteral("FAX01")), 2);
    // The default device is in no slot.
    EXPECT_EQ(manager.FindIndexByName(QStringLiteral("*DOC")), 0);
}

TEST_F(OutputDeviceManagerTest, ReassignElement)
{
    struct Binding
    {
        int element;
        int device; // 0 default, 1 printer, 2 fax
    };
    struct Case
    {
        const char* name;
        std::vector<Binding> before;
        int newIndex;
        int oldIndex;
        int element; // -1 passes no element
        BOOL result;
        std::vector<int> defaultUsers;
        std::vector<int> printerUsers;
        std::vector<int> faxUsers;
        bool printerInSlot;
        bool faxInSlot;
    };
    const Case cases[] = {
        {"equal indexes change nothing", {{0, 1}}, 1, 1, 0, TRUE, {}, {0}, {}, true, true},
        {"equal unbound indexes", {}, -1, -1, 0, TRUE, {}, {}, {}, true, true},
        {"unknown new index is refused", {{0, 1}}, 5, 1, 0, FALSE, {}, {0}, {}, true, true},
        {"negative new index other than -1 is refused", {{0, 1}}, -2, 1, 0, FALSE, {}, {0}, {}, true, true},
        {"no element is refused", {{0, 1}}, 2, 1, -1, FALSE, {}, {0}, {}, true, true},
        {"move keeps a device that still has users", {{0, 1}, {1, 1}}, 2, 1, 0, TRUE, {}, {1}, {0}, true, true},
        {"last user gone releases the slot", {{0, 1}}, 2, 1, 0, TRUE, {}, {}, {0}, false, true},
        {"-1 only unbinds", {{0, 1}}, -1, 1, 0, TRUE, {}, {}, {}, false, true},
        {"first binding to the default device", {}, 0, -1, 0, TRUE, {0}, {}, {}, true, true},
        {"leaving the default device keeps it", {{0, 0}}, 1, 0, 0, TRUE, {}, {0}, {}, true, true},
        {"element joins a device once", {{0, 2}}, 2, 1, 0, TRUE, {}, {}, {0}, false, true},
        {"old index of an element that was not a user", {{1, 1}}, 2, 1, 0, TRUE, {}, {1}, {0}, true, true},
        {"users keep their order", {{2, 2}, {0, 1}}, 2, 1, 0, TRUE, {}, {}, {2, 0}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        COutputDeviceManager subject;
        COutputDevice first{0, QStringLiteral("PRT01"), QString()};
        COutputDevice second{3, QStringLiteral("FAX01"), QString()};
        ASSERT_EQ(subject.AttachDevice(&first), 1);
        ASSERT_EQ(subject.AttachDevice(&second), 2);
        COutputDevice* byIndex[] = {subject.GetDefaultDevice(), &first, &second};
        for (const Binding& b : c.before)
            byIndex[b.device]->AddUser(Element(b.element));

        CFormOutputElement* element = c.element < 0 ? nullptr : Element(c.element);
        EXPECT_EQ(subject.ReassignElement(c.newIndex, c.oldIndex, element), c.result);

        EXPECT_EQ(subject.GetDefaultDevice()->GetUsers(), Elements(c.defaultUsers));
        EXPECT_EQ(first.GetUsers(), Elements(c.printerUsers));
        EXPECT_EQ(second.GetUsers(), Elements(c.faxUsers));
        EXPECT_EQ(subject.GetDevice(1) == &first, c.printerInSlot);
        EXPECT_EQ(subject.GetDevice(2) == &second, c.faxInSlot);
    }
}

TEST_F(OutputDeviceManagerTest, ReleasedSlotRefusesFurtherBindings)
{
    printer.AddUser(Element(0));
    ASSERT_TRUE(manager.ReassignElement(2, 1, Element(0)));
    ASSERT_EQ(manager.GetDevice(1), nullptr);
    EXPECT_FALSE(manager.ReassignElement(1, 2, Element(0)));
    EXPECT_EQ(fax.GetUsers(), Elements({0}));
}

// A loaded document may hold the default device in a slot as well; moving
// an element from index 0 to that slot must not empty the slot it moves to.
TEST_F(OutputDeviceManagerTest, MoveBetweenTwoIndexesOfOneDeviceKeepsItsSlot)
{
    COutputDevice* defaultDevice = manager.GetDefaultDevice();
    ASSERT_EQ(manager.AttachDevice(defaultDevice), 3);
    defaultDevice->AddUser(Element(0));

    EXPECT_TRUE(manager.ReassignElement(3, 0, Element(0)));
    EXPECT_EQ(manager.GetDevice(3), defaultDevice);
    EXPECT_EQ(defaultDevice->GetUsers(), Elements({0}));
}

TEST_F(OutputDeviceManagerTest, IsAnyDeviceInUse)
{
    EXPECT_FALSE(manager.IsAnyDeviceInUse());

    fax.AddUser(Element(0));
    EXPECT_TRUE(manager.IsAnyDeviceInUse());

    ASSERT_TRUE(manager.ReassignElement(-1, 2, Element(0)));
    EXPECT_FALSE(manager.IsAnyDeviceInUse());

    ASSERT_TRUE(manager.ReassignElement(0, -1, Element(1)));
    EXPECT_TRUE(manager.IsAnyDeviceInUse());

    // A device that was released from its slot no longer counts.
    COutputDeviceManager other;
    COutputDevice loose{0, QStringLiteral("LOOSE"), QString()};
    other.AttachDevice(&loose);
    other.DetachDevice(&loose);
    loose.AddUser(Element(2));
    EXPECT_FALSE(other.IsAnyDeviceInUse());
}

TEST_F(OutputDeviceManagerTest, GetDeviceName)
{
    struct Case
    {
        const char* name;
        int index;
        BOOL resolveDoc;
        const char* exportName;
        BOOL result;
        const char* text;
    };
    const Case cases[] = {
        {"slot device", 1, FALSE, "", TRUE, "PRT01"},
        {"slot device resolved", 2, TRUE, "INVOICE", TRUE, "FAX01"},
        {"default device as it stands", 0, FALSE, "INVOICE", TRUE, "*DOC"},
        {"default device resolved to the export name", 0, TRUE, "INVOICE", TRUE, "INVOICE"},
        {"export device still unnamed", 0, TRUE, "", TRUE, ""},
        {"export device named *DOC", 0, TRUE, "*DOC", FALSE, "*DOC"},
        {"only exactly TRUE resolves", 0, 2, "INVOICE", TRUE, "*DOC"},
        {"index beyond the slots", 3, TRUE, "INVOICE", FALSE, "untouched"},
        {"negative index", -1, FALSE, "", FALSE, "untouched"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        manager.GetExportDevice()->SetName(QString::fromLatin1(c.exportName));
        QString text = QStringLiteral("untouched");
        EXPECT_EQ(manager.GetDeviceName(c.index, text, c.resolveDoc), c.result);
        EXPECT_EQ(text, QString::fromLatin1(c.text));
    }
}

TEST_F(OutputDeviceManagerTest, TypeAndDisplayNameByIndex)
{
    manager.DetachDevice(&fax);
    struct Case
    {
        const char* name;
        int index;
        int type;
        BOOL result;
        const char* text;
    };
    const Case cases[] = {
        {"default device", 0, 0, TRUE, "Default Output Device"},
        {"device without description", 1, 0, TRUE, "PRT01 (Print (SCS))"},
        {"emptied slot", 2, -1, FALSE, "untouched"},
        {"beyond the slots", 3, -1, FALSE, "untouched"},
        {"no device", -1, -1, FALSE, "untouched"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(manager.GetDeviceType(c.index), c.type);
        QString text = QStringLiteral("untouched");
        EXPECT_EQ(manager.GetDisplayName(c.index, text), c.result);
        EXPECT_EQ(text, QString::fromLatin1(c.text));
    }
}

TEST(OutputDeviceManager, ExportDeviceTakesTheDefaultLibraryOnlyWithADocument)
{
    CPreferences prefs;
    prefs.DefaultLibrary = QStringLiteral("qgpl_library");
    CPreferences* before = SetPreferences(&prefs);

    COutputDeviceManager loose;
    EXPECT_EQ(loose.GetExportDevice()->GetFileExitProgramLibrary(), QString());

    // The manager only keeps the document pointer; it is never followed here.
    alignas(8) std::array<char, 8> documentStandIn{};
    COutputDeviceManager bound(reinterpret_cast<CDesignerDoc*>(documentStandIn.data()));
    COutputDevice* exportDevice = bound.GetExportDevice();
    EXPECT_EQ(exportDevice->GetFileExitProgramLibrary(), QStringLiteral("QGPL_LIBRA"));
    // Refreshed at every request.
    prefs.DefaultLibrary = QStringLiteral("other");
    EXPECT_EQ(bound.GetExportDevice(), exportDevice);
    EXPECT_EQ(exportDevice->GetFileExitProgramLibrary(), QStringLiteral("OTHER"));

    SetPreferences(before);
}

TEST(OutputDeviceManager, CreateNamedDeviceUpperCasesTheName)
{
    COutputDeviceManager manager;
    const std::unique_ptr<COutputDevice> device =
        manager.CreateNamedDevice(QStringLiteral("prt02"), 2, QStringLiteral("Label printer"));
    EXPECT_EQ(device->GetName(), QStringLiteral("PRT02"));
    EXPECT_EQ(device->GetType(), 2);
    EXPECT_EQ(device->GetDescription(), QStringLiteral("Label printer"));
    // Made for the caller: no slot holds it.
    EXPECT_EQ(manager.IndexOfDevice(device.get()), 0);
}

} // namespace
