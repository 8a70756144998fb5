#include "platform/imaging/ImageWriter.h"

#include "platform/framework/SafeFileSave.h"
#include "platform/imaging/CoreFileIo.h"
#include "platform/imaging/CoreProgress.h"
#include "platform/imaging/FilterHost.h"
#include "platform/imaging/MmrWriter.h"

#include <QFile>

#include <tiffio.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace {

std::string Option(OptionBlockHandle options, const char* key)
{
    char value[1024];
    return kwvd::filters::OptionBlockGet(options, key, value, sizeof value) == kOptionFound ? std::string(value)
                                                                                            : std::string();
}

bool FileExists(const std::string& path)
{
    struct stat st
    {};
    return ::stat(path.c_str(), &st) == 0;
}

// Resolution in dots per inch: the option's value, else the image's own.
double Dpi(OptionBlockHandle options, const char* key, int pixelsPerMetre)
{
    const std::string value = Option(options, key);
    if (!value.empty()) {
        char* end = nullptr;
        const double dpi = std::strtod(value.c_str(), &end);
        if (end != value.c_str() && dpi > 0)
            return dpi;
    }
    return pixelsPerMetre > 0 ? pixelsPerMetre * 0.0254 : 0.0;
}

bool WriteTiff(const PictraImage& image, OptionBlockHandle options, const std::string& path, bool append)
{
    TIFF* tif = TIFFOpen(path.c_str(), append ? "a" : "w");
    if (!tif)
        return false;
    const bool bilevel = image.bitsPerPixel <= 1;
    const QImage pixels =
        bilevel ? image.pixels : FlattenOntoWhite(image.pixels).convertToFormat(QImage::Format_RGB888);
    const auto width = static_cast<std::uint32_t>(pixels.width());
    const auto height = static_cast<std::uint32_t>(pixels.height());
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    if (bilevel) {
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    } else {
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
        TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    }
    const std::string rows = Option(options, "TIFF_ROWSPERSTRIP");
    const long rowsPerStrip = rows.empty() ? 0 : std::strtol(rows.c_str(), nullptr, 10);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rowsPerStrip > 0 ? static_cast<std::uint32_t>(rowsPerStrip) : height);
    const double xDpi = Dpi(options, "TIFF_XRES", image.xPixelsPerMetre);
    const double yDpi = Dpi(options, "TIFF_YRES", image.yPixelsPerMetre);
    if (xDpi > 0 && yDpi > 0) {
        TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
        TIFFSetField(tif, TIFFTAG_XRESOLUTION, static_cast<float>(xDpi));
        TIFFSetField(tif, TIFFTAG_YRESOLUTION, static_cast<float>(yDpi));
    }

    // Bilevel rows go out with 1 = black whatever the palette order.
    const QList<QRgb> table = pixels.colorTable();
    const bool invert = bilevel && table.size() >= 2 && qGray(table[1]) > qGray(table[0]);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(bilevel ? (width + 7) / 8 : width * 3));
    bool ok = true;
    for (std::uint32_t y = 0; y < height && ok; ++y) {
        const std::uint8_t* line = pixels.constScanLine(static_cast<int>(y));
        for (std::size_t i = 0; i < row.size(); ++i)
            row[i] = invert ? static_cast<std::uint8_t>(~line[i]) : line[i];
        ok = TIFFWriteScanline(tif, row.data(), y, 0) == 1;
    }
    ok = ok && TIFFWriteDirectory(tif) == 1;
    TIFFClose(tif);
    return ok;
}

bool ReadWhole(const std::string& path, std::vector<std::uint8_t>* bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool WriteWhole(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    return static_cast<bool>(out);
}

bool WriteMmr(const PictraImage& image, OptionBlockHandle options, const std::string& target, const std::string& path,
              bool append)
{
    const QImage mono = image.bitsPerPixel <= 1 ? image.pixels : ToBlackAndWhite(image.pixels);
    const int xResolution = static_cast<int>(std::lround(Dpi(options, "TIFF_XRES", image.xPixelsPerMetre) * 10));
    const int yResolution = static_cast<int>(std::lround(Dpi(options, "TIFF_YRES", image.yPixelsPerMetre) * 10));
    std::vector<std::uint8_t> file;
    int pages = 0;
    if (append) {
        // Another page goes after the last one; a file that is no MMR file,
        // or whose pages cannot be counted, is left alone.
        if (!ReadWhole(target, &file) || (pages = MmrWriter::CountPages(file)) < 0)
            return false;
    } else {
        file = MmrWriter::Marker();
    }
    std::vector<std::uint8_t> page;
    std::string error;
    if (!MmrWriter::EncodePage(mono, xResolution, yResolution, pages + 1, &page, &error))
        return false;
    file.insert(file.end(), page.begin(), page.end());
    return WriteWhole(path, file);
}

void PutBgr(QRgb c, std::uint8_t* out)
{
    out[0] = static_cast<std::uint8_t>(qBlue(c));
    out[1] = static_cast<std::uint8_t>(qGreen(c));
    out[2] = static_cast<std::uint8_t>(qRed(c));
}

// Rows first to first + count - 1 of the image (counted from the top) as the
// filters take them: the lowest row first, blue-green-red, padded to 4 bytes.
// At 24 bits the pixels are RGB32 or ARGB32, alpha composed onto white here.
void FillRows(const QImage& pixels, int depth, int first, int count, std::int64_t rowBytes, std::uint8_t* rows)
{
    const int width = pixels.width();
    const bool alpha = pixels.format() == QImage::Format_ARGB32;
    for (int i = 0; i < count; ++i) {
        std::uint8_t* out = rows + static_cast<std::size_t>(count - 1 - i) * static_cast<std::size_t>(rowBytes);
        const std::uint8_t* in = pixels.constScanLine(first + i);
        std::size_t used = 0;
        if (depth == 24) {
            const auto* rgb = reinterpret_cast<const QRgb*>(in);
            if (alpha) {
                for (int x = 0; x < width; ++x)
                    PutBgr(OverWhite(rgb[x]), out + 3 * x);
            } else {
                for (int x = 0; x < width; ++x)
                    PutBgr(rgb[x], out + 3 * x);
            }
            used = 3 * static_cast<std::size_t>(width);
        } else if (depth == 8) {
            used = static_cast<std::size_t>(width);
            std::memcpy(out, in, used);
        } else if (depth == 4) {
            for (int x = 0; x < width; x += 2) {
                const int right = x + 1 < width ? in[x + 1] & 0x0F : 0;
                out[x / 2] = static_cast<std::uint8_t>((in[x] & 0x0F) << 4 | right);
            }
            used = static_cast<std::size_t>(width + 1) / 2;
        } else {
            used = static_cast<std::size_t>(width + 7) / 8;
            std::memcpy(out, in, used);
        }
        std::memset(out + used, 0, static_cast<std::size_t>(rowBytes) - used);
    }
}

// The PNG filter hands each block's rows to libpng from the last in memory
// to the first, so the page can go to it in strips from the top, each small
// enough to stay in the cache. The QDX filter fills its planes in the order
// the rows come, from the bottom up: it gets the page in one block.
int RowsPerBlock(const ExportFilter& filter, std::int64_t rowBytes, int height)
{
    constexpr std::int64_t kStripBytes = 128 * 1024;
    if (filter.extension != "PNG")
        return height;
    return static_cast<int>(std::clamp<std::int64_t>(kStripBytes / rowBytes, 1, height));
}

bool WriteWithFilter(const ExportFilter& filter, const PictraImage& image, OptionBlockHandle options,
                     const std::string& path)
{
    const int depth = ExportDepth(image.bitsPerPixel);
    // 24-bit rows are made from the image's own pixels: no converted copy of the page.
    const QImage::Format format = image.pixels.format();
    const bool ownPixels = depth == 24 && (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32);
    const QImage pixels = ownPixels ? image.pixels : ImageWriter::ExportPixels(image, depth);
    if (pixels.isNull())
        return false;
    const int width = pixels.width();
    const int height = pixels.height();
    const int entries = depth <= 8 ? static_cast<int>(pixels.colorCount()) : 0;
    std::vector<std::uint8_t> description(sizeof(BitmapInfoHeader) + static_cast<std::size_t>(entries) * 4);
    BitmapInfoHeader header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<std::uint16_t>(depth);
    const std::int64_t rowBytes = BitmapRowBytes(depth, width);
    header.biSizeImage = static_cast<std::uint32_t>(rowBytes * height);
    header.biXPelsPerMeter = image.xPixelsPerMetre;
    header.biYPelsPerMeter = image.yPixelsPerMetre;
    header.biClrUsed = static_cast<std::uint32_t>(entries);
    std::memcpy(description.data(), &header, sizeof header);
    for (int i = 0; i < entries; ++i) {
        const QRgb c = pixels.color(i);
        std::uint8_t* p = description.data() + sizeof header + 4 * static_cast<std::size_t>(i);
        p[0] = static_cast<std::uint8_t>(qBlue(c));
        p[1] = static_cast<std::uint8_t>(qGreen(c));
        p[2] = static_cast<std::uint8_t>(qRed(c));
        p[3] = 0;
    }

    const int blockRows = RowsPerBlock(filter, rowBytes, height);
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(rowBytes * blockRows));

    const CoreProgress& registered = CoreProgress::Current();
    ExportProgressBlock progress{};
    progress.total = rowBytes * height;
    progress.step = registered.step;
    progress.userData = registered.userData;
    progress.callback = registered.callback;

    std::int32_t flags = 0;
    FilterStateHandle state =
        filter.beginWrite(path.c_str(), &CoreFileIo::Callbacks(), path.c_str(),
                          reinterpret_cast<const BitmapInfoHeader*>(description.data()), options, &flags);
    if (!state)
        return false;
    // The progress block lives until the filter's end call has returned.
    for (int first = 0; first < height; first += blockRows) {
        const int count = std::min(blockRows, height - first);
        FillRows(pixels, depth, first, count, rowBytes, rows.data());
        const int written = filter.writeBlock(state, count, rowBytes, rows.data(), &progress);
        if (written != 1) {
            // The PNG filter frees its state itself on failure; the QDX filter leaves it to us.
            if (written == kQdxExportFailed)
                filter.endWrite(state, 0);
            return false;
        }
    }
    return filter.endWrite(state, 0) == 1;
}

} // namespace

QImage ImageWriter::ExportPixels(const PictraImage& image, int depth)
{
    switch (depth) {
    case 1:
        return image.pixels.format() == QImage::Format_Mono ? image.pixels : ToBlackAndWhite(image.pixels);
    case 4:
        return ToIndexed(image.pixels, 16);
    case 8:
        return ToIndexed(image.pixels, 256);
    default:
        return FlattenOntoWhite(image.pixels);
    }
}

bool ImageWriter::Save(const PictraImage& image, OptionBlockHandle options, const std::string& fileName)
{
    if (fileName.empty() || image.pixels.isNull())
        return false;
    std::string extension = Option(options, "EXTENSION");
    if (extension.empty()) {
        const auto dot = fileName.rfind('.');
        const auto slash = fileName.rfind('/');
        if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
            extension = fileName.substr(dot + 1);
        for (char& c : extension)
            c = kwvd::filters::OptionUpper(c);
    }
    const bool exists = FileExists(fileName);
    const bool append = Option(options, "APPEND") == "ON" && exists;
    if (exists && !append && Option(options, "OVERWRITE") == "OFF")
        return false;

    // Written as every other save: beside the target, then renamed over it,
    // so a link stays a link and the file keeps its access rights.
    try {
        kwvd::ReplacingFile out(QFile::decodeName(QByteArray::fromStdString(fileName)));
        const std::string temporary = QFile::encodeName(out.WritePath()).toStdString();
        bool ok = false;
        if (extension == "TIF" || extension == "TIFF") {
            if (append) {
                std::vector<std::uint8_t> existing;
                ok = ReadWhole(fileName, &existing) && WriteWhole(temporary, existing)
                     && WriteTiff(image, options, temporary, true);
            } else {
                ok = WriteTiff(image, options, temporary, false);
            }
        } else if (extension == "MMR") {
            ok = WriteMmr(image, options, fileName, temporary, append);
        } else if (const ExportFilter* filter =
                       extension.empty() ? nullptr : FilterHost::Instance().Export(extension)) {
            ok = WriteWithFilter(*filter, image, options, temporary);
        }
        if (!ok)
            return false;
        out.Commit();
        return true;
    } catch (...) {
        // The toolkit answers with its result, never an exception.
        return false;
    }
}
