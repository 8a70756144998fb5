// Dialog 10101 driven offscreen over the emulated host: what it shows, what
// OK leads to, the retry question and the histories; and the entry point.

#include "designer/controls/ACEdit.h"
#include "designer/controls/CCSIDComboBox.h"
#include "hostaccess/CallFrame.h"
#include "hostaccess/MerrowApp.h"
#include "hostaccess/api/EntryPoints.h"
#include "hostaccess/export/ExportSpooledFileDialogView.h"
#include "hostaccess/export/tests/ExportHostFixture.h"
#include "hostaccess/export/tests/OwnedPages.h"
#include "platform/registry/RegistryStore.h"
#include "platform/ui/qt/DialogBinder.h"
#include "tests/support/QtApplicationEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <stdexcept>
#include <string_view>
#include <type_traits>

extern "C" BOOL ExportSpooledFile(const QString* system, SpooledFileIdentity* identity, SpooledPageList** pages,
                                  int* pageSize, int ccsid, int mode);

static_assert(std::is_same_v<decltype(&ExportSpooledFile), ExportSpooledFileProc>);

namespace {

using Dialog = CExportSpooledFileDialog;
using OkResult = CExportSpooledFileDialog::OkResult;

SpooledFileIdentity Loaded()
{
    SpooledFileIdentity identity;
    identity.SetOutputQueue(QStringLiteral("QPRINT"));
    identity.SetOutputQueueLibrary(QStringLiteral("KWVD"));
    identity.SetFileName(QStringLiteral("QSYSPRT"));
    identity.SetUserData(QStringLiteral("SAMPLE"));
    identity.SetUserName(QStringLiteral("SOMEONE"));
    return identity;
}

QLineEdit* EditOf(QWidget& dialog, int id)
{
    return qobject_cast<QLineEdit*>(FindDialogControl(&dialog, id));
}

void Type(QWidget& dialog, int id, const QString& text)
{
    QLineEdit* edit = EditOf(dialog, id);
    ASSERT_NE(edit, nullptr) << id;
    edit->setText(text);
}

void ClickOk(QWidget& dialog)
{
    auto* ok = qobject_cast<QPushButton*>(FindDialogControl(&dialog, Dialog::IDC_OK));
    ASSERT_NE(ok, nullptr);
    ok->click();
}

// The history the library keeps for one field.
QStringList History(const char* subKey)
{
    kwvd::RegistryStore& store = kwvd::RegistryStore::Instance();
    const std::optional<kwvd::RegistryKey> key = store.OpenKey(
        kwvd::RegistryRoot::CurrentUser,
        CMerrowApp::Instance().GetProfileKeyPath() + u'\\' + QString::fromLatin1(subKey));
    QStringList texts;
    if (!key)
        return texts;
    for (int i = 0;; ++i) {
        const std::optional<kwvd::RegistryValue> value = store.ReadValue(*key, QStringLiteral("SearchString%1").arg(i));
        if (!value)
            return texts;
        texts << value->ToText();
    }
}

class ExportDialog : public ExportHostFixture
{
protected:
    // A dialog preset as the entry point presets it, shown.
    std::unique_ptr<CExportSpooledFileDialogView> Open(int mode = Dialog::kModePages, int ccsid = 37)
    {
        auto dialog = std::make_unique<CExportSpooledFileDialogView>();
        Dialog& model = dialog->Model();
        model.system = kSystem;
        model.identity.CopyFrom(Loaded());
        model.pages = &pages.List();
        model.pageSize[0] = 80;
        model.pageSize[1] = 20;
        model.ccsid = ccsid;
        model.mode = mode;
        dialog->show();
        return dialog;
    }

    OwnedPages pages{{"", "TOTAL"}};
};

TEST_F(ExportDialog, OpensWithTheIdentityAndTheCodePage)
{
    struct Case
    {
        const char* name;
        int mode;
        int ccsid;
        bool codePageEnabled;
        int selectedCcsid;
    };
    const Case cases[] = {
        {"pages at 37", Dialog::kModePages, 37, true, 37},
        {"pages at 930", Dialog::kModePages, 930, true, 930},
        {"pages at 0: none selected, the system's", Dialog::kModePages, 0, true, 0},
        {"raw: nothing to convert", Dialog::kModeRaw, 37, false, 0},
    };
    for (const Case& c : cases) {
        auto dialog = Open(c.mode, c.ccsid);

        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Export Spooled File")) << c.name;
        EXPECT_EQ(EditOf(*dialog, Dialog::IDC_SYSTEM)->text(), kSystem) << c.name;
        EXPECT_EQ(EditOf(*dialog, Dialog::IDC_OUTPUT_QUEUE)->text(), QStringLiteral("QPRINT")) << c.name;
        EXPECT_EQ(EditOf(*dialog, Dialog::IDC_LIBRARY)->text(), QStringLiteral("KWVD")) << c.name;
        EXPECT_EQ(EditOf(*dialog, Dialog::IDC_FILE_NAME)->text(), QStringLiteral("QSYSPRT")) << c.name;
        EXPECT_EQ(EditOf(*dialog, Dialog::IDC_USER_DATA)->text(), QStringLiteral("SAMPLE")) << c.name;
        EXPECT_EQ(dialog->CodePageBox()->isEnabled(), c.codePageEnabled) << c.name;
        EXPECT_EQ(dialog->CodePageBox()->SelectedCCSID(), c.selectedCcsid) << c.name;
        for (const int id : {Dialog::IDC_SYSTEM, Dialog::IDC_OUTPUT_QUEUE, Dialog::IDC_LIBRARY, Dialog::IDC_FILE_NAME,
                             Dialog::IDC_USER_DATA})
            EXPECT_NE(dialog->Completion(id)->m_iType, -1) << c.name << " field " << id;
    }
}

TEST_F(ExportDialog, OkExportsTakesTheFieldsAndWritesTheHistories)
{
    auto dialog = Open();
    Type(*dialog, Dialog::IDC_LIBRARY, QStringLiteral("kwvd"));
    Type(*dialog, Dialog::IDC_FILE_NAME, QStringLiteral("copy"));
    Type(*dialog, Dialog::IDC_USER_DATA, QStringLiteral("again"));

    ClickOk(*dialog);

    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->LastResult(), OkResult::CloseExported);
    const Dialog& model = dialog->Model();
    EXPECT_EQ(model.identity.GetOutputQueueLibrary(), QStringLiteral("kwvd"));
    EXPECT_EQ(model.identity.GetFileName(), QStringLiteral("copy"));
    EXPECT_EQ(model.identity.GetUserData(), QStringLiteral("again"));
    EXPECT_EQ(model.library, QStringLiteral("KWVD"));
    const std::vector<kwvd::clientaccess::SpooledFile> files = Queue();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(SpooledFileAttribute(files[0], 104)->text, QStringLiteral("COPY"));
    EXPECT_EQ(SpooledFileAttribute(files[0], 116)->text, QStringLiteral("AGAIN"));
    EXPECT_EQ(Data(files[0]), QByteArray::fromHex("34C00134C401E3D6E3C1D3"));
    EXPECT_TRUE(prompts.Texts().isEmpty());

    dialog.reset(); // the histories are saved when the window goes
    EXPECT_EQ(History(CMerrowApp::kHistorySystemName), QStringList{kSystem});
    EXPECT_EQ(History(CMerrowApp::kHistoryOutputQueue), QStringList{"QPRINT"});
    EXPECT_EQ(History(CMerrowApp::kHistoryLibrary), QStringList{"KWVD"});
    EXPECT_EQ(History(CMerrowApp::kHistoryFileName), QStringList{"copy"});
    EXPECT_EQ(History(CMerrowApp::kHistoryUserData), QStringList{"again"});
}

TEST_F(ExportDialog, OkThatCannotGoOnKeepsTheDialogOpen)
{
    struct Case
    {
        const char* name;
        int field;
        QString text;
        QString message; // empty: none
    };
    const Case cases[] = {
        {"empty queue: nothing visible", Dialog::IDC_OUTPUT_QUEUE, "", ""},
        {"unknown queue: the host's message", Dialog::IDC_OUTPUT_QUEUE, "NOSUCHQ", "NOSUCHQ"},
        {"queue of 11 characters", Dialog::IDC_OUTPUT_QUEUE, "ABCDEFGHIJK", "Enter no more than 10 characters."},
        {"file name of 11 characters", Dialog::IDC_FILE_NAME, "ABCDEFGHIJK", "Enter no more than 10 characters."},
    };
    for (const Case& c : cases) {
        prompts.Renew();
        auto dialog = Open();
        Type(*dialog, c.field, c.text);

        ClickOk(*dialog);

        EXPECT_TRUE(dialog->isVisible()) << c.name;
        EXPECT_EQ(dialog->LastResult(), OkResult::StayOpen) << c.name;
        if (c.message.isEmpty())
            EXPECT_TRUE(prompts.Texts().isEmpty()) << c.name;
        else
            EXPECT_TRUE(prompts.Texts().join(u'\n').contains(c.message))
                << c.name << ": " << prompts.Texts().join(u'|').toStdString();
        EXPECT_TRUE(Queue().empty()) << c.name;
        EXPECT_TRUE(History(CMerrowApp::kHistoryOutputQueue).isEmpty()) << c.name;
    }
}

TEST_F(ExportDialog, FailedExportAsksToRetry)
{
    auto dialog = Open();
    ASSERT_TRUE(kwvd::clientaccess::SetInjectedFault("cwbOBJ_CreateNewSplF", kCwbStoreError, "KWV4001", "Injected.",
                                                     true));
    prompts->AnswerMessageBox(IDOK);  // the host's message
    prompts->AnswerMessageBox(IDYES); // retry

    ClickOk(*dialog);

    EXPECT_TRUE(dialog->isVisible());
    ASSERT_EQ(prompts->Recorded().size(), 2u);
    EXPECT_TRUE(prompts->Recorded()[0].text.contains(QStringLiteral("KWV4001")));
    EXPECT_EQ(prompts->Recorded()[1].text,
              QStringLiteral("An error occurred whilst exporting the spooled file, would you like to retry ?"));
    EXPECT_EQ(prompts->Recorded()[1].Buttons(), UINT(MB_YESNO));

    // The fault was used up: the retry goes through.
    ClickOk(*dialog);

    EXPECT_EQ(dialog->LastResult(), OkResult::CloseExported);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(Queue().size(), 1u);
}

TEST_F(ExportDialog, DeclinedRetryClosesButKeepsTheFailure)
{
    auto dialog = Open();
    ASSERT_TRUE(kwvd::clientaccess::SetInjectedFault("cwbOBJ_CreateNewSplF", kCwbStoreError, "KWV4001", "Injected.",
                                                     true));
    prompts->AnswerMessageBox(IDOK);
    prompts->AnswerMessageBox(IDNO);

    ClickOk(*dialog);

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->LastResult(), OkResult::CloseFailed);
    dialog.reset();
    EXPECT_EQ(History(CMerrowApp::kHistoryOutputQueue), QStringList{"QPRINT"});
}

TEST_F(ExportDialog, Screenshot)
{
    auto dialog = Open();
    QApplication::processEvents();
    const QImage shot = dialog->grab().toImage();
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
    ASSERT_TRUE(shot.save(QStringLiteral(KWVD_SCREENSHOT_DIR "/export-spooled-file-10101.png")));
    // Every label was found in the string table.
    for (QLabel* label : dialog->findChildren<QLabel*>())
        EXPECT_FALSE(label->text().contains(QStringLiteral("???"))) << label->text().toStdString();
}

// The entry point runs the dialog modally: the user's part is played once the
// dialog is up.
class ExportEntryPoint : public ExportHostFixture
{
protected:
    BOOL Run(const std::function<void(CExportSpooledFileDialogView&)>& user, int mode = 0)
    {
        QTimer::singleShot(0, [user] {
            auto* dialog = qobject_cast<CExportSpooledFileDialogView*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            user(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        SpooledPageList* list = &pages.List();
        int pageSize[2] = {80, 20};
        const QString system = kSystem;
        return ExportSpooledFile(&system, &identity, &list, pageSize, 37, mode);
    }

    SpooledFileIdentity identity = Loaded();
    OwnedPages pages{{"", "TOTAL"}, {"", "", "END"}};
};

TEST_F(ExportEntryPoint, OkExportsAndLeavesTheCallersRecord)
{
    EXPECT_EQ(Run([](CExportSpooledFileDialogView& dialog) {
                  Type(dialog, Dialog::IDC_FILE_NAME, QStringLiteral("NEWNAME"));
                  ClickOk(dialog);
              }),
              TRUE);

    const std::vector<kwvd::clientaccess::SpooledFile> files = Queue();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(SpooledFileAttribute(files[0], 104)->text, QStringLiteral("NEWNAME"));
    EXPECT_EQ(Data(files[0]), QByteArray::fromHex("34C00134C401E3D6E3C1D3" "0C" "34C00134C402C5D5C4"));
    EXPECT_EQ(identity.GetFileName(), QStringLiteral("QSYSPRT"));
    EXPECT_EQ(pages.List().GetCount(), 2);
}

TEST_F(ExportEntryPoint, CancelAndDeclinedRetryGiveZero)
{
    EXPECT_EQ(Run([](CExportSpooledFileDialogView&) {}), FALSE);

    ASSERT_TRUE(kwvd::clientaccess::SetInjectedFault("cwbOBJ_WriteNewSplF", kCwbStoreError, "KWV4001", "Injected.",
                                                     false));
    prompts->AnswerMessageBox(IDOK);
    prompts->AnswerMessageBox(IDNO);
    EXPECT_EQ(Run([](CExportSpooledFileDialogView& dialog) { ClickOk(dialog); }), FALSE);
    EXPECT_EQ(prompts->Recorded().back().text,
              QStringLiteral("An error occurred whilst exporting the spooled file, would you like to retry ?"));
}

TEST_F(ExportEntryPoint, RawDataGoesBackByteForByte)
{
    using namespace kwvd::clientaccess;
    QFile sample(QStringLiteral(KWVD_SOURCE_DIR "/samples/sample-spool.scs"));
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    const QByteArray original = sample.readAll();
    const std::map<int, AttributeValue> attributes{
        {104, {AttributeType::Text, "QSYSPRT", 0, 0}}, {62, {AttributeType::Text, "SOMEONE", 0, 0}},
        {116, {AttributeType::Text, "SAMPLE", 0, 0}},  {111, {AttributeType::Long, {}, 2, 0}},
        {34, {AttributeType::Text, "1261211", 0, 0}},  {110, {AttributeType::Text, "101500", 0, 0}},
    };
    unsigned long number = 0;
    QString error;
    ASSERT_TRUE(AddSpooledFile(kSystem, QStringLiteral("KWVD"), QStringLiteral("QPRINT"), attributes, original,
                               &number, &error))
        << error.toStdString();
    // The raw file holds the spooled file's bytes as the host delivered them.
    QTemporaryDir folder;
    const QString raw = folder.filePath(QStringLiteral("sample.raw_splf"));
    {
        QFile file(raw);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Data(Queue().front()));
    }
    prompts->AnswerFile(raw);

    EXPECT_EQ(Run([](CExportSpooledFileDialogView& dialog) {
                  EXPECT_FALSE(dialog.CodePageBox()->isEnabled());
                  Type(dialog, Dialog::IDC_FILE_NAME, QStringLiteral("COPY"));
                  ClickOk(dialog);
              },
                  Dialog::kModeRaw),
              TRUE);

    const std::vector<SpooledFile> files = Queue();
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(SpooledFileAttribute(files[1], 104)->text, QStringLiteral("COPY"));
    EXPECT_EQ(Data(files[1]), original);
}

TEST_F(ExportEntryPoint, WhatEscapesIsReportedAndGivesZero)
{
    SetEntryPointFaultHook([](const char* entryPoint) {
        if (std::string_view(entryPoint) == "ExportSpooledFile")
            throw std::runtime_error("unexpected");
    });
    SpooledPageList* list = &pages.List();
    int pageSize[2] = {80, 20};
    const QString system = kSystem;

    const BOOL result = ExportSpooledFile(&system, &identity, &list, pageSize, 37, 0);
    SetEntryPointFaultHook(nullptr);

    EXPECT_EQ(result, FALSE);
    EXPECT_EQ(prompts.Texts(),
              QStringList{"An unknown error occurred whilst attempting to export a spooled file to the Server."});
    EXPECT_TRUE(Queue().empty());
}

} // namespace
