// Decoding one G4 page of 1728 x 2200 text: through PT31MMR and through
// libtiff's own G4 decoder, on the same T.6 data.
#include "filters/common/FilterEntries.h"
#include "tests/support/FaxStreams.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kWidth = 1728;
constexpr int kHeight = 2200;

const faxtest::Bytes& PageData()
{
    static const faxtest::Bytes data = faxtest::Encode(faxtest::TextPage(kWidth, kHeight, 7), faxtest::Coding::G4);
    return data;
}

void BM_Pt31MmrDecodeG4Page(benchmark::State& state)
{
    faxtest::ContainerPage page;
    page.width = kWidth;
    page.height = kHeight;
    page.data = PageData();
    faxtest::Bytes file = {0xC6, 0xD9};
    const faxtest::Bytes segment = faxtest::ContainerPageBytes(page);
    file.insert(file.end(), segment.begin(), segment.end());
    faxtest::MemoryFiles()["bench.mmr"] = file;
    const std::int64_t rowBytes = BitmapRowBytes(1, kWidth);
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(rowBytes * kHeight));
    for (auto _ : state) {
        FilterFileHandle handle = 0;
        faxtest::MemoryOpen("bench.mmr", 0, &handle);
        FilterStateHandle image = nullptr;
        PTDLinit_image("bench.mmr", &image, handle, 0, 0, &faxtest::MemoryIo());
        PTDLset_row(image, 0);
        if (PTDLread_rows(image, rows.data(), kHeight, rowBytes, 0, nullptr) != 1)
            state.SkipWithError("decoding failed");
        PTDLclose_image(image);
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * rowBytes * kHeight);
}
BENCHMARK(BM_Pt31MmrDecodeG4Page)->Unit(benchmark::kMillisecond);

void BM_LibtiffDecodeG4Page(benchmark::State& state)
{
    faxtest::MemoryTiff file;
    TIFF* out = file.Open("w");
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
    const std::int64_t rowBytes = (kWidth + 7) / 8;
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(rowBytes * kHeight));
    for (auto _ : state) {
        TIFF* in = file.Open("r");
        if (TIFFReadEncodedStrip(in, 0, rows.data(), static_cast<tmsize_t>(rows.size())) < 0)
            state.SkipWithError("decoding failed");
        TIFFClose(in);
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * rowBytes * kHeight);
}
BENCHMARK(BM_LibtiffDecodeG4Page)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
