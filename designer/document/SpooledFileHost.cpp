// The spooled file from and to the host, through the host access library's
// entry points as the program has bound them.
#include "designer/document/DesignerDoc.h"
#include "designer/document/ServerEntryPoints.h"
#include "designer/document/SpooledFile.h"
#include "designer/document/SpooledFileStrings.h"
#include "designer/preferences/Preferences.h"
#include "hostaccess/api/EntryPoints.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/PromptService.h"
#include "platform/ui/StringTable.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace {

// The older list call's queue buffers: room for any name the library may
// write back, and a NUL we put there ourselves.
constexpr int kQueueBufferLength = 260;
using QueueBuffer = std::array<char16_t, kQueueBufferLength>;

QueueBuffer ToBuffer(const QString& text)
{
    QueueBuffer buffer{};
    const qsizetype count = std::min<qsizetype>(text.size(), kQueueBufferLength - 1);
    std::copy_n(reinterpret_cast<const char16_t*>(text.utf16()), count, buffer.begin());
    return buffer;
}

QString FromBuffer(QueueBuffer& buffer)
{
    buffer.back() = u'\0';
    return QString::fromUtf16(buffer.data());
}

const char16_t* TextOf(const QString& text)
{
    return reinterpret_cast<const char16_t*>(text.utf16());
}

void ReportNoContact()
{
    AfxMessageBox(IDS_SERVER_CONTACT_FAILED);
}

// The list the library handed out goes back to it, whatever came of the call.
class ServerPageListScope
{
public:
    explicit ServerPageListScope(DestroySpooledFileListProc destroy) : m_destroy(destroy) {}
    ~ServerPageListScope()
    {
        SpooledPageList* pages = m_pages;
        m_destroy(&pages);
    }
    ServerPageListScope(const ServerPageListScope&) = delete;
    ServerPageListScope& operator=(const ServerPageListScope&) = delete;

    SpooledPageList** Out() { return &m_pages; }
    const SpooledPageList* Pages() const { return m_pages; }

private:
    DestroySpooledFileListProc m_destroy;
    SpooledPageList* m_pages = nullptr;
};

} // namespace

void CSpooledFile::FillDocumentQueues() const
{
    if (m_pDocument == nullptr)
        return;
    const CPreferences& prefs = Preferences();
    if (m_pDocument->m_outputQueue.isEmpty())
        m_pDocument->m_outputQueue = prefs.DefaultOutputQueue;
    if (m_pDocument->m_outputQueueLibrary.isEmpty())
        m_pDocument->m_outputQueueLibrary = prefs.DefaultOutputQueueLibrary;
}

BOOL CSpooledFile::TakeImportedPages(const SpooledPageList* pages)
{
    // The library counts an import of nothing as a failure; should one
    // still hand back no page, the pages held stay.
    if (pages == nullptr || pages->IsEmpty())
        return FALSE;
    const bool append = GetPageCount() > 0
                        && AfxMessageBox(LoadResString(IDS_SPOOLED_FILE_APPEND_QUESTION), MB_YESNO | MB_ICONQUESTION)
                               == IDYES;
    AddServerPages(pages, append ? TRUE : FALSE);
    SetCurrentPage(1);
    return TRUE;
}

BOOL CSpooledFile::ImportFromServer(int mode)
{
    const int documentCcsid = m_pDocument != nullptr ? m_pDocument->GetCodePageId() : 0;
    const QString system = Preferences().DefaultSystem;
    FillDocumentQueues();
    const QString queue = m_pDocument != nullptr ? m_pDocument->m_outputQueue : QString();
    const QString library = m_pDocument != nullptr ? m_pDocument->m_outputQueueLibrary : QString();

    const auto list = FindServerEntryPoint<CreateSpooledFileListProc>(MerrowEntryPoint::kCreateSpooledFileList);
    const auto list2 = FindServerEntryPoint<CreateSpooledFileList2Proc>(MerrowEntryPoint::kCreateSpooledFileList2);
    const auto destroy = FindServerEntryPoint<DestroySpooledFileListProc>(MerrowEntryPoint::kDestroySpooledFileList);
    // Saving the raw data needs the newer list: the older one would import
    // the pages instead.
    if (list == nullptr || destroy == nullptr || (mode != 0 && list2 == nullptr)) {
        ReportNoContact();
        return FALSE;
    }

    ServerPageListScope pages(destroy);
    if (list2 != nullptr) {
        if (m_filterIdentity.GetOutputQueue().isEmpty()) {
            m_filterIdentity.SetOutputQueue(queue.left(SpooledFileIdentity::kOutputQueueWidth));
            m_filterIdentity.SetOutputQueueLibrary(library.left(SpooledFileIdentity::kOutputQueueLibraryWidth));
        }
        // The identity of the pages held changes only with the pages.
        SpooledFileIdentity selected;
        selected.CopyFrom(m_loadedIdentity);
        int ccsid = documentCcsid;
        const BOOL result = list2(TextOf(system), &m_filterIdentity, &selected, pages.Out(),
                                  Preferences().MaxSpooledFilePages, &ccsid, mode);
        if (result != 1)
            return FALSE;
        if (mode != 0)
            return TRUE;
        if (!TakeImportedPages(pages.Pages()))
            return FALSE;
        m_loadedIdentity.CopyFrom(selected);
        if (m_pDocument != nullptr && ccsid != m_pDocument->GetCodePageId()) {
            const QString question =
                FormatResMessage(IDS_SPOOLED_FILE_CODE_PAGE_QUESTION, m_pDocument->GetCodePageId(), ccsid);
            if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) == IDYES)
                m_pDocument->SetCodePageId(ccsid);
        }
        return TRUE;
    }

    QueueBuffer queueBuffer = ToBuffer(queue);
    QueueBuffer libraryBuffer = ToBuffer(library);
    const BOOL result = list(TextOf(system), queueBuffer.data(), libraryBuffer.data(), pages.Out(),
                             Preferences().MaxSpooledFilePages);
    if (result != 1)
        return FALSE;
    if (m_pDocument != nullptr) {
        const QString chosenQueue = FromBuffer(queueBuffer);
        const QString chosenLibrary = FromBuffer(libraryBuffer);
        if (chosenQueue != m_pDocument->m_outputQueue || chosenLibrary != m_pDocument->m_outputQueueLibrary) {
            m_pDocument->m_outputQueue = chosenQueue;
            m_pDocument->m_outputQueueLibrary = chosenLibrary;
            m_pDocument->SetModifiedFlag(TRUE);
        }
    }
    return TakeImportedPages(pages.Pages());
}

BOOL CSpooledFile::ExportToServer(int mode)
{
    const QString system = Preferences().DefaultSystem;
    FillDocumentQueues();
    const auto exportFile = FindServerEntryPoint<ExportSpooledFileProc>(MerrowEntryPoint::kExportSpooledFile);
    if (exportFile == nullptr) {
        ReportNoContact();
        return FALSE;
    }

    SpooledFileIdentity identity;
    identity.CopyFrom(m_loadedIdentity);
    if (m_pDocument != nullptr) {
        identity.SetOutputQueue(m_pDocument->m_outputQueue.left(SpooledFileIdentity::kOutputQueueWidth));
        identity.SetOutputQueueLibrary(
            m_pDocument->m_outputQueueLibrary.left(SpooledFileIdentity::kOutputQueueLibraryWidth));
    }
    int pageSize[2] = {m_pageWidth, m_pageLength};
    const int ccsid = m_pDocument != nullptr ? m_pDocument->GetCodePageId() : 0;
    // The library reads the lines of every page: pages of a local file still
    // in their block are made now, and a page without lines goes as an
    // empty one. The list only points at the pages, which stay ours.
    SpooledPageList handed;
    std::vector<std::unique_ptr<CStringArray>> blanks;
    for (int n = 1; n <= GetPageCount(); ++n) {
        CStringArray* page = PageAt(n);
        if (page == nullptr) {
            blanks.push_back(std::make_unique<CStringArray>());
            page = blanks.back().get();
        }
        handed.AddTail(page);
    }
    SpooledPageList* pages = &handed;
    return exportFile(&system, &identity, &pages, pageSize, ccsid, mode) == 1 ? TRUE : FALSE;
}
