// The display device's settings window driven through its widgets offscreen:
// captions and labels, typing, OK and Cancel through the buttons, the focus
// on a refused field, help, and a picture of the window.

#include "designer/output/ui/OutputDeviceSettingsDspDialogView.h"
#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "platform/ui/HelpPrompt.h"
#include "platform/ui/qt/DialogBinder.h"
#include "tests/support/QtApplicationEnvironment.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>

#include <memory>
#include <vector>

namespace {

using Dialog = COutputDeviceSettingsDspDialog;

class DspDialogViewTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { RegisterOutputStrings(); }

    void SetUp() override
    {
        m_device.SetDisplayDocument(QStringLiteral("INVOICES"));
        m_device.SetDisplayFolder(QStringLiteral("QGPL/PCSRV"));
        m_device.SetDisplayTargetAddress(QStringLiteral("PC042"));
        m_device.SetDisplayServerPath(QStringLiteral("/HOME/ANN/KWVD/EXPORT"));
        m_device.SetRotationText(QStringLiteral("1"));
        m_view = std::make_unique<COutputDeviceSettingsDspDialogView>();
        ASSERT_TRUE(m_view->Model().SetDevice(&m_device));
    }

    void Show()
    {
        m_view->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_view.get()) || m_view->isVisible());
    }

    template <class T = QLineEdit>
    T* Field(int id) const
    {
        return qobject_cast<T*>(FindDialogControl(m_view.get(), id));
    }

    void Click(int button) const
    {
        auto* widget = Field<QAbstractButton>(button);
        ASSERT_NE(widget, nullptr);
        QTest::mouseClick(widget, Qt::LeftButton);
    }

    // Replaces the field's text as a user would: select all, type.
    void Type(int id, const QString& text) const
    {
        QLineEdit* edit = Field(id);
        ASSERT_NE(edit, nullptr);
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    ScopedPromptAnswers m_prompts;
    COutputDevice m_device{5, QStringLiteral("SCREEN1"), QStringLiteral("Display")};
    std::unique_ptr<COutputDeviceSettingsDspDialogView> m_view;
};

TEST_F(DspDialogViewTest, ShowsTheDeviceUnderItsCaptionAndLabels)
{
    Show();
    EXPECT_EQ(m_view->windowTitle(), QStringLiteral("Output Device Settings - (*DSP)"));

    auto* grid = m_view->findChild<QGridLayout*>();
    ASSERT_NE(grid, nullptr);
    const QStringList labels{
        "Name:", "Document:", "Folder:", "Target Address:", "PC Path to Server:", "Port:", "Rotation:", "Font Group:"};
    ASSERT_EQ(grid->rowCount(), labels.size());
    for (int row = 0; row < grid->rowCount(); ++row) {
        auto* label = qobject_cast<QLabel*>(grid->itemAtPosition(row, 0)->widget());
        ASSERT_NE(label, nullptr) << row;
        EXPECT_EQ(label->text(), labels.at(row));
        EXPECT_EQ(label->buddy(), grid->itemAtPosition(row, 1)->widget()) << row;
    }
    EXPECT_EQ(Field(Dialog::IDC_NAME)->text(), QStringLiteral("SCREEN1"));
    EXPECT_TRUE(Field(Dialog::IDC_NAME)->isReadOnly());
    EXPECT_EQ(Field(Dialog::IDC_DOCUMENT)->text(), QStringLiteral("INVOICES"));
    EXPECT_EQ(Field(Dialog::IDC_PORT)->text(), QStringLiteral("3771"));
    EXPECT_EQ(Field<QComboBox>(Dialog::IDC_ROTATION)->currentText(), QStringLiteral("Landscape"));
    EXPECT_EQ(Field(Dialog::IDC_FONT_GROUP)->text(), QStringLiteral("*DOC"));
    EXPECT_TRUE(Field(Dialog::IDC_FONT_GROUP)->isReadOnly());
    EXPECT_EQ(Field<QAbstractButton>(Dialog::IDC_HELP)->text(), QStringLiteral("&Help"));
    EXPECT_EQ(QApplication::focusWidget(), Field(Dialog::IDC_DOCUMENT));
}

TEST_F(DspDialogViewTest, TypedLettersBecomeCapitalsAndStopAtTheFieldsWidth)
{
    Show();
    Type(Dialog::IDC_DOCUMENT, QStringLiteral("invoices12xy"));
    EXPECT_EQ(Field(Dialog::IDC_DOCUMENT)->text(), QStringLiteral("INVOICES12"));
    Type(Dialog::IDC_FOLDER, QStringLiteral("qgpl/pcsrv2"));
    EXPECT_EQ(Field(Dialog::IDC_FOLDER)->text(), QStringLiteral("QGPL/PCSRV2"));
    Type(Dialog::IDC_PORT, QStringLiteral("8a0"));
    EXPECT_EQ(Field(Dialog::IDC_PORT)->text(), QStringLiteral("80"));

    Click(Dialog::IDC_OK);
    EXPECT_EQ(m_view->result(), QDialog::Accepted);
    EXPECT_EQ(m_device.GetDisplayDocument(), QStringLiteral("INVOICES12"));
    EXPECT_EQ(m_device.GetDisplayFolder(), QStringLiteral("QGPL/PCSRV2"));
    EXPECT_EQ(m_device.GetDisplayPort(), 80);
}

TEST_F(DspDialogViewTest, ARefusedPortKeepsTheWindowOpenOnTheSelectedPort)
{
    Show();
    Type(Dialog::IDC_DOCUMENT, QStringLiteral("other"));
    Type(Dialog::IDC_PORT, QStringLiteral("10000"));
    Click(Dialog::IDC_OK);

    EXPECT_EQ(m_prompts.Texts(), QStringList{"Enter an integer between 0 and 9999."});
    EXPECT_TRUE(m_view->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), Field(Dialog::IDC_PORT));
    EXPECT_EQ(Field(Dialog::IDC_PORT)->selectedText(), QStringLiteral("10000"));
    EXPECT_EQ(m_device.GetDisplayPort(), 3771);
    EXPECT_EQ(m_device.GetDisplayDocument(), QStringLiteral("INVOICES"));

    Type(Dialog::IDC_PORT, QStringLiteral("9999"));
    Click(Dialog::IDC_OK);
    EXPECT_FALSE(m_view->isVisible());
    EXPECT_EQ(m_view->result(), QDialog::Accepted);
    EXPECT_EQ(m_device.GetDisplayPort(), 9999);
    EXPECT_EQ(m_device.GetDisplayDocument(), QStringLiteral("OTHER"));
}

TEST_F(DspDialogViewTest, CancelAfterEditingLeavesTheDeviceUnchanged)
{
    Show();
    Type(Dialog::IDC_DOCUMENT, QStringLiteral("other"));
    Type(Dialog::IDC_PORT, QStringLiteral("1234"));
    Field<QComboBox>(Dialog::IDC_ROTATION)->setCurrentIndex(0);
    Click(Dialog::IDC_CANCEL);

    EXPECT_FALSE(m_view->isVisible());
    EXPECT_EQ(m_view->result(), QDialog::Rejected);
    EXPECT_EQ(m_device.GetDisplayDocument(), QStringLiteral("INVOICES"));
    EXPECT_EQ(m_device.GetDisplayPort(), 3771);
    EXPECT_EQ(m_device.GetRotation(), 1);
    EXPECT_TRUE(m_prompts.Texts().isEmpty());
}

TEST_F(DspDialogViewTest, ADeviceGivenToTheOpenWindowIsShownAtOnce)
{
    Show();
    COutputDevice other(5, QStringLiteral("SCREEN2"), QString());
    other.SetDisplayPort(4000);
    ASSERT_TRUE(m_view->Model().SetDevice(&other));
    EXPECT_EQ(Field(Dialog::IDC_NAME)->text(), QStringLiteral("SCREEN2"));
    EXPECT_EQ(Field(Dialog::IDC_DOCUMENT)->text(), QStringLiteral("SCREEN2"));
    EXPECT_EQ(Field(Dialog::IDC_PORT)->text(), QStringLiteral("4000"));
    EXPECT_EQ(Field<QComboBox>(Dialog::IDC_ROTATION)->currentText(), QStringLiteral("*DOC"));
}

TEST_F(DspDialogViewTest, HelpButtonSendsTheRequestAndKeepsTheWindowOpen)
{
    std::vector<HelpRequest> requests;
    const HelpRequestHandler earlier =
        SetHelpRequestHandler([&](const HelpRequest& request) { requests.push_back(request); });
    Show();
    Click(Dialog::IDC_HELP);
    SetHelpRequestHandler(earlier);

    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].contextId, Dialog::kHelpContext);
    EXPECT_EQ(requests[0].item, m_view.get());
    EXPECT_TRUE(m_view->isVisible());
}

TEST_F(DspDialogViewTest, RendersTheWindowIntoAPicture)
{
    Show();
    const QImage shot = m_view->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    // Every field fits inside the window.
    for (QWidget* child : m_view->findChildren<QWidget*>()) {
        if (child->isVisible() && !child->objectName().isEmpty()) {
            EXPECT_TRUE(m_view->rect().contains(child->geometry())) << child->objectName().toStdString();
        }
    }
    // The document field shows its text on the edit's own background.
    QLineEdit* document = Field(Dialog::IDC_DOCUMENT);
    const QPoint inside = document->mapTo(m_view.get(), QPoint(document->width() - 4, document->height() / 2));
    EXPECT_EQ(shot.pixelColor(inside * shot.devicePixelRatio()), document->palette().color(QPalette::Base));

    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
    const QString path = QStringLiteral(KWVD_SCREENSHOT_DIR "/output-device-settings-dsp.png");
    ASSERT_TRUE(shot.save(path, "PNG"));
    EXPECT_FALSE(QImage(path).isNull());
}

} // namespace
