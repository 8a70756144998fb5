#pragma once
// The hourglass for the length of a scope. It ends on the service it began
// on, even when another one was installed meanwhile.

#include "platform/ui/PromptService.h"

#include <memory>

class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();

    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    std::shared_ptr<PromptService> m_service;
};
