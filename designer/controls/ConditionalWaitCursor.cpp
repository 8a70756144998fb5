#include "designer/controls/ConditionalWaitCursor.h"

#include "platform/ui/WaitCursor.h"

KWVD_IMPLEMENT_DYNAMIC(CConditionalWaitCursor, CObject)

CConditionalWaitCursor::CConditionalWaitCursor(BOOL show)
{
    if (show)
        m_pWaitCursor = std::make_unique<CWaitCursor>();
}

CConditionalWaitCursor::~CConditionalWaitCursor() = default;
