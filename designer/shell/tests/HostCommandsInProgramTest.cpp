// The document's host commands in the program, against the tests' stand-in
// host access library: Execute a WVD through its dialog, the spooled file
// imported from and exported to the host, and when each is offered.

#include "designer/commands/CommandIds.h"
#include "designer/commands/CommandRouter.h"
#include "designer/document/DesignerDoc.h"
#include "designer/document/SpooledFile.h"
#include "designer/shell/KWVDDataDlg.h"
#include "designer/shell/MainFrame.h"
#include "designer/shell/WVDDesignerApp.h"
#include "designer/shell/tests/ProgramTestFixture.h"
#include "tests/fakes/merrow2stub/Merrow2StubState.h"
#include "tests/support/SpooledPages.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

const QString kStubFolder = QStringLiteral(KWVD_MERROW2_STUB_DIR);
const QString kOlderStubFolder = QStringLiteral(KWVD_MERROW2_OLDER_STUB_DIR);

const UINT kServerCommands[] = {ID_EDIT_IMPORT_SPOOLED_FILE, ID_FILE_SPOOL_SAVE_TO_FILE, ID_EDIT_EXPORT_SPOOLED_FILE,
                                ID_FILE_SPOOL_CREATE_FROM_FILE, ID_FILE_EXECUTE_WVD};

// Answers the next modal "Execute WVD" dialog: OK after edit, or Cancel.
void AnswerExecuteDialog(bool ok, std::function<void(CKWVDDataDlg&)> edit = {})
{
    QTimer::singleShot(0, [ok, edit] {
        auto* dialog = qobject_cast<CKWVDDataDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        if (!ok) {
            dialog->reject();
            return;
        }
        if (edit)
            edit(*dialog);
        auto* button = dialog->findChild<QPushButton*>(QString::number(CKWVDDataDlg::IDC_OK));
        ASSERT_NE(button, nullptr);
        button->click();
        // A refused value leaves the dialog open: close it so the test ends.
        if (dialog->isVisible())
            dialog->reject();
    });
}

class HostCommandsInProgram : public ProgramTest
{
protected:
    // The program with the stand-in found in folder; its state reset.
    void Start(const QString& folder)
    {
        ASSERT_NO_FATAL_FAILURE(StartProgram({}, QSize(), folder));
        const auto get =
            reinterpret_cast<Merrow2StubGetStateProc>(app->GetServerAccess().FindEntryPoint("Merrow2StubGetState"));
        ASSERT_NE(get, nullptr);
        stub = get();
        *stub = Merrow2StubState();
        CPreferences& prefs = app->GetPreferences();
        prefs.DefaultSystem = QStringLiteral("SYSA");
        prefs.DefaultLibrary = QStringLiteral("KWVD");
        prefs.DefaultOutputQueue = QStringLiteral("QPRINT");
        prefs.DefaultOutputQueueLibrary = QStringLiteral("KWVD");
        prefs.MaxSpooledFilePages = 20;
        env.prompts.Renew();
    }

    // Two pages of our own as one undo step, the document saved since.
    void UseOwnPages()
    {
        {
            CDocChangeGuard change(doc);
            for (int n = 1; n <= 2; ++n) {
                auto* lines = new CStringArray;
                lines->Add(QString());
                lines->Add(QStringLiteral("OWN PAGE %1").arg(n));
                ASSERT_TRUE(doc->GetSpooledFile()->SetPage(lines, n));
            }
            doc->SetModifiedFlag(TRUE);
        }
        doc->SetModifiedFlag(FALSE);
    }

    CCmdUI Query(UINT id) const { return frame->Router().Query(id); }

    Merrow2StubState* stub = nullptr;
};

TEST_F(HostCommandsInProgram, WithoutTheLibraryEveryHostCommandIsOff)
{
    ASSERT_NO_FATAL_FAILURE(StartProgram({}, QSize()));
    ASSERT_FALSE(app->GetServerAccess().IsLoaded());
    UseOwnPages();
    for (UINT id : kServerCommands)
        EXPECT_FALSE(Query(id).IsEnabled()) << id;
}

TEST_F(HostCommandsInProgram, WithTheLibraryTheyAreOnAndExportWantsPages)
{
    ASSERT_NO_FATAL_FAILURE(Start(kStubFolder));
    ASSERT_EQ(doc->GetSpooledFile()->GetPageCount(), 0);
    for (UINT id : kServerCommands)
        EXPECT_EQ(Query(id).IsEnabled(), id == ID_EDIT_EXPORT_SPOOLED_FILE ? FALSE : TRUE) << id;
    UseOwnPages();
    EXPECT_TRUE(Query(ID_EDIT_EXPORT_SPOOLED_FILE).IsEnabled());
}

TEST_F(HostCommandsInProgram, TheApplicationsExecuteSubmitsEveryFileOfTheDefaultQueue)
{
    ASSERT_NO_FATAL_FAILURE(Start(kStubFolder));
    AnswerExecuteDialog(true);
    ASSERT_TRUE(app->OnCmdMsg(ID_FILE_EXECUTE_WVD));
    ASSERT_EQ(stub->crtwvdCalls, 1);
    const CrtWvdRequest& sent = stub->lastRequest;
    EXPECT_EQ(sent.GetIdentity().GetFileName(), QStringLiteral("*ALL"));
    EXPECT_EQ(sent.GetIdentity().GetOutputQueue(), QStringLiteral("QPRINT"));
    EXPECT_EQ(sent.GetSystem(), QStringLiteral("SYSA"));
    EXPECT_EQ(sent.GetLibrary(), QStringLiteral("KWVD"));
    EXPECT_EQ(sent.GetSpooledFileStatus(), QStringLiteral("*HLD"));

    AnswerExecuteDialog(false);
    ASSERT_TRUE(app->OnCmdMsg(ID_FILE_EXECUTE_WVD));
    EXPECT_EQ(stub->crtwvdCalls, 1);
    EXPECT_TRUE(env.MessageTexts().isEmpty());
}

TEST_F(HostCommandsInProgram, TheDocumentsExecuteStoresTheRequestOnlyAfterSuccess)
{
    ASSERT_NO_FATAL_FAILURE(Start(kStubFolder));
    {
        CDocChangeGuard change(doc);
        doc->WvdName().SetValue(QStringLiteral("INVOICE"));
    }
    doc->SetModifiedFlag(FALSE);
    const CrtWvdRequest before = doc->GetRunParameters();
    const auto typeUser = [](CKWVDDataDlg& dialog) { dialog.Field(CKWVDDataDlg::IDC_USER)->setText(QStringLiteral("BOB")); };

    // Cancel: nothing reaches the host.
    AnswerExecuteDialog(false);
    ASSERT_TRUE(frame->ExecuteCommand(ID_FILE_EXECUTE_WVD));
    EXPECT_EQ(stub->crtwvdCalls, 0);

    // The host refuses: the request went, filled, and is not kept.
    stub->crtwvdResult = 0;
    AnswerExecuteDialog(true, typeUser);
    ASSERT_TRUE(frame->ExecuteCommand(ID_FILE_EXECUTE_WVD));
    ASSERT_EQ(stub->crtwvdCalls, 1);
    EXPECT_EQ(stub->lastRequest.GetWvdName(), QStringLiteral("INVOICE"));
    EXPECT_EQ(stub->lastRequest.GetSystem(), QStringLiteral("SYSA"));
    EXPECT_EQ(stub->lastRequest.GetIdentity().GetUserName(), QStringLiteral("BOB"));
    EXPECT_TRUE(doc->GetRunParameters().IsEqual(before));
    EXPECT_FALSE(doc->IsModified());

    stub->crtwvdResult = 1;
    AnswerExecuteDialog(true, typeUser);
    ASSERT_TRUE(frame->ExecuteCommand(ID_FILE_EXECUTE_WVD));
    ASSERT_EQ(stub->crtwvdCalls, 2);
    EXPECT_TRUE(doc->GetRunParameters().IsEqual(stub->lastRequest));
    EXPECT_EQ(doc->GetRunParameters().GetIdentity().GetUserName(), QStringLiteral("BOB"));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(env.MessageTexts().isEmpty());
}

TEST_F(HostCommandsInProgram, ImportReplacingThePagesWithTheHostsCodePageIsOneUndoStep)
{
    ASSERT_NO_FATAL_FAILURE(Start(kStubFolder));
    UseOwnPages();
    const std::vector<QStringList> ownPages = SpooledPagesOf(*doc->GetSpooledFile());
    const int ownCcsid = doc->GetCodePageId();
    const int hostCcsid = ownCcsid == 930 ? 285 : 930;
    doc->m_outputQueue = QStringLiteral("PRT01");
    doc->m_outputQueueLibrary = QStringLiteral("QUSRSYS");
    stub->pages = {{QString(), QStringLiteral("HOST PAGE 1")}, {QString(), QString(), QStringLiteral("HOST PAGE 2")}};
    stub->ccsid = hostCcsid;
    stub->selected.SetFileName(QStringLiteral("QSYSPRT"));
    stub->selected.SetOutputQueue(QStringLiteral("PRT01"));
    env.prompts->AnswerMessageBox(IDNO);  // append?
    env.prompts->AnswerMessageBox(IDYES); // change the code page?

    ASSERT_TRUE(frame->ExecuteCommand(ID_EDIT_IMPORT_SPOOLED_FILE));

    EXPECT_EQ(env.MessageTexts(),
              (QStringList{QStringLiteral("Would you like to append this spooled file to the end of the currently "
                                          "loaded spooled file."),
                           QStringLiteral("Would you like to change the document codepage from %1 to %2 ?")
                               .arg(ownCcsid)
                               .arg(hostCcsid)}));
    EXPECT_EQ(SpooledPagesOf(*doc->GetSpooledFile()), stub->pages);
    EXPECT_EQ(doc->GetSpooledFile()->GetCurrentPageNumber(), 1);
    EXPECT_EQ(doc->GetCodePageId(), hostCcsid);
    EXPECT_EQ(doc->GetSpooledFile()->GetLoadedIdentity().GetFileName(), QStringLiteral("QSYSPRT"));
    EXPECT_TRUE(doc->IsModified());
    // What the designer handed over, and the list given back.
    EXPECT_EQ(stub->list2Calls, 1);
    EXPECT_EQ(stub->listSystem, QStringLiteral("SYSA"));
    EXPECT_EQ(stub->filterGiven.GetOutputQueue(), QStringLiteral("PRT01"));
    EXPECT_EQ(stub->filterGiven.GetOutputQueueLibrary(), QStringLiteral("QUSRSYS"));
    EXPECT_EQ(stub->ccsidGiven, ownCcsid);
    EXPECT_EQ(stub->maxPagesGiven, 20);
    EXPECT_EQ(stub->modeGiven, 0);
    EXPECT_EQ(stub->destroyCalls, 1);
    EXPECT_EQ(stub->listsAlive, 0);

    ASSERT_TRUE(doc->CanUndo());
    doc->OnEditUndo();
    EXPECT_EQ(SpooledPagesOf(*doc->GetSpooledFile()), ownPages);
    EXPECT_EQ(doc->GetCodePageId(), ownCcsid);
}

TEST_F(HostCommandsInProgram, AnImportThatImportsNothingKeepsThePagesAndTheUndoState)
{
    ASSERT_NO_FATAL_FAILURE(Start(kStubFolder));
    UseOwnPages();
    const std::vector<QStringList> ownPages = SpooledPagesOf(*doc->GetSpooledFile());
    const qsizetype undoSteps = doc->GetUndoList().GetCount();
    stub->listResult = 0;
    stub->pages = {{QString(), QStringLiteral("NOT TAKEN")}};
    stub->typeFilter = true;
    stub->typedFilter.SetOutputQueue(QStringLiteral("TYPED"));

    ASSERT_TRUE(frame->ExecuteCommand(ID_EDIT_IMPORT_SPOOLED_FILE));

    EXPECT_EQ(SpooledPagesOf(*doc->GetSpooledFile()), ownPages);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetUndoList().GetCount(), undoSteps);
    EXPECT_TRUE(env.MessageTexts().isEmpty());
    EXPECT_EQ(stub->destroyCalls, 1);
    EXPECT_EQ(stub->listsAlive, 0);
    // What the user typed into the list's filter stays for the next time.
    EXPECT_EQ(doc->GetSpooledFile()->GetFilterIdentity().GetOutputQueue(), QStringLiteral("TYPED"));
}

TEST_F(HostCommandsInProgram, SaveToFileOnlyAsksTheLibraryToSaveTheRawData)
{
    ASSERT_NO_FATAL_FAILURE(Start(kStubFolder));
    UseOwnPages();
    const std::vector<QStringList> ownPages = SpooledPagesOf(*doc->GetSpooledFile());
    ASSERT_TRUE(frame->ExecuteCommand(ID_FILE_SPOOL_SAVE_TO_FILE));
    EXPECT_EQ(stub->list2Calls, 1);
    EXPECT_EQ(stub->modeGiven, 1);
    EXPECT_EQ(stub->destroyCalls, 1);
    EXPECT_EQ(SpooledPagesOf(*doc->GetSpooledFile()), ownPages);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(env.MessageTexts().isEmpty());
}

TEST_F(HostCommandsInProgram, ExportHandsInThePagesWithTheDocumentsQueueAndCodePage)
{
    ASSERT_NO_FATAL_FAILURE(Start(kStubFolder));
    UseOwnPages();
    doc->GetSpooledFile()->GetLoadedIdentity().SetFileName(QStringLiteral("QSYSPRT"));
    doc->GetSpooledFile()->GetLoadedIdentity().SetOutputQueue(QStringLiteral("OLDQ"));
    doc->m_outputQueue = QStringLiteral("PRT01");

    struct Case
    {
        const char* name;
        UINT id;
        int mode;
    };
    const Case cases[] = {
        {"export spooled file", ID_EDIT_EXPORT_SPOOLED_FILE, 0},
        {"create from file", ID_FILE_SPOOL_CREATE_FROM_FILE, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(frame->ExecuteCommand(c.id));
        EXPECT_EQ(stub->exportMode, c.mode);
        EXPECT_EQ(stub->exportSystem, QStringLiteral("SYSA"));
        EXPECT_EQ(stub->exportIdentity.GetFileName(), QStringLiteral("QSYSPRT"));
        EXPECT_EQ(stub->exportIdentity.GetOutputQueue(), QStringLiteral("PRT01"));
        // The document's empty library came from the preference.
        EXPECT_EQ(stub->exportIdentity.GetOutputQueueLibrary(), QStringLiteral("KWVD"));
        EXPECT_EQ(stub->exportPages, SpooledPagesOf(*doc->GetSpooledFile()));
        EXPECT_EQ(stub->exportPageSize[0], doc->GetSpooledFile()->GetPageWidth());
        EXPECT_EQ(stub->exportPageSize[1], doc->GetSpooledFile()->GetPageLength());
        EXPECT_EQ(stub->exportCcsid, doc->GetCodePageId());
    }
    EXPECT_EQ(stub->exportCalls, 2);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(HostCommandsInProgram, TheOlderListStoresTheChosenQueueInTheDocument)
{
    ASSERT_NO_FATAL_FAILURE(Start(kOlderStubFolder));
    ASSERT_EQ(app->GetServerAccess().FindEntryPoint("CreateSpooledFileList2"), nullptr);
    doc->m_outputQueue = QStringLiteral("PRT01");
    doc->m_outputQueueLibrary = QStringLiteral("QUSRSYS");
    stub->pages = {{QString(), QStringLiteral("HOST PAGE")}};
    stub->chosenQueue = QStringLiteral("PRT02");
    stub->chosenLibrary = QStringLiteral("QGPL");

    ASSERT_TRUE(frame->ExecuteCommand(ID_EDIT_IMPORT_SPOOLED_FILE));

    EXPECT_EQ(stub->listCalls, 1);
    EXPECT_EQ(stub->queueGiven, QStringLiteral("PRT01"));
    EXPECT_EQ(stub->libraryGiven, QStringLiteral("QUSRSYS"));
    EXPECT_EQ(doc->m_outputQueue, QStringLiteral("PRT02"));
    EXPECT_EQ(doc->m_outputQueueLibrary, QStringLiteral("QGPL"));
    EXPECT_EQ(SpooledPagesOf(*doc->GetSpooledFile()), stub->pages);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(stub->destroyCalls, 1);
    EXPECT_EQ(stub->listsAlive, 0);
    // No code page comes back from the older list, so none is asked about.
    EXPECT_TRUE(env.MessageTexts().isEmpty());

    // The older list cannot save raw data: it would import the pages.
    ASSERT_TRUE(frame->ExecuteCommand(ID_FILE_SPOOL_SAVE_TO_FILE));
    EXPECT_EQ(stub->listCalls, 1);
    EXPECT_EQ(env.MessageTexts(), QStringList{QStringLiteral("Failed to establish contact with Server.")});
}

} // namespace
