// Decoding one G4 page of 1728 x 2200 rendered text three ways on the same
// T.6 data: libtiff's own decoder (TIFFReadEncodedStrip on a one-strip TIFF in
// memory), the PT31MMR filter alone on the page in memory, and the imaging
// core opening the page as an MMR file on disk. BM_RatiosInOneRun times the
// three in turn within each iteration and reports the medians of the paired
// ratios, so that load from other programs falls on all three alike.
#include "filters/common/FilterEntries.h"
#include "platform/imaging/Pictra.h"
#include "tests/support/FaxStreams.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kWidth = 1728;
constexpr int kHeight = 2200;

const faxtest::Bytes& PageData()
{
    static const faxtest::Bytes data = faxtest::Encode(faxtest::TextPage(kWidth, kHeight, 7), faxtest::Coding::G4);
    return data;
}

const faxtest::Bytes& MmrFile()
{
    static const faxtest::Bytes file = [] {
        faxtest::ContainerPage page;
        page.width = kWidth;
        page.height = kHeight;
        page.data = PageData();
        faxtest::Bytes bytes = {0xC6, 0xD9};
        const faxtest::Bytes segment = faxtest::ContainerPageBytes(page);
        bytes.insert(bytes.end(), segment.begin(), segment.end());
        return bytes;
    }();
    return file;
}

// The MMR file on disk for the core, removed at exit.
const std::string& MmrPath()
{
    struct File
    {
        std::string path = "/tmp/bench_mmr_decode_" + std::to_string(::getpid()) + ".mmr";
        File()
        {
            std::ofstream out(path, std::ios::binary);
            out.write(reinterpret_cast<const char*>(MmrFile().data()), static_cast<std::streamsize>(MmrFile().size()));
        }
        ~File() { std::remove(path.c_str()); }
    };
    static const File file;
    return file.path;
}

// The filter reads the file in memory without a copy.
struct View
{
    const std::uint8_t* data;
    std::int64_t size;
    std::int64_t pos;
};

int ViewOpen(const char*, int, FilterFileHandle*)
{
    return 0;
}
void ViewClose(FilterFileHandle) {}
std::int64_t ViewRead(FilterFileHandle file, void* buffer, std::int64_t count)
{
    auto* view = reinterpret_cast<View*>(file);
    const std::int64_t n = std::max<std::int64_t>(0, std::min(count, view->size - view->pos));
    if (n > 0)
        std::memcpy(buffer, view->data + view->pos, static_cast<std::size_t>(n));
    view->pos += n;
    return n;
}
std::int64_t ViewSeek(FilterFileHandle file, std::int64_t offset, int origin)
{
    auto* view = reinterpret_cast<View*>(file);
    view->pos = (origin == kFilterSeekCurrent ? view->pos : 0) + offset;
    return view->pos;
}

class FilterDecode
{
public:
    FilterDecode() : m_rows(static_cast<std::size_t>(BitmapRowBytes(1, kWidth) * kHeight)) {}
    bool Run()
    {
        static const IoCallbacks io{ViewOpen, ViewClose, ViewRead, nullptr, ViewSeek};
        View view{MmrFile().data(), static_cast<std::int64_t>(MmrFile().size()), 0};
        FilterStateHandle image = nullptr;
        if (PTDLinit_image("bench.mmr", &image, reinterpret_cast<FilterFileHandle>(&view), 0, 0, &io) != 1)
            return false;
        const bool ok = PTDLset_row(image, 0) == 1
                        && PTDLread_rows(image, m_rows.data(), kHeight, BitmapRowBytes(1, kWidth), 0, nullptr) == 1;
        PTDLclose_image(image);
        benchmark::DoNotOptimize(m_rows.data());
        return ok;
    }

private:
    std::vector<std::uint8_t> m_rows;
};

class CoreDecode
{
public:
    bool Run()
    {
        PtImage image = PtOpenImage(MmrPath().c_str());
        const BitmapInfoHeader* info = image ? PtImageInfo(image, nullptr) : nullptr;
        const bool ok = info && info->biWidth == kWidth && info->biHeight == kHeight;
        benchmark::DoNotOptimize(info);
        PtFreeImage(image);
        return ok;
    }
};

class LibtiffDecode
{
public:
    LibtiffDecode() : m_rows(static_cast<std::size_t>((kWidth + 7) / 8 * kHeight))
    {
        TIFF* out = m_file.Open("w");
        TIFFSetField(out, TIFFTAG_IMAGEWIDTH, kWidth);
        TIFFSetField(out, TIFFTAG_IMAGELENGTH, kHeight);
        TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, 1);
        TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(out, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
        TIFFSetField(out, TIFFTAG_ROWSPERSTRIP, kHeight);
        TIFFSetField(out, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
        const faxtest::Bytes& data = PageData();
        TIFFWriteRawStrip(out, 0, const_cast<std::uint8_t*>(data.data()), static_cast<tmsize_t>(data.size()));
        TIFFClose(out);
    }
    bool Run()
    {
        TIFF* in = m_file.Open("r");
        const bool ok = TIFFReadEncodedStrip(in, 0, m_rows.data(), static_cast<tmsize_t>(m_rows.size())) >= 0;
        TIFFClose(in);
        benchmark::DoNotOptimize(m_rows.data());
        return ok;
    }

private:
    faxtest::MemoryTiff m_file;
    std::vector<std::uint8_t> m_rows;
};

template <typename Decode>
void BM_Decode(benchmark::State& state)
{
    Decode decode;
    for (auto _ : state) {
        if (!decode.Run()) {
            state.SkipWithError("decoding failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * (kWidth / 8) * kHeight);
}
BENCHMARK_TEMPLATE(BM_Decode, LibtiffDecode)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Decode, FilterDecode)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Decode, CoreDecode)->Unit(benchmark::kMillisecond);

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

template <typename Decode>
double Seconds(Decode& decode, bool* ok)
{
    const auto start = std::chrono::steady_clock::now();
    *ok = decode.Run() && *ok;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Counters: how many times as fast as libtiff the filter alone and the core
// are (libtiff's time over theirs), medians of the pairs of one iteration.
void BM_RatiosInOneRun(benchmark::State& state)
{
    LibtiffDecode libtiff;
    FilterDecode filter;
    CoreDecode core;
    std::vector<double> filterRatios;
    std::vector<double> coreRatios;
    bool ok = true;
    for (auto _ : state) {
        const double tiffTime = Seconds(libtiff, &ok);
        const double filterTime = Seconds(filter, &ok);
        const double coreTime = Seconds(core, &ok);
        filterRatios.push_back(tiffTime / filterTime);
        coreRatios.push_back(tiffTime / coreTime);
    }
    if (!ok)
        state.SkipWithError("decoding failed");
    state.counters["filter_vs_libtiff"] = Median(filterRatios);
    state.counters["core_vs_libtiff"] = Median(coreRatios);
}
BENCHMARK(BM_RatiosInOneRun)->Unit(benchmark::kMillisecond)->Iterations(300);

} // namespace

BENCHMARK_MAIN();
