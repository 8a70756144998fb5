#include "designer/views/DesignView.h"

#include "designer/controls/ConditionalWaitCursor.h"
#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/ServerItem.h"
#include "designer/elements/FormElement.h"
#include "designer/views/DesignFrame.h"
#include "platform/framework/Exceptions.h"
#include "platform/ui/PromptHelpers.h"

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QMimeData>

// The selection model, the tracker of the current element, the editing of
// the selection and the clipboard.

using kwvd::Rect;

namespace {

// Selection-wide operations show the hourglass only for large documents.
class SelectionWaitCursor : public CConditionalWaitCursor
{
public:
    explicit SelectionWaitCursor(const CDesignerDoc* doc)
        : CConditionalWaitCursor(doc != nullptr && ShowsFor(doc->GetElementList().GetCount()))
    {}
};

} // namespace

// ---------------------------------------------------------------- selection

std::vector<CFormElement*> CDesignView::GetSelectedElements() const
{
    std::vector<CFormElement*> selected;
    if (const CDesignerDoc* doc = GetDesignerDoc())
        for (CObject* object : doc->GetElementList())
            if (CFormElement* e = AsElement(object); e != nullptr && e->IsSelected())
                selected.push_back(e);
    return selected;
}

void CDesignView::NotifySelection(CFormElement* element)
{
    CDesignerDoc* doc = GetDesignerDoc();
    if (doc == nullptr || doc->GetUpdateSuppression() > 0)
        return;
    doc->UpdateAllViews(this, DocumentHint::SelectionChanged, element);
    if (m_pFrame != nullptr) {
        m_pFrame->NotifyExplorer(element, DocumentHint::SelectionChanged);
        m_pFrame->SetPropertySheetElement(element);
    }
}

void CDesignView::SetCurrentElement(CFormElement* element, BOOL notify)
{
    if (notify)
        NotifySelection(element);
    if (element == m_pCurrent)
        return;
    if (m_pCurrent != nullptr)
        InvalidateElement(m_pCurrent);
    MakeCurrent(element);
}

void CDesignView::MakeCurrent(CFormElement* element)
{
    m_pCurrent = element;
    if (m_pCurrent != nullptr) {
        if (!m_pCurrent->Select(TRUE))
            InvalidateElement(m_pCurrent);
    } else {
        DeleteTracker();
    }
}

void CDesignView::SelectOnly(CFormElement* element)
{
    NotifySelection(element);
    DeselectAll(FALSE);
    if (m_pCurrent != nullptr && !m_pCurrent->Select(FALSE))
        InvalidateElement(m_pCurrent);
    MakeCurrent(element);
}

void CDesignView::DeselectAll(BOOL alsoCurrent)
{
    SelectionWaitCursor wait(GetDesignerDoc());
    for (CFormElement* e : GetSelectedElements())
        if (alsoCurrent || e != m_pCurrent)
            e->Select(FALSE);
    if (alsoCurrent)
        SetCurrentElement(nullptr, TRUE);
}

void CDesignView::DeselectElement(CFormElement* element)
{
    if (element == nullptr)
        return;
    element->Select(FALSE);
    if (element == m_pCurrent) {
        const std::vector<CFormElement*> rest = GetSelectedElements();
        SetCurrentElement(rest.empty() ? nullptr : rest.front(), TRUE);
        if (m_pCurrent == nullptr)
            DeleteTracker();
    }
}

void CDesignView::InvalidateElement(CFormElement* element)
{
    if (element == nullptr)
        return;
    CElementTracker tracker;
    Rect r;
    SetupTracker(tracker, element, &r);
    r.Inflate(2, 2);
    if (!r.IsEmpty())
        viewport()->update(r.ToQRect());
}

void CDesignView::DeleteTracker()
{
    m_tracker.reset();
}

CFormElement* CDesignView::HitTestElement(QPoint device) const
{
    const CDesignerDoc* doc = GetDesignerDoc();
    if (doc == nullptr)
        return nullptr;
    const QPoint logical = ClientToDocPoint(device);
    for (CObject* object : doc->GetZOrderList())
        if (CFormElement* e = AsElement(object))
            if (CFormElement* hit = HitTestElementAt(e, logical))
                return hit;
    return nullptr;
}

CFormElement* CDesignView::SelectInRect(Rect logical)
{
    CDesignerDoc* doc = GetDesignerDoc();
    if (doc == nullptr)
        return nullptr;
    SelectionWaitCursor wait(doc);
    logical.Normalize();
    CFormElement* last = nullptr;
    for (CObject* object : doc->GetElementList()) {
        CFormElement* e = AsElement(object);
        if (e == nullptr)
            continue;
        Rect r = GetElementRect(e);
        r.Normalize();
        if (r.Intersects(logical)) {
            e->Select(TRUE);
            last = e;
        }
    }
    return last;
}

// ---------------------------------------------------------------- tracker

void CDesignView::SetupTracker(CElementTracker& tracker, CFormElement* element, Rect* trueRect) const
{
    tracker.SetView(const_cast<CDesignView*>(this));
    tracker.SetPage(GetDesignerDoc() != nullptr ? GetPanePage() : nullptr);
    UINT style = 0;
    if (element != nullptr && element == m_pCurrent)
        style = CElementTracker::solidLine | CElementTracker::resizeInside;
    else if (element != nullptr && element->IsSelected())
        style = CElementTracker::dottedLine;
    tracker.SetStyle(style);
    tracker.SetElement(element);
    if (element != nullptr)
        tracker.m_snapOnResize = element->SnapsDestToGrid() ? 1 : 0;
    tracker.SetRectFromElement();
    if (trueRect != nullptr)
        *trueRect = tracker.GetTrueRect();
}

// ---------------------------------------------------------------- editing

void CDesignView::NotifyPropertySheetRefresh()
{
    if (m_pFrame != nullptr && m_pFrame->IsPropertySheetShown())
        m_pFrame->RefreshPropertySheet();
}

CFormElement* CDesignView::CreateElementAt(int type, const Rect* logical)
{
    CDesignerDoc* doc = GetDesignerDoc();
    if (doc == nullptr)
        return nullptr;
    CDocChangeGuard guard(doc);
    const Rect rect = logical != nullptr ? *logical : Rect(0, 0, 30, 30);
    CFormElement* anchor = m_pFrame != nullptr ? m_pFrame->GetAnchorElement() : nullptr;
    CFormElement* element = doc->CreateNewElement(type, GetSide(), rect, anchor);
    if (element != nullptr)
        SelectOnly(element);
    return element;
}

BOOL CDesignView::MoveSelection(int flags, int dx, int dy)
{
    CDesignerDoc* doc = GetDesignerDoc();
    if (doc == nullptr)
        return FALSE;
    CDocChangeGuard guard(doc);
    SelectionWaitCursor wait(doc);
    const std::vector<CFormElement*> selected = GetSelectedElements();
    for (CFormElement* e : selected)
        MoveElementBy(e, dx, dy, flags);
    if (!selected.empty())
        NotifyPropertySheetRefresh();
    return selected.empty() ? FALSE : TRUE;
}

void CDesignView::ResizeSelection(int handle, int dw, int dh)
{
    CDesignerDoc* doc = GetDesignerDoc();
    if (doc == nullptr)
        return;
    const int flags = ResizeFlagsForHandle(handle);
    {
        CDocChangeGuard guard(doc);
        SelectionWaitCursor wait(doc);
        for (CFormElement* e : GetSelectedElements())
            ResizeElementBy(e, dw, dh, flags);
    }
    NotifyPropertySheetRefresh();
}

void CDesignView::DeleteSelection()
{
    CDesignerDoc* doc = GetDesignerDoc();
    if (doc == nullptr)
        return;
    CDocChangeGuard guard(doc);
    SelectionWaitCursor wait(doc);
    SetCurrentElement(nullptr, TRUE);
    doc->DeleteSelectedElements();
}

// ---------------------------------------------------------------- clipboard

std::unique_ptr<CServerItem> CDesignView::MakeServerItem() const
{
    CDesignerDoc* doc = GetDesignerDoc();
    if (doc == nullptr || m_pCurrent == nullptr)
        return nullptr;
    const CServerItem::Format format = GetSide() == PaneSide::Output ? CServerItem::DestFormat : CServerItem::SrcFormat;
    return std::make_unique<CServerItem>(doc, format, CServerItem::SelectedElements(*doc), m_pCurrent);
}

void CDesignView::OnEditCopy()
{
    SelectionWaitCursor wait(GetDesignerDoc());
    std::unique_ptr<CServerItem> item = MakeServerItem();
    if (item == nullptr)
        return;
    try {
        item->CopyToClipboard();
    } catch (const CException& e) {
        AfxMessageBox(QString::fromUtf8(e.what()), MB_OK | MB_ICONEXCLAMATION);
    }
}

void CDesignView::OnEditCut()
{
    if (m_pCurrent == nullptr)
        return;
    OnEditCopy();
    DeleteSelection();
}

void CDesignView::OnEditPaste()
{
    CDesignerDoc* doc = GetDesignerDoc();
    if (doc == nullptr)
        return;
    CDocChangeGuard guard(doc);
    QPoint cursor = viewport()->mapFromGlobal(QCursor::pos());
    if (!viewport()->rect().contains(cursor))
        cursor = QPoint(0, 0);
    Rect cell = ClientToDocRect(Rect(cursor.x(), cursor.y(), cursor.x() + 1, cursor.y() + 1));
    if (const CPage* page = GetPanePage())
        page->SnapToGrid(cell);
    CServerItem item(doc);
    // A container cut or copied in the explorer brings its children along.
    const QMimeData* data =
        QGuiApplication::clipboard() != nullptr ? QGuiApplication::clipboard()->mimeData() : nullptr;
    item.SetWithChildren(CServerItem::FirstOfferedFormat(data) == CServerItem::ExplFormat);
    if (item.PasteFromClipboard()) {
        DeselectAll(FALSE);
        PasteItem(item, cell.TopLeft());
    }
}

void CDesignView::PasteItem(CServerItem& item, QPoint logical)
{
    CDesignerDoc* doc = GetDesignerDoc();
    if (doc == nullptr)
        return;
    SelectionWaitCursor wait(doc);
    const CFormElement* reference = item.GetReferenceElement();
    if (reference == nullptr)
        return;
    Rect r = GetElementRect(reference);
    const int dx = logical.x() - r.left;
    const int dy = logical.y() - r.top;
    CFormElement* anchor = m_pCurrent;
    CFormElement* lastAdded = nullptr;
    for (CFormElement* e : item.TakeElements()) {
        lastAdded = nullptr;
        if (doc->AddElement(e, TRUE, anchor) != nullptr) {
            MoveElementBy(e, dx, dy, ElementMoveFlags::Left | ElementMoveFlags::Top);
            e->Select(TRUE);
            lastAdded = e;
        } else if (!doc->ContainsElement(e)) {
            delete e;
        }
    }
    if (lastAdded != nullptr)
        SetCurrentElement(lastAdded, TRUE);
}

void CDesignView::OnSelectAll()
{
    CDesignerDoc* doc = GetDesignerDoc();
    if (doc == nullptr)
        return;
    SelectionWaitCursor wait(doc);
    CFormElement* last = nullptr;
    for (CObject* object : doc->GetElementList())
        if (CFormElement* e = AsElement(object)) {
            e->Select(TRUE);
            last = e;
        }
    if (m_pCurrent == nullptr && last != nullptr)
        SetCurrentElement(last, TRUE);
}
