#pragma once
// The string-table texts of the document images and the image resources.

#include "platform/framework/Types.h"

inline constexpr UINT IDS_IMAGE_SUBSTITUTE = 232;
inline constexpr UINT IDS_RESOURCE_FILE_NOT_FOUND = 282;
inline constexpr UINT IDS_IMAGE_SERVER_NAME = 303;
inline constexpr UINT IDS_IMAGE_FILE_INVALID = 308;
inline constexpr UINT IDS_IMAGE_VECTOR_FORMAT = 313;
inline constexpr UINT IDS_RESOURCE_JVX_VERSION = 344;
inline constexpr UINT IDS_RESOURCE_MAXIMUM = 345;
// %1 and %2 the two files, %3 the host name.
inline constexpr UINT IDS_IMAGE_SERVER_NAME_CLASH = 14201;

// Called once at start-up, and by tests.
void RegisterImageStrings();
