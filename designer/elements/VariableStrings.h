#pragma once
// The string-table texts of the Variable element.

#include "platform/framework/Types.h"

inline constexpr UINT IDS_VARIABLE_NAME_RESERVED = 312;
inline constexpr UINT IDS_VARIABLE_MAXIMUM = 323; // %1: the largest number of names

// Called once at start-up (through RegisterElementClasses), and by tests.
void RegisterVariableStrings();
