#include "designer/views/find/FindReplaceSearch.h"

#include "designer/document/DesignerDoc.h"
#include "designer/elements/FormElement.h"
#include "designer/views/DesignFrame.h"
#include "designer/views/find/FindStrings.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/WaitCursor.h"

#include <algorithm>
#include <optional>

namespace {

CFormElement* AsElement(CObject* object)
{
    return dynamic_cast<CFormElement*>(object);
}

// The element is the other one or lies inside it. Only for elements the
// document still holds: their containers are alive.
bool IsSameOrInside(const CFormElement* element, const CFormElement* container)
{
    for (const CFormElement* e = element; e != nullptr; e = e->GetParent())
        if (e == container)
            return true;
    return false;
}

} // namespace

CFindReplaceSearch::CFindReplaceSearch(IDesignFrame* frame) : m_pFrame(frame)
{
    RegisterFindStrings();
}

void CFindReplaceSearch::SetDocument(CDesignerDoc* doc)
{
    if (doc == m_pDocument)
        return;
    m_pDocument = doc;
    DropElementList();
}

void CFindReplaceSearch::DropElementList()
{
    m_hasList = FALSE;
    m_list.clear();
    m_walk.clear();
    m_next = 0;
    m_pCurrent = nullptr;
}

void CFindReplaceSearch::RebuildElementList()
{
    Rebuild(nullptr);
}

void CFindReplaceSearch::Rebuild(const CFormElement* without)
{
    m_list.clear();
    m_hasList = TRUE;
    if (m_pDocument != nullptr) {
        CWaitCursor wait;
        for (CObject* object : m_pDocument->GetElementList()) {
            CFormElement* element = AsElement(object);
            if (element != nullptr && !element->HasParent())
                AddElementDeep(element, without);
        }
    }
    m_walk = m_list;
    m_next = 0;
}

void CFindReplaceSearch::AddElementDeep(CFormElement* element, const CFormElement* without)
{
    if (element == without)
        return;
    m_list.push_back(element);
    ChildPosition position = element->GetFirstChildPosition();
    while (!position.IsNull())
        if (CFormElement* child = element->GetNextChild(position))
            AddElementDeep(child, without);
}

void CFindReplaceSearch::OnDocumentHint(LPARAM hint, CObject* object)
{
    switch (hint) {
    case DocumentHint::ElementChanged:
    case DocumentHint::ElementReparented:
    case DocumentHint::ElementAdded:
        RebuildElementList();
        break;
    case DocumentHint::ElementRemoved: {
        // The hint comes while the document still lists the element.
        const CFormElement* removed = AsElement(object);
        if (m_pCurrent != nullptr && (!IsListed(m_pCurrent) || IsSameOrInside(m_pCurrent, removed)))
            m_pCurrent = nullptr;
        Rebuild(removed);
        break;
    }
    case DocumentHint::RestoreBegins:
        DropElementList();
        break;
    case DocumentHint::PageSetupChanged:
    case DocumentHint::OptionsChanged:
    case DocumentHint::RestoreEnds:
    case DocumentHint::NewOrOpenDone:
        m_pCurrent = nullptr;
        RebuildElementList();
        break;
    default:
        break;
    }
}

BOOL CFindReplaceSearch::IsListed(const CFormElement* element) const
{
    return m_pDocument != nullptr && m_pDocument->ContainsElement(element);
}

BOOL CFindReplaceSearch::AskStartAgain()
{
    if (AfxMessageBox(IDS_FIND_REACHED_END, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return FALSE;
    StartDocumentOrderWalk();
    return TRUE;
}

void CFindReplaceSearch::StartDocumentOrderWalk()
{
    m_walk.clear();
    for (CObject* object : m_pDocument->GetElementList())
        if (CFormElement* element = AsElement(object))
            m_walk.push_back(element);
    m_next = 0;
}

BOOL CFindReplaceSearch::FindNext(const QString& find)
{
    if (find.isEmpty() || !m_hasList || m_pDocument == nullptr)
        return FALSE;
    m_pCurrent = nullptr;
    CFormElement* hit = nullptr;
    while (hit == nullptr) {
        if (m_next >= m_walk.size()) {
            if (!AskStartAgain() || m_walk.empty())
                return FALSE;
        }
        // No hourglass while the question is up.
        CWaitCursor wait;
        while (m_next < m_walk.size() && hit == nullptr) {
            CFormElement* element = m_walk[m_next++];
            if (IsListed(element) && element->Find(find))
                hit = element;
        }
    }
    SelectHit(hit);
    m_pCurrent = hit;
    return TRUE;
}

void CFindReplaceSearch::SelectHit(CFormElement* element)
{
    if (m_pDocument->GetUpdateSuppression() > 0)
        return;
    m_pDocument->UpdateAllViews(nullptr, DocumentHint::SelectionChanged, element);
    if (m_pFrame != nullptr) {
        m_pFrame->NotifyExplorer(element, DocumentHint::SelectionChanged);
        m_pFrame->SetPropertySheetElement(element);
    }
}

BOOL CFindReplaceSearch::Replace(const QString& find, const QString& replace)
{
    if (find.isEmpty() || m_pDocument == nullptr)
        return FALSE;
    {
        CDocChangeGuard guard(m_pDocument);
        if (m_pCurrent != nullptr && IsListed(m_pCurrent) && m_pCurrent->Replace(find, replace) && m_pFrame != nullptr)
            m_pFrame->RefreshPropertySheet();
    }
    return FindNext(find);
}

int CFindReplaceSearch::ReplaceInEach(const std::vector<CFormElement*>& elements, const QString& find,
                                      const QString& replace)
{
    int changed = 0;
    for (CFormElement* element : elements) {
        // An earlier replacement may have removed it (an element's setter
        // may tidy the document).
        if (!IsListed(element) || !element->Find(find))
            continue;
        SelectHit(element);
        m_pCurrent = element;
        CDocChangeGuard guard(m_pDocument);
        if (element->Replace(find, replace)) {
            ++changed;
            if (m_pFrame != nullptr)
                m_pFrame->RefreshPropertySheet();
        }
    }
    return changed;
}

int CFindReplaceSearch::ReplaceAll(const QString& find, const QString& replace)
{
    if (find.isEmpty() || m_pDocument == nullptr)
        return 0;
    if ((m_pCurrent == nullptr || !IsListed(m_pCurrent)) && !FindNext(find))
        return 0;

    // The pass runs over a copy of what Find Next walks, from the current
    // element: the hints of each replacement rebuild the list, and a
    // replacement that still holds the text must not be found again.
    auto from = std::find(m_walk.begin(), m_walk.end(), m_pCurrent);
    if (from == m_walk.end())
        from = m_walk.begin() + std::ptrdiff_t(std::min(m_next, m_walk.size()));
    std::vector<CFormElement*> pass(from, m_walk.end());
    int changed = 0;
    for (;;) {
        changed += ReplaceInEach(pass, find, replace);
        m_pCurrent = nullptr;
        // The walk stands at the end of the elements.
        m_walk.clear();
        m_next = 0;
        if (!AskStartAgain())
            break;
        pass = m_walk;
        m_walk.clear();
    }
    return changed;
}
