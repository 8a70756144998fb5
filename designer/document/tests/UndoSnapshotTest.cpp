// Undo and redo over a small document whose image is a text and a payload:
// the lists, the limit, the restore and its failures.

#include "designer/document/CompressedMemFile.h"
#include "designer/document/DesignerDoc.h"
#include "designer/elements/ElementClasses.h"
#include "designer/output/OutputClasses.h"
#include "designer/preferences/Preferences.h"
#include "platform/framework/Archive.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

class StandInDoc : public CDesignerDoc
{
public:
    static constexpr DWORD kMark = 0x57564431;

    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << kMark << text << payload;
            return;
        }
        DWORD mark = 0;
        ar >> mark;
        if (mark != kMark)
            AfxThrowArchiveException(CArchiveException::badClass);
        ar >> text >> payload;
        for (const QString& notice : noticesOnLoad)
            NotifyUser(notice, MB_OK | MB_ICONINFORMATION, IDOK);
    }

    void DeleteContents() override
    {
        text.clear();
        payload.clear();
    }

    QString text;
    std::string payload;
    std::vector<QString> noticesOnLoad;
};

class HintLog : public DocumentChangeListener
{
public:
    void OnDocumentChanged(LPARAM hint, CObject*, CObject*) override { hints.push_back(hint); }
    std::vector<LPARAM> hints;
};

CCompressedMemFile* At(const CObList& list, int index)
{
    for (CObject* object : list)
        if (index-- == 0)
            return static_cast<CCompressedMemFile*>(object);
    return nullptr;
}

std::vector<CObject*> Items(const CObList& list)
{
    return {list.begin(), list.end()};
}

// Snapshots damaged the ways a restore can meet them.
struct Damage
{
    const char* name;
    void (*apply)(CCompressedMemFile&);
};

void FlipStoredByte(CCompressedMemFile& snapshot)
{
    BYTE b = 0;
    snapshot.Seek(static_cast<LONGLONG>(snapshot.GetLength() / 2), CFile::begin);
    snapshot.Read(&b, 1);
    b ^= 0xFF;
    snapshot.Seek(-1, CFile::current);
    snapshot.Write(&b, 1);
}

void BreakImage(CCompressedMemFile& snapshot)
{
    // A sound zlib stream of an image that is not a document.
    snapshot.Decompress();
    const BYTE junk = 0xEE;
    snapshot.SeekToBegin();
    snapshot.Write(&junk, 1);
    snapshot.Compress();
}

const Damage kDamages[] = {
    {"zlib stream damaged", FlipStoredByte},
    {"image not a document", BreakImage},
};

} // namespace

class UndoSnapshotTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterElementClasses();
        RegisterOutputClasses();
        RegisterOutputStrings();
        previousPreferences = SetPreferences(&preferences);
        doc = std::make_unique<StandInDoc>();
        ASSERT_TRUE(doc->OnNewDocument());
        doc->AddChangeListener(&log);
    }

    void TearDown() override
    {
        doc->RemoveChangeListener(&log);
        doc.reset();
        SetPreferences(previousPreferences);
    }

    // One counted change, as a command makes it.
    void Change(const QString& text, size_t payloadBytes = 0)
    {
        CDocChangeGuard guard(doc.get());
        doc->text = text;
        doc->payload = Noise(payloadBytes);
        doc->SetModifiedFlag(TRUE);
    }

    // Bytes that zlib cannot shrink, so a snapshot's size is known.
    std::string Noise(size_t size)
    {
        std::string bytes(size, '\0');
        for (char& c : bytes)
            c = static_cast<char>(random());
        return bytes;
    }

    void ExpectTotalMatchesLists() const
    {
        ULONGLONG total = 0;
        for (const CObList* list : {&doc->GetUndoList(), &doc->GetRedoList()})
            for (CObject* object : *list)
                total += static_cast<CCompressedMemFile*>(object)->GetLength();
        EXPECT_EQ(doc->GetSnapshotBytes(), total);
    }

    void ExpectSettled() const
    {
        EXPECT_EQ(doc->GetChangeDepth(), 0);
        EXPECT_FALSE(doc->IsDirty());
        EXPECT_EQ(doc->GetUpdateSuppression(), 0);
        EXPECT_FALSE(doc->IsQuietRead());
        for (const CObList* list : {&doc->GetUndoList(), &doc->GetRedoList()})
            for (CObject* object : *list)
                EXPECT_TRUE(static_cast<CCompressedMemFile*>(object)->IsCompressed());
    }

    std::vector<QString> Messages() const
    {
        std::vector<QString> texts;
        for (const RecordedPrompt& p : prompts->Recorded())
            texts.push_back(p.text);
        return texts;
    }

    std::mt19937 random{11};
    CPreferences preferences;
    CPreferences* previousPreferences = nullptr;
    ScopedPromptAnswers prompts;
    std::unique_ptr<StandInDoc> doc;
    HintLog log;
};

TEST_F(UndoSnapshotTest, TheLimitKeepsTheNewestSnapshots)
{
    struct Case
    {
        const char* name;
        int limitMegabytes;
        size_t payloadBytes;
        int changes;
        qsizetype expectedUndo;
    };
    // Snapshots of 300 KB under 1 MB: the oldest goes once the total before
    // the new one is over the limit, so four stay.
    const Case cases[] = {
        {"small snapshots all kept", 1, 0, 6, 7},
        {"300 KB snapshots under 1 MB", 1, 300000, 6, 4},
        {"one snapshot over the limit", 1, 1200000, 3, 1},
        {"limit 0 keeps none", 0, 0, 3, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        preferences.MaximumUndoBufferSize = c.limitMegabytes;
        ASSERT_TRUE(doc->OnNewDocument());
        for (int i = 0; i < c.changes; ++i)
            Change(QString::number(i), c.payloadBytes);

        EXPECT_EQ(doc->GetUndoList().GetCount(), c.expectedUndo);
        EXPECT_TRUE(doc->GetRedoList().IsEmpty());
        EXPECT_EQ(doc->CanUndo(), c.expectedUndo >= 2);
        ExpectTotalMatchesLists();

        // The head is always the state just made.
        if (c.expectedUndo >= 2) {
            doc->OnEditUndo();
            EXPECT_EQ(doc->text, QString::number(c.changes - 2));
        }
    }
}

TEST_F(UndoSnapshotTest, LimitZeroClearsBothLists)
{
    Change("A");
    Change("B");
    doc->OnEditUndo();
    ASSERT_TRUE(doc->CanRedo());

    preferences.MaximumUndoBufferSize = 0;
    Change("C");
    EXPECT_TRUE(doc->GetUndoList().IsEmpty());
    EXPECT_TRUE(doc->GetRedoList().IsEmpty());
    EXPECT_EQ(doc->GetSnapshotBytes(), 0u);
    EXPECT_FALSE(doc->CanUndo());
    EXPECT_FALSE(doc->CanRedo());
    doc->OnEditUndo();
    EXPECT_EQ(doc->text, "C");
}

TEST_F(UndoSnapshotTest, UndoAndRedoWalkTheStates)
{
    EXPECT_EQ(doc->GetUndoList().GetCount(), 1);
    EXPECT_FALSE(doc->CanUndo());
    Change("A");
    Change("B");
    Change("C");
    const std::vector<CObject*> undoBefore = Items(doc->GetUndoList());
    const ULONGLONG bytes = doc->GetSnapshotBytes();
    const DWORD buildId = doc->GetBuildId();

    doc->OnEditUndo();
    EXPECT_EQ(doc->text, "B");
    doc->OnEditUndo();
    EXPECT_EQ(doc->text, "A");
    EXPECT_EQ(doc->GetRedoList().GetCount(), 2);
    EXPECT_EQ(doc->GetSnapshotBytes(), bytes);
    doc->OnEditRedo();
    EXPECT_EQ(doc->text, "B");
    doc->OnEditRedo();
    EXPECT_EQ(doc->text, "C");
    EXPECT_FALSE(doc->CanRedo());
    doc->OnEditRedo();
    EXPECT_EQ(doc->text, "C");

    // The same snapshots in the same places; restores count as no change.
    EXPECT_EQ(Items(doc->GetUndoList()), undoBefore);
    EXPECT_EQ(doc->GetSnapshotBytes(), bytes);
    EXPECT_EQ(doc->GetBuildId(), buildId);
    ExpectSettled();
    EXPECT_TRUE(prompts->Recorded().empty());
}

TEST_F(UndoSnapshotTest, AChangeAfterUndoDropsTheRedoList)
{
    Change("A");
    Change("B");
    doc->OnEditUndo();
    ASSERT_TRUE(doc->CanRedo());

    Change("X");
    EXPECT_FALSE(doc->CanRedo());
    EXPECT_TRUE(doc->GetRedoList().IsEmpty());
    ExpectTotalMatchesLists();
    doc->OnEditUndo();
    EXPECT_EQ(doc->text, "A");
}

TEST_F(UndoSnapshotTest, ARestoreIsQuietAndBracketedByItsHints)
{
    Change("A");
    Change("B");
    doc->noticesOnLoad = {"first", "second", "first"};
    log.hints.clear();

    doc->OnEditUndo();

    EXPECT_EQ(log.hints, (std::vector<LPARAM>{DocumentHint::RestoreBegins, DocumentHint::SelectionChanged,
                                              DocumentHint::RestoreEnds}));
    // Held back during the read, then each shown once.
    EXPECT_EQ(Messages(), (std::vector<QString>{"first", "second"}));
    EXPECT_EQ(prompts->WaitCursorShowCount(), 1);
    ExpectSettled();
}

TEST_F(UndoSnapshotTest, AFailedUndoPutsTheDocumentBack)
{
    for (const Damage& damage : kDamages) {
        SCOPED_TRACE(damage.name);
        ASSERT_TRUE(doc->OnNewDocument());
        prompts->ClearRecorded();
        Change("A");
        Change("B");
        Change("C");
        const std::vector<CObject*> undoBefore = Items(doc->GetUndoList());
        const ULONGLONG bytes = doc->GetSnapshotBytes();
        damage.apply(*At(doc->GetUndoList(), 1));

        doc->OnEditUndo();

        EXPECT_EQ(doc->text, "C");
        EXPECT_EQ(Items(doc->GetUndoList()), undoBefore);
        EXPECT_TRUE(doc->GetRedoList().IsEmpty());
        EXPECT_EQ(doc->GetSnapshotBytes(), bytes);
        ASSERT_EQ(Messages().size(), 1u) << Messages().front().toStdString();
        EXPECT_TRUE(Messages()[0].contains("could not be restored"));
        EXPECT_TRUE(Messages()[0].contains("put back as it was before"));
        ExpectSettled();

        // The document still talks to its windows and still records changes.
        log.hints.clear();
        doc->BroadcastHint(DocumentHint::ElementChanged, nullptr);
        EXPECT_EQ(log.hints, std::vector<LPARAM>{DocumentHint::ElementChanged});
        Change("D");
        doc->OnEditUndo();
        EXPECT_EQ(doc->text, "C");
    }
}

TEST_F(UndoSnapshotTest, AFailedRedoPutsTheDocumentBack)
{
    for (const Damage& damage : kDamages) {
        SCOPED_TRACE(damage.name);
        ASSERT_TRUE(doc->OnNewDocument());
        prompts->ClearRecorded();
        Change("A");
        Change("B");
        doc->OnEditUndo();
        ASSERT_EQ(doc->text, "A");
        const std::vector<CObject*> undoBefore = Items(doc->GetUndoList());
        const std::vector<CObject*> redoBefore = Items(doc->GetRedoList());
        damage.apply(*At(doc->GetRedoList(), 0));

        doc->OnEditRedo();

        EXPECT_EQ(doc->text, "A");
        EXPECT_EQ(Items(doc->GetUndoList()), undoBefore);
        EXPECT_EQ(Items(doc->GetRedoList()), redoBefore);
        ASSERT_EQ(Messages().size(), 1u) << Messages().front().toStdString();
        EXPECT_TRUE(Messages()[0].contains("put back as it was before"));
        ExpectTotalMatchesLists();
        ExpectSettled();
    }
}

TEST_F(UndoSnapshotTest, WhenNothingCanBeReadBackTheDocumentStartsAnew)
{
    doc->SetPathName("/tmp/forms/invoice.wvd");
    Change("A");
    Change("B");
    FlipStoredByte(*At(doc->GetUndoList(), 0));
    FlipStoredByte(*At(doc->GetUndoList(), 1));

    doc->OnEditUndo();

    EXPECT_TRUE(doc->text.isEmpty());
    EXPECT_TRUE(doc->GetPathName().isEmpty());
    EXPECT_TRUE(doc->IsReady());
    EXPECT_EQ(doc->GetUndoList().GetCount(), 1);
    EXPECT_TRUE(doc->GetRedoList().IsEmpty());
    ExpectTotalMatchesLists();
    ExpectSettled();
    ASSERT_EQ(Messages().size(), 1u) << Messages().front().toStdString();
    EXPECT_TRUE(Messages()[0].contains("A new document was started"));
}
