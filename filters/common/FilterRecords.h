#pragma once
// Records that cross between the imaging toolkit core (libPICTRA31.so) and its
// filter plug-ins (PT31XQDX, PT31XPNG, PT31MMR). Both sides include this one
// header. Fields that carry pointers or handles are pointer-sized; counts and
// positions are 64-bit so that a whole page bitmap fits one block.

#include <cstdint>

extern "C" {

// Per-image state of a filter, returned by its begin or init entry and passed
// back on every later call. Opaque to the core; null means "no image".
typedef void* FilterStateHandle;

// A file opened through the core's IoCallbacks.
typedef std::intptr_t FilterFileHandle;

// Modes of IoCallbacks::open.
enum : int {
    kFilterOpenRead = 0,
    kFilterOpenWrite = 0x1000, // created or truncated
};

// Origins of IoCallbacks::seek.
enum : int {
    kFilterSeekSet = 0,
    kFilterSeekCurrent = 1,
};

// Capabilities the export filters report in FilterInfo::capabilities.
enum : std::int32_t {
    kQdxFilterCapabilities = 64,
    kPngFilterCapabilities = 248,
};

// Error report of the core: module of the filter that reports, code, filter
// name text and a context (the context text given to PTXDLbegin_write).
typedef void (*FilterErrorCallback)(const void* filterModule, int code, const char* filterName, const char* context);

// Handed to PTXDLget_ext once after a filter is loaded.
struct FilterInfo
{
    std::int32_t capabilities;         // written by the filter
    FilterErrorCallback errorCallback; // may be null
    void* coreModule;                  // dlopen handle of the core; dlsym finds "ImgXOptBlkGet" in it
};

// The core's file operations. open returns 1 on success; read returns the
// bytes read or -1; write returns the bytes written; seek returns the new
// position or -1.
struct IoCallbacks
{
    int (*open)(const char* fileName, int mode, FilterFileHandle* file);
    void (*close)(FilterFileHandle file);
    std::int64_t (*read)(FilterFileHandle file, void* buffer, std::int64_t count);
    std::int64_t (*write)(FilterFileHandle file, const void* buffer, std::int64_t count);
    std::int64_t (*seek)(FilterFileHandle file, std::int64_t offset, int origin);
};

// Progress of an export: callback(0, percent, userData); its answer is not used
// by the export filters.
typedef int (*FilterProgressCallback)(int first, int percent, void* userData);

struct ExportProgressBlock
{
    std::int64_t reserved0;
    std::int64_t done;  // amount reported so far
    std::int64_t total; // amount that means 100 percent
    std::int64_t reserved3;
    std::int64_t step;  // minimum advance between two reports
    std::int64_t since; // advance since the last report
    void* userData;
    FilterProgressCallback callback; // may be null
};

// Progress of an import: callback(firstValue, percent, userData); 0 cancels.
struct ImportProgressBlock
{
    FilterProgressCallback callback; // may be null
    std::int64_t step;
    std::int64_t total;
    std::int64_t done;
    std::int64_t since;
    void* userData;
    int firstValue;
};

// The bitmap description: this header, immediately followed by biClrUsed
// palette entries (2^biBitCount when biClrUsed is 0 and the depth is 8 or
// less). Rows are padded to 4 bytes and stored bottom row first.
struct BitmapInfoHeader
{
    std::uint32_t biSize; // 40; the filters refuse any other header
    std::int32_t biWidth;
    std::int32_t biHeight;
    std::uint16_t biPlanes;
    std::uint16_t biBitCount;
    std::uint32_t biCompression; // 0: none
    std::uint32_t biSizeImage;
    std::int32_t biXPelsPerMeter;
    std::int32_t biYPelsPerMeter;
    std::uint32_t biClrUsed;
    std::uint32_t biClrImportant;
};
static_assert(sizeof(BitmapInfoHeader) == 40, "the bitmap header is 40 bytes");

struct RgbQuad
{
    std::uint8_t rgbBlue;
    std::uint8_t rgbGreen;
    std::uint8_t rgbRed;
    std::uint8_t rgbReserved;
};
static_assert(sizeof(RgbQuad) == 4, "a palette entry is 4 bytes");

// Filled by PTDLbuildDIBhead. bitmapHeader is a BitmapInfoHeader with its
// palette in one block from malloc; the core owns it and releases it with free.
struct ImportImageInfo
{
    BitmapInfoHeader* bitmapHeader;
    std::int32_t reserved; // always 0
    std::int32_t width;
    std::int32_t height;
    std::int32_t pageCount;
};

} // extern "C"

// Bytes of one bitmap row: padded to a multiple of 4.
inline constexpr std::int64_t BitmapRowBytes(std::int64_t bitsPerPixel, std::int64_t width)
{
    return (bitsPerPixel * width + 31) / 32 * 4;
}

// Palette entries that follow a bitmap header; -1 for a description that
// cannot be valid (more entries than its depth can address, or above 256).
inline std::int64_t BitmapPaletteEntries(const BitmapInfoHeader& header)
{
    if (header.biBitCount > 8)
        return header.biClrUsed == 0 ? 0 : (header.biClrUsed <= 256 ? header.biClrUsed : -1);
    const std::int64_t full = std::int64_t{1} << header.biBitCount;
    if (header.biClrUsed == 0)
        return full;
    return header.biClrUsed <= full ? header.biClrUsed : -1;
}

// The palette follows the 40-byte header directly.
inline const RgbQuad* BitmapPalette(const BitmapInfoHeader* header)
{
    return reinterpret_cast<const RgbQuad*>(header + 1);
}
