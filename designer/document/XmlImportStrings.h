#pragma once
// The string-table texts of the XML import.

#include "platform/framework/Types.h"

// %1: the schema file, %2: the most elements one import makes.
inline constexpr UINT IDS_XML_SCHEMA_TOO_LARGE = 12961;

// Called once at start-up (through RegisterDocumentClasses), and by tests.
void RegisterXmlImportStrings();
