#pragma once
// The look of the explorer's tree carried across an undo or redo, which
// rebuilds the tree from new elements: the items shown from the top of the
// window down, the caret and the item at the top. The document's restore
// makes one, sends it with RestoreBegins (the explorer saves into it) and
// RestoreEnds (the explorer applies it to the new tree), then drops it.
//
// Items are recorded by their path from the root, their position among their
// siblings at each level. A restore keeps the order of siblings, so a path
// names the same item in the new tree, while positions in the element list
// would not: a restored list is in loading order. Items without an element,
// the root among them, are recorded as none.

#include "designer/document/ExplorerTree.h"
#include "platform/framework/Object.h"

#include <vector>

class CDesignerDoc;

class CTreeState : public CObject
{
public:
    // Positions among siblings from the top level down; empty means none.
    using ItemPath = std::vector<int>;

    explicit CTreeState(CDesignerDoc* doc);

    // Records the caret and every visible item from the first visible one.
    void Save(const IExplorerTree& tree);
    // Shows each recorded item (expanding its ancestors), sets the caret and
    // puts the first recorded item at the top (the root for none), with the
    // tree's redrawing off meanwhile. Paths the tree no longer holds are
    // skipped; an empty record leaves the top where it is.
    void Restore(IExplorerTree& tree) const;

    const std::vector<ItemPath>& GetItems() const { return m_items; }
    const ItemPath& GetSelected() const { return m_selected; }

    // The item at the path, or null when the path runs past the tree.
    static TreeItem ItemAt(const IExplorerTree& tree, const ItemPath& path);

private:
    std::vector<ItemPath> m_items;
    ItemPath m_selected;
    CDesignerDoc* m_pDoc;
};
