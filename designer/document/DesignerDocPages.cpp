// The moves between the pages of the document's sample spooled file.

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/SpooledFile.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptService.h"
#include "platform/ui/StringTable.h"

namespace {

constexpr char kPageIndicatorFormat[] = "Page %1!d! of %2!d!";

} // namespace

BOOL CDesignerDoc::CanNextSpooledPage() const
{
    return m_pSpooledFile != nullptr && m_pSpooledFile->GetCurrentPageNumber() < m_pSpooledFile->GetPageCount();
}

BOOL CDesignerDoc::CanPrevSpooledPage() const
{
    return m_pSpooledFile != nullptr && m_pSpooledFile->GetCurrentPageNumber() > 1;
}

BOOL CDesignerDoc::NextSpooledPage()
{
    if (m_pSpooledFile == nullptr || !m_pSpooledFile->SetCurrentPage(m_pSpooledFile->GetCurrentPageNumber() + 1))
        return FALSE;
    OnSpooledFileChanged();
    return TRUE;
}

BOOL CDesignerDoc::PrevSpooledPage()
{
    if (m_pSpooledFile == nullptr || !m_pSpooledFile->SetCurrentPage(m_pSpooledFile->GetCurrentPageNumber() - 1))
        return FALSE;
    OnSpooledFileChanged();
    return TRUE;
}

BOOL CDesignerDoc::OnNextSpooledPage()
{
    CDocChangeGuard guard(this);
    const BOOL pending = IsDirty();
    const BOOL moved = NextSpooledPage();
    // Only the page move goes uncounted; an edit made before it in an outer
    // transaction keeps its undo step.
    if (!pending)
        ClearDirty();
    return moved;
}

BOOL CDesignerDoc::OnPrevSpooledPage()
{
    CDocChangeGuard guard(this);
    const BOOL pending = IsDirty();
    const BOOL moved = PrevSpooledPage();
    if (!pending)
        ClearDirty();
    return moved;
}

QString CDesignerDoc::GetSpooledPageIndicator() const
{
    if (m_pSpooledFile == nullptr || m_pSpooledFile->GetPageCount() <= 0)
        return {};
    return FormatMessageText(QString::fromLatin1(kPageIndicatorFormat), m_pSpooledFile->GetCurrentPageNumber(),
                             m_pSpooledFile->GetPageCount());
}

void CDesignerDoc::NoteDefaultedPageDensity()
{
    if (m_pOutputPage == nullptr || !m_pOutputPage->TakeDefaultedDensity())
        return;
    NotifyUser(FormatResMessage(IDS_PAGE_DENSITY_DEFAULTED, GetPathName(), CPage::kDefaultCharsPerInch,
                                CPage::kDefaultLinesPerInch),
               MB_OK | MB_ICONINFORMATION, IDOK);
    SetModifiedFlag(TRUE);
}
