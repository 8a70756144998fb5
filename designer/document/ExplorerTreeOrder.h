#pragma once
// The order of the explorer tree's items: every item's children stand in the
// order of their elements in the document's element list, as the containers
// keep their children.

#include "designer/document/ExplorerTree.h"

class CDesignerDoc;

// The explorer's sort key, document order, the only one there is.
constexpr int kExplorerSortDocumentOrder = 6;

// Negative when the first element comes before the second in the document's
// element list, positive when after; 0 when either is null. An element the
// list does not hold counts as its first.
int CompareTreeElements(const CFormElement* first, const CFormElement* second, int key);

// Puts the children of parent (null: the top level) into document order.
// Each child's position is looked up once, in one pass over the element
// list, so a sort costs the list's length plus the children's sort and never
// a list walk per comparison. Items without an element come first; children
// with equal keys keep their order.
BOOL SortTreeChildren(IExplorerTree& tree, TreeItem parent, const CDesignerDoc& doc);
