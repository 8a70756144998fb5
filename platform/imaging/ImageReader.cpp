#include "platform/imaging/ImageReader.h"

#include "platform/imaging/CoreFileIo.h"
#include "platform/imaging/CoreProgress.h"
#include "platform/imaging/FilterHost.h"

#include <QImageReader>

#include <tiffio.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <vector>

namespace {

// Images beyond this many pixels are refused rather than allocated.
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 28;

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const std::string& path, std::size_t limit)
{
    std::ifstream in(path, std::ios::binary);
    Bytes bytes(limit);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(limit));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

std::uint32_t Be32(const std::uint8_t* p)
{
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

std::uint32_t Le32(const std::uint8_t* p)
{
    return std::uint32_t{p[3]} << 24 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
}

int PerInch(double perInch)
{
    return static_cast<int>(std::lround(perInch / 0.0254));
}

struct HeaderFacts
{
    int bitsPerPixel = 0;
    int xPpm = 0;
    int yPpm = 0;
};

// PNG: depth from IHDR, pixels per metre from pHYs when its unit is the metre.
HeaderFacts PngFacts(const std::string& path)
{
    HeaderFacts facts;
    std::ifstream in(path, std::ios::binary);
    std::uint8_t signature[8];
    if (!in.read(reinterpret_cast<char*>(signature), 8))
        return facts;
    for (;;) {
        std::uint8_t head[8];
        if (!in.read(reinterpret_cast<char*>(head), 8))
            break;
        const std::uint32_t length = Be32(head);
        const std::string type(reinterpret_cast<const char*>(head + 4), 4);
        if (type == "IDAT" || type == "IEND" || length > (1u << 30))
            break;
        if (type == "IHDR" && length >= 13) {
            std::uint8_t data[13];
            if (!in.read(reinterpret_cast<char*>(data), 13))
                break;
            const int depth = std::min<int>(data[8], 8);
            const int channels = data[9] == 2 ? 3 : data[9] == 4 ? 2 : data[9] == 6 ? 4 : 1;
            facts.bitsPerPixel = depth * channels;
            in.seekg(length - 13 + 4, std::ios::cur);
        } else if (type == "pHYs" && length >= 9) {
            std::uint8_t data[9];
            if (!in.read(reinterpret_cast<char*>(data), 9))
                break;
            if (data[8] == 1) {
                facts.xPpm = static_cast<int>(std::min<std::uint32_t>(Be32(data), INT32_MAX));
                facts.yPpm = static_cast<int>(std::min<std::uint32_t>(Be32(data + 4), INT32_MAX));
            }
            in.seekg(length - 9 + 4, std::ios::cur);
        } else {
            in.seekg(static_cast<std::streamoff>(length) + 4, std::ios::cur);
        }
    }
    return facts;
}

HeaderFacts BmpFacts(const Bytes& head)
{
    HeaderFacts facts;
    if (head.size() < 18)
        return facts;
    const std::uint32_t headerSize = Le32(head.data() + 14);
    if (headerSize == 12 && head.size() >= 26) {
        facts.bitsPerPixel = head[24] | head[25] << 8;
    } else if (headerSize >= 40 && head.size() >= 54) {
        facts.bitsPerPixel = head[28] | head[29] << 8;
        facts.xPpm = static_cast<int>(Le32(head.data() + 38));
        facts.yPpm = static_cast<int>(Le32(head.data() + 42));
    }
    return facts;
}

// JPEG: JFIF density, components of the frame.
HeaderFacts JpegFacts(const Bytes& head)
{
    HeaderFacts facts{24, 0, 0};
    std::size_t at = 2;
    while (at + 4 <= head.size()) {
        if (head[at] != 0xFF)
            break;
        const std::uint8_t marker = head[at + 1];
        const std::size_t length = static_cast<std::size_t>(head[at + 2] << 8 | head[at + 3]);
        if (length < 2 || at + 2 + length > head.size())
            break;
        const std::uint8_t* data = head.data() + at + 4;
        if (marker == 0xE0 && length >= 16 && std::memcmp(data, "JFIF\0", 5) == 0) {
            const int unit = data[7];
            const int x = data[8] << 8 | data[9];
            const int y = data[10] << 8 | data[11];
            if (unit == 1) {
                facts.xPpm = PerInch(x);
                facts.yPpm = PerInch(y);
            } else if (unit == 2) {
                facts.xPpm = x * 100;
                facts.yPpm = y * 100;
            }
        } else if ((marker >= 0xC0 && marker <= 0xC3) && length >= 8) {
            facts.bitsPerPixel = data[5] == 1 ? 8 : 24;
            break;
        } else if (marker == 0xDA) {
            break;
        }
        at += 2 + length;
    }
    return facts;
}

HeaderFacts GifFacts(const Bytes& head)
{
    HeaderFacts facts{8, 0, 0};
    if (head.size() >= 11 && (head[10] & 0x80)) {
        const int bits = (head[10] & 7) + 1;
        facts.bitsPerPixel = bits == 1 ? 1 : bits <= 4 ? 4 : 8;
    }
    return facts;
}

bool ReadWithQt(const std::string& path, ImageFileFormat format, PictraImage* image)
{
    const Bytes head = ReadFile(path, 64 * 1024);
    HeaderFacts facts;
    switch (format) {
    case ImageFileFormat::Png:
        facts = PngFacts(path);
        break;
    case ImageFileFormat::Bmp:
        facts = BmpFacts(head);
        break;
    case ImageFileFormat::Jpeg:
        facts = JpegFacts(head);
        break;
    case ImageFileFormat::Gif:
        facts = GifFacts(head);
        break;
    default:
        return false;
    }
    QImageReader reader(QString::fromStdString(path));
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (size.isValid() && std::int64_t{size.width()} * size.height() > kMaxPixels)
        return false;
    const QImage decoded = reader.read();
    if (decoded.isNull())
        return false;
    if (facts.bitsPerPixel <= 0)
        facts.bitsPerPixel = decoded.depth() >= 24 ? 24 : decoded.depth();
    if (facts.bitsPerPixel > 8 && facts.bitsPerPixel != 32 && !decoded.hasAlphaChannel())
        facts.bitsPerPixel = 24;
    image->pixels = NormalisePixels(decoded, facts.bitsPerPixel);
    image->bitsPerPixel = facts.bitsPerPixel;
    image->xPixelsPerMetre = facts.xPpm;
    image->yPixelsPerMetre = facts.yPpm;
    image->pageCount = 1;
    return !image->pixels.isNull();
}

void SilenceLibtiff()
{
    static const bool done = [] {
        TIFFSetWarningHandler(nullptr);
        TIFFSetErrorHandler(nullptr);
        return true;
    }();
    (void)done;
}

bool ReadTiff(const std::string& path, int page, PictraImage* image)
{
    SilenceLibtiff();
    std::unique_ptr<TIFF, void (*)(TIFF*)> tif(TIFFOpen(path.c_str(), "r"), TIFFClose);
    if (!tif)
        return false;
    const int pages = TIFFNumberOfDirectories(tif.get());
    if (page < 0 || page >= pages || !TIFFSetDirectory(tif.get(), static_cast<tdir_t>(page)))
        return false;
    std::uint32_t width = 0, height = 0;
    std::uint16_t bps = 1, spp = 1, photometric = PHOTOMETRIC_MINISWHITE;
    TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_BITSPERSAMPLE, &bps);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_SAMPLESPERPIXEL, &spp);
    TIFFGetField(tif.get(), TIFFTAG_PHOTOMETRIC, &photometric);
    if (width == 0 || height == 0 || width > INT32_MAX || height > INT32_MAX
        || std::int64_t{width} * height > kMaxPixels)
        return false;

    QImage decoded;
    int bits = std::min<int>(bps, 8) * spp;
    if (bps == 1 && spp == 1) {
        decoded = QImage(static_cast<int>(width), static_cast<int>(height), QImage::Format_Mono);
        if (decoded.isNull())
            return false;
        const bool whiteIsZero = photometric == PHOTOMETRIC_MINISWHITE;
        decoded.setColorTable(whiteIsZero ? QList<QRgb>{qRgb(255, 255, 255), qRgb(0, 0, 0)}
                                          : QList<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)});
        if (TIFFScanlineSize(tif.get()) > decoded.bytesPerLine())
            return false;
        for (std::uint32_t y = 0; y < height; ++y)
            if (TIFFReadScanline(tif.get(), decoded.scanLine(static_cast<int>(y)), y, 0) != 1)
                return false;
        bits = 1;
    } else {
        std::vector<std::uint32_t> raster(static_cast<std::size_t>(width) * height);
        if (!TIFFReadRGBAImageOriented(tif.get(), width, height, raster.data(), ORIENTATION_TOPLEFT, 0))
            return false;
        decoded = QImage(static_cast<int>(width), static_cast<int>(height), QImage::Format_ARGB32);
        if (decoded.isNull())
            return false;
        bool alpha = false;
        for (std::uint32_t y = 0; y < height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(decoded.scanLine(static_cast<int>(y)));
            for (std::uint32_t x = 0; x < width; ++x) {
                const std::uint32_t p = raster[static_cast<std::size_t>(y) * width + x];
                line[x] = qRgba(static_cast<int>(TIFFGetR(p)), static_cast<int>(TIFFGetG(p)),
                                static_cast<int>(TIFFGetB(p)), static_cast<int>(TIFFGetA(p)));
                alpha = alpha || TIFFGetA(p) != 255;
            }
        }
        if (!alpha)
            decoded = decoded.convertToFormat(QImage::Format_RGB32);
        if (photometric == PHOTOMETRIC_PALETTE)
            bits = std::min<int>(bps, 8);
        else if (bits > 8)
            bits = alpha ? 32 : 24;
    }

    float xres = 0, yres = 0;
    std::uint16_t unit = RESUNIT_INCH;
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_RESOLUTIONUNIT, &unit);
    const bool hasX = TIFFGetField(tif.get(), TIFFTAG_XRESOLUTION, &xres) == 1;
    const bool hasY = TIFFGetField(tif.get(), TIFFTAG_YRESOLUTION, &yres) == 1;
    auto perMetre = [unit](bool has, float value) {
        if (!has || !(value > 0) || value > 1e6f)
            return 0;
        if (unit == RESUNIT_INCH)
            return PerInch(value);
        if (unit == RESUNIT_CENTIMETER)
            return static_cast<int>(std::lround(value * 100.0));
        return 0;
    };
    image->pixels = NormalisePixels(decoded, bits);
    image->bitsPerPixel = bits;
    image->xPixelsPerMetre = perMetre(hasX, xres);
    image->yPixelsPerMetre = perMetre(hasY, yres);
    image->pageCount = pages;
    image->page = page;
    return !image->pixels.isNull();
}

bool ReadMmr(const std::string& path, int page, PictraImage* image)
{
    const ImportFilter* filter = FilterHost::Instance().Import("MMR");
    if (!filter)
        return false;
    const IoCallbacks& io = CoreFileIo::Callbacks();
    FilterFileHandle file = 0;
    if (io.open(path.c_str(), kFilterOpenRead, &file) != 1)
        return false;
    FilterStateHandle state = nullptr;
    if (filter->initImage(path.c_str(), &state, file, 0, 0, &io) != 1 || !state)
        return false; // the filter closed the file
    struct Closer
    {
        const ImportFilter* filter;
        FilterStateHandle state;
        ~Closer() { filter->closeImage(state); }
    } closer{filter, state};

    ImportImageInfo info{};
    if (filter->buildHeader(state, &info) != 1)
        return false;
    const int pages = info.pageCount;
    std::free(info.bitmapHeader);
    if (page < 0 || page >= pages || filter->setPage(state, page) != 1)
        return false;
    info = ImportImageInfo{};
    if (filter->buildHeader(state, &info) != 1 || !info.bitmapHeader)
        return false;
    const BitmapInfoHeader header = *info.bitmapHeader;
    const QList<QRgb> colours = [&] {
        const RgbQuad* p = BitmapPalette(info.bitmapHeader);
        return QList<QRgb>{qRgb(p[0].rgbRed, p[0].rgbGreen, p[0].rgbBlue),
                           qRgb(p[1].rgbRed, p[1].rgbGreen, p[1].rgbBlue)};
    }();
    std::free(info.bitmapHeader);
    if (header.biBitCount != 1 || info.width <= 0 || info.height <= 0
        || std::int64_t{info.width} * info.height > kMaxPixels)
        return false;

    // The filter's rows, bottom row first, go straight into the image, whose
    // lines are as long, and are turned top first in place: one page-sized
    // block, not two.
    const std::int64_t rowBytes = BitmapRowBytes(1, info.width);
    QImage decoded(info.width, info.height, QImage::Format_Mono);
    if (decoded.isNull() || decoded.bytesPerLine() != rowBytes)
        return false;
    const CoreProgress& registered = CoreProgress::Current();
    ImportProgressBlock progress{};
    progress.callback = registered.callback;
    progress.step = registered.step;
    progress.total = rowBytes * info.height;
    progress.userData = registered.userData;
    std::uint8_t* const bits = decoded.bits();
    if (filter->setRow(state, 0) != 1 || filter->readRows(state, bits, info.height, rowBytes, 0, &progress) != 1)
        return false;
    const std::size_t lineBytes = static_cast<std::size_t>(rowBytes);
    std::vector<std::uint8_t> line(lineBytes);
    for (int top = 0, bottom = info.height - 1; top < bottom; ++top, --bottom) {
        std::uint8_t* const upper = bits + static_cast<std::size_t>(top) * lineBytes;
        std::uint8_t* const lower = bits + static_cast<std::size_t>(bottom) * lineBytes;
        std::memcpy(line.data(), upper, lineBytes);
        std::memcpy(upper, lower, lineBytes);
        std::memcpy(lower, line.data(), lineBytes);
    }
    decoded.setColorTable(colours);
    image->pixels = std::move(decoded);
    image->bitsPerPixel = 1;
    image->xPixelsPerMetre = header.biXPelsPerMeter;
    image->yPixelsPerMetre = header.biYPelsPerMeter;
    image->pageCount = pages;
    image->page = page;
    return true;
}

} // namespace

ImageFileFormat ImageReader::Detect(const std::string& path)
{
    const Bytes head = ReadFile(path, 16);
    auto starts = [&](std::initializer_list<std::uint8_t> bytes) {
        return head.size() >= bytes.size() && std::equal(bytes.begin(), bytes.end(), head.begin());
    };
    if (starts({'B', 'M'}))
        return ImageFileFormat::Bmp;
    if (starts({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}))
        return ImageFileFormat::Png;
    if (starts({0xFF, 0xD8, 0xFF}))
        return ImageFileFormat::Jpeg;
    if (starts({'G', 'I', 'F', '8'}))
        return ImageFileFormat::Gif;
    if (starts({'I', 'I', 42, 0}) || starts({'M', 'M', 0, 42}) || starts({'I', 'I', 43, 0})
        || starts({'M', 'M', 0, 43}))
        return ImageFileFormat::Tiff;
    if (const ImportFilter* mmr = FilterHost::Instance().Import("MMR");
        mmr && mmr->verify(head.data(), static_cast<std::int64_t>(head.size()), 0) == 1)
        return ImageFileFormat::Mmr;
    return ImageFileFormat::None;
}

bool ImageReader::Read(const std::string& path, int page, PictraImage* image)
{
    const ImageFileFormat format = Detect(path);
    bool ok = false;
    switch (format) {
    case ImageFileFormat::None:
        return false;
    case ImageFileFormat::Tiff:
        ok = ReadTiff(path, page, image);
        break;
    case ImageFileFormat::Mmr:
        ok = ReadMmr(path, page, image);
        break;
    default:
        ok = page == 0 && ReadWithQt(path, format, image);
        break;
    }
    if (!ok)
        return false;
    image->path = path;
    image->format = format;
    image->page = page;
    image->RebuildInfo();
    return true;
}
