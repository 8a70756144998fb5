// The document's Execute a WVD: how an incomplete request is filled before
// the dialog, and that only a result of 1 stores the request back, as one
// undo step.

#include "designer/document/DesignerDoc.h"
#include "designer/document/SpooledFile.h"
#include "tests/support/WvdDocumentFixture.h"

#include <gtest/gtest.h>

namespace {

class ExecuteWvdTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        env.prefs.DefaultSystem = QStringLiteral("SYSA");
        env.prefs.DefaultLibrary = QStringLiteral("KWVD");
        env.prefs.DefaultOutputQueue = QStringLiteral("QUEUENAME12345");
        env.prefs.DefaultOutputQueueLibrary = QStringLiteral("QLIB");
        ASSERT_TRUE(doc.OnNewDocument());
        {
            CDocChangeGuard change(&doc);
            doc.WvdName().SetValue(QStringLiteral("INVOICE"));
            doc.SetModifiedFlag(TRUE);
        }
        doc.SetModifiedFlag(FALSE);
        undoSteps = doc.GetUndoList().GetCount();
    }

    // Runs the command with an execute step that records what it was given,
    // lets edit change it and answers result.
    int Run(int result, const std::function<void(CrtWvdRequest&)>& edit = {})
    {
        return doc.OnExecuteWvd([&](CrtWvdRequest* request) {
            ++calls;
            seen = *request;
            if (edit)
                edit(*request);
            return result;
        });
    }

    WvdTestEnvironment env;
    CDesignerDoc doc;
    qsizetype undoSteps = 0;
    int calls = 0;
    CrtWvdRequest seen;
};

TEST_F(ExecuteWvdTest, AnIncompleteRequestIsFilledFromThePreferencesAndTheDocument)
{
    ASSERT_FALSE(doc.GetRunParameters().IsComplete());
    EXPECT_EQ(Run(0), 0);
    ASSERT_EQ(calls, 1);
    EXPECT_EQ(seen.GetSystem(), QStringLiteral("SYSA"));
    EXPECT_EQ(seen.GetLibrary(), QStringLiteral("KWVD"));
    EXPECT_EQ(seen.GetWvdName(), QStringLiteral("INVOICE"));
    EXPECT_EQ(seen.GetIdentity().GetOutputQueue(), QStringLiteral("QUEUENAME1"));
    EXPECT_EQ(seen.GetIdentity().GetOutputQueueLibrary(), QStringLiteral("QLIB"));
    EXPECT_EQ(seen.GetIdentity().GetFileName(), QStringLiteral("*ALL"));
    EXPECT_EQ(seen.GetSpooledFileStatus(), QStringLiteral("*HLD"));
    // The document's own queue takes the preference whole.
    EXPECT_EQ(doc.m_outputQueue, QStringLiteral("QUEUENAME12345"));
    EXPECT_EQ(doc.m_outputQueueLibrary, QStringLiteral("QLIB"));
}

TEST_F(ExecuteWvdTest, TheDocumentsQueueAndTheLoadedSpooledFileComeBeforeThePreferences)
{
    doc.m_outputQueue = QStringLiteral("PRT01");
    doc.m_outputQueueLibrary = QStringLiteral("QUSRSYS");
    EXPECT_EQ(Run(0), 0);
    EXPECT_EQ(seen.GetIdentity().GetOutputQueue(), QStringLiteral("PRT01"));
    EXPECT_EQ(seen.GetIdentity().GetOutputQueueLibrary(), QStringLiteral("QUSRSYS"));

    SpooledFileIdentity& loaded = doc.GetSpooledFile()->GetLoadedIdentity();
    loaded.SetOutputQueue(QStringLiteral("QPRINT"));
    loaded.SetOutputQueueLibrary(QStringLiteral("KWVD"));
    loaded.SetFileName(QStringLiteral("QSYSPRT"));
    loaded.SetUserName(QStringLiteral("ANN"));
    EXPECT_EQ(Run(0), 0);
    EXPECT_TRUE(seen.GetIdentity().IsEqual(loaded));
}

TEST_F(ExecuteWvdTest, ACompleteRequestPassesUnchangedAndLeavesTheQueuesAlone)
{
    CrtWvdRequest complete;
    complete.SetSystem(QStringLiteral("SYSB"));
    complete.SetLibrary(QStringLiteral("PROD"));
    complete.SetWvdName(QStringLiteral("ORDERS"));
    complete.GetIdentity().SetOutputQueue(QStringLiteral("PRT09"));
    doc.GetRunParameters() = complete;

    EXPECT_EQ(Run(1), 1);
    EXPECT_TRUE(seen.IsEqual(complete));
    EXPECT_TRUE(doc.m_outputQueue.isEmpty());
    EXPECT_TRUE(doc.m_outputQueueLibrary.isEmpty());
    // Stored back unchanged: nothing to save, no undo step.
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetUndoList().GetCount(), undoSteps);
}

TEST_F(ExecuteWvdTest, OnlyAResultOfOneStoresTheRequestAsOneUndoStep)
{
    const CrtWvdRequest before = doc.GetRunParameters();
    const auto edit = [](CrtWvdRequest& request) { request.GetIdentity().SetUserName(QStringLiteral("BOB")); };
    for (int result : {0, 2, -1}) {
        SCOPED_TRACE(result);
        EXPECT_EQ(Run(result, edit), result);
        EXPECT_TRUE(doc.GetRunParameters().IsEqual(before));
        EXPECT_FALSE(doc.IsModified());
        EXPECT_EQ(doc.GetUndoList().GetCount(), undoSteps);
    }

    EXPECT_EQ(Run(1, edit), 1);
    const CrtWvdRequest& stored = doc.GetRunParameters();
    EXPECT_EQ(stored.GetIdentity().GetUserName(), QStringLiteral("BOB"));
    EXPECT_EQ(stored.GetSystem(), QStringLiteral("SYSA"));
    EXPECT_EQ(stored.GetWvdName(), QStringLiteral("INVOICE"));
    EXPECT_TRUE(stored.IsComplete());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetUndoList().GetCount(), undoSteps + 1);

    // Undo puts the request back as it was.
    doc.OnEditUndo();
    EXPECT_TRUE(doc.GetRunParameters().IsEqual(before));
}

} // namespace
