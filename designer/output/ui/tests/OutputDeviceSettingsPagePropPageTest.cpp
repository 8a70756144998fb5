// The "Page" pages without their widgets: the page contract they share with
// every device settings page, the first-page rule loaded, enabled, clicked
// and stored, and the position bound to a "First Page" Address child.

#include "designer/output/ui/OutputDeviceSettingsPagePropPage.h"

#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"
#include "tests/support/OutputAddressFixture.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using Page = COutputDeviceSettingsPagePropPage;
using kwvd::Rect;

constexpr int kFileType = 6;

std::unique_ptr<Page> MakePage(UINT dialog)
{
    switch (dialog) {
    case COutputDeviceSettingsPrintPagePropPage::IDD:
        return std::make_unique<COutputDeviceSettingsPrintPagePropPage>();
    case COutputDeviceSettingsFaxPagePropPage::IDD:
        return std::make_unique<COutputDeviceSettingsFaxPagePropPage>();
    case COutputDeviceSettingsEmailPagePropPage::IDD:
        return std::make_unique<COutputDeviceSettingsEmailPagePropPage>();
    case COutputDeviceSettingsFilePagePropPage::IDD:
        return std::make_unique<COutputDeviceSettingsFilePagePropPage>();
    default:
        return std::make_unique<COutputDeviceSettingsDocStorePagePropPage>();
    }
}

class PagePropPageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterOutputClasses();
        RegisterOutputStrings();
    }

    // The file page (every control) on a file device.
    void Open()
    {
        page->SetDevice(&device);
        page->OnInitDialog();
    }

    void Type(int id, const QString& text) { page->Control(id).text = text; }
    const DialogControlState& State(int id) { return page->Control(id); }

    ScopedPromptAnswers prompts;
    COutputDevice device{kFileType, QStringLiteral("FILEDEV"), QString()};
    std::unique_ptr<Page> page = std::make_unique<COutputDeviceSettingsFilePagePropPage>();
};

TEST_F(PagePropPageTest, TheFiveClassesDifferByDialogTypesAndExtras)
{
    struct Case
    {
        const char* name;
        UINT dialog;
        std::vector<int> accepted;
        bool startLine;
        bool cover;
    };
    const Case cases[] = {
        {"print", 153, {0, 1, 2}, false, false},   {"fax", 145, {3}, false, true},
        {"e-mail", 141, {4}, false, true},         {"file", 149, {6}, true, true},
        {"document store", 176, {7}, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Page> made = MakePage(c.dialog);
        EXPECT_EQ(made->GetDialogId(), c.dialog);
        EXPECT_EQ(made->GetTitle(), QStringLiteral("Page"));
        for (int type = 0; type <= COutputDevice::kMaxType; ++type) {
            const bool accepted = std::find(c.accepted.begin(), c.accepted.end(), type) != c.accepted.end();
            EXPECT_EQ(made->AcceptsType(type), accepted) << "type " << type;
        }
        EXPECT_EQ(made->HasStartLine(), c.startLine);
        EXPECT_EQ(made->HasCoverPage(), c.cover);
        EXPECT_EQ(made->GetLabel(Page::IDC_START_LINE) == QStringLiteral("Start printing on line:"), c.startLine);
        EXPECT_EQ(made->GetLabel(Page::IDC_LOGO) == QStringLiteral("Logo:"), c.cover);
        EXPECT_EQ(made->GetLabel(Page::IDC_COMPARE_POSITION), QStringLiteral("Or compare data position:"));
        EXPECT_EQ(made->Control(Page::IDC_OPERATOR).items,
                  (QStringList{QStringLiteral("Equal To"), QStringLiteral("Not Equal To")}));
    }
}

TEST_F(PagePropPageTest, ConstructionDefaults)
{
    EXPECT_EQ(page->operatorIndex, -1);
    EXPECT_EQ(page->compareMode, Page::CompareNone);
    EXPECT_EQ(page->andPosition, 0);
    EXPECT_EQ(page->column, 0);
    EXPECT_TRUE(page->compareText.isEmpty());
    EXPECT_EQ(page->GetDevice(), nullptr);
}

TEST_F(PagePropPageTest, SetDeviceTakesOnlyANewDeviceOfAnAcceptedType)
{
    COutputDevice fax(COutputDevice::kFaxType, QStringLiteral("FAX"), QString());
    COutputDevice other(kFileType, QStringLiteral("OTHER"), QString());
    struct Case
    {
        const char* name;
        COutputDevice* given;
        COutputDevice* expected;
    };
    const Case cases[] = {
        {"null", nullptr, &device},
        {"type not accepted", &fax, &device},
        {"another accepted device", &other, &other},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        page = std::make_unique<COutputDeviceSettingsFilePagePropPage>();
        page->SetDevice(&device);
        page->SetDevice(c.given);
        EXPECT_EQ(page->GetDevice(), c.expected);
    }
}

TEST_F(PagePropPageTest, SetDeviceReloadsAtOnceOnlyWhenTheWindowExists)
{
    COutputDevice other(kFileType, QStringLiteral("OTHER"), QString());
    ASSERT_TRUE(other.SetFirstPageText(QStringLiteral("INVOICE")));
    int shown = 0;

    page->SetDevice(&device);
    page->SetDevice(&other);
    EXPECT_TRUE(page->compareText.isEmpty()) << "no window: the pointer only";

    page->AttachWindow([&shown] { ++shown; });
    page->OnInitDialog();
    page->SetDevice(&device);
    page->SetDevice(&device); // the same device again changes nothing
    EXPECT_EQ(shown, 1);
    page->SetDevice(&other);
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(page->compareText, QStringLiteral("INVOICE"));
    EXPECT_EQ(State(Page::IDC_COMPARE_TEXT).text, QStringLiteral("INVOICE"));
}

TEST_F(PagePropPageTest, APageWithoutADeviceShowsItsDefaultsAndStoresNothing)
{
    COutputDevice fax(COutputDevice::kFaxType, QStringLiteral("FAX"), QString());
    page->SetDevice(&fax);
    page->OnInitDialog();
    EXPECT_EQ(State(Page::IDC_COLUMN).text, QStringLiteral("0"));
    EXPECT_EQ(State(Page::IDC_OPERATOR).selection, -1);
    Type(Page::IDC_LOGO, QStringLiteral("ACME"));
    EXPECT_FALSE(page->SaveToDevice());
    EXPECT_EQ(page->logo, QStringLiteral("ACME")) << "the controls were read";
    EXPECT_TRUE(fax.GetCoverLogo().isEmpty());
}

// What the page shows for a device's first-page rule.
TEST_F(PagePropPageTest, LoadDerivesTheModeAndEnablesToMatch)
{
    struct Case
    {
        const char* name;
        const char* comparison;
        const char* text;
        int column;
        int operatorIndex;
        int mode;
        int andPosition;
        bool positionsEnabled;
    };
    const Case cases[] = {
        {"new device: position alone", "NE", "", 0, 1, Page::ComparePosition, 0, true},
        {"text at no column", "EQ", "INVOICE", 0, 0, Page::CompareText, 0, false},
        {"text at column 12", "EQ", "INVOICE", 12, 0, Page::CompareText, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        device.SetFirstPageComparison(QString::fromLatin1(c.comparison));
        device.SetFirstPageText(QString::fromLatin1(c.text));
        device.SetFirstPageColumn(c.column);
        page = std::make_unique<COutputDeviceSettingsFilePagePropPage>();
        Open();
        EXPECT_EQ(page->operatorIndex, c.operatorIndex);
        EXPECT_EQ(page->compareMode, c.mode);
        EXPECT_EQ(page->andPosition, c.andPosition);
        EXPECT_EQ(State(Page::IDC_OPERATOR).selection, c.operatorIndex);
        EXPECT_EQ(State(Page::IDC_COMPARE_DATA_TEXT).check, c.mode == Page::CompareText ? 1 : 0);
        EXPECT_EQ(State(Page::IDC_COMPARE_POSITION).check, c.mode == Page::ComparePosition ? 1 : 0);
        EXPECT_EQ(State(Page::IDC_AND_POSITION).check, c.andPosition);
        const bool textMode = c.mode == Page::CompareText;
        EXPECT_EQ(State(Page::IDC_COMPARE_TEXT).enabled, textMode);
        EXPECT_EQ(State(Page::IDC_AND_POSITION).enabled, textMode);
        for (int id : {Page::IDC_COLUMN, Page::IDC_COLUMN_SPIN, Page::IDC_LINE, Page::IDC_LINE_SPIN, Page::IDC_WIDTH,
                       Page::IDC_WIDTH_SPIN})
            EXPECT_EQ(State(id).enabled, c.positionsEnabled) << "control " << id;
        for (int id : {Page::IDC_OPERATOR, Page::IDC_START_LINE, Page::IDC_LOGO, Page::IDC_SIGNATURE})
            EXPECT_TRUE(State(id).enabled) << "control " << id;
        EXPECT_EQ(State(Page::IDC_COLUMN).text, QString::number(c.column));
    }
}

TEST_F(PagePropPageTest, AndPositionEnablesThePositionInTextMode)
{
    device.SetFirstPageText(QStringLiteral("INVOICE"));
    Open();
    ASSERT_FALSE(State(Page::IDC_COLUMN).enabled);
    page->Control(Page::IDC_AND_POSITION).check = 1;
    EXPECT_TRUE(page->OnAndPositionClicked());
    EXPECT_EQ(page->andPosition, 1);
    EXPECT_TRUE(State(Page::IDC_COLUMN).enabled);
    EXPECT_TRUE(State(Page::IDC_WIDTH_SPIN).enabled);
}

TEST_F(PagePropPageTest, EachChoiceClearsTheOtherSide)
{
    device.SetFirstPageText(QStringLiteral("INVOICE"));
    device.SetFirstPageColumn(12);
    device.SetFirstPageLine(3);
    device.SetFirstPageWidth(7);
    Open();
    ASSERT_EQ(page->andPosition, 1);

    // The user picks "Or compare data position:".
    page->Control(Page::IDC_COMPARE_DATA_TEXT).check = 0;
    page->Control(Page::IDC_COMPARE_POSITION).check = 1;
    EXPECT_TRUE(page->OnComparePositionClicked());
    EXPECT_EQ(page->compareMode, Page::ComparePosition);
    EXPECT_TRUE(page->compareText.isEmpty());
    EXPECT_TRUE(State(Page::IDC_COMPARE_TEXT).text.isEmpty());
    EXPECT_EQ(page->andPosition, 0);
    EXPECT_EQ(State(Page::IDC_AND_POSITION).check, 0);
    EXPECT_EQ(page->column, 12) << "the position stays";
    EXPECT_FALSE(State(Page::IDC_COMPARE_TEXT).enabled);

    // Back to "Compare data text:", with a text typed.
    page->Control(Page::IDC_COMPARE_DATA_TEXT).check = 1;
    page->Control(Page::IDC_COMPARE_POSITION).check = 0;
    Type(Page::IDC_COMPARE_TEXT, QStringLiteral("ORDER"));
    EXPECT_TRUE(page->OnCompareDataTextClicked());
    EXPECT_EQ(page->compareMode, Page::CompareText);
    EXPECT_EQ(page->compareText, QStringLiteral("ORDER"));
    for (int id : {Page::IDC_COLUMN, Page::IDC_LINE, Page::IDC_WIDTH})
        EXPECT_EQ(State(id).text, QStringLiteral("0")) << "control " << id;
    EXPECT_EQ(page->column + page->line + page->width, 0);
    EXPECT_FALSE(State(Page::IDC_COLUMN).enabled);
}

TEST_F(PagePropPageTest, AClickOnUnreadableControlsChangesNothing)
{
    Open();
    Type(Page::IDC_LINE, QStringLiteral("x"));
    Type(Page::IDC_COMPARE_TEXT, QStringLiteral("KEEP"));
    EXPECT_FALSE(page->OnCompareDataTextClicked());
    EXPECT_EQ(page->FailedControl(), Page::IDC_LINE);
    EXPECT_EQ(State(Page::IDC_LINE).text, QStringLiteral("x")) << "what was typed stays to be corrected";
    EXPECT_EQ(prompts.Texts(), QStringList{QStringLiteral("Enter an integer.")});
}

// Each control's check, its message and the control that gets the focus.
TEST_F(PagePropPageTest, ValidationFailsWithTheFrameworksMessage)
{
    struct Case
    {
        const char* name;
        int id;
        QString typed;
        const char* message;
    };
    const Case cases[] = {
        {"column not a number", Page::IDC_COLUMN, QStringLiteral("1a"), "Enter an integer."},
        {"column above 999", Page::IDC_COLUMN, QStringLiteral("1000"), "Enter an integer between 0 and 999."},
        {"line below 0", Page::IDC_LINE, QStringLiteral("-1"), "Enter an integer between 0 and 999."},
        {"width empty", Page::IDC_WIDTH, QString(), "Enter an integer."},
        {"text of 31", Page::IDC_COMPARE_TEXT, QString(31, u'T'), "Enter no more than 30 characters."},
        {"logo of 11", Page::IDC_LOGO, QString(11, u'L'), "Enter no more than 10 characters."},
        {"signature of 11", Page::IDC_SIGNATURE, QString(11, u'S'), "Enter no more than 10 characters."},
        {"start line of 4", Page::IDC_START_LINE, QStringLiteral("1000"), "Enter no more than 3 characters."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        page = std::make_unique<COutputDeviceSettingsFilePagePropPage>();
        Open();
        prompts.Renew();
        Type(c.id, c.typed);
        EXPECT_FALSE(page->SaveToDevice());
        EXPECT_FALSE(page->OnApply());
        EXPECT_EQ(page->FailedControl(), c.id);
        EXPECT_EQ(prompts.Texts(), QStringList(2, QString::fromLatin1(c.message)));
    }
}

TEST_F(PagePropPageTest, AFailedCheckStoresNothing)
{
    Open();
    Type(Page::IDC_LOGO, QStringLiteral("acme"));
    Type(Page::IDC_LINE, QStringLiteral("abc"));
    EXPECT_FALSE(page->SaveToDevice());
    EXPECT_TRUE(device.GetCoverLogo().isEmpty());
    EXPECT_EQ(device.GetFirstPageComparison(), QStringLiteral("NE"));
}

TEST_F(PagePropPageTest, SaveCallsEverySetterAndReportsAnyChange)
{
    struct Case
    {
        const char* name;
        std::function<void(Page&)> edit;
        BOOL changed;
        std::function<bool(COutputDevice&)> stored;
    };
    const Case cases[] = {
        {"nothing typed", [](Page&) {}, FALSE, [](COutputDevice&) { return true; }},
        {"the first and the last value",
         [](Page& p) {
             p.Control(Page::IDC_OPERATOR).selection = 0;
             p.Control(Page::IDC_START_LINE).text = QStringLiteral("12");
         },
         TRUE,
         [](COutputDevice& d) { return d.GetFirstPageComparison() == QLatin1String("EQ") && d.GetStartLine() == 12; }},
        {"cover page upper-cased",
         [](Page& p) {
             p.Control(Page::IDC_LOGO).text = QStringLiteral("acme");
             p.Control(Page::IDC_SIGNATURE).text = QStringLiteral("ann");
         },
         TRUE,
         [](COutputDevice& d) {
             return d.GetCoverLogo() == QLatin1String("ACME") && d.GetCoverSignature() == QLatin1String("ANN");
         }},
        {"text with a position",
         [](Page& p) {
             p.Control(Page::IDC_COMPARE_TEXT).text = QStringLiteral("INVOICE");
             p.Control(Page::IDC_COLUMN).text = QStringLiteral("4");
             p.Control(Page::IDC_LINE).text = QStringLiteral("2");
             p.Control(Page::IDC_WIDTH).text = QStringLiteral(" 7 ");
         },
         TRUE,
         [](COutputDevice& d) {
             return d.GetFirstPageText() == QLatin1String("INVOICE") && d.GetFirstPageColumn() == 4
                    && d.GetFirstPageLine() == 2 && d.GetFirstPageWidth() == 7;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        device.SetDefaults();
        page = std::make_unique<COutputDeviceSettingsFilePagePropPage>();
        Open();
        c.edit(*page);
        EXPECT_EQ(page->SaveToDevice(), c.changed);
        EXPECT_TRUE(c.stored(device));
        EXPECT_TRUE(prompts.Texts().isEmpty());
    }
}

TEST_F(PagePropPageTest, StartLineZeroIsAnEmptyField)
{
    device.SetStartLine(QStringLiteral("5"));
    Open();
    EXPECT_EQ(State(Page::IDC_START_LINE).text, QStringLiteral("5"));
    Type(Page::IDC_START_LINE, QString());
    EXPECT_TRUE(page->SaveToDevice());
    EXPECT_EQ(device.GetStartLine(), 0);
    page->LoadFromDevice();
    EXPECT_TRUE(State(Page::IDC_START_LINE).text.isEmpty());
}

TEST_F(PagePropPageTest, OkStoresThroughSaveToDevice)
{
    Open();
    Type(Page::IDC_COMPARE_TEXT, QStringLiteral("TOTAL"));
    page->OnOK();
    EXPECT_EQ(device.GetFirstPageText(), QStringLiteral("TOTAL"));
}

// The position of a device with a "First Page" Address child of one of its
// Output elements, edited on the sheet's copy as the sheet does.
class PagePropPageAddressTest : public OutputAddressFixture
{
protected:
    void SetUp() override
    {
        OutputAddressFixture::SetUp();
        COutputDevice* device = Devices()->GetDefaultDevice();
        ASSERT_TRUE(device->SetType(kFileType));
        CFormOutputElement* output = AddOutput();
        ASSERT_TRUE(device->HasUser(output));
        address = AddAddress(output, AddressFieldCode::FirstPage, Rect(5, 3, 15, 4));
        copy.Copy(device);
        page.SetDevice(&copy);
        page.OnInitDialog();
    }

    COutputDevice copy;
    CFormAddressElement* address = nullptr;
    COutputDeviceSettingsFilePagePropPage page;
};

TEST_F(PagePropPageAddressTest, ThePageShowsTheChildsCells)
{
    EXPECT_EQ(page.column, 5);
    EXPECT_EQ(page.line, 3);
    EXPECT_EQ(page.width, 10);
    EXPECT_EQ(page.Control(Page::IDC_WIDTH).text, QStringLiteral("10"));
}

TEST_F(PagePropPageAddressTest, StoringMovesTheChildAndTheDevicesOwnValuesStayZero)
{
    struct Case
    {
        const char* name;
        int id;
        const char* typed;
        Rect expected;
    };
    const Case cases[] = {
        {"column 7 keeps the width", Page::IDC_COLUMN, "7", Rect(7, 3, 17, 4)},
        {"line 6 is one line high", Page::IDC_LINE, "6", Rect(5, 6, 15, 7)},
        {"width 4 moves the right side", Page::IDC_WIDTH, "4", Rect(5, 3, 9, 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        address->SetCells(Rect(5, 3, 15, 4));
        page.LoadFromDevice();
        page.Control(c.id).text = QString::fromLatin1(c.typed);
        EXPECT_TRUE(page.SaveToDevice());
        EXPECT_EQ(address->GetAddressCells(), c.expected);
    }
    // Without the child the device's own values show.
    doc->DeleteElement(address, TRUE);
    EXPECT_EQ(copy.GetFirstPageColumn(), 0);
    EXPECT_EQ(copy.GetFirstPageLine(), 0);
    EXPECT_EQ(copy.GetFirstPageWidth(), 0);
}

} // namespace
