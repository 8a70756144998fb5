// The document's life cycle, hints, header fields, type and code page, the
// title mark around saving, and the quiet read.

#include "DesignerDocTestSupport.h"
#include "tests/support/WvdDocumentFixture.h"

#include "designer/document/Page.h"
#include "designer/document/SpooledFile.h"
#include "designer/elements/FormOutputElement.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/fonts/FontManager.h"
#include "platform/framework/Archive.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// Reading fails the way a file refused by its header fails.
class UnreadableDoc : public SnapshotCountingDoc
{
public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsLoading())
            AfxThrowArchiveException(CArchiveException::badSchema);
    }
};

class RecordingPrompter : public DocumentPrompter
{
public:
    SaveChoice AskToSave(const QString& name) override
    {
        askedNames.push_back(name);
        return SaveChoice::Discard;
    }
    QString ChooseSavePath(const QString& proposedName, const QString&, const QString&) override
    {
        proposedNames.push_back(proposedName);
        return {};
    }
    void ReportSaveLoadException(const QString& path, const CException&, bool) override { reported.push_back(path); }

    std::vector<QString> askedNames;
    std::vector<QString> proposedNames;
    std::vector<QString> reported;
};

} // namespace

class DesignerDocTest : public DocFixture
{
protected:
    void SetUp() override
    {
        DocFixture::SetUp();
        prompter = std::make_shared<RecordingPrompter>();
        previousPrompter = SetDocumentPrompter(prompter);
    }
    void TearDown() override
    {
        SetDocumentPrompter(previousPrompter);
        DocFixture::TearDown();
    }

    std::shared_ptr<RecordingPrompter> prompter;
    std::shared_ptr<DocumentPrompter> previousPrompter;
};

TEST_F(DesignerDocTest, ConstructedDocumentIsEmptyAndNotReady)
{
    EXPECT_FALSE(doc->IsReady());
    EXPECT_EQ(doc->GetSourcePage(), nullptr);
    EXPECT_EQ(doc->GetOutputPage(), nullptr);
    EXPECT_EQ(doc->GetSpooledFile(), nullptr);
    EXPECT_EQ(doc->GetOutputDeviceManager(), nullptr);
    EXPECT_TRUE(doc->GetElementList().IsEmpty());
    EXPECT_EQ(doc->GetDocumentVersion(), 59);
    EXPECT_EQ(doc->GetCodePageId(), 0) << "no output page, no font manager";
    EXPECT_FALSE(doc->SetCodePageId(37));
    EXPECT_TRUE(doc->FirstPageTextLine().IsEmpty());
    EXPECT_TRUE(doc->NoPrintBorder().IsEmpty());
}

TEST_F(DesignerDocTest, NewDocumentIsCompleteAndAnnouncedOnce)
{
    ASSERT_TRUE(doc->OnNewDocument());

    EXPECT_TRUE(doc->IsReady());
    EXPECT_NE(doc->GetSourcePage(), nullptr);
    EXPECT_NE(doc->GetOutputPage(), nullptr);
    EXPECT_NE(doc->GetSpooledFile(), nullptr);
    EXPECT_NE(doc->GetOutputDeviceManager(), nullptr);
    EXPECT_NE(doc->GetBarcodeManager(), nullptr);
    EXPECT_NE(doc->GetImageRegistry(), nullptr);
    EXPECT_NE(doc->GetResourceManager(), nullptr);
    EXPECT_NE(doc->GetDocStoreManager(), nullptr);
    ASSERT_EQ(doc->GetElementList().GetCount(), 1);
    EXPECT_NE(dynamic_cast<CFormOutputElement*>(doc->GetElementList().GetHead()), nullptr);
    EXPECT_EQ(doc->GetZOrderList().GetCount(), 1);

    // Nothing leaks out while the document is built; views hear first.
    EXPECT_EQ(log,
              (std::vector<Heard>{{'v', 245, nullptr}, {'l', 245, nullptr}, {'v', 254, nullptr}, {'l', 254, nullptr}}));
    EXPECT_EQ(doc->snapshots, 1) << "the first snapshot";
    EXPECT_EQ(doc->GetBuildId(), 0u);
    EXPECT_EQ(doc->GetChangeDepth(), 0);
    EXPECT_EQ(doc->GetUpdateSuppression(), 0);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(prompts->Recorded().empty());
}

TEST_F(DesignerDocTest, HeaderDefaultsHaveTheirWidths)
{
    ASSERT_TRUE(doc->OnNewDocument());
    struct TextCase
    {
        const char* name;
        CFixedLenString& field;
        int width;
        const char* value;
    };
    const TextCase texts[] = {
        {"1 WVD name", doc->WvdName(), 10, ""},
        {"2 description", doc->Description(), 50, ""},
        {"3 first-page text", doc->FirstPageText(), 30, ""},
        {"7 comparison", doc->FirstPageCompare(), 2, ""},
        {"8 ignore first page", doc->IgnoreFirstPage(), 1, "N"},
        {"11 orientation", doc->OrientationDigit(), 1, ""},
        {"13 font group", doc->FontGroupName(), 8, ""},
        {"14 resource library", doc->ResourceLibrary(), 8, ""},
        {"15 document type", doc->DocTypeDigit(), 1, "0"},
    };
    for (const TextCase& c : texts) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.field.GetWidth(), c.width);
        EXPECT_EQ(c.field.GetValue(), QString::fromUtf8(c.value));
    }
    struct NumberCase
    {
        const char* name;
        CFixedLenNum& field;
        int width;
    };
    const NumberCase numbers[] = {
        {"4 line", doc->FirstPageTextLine(), 2},       {"5 column", doc->FirstPageTextColumn(), 3},
        {"6 width", doc->FirstPageTextWidth(), 2},     {"9 first page", doc->FirstPageToProcess(), 3},
        {"10 last page", doc->LastPageToProcess(), 3}, {"12 border", doc->NoPrintBorder(), 5},
    };
    for (const NumberCase& c : numbers) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.field.GetWidth(), c.width);
        EXPECT_EQ(c.field.GetValue(), 0.0);
    }
}

TEST_F(DesignerDocTest, HeaderDefaultsKeepTheEmptyMarks)
{
    doc->FirstPageToProcess().SetValue(7);
    ASSERT_FALSE(doc->FirstPageToProcess().IsEmpty());
    doc->SetHeaderDefaults();
    EXPECT_EQ(doc->FirstPageToProcess().GetValue(), 0.0);
    EXPECT_FALSE(doc->FirstPageToProcess().IsEmpty());
    EXPECT_TRUE(doc->LastPageToProcess().IsEmpty());
}

TEST_F(DesignerDocTest, DocTypeTellsEachViewOnlyOnAChange)
{
    ASSERT_TRUE(doc->OnNewDocument());
    RecordingView second(&log);
    doc->AddView(&second);
    struct Case
    {
        const char* name;
        int type;
        BOOL changed;
        int events;
        BYTE after;
    };
    const Case cases[] = {
        {"7 counts as 0: unchanged", 7, FALSE, 0, 0}, {"0 on a spooled-file design", 0, FALSE, 0, 0},
        {"1 makes an XML document", 1, TRUE, 2, 1},   {"1 again", 1, FALSE, 0, 1},
        {"255 counts as 0", 255, TRUE, 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        log.clear();
        EXPECT_EQ(doc->SetDocType(static_cast<BYTE>(c.type)), c.changed);
        EXPECT_EQ(doc->GetDocType(), c.after);
        EXPECT_EQ(std::count(log.begin(), log.end(), Heard{'t', c.after, nullptr}), c.events);
        EXPECT_EQ(static_cast<int>(log.size()), c.events);
        EXPECT_EQ(doc->GetOutputDeviceManager()->GetDocument(), doc.get());
    }
    EXPECT_TRUE(doc->SetDocTypeNumber(300)) << "clamped to 255, which counts as 0";
    EXPECT_EQ(doc->GetDocType(), 0);
    doc->RemoveView(&second);
}

TEST_F(DesignerDocTest, CodePageLivesInTheOutputFontManager)
{
    ASSERT_TRUE(doc->OnNewDocument());
    const int before = doc->GetCodePageId();
    EXPECT_EQ(before, doc->GetOutputPage()->GetFontManager()->GetCodePageId());
    const int other = before == 500 ? 37 : 500;
    EXPECT_TRUE(doc->SetCodePageId(other));
    EXPECT_FALSE(doc->SetCodePageId(other));
    EXPECT_EQ(doc->GetCodePageId(), other);
}

TEST_F(DesignerDocTest, ResetBringsTheTransactionBackToRest)
{
    ASSERT_TRUE(doc->OnNewDocument());
    CPreferences preferences;
    preferences.ZoomSource = {150, 120};
    preferences.ZoomFitDest = 4;
    preferences.SetServerAccessLoaded(TRUE);
    CPreferences* previous = SetPreferences(&preferences);
    doc->BeginChange();
    doc->BeginChange();
    doc->SetModifiedFlag(TRUE);
    doc->SetBuildId(17);

    doc->ResetContents();

    SetPreferences(previous);
    EXPECT_EQ(doc->GetChangeDepth(), 0);
    EXPECT_FALSE(doc->IsDirty());
    EXPECT_EQ(doc->GetBuildId(), 0u);
    EXPECT_EQ(doc->GetUpdateSuppression(), 0);
    EXPECT_TRUE(doc->GetElementList().IsEmpty());
    EXPECT_TRUE(doc->GetZOrderList().IsEmpty());
    EXPECT_EQ(doc->GetOutputPage(), nullptr);
    EXPECT_EQ(doc->m_sourceZoom[0], 150);
    EXPECT_EQ(doc->m_sourceZoom[1], 120);
    EXPECT_EQ(doc->m_destFit, 4);
    EXPECT_TRUE(doc->m_automaticImport);
    EXPECT_FALSE(doc->IsReady());
    EXPECT_EQ(doc->snapshots, 1) << "a reset takes no snapshot";
}

TEST_F(DesignerDocTest, SuppressionHoldsHintsBack)
{
    doc->SuppressUpdates();
    doc->BroadcastHint(DocumentHint::ElementChanged, nullptr);
    EXPECT_TRUE(log.empty());
    doc->ResumeUpdates();
    doc->ResumeUpdates(); // never below 0
    EXPECT_EQ(doc->GetUpdateSuppression(), 0);
    doc->BroadcastHint(DocumentHint::ElementChanged, nullptr);
    EXPECT_EQ(log, (std::vector<Heard>{{'v', 241, nullptr}, {'l', 241, nullptr}}));
}

TEST_F(DesignerDocTest, CloseAnnouncesNoSelectionAndTellsTheFrame)
{
    ASSERT_TRUE(doc->OnNewDocument());
    log.clear();
    doc->OnCloseDocument();
    EXPECT_EQ(ListenerHints(), std::vector<LPARAM>{245});
    EXPECT_EQ(listener.closings, 1);
    EXPECT_TRUE(doc->GetViews().empty());
    doc->AddView(&view); // the fixture lets it go again
}

TEST_F(DesignerDocTest, SaveQuestionShowsTheTitleWithoutTheMark)
{
    ASSERT_TRUE(doc->OnNewDocument());
    doc->SetTitle(QStringLiteral("Invoice.wvd"));
    {
        CDocChangeGuard guard(doc.get());
        doc->SetModifiedFlag(TRUE);
    }
    ASSERT_EQ(doc->GetTitle(), QStringLiteral("Invoice.wvd *"));

    EXPECT_TRUE(doc->SaveModified()); // the prompter discards
    EXPECT_EQ(prompter->askedNames, std::vector<QString>{QStringLiteral("Invoice.wvd")});
    EXPECT_EQ(doc->GetTitle(), QStringLiteral("Invoice.wvd *")) << "still modified: marked again";

    EXPECT_FALSE(doc->DoSave(QString(), TRUE)); // the chooser is cancelled
    EXPECT_EQ(prompter->proposedNames, std::vector<QString>{QStringLiteral("Invoice.wvd")});
    EXPECT_EQ(doc->GetTitle(), QStringLiteral("Invoice.wvd *"));
}

TEST_F(DesignerDocTest, TitleMarkRemovesEveryStar)
{
    doc->SetTitle(QStringLiteral("A*B *  "));
    doc->UpdateTitleMark(FALSE, TRUE);
    EXPECT_EQ(doc->GetTitle(), QStringLiteral("AB"));
    doc->UpdateTitleMark(TRUE, FALSE);
    EXPECT_EQ(doc->GetTitle(), QStringLiteral("AB *"));
}

// A failed open must leave a whole new document and no way for Save to
// overwrite the file that failed.
TEST_F(DesignerDocTest, FailedOpenThenSaveLeavesTheFileAlone)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("Broken.wvd"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\x12\x13\x3B original bytes");
    }

    UnreadableDoc failing;
    failing.AddView(&view);
    failing.AddChangeListener(&listener);
    log.clear();

    EXPECT_FALSE(failing.OnOpenDocument(path));

    EXPECT_EQ(prompter->reported.size(), 1u);
    EXPECT_TRUE(failing.GetPathName().isEmpty());
    EXPECT_TRUE(failing.IsReady());
    EXPECT_NE(failing.GetOutputPage(), nullptr);
    ASSERT_EQ(failing.GetElementList().GetCount(), 1) << "the default Output element";
    EXPECT_EQ(ListenerHints().back(), 254);
    EXPECT_EQ(failing.snapshots, 1);
    EXPECT_EQ(failing.GetChangeDepth(), 0);
    EXPECT_EQ(failing.GetUpdateSuppression(), 0);
    EXPECT_FALSE(failing.IsModified());

    // Later edits still reach the windows.
    log.clear();
    {
        CDocChangeGuard guard(&failing);
        failing.BringToFront(static_cast<CFormElement*>(failing.GetElementList().GetHead()), FALSE);
    }
    EXPECT_EQ(ListenerHints(), std::vector<LPARAM>{241});

    EXPECT_FALSE(failing.DoFileSave()) << "no path: the chooser asks and is cancelled";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\x12\x13\x3B original bytes"));

    failing.RemoveChangeListener(&listener);
    failing.RemoveView(&view);
    doc->AddView(&view);
}

// Opening a real file: the registrations, preferences and prompts of a WVD
// read outlive the document, which the fixture frees in TearDown.
class DesignerDocOpenTest : public DesignerDocTest
{
protected:
    WvdTestEnvironment env;
};

TEST_F(DesignerDocOpenTest, OpenedDocumentIsCompleteAndAnnounced)
{
    const QString path = env.folder.filePath(QStringLiteral("Good.wvd"));
    {
        CDesignerDoc written;
        ASSERT_TRUE(written.OnNewDocument());
        written.WvdName().SetValue(QStringLiteral("GOOD"));
        const Bytes bytes = StoreDocument(written);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())),
                  static_cast<qint64>(bytes.size()));
    }
    log.clear();
    EXPECT_TRUE(doc->OnOpenDocument(path));
    EXPECT_EQ(QDir::cleanPath(doc->GetPathName()), QDir::cleanPath(path));
    EXPECT_EQ(doc->WvdName().GetValue(), QStringLiteral("GOOD"));
    EXPECT_TRUE(doc->IsReady());
    EXPECT_NE(doc->GetSourcePage(), nullptr);
    EXPECT_NE(doc->GetOutputPage(), nullptr);
    EXPECT_NE(doc->GetDocStoreManager(), nullptr);
    EXPECT_EQ(ListenerHints(), (std::vector<LPARAM>{245, 254}));
    EXPECT_EQ(doc->snapshots, 1);
}

TEST_F(DesignerDocTest, QuietReadHoldsNoticesUntilItEnds)
{
    doc->BeginQuietRead();
    doc->BeginQuietRead();
    EXPECT_TRUE(doc->IsQuietRead());
    EXPECT_EQ(doc->NotifyUser(QStringLiteral("Image missing."), MB_YESNO | MB_ICONQUESTION, IDNO), IDNO);
    EXPECT_EQ(doc->NotifyUser(QStringLiteral("Image missing."), MB_YESNO | MB_ICONQUESTION, IDNO), IDNO);
    EXPECT_EQ(doc->NotifyUser(QStringLiteral("Font missing."), MB_OK | MB_ICONWARNING, IDOK), IDOK);
    EXPECT_TRUE(prompts->Recorded().empty());

    EXPECT_TRUE(doc->EndQuietRead().empty()) << "the inner end keeps them";
    const std::vector<HeldNotice> held = doc->EndQuietRead();
    EXPECT_FALSE(doc->IsQuietRead());
    ASSERT_EQ(held.size(), 2u);
    EXPECT_EQ(held[0].text, QStringLiteral("Image missing."));
    EXPECT_EQ(held[1].text, QStringLiteral("Font missing."));

    CDesignerDoc::ShowHeldNotices(held);
    ASSERT_EQ(prompts->Recorded().size(), 2u);
    EXPECT_EQ(prompts->Recorded()[0].Buttons(), MB_OK) << "afterwards nothing can be answered";
    EXPECT_EQ(prompts->Recorded()[0].Icon(), MB_ICONQUESTION);

    prompts->AnswerMessageBox(IDYES);
    EXPECT_EQ(doc->NotifyUser(QStringLiteral("Asked now."), MB_YESNO, IDNO), IDYES);
}
