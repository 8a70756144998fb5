// The destination pages without their widgets: what each of the three
// differs in, the mode taken from the text, the exit program enabled by the
// type, the confirmation, the check when the sheet is closed with OK, and
// the position bound to a "Destination" Address child.

#include "designer/output/ui/OutputDeviceSettingsDestinationPropPage.h"

#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/OutputAddressFixture.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Page = COutputDeviceSettingsDestinationPropPage;
using kwvd::Rect;

constexpr int kScsType = 0;
constexpr int kEmailType = 4;

std::unique_ptr<Page> MakePage(UINT dialog)
{
    switch (dialog) {
    case COutputDeviceSettingsPrintExitProgramPropPage::IDD:
        return std::make_unique<COutputDeviceSettingsPrintExitProgramPropPage>();
    case COutputDeviceSettingsFaxDestPropPage::IDD:
        return std::make_unique<COutputDeviceSettingsFaxDestPropPage>();
    default:
        return std::make_unique<COutputDeviceSettingsEmailDestPropPage>();
    }
}

int DeviceTypeOf(UINT dialog)
{
    switch (dialog) {
    case COutputDeviceSettingsPrintExitProgramPropPage::IDD:
        return kScsType;
    case COutputDeviceSettingsFaxDestPropPage::IDD:
        return COutputDevice::kFaxType;
    default:
        return kEmailType;
    }
}

// An e-mail device as read from a file that holds a confirmation type the
// setters refuse: the stored forms of 20 and 30 differ in that field alone.
std::unique_ptr<COutputDevice> EmailDeviceWithConfirmation(int value)
{
    auto stored = [](int confirmation) {
        COutputDevice device(kEmailType, QStringLiteral("MAIL"), QString());
        EXPECT_TRUE(device.SetConfirmationType(confirmation));
        return Store([&](CArchive& ar) { ar.WriteObject(&device); });
    };
    Bytes bytes = stored(20);
    const Bytes other = stored(30);
    EXPECT_EQ(bytes.size(), other.size());
    for (size_t i = 0; i < bytes.size() && i < other.size(); ++i) {
        if (bytes[i] != other[i])
            bytes[i] = static_cast<BYTE>(value);
    }
    std::unique_ptr<COutputDevice> device;
    Load(bytes, [&](CArchive& ar) { device.reset(ar.ReadObject<COutputDevice>()); });
    return device;
}

constexpr UINT kDialogs[] = {COutputDeviceSettingsPrintExitProgramPropPage::IDD,
                             COutputDeviceSettingsFaxDestPropPage::IDD, COutputDeviceSettingsEmailDestPropPage::IDD};

class DestinationPropPageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterOutputClasses();
        RegisterOutputStrings();
    }

    // The page of the dialog on a fresh device of its type, before it opens.
    void Make(UINT dialog)
    {
        page = MakePage(dialog);
        device = std::make_unique<COutputDevice>(DeviceTypeOf(dialog), QStringLiteral("DEV"), QString());
    }
    void Open()
    {
        page->SetDevice(device.get());
        page->OnInitDialog();
        prompts.Renew();
    }

    void Type(int id, const QString& text) { page->Control(id).text = text; }
    void Choose(const char* type)
    {
        DialogControlState& list = page->Control(Page::IDC_TYPE);
        list.selection = static_cast<int>(list.items.indexOf(QString::fromLatin1(type)));
        ASSERT_GE(list.selection, 0) << type;
        ASSERT_TRUE(page->OnChoiceChanged());
    }
    const DialogControlState& State(int id) { return page->Control(id); }

    ScopedPromptAnswers prompts;
    std::unique_ptr<Page> page;
    std::unique_ptr<COutputDevice> device;
};

TEST_F(DestinationPropPageTest, TheThreeClassesDifferAsTheirSheetsNeed)
{
    struct Case
    {
        const char* name;
        UINT dialog;
        std::vector<int> accepted;
        const char* title;
        const char* firstRadio;
        int textLimit;
        int widthMax;
        bool confirmation;
        QStringList types;
    };
    const Case cases[] = {
        {"print",
         151,
         {0, 1, 2},
         "Exit Program",
         "Destination text:",
         256,
         256,
         false,
         {"None", "Output Queue", "Output Queue (Delete)", "Exit Program", "Exit Program (Delete)"}},
        {"fax",
         143,
         {3},
         "Destination",
         "Scan for text:",
         25,
         20,
         false,
         {"None", "Fax Number", "Fax Number (Delete)", "Directory Entry", "Directory Entry (Delete)", "Exit Program",
          "Exit Program (Delete)", "Fax Number (R Align)", "Fax Number (R Align Delete)"}},
        {"e-mail",
         139,
         {4},
         "Destination",
         "Destination text:",
         256,
         256,
         true,
         {"None", "Email Address", "Email Address (Delete)", "Directory Entry", "Directory Entry (Delete)",
          "Exit Program", "Exit Program (Delete)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Page> made = MakePage(c.dialog);
        EXPECT_EQ(made->GetDialogId(), c.dialog);
        EXPECT_EQ(made->GetTitle(), QString::fromLatin1(c.title));
        for (int type = 0; type <= COutputDevice::kMaxType; ++type) {
            const bool accepted = std::find(c.accepted.begin(), c.accepted.end(), type) != c.accepted.end();
            EXPECT_EQ(made->AcceptsType(type), accepted) << "type " << type;
        }
        EXPECT_EQ(made->GetLabel(Page::IDC_TEXT_MODE), QString::fromLatin1(c.firstRadio));
        EXPECT_EQ(made->GetLabel(Page::IDC_POSITION_MODE), QStringLiteral("Or destination position:"));
        EXPECT_EQ(made->GetLabel(Page::IDC_DESTINATION_GROUP), QStringLiteral("Destination from spooled file"));
        EXPECT_EQ(made->TextLimit(), c.textLimit);
        EXPECT_EQ(made->WidthMax(), c.widthMax);
        EXPECT_EQ(made->HasConfirmation(), c.confirmation);
        EXPECT_EQ(made->Control(Page::IDC_TYPE).items, c.types);
        const QStringList confirmations =
            c.confirmation ? QStringList{"None", "User Defined", "Delivery Receipt", "Read Receipt"} : QStringList();
        EXPECT_EQ(made->Control(Page::IDC_CONFIRMATION).items, confirmations);
        // The up-down controls, column, width and line.
        ASSERT_EQ(made->GetUpDowns().size(), 3u);
        EXPECT_EQ(made->GetUpDowns()[0].maximum, 999);
        EXPECT_EQ(made->GetUpDowns()[1].buddyId, Page::IDC_WIDTH);
        EXPECT_EQ(made->GetUpDowns()[1].maximum, c.widthMax);
        EXPECT_EQ(made->GetUpDowns()[2].id, Page::IDC_LINE_SPIN);
    }
}

TEST_F(DestinationPropPageTest, ConstructionDefaults)
{
    for (const UINT dialog : kDialogs) {
        SCOPED_TRACE(dialog);
        std::unique_ptr<Page> made = MakePage(dialog);
        EXPECT_EQ(made->mode, Page::ModeNone);
        EXPECT_TRUE(made->text.isEmpty());
        EXPECT_EQ(made->column + made->line + made->width, 0);
        EXPECT_EQ(made->GetDevice(), nullptr);
    }
}

// What each page shows for a device's values.
TEST_F(DestinationPropPageTest, LoadTakesTheModeFromTheText)
{
    struct Case
    {
        const char* name;
        UINT dialog;
        const char* text;
        int mode;
    };
    const Case cases[] = {
        {"print, empty text: position", 151, "", Page::ModePosition},
        {"print, a text", 151, "SHIP TO", Page::ModeText},
        {"fax scan text", 143, "FAX:", Page::ModeText},
        {"e-mail, empty text", 139, "", Page::ModePosition},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Make(c.dialog);
        const QString text = QString::fromLatin1(c.text);
        if (c.dialog == COutputDeviceSettingsFaxDestPropPage::IDD) {
            device->SetDestinationScanText(text);
            device->SetDestinationText(QStringLiteral("NOT THIS ONE"));
        } else {
            device->SetDestinationText(text);
        }
        device->SetDestinationColumn(12);
        device->SetDestinationLine(3);
        device->SetDestinationWidth(8);
        Open();
        EXPECT_EQ(page->mode, c.mode);
        EXPECT_EQ(page->text, text);
        EXPECT_EQ(State(Page::IDC_TEXT).text, text);
        const bool position = c.mode == Page::ModePosition;
        EXPECT_EQ(State(Page::IDC_TEXT_MODE).check, position ? 0 : 1);
        EXPECT_EQ(State(Page::IDC_POSITION_MODE).check, position ? 1 : 0);
        EXPECT_EQ(State(Page::IDC_TEXT).enabled, !position);
        EXPECT_EQ(State(Page::IDC_LINE).enabled, position);
        EXPECT_EQ(State(Page::IDC_LINE_SPIN).enabled, position);
        for (int id : {Page::IDC_COLUMN, Page::IDC_COLUMN_SPIN, Page::IDC_WIDTH, Page::IDC_WIDTH_SPIN})
            EXPECT_TRUE(State(id).enabled) << "control " << id;
        EXPECT_EQ(State(Page::IDC_COLUMN).text, QStringLiteral("12"));
        EXPECT_EQ(State(Page::IDC_LINE).text, QStringLiteral("3"));
        EXPECT_EQ(State(Page::IDC_WIDTH).text, QStringLiteral("8"));
        EXPECT_EQ(State(Page::IDC_TYPE).selection, 1) << "a new device's type 1";
    }
}

TEST_F(DestinationPropPageTest, PositionModeEmptiesTheTextAndTextModeLeavesItEmpty)
{
    Make(151);
    device->SetDestinationText(QStringLiteral("SHIP TO"));
    Open();
    page->Control(Page::IDC_TEXT_MODE).check = 0;
    page->Control(Page::IDC_POSITION_MODE).check = 1;
    EXPECT_TRUE(page->OnPositionModeClicked());
    EXPECT_EQ(page->mode, Page::ModePosition);
    EXPECT_TRUE(page->text.isEmpty());
    EXPECT_TRUE(State(Page::IDC_TEXT).text.isEmpty());
    EXPECT_FALSE(State(Page::IDC_TEXT).enabled);
    EXPECT_TRUE(State(Page::IDC_LINE).enabled);

    page->Control(Page::IDC_TEXT_MODE).check = 1;
    page->Control(Page::IDC_POSITION_MODE).check = 0;
    EXPECT_TRUE(page->OnChoiceChanged());
    EXPECT_EQ(page->mode, Page::ModeText);
    EXPECT_TRUE(State(Page::IDC_TEXT).text.isEmpty());
    EXPECT_TRUE(State(Page::IDC_TEXT).enabled);
    EXPECT_FALSE(State(Page::IDC_LINE).enabled);

    EXPECT_TRUE(page->SaveToDevice());
    EXPECT_TRUE(device->GetDestinationText().isEmpty());
}

// Program and library follow the type on every page; only the fax page
// blanks them while they are disabled.
TEST_F(DestinationPropPageTest, TheExitProgramFollowsTheType)
{
    struct Case
    {
        const char* name;
        UINT dialog;
        const char* type;
        bool enabled;
        const char* program;
        const char* library;
    };
    const Case cases[] = {
        {"print Exit Program", 151, "Exit Program", true, "MYPGM", "MYLIB"},
        {"print Exit Program (Delete)", 151, "Exit Program (Delete)", true, "MYPGM", "MYLIB"},
        {"print None keeps them", 151, "None", false, "MYPGM", "MYLIB"},
        {"print Output Queue keeps them", 151, "Output Queue", false, "MYPGM", "MYLIB"},
        {"e-mail Email Address keeps them", 139, "Email Address", false, "MYPGM", "MYLIB"},
        {"e-mail Exit Program (Delete)", 139, "Exit Program (Delete)", true, "MYPGM", "MYLIB"},
        {"fax Exit Program", 143, "Exit Program", true, "MYPGM", "MYLIB"},
        {"fax Fax Number blanks them", 143, "Fax Number", false, "", "*LIBL"},
        {"fax Directory Entry blanks them", 143, "Directory Entry", false, "", "*LIBL"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Make(c.dialog);
        ASSERT_TRUE(device->SetDestinationTypeText(QStringLiteral("Exit Program")));
        device->SetDestinationExitProgram(QStringLiteral("MYPGM"));
        device->SetDestinationExitLibrary(QStringLiteral("MYLIB"));
        Open();
        ASSERT_TRUE(State(Page::IDC_PROGRAM).enabled);
        ASSERT_EQ(State(Page::IDC_PROGRAM).text, QStringLiteral("MYPGM"));

        Choose(c.type);
        EXPECT_EQ(State(Page::IDC_PROGRAM).enabled, c.enabled);
        EXPECT_EQ(State(Page::IDC_LIBRARY).enabled, c.enabled);
        EXPECT_EQ(State(Page::IDC_PROGRAM).text, QString::fromLatin1(c.program));
        EXPECT_EQ(State(Page::IDC_LIBRARY).text, QString::fromLatin1(c.library));
        EXPECT_TRUE(page->OnApply());
        EXPECT_EQ(device->GetDestinationExitProgram(), QString::fromLatin1(c.program));
        EXPECT_EQ(device->GetDestinationExitLibrary(), QString::fromLatin1(c.library));
        QString stored;
        device->GetDestinationTypeText(device->GetDestinationType(), stored);
        EXPECT_EQ(stored, QString::fromLatin1(c.type));
        EXPECT_TRUE(prompts.Texts().isEmpty());
    }
}

TEST_F(DestinationPropPageTest, FaxProgramStaysBlankAfterTheTextIsEmptied)
{
    Make(143);
    device->SetDestinationScanText(QStringLiteral("FAX:"));
    Open();
    Choose("Fax Number");
    // The text is emptied and the members pushed back: still blank.
    page->Control(Page::IDC_TEXT_MODE).check = 0;
    page->Control(Page::IDC_POSITION_MODE).check = 1;
    ASSERT_TRUE(page->OnPositionModeClicked());
    EXPECT_TRUE(State(Page::IDC_PROGRAM).text.isEmpty());
    EXPECT_EQ(State(Page::IDC_LIBRARY).text, QStringLiteral("*LIBL"));
}

// The check when the sheet is closed with OK.
TEST_F(DestinationPropPageTest, ApplyRefusesExitProgramWithoutAProgram)
{
    struct Case
    {
        const char* name;
        UINT dialog;
        const char* type;
        const char* program;
        bool refused;
    };
    const Case cases[] = {
        {"print, no program", 151, "Exit Program", "", true},
        {"fax, no program", 143, "Exit Program", "", true},
        {"e-mail, no program", 139, "Exit Program", "", true},
        {"e-mail, a program", 139, "Exit Program", "mailpgm", false},
        {"e-mail, Exit Program (Delete) without one", 139, "Exit Program (Delete)", "", false},
        {"print, Output Queue without one", 151, "Output Queue", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Make(c.dialog);
        Open();
        Choose(c.type);
        Type(Page::IDC_PROGRAM, QString::fromLatin1(c.program));
        Type(Page::IDC_COLUMN, QStringLiteral("7"));
        EXPECT_EQ(page->OnApply(), c.refused ? FALSE : TRUE);
        if (c.refused) {
            ASSERT_EQ(prompts->Recorded().size(), 1u);
            EXPECT_EQ(prompts->Recorded()[0].text,
                      QStringLiteral("Exit Program field cannot be empty when Destination Type is 'Exit Program'."));
            EXPECT_EQ(prompts->Recorded()[0].Icon(), MB_ICONEXCLAMATION);
            EXPECT_EQ(page->RefusedControl(), Page::IDC_PROGRAM);
            EXPECT_EQ(device->GetDestinationColumn(), 0) << "nothing stored";
            EXPECT_EQ(device->GetDestinationType(), 1);
        } else {
            EXPECT_TRUE(prompts.Texts().isEmpty());
            EXPECT_EQ(device->GetDestinationColumn(), 7);
            EXPECT_EQ(device->GetDestinationExitProgram(), QString::fromLatin1(c.program).toUpper());
        }
    }
}

TEST_F(DestinationPropPageTest, TheEmailConfirmationShowsAndStoresItsValue)
{
    struct Case
    {
        const char* name;
        int stored;
        int shown;
        int chosen;
        int expected;
    };
    const Case cases[] = {
        {"none", 0, 0, 3, 30},          {"user defined", 10, 1, 1, 10}, {"delivery receipt", 20, 2, 0, 0},
        {"read receipt", 30, 3, 2, 20}, {"15 shows None", 15, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Make(139);
        device = EmailDeviceWithConfirmation(c.stored);
        ASSERT_NE(device, nullptr);
        ASSERT_EQ(device->GetConfirmationType(), c.stored);
        Open();
        EXPECT_EQ(page->confirmationIndex, c.shown);
        EXPECT_EQ(State(Page::IDC_CONFIRMATION).selection, c.shown);
        page->Control(Page::IDC_CONFIRMATION).selection = c.chosen;
        EXPECT_EQ(page->SaveToDevice(), c.expected != c.stored ? TRUE : FALSE);
        EXPECT_EQ(device->GetConfirmationType(), c.expected);
    }
}

TEST_F(DestinationPropPageTest, StoreCutsAndUpperCasesAsTheDeviceKeepsThem)
{
    struct Case
    {
        const char* name;
        UINT dialog;
        int id;
        QString typed;
        std::function<QString(const COutputDevice&)> stored;
        QString expected;
    };
    const Case cases[] = {
        {"program upper case", 151, Page::IDC_PROGRAM, QStringLiteral("mypgm"),
         [](const COutputDevice& d) { return d.GetDestinationExitProgram(); }, QStringLiteral("MYPGM")},
        {"library upper case", 139, Page::IDC_LIBRARY, QStringLiteral("qgpl"),
         [](const COutputDevice& d) { return d.GetDestinationExitLibrary(); }, QStringLiteral("QGPL")},
        {"text of 256 kept whole", 139, Page::IDC_TEXT, QString(256, u't'),
         [](const COutputDevice& d) { return d.GetDestinationText(); }, QString(256, u't')},
        {"fax scan text of 25", 143, Page::IDC_TEXT, QString(25, u's'),
         [](const COutputDevice& d) { return d.GetDestinationScanText(); }, QString(25, u's')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Make(c.dialog);
        ASSERT_TRUE(device->SetDestinationTypeText(QStringLiteral("Exit Program")));
        Open();
        Type(c.id, c.typed);
        EXPECT_TRUE(page->SaveToDevice());
        EXPECT_EQ(c.stored(*device), c.expected);
        EXPECT_TRUE(prompts.Texts().isEmpty());
    }
}

// Each control's check, its message and the control that gets the focus.
TEST_F(DestinationPropPageTest, ValidationFailsWithTheFrameworksMessage)
{
    struct Case
    {
        const char* name;
        UINT dialog;
        int id;
        QString typed;
        const char* message;
    };
    const Case cases[] = {
        {"fax width 21", 143, Page::IDC_WIDTH, QStringLiteral("21"), "Enter an integer between 0 and 20."},
        {"print width 257", 151, Page::IDC_WIDTH, QStringLiteral("257"), "Enter an integer between 0 and 256."},
        {"column 1000", 139, Page::IDC_COLUMN, QStringLiteral("1000"), "Enter an integer between 0 and 999."},
        {"line not a number", 151, Page::IDC_LINE, QStringLiteral("x"), "Enter an integer."},
        {"fax scan text of 26", 143, Page::IDC_TEXT, QString(26, u's'), "Enter no more than 25 characters."},
        {"program of 11", 151, Page::IDC_PROGRAM, QString(11, u'P'), "Enter no more than 10 characters."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Make(c.dialog);
        Open();
        Type(c.id, c.typed);
        EXPECT_FALSE(page->OnChoiceChanged());
        EXPECT_FALSE(page->OnApply());
        EXPECT_EQ(page->RefusedControl(), c.id);
        EXPECT_EQ(prompts.Texts(), QStringList(2, QString::fromLatin1(c.message)));
        EXPECT_EQ(device->GetDestinationType(), 1) << "nothing stored";
    }
}

TEST_F(DestinationPropPageTest, PrintWidth256IsAcceptedAsTheDeviceKeepsIt)
{
    Make(151);
    ASSERT_TRUE(device->SetDestinationWidth(256));
    Open();
    EXPECT_EQ(State(Page::IDC_WIDTH).text, QStringLiteral("256"));
    EXPECT_TRUE(page->OnApply());
    EXPECT_TRUE(prompts.Texts().isEmpty());
    EXPECT_EQ(device->GetDestinationWidth(), 256);
}

TEST_F(DestinationPropPageTest, ATypeThisPageDoesNotListIsKept)
{
    // A print device read with "Directory Entry", which its list lacks.
    Make(151);
    ASSERT_TRUE(device->SetDestinationTypeText(QStringLiteral("Directory Entry")));
    Open();
    EXPECT_EQ(State(Page::IDC_TYPE).selection, -1);
    EXPECT_FALSE(page->SaveToDevice());
    EXPECT_EQ(device->GetDestinationType(), 2);
}

// The position of a device with a "Destination" Address child of one of its
// Output elements, edited on the sheet's copy as the sheet does.
class DestinationPropPageAddressTest : public OutputAddressFixture
{
protected:
    void SetUp() override
    {
        OutputAddressFixture::SetUp();
        const int index = AddDevice(QStringLiteral("MAIL"), kEmailType);
        COutputDevice* device = Devices()->GetDevice(index);
        ASSERT_NE(device, nullptr);
        ASSERT_TRUE(device->SetDestinationColumn(3));
        CFormOutputElement* output = AddOutput(index);
        ASSERT_TRUE(device->HasUser(output));
        address = AddAddress(output, AddressFieldCode::Destination, Rect(10, 4, 30, 5));
        copy.Copy(device);
        page.SetDevice(&copy);
        page.OnInitDialog();
    }

    COutputDevice copy;
    CFormAddressElement* address = nullptr;
    COutputDeviceSettingsEmailDestPropPage page;
};

TEST_F(DestinationPropPageAddressTest, ThePageShowsTheChildsCells)
{
    EXPECT_EQ(page.column, 10);
    EXPECT_EQ(page.line, 4);
    EXPECT_EQ(page.width, 20);
    EXPECT_EQ(page.Control(Page::IDC_WIDTH).text, QStringLiteral("20"));
    EXPECT_EQ(copy.GetDestinationColumn(), 10);
}

TEST_F(DestinationPropPageAddressTest, StoringMovesTheChildAndTheDevicesOwnValuesStayZero)
{
    struct Case
    {
        const char* name;
        int id;
        const char* typed;
        Rect expected;
    };
    const Case cases[] = {
        {"width 25 moves the right side", Page::IDC_WIDTH, "25", Rect(10, 4, 35, 5)},
        {"column 12 keeps the width", Page::IDC_COLUMN, "12", Rect(12, 4, 32, 5)},
        {"line 6 is one line high", Page::IDC_LINE, "6", Rect(10, 6, 30, 7)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        address->SetCells(Rect(10, 4, 30, 5));
        page.LoadFromDevice();
        page.Control(c.id).text = QString::fromLatin1(c.typed);
        EXPECT_TRUE(page.SaveToDevice());
        EXPECT_EQ(address->GetAddressCells(), c.expected);
    }
    // Without the child the device's own values show, all cleared.
    doc->DeleteElement(address, TRUE);
    EXPECT_EQ(copy.GetDestinationColumn(), 0);
    EXPECT_EQ(copy.GetDestinationLine(), 0);
    EXPECT_EQ(copy.GetDestinationWidth(), 0);
}

} // namespace
