// The print "General" pages without their widgets: what each of the three
// holds, the queue rules on load and through the setters on store, the
// store-and-reload reactions, the copies check, and the values each data
// stream shows in its own way.

#include "designer/output/ui/OutputDeviceSettingsPrintGeneralPropPage.h"

#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/ui/tests/OutputDeviceSettingsGeneralPageTesting.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Page = COutputDeviceSettingsPrintGenPropPage;

QStringList Items(std::initializer_list<const char*> texts)
{
    QStringList list;
    for (const char* text : texts)
        list << QString::fromLatin1(text);
    return list;
}

std::unique_ptr<Page> MakePage(int type)
{
    switch (type) {
    case 0:
        return std::make_unique<COutputDeviceSettingsScsGenPropPage>();
    case 1:
        return std::make_unique<COutputDeviceSettingsAfpGenPropPage>();
    default:
        return std::make_unique<COutputDeviceSettingsHptGenPropPage>();
    }
}

class PrintGenPropPageTest : public ::testing::Test
{
protected:
    // A page of the type on a new device of that type, its window open.
    void Open(int type)
    {
        device = std::make_unique<COutputDevice>(type, QStringLiteral("PRT"), QString());
        page = MakePage(type);
        page->SetDevice(device.get());
        page->OnInitDialog();
    }

    void Type(int id, const QString& text) { page->Control(id).text = text; }
    void Choose(int id, const QString& entry)
    {
        DialogControlState& list = page->Control(id);
        list.selection = static_cast<int>(list.items.indexOf(entry));
        ASSERT_GE(list.selection, 0) << entry.toStdString();
    }
    void ClickCopiesRadio(int id)
    {
        page->Control(Page::IDC_COPIES_NUMBER).check = id == Page::IDC_COPIES_NUMBER ? 1 : 0;
        page->Control(Page::IDC_COPIES_FROM_SPOOLED_FILE).check = id == Page::IDC_COPIES_FROM_SPOOLED_FILE ? 1 : 0;
        page->OnCopiesSourceClicked();
    }
    const DialogControlState& State(int id) { return page->Control(id); }

    OutputStringsRegistered registered;
    ScopedPromptAnswers prompts;
    std::unique_ptr<COutputDevice> device;
    std::unique_ptr<Page> page;
};

TEST_F(PrintGenPropPageTest, TheThreeClassesDifferByDialogTypeAndControls)
{
    struct Case
    {
        const char* name;
        int type;
        UINT dialog;
        std::vector<int> tabOrder;
    };
    const Case cases[] = {
        {"*SCS",
         0,
         154,
         {1286, 1321, 1320, 1303, 1288, 1290, 1300, 1231, 1214, 1215, 1216, 1273, 1217, 1289, 1305, 1298, 1276, 1291}},
        {"*AFP",
         1,
         136,
         {1286, 1321, 1320, 1303, 1288, 1290, 1300, 1212, 1231, 1214, 1215, 1216, 1296, 1287, 1297, 1233, 1276}},
        {"*HPT",
         2,
         150,
         {1244, 1286, 1231, 1321, 1215, 1216, 1214, 1320, 1303, 1296, 1288, 1293, 1290, 1300, 1287, 1232, 1276}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Page> made = MakePage(c.type);
        EXPECT_EQ(made->GetDialogId(), c.dialog);
        EXPECT_EQ(made->GetTitle(), QStringLiteral("General"));
        for (int type = 0; type <= COutputDevice::kMaxType; ++type)
            EXPECT_EQ(made->AcceptsType(type), type == c.type) << "type " << type;
        EXPECT_EQ(made->TabOrder(), c.tabOrder);
        EXPECT_EQ(made->Control(Page::IDC_OUTPUT_QUEUE).items, Items({"*DEV", "*JOB", "*USR"}));
        EXPECT_EQ(made->Control(Page::IDC_PRINTER_DEVICE).items, Items({"*JOB"}));
        EXPECT_EQ(made->GetLabel(Page::IDC_COPIES_FROM_SPOOLED_FILE), QStringLiteral("From Input Spooled File"));
        EXPECT_EQ(made->copiesSource, Page::CopiesNone);
        EXPECT_EQ(made->copies, 0);
        EXPECT_TRUE(made->outputQueue.isEmpty());
        if (c.type == 0) {
            EXPECT_EQ(made->Control(Page::IDC_LPI).items, Items({"3", "4", "6", "8", "9", "12", "*DOC"}));
            EXPECT_EQ(made->Control(Page::IDC_CPI).items,
                      Items({"5", "10", "12", "13.3", "15", "16.7", "18", "20", "*DOC"}));
            EXPECT_EQ(made->Control(Page::IDC_SCS_ROTATION).items, Items({"*AUTO", "*DEVD", "0", "90", "*DOC"}));
        } else {
            EXPECT_EQ(made->Control(Page::IDC_ROTATION).items, Items({"Portrait", "Landscape", "*DOC"}));
            EXPECT_EQ(made->Control(made->DuplexControl()).items, Items({"*YES", "*NO", "*TUMBLE", "*FORMDF"}));
            EXPECT_EQ(made->GetLabel(made->DuplexControl()), QStringLiteral("Duplex Printing:"));
        }
    }
}

TEST_F(PrintGenPropPageTest, ANewScsDeviceShowsAndKeepsDocDensities)
{
    Open(0);
    EXPECT_EQ(page->linesPerInch, QStringLiteral("*DOC"));
    EXPECT_EQ(page->charsPerInch, QStringLiteral("*DOC"));
    EXPECT_EQ(State(Page::IDC_LPI).selection, 6);
    EXPECT_EQ(State(Page::IDC_CPI).selection, 8);
    EXPECT_FALSE(page->SaveToDevice()) << "nothing changed";
    EXPECT_EQ(device->GetLPI(), -1);
    EXPECT_EQ(device->GetCPI(), -1);

    Choose(Page::IDC_CPI, QStringLiteral("16.7"));
    Choose(Page::IDC_LPI, QStringLiteral("8"));
    EXPECT_TRUE(page->SaveToDevice());
    EXPECT_EQ(device->GetCPI(), 16);
    EXPECT_EQ(device->GetLPI(), 8);
    page->LoadFromDevice();
    EXPECT_EQ(State(Page::IDC_CPI).selection, 5);
}

TEST_F(PrintGenPropPageTest, TheQueueRulesOnLoad)
{
    struct Case
    {
        const char* name;
        const char* queue;
        bool libraryEnabled;
        bool printerDeviceEnabled;
        const char* library;
        const char* printerDevice;
    };
    // The device's own setters keep what the queue allows.
    const Case cases[] = {
        {"*DEV takes no library", "*DEV", false, true, "", "PRT01"},
        {"*USR takes no library", "*USR", false, true, "", "PRT01"},
        {"*JOB takes neither", "*JOB", false, false, "", ""},
        {"a named queue takes no printer device", "PRTQ01", true, false, "QGPL", ""},
        {"no queue leaves both open", "", true, true, "QGPL", ""},
    };
    for (int type = 0; type <= 2; ++type) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + ", type " + std::to_string(type));
            Open(type);
            device->SetOutputQueue(QString::fromLatin1(c.queue));
            device->SetOutputQueueLibrary(QStringLiteral("QGPL"));
            device->SetPrinterDevice(QStringLiteral("PRT01"));
            page->LoadFromDevice();
            EXPECT_EQ(State(Page::IDC_OUTPUT_QUEUE).text, QString::fromLatin1(c.queue));
            EXPECT_EQ(State(Page::IDC_LIBRARY).enabled, c.libraryEnabled);
            EXPECT_EQ(State(Page::IDC_PRINTER_DEVICE).enabled, c.printerDeviceEnabled);
            EXPECT_EQ(State(Page::IDC_LIBRARY).text, QString::fromLatin1(c.library));
            EXPECT_EQ(State(Page::IDC_PRINTER_DEVICE).text, QString::fromLatin1(c.printerDevice));
        }
    }
}

TEST_F(PrintGenPropPageTest, LeavingTheQueueBoxStoresAndReloads)
{
    Open(0);
    Type(Page::IDC_OUTPUT_QUEUE, QStringLiteral("PRTQ01"));
    EXPECT_TRUE(page->OnOutputQueueKillFocus(Page::IDC_USER_DATA)) << "the focus belongs on the library now";
    EXPECT_EQ(device->GetOutputQueue(), QStringLiteral("PRTQ01"));
    EXPECT_TRUE(State(Page::IDC_LIBRARY).enabled);
    EXPECT_FALSE(State(Page::IDC_PRINTER_DEVICE).enabled);
    EXPECT_TRUE(device->GetPrinterDevice().isEmpty());

    Type(Page::IDC_LIBRARY, QStringLiteral("QUSRSYS"));
    Type(Page::IDC_OUTPUT_QUEUE, QStringLiteral("*JOB"));
    EXPECT_FALSE(page->OnOutputQueueKillFocus(Page::IDC_USER_DATA)) << "the library stays disabled";
    EXPECT_EQ(device->GetOutputQueue(), QStringLiteral("*JOB"));
    EXPECT_TRUE(device->GetOutputQueueLibrary().isEmpty()) << "the queue is stored before the library";
    EXPECT_TRUE(device->GetPrinterDevice().isEmpty());
    for (const int id : {Page::IDC_LIBRARY, Page::IDC_PRINTER_DEVICE}) {
        EXPECT_TRUE(State(id).text.isEmpty()) << "control " << id;
        EXPECT_FALSE(State(id).enabled) << "control " << id;
    }
    Type(Page::IDC_OUTPUT_QUEUE, QStringLiteral("PRTQ02"));
    EXPECT_FALSE(page->OnOutputQueueKillFocus(Page::IDC_FORM)) << "the focus went past the library";
}

TEST_F(PrintGenPropPageTest, ChoosingDevFromTheListAfterANamedQueue)
{
    Open(1);
    device->SetOutputQueue(QStringLiteral("PRTQ01"));
    device->SetOutputQueueLibrary(QStringLiteral("QGPL"));
    page->LoadFromDevice();
    ASSERT_FALSE(State(Page::IDC_PRINTER_DEVICE).enabled);
    // Typed since the last store: it goes with the chosen queue.
    Type(Page::IDC_USER_DATA, QStringLiteral("monthly"));
    EXPECT_TRUE(page->OnOutputQueueSelected(QStringLiteral("*DEV")));
    EXPECT_EQ(device->GetOutputQueue(), QStringLiteral("*DEV"));
    EXPECT_TRUE(device->GetOutputQueueLibrary().isEmpty());
    EXPECT_TRUE(State(Page::IDC_LIBRARY).text.isEmpty());
    EXPECT_FALSE(State(Page::IDC_LIBRARY).enabled);
    EXPECT_TRUE(State(Page::IDC_PRINTER_DEVICE).enabled);
    EXPECT_EQ(device->GetUserData(), QStringLiteral("MONTHLY"));
    EXPECT_EQ(State(Page::IDC_USER_DATA).text, QStringLiteral("MONTHLY"));
}

TEST_F(PrintGenPropPageTest, CopiesFromTheSpooledFileAndBack)
{
    Open(2);
    device->SetCopies(0);
    page->LoadFromDevice();
    EXPECT_EQ(State(Page::IDC_COPIES).text, QStringLiteral("0"));
    EXPECT_FALSE(State(Page::IDC_COPIES).enabled);
    EXPECT_EQ(State(Page::IDC_COPIES_FROM_SPOOLED_FILE).check, 1);
    EXPECT_EQ(State(Page::IDC_COPIES_NUMBER).check, 0);

    ClickCopiesRadio(Page::IDC_COPIES_NUMBER);
    EXPECT_EQ(device->GetCopies(), 1);
    EXPECT_TRUE(State(Page::IDC_COPIES).enabled);
    EXPECT_EQ(State(Page::IDC_COPIES).text, QStringLiteral("1"));

    Type(Page::IDC_COPIES, QStringLiteral("4"));
    ClickCopiesRadio(Page::IDC_COPIES_FROM_SPOOLED_FILE);
    EXPECT_EQ(device->GetCopies(), 0);
    EXPECT_FALSE(State(Page::IDC_COPIES).enabled);
    EXPECT_TRUE(prompts.Texts().isEmpty());
}

TEST_F(PrintGenPropPageTest, TheCopiesCheckWhenTheEditIsLeft)
{
    struct Case
    {
        const char* typed;
        bool told;
        const char* shown;
    };
    const Case cases[] = {
        {"300", true, "1"}, {"0", true, "1"}, {"256", true, "1"}, {"255", false, "255"}, {"1", false, "1"}};
    Open(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        prompts.Renew();
        Type(Page::IDC_COPIES, QString::fromLatin1(c.typed));
        EXPECT_TRUE(page->OnCopiesKillFocus());
        EXPECT_EQ(State(Page::IDC_COPIES).text, QString::fromLatin1(c.shown));
        if (!c.told) {
            EXPECT_TRUE(prompts->Recorded().empty());
            continue;
        }
        ASSERT_EQ(prompts->Recorded().size(), 1u);
        EXPECT_EQ(prompts->Recorded()[0].text, QStringLiteral("Please enter an integer between 1 and 255."));
        EXPECT_EQ(prompts->Recorded()[0].Icon(), MB_ICONINFORMATION);
    }
    EXPECT_EQ(device->GetCopies(), 1) << "the check stores nothing";

    prompts.Renew();
    Type(Page::IDC_COPIES, QString());
    EXPECT_FALSE(page->OnCopiesKillFocus());
    EXPECT_EQ(prompts.Texts(), QStringList(QStringLiteral("Enter an integer.")));
    EXPECT_EQ(page->FailedControl(), Page::IDC_COPIES);
}

TEST_F(PrintGenPropPageTest, DrawerPageSizeAndStartLine)
{
    struct Case
    {
        const char* name;
        int id;
        const char* typed;
        int (COutputDevice::*get)() const;
        int stored;
        const char* shown;
    };
    const Case cases[] = {
        {"drawer *E1", Page::IDC_DRAWER, "*E1", &COutputDevice::GetDrawer, 0, "*E1"},
        {"drawer 0", Page::IDC_DRAWER, "0", &COutputDevice::GetDrawer, 1, "1"},
        {"drawer 300", Page::IDC_DRAWER, "300", &COutputDevice::GetDrawer, 1, "1"},
        {"drawer 7", Page::IDC_DRAWER, "7", &COutputDevice::GetDrawer, 7, "7"},
        {"drawer text", Page::IDC_DRAWER, "TOP", &COutputDevice::GetDrawer, 1, "1"},
        {"page height empty", Page::IDC_PAGE_HEIGHT, "", &COutputDevice::GetPageHeight, 0, ""},
        {"page height 0", Page::IDC_PAGE_HEIGHT, "0", &COutputDevice::GetPageHeight, 0, ""},
        {"page height 72", Page::IDC_PAGE_HEIGHT, "72", &COutputDevice::GetPageHeight, 72, "72"},
        {"page width 132", Page::IDC_PAGE_WIDTH, "132", &COutputDevice::GetPageWidth, 132, "132"},
        {"page width empty", Page::IDC_PAGE_WIDTH, "", &COutputDevice::GetPageWidth, 0, ""},
        {"start line 5", Page::IDC_START_LINE, "5", &COutputDevice::GetStartLine, 5, "5"},
        {"start line empty", Page::IDC_START_LINE, "", &COutputDevice::GetStartLine, 0, ""},
    };
    Open(0);
    ASSERT_EQ(State(Page::IDC_PAGE_WIDTH).text, QString()) << "a new device's width is 0";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Type(c.id, QString::fromLatin1(c.typed));
        page->SaveToDevice();
        EXPECT_EQ(((*device).*c.get)(), c.stored);
        page->LoadFromDevice();
        EXPECT_EQ(State(c.id).text, QString::fromLatin1(c.shown));
    }
}

TEST_F(PrintGenPropPageTest, RotationTextsOfEachType)
{
    struct Case
    {
        const char* name;
        int type;
        int stored;
        const char* shown;
    };
    const Case cases[] = {
        {"*SCS 0", 0, 0, "0"},         {"*SCS 1", 0, 1, "90"},   {"*SCS 2", 0, 2, "*AUTO"},
        {"*SCS 3", 0, 3, "*DEVD"},     {"*SCS 4", 0, 4, "*DOC"}, {"*AFP 0", 1, 0, "Portrait"},
        {"*AFP 1", 1, 1, "Landscape"}, {"*AFP 4", 1, 4, "*DOC"}, {"*HPT 1", 2, 1, "Landscape"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Open(c.type);
        const int id = page->RotationControl();
        Choose(id, QString::fromLatin1(c.shown));
        page->SaveToDevice();
        EXPECT_EQ(device->GetRotation(), c.stored);
        page->LoadFromDevice();
        EXPECT_EQ(State(id).text, QString::fromLatin1(c.shown));
        EXPECT_EQ(State(id).selection, State(id).items.indexOf(QString::fromLatin1(c.shown)));
    }
}

TEST_F(PrintGenPropPageTest, AfpPdfFlagFontGroupAndPrinterResource)
{
    Open(1);
    device->SetPdfDataStream(QStringLiteral("Y"));
    device->SetFontGroup(QStringLiteral("ARIAL"));
    page->LoadFromDevice();
    EXPECT_EQ(State(Page::IDC_PDF_DATASTREAM).check, 1);
    EXPECT_EQ(State(Page::IDC_FONT_GROUP).text, QStringLiteral("ARIAL"));
    EXPECT_EQ(State(Page::IDC_PRINTER_RESOURCE).text, QStringLiteral("*DOC"));
    EXPECT_FALSE(State(Page::IDC_PRINTER_RESOURCE).enabled) << "never enabled";
    EXPECT_EQ(State(Page::IDC_AFP_DUPLEX).text, QStringLiteral("*NO"));

    page->Control(Page::IDC_PDF_DATASTREAM).check = 0;
    Choose(Page::IDC_AFP_DUPLEX, QStringLiteral("*TUMBLE"));
    EXPECT_TRUE(page->SaveToDevice());
    EXPECT_TRUE(device->GetPdfDataStream().isEmpty());
    EXPECT_EQ(device->GetDuplex(), QStringLiteral("*TUMBLE"));
    page->Control(Page::IDC_PDF_DATASTREAM).check = 1;
    page->SaveToDevice();
    EXPECT_EQ(device->GetPdfDataStream(), QStringLiteral("Y"));
}

TEST_F(PrintGenPropPageTest, HptNoPrintBorder)
{
    struct Case
    {
        const char* typed;
        int stored;
        const char* shown;
    };
    const Case cases[] = {{"*DOC", -1, "*DOC"}, {"", 0, ""}, {"12", 12, "12"}, {"0", 0, ""}};
    Open(2);
    EXPECT_EQ(State(Page::IDC_NO_PRINT_BORDER).text, QStringLiteral("*DOC")) << "a new device's border is -1";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Type(Page::IDC_NO_PRINT_BORDER, QString::fromLatin1(c.typed));
        page->SaveToDevice();
        EXPECT_EQ(device->GetNoPrintBorder(), c.stored);
        page->LoadFromDevice();
        EXPECT_EQ(State(Page::IDC_NO_PRINT_BORDER).text, QString::fromLatin1(c.shown));
    }
}

TEST_F(PrintGenPropPageTest, HptOffsetsRunOnTheDeviceWithoutAReload)
{
    Open(2);
    COutputDevice* given = nullptr;
    page->SetOffsetsRunner([&given](COutputDevice* target) {
        given = target;
        target->SetImageOffsetPortrait(QPoint(100, 200));
        target->SetFormType(QStringLiteral("CHANGED"));
    });
    page->OnOffsets();
    EXPECT_EQ(given, device.get());
    EXPECT_EQ(device->GetImageOffsetPortrait(), QPoint(100, 200));
    EXPECT_EQ(page->formType, QStringLiteral("*STD")) << "the page is not reloaded";
}

TEST_F(PrintGenPropPageTest, WithoutADeviceNothingIsLoadedOrStored)
{
    COutputDeviceSettingsScsGenPropPage alone;
    EXPECT_TRUE(alone.OnInitDialog());
    EXPECT_TRUE(alone.outputQueue.isEmpty());
    EXPECT_FALSE(alone.SaveToDevice());
    EXPECT_TRUE(alone.OnOutputQueueSelected(QStringLiteral("*JOB")));
    EXPECT_EQ(alone.outputQueue, QStringLiteral("*JOB"));
}

} // namespace
