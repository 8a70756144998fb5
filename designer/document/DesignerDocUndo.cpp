// Undo and redo through whole-document snapshots.

#include "designer/document/CompressedMemFile.h"
#include "designer/document/DesignerDoc.h"
#include "designer/document/TreeState.h"
#include "designer/preferences/Preferences.h"
#include "platform/framework/Archive.h"
#include "platform/ui/PromptService.h"
#include "platform/ui/WaitCursor.h"

#include <exception>
#include <memory>

namespace {

constexpr UINT kSnapshotGrowBytes = 1024;
constexpr UINT kSnapshotArchiveBuffer = 4096;
constexpr ULONGLONG kMegabyte = 1048576;

QString DescribeCurrentException()
{
    try {
        throw;
    } catch (const CException& error) {
        return error.GetErrorMessage();
    } catch (const std::exception& error) {
        return QString::fromLocal8Bit(error.what());
    } catch (...) {
        return QStringLiteral("Unknown error.");
    }
}

QString RestoreFailedMessage(const QString& reason)
{
    return QStringLiteral("The document could not be restored from the undo history.\n%1\n"
                          "It was put back as it was before.")
        .arg(reason);
}

QString RecoveryFailedMessage(const QString& reason, const QString& recoveryReason)
{
    return QStringLiteral("The document could not be restored from the undo history.\n%1\n"
                          "Putting it back as it was failed too:\n%2\n"
                          "A new document was started; no file on disk was changed.")
        .arg(reason, recoveryReason);
}

// A snapshot goes back to its stored form however its reading ends.
class RecompressOnExit
{
public:
    explicit RecompressOnExit(CCompressedMemFile& snapshot) : m_snapshot(snapshot) {}
    ~RecompressOnExit() { m_snapshot.Compress(); }

    RecompressOnExit(const RecompressOnExit&) = delete;
    RecompressOnExit& operator=(const RecompressOnExit&) = delete;

private:
    CCompressedMemFile& m_snapshot;
};

void StoreImage(CDesignerDoc& doc, CFile& file)
{
    CArchive ar(&file, CArchive::store, kSnapshotArchiveBuffer);
    ar.m_pDocument = &doc;
    try {
        doc.Serialize(ar);
        ar.Close();
    } catch (...) {
        ar.Abort();
        throw;
    }
}

// Before the contents go: the explorer records its look into the state, and
// no window keeps a selected element.
void AnnounceRestore(CDesignerDoc& doc, CTreeState& treeState)
{
    doc.BroadcastHint(DocumentHint::RestoreBegins, &treeState);
    doc.BroadcastHint(DocumentHint::SelectionChanged, nullptr);
}

} // namespace

void CDesignerDoc::ForgetSnapshotBytes(ULONGLONG bytes)
{
    m_snapshotBytes = m_snapshotBytes < bytes ? 0 : m_snapshotBytes - bytes;
}

void CDesignerDoc::ClearSnapshotList(CObList& list)
{
    for (CObject* item : list) {
        auto* snapshot = static_cast<CCompressedMemFile*>(item);
        if (snapshot == nullptr)
            continue;
        ForgetSnapshotBytes(snapshot->GetLength());
        delete snapshot;
    }
    list.RemoveAll();
}

CCompressedMemFile* CDesignerDoc::CreateSnapshot()
{
    if (!m_snapshotCompressor)
        m_snapshotCompressor = std::make_unique<SnapshotCompressor>();
    if (m_snapshotCompressor->Begin()) {
        StoreImage(*this, *m_snapshotCompressor);
        if (std::unique_ptr<CCompressedMemFile> snapshot = m_snapshotCompressor->Finish())
            return snapshot.release();
    }
    // Without zlib the image is kept as it stands.
    auto snapshot = std::make_unique<CCompressedMemFile>(kSnapshotGrowBytes);
    StoreImage(*this, *snapshot);
    snapshot->Compress();
    return snapshot.release();
}

void CDesignerDoc::TakeUndoSnapshot()
{
    const int megabytes = Preferences().MaximumUndoBufferSize;
    const ULONGLONG limit = megabytes > 0 ? static_cast<ULONGLONG>(megabytes) * kMegabyte : 0;
    if (limit == 0) {
        ClearSnapshotList(m_undoList);
        ClearSnapshotList(m_redoList);
        return;
    }

    ClearSnapshotList(m_redoList);
    CCompressedMemFile* snapshot = CreateSnapshot();
    if (snapshot == nullptr)
        return;

    // The limit is applied before the new one counts, so the newest always
    // stays even when it alone is over the limit.
    while (m_snapshotBytes > limit) {
        if (m_undoList.IsEmpty()) {
            m_snapshotBytes = 0;
            break;
        }
        auto* oldest = static_cast<CCompressedMemFile*>(m_undoList.RemoveTail());
        if (oldest == nullptr) {
            m_snapshotBytes = 0;
            continue;
        }
        ForgetSnapshotBytes(oldest->GetLength());
        delete oldest;
    }

    m_snapshotBytes += snapshot->GetLength();
    m_undoList.AddHead(snapshot);
}

void CDesignerDoc::ReadSnapshot(CCompressedMemFile& snapshot)
{
    RecompressOnExit recompress(snapshot);
    snapshot.SeekToBegin();
    snapshot.Decompress();
    CArchive ar(&snapshot, CArchive::load, kSnapshotArchiveBuffer);
    ar.m_pDocument = this;
    try {
        Serialize(ar);
        ar.Close();
    } catch (...) {
        ar.Abort();
        throw;
    }
}

std::vector<HeldNotice> CDesignerDoc::ReloadFromSnapshot(CCompressedMemFile& snapshot)
{
    SuppressUpdates();
    BeginQuietRead();
    try {
        DeleteContents();
        ReadSnapshot(snapshot);
    } catch (...) {
        // What a failed read had to say is about a state that is gone.
        EndQuietRead();
        ResumeUpdates();
        throw;
    }
    std::vector<HeldNotice> held = EndQuietRead();
    ResumeUpdates();
    return held;
}

void CDesignerDoc::RestoreSnapshot(CCompressedMemFile* snapshot)
{
    if (snapshot == nullptr)
        return;

    // A restore is no change: nothing in it may count or snapshot.
    m_changeDepth = 1;
    m_dirty = FALSE;
    // The explorer's look, carried across the rebuild of its tree.
    CTreeState treeState(this);
    std::vector<HeldNotice> held;
    try {
        AnnounceRestore(*this, treeState);
        held = ReloadFromSnapshot(*snapshot);
    } catch (...) {
        m_changeDepth = 0;
        m_dirty = FALSE;
        throw;
    }
    m_changeDepth = 0;
    m_dirty = FALSE;

    BroadcastHint(DocumentHint::RestoreEnds, &treeState);
    ShowHeldNotices(held);
}

void CDesignerDoc::RollBackTo(CCompressedMemFile& before, BOOL dirty)
{
    // The change that failed runs inside a transaction, which stays open;
    // reading back counts as nothing within it.
    const int depth = m_changeDepth;
    ++m_changeDepth;
    CTreeState treeState(this);
    try {
        // Anything the reading says is about a state the user already had.
        AnnounceRestore(*this, treeState);
        ReloadFromSnapshot(before);
    } catch (...) {
        m_changeDepth = depth;
        m_dirty = dirty;
        throw;
    }
    m_changeDepth = depth;
    m_dirty = dirty;
    BroadcastHint(DocumentHint::RestoreEnds, &treeState);
}

void CDesignerDoc::RecoverFromFailedRestore(CCompressedMemFile* before, const QString& reason)
{
    try {
        if (before == nullptr)
            AfxThrowArchiveException(CArchiveException::genericException);
        RestoreSnapshot(before);
        Prompts().MessageBox(RestoreFailedMessage(reason), {}, MB_OK | MB_ICONEXCLAMATION);
        return;
    } catch (...) {
        const QString recoveryReason = DescribeCurrentException();
        // Nothing trustworthy is left in memory. A new document has no path,
        // so it cannot be saved over the user's file by mistake.
        OnNewDocument();
        Prompts().MessageBox(RecoveryFailedMessage(reason, recoveryReason), {}, MB_OK | MB_ICONSTOP);
    }
}

void CDesignerDoc::OnEditUndo()
{
    if (!CanUndo())
        return;
    CWaitCursor wait;
    auto* current = static_cast<CCompressedMemFile*>(m_undoList.RemoveHead());
    m_redoList.AddHead(current);
    QString reason;
    try {
        RestoreSnapshot(static_cast<CCompressedMemFile*>(m_undoList.GetHead()));
        return;
    } catch (...) {
        reason = DescribeCurrentException();
    }
    m_redoList.RemoveHead();
    m_undoList.AddHead(current);
    RecoverFromFailedRestore(current, reason);
}

void CDesignerDoc::OnEditRedo()
{
    if (!CanRedo())
        return;
    CWaitCursor wait;
    auto* before = static_cast<CCompressedMemFile*>(m_undoList.GetHead());
    auto* next = static_cast<CCompressedMemFile*>(m_redoList.RemoveHead());
    m_undoList.AddHead(next);
    QString reason;
    try {
        RestoreSnapshot(next);
        return;
    } catch (...) {
        reason = DescribeCurrentException();
    }
    m_undoList.RemoveHead();
    m_redoList.AddHead(next);
    RecoverFromFailedRestore(before, reason);
}
