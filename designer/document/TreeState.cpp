#include "designer/document/TreeState.h"

#include <QHash>

#include <algorithm>

namespace {

// Paths of items, each parent's children counted once however many of them
// are asked for.
class PathFinder
{
public:
    explicit PathFinder(const IExplorerTree& tree) : m_tree(tree) {}

    CTreeState::ItemPath PathOf(TreeItem item)
    {
        CTreeState::ItemPath path;
        for (; item != nullptr; item = m_tree.GetParentItem(item))
            path.push_back(PositionOf(item));
        std::reverse(path.begin(), path.end());
        return path;
    }

private:
    int PositionOf(TreeItem item)
    {
        if (const auto it = m_positions.constFind(item); it != m_positions.constEnd())
            return *it;
        TreeItem parent = m_tree.GetParentItem(item);
        int position = 0;
        for (TreeItem sibling = parent != nullptr ? m_tree.GetChildItem(parent) : m_tree.GetRootItem();
             sibling != nullptr; sibling = m_tree.GetNextSiblingItem(sibling))
            m_positions.insert(sibling, position++);
        return m_positions.value(item, 0);
    }

    const IExplorerTree& m_tree;
    QHash<TreeItem, int> m_positions;
};

} // namespace

CTreeState::CTreeState(CDesignerDoc* doc) : m_pDoc(doc) {}

void CTreeState::Save(const IExplorerTree& tree)
{
    PathFinder paths(tree);
    // Without a document no element is recorded, so every item is none.
    auto record = [&](TreeItem item) {
        return m_pDoc != nullptr && tree.GetItemElement(item) != nullptr ? paths.PathOf(item) : ItemPath();
    };

    m_selected.clear();
    if (TreeItem caret = tree.GetCaretItem())
        m_selected = record(caret);
    m_items.clear();
    for (TreeItem item = tree.GetFirstVisibleItem(); item != nullptr; item = tree.GetNextVisibleItem(item))
        m_items.push_back(record(item));
}

void CTreeState::Restore(IExplorerTree& tree) const
{
    tree.SetRedraw(FALSE);
    for (const ItemPath& path : m_items)
        if (TreeItem item = path.empty() ? nullptr : ItemAt(tree, path))
            tree.EnsureVisible(item);
    if (TreeItem caret = m_selected.empty() ? nullptr : ItemAt(tree, m_selected))
        tree.SelectCaret(caret);
    if (!m_items.empty()) {
        TreeItem top = m_items.front().empty() ? nullptr : ItemAt(tree, m_items.front());
        if (top == nullptr)
            top = tree.GetRootItem();
        if (top != nullptr)
            tree.SetFirstVisible(top);
    }
    tree.SetRedraw(TRUE);
}

TreeItem CTreeState::ItemAt(const IExplorerTree& tree, const ItemPath& path)
{
    TreeItem item = nullptr;
    for (size_t level = 0; level < path.size(); ++level) {
        item = level == 0 ? tree.GetRootItem() : tree.GetChildItem(item);
        for (int step = 0; step < path[level] && item != nullptr; ++step)
            item = tree.GetNextSiblingItem(item);
        if (item == nullptr || path[level] < 0)
            return nullptr;
    }
    return item;
}
