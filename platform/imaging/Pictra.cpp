#include "platform/imaging/Pictra.h"

#include "platform/imaging/CoreProgress.h"
#include "platform/imaging/FilterHost.h"
#include "platform/imaging/ImageReader.h"
#include "platform/imaging/ImageWriter.h"
#include "platform/imaging/PictraImage.h"

#include <QPainter>
#include <QTransform>

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <new>

namespace {

// Images made in memory or by conversions may hold at most this many pixels.
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 28;

// The original text of each option block: FILENAME is taken from it with its
// case, since the block itself holds everything upper-cased.
std::mutex g_optionTextsMutex;
std::map<OptionBlockHandle, std::string> g_optionTexts;

PtImage NewImage(const QImage& pixels, int bitsPerPixel, const PictraImage& like)
{
    if (pixels.isNull())
        return nullptr;
    auto* image = new (std::nothrow) PictraImage;
    if (!image)
        return nullptr;
    image->pixels = pixels;
    image->bitsPerPixel = bitsPerPixel;
    image->xPixelsPerMetre = like.xPixelsPerMetre;
    image->yPixelsPerMetre = like.yPixelsPerMetre;
    image->RebuildInfo();
    return image;
}

// Scaling and turning may hand back another pixel format; bring it back to
// the source's, so a 1-bit image stays 1-bit with its palette.
QImage KeepFormat(const QImage& result, const QImage& source)
{
    if (result.format() == source.format())
        return result;
    if (source.format() == QImage::Format_Mono || source.format() == QImage::Format_Indexed8)
        return result.convertToFormat(source.format(), source.colorTable(), Qt::ThresholdDither | Qt::AvoidDither);
    return result.convertToFormat(source.format());
}

void AddPair(std::string& list, const char* text, const char* pattern)
{
    list.append(text);
    list.push_back('\0');
    list.append(pattern);
    list.push_back('\0');
}

// FILENAME's value from the text as given: found the way the filters look
// keys up (upper-cased, first occurrence), taken with its own case.
std::string OriginalFileName(const std::string& text)
{
    std::string upper = text;
    for (char& c : upper)
        c = kwvd::filters::OptionUpper(c);
    const char key[] = "FILENAME";
    const std::size_t at = kwvd::filters::FindOptionKey(upper.c_str(), upper.size(), key, sizeof key - 1);
    if (at == static_cast<std::size_t>(-1))
        return {};
    const std::size_t begin = std::min(text.size(), at + sizeof key - 1 + 3);
    const std::size_t end = text.find('\r', begin);
    return text.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

} // namespace

extern "C" {

KWVD_PICTRA_EXPORT int PtStartup(void)
{
    return 1;
}

KWVD_PICTRA_EXPORT void PtShutdown(void)
{
    FilterHost::Instance().UnloadAll();
}

KWVD_PICTRA_EXPORT void PtSetProgressCallback(PtProgressCallback callback, std::int32_t step, void* userData)
{
    CoreProgress& progress = CoreProgress::Current();
    progress.callback = callback;
    progress.step = step;
    progress.userData = userData;
}

KWVD_PICTRA_EXPORT char* PtImportFilterList(std::size_t* size)
{
    std::string list;
    AddPair(list, "Tag Image File Format (*.tif)", "*.tif;*.tiff");
    AddPair(list, "Windows Bitmap (*.bmp)", "*.bmp");
    AddPair(list, "PNG Images (*.png)", "*.png");
    AddPair(list, "JPEG (*.jpg)", "*.jpg;*.jpeg");
    AddPair(list, "Compuserve GIF (*.gif)", "*.gif");
    if (FilterHost::Instance().Import("MMR"))
        AddPair(list, "IBM mmr Images (*.mmr)", "*.mmr");
    list.push_back('\0');
    char* block = static_cast<char*>(std::malloc(list.size()));
    if (!block)
        return nullptr;
    std::memcpy(block, list.data(), list.size());
    if (size)
        *size = list.size();
    return block;
}

KWVD_PICTRA_EXPORT std::size_t PtExportFormatList(char* buffer, std::size_t size)
{
    std::string list;
    auto add = [&list](const std::string& extension) {
        char entry[6] = {0, 0, 0, 0, 0, 0};
        std::memcpy(entry + 2, extension.data(), std::min<std::size_t>(3, extension.size()));
        list.append(entry, 6);
    };
    add("TIF");
    add("MMR");
    for (const char* type : {"QDX", "PNG"})
        if (const ExportFilter* filter = FilterHost::Instance().Export(type))
            add(filter->extension);
    if (!buffer)
        return list.size();
    const std::size_t n = std::min(size, list.size());
    std::memcpy(buffer, list.data(), n);
    return n;
}

KWVD_PICTRA_EXPORT void PtFreeBlock(void* block)
{
    std::free(block);
}

KWVD_PICTRA_EXPORT PtImage PtOpenImage(const char* path)
{
    if (!path)
        return nullptr;
    auto image = std::make_unique<PictraImage>();
    if (!ImageReader::Read(path, 0, image.get()))
        return nullptr;
    return image.release();
}

KWVD_PICTRA_EXPORT PtImage PtImageFromBitmap(const void* block, std::size_t size)
{
    if (!block || size < sizeof(BitmapInfoHeader))
        return nullptr;
    BitmapInfoHeader header;
    std::memcpy(&header, block, sizeof header);
    const int depth = header.biBitCount;
    if (header.biSize < sizeof header || header.biSize > size || header.biWidth <= 0 || header.biHeight == 0
        || header.biHeight == INT32_MIN || header.biCompression != 0
        || (depth != 1 && depth != 4 && depth != 8 && depth != 24 && depth != 32))
        return nullptr;
    const std::int64_t width = header.biWidth;
    const std::int64_t height = header.biHeight < 0 ? -std::int64_t{header.biHeight} : header.biHeight;
    if (width * height > kMaxPixels)
        return nullptr;
    const std::int64_t entries = BitmapPaletteEntries(header);
    if (entries < 0)
        return nullptr;
    const std::int64_t rowBytes = BitmapRowBytes(depth, width);
    const std::uint64_t needed =
        header.biSize + static_cast<std::uint64_t>(entries) * 4 + static_cast<std::uint64_t>(rowBytes * height);
    if (needed > size)
        return nullptr;
    const auto* bytes = static_cast<const std::uint8_t*>(block);
    const auto* palette = bytes + header.biSize;
    const auto* bits = palette + entries * 4;

    QImage pixels;
    if (depth <= 8) {
        pixels = QImage(static_cast<int>(width), static_cast<int>(height),
                        depth == 1 ? QImage::Format_Mono : QImage::Format_Indexed8);
        if (pixels.isNull())
            return nullptr;
        QList<QRgb> table;
        for (std::int64_t i = 0; i < entries; ++i)
            table.append(qRgb(palette[4 * i + 2], palette[4 * i + 1], palette[4 * i]));
        // Indices beyond a short palette would read past it in Qt.
        while (table.size() < (1 << depth))
            table.append(qRgb(0, 0, 0));
        pixels.setColorTable(table);
    } else {
        pixels = QImage(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
        if (pixels.isNull())
            return nullptr;
    }
    for (std::int64_t y = 0; y < height; ++y) {
        const std::int64_t stored = header.biHeight < 0 ? y : height - 1 - y;
        const std::uint8_t* in = bits + stored * rowBytes;
        std::uint8_t* out = pixels.scanLine(static_cast<int>(y));
        if (depth == 1) {
            std::memcpy(out, in, static_cast<std::size_t>((width + 7) / 8));
        } else if (depth == 4) {
            for (std::int64_t x = 0; x < width; ++x)
                out[x] = static_cast<std::uint8_t>(x % 2 ? in[x / 2] & 0x0F : in[x / 2] >> 4);
        } else if (depth == 8) {
            std::memcpy(out, in, static_cast<std::size_t>(width));
        } else {
            auto* rgb = reinterpret_cast<QRgb*>(out);
            const int step = depth / 8;
            for (std::int64_t x = 0; x < width; ++x)
                rgb[x] = qRgb(in[step * x + 2], in[step * x + 1], in[step * x]);
        }
    }
    PictraImage like;
    like.xPixelsPerMetre = header.biXPelsPerMeter;
    like.yPixelsPerMetre = header.biYPelsPerMeter;
    return NewImage(pixels, depth, like);
}

KWVD_PICTRA_EXPORT void PtFreeImage(PtImage image)
{
    delete image;
}

KWVD_PICTRA_EXPORT const BitmapInfoHeader* PtImageInfo(PtImage image, std::uint32_t* flags)
{
    if (flags)
        *flags = 0;
    return image ? image->Header() : nullptr;
}

KWVD_PICTRA_EXPORT int PtPageCount(PtImage image, std::int32_t* count)
{
    if (!image || !count)
        return 0;
    *count = image->pageCount;
    return 1;
}

KWVD_PICTRA_EXPORT int PtSetPage(PtImage image, std::int32_t page)
{
    if (!image || page < 0 || page >= image->pageCount)
        return 0;
    if (page == image->page)
        return 1;
    if (image->path.empty())
        return 0;
    PictraImage next;
    if (!ImageReader::Read(image->path, page, &next))
        return 0;
    *image = std::move(next);
    return 1;
}

KWVD_PICTRA_EXPORT int PtGetPage(PtImage image, std::int32_t* page)
{
    if (!image || !page)
        return 0;
    *page = image->page;
    return 1;
}

KWVD_PICTRA_EXPORT int PtPalette(PtImage image, RgbQuad* entries, int capacity)
{
    if (!image)
        return 0;
    const BitmapInfoHeader* header = image->Header();
    const int count = static_cast<int>(header->biClrUsed);
    const RgbQuad* palette = BitmapPalette(header);
    for (int i = 0; entries && i < count && i < capacity; ++i)
        entries[i] = palette[i];
    return count;
}

KWVD_PICTRA_EXPORT PtImage PtReduceColours(PtImage image, std::uint64_t colours, std::int32_t)
{
    if (!image || colours < 2)
        return nullptr;
    if (colours == 2)
        return NewImage(ToBlackAndWhite(image->pixels), 1, *image);
    if (colours <= 16)
        return NewImage(ToIndexed(image->pixels, 16), 4, *image);
    if (colours <= 256)
        return NewImage(ToIndexed(image->pixels, 256), 8, *image);
    return NewImage(FlattenOntoWhite(image->pixels), 24, *image);
}

KWVD_PICTRA_EXPORT PtImage PtResize(PtImage image, std::int32_t width, std::int32_t height, const PtRect* source,
                                    std::int32_t)
{
    if (!image || width <= 0 || height <= 0 || std::int64_t{width} * height > kMaxPixels)
        return nullptr;
    QRect part = image->pixels.rect();
    if (source) {
        if (source->left < 0 || source->top < 0 || source->right < source->left || source->bottom < source->top
            || source->right >= image->pixels.width() || source->bottom >= image->pixels.height())
            return nullptr;
        part = QRect(QPoint(source->left, source->top), QPoint(source->right, source->bottom));
    }
    const QImage& pixels = image->pixels;
    const bool smooth = pixels.format() != QImage::Format_Mono && pixels.format() != QImage::Format_Indexed8;
    const QImage scaled = pixels.copy(part).scaled(width, height, Qt::IgnoreAspectRatio,
                                                   smooth ? Qt::SmoothTransformation : Qt::FastTransformation);
    return NewImage(KeepFormat(scaled, pixels), image->bitsPerPixel, *image);
}

KWVD_PICTRA_EXPORT PtImage PtRotate(PtImage image, std::int32_t degrees, std::int32_t)
{
    if (!image || degrees % 90 != 0)
        return nullptr;
    QTransform turn;
    turn.rotate(-(degrees % 360)); // counter-clockwise on screen
    const QImage turned = image->pixels.transformed(turn, Qt::FastTransformation);
    return NewImage(KeepFormat(turned, image->pixels), image->bitsPerPixel, *image);
}

KWVD_PICTRA_EXPORT int PtDrawImage(PtImage image, QPainter* painter, const PtRect* destination, const PtRect* source)
{
    if (!image || !painter || !destination)
        return 0;
    const QRectF target(destination->left, destination->top, destination->right - destination->left + 1,
                        destination->bottom - destination->top + 1);
    QRectF part(image->pixels.rect());
    if (source)
        part = QRectF(source->left, source->top, source->right - source->left + 1, source->bottom - source->top + 1);
    painter->save();
    painter->setBackground(Qt::white);
    if (image->pixels.hasAlphaChannel())
        painter->fillRect(target, Qt::white);
    painter->drawImage(target, image->pixels, part);
    painter->restore();
    return 1;
}

KWVD_PICTRA_EXPORT OptionBlockHandle PtOptionBlockFromText(const char* text)
{
    OptionBlockHandle block = kwvd::filters::OptionBlockCreate(text);
    if (block && text) {
        std::lock_guard<std::mutex> lock(g_optionTextsMutex);
        g_optionTexts[block] = text;
    }
    return block;
}

KWVD_PICTRA_EXPORT void PtFreeOptionBlock(OptionBlockHandle block)
{
    if (!block)
        return;
    {
        std::lock_guard<std::mutex> lock(g_optionTextsMutex);
        g_optionTexts.erase(block);
    }
    kwvd::filters::OptionBlockFree(block);
}

KWVD_PICTRA_EXPORT int ImgXOptBlkGet(OptionBlockHandle block, const char* key, char* value, std::size_t valueSize)
{
    return kwvd::filters::OptionBlockGet(block, key, value, valueSize);
}

KWVD_PICTRA_EXPORT int PtSaveImage(PtImage image, OptionBlockHandle options)
{
    if (!image || !options)
        return 0;
    std::string fileName;
    {
        std::lock_guard<std::mutex> lock(g_optionTextsMutex);
        if (auto it = g_optionTexts.find(options); it != g_optionTexts.end())
            fileName = OriginalFileName(it->second);
    }
    if (fileName.empty()) {
        char name[4096];
        if (kwvd::filters::OptionBlockGet(options, "FILENAME", name, sizeof name) == kOptionFound)
            fileName = name;
    }
    try {
        return ImageWriter::Save(*image, options, fileName) ? 1 : 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

} // extern "C"
