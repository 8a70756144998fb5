#pragma once
// The explorer's tree without a window: plain nodes behind IExplorerTree, for
// tests of the document's fill, the element kinds' items and the tree state.
//
// It behaves as a tree view does where the callers can see it: the visible
// items are the pre-order of the tree that skips the children of collapsed
// items; the window shows a fixed number of rows from the first visible item,
// which never lies past the last full window; making an item visible expands
// its ancestors and scrolls only as far as needed. The caret is forgotten
// when its item is deleted.

#include "designer/document/ExplorerTree.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <memory>
#include <vector>

class FakeExplorerTree : public IExplorerTree
{
public:
    struct Node
    {
        QString text;
        CFormElement* element = nullptr;
        Node* parent = nullptr;
        bool expanded = false;
        std::vector<std::unique_ptr<Node>> children;
    };

    explicit FakeExplorerTree(int windowRows = 100) : m_windowRows(windowRows) {}

    // ---- IExplorerTree
    void DeleteAllItems() override
    {
        m_top.clear();
        m_caret = nullptr;
        m_first = nullptr;
    }

    TreeItem InsertItem(TreeItem parent, const QString& text, CFormElement* element) override
    {
        if (failInserts)
            return nullptr;
        auto node = std::make_unique<Node>();
        node->text = text;
        node->element = element;
        node->parent = ToNode(parent);
        Node* made = node.get();
        SiblingsOf(node->parent).push_back(std::move(node));
        return ToItem(made);
    }

    void DeleteItem(TreeItem item) override
    {
        Node* node = ToNode(item);
        if (node == nullptr)
            return;
        if (IsSameOrBelow(m_caret, node))
            m_caret = nullptr;
        if (IsSameOrBelow(m_first, node))
            m_first = nullptr;
        auto& siblings = SiblingsOf(node->parent);
        siblings.erase(
            std::find_if(siblings.begin(), siblings.end(), [node](const auto& n) { return n.get() == node; }));
    }

    void SetItemText(TreeItem item, const QString& text) override { ToNode(item)->text = text; }

    void ReorderChildren(TreeItem parent, const std::vector<TreeItem>& order) override
    {
        auto& siblings = SiblingsOf(ToNode(parent));
        ++reorders;
        std::vector<std::unique_ptr<Node>> reordered;
        for (TreeItem item : order) {
            auto it = std::find_if(siblings.begin(), siblings.end(),
                                   [item](const auto& n) { return n.get() == ToNode(item); });
            reordered.push_back(std::move(*it));
            siblings.erase(it);
        }
        siblings = std::move(reordered);
    }

    TreeItem GetRootItem() const override { return m_top.empty() ? nullptr : ToItem(m_top.front().get()); }
    TreeItem GetChildItem(TreeItem item) const override
    {
        const Node* node = ToNode(item);
        return node != nullptr && !node->children.empty() ? ToItem(node->children.front().get()) : nullptr;
    }
    TreeItem GetNextSiblingItem(TreeItem item) const override { return Sibling(item, +1); }
    TreeItem GetPrevSiblingItem(TreeItem item) const override { return Sibling(item, -1); }
    TreeItem GetParentItem(TreeItem item) const override { return ToItem(ToNode(item)->parent); }

    TreeItem GetFirstVisibleItem() const override
    {
        const std::vector<Node*> rows = VisibleRows();
        if (rows.empty())
            return nullptr;
        return ToItem(rows[FirstRow(rows)]);
    }

    TreeItem GetNextVisibleItem(TreeItem item) const override
    {
        const std::vector<Node*> rows = VisibleRows();
        const auto it = std::find(rows.begin(), rows.end(), ToNode(item));
        return it == rows.end() || it + 1 == rows.end() ? nullptr : ToItem(*(it + 1));
    }

    TreeItem GetCaretItem() const override { return ToItem(m_caret); }
    CFormElement* GetItemElement(TreeItem item) const override { return ToNode(item)->element; }
    BOOL IsExpanded(TreeItem item) const override { return ToNode(item)->expanded ? TRUE : FALSE; }

    void SelectCaret(TreeItem item) override
    {
        m_caret = ToNode(item);
        ++caretSets;
    }

    void Expand(TreeItem item, BOOL expand) override { ToNode(item)->expanded = expand == TRUE; }

    void EnsureVisible(TreeItem item) override
    {
        Node* node = ToNode(item);
        for (Node* up = node->parent; up != nullptr; up = up->parent)
            up->expanded = true;
        const std::vector<Node*> rows = VisibleRows();
        const int row = RowOf(rows, node);
        const int first = FirstRow(rows);
        if (row < first)
            m_first = node;
        else if (row >= first + m_windowRows)
            m_first = rows[row - m_windowRows + 1];
    }

    void SetFirstVisible(TreeItem item) override { m_first = ToNode(item); }

    void SetRedraw(BOOL redraw) override
    {
        redrawOn = redraw == TRUE;
        redrawLog.push_back(redrawOn);
    }

    // ---- for the tests
    // One line per item in pre-order, collapsed branches included: two
    // spaces of indent per level, the text, "+" for an expanded item with
    // children and "-" for a collapsed one.
    QStringList Lines() const
    {
        QStringList lines;
        for (const auto& node : m_top)
            AppendLines(*node, 0, lines);
        return lines;
    }

    // The texts of the items in the window, from the first visible one.
    QStringList WindowTexts() const
    {
        const std::vector<Node*> rows = VisibleRows();
        QStringList texts;
        const int first = rows.empty() ? 0 : FirstRow(rows);
        for (int i = first; i < static_cast<int>(rows.size()) && i < first + m_windowRows; ++i)
            texts << rows[i]->text;
        return texts;
    }

    // The first item, in pre-order, whose element is the one given.
    TreeItem FindElementItem(const CFormElement* element) const
    {
        for (const auto& node : m_top)
            if (Node* found = Find(*node, element))
                return ToItem(found);
        return nullptr;
    }

    QString Text(TreeItem item) const { return ToNode(item)->text; }

    bool failInserts = false;
    bool redrawOn = true;
    std::vector<bool> redrawLog;
    int reorders = 0;
    int caretSets = 0;

private:
    static Node* ToNode(TreeItem item) { return reinterpret_cast<Node*>(item); }
    static TreeItem ToItem(const Node* node) { return reinterpret_cast<TreeItem>(const_cast<Node*>(node)); }

    static bool IsSameOrBelow(const Node* candidate, const Node* node)
    {
        for (const Node* n = candidate; n != nullptr; n = n->parent)
            if (n == node)
                return true;
        return false;
    }

    std::vector<std::unique_ptr<Node>>& SiblingsOf(Node* parent)
    {
        return parent != nullptr ? parent->children : m_top;
    }
    const std::vector<std::unique_ptr<Node>>& SiblingsOf(const Node* parent) const
    {
        return parent != nullptr ? parent->children : m_top;
    }

    TreeItem Sibling(TreeItem item, int step) const
    {
        const Node* node = ToNode(item);
        const auto& siblings = SiblingsOf(node->parent);
        const auto it =
            std::find_if(siblings.begin(), siblings.end(), [node](const auto& n) { return n.get() == node; });
        const auto index = (it - siblings.begin()) + step;
        return index < 0 || index >= static_cast<long>(siblings.size()) ? nullptr : ToItem(siblings[index].get());
    }

    static void AppendVisible(Node* node, std::vector<Node*>& rows)
    {
        rows.push_back(node);
        if (node->expanded)
            for (const auto& child : node->children)
                AppendVisible(child.get(), rows);
    }

    std::vector<Node*> VisibleRows() const
    {
        std::vector<Node*> rows;
        for (const auto& node : m_top)
            AppendVisible(node.get(), rows);
        return rows;
    }

    static int RowOf(const std::vector<Node*>& rows, const Node* node)
    {
        const auto it = std::find(rows.begin(), rows.end(), node);
        return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
    }

    // The row at the top of the window: the first visible item as set, or
    // its nearest shown ancestor when a collapse hid it, never past the last
    // full window.
    int FirstRow(const std::vector<Node*>& rows) const
    {
        int row = 0;
        for (const Node* n = m_first; n != nullptr; n = n->parent) {
            const int found = RowOf(rows, n);
            if (found >= 0) {
                row = found;
                break;
            }
        }
        const int last = std::max(0, static_cast<int>(rows.size()) - m_windowRows);
        return std::min(row, last);
    }

    static void AppendLines(const Node& node, int depth, QStringList& lines)
    {
        QString line = QString(depth * 2, QLatin1Char(' ')) + node.text;
        if (!node.children.empty())
            line += node.expanded ? QStringLiteral(" +") : QStringLiteral(" -");
        lines << line;
        for (const auto& child : node.children)
            AppendLines(*child, depth + 1, lines);
    }

    static Node* Find(Node& node, const CFormElement* element)
    {
        if (node.element == element)
            return &node;
        for (const auto& child : node.children)
            if (Node* found = Find(*child, element))
                return found;
        return nullptr;
    }

    int m_windowRows;
    std::vector<std::unique_ptr<Node>> m_top;
    Node* m_caret = nullptr;
    Node* m_first = nullptr;
};
