#pragma once
// State of one PNG export of PT31XPNG, held behind the filter's state handle.

#include "filters/common/FilterRecords.h"

#include <png.h>

#include <cstdint>

struct PngExportState
{
    char context[256]; // the core's context text, for error reports
    IoCallbacks io;
    FilterFileHandle file;
    png_structp png;
    png_infop info;
    std::int64_t rowBytes; // bytes libpng takes from each row
    std::int32_t height;
    std::int32_t rowsWritten;
    bool shortWrite; // the core stored fewer bytes than asked
};
