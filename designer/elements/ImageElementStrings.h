#pragma once
// The string-table texts of the Image and Barcode elements.

#include "platform/framework/Types.h"

// %1: the image name.
inline constexpr UINT IDS_IMAGE_ELEMENT_NOT_FOUND = 14301;
inline constexpr UINT IDS_IMAGE_ELEMENT_MISSING_TITLE = 14302;
inline constexpr UINT IDS_IMAGE_ELEMENT_BROWSE = 14303;
inline constexpr UINT IDS_IMAGE_ELEMENT_IGNORE = 14304;
// %1: the element's description.
inline constexpr UINT IDS_BARCODE_ELEMENT_NO_DEFINITION = 14305;

// Called once at start-up (through RegisterElementClasses), and by tests.
void RegisterImageElementStrings();
