#include "designer/document/ExplorerTreeOrder.h"

#include "designer/document/DesignerDoc.h"
#include "designer/elements/FormElement.h"

#include <QHash>

#include <algorithm>
#include <utility>
#include <vector>

int CompareTreeElements(const CFormElement* first, const CFormElement* second, int key)
{
    if (first == nullptr || second == nullptr)
        return 0;
    return CFormElement::CompareElements(first, second, key);
}

BOOL SortTreeChildren(IExplorerTree& tree, TreeItem parent, const CDesignerDoc& doc)
{
    std::vector<std::pair<const CFormElement*, TreeItem>> children;
    QHash<const CObject*, WORD> positions;
    for (TreeItem child = parent != nullptr ? tree.GetChildItem(parent) : tree.GetRootItem(); child != nullptr;
         child = tree.GetNextSiblingItem(child)) {
        const CFormElement* element = tree.GetItemElement(child);
        children.emplace_back(element, child);
        if (element != nullptr)
            positions.insert(element, 0);
    }
    if (children.size() < 2)
        return TRUE;

    // The same 16-bit positions FindElementIndex gives, taken in one walk.
    WORD position = 0;
    qsizetype found = 0;
    for (const CObject* object : doc.GetElementList()) {
        if (found == positions.size())
            break;
        const auto it = positions.find(object);
        if (it != positions.end()) {
            *it = position;
            ++found;
        }
        ++position;
    }

    // Items without an element (none stand below the root) go first.
    std::vector<std::pair<int, TreeItem>> keyed;
    keyed.reserve(children.size());
    for (const auto& [element, item] : children)
        keyed.emplace_back(element != nullptr ? int{positions.value(element)} : -1, item);
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });

    std::vector<TreeItem> order;
    order.reserve(keyed.size());
    for (const auto& entry : keyed)
        order.push_back(entry.second);
    tree.ReorderChildren(parent, order);
    return TRUE;
}
