#include "platform/imaging/MmrWriter.h"
#include "platform/imaging/MemoryTiff.h"

#include <tiffio.h>

#include <algorithm>
#include <cstring>

// File layout (numbers big-endian):
//   C6 D9                       marker, once at the start of the file
//   per page, straight after the previous one:
//    0 70 04 NN NN NN NN        begin segment, 4-byte name (the page number)
//    6 91 01 FF                 begin image content
//    9 94 09 00 XX XX YY YY     image size: unit base ten inches, resolutions,
//      WW WW HH HH              width and height in pixels
//   20 95 02 82 01              image encoding: MMR, RIDIC recording
//   24 96 01 01                 image data element size: 1 bit
//   27 97 01 00                 image LUT-ID 0
//   30 FE 92 LL LL              image data, first block of LL bytes
//   34 ...                      the block; further blocks each behind FE 92 LL LL
//      93 00                    end image content
//      71 00                    end segment
// The reader takes the resolutions, size and first block length from these
// offsets and finds the next page by searching 70 04 from the end of the
// data, so nothing between pages may hold those two bytes: 93 00 71 00 doesn't.

namespace {

constexpr std::size_t kMaxBlock = 65534; // blocks stay even, so words never straddle them

using kwvd::MemoryTiff;

void Put16(std::vector<std::uint8_t>& out, int value)
{
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    Put16(out, static_cast<int>(value >> 16));
    Put16(out, static_cast<int>(value & 0xFFFF));
}

int Luminance(QRgb c)
{
    return qRed(c) * 30 + qGreen(c) * 59 + qBlue(c) * 11;
}

} // namespace

bool MmrWriter::EncodeG4(const QImage& mono, std::vector<std::uint8_t>* data)
{
    if (mono.format() != QImage::Format_Mono || mono.width() <= 0 || mono.height() <= 0)
        return false;
    // Index of the darker palette entry: those pixels are the black runs.
    const QList<QRgb> table = mono.colorTable();
    const bool oneIsBlack = table.size() < 2 || Luminance(table[1]) <= Luminance(table[0]);

    MemoryTiff file;
    TIFF* out = file.Open("w");
    if (!out)
        return false;
    TIFFSetField(out, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(mono.width()));
    TIFFSetField(out, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(mono.height()));
    TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(out, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(out, TIFFTAG_ROWSPERSTRIP, static_cast<std::uint32_t>(mono.height()));
    TIFFSetField(out, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
    std::vector<std::uint8_t> row(static_cast<std::size_t>((mono.width() + 7) / 8));
    bool ok = true;
    for (int y = 0; y < mono.height() && ok; ++y) {
        const std::uint8_t* line = mono.constScanLine(y);
        for (std::size_t i = 0; i < row.size(); ++i)
            row[i] = oneIsBlack ? line[i] : static_cast<std::uint8_t>(~line[i]);
        ok = TIFFWriteScanline(out, row.data(), static_cast<std::uint32_t>(y), 0) == 1;
    }
    TIFFClose(out);
    if (!ok)
        return false;

    TIFF* in = file.Open("r");
    if (!in)
        return false;
    const tmsize_t size = TIFFRawStripSize(in, 0);
    ok = size > 0;
    if (ok) {
        data->assign(static_cast<std::size_t>(size), 0);
        ok = TIFFReadRawStrip(in, 0, data->data(), size) == size;
    }
    TIFFClose(in);
    return ok;
}

int MmrWriter::CountPages(const std::vector<std::uint8_t>& file)
{
    if (file.size() < 2 || file[0] != 0xC6 || file[1] != 0xD9)
        return -1;
    // Each field is a code and a length byte, or FE, a code and a 2-byte
    // length; begin segment (70) opens a page.
    int pages = 0;
    std::size_t at = 2;
    while (at < file.size()) {
        std::size_t next = 0;
        if (file[at] == 0xFE) {
            if (file.size() - at < 4)
                return -1;
            next = at + 4 + (static_cast<std::size_t>(file[at + 2]) << 8 | file[at + 3]);
        } else {
            if (file.size() - at < 2)
                return -1;
            if (file[at] == 0x70)
                ++pages;
            next = at + 2 + file[at + 1];
        }
        if (next > file.size())
            return -1;
        at = next;
    }
    return pages;
}

bool MmrWriter::EncodePage(const QImage& mono, int xResolution, int yResolution, int pageNumber,
                           std::vector<std::uint8_t>* page, std::string* error)
{
    if (pageNumber < 1) {
        *error = "page number below 1";
        return false;
    }
    if (mono.width() <= 0 || mono.height() <= 0 || mono.width() > 0xFFFF || mono.height() > 0xFFFF) {
        *error = "image size does not fit an MMR page";
        return false;
    }
    if (xResolution < 0 || yResolution < 0 || xResolution > 0xFFFF || yResolution > 0xFFFF) {
        *error = "resolution does not fit an MMR page";
        return false;
    }
    std::vector<std::uint8_t> data;
    if (!EncodeG4(mono, &data)) {
        *error = "T.6 coding failed";
        return false;
    }
    if (data.size() % 2)
        data.push_back(0);

    std::vector<std::uint8_t>& out = *page;
    out.clear();
    out.insert(out.end(), {0x70, 0x04});
    Put32(out, static_cast<std::uint32_t>(pageNumber));
    out.insert(out.end(), {0x91, 0x01, 0xFF});
    out.insert(out.end(), {0x94, 0x09, 0x00});
    Put16(out, xResolution);
    Put16(out, yResolution);
    Put16(out, mono.width());
    Put16(out, mono.height());
    out.insert(out.end(), {0x95, 0x02, 0x82, 0x01});
    out.insert(out.end(), {0x96, 0x01, 0x01});
    out.insert(out.end(), {0x97, 0x01, 0x00});
    for (std::size_t at = 0; at < data.size() || at == 0; at += kMaxBlock) {
        const std::size_t length = std::min(kMaxBlock, data.size() - at);
        out.insert(out.end(), {0xFE, 0x92});
        Put16(out, static_cast<int>(length));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                   data.begin() + static_cast<std::ptrdiff_t>(at + length));
        if (data.empty())
            break;
    }
    out.insert(out.end(), {0x93, 0x00, 0x71, 0x00});
    return true;
}
