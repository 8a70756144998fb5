// The device settings sheets: their pages by device type and document type,
// their captions, and the settings commands run through the real windows
// offscreen, with Address children that move only at OK. Pictures of one
// sheet of each kind go to the screenshot folder.

#include "designer/output/ui/OutputDeviceSettingsSheets.h"

#include "designer/output/OutputClasses.h"
#include "designer/output/ui/OutputDevicePropPageSheetPage.h"
#include "designer/output/ui/OutputDeviceSettingsDestinationPropPage.h"
#include "designer/output/ui/OutputDeviceSettingsExitPgmParmPropPages.h"
#include "designer/output/ui/OutputDeviceSettingsPagePropPage.h"
#include "designer/output/ui/tests/PropPageViewTestSupport.h"
#include "tests/support/OutputAddressFixture.h"
#include "tests/support/QtApplicationEnvironment.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include <functional>
#include <memory>
#include <ostream>

namespace {

using kwvd::Rect;
using proppage_test::Find;

constexpr int kPrintTypes[] = {0, 1, 2};

struct SheetCase
{
    const char* name;
    int type;
    wchar_t xmlDocument;
    const char* caption;
    QStringList titles;
};

void PrintTo(const SheetCase& c, std::ostream* out)
{
    *out << c.name;
}

// A window for the type as the manager makes it, its copy filled from a new
// device of that type, its pages added.
std::unique_ptr<IOutputDeviceSettingsWindow> MakeFilledWindow(int type, wchar_t xmlDocument)
{
    OutputDeviceSettingsContext context;
    context.xmlDocument = xmlDocument;
    std::unique_ptr<IOutputDeviceSettingsWindow> window = MakeOutputDeviceSettingsWindow(nullptr, type, context);
    if (!window)
        return nullptr;
    COutputDevice device(type, QStringLiteral("DEV"), QString());
    if (COutputDevice* copy = window->GetDeviceCopy())
        copy->Copy(&device);
    window->AddPages();
    return window;
}

class SheetPagesTest : public ::testing::TestWithParam<SheetCase>
{
protected:
    static void SetUpTestSuite() { RegisterOutputStrings(); }
};

TEST_P(SheetPagesTest, PagesAndCaption)
{
    const SheetCase& c = GetParam();
    std::unique_ptr<IOutputDeviceSettingsWindow> window = MakeFilledWindow(c.type, c.xmlDocument);
    auto* sheet = dynamic_cast<COutputDeviceSettingsSheet*>(window.get());
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->PageTitles().join(u'|').toStdString(), c.titles.join(u'|').toStdString());
    EXPECT_EQ(sheet->NavigationList()->count(), c.titles.size());
    EXPECT_EQ(sheet->NavigationList()->width(), CNavigationSheet::kDefaultNavigationWidth);
    EXPECT_EQ(sheet->GetDeviceCopy()->GetType(), c.type);
    // The print sheet names the copy's type once its window opens.
    sheet->show();
    EXPECT_EQ(sheet->windowTitle(), QString::fromLatin1(c.caption));
    EXPECT_EQ(sheet->GetActiveIndex(), 0);
    sheet->reject();
}

const QString kGeneral = QStringLiteral("General");
const QString kPage = QStringLiteral("Page");
const QString kExitProgram = QStringLiteral("Exit Program");
const QString kDestination = QStringLiteral("Destination");
const QString kAddress = QStringLiteral("Address");
const QString kParameters = QStringLiteral("Parameters");
const QString kShortParameters = QStringLiteral("Parameters (Short)");

INSTANTIATE_TEST_SUITE_P(
    ByType, SheetPagesTest,
    ::testing::Values(
        SheetCase{"Scs", 0, L'0', "Output Device (*SCS)", {kGeneral, kExitProgram, kPage}},
        SheetCase{"Afp", 1, L'0', "Output Device (*AFP)", {kGeneral, kExitProgram, kPage}},
        SheetCase{"HptInXml", 2, L'1', "Output Device (*HPT)", {kGeneral, kExitProgram, kPage}},
        SheetCase{"Fax", 3, L'0', "Output Device (*FAX)", {kGeneral, kDestination, kAddress, kPage}},
        SheetCase{"FaxInXml", 3, L'1', "Output Device (*FAX)", {kGeneral, kDestination, kAddress, kPage}},
        SheetCase{"Email", 4, L'0', "Output Device (*EML)", {kGeneral, kDestination, kAddress, kPage}},
        SheetCase{"EmailInXml", 4, L'1', "Output Device (*EML)", {kGeneral, kDestination, kAddress}},
        SheetCase{"File", 6, L'0', "Output Device (*FIL)", {kGeneral, kExitProgram, kShortParameters, kPage}},
        SheetCase{"FileInXml", 6, L'1', "Output Device (*FIL)", {kGeneral, kExitProgram, kShortParameters}},
        SheetCase{"DocStore", 7, L'0', "Output Device (DocStore)", {kParameters, kShortParameters, kPage}},
        SheetCase{"DocStoreInXml", 7, L'1', "Output Device (DocStore)", {kParameters, kShortParameters}}),
    [](const ::testing::TestParamInfo<SheetCase>& info) { return std::string(info.param.name); });

class SheetsTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { RegisterOutputStrings(); }
};

TEST_F(SheetsTest, ThePrintSheetsGeneralPageFollowsTheCopysType)
{
    for (int type : kPrintTypes) {
        SCOPED_TRACE(type);
        auto window = MakeFilledWindow(type, L'0');
        auto* sheet = dynamic_cast<COutputDeviceSettingsSheet*>(window.get());
        ASSERT_NE(sheet, nullptr);
        auto* general = dynamic_cast<COutputDevicePropPageSheetPage*>(sheet->GetPage(0));
        ASSERT_NE(general, nullptr);
        const UINT dialogs[] = {154, 136, 150};
        EXPECT_EQ(general->Model().GetDialogId(), dialogs[type]);
        // Every page edits the sheet's copy.
        for (int i = 0; i < sheet->GetPageCount(); ++i) {
            auto* page = dynamic_cast<COutputDevicePropPageSheetPage*>(sheet->GetPage(i));
            ASSERT_NE(page, nullptr);
            EXPECT_EQ(page->Model().GetDevice(), sheet->GetDeviceCopy()) << i;
        }
    }

    // A copy of no printed type: no general page, and no code in the caption.
    COutputDeviceSettingsPrintSheet sheet;
    sheet.device.SetType(3);
    sheet.AddPages();
    EXPECT_EQ(sheet.PageTitles(), (QStringList{kExitProgram, kPage}));
    EXPECT_EQ(sheet.Caption(), QStringLiteral("Output Device ()"));
}

TEST_F(SheetsTest, TheDisplayDeviceHasItsDialogAndOtherTypesNoWindow)
{
    auto display = MakeOutputDeviceSettingsWindow(nullptr, 5, {});
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(display->GetDeviceCopy(), nullptr);
    EXPECT_EQ(MakeOutputDeviceSettingsWindow(nullptr, 8, {}), nullptr);
    EXPECT_EQ(MakeOutputDeviceSettingsWindow(nullptr, -1, {}), nullptr);
}

TEST_F(SheetsTest, DocStoreSheetTakesTheDocumentsManagers)
{
    COutputDeviceManager devices;
    OutputDeviceSettingsContext context;
    context.xmlDocument = L'1';
    context.deviceManager = &devices;
    auto window = MakeOutputDeviceSettingsWindow(nullptr, 7, context);
    auto* sheet = dynamic_cast<COutputDeviceSettingsDocStoreSheet*>(window.get());
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->xmlDocument, L'1');
    EXPECT_EQ(sheet->deviceManager, &devices);
    EXPECT_EQ(sheet->docStoreManager, nullptr);
    // The parameter pages are given the device manager.
    sheet->device.SetType(7);
    sheet->AddPages();
    for (int i = 0; i < sheet->GetPageCount(); ++i) {
        auto* page = dynamic_cast<COutputDevicePropPageSheetPage*>(sheet->GetPage(i));
        ASSERT_NE(page, nullptr);
        if (auto* parameters = dynamic_cast<CDocStoreParametersPage*>(&page->Model()))
            EXPECT_EQ(parameters->GetDeviceManager(), &devices) << i;
    }
}

// Pages are made with the sheet and freed with it, also when it was never
// shown (the sanitizer build sees any left behind).
TEST_F(SheetsTest, ANeverShownSheetFreesItsPages)
{
    for (int type = 0; type <= COutputDevice::kMaxType; ++type) {
        auto window = MakeFilledWindow(type, L'0');
        auto* sheet = dynamic_cast<COutputDeviceSettingsSheet*>(window.get());
        if (sheet != nullptr) {
            EXPECT_GT(sheet->GetPageCount(), 0) << type;
            EXPECT_EQ(sheet->GetPageView(0), nullptr);
        }
    }
}

// The settings commands through the windows the program installs.
class SettingsWindowsTest : public OutputAddressFixture
{
protected:
    void SetUp() override
    {
        OutputAddressFixture::SetUp();
        RegisterOutputStrings();
        m_previous = SetOutputDeviceSettingsWindowFactory({});
        InstallOutputDeviceSettingsWindows();
        index = AddDevice(QStringLiteral("FAX01"), 3);
        device = Devices()->GetDevice(index);
        output = AddOutput(index);
        firstPage = AddAddress(output, AddressFieldCode::FirstPage, Rect(5, 3, 15, 4));
        ASSERT_NE(firstPage, nullptr);
    }

    void TearDown() override
    {
        SetOutputDeviceSettingsWindowFactory(m_previous);
        OutputAddressFixture::TearDown();
    }

    // Runs the command; the user's part acts on the open sheet, which is
    // cancelled when the user left it open.
    BOOL Edit(const std::function<void(COutputDeviceSettingsSheet&)>& user)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* sheet = dynamic_cast<COutputDeviceSettingsSheet*>(QApplication::activeModalWidget());
            if (sheet == nullptr) {
                ADD_FAILURE() << "no sheet open";
                return;
            }
            ran = true;
            user(*sheet);
            if (sheet->isVisible())
                sheet->reject();
        });
        const BOOL result = Devices()->EditDeviceSettings(index, nullptr);
        EXPECT_TRUE(ran);
        return result;
    }

    static QWidget* ShowPage(COutputDeviceSettingsSheet& sheet, int page)
    {
        EXPECT_TRUE(sheet.SetActivePage(page));
        return sheet.GetPageView(page);
    }

    static void TypeColumn(COutputDeviceSettingsSheet& sheet, const QString& column)
    {
        QWidget* view = ShowPage(sheet, kPagePage);
        ASSERT_NE(view, nullptr);
        auto* edit = Find<QLineEdit>(view, COutputDeviceSettingsPagePropPage::IDC_COLUMN);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text(), QStringLiteral("5"));
        edit->setText(column);
    }

    static constexpr int kDestinationPage = 1;
    static constexpr int kPagePage = 3;

    ScopedPromptAnswers prompts;
    int index = 0;
    COutputDevice* device = nullptr;
    CFormOutputElement* output = nullptr;
    CFormAddressElement* firstPage = nullptr;

private:
    OutputDeviceSettingsWindowFactory m_previous;
};

TEST_F(SettingsWindowsTest, AFirstPageChildMovesOnlyAtOk)
{
    const BOOL result = Edit([this](COutputDeviceSettingsSheet& sheet) {
        TypeColumn(sheet, QStringLiteral("7"));
        EXPECT_TRUE(sheet.SetActivePage(0));
        EXPECT_EQ(firstPage->GetAddressCells(), Rect(5, 3, 15, 4));
        sheet.accept();
        EXPECT_FALSE(sheet.isVisible());
    });
    EXPECT_TRUE(result);
    EXPECT_EQ(firstPage->GetAddressCells(), Rect(7, 3, 17, 4));
    EXPECT_EQ(device->GetFirstPageColumn(), 7);
}

TEST_F(SettingsWindowsTest, CancelLeavesTheDeviceAndItsAddressesAsTheyWere)
{
    const BOOL result = Edit([](COutputDeviceSettingsSheet& sheet) {
        TypeColumn(sheet, QStringLiteral("9"));
        QWidget* general = ShowPage(sheet, 0);
        ASSERT_NE(general, nullptr);
        sheet.reject();
    });
    EXPECT_FALSE(result);
    EXPECT_EQ(firstPage->GetAddressCells(), Rect(5, 3, 15, 4));
    EXPECT_EQ(device->GetName(), QStringLiteral("FAX01"));
}

TEST_F(SettingsWindowsTest, ARefusedDestinationPageThenCancelMovesNothing)
{
    CFormAddressElement* destination = AddAddress(output, AddressFieldCode::Destination, Rect(2, 60, 12, 61));
    ASSERT_NE(destination, nullptr);
    const BOOL result = Edit([this](COutputDeviceSettingsSheet& sheet) {
        TypeColumn(sheet, QStringLiteral("8"));
        QWidget* view = ShowPage(sheet, kDestinationPage);
        ASSERT_NE(view, nullptr);
        using Destination = COutputDeviceSettingsDestinationPropPage;
        auto* column = Find<QLineEdit>(view, Destination::IDC_COLUMN);
        ASSERT_NE(column, nullptr);
        column->setText(QStringLiteral("30"));
        proppage_test::ChooseEntry(Find<QComboBox>(view, Destination::IDC_TYPE), QStringLiteral("Exit Program"));
        sheet.accept();
        // Refused: the sheet stays open, on the page that refused.
        EXPECT_TRUE(sheet.isVisible());
        EXPECT_EQ(sheet.GetActiveIndex(), kDestinationPage);
        EXPECT_EQ(prompts.Texts(), QStringList{QStringLiteral(
                                       "Exit Program field cannot be empty when Destination Type is 'Exit Program'.")});
        sheet.reject();
    });
    EXPECT_FALSE(result);
    EXPECT_EQ(firstPage->GetAddressCells(), Rect(5, 3, 15, 4));
    EXPECT_EQ(destination->GetAddressCells(), Rect(2, 60, 12, 61));
}

TEST_F(SettingsWindowsTest, OneSheetOfEachKindIsPictured)
{
    struct Picture
    {
        const char* file;
        const char* name;
        int type;
        int page;
    };
    const Picture pictures[] = {
        {"device-sheet-print-hpt.png", "HPT01", 2, 0},  {"device-sheet-fax.png", "FAX02", 3, 1},
        {"device-sheet-email.png", "MAIL01", 4, 2},     {"device-sheet-file.png", "FILE01", 6, 0},
        {"device-sheet-docstore.png", "STORE01", 7, 0},
    };
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
    for (const Picture& p : pictures) {
        SCOPED_TRACE(p.file);
        index = AddDevice(QString::fromLatin1(p.name), p.type);
        Edit([&p](COutputDeviceSettingsSheet& sheet) {
            ShowPage(sheet, p.page);
            const QString path = QStringLiteral(KWVD_SCREENSHOT_DIR "/") + QString::fromLatin1(p.file);
            EXPECT_TRUE(sheet.grab().save(path));
            EXPECT_FALSE(sheet.grab().toImage().isNull());
        });
    }
}

} // namespace
