#pragma once
// What the document, the element kinds and the tree state need of the
// explorer's tree. The explorer pane implements it over its Qt tree; tests
// implement it over a few plain nodes. An item is a handle the tree hands
// out; null means none.

#include "platform/framework/Types.h"

#include <QString>

#include <vector>

class CFormElement;

struct ExplorerTreeItemTag;
using TreeItem = ExplorerTreeItemTag*;

class IExplorerTree
{
public:
    virtual ~IExplorerTree();

    virtual void DeleteAllItems() = 0;
    // Appends an item as the last child of parent (null: a top-level item).
    // Null when it cannot be made.
    virtual TreeItem InsertItem(TreeItem parent, const QString& text, CFormElement* element) = 0;
    virtual void DeleteItem(TreeItem item) = 0;
    virtual void SetItemText(TreeItem item, const QString& text) = 0;
    // Puts the children of parent (null: the top level) into this order; the
    // list holds every one of them exactly once.
    virtual void ReorderChildren(TreeItem parent, const std::vector<TreeItem>& order) = 0;

    virtual TreeItem GetRootItem() const = 0;
    virtual TreeItem GetChildItem(TreeItem item) const = 0;
    virtual TreeItem GetNextSiblingItem(TreeItem item) const = 0;
    virtual TreeItem GetPrevSiblingItem(TreeItem item) const = 0;
    virtual TreeItem GetParentItem(TreeItem item) const = 0;
    // The item at the top of the window, and the next one down that is not
    // hidden in a collapsed branch.
    virtual TreeItem GetFirstVisibleItem() const = 0;
    virtual TreeItem GetNextVisibleItem(TreeItem item) const = 0;
    virtual TreeItem GetCaretItem() const = 0;
    virtual CFormElement* GetItemElement(TreeItem item) const = 0;
    virtual BOOL IsExpanded(TreeItem item) const = 0;

    virtual void SelectCaret(TreeItem item) = 0;
    virtual void Expand(TreeItem item, BOOL expand) = 0;
    // Expands every ancestor and scrolls the item into the window.
    virtual void EnsureVisible(TreeItem item) = 0;
    virtual void SetFirstVisible(TreeItem item) = 0;
    virtual void SetRedraw(BOOL redraw) = 0;
};
