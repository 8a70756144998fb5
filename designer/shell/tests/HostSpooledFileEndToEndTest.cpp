// The spooled file to and from an emulated host of the test's own, through
// the real host access library the program loads: its dialogs driven as a
// user would, the document's pages, code page and queue checked after.

#include "designer/commands/CommandIds.h"
#include "designer/document/DesignerDoc.h"
#include "designer/document/SpooledFile.h"
#include "designer/shell/tests/ProgramTestFixture.h"
#include "hostaccess/export/ExportSpooledFileDialog.h"
#include "hostaccess/import/SelSpooledFileDialog.h"
#include "platform/clientaccess/OutputQueues.h"
#include "tests/support/ScopedEmuhostStore.h"
#include "tests/support/SpooledPages.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <vector>

namespace {

const QString kMerrowFolder = QStringLiteral(KWVD_MERROW2_DIR);
const QString kOlderMerrowFolder = QStringLiteral(KWVD_MERROW2_OLDER_DIR);
const QString kSystem = QStringLiteral("KWVDSYS");
// The CCSID emuhost gives its first system.
constexpr int kHostCcsid = 285;

using Pages = std::vector<QStringList>;

// Runs steps on the library's dialog of the class named once it is shown;
// whatever the steps leave open is cancelled, so no test hangs on it.
void WhenDialogShows(const char* className, std::function<void(QDialog&)> steps)
{
    QTimer::singleShot(0, [className, steps = std::move(steps)] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || qstrcmp(dialog->metaObject()->className(), className) != 0) {
            ADD_FAILURE() << className << " is not shown";
            if (QWidget* other = QApplication::activeModalWidget())
                other->close();
            return;
        }
        steps(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

void Type(QDialog& dialog, int controlId, const QString& text)
{
    auto* edit = dialog.findChild<QLineEdit*>(QString::number(controlId));
    ASSERT_NE(edit, nullptr) << controlId;
    edit->setText(text);
}

void Click(QDialog& dialog, int controlId)
{
    auto* button = dialog.findChild<QPushButton*>(QString::number(controlId));
    ASSERT_NE(button, nullptr) << controlId;
    button->click();
}

// In the select dialog: the queue listed, the file's row taken, and OK; with
// a CCSID, that code page chosen first.
void ChooseSpooledFile(const QString& file, int ccsid = 0, std::function<void(QDialog&)> before = {})
{
    WhenDialogShows("CSelSpooledFileDialogView", [file, ccsid, before](QDialog& dialog) {
        if (before)
            before(dialog);
        if (ccsid != 0) {
            auto* box = dialog.findChild<QComboBox*>(QString::number(CSelSpooledFileDialog::IDC_CODE_PAGE));
            ASSERT_NE(box, nullptr);
            const int index = box->findData(ccsid);
            ASSERT_GE(index, 0) << ccsid;
            box->setCurrentIndex(index);
        }
        Click(dialog, CSelSpooledFileDialog::IDC_REFRESH);
        auto* list = dialog.findChild<QTreeWidget*>(QString::number(CSelSpooledFileDialog::IDC_LIST));
        ASSERT_NE(list, nullptr);
        const QList<QTreeWidgetItem*> rows = list->findItems(file, Qt::MatchExactly, 0);
        ASSERT_EQ(rows.size(), 1) << file.toStdString();
        list->setCurrentItem(rows.front());
        rows.front()->setSelected(true);
        Click(dialog, CSelSpooledFileDialog::IDC_OK);
    });
}

class HostSpooledFileEndToEnd : public ProgramTest
{
protected:
    void SetUp() override
    {
        // emuhost init: the system KWVDSYS and the sample in KWVD/QPRINT.
        QProcess emuhost;
        emuhost.start(QStringLiteral(KWVD_EMUHOST_PROGRAM), {QStringLiteral("init")});
        ASSERT_TRUE(emuhost.waitForFinished(30000));
        ASSERT_EQ(emuhost.exitCode(), 0) << emuhost.readAllStandardError().toStdString();
        ASSERT_EQ(Queue().size(), 1u);
    }

    // The program with the library found in folder, its preferences on the
    // emulated host.
    void Start(const QString& folder)
    {
        ASSERT_NO_FATAL_FAILURE(StartProgram({}, QSize(), folder));
        ASSERT_TRUE(app->GetServerAccess().IsLoaded());
        CPreferences& prefs = app->GetPreferences();
        prefs.DefaultSystem = kSystem;
        prefs.DefaultLibrary = QStringLiteral("KWVD");
        prefs.DefaultOutputQueue = QStringLiteral("QPRINT");
        prefs.DefaultOutputQueueLibrary = QStringLiteral("KWVD");
        prefs.MaxSpooledFilePages = 20;
        env.prompts.Renew();
    }

    // Two pages of our own at a code page other than the host's, as one
    // undo step, the document saved since.
    void UseOwnPages()
    {
        {
            CDocChangeGuard change(doc);
            if (doc->GetCodePageId() == kHostCcsid)
                doc->SetCodePageId(37);
            for (int n = 1; n <= 2; ++n) {
                auto* lines = new CStringArray;
                lines->Add(QString());
                lines->Add(QStringLiteral("OWN PAGE %1").arg(n));
                lines->Add(QString());
                lines->Add(QStringLiteral("    TOTAL %1.00").arg(n * 21));
                ASSERT_TRUE(doc->GetSpooledFile()->SetPage(lines, n));
            }
            doc->SetModifiedFlag(TRUE);
        }
        doc->SetModifiedFlag(FALSE);
    }

    // What emuhost's sample holds, worked out by hand from its bytes: an
    // absolute move to line 1, column 1, new lines, a carriage return over
    // "TOTAL" whose blanks erase nothing, and a move to column 10.
    static Pages SamplePages()
    {
        return {{"", "KWVD SAMPLE REPORT", "", "INVOICE 1001  DATE 2026-03-04", "TOTAL 42.50",
                 "         END OF PAGE 1"},
                {"", "", "", "    PAGE 2", "LAST LINE"}};
    }

    static std::vector<kwvd::clientaccess::SpooledFile> Queue()
    {
        return kwvd::clientaccess::SpooledFilesOf(kSystem, QStringLiteral("KWVD"), QStringLiteral("QPRINT"));
    }

    ScopedEmuhostStore store;
};

TEST_F(HostSpooledFileEndToEnd, ImportOfTheSampleReplacesThePagesAndCodePageAndUndoRestoresBoth)
{
    ASSERT_NO_FATAL_FAILURE(Start(kMerrowFolder));
    UseOwnPages();
    const Pages ownPages = SpooledPagesOf(*doc->GetSpooledFile());
    const int ownCcsid = doc->GetCodePageId();
    ASSERT_NE(ownCcsid, kHostCcsid);
    const Pages sample = SamplePages();
    ASSERT_EQ(sample.size(), 2u);

    ChooseSpooledFile(QStringLiteral("QSYSPRT"), kHostCcsid);
    env.prompts->AnswerMessageBox(IDNO);  // append?
    env.prompts->AnswerMessageBox(IDYES); // change the code page?
    ASSERT_TRUE(frame->ExecuteCommand(ID_EDIT_IMPORT_SPOOLED_FILE));

    EXPECT_EQ(env.MessageTexts(),
              (QStringList{QStringLiteral("Would you like to append this spooled file to the end of the currently "
                                          "loaded spooled file."),
                           QStringLiteral("Would you like to change the document codepage from %1 to %2 ?")
                               .arg(ownCcsid)
                               .arg(kHostCcsid)}));
    EXPECT_EQ(SpooledPagesOf(*doc->GetSpooledFile()), sample);
    EXPECT_EQ(doc->GetCodePageId(), kHostCcsid);
    EXPECT_EQ(doc->GetSpooledFile()->GetLoadedIdentity().GetFileName(), QStringLiteral("QSYSPRT"));
    EXPECT_EQ(doc->GetSpooledFile()->GetLoadedIdentity().GetOutputQueue(), QStringLiteral("QPRINT"));
    EXPECT_TRUE(doc->IsModified());

    ASSERT_TRUE(doc->CanUndo());
    doc->OnEditUndo();
    EXPECT_EQ(SpooledPagesOf(*doc->GetSpooledFile()), ownPages);
    EXPECT_EQ(doc->GetCodePageId(), ownCcsid);
}

TEST_F(HostSpooledFileEndToEnd, ExportedPagesReadBackFromTheHostAsTheyWere)
{
    ASSERT_NO_FATAL_FAILURE(Start(kMerrowFolder));
    UseOwnPages();
    const Pages ownPages = SpooledPagesOf(*doc->GetSpooledFile());

    WhenDialogShows("CExportSpooledFileDialogView", [](QDialog& dialog) {
        Type(dialog, CExportSpooledFileDialog::IDC_FILE_NAME, QStringLiteral("OWNPAGES"));
        Click(dialog, CExportSpooledFileDialog::IDC_OK);
    });
    ASSERT_TRUE(frame->ExecuteCommand(ID_EDIT_EXPORT_SPOOLED_FILE));
    EXPECT_TRUE(env.MessageTexts().isEmpty()) << env.MessageTexts().join(u'|').toStdString();

    const std::vector<kwvd::clientaccess::SpooledFile> files = Queue();
    ASSERT_EQ(files.size(), 2u);
    const auto name = kwvd::clientaccess::SpooledFileAttribute(files[1], 104);
    ASSERT_TRUE(name.has_value());
    EXPECT_EQ(name->text, QStringLiteral("OWNPAGES"));

    // Read back through the library into the same document, replacing.
    env.prompts.Renew();
    ChooseSpooledFile(QStringLiteral("OWNPAGES"));
    env.prompts->AnswerMessageBox(IDNO); // append?
    ASSERT_TRUE(frame->ExecuteCommand(ID_EDIT_IMPORT_SPOOLED_FILE));
    EXPECT_EQ(env.MessageTexts().size(), 1) << env.MessageTexts().join(u'|').toStdString();
    EXPECT_EQ(doc->GetSpooledFile()->GetLoadedIdentity().GetFileName(), QStringLiteral("OWNPAGES"));
    EXPECT_EQ(SpooledPagesOf(*doc->GetSpooledFile()), ownPages);
}

TEST_F(HostSpooledFileEndToEnd, TheOlderLibraryStoresTheQueueChosenInItsDialog)
{
    ASSERT_NO_FATAL_FAILURE(Start(kOlderMerrowFolder));
    ASSERT_EQ(app->GetServerAccess().FindEntryPoint("CreateSpooledFileList2"), nullptr);
    ASSERT_NE(app->GetServerAccess().FindEntryPoint("CreateSpooledFileList"), nullptr);
    doc->m_outputQueue = QStringLiteral("PRT01");
    doc->m_outputQueueLibrary = QStringLiteral("QUSRSYS");
    const Pages sample = SamplePages();

    // The dialog opens on the document's queue; the user turns to the
    // sample's, typing the library in lower case.
    ChooseSpooledFile(QStringLiteral("QSYSPRT"), 0, [](QDialog& dialog) {
        auto* queue = dialog.findChild<QLineEdit*>(QString::number(CSelSpooledFileDialog::IDC_OUTPUT_QUEUE));
        auto* library = dialog.findChild<QLineEdit*>(QString::number(CSelSpooledFileDialog::IDC_LIBRARY));
        ASSERT_NE(queue, nullptr);
        ASSERT_NE(library, nullptr);
        EXPECT_EQ(queue->text(), QStringLiteral("PRT01"));
        EXPECT_EQ(library->text(), QStringLiteral("QUSRSYS"));
        queue->setText(QStringLiteral("QPRINT"));
        library->setText(QStringLiteral("kwvd"));
    });
    ASSERT_TRUE(frame->ExecuteCommand(ID_EDIT_IMPORT_SPOOLED_FILE));

    EXPECT_EQ(doc->m_outputQueue, QStringLiteral("QPRINT"));
    EXPECT_EQ(doc->m_outputQueueLibrary, QStringLiteral("KWVD"));
    EXPECT_EQ(SpooledPagesOf(*doc->GetSpooledFile()), sample);
    EXPECT_TRUE(doc->IsModified());
    // The document held no pages and the older list gives no code page back.
    EXPECT_TRUE(env.MessageTexts().isEmpty()) << env.MessageTexts().join(u'|').toStdString();
}

} // namespace
