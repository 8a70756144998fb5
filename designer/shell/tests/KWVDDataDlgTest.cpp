// The "Execute WVD" dialog: what it shows of a request, what OK takes back
// and what the data exchange refuses, Cancel, and its picture.

#include "designer/document/CrtWvdRequest.h"
#include "designer/shell/KWVDDataDlg.h"
#include "designer/shell/tests/AppTestEnvironment.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/LanguageBundle.h"
#include "platform/ui/StringTable.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

using Dlg = CKWVDDataDlg;

CrtWvdRequest FilledRequest()
{
    CrtWvdRequest request;
    request.SetSystem(QStringLiteral("SYSA"));
    request.SetLibrary(QStringLiteral("KWVD"));
    request.SetWvdName(QStringLiteral("INVOICE"));
    request.SetSpooledFileStatus(QStringLiteral("*SAVE"));
    request.SetMessageQueueLibrary(QStringLiteral("QUSRSYS"));
    request.SetMessageQueue(QStringLiteral("MSGQ"));
    SpooledFileIdentity& identity = request.GetIdentity();
    identity.SetFileName(QStringLiteral("QSYSPRT"));
    identity.SetUserName(QStringLiteral("ANN"));
    identity.SetOutputQueue(QStringLiteral("PRT01"));
    identity.SetOutputQueueLibrary(QStringLiteral("QGPL"));
    identity.SetFormType(QStringLiteral("*STD"));
    identity.SetUserData(QStringLiteral("MONTHLY"));
    return request;
}

class KWVDDataDlgTest : public ::testing::Test
{
protected:
    static QString Text(const Dlg& dialog, int id)
    {
        QLineEdit* edit = dialog.Field(id);
        return edit ? edit->text() : QStringLiteral("<no field>");
    }

    static void Type(Dlg& dialog, int id, const QString& text)
    {
        QLineEdit* edit = dialog.Field(id);
        ASSERT_NE(edit, nullptr);
        edit->setText(text);
    }

    static void ClickOk(Dlg& dialog)
    {
        auto* ok = dialog.findChild<QPushButton*>(QString::number(Dlg::IDC_OK));
        ASSERT_NE(ok, nullptr);
        ok->click();
    }

    AppTestEnvironment env;
};

TEST_F(KWVDDataDlgTest, ShowsTheNineValuesInTheirGroups)
{
    CrtWvdRequest request = FilledRequest();
    Dlg dialog(&request);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Execute WVD"));

    struct Row
    {
        int id;
        const char* group;
        const char* label;
        const char* value;
    };
    const Row rows[] = {
        {Dlg::IDC_SYSTEM, "Input Spooled File", "System Name:", "SYSA"},
        {Dlg::IDC_FILE_NAME, "Input Spooled File", "File Name:", "QSYSPRT"},
        {Dlg::IDC_USER, "Input Spooled File", "User:", "ANN"},
        {Dlg::IDC_OUTPUT_QUEUE, "Input Spooled File", "Output Queue:", "PRT01"},
        {Dlg::IDC_OUTPUT_QUEUE_LIBRARY, "Input Spooled File", "Library:", "QGPL"},
        {Dlg::IDC_FORM_TYPE, "Input Spooled File", "Form Type:", "*STD"},
        {Dlg::IDC_USER_DATA, "Input Spooled File", "User Data:", "MONTHLY"},
        {Dlg::IDC_WVD_NAME, "WVD", "WVD:", "INVOICE"},
        {Dlg::IDC_WVD_LIBRARY, "WVD", "Library:", "KWVD"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        QLineEdit* edit = dialog.Field(row.id);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text(), QString::fromLatin1(row.value));
        auto* group = qobject_cast<QGroupBox*>(edit->parentWidget());
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->title(), QString::fromLatin1(row.group));
        QLabel* label = nullptr;
        for (QLabel* candidate : group->findChildren<QLabel*>())
            if (candidate->buddy() == edit)
                label = candidate;
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), QString::fromLatin1(row.label));
    }
    EXPECT_EQ(dialog.findChildren<QLineEdit*>().size(), 9);
}

TEST_F(KWVDDataDlgTest, OkTakesTheFieldsAndPassesTheHiddenValuesThrough)
{
    CrtWvdRequest request = FilledRequest();
    Dlg dialog(&request);
    Type(dialog, Dlg::IDC_SYSTEM, QStringLiteral("SYSB"));
    Type(dialog, Dlg::IDC_FILE_NAME, QStringLiteral("INVOICES"));
    Type(dialog, Dlg::IDC_USER, QStringLiteral("BOB"));
    Type(dialog, Dlg::IDC_OUTPUT_QUEUE, QStringLiteral("PRT02"));
    Type(dialog, Dlg::IDC_OUTPUT_QUEUE_LIBRARY, QStringLiteral("QUSRSYS"));
    Type(dialog, Dlg::IDC_FORM_TYPE, QStringLiteral("*ALL"));
    Type(dialog, Dlg::IDC_USER_DATA, QStringLiteral("ABCDEFGHIJKL")); // 12, the whole field
    Type(dialog, Dlg::IDC_WVD_NAME, QStringLiteral("ORDERS"));
    Type(dialog, Dlg::IDC_WVD_LIBRARY, QStringLiteral("KWVDPROD"));
    ASSERT_NO_FATAL_FAILURE(ClickOk(dialog));

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(env.MessageTexts().isEmpty());
    EXPECT_EQ(request.GetSystem(), QStringLiteral("SYSB"));
    EXPECT_EQ(request.GetWvdName(), QStringLiteral("ORDERS"));
    EXPECT_EQ(request.GetLibrary(), QStringLiteral("KWVDPROD"));
    const SpooledFileIdentity& identity = request.GetIdentity();
    EXPECT_EQ(identity.GetFileName(), QStringLiteral("INVOICES"));
    EXPECT_EQ(identity.GetUserName(), QStringLiteral("BOB"));
    EXPECT_EQ(identity.GetOutputQueue(), QStringLiteral("PRT02"));
    EXPECT_EQ(identity.GetOutputQueueLibrary(), QStringLiteral("QUSRSYS"));
    EXPECT_EQ(identity.GetFormType(), QStringLiteral("*ALL"));
    EXPECT_EQ(identity.GetUserData(), QStringLiteral("ABCDEFGHIJKL"));
    EXPECT_EQ(request.GetSpooledFileStatus(), QStringLiteral("*SAVE"));
    EXPECT_EQ(request.GetMessageQueueLibrary(), QStringLiteral("QUSRSYS"));
    EXPECT_EQ(request.GetMessageQueue(), QStringLiteral("MSGQ"));
}

TEST_F(KWVDDataDlgTest, AValueLongerThanItsFieldIsRefusedAndTheDialogStaysOpen)
{
    struct Case
    {
        const char* name;
        int id;
        QString typed;
        const char* message;
    };
    const Case cases[] = {
        {"file name of 11", Dlg::IDC_FILE_NAME, QStringLiteral("ABCDEFGHIJK"), "Enter no more than 10 characters."},
        {"user data of 13", Dlg::IDC_USER_DATA, QStringLiteral("ABCDEFGHIJKLM"), "Enter no more than 12 characters."},
        {"WVD name of 9", Dlg::IDC_WVD_NAME, QStringLiteral("INVOICE12"), "Enter no more than 8 characters."},
        {"system of 256", Dlg::IDC_SYSTEM, QString(256, QLatin1Char('S')), "Enter no more than 255 characters."},
        {"library of 11", Dlg::IDC_WVD_LIBRARY, QStringLiteral("LIBRARY0011"), "Enter no more than 10 characters."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        env.prompts.Renew();
        const CrtWvdRequest before = FilledRequest();
        CrtWvdRequest request = before;
        Dlg dialog(&request);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        // A value set by the program is shown whole: nothing cuts it.
        ASSERT_NO_FATAL_FAILURE(Type(dialog, c.id, c.typed));
        EXPECT_EQ(Text(dialog, c.id), c.typed);
        ASSERT_NO_FATAL_FAILURE(ClickOk(dialog));

        EXPECT_EQ(env.MessageTexts(), QStringList{QString::fromLatin1(c.message)});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.focusWidget(), dialog.Field(c.id));
        EXPECT_TRUE(request.IsEqual(before));
    }
}

TEST_F(KWVDDataDlgTest, CancelLeavesTheRequestAsItWas)
{
    const CrtWvdRequest before = FilledRequest();
    CrtWvdRequest request = before;
    Dlg dialog(&request);
    Type(dialog, Dlg::IDC_SYSTEM, QStringLiteral("OTHER"));
    Type(dialog, Dlg::IDC_FILE_NAME, QStringLiteral("X"));
    auto* cancel = dialog.findChild<QPushButton*>(QString::number(Dlg::IDC_CANCEL));
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), QStringLiteral("Cancel"));
    cancel->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(request.IsEqual(before));
}

TEST_F(KWVDDataDlgTest, WithoutARequestItOnlyShowsAndCloses)
{
    Dlg dialog(nullptr);
    for (QLineEdit* edit : dialog.findChildren<QLineEdit*>())
        EXPECT_TRUE(edit->text().isEmpty());
    Type(dialog, Dlg::IDC_FILE_NAME, QStringLiteral("ABCDEFGHIJKLMN"));
    ASSERT_NO_FATAL_FAILURE(ClickOk(dialog));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(env.MessageTexts().isEmpty());
}

TEST_F(KWVDDataDlgTest, RunsModallyThroughTheInstalledRunner)
{
    CrtWvdRequest request = FilledRequest();
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<Dlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->Field(Dlg::IDC_USER)->setText(QStringLiteral("CAROL"));
        dialog->OnOK();
    });
    EXPECT_TRUE(RunExecuteWvdDialog(request));
    EXPECT_EQ(request.GetIdentity().GetUserName(), QStringLiteral("CAROL"));

    QTimer::singleShot(0, [] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            static_cast<QDialog*>(dialog)->reject();
    });
    EXPECT_FALSE(RunExecuteWvdDialog(request));
}

TEST_F(KWVDDataDlgTest, CaptionAndLabelsComeFromTheLanguageSource)
{
    const QByteArray text = "KWVD Language 1 0x0407\n[Texts]\n" + QByteArray::number(DialogTextId(Dlg::IDD, 0))
                            + "=WVD ausfuehren\n" + QByteArray::number(DialogTextId(Dlg::IDD, Dlg::IDC_WVD_GROUP))
                            + "=Formular\n" + QByteArray::number(DialogTextId(Dlg::IDD, Dlg::IDC_USER))
                            + "=Benutzer:\n";
    const auto bundle = LanguageBundle::Parse(text);
    ASSERT_NE(bundle, nullptr);
    StringTable::SetSource(bundle);
    Dlg dialog(nullptr);
    StringTable::SetSource(nullptr);

    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("WVD ausfuehren"));
    auto* group = dialog.findChild<QGroupBox*>(QString::number(Dlg::IDC_WVD_GROUP));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->title(), QStringLiteral("Formular"));
    QStringList labels;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        labels << label->text();
    EXPECT_TRUE(labels.contains(QStringLiteral("Benutzer:")));
    EXPECT_TRUE(labels.contains(QStringLiteral("System Name:")));
}

TEST_F(KWVDDataDlgTest, RendersIntoAPicture)
{
    CrtWvdRequest request = FilledRequest();
    Dlg dialog(&request);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QImage shot = dialog.grab().toImage();
    ASSERT_FALSE(shot.isNull());
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
    const QString path = QStringLiteral(KWVD_SCREENSHOT_DIR "/execute-wvd-dialog-116.png");
    ASSERT_TRUE(shot.save(path, "PNG"));
    EXPECT_FALSE(QImage(path).isNull());
}

} // namespace
