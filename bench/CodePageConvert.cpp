// Converting spooled-file lines of 132 host bytes to the designer's UTF-16 and
// back, as an import or export of a spooled file does line by line, through
// one converter kept for the whole file. Reports bytes converted per second.

#include "platform/clientaccess/CodePages.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr std::size_t kLineLength = 132;

// Invoice text in EBCDIC letters and digits.
std::string SingleByteLine()
{
    const std::string pattern = "\xC9\xD5\xE5\xD6\xC9\xC3\xC5\x40\xF1\xF2\xF3\xF4\x40";
    std::string line;
    while (line.size() < kLineLength)
        line += pattern;
    line.resize(kLineLength);
    return line;
}

// Single-byte text with a run of double-byte characters in every 22 bytes.
std::string MixedLine()
{
    const std::string pattern =
        "\xC1\xC2\xC3\xC4\x40\x0E\x42\xC1\x42\xC2\x40\x40\x41\x41\x0F\x40\xF1\xF2\xF3\xF4\x40\x40";
    std::string line;
    while (line.size() + pattern.size() <= kLineLength)
        line += pattern;
    return line;
}

void ConvertLines(benchmark::State& state, unsigned long from, unsigned long to, unsigned long options,
                  const std::string& line)
{
    cwbNL_Converter converter = 0;
    if (cwbNL_CreateConverterEx(from, to, options, &converter, 0) != kCwbOk) {
        state.SkipWithError("no converter");
        return;
    }
    std::string target(line.size() * 4, '\0');
    for (auto _ : state) {
        unsigned long converted = 0;
        const unsigned result =
            cwbNL_Convert(converter, line.size(), target.size(), line.data(), target.data(), &converted, nullptr, 0);
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(target.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(line.size()));
    cwbNL_DeleteConverter(converter, 0);
}

std::string ToUtf16(unsigned long from, unsigned long options, const std::string& line)
{
    cwbNL_Converter converter = 0;
    cwbNL_CreateConverterEx(from, 1202, options, &converter, 0);
    std::string target(line.size() * 4, '\0');
    unsigned long converted = 0;
    cwbNL_Convert(converter, line.size(), target.size(), line.data(), target.data(), &converted, nullptr, 0);
    cwbNL_DeleteConverter(converter, 0);
    target.resize(converted);
    return target;
}

void BM_SingleByteToPc(benchmark::State& state)
{
    ConvertLines(state, 285, 1202, kCwbNlPlain, SingleByteLine());
}

void BM_MixedToPcInColumns(benchmark::State& state)
{
    ConvertLines(state, 930, 1202, kCwbNlColumnMode, MixedLine());
}

void BM_PcToSingleByte(benchmark::State& state)
{
    ConvertLines(state, 1202, 285, kCwbNlPlain, ToUtf16(285, kCwbNlPlain, SingleByteLine()));
}

void BM_PcColumnsToMixed(benchmark::State& state)
{
    ConvertLines(state, 1202, 930, kCwbNlColumnMode, ToUtf16(930, kCwbNlColumnMode, MixedLine()));
}

} // namespace

BENCHMARK(BM_SingleByteToPc);
BENCHMARK(BM_MixedToPcInColumns);
BENCHMARK(BM_PcToSingleByte);
BENCHMARK(BM_PcColumnsToMixed);

BENCHMARK_MAIN();
