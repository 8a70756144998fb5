// The document's commands that reach the host: Execute a WVD and the
// spooled file from and to the host.
#include "designer/document/DesignerDoc.h"
#include "designer/document/SpooledFile.h"
#include "designer/preferences/Preferences.h"

int CDesignerDoc::OnExecuteWvd(const std::function<int(CrtWvdRequest* request)>& execute)
{
    CrtWvdRequest request(m_runParameters);
    if (!request.IsComplete()) {
        const CPreferences& prefs = Preferences();
        request.SetSystem(prefs.DefaultSystem);
        request.SetLibrary(prefs.DefaultLibrary);
        // The document's queue is where its WVD is run from; a new document
        // takes the user's default once and keeps it.
        if (m_outputQueue.isEmpty())
            m_outputQueue = prefs.DefaultOutputQueue;
        if (m_outputQueueLibrary.isEmpty())
            m_outputQueueLibrary = prefs.DefaultOutputQueueLibrary;
        SpooledFileIdentity& identity = request.GetIdentity();
        identity.SetOutputQueue(m_outputQueue.left(SpooledFileIdentity::kOutputQueueWidth));
        identity.SetOutputQueueLibrary(m_outputQueueLibrary.left(SpooledFileIdentity::kOutputQueueLibraryWidth));
        if (m_pSpooledFile != nullptr && !m_pSpooledFile->GetLoadedIdentity().GetFileName().isEmpty())
            identity.CopyFrom(m_pSpooledFile->GetLoadedIdentity());
        request.SetWvdName(m_wvdName.GetValue());
    }

    const int result = execute ? execute(&request) : 0;
    if (result != 1)
        return result;
    CDocChangeGuard guard(this);
    if (!request.IsEqual(m_runParameters)) {
        m_runParameters = request;
        SetModifiedFlag(TRUE);
    }
    return result;
}

BOOL CDesignerDoc::ImportSpooledFileFromServer(int mode)
{
    if (m_pSpooledFile == nullptr)
        return FALSE;
    if (mode != 0)
        return m_pSpooledFile->ImportFromServer(mode);
    CDocChangeGuard guard(this);
    if (!m_pSpooledFile->ImportFromServer(0))
        return FALSE;
    OnSpooledFileChanged();
    return TRUE;
}

BOOL CDesignerDoc::ExportSpooledFileToServer(int mode)
{
    return m_pSpooledFile != nullptr ? m_pSpooledFile->ExportToServer(mode) : FALSE;
}

BOOL CDesignerDoc::HasSpooledPages() const
{
    return m_pSpooledFile != nullptr && m_pSpooledFile->GetPageCount() > 0 ? TRUE : FALSE;
}
