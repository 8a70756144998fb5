#pragma once
// Test helpers around the fax codings: bilevel bitmaps, T.6 and T.4 streams
// made by libtiff's own encoders, the MMR container built from its layout
// rules, and in-memory files served through the filters' IoCallbacks.

#include "filters/common/FilterRecords.h"
#include "platform/imaging/MemoryTiff.h"

#include <tiffio.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace faxtest {

using Bytes = std::vector<std::uint8_t>;

// Packed rows, most significant bit leftmost, 1 = black.
struct Bitmap
{
    int width = 0;
    int height = 0;
    Bytes bits;

    Bitmap(int w, int h) : width(w), height(h), bits(static_cast<std::size_t>(Stride() * h), 0) {}
    int Stride() const { return (width + 7) / 8; }
    void Set(int x, int y, bool black)
    {
        std::uint8_t& byte = bits[static_cast<std::size_t>(y * Stride() + x / 8)];
        const std::uint8_t mask = static_cast<std::uint8_t>(0x80 >> (x % 8));
        byte = black ? (byte | mask) : (byte & ~mask);
    }
    bool Get(int x, int y) const
    {
        return (bits[static_cast<std::size_t>(y * Stride() + x / 8)] & (0x80 >> (x % 8))) != 0;
    }
    void Run(int y, int from, int length)
    {
        for (int x = from; x < from + length && x < width; ++x)
            Set(x, y, true);
    }
};

// A page of text-like marks: lines of glyph-sized boxes with holes and gaps.
inline Bitmap TextPage(int width, int height, unsigned seed)
{
    Bitmap page(width, height);
    std::mt19937 random(seed);
    for (int line = 40; line + 30 < height; line += 44) {
        for (int x = 60; x + 20 < width - 60;) {
            const int glyph = 6 + static_cast<int>(random() % 14);
            if (random() % 7 == 0) {
                x += glyph + 10; // a space between words
                continue;
            }
            const int top = line + static_cast<int>(random() % 6);
            const int bottom = line + 22 + static_cast<int>(random() % 6);
            for (int y = top; y < bottom; ++y)
                for (int dx = 0; dx < glyph; ++dx)
                    if ((dx * 7 + y * 3 + static_cast<int>(random() % 5)) % 5 != 0)
                        page.Set(x + dx, y, true);
            x += glyph + 3;
        }
    }
    return page;
}

using MemoryTiff = kwvd::MemoryTiff;

enum class Coding {
    G4,
    G3TwoDimensional
};

// The raw coded strip of a one-strip TIFF that libtiff writes from the bitmap.
inline Bytes Encode(const Bitmap& bitmap, Coding coding)
{
    MemoryTiff file;
    TIFF* out = file.Open("w");
    TIFFSetField(out, TIFFTAG_IMAGEWIDTH, bitmap.width);
    TIFFSetField(out, TIFFTAG_IMAGELENGTH, bitmap.height);
    TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(out, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(out, TIFFTAG_ROWSPERSTRIP, bitmap.height);
    TIFFSetField(out, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB);
    TIFFSetField(out, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(out, TIFFTAG_YRESOLUTION, 196.0);
    if (coding == Coding::G4) {
        TIFFSetField(out, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
    } else {
        TIFFSetField(out, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX3);
        TIFFSetField(out, TIFFTAG_GROUP3OPTIONS, GROUP3OPT_2DENCODING | GROUP3OPT_FILLBITS);
    }
    Bytes row(static_cast<std::size_t>(bitmap.Stride()));
    for (int y = 0; y < bitmap.height; ++y) {
        std::memcpy(row.data(), bitmap.bits.data() + y * bitmap.Stride(), row.size());
        TIFFWriteScanline(out, row.data(), static_cast<std::uint32_t>(y), 0);
    }
    TIFFClose(out);

    TIFF* in = file.Open("r");
    Bytes strip(static_cast<std::size_t>(TIFFRawStripSize(in, 0)));
    TIFFReadRawStrip(in, 0, strip.data(), static_cast<tmsize_t>(strip.size()));
    TIFFClose(in);
    return strip;
}

// Decodes a T.6 stream with libtiff: the independent check of what we write.
inline bool DecodeG4(const Bytes& data, int width, int height, Bitmap* result)
{
    MemoryTiff file;
    TIFF* out = file.Open("w");
    TIFFSetField(out, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(out, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(out, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(out, TIFFTAG_ROWSPERSTRIP, height);
    TIFFSetField(out, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
    TIFFWriteRawStrip(out, 0, const_cast<std::uint8_t*>(data.data()), static_cast<tmsize_t>(data.size()));
    TIFFClose(out);
    TIFF* in = file.Open("r");
    *result = Bitmap(width, height);
    bool ok = true;
    for (int y = 0; y < height && ok; ++y)
        ok = TIFFReadScanline(in, result->bits.data() + y * result->Stride(), static_cast<std::uint32_t>(y), 0) == 1;
    TIFFClose(in);
    return ok;
}

struct ContainerPage
{
    int width = 0;
    int height = 0;
    int xResolution = 2000; // pixels per ten inches
    int yResolution = 2000;
    Bytes data;
    std::vector<int> blockSizes; // sizes of the data blocks in turn; the last repeats
};

inline void PutBigEndian16(Bytes& out, std::size_t at, int value)
{
    out[at] = static_cast<std::uint8_t>(value >> 8);
    out[at + 1] = static_cast<std::uint8_t>(value);
}

// One page: the 34-byte segment header (70 04 first; resolutions at 12 and 14,
// size at 16 and 18, first block length at 32), then the first block, then
// each further block behind FE 92 LL LL.
inline Bytes ContainerPageBytes(const ContainerPage& page)
{
    std::vector<int> sizes;
    std::size_t done = 0;
    for (std::size_t i = 0; done < page.data.size(); ++i) {
        int size = page.blockSizes.empty() ? 65535 : page.blockSizes[std::min(i, page.blockSizes.size() - 1)];
        size = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(size), page.data.size() - done));
        sizes.push_back(size);
        done += static_cast<std::size_t>(size);
    }
    if (sizes.empty())
        sizes.push_back(0);
    Bytes out(34, 0);
    out[0] = 0x70;
    out[1] = 0x04;
    PutBigEndian16(out, 12, page.xResolution);
    PutBigEndian16(out, 14, page.yResolution);
    PutBigEndian16(out, 16, page.width);
    PutBigEndian16(out, 18, page.height);
    out[30] = 0xFE;
    out[31] = 0x92;
    PutBigEndian16(out, 32, sizes[0]);
    std::size_t at = 0;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        if (i > 0)
            out.insert(out.end(),
                       {0xFE, 0x92, static_cast<std::uint8_t>(sizes[i] >> 8), static_cast<std::uint8_t>(sizes[i])});
        out.insert(out.end(), page.data.begin() + static_cast<std::ptrdiff_t>(at),
                   page.data.begin() + static_cast<std::ptrdiff_t>(at + static_cast<std::size_t>(sizes[i])));
        at += static_cast<std::size_t>(sizes[i]);
    }
    return out;
}

// Files that the IoCallbacks below serve by name.
inline std::map<std::string, Bytes>& MemoryFiles()
{
    static std::map<std::string, Bytes> files;
    return files;
}

struct MemoryFile
{
    Bytes data;
    std::int64_t pos = 0;
    int* closeCount = nullptr;
};

inline int g_closeCount = 0;

inline int MemoryOpen(const char* name, int, FilterFileHandle* file)
{
    auto it = MemoryFiles().find(name);
    if (it == MemoryFiles().end())
        return 0;
    *file = reinterpret_cast<FilterFileHandle>(new MemoryFile{it->second, 0, &g_closeCount});
    return 1;
}

inline void MemoryClose(FilterFileHandle file)
{
    auto* f = reinterpret_cast<MemoryFile*>(file);
    ++*f->closeCount;
    delete f;
}

inline std::int64_t MemoryRead(FilterFileHandle file, void* buffer, std::int64_t count)
{
    auto* f = reinterpret_cast<MemoryFile*>(file);
    const std::int64_t size = static_cast<std::int64_t>(f->data.size());
    const std::int64_t n = std::max<std::int64_t>(0, std::min(count, size - f->pos));
    if (n > 0)
        std::memcpy(buffer, f->data.data() + f->pos, static_cast<std::size_t>(n));
    f->pos += n;
    return n;
}

inline std::int64_t MemorySeek(FilterFileHandle file, std::int64_t offset, int origin)
{
    auto* f = reinterpret_cast<MemoryFile*>(file);
    f->pos = (origin == kFilterSeekCurrent ? f->pos : 0) + offset;
    return f->pos;
}

inline const IoCallbacks& MemoryIo()
{
    static const IoCallbacks io{MemoryOpen, MemoryClose, MemoryRead, nullptr, MemorySeek};
    return io;
}

// Opens a registered memory file the way the core does before init_image.
inline FilterFileHandle OpenMemory(const std::string& name, const Bytes& bytes)
{
    MemoryFiles()[name] = bytes;
    FilterFileHandle file = 0;
    MemoryOpen(name.c_str(), kFilterOpenRead, &file);
    return file;
}

} // namespace faxtest
