// Change transactions: what counts as a change, the Build ID and its wrap,
// the undo snapshot at the end, and a transaction left by an exception.

#include "DesignerDocTestSupport.h"

#include <stdexcept>

namespace {

const QString kClockMessage = QStringLiteral("Congratulation, This document has been clocked!\n"
                                             "This document has been modified more than 1 million times!!!\n"
                                             "Build ID will be reset to 0\n");

} // namespace

class ChangeTransactionTest : public DocFixture
{
protected:
    void SetUp() override
    {
        DocFixture::SetUp();
        ASSERT_TRUE(doc->OnNewDocument());
        doc->snapshots = 0;
        doc->buildIdsAtSnapshot.clear();
        prompts->ClearRecorded();
    }

    void CountedChange(int setModifiedCalls = 1)
    {
        CDocChangeGuard guard(doc.get());
        for (int i = 0; i < setModifiedCalls; ++i)
            doc->SetModifiedFlag(TRUE);
    }
};

TEST_F(ChangeTransactionTest, OutermostDirtyEndCountsOnce)
{
    struct Case
    {
        const char* name;
        int setModifiedCalls;
        int nesting;
        DWORD expectedBuildId;
        int expectedSnapshots;
    };
    const Case cases[] = {
        {"one change", 1, 1, 1, 1},
        {"two changes in one transaction", 2, 1, 1, 1},
        {"nested transactions", 1, 3, 1, 1},
        {"nothing changed", 0, 1, 0, 0},
        {"nothing changed, nested", 0, 2, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        doc->SetBuildId(0);
        doc->snapshots = 0;
        {
            std::vector<std::unique_ptr<CDocChangeGuard>> guards;
            for (int i = 0; i < c.nesting; ++i)
                guards.push_back(std::make_unique<CDocChangeGuard>(doc.get()));
            for (int i = 0; i < c.setModifiedCalls; ++i)
                doc->SetModifiedFlag(TRUE);
            while (guards.size() > 1) {
                guards.pop_back();
                EXPECT_EQ(doc->GetBuildId(), 0u) << "an inner end does not count";
            }
        }
        EXPECT_EQ(doc->GetBuildId(), c.expectedBuildId);
        EXPECT_EQ(doc->snapshots, c.expectedSnapshots);
        EXPECT_EQ(doc->GetChangeDepth(), 0);
        EXPECT_FALSE(doc->IsDirty());
    }
    EXPECT_TRUE(prompts->Recorded().empty());
}

TEST_F(ChangeTransactionTest, SnapshotAlreadyHoldsTheNewBuildId)
{
    CountedChange();
    CountedChange();
    EXPECT_EQ(doc->buildIdsAtSnapshot, (std::vector<DWORD>{1, 2}));
}

TEST_F(ChangeTransactionTest, MillionthChangeClocksTheDocument)
{
    doc->SetBuildId(999999);

    CountedChange();

    EXPECT_EQ(doc->GetBuildId(), 0u);
    ASSERT_EQ(prompts->Recorded().size(), 1u);
    EXPECT_EQ(prompts->Recorded()[0].text, kClockMessage);
    EXPECT_EQ(prompts->Recorded()[0].Icon(), MB_ICONEXCLAMATION);
    EXPECT_EQ(prompts->Recorded()[0].Buttons(), MB_OK);
    EXPECT_EQ(doc->buildIdsAtSnapshot, std::vector<DWORD>{0});

    CountedChange();
    EXPECT_EQ(doc->GetBuildId(), 1u);
    EXPECT_EQ(prompts->Recorded().size(), 1u) << "the message comes once";
}

TEST_F(ChangeTransactionTest, SetBuildIdRefusesValuesBeyondTheCounter)
{
    doc->SetBuildId(1000000);
    EXPECT_EQ(doc->GetBuildId(), 0u);
}

TEST_F(ChangeTransactionTest, ChangeOutsideATransactionWarnsEveryTime)
{
    prompts->AnswerMessageBox(IDYES);
    prompts->AnswerMessageBox(IDNO);

    doc->SetModifiedFlag(TRUE);
    doc->SetModifiedFlag(TRUE);

    ASSERT_EQ(prompts->Recorded().size(), 2u);
    for (const RecordedPrompt& p : prompts->Recorded()) {
        EXPECT_EQ(p.Buttons(), MB_YESNO);
        EXPECT_EQ(p.Icon(), MB_ICONEXCLAMATION);
        EXPECT_TRUE(p.text.contains(QStringLiteral("Qorvane")));
    }
    EXPECT_EQ(doc->snapshots, 1) << "Yes took a snapshot, No did not";
    EXPECT_TRUE(doc->IsDirty());
    EXPECT_EQ(doc->GetBuildId(), 0u);

    // The next transaction counts it though it changed nothing itself.
    {
        CDocChangeGuard guard(doc.get());
    }
    EXPECT_EQ(doc->GetBuildId(), 1u);
    EXPECT_EQ(doc->snapshots, 2);
    EXPECT_FALSE(doc->IsDirty());
}

TEST_F(ChangeTransactionTest, ClearingTheModifiedFlagIsNoChange)
{
    doc->SetModifiedFlag(FALSE);
    EXPECT_TRUE(prompts->Recorded().empty());
    EXPECT_FALSE(doc->IsDirty());
}

TEST_F(ChangeTransactionTest, EndChangeWithoutTransactionDoesNothing)
{
    doc->EndChange();
    EXPECT_EQ(doc->GetChangeDepth(), 0);
    EXPECT_EQ(doc->GetBuildId(), 0u);
}

// An exception through the guard: the step still counts, nothing is shown
// while it passes, and the held message comes afterwards.
TEST_F(ChangeTransactionTest, ExceptionPassesWithoutABoxAndTheMessageFollows)
{
    doc->SetBuildId(999999);
    try {
        CDocChangeGuard guard(doc.get());
        doc->SetModifiedFlag(TRUE);
        throw std::runtime_error("command failed");
    } catch (const std::runtime_error&) {
        EXPECT_TRUE(prompts->Recorded().empty()) << "no box while the exception passed";
        EXPECT_EQ(doc->GetBuildId(), 0u);
        EXPECT_EQ(doc->snapshots, 1);
        EXPECT_EQ(doc->GetChangeDepth(), 0);
    }

    {
        CDocChangeGuard next(doc.get());
    }
    EXPECT_EQ(MessageTexts(), std::vector<QString>{kClockMessage});

    doc->ShowPendingNotices();
    EXPECT_EQ(prompts->Recorded().size(), 1u) << "shown once";
}

TEST_F(ChangeTransactionTest, FailedSnapshotStillClosesTheTransaction)
{
    struct Case
    {
        const char* name;
        bool unwinding;
    };
    const Case cases[] = {{"normal end: reported at once", false}, {"during an exception: reported afterwards", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompts->ClearRecorded();
        doc->failSnapshots = true;
        try {
            CDocChangeGuard guard(doc.get());
            doc->SetModifiedFlag(TRUE);
            if (c.unwinding)
                throw std::runtime_error("command failed");
        } catch (const std::runtime_error&) {
        }
        doc->failSnapshots = false;
        EXPECT_EQ(doc->GetChangeDepth(), 0);
        EXPECT_FALSE(doc->IsDirty());
        EXPECT_EQ(prompts->Recorded().size(), c.unwinding ? 0u : 1u);
        doc->ShowPendingNotices();
        ASSERT_EQ(prompts->Recorded().size(), 1u);
        EXPECT_TRUE(prompts->Recorded()[0].text.contains(QStringLiteral("Undo")));
    }
}

TEST_F(ChangeTransactionTest, DirectEndChangePassesASnapshotFailureOnAfterClosing)
{
    doc->failSnapshots = true;
    doc->BeginChange();
    doc->SetModifiedFlag(TRUE);
    EXPECT_THROW(doc->EndChange(), CMemoryException);
    EXPECT_EQ(doc->GetChangeDepth(), 0);
    EXPECT_FALSE(doc->IsDirty());
    doc->failSnapshots = false;
}

TEST_F(ChangeTransactionTest, ModifiedFlagMarksTheTitle)
{
    doc->SetTitle(QStringLiteral("Invoice.wvd"));
    CountedChange();
    EXPECT_EQ(doc->GetTitle(), QStringLiteral("Invoice.wvd *"));
    CountedChange();
    EXPECT_EQ(doc->GetTitle(), QStringLiteral("Invoice.wvd *")) << "marked once";
    doc->SetModifiedFlag(FALSE);
    EXPECT_EQ(doc->GetTitle(), QStringLiteral("Invoice.wvd"));
}
