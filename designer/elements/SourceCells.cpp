#include "designer/elements/SourceCells.h"

#include "designer/document/Page.h"
#include "designer/elements/FormElement.h"

BOOL MoveSourceToCell(CFormElement& element, const CPage& page, int column, int line)
{
    const int x = (column - 1) * page.GetCellWidth();
    const int y = (line - 1) * page.GetCellHeight();
    const kwvd::Rect& box = element.SourceRect();
    if (x == box.left && y == box.top)
        return FALSE;
    element.MoveSource(x, y, ElementMoveFlags::Left | ElementMoveFlags::Top, TRUE);
    return TRUE;
}

BOOL SetSourceWidthInCells(CFormElement& element, const CPage& page, int width)
{
    const int pixels = width * page.GetCellWidth();
    if (pixels == element.SourceRect().Width())
        return FALSE;
    element.ResizeSource(pixels, page.GetCellHeight(), ElementMoveFlags::Right, TRUE);
    return TRUE;
}
