// The spooled-file tools of the document: loading a sample from this
// computer, the page clipboard, deleting a page and the file's data.

#include "designer/document/DesignerDoc.h"
#include "designer/document/SpooledFile.h"

void CDesignerDoc::OnSpooledFileChanged()
{
    SetModifiedFlag(TRUE);
    RevalidateElements(1);
    BroadcastHint(DocumentHint::SpooledPageChanged, nullptr);
}

BOOL CDesignerDoc::LoadLocalSpooledFile()
{
    if (m_pSpooledFile == nullptr)
        return FALSE;
    CDocChangeGuard guard(this);
    if (!m_pSpooledFile->OpenLocalFile())
        return FALSE;
    OnSpooledFileChanged();
    // Run parameters the user has filled in keep the spooled file they name.
    if (!m_runParameters.IsComplete())
        m_runParameters.GetIdentity() = m_pSpooledFile->GetLoadedIdentity();
    return TRUE;
}

BOOL CDesignerDoc::PasteSpooledPage()
{
    if (m_pSpooledFile == nullptr)
        return FALSE;
    CDocChangeGuard guard(this);
    if (!m_pSpooledFile->PastePageFromClipboard())
        return FALSE;
    OnSpooledFileChanged();
    return TRUE;
}

BOOL CDesignerDoc::DeleteCurrentSpooledPage()
{
    if (m_pSpooledFile == nullptr)
        return FALSE;
    CDocChangeGuard guard(this);
    if (!m_pSpooledFile->DeletePage(m_pSpooledFile->GetCurrentPageNumber()))
        return FALSE;
    OnSpooledFileChanged();
    return TRUE;
}

void CDesignerDoc::CopySpooledPage() const
{
    if (m_pSpooledFile != nullptr)
        m_pSpooledFile->CopyPageToClipboard();
}

BOOL CDesignerDoc::HasSpooledFileData() const
{
    return m_pSpooledFile != nullptr && !m_pSpooledFile->GetLoadedIdentity().GetFileName().isEmpty();
}

void CDesignerDoc::ShowSpooledFileData() const
{
    if (m_pSpooledFile != nullptr)
        m_pSpooledFile->ShowFileData();
}
