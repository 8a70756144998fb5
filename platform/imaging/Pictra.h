#pragma once
// The imaging toolkit core, libPICTRA31.so: the operations the designer and
// the fax client call, as C functions found by name. Paths are UTF-8. Images
// are handles owned by the caller until PtFreeImage.

#include "filters/common/FilterRecords.h"
#include "filters/common/OptionBlock.h"

#include <cstddef>
#include <cstdint>

class QPainter;

#define KWVD_PICTRA_EXPORT __attribute__((visibility("default")))

extern "C" {

typedef struct PictraImage* PtImage;

// Right and bottom inclusive, in image pixels (source) or painter units
// (destination: right and bottom inclusive as well).
struct PtRect
{
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

// Bit of PtImageInfo's flags for a vector image; our images never set it.
enum : std::uint32_t {
    kPtVectorImage = 8
};

// progress(0, percent, userData) while an image is read or written; 0 cancels a read.
typedef int (*PtProgressCallback)(int first, int percent, void* userData);

KWVD_PICTRA_EXPORT int PtStartup(void);
KWVD_PICTRA_EXPORT void PtShutdown(void);
KWVD_PICTRA_EXPORT void PtSetProgressCallback(PtProgressCallback callback, std::int32_t step, void* userData);

// Pairs of NUL-ended 8-bit texts (display text, pattern), an image type
// first, the list ended by an empty text. The block comes from malloc; the
// caller frees it with PtFreeBlock. *size gets its byte count.
KWVD_PICTRA_EXPORT char* PtImportFilterList(std::size_t* size);
// Entries of 6 bytes with the extension in 3 characters at byte 2. With a
// null buffer: the size needed. Otherwise fills at most size bytes and
// returns the bytes written.
KWVD_PICTRA_EXPORT std::size_t PtExportFormatList(char* buffer, std::size_t size);
KWVD_PICTRA_EXPORT void PtFreeBlock(void* block);

// The image in the file (format taken from the content), page 0; null when
// the file cannot be read.
KWVD_PICTRA_EXPORT PtImage PtOpenImage(const char* path);
// An image from a device-independent bitmap in memory: header, colour table,
// rows bottom first. The block stays the caller's.
KWVD_PICTRA_EXPORT PtImage PtImageFromBitmap(const void* block, std::size_t size);
KWVD_PICTRA_EXPORT void PtFreeImage(PtImage image);

// The image's header (palette after it for 8 bits or fewer), valid while the
// image lives; flags gets kPtVectorImage or 0. Bits per pixel as the file has
// them; pixels per metre 0 when the file gives no resolution.
KWVD_PICTRA_EXPORT const BitmapInfoHeader* PtImageInfo(PtImage image, std::uint32_t* flags);
KWVD_PICTRA_EXPORT int PtPageCount(PtImage image, std::int32_t* count);
KWVD_PICTRA_EXPORT int PtSetPage(PtImage image, std::int32_t page);
KWVD_PICTRA_EXPORT int PtGetPage(PtImage image, std::int32_t* page);
// Copies at most capacity palette entries; returns the image's entry count
// (0 for images without a palette).
KWVD_PICTRA_EXPORT int PtPalette(PtImage image, RgbQuad* entries, int capacity);

// New images; the one passed is left as it was. Null on failure.
KWVD_PICTRA_EXPORT PtImage PtReduceColours(PtImage image, std::uint64_t colours, std::int32_t option);
KWVD_PICTRA_EXPORT PtImage PtResize(PtImage image, std::int32_t width, std::int32_t height, const PtRect* source,
                                    std::int32_t mode);
// Turned counter-clockwise by 90, 180 or 270 degrees. The resolutions stay as they were.
KWVD_PICTRA_EXPORT PtImage PtRotate(PtImage image, std::int32_t degrees, std::int32_t unused);

// Draws the source part (whole image when null) scaled into destination.
KWVD_PICTRA_EXPORT int PtDrawImage(PtImage image, QPainter* painter, const PtRect* destination, const PtRect* source);

KWVD_PICTRA_EXPORT OptionBlockHandle PtOptionBlockFromText(const char* text);
KWVD_PICTRA_EXPORT void PtFreeOptionBlock(OptionBlockHandle block);
// 0 when the key is present, its value copied out.
KWVD_PICTRA_EXPORT int ImgXOptBlkGet(OptionBlockHandle block, const char* key, char* value, std::size_t valueSize);

// Writes the image as the option block says (EXTENSION chooses the format,
// FILENAME the file, OVERWRITE and APPEND). 1 when the file was written.
KWVD_PICTRA_EXPORT int PtSaveImage(PtImage image, OptionBlockHandle options);

} // extern "C"
