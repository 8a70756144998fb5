// PT31XQDX driven as the core drives it. Golden bytes follow the QDX layout;
// LZW planes are decoded by libtiff and JPEG planes by libjpeg.

#include "tests/support/ArchiveBytes.h"
#include "tests/support/FilterTestHost.h"

#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <tiffio.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace filtertest;

namespace {

struct Field
{
    std::uint32_t id; // 3-byte identifier
    int sequence;
    std::vector<std::uint8_t> bytes; // the whole field from its 0x5A
};

struct QdxFile
{
    std::vector<std::uint8_t> marker;
    std::vector<Field> fields;
    bool wellFormed = false;

    // The compressed bytes of one band (1..4), its segments joined.
    std::vector<std::uint8_t> Band(int band) const
    {
        std::vector<std::uint8_t> data;
        for (const Field& f : fields)
            if (f.sequence == 9 && f.bytes.size() >= 16 && f.bytes[13] == band)
                data.insert(data.end(), f.bytes.begin() + 16, f.bytes.end());
        return data;
    }
};

QdxFile Parse(const std::vector<std::uint8_t>& bytes)
{
    QdxFile file;
    if (bytes.size() < 4)
        return file;
    file.marker.assign(bytes.begin(), bytes.begin() + 4);
    std::size_t at = 4;
    while (at + 9 <= bytes.size()) {
        if (bytes[at] != 0x5A)
            return file;
        const std::size_t size = (std::size_t{bytes[at + 1]} << 8 | bytes[at + 2]) + 1;
        if (size < 9 || size > bytes.size() - at)
            return file;
        Field f;
        f.id = std::uint32_t{bytes[at + 3]} << 16 | std::uint32_t{bytes[at + 4]} << 8 | bytes[at + 5];
        f.sequence = bytes[at + 7] << 8 | bytes[at + 8];
        f.bytes.assign(bytes.begin() + at, bytes.begin() + at + size);
        file.fields.push_back(std::move(f));
        at += size;
    }
    file.wellFormed = at == bytes.size();
    return file;
}

// Decodes LZW data as the single strip of an 8-bit grey TIFF of the plane's size.
std::vector<std::uint8_t> DecodeLzw(const std::vector<std::uint8_t>& data, int width, int height)
{
    const std::string path = TempPath("plane.tif");
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    if (!tif)
        return {};
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, height);
    TIFFWriteRawStrip(tif, 0, const_cast<std::uint8_t*>(data.data()), static_cast<tmsize_t>(data.size()));
    TIFFClose(tif);

    tif = TIFFOpen(path.c_str(), "r");
    if (!tif)
        return {};
    std::vector<std::uint8_t> plane(static_cast<std::size_t>(width) * height);
    const tmsize_t got = TIFFReadEncodedStrip(tif, 0, plane.data(), static_cast<tmsize_t>(plane.size()));
    TIFFClose(tif);
    if (got != static_cast<tmsize_t>(plane.size()))
        return {};
    return plane;
}

// Decodes a one-component JPEG stream with libjpeg.
std::vector<std::uint8_t> DecodeJpeg(const std::vector<std::uint8_t>& data, int* width, int* height)
{
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
    std::vector<std::uint8_t> pixels;
    if (jpeg_read_header(&cinfo, TRUE) == JPEG_HEADER_OK) {
        jpeg_start_decompress(&cinfo);
        *width = static_cast<int>(cinfo.output_width);
        *height = static_cast<int>(cinfo.output_height);
        pixels.resize(static_cast<std::size_t>(*width) * *height * cinfo.output_components);
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW row = pixels.data() + static_cast<std::size_t>(cinfo.output_scanline) * *width;
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_decompress(&cinfo);
    }
    jpeg_destroy_decompress(&cinfo);
    return pixels;
}

class QdxFilter : public ::testing::Test
{
protected:
    void SetUp() override { Load(true); }

    void Load(bool withLookup)
    {
        FilterInfo info = CoreInfo(withLookup);
        EXPECT_STREQ(module.Entry<PTXDLget_ext_fn>("PTXDLget_ext")(&info), "QDX;Qorvane qdx (*.qdx)");
        EXPECT_EQ(info.capabilities, 64);
    }

    // begin, one block, end; the codes of the three calls (0 for a call not made).
    std::vector<int> Export(TestBitmap& bitmap, const std::string& path, const std::string& options,
                            ExportProgressBlock* progress = nullptr)
    {
        auto begin = module.Entry<PTXDLbegin_write_fn>("PTXDLbegin_write");
        auto write = module.Entry<PTXDLwrite_block_fn>("PTXDLwrite_block");
        auto end = module.Entry<PTXDLend_write_fn>("PTXDLend_write");
        const IoCallbacks io = HostFiles::Callbacks();
        auto block = Options(options);
        std::int32_t flags = 7;
        FilterStateHandle state = begin(path.c_str(), &io, "ctx", bitmap.Header(), block.get(), &flags);
        EXPECT_EQ(flags, 7); // the QDX filter leaves the flags
        if (!state)
            return {-1, 0, 0};
        const int written = write(state, bitmap.height, bitmap.bytesPerRow, bitmap.rows.data(), progress);
        return {1, written, end(state, 0)};
    }

    QStringList Boxes() const
    {
        QStringList texts;
        for (const auto& p : prompts->Recorded()) {
            EXPECT_EQ(p.caption, "Qdx Export Error");
            texts << p.text;
        }
        return texts;
    }

    FilterModule module{"PT31XQDX.so"};
    ScopedPromptAnswers prompts;
};

const std::vector<int> kAllOk = {1, 1, 1};

// A grey image: C, M and Y stay 0 and K is 255 - grey, so K carries the plane.
void FillGrey(TestBitmap& bitmap, const std::vector<std::uint8_t>& k)
{
    for (int y = 0; y < bitmap.height; ++y)
        for (int x = 0; x < bitmap.width; ++x) {
            const auto v = static_cast<std::uint8_t>(255 - k[static_cast<std::size_t>(y) * bitmap.width + x]);
            bitmap.SetRgb(x, y, v, v, v);
        }
}

} // namespace

TEST_F(QdxFilter, WhitePixelWithLzwIsTheWholeFileByteForByte)
{
    TestBitmap bitmap(1, 1, 24);
    bitmap.SetRgb(0, 0, 255, 255, 255);
    const std::string path = TempPath("white.qdx");
    ASSERT_EQ(Export(bitmap, path, "\rQDX_COMPRESS = LZW"), kAllOk);

    const Bytes segment = Hex("5A 00 13 D3 EE FB 00 00 09 FE 9C 00 07");
    const Bytes planeData = Hex("00 00 80 00 20 40"); // after the band: 00 00, then codes 256, 0, 258
    const Bytes expected = Hex("D8 C4 E7 F1") + Hex("5A 0010 D3A8FB 00 0001 C9 D6 F1 F0 F0 F0 F0 F0")
                           + Hex("5A 0010 D3A8C7 00 0002 D6 C5 C7 F0 F0 F0 F0 F1")
                           + Hex("5A 001C D3A66B 00 0003 03 43 01 08 4B 00 00 0BB8 0BB8 09 4C 02 00 0001 00 0001")
                           + Hex("5A 0020 D3AC6B 00 0004 01 17 0000000000000000 2D 00000000000000000000 2D 00 01")
                           + Hex("5A 000D D3ABFB 00 0005 00 05 03 04 10")
                           + Hex("5A 0015 D3A6FB 00 0006 00 0BB8 0BB8 0001 0001 F7 02 01 2D")
                           + Hex("5A 0010 D3A9C7 00 0007 D6 C5 C7 F0 F0 F0 F0 F1")
                           + Hex("5A 0044 D3EEFB 00 0008 7000 9101FF FEBB00020000 8C00 B508 0000000000000000"
                                 " B609 00000001 00000001 01 9503 0D 01 00 960120 9805 04 08080808"
                                 " 9B09 00 04 000000 08080808")
                           + segment + Hex("01") + planeData + segment + Hex("02") + planeData + segment + Hex("03")
                           + planeData + segment + Hex("04") + planeData + Hex("5A 000E D3EEFB 00 000D 8D00 9300 7100")
                           + Hex("5A 0010 D3A9FB 00 000E C9 D6 F1 F0 F0 F0 F0 F1");
    ASSERT_EQ(expected.size(), 334u);
    EXPECT_EQ(ReadFileBytes(path), expected);
    EXPECT_TRUE(Boxes().isEmpty());
}

TEST_F(QdxFilter, LzwPlanesDecodeWithLibtiff)
{
    struct Case
    {
        const char* name;
        int width;
        int height;
        int kind; // 0 random, 1 flat, 2 gradient
    };
    const Case cases[] = {
        {"random with 12-bit resets", 400, 300, 0},
        {"flat", 333, 77, 1},
        {"gradient", 257, 190, 2},
        {"single row", 1000, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::mt19937 random(11);
        std::vector<std::uint8_t> k(static_cast<std::size_t>(c.width) * c.height);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                k[static_cast<std::size_t>(y) * c.width + x] =
                    static_cast<std::uint8_t>(c.kind == 0   ? random() & 0xFF
                                              : c.kind == 1 ? 77
                                                            : (x + 3 * y) & 0xFF);
        TestBitmap bitmap(c.width, c.height, 24);
        FillGrey(bitmap, k);
        const std::string path = TempPath("lzw.qdx");
        ASSERT_EQ(Export(bitmap, path, "\rQDX_COMPRESS = LZW"), kAllOk);
        const QdxFile file = Parse(ReadFileBytes(path));
        ASSERT_TRUE(file.wellFormed);
        EXPECT_EQ(DecodeLzw(file.Band(4), c.width, c.height), k);
        const std::vector<std::uint8_t> white(k.size(), 0);
        for (int band = 1; band <= 3; ++band)
            EXPECT_EQ(DecodeLzw(file.Band(band), c.width, c.height), white);
    }
}

TEST_F(QdxFilter, SplitsPlaneDataIntoSegmentsOf32000Bytes)
{
    const int width = 600;
    const int height = 400;
    std::mt19937 random(5);
    std::vector<std::uint8_t> k(static_cast<std::size_t>(width) * height);
    for (auto& v : k)
        v = static_cast<std::uint8_t>(random());
    TestBitmap bitmap(width, height, 24);
    FillGrey(bitmap, k);
    const std::string path = TempPath("segments.qdx");
    ASSERT_EQ(Export(bitmap, path, "\rQDX_COMPRESS = LZW"), kAllOk);
    const QdxFile file = Parse(ReadFileBytes(path));
    ASSERT_TRUE(file.wellFormed);

    std::vector<std::size_t> sizes;
    for (const Field& f : file.fields) {
        if (f.sequence != 9 || f.bytes[13] != 4)
            continue;
        const std::size_t length = f.bytes[1] << 8 | f.bytes[2];
        const std::size_t imageData = f.bytes[11] << 8 | f.bytes[12];
        EXPECT_EQ(length, f.bytes.size() - 1);
        EXPECT_EQ(imageData, length - 12);
        EXPECT_EQ(Bytes(f.bytes.begin() + 3, f.bytes.begin() + 11), Hex("D3 EE FB 00 00 09 FE 9C"));
        sizes.push_back(f.bytes.size());
    }
    ASSERT_GE(sizes.size(), 3u);
    for (std::size_t i = 0; i + 1 < sizes.size(); ++i)
        EXPECT_EQ(sizes[i], 32000u);
    EXPECT_LT(sizes.back(), 32000u);
    EXPECT_EQ(DecodeLzw(file.Band(4), width, height), k);
}

TEST_F(QdxFilter, ConvertsPixelsToCmykPlanes)
{
    struct Case
    {
        const char* name;
        std::uint8_t r, g, b;
        std::uint8_t c, m, y, k;
    };
    const Case cases[] = {
        {"black", 0, 0, 0, 0, 0, 0, 255},         {"white", 255, 255, 255, 0, 0, 0, 0},
        {"red", 255, 0, 0, 0, 255, 255, 0},       {"mid grey", 128, 128, 128, 0, 0, 0, 127},
        {"brown", 200, 100, 50, 0, 127, 191, 55},
    };
    const int n = static_cast<int>(std::size(cases));
    TestBitmap bitmap(n, 1, 24);
    for (int i = 0; i < n; ++i)
        bitmap.SetRgb(i, 0, cases[i].r, cases[i].g, cases[i].b);
    const std::string path = TempPath("cmyk.qdx");
    ASSERT_EQ(Export(bitmap, path, "\rQDX_COMPRESS = LZW"), kAllOk);
    const QdxFile file = Parse(ReadFileBytes(path));
    std::vector<std::vector<std::uint8_t>> planes;
    for (int band = 1; band <= 4; ++band)
        planes.push_back(DecodeLzw(file.Band(band), n, 1));
    for (int i = 0; i < n; ++i) {
        SCOPED_TRACE(cases[i].name);
        ASSERT_EQ(planes[0].size(), static_cast<std::size_t>(n));
        EXPECT_EQ(planes[0][i], cases[i].c);
        EXPECT_EQ(planes[1][i], cases[i].m);
        EXPECT_EQ(planes[2][i], cases[i].y);
        EXPECT_EQ(planes[3][i], cases[i].k);
    }
}

TEST_F(QdxFilter, PalettePixelsAndIndexesOutsideThePalette)
{
    struct Case
    {
        const char* name;
        int bits;
        std::vector<RgbQuad> palette;
        std::uint32_t clrUsed;
        std::vector<int> indexes;
        std::vector<std::uint8_t> k; // expected black plane
    };
    const Case cases[] = {
        {"1 bit white black", 1, {{255, 255, 255, 0}, {0, 0, 0, 0}}, 2, {0, 1, 1, 0}, {0, 255, 255, 0}},
        {"1 bit one entry: 1 reads white", 1, {{0, 0, 0, 0}}, 1, {0, 1}, {255, 0}},
        {"4 bit beyond the colour count is black", 4, GreyRamp(4), 3, {0, 2, 3, 15}, {255, 221, 255, 255}},
        {"8 bit grey", 8, GreyRamp(8), 256, {0, 255, 100}, {255, 0, 155}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int n = static_cast<int>(c.indexes.size());
        TestBitmap bitmap(n, 1, c.bits, c.palette, c.clrUsed);
        for (int x = 0; x < n; ++x)
            bitmap.SetIndex(x, 0, c.indexes[x]);
        const std::string path = TempPath("palette.qdx");
        ASSERT_EQ(Export(bitmap, path, "\rQDX_COMPRESS = LZW"), kAllOk);
        EXPECT_EQ(DecodeLzw(Parse(ReadFileBytes(path)).Band(4), n, 1), c.k);
    }
}

TEST_F(QdxFilter, JpegPlanesDecodeWithLibjpegAtTheTrueSize)
{
    const int width = 10;
    const int height = 10;
    std::vector<std::uint8_t> k(width * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            k[y * width + x] = static_cast<std::uint8_t>(20 * x + 5 * y);
    TestBitmap bitmap(width, height, 24);
    FillGrey(bitmap, k);
    const std::string path = TempPath("jpeg.qdx");
    ASSERT_EQ(Export(bitmap, path, "\rQDX_COMPRESS = JPG\rLOSSY_QUALITY = 100"), kAllOk);
    const QdxFile file = Parse(ReadFileBytes(path));
    ASSERT_TRUE(file.wellFormed);
    // Image Data Descriptor and tile size carry 10 x 10, not the rounded 16.
    EXPECT_EQ(Bytes(file.fields[5].bytes.begin() + 14, file.fields[5].bytes.begin() + 18), Hex("000A 000A"));
    EXPECT_EQ(file.fields[7].bytes[45], 0x83);

    const auto band = file.Band(4);
    ASSERT_GT(band.size(), 4u);
    EXPECT_EQ(Bytes(band.begin(), band.begin() + 2), Hex("FF D8"));
    EXPECT_EQ(Bytes(band.end() - 2, band.end()), Hex("FF D9"));
    int w = 0;
    int h = 0;
    const auto decoded = DecodeJpeg(band, &w, &h);
    ASSERT_EQ(w, width);
    ASSERT_EQ(h, height);
    for (std::size_t i = 0; i < k.size(); ++i)
        EXPECT_NEAR(decoded[i], k[i], 2) << "pixel " << i;
    for (int b = 1; b <= 3; ++b) {
        const auto plane = DecodeJpeg(file.Band(b), &w, &h);
        ASSERT_EQ(plane.size(), k.size());
        for (std::uint8_t v : plane)
            EXPECT_LE(v, 1);
    }
}

TEST_F(QdxFilter, QualityScalesTheQuantisationTable)
{
    struct Case
    {
        const char* name;
        const char* options;
        std::uint8_t first; // table entry 0 (17 in the standard table)
        std::uint8_t last;  // entry 63 (99)
    };
    const Case cases[] = {
        {"default 50", "", 9, 50},
        {"100 is all ones", "\rLOSSY_QUALITY = 100", 1, 1},
        {"0 keeps the table", "\rLOSSY_QUALITY = 0", 17, 99},
        {"150 leaves 50", "\rLOSSY_QUALITY = 150", 9, 50},
        {"taken as one byte", "\rLOSSY_QUALITY = 356", 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestBitmap bitmap(8, 8, 24);
        const std::string path = TempPath("quality.qdx");
        ASSERT_EQ(Export(bitmap, path, c.options), kAllOk);
        const auto band = Parse(ReadFileBytes(path)).Band(1);
        ASSERT_GT(band.size(), 25u + 64u);
        // SOI, APP0 (18), DQT marker, length and table id, then the table in zigzag order
        EXPECT_EQ(Bytes(band.begin() + 20, band.begin() + 25), Hex("FF DB 00 43 00"));
        EXPECT_EQ(band[25], c.first);
        EXPECT_EQ(band[25 + 63], c.last);
    }
}

TEST_F(QdxFilter, OptionsChooseEncoderAndResolution)
{
    struct Case
    {
        const char* name;
        bool withLookup;
        const char* options;
        std::int32_t pelsPerMeter;
        std::uint8_t compression;
        int xRes;
        int yRes;
    };
    const Case cases[] = {
        {"TIFF_XRES 200", true, "\rTIFF_XRES = 200\rQDX_COMPRESS = LZW", 0, 0x0D, 2000, 3000},
        {"from pixels per metre", true, "\rQDX_COMPRESS = LZW", 11811, 0x0D, 3000, 3000},
        {"from 7874 pixels per metre", true, "\rTIFF_YRES = 120", 7874, 0x83, 2000, 1200},
        {"LZW by its first letters", true, "\rQDX_COMPRESS = LZWX", 0, 0x0D, 3000, 3000},
        {"anything else is JPEG", true, "\rQDX_COMPRESS = ZIP", 0, 0x83, 3000, 3000},
        {"no lookup: defaults", false, "\rQDX_COMPRESS = LZW\rTIFF_XRES = 200", 0, 0x83, 3000, 3000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.withLookup);
        TestBitmap bitmap(2, 2, 24);
        bitmap.Header()->biXPelsPerMeter = c.pelsPerMeter;
        bitmap.Header()->biYPelsPerMeter = c.pelsPerMeter;
        const std::string path = TempPath("options.qdx");
        ASSERT_EQ(Export(bitmap, path, c.options), kAllOk);
        const QdxFile file = Parse(ReadFileBytes(path));
        ASSERT_GE(file.fields.size(), 8u);
        const auto& descriptor = file.fields[5].bytes;
        EXPECT_EQ(descriptor[10] << 8 | descriptor[11], c.xRes);
        EXPECT_EQ(descriptor[12] << 8 | descriptor[13], c.yRes);
        EXPECT_EQ(file.fields[7].bytes[45], c.compression);
    }
    Load(true);
}

TEST_F(QdxFilter, RefusesWhatItCannotWriteWithItsErrorBox)
{
    struct Case
    {
        const char* name;
        int bits;
        std::uint32_t compression;
        int width;
        std::uint32_t clrUsed;
        const char* options;
        const char* path; // null: a fresh temporary file
        std::vector<int> codes;
        const char* text;
    };
    const std::string folder = TempPath("");
    const Case cases[] = {
        {"16 bits", 16, 0, 4, 0, "", nullptr, {-1, 0, 0}, "Unsupported bitcound. 16"},
        {"compressed bitmap", 8, 1, 4, 0, "", nullptr, {-1, 0, 0}, "Unsupported compression. 1"},
        {"palette above 256", 8, 0, 4, 300, "", nullptr, {-1, 0, 0}, "Unsupported palette size: 300"},
        {"wider than the format",
         1,
         0,
         70000,
         0,
         "",
         nullptr,
         {-1, 0, 0},
         "Image size does not fit the qdx format: 70000 x 2"},
        {"resolution above the field",
         24,
         0,
         4,
         0,
         "\rTIFF_XRES = 7000",
         nullptr,
         {-1, 0, 0},
         "Resolution does not fit the qdx format: 70000"},
        {"output is a folder", 24, 0, 4, 0, "", folder.c_str(), {-1, 0, 0}, nullptr},
        {"disk full", 24, 0, 4, 0, "", "/dev/full", {1, 1, 204}, "Error writing export file."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompts->ClearRecorded();
        TestBitmap bitmap(c.width, 2, c.bits == 16 ? 24 : c.bits, {}, c.clrUsed);
        bitmap.Header()->biBitCount = static_cast<std::uint16_t>(c.bits);
        bitmap.Header()->biCompression = c.compression;
        const std::string path = c.path ? c.path : TempPath("refused.qdx");
        std::remove(TempPath("refused.qdx").c_str());
        EXPECT_EQ(Export(bitmap, path, c.options), c.codes);
        if (!c.path) {
            EXPECT_FALSE(std::ifstream(path).good()) << "a refused export leaves no file";
        }
        const QStringList boxes = Boxes();
        ASSERT_EQ(boxes.size(), 1);
        const std::string expected = c.text ? c.text : "Failed to create output file: " + path;
        EXPECT_EQ(boxes[0].toStdString(), expected);
    }
}

TEST_F(QdxFilter, RowsShorterThanTheImageFailTheBlock)
{
    auto begin = module.Entry<PTXDLbegin_write_fn>("PTXDLbegin_write");
    auto write = module.Entry<PTXDLwrite_block_fn>("PTXDLwrite_block");
    auto end = module.Entry<PTXDLend_write_fn>("PTXDLend_write");
    TestBitmap bitmap(40, 3, 24);
    auto block = Options("");
    const IoCallbacks io = HostFiles::Callbacks();
    FilterStateHandle state = begin(TempPath("short.qdx").c_str(), &io, "", bitmap.Header(), block.get(), nullptr);
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(write(state, 3, 100, bitmap.rows.data(), nullptr), 204);
    EXPECT_EQ(end(state, 0), 1); // the image stays white where no row came
    EXPECT_EQ(Boxes(), QStringList{"Error writing export file."});
}

TEST_F(QdxFilter, ReportsProgressAsAFractionOfTheWholeExport)
{
    TestBitmap bitmap(64, 64, 24);
    std::vector<int> percents;
    ExportProgressBlock progress{};
    progress.total = 1000;
    progress.step = 10;
    progress.userData = &percents;
    progress.callback = [](int, int percent, void* user) {
        static_cast<std::vector<int>*>(user)->push_back(percent);
        return 0; // an export cannot be cancelled
    };
    ASSERT_EQ(Export(bitmap, TempPath("progress.qdx"), "", &progress), kAllOk);
    ASSERT_FALSE(percents.empty());
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_GE(percents.back(), 87); // the last block row of the last plane: 7/8 and more
    EXPECT_LE(progress.done, 1000);
}
