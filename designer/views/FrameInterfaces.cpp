#include "designer/views/FrameInterfaces.h"

IExplorerPane::~IExplorerPane() = default;

BOOL IExplorerPane::IsSender(const CObject*) const
{
    return FALSE;
}

CFormElement* IExplorerPane::GetSelectedElement() const
{
    return nullptr;
}

IElementPropertySheet::~IElementPropertySheet() = default;

BOOL IElementPropertySheet::IsSender(const CObject*) const
{
    return FALSE;
}

IFindReplaceDialog::~IFindReplaceDialog() = default;
