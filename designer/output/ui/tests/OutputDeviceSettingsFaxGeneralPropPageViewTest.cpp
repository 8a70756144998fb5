// The fax, e-mail and file "General" pages on the screen (offscreen): the
// fax form file left with Tab, the format lists closing, the order Tab
// follows through the groups, and a picture of the fax page for a person
// to see.

#include "designer/output/ui/OutputDeviceSettingsFaxGeneralPropPageView.h"
#include "designer/output/ui/OutputDevicePropPageSheetPage.h"
#include "designer/output/ui/OutputDeviceSettingsEmailGeneralPropPageView.h"
#include "designer/output/ui/OutputDeviceSettingsFileGeneralPropPageView.h"

#include "designer/controls/NavigationSheet.h"
#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/ui/tests/OutputDeviceSettingsGeneralPageTesting.h"
#include "tests/support/QtApplicationEnvironment.h"
#include "tests/support/ScopedPrompts.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Fax = COutputDeviceSettingsFaxGenPropPage;
using Email = COutputDeviceSettingsEmailGenPropPage;
using File = COutputDeviceSettingsFileGenPropPage;

class SendGenPropPageViewTest : public ::testing::Test
{
protected:
    OutputStringsRegistered registered;
    ScopedPromptAnswers prompts;
};

TEST_F(SendGenPropPageViewTest, LeavingTheFaxFormFileEnablesLibraryAndMember)
{
    COutputDevice device(COutputDevice::kFaxType, QStringLiteral("FAXDEV"), QString());
    Fax page;
    page.SetDevice(&device);
    COutputDeviceSettingsFaxGenPropPageView view(page);
    ASSERT_TRUE(ShowActive(view));
    auto* form = FindControl<QLineEdit>(&view, Fax::IDC_FAX_FORM);
    auto* library = FindControl<QLineEdit>(&view, Fax::IDC_FAX_FORM_LIBRARY);
    ASSERT_FALSE(library->isEnabled());
    form->setFocus(Qt::TabFocusReason);
    form->selectAll();
    QTest::keyClicks(form, QStringLiteral("invform"));
    EXPECT_EQ(form->text(), QStringLiteral("INVFORM")) << "typed in upper case";
    QTest::keyClick(form, Qt::Key_Tab);
    EXPECT_EQ(device.GetFaxForm(), QStringLiteral("INVFORM"));
    EXPECT_TRUE(library->isEnabled());
    EXPECT_TRUE(FindControl<QLineEdit>(&view, Fax::IDC_FAX_FORM_MEMBER)->isEnabled());
    EXPECT_TRUE(FindControl<QLineEdit>(&view, Fax::IDC_FONT_GROUP)->isReadOnly());
}

TEST_F(SendGenPropPageViewTest, TheExtensionFollowsWhenTheFormatListCloses)
{
    COutputDevice device(Email::kEmailType, QStringLiteral("MAILDEV"), QString());
    Email page;
    page.SetDevice(&device);
    COutputDeviceSettingsEmailGenPropPageView view(page);
    view.show();
    auto* format = FindControl<QComboBox>(&view, Email::IDC_ATTACHMENT_FORMAT);
    auto* extension = FindControl<QLineEdit>(&view, Email::IDC_ATTACHMENT_EXTENSION);
    format->showPopup();
    format->setCurrentIndex(0);
    format->hidePopup();
    EXPECT_EQ(extension->text(), QStringLiteral("PDF"));

    // Closed without a new choice, the rule still runs on what is shown.
    extension->setText(QStringLiteral("LIS"));
    format->showPopup();
    format->hidePopup();
    EXPECT_EQ(extension->text(), QStringLiteral("PDF"));
    EXPECT_EQ(device.GetAttachmentExtension(), QStringLiteral("TXT")) << "stored only on OK";
}

// Qt hides a combo box's list also when the box itself is hidden or goes
// with its page: that is no close-up, and a page being destroyed is told
// nothing.
TEST_F(SendGenPropPageViewTest, HidingOrClosingThePageIsNoCloseUp)
{
    COutputDevice device(Email::kEmailType, QStringLiteral("MAILDEV"), QString());
    Email page;
    page.SetDevice(&device);
    {
        COutputDeviceSettingsEmailGenPropPageView view(page);
        view.show();
        auto* format = FindControl<QComboBox>(&view, Email::IDC_ATTACHMENT_FORMAT);
        auto* extension = FindControl<QLineEdit>(&view, Email::IDC_ATTACHMENT_EXTENSION);
        format->setCurrentIndex(0);
        extension->setText(QStringLiteral("LIS"));
        view.hide();
        EXPECT_EQ(extension->text(), QStringLiteral("LIS"));
        view.show();
        format->showPopup();
    }
    EXPECT_EQ(page.Control(Email::IDC_ATTACHMENT_EXTENSION).text, QStringLiteral("TXT"));
    EXPECT_EQ(device.GetAttachmentExtension(), QStringLiteral("TXT"));
}

TEST_F(SendGenPropPageViewTest, TabGoesThroughTheGroupsInOrder)
{
    Email email;
    COutputDeviceSettingsEmailGenPropPageView emailView(email);
    EXPECT_EQ(TabChain(&emailView, Email::IDC_SPOOLED_FILE_STATUS),
              (std::vector<int>{1230, 1296, 1299, 1284, 1211, 1210, 1209, 1208, 1298}));
    File file;
    COutputDeviceSettingsFileGenPropPageView fileView(file);
    EXPECT_EQ(TabChain(&fileView, File::IDC_FILE_PATH),
              (std::vector<int>{1266, 1245, 1243, 1242, 1239, 1240, 1241, 1297}));
    Fax fax;
    COutputDeviceSettingsFaxGenPropPageView faxView(fax);
    EXPECT_EQ(TabChain(&faxView, Fax::IDC_SPOOLED_FILE_STATUS),
              (std::vector<int>{1230, 1296, 1287, 1236, 1237, 1238, 1299, 1284, 1316, 1298}));
}

TEST_F(SendGenPropPageViewTest, AFilePathTakesNoMoreThan256Characters)
{
    File page;
    COutputDeviceSettingsFileGenPropPageView view(page);
    auto* path = FindControl<QLineEdit>(&view, File::IDC_FILE_PATH);
    path->clear();
    QTest::keyClicks(path, QString(257, u'a'));
    EXPECT_EQ(path->text().size(), 256);
}

TEST_F(SendGenPropPageViewTest, TheFaxPageRendersAsATidyPage)
{
    COutputDevice device(COutputDevice::kFaxType, QStringLiteral("FAXDEV"), QString());
    device.SetFaxForm(QStringLiteral("INVFORM"));
    device.SetFaxFormLibrary(QStringLiteral("FORMS"));
    device.SetStartLine(QStringLiteral("3"));
    CNavigationSheet sheet(QStringLiteral("Output Device (*FAX)"));
    sheet.AddPage(MakeDeviceSheetPage<Fax, COutputDeviceSettingsFaxGenPropPageView>(&device));
    sheet.show();
    sheet.resize(sheet.sizeHint());
    QWidget* page = sheet.GetPageView(0);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(FindControl<QLineEdit>(page, Fax::IDC_FAX_FORM_LIBRARY)->text(), QStringLiteral("FORMS"));
    EXPECT_EQ(FindControl<QComboBox>(page, Fax::IDC_PRIORITY)->currentText(), QStringLiteral("Normal"));
    const QImage image = sheet.grab().toImage();
    ASSERT_FALSE(image.isNull());
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
    EXPECT_TRUE(image.save(QStringLiteral(KWVD_SCREENSHOT_DIR "/OutputDeviceSettingsFaxGeneralPage.png")));
}

} // namespace
