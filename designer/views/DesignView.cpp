#include "designer/views/DesignView.h"

#include "designer/commands/CommandIds.h"
#include "designer/controls/ConditionalWaitCursor.h"
#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/RegisteredMessages.h"
#include "designer/document/ServerItem.h"
#include "designer/elements/FormElement.h"
#include "designer/views/DesignFrame.h"
#include "designer/views/ToolCursors.h"
#include "platform/framework/Exceptions.h"
#include "platform/framework/MathHelpers.h"
#include "platform/registry/RegistryStore.h"
#include "platform/ui/PromptHelpers.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDrag>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QRegion>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <climits>
#include <optional>

using kwvd::Rect;

IDesignFrame::~IDesignFrame() = default;

namespace {

// The system colours the panes paint with.
const QColor kWorkspaceColour(171, 171, 171);
const QColor kWindowColour(255, 255, 255);

// Stored zoom values beyond this are not believed.
constexpr int kMaxStoredZoom = 1000;

// Selection-wide operations show the hourglass only for large documents.
class SelectionWaitCursor : public CConditionalWaitCursor
{
public:
    explicit SelectionWaitCursor(const CDesignerDoc* doc)
        : CConditionalWaitCursor(doc != nullptr && ShowsFor(doc->GetElementList().GetCount()))
    {
    }
};

CDesignView::DragRunner& DragRunnerSlot()
{
    static CDesignView::DragRunner runner;
    return runner;
}

CFormElement* AsElement(CObject* object)
{
    return dynamic_cast<CFormElement*>(object);
}

constexpr QPoint kNoDropPosition(INT_MIN, INT_MIN);

} // namespace

CDesignView::CDesignView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAcceptDrops(true);
    setAcceptDrops(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    m_dropPosition = kNoDropPosition;
    RegisterCommands();
}

CDesignView::~CDesignView()
{
    if (CDocument* doc = GetDocument())
        doc->RemoveView(this);
}

// ---------------------------------------------------------------- document

void CDesignView::SetDocument(CDesignerDoc* doc)
{
    if (CDocument* old = GetDocument(); old != nullptr && old != doc)
        old->RemoveView(this);
    m_pCurrent = nullptr;
    DeleteTracker();
    if (doc != nullptr)
        doc->AddView(this);
    InvalidateAll();
}

CDesignerDoc* CDesignView::GetDesignerDoc() const
{
    return dynamic_cast<CDesignerDoc*>(GetDocument());
}

void CDesignView::OnInitialUpdate()
{
    if (GetDesignerDoc() != nullptr)
        ReadZoomFromDocument(m_zoomX, m_zoomY, m_fitMode);
    FitZoom();
    OnUpdate(nullptr, 0, nullptr);
}

void CDesignView::OnUpdate(CView* /*sender*/, LPARAM hint, CObject* hintObject)
{
    CDesignerDoc* doc = GetDesignerDoc();
    // A current element the document no longer holds is dropped unseen.
    if (m_pCurrent != nullptr && (doc == nullptr || !doc->ContainsElement(m_pCurrent)))
    {
        m_pCurrent = nullptr;
        DeleteTracker();
    }
    CFormElement* element = AsElement(hintObject);
    switch (hint)
    {
    case DocumentHint::ElementChanged:
        InvalidateElement(element);
        break;
    case DocumentHint::SourceRectChanged:
    case DocumentHint::DestRectChanged:
        if (hint == GetRectChangedHint())
            InvalidateElement(element);
        break;
    case DocumentHint::ElementReparented:
    case DocumentHint::ElementAdded:
    case DocumentHint::RestoreBegins:
        break;
    case DocumentHint::SelectionChanged:
        if (m_pCurrent != nullptr)
        {
            InvalidateElement(m_pCurrent);
            m_pCurrent = nullptr;
            DeleteTracker();
        }
        break;
    case DocumentHint::ElementRemoved:
        if (element != nullptr && element == m_pCurrent)
            SetCurrentElement(nullptr, TRUE);
        break;
    case DocumentHint::SpooledPageChanged:
    case DocumentHint::OutputViewRefit:
    case DocumentHint::PageSetupChanged:
        if (RefitsOnHint(int(hint)))
            FitZoom();
        FullUpdate();
        break;
    default:
        FullUpdate();
        break;
    }
}

void CDesignView::FullUpdate()
{
    InvalidateAll();
    UpdateScrollSizes();
}

void CDesignView::InvalidateAll()
{
    viewport()->update();
}

// ---------------------------------------------------------------- zoom

BOOL CDesignView::SetZoom(int zoomX, int zoomY, int baseX, int baseY)
{
    CDesignerDoc* doc = GetDesignerDoc();
    CDocChangeGuard guard(doc);
    zoomX = std::max(zoomX, kMinZoom);
    zoomY = std::max(zoomY, kMinZoom);
    if (baseX == m_baseX && baseY == m_baseY && zoomX == m_zoomX && zoomY == m_zoomY)
        return FALSE;
    m_baseX = baseX;
    m_baseY = baseY;
    m_zoomX = zoomX;
    m_zoomY = zoomY;
    if (doc != nullptr)
    {
        StoreZoomInDocument(zoomX, zoomY, m_fitMode);
        OnZoomStored();
    }
    InvalidateAll();
    return TRUE;
}

void CDesignView::FitZoom()
{
    if (m_fitMode == ViewFitMode::None)
        return;
    const CPage* page = GetPanePage();
    if (page == nullptr)
        return;
    const unsigned W = unsigned(std::max(page->GetPixelWidth(), 0));
    const unsigned H = unsigned(std::max(page->GetPixelHeight(), 0));
    const unsigned w = unsigned(std::max(width(), 0));
    const unsigned h = unsigned(std::max(height(), 0));
    // A page without size, or a pane collapsed to nothing, has nothing to fit.
    if (W == 0 || H == 0 || w == 0 || h == 0)
        return;
    const unsigned bar = unsigned(std::max(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this), 0));
    unsigned across = w * 100 / W;
    unsigned down = h * 100 / H;
    int zoom = 100;
    switch (m_fitMode)
    {
    case ViewFitMode::Width:
        if (down < across)
            across = (w * 100 - std::min(bar * 100, w * 100)) / W;
        zoom = int(across);
        break;
    case ViewFitMode::Height:
        if (across < down)
            down = (h * 100 - std::min(bar * 100, h * 100)) / H;
        zoom = int(down);
        break;
    case ViewFitMode::Page:
        zoom = int(across < down ? across : down);
        break;
    default:
        break;
    }
    if (SetZoom(zoom, zoom, 100, 100))
        UpdateScrollSizes();
}

void CDesignView::UpdateScrollSizes()
{
    const CPage* page = GetPanePage();
    if (page != nullptr)
    {
        m_totalSize = DocToClientSize(QSize(page->GetPixelWidth(), page->GetPixelHeight()));
        m_lineStep = DocToClientSize(QSize(page->GetCellWidth(), page->GetCellHeight()));
    }
    else
    {
        m_totalSize = QSize(100, 100);
        m_lineStep = QSize(1, 1);
    }
    m_lineStep = m_lineStep.expandedTo(QSize(1, 1));
    m_pageStep = m_lineStep * 10;
    const QSize visible = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, m_totalSize.width() - visible.width()));
    verticalScrollBar()->setRange(0, std::max(0, m_totalSize.height() - visible.height()));
    horizontalScrollBar()->setSingleStep(m_lineStep.width());
    verticalScrollBar()->setSingleStep(m_lineStep.height());
    horizontalScrollBar()->setPageStep(m_pageStep.width());
    verticalScrollBar()->setPageStep(m_pageStep.height());
}

QPoint CDesignView::GetScrollPosition() const
{
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void CDesignView::ScrollToPosition(QPoint device)
{
    horizontalScrollBar()->setValue(device.x());
    verticalScrollBar()->setValue(device.y());
}

void CDesignView::OnZoomStep(UINT id)
{
    if (id < ID_VIEW_ZOOM_FIRST || id > ID_VIEW_ZOOM_LAST)
        return;
    const int zoom = ZoomStepTable[id - ID_VIEW_ZOOM_FIRST];
    m_fitMode = ViewFitMode::None;
    if (SetZoom(zoom, zoom, 100, 100))
        UpdateScrollSizes();
}

void CDesignView::OnZoomIn()
{
    m_fitMode = ViewFitMode::None;
    int x = m_zoomX + 10;
    int y = m_zoomY + 10;
    if (x > kMaxStepZoom)
        x = y = kMaxStepZoom;
    if (SetZoom(x, y, 100, 100))
        UpdateScrollSizes();
}

void CDesignView::OnZoomOut()
{
    m_fitMode = ViewFitMode::None;
    int x = m_zoomX - 10;
    int y = m_zoomY - 10;
    if (x < kMinZoom)
        x = y = kMinZoom;
    if (SetZoom(x, y, 100, 100))
        UpdateScrollSizes();
}

void CDesignView::OnFitWidth()
{
    m_fitMode = ViewFitMode::Width;
    FitZoom();
}

void CDesignView::OnFitHeight()
{
    m_fitMode = ViewFitMode::Height;
    FitZoom();
}

void CDesignView::OnFitPage()
{
    m_fitMode = ViewFitMode::Page;
    FitZoom();
}

// ---------------------------------------------------------------- layout

int CDesignView::OnSerializeLayout(int wParam, LPARAM /*lParam*/)
{
    if (m_pFrame == nullptr)
        return 0;
    const bool save = wParam == 1;
    const std::optional<kwvd::RegistryKey> key = m_pFrame->OpenLayoutKey(GetLayoutSubsection(), save);
    if (!key)
        return 0;
    kwvd::RegistryStore& store = kwvd::RegistryStore::Instance();
    auto number = [](int value) { return kwvd::RegistryValue::Number(std::uint32_t(value)); };
    if (save)
    {
        const QPoint scroll = GetScrollPosition();
        store.WriteValue(*key, u"ZoomNumX", number(m_zoomX));
        store.WriteValue(*key, u"ZoomNumY", number(m_zoomY));
        store.WriteValue(*key, u"ZoomFit", number(m_fitMode));
        store.WriteValue(*key, u"ScrollX", number(scroll.x()));
        store.WriteValue(*key, u"ScrollY", number(scroll.y()));
        return 1;
    }
    // Stored values are bounded before use: a damaged store must not make
    // a page of absurd size.
    auto read = [&](QStringView name) -> std::optional<int> {
        const std::optional<std::uint32_t> v = store.ReadNumber(*key, name);
        if (!v)
            return std::nullopt;
        return int(std::min<std::uint32_t>(*v, std::uint32_t(INT_MAX)));
    };
    const std::optional<int> x = read(u"ZoomNumX");
    const std::optional<int> y = read(u"ZoomNumY");
    const std::optional<int> fit = read(u"ZoomFit");
    if (x && y && fit && (qint64(*x) + *y + *fit) != 0)
    {
        if (*fit != 0)
        {
            m_fitMode = *fit;
            FitZoom();
        }
        else
        {
            m_fitMode = ViewFitMode::None;
            if (SetZoom(std::min(*x, kMaxStoredZoom), std::min(*y, kMaxStoredZoom), 100, 100))
                UpdateScrollSizes();
        }
    }
    const std::optional<int> sx = read(u"ScrollX");
    const std::optional<int> sy = read(u"ScrollY");
    if (sx && sy && (qint64(*sx) + *sy) != 0)
        ScrollToPosition(QPoint(*sx, *sy));
    return 1;
}

// ---------------------------------------------------------------- coordinates

QTransform CDesignView::ViewTransform() const
{
    const QPoint scroll = GetScrollPosition();
    const double zx = std::max(m_zoomX, kMinZoom) / double(m_baseX > 0 ? m_baseX : 100);
    const double zy = std::max(m_zoomY, kMinZoom) / double(m_baseY > 0 ? m_baseY : 100);
    return QTransform(zx, 0, 0, zy, -scroll.x(), -scroll.y());
}

namespace {

int ToDevice(int logical, int zoom, int base)
{
    return MulDiv(logical, std::max(zoom, kMinZoom), base > 0 ? base : 100);
}

int ToLogical(int device, int zoom, int base)
{
    return MulDiv(device, base > 0 ? base : 100, std::max(zoom, kMinZoom));
}

} // namespace

QPoint CDesignView::DocToClientPoint(QPoint logical) const
{
    const QPoint scroll = GetScrollPosition();
    return QPoint(ToDevice(logical.x(), m_zoomX, m_baseX) - scroll.x(),
                  ToDevice(logical.y(), m_zoomY, m_baseY) - scroll.y());
}

QPoint CDesignView::ClientToDocPoint(QPoint device) const
{
    const QPoint scroll = GetScrollPosition();
    return QPoint(ToLogical(device.x() + scroll.x(), m_zoomX, m_baseX),
                  ToLogical(device.y() + scroll.y(), m_zoomY, m_baseY));
}

Rect CDesignView::DocToClientRect(const Rect& logical) const
{
    const QPoint tl = DocToClientPoint(logical.TopLeft());
    const QPoint br = DocToClientPoint(logical.BottomRight());
    Rect r(tl.x(), tl.y(), br.x(), br.y());
    r.Normalize();
    return r;
}

Rect CDesignView::ClientToDocRect(const Rect& device) const
{
    const QPoint tl = ClientToDocPoint(device.TopLeft());
    const QPoint br = ClientToDocPoint(device.BottomRight());
    return Rect(tl.x(), tl.y(), br.x(), br.y());
}

QSize CDesignView::DocToClientSize(QSize logical) const
{
    return QSize(std::abs(ToDevice(logical.width(), m_zoomX, m_baseX)),
                 std::abs(ToDevice(logical.height(), m_zoomY, m_baseY)));
}

QSize CDesignView::ClientToDocSize(QSize device) const
{
    return QSize(ToLogical(device.width(), m_zoomX, m_baseX), ToLogical(device.height(), m_zoomY, m_baseY));
}

QSize CDesignView::GetCellSize() const
{
    const CPage* page = GetPanePage();
    if (page == nullptr)
        return QSize(1, 1);
    return QSize(page->GetCellWidth(), page->GetCellHeight());
}

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
    if (m_pFrame != nullptr)
    {
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
    m_pCurrent = element;
    if (m_pCurrent != nullptr)
    {
        if (!m_pCurrent->Select(TRUE))
            InvalidateElement(m_pCurrent);
    }
    else
    {
        DeleteTracker();
    }
}

void CDesignView::SelectOnly(CFormElement* element)
{
    NotifySelection(element);
    DeselectAll(FALSE);
    if (m_pCurrent != nullptr && !m_pCurrent->Select(FALSE))
        InvalidateElement(m_pCurrent);
    m_pCurrent = element;
    if (m_pCurrent != nullptr)
    {
        if (!m_pCurrent->Select(TRUE))
            InvalidateElement(m_pCurrent);
    }
    else
    {
        DeleteTracker();
    }
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
    if (element == m_pCurrent)
    {
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
    for (CObject* object : doc->GetElementList())
    {
        CFormElement* e = AsElement(object);
        if (e == nullptr)
            continue;
        Rect r = GetElementRect(e);
        r.Normalize();
        if (r.Intersects(logical))
        {
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

BOOL CDesignView::OnScrollBy(QPoint device, BOOL doScroll)
{
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    const int x = std::clamp(h->value() + device.x(), h->minimum(), h->maximum());
    const int y = std::clamp(v->value() + device.y(), v->minimum(), v->maximum());
    if (x == h->value() && y == v->value())
        return FALSE;
    if (doScroll)
    {
        EraseDropFeedback();
        h->setValue(x);
        v->setValue(y);
    }
    return TRUE;
}

BOOL CDesignView::ScrollSelectionIntoView(QPoint deviceStep)
{
    const Rect view = ClientToDocRect(Rect(0, 0, viewport()->width(), viewport()->height()));
    Rect u;
    for (CFormElement* e : GetSelectedElements())
    {
        Rect r = GetElementRect(e);
        r.Normalize();
        u = u.United(r);
    }
    if (u.IsEmpty())
        return FALSE;
    const QSize logicalStep(ToLogical(deviceStep.x(), m_zoomX, m_baseX), ToLogical(deviceStep.y(), m_zoomY, m_baseY));
    auto shiftFor = [](int uStart, int uEnd, int vStart, int vEnd, int step) {
        if (uEnd - uStart >= vEnd - vStart)
            return step;
        if (uStart < vStart)
            return uStart - vStart;
        if (uEnd > vEnd)
            return uEnd - vEnd;
        return 0;
    };
    const int sx = shiftFor(u.left, u.right, view.left, view.right, logicalStep.width());
    const int sy = shiftFor(u.top, u.bottom, view.top, view.bottom, logicalStep.height());
    if (sx == 0 && sy == 0)
        return FALSE;
    OnScrollBy(QPoint(ToDevice(sx, m_zoomX, m_baseX), ToDevice(sy, m_zoomY, m_baseY)), TRUE);
    return TRUE;
}

// ---------------------------------------------------------------- clipboard

std::unique_ptr<CServerItem> CDesignView::MakeServerItem() const
{
    CDesignerDoc* doc = GetDesignerDoc();
    if (doc == nullptr || m_pCurrent == nullptr)
        return nullptr;
    const CServerItem::Format format = GetSide() == 2 ? CServerItem::DestFormat : CServerItem::SrcFormat;
    return std::make_unique<CServerItem>(doc, format, CServerItem::SelectedElements(*doc), m_pCurrent);
}

void CDesignView::OnEditCopy()
{
    SelectionWaitCursor wait(GetDesignerDoc());
    std::unique_ptr<CServerItem> item = MakeServerItem();
    if (item == nullptr)
        return;
    try
    {
        item->CopyToClipboard();
    }
    catch (const CException& e)
    {
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
    if (item.PasteFromClipboard())
    {
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
    for (CFormElement* e : item.TakeElements())
    {
        lastAdded = nullptr;
        if (doc->AddElement(e, TRUE, anchor) != nullptr)
        {
            MoveElementBy(e, dx, dy, ElementMoveFlags::Left | ElementMoveFlags::Top);
            e->Select(TRUE);
            lastAdded = e;
        }
        else if (!doc->ContainsElement(e))
        {
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
        if (CFormElement* e = AsElement(object))
        {
            e->Select(TRUE);
            last = e;
        }
    if (m_pCurrent == nullptr && last != nullptr)
        SetCurrentElement(last, TRUE);
}

// ---------------------------------------------------------------- commands

void CDesignView::RegisterCommands()
{
    auto hasCurrent = [this](CCmdUI& ui) { ui.Enable(m_pCurrent != nullptr); };
    auto hasChildren = [this](CCmdUI& ui) {
        ui.Enable(m_pCurrent != nullptr && !m_pCurrent->GetFirstChildPosition().IsNull());
    };
    auto zOrder = [this](bool front, BOOL withChildren) {
        CDesignerDoc* doc = GetDesignerDoc();
        if (doc == nullptr || m_pCurrent == nullptr)
            return;
        CDocChangeGuard guard(doc);
        if (front)
            doc->BringToFront(m_pCurrent, withChildren);
        else
            doc->SendToBack(m_pCurrent, withChildren);
    };

    OnCommand(ID_EDIT_COPY, [this] { OnEditCopy(); });
    CCmdTarget::OnUpdate(ID_EDIT_COPY, hasCurrent);
    OnCommand(ID_EDIT_CUT, [this] { OnEditCut(); });
    CCmdTarget::OnUpdate(ID_EDIT_CUT, hasCurrent);
    OnCommand(ID_EDIT_PASTE, [this] { OnEditPaste(); });
    CCmdTarget::OnUpdate(ID_EDIT_PASTE, [this](CCmdUI& ui) {
        const QMimeData* data = QGuiApplication::clipboard() != nullptr ? QGuiApplication::clipboard()->mimeData()
                                                                       : nullptr;
        ui.Enable(data != nullptr && data->hasFormat(GetClipboardFormat()));
    });
    OnCommand(ID_EDIT_CLEAR, [this] {
        if (m_pCurrent != nullptr)
            DeleteSelection();
    });
    CCmdTarget::OnUpdate(ID_EDIT_CLEAR, hasCurrent);
    OnCommand(ID_EDIT_SELECT_ALL, [this] { OnSelectAll(); });
    OnCommand(ID_EDIT_SELECT_NONE, [this] { DeselectAll(TRUE); });
    OnCommand(ID_EDIT_BRING_TO_FRONT, [zOrder] { zOrder(true, FALSE); });
    CCmdTarget::OnUpdate(ID_EDIT_BRING_TO_FRONT, hasCurrent);
    OnCommand(ID_EDIT_BRING_ALL_TO_FRONT, [zOrder] { zOrder(true, TRUE); });
    CCmdTarget::OnUpdate(ID_EDIT_BRING_ALL_TO_FRONT, hasChildren);
    OnCommand(ID_EDIT_SEND_TO_BACK, [zOrder] { zOrder(false, FALSE); });
    CCmdTarget::OnUpdate(ID_EDIT_SEND_TO_BACK, hasCurrent);
    OnCommand(ID_EDIT_SEND_ALL_TO_BACK, [zOrder] { zOrder(false, TRUE); });
    CCmdTarget::OnUpdate(ID_EDIT_SEND_ALL_TO_BACK, hasChildren);
    // The frame runs Properties; the pane only says when it applies.
    CCmdTarget::OnUpdate(ID_EDIT_PROPERTIES, hasCurrent);

    OnCommandRange(ID_VIEW_ZOOM_FIRST, ID_VIEW_ZOOM_LAST, [this](UINT id) { OnZoomStep(id); });
    OnUpdateRange(ID_VIEW_ZOOM_FIRST, ID_VIEW_ZOOM_LAST, [this](CCmdUI& ui) {
        ui.Enable(TRUE);
        const int step = ZoomStepTable[ui.m_nID - ID_VIEW_ZOOM_FIRST];
        ui.SetCheck(m_fitMode == ViewFitMode::None && m_baseX == 100 && m_baseY == 100 && step == m_zoomX
                            && step == m_zoomY
                        ? 1
                        : 0);
    });
    OnCommand(ID_VIEW_ZOOM_IN, [this] { OnZoomIn(); });
    OnCommand(ID_VIEW_ZOOM_OUT, [this] { OnZoomOut(); });
    OnCommand(ID_VIEW_ZOOM_WIDTH, [this] { OnFitWidth(); });
    OnCommand(ID_VIEW_ZOOM_HEIGHT, [this] { OnFitHeight(); });
    OnCommand(ID_VIEW_ZOOM_PAGE, [this] { OnFitPage(); });
    auto fitCheck = [this](int mode) {
        return [this, mode](CCmdUI& ui) {
            ui.Enable(TRUE);
            ui.SetCheck(m_fitMode == mode ? 1 : 0);
        };
    };
    CCmdTarget::OnUpdate(ID_VIEW_ZOOM_WIDTH, fitCheck(ViewFitMode::Width));
    CCmdTarget::OnUpdate(ID_VIEW_ZOOM_HEIGHT, fitCheck(ViewFitMode::Height));
    CCmdTarget::OnUpdate(ID_VIEW_ZOOM_PAGE, fitCheck(ViewFitMode::Page));
}

QMenu* CDesignView::BuildContextMenu()
{
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("PaneContextMenu"));
    auto add = [this](QMenu* m, UINT id, const QString& text, const QString& shortcut = QString()) {
        QAction* action = m->addAction(shortcut.isEmpty() ? text : text + QLatin1Char('\t') + shortcut);
        action->setData(id);
        CCmdUI ui(id);
        if (OnUpdateCmdUI(ui))
        {
            action->setEnabled(ui.IsEnabled());
            if (ui.GetCheck())
            {
                action->setCheckable(true);
                action->setChecked(*ui.GetCheck() != 0);
            }
        }
        else if (m_pFrame == nullptr)
        {
            action->setEnabled(false);
        }
        connect(action, &QAction::triggered, this, [this, id] {
            if (!OnCmdMsg(id) && m_pFrame != nullptr)
                m_pFrame->ExecuteCommand(id);
        });
    };
    add(menu, ID_EDIT_CUT, tr("Cu&t"), QStringLiteral("Ctrl+X"));
    add(menu, ID_EDIT_COPY, tr("&Copy"), QStringLiteral("Ctrl+C"));
    add(menu, ID_EDIT_PASTE, tr("&Paste"), QStringLiteral("Ctrl+V"));
    add(menu, ID_EDIT_CLEAR, tr("&Delete"), QStringLiteral("Del"));
    menu->addSeparator();
    add(menu, ID_EDIT_BRING_TO_FRONT, tr("Bring to &Front"), QStringLiteral("Ctrl+J"));
    add(menu, ID_EDIT_BRING_ALL_TO_FRONT, tr("Bring All to Front"), QStringLiteral("Ctrl+Shift+J"));
    add(menu, ID_EDIT_SEND_TO_BACK, tr("&Send to Back"), QStringLiteral("Ctrl+K"));
    add(menu, ID_EDIT_SEND_ALL_TO_BACK, tr("Send All to Back"), QStringLiteral("Ctrl+Shift+K"));
    menu->addSeparator();
    QMenu* zoom = menu->addMenu(tr("Zoom..."));
    add(zoom, ID_VIEW_ZOOM_WIDTH, tr("Width"));
    add(zoom, ID_VIEW_ZOOM_HEIGHT, tr("Height"));
    add(zoom, ID_VIEW_ZOOM_PAGE, tr("Page"));
    zoom->addSeparator();
    for (UINT i = 0; i < 10; ++i)
        add(zoom, ID_VIEW_ZOOM_FIRST + i, QStringLiteral("%1 %").arg(ZoomStepTable[i]));
    menu->addSeparator();
    add(menu, ID_EDIT_PROPERTIES, tr("Properties..."));
    return menu;
}

void CDesignView::OnContextMenu(QPoint global)
{
    if (CFormElement* hit = HitTestElement(viewport()->mapFromGlobal(global)))
        SetCurrentElement(hit, TRUE);
    QMenu* menu = BuildContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(global);
}

// ---------------------------------------------------------------- mouse

QCursor CDesignView::CursorAt(QPoint device) const
{
    const int tool = m_pFrame != nullptr ? m_pFrame->GetCurrentTool() : DrawingTool::Select;
    if (tool == DrawingTool::Select)
    {
        if (m_pCurrent != nullptr)
        {
            // Before the first paint there is no tracker yet: ask one made
            // for the question.
            CElementTracker scratch;
            CElementTracker& tracker = m_tracker != nullptr ? *m_tracker : scratch;
            SetupTracker(tracker, m_pCurrent);
            const int hit = tracker.HitTest(device);
            if (hit >= CElementTracker::hitTopLeft && hit <= CElementTracker::hitLeft)
                return QCursor(CElementTracker::CursorForHit(hit));
        }
        return QCursor(Qt::ArrowCursor);
    }
    const int id = GetToolCursorId(tool);
    return id != 0 ? ToolCursor(id) : QCursor(Qt::ArrowCursor);
}

void CDesignView::OnLButtonDown(QPoint device, Qt::KeyboardModifiers keys)
{
    if (m_tracking != Tracking::None)
        return;
    const int tool = m_pFrame != nullptr ? m_pFrame->GetCurrentTool() : DrawingTool::Select;
    const ToolAction action = GetToolAction(tool);
    if (action.kind == ToolAction::Band)
    {
        SetupTracker(m_activeTracker, nullptr);
        m_activeTracker.BeginRubberBand(device);
        m_tracking = Tracking::ToolBand;
        m_bandType = action.elementType;
        return;
    }
    if (action.kind == ToolAction::Click)
    {
        if (m_pFrame != nullptr)
            m_pFrame->ResetToolUnlessLocked();
        const QPoint p = ClientToDocPoint(device);
        const QSize cell = GetCellSize();
        const Rect r(p.x(), p.y(), p.x() + cell.width(), p.y() + cell.height());
        CreateElementAt(action.elementType, &r);
        if (m_pFrame != nullptr)
            m_pFrame->ShowPropertySheet();
        return;
    }

    const bool ctrl = keys.testFlag(Qt::ControlModifier);
    const bool shift = keys.testFlag(Qt::ShiftModifier);
    CFormElement* hit = HitTestElement(device);
    if (hit != nullptr)
    {
        if (!ctrl)
        {
            // Clicking the current element keeps a multiple selection, so
            // that it can be dragged as a whole.
            if (!IsCurrentElement(hit))
                SelectOnly(hit);
        }
        else if (shift && m_pCurrent != nullptr && m_pCurrent != hit)
        {
            Rect a = GetElementRect(m_pCurrent);
            Rect b = GetElementRect(hit);
            a.Normalize();
            b.Normalize();
            SelectInRect(a.United(b));
            SetCurrentElement(hit, TRUE);
        }
        m_dragStart = device;
        m_deadZone = Rect(device.x() - 1, device.y() - 1, device.x() + 1, device.y() + 1);
        m_dragArmed = TRUE;
        return;
    }
    if (!ctrl)
        DeselectAll(TRUE);
    SetupTracker(m_activeTracker, nullptr);
    m_activeTracker.BeginRubberBand(device);
    m_tracking = Tracking::SelectBand;
}

void CDesignView::OnMouseMove(QPoint device, Qt::KeyboardModifiers /*keys*/)
{
    if (m_tracking != Tracking::None)
    {
        m_activeTracker.TrackTo(device);
        viewport()->update();
        return;
    }
    viewport()->setCursor(CursorAt(device));
    // The dead zone holds both end points: only a real move leaves it.
    if (!m_dragArmed || (device.x() >= m_deadZone.left && device.x() <= m_deadZone.right
                         && device.y() >= m_deadZone.top && device.y() <= m_deadZone.bottom))
        return;
    const QPoint start = m_dragStart;
    m_dragArmed = FALSE;
    m_deadZone = Rect();

    CFormElement* element = HitTestElement(start);
    CElementTracker scratch;
    SetupTracker(scratch, element);
    const int handle = scratch.HitTest(start);
    if (handle == CElementTracker::hitMiddle)
    {
        if (StartElementDrag(start, scratch.m_rect))
        {
            DeleteSelection();
            if (CDesignerDoc* doc = GetDesignerDoc())
                doc->SetModifiedFlag(TRUE);
        }
    }
    else if (handle >= CElementTracker::hitTopLeft && handle <= CElementTracker::hitLeft)
    {
        viewport()->update();
        SetupTracker(m_activeTracker, element);
        m_activeTracker.BeginTrack(handle, start);
        m_activeTracker.TrackTo(device);
        m_pTrackedElement = element;
        m_tracking = Tracking::Handle;
    }
}

void CDesignView::OnLButtonUp(QPoint device, Qt::KeyboardModifiers keys)
{
    if (m_tracking != Tracking::None)
    {
        m_activeTracker.TrackTo(device);
        const BOOL changed = m_activeTracker.EndTrack();
        const Tracking what = m_tracking;
        m_tracking = Tracking::None;
        viewport()->update();
        Rect band = m_activeTracker.m_rect;
        band.Normalize();
        switch (what)
        {
        case Tracking::ToolBand:
            if (changed)
                FinishToolBand(band);
            if (m_pFrame != nullptr)
                m_pFrame->ResetToolUnlessLocked();
            break;
        case Tracking::SelectBand:
            if (changed)
                FinishSelectBand(band);
            break;
        case Tracking::Handle:
            if (changed)
                FinishHandleTrack();
            m_pTrackedElement = nullptr;
            break;
        case Tracking::None:
            break;
        }
        return;
    }
    // Ctrl toggles the clicked element; with Shift too the press already
    // selected the span and made the element current, which stays.
    if (keys.testFlag(Qt::ControlModifier) && !keys.testFlag(Qt::ShiftModifier) && m_dragArmed)
    {
        CFormElement* hit = HitTestElement(device);
        if (hit != nullptr && hit == m_pCurrent)
            DeselectElement(hit);
        else if (hit != nullptr)
            SetCurrentElement(hit, TRUE);
    }
    m_deadZone = Rect();
    m_dragArmed = FALSE;
}

void CDesignView::FinishToolBand(const Rect& deviceBand)
{
    Rect band = ClientToDocRect(deviceBand);
    band.Normalize();
    const QSize cell = GetCellSize();
    if (band.Width() >= cell.width() || band.Height() >= cell.height())
        CreateElementAt(m_bandType, &band);
}

void CDesignView::FinishSelectBand(const Rect& deviceBand)
{
    Rect band = ClientToDocRect(deviceBand);
    band.Normalize();
    SetCurrentElement(SelectInRect(band), TRUE);
}

void CDesignView::FinishHandleTrack()
{
    CDesignerDoc* doc = GetDesignerDoc();
    if (doc == nullptr || m_pTrackedElement == nullptr || !doc->ContainsElement(m_pTrackedElement))
        return;
    Rect tracked = m_activeTracker.m_rect;
    tracked.Normalize();
    const Rect now = ClientToDocRect(tracked);
    Rect old = GetElementRect(m_pTrackedElement);
    old.Normalize();
    ResizeSelection(m_activeTracker.GetTrackHandle(), now.Width() - old.Width(), now.Height() - old.Height());
}

void CDesignView::OnLButtonDblClk(QPoint device)
{
    if (CFormElement* hit = HitTestElement(device))
    {
        SelectOnly(hit);
        if (m_pFrame != nullptr)
            m_pFrame->ShowPropertySheet();
        return;
    }
    OnEmptyDoubleClick();
}

void CDesignView::OnKeyDown(int key, int repeat)
{
    if (key == Qt::Key_Escape)
    {
        if (m_tracking != Tracking::None)
        {
            const Tracking what = m_tracking;
            m_activeTracker.Cancel();
            m_tracking = Tracking::None;
            m_pTrackedElement = nullptr;
            viewport()->update();
            if (what == Tracking::ToolBand && m_pFrame != nullptr)
                m_pFrame->ResetToolUnlessLocked();
        }
        m_dragArmed = FALSE;
        return;
    }
    const QSize cell = GetCellSize();
    const int n = std::max(repeat, 1);
    int dx = 0;
    int dy = 0;
    switch (key)
    {
    case Qt::Key_PageUp: dy = -10 * n * cell.height(); break;
    case Qt::Key_PageDown: dy = 10 * n * cell.height(); break;
    case Qt::Key_Left: dx = -n * cell.width(); break;
    case Qt::Key_Right: dx = n * cell.width(); break;
    case Qt::Key_Up: dy = -n * cell.height(); break;
    case Qt::Key_Down: dy = n * cell.height(); break;
    default: return;
    }
    const QSize magnitude = DocToClientSize(QSize(dx, dy));
    const QPoint deviceStep(dx < 0 ? -magnitude.width() : magnitude.width(),
                            dy < 0 ? -magnitude.height() : magnitude.height());
    if (MoveSelection(ElementMoveFlags::Left | ElementMoveFlags::Top, dx, dy))
        ScrollSelectionIntoView(deviceStep);
    else if (!OnScrollBy(deviceStep, TRUE))
        OnScrollLimit(key);
}

// ---------------------------------------------------------------- drag and drop

void CDesignView::SetDragRunner(DragRunner runner)
{
    DragRunnerSlot() = std::move(runner);
}

BOOL CDesignView::StartElementDrag(QPoint start, const Rect& trackerRect)
{
    CDesignerDoc* doc = GetDesignerDoc();
    // Nothing to carry without a current element.
    if (doc == nullptr || m_pCurrent == nullptr)
        return FALSE;
    const QPoint grab = start - trackerRect.TopLeft();
    const QPoint offset(ToLogical(grab.x(), m_zoomX, m_baseX), ToLogical(grab.y(), m_zoomY, m_baseY));
    std::unique_ptr<CServerItem> item = MakeServerItem();
    if (item == nullptr)
        return FALSE;
    std::unique_ptr<QMimeData> data;
    try
    {
        data = item->OnGetClipboardData(&offset);
    }
    catch (const CException& e)
    {
        AfxMessageBox(QString::fromUtf8(e.what()), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    m_dragFromThisPane = TRUE;
    Qt::DropAction result = Qt::IgnoreAction;
    const Qt::DropActions allowed = Qt::CopyAction | Qt::MoveAction;
    if (DragRunnerSlot())
    {
        result = DragRunnerSlot()(this, std::move(data), allowed);
    }
    else
    {
        auto* drag = new QDrag(this);
        drag->setMimeData(data.release());
        result = drag->exec(allowed, Qt::MoveAction);
    }
    // A drop into this same pane has moved the elements already.
    if (!m_dragFromThisPane)
        return FALSE;
    m_dragFromThisPane = FALSE;
    return result == Qt::MoveAction ? TRUE : FALSE;
}

void CDesignView::ReadDropExtent(const QMimeData* data)
{
    QSize size;
    QPoint offset;
    GetDropObjectDescriptor(data, &size, &offset);
    m_dragSize = size;
    m_dragOffset = QSize(offset.x(), offset.y());
}

QPoint CDesignView::SnapDropPoint(QPoint device, Qt::KeyboardModifiers keys) const
{
    QPoint p = ClientToDocPoint(device) - QPoint(m_dragOffset.width(), m_dragOffset.height());
    const bool keepOffGrid = AltSuppressesDropSnap() && keys.testFlag(Qt::AltModifier);
    if (!keepOffGrid)
        if (const CPage* page = GetPanePage())
            page->SnapPointToGrid(p);
    return p;
}

Qt::DropAction CDesignView::OnDragEnter(const QMimeData* data, Qt::KeyboardModifiers keys, QPoint device)
{
    ReadDropExtent(data);
    return OnDragOver(data, keys, device);
}

Qt::DropAction CDesignView::OnDragOver(const QMimeData* data, Qt::KeyboardModifiers keys, QPoint device)
{
    const CPage* page = GetPanePage();
    if (data == nullptr || page == nullptr || !data->hasFormat(GetClipboardFormat()))
        return Qt::IgnoreAction;
    const QPoint point = SnapDropPoint(device, keys);
    Rect item(point.x(), point.y(), point.x() + m_dragSize.width(), point.y() + m_dragSize.height());
    if (item.IsEmpty())
        item.Inflate(1, 1);
    Qt::DropAction effect = Qt::MoveAction;
    if (!item.Intersects(Rect(0, 0, page->GetPixelWidth(), page->GetPixelHeight())))
        effect = Qt::IgnoreAction;
    else if (keys.testFlag(Qt::ControlModifier) && keys.testFlag(Qt::ShiftModifier))
        effect = Qt::LinkAction;
    else if (keys.testFlag(Qt::ControlModifier))
        effect = Qt::CopyAction;
    if (point != m_dropPosition)
    {
        EraseDropFeedback();
        m_dropEffect = int(effect);
        m_dropPosition = point;
        if (m_dropEffect != 0)
        {
            Rect r = DocToClientRect(Rect(point.x(), point.y(), point.x() + m_dragSize.width(),
                                          point.y() + m_dragSize.height()));
            r.Inflate(1, 1);
            viewport()->update(r.ToQRect());
        }
    }
    return effect;
}

void CDesignView::EraseDropFeedback()
{
    if (m_dropEffect == 0)
        return;
    Rect r = DocToClientRect(Rect(m_dropPosition.x(), m_dropPosition.y(), m_dropPosition.x() + m_dragSize.width(),
                                  m_dropPosition.y() + m_dragSize.height()));
    r.Inflate(1, 1);
    m_dropEffect = 0;
    viewport()->update(r.ToQRect());
}

void CDesignView::OnDragLeave()
{
    EraseDropFeedback();
    m_dropEffect = 0;
    m_dropPosition = kNoDropPosition;
}

BOOL CDesignView::OnDrop(const QMimeData* data, Qt::DropAction effect, QPoint device)
{
    CDesignerDoc* doc = GetDesignerDoc();
    const CPage* page = GetPanePage();
    if (doc == nullptr || page == nullptr || data == nullptr || !data->hasFormat(GetClipboardFormat()))
        return FALSE;
    CDocChangeGuard guard(doc);
    const QPoint remembered = m_dropPosition;
    OnDragLeave();
    ReadDropExtent(data);
    const QPoint point = remembered != kNoDropPosition && AltSuppressesDropSnap()
                             ? remembered
                             : SnapDropPoint(device, QGuiApplication::keyboardModifiers());
    Rect item(point.x(), point.y(), point.x() + m_dragSize.width(), point.y() + m_dragSize.height());
    if (item.IsEmpty())
        item.Inflate(1, 1);
    if (!item.Intersects(Rect(0, 0, page->GetPixelWidth(), page->GetPixelHeight())))
        return FALSE;

    if (effect == Qt::MoveAction && m_dragFromThisPane)
    {
        m_dragFromThisPane = FALSE;
        if (m_pCurrent == nullptr)
            return FALSE;
        Rect r = GetElementRect(m_pCurrent);
        MoveSelection(DropMoveFlags(), point.x() - r.left, point.y() - r.top);
        return TRUE;
    }
    if (effect != Qt::CopyAction && effect != Qt::MoveAction)
        return FALSE;
    DeselectAll(DeselectCurrentBeforeDrop());
    CServerItem dropped(doc);
    if (dropped.LoadFromDataObject(data))
        PasteItem(dropped, point);
    return TRUE;
}

// ---------------------------------------------------------------- drawing

void CDesignView::DrawOverElements(QPainter& /*painter*/, const Rect& /*logicalClip*/, BOOL /*printing*/)
{
}

void CDesignView::DrawContents(QPainter& painter, const QRect& deviceClip, BOOL printing)
{
    if (deviceClip.isEmpty())
        return;
    const QTransform world = painter.worldTransform();
    CDesignerDoc* doc = GetDesignerDoc();
    const CPage* page = GetPanePage();
    painter.save();
    painter.resetTransform();
    painter.setClipRect(deviceClip);
    painter.fillRect(deviceClip, kWorkspaceColour);
    if (doc == nullptr || !doc->IsReady() || page == nullptr)
    {
        painter.restore();
        return;
    }
    if (m_pCurrent != nullptr && !doc->ContainsElement(m_pCurrent))
    {
        m_pCurrent = nullptr;
        DeleteTracker();
    }

    const QRect pageLogical(0, 0, page->GetPixelWidth(), page->GetPixelHeight());
    const QRect pageDevice = world.mapRect(pageLogical);
    painter.fillRect(pageDevice.intersected(deviceClip), kWindowColour);
    // Nothing is painted over the workspace beside the page.
    QRegion paintable = QRegion(deviceClip).intersected(pageDevice);

    const QRectF logicalClipF = world.inverted().mapRect(QRectF(deviceClip));
    Rect logicalClip = Rect::FromQRect(logicalClipF.toAlignedRect());
    logicalClip.Inflate(1, 1);

    for (CObject* object : doc->GetZOrderList())
    {
        CFormElement* e = AsElement(object);
        if (e == nullptr)
            continue;
        if (paintable.isEmpty())
            break;
        painter.setClipRegion(paintable);
        painter.setWorldTransform(world);
        painter.setBackground(kWindowColour);
        DrawElement(e, painter);
        painter.resetTransform();

        Rect logicalRect = GetElementRect(e);
        logicalRect.Normalize();
        QRect area = world.mapRect(logicalRect.ToQRect());
        if (!printing && e == m_pCurrent)
        {
            if (m_tracker == nullptr)
                m_tracker = std::make_unique<CElementTracker>();
            SetupTracker(*m_tracker, e);
            painter.setClipRegion(paintable);
            m_tracker->Draw(painter);
            area = area.united(m_tracker->GetTrueRect().ToQRect());
        }
        // Selected frames sit one pixel outside the box.
        if (e->IsSelected())
            area.adjust(-1, -1, 1, 1);
        paintable -= QRegion(area);
    }

    painter.setClipRect(deviceClip);
    painter.setWorldTransform(world);
    DrawOverElements(painter, logicalClip, printing);
    painter.resetTransform();

    if (!printing && m_dropEffect != 0)
    {
        const Rect r = DocToClientRect(Rect(m_dropPosition.x(), m_dropPosition.y(),
                                            m_dropPosition.x() + m_dragSize.width(),
                                            m_dropPosition.y() + m_dragSize.height()));
        painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(r.left, r.top, std::max(r.Width() - 1, 0), std::max(r.Height() - 1, 0)));
    }
    if (!printing && m_tracking != Tracking::None)
    {
        Rect r = m_activeTracker.m_rect;
        r.Normalize();
        painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(r.left, r.top, std::max(r.Width() - 1, 0), std::max(r.Height() - 1, 0)));
    }
    painter.restore();
}

void CDesignView::paintEvent(QPaintEvent* e)
{
    // One off-screen image per paint, copied once: no flicker, and the
    // elements' clip exclusions never show half-done.
    QImage buffer(viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    {
        QPainter p(&buffer);
        p.setWorldTransform(ViewTransform());
        DrawContents(p, e->rect(), FALSE);
    }
    QPainter out(viewport());
    out.drawImage(e->rect(), buffer, e->rect());
}

void CDesignView::resizeEvent(QResizeEvent* e)
{
    if (m_fitMode != ViewFitMode::None)
        FitZoom();
    QAbstractScrollArea::resizeEvent(e);
    UpdateScrollSizes();
}

void CDesignView::scrollContentsBy(int /*dx*/, int /*dy*/)
{
    viewport()->update();
}

void CDesignView::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        OnLButtonDown(e->position().toPoint(), e->modifiers());
    else
        QAbstractScrollArea::mousePressEvent(e);
}

void CDesignView::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        OnLButtonUp(e->position().toPoint(), e->modifiers());
    else
        QAbstractScrollArea::mouseReleaseEvent(e);
}

void CDesignView::mouseMoveEvent(QMouseEvent* e)
{
    OnMouseMove(e->position().toPoint(), e->modifiers());
}

void CDesignView::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        OnLButtonDblClk(e->position().toPoint());
    else
        QAbstractScrollArea::mouseDoubleClickEvent(e);
}

void CDesignView::keyPressEvent(QKeyEvent* e)
{
    switch (e->key())
    {
    case Qt::Key_Escape:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        OnKeyDown(e->key(), e->count());
        e->accept();
        return;
    default:
        QAbstractScrollArea::keyPressEvent(e);
    }
}

void CDesignView::contextMenuEvent(QContextMenuEvent* e)
{
    OnContextMenu(e->globalPos());
}

void CDesignView::focusInEvent(QFocusEvent* e)
{
    QAbstractScrollArea::focusInEvent(e);
    if (m_pFrame != nullptr)
        m_pFrame->OnPaneActivated(this);
}

void CDesignView::dragEnterEvent(QDragEnterEvent* e)
{
    const Qt::DropAction effect = OnDragEnter(e->mimeData(), e->modifiers(), e->position().toPoint());
    // The event is taken even when refused here, so later moves onto the
    // page are still asked.
    e->accept();
    e->setDropAction(effect);
}

void CDesignView::dragMoveEvent(QDragMoveEvent* e)
{
    const Qt::DropAction effect = OnDragOver(e->mimeData(), e->modifiers(), e->position().toPoint());
    if (effect == Qt::IgnoreAction)
    {
        e->ignore();
        return;
    }
    e->setDropAction(effect);
    e->accept();
}

void CDesignView::dragLeaveEvent(QDragLeaveEvent* e)
{
    OnDragLeave();
    e->accept();
}

void CDesignView::dropEvent(QDropEvent* e)
{
    const Qt::DropAction effect = e->dropAction();
    if (OnDrop(e->mimeData(), effect, e->position().toPoint()))
    {
        e->setDropAction(effect);
        e->accept();
    }
    else
    {
        e->ignore();
    }
}

bool CDesignView::event(QEvent* e)
{
    if (e->type() == RegisteredMessages::SerializeLayout())
    {
        const auto* message = static_cast<CRegisteredMessageEvent*>(e);
        OnSerializeLayout(int(message->WParam()), message->LParam());
        return true;
    }
    // The tool is read from the frame when the button goes down.
    if (e->type() == RegisteredMessages::SetTool())
        return true;
    return QAbstractScrollArea::event(e);
}
