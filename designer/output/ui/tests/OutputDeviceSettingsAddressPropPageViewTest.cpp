// The "Address" pages' widgets: the tab order, the typing limits, the
// envelope list nobody uses, and a picture of the fax page.

#include "designer/output/ui/OutputDeviceSettingsAddressPropPageView.h"
#include "designer/output/ui/OutputDevicePropPageSheetPage.h"
#include "designer/output/ui/tests/PropPageViewTestSupport.h"

#include "designer/controls/NavigationSheet.h"
#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "tests/support/QtApplicationEnvironment.h"
#include "tests/support/ScopedPrompts.h"

#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Page = COutputDeviceSettingsAddressPropPage;

constexpr int kEmailType = 4;

using proppage_test::Find;
using proppage_test::TabOrder;

class AddressPropPageViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterOutputClasses();
        RegisterOutputStrings();
    }

    ScopedPromptAnswers prompts;
};

TEST_F(AddressPropPageViewTest, EachPageHasItsEditsInTabOrder)
{
    COutputDeviceSettingsFaxAddrPropPage fax;
    COutputDeviceSettingsEmailAddrPropPage mail;
    struct Case
    {
        const char* name;
        Page& page;
        std::vector<int> order;
    };
    const Case cases[] = {
        {"fax",
         fax,
         {Page::IDC_FROM, Page::IDC_TO, Page::IDC_ATTENTION, Page::IDC_REFERENCE, Page::IDC_USER_NAME,
          Page::IDC_USER_ID, Page::IDC_USER_ADDRESS, Page::IDC_DEPARTMENT, Page::IDC_TRANSPARENCY_ON,
          Page::IDC_TRANSPARENCY_OFF}},
        {"e-mail",
         mail,
         {Page::IDC_ENVELOPE, Page::IDC_FROM, Page::IDC_TO, Page::IDC_SUBJECT, Page::IDC_MESSAGE, Page::IDC_USER_NAME,
          Page::IDC_USER_ID, Page::IDC_USER_ADDRESS, Page::IDC_DEPARTMENT, Page::IDC_FROM_EMAIL, Page::IDC_POSTMASTER}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        COutputDeviceSettingsAddressPropPageView view(c.page);
        EXPECT_EQ(TabOrder(&view), c.order);
        auto* form = qobject_cast<QFormLayout*>(view.layout());
        ASSERT_NE(form, nullptr);
        for (const Page::Row& row : c.page.Rows()) {
            auto* label = qobject_cast<QLabel*>(form->labelForField(Find<QLineEdit>(&view, row.id)));
            ASSERT_NE(label, nullptr) << "control " << row.id;
            EXPECT_EQ(label->text(), c.page.GetLabel(row.id));
        }
    }
}

TEST_F(AddressPropPageViewTest, TheEnvelopeListIsDisabledAndEmpty)
{
    COutputDevice device(kEmailType, QStringLiteral("MAIL"), QString());
    COutputDeviceSettingsEmailAddrPropPage page;
    page.SetDevice(&device);
    COutputDeviceSettingsAddressPropPageView view(page);
    QComboBox* envelope = Find<QComboBox>(&view, Page::IDC_ENVELOPE);
    EXPECT_FALSE(envelope->isEnabled());
    EXPECT_EQ(envelope->count(), 0);
    EXPECT_EQ(envelope->currentIndex(), -1);
    EXPECT_TRUE(view.Apply());
    EXPECT_TRUE(prompts.Texts().isEmpty());
}

TEST_F(AddressPropPageViewTest, TypingStopsAtEachEditsLimit)
{
    COutputDevice device(kEmailType, QStringLiteral("MAIL"), QString());
    COutputDeviceSettingsEmailAddrPropPage page;
    page.SetDevice(&device);
    COutputDeviceSettingsAddressPropPageView view(page);
    struct Case
    {
        const char* name;
        int id;
        int limit;
    };
    const Case cases[] = {
        {"message", Page::IDC_MESSAGE, 1024},
        {"from", Page::IDC_FROM, 50},
        {"user name", Page::IDC_USER_NAME, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QLineEdit* edit = Find<QLineEdit>(&view, c.id);
        edit->setText(QString(c.limit, u'a'));
        QTest::keyClicks(edit, QStringLiteral("b"));
        EXPECT_EQ(edit->text(), QString(c.limit, u'a')) << "one more cannot be typed";
    }
    EXPECT_TRUE(view.Apply());
    QString message;
    device.GetMessage(message);
    EXPECT_EQ(message, QString(1024, u'a'));
    EXPECT_EQ(device.GetUserName(), QString(10, u'A'));
}

// The fax page with values, in a sheet of its own.
TEST_F(AddressPropPageViewTest, TheFaxPageRendersAsATidyPage)
{
    COutputDevice device(COutputDevice::kFaxType, QStringLiteral("FAX"), QString());
    device.SetFrom(QStringLiteral("Accounts Receivable"));
    device.SetTo(QStringLiteral("?002,010,020"));
    device.SetAttention(QStringLiteral("Purchasing"));
    device.SetUserName(QStringLiteral("JSMITH"));
    device.SetTransparencyOn(QStringLiteral("<Esc>On"));
    CNavigationSheet sheet(QStringLiteral("Output Device (*FAX)"));
    sheet.AddPage(
        MakeDeviceSheetPage<COutputDeviceSettingsFaxAddrPropPage, COutputDeviceSettingsAddressPropPageView>(&device));
    sheet.show();
    sheet.resize(sheet.sizeHint());
    QWidget* view = sheet.GetPageView(0);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Find<QLineEdit>(view, Page::IDC_USER_NAME)->text(), QStringLiteral("JSMITH"));
    const QImage image = sheet.grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), sheet.NavigationList()->width() + Find<QLineEdit>(view, Page::IDC_FROM)->width());
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
    EXPECT_TRUE(image.save(QStringLiteral(KWVD_SCREENSHOT_DIR "/OutputDeviceSettingsFaxAddressPage.png")));
}

} // namespace
