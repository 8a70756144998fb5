#include "designer/elements/OneLineSourceElement.h"

#include "designer/document/Page.h"

BOOL SnapRectToOneLine(const CPage& page, kwvd::Rect& rect)
{
    if (rect.IsNull())
        return FALSE;
    const kwvd::Rect before = rect;
    rect.Normalize();
    page.SnapToGridNearest(rect);
    rect.bottom = rect.top + page.GetCellHeight();
    // Clamped last, so that a box dragged past the last line comes back whole.
    page.ClampToPage(rect, TRUE);
    return rect != before ? TRUE : FALSE;
}
