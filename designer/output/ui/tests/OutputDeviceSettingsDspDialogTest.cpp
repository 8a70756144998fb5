// The display device's settings dialog without its window: which devices it
// takes, what it shows from the working copy, what it refuses, what it
// stores through the device's setters and when the document's device sees
// the result.

#include "designer/output/ui/OutputDeviceSettingsDspDialog.h"
#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "platform/ui/HelpPrompt.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace {

using Dialog = COutputDeviceSettingsDspDialog;

constexpr int kDisplayType = 5;

class DspDialogTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { RegisterOutputStrings(); }

    ScopedPromptAnswers m_prompts;
};

std::unique_ptr<COutputDevice> DisplayDevice()
{
    return std::make_unique<COutputDevice>(kDisplayType, QStringLiteral("Screen1"), QStringLiteral("Display"));
}

// A display device whose rotation code no display device setter gives: the
// code is set while the device is still of type 0.
std::unique_ptr<COutputDevice> DeviceWithRotation(const char* rotationText)
{
    auto device = std::make_unique<COutputDevice>(0, QStringLiteral("Screen1"), QString());
    device->SetRotationText(QString::fromLatin1(rotationText));
    device->SetType(kDisplayType);
    return device;
}

// The values the dialog edits, to compare a device before and after.
struct DisplayValues
{
    QString document, folder, serverPath, targetAddress, fontGroup;
    int port = 0;
    int rotation = 0;

    explicit DisplayValues(const COutputDevice& d)
        : document(d.GetDisplayDocument()), folder(d.GetDisplayFolder()), serverPath(d.GetDisplayServerPath()),
          targetAddress(d.GetDisplayTargetAddress()), fontGroup(d.GetFontGroup()), port(d.GetDisplayPort()),
          rotation(d.GetRotation())
    {}

    bool operator==(const DisplayValues&) const = default;
};

TEST_F(DspDialogTest, SetDeviceTakesANonNullDisplayDeviceOnce)
{
    for (int type = 0; type <= COutputDevice::kMaxType; ++type) {
        COutputDevice device(type, QStringLiteral("DEV"), QString());
        Dialog dialog;
        const BOOL taken = dialog.SetDevice(&device);
        EXPECT_EQ(taken, type == kDisplayType ? TRUE : FALSE) << "type " << type;
        EXPECT_EQ(dialog.GetDevice(), type == kDisplayType ? &device : nullptr) << "type " << type;
    }

    Dialog dialog;
    EXPECT_FALSE(dialog.SetDevice(nullptr));
    auto device = DisplayDevice();
    ASSERT_TRUE(dialog.SetDevice(device.get()));
    EXPECT_FALSE(dialog.SetDevice(device.get())) << "the same device again";
    EXPECT_EQ(dialog.GetDevice(), device.get());
}

TEST_F(DspDialogTest, ARefusedDeviceLeavesTheDialogOnItsDevice)
{
    auto display = DisplayDevice();
    display->SetDisplayDocument(QStringLiteral("FIRST"));
    COutputDevice printer(0, QStringLiteral("PRT"), QString());
    printer.SetDisplayDocument(QStringLiteral("PRINTER"));
    Dialog dialog;
    ASSERT_TRUE(dialog.SetDevice(display.get()));
    dialog.OnInitDialog();

    EXPECT_FALSE(dialog.SetDevice(&printer));
    EXPECT_EQ(dialog.GetDevice(), display.get());
    EXPECT_EQ(dialog.Control(Dialog::IDC_DOCUMENT).text, QStringLiteral("FIRST"));
    ASSERT_TRUE(dialog.OnOK());
    EXPECT_EQ(printer.GetDisplayDocument(), QStringLiteral("PRINTER"));
}

TEST_F(DspDialogTest, SetDeviceShowsTheDeviceAtOnceOnlyOnceTheWindowExists)
{
    auto first = DisplayDevice();
    first->SetDisplayDocument(QStringLiteral("FIRST"));
    auto second = DisplayDevice();
    second->SetDisplayDocument(QStringLiteral("SECOND"));
    Dialog dialog;
    int shown = 0;
    dialog.SetControlsPushedHandler([&] { ++shown; });

    ASSERT_TRUE(dialog.SetDevice(first.get()));
    EXPECT_EQ(shown, 0);
    EXPECT_TRUE(dialog.Control(Dialog::IDC_DOCUMENT).text.isEmpty());

    EXPECT_TRUE(dialog.OnInitDialog());
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(dialog.Control(Dialog::IDC_DOCUMENT).text, QStringLiteral("FIRST"));

    ASSERT_TRUE(dialog.SetDevice(second.get()));
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(dialog.Control(Dialog::IDC_DOCUMENT).text, QStringLiteral("SECOND"));
}

struct LoadCase
{
    const char* name;
    std::function<std::unique_ptr<COutputDevice>()> make;
    const char* document;
    const char* folder;
    const char* targetAddress;
    const char* pcPath;
    const char* port;
    const char* rotation;
    const char* fontGroup;
};

const LoadCase kLoads[] = {
    {"NewDeviceOffersItsNameAsDocument", DisplayDevice, "Screen1", "", "", "", "3771", "*DOC", "*DOC"},
    {"StoredValuesAsTheyStand",
     [] {
         auto d = DisplayDevice();
         d->SetDisplayDocument(QStringLiteral("INVOICES"));
         d->SetDisplayFolder(QStringLiteral("QGPL/PCSRV"));
         d->SetDisplayTargetAddress(QStringLiteral("PC042"));
         d->SetDisplayServerPath(QStringLiteral("/HOME/ANN/EXPORT"));
         d->SetDisplayPort(80);
         d->SetRotationText(QStringLiteral("0"));
         d->SetFontGroup(QStringLiteral("GROUP1"));
         return d;
     },
     "INVOICES", "QGPL/PCSRV", "PC042", "/HOME/ANN/EXPORT", "80", "Portrait", "GROUP1"},
    {"Rotation1IsLandscape",
     [] {
         auto d = DisplayDevice();
         d->SetRotationText(QStringLiteral("1"));
         return d;
     },
     "Screen1", "", "", "", "3771", "Landscape", "*DOC"},
    {"Rotation2ShowsDoc", [] { return DeviceWithRotation("*AUTO"); }, "Screen1", "", "", "", "3771", "*DOC", "*DOC"},
    {"Rotation3ShowsDoc", [] { return DeviceWithRotation("*DEVD"); }, "Screen1", "", "", "", "3771", "*DOC", "*DOC"},
};

TEST_F(DspDialogTest, LoadShowsTheWorkingCopy)
{
    for (const LoadCase& c : kLoads) {
        SCOPED_TRACE(c.name);
        auto device = c.make();
        Dialog dialog;
        ASSERT_TRUE(dialog.SetDevice(device.get()));
        dialog.OnInitDialog();
        EXPECT_EQ(dialog.Control(Dialog::IDC_NAME).text, QStringLiteral("Screen1"));
        EXPECT_EQ(dialog.Control(Dialog::IDC_DOCUMENT).text, QString::fromLatin1(c.document));
        EXPECT_EQ(dialog.Control(Dialog::IDC_FOLDER).text, QString::fromLatin1(c.folder));
        EXPECT_EQ(dialog.Control(Dialog::IDC_TARGET_ADDRESS).text, QString::fromLatin1(c.targetAddress));
        EXPECT_EQ(dialog.Control(Dialog::IDC_PC_PATH).text, QString::fromLatin1(c.pcPath));
        EXPECT_EQ(dialog.Control(Dialog::IDC_PORT).text, QString::fromLatin1(c.port));
        const DialogControlState& rotation = dialog.Control(Dialog::IDC_ROTATION);
        EXPECT_EQ(rotation.items, (QStringList{"Portrait", "Landscape", "*DOC"}));
        EXPECT_EQ(rotation.items.value(rotation.selection), QString::fromLatin1(c.rotation));
        EXPECT_EQ(dialog.Control(Dialog::IDC_FONT_GROUP).text, QString::fromLatin1(c.fontGroup));
    }
}

// One control given a text; an empty message means the value is taken.
struct CheckCase
{
    const char* name;
    int control;
    QString text;
    const char* message;
};

const CheckCase kChecks[] = {
    {"DocumentOfTenCharacters", Dialog::IDC_DOCUMENT, QStringLiteral("ABCDEFGHIJ"), ""},
    {"DocumentOfTwelveCharacters", Dialog::IDC_DOCUMENT, QStringLiteral("ABCDEFGHIJKL"),
     "Enter no more than 10 characters."},
    {"FolderOf63Characters", Dialog::IDC_FOLDER, QString(63, u'F'), ""},
    {"FolderOf64Characters", Dialog::IDC_FOLDER, QString(64, u'F'), "Enter no more than 63 characters."},
    {"TargetAddressOf123Characters", Dialog::IDC_TARGET_ADDRESS, QString(123, u'T'),
     "Enter no more than 122 characters."},
    {"PcPathOf65Characters", Dialog::IDC_PC_PATH, QString(65, u'P'), "Enter no more than 64 characters."},
    {"FontGroupOf9Characters", Dialog::IDC_FONT_GROUP, QString(9, u'G'), "Enter no more than 8 characters."},
    {"Port0", Dialog::IDC_PORT, QStringLiteral("0"), ""},
    {"Port9999", Dialog::IDC_PORT, QStringLiteral("9999"), ""},
    {"Port10000", Dialog::IDC_PORT, QStringLiteral("10000"), "Enter an integer between 0 and 9999."},
    {"PortMinus1", Dialog::IDC_PORT, QStringLiteral("-1"), "Enter an integer between 0 and 9999."},
    {"PortNotANumber", Dialog::IDC_PORT, QStringLiteral("80A"), "Enter an integer."},
    {"PortEmpty", Dialog::IDC_PORT, QString(), "Enter an integer."},
};

TEST_F(DspDialogTest, RefusedValuesStopOkAndLeaveTheDeviceAsItWas)
{
    for (const CheckCase& c : kChecks) {
        SCOPED_TRACE(c.name);
        m_prompts.Renew();
        auto device = DisplayDevice();
        const DisplayValues before(*device);
        Dialog dialog;
        ASSERT_TRUE(dialog.SetDevice(device.get()));
        dialog.OnInitDialog();
        // A change before the refused one must not reach the device either.
        if (c.control != Dialog::IDC_DOCUMENT)
            dialog.Control(Dialog::IDC_DOCUMENT).text = QStringLiteral("CHANGED");
        dialog.Control(c.control).text = c.text;

        const bool refused = *c.message != '\0';
        EXPECT_EQ(dialog.OnOK(), !refused);
        if (refused) {
            EXPECT_EQ(m_prompts.Texts(), QStringList{QString::fromLatin1(c.message)});
            EXPECT_EQ(dialog.FailedControl(), c.control);
            EXPECT_TRUE(DisplayValues(*device) == before);
            EXPECT_TRUE(DisplayValues(dialog.GetDeviceCopy()) == before);
        } else {
            EXPECT_TRUE(m_prompts.Texts().isEmpty());
            EXPECT_FALSE(DisplayValues(*device) == before);
        }
    }
}

TEST_F(DspDialogTest, TakenValuesReachTheDeviceThroughItsSetters)
{
    auto device = DisplayDevice();
    Dialog dialog;
    ASSERT_TRUE(dialog.SetDevice(device.get()));
    dialog.OnInitDialog();
    dialog.Control(Dialog::IDC_DOCUMENT).text = QStringLiteral("invoices12");
    dialog.Control(Dialog::IDC_PORT).text = QStringLiteral(" 9999 ");
    ASSERT_TRUE(dialog.OnOK());
    EXPECT_EQ(device->GetDisplayDocument(), QStringLiteral("INVOICES12"));
    EXPECT_EQ(device->GetDisplayPort(), 9999);
    EXPECT_EQ(device->GetName(), QStringLiteral("Screen1"));
    EXPECT_EQ(device->GetType(), kDisplayType);
}

TEST_F(DspDialogTest, EachFieldAloneReportsItsChange)
{
    struct Edit
    {
        const char* name;
        std::function<void(Dialog&)> edit;
        std::function<bool(const COutputDevice&)> stored;
    };
    const Edit edits[] = {
        {"Document", [](Dialog& d) { d.Control(Dialog::IDC_DOCUMENT).text = "doc"; },
         [](const COutputDevice& d) { return d.GetDisplayDocument() == "DOC"; }},
        {"Folder", [](Dialog& d) { d.Control(Dialog::IDC_FOLDER).text = "lib/pcsrv"; },
         [](const COutputDevice& d) { return d.GetDisplayFolder() == "LIB/PCSRV"; }},
        {"PcPath", [](Dialog& d) { d.Control(Dialog::IDC_PC_PATH).text = "/exp"; },
         [](const COutputDevice& d) { return d.GetDisplayServerPath() == "/EXP"; }},
        {"TargetAddress", [](Dialog& d) { d.Control(Dialog::IDC_TARGET_ADDRESS).text = "pc1"; },
         [](const COutputDevice& d) { return d.GetDisplayTargetAddress() == "PC1"; }},
        {"Port", [](Dialog& d) { d.Control(Dialog::IDC_PORT).text = "81"; },
         [](const COutputDevice& d) { return d.GetDisplayPort() == 81; }},
        {"Rotation", [](Dialog& d) { d.Control(Dialog::IDC_ROTATION).selection = 1; },
         [](const COutputDevice& d) { return d.GetRotation() == 1; }},
        {"FontGroup", [](Dialog& d) { d.Control(Dialog::IDC_FONT_GROUP).text = "grp"; },
         [](const COutputDevice& d) { return d.GetFontGroup() == "GRP"; }},
    };

    {
        auto device = DisplayDevice();
        Dialog dialog;
        ASSERT_TRUE(dialog.SetDevice(device.get()));
        dialog.OnInitDialog();
        // A new device offers its name as the document, which saving would
        // store; without it nothing differs from the device.
        dialog.Control(Dialog::IDC_DOCUMENT).text.clear();
        EXPECT_FALSE(dialog.SaveToDevice()) << "nothing edited";
    }
    for (const Edit& e : edits) {
        SCOPED_TRACE(e.name);
        auto device = DisplayDevice();
        Dialog dialog;
        ASSERT_TRUE(dialog.SetDevice(device.get()));
        dialog.OnInitDialog();
        dialog.Control(Dialog::IDC_DOCUMENT).text.clear();
        e.edit(dialog);
        EXPECT_TRUE(dialog.SaveToDevice());
        EXPECT_TRUE(e.stored(dialog.GetDeviceCopy()));
    }

    // All at once: the setters after the first change still run.
    auto device = DisplayDevice();
    Dialog dialog;
    ASSERT_TRUE(dialog.SetDevice(device.get()));
    dialog.OnInitDialog();
    for (const Edit& e : edits)
        e.edit(dialog);
    ASSERT_TRUE(dialog.OnOK());
    for (const Edit& e : edits)
        EXPECT_TRUE(e.stored(*device)) << e.name;
}

TEST_F(DspDialogTest, RotationListGivesCodes0And1AndOtherwise4)
{
    struct Case
    {
        const char* name;
        const char* start; // the device's rotation text while of type 0
        int selection;     // -1: left as loaded
        int stored;
        BOOL changed;
    };
    const Case cases[] = {
        {"PortraitFromDoc", "*DOC", 0, 0, TRUE},
        {"LandscapeFromDoc", "*DOC", 1, 1, TRUE},
        {"DocFromPortrait", "0", 2, 4, TRUE},
        {"PortraitKept", "0", -1, 0, FALSE},
        {"Rotation2StoresDocOnOk", "*AUTO", -1, 4, TRUE},
        {"Rotation3StoresDocOnOk", "*DEVD", -1, 4, TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto device = DeviceWithRotation(c.start);
        device->SetDisplayDocument(QStringLiteral("DOC"));
        Dialog dialog;
        ASSERT_TRUE(dialog.SetDevice(device.get()));
        dialog.OnInitDialog();
        if (c.selection >= 0)
            dialog.Control(Dialog::IDC_ROTATION).selection = c.selection;
        EXPECT_EQ(dialog.SaveToDevice(), c.changed);
        EXPECT_EQ(dialog.GetDeviceCopy().GetRotation(), c.stored);
        ASSERT_TRUE(dialog.OnOK());
        EXPECT_EQ(device->GetRotation(), c.stored);
    }
}

TEST_F(DspDialogTest, EditsReachOnlyTheWorkingCopyUntilOk)
{
    auto device = DisplayDevice();
    const DisplayValues before(*device);
    Dialog dialog;
    ASSERT_TRUE(dialog.SetDevice(device.get()));
    dialog.OnInitDialog();
    dialog.Control(Dialog::IDC_FOLDER).text = QStringLiteral("QGPL/PCSRV");
    dialog.Control(Dialog::IDC_PORT).text = QStringLiteral("4000");

    EXPECT_TRUE(dialog.SaveToDevice());
    EXPECT_EQ(dialog.GetDeviceCopy().GetDisplayPort(), 4000);
    EXPECT_TRUE(DisplayValues(*device) == before) << "the document's device before OK";

    ASSERT_TRUE(dialog.OnOK());
    EXPECT_EQ(device->GetDisplayFolder(), QStringLiteral("QGPL/PCSRV"));
    EXPECT_EQ(device->GetDisplayPort(), 4000);
}

TEST_F(DspDialogTest, OkWithoutADeviceEndsTheDialog)
{
    Dialog dialog;
    dialog.OnInitDialog();
    EXPECT_TRUE(dialog.OnOK());
    EXPECT_EQ(dialog.GetDevice(), nullptr);
}

TEST_F(DspDialogTest, HelpAsksForTheDisplaySettingsTopic)
{
    std::vector<HelpRequest> requests;
    std::vector<DWORD> contexts;
    const HelpRequestHandler earlier = SetHelpRequestHandler([&](const HelpRequest& request) {
        requests.push_back(request);
        contexts.push_back(HelpPromptContext());
    });
    QObject window;
    {
        const HelpPromptContextScope outer(0x77);
        Dialog dialog;
        dialog.OnHelp(&window);
        EXPECT_EQ(HelpPromptContext(), 0x77u);
    }
    SetHelpRequestHandler(earlier);

    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].contextId, Dialog::kHelpContext);
    EXPECT_EQ(requests[0].item, &window);
    EXPECT_EQ(contexts, std::vector<DWORD>{Dialog::kHelpContext});

    // The topic the program opens for that context is in the help pages.
    QFile help(QStringLiteral(KWVD_SOURCE_DIR "/designer/shell/help/index.html"));
    ASSERT_TRUE(help.open(QIODevice::ReadOnly));
    const QByteArray anchor = "id=\"topic-" + QByteArray::number(Dialog::kHelpContext) + "\"";
    EXPECT_TRUE(help.readAll().contains(anchor)) << anchor.constData();
}

} // namespace
