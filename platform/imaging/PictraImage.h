#pragma once
// One image held by the core: its pixels, the depth and resolution the file
// gave, and the file and page it came from.

#include "filters/common/FilterRecords.h"

#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

enum class ImageFileFormat {
    None,
    Bmp,
    Png,
    Jpeg,
    Gif,
    Tiff,
    Mmr
};

struct PictraImage
{
    // Format_Mono for 1 bit, Format_Indexed8 for 2 to 8 bits, Format_RGB32 or
    // Format_ARGB32 above.
    QImage pixels;
    int bitsPerPixel = 0;
    int xPixelsPerMetre = 0;
    int yPixelsPerMetre = 0;

    std::string path; // empty for images made in memory
    ImageFileFormat format = ImageFileFormat::None;
    int pageCount = 1;
    int page = 0;

    // Header and palette as PtImageInfo hands them out.
    std::vector<std::uint8_t> info;

    void RebuildInfo();
    const BitmapInfoHeader* Header() const { return reinterpret_cast<const BitmapInfoHeader*>(info.data()); }
};

// Brings decoded pixels into the storage form of bitsPerPixel.
QImage NormalisePixels(const QImage& decoded, int bitsPerPixel);

// The depth the export filters take for an image of this depth: 1, 4, 8 or 24.
int ExportDepth(int bitsPerPixel);

// One pixel's alpha composed onto white; an opaque pixel stays as it is.
inline QRgb OverWhite(QRgb c)
{
    const int a = qAlpha(c);
    auto over = [a](int v) { return (v * a + 255 * (255 - a) + 127) / 255; };
    return qRgb(over(qRed(c)), over(qGreen(c)), over(qBlue(c)));
}

// Alpha composed onto white, as RGB32; an RGB32 image comes back as it is.
QImage FlattenOntoWhite(const QImage& pixels);
// A true black and white 1-bit image, palette [black, white].
QImage ToBlackAndWhite(const QImage& pixels);
// Indexed8 with at most maxColours entries (exact when the image has no more).
QImage ToIndexed(const QImage& pixels, int maxColours);
