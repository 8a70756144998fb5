// The print "General" pages on the screen (offscreen): the order Tab
// follows, the focus brought back to the library, the copies message
// shown once, the offsets dialog run on the sheet's copy, and a picture of
// the *SCS page for a person to see.

#include "designer/output/ui/OutputDeviceSettingsPrintGeneralPropPageView.h"
#include "designer/output/ui/OutputDevicePropPageSheetPage.h"

#include "designer/controls/NavigationSheet.h"
#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/ui/tests/OutputDeviceSettingsGeneralPageTesting.h"
#include "tests/support/QtApplicationEnvironment.h"
#include "tests/support/ScopedPrompts.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

using Page = COutputDeviceSettingsPrintGenPropPage;

class PrintGenPropPageViewTest : public ::testing::Test
{
protected:
    // The *SCS page on its own in an active window.
    void ShowScsPage()
    {
        view = std::make_unique<COutputDeviceSettingsPrintGenPropPageView>(scsPage);
        ASSERT_TRUE(ShowActive(*view));
    }

    OutputStringsRegistered registered;
    ScopedPromptAnswers prompts;
    COutputDevice scsDevice{0, QStringLiteral("SCSPRT"), QString()};
    COutputDeviceSettingsScsGenPropPage scsPage;
    std::unique_ptr<COutputDeviceSettingsPrintGenPropPageView> view;
};

TEST_F(PrintGenPropPageViewTest, TabFollowsEachPagesOrder)
{
    COutputDeviceSettingsScsGenPropPage scs;
    COutputDeviceSettingsAfpGenPropPage afp;
    COutputDeviceSettingsHptGenPropPage hpt;
    for (Page* page : {static_cast<Page*>(&scs), static_cast<Page*>(&afp), static_cast<Page*>(&hpt)}) {
        SCOPED_TRACE(page->GetDialogId());
        COutputDeviceSettingsPrintGenPropPageView pageView(*page);
        std::vector<int> expected;
        for (const int id : page->TabOrder()) {
            if (id != Page::IDC_NAME)
                expected.push_back(id);
        }
        EXPECT_EQ(TabChain(&pageView, expected.front()), expected);
    }
}

TEST_F(PrintGenPropPageViewTest, TabFromANewNamedQueueLandsInTheLibrary)
{
    scsDevice.SetOutputQueue(QStringLiteral("PRTQ09"));
    scsPage.SetDevice(&scsDevice);
    ShowScsPage();
    auto* queue = FindControl<QComboBox>(view.get(), Page::IDC_OUTPUT_QUEUE);
    auto* library = FindControl<QLineEdit>(view.get(), Page::IDC_LIBRARY);
    // "*DEV" chosen from the list first.
    queue->setCurrentIndex(0);
    emit queue->activated(0);
    ASSERT_EQ(scsDevice.GetOutputQueue(), QStringLiteral("*DEV"));
    ASSERT_FALSE(library->isEnabled());

    queue->setFocus(Qt::TabFocusReason);
    queue->lineEdit()->selectAll();
    QTest::keyClicks(queue, QStringLiteral("PRTQ01"));
    QTest::keyClick(queue, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), library);
    EXPECT_TRUE(library->isEnabled());
    EXPECT_EQ(scsDevice.GetOutputQueue(), QStringLiteral("PRTQ01"));
    EXPECT_EQ(queue->currentText(), QStringLiteral("PRTQ01")) << "the typed queue, not the entry chosen before";
    EXPECT_FALSE(FindControl<QComboBox>(view.get(), Page::IDC_PRINTER_DEVICE)->isEnabled());
    EXPECT_TRUE(prompts.Texts().isEmpty());
}

TEST_F(PrintGenPropPageViewTest, ChoosingAQueueFromTheListStoresIt)
{
    scsDevice.SetOutputQueue(QStringLiteral("PRTQ01"));
    scsPage.SetDevice(&scsDevice);
    ShowScsPage();
    auto* queue = FindControl<QComboBox>(view.get(), Page::IDC_OUTPUT_QUEUE);
    queue->setCurrentIndex(0);
    emit queue->activated(0);
    EXPECT_EQ(scsDevice.GetOutputQueue(), QStringLiteral("*DEV"));
    EXPECT_TRUE(FindControl<QComboBox>(view.get(), Page::IDC_PRINTER_DEVICE)->isEnabled());
    EXPECT_FALSE(FindControl<QLineEdit>(view.get(), Page::IDC_LIBRARY)->isEnabled());
}

TEST_F(PrintGenPropPageViewTest, CopiesOutOfRangeAreToldOnceAndShowOne)
{
    scsPage.SetDevice(&scsDevice);
    ShowScsPage();
    auto* copies = FindControl<QLineEdit>(view.get(), Page::IDC_COPIES);
    copies->setFocus(Qt::TabFocusReason);
    copies->selectAll();
    QTest::keyClicks(copies, QStringLiteral("300"));
    QTest::keyClick(copies, Qt::Key_Tab);
    EXPECT_EQ(prompts.Texts(), QStringList(QStringLiteral("Please enter an integer between 1 and 255.")));
    EXPECT_EQ(copies->text(), QStringLiteral("1"));
    EXPECT_NE(QApplication::focusWidget(), copies);
}

TEST_F(PrintGenPropPageViewTest, OffsetsChangeTheSheetsCopyWhichCancelDiscards)
{
    COutputDevice original(2, QStringLiteral("HPTPRT"), QString());
    COutputDevice copy;
    copy.Copy(&original);
    CNavigationSheet sheet(QStringLiteral("Output Device (*HPT)"));
    auto sheetPage =
        MakeDeviceSheetPage<COutputDeviceSettingsHptGenPropPage, COutputDeviceSettingsPrintGenPropPageView>(&copy);
    int runs = 0;
    static_cast<Page&>(sheetPage->Model()).SetOffsetsRunner([&runs](COutputDevice* device) {
        ++runs;
        ASSERT_NE(device, nullptr);
        device->SetTextOffsetLandscape(QPoint(11, 22));
    });
    sheet.AddPage(std::move(sheetPage));
    sheet.show();
    QTest::mouseClick(FindControl<QPushButton>(sheet.GetPageView(0), Page::IDC_OFFSETS), Qt::LeftButton);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(copy.GetTextOffsetLandscape(), QPoint(11, 22));
    sheet.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    EXPECT_EQ(sheet.result(), QDialog::Rejected);
    EXPECT_EQ(original.GetTextOffsetLandscape(), QPoint(240, 360));
}

TEST_F(PrintGenPropPageViewTest, TheScsPageRendersAsATidyPage)
{
    scsDevice.SetOutputQueue(QStringLiteral("PRTQ01"));
    scsDevice.SetOutputQueueLibrary(QStringLiteral("QGPL"));
    scsDevice.SetCopies(2);
    CNavigationSheet sheet(QStringLiteral("Output Device (*SCS)"));
    sheet.AddPage(MakeDeviceSheetPage<COutputDeviceSettingsScsGenPropPage, COutputDeviceSettingsPrintGenPropPageView>(
        &scsDevice));
    sheet.show();
    sheet.resize(sheet.sizeHint());
    QWidget* page = sheet.GetPageView(0);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(FindControl<QLineEdit>(page, Page::IDC_LIBRARY)->text(), QStringLiteral("QGPL"));
    EXPECT_TRUE(FindControl<QRadioButton>(page, Page::IDC_COPIES_NUMBER)->isChecked());
    const QImage image = sheet.grab().toImage();
    ASSERT_FALSE(image.isNull());
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
    EXPECT_TRUE(image.save(QStringLiteral(KWVD_SCREENSHOT_DIR "/OutputDeviceSettingsScsGeneralPage.png")));
}

} // namespace
