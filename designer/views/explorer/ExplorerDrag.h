#pragma once
// Dragging items inside the explorer's tree: the rules of where a drop lands
// and how the tree scrolls beyond its edges (no window needed), the small
// image that follows the pointer, and the pane's drag state.
//
// A drop position is a mode of CDesignerDoc::MoveElement: 0 none, 1 into
// the target, 2 before the hovered element, 3 after it. Key flags are the
// mouse message's: MK_CONTROL while Ctrl is down. Coordinates are pixels;
// rows and points of the rules are in the tree's client coordinates, the
// tree's bounds and the zones in screen coordinates.

#include "designer/document/ExplorerTree.h"

#include <QPersistentModelIndex>
#include <QPixmap>
#include <QPoint>
#include <QWidget>

#include <memory>

class QTimer;

inline constexpr UINT MK_CONTROL = 0x0008;
inline constexpr WORD VK_CONTROL = 0x11;

// What a hovered point offers: the item highlighted, the item the drop is
// placed by (none when forgotten) and the position.
struct DropTarget
{
    TreeItem target = nullptr;
    TreeItem hovered = nullptr;
    short position = 0;
};

// Whether the dragged item may go into (or, for the root, beside) the
// target. The root is never dragged; without Ctrl nothing goes into itself
// or its own subtree.
BOOL CanDropOn(const IExplorerTree& tree, TreeItem dragItem, TreeItem target, UINT keyFlags);

// The drop offered at y over the item whose full row starts at rowTop and
// is rowHeight high: the middle half of a container that takes the dragged
// element is "into", the upper quarter "before" and the rest "after" in the
// item's parent when the parent takes it; the root gives "after" at the
// top level.
DropTarget UpdateDropTarget(const IExplorerTree& tree, TreeItem dragItem, TreeItem item, int rowTop, int rowHeight,
                            int y, UINT keyFlags);

// Where a screen y lies against the tree's client top and bottom, with
// barHeight of slack: 0 just above, 1 just below, 2 far above, 3 far below;
// kInsideTree between top and bottom.
inline constexpr int kInsideTree = -1;
int GetScrollZone(int y, int top, int bottom, int barHeight);

// The lines one tick of the drag timer scrolls (negative up) in a zone: one
// every tick in the far zones, one on tick 0 of 0, 1, 2 in the near ones.
int ScrollLinesOnTick(int zone, int tick);

// The key code the tree forwards for a Qt key; 0 for keys nobody asks for.
WORD VirtualKeyOf(int qtKey);

// The image that follows the pointer: the item's picture and label, with a
// copy sign by the pointer while Ctrl is held. It floats over every window,
// takes no input and never takes the focus.
class CExplorerDragImage : public QWidget
{
public:
    // Its top edge stands this far above the pointer.
    static constexpr int kPointerOffset = 16;

    CExplorerDragImage(const QPixmap& itemImage);

    // Shows the image for the pointer at that screen point.
    void MoveTo(QPoint pointer);
    void SetCopySign(bool copy);
    bool ShowsCopySign() const { return m_copy; }
    // Where the copy sign is drawn, in the image's own coordinates.
    QRect CopySignRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_item;
    QPixmap m_copySign;
    bool m_copy = false;
};

// The picture of the copy sign (a plus in a box), 16 by 16.
QPixmap DragCopySign();

// The drag as the pane holds it from the start of a drag to the next
// button-up. Items are kept as persistent indexes so that a tree rebuilt
// meanwhile leaves them empty rather than dangling.
struct ExplorerDragState
{
    int dragging = 0;
    QPersistentModelIndex dragItem;
    QPersistentModelIndex hoveredItem;
    short position = 0;
    std::unique_ptr<CExplorerDragImage> image;
    QTimer* timer = nullptr; // the pane's
    int treeTop = 0;
    int treeBottom = 0;
    int tick = 0;
    int scrollBarHeight = 0;
    QPoint pointer; // the last screen point the pointer was seen at
    // A left press on an item that may yet become a drag.
    QPersistentModelIndex pressItem;
    QPoint pressPoint;
};
