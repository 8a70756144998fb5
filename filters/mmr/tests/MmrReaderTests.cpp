#include "filters/common/FilterEntries.h"
#include "tests/support/FaxStreams.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

using namespace faxtest;

namespace {

Bytes Marker()
{
    return {0xC6, 0xD9};
}

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::string LastError()
{
    char text[128];
    PTDLerror_string(text, sizeof text);
    return text;
}

// An image opened through the filter from memory, closed on scope exit.
struct OpenImage
{
    FilterStateHandle state = nullptr;
    int result = 0;

    OpenImage(const std::string& name, const Bytes& bytes, std::int64_t baseOffset = 0)
    {
        FilterFileHandle file = OpenMemory(name, bytes);
        result = PTDLinit_image(name.c_str(), &state, file, baseOffset, 0, &MemoryIo());
    }
    ~OpenImage()
    {
        if (state)
            PTDLclose_image(state);
    }
    ImportImageInfo Info() const
    {
        ImportImageInfo info{};
        EXPECT_EQ(PTDLbuildDIBhead(state, &info), 1);
        return info;
    }
};

void FreeInfo(ImportImageInfo& info)
{
    std::free(info.bitmapHeader);
    info.bitmapHeader = nullptr;
}

// Reads the whole current page as the core does (one block, bottom row first)
// and returns it top row first with 1 = black, as the fixtures hold it.
Bitmap ReadPage(FilterStateHandle state, int width, int height, int* result)
{
    const int rowBytes = static_cast<int>(BitmapRowBytes(1, width));
    Bytes buffer(static_cast<std::size_t>(rowBytes * height));
    *result = PTDLset_row(state, 0);
    if (*result == 1)
        *result = PTDLread_rows(state, buffer.data(), height, rowBytes, 0, nullptr);
    Bitmap page(width, height);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = buffer.data() + (height - 1 - y) * rowBytes;
        for (int x = 0; x < width; ++x)
            page.Set(x, y, (row[x / 8] & (0x80 >> (x % 8))) == 0);
    }
    return page;
}

ContainerPage PageOf(const Bitmap& bitmap, Coding coding, std::vector<int> blocks = {})
{
    ContainerPage page;
    page.width = bitmap.width;
    page.height = bitmap.height;
    page.data = Encode(bitmap, coding);
    page.blockSizes = std::move(blocks);
    return page;
}

struct DecodeCase
{
    const char* name;
    std::function<Bitmap()> make;
    Coding coding;
    std::vector<int> blocks;
};

void PrintTo(const DecodeCase& c, std::ostream* os)
{
    *os << c.name;
}

Bitmap Runs(int width, std::vector<std::pair<int, int>> blackRuns, int height = 4)
{
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y)
        for (auto [from, length] : blackRuns)
            b.Run(y, from + y, length); // shifted per row so both vertical and horizontal modes occur
    return b;
}

Bitmap AllBlackAndWhiteRows(int width)
{
    Bitmap b(width, 6);
    b.Run(1, 0, width);
    b.Run(2, 0, width);
    b.Run(4, 0, width);
    return b;
}

Bitmap Noise(int width, int height, unsigned seed)
{
    Bitmap b(width, height);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.Set(x, y, random() % 3 == 0);
    return b;
}

const DecodeCase kDecodeCases[] = {
    {"TextPageG4", [] { return TextPage(1728, 400, 1); }, Coding::G4, {}},
    {"TextPageG4OddBlocks", [] { return TextPage(1728, 300, 2); }, Coding::G4, {1, 333, 77, 4097}},
    {"TextPageG3TwoDimensional", [] { return TextPage(1728, 300, 3); }, Coding::G3TwoDimensional, {}},
    {"TextPageG3OddBlocks", [] { return TextPage(1728, 200, 4); }, Coding::G3TwoDimensional, {501, 3}},
    {"Runs63And64",
     [] {
         return Runs(1728, {{10, 63}, {200, 64}, {400, 1}});
     },
     Coding::G4,
     {}},
    {"Runs2560And2561",
     [] {
         return Runs(5800, {{5, 2560}, {2700, 2561}});
     },
     Coding::G4,
     {}},
    {"WhiteRuns2561And2560",
     [] {
         return Runs(5800, {{2561, 10}, {5131, 5}}, 1);
     },
     Coding::G4,
     {}},
    {"Runs2560And2561G3",
     [] {
         return Runs(5800, {{5, 2560}, {2700, 2561}});
     },
     Coding::G3TwoDimensional,
     {}},
    {"AllWhiteAndAllBlackRows", [] { return AllBlackAndWhiteRows(1728); }, Coding::G4, {}},
    {"AllWhiteAndAllBlackRowsG3", [] { return AllBlackAndWhiteRows(1728); }, Coding::G3TwoDimensional, {}},
    {"OddWidth1", [] { return Noise(1, 9, 5); }, Coding::G4, {}},
    {"OddWidth13", [] { return Noise(13, 20, 6); }, Coding::G4, {3}},
    {"OddWidth1729", [] { return Noise(1729, 30, 7); }, Coding::G4, {1001}},
    {"OddWidth1729G3", [] { return Noise(1729, 30, 8); }, Coding::G3TwoDimensional, {999}},
};

class MmrDecodeTest : public testing::TestWithParam<DecodeCase>
{};

TEST_P(MmrDecodeTest, DecodesWhatLibtiffEncodedBitExactly)
{
    const DecodeCase& c = GetParam();
    const Bitmap expected = c.make();
    const Bytes file = Marker() + ContainerPageBytes(PageOf(expected, c.coding, c.blocks));
    OpenImage image(c.name, file);
    ASSERT_EQ(image.result, 1);
    ImportImageInfo info = image.Info();
    EXPECT_EQ(info.width, expected.width);
    EXPECT_EQ(info.height, expected.height);
    EXPECT_EQ(info.pageCount, 1);
    FreeInfo(info);
    int result = 0;
    const Bitmap decoded = ReadPage(image.state, expected.width, expected.height, &result);
    ASSERT_EQ(result, 1);
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x)
            ASSERT_EQ(decoded.Get(x, y), expected.Get(x, y)) << "pixel " << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Streams, MmrDecodeTest, testing::ValuesIn(kDecodeCases),
                         [](const testing::TestParamInfo<DecodeCase>& info) { return info.param.name; });

TEST(MmrReader, VerifiesTheMarkerOnly)
{
    const std::uint8_t good[] = {0xC6, 0xD9, 0x00};
    const std::uint8_t bad[] = {0xC6, 0xD8};
    EXPECT_EQ(PTDLverify_img(good, 3, 0), 1);
    EXPECT_EQ(PTDLverify_img(bad, 2, 0), 0);
    EXPECT_EQ(PTDLverify_img(good, 1, 0), 0);
}

TEST(MmrReader, FileWithoutPageIsEmptyFaxPage)
{
    OpenImage image("nopage", Marker() + Bytes(600, 0x11));
    ASSERT_EQ(image.result, 1);
    ImportImageInfo info = image.Info();
    EXPECT_EQ(info.width, 1728);
    EXPECT_EQ(info.height, 0);
    EXPECT_EQ(info.pageCount, 0);
    FreeInfo(info);
    EXPECT_EQ(PTDLset_page(image.state, 0), 16);
    EXPECT_EQ(LastError(), "Seek to non-existent page.");
}

TEST(MmrReader, NextPageIsLookedForWithin512Bytes)
{
    const Bitmap one = TextPage(64, 20, 9);
    const Bytes page = ContainerPageBytes(PageOf(one, Coding::G4));
    struct Case
    {
        const char* name;
        std::size_t gap;
        int pages;
    };
    const Case cases[] = {{"gap100", 100, 2}, {"gap600", 600, 1}};
    for (const Case& c : cases) {
        OpenImage image(c.name, Marker() + page + Bytes(c.gap, 0x40) + page);
        ASSERT_EQ(image.result, 1) << c.name;
        ImportImageInfo info = image.Info();
        EXPECT_EQ(info.pageCount, c.pages) << c.name;
        FreeInfo(info);
    }
}

TEST(MmrReader, PagesKeepTheirOwnSizes)
{
    const Bitmap first = TextPage(1728, 120, 10);
    const Bitmap second = Noise(301, 77, 11);
    OpenImage image("twosizes", Marker() + ContainerPageBytes(PageOf(first, Coding::G4))
                                    + ContainerPageBytes(PageOf(second, Coding::G4, {17})));
    ASSERT_EQ(image.result, 1);
    for (int page : {1, 0, 1}) {
        const Bitmap& expected = page == 0 ? first : second;
        ASSERT_EQ(PTDLset_page(image.state, page), 1);
        std::int32_t current = -1;
        EXPECT_EQ(PTDLget_page(image.state, &current), 1);
        EXPECT_EQ(current, page);
        ImportImageInfo info = image.Info();
        EXPECT_EQ(info.width, expected.width);
        EXPECT_EQ(info.height, expected.height);
        EXPECT_EQ(info.bitmapHeader->biSizeImage,
                  static_cast<std::uint32_t>(BitmapRowBytes(1, expected.width) * expected.height));
        FreeInfo(info);
        int result = 0;
        EXPECT_EQ(ReadPage(image.state, expected.width, expected.height, &result).bits, expected.bits);
        EXPECT_EQ(result, 1);
    }
}

TEST(MmrReader, BitmapHeaderIsOneBitBlackAndWhite)
{
    ContainerPage page = PageOf(Noise(40, 5, 12), Coding::G4);
    page.xResolution = 2000;
    page.yResolution = 1000;
    OpenImage image("header", Marker() + ContainerPageBytes(page));
    ImportImageInfo info = image.Info();
    const BitmapInfoHeader& h = *info.bitmapHeader;
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biBitCount, 1);
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biXPelsPerMeter, 7874);
    EXPECT_EQ(h.biYPelsPerMeter, 3937);
    const RgbQuad* palette = BitmapPalette(info.bitmapHeader);
    EXPECT_EQ(palette[0].rgbRed + palette[0].rgbGreen + palette[0].rgbBlue, 0);
    EXPECT_EQ(palette[1].rgbRed & palette[1].rgbGreen & palette[1].rgbBlue, 255);
    FreeInfo(info);
}

TEST(MmrReader, FirstRowGoesToTheEndOfTheBuffer)
{
    Bitmap bitmap(1728, 3);
    bitmap.Run(0, 0, 8); // only the first row has black: the first byte 0x00
    OpenImage image("order", Marker() + ContainerPageBytes(PageOf(bitmap, Coding::G4)));
    Bytes buffer(3 * 216, 0x55);
    ASSERT_EQ(PTDLset_row(image.state, 0), 1);
    ASSERT_EQ(PTDLread_rows(image.state, buffer.data(), 3, 216, 0, nullptr), 1);
    EXPECT_EQ(buffer[2 * 216], 0x00);
    EXPECT_EQ(buffer[216], 0xFF);
    EXPECT_EQ(buffer[0], 0xFF);
}

TEST(MmrReader, CancelAfterFirstRowStoresOneRow)
{
    const Bitmap bitmap = Noise(1728, 4, 13);
    OpenImage image("cancel", Marker() + ContainerPageBytes(PageOf(bitmap, Coding::G4)));
    Bytes buffer(4 * 216, 0x55);
    int calls = 0;
    ImportProgressBlock progress{};
    progress.callback = [](int, int, void* user) { return ++*static_cast<int*>(user) > 0 ? 0 : 1; };
    progress.step = 100;
    progress.total = 4 * 216;
    progress.userData = &calls;
    ASSERT_EQ(PTDLset_row(image.state, 0), 1);
    EXPECT_EQ(PTDLread_rows(image.state, buffer.data(), 4, 216, 0, &progress), 23);
    EXPECT_EQ(calls, 1);
    EXPECT_NE(buffer[3 * 216], 0x55);
    EXPECT_EQ(buffer[2 * 216], 0x55);
}

TEST(MmrReader, ProgressWithZeroStepAndTotalDoesNotFault)
{
    const Bitmap bitmap = Noise(64, 3, 14);
    OpenImage image("zeroprogress", Marker() + ContainerPageBytes(PageOf(bitmap, Coding::G4)));
    Bytes buffer(3 * 8);
    std::vector<int> percents;
    ImportProgressBlock progress{};
    progress.callback = [](int, int percent, void* user) {
        static_cast<std::vector<int>*>(user)->push_back(percent);
        return 1;
    };
    progress.userData = &percents;
    ASSERT_EQ(PTDLset_row(image.state, 0), 1);
    EXPECT_EQ(PTDLread_rows(image.state, buffer.data(), 3, 8, 0, &progress), 1);
    EXPECT_EQ(percents, (std::vector<int>{100, 100, 100}));
}

TEST(MmrReader, RowPositioningForwardAndBackGivesTheSameRows)
{
    const Bitmap bitmap = TextPage(1728, 90, 15);
    OpenImage image("setrow", Marker() + ContainerPageBytes(PageOf(bitmap, Coding::G4, {999})));
    auto rowAt = [&](int row) {
        Bytes one(216);
        EXPECT_EQ(PTDLset_row(image.state, row), 1);
        EXPECT_EQ(PTDLread_rows(image.state, one.data(), 1, 216, 0, nullptr), 1);
        return one;
    };
    auto expectedRow = [&](int row) {
        Bytes one(216);
        for (int x = 0; x < 1728; ++x)
            if (!bitmap.Get(x, row))
                one[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        return one;
    };
    for (int row : {50, 70, 71, 30, 0, 89})
        EXPECT_EQ(rowAt(row), expectedRow(row)) << "row " << row;
}

TEST(MmrReader, NarrowBufferTakesBytesFromTheOffset)
{
    const Bitmap bitmap = Noise(100, 2, 16);
    OpenImage image("crop", Marker() + ContainerPageBytes(PageOf(bitmap, Coding::G4)));
    Bytes part(2 * 3);
    ASSERT_EQ(PTDLset_row(image.state, 0), 1);
    ASSERT_EQ(PTDLread_rows(image.state, part.data(), 2, 3, 5, nullptr), 1);
    for (int y = 0; y < 2; ++y)
        for (int x = 40; x < 64; ++x)
            EXPECT_EQ((part[static_cast<std::size_t>((1 - y) * 3 + (x - 40) / 8)] & (0x80 >> (x % 8))) == 0,
                      bitmap.Get(x, y));
    EXPECT_EQ(PTDLread_rows(image.state, part.data(), 1, 3, 12, nullptr), 10); // past the 16-byte row
}

TEST(MmrReader, BaseOffsetAppliesToScanAndEveryPositioning)
{
    const Bitmap bitmap = TextPage(1728, 60, 17);
    const Bytes prefix(700, 0x70); // would match 70 04 nowhere, but shifts everything
    const Bytes mmr = Marker() + ContainerPageBytes(PageOf(bitmap, Coding::G4, {300}));
    OpenImage image("offset", prefix + mmr, static_cast<std::int64_t>(prefix.size()));
    ASSERT_EQ(image.result, 1);
    ImportImageInfo info = image.Info();
    EXPECT_EQ(info.pageCount, 1);
    FreeInfo(info);
    int result = 0;
    EXPECT_EQ(ReadPage(image.state, 1728, 60, &result).bits, bitmap.bits);
    EXPECT_EQ(result, 1);
    ASSERT_EQ(PTDLset_page(image.state, 0), 1);
    EXPECT_EQ(ReadPage(image.state, 1728, 60, &result).bits, bitmap.bits);
}

TEST(MmrReader, CloseKeepAndReopenUseACopyOfTheName)
{
    const Bitmap bitmap = TextPage(1728, 40, 18);
    const Bytes file = Marker() + ContainerPageBytes(PageOf(bitmap, Coding::G4));
    std::string name = "reopen.mmr";
    FilterFileHandle handle = OpenMemory(name, file);
    FilterStateHandle state = nullptr;
    ASSERT_EQ(PTDLinit_image(name.c_str(), &state, handle, 0, 0, &MemoryIo()), 1);
    name.assign("overwritten");
    const int closedBefore = g_closeCount;
    EXPECT_EQ(PTDLclose_keep(state), 1);
    EXPECT_EQ(g_closeCount, closedBefore + 1);
    EXPECT_EQ(PTDLopen(state, 0), 1);
    int result = 0;
    EXPECT_EQ(ReadPage(state, 1728, 40, &result).bits, bitmap.bits);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(PTDLclose_image(state), 1);
    EXPECT_EQ(g_closeCount, closedBefore + 2);
}

TEST(MmrReader, TwoOpenImagesKeepTheirOwnPages)
{
    const Bitmap a = TextPage(1728, 30, 19);
    const Bitmap b = Noise(200, 10, 20);
    OpenImage first("first",
                    Marker() + ContainerPageBytes(PageOf(a, Coding::G4)) + ContainerPageBytes(PageOf(a, Coding::G4)));
    OpenImage second("second", Marker() + ContainerPageBytes(PageOf(b, Coding::G4)));
    ImportImageInfo info = first.Info();
    EXPECT_EQ(info.pageCount, 2);
    EXPECT_EQ(info.width, 1728);
    FreeInfo(info);
    EXPECT_EQ(PTDLset_page(first.state, 1), 1);
    int result = 0;
    EXPECT_EQ(ReadPage(first.state, 1728, 30, &result).bits, a.bits);
}

TEST(MmrReader, InvalidHandlesAreRefused)
{
    int dummy = 0;
    FilterStateHandle bogus = &dummy;
    ImportImageInfo info{};
    std::int32_t page = 0;
    std::uint8_t row[4];
    struct Case
    {
        const char* name;
        std::function<int()> call;
    };
    const Case cases[] = {
        {"open", [&] { return PTDLopen(bogus, 0); }},
        {"close_keep", [&] { return PTDLclose_keep(bogus); }},
        {"close_image", [&] { return PTDLclose_image(nullptr); }},
        {"read_rows", [&] { return PTDLread_rows(bogus, row, 1, 4, 0, nullptr); }},
        {"set_row", [&] { return PTDLset_row(bogus, 0); }},
        {"set_page", [&] { return PTDLset_page(bogus, 0); }},
        {"get_page", [&] { return PTDLget_page(bogus, &page); }},
        {"buildDIBhead", [&] { return PTDLbuildDIBhead(bogus, &info); }},
        {"img_name", [&] { return PTDLimg_name(bogus, 0); }},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.call(), 8) << c.name;
        EXPECT_EQ(LastError(), "Invalid image handle.") << c.name;
    }
}

TEST(MmrReader, FixedAnswersOfTheOtherEntries)
{
    EXPECT_STREQ(PTDLget_ver(), "MMR File Reader V1.2");
    EXPECT_EQ(PTDLset_ext(0, 0), 1);
    EXPECT_EQ(PTDLescape(0, 0, 0, 0), 9);
    EXPECT_EQ(PTDLrender(0, 0, 0, 0), 0);
    EXPECT_EQ(PTDLprint(0, 0, 0, 0), 5);
    EXPECT_EQ(LastError(), "Pictra Internal Error: Tried to print mmr file from DLL.");
    char small[6];
    PTDLerror_string(small, sizeof small);
    EXPECT_STREQ(small, "Pictr");
}

// Bad data: every case ends with a clear code and never hangs.
TEST(MmrReader, BrokenDataFailsTheRow)
{
    const Bitmap bitmap = TextPage(1728, 50, 21);
    const Bytes good = Encode(bitmap, Coding::G4);
    struct Case
    {
        const char* name;
        Bytes data;
        int width;
        int height;
        int expected;
    };
    Bytes truncated(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2));
    Bytes zeros(200, 0x00);
    // Horizontal mode (001), white 128 + 0 (10010 00110101), black 0: past a 100-pixel row.
    Bytes longRun = {0x32, 0x35, 0x0D, 0xC0, 0x00};
    // Seven zero bits are no mode code.
    Bytes badMode = {0x01, 0x00, 0xFF, 0xFF};
    const Case cases[] = {
        {"TruncatedData", truncated, 1728, 50, 10},
        {"OnlyZeroBits", zeros, 1728, 5, 10},
        {"InvalidModeCode", badMode, 1728, 1, 10},
        {"RunLongerThanRow", longRun, 100, 1, 10},
        {"EmptyData", {}, 64, 2, 10},
    };
    for (const Case& c : cases) {
        ContainerPage page;
        page.width = c.width;
        page.height = c.height;
        page.data = c.data;
        OpenImage image(c.name, Marker() + ContainerPageBytes(page));
        ASSERT_EQ(image.result, 1) << c.name;
        int result = 0;
        ReadPage(image.state, c.width, c.height, &result);
        EXPECT_EQ(result, c.expected) << c.name;
    }
}

TEST(MmrReader, FileCutShortKeepsEveryRowBeforeTheCut)
{
    // The file ends inside the page's data, also inside a later block whose
    // header still announces its full length: every row whose codes lie
    // before the cut comes out exact, and the first that needs more fails.
    const Bitmap bitmap = TextPage(1728, 120, 23);
    const Bytes file = Marker() + ContainerPageBytes(PageOf(bitmap, Coding::G4, {333}));
    struct Case
    {
        const char* name;
        double kept; // share of the file kept
    };
    const Case cases[] = {{"InTheFirstBlock", 0.004}, {"Early", 0.2}, {"Middle", 0.5}, {"Late", 0.9}};
    for (const Case& c : cases) {
        const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(file.size() * c.kept));
        OpenImage image(c.name, cut);
        ASSERT_EQ(image.result, 1) << c.name;
        ASSERT_EQ(PTDLset_row(image.state, 0), 1) << c.name;
        int rows = 0;
        Bytes row(216);
        while (rows < bitmap.height && PTDLread_rows(image.state, row.data(), 1, 216, 0, nullptr) == 1) {
            for (int x = 0; x < bitmap.width; ++x)
                ASSERT_EQ((row[static_cast<std::size_t>(x / 8)] & (0x80 >> (x % 8))) == 0, bitmap.Get(x, rows))
                    << c.name << " pixel " << x << "," << rows;
            ++rows;
        }
        EXPECT_LT(rows, bitmap.height) << c.name;
        if (c.kept >= 0.5) {
            EXPECT_GE(rows, 40) << c.name;
        }
    }
}

TEST(MmrReader, PageWithoutSizeIsRefused)
{
    ContainerPage empty;
    empty.width = 0;
    empty.height = 10;
    empty.data = Bytes(8, 0xFF);
    OpenImage image("nosize", Marker() + ContainerPageBytes(empty));
    EXPECT_EQ(image.result, 10);
    EXPECT_EQ(image.state, nullptr);
    EXPECT_EQ(LastError(), "Invalid mmr header information.");
}

TEST(MmrReader, RowsBeyondThePageAreRefused)
{
    const Bitmap bitmap = Noise(16, 2, 22);
    OpenImage image("beyond", Marker() + ContainerPageBytes(PageOf(bitmap, Coding::G4)));
    Bytes buffer(3 * 4);
    EXPECT_EQ(PTDLset_row(image.state, 2), 10);
    ASSERT_EQ(PTDLset_row(image.state, 0), 1);
    EXPECT_EQ(PTDLread_rows(image.state, buffer.data(), 3, 4, 0, nullptr), 10);
}

} // namespace
