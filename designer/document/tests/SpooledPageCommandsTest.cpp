// Moving between the pages of the sample spooled file: when the moves are
// offered, what they change and that they leave the undo list alone; and the
// other tools that change the sample.

#include "designer/document/DesignerDoc.h"
#include "designer/document/SpooledFile.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/WvdDocumentFixture.h"

#include <gtest/gtest.h>

#include <QFile>

#include <vector>

namespace {

class HintLog : public DocumentChangeListener
{
public:
    void OnDocumentChanged(LPARAM hint, CObject*, CObject*) override { hints.push_back(hint); }
    void OnElementsRevalidated(CDesignerDoc*) override { ++revalidations; }

    std::vector<LPARAM> hints;
    int revalidations = 0;
};

class SpooledPageCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(doc.OnNewDocument());
        doc.SetTitle(QStringLiteral("INVOICE"));
        doc.AddChangeListener(&log);
    }
    void TearDown() override { doc.RemoveChangeListener(&log); }

    // Pages 1 to count, then page current shown, as a saved document is.
    void UsePages(int count, int current)
    {
        {
            CDocChangeGuard change(&doc);
            for (int n = 1; n <= count; ++n) {
                auto* lines = new CStringArray;
                lines->Add(QString());
                lines->Add(QStringLiteral("PAGE %1").arg(n));
                ASSERT_TRUE(doc.GetSpooledFile()->SetPage(lines, n));
            }
            if (current > 0) {
                ASSERT_TRUE(doc.GetSpooledFile()->SetCurrentPage(current));
            }
        }
        doc.SetModifiedFlag(FALSE);
        log.hints.clear();
        log.revalidations = 0;
        undoSteps = doc.GetUndoList().GetCount();
        buildId = doc.GetBuildId();
    }

    int CurrentPage() const { return doc.GetSpooledFile()->GetCurrentPageNumber(); }

    WvdTestEnvironment env;
    CDesignerDoc doc;
    HintLog log;
    qsizetype undoSteps = 0;
    DWORD buildId = 0;
};

TEST_F(SpooledPageCommandsTest, OfferedByThePlaceOfTheCurrentPage)
{
    struct Case
    {
        const char* name;
        int pages;
        int current;
        BOOL next;
        BOOL prev;
        const char* indicator;
    };
    const Case cases[] = {
        {"no pages", 0, 0, FALSE, FALSE, ""},
        {"one page", 1, 1, FALSE, FALSE, "Page 1 of 1"},
        {"first of three", 3, 1, TRUE, FALSE, "Page 1 of 3"},
        {"middle of three", 3, 2, TRUE, TRUE, "Page 2 of 3"},
        {"last of three", 3, 3, FALSE, TRUE, "Page 3 of 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDesignerDoc fresh;
        ASSERT_TRUE(fresh.OnNewDocument());
        {
            CDocChangeGuard change(&fresh);
            for (int n = 1; n <= c.pages; ++n) {
                auto* lines = new CStringArray;
                lines->Add(QStringLiteral("LINE"));
                ASSERT_TRUE(fresh.GetSpooledFile()->SetPage(lines, n));
            }
            if (c.current > 0) {
                ASSERT_TRUE(fresh.GetSpooledFile()->SetCurrentPage(c.current));
            }
        }
        EXPECT_EQ(fresh.CanNextSpooledPage(), c.next);
        EXPECT_EQ(fresh.CanPrevSpooledPage(), c.prev);
        EXPECT_EQ(fresh.GetSpooledPageIndicator(), QString::fromLatin1(c.indicator));
    }
}

TEST_F(SpooledPageCommandsTest, MovesMarkTheDocumentWithoutAnUndoStep)
{
    struct Case
    {
        const char* name;
        int current;
        bool forward;
        BOOL moved;
        int pageAfter;
    };
    const Case cases[] = {
        {"next from the first", 1, true, TRUE, 2},
        {"next from the last", 3, true, FALSE, 3},
        {"previous from the last", 3, false, TRUE, 2},
        {"previous from the first", 1, false, FALSE, 1},
    };
    UsePages(3, 1);
    env.prompts->ClearRecorded();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(doc.GetSpooledFile()->SetCurrentPage(c.current));
        doc.SetModifiedFlag(FALSE);
        doc.SetTitle(QStringLiteral("INVOICE"));
        log.hints.clear();
        log.revalidations = 0;

        const BOOL moved = c.forward ? doc.OnNextSpooledPage() : doc.OnPrevSpooledPage();
        EXPECT_EQ(moved, c.moved);
        EXPECT_EQ(CurrentPage(), c.pageAfter);
        EXPECT_EQ(doc.GetUndoList().GetCount(), undoSteps);
        EXPECT_EQ(doc.GetBuildId(), buildId);
        EXPECT_FALSE(doc.IsDirty());
        if (c.moved) {
            EXPECT_TRUE(doc.IsModified());
            EXPECT_TRUE(doc.GetTitle().endsWith(QStringLiteral("*"))) << doc.GetTitle().toStdString();
            EXPECT_EQ(log.hints, std::vector<LPARAM>{DocumentHint::SpooledPageChanged});
            EXPECT_EQ(log.revalidations, 1);
        } else {
            EXPECT_FALSE(doc.IsModified());
            EXPECT_TRUE(log.hints.empty());
            EXPECT_EQ(log.revalidations, 0);
        }
    }
    EXPECT_TRUE(env.prompts->Recorded().empty()) << "the moves hold their own transaction";
}

TEST_F(SpooledPageCommandsTest, WithoutASpooledFilePageNothingMoves)
{
    UsePages(0, 0);
    CDocChangeGuard change(&doc);
    EXPECT_FALSE(doc.NextSpooledPage());
    EXPECT_FALSE(doc.PrevSpooledPage());
    EXPECT_FALSE(doc.IsDirty());
    EXPECT_TRUE(log.hints.empty());
}

TEST_F(SpooledPageCommandsTest, EditPendingInAnOuterTransactionStillCounts)
{
    UsePages(3, 1);
    {
        CDocChangeGuard edit(&doc);
        ASSERT_NE(doc.CreateNewElement(FormElementType::Remark, 0, kwvd::Rect(), nullptr), nullptr);
        EXPECT_TRUE(doc.OnNextSpooledPage());
        EXPECT_TRUE(doc.IsDirty());
    }
    EXPECT_EQ(CurrentPage(), 2);
    EXPECT_EQ(doc.GetUndoList().GetCount(), undoSteps + 1);
    EXPECT_EQ(doc.GetBuildId(), buildId + 1);
}

// The document's spooled-file tools: loading a sample from this computer,
// deleting the current page and the file's data. Unlike the page moves, a
// change of the sample is an undo step of its own.
class SpooledFileToolsTest : public SpooledPageCommandsTest
{
protected:
    CSpooledFile& Spool() { return *doc.GetSpooledFile(); }

    // The state the checks start from: unmodified, no hints seen.
    void Settle()
    {
        doc.SetModifiedFlag(FALSE);
        log.hints.clear();
        log.revalidations = 0;
        undoSteps = doc.GetUndoList().GetCount();
        buildId = doc.GetBuildId();
    }

    // A spooled file in this computer's form.
    QString WriteSpooledFile()
    {
        const QString path = env.folder.filePath(QStringLiteral("INVOICE.TXT"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Utf16Le(QStringLiteral("   1FIRST\n   1SECOND\n")));
        return path;
    }

    void ExpectChanged(const char* what)
    {
        SCOPED_TRACE(what);
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(log.revalidations, 1);
        EXPECT_EQ(log.hints, std::vector<LPARAM>{DocumentHint::SpooledPageChanged});
        EXPECT_EQ(doc.GetUndoList().GetCount(), undoSteps + 1);
        EXPECT_EQ(doc.GetBuildId(), buildId + 1);
    }

    void ExpectUnchanged(const char* what)
    {
        SCOPED_TRACE(what);
        EXPECT_FALSE(doc.IsModified());
        EXPECT_TRUE(log.hints.empty());
        EXPECT_EQ(doc.GetUndoList().GetCount(), undoSteps);
        EXPECT_EQ(doc.GetBuildId(), buildId);
    }
};

TEST_F(SpooledFileToolsTest, DeletingTheCurrentPageShowsTheOneAfterIt)
{
    UsePages(3, 2);
    ASSERT_TRUE(doc.DeleteCurrentSpooledPage());
    EXPECT_EQ(Spool().GetPageCount(), 2);
    EXPECT_EQ(Spool().GetCurrentPageNumber(), 2);
    EXPECT_EQ(Spool().GetCurrentPageLines()->GetAt(1), QStringLiteral("PAGE 3"));
    ExpectChanged("deleted");
}

TEST_F(SpooledFileToolsTest, DeletingWithoutPagesChangesNothing)
{
    Settle();
    EXPECT_FALSE(doc.DeleteCurrentSpooledPage());
    ExpectUnchanged("no pages");
}

TEST_F(SpooledFileToolsTest, LoadingFillsOnlyIncompleteRunParameters)
{
    struct Case
    {
        const char* name;
        bool complete;
        const char* fileNameAfter;
    };
    const Case cases[] = {
        {"incomplete take the loaded identity", false, "LOADED"},
        {"complete keep their own", true, "OWN"},
    };
    const QString path = WriteSpooledFile();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CrtWvdRequest& run = doc.GetRunParameters();
        run.SetSystem(QStringLiteral("HOST"));
        run.SetLibrary(QStringLiteral("WVDLIB"));
        run.SetWvdName(c.complete ? QStringLiteral("INVOICE") : QString());
        run.GetIdentity().SetFileName(QStringLiteral("OWN"));
        Spool().GetLoadedIdentity().SetFileName(QStringLiteral("LOADED"));
        Settle();
        env.prompts->AnswerFile(path);

        ASSERT_TRUE(doc.LoadLocalSpooledFile());

        EXPECT_GE(Spool().GetPageCount(), 1);
        EXPECT_EQ(Spool().GetCurrentPageNumber(), 1);
        EXPECT_EQ(run.GetIdentity().GetFileName(), QString::fromLatin1(c.fileNameAfter));
        ExpectChanged(c.name);
    }
}

TEST_F(SpooledFileToolsTest, ACancelledLoadLeavesDocumentAndRunParameters)
{
    UsePages(2, 2);
    doc.GetRunParameters().GetIdentity().SetFileName(QStringLiteral("OWN"));
    Spool().GetLoadedIdentity().SetFileName(QStringLiteral("LOADED"));
    env.prompts->AnswerFiles({});

    EXPECT_FALSE(doc.LoadLocalSpooledFile());

    EXPECT_EQ(Spool().GetPageCount(), 2);
    EXPECT_EQ(Spool().GetCurrentPageNumber(), 2);
    EXPECT_EQ(doc.GetRunParameters().GetIdentity().GetFileName(), QStringLiteral("OWN"));
    ExpectUnchanged("cancelled");
}

TEST_F(SpooledFileToolsTest, FileDataIsOfferedOnceTheLoadedIdentityHasAFileName)
{
    EXPECT_FALSE(doc.HasSpooledFileData());
    Spool().GetLoadedIdentity().SetFileName(QStringLiteral("QSYSPRT"));
    EXPECT_TRUE(doc.HasSpooledFileData());
}

} // namespace
