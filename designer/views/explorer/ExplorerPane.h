#pragma once
// The explorer pane: the document as a tree in the frame's "Explorer" dock,
// a root item with the document's title and below it every element in
// document order, containers with their children. The item selected here
// selects its element for the property sheet and is the anchor under which
// the panes create new elements; labels rename elements; the pane's own
// commands reorder, move, copy, paste and delete elements and expand or
// collapse branches.
//
// The pane follows the document hint by hint (OnDocumentHint, from the
// frame); it rebuilds the tree only for a new document, after an undo or
// redo, and for hints that change everything. It keeps pointers to the
// document and to its selected element, neither owned; the selected element
// is forgotten as soon as the document removes it or restores a snapshot.

#include "designer/commands/CmdTarget.h"
#include "designer/views/FrameInterfaces.h"
#include "designer/views/explorer/ExplorerDrag.h"
#include "designer/views/explorer/ExplorerTreeCtrl.h"

#include <QWidget>

#include <memory>

class CDesignerDoc;
class IDesignFrame;
class QMenu;
class QToolBar;

class CExplorerPane : public QWidget, public CCmdTarget, public IExplorerPane
{
    Q_OBJECT

public:
    // The frame gives the property sheet and runs the commands the pane
    // leaves to it; frameWindow receives "WM_ACTIVATE_PROPERTIES_SHEET".
    // Either may be null.
    CExplorerPane(IDesignFrame* frame, QWidget* frameWindow, QWidget* parent = nullptr);
    ~CExplorerPane() override;

    // ---- IExplorerPane
    QWidget* GetWidget() override { return this; }
    void SetDocument(CDesignerDoc* doc) override;
    void OnDocumentHint(CObject* object, LPARAM hint) override;
    void OnChangeVisualStyle() override;
    CCmdTarget* GetCmdTarget() override { return this; }
    CFormElement* GetSelectedElement() const override;

    CDesignerDoc* GetDocument() const { return m_pDocument; }
    CExplorerTreeCtrl* GetTree() const { return m_tree; }
    QToolBar* GetToolBar() const { return m_toolBar; }
    BOOL IsSelecting() const { return m_selecting != 0; }

    // The element's item, searched depth first from the root, collapsed
    // branches included; null when none.
    TreeItem FindItem(CFormElement* element) const;
    // Puts the item's children (null: the root's) in document order.
    void SortChildren(TreeItem item);

    // ---- commands (also reached through the command route)
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void DeleteSelectedElement();
    void OnMoveUp();
    void OnMoveDown();
    void OnExpandBranch();
    void OnExpandAll();
    void OnCollapseBranch();
    void OnCollapseAll();
    // Menu 32856 at the global point, the item under it selected first
    // unless the menu was asked for from the keyboard. The menu is returned
    // shown (it deletes itself when closed).
    QMenu* ShowContextMenu(QPoint global, bool fromKeyboard);
    // The toolbar's buttons take their states from the pane.
    void UpdateToolBar();
    // ---- dragging items (ExplorerDragPane.cpp): from a left press moved by
    // the start distance on any item but the root to the next button-up,
    // under the pane's mouse grab with the 75 ms drag timer running.
    void OnBeginDrag(TreeItem item, QPoint pointer);
    // "KWVD_TVN_KEY_EVENT": Ctrl down and up during a drag show and hide the
    // copy sign. Returns 1.
    std::intptr_t OnTreeKeyEvent(std::uintptr_t down, std::intptr_t record);
    void OnMouseMove(QPoint pointer, UINT keyFlags);
    // One tick of the drag timer with the pointer at that screen point.
    void OnTimer(QPoint pointer);
    void OnLButtonUp(UINT keyFlags);
    BOOL CanDropOn(TreeItem target, UINT keyFlags) const;
    // The drop offered at the point (tree client coordinates) over the item.
    void UpdateDropTarget(TreeItem item, QPoint point, UINT keyFlags);
    int GetScrollZone(int screenY) const;
    BOOL IsDragging() const { return m_drag.dragging != 0; }
    short GetDropPosition() const { return m_drag.position; }
    TreeItem GetHoveredItem() const;
    CExplorerDragImage* GetDragImage() const { return m_drag.image.get(); }
    int GetScrollTick() const { return m_drag.tick; }

    // The dock's first size.
    QSize sizeHint() const override { return QSize(200, 200); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The drag's share of the tree viewport's mouse events; true when taken.
    bool FilterDragEvent(QEvent* event);
    void EndDrag(UINT keyFlags);
    CFormElement* CopyElementTo(CFormElement* dragged, CFormElement* hovered, short position);
    TreeItem DragItem() const;

    void RegisterCommands();
    void RunCommand(UINT id);
    void AdjustLayout();
    void SuspendRedraw();
    void ResumeRedraw();
    void Rebuild();

    void RefreshItem(CFormElement* element);
    void InsertElementItem(CFormElement* element);
    void DeleteElementItem(CFormElement* element);
    void SelectElementItem(CFormElement* element);

    void OnSelChanged(TreeItem item);
    void OnTreeFocused();
    BOOL OnEndLabelEdit(TreeItem item, const QString& text);
    void NotifySelection(CFormElement* element);
    void PostActivatePropertiesSheet();
    void MoveCaret(short mode);
    void ExpandBranch(TreeItem item, BOOL expand);
    void Beep();

    CDesignerDoc* m_pDocument = nullptr;
    IDesignFrame* m_pFrame = nullptr;
    QWidget* m_frameWindow = nullptr;
    CExplorerTreeCtrl* m_tree = nullptr;
    QToolBar* m_toolBar = nullptr;
    CFormElement* m_pSelected = nullptr;
    int m_selecting = 0;
    int m_iconBase = 0;
    ExplorerDragState m_drag;
};
