#include "platform/ui/WaitCursor.h"

CWaitCursor::CWaitCursor() : m_service(SharedPrompts())
{
    m_service->BeginWaitCursor();
}

CWaitCursor::~CWaitCursor()
{
    m_service->EndWaitCursor();
}
