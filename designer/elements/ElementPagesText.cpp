#include "designer/elements/ElementPagesText.h"

#include "designer/document/Page.h"

#include <algorithm>

PageCellLimits PageCellLimits::Of(const CPage* page)
{
    PageCellLimits limits;
    if (page == nullptr || page->GetCellWidth() <= 0 || page->GetCellHeight() <= 0)
        return limits;
    // A page narrower than one cell still offers the first column and line.
    limits.largestColumn = std::max(1, page->GetPixelWidth() / page->GetCellWidth());
    limits.largestLine = std::max(1, page->GetPixelHeight() / page->GetCellHeight());
    return limits;
}
