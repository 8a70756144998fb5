// The destination pages' widgets, alone and inside a navigation sheet: the
// tab order, the choices made through real buttons and lists, the exit
// program typed in upper case, the refusal of an exit program without a
// name when the sheet is closed, and a picture of the e-mail page.

#include "designer/output/ui/OutputDeviceSettingsDestinationPropPageView.h"
#include "designer/output/ui/OutputDevicePropPageSheetPage.h"
#include "designer/output/ui/OutputDeviceSettingsAddressPropPageView.h"
#include "designer/output/ui/tests/PropPageViewTestSupport.h"

#include "designer/controls/NavigationSheet.h"
#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "platform/ui/qt/UpDownControl.h"
#include "tests/support/QtApplicationEnvironment.h"
#include "tests/support/ScopedPrompts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Page = COutputDeviceSettingsDestinationPropPage;

constexpr int kEmailType = 4;

using proppage_test::ChooseEntry;
using proppage_test::ClickRadio;
using proppage_test::Find;
using proppage_test::TabOrder;

class DestinationPropPageViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterOutputClasses();
        RegisterOutputStrings();
    }

    QLineEdit* EditOf(QWidget* view, int id) { return Find<QLineEdit>(view, id); }

    ScopedPromptAnswers prompts;
};

TEST_F(DestinationPropPageViewTest, EachPageHasItsControlsInTabOrder)
{
    const std::vector<int> shared = {Page::IDC_TEXT_MODE, Page::IDC_POSITION_MODE, Page::IDC_TEXT,
                                     Page::IDC_COLUMN,    Page::IDC_WIDTH,         Page::IDC_LINE,
                                     Page::IDC_TYPE,      Page::IDC_PROGRAM,       Page::IDC_LIBRARY};
    std::vector<int> email = shared;
    email.push_back(Page::IDC_CONFIRMATION);
    COutputDeviceSettingsPrintExitProgramPropPage print;
    COutputDeviceSettingsFaxDestPropPage fax;
    COutputDeviceSettingsEmailDestPropPage mail;
    struct Case
    {
        const char* name;
        Page& page;
        std::vector<int> order;
        int widthMax;
    };
    const Case cases[] = {
        {"print", print, shared, 256},
        {"fax", fax, shared, 20},
        {"e-mail", mail, email, 256},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        COutputDeviceSettingsDestinationPropPageView view(c.page);
        EXPECT_EQ(TabOrder(&view), c.order);
        EXPECT_EQ(view.findChild<QGroupBox*>()->title(), QStringLiteral("Destination from spooled file"));
        EXPECT_EQ(Find<QRadioButton>(&view, Page::IDC_TEXT_MODE)->text(), c.page.GetLabel(Page::IDC_TEXT_MODE));
        EXPECT_EQ(Find<QComboBox>(&view, Page::IDC_TYPE)->count(), c.page.Control(Page::IDC_TYPE).items.size());
        CUpDownControl* width = Find<CUpDownControl>(&view, Page::IDC_WIDTH_SPIN);
        EXPECT_EQ(width->Maximum(), c.widthMax);
        EXPECT_TRUE(width->Wraps());
        EXPECT_EQ(width->Buddy(), EditOf(&view, Page::IDC_WIDTH));
        EXPECT_EQ(Find<CUpDownControl>(&view, Page::IDC_LINE_SPIN)->Maximum(), 999);
    }
}

TEST_F(DestinationPropPageViewTest, TheChoicesMadeThroughTheirWidgets)
{
    COutputDevice device(COutputDevice::kFaxType, QStringLiteral("FAX"), QString());
    device.SetDestinationScanText(QStringLiteral("FAX:"));
    COutputDeviceSettingsFaxDestPropPage page;
    page.SetDevice(&device);
    COutputDeviceSettingsDestinationPropPageView view(page);
    view.show();
    ASSERT_TRUE(Find<QRadioButton>(&view, Page::IDC_TEXT_MODE)->isChecked());
    ASSERT_FALSE(EditOf(&view, Page::IDC_LINE)->isEnabled());
    ASSERT_FALSE(EditOf(&view, Page::IDC_PROGRAM)->isEnabled());
    QLineEdit* text = EditOf(&view, Page::IDC_TEXT);
    text->setText(QString(24, u's'));
    QTest::keyClicks(text, QStringLiteral("tu"));
    EXPECT_EQ(text->text(), QString(24, u's') + u't') << "the scan text takes 25";

    QComboBox* type = Find<QComboBox>(&view, Page::IDC_TYPE);
    ChooseEntry(type, QStringLiteral("Exit Program"));
    QLineEdit* program = EditOf(&view, Page::IDC_PROGRAM);
    EXPECT_TRUE(program->isEnabled());
    EXPECT_TRUE(EditOf(&view, Page::IDC_LIBRARY)->isEnabled());
    program->setFocus();
    QTest::keyClicks(program, QStringLiteral("faxpgm12345"));
    EXPECT_EQ(program->text(), QStringLiteral("FAXPGM1234")) << "upper case, ten at most";

    ChooseEntry(type, QStringLiteral("Fax Number"));
    EXPECT_FALSE(program->isEnabled());
    EXPECT_TRUE(program->text().isEmpty());
    EXPECT_EQ(EditOf(&view, Page::IDC_LIBRARY)->text(), QStringLiteral("*LIBL"));

    ClickRadio(Find<QRadioButton>(&view, Page::IDC_POSITION_MODE));
    EXPECT_TRUE(EditOf(&view, Page::IDC_TEXT)->text().isEmpty());
    EXPECT_FALSE(EditOf(&view, Page::IDC_TEXT)->isEnabled());
    EXPECT_TRUE(EditOf(&view, Page::IDC_LINE)->isEnabled());
    EXPECT_TRUE(Find<CUpDownControl>(&view, Page::IDC_LINE_SPIN)->isEnabled());

    ClickRadio(Find<QRadioButton>(&view, Page::IDC_TEXT_MODE));
    EXPECT_TRUE(EditOf(&view, Page::IDC_TEXT)->isEnabled());
    EXPECT_TRUE(EditOf(&view, Page::IDC_TEXT)->text().isEmpty());
    EXPECT_FALSE(EditOf(&view, Page::IDC_LINE)->isEnabled());

    EXPECT_TRUE(view.Apply());
    QString stored;
    device.GetDestinationTypeText(device.GetDestinationType(), stored);
    EXPECT_EQ(stored, QStringLiteral("Fax Number"));
    EXPECT_TRUE(device.GetDestinationScanText().isEmpty());
    EXPECT_TRUE(prompts.Texts().isEmpty());
}

// The e-mail pages in one sheet, as the e-mail settings sheet holds them.
class DestinationPropPageSheetTest : public DestinationPropPageViewTest
{
protected:
    void SetUp() override
    {
        DestinationPropPageViewTest::SetUp();
        device.SetDestinationText(QStringLiteral("MAIL TO:"));
        sheet.AddPage(
            MakeDeviceSheetPage<COutputDeviceSettingsEmailDestPropPage, COutputDeviceSettingsDestinationPropPageView>(
                &device));
        sheet.AddPage(
            MakeDeviceSheetPage<COutputDeviceSettingsEmailAddrPropPage, COutputDeviceSettingsAddressPropPageView>(
                &device));
        sheet.show();
        QApplication::setActiveWindow(&sheet);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet));
    }

    void ClickOk() { sheet.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click(); }

    COutputDevice device{kEmailType, QStringLiteral("MAIL"), QString()};
    CNavigationSheet sheet{QStringLiteral("Output Device (*EML)")};
};

TEST_F(DestinationPropPageSheetTest, ExitProgramWithoutANameKeepsTheSheetOpenOnThePage)
{
    QWidget* destination = sheet.GetPageView(0);
    ChooseEntry(Find<QComboBox>(destination, Page::IDC_TYPE), QStringLiteral("Exit Program"));
    EditOf(destination, Page::IDC_COLUMN)->setText(QStringLiteral("5"));
    // On to the address page, where a value is typed, then OK.
    sheet.NavigationList()->setCurrentRow(1);
    ASSERT_EQ(sheet.GetActiveIndex(), 1);
    EditOf(sheet.GetPageView(1), COutputDeviceSettingsAddressPropPage::IDC_USER_NAME)->setText(QStringLiteral("ann"));
    ClickOk();

    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(sheet.GetActiveIndex(), 0);
    EXPECT_EQ(QApplication::focusWidget(), EditOf(destination, Page::IDC_PROGRAM));
    ASSERT_EQ(prompts->Recorded().size(), 1u);
    EXPECT_EQ(prompts->Recorded()[0].text,
              QStringLiteral("Exit Program field cannot be empty when Destination Type is 'Exit Program'."));
    EXPECT_EQ(prompts->Recorded()[0].Icon(), MB_ICONEXCLAMATION);
    EXPECT_EQ(device.GetDestinationColumn(), 0) << "nothing stored yet";

    QTest::keyClicks(EditOf(destination, Page::IDC_PROGRAM), QStringLiteral("mailexit"));
    ClickOk();
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(device.GetDestinationType(), 4);
    EXPECT_EQ(device.GetDestinationExitProgram(), QStringLiteral("MAILEXIT"));
    EXPECT_EQ(device.GetDestinationColumn(), 5);
    EXPECT_EQ(device.GetUserName(), QStringLiteral("ANN"));
}

TEST_F(DestinationPropPageSheetTest, ExitProgramDeleteClosesWithoutAName)
{
    QWidget* destination = sheet.GetPageView(0);
    ChooseEntry(Find<QComboBox>(destination, Page::IDC_TYPE), QStringLiteral("Exit Program (Delete)"));
    ClickOk();
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(device.GetDestinationType(), 6);
    EXPECT_TRUE(prompts.Texts().isEmpty());
}

// The e-mail page, which has every control, in a sheet of its own.
TEST_F(DestinationPropPageViewTest, TheEmailPageRendersAsATidyPage)
{
    COutputDevice device(kEmailType, QStringLiteral("MAIL"), QString());
    device.SetDestinationText(QStringLiteral("MAIL TO:"));
    device.SetDestinationColumn(12);
    device.SetDestinationWidth(40);
    device.SetDestinationTypeText(QStringLiteral("Exit Program"));
    device.SetDestinationExitProgram(QStringLiteral("MAILEXIT"));
    device.SetConfirmationType(30);
    CNavigationSheet sheet(QStringLiteral("Output Device (*EML)"));
    sheet.AddPage(
        MakeDeviceSheetPage<COutputDeviceSettingsEmailDestPropPage, COutputDeviceSettingsDestinationPropPageView>(
            &device));
    sheet.show();
    sheet.resize(sheet.sizeHint());
    QWidget* view = sheet.GetPageView(0);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Find<QComboBox>(view, Page::IDC_CONFIRMATION)->currentText(), QStringLiteral("Read Receipt"));
    EXPECT_EQ(Find<QComboBox>(view, Page::IDC_TYPE)->currentText(), QStringLiteral("Exit Program"));
    const QImage image = sheet.grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), sheet.NavigationList()->width() + EditOf(view, Page::IDC_TEXT)->width());
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
    EXPECT_TRUE(image.save(QStringLiteral(KWVD_SCREENSHOT_DIR "/OutputDeviceSettingsEmailDestinationPage.png")));
}

} // namespace
