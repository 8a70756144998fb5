#pragma once
// The base of the two design panes: a scrolling view of one page of the
// document with its elements drawn in z-order, zoomed by whole percents.
// It owns what both panes share: the zoom and fit commands, double-buffered
// drawing, the reaction to update hints, the selection model (a current
// element per pane over the elements' own selected flags), the tools, the
// tracker, moving and resizing by mouse (the gestures of DesignGestures.h)
// and keys, the clipboard, drag and drop between panes of one kind, and the
// layout values.
//
// The panes differ in which rectangle of an element they show (source or
// destination), which page they draw, their tools and a few rules; each
// difference is a virtual below.
//
// Units: logical units are page pixels at 100 %; device units are pixels of
// the viewport. device = logical * zoom / 100 - scroll position.

#include "designer/commands/CmdTarget.h"
#include "designer/views/DesignGestures.h"
#include "designer/views/ElementTracker.h"
#include "platform/framework/Rect.h"
#include "platform/framework/Types.h"
#include "platform/framework/View.h"

#include <QAbstractScrollArea>
#include <QCursor>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QTransform>

#include <climits>
#include <functional>
#include <memory>
#include <vector>

class CDesignerDoc;
class CFormElement;
class CPage;
class CServerItem;
class IDesignFrame;
class QMenu;
class QMimeData;
class QPainter;

// The fit modes of a pane (0 none).
struct ViewFitMode
{
    enum : int {
        None = 0,
        Width = 1,
        Height = 2,
        Page = 4
    };
};

// The zoom steps of the commands 32868 to 32877.
inline constexpr int ZoomStepTable[10] = {25, 50, 75, 100, 125, 150, 175, 200, 250, 300};
inline constexpr int kMinZoom = 25;
inline constexpr int kMaxStepZoom = 300;

// What a tool does on a button press in a pane.
struct ToolAction
{
    enum Kind : int {
        SelectElements = 0, // as the Select tool
        Band = 1,           // a band of at least one cell creates elementType
        Click = 2,          // a one-cell element at the click, then its sheet
    };
    Kind kind = SelectElements;
    int elementType = 0;
};

class CDesignView : public QAbstractScrollArea, public CView, public CCmdTarget
{
    Q_OBJECT

public:
    explicit CDesignView(QWidget* parent = nullptr);
    ~CDesignView() override;

    // ---- document and frame
    // Leaves the old document's views and joins the new one's (null: none).
    void SetDocument(CDesignerDoc* doc);
    CDesignerDoc* GetDesignerDoc() const;
    // The frame is not owned and may be null (no tools, no explorer, no
    // property sheet).
    void SetDesignFrame(IDesignFrame* frame) { m_pFrame = frame; }
    IDesignFrame* GetDesignFrame() const { return m_pFrame; }

    // ---- the framework's view operations
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
    // Zoom and fit mode from the document, a fit, then a full update.
    virtual void OnInitialUpdate();

    // ---- zoom
    // FALSE when nothing changed. Runs in a change transaction and keeps the
    // zoom in the document's fields of this pane.
    BOOL SetZoom(int zoomX, int zoomY, int baseX = 100, int baseY = 100);
    void FitZoom();
    void UpdateScrollSizes();
    int GetZoomX() const { return m_zoomX; }
    int GetZoomY() const { return m_zoomY; }
    int GetFitMode() const { return m_fitMode; }
    void SetFitMode(int mode) { m_fitMode = mode; }
    QSize GetTotalSize() const { return m_totalSize; }
    QSize GetLineStep() const { return m_lineStep; }
    QPoint GetScrollPosition() const;
    void ScrollToPosition(QPoint device);

    void OnZoomStep(UINT id);
    void OnZoomIn();
    void OnZoomOut();
    void OnFitWidth();
    void OnFitHeight();
    void OnFitPage();

    // ---- layout ("WM_SERIALIZE_LAYOUT": 1 save, anything else load)
    // Returns 1, or 0 when the registry subsection cannot be made or opened.
    int OnSerializeLayout(int wParam, LPARAM lParam);

    // ---- coordinates
    kwvd::Rect DocToClientRect(const kwvd::Rect& logical) const;
    kwvd::Rect ClientToDocRect(const kwvd::Rect& device) const;
    QPoint ClientToDocPoint(QPoint device) const;
    QPoint DocToClientPoint(QPoint logical) const;
    QSize DocToClientSize(QSize logical) const;
    QSize ClientToDocSize(QSize device) const;

    // ---- selection
    CFormElement* GetCurrentElement() const { return m_pCurrent; }
    BOOL IsCurrentElement(const CFormElement* element) const { return element != nullptr && element == m_pCurrent; }
    CElementTracker* GetTracker() const { return m_tracker.get(); }
    void SetCurrentElement(CFormElement* element, BOOL notify);
    void SelectOnly(CFormElement* element);
    void DeselectAll(BOOL alsoCurrent);
    void DeselectElement(CFormElement* element);
    void InvalidateElement(CFormElement* element);
    // The selected elements in document order.
    std::vector<CFormElement*> GetSelectedElements() const;
    CFormElement* HitTestElement(QPoint device) const;
    // Selects every element meeting the logical rectangle; the last one.
    CFormElement* SelectInRect(kwvd::Rect logical);

    // ---- tracker
    void SetupTracker(CElementTracker& tracker, CFormElement* element, kwvd::Rect* trueRect = nullptr) const;

    // ---- editing
    CFormElement* CreateElementAt(int type, const kwvd::Rect* logical);
    BOOL MoveSelection(int flags, int dx, int dy);
    void ResizeSelection(int handle, int dw, int dh);
    void DeleteSelection();
    BOOL ScrollSelectionIntoView(QPoint deviceStep);
    // Scrolls by the device amount when doScroll; TRUE when it could scroll.
    BOOL OnScrollBy(QPoint device, BOOL doScroll = TRUE);
    QSize GetCellSize() const;

    // ---- commands
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnSelectAll();
    void PasteItem(CServerItem& item, QPoint logical);
    // A clipboard item of this pane's selection (null without a current
    // element). The caller owns it.
    std::unique_ptr<CServerItem> MakeServerItem() const;

    // ---- mouse and keys (the Qt events call these; tests may too)
    void OnLButtonDown(QPoint device, Qt::KeyboardModifiers keys);
    void OnLButtonUp(QPoint device, Qt::KeyboardModifiers keys);
    void OnMouseMove(QPoint device, Qt::KeyboardModifiers keys);
    void OnLButtonDblClk(QPoint device);
    void OnKeyDown(int key, int repeat);
    // Builds and shows the pane's context menu at the global point.
    void OnContextMenu(QPoint global);
    // Menu 32827 of the resource source, each item enabled by this pane.
    QMenu* BuildContextMenu();
    void AddContextMenuItem(QMenu* menu, UINT id, const QString& text);
    // The cursor the pane shows at the device point.
    QCursor CursorAt(QPoint device) const;

    // ---- drag and drop
    // The drag itself goes through a seam: by default QDrag; tests install
    // a runner that delivers the data to a pane and returns the effect.
    // The runner owns the data.
    using DragRunner =
        std::function<Qt::DropAction(CDesignView* source, std::unique_ptr<QMimeData> data, Qt::DropActions allowed)>;
    static void SetDragRunner(DragRunner runner);
    BOOL StartElementDrag(QPoint start, const kwvd::Rect& trackerRect);
    BOOL IsDragFromThisPane() const { return m_dragFromThisPane; }
    Qt::DropAction OnDragEnter(const QMimeData* data, Qt::KeyboardModifiers keys, QPoint device);
    Qt::DropAction OnDragOver(const QMimeData* data, Qt::KeyboardModifiers keys, QPoint device);
    void OnDragLeave();
    BOOL OnDrop(const QMimeData* data, Qt::DropAction effect, QPoint device);
    void ReadDropExtent(const QMimeData* data);

    // ---- drawing
    // Draws the page, the elements front to back (each one's tracker area
    // left out for those behind it) and what lies over them. The painter
    // maps logical units to its device; deviceClip is the area to paint,
    // in the painter's device pixels.
    void DrawContents(QPainter& painter, const QRect& deviceClip, BOOL printing);
    // The world transform of the viewport: zoom and scroll.
    QTransform ViewTransform() const;

    // ---- the pane's own side
    // PaneSide::Input or PaneSide::Output (the creation side of new elements).
    virtual int GetSide() const = 0;
    virtual CPage* GetPanePage() const = 0;
    virtual kwvd::Rect GetElementRect(const CFormElement* element) const = 0;
    virtual CFormElement* HitTestElementAt(CFormElement* element, QPoint logical) const = 0;
    virtual void DrawElement(CFormElement* element, QPainter& painter) = 0;
    virtual void MoveElementBy(CFormElement* element, int dx, int dy, int flags) = 0;
    virtual void ResizeElementBy(CFormElement* element, int dw, int dh, int flags) = 0;
    virtual int ResizeFlagsForHandle(int handle) const = 0;
    // Moving a selection within the pane by drag and drop.
    virtual int DropMoveFlags() const = 0;
    virtual QString GetClipboardFormat() const = 0;
    virtual void ReadZoomFromDocument(int& zoomX, int& zoomY, int& fit) const = 0;
    virtual void StoreZoomInDocument(int zoomX, int zoomY, int fit) = 0;
    virtual QString GetLayoutSubsection() const = 0;
    virtual ToolAction GetToolAction(int tool) const = 0;
    // The cursor resource of the tool, 0 for the default.
    virtual int GetToolCursorId(int tool) const = 0;
    // DocumentHint::DestRectChanged for the output pane, SourceRectChanged
    // for the input pane.
    virtual int GetRectChangedHint() const = 0;
    virtual BOOL RefitsOnHint(int hint) const = 0;

protected:
    // Over the elements: the no-print band or the spooled-file text.
    virtual void DrawOverElements(QPainter& painter, const kwvd::Rect& logicalClip, BOOL printing);
    // After SetZoom stored a new zoom (the output pane revalidates).
    virtual void OnZoomStored() {}
    // Alt keeps a drop off the grid (the output pane).
    virtual BOOL AltSuppressesDropSnap() const { return FALSE; }
    // A copy dropped from elsewhere first deselects the current element too.
    virtual BOOL DeselectCurrentBeforeDrop() const { return TRUE; }
    // Nothing moved and the pane cannot scroll further: the input pane turns
    // the spooled-file page.
    virtual void OnScrollLimit(int key) { Q_UNUSED(key); }
    // Double-click on empty space (the output pane opens Page Setup).
    virtual void OnEmptyDoubleClick() {}

    // Qt events.
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dragLeaveEvent(QDragLeaveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    // "WM_SERIALIZE_LAYOUT" and "WM_SET_TOOL".
    bool event(QEvent* e) override;

    void InvalidateAll();
    // Deletes the pane's tracker (the current element went).
    void DeleteTracker();
    // The selection notice of SetCurrentElement and SelectOnly.
    void NotifySelection(CFormElement* element);

private:
    // A press on an element's handle hands over to a resize.
    friend class CElementDragGesture;

    static CFormElement* AsElement(CObject* object);
    void FullUpdate();
    // DesignViewCommands.cpp.
    void RegisterCommands();

    IDesignFrame* m_pFrame = nullptr;

    int m_zoomX = 100;
    int m_zoomY = 100;
    int m_baseX = 100;
    int m_baseY = 100;
    int m_fitMode = ViewFitMode::None;
    QSize m_totalSize{100, 100};
    QSize m_lineStep{1, 1};
    QSize m_pageStep{10, 10};

    // ---- selection (DesignViewSelection.cpp)
    // The element becomes current and selected (null: none, no tracker).
    void MakeCurrent(CFormElement* element);
    void NotifyPropertySheetRefresh();

    CFormElement* m_pCurrent = nullptr;
    std::unique_ptr<CElementTracker> m_tracker;

    // ---- the mouse
    // The press goes to the gesture, which becomes the active one.
    void BeginGesture(std::unique_ptr<CDesignGesture> gesture, QPoint device, Qt::KeyboardModifiers keys);
    void HandOverGesture(std::unique_ptr<CDesignGesture> gesture);

    // What the left button is doing now; null between gestures.
    std::unique_ptr<CDesignGesture> m_gesture;

    // ---- drag and drop (DesignViewDragDrop.cpp)
    void EraseDropFeedback();
    QPoint SnapDropPoint(QPoint device, Qt::KeyboardModifiers keys) const;
    // The dragged extent with its top-left corner at the logical point.
    kwvd::Rect DropRectAt(QPoint logical) const;
    bool DropLandsOnPage(QPoint logical, const CPage& page) const;
    // The dotted drop frame in device pixels, and repainting it.
    kwvd::Rect DropFeedbackRect() const;
    void UpdateDropFeedback();

    static constexpr QPoint kNoDropPosition{INT_MIN, INT_MIN};
    QPoint m_dropPosition = kNoDropPosition;
    QSize m_dragSize;
    QSize m_dragOffset;
    int m_dropEffect = 0;
    BOOL m_dragFromThisPane = FALSE;
};
