#pragma once
// The string-table texts of the Loop element.

#include "platform/framework/Types.h"

// %1: the JVX version of the export.
inline constexpr UINT IDS_LOOP_NO_DOCUMENT_END = 12951;

// Called once at start-up (through RegisterElementClasses), and by tests.
void RegisterLoopStrings();
