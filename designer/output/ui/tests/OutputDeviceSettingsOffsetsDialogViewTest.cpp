// "Printer Offsets" on the screen (offscreen): the focus after a value that
// fails its check, the preset box losing the focus, OK and Cancel, and the
// dialog drawn into a PNG for a person to look at.

#include "designer/output/ui/OutputDeviceSettingsOffsetsDialogView.h"
#include "designer/output/OutputDevice.h"
#include "platform/ui/qt/DialogBinder.h"
#include "tests/support/OffsetsPresetFiles.h"
#include "tests/support/QtApplicationEnvironment.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

using Dialog = COutputDeviceSettingsOffsetsDialog;
using Offsets = COutputDeviceOffsetsPreset::Offsets;

const PresetRecord kFactory{u"Factory", 1, {360, 240, 240, 360, 360, 240, 240, 360}};
const PresetRecord kLaser{u"Laser", 0, {100, 200, 300, 400, 500, 600, 700, 800}};

class OffsetsViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteFileBytes(scope.Path(), PresetsFile({kFactory, kLaser}));
        view = std::make_unique<COutputDeviceSettingsOffsetsDialogView>();
        view->SetDevice(&device);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    }
    void TearDown() override { view.reset(); }

    template <class Widget>
    Widget* Control(int id) const
    {
        auto* widget = qobject_cast<Widget*>(FindDialogControl(view.get(), id));
        EXPECT_NE(widget, nullptr) << id;
        return widget;
    }

    PresetsFileScope scope;
    COutputDevice device;
    std::unique_ptr<COutputDeviceSettingsOffsetsDialogView> view;
};

TEST_F(OffsetsViewTest, OpensWithThePresetOfTheDevicesValues)
{
    EXPECT_EQ(view->windowTitle(), QStringLiteral("Printer Offsets"));
    auto* presets = Control<QComboBox>(Dialog::IDC_PRESET);
    EXPECT_EQ(presets->currentText(), QStringLiteral("Factory"));
    EXPECT_EQ(presets->count(), 2);
    EXPECT_EQ(Control<QLineEdit>(Dialog::IDC_PORTRAIT_IMAGE_RIGHT)->text(), QStringLiteral("360"));
    EXPECT_EQ(Control<QLineEdit>(Dialog::IDC_LANDSCAPE_IMAGE_UP)->text(), QStringLiteral("360"));
}

TEST_F(OffsetsViewTest, OkWithAFailedValueFocusesItAndStaysOpen)
{
    QLineEdit* edit = Control<QLineEdit>(Dialog::IDC_LANDSCAPE_TEXT_DOWN);
    edit->setText(QStringLiteral("100000"));
    Control<QPushButton>(IDOK)->setFocus();
    QTest::mouseClick(Control<QPushButton>(IDOK), Qt::LeftButton);
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->result(), QDialog::Rejected);
    EXPECT_EQ(QApplication::focusWidget(), edit);
    EXPECT_EQ(edit->selectedText(), QStringLiteral("100000"));
    EXPECT_EQ(scope.Prompts().Texts(), QStringList{QStringLiteral("Enter an integer between 0 and 99999.")});
    EXPECT_EQ(device.GetTextOffsetLandscape(), QPoint(240, 360));

    edit->setText(QStringLiteral("99999"));
    QTest::mouseClick(Control<QPushButton>(IDOK), Qt::LeftButton);
    EXPECT_FALSE(view->isVisible());
    EXPECT_EQ(view->result(), QDialog::Accepted);
    EXPECT_EQ(device.GetTextOffsetLandscape(), QPoint(240, 99999));
}

TEST_F(OffsetsViewTest, LeavingThePresetBoxLoadsTheTypedName)
{
    auto* presets = Control<QComboBox>(Dialog::IDC_PRESET);
    presets->setFocus();
    ASSERT_TRUE(presets->hasFocus());
    presets->lineEdit()->selectAll();
    QTest::keyClicks(presets->lineEdit(), QStringLiteral("Laser"));
    ASSERT_EQ(Control<QLineEdit>(Dialog::IDC_PORTRAIT_IMAGE_RIGHT)->text(), QStringLiteral("360"));
    Control<QLineEdit>(Dialog::IDC_PORTRAIT_IMAGE_RIGHT)->setFocus();
    EXPECT_EQ(Control<QLineEdit>(Dialog::IDC_PORTRAIT_IMAGE_RIGHT)->text(), QStringLiteral("100"));
    EXPECT_EQ(Control<QLineEdit>(Dialog::IDC_LANDSCAPE_TEXT_DOWN)->text(), QStringLiteral("800"));
    EXPECT_EQ(presets->currentText(), QStringLiteral("Laser"));
    EXPECT_EQ(presets->currentIndex(), 1);
    EXPECT_TRUE(scope.Prompts().Texts().isEmpty());
}

TEST_F(OffsetsViewTest, ChoosingAnEntryWithTheKeysLoadsIt)
{
    auto* presets = Control<QComboBox>(Dialog::IDC_PRESET);
    presets->setFocus();
    QTest::keyClick(presets, Qt::Key_Down);
    EXPECT_EQ(presets->currentText(), QStringLiteral("Laser"));
    EXPECT_EQ(Control<QLineEdit>(Dialog::IDC_PORTRAIT_IMAGE_RIGHT)->text(), QStringLiteral("100"));
    EXPECT_EQ(view->Model().GetPresetName(), QStringLiteral("Laser"));
}

TEST_F(OffsetsViewTest, AnUnknownTypedNameStaysInTheBox)
{
    auto* presets = Control<QComboBox>(Dialog::IDC_PRESET);
    presets->setFocus();
    presets->lineEdit()->selectAll();
    QTest::keyClicks(presets->lineEdit(), QStringLiteral("Proof"));
    QTest::mouseClick(Control<QPushButton>(Dialog::IDC_ADD), Qt::LeftButton);
    EXPECT_EQ(presets->currentText(), QStringLiteral("Proof"));
    EXPECT_EQ(presets->count(), 3);
    EXPECT_EQ(view->Model().FindPresetByName(QStringLiteral("Proof"))->GetOffsets(),
              COutputDeviceOffsetsPreset::OffsetsOf(device));
}

TEST_F(OffsetsViewTest, CancelLeavesTheDevice)
{
    Control<QLineEdit>(Dialog::IDC_PORTRAIT_IMAGE_RIGHT)->setText(QStringLiteral("1"));
    QTest::mouseClick(Control<QPushButton>(IDCANCEL), Qt::LeftButton);
    EXPECT_FALSE(view->isVisible());
    EXPECT_EQ(device.GetImageOffsetPortrait(), QPoint(360, 240));
}

// Dialog 152 drawn into a PNG: the "Portrait" group above the "Landscape"
// group, each with image offsets left and text offsets right, the preset
// row under them, then OK and Cancel.
TEST_F(OffsetsViewTest, RendersIntoAPicture)
{
    auto* portrait = Control<QGroupBox>(Dialog::IDC_PORTRAIT_GROUP);
    auto* landscape = Control<QGroupBox>(Dialog::IDC_LANDSCAPE_GROUP);
    EXPECT_EQ(portrait->title(), QStringLiteral("Portrait"));
    EXPECT_EQ(landscape->title(), QStringLiteral("Landscape"));
    EXPECT_LT(portrait->geometry().bottom(), landscape->geometry().top());
    const auto at = [this](int id) { return FindDialogControl(view.get(), id)->mapTo(view.get(), QPoint(0, 0)); };
    // First row down, second row right; image left of text.
    EXPECT_LT(at(Dialog::IDC_PORTRAIT_IMAGE_DOWN).y(), at(Dialog::IDC_PORTRAIT_IMAGE_RIGHT).y());
    EXPECT_LT(at(Dialog::IDC_PORTRAIT_IMAGE_DOWN).x(), at(Dialog::IDC_PORTRAIT_TEXT_DOWN).x());
    EXPECT_LT(at(Dialog::IDC_LANDSCAPE_IMAGE_UP).y(), at(Dialog::IDC_LANDSCAPE_IMAGE_RIGHT).y());
    EXPECT_LT(at(Dialog::IDC_LANDSCAPE_IMAGE_UP).x(), at(Dialog::IDC_LANDSCAPE_TEXT_DOWN).x());
    EXPECT_LT(landscape->geometry().bottom(), at(Dialog::IDC_PRESET).y());
    EXPECT_LT(at(Dialog::IDC_PRESET).y(), at(IDOK).y());
    for (const int id : Dialog::kOffsetControls) {
        auto* edit = Control<QLineEdit>(id);
        EXPECT_GE(edit->width(), edit->fontMetrics().horizontalAdvance(QStringLiteral("99999"))) << id;
    }

    const QImage shot = view->grab().toImage();
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
    const QString path = QStringLiteral(KWVD_SCREENSHOT_DIR "/printer-offsets-152.png");
    ASSERT_TRUE(shot.save(path, "PNG"));
    EXPECT_FALSE(QImage(path).isNull());
}

} // namespace
