// Writing an A4 page at 300 dpi (2480 x 3508, 24 bits) through PT31XPNG,
// beside plain libpng with the same settings: default filters and level,
// memory level 8, blue-green-red input, the same text chunk. Both write into
// memory so that the disk does not take part.

#include "filters/common/FilterEntries.h"

#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <png.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 2480;
constexpr int kHeight = 3508;

struct Page
{
    std::vector<std::uint8_t> description;
    std::vector<std::uint8_t> rows; // bottom row first, blue-green-red
    std::int64_t bytesPerRow = BitmapRowBytes(24, kWidth);

    Page()
    {
        BitmapInfoHeader header{};
        header.biSize = sizeof header;
        header.biWidth = kWidth;
        header.biHeight = kHeight;
        header.biPlanes = 1;
        header.biBitCount = 24;
        description.resize(sizeof header);
        std::memcpy(description.data(), &header, sizeof header);
        rows.assign(static_cast<std::size_t>(bytesPerRow) * kHeight, 255);
        // A form: white paper, lines of dark "text", a coloured band and a grey gradient box.
        std::uint32_t seed = 1;
        for (int y = 0; y < kHeight; ++y) {
            std::uint8_t* row = rows.data() + static_cast<std::size_t>(kHeight - 1 - y) * bytesPerRow;
            for (int x = 0; x < kWidth; ++x) {
                std::uint8_t* p = row + x * 3;
                if (y % 60 < 30 && x > 200 && x < 2280) {
                    seed = seed * 1103515245u + 12345u;
                    if ((seed >> 16) % 4 == 0)
                        p[0] = p[1] = p[2] = 20;
                } else if (y > 3000 && y < 3200) {
                    p[0] = 200;
                    p[1] = 120;
                    p[2] = 40;
                } else if (y > 300 && y < 700 && x > 1500 && x < 2300) {
                    p[0] = p[1] = p[2] = static_cast<std::uint8_t>(x - 1500);
                }
            }
        }
    }
    const BitmapInfoHeader* Header() const { return reinterpret_cast<const BitmapInfoHeader*>(description.data()); }
};

const Page& ThePage()
{
    static const Page page;
    return page;
}

std::vector<std::uint8_t>& Sink()
{
    static std::vector<std::uint8_t> sink;
    return sink;
}

int SinkOpen(const char*, int, FilterFileHandle* file)
{
    Sink().clear();
    *file = 1;
    return 1;
}
void SinkClose(FilterFileHandle) {}
std::int64_t SinkRead(FilterFileHandle, void*, std::int64_t)
{
    return -1;
}
std::int64_t SinkWrite(FilterFileHandle, const void* data, std::int64_t count)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    Sink().insert(Sink().end(), bytes, bytes + count);
    return count;
}
std::int64_t SinkSeek(FilterFileHandle, std::int64_t, int)
{
    return -1;
}

void BM_PngFilter(benchmark::State& state)
{
    const std::string path = std::string(KWVD_FILTER_DIR) + "/PT31XPNG.so";
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        state.SkipWithError("PT31XPNG.so not found");
        return;
    }
    FilterInfo info{};
    reinterpret_cast<PTXDLget_ext_fn>(dlsym(module, "PTXDLget_ext"))(&info);
    auto begin = reinterpret_cast<PTXDLbegin_write_fn>(dlsym(module, "PTXDLbegin_write"));
    auto write = reinterpret_cast<PTXDLwrite_block_fn>(dlsym(module, "PTXDLwrite_block"));
    auto end = reinterpret_cast<PTXDLend_write_fn>(dlsym(module, "PTXDLend_write"));
    const IoCallbacks io{&SinkOpen, &SinkClose, &SinkRead, &SinkWrite, &SinkSeek};
    const Page& page = ThePage();
    OptionBlock* options = kwvd::filters::OptionBlockCreate(nullptr);
    for (auto _ : state) {
        std::int32_t flags = 0;
        FilterStateHandle image = begin("page.png", &io, "", page.Header(), options, &flags);
        if (!image || write(image, kHeight, page.bytesPerRow, page.rows.data(), nullptr) != 1 || end(image, 0) != 1) {
            state.SkipWithError("export failed");
            break;
        }
    }
    state.counters["bytes"] = static_cast<double>(Sink().size());
    kwvd::filters::OptionBlockFree(options);
    dlclose(module);
}

void WriteToSink(png_structp, png_bytep data, png_size_t length)
{
    Sink().insert(Sink().end(), data, data + length);
}
void FlushNothing(png_structp) {}

void BM_PlainLibpng(benchmark::State& state)
{
    const Page& page = ThePage();
    for (auto _ : state) {
        Sink().clear();
        png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        if (setjmp(png_jmpbuf(png))) {
            png_destroy_write_struct(&png, &info);
            state.SkipWithError("libpng failed");
            break;
        }
        png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_set_compression_mem_level(png, 8);
        png_set_write_fn(png, nullptr, WriteToSink, FlushNothing);
        png_write_info(png, info);
        png_set_bgr(png);
        for (int i = kHeight - 1; i >= 0; --i)
            png_write_row(png, page.rows.data() + static_cast<std::size_t>(i) * page.bytesPerRow);
        png_text text{};
        text.compression = PNG_TEXT_COMPRESSION_NONE;
        text.key = const_cast<char*>("Software");
        text.text = const_cast<char*>("Written by Pictra from Halvix, Inc.");
        png_set_text(png, info, &text, 1);
        png_write_end(png, info);
        png_destroy_write_struct(&png, &info);
    }
    state.counters["bytes"] = static_cast<double>(Sink().size());
}

} // namespace

BENCHMARK(BM_PngFilter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainLibpng)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
