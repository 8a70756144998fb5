// The spooled-file data dialog: what it shows and how the model opens it.

#include "designer/document/ui/SplfDtaDlg.h"
#include "designer/document/SpooledFile.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/LanguageBundle.h"
#include "platform/ui/StringTable.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

class SplfDtaDlgTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        if (QApplication::instance() == nullptr) {
            static int argc = 1;
            static char name[] = "kwvd_document_ui_tests";
            static char* argv[] = {name, nullptr};
            new QApplication(argc, argv); // lives for the whole run, as a program's would
        }
    }
};

SpooledFileIdentity FullIdentity()
{
    SpooledFileIdentity identity;
    identity.SetOutputQueue(QStringLiteral("PRT01"));
    identity.SetOutputQueueLibrary(QStringLiteral("QUSRSYS"));
    identity.SetFileName(QStringLiteral("INVOICE"));
    identity.SetUserName(QStringLiteral("ANN"));
    identity.SetUserData(QStringLiteral("MONTHLY"));
    identity.SetDate(QStringLiteral("1240105"));
    identity.SetTime(QStringLiteral("101500"));
    identity.SetTotalPages(QStringLiteral("12"));
    identity.SetDbcsData(QStringLiteral("*NO"));
    identity.SetDbcsExtensions(QStringLiteral("*YES"));
    identity.SetCharSet(QStringLiteral("697"));
    identity.SetFormType(QStringLiteral("*STD"));
    return identity;
}

TEST_F(SplfDtaDlgTest, ShowsElevenReadOnlyFieldsInOrder)
{
    const SpooledFileIdentity identity = FullIdentity();
    CSplfDtaDlg dialog(&identity);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Spooled File Data"));

    const QStringList labels{
        "Output Queue:", "Library:",   "File Name:",       "User:",         "User Data:", "Date:", "Time:",
        "Total Pages:",  "DBCS Data:", "DBCS Extensions:", "Character Set:"};
    const QStringList values{"PRT01",  "QUSRSYS", "INVOICE", "ANN",  "MONTHLY", "1240105",
                             "101500", "12",      "*NO",     "*YES", "697"};
    auto* form = dialog.findChild<QFormLayout*>();
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(form->rowCount(), CSplfDtaDlg::FieldCount);
    for (int i = 0; i < CSplfDtaDlg::FieldCount; ++i) {
        SCOPED_TRACE(labels.at(i).toStdString());
        auto* label = qobject_cast<QLabel*>(form->itemAt(i, QFormLayout::LabelRole)->widget());
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), labels.at(i));
        QLineEdit* edit = dialog.FieldEdit(static_cast<CSplfDtaDlg::Field>(i));
        EXPECT_EQ(form->itemAt(i, QFormLayout::FieldRole)->widget(), edit);
        EXPECT_EQ(edit->text(), values.at(i));
        EXPECT_TRUE(edit->isReadOnly());
    }
    // The form type has no field.
    for (QLineEdit* edit : dialog.findChildren<QLineEdit*>())
        EXPECT_NE(edit->text(), QStringLiteral("*STD"));
}

TEST_F(SplfDtaDlgTest, NoIdentityLeavesTheFieldsEmpty)
{
    CSplfDtaDlg dialog(nullptr);
    for (int i = 0; i < CSplfDtaDlg::FieldCount; ++i)
        EXPECT_TRUE(dialog.FieldEdit(static_cast<CSplfDtaDlg::Field>(i))->text().isEmpty());
}

TEST_F(SplfDtaDlgTest, CaptionAndLabelsComeFromTheLanguageSource)
{
    // A bundle with the caption and two labels; the others stay built in.
    const QByteArray text =
        "KWVD Language 1 0x0407\n[Texts]\n" + QByteArray::number(DialogTextId(CSplfDtaDlg::IDD, 0))
        + "=Spoolfile-Daten\n" + QByteArray::number(DialogTextId(CSplfDtaDlg::IDD, CSplfDtaDlg::kFirstLabel))
        + "=Ausgabewarteschlange:\n" + QByteArray::number(DialogTextId(CSplfDtaDlg::IDD, CSplfDtaDlg::kFirstLabel + 10))
        + "=Zeichensatz:\n";
    const auto bundle = LanguageBundle::Parse(text);
    ASSERT_NE(bundle, nullptr);
    StringTable::SetSource(bundle);
    CSplfDtaDlg dialog(nullptr);
    StringTable::SetSource(nullptr);

    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Spoolfile-Daten"));
    auto* form = dialog.findChild<QFormLayout*>();
    ASSERT_NE(form, nullptr);
    auto label = [&](int row) {
        auto* widget = qobject_cast<QLabel*>(form->itemAt(row, QFormLayout::LabelRole)->widget());
        return widget ? widget->text() : QString();
    };
    EXPECT_EQ(label(CSplfDtaDlg::OutputQueue), QStringLiteral("Ausgabewarteschlange:"));
    EXPECT_EQ(label(CSplfDtaDlg::Library), QStringLiteral("Library:"));
    EXPECT_EQ(label(CSplfDtaDlg::CharacterSet), QStringLiteral("Zeichensatz:"));
}

TEST_F(SplfDtaDlgTest, ShowFileDataRunsTheDialogOnTheLoadedIdentity)
{
    InstallSpooledFileDataViewer();
    CSpooledFile file;
    file.GetLoadedIdentity().CopyFrom(FullIdentity());

    QString shownFileName;
    bool closed = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CSplfDtaDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shownFileName = dialog->FieldEdit(CSplfDtaDlg::FileName)->text();
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        ASSERT_NE(buttons, nullptr);
        buttons->button(QDialogButtonBox::Ok)->click();
        closed = true;
    });
    file.ShowFileData();
    EXPECT_TRUE(closed);
    EXPECT_EQ(shownFileName, QStringLiteral("INVOICE"));
    SetSpooledFileDataViewer(nullptr);
}

} // namespace
