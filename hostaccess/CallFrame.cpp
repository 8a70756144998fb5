#include "hostaccess/CallFrame.h"

#include "platform/ui/PromptHelpers.h"

#include <atomic>

namespace {

std::atomic<EntryPointFaultHook> g_faultHook{nullptr};

} // namespace

void ReportEntryPointFailure(UINT messageId) noexcept
{
    try {
        AfxMessageBox(messageId);
    } catch (...) {
        // Nothing more can be said; the entry point still gives its failure.
    }
}

void SetEntryPointFaultHook(EntryPointFaultHook hook)
{
    g_faultHook = hook;
}

EntryPointFaultHook GetEntryPointFaultHook()
{
    return g_faultHook;
}
