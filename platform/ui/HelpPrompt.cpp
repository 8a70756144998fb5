#include "platform/ui/HelpPrompt.h"

#include <utility>

namespace {

DWORD g_context = 0;
HelpRequestHandler g_handler;

} // namespace

DWORD HelpPromptContext()
{
    return g_context;
}

void SetHelpPromptContext(DWORD context)
{
    g_context = context;
}

HelpPromptContextScope::HelpPromptContextScope(DWORD context) : m_previous(g_context)
{
    g_context = context;
}

HelpPromptContextScope::~HelpPromptContextScope()
{
    g_context = m_previous;
}

HelpRequestHandler SetHelpRequestHandler(HelpRequestHandler handler)
{
    return std::exchange(g_handler, std::move(handler));
}

bool SendHelpRequest(const HelpRequest& request)
{
    if (!g_handler)
        return false;
    // A copy, so a handler that replaces itself finishes safely.
    const HelpRequestHandler handler = g_handler;
    handler(request);
    return true;
}
