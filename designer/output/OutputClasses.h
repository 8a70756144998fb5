#pragma once
// Registration of the serialisable classes and the string-table texts of
// designer/output. Called at program start, and by tests.

#include "platform/framework/Types.h"

inline constexpr UINT IDS_DEFAULT_OUTPUT_DEVICE = 239;

void RegisterOutputClasses();
void RegisterOutputStrings();
