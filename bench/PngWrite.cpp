// Writing an A4 page at 300 dpi (2480 x 3508, 24 bits) as PNG: through the
// core (PtSaveImage, which hands the page to PT31XPNG) and through the filter
// alone, each beside plain libpng with the same settings: the same filters
// and level, memory level 8, blue-green-red input, the same text chunk.
//
// The core writes a file the safe way (a new file beside the target, fsync,
// rename), so its libpng counterpart does the same in the same folder, on
// tmpfs when there is one so that the disk takes no part. The filter alone
// and its counterpart write into memory. Each pairing runs both sides in
// turn within one iteration and reports the median of the per-pair ratios
// ("ratio", the first over libpng): the machine may be busy, and a pair sees
// the same load.

#include "filters/common/FilterEntries.h"
#include "platform/imaging/Pictra.h"

#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
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

    // The device-independent bitmap the core takes: header, then the rows.
    std::vector<std::uint8_t> Bitmap() const
    {
        std::vector<std::uint8_t> block(description);
        block.insert(block.end(), rows.begin(), rows.end());
        return block;
    }
};

const Page& ThePage()
{
    static const Page page;
    return page;
}

// The settings both sides of a pairing use.
struct Settings
{
    const char* name;
    const char* options; // for the filter, besides EXTENSION and FILENAME
    int libpngFilter;    // -1: libpng's default
};

const Settings kSettings[] = {
    {"default filters", "", -1},
    {"no filtering", "PNG_FILTER = NONE", PNG_FILTER_NONE},
};

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

// Plain libpng over the page, bytes going to write.
bool LibpngWrite(const Page& page, int filter, png_rw_ptr write, void* target)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (filter >= 0)
        png_set_filter(png, PNG_FILTER_TYPE_BASE, filter);
    png_set_compression_mem_level(png, 8);
    png_set_write_fn(png, target, write, [](png_structp) {});
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
    return true;
}

void WriteToSink(png_structp, png_bytep data, png_size_t length)
{
    Sink().insert(Sink().end(), data, data + length);
}

void WriteToFile(png_structp png, png_bytep data, png_size_t length)
{
    const int fd = *static_cast<int*>(png_get_io_ptr(png));
    for (png_size_t done = 0; done < length;) {
        const ssize_t n = ::write(fd, data + done, length - done);
        if (n <= 0)
            png_error(png, "write failed");
        done += static_cast<png_size_t>(n);
    }
}

// Plain libpng with the I/O of a safe save: a new file beside the target,
// written, flushed to disk and renamed over it.
bool LibpngSafeSave(const Page& page, int filter, const std::string& target)
{
    const std::string temporary = target + ".new";
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    bool ok = LibpngWrite(page, filter, WriteToFile, &fd);
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    return ok && ::rename(temporary.c_str(), target.c_str()) == 0;
}

// A folder for the files, on tmpfs when the machine has one.
const std::string& Folder()
{
    static const std::string folder = [] {
        std::string base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
        std::string pattern = base + "/kwvd-bench-png-XXXXXX";
        return std::string(::mkdtemp(pattern.data()) ? pattern : base);
    }();
    return folder;
}

double Seconds(const std::function<bool()>& run, bool* ok)
{
    const auto start = std::chrono::steady_clock::now();
    *ok = run() && *ok;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Runs both sides once per iteration, in turn; the iteration's time is the
// first side's, and "ratio" the median of first / libpng over the pairs.
void Paired(benchmark::State& state, const std::function<bool()>& ours, const std::function<bool()>& libpng)
{
    std::vector<double> ratios;
    bool ok = true;
    for (auto _ : state) {
        const double mine = Seconds(ours, &ok);
        const double theirs = Seconds(libpng, &ok);
        state.SetIterationTime(mine);
        ratios.push_back(mine / theirs);
        if (!ok)
            break;
    }
    if (!ok) {
        state.SkipWithError("export failed");
        return;
    }
    std::sort(ratios.begin(), ratios.end());
    state.counters["ratio"] = ratios.empty() ? 0.0 : ratios[ratios.size() / 2];
    state.counters["bytes"] = static_cast<double>(Sink().size());
}

void BM_CoreAgainstLibpng(benchmark::State& state)
{
    const Settings& settings = kSettings[state.range(0)];
    state.SetLabel(settings.name);
    PtStartup();
    const std::vector<std::uint8_t> bitmap = ThePage().Bitmap();
    PtImage image = PtImageFromBitmap(bitmap.data(), bitmap.size());
    const std::string ours = Folder() + "/core.png";
    const std::string text =
        std::string("EXTENSION = PNG\rOVERWRITE = ON\rFILENAME = ") + ours + "\r" + settings.options;
    OptionBlockHandle options = PtOptionBlockFromText(text.c_str());
    const std::string theirs = Folder() + "/libpng.png";
    if (!image || !options) {
        state.SkipWithError("no image");
    } else {
        Paired(
            state, [&] { return PtSaveImage(image, options) == 1; },
            [&] { return LibpngSafeSave(ThePage(), settings.libpngFilter, theirs); });
        state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(ours));
        if (std::filesystem::file_size(ours) != std::filesystem::file_size(theirs))
            state.SkipWithError("the two files differ in size");
    }
    std::filesystem::remove(ours);
    std::filesystem::remove(theirs);
    PtFreeOptionBlock(options);
    PtFreeImage(image);
    PtShutdown();
}

void BM_FilterAgainstLibpng(benchmark::State& state)
{
    const Settings& settings = kSettings[state.range(0)];
    state.SetLabel(settings.name);
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
    OptionBlock* options = kwvd::filters::OptionBlockCreate(settings.options);
    Paired(
        state,
        [&] {
            std::int32_t flags = 0;
            FilterStateHandle image = begin("page.png", &io, "", page.Header(), options, &flags);
            return image && write(image, kHeight, page.bytesPerRow, page.rows.data(), nullptr) == 1
                   && end(image, 0) == 1;
        },
        [&] {
            Sink().clear();
            return LibpngWrite(page, settings.libpngFilter, WriteToSink, nullptr);
        });
    kwvd::filters::OptionBlockFree(options);
    dlclose(module);
}

} // namespace

BENCHMARK(BM_CoreAgainstLibpng)->DenseRange(0, 1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterAgainstLibpng)->DenseRange(0, 1)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(Folder());
    return 0;
}
