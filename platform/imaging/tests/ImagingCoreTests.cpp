#include "platform/imaging/Pictra.h"
#include "tests/support/FaxStreams.h"
#include "tests/support/FilterTestHost.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <png.h>
#include <tiffio.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace fs = std::filesystem;
using faxtest::Bytes;

namespace {

struct ImageDeleter
{
    void operator()(PictraImage* image) const { PtFreeImage(image); }
};
using Image = std::unique_ptr<PictraImage, ImageDeleter>;

class ImagingCore : public testing::Test
{
protected:
    void SetUp() override
    {
        PtStartup();
        m_dir = fs::temp_directory_path()
                / ("kwvd-imaging-" + std::to_string(::getpid()) + "-"
                   + testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_dir);
    }
    void TearDown() override
    {
        fs::remove_all(m_dir);
        PtShutdown();
    }
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

    static bool Save(PtImage image, const std::string& text)
    {
        OptionBlockHandle block = PtOptionBlockFromText(text.c_str());
        const int written = PtSaveImage(image, block);
        PtFreeOptionBlock(block);
        return written != 0;
    }

    fs::path m_dir;
};

Bytes ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A 1-bit device-independent bitmap, palette [white, black], 1 = black.
Bytes MonoDib(const faxtest::Bitmap& bitmap, std::int32_t ppm = 0)
{
    const std::int64_t rowBytes = BitmapRowBytes(1, bitmap.width);
    Bytes dib(40 + 8 + static_cast<std::size_t>(rowBytes * bitmap.height), 0);
    BitmapInfoHeader header{40, bitmap.width, bitmap.height, 1, 1, 0, 0, ppm, ppm, 2, 0};
    std::memcpy(dib.data(), &header, 40);
    const std::uint8_t palette[8] = {255, 255, 255, 0, 0, 0, 0, 0};
    std::memcpy(dib.data() + 40, palette, 8);
    for (int y = 0; y < bitmap.height; ++y)
        std::memcpy(dib.data() + 48 + (bitmap.height - 1 - y) * rowBytes, bitmap.bits.data() + y * bitmap.Stride(),
                    static_cast<std::size_t>(bitmap.Stride()));
    return dib;
}

Image MonoImage(const faxtest::Bitmap& bitmap, std::int32_t ppm = 0)
{
    const Bytes dib = MonoDib(bitmap, ppm);
    return Image(PtImageFromBitmap(dib.data(), dib.size()));
}

// Black (true) or white of a pixel as the core's drawing shows it.
bool BlackAt(PtImage image, int x, int y)
{
    const BitmapInfoHeader* info = PtImageInfo(image, nullptr);
    QImage canvas(info->biWidth, info->biHeight, QImage::Format_RGB32);
    canvas.fill(Qt::red);
    QPainter painter(&canvas);
    const PtRect whole{0, 0, info->biWidth - 1, info->biHeight - 1};
    PtDrawImage(image, &painter, &whole, nullptr);
    painter.end();
    return qGray(canvas.pixel(x, y)) < 128;
}

void WritePng(const std::string& path, int width, int height, bool withPhys, std::uint32_t ppm)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (withPhys)
        png_set_pHYs(png, info, ppm, ppm, PNG_RESOLUTION_METER);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<std::size_t>(width) * 3, 0x80);
    for (int y = 0; y < height; ++y)
        png_write_row(png, row.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

Bytes BmpFile(int width, int height, std::int32_t ppm)
{
    const std::int64_t rowBytes = BitmapRowBytes(24, width);
    Bytes file(54 + static_cast<std::size_t>(rowBytes * height), 0x40);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            file[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<std::uint32_t>(file.size()));
    put32(6, 0);
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    file[26] = 1;
    file[27] = 0;
    file[28] = 24;
    file[29] = 0;
    put32(30, 0);
    put32(34, static_cast<std::uint32_t>(rowBytes * height));
    put32(38, static_cast<std::uint32_t>(ppm));
    put32(42, static_cast<std::uint32_t>(ppm));
    put32(46, 0);
    put32(50, 0);
    return file;
}

TEST_F(ImagingCore, ReportsTheFilesOwnResolutionOrZero)
{
    struct Case
    {
        const char* name;
        std::function<void(const std::string&)> write;
        int bits;
        std::int32_t ppm;
    };
    const Case cases[] = {
        {"png-phys", [](const std::string& p) { WritePng(p, 300, 150, true, 11811); }, 24, 11811},
        {"png-none", [](const std::string& p) { WritePng(p, 300, 150, false, 0); }, 24, 0},
        {"bmp", [](const std::string& p) { WriteBytes(p, BmpFile(300, 150, 11811)); }, 24, 11811},
        {"bmp-none", [](const std::string& p) { WriteBytes(p, BmpFile(300, 150, 0)); }, 24, 0},
        {"jpeg-density",
         [](const std::string& p) {
             QImage image(300, 150, QImage::Format_RGB32);
             image.fill(Qt::gray);
             image.setDotsPerMeterX(11811); // written as 300 dots per inch
             image.setDotsPerMeterY(11811);
             image.save(QString::fromStdString(p), "JPEG");
         },
         24, 11811},
    };
    for (const Case& c : cases) {
        const std::string path = Path(c.name);
        c.write(path);
        Image image(PtOpenImage(path.c_str()));
        ASSERT_TRUE(image) << c.name;
        const BitmapInfoHeader* info = PtImageInfo(image.get(), nullptr);
        EXPECT_EQ(info->biWidth, 300) << c.name;
        EXPECT_EQ(info->biHeight, 150) << c.name;
        EXPECT_EQ(info->biBitCount, c.bits) << c.name;
        EXPECT_EQ(info->biXPelsPerMeter, c.ppm) << c.name;
        EXPECT_EQ(info->biYPelsPerMeter, c.ppm) << c.name;
    }
}

TEST_F(ImagingCore, UnreadableFilesGiveNoImage)
{
    WriteBytes(Path("junk"), Bytes(100, 0x33));
    WriteBytes(Path("short.png"), Bytes{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0});
    for (const char* name : {"junk", "short.png", "missing"})
        EXPECT_EQ(PtOpenImage(Path(name).c_str()), nullptr) << name;
}

TEST_F(ImagingCore, OneBitImageStaysOneBitThroughRotateAndResize)
{
    faxtest::Bitmap bitmap(40, 20);
    bitmap.Set(3, 5, true);
    Image image = MonoImage(bitmap);
    ASSERT_TRUE(image);

    Image turned(PtRotate(image.get(), 90, 0));
    ASSERT_TRUE(turned);
    const BitmapInfoHeader* info = PtImageInfo(turned.get(), nullptr);
    EXPECT_EQ(info->biBitCount, 1);
    EXPECT_EQ(info->biWidth, 20);
    EXPECT_EQ(info->biHeight, 40);
    RgbQuad palette[2];
    ASSERT_EQ(PtPalette(turned.get(), palette, 2), 2);
    EXPECT_EQ(palette[0].rgbRed, 255); // the palette order is kept
    // Counter-clockwise: (x, y) goes to (y, width - 1 - x).
    EXPECT_TRUE(BlackAt(turned.get(), 5, 36));
    EXPECT_FALSE(BlackAt(turned.get(), 5, 3));

    const PtRect source{2, 4, 11, 8}; // inclusive: 10 x 5 pixels
    Image part(PtResize(image.get(), 10, 5, &source, 1));
    ASSERT_TRUE(part);
    info = PtImageInfo(part.get(), nullptr);
    EXPECT_EQ(info->biBitCount, 1);
    EXPECT_EQ(info->biWidth, 10);
    EXPECT_EQ(PtPalette(part.get(), palette, 2), 2);
    EXPECT_TRUE(BlackAt(part.get(), 1, 1));
    EXPECT_FALSE(BlackAt(part.get(), 0, 0));

    Image doubled(PtResize(image.get(), 80, 40, nullptr, 1));
    ASSERT_TRUE(doubled);
    EXPECT_EQ(PtImageInfo(doubled.get(), nullptr)->biBitCount, 1);
    EXPECT_TRUE(BlackAt(doubled.get(), 7, 11));

    const PtRect outside{0, 0, 40, 19};
    EXPECT_EQ(PtResize(image.get(), 10, 10, &outside, 1), nullptr);
}

TEST_F(ImagingCore, ReducingColours)
{
    QImage colour(4, 1, QImage::Format_ARGB32);
    colour.setPixel(0, 0, qRgba(0, 0, 0, 0));      // transparent: white
    colour.setPixel(1, 0, qRgba(10, 20, 30, 255)); // dark
    colour.setPixel(2, 0, qRgba(250, 240, 230, 255));
    colour.setPixel(3, 0, qRgba(0, 0, 200, 255));
    Bytes dib(40 + 4 * 4, 0);
    BitmapInfoHeader header{40, 4, 1, 1, 32, 0, 0, 0, 0, 0, 0};
    std::memcpy(dib.data(), &header, 40);
    Image image(PtImageFromBitmap(dib.data(), dib.size()));
    ASSERT_TRUE(image);

    struct Case
    {
        std::uint64_t colours;
        int bits;
    };
    for (const Case c : {Case{2, 1}, Case{16, 4}, Case{256, 8}, Case{16777216, 24}}) {
        Image reduced(PtReduceColours(image.get(), c.colours, 0));
        ASSERT_TRUE(reduced) << c.colours;
        EXPECT_EQ(PtImageInfo(reduced.get(), nullptr)->biBitCount, c.bits) << c.colours;
    }
    Image bw(PtReduceColours(image.get(), 2, 0));
    RgbQuad palette[2];
    ASSERT_EQ(PtPalette(bw.get(), palette, 2), 2);
    EXPECT_EQ(palette[0].rgbRed + palette[0].rgbGreen + palette[0].rgbBlue, 0);
    EXPECT_EQ(palette[1].rgbRed + palette[1].rgbGreen + palette[1].rgbBlue, 3 * 255);
}

TEST_F(ImagingCore, AlphaIsFlattenedOntoWhite)
{
    const std::string path = Path("alpha.png");
    QImage transparent(2, 1, QImage::Format_ARGB32);
    transparent.fill(qRgba(0, 0, 0, 0));
    ASSERT_TRUE(transparent.save(QString::fromStdString(path), "PNG"));
    Image image(PtOpenImage(path.c_str()));
    ASSERT_TRUE(image);
    Image flat(PtReduceColours(image.get(), 16777216, 0));
    ASSERT_TRUE(flat);
    EXPECT_EQ(PtImageInfo(flat.get(), nullptr)->biBitCount, 24);
    EXPECT_FALSE(BlackAt(flat.get(), 0, 0));
}

TEST_F(ImagingCore, BitmapBlocksAreCheckedBeforeUse)
{
    const Bytes good = MonoDib(faxtest::Bitmap(33, 7));
    struct Case
    {
        const char* name;
        Bytes block;
    };
    Bytes truncated(good.begin(), good.end() - 1);
    Bytes badDepth = good;
    badDepth[14] = 16;
    Bytes hugePalette = good;
    hugePalette[32] = 0xFF;
    hugePalette[33] = 0xFF;
    Bytes zeroWidth = good;
    std::memset(zeroWidth.data() + 4, 0, 4);
    const Case cases[] = {
        {"truncated", truncated},
        {"depth16", badDepth},
        {"palette", hugePalette},
        {"width0", zeroWidth},
        {"header-only", Bytes(good.begin(), good.begin() + 20)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PtImageFromBitmap(c.block.data(), c.block.size()), nullptr) << c.name;
    Image fine(PtImageFromBitmap(good.data(), good.size()));
    EXPECT_TRUE(fine);
}

// The page segment as the reader expects it, from the IOCA layout.
void ExpectPageHeader(const Bytes& file, std::size_t at, int width, int height, int resolution, int pageNumber)
{
    ASSERT_GE(file.size(), at + 34);
    const Bytes expected = {
        0x70,
        0x04,
        0x00,
        0x00,
        0x00,
        static_cast<std::uint8_t>(pageNumber), // begin segment, named by its page
        0x91,
        0x01,
        0xFF, // begin image content
        0x94,
        0x09,
        0x00,
        static_cast<std::uint8_t>(resolution >> 8),
        static_cast<std::uint8_t>(resolution),
        static_cast<std::uint8_t>(resolution >> 8),
        static_cast<std::uint8_t>(resolution),
        static_cast<std::uint8_t>(width >> 8),
        static_cast<std::uint8_t>(width),
        static_cast<std::uint8_t>(height >> 8),
        static_cast<std::uint8_t>(height),
        0x95,
        0x02,
        0x82,
        0x01, // MMR, RIDIC
        0x96,
        0x01,
        0x01, // 1 bit
        0x97,
        0x01,
        0x00,
        0xFE,
        0x92,
    };
    EXPECT_EQ(Bytes(file.begin() + static_cast<std::ptrdiff_t>(at),
                    file.begin() + static_cast<std::ptrdiff_t>(at + expected.size())),
              expected);
}

TEST_F(ImagingCore, MultiPageMmrReadsBackThroughTheFilterAndLibtiff)
{
    const faxtest::Bitmap first = faxtest::TextPage(1728, 300, 31);
    const faxtest::Bitmap second = faxtest::TextPage(864, 120, 32);
    const std::string path = Path("Pages.mmr");
    Image one = MonoImage(first, 7874);
    Image two = MonoImage(second, 7874);
    ASSERT_TRUE(Save(one.get(), "EXTENSION = MMR\rFILENAME = " + path + "\rOVERWRITE = ON\rAPPEND = ON"));
    ASSERT_TRUE(Save(two.get(), "EXTENSION = MMR\rFILENAME = " + path + "\rOVERWRITE = ON\rAPPEND = ON"));

    const Bytes file = ReadBytes(path);
    ASSERT_GE(file.size(), 40u);
    EXPECT_EQ(file[0], 0xC6);
    EXPECT_EQ(file[1], 0xD9);
    ExpectPageHeader(file, 2, 1728, 300, 2000, 1);
    // The first page's T.6 data, as one block, decode with libtiff too.
    const std::size_t length = static_cast<std::size_t>(file[34] << 8 | file[35]);
    EXPECT_EQ(length % 2, 0u);
    const Bytes data(file.begin() + 36, file.begin() + 36 + static_cast<std::ptrdiff_t>(length));
    faxtest::Bitmap decoded(1, 1);
    ASSERT_TRUE(faxtest::DecodeG4(data, 1728, 300, &decoded));
    EXPECT_EQ(decoded.bits, first.bits);
    EXPECT_EQ(Bytes(file.begin() + 36 + static_cast<std::ptrdiff_t>(length),
                    file.begin() + 40 + static_cast<std::ptrdiff_t>(length)),
              (Bytes{0x93, 0x00, 0x71, 0x00}));
    ExpectPageHeader(file, 40 + length, 864, 120, 2000, 2);

    Image back(PtOpenImage(path.c_str()));
    ASSERT_TRUE(back);
    std::int32_t pages = 0;
    PtPageCount(back.get(), &pages);
    EXPECT_EQ(pages, 2);
    const BitmapInfoHeader* info = PtImageInfo(back.get(), nullptr);
    EXPECT_EQ(info->biBitCount, 1);
    EXPECT_EQ(info->biXPelsPerMeter, 7874);
    for (const auto& [page, bitmap] : {std::pair{1, &second}, std::pair{0, &first}}) {
        ASSERT_EQ(PtSetPage(back.get(), page), 1);
        info = PtImageInfo(back.get(), nullptr);
        ASSERT_EQ(info->biWidth, bitmap->width);
        ASSERT_EQ(info->biHeight, bitmap->height);
        // The drawn pixels show the page as it was written.
        QImage canvas(bitmap->width, bitmap->height, QImage::Format_RGB32);
        QPainter painter(&canvas);
        const PtRect whole{0, 0, bitmap->width - 1, bitmap->height - 1};
        PtDrawImage(back.get(), &painter, &whole, nullptr);
        painter.end();
        int wrong = 0;
        for (int y = 0; y < bitmap->height; ++y)
            for (int x = 0; x < bitmap->width; ++x)
                wrong += (qGray(canvas.pixel(x, y)) < 128) != bitmap->Get(x, y);
        EXPECT_EQ(wrong, 0) << "page " << page;
    }
}

TEST_F(ImagingCore, MmrPageSegmentsAreNamedByTheirPageNumbers)
{
    // Pages of one image are of one length: page n starts n - 1 lengths in.
    Image image = MonoImage(faxtest::TextPage(64, 32, 44));
    const std::string path = Path("Named.mmr");
    const int kPages = 3;
    for (int n = 0; n < kPages; ++n)
        ASSERT_TRUE(Save(image.get(), "EXTENSION = MMR\rFILENAME = " + path + "\rOVERWRITE = ON\rAPPEND = ON"));
    const Bytes file = ReadBytes(path);
    ASSERT_EQ((file.size() - 2) % kPages, 0u);
    const std::size_t pageLength = (file.size() - 2) / kPages;
    for (int n = 1; n <= kPages; ++n) {
        const std::size_t at = 2 + static_cast<std::size_t>(n - 1) * pageLength;
        EXPECT_EQ(
            Bytes(file.begin() + static_cast<std::ptrdiff_t>(at), file.begin() + static_cast<std::ptrdiff_t>(at + 6)),
            (Bytes{0x70, 0x04, 0x00, 0x00, 0x00, static_cast<std::uint8_t>(n)}))
            << "page " << n;
    }
}

TEST_F(ImagingCore, MmrBlackIsBlackWhateverThePaletteOrder)
{
    faxtest::Bitmap bitmap(16, 2);
    bitmap.Run(0, 0, 4);
    Bytes dib = MonoDib(bitmap);
    // Same picture with the palette [black, white] and the bits inverted.
    const std::uint8_t palette[8] = {0, 0, 0, 0, 255, 255, 255, 0};
    std::memcpy(dib.data() + 40, palette, 8);
    for (std::size_t i = 48; i < dib.size(); ++i)
        dib[i] = static_cast<std::uint8_t>(~dib[i]);
    Image image(PtImageFromBitmap(dib.data(), dib.size()));
    const std::string path = Path("order.mmr");
    ASSERT_TRUE(Save(image.get(), "EXTENSION = MMR\rFILENAME = " + path));
    const Bytes file = ReadBytes(path);
    const std::size_t length = static_cast<std::size_t>(file[34] << 8 | file[35]);
    faxtest::Bitmap decoded(1, 1);
    ASSERT_TRUE(faxtest::DecodeG4(Bytes(file.begin() + 36, file.begin() + 36 + static_cast<std::ptrdiff_t>(length)), 16,
                                  2, &decoded));
    EXPECT_EQ(decoded.bits, bitmap.bits);
}

TEST_F(ImagingCore, MmrRefusesWhatItsFieldsCannotHold)
{
    Image wide = MonoImage(faxtest::Bitmap(70000, 1));
    ASSERT_TRUE(wide);
    Image dense = MonoImage(faxtest::Bitmap(8, 8), 300000); // 76200 dpi: beyond 16 bits per ten inches
    const std::string path = Path("refused.mmr");
    EXPECT_FALSE(Save(wide.get(), "EXTENSION = MMR\rFILENAME = " + path));
    EXPECT_FALSE(Save(dense.get(), "EXTENSION = MMR\rFILENAME = " + path));
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(ImagingCore, MultiPageTiffG4)
{
    const faxtest::Bitmap a = faxtest::TextPage(1728, 100, 41);
    const faxtest::Bitmap b = faxtest::TextPage(1728, 60, 42);
    const std::string path = Path("Fax.TIF");
    Image first = MonoImage(a);
    Image second = MonoImage(b);
    const std::string options = "COMPRESS = ON\rFILENAME = " + path
                                + "\rOVERWRITE = ON\rEXTENSION = TIF\rAPPEND = ON\rTIFF_XRES = 204\rTIFF_YRES = 196";
    ASSERT_TRUE(Save(first.get(), options));
    ASSERT_TRUE(Save(second.get(), options));

    TIFF* tif = TIFFOpen(path.c_str(), "r");
    ASSERT_NE(tif, nullptr);
    EXPECT_EQ(TIFFNumberOfDirectories(tif), 2);
    std::uint16_t compression = 0;
    float xres = 0;
    TIFFGetField(tif, TIFFTAG_COMPRESSION, &compression);
    TIFFGetField(tif, TIFFTAG_XRESOLUTION, &xres);
    EXPECT_EQ(compression, COMPRESSION_CCITTFAX4);
    EXPECT_FLOAT_EQ(xres, 204.0f);
    TIFFSetDirectory(tif, 1);
    faxtest::Bitmap read(1728, 60);
    std::uint16_t photometric = 0;
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    for (int y = 0; y < 60; ++y)
        TIFFReadScanline(tif, read.bits.data() + y * read.Stride(), static_cast<std::uint32_t>(y), 0);
    TIFFClose(tif);
    EXPECT_EQ(photometric, PHOTOMETRIC_MINISWHITE);
    EXPECT_EQ(read.bits, b.bits);

    Image back(PtOpenImage(path.c_str()));
    ASSERT_TRUE(back);
    std::int32_t pages = 0;
    PtPageCount(back.get(), &pages);
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(PtImageInfo(back.get(), nullptr)->biXPelsPerMeter, 8031); // 204 dpi
}

TEST_F(ImagingCore, SavingKeepsTheNameAndNeverLosesTheOldFile)
{
    Image image = MonoImage(faxtest::TextPage(64, 32, 43));
    const std::string mixed = Path("MixedCase.Tif");
    ASSERT_TRUE(Save(image.get(), "FILENAME = " + mixed + "\rEXTENSION = TIF"));
    EXPECT_TRUE(fs::exists(mixed));

    const std::string kept = Path("Keep.mmr");
    const std::string cut = Path("Cut.mmr");
    const Bytes notMmr{'n', 'o', 't', ' ', 'm', 'm', 'r'};
    // A marker and a begin segment whose name runs past the end.
    const Bytes cutMmr{0xC6, 0xD9, 0x70, 0x04, 0x00, 0x00};
    WriteBytes(kept, notMmr);
    WriteBytes(cut, cutMmr);
    struct Case
    {
        const char* name;
        std::string options;
        std::string file;
        Bytes content;
    };
    const Case cases[] = {
        {"overwrite-off", "FILENAME = " + kept + "\rEXTENSION = MMR\rOVERWRITE = OFF\rAPPEND = OFF", kept, notMmr},
        {"append-to-non-mmr", "FILENAME = " + kept + "\rEXTENSION = MMR\rAPPEND = ON", kept, notMmr},
        {"append-to-cut-mmr", "FILENAME = " + cut + "\rEXTENSION = MMR\rAPPEND = ON", cut, cutMmr},
        {"unknown-format", "FILENAME = " + kept + "\rEXTENSION = XYZ", kept, notMmr},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(Save(image.get(), c.options)) << c.name;
        EXPECT_EQ(ReadBytes(c.file), c.content) << c.name;
    }
    // No temporary file stays behind.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(m_dir))
        ++files;
    EXPECT_EQ(files, 3);
}

// An image saved over an earlier one is saved as every other file: through
// a link into the file it points to, keeping the file's access rights; a
// file without any write permission is refused and stays as it was.
TEST_F(ImagingCore, SavingOverAFileKeepsItsLinkAndAccessRights)
{
    Image image = MonoImage(faxtest::TextPage(64, 32, 43));
    const Bytes earlier{'e', 'a', 'r', 'l', 'i', 'e', 'r'};
    struct Case
    {
        const char* name;
        bool throughLink;
        fs::perms rights;
        bool saved;
    };
    const Case cases[] = {
        {"a file with its own rights", false, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read,
         true},
        {"a link to such a file", true, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read, true},
        {"a read-only file", false, fs::perms::owner_read | fs::perms::group_read, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = Path("Image.tif");
        const std::string link = Path("Link.tif");
        fs::remove(file);
        fs::remove(link);
        WriteBytes(file, earlier);
        fs::permissions(file, c.rights);
        if (c.throughLink)
            fs::create_symlink(file, link);
        const std::string named = c.throughLink ? link : file;

        EXPECT_EQ(Save(image.get(), "FILENAME = " + named + "\rEXTENSION = TIF"), c.saved);

        EXPECT_EQ(fs::is_symlink(link), c.throughLink);
        EXPECT_EQ(fs::status(file).permissions(), c.rights);
        if (c.saved)
            EXPECT_NE(ReadBytes(file), earlier);
        else
            EXPECT_EQ(ReadBytes(file), earlier);
        fs::permissions(file, fs::perms::owner_all);
    }
}

// The export filters get the image with the option block whose keys they read.
TEST_F(ImagingCore, ExportsThroughTheFilterPlugIns)
{
    QImage white(1, 1, QImage::Format_RGB32);
    white.fill(Qt::white);
    const std::string source = Path("white.png");
    ASSERT_TRUE(white.save(QString::fromStdString(source), "PNG"));
    Image image(PtOpenImage(source.c_str()));
    ASSERT_TRUE(image);

    const std::string qdx = Path("White.qdx");
    ASSERT_TRUE(
        Save(image.get(), "QDX_COMPRESS = LZW\rEXTENSION = QDX\rFILENAME = " + qdx + "\rOVERWRITE = ON\rAPPEND = OFF"));
    EXPECT_EQ(ReadBytes(qdx).size(), 334u); // LZW taken from the option block

    faxtest::Bitmap bitmap(10, 3);
    bitmap.Run(1, 2, 5);
    Image mono = MonoImage(bitmap);
    const std::string png = Path("Mono.png");
    ASSERT_TRUE(Save(mono.get(), "EXTENSION = PNG\rFILENAME = " + png + "\rPNG_FILTER = NONE"));
    const QImage back(QString::fromStdString(png));
    ASSERT_FALSE(back.isNull());
    ASSERT_EQ(back.width(), 10);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(qGray(back.pixel(x, y)) < 128, bitmap.Get(x, y)) << x << "," << y;

    char formats[64];
    const std::size_t size = PtExportFormatList(nullptr, 0);
    ASSERT_LE(size, sizeof formats);
    ASSERT_EQ(PtExportFormatList(formats, size), size);
    std::string extensions;
    for (std::size_t at = 0; at + 6 <= size; at += 6)
        extensions += std::string(formats + at + 2, 3) + " ";
    EXPECT_EQ(extensions, "TIF MMR QDX PNG ");
}

// A colour image goes to PNG as exactly the file PT31XPNG writes for its
// pixels composed onto white and handed over in one block, whether the image
// has alpha or not, and however the core splits the page. The page is tall
// enough for several blocks, and its odd width pads every row.
TEST_F(ImagingCore, ColourPngHoldsTheFilterOutputOfTheFlattenedPage)
{
    struct Colour
    {
        QRgb argb;
        std::uint8_t r, g, b; // over white
    };
    const Colour colours[] = {
        {qRgba(10, 20, 30, 255), 10, 20, 30},
        {qRgba(0, 0, 0, 0), 255, 255, 255},
        {qRgba(0, 0, 0, 128), 127, 127, 127},
        {qRgba(200, 100, 0, 128), 227, 177, 127},
    };
    constexpr int kWidth = 601;
    constexpr int kHeight = 181;
    auto colourAt = [&](int x, int y) -> const Colour& { return colours[(x / 7 + y * 3) % 4]; };

    filtertest::TestBitmap flattened(kWidth, kHeight, 24);
    QImage withAlpha(kWidth, kHeight, QImage::Format_ARGB32);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const Colour& c = colourAt(x, y);
            flattened.SetRgb(x, y, c.r, c.g, c.b);
            withAlpha.setPixel(x, y, c.argb);
        }
    const std::string alphaFile = Path("alpha.png");
    ASSERT_TRUE(withAlpha.save(QString::fromStdString(alphaFile), "PNG"));

    const std::string expectedFile = Path("expected.png");
    {
        filtertest::FilterModule module("PT31XPNG.so");
        const IoCallbacks io = filtertest::HostFiles::Callbacks();
        const auto options = filtertest::Options("");
        std::int32_t flags = 0;
        FilterStateHandle state = module.Entry<PTXDLbegin_write_fn>("PTXDLbegin_write")(
            expectedFile.c_str(), &io, "", flattened.Header(), options.get(), &flags);
        ASSERT_TRUE(state);
        ASSERT_EQ(module.Entry<PTXDLwrite_block_fn>("PTXDLwrite_block")(state, kHeight, flattened.bytesPerRow,
                                                                        flattened.rows.data(), nullptr),
                  1);
        ASSERT_EQ(module.Entry<PTXDLend_write_fn>("PTXDLend_write")(state, 0), 1);
    }
    const Bytes expected = ReadBytes(expectedFile);
    ASSERT_GT(expected.size(), 8u);

    Bytes dib(flattened.description);
    dib.insert(dib.end(), flattened.rows.begin(), flattened.rows.end());
    Image opaque(PtImageFromBitmap(dib.data(), dib.size()));
    Image alpha(PtOpenImage(alphaFile.c_str()));
    ASSERT_TRUE(opaque);
    ASSERT_TRUE(alpha);
    ASSERT_EQ(PtImageInfo(alpha.get(), nullptr)->biBitCount, 32);
    Image reduced(PtReduceColours(alpha.get(), 16777216, 0));
    ASSERT_TRUE(reduced);

    struct Case
    {
        const char* name;
        PtImage image;
    };
    for (const Case c : {Case{"without alpha", opaque.get()}, Case{"with alpha", alpha.get()},
                         Case{"alpha flattened by reducing colours", reduced.get()}}) {
        const std::string file = Path("saved.png");
        ASSERT_TRUE(Save(c.image, "EXTENSION = PNG\rOVERWRITE = ON\rFILENAME = " + file)) << c.name;
        EXPECT_TRUE(ReadBytes(file) == expected) << c.name;
    }
}

TEST_F(ImagingCore, ImportFilterListStartsWithAnImageType)
{
    std::size_t size = 0;
    char* block = PtImportFilterList(&size);
    ASSERT_NE(block, nullptr);
    const std::string list(block, size);
    PtFreeBlock(block);
    ASSERT_GE(size, 2u);
    EXPECT_EQ(list.substr(list.size() - 2), std::string(2, '\0'));
    EXPECT_EQ(list.find("Tag Image File Format (*.tif)"), 0u);
    EXPECT_NE(list.find(std::string("IBM mmr Images (*.mmr)\0*.mmr\0", 29)), std::string::npos);
}

TEST_F(ImagingCore, OptionLookupOfTheCore)
{
    struct Case
    {
        const char* name;
        const char* text;
        const char* key;
        int result;
        const char* value;
    };
    const Case cases[] = {
        {"lower-case key", "\rPNG_FILTER = SUB", "png_filter", 0, "SUB"},
        {"substring", "\rXPNG_FILTER = UP", "PNG_FILTER", 0, "UP"},
        {"last entry", "COMPRESS = ON\rLOSSY_QUALITY = 75", "LOSSY_QUALITY", 0, "75"},
        {"empty value", "\rQDX_COMPRESS = ", "QDX_COMPRESS", 0, ""},
        {"missing", "\rCOMPRESS = ON", "APPEND", 1, ""},
    };
    for (const Case& c : cases) {
        OptionBlockHandle block = PtOptionBlockFromText(c.text);
        char value[64] = "";
        EXPECT_EQ(ImgXOptBlkGet(block, c.key, value, sizeof value), c.result) << c.name;
        if (c.result == 0) {
            EXPECT_STREQ(value, c.value) << c.name;
        }
        PtFreeOptionBlock(block);
    }
    char value[8];
    EXPECT_NE(ImgXOptBlkGet(nullptr, "KEY", value, sizeof value), 0);
}

} // namespace
