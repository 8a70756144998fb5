#pragma once
// The named C entry points of the filter plug-ins. The filters define them;
// the core looks them up with dlsym and calls them through the pointer types
// below, so both sides are held to one signature.

#include "filters/common/FilterRecords.h"
#include "filters/common/OptionBlock.h"

#include <cstdint>

#define KWVD_FILTER_EXPORT __attribute__((visibility("default")))

extern "C" {

// Every filter.
KWVD_FILTER_EXPORT int WEP(int unused);

// Export filters (PT31XQDX, PT31XPNG).
KWVD_FILTER_EXPORT const char* PTXDLget_ext(FilterInfo* info);
KWVD_FILTER_EXPORT const char* PTXDLget_ver(void);
// Returns the state, or null after the filter reported the failure.
KWVD_FILTER_EXPORT FilterStateHandle PTXDLbegin_write(const char* fileName, const IoCallbacks* io, const char* context,
                                                      const BitmapInfoHeader* bitmap, OptionBlockHandle options,
                                                      std::int32_t* flags);
// rows: rowCount rows of bytesPerRow bytes, lowest image row first.
KWVD_FILTER_EXPORT int PTXDLwrite_block(FilterStateHandle state, std::int32_t rowCount, std::int64_t bytesPerRow,
                                        const std::uint8_t* rows, ExportProgressBlock* progress);
KWVD_FILTER_EXPORT int PTXDLend_write(FilterStateHandle state, std::int32_t unused);
KWVD_FILTER_EXPORT int PTXDLerror_string(char* buffer, std::int32_t size);

// Import filter (PT31MMR).
// firstBytes holds count bytes of the file's start.
KWVD_FILTER_EXPORT int PTDLverify_img(const std::uint8_t* firstBytes, std::int64_t count, std::int32_t unused);
KWVD_FILTER_EXPORT int PTDLinit_image(const char* fileName, FilterStateHandle* state, FilterFileHandle file,
                                      std::int64_t baseOffset, std::int32_t unused, const IoCallbacks* io);
KWVD_FILTER_EXPORT int PTDLopen(FilterStateHandle state, std::int32_t unused);
KWVD_FILTER_EXPORT int PTDLclose_keep(FilterStateHandle state);
KWVD_FILTER_EXPORT int PTDLclose_image(FilterStateHandle state);
// buffer: rowCount rows of bytesPerRow bytes; the first row decoded goes last.
KWVD_FILTER_EXPORT int PTDLread_rows(FilterStateHandle state, std::uint8_t* buffer, std::int32_t rowCount,
                                     std::int64_t bytesPerRow, std::int64_t byteOffset, ImportProgressBlock* progress);
KWVD_FILTER_EXPORT int PTDLset_row(FilterStateHandle state, std::int32_t row);
KWVD_FILTER_EXPORT int PTDLset_page(FilterStateHandle state, std::int32_t page);
KWVD_FILTER_EXPORT int PTDLget_page(FilterStateHandle state, std::int32_t* page);
KWVD_FILTER_EXPORT int PTDLbuildDIBhead(FilterStateHandle state, ImportImageInfo* info);
KWVD_FILTER_EXPORT int PTDLimg_name(FilterStateHandle state, std::int32_t unused);
KWVD_FILTER_EXPORT int PTDLset_ext(std::int32_t unused1, std::int32_t unused2);
KWVD_FILTER_EXPORT int PTDLescape(std::intptr_t a, std::intptr_t b, std::intptr_t c, std::intptr_t d);
KWVD_FILTER_EXPORT int PTDLprint(std::intptr_t a, std::intptr_t b, std::intptr_t c, std::intptr_t d);
KWVD_FILTER_EXPORT int PTDLrender(std::intptr_t a, std::intptr_t b, std::intptr_t c, std::intptr_t d);
KWVD_FILTER_EXPORT int PTDLerror_string(char* buffer, std::int32_t size);
KWVD_FILTER_EXPORT const char* PTDLget_ver(void);

} // extern "C"

// Pointer types for dlsym.
using WEP_fn = decltype(&WEP);
using PTXDLget_ext_fn = decltype(&PTXDLget_ext);
using PTXDLget_ver_fn = decltype(&PTXDLget_ver);
using PTXDLbegin_write_fn = decltype(&PTXDLbegin_write);
using PTXDLwrite_block_fn = decltype(&PTXDLwrite_block);
using PTXDLend_write_fn = decltype(&PTXDLend_write);
using PTXDLerror_string_fn = decltype(&PTXDLerror_string);
using PTDLverify_img_fn = decltype(&PTDLverify_img);
using PTDLinit_image_fn = decltype(&PTDLinit_image);
using PTDLopen_fn = decltype(&PTDLopen);
using PTDLclose_keep_fn = decltype(&PTDLclose_keep);
using PTDLclose_image_fn = decltype(&PTDLclose_image);
using PTDLread_rows_fn = decltype(&PTDLread_rows);
using PTDLset_row_fn = decltype(&PTDLset_row);
using PTDLset_page_fn = decltype(&PTDLset_page);
using PTDLget_page_fn = decltype(&PTDLget_page);
using PTDLbuildDIBhead_fn = decltype(&PTDLbuildDIBhead);
using PTDLimg_name_fn = decltype(&PTDLimg_name);
using PTDLset_ext_fn = decltype(&PTDLset_ext);
using PTDLescape_fn = decltype(&PTDLescape);
using PTDLprint_fn = decltype(&PTDLprint);
using PTDLrender_fn = decltype(&PTDLrender);
using PTDLerror_string_fn = decltype(&PTDLerror_string);
using PTDLget_ver_fn = decltype(&PTDLget_ver);

// Result codes of the export entries.
enum : int {
    kQdxExportFailed = 204,
};

// Codes the PNG filter reports through FilterInfo::errorCallback.
enum : int {
    kPngErrorOpen = 1,
    kPngErrorSetup = 2,
    kPngErrorWrite = 3,
};
