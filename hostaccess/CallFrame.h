#pragma once
// The frame every entry point of the library runs its body in: nothing thrown
// inside may reach the designer. Whatever escapes the body is reported in a
// message box with the entry point's own text (messageId) and the entry point
// gives its failure value.
//
//     extern "C" BOOL CallCRTWVD(CrtWvdRequest* request)
//     {
//         return RunEntryPoint("CallCRTWVD", IDS_MERROW_REMOTE_PROGRAM_FAILED, BOOL(FALSE),
//                              [&] { return ...; });
//     }

#include "platform/framework/Types.h"

#include <type_traits>
#include <utility>

// Shows the text of messageId; never throws.
void ReportEntryPointFailure(UINT messageId) noexcept;

// Called at the start of every frame with the entry point's name; null in
// normal running. Tests set it to throw, to reach each entry point's report.
using EntryPointFaultHook = void (*)(const char* entryPoint);
void SetEntryPointFaultHook(EntryPointFaultHook hook);
EntryPointFaultHook GetEntryPointFaultHook();

template <typename Result, typename Body>
Result RunEntryPoint(const char* entryPoint, UINT messageId, Result failure, Body&& body) noexcept
{
    try {
        if (const EntryPointFaultHook hook = GetEntryPointFaultHook())
            hook(entryPoint);
        return std::forward<Body>(body)();
    } catch (...) {
        ReportEntryPointFailure(messageId);
        return failure;
    }
}

// For the entry points that give nothing back.
template <typename Body>
void RunEntryPoint(const char* entryPoint, UINT messageId, Body&& body) noexcept
{
    try {
        if (const EntryPointFaultHook hook = GetEntryPointFaultHook())
            hook(entryPoint);
        std::forward<Body>(body)();
    } catch (...) {
        ReportEntryPointFailure(messageId);
    }
}

// An entry point's definition: exported by name with C linkage.
#define MERROW_ENTRY_POINT extern "C" __attribute__((visibility("default")))
