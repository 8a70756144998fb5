// The "Export To Server" dialog offscreen with the upload in the test's
// hands: the member name's check, the version, the controls while an upload
// runs and after it failed, and the picture of the dialog at that moment.

#include "designer/controls/PictureEx.h"
#include "designer/shell/ExportToAS400UsingSocketsDlg.h"
#include "designer/shell/tests/ProgramTestFixture.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <vector>

namespace {

struct UploadCall
{
    QString member;
    int version;
    BOOL autoImport;
    BOOL overwrite;
};

class ExportToServerDialogTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartProgram({}, QSize()));
        env.prompts->ClearRecorded();
    }

    // A dialog over the program's document whose upload is recorded and
    // answered with result.
    std::unique_ptr<CExportToAS400UsingSocketsDlg> Open(const QString& member, int version, int result = 0,
                                                        std::function<void(CExportToAS400UsingSocketsDlg&)> during = {})
    {
        auto dialog = std::make_unique<CExportToAS400UsingSocketsDlg>(
            doc, [this, result, during](const QString& name, int chosenVersion, BOOL autoImport, BOOL overwrite) {
                calls.push_back({name, chosenVersion, autoImport, overwrite});
                if (during)
                    during(*m_dialog);
                return result;
            });
        m_dialog = dialog.get();
        dialog->m_memberName = member;
        dialog->m_version = version;
        dialog->m_autoImport = 1;
        dialog->OnInitDialog();
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        return dialog;
    }

    std::vector<UploadCall> calls;
    CExportToAS400UsingSocketsDlg* m_dialog = nullptr;
};

TEST_F(ExportToServerDialogTest, OffersTheVersionsAndTheCurrentOne)
{
    auto dialog = Open(QStringLiteral("INVOICE"), 14);
    ASSERT_EQ(dialog->VersionCombo()->count(), 24);
    EXPECT_EQ(dialog->VersionCombo()->itemText(0), QStringLiteral("Version 28"));
    EXPECT_EQ(dialog->VersionCombo()->itemText(23), QStringLiteral("Version 5"));
    EXPECT_EQ(dialog->VersionCombo()->currentData().toInt(), 14);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Export To Server"));
    EXPECT_EQ(dialog->AutoImportCheck()->text(), QStringLiteral("Automatically Import into KWVD"));
    EXPECT_TRUE(dialog->AutoImportCheck()->isChecked());
    EXPECT_FALSE(dialog->OverwriteCheck()->isChecked());
    EXPECT_TRUE(dialog->Picture()->IsGIF());
}

TEST_F(ExportToServerDialogTest, NameBeginningWithADigitIsOfferedCorrectedAndNoKeepsTheDialog)
{
    auto dialog = Open(QStringLiteral("2024REP"), 28);
    env.prompts->AnswerMessageBox(IDNO);
    dialog->ExportButton()->click();
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->NameEdit()->text(), QStringLiteral("2024REP"));
    ASSERT_EQ(env.MessageTexts().size(), 1);
    EXPECT_TRUE(env.MessageTexts()[0].startsWith(
        QStringLiteral("The Filename 2024REP is invalid. Would you like to change it to #2024REP ?")))
        << env.MessageTexts()[0].toStdString();

    env.prompts->AnswerMessageBox(IDYES);
    dialog->ExportButton()->click();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].member, QStringLiteral("#2024REP"));
    EXPECT_EQ(dialog->NameEdit()->text(), QStringLiteral("#2024REP"));
}

TEST_F(ExportToServerDialogTest, NoVersionSelectedUploadsTheNewest)
{
    auto dialog = Open(QStringLiteral("INVOICE"), 9, 1);
    dialog->VersionCombo()->setCurrentIndex(-1);
    dialog->OverwriteCheck()->setChecked(true);
    dialog->ExportButton()->click();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].version, 28);
    EXPECT_TRUE(calls[0].autoImport);
    EXPECT_TRUE(calls[0].overwrite);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(ExportToServerDialogTest, ControlsWaitDuringTheUploadAndComeBackAfterAFailure)
{
    std::vector<bool> enabledDuring;
    bool playing = false;
    bool refusedToClose = false;
    int waitCursors = 0;
    auto dialog = Open(QStringLiteral("INVOICE"), 28, 0, [&](CExportToAS400UsingSocketsDlg& d) {
        for (QWidget* control : std::initializer_list<QWidget*>{d.VersionCombo(), d.NameEdit(), d.AutoImportCheck(),
                                                                d.OverwriteCheck(), d.ExportButton(), d.CancelButton()})
            enabledDuring.push_back(control->isEnabled());
        playing = d.Picture()->IsPlaying();
        waitCursors = env.prompts->WaitCursorShowCount();
        // Cancel and the close box wait for the upload.
        d.reject();
        d.close();
        refusedToClose = d.isVisible();
        // The picture moves on while the upload waits.
        QTest::qWait(400);
        ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
        EXPECT_TRUE(d.grab().save(QStringLiteral(KWVD_SCREENSHOT_DIR "/export-to-server-uploading.png")));
    });
    dialog->ExportButton()->click();

    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(enabledDuring, std::vector<bool>(6, false));
    EXPECT_TRUE(playing);
    EXPECT_TRUE(refusedToClose);
    EXPECT_EQ(waitCursors, 1);
    // Failed: open again for another try.
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->Picture()->IsPlaying());
    for (QWidget* control :
         std::initializer_list<QWidget*>{dialog->VersionCombo(), dialog->NameEdit(), dialog->AutoImportCheck(),
                                         dialog->OverwriteCheck(), dialog->ExportButton(), dialog->CancelButton()})
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
}

TEST_F(ExportToServerDialogTest, WithoutADocumentOnlyCloses)
{
    bool uploaded = false;
    CExportToAS400UsingSocketsDlg dialog(nullptr, [&uploaded](const QString&, int, BOOL, BOOL) {
        uploaded = true;
        return 1;
    });
    dialog.m_memberName = QStringLiteral("INVOICE");
    dialog.OnInitDialog();
    dialog.show();
    dialog.ExportButton()->click();
    EXPECT_FALSE(uploaded);
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
