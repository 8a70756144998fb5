#include "designer/views/DesignView.h"

#include "designer/commands/CommandIds.h"
#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/RegisteredMessages.h"
#include "designer/elements/FormElement.h"
#include "designer/views/DesignFrame.h"
#include "designer/views/ToolCursors.h"
#include "platform/framework/MathHelpers.h"
#include "platform/registry/RegistryStore.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <climits>
#include <optional>

// The pane's construction, its document and frame, zoom, scrolling and
// layout, and the dispatch of its mouse and key events. Drawing, selection
// and clipboard, drag and drop, the command table and the mouse gestures
// each have a file of their own.

using kwvd::Rect;

IDesignFrame::~IDesignFrame() = default;

void IDesignFrame::ShowFindReplace(CDesignerDoc*) {}

namespace {

// Stored zoom values beyond this are not believed.
constexpr int kMaxStoredZoom = 1000;

} // namespace

CDesignView::CDesignView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAcceptDrops(true);
    setAcceptDrops(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
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

CFormElement* CDesignView::AsElement(CObject* object)
{
    return dynamic_cast<CFormElement*>(object);
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
    if (m_pCurrent != nullptr && (doc == nullptr || !doc->ContainsElement(m_pCurrent))) {
        m_pCurrent = nullptr;
        DeleteTracker();
    }
    CFormElement* element = AsElement(hintObject);
    switch (hint) {
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
        if (m_pCurrent != nullptr) {
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
    if (doc != nullptr) {
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
    switch (m_fitMode) {
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
    if (page != nullptr) {
        m_totalSize = DocToClientSize(QSize(page->GetPixelWidth(), page->GetPixelHeight()));
        m_lineStep = DocToClientSize(QSize(page->GetCellWidth(), page->GetCellHeight()));
    } else {
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
    if (save) {
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
    if (x && y && fit && (qint64(*x) + *y + *fit) != 0) {
        if (*fit != 0) {
            m_fitMode = *fit;
            FitZoom();
        } else {
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

// ---------------------------------------------------------------- scrolling

BOOL CDesignView::OnScrollBy(QPoint device, BOOL doScroll)
{
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    const int x = std::clamp(h->value() + device.x(), h->minimum(), h->maximum());
    const int y = std::clamp(v->value() + device.y(), v->minimum(), v->maximum());
    if (x == h->value() && y == v->value())
        return FALSE;
    if (doScroll) {
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
    for (CFormElement* e : GetSelectedElements()) {
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

// ---------------------------------------------------------------- mouse and keys

QCursor CDesignView::CursorAt(QPoint device) const
{
    const int tool = m_pFrame != nullptr ? m_pFrame->GetCurrentTool() : DrawingTool::Select;
    if (tool == DrawingTool::Select) {
        if (m_pCurrent != nullptr) {
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
    if (m_gesture != nullptr && m_gesture->HoldsMouse())
        return;
    const int tool = m_pFrame != nullptr ? m_pFrame->GetCurrentTool() : DrawingTool::Select;
    const ToolAction action = GetToolAction(tool);
    if (action.kind == ToolAction::Band) {
        BeginGesture(std::make_unique<CToolBandGesture>(*this, action.elementType), device, keys);
        return;
    }
    if (action.kind == ToolAction::Click) {
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
    if (CFormElement* hit = HitTestElement(device))
        BeginGesture(std::make_unique<CElementDragGesture>(*this, hit), device, keys);
    else
        BeginGesture(std::make_unique<CSelectBandGesture>(*this), device, keys);
}

void CDesignView::BeginGesture(std::unique_ptr<CDesignGesture> gesture, QPoint device, Qt::KeyboardModifiers keys)
{
    // The press runs before the gesture is the pane's, as a press that
    // changes the selection must see the pane idle.
    gesture->Press(device, keys);
    m_gesture = std::move(gesture);
}

void CDesignView::HandOverGesture(std::unique_ptr<CDesignGesture> gesture)
{
    m_gesture = std::move(gesture);
}

void CDesignView::OnMouseMove(QPoint device, Qt::KeyboardModifiers /*keys*/)
{
    if (m_gesture == nullptr || !m_gesture->HoldsMouse())
        viewport()->setCursor(CursorAt(device));
    if (m_gesture == nullptr)
        return;
    // Held here while it runs: a drag runs a loop of its own, and a gesture
    // may hand over to another one.
    std::unique_ptr<CDesignGesture> gesture = std::move(m_gesture);
    if (gesture->Move(device) && m_gesture == nullptr)
        m_gesture = std::move(gesture);
}

void CDesignView::OnLButtonUp(QPoint device, Qt::KeyboardModifiers keys)
{
    if (std::unique_ptr<CDesignGesture> gesture = std::move(m_gesture))
        gesture->Release(device, keys);
}

void CDesignView::OnLButtonDblClk(QPoint device)
{
    if (CFormElement* hit = HitTestElement(device)) {
        SelectOnly(hit);
        if (m_pFrame != nullptr)
            m_pFrame->ShowPropertySheet();
        return;
    }
    OnEmptyDoubleClick();
}

void CDesignView::OnKeyDown(int key, int repeat)
{
    if (key == Qt::Key_Escape) {
        if (std::unique_ptr<CDesignGesture> gesture = std::move(m_gesture))
            gesture->Cancel();
        return;
    }
    const QSize cell = GetCellSize();
    const int n = std::max(repeat, 1);
    int dx = 0;
    int dy = 0;
    switch (key) {
    case Qt::Key_PageUp:
        dy = -10 * n * cell.height();
        break;
    case Qt::Key_PageDown:
        dy = 10 * n * cell.height();
        break;
    case Qt::Key_Left:
        dx = -n * cell.width();
        break;
    case Qt::Key_Right:
        dx = n * cell.width();
        break;
    case Qt::Key_Up:
        dy = -n * cell.height();
        break;
    case Qt::Key_Down:
        dy = n * cell.height();
        break;
    default:
        return;
    }
    const QSize magnitude = DocToClientSize(QSize(dx, dy));
    const QPoint deviceStep(dx < 0 ? -magnitude.width() : magnitude.width(),
                            dy < 0 ? -magnitude.height() : magnitude.height());
    if (MoveSelection(ElementMoveFlags::Left | ElementMoveFlags::Top, dx, dy))
        ScrollSelectionIntoView(deviceStep);
    else if (!OnScrollBy(deviceStep, TRUE))
        OnScrollLimit(key);
}

// ---------------------------------------------------------------- Qt events

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
    switch (e->key()) {
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

bool CDesignView::event(QEvent* e)
{
    if (e->type() == RegisteredMessages::SerializeLayout()) {
        const auto* message = static_cast<CRegisteredMessageEvent*>(e);
        OnSerializeLayout(int(message->WParam()), message->LParam());
        return true;
    }
    // The tool is read from the frame when the button goes down.
    if (e->type() == RegisteredMessages::SetTool())
        return true;
    return QAbstractScrollArea::event(e);
}
