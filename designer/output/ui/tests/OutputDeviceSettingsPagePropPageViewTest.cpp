// The "Page" page's widgets, alone and inside a navigation sheet: the clicks
// through real buttons, the wrapping up-down controls, the focus on a value
// that fails its check, and a picture of the file page for a person to see.

#include "designer/output/ui/OutputDeviceSettingsPagePropPageView.h"
#include "designer/output/ui/OutputDevicePropPageSheetPage.h"

#include "designer/controls/NavigationSheet.h"
#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "platform/ui/qt/UpDownControl.h"
#include "tests/support/QtApplicationEnvironment.h"
#include "tests/support/ScopedPrompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Page = COutputDeviceSettingsPagePropPage;

constexpr int kFileType = 6;

template <class Widget>
Widget* Find(QWidget* parent, int id)
{
    auto* widget = parent->findChild<Widget*>(QString::number(id));
    EXPECT_NE(widget, nullptr) << "control " << id;
    return widget;
}

class PagePropPageViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterOutputClasses();
        RegisterOutputStrings();
        device.SetFirstPageText(QStringLiteral("INVOICE"));
        device.SetFirstPageColumn(12);
        device.SetFirstPageLine(2);
        device.SetFirstPageWidth(7);
        device.SetCoverLogo(QStringLiteral("ACME"));
        device.SetCoverSignature(QStringLiteral("JSMITH"));
        device.SetStartLine(QStringLiteral("3"));
    }

    QLineEdit* EditOf(QWidget* view, int id) { return Find<QLineEdit>(view, id); }

    ScopedPromptAnswers prompts;
    COutputDevice device{kFileType, QStringLiteral("FILEDEV"), QString()};
};

TEST_F(PagePropPageViewTest, TheChoicesClickedThroughTheirButtons)
{
    COutputDeviceSettingsFilePagePropPage page;
    page.SetDevice(&device);
    COutputDeviceSettingsPagePropPageView view(page);
    view.show();
    ASSERT_TRUE(Find<QCheckBox>(&view, Page::IDC_AND_POSITION)->isChecked());
    ASSERT_EQ(EditOf(&view, Page::IDC_COLUMN)->text(), QStringLiteral("12"));
    EXPECT_EQ(Find<QComboBox>(&view, Page::IDC_OPERATOR)->currentText(), QStringLiteral("Not Equal To"));

    QTest::mouseClick(Find<QRadioButton>(&view, Page::IDC_COMPARE_POSITION), Qt::LeftButton);
    EXPECT_TRUE(EditOf(&view, Page::IDC_COMPARE_TEXT)->text().isEmpty());
    EXPECT_FALSE(EditOf(&view, Page::IDC_COMPARE_TEXT)->isEnabled());
    EXPECT_FALSE(Find<QCheckBox>(&view, Page::IDC_AND_POSITION)->isChecked());
    EXPECT_FALSE(Find<QCheckBox>(&view, Page::IDC_AND_POSITION)->isEnabled());
    EXPECT_TRUE(EditOf(&view, Page::IDC_COLUMN)->isEnabled());
    EXPECT_EQ(EditOf(&view, Page::IDC_COLUMN)->text(), QStringLiteral("12"));

    QTest::mouseClick(Find<QRadioButton>(&view, Page::IDC_COMPARE_DATA_TEXT), Qt::LeftButton);
    EXPECT_TRUE(EditOf(&view, Page::IDC_COMPARE_TEXT)->isEnabled());
    for (int id : {Page::IDC_COLUMN, Page::IDC_LINE, Page::IDC_WIDTH}) {
        EXPECT_EQ(EditOf(&view, id)->text(), QStringLiteral("0")) << "control " << id;
        EXPECT_FALSE(EditOf(&view, id)->isEnabled()) << "control " << id;
    }
    EXPECT_FALSE(Find<CUpDownControl>(&view, Page::IDC_LINE_SPIN)->isEnabled());

    QTest::mouseClick(Find<QCheckBox>(&view, Page::IDC_AND_POSITION), Qt::LeftButton);
    EXPECT_EQ(page.andPosition, 1);
    EXPECT_TRUE(EditOf(&view, Page::IDC_WIDTH)->isEnabled());
    EXPECT_TRUE(Find<CUpDownControl>(&view, Page::IDC_WIDTH_SPIN)->isEnabled());
    EXPECT_TRUE(prompts.Texts().isEmpty());
}

TEST_F(PagePropPageViewTest, UpDownControlsWrapAtTheirEnds)
{
    COutputDeviceSettingsFilePagePropPage page;
    page.SetDevice(&device);
    COutputDeviceSettingsPagePropPageView view(page);
    struct Case
    {
        const char* name;
        int edit;
        int upDown;
        const char* before;
        Qt::Key key;
        const char* after;
    };
    const Case cases[] = {
        {"column up from 999", Page::IDC_COLUMN, Page::IDC_COLUMN_SPIN, "999", Qt::Key_Up, "0"},
        {"line down from 0", Page::IDC_LINE, Page::IDC_LINE_SPIN, "0", Qt::Key_Down, "999"},
        {"width up", Page::IDC_WIDTH, Page::IDC_WIDTH_SPIN, "41", Qt::Key_Up, "42"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CUpDownControl* upDown = Find<CUpDownControl>(&view, c.upDown);
        EXPECT_EQ(upDown->Minimum(), 0);
        EXPECT_EQ(upDown->Maximum(), 999);
        EXPECT_TRUE(upDown->Wraps());
        QLineEdit* edit = EditOf(&view, c.edit);
        EXPECT_EQ(upDown->Buddy(), edit);
        edit->setText(QString::fromLatin1(c.before));
        QTest::keyClick(edit, c.key);
        EXPECT_EQ(edit->text(), QString::fromLatin1(c.after));
    }
}

TEST_F(PagePropPageViewTest, TypingStopsAtTheLimits)
{
    COutputDeviceSettingsFilePagePropPage page;
    page.SetDevice(&device);
    COutputDeviceSettingsPagePropPageView view(page);
    QLineEdit* start = EditOf(&view, Page::IDC_START_LINE);
    start->clear();
    QTest::keyClicks(start, QStringLiteral("1x234"));
    EXPECT_EQ(start->text(), QStringLiteral("123")) << "digits only, three at most";
    QLineEdit* logo = EditOf(&view, Page::IDC_LOGO);
    logo->clear();
    QTest::keyClicks(logo, QStringLiteral("ABCDEFGHIJKL"));
    EXPECT_EQ(logo->text(), QStringLiteral("ABCDEFGHIJ"));
}

// The file page and the document-store page in one sheet on a file
// device: the second page accepts no file device and stores nothing.
class PagePropPageSheetTest : public PagePropPageViewTest
{
protected:
    void SetUp() override
    {
        PagePropPageViewTest::SetUp();
        sheet.AddPage(
            MakeDeviceSheetPage<COutputDeviceSettingsFilePagePropPage, COutputDeviceSettingsPagePropPageView>(&device));
        sheet.AddPage(
            MakeDeviceSheetPage<COutputDeviceSettingsDocStorePagePropPage, COutputDeviceSettingsPagePropPageView>(
                &device));
        sheet.show();
        QApplication::setActiveWindow(&sheet);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet));
    }

    QWidget* View(int index) { return sheet.GetPageView(index); }
    void ClickOk() { sheet.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click(); }

    CNavigationSheet sheet{QStringLiteral("Output Device (*FIL)")};
};

TEST_F(PagePropPageSheetTest, AFailedValueKeepsTheFocusUntilCorrected)
{
    QLineEdit* column = EditOf(View(0), Page::IDC_COLUMN);
    column->setText(QStringLiteral("1000"));
    sheet.NavigationList()->setCurrentRow(1);
    EXPECT_EQ(sheet.GetActiveIndex(), 0);
    EXPECT_EQ(QApplication::focusWidget(), column);
    EXPECT_EQ(column->selectedText(), QStringLiteral("1000"));
    ClickOk();
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(device.GetFirstPageColumn(), 12);
    EXPECT_EQ(prompts.Texts(), QStringList(2, QStringLiteral("Enter an integer between 0 and 999.")));

    column->setText(QStringLiteral("30"));
    ClickOk();
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(device.GetFirstPageColumn(), 30);
}

TEST_F(PagePropPageSheetTest, APageOfAnotherTypeShowsItsDefaultsAndStoresNothing)
{
    ASSERT_TRUE(sheet.SetActivePage(1));
    QWidget* view = View(1);
    EXPECT_TRUE(EditOf(view, Page::IDC_COMPARE_TEXT)->text().isEmpty());
    EXPECT_EQ(EditOf(view, Page::IDC_COLUMN)->text(), QStringLiteral("0"));
    EXPECT_EQ(Find<QComboBox>(view, Page::IDC_OPERATOR)->currentIndex(), -1);
    EXPECT_EQ(view->findChild<QLineEdit*>(QString::number(Page::IDC_LOGO)), nullptr) << "no cover page here";
    EditOf(view, Page::IDC_START_LINE)->setText(QStringLiteral("9"));
    ClickOk();
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(device.GetStartLine(), 3);
    EXPECT_EQ(device.GetFirstPageText(), QStringLiteral("INVOICE"));
}

// The file page, which has every control, in a sheet of its own.
TEST_F(PagePropPageViewTest, TheFilePageRendersAsATidyPage)
{
    CNavigationSheet sheet(QStringLiteral("Output Device (*FIL)"));
    sheet.AddPage(
        MakeDeviceSheetPage<COutputDeviceSettingsFilePagePropPage, COutputDeviceSettingsPagePropPageView>(&device));
    sheet.show();
    sheet.resize(sheet.sizeHint());
    QWidget* view = sheet.GetPageView(0);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(EditOf(view, Page::IDC_SIGNATURE)->text(), QStringLiteral("JSMITH"));
    const QImage image = sheet.grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), sheet.NavigationList()->width() + EditOf(view, Page::IDC_COMPARE_TEXT)->width());
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
    EXPECT_TRUE(image.save(QStringLiteral(KWVD_SCREENSHOT_DIR "/OutputDeviceSettingsFilePage.png")));
}

} // namespace
