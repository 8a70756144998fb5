// PT31XPNG driven as the core drives it, its output read back with libpng and
// its IDAT inflated with zlib to see the row filters.

#include "tests/support/FilterTestHost.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace filtertest;

namespace {

class PngFilter : public ::testing::Test
{
protected:
    void SetUp() override
    {
        HostFiles::Reset();
        Errors().clear();
        info = CoreInfo();
        ext = module.Entry<PTXDLget_ext_fn>("PTXDLget_ext")(&info);
        begin = module.Entry<PTXDLbegin_write_fn>("PTXDLbegin_write");
        write = module.Entry<PTXDLwrite_block_fn>("PTXDLwrite_block");
        end = module.Entry<PTXDLend_write_fn>("PTXDLend_write");
    }
    void TearDown() override { HostFiles::Reset(); }

    // The whole export as the core runs it; true when every entry succeeded.
    bool Export(TestBitmap& bitmap, const std::string& path, const std::string& options,
                ExportProgressBlock* progress = nullptr)
    {
        const IoCallbacks io = HostFiles::Callbacks();
        auto block = Options(options);
        std::int32_t flags = 0;
        FilterStateHandle state = begin(path.c_str(), &io, "context", bitmap.Header(), block.get(), &flags);
        EXPECT_EQ(flags, 248);
        if (!state)
            return false;
        if (write(state, bitmap.height, bitmap.bytesPerRow, bitmap.rows.data(), progress) != 1)
            return false;
        return end(state, 0) == 1;
    }

    FilterModule module{"PT31XPNG.so"};
    FilterInfo info{};
    const char* ext = nullptr;
    PTXDLbegin_write_fn begin = nullptr;
    PTXDLwrite_block_fn write = nullptr;
    PTXDLend_write_fn end = nullptr;
};

struct Chunk
{
    std::string type;
    std::vector<std::uint8_t> data;
};

std::uint32_t Be32(const std::uint8_t* p)
{
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

std::vector<Chunk> Chunks(const std::vector<std::uint8_t>& png)
{
    std::vector<Chunk> chunks;
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        const std::uint32_t length = Be32(&png[at]);
        if (length > png.size() - at - 12)
            break;
        chunks.push_back({std::string(png.begin() + at + 4, png.begin() + at + 8),
                          std::vector<std::uint8_t>(png.begin() + at + 8, png.begin() + at + 8 + length)});
        at += 12 + length;
    }
    return chunks;
}

std::vector<std::uint8_t> Idat(const std::vector<Chunk>& chunks)
{
    std::vector<std::uint8_t> data;
    for (const auto& c : chunks)
        if (c.type == "IDAT")
            data.insert(data.end(), c.data.begin(), c.data.end());
    return data;
}

std::vector<std::uint8_t> Inflate(const std::vector<std::uint8_t>& data, std::size_t size)
{
    std::vector<std::uint8_t> out(size);
    uLongf outSize = size;
    EXPECT_EQ(uncompress(out.data(), &outSize, data.data(), data.size()), Z_OK);
    out.resize(outSize);
    return out;
}

// The filter byte of every row of an inflated IDAT stream.
std::vector<int> RowFilters(const std::vector<std::uint8_t>& raw, std::size_t rowBytes, int height)
{
    std::vector<int> filters;
    for (int y = 0; y < height && (y + 1) * (rowBytes + 1) <= raw.size(); ++y)
        filters.push_back(raw[y * (rowBytes + 1)]);
    return filters;
}

// The image decoded by libpng as 8-bit RGB, top row first.
std::vector<std::uint8_t> DecodeRgb(const std::string& path, int* width, int* height)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr))
        return {};
    *width = static_cast<int>(image.width);
    *height = static_cast<int>(image.height);
    return pixels;
}

// What the bitmap shows, as RGB top row first.
std::vector<std::uint8_t> ExpectedRgb(TestBitmap& bitmap, const std::vector<RgbQuad>& palette)
{
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < bitmap.height; ++y) {
        const std::uint8_t* row = bitmap.Row(y);
        for (int x = 0; x < bitmap.width; ++x) {
            if (bitmap.bits == 24) {
                rgb.insert(rgb.end(), {row[x * 3 + 2], row[x * 3 + 1], row[x * 3]});
            } else {
                const int bit = x * bitmap.bits;
                const int index = (row[bit / 8] >> (8 - bitmap.bits - bit % 8)) & ((1 << bitmap.bits) - 1);
                const RgbQuad q = palette.at(index);
                rgb.insert(rgb.end(), {q.rgbRed, q.rgbGreen, q.rgbBlue});
            }
        }
    }
    return rgb;
}

void FillRandom(TestBitmap& bitmap, int paletteSize, unsigned seed)
{
    std::mt19937 random(seed);
    for (int y = 0; y < bitmap.height; ++y)
        for (int x = 0; x < bitmap.width; ++x) {
            if (bitmap.bits == 24)
                bitmap.SetRgb(x, y, random() & 0xFF, random() & 0xFF, random() & 0xFF);
            else if (paletteSize > 0)
                bitmap.SetIndex(x, y, static_cast<int>(random() % paletteSize));
        }
}

std::vector<RgbQuad> Colours(int count)
{
    std::vector<RgbQuad> palette;
    for (int i = 0; i < count; ++i)
        palette.push_back({static_cast<std::uint8_t>(i * 7), static_cast<std::uint8_t>(255 - i),
                           static_cast<std::uint8_t>(i * 3 + 1), 0});
    return palette;
}

std::vector<RgbQuad> GreyButOne(int bits)
{
    auto palette = GreyRamp(bits);
    palette[5].rgbBlue = static_cast<std::uint8_t>(palette[5].rgbBlue + 1);
    return palette;
}

} // namespace

TEST_F(PngFilter, ReportsItsExtensionCapabilitiesAndVersion)
{
    EXPECT_STREQ(ext, "PNG;PNG Images (*.png)");
    EXPECT_EQ(info.capabilities, 248);
    EXPECT_STREQ(module.Entry<PTXDLget_ver_fn>("PTXDLget_ver")(), "1.00");
}

TEST_F(PngFilter, WritesTheHeaderFiltersPaletteAndPixelsTheBitmapAsks)
{
    struct Case
    {
        const char* name;
        int bits;
        std::vector<RgbQuad> palette;
        std::uint32_t clrUsed;
        const char* options;
        int colourType;
        int depth;
        int paletteEntries; // in PLTE; 0 for none
        int rowFilter;      // every row; -1 for the library's choice
        int zlibLevel;      // FLEVEL of the zlib header; -1 not checked
    };
    const Case cases[] = {
        {"grey ramp 8 bit", 8, GreyRamp(8), 256, "", 0, 8, 0, -1, 2},
        {"one entry not grey", 8, GreyButOne(8), 256, "", 3, 8, 256, 0, -1},
        {"grey ramp with colour count 0", 8, GreyRamp(8), 0, "", 3, 8, 256, 0, -1},
        {"4 bit paeth below depth 8", 4, GreyRamp(4), 16, "\rPNG_FILTER = PAETH", 0, 4, 0, 0, -1},
        {"4 bit palette", 4, Colours(16), 16, "", 3, 4, 16, 0, -1},
        {"palette with sub stays 0", 8, Colours(256), 256, "\rPNG_FILTER = SUB", 3, 8, 256, 0, -1},
        {"1 bit black white is grey", 1, GreyRamp(1), 2, "", 0, 1, 0, 0, -1},
        {"1 bit white black is palette", 1, {{255, 255, 255, 0}, {0, 0, 0, 0}}, 2, "", 3, 1, 2, 0, -1},
        {"short palette", 8, Colours(20), 20, "", 3, 8, 20, 0, -1},
        {"24 bit up", 24, {}, 0, "\rPNG_FILTER = UP", 2, 8, 0, 2, -1},
        {"24 bit none", 24, {}, 0, "\rPNG_FILTER = NONE", 2, 8, 0, 0, -1},
        {"24 bit sub", 24, {}, 0, "\rPNG_FILTER = SUB", 2, 8, 0, 1, -1},
        {"24 bit average", 24, {}, 0, "\rPNG_FILTER = AVERAGE", 2, 8, 0, 3, -1},
        {"24 bit paeth lower case", 24, {}, 0, "\rpng_filter = paeth", 2, 8, 0, 4, -1},
        {"24 bit suggested palette", 24, Colours(4), 4, "", 2, 8, 4, -1, -1},
        {"compress maximum", 24, {}, 0, "\rPNG_COMPRESS = MAXIMUM", 2, 8, 0, -1, 3},
        {"compress none", 24, {}, 0, "\rPNG_COMPRESS = NONE\rPNG_FILTER = NONE", 2, 8, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int width = 37;
        const int height = 11;
        TestBitmap bitmap(width, height, c.bits, c.palette, c.clrUsed);
        FillRandom(bitmap, c.clrUsed ? static_cast<int>(c.clrUsed) : (c.bits <= 8 ? 1 << c.bits : 0), 7);
        const std::string path = TempPath(std::string(c.name) + ".png");
        ASSERT_TRUE(Export(bitmap, path, c.options));
        EXPECT_TRUE(Errors().empty());
        EXPECT_EQ(HostFiles::openMode, 0x1000);

        const auto png = ReadFileBytes(path);
        const auto chunks = Chunks(png);
        ASSERT_FALSE(chunks.empty());
        ASSERT_EQ(chunks[0].type, "IHDR");
        EXPECT_EQ(Be32(&chunks[0].data[0]), static_cast<std::uint32_t>(width));
        EXPECT_EQ(Be32(&chunks[0].data[4]), static_cast<std::uint32_t>(height));
        EXPECT_EQ(chunks[0].data[8], c.depth);
        EXPECT_EQ(chunks[0].data[9], c.colourType);
        int plte = 0;
        for (const auto& chunk : chunks)
            if (chunk.type == "PLTE")
                plte = static_cast<int>(chunk.data.size() / 3);
        EXPECT_EQ(plte, c.paletteEntries);
        EXPECT_EQ(chunks.back().type, "IEND");

        const int samples = c.colourType == 2 ? 3 : 1;
        const std::size_t rowBytes = (samples * c.depth * width + 7) / 8;
        const auto idat = Idat(chunks);
        ASSERT_GE(idat.size(), 2u);
        if (c.zlibLevel >= 0) {
            EXPECT_EQ(idat[1] >> 6, c.zlibLevel);
        }
        const auto filters = RowFilters(Inflate(idat, (rowBytes + 1) * height), rowBytes, height);
        ASSERT_EQ(filters.size(), static_cast<std::size_t>(height));
        if (c.rowFilter >= 0) {
            for (int f : filters)
                EXPECT_EQ(f, c.rowFilter);
        }

        int w = 0;
        int h = 0;
        const auto decoded = DecodeRgb(path, &w, &h);
        ASSERT_EQ(w, width);
        ASSERT_EQ(h, height);
        EXPECT_EQ(decoded, ExpectedRgb(bitmap, c.palette));
    }
}

TEST_F(PngFilter, GreyImageKeepsThePaletteIndexesAsGreyValues)
{
    TestBitmap bitmap(4, 1, 8, GreyRamp(8), 256);
    const std::uint8_t values[] = {0, 1, 128, 255};
    for (int x = 0; x < 4; ++x)
        bitmap.SetIndex(x, 0, values[x]);
    const std::string path = TempPath("grey-indexes.png");
    ASSERT_TRUE(Export(bitmap, path, "\rPNG_FILTER = NONE"));
    const auto raw = Inflate(Idat(Chunks(ReadFileBytes(path))), 5);
    EXPECT_EQ(raw, (std::vector<std::uint8_t>{0, 0, 1, 128, 255}));
}

TEST_F(PngFilter, NamesTheSoftwareInAnUncompressedTextChunk)
{
    TestBitmap bitmap(3, 2, 24);
    const std::string path = TempPath("text.png");
    ASSERT_TRUE(Export(bitmap, path, ""));
    std::vector<std::uint8_t> text;
    for (const auto& chunk : Chunks(ReadFileBytes(path)))
        if (chunk.type == "tEXt")
            text = chunk.data;
    const std::string expected("Software\0Written by Pictra from Halvix, Inc.", 44);
    EXPECT_EQ(std::string(text.begin(), text.end()), expected);
}

TEST_F(PngFilter, ReportsProgressPerRowUpToTheWhole)
{
    TestBitmap bitmap(10, 8, 24);
    std::vector<int> percents;
    ExportProgressBlock progress{};
    progress.total = bitmap.bytesPerRow * bitmap.height;
    progress.step = 0;
    progress.userData = &percents;
    progress.callback = [](int, int percent, void* user) {
        static_cast<std::vector<int>*>(user)->push_back(percent);
        return 1;
    };
    ASSERT_TRUE(Export(bitmap, TempPath("progress.png"), "", &progress));
    ASSERT_EQ(percents.size(), 8u);
    EXPECT_EQ(percents.front(), 12);
    EXPECT_EQ(percents.back(), 100);

    ExportProgressBlock empty = progress; // a total of 0 must not divide by zero
    empty.total = 0;
    empty.done = 0;
    percents.clear();
    EXPECT_TRUE(Export(bitmap, TempPath("progress0.png"), "", &empty));
}

TEST_F(PngFilter, FailuresReachTheCoreWithTheirCodes)
{
    struct Case
    {
        const char* name;
        bool failOpen;
        std::int64_t writeLimit;
        int bits;
        std::int64_t bytesPerRowCut; // bytes taken off each row handed over
        int rowsHeldBack;
        std::vector<int> codes;
    };
    const Case cases[] = {
        {"open fails", true, -1, 24, 0, 0, {1}},
        {"16 bit refused", false, -1, 16, 0, 0, {2}},
        {"short write in the header", false, 20, 24, 0, 0, {3, 2}},
        {"short write at the end", false, 100, 24, 0, 0, {3, 3}},
        {"rows too short", false, -1, 24, 8, 0, {3, 3}},
        {"rows missing at the end", false, -1, 24, 0, 1, {3, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Errors().clear();
        HostFiles::Reset();
        HostFiles::failOpen = c.failOpen;
        HostFiles::writeLimit = c.writeLimit;
        TestBitmap bitmap(40, 30, c.bits);
        FillRandom(bitmap, 0, 3);
        const std::string path = TempPath("fail.png");
        const IoCallbacks io = HostFiles::Callbacks();
        auto block = Options("");
        std::int32_t flags = 0;
        FilterStateHandle state = begin(path.c_str(), &io, "ctx", bitmap.Header(), block.get(), &flags);
        EXPECT_EQ(flags, 248);
        bool ok = state != nullptr;
        if (state) {
            const int rows = bitmap.height - c.rowsHeldBack;
            ok = write(state, rows, bitmap.bytesPerRow - c.bytesPerRowCut,
                       bitmap.rows.data() + c.rowsHeldBack * bitmap.bytesPerRow, nullptr)
                 == 1;
            if (ok)
                ok = end(state, 0) == 1;
        }
        EXPECT_FALSE(ok);
        std::vector<int> codes;
        for (const auto& e : Errors()) {
            codes.push_back(e.code);
            EXPECT_EQ(e.filterName, "PTGXBMP.DEL");
        }
        EXPECT_EQ(codes, c.codes);
        ASSERT_FALSE(Errors().empty());
        EXPECT_EQ(Errors().back().context, "ctx");
    }
}

TEST_F(PngFilter, BoundsAVeryLongContextText)
{
    const std::string context(2000, 'c');
    HostFiles::writeLimit = 10;
    TestBitmap bitmap(4, 4, 24);
    const IoCallbacks io = HostFiles::Callbacks();
    auto block = Options("");
    std::int32_t flags = 0;
    EXPECT_EQ(begin(TempPath("ctx.png").c_str(), &io, context.c_str(), bitmap.Header(), block.get(), &flags), nullptr);
    ASSERT_EQ(Errors().size(), 2u);
    EXPECT_EQ(Errors()[1].context, context.substr(0, 255));
}
