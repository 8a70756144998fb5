#pragma once
// The string-table texts of the document-store catalogue.

#include "platform/framework/Types.h"

// "Failed to retrieve data from %1.\nMessage: %2"
inline constexpr UINT IDS_DOCSTORE_REQUEST_FAILED = 370;

// Called once at start-up, and by tests.
void RegisterCatalogueStrings();
