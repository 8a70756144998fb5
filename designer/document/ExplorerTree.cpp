#include "designer/document/ExplorerTree.h"

IExplorerTree::~IExplorerTree() = default;
