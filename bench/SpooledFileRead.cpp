// Reading a local spooled file of 10,000 pages, beside reading and decoding
// the same bytes from UTF-16 with nothing kept. Each benchmark prints its
// throughput as a share of that reference, timed within the same iterations
// ("throughput_ratio"; BM_ReadAndDecode against itself shows the noise), and
// its memory: the resident high-water mark of a child process that does one
// read, less that of a child that does nothing ("peak_MB": low when the
// child reuses heap its parent freed), and the heap the pages hold as a
// share of the file, once read and once every page has been shown
// ("held_per_file", "held_per_file_all_shown").

#include "designer/document/SpooledFile.h"
#include "designer/preferences/Preferences.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringDecoder>

#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int kPages = 10000;
constexpr int kLinesPerPage = 60;
constexpr int kLineLength = 80;

// Each page opens with a skip to line 1; every further line spaces one down.
const QString& SpoolPath()
{
    static const QString path = [] {
        const QString file = QDir::temp().filePath(QStringLiteral("kwvd-bench-spool-%1.txt").arg(getpid()));
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly))
            return QString();
        QByteArray page;
        for (int line = 1; line <= kLinesPerPage; ++line) {
            QString text = line == 1 ? QStringLiteral("001 ") : QStringLiteral("   1");
            text += QStringLiteral("LINE %1 ").arg(line, 3, 10, QChar(u'0'));
            text = text.leftJustified(4 + kLineLength, u'x');
            text += QStringLiteral("\r\n");
            for (QChar c : text) {
                page.append(static_cast<char>(c.unicode() & 0xFF));
                page.append(static_cast<char>(c.unicode() >> 8));
            }
        }
        for (int i = 0; i < kPages; ++i)
            out.write(page);
        return file;
    }();
    return path;
}

double FileMegabytes()
{
    return static_cast<double>(QFile(SpoolPath()).size()) / (1024.0 * 1024.0);
}

// Resident high-water mark, in megabytes, of a child that runs work once.
double ChildPeakMegabytes(const std::function<bool()>& work)
{
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0)
        _exit(work() ? 0 : 1);
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

bool ReadSpooledFile()
{
    CSpooledFile file;
    return file.ReadTextFile(SpoolPath()) && file.GetPageCount() == kPages;
}

// The same, each page then shown once.
bool ReadSpooledFileShowingEveryPage()
{
    CSpooledFile file;
    if (!file.ReadTextFile(SpoolPath()) || file.GetPageCount() != kPages)
        return false;
    for (int n = 1; n <= kPages; ++n) {
        if (!file.SetCurrentPage(n))
            return false;
        benchmark::DoNotOptimize(file.GetCurrentPageLines());
    }
    return true;
}

// What the reader stands beside: the file read in blocks of the reader's
// size and decoded from UTF-16, with nothing kept.
bool ReadAndDecode()
{
    QFile in(SpoolPath());
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QStringDecoder decoder(QStringDecoder::Utf16LE);
    std::vector<char> buffer(64 * 1024);
    std::vector<QChar> units(buffer.size() / 2 + 1);
    qint64 total = 0;
    qint64 decoded = 0;
    for (qint64 got; (got = in.read(buffer.data(), static_cast<qint64>(buffer.size()))) > 0;) {
        total += got;
        decoded += decoder.appendToBuffer(units.data(), QByteArrayView(buffer.data(), got)) - units.data();
        benchmark::DoNotOptimize(units.data());
    }
    return total == in.size() && decoded == total / 2;
}

double Seconds(const std::function<bool()>& work, bool& ok)
{
    const auto start = std::chrono::steady_clock::now();
    ok = work() && ok;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// The heap the work leaves held, in megabytes; the work keeps its file
// alive in held until this is counted.
double HeldMegabytes(const std::function<bool(std::unique_ptr<CSpooledFile>& held)>& work)
{
    std::unique_ptr<CSpooledFile> held;
    const struct mallinfo2 before = mallinfo2();
    if (!work(held))
        return -1;
    const struct mallinfo2 after = mallinfo2();
    const double bytes =
        static_cast<double>(after.uordblks + after.hblkhd) - static_cast<double>(before.uordblks + before.hblkhd);
    return bytes / (1024.0 * 1024.0);
}

void SetMemoryCounters(benchmark::State& state, const std::function<bool()>& work)
{
    const double idle = ChildPeakMegabytes([] { return true; });
    const double busy = ChildPeakMegabytes(work);
    const double file = FileMegabytes();
    state.counters["file_MB"] = file;
    state.counters["peak_MB"] = busy < 0 || idle < 0 ? -1 : busy - idle;
    // What the pages hold once read, and once every page has been shown.
    const double read = HeldMegabytes([](std::unique_ptr<CSpooledFile>& held) {
        held = std::make_unique<CSpooledFile>();
        return held->ReadTextFile(SpoolPath()) != FALSE;
    });
    const double shown = HeldMegabytes([](std::unique_ptr<CSpooledFile>& held) {
        held = std::make_unique<CSpooledFile>();
        if (!held->ReadTextFile(SpoolPath()))
            return false;
        for (int n = 1; n <= held->GetPageCount(); ++n)
            held->SetCurrentPage(n);
        return true;
    });
    state.counters["held_per_file"] = read / file;
    state.counters["held_per_file_all_shown"] = shown / file;
}

// Each iteration times the work and the read + decode of the same file back
// to back, in turns, so that both see the same machine; the iteration's time
// is the work's. "throughput_ratio" is the median over the iterations of the
// work's throughput as a share of read + decode (1 = as fast).
void RunBeside(benchmark::State& state, const std::function<bool()>& work)
{
    if (SpoolPath().isEmpty()) {
        state.SkipWithError("cannot write the spooled file");
        return;
    }
    std::vector<double> ratios;
    bool ok = true;
    // One untimed round first, so that every timed one finds the heap grown.
    Seconds(work, ok);
    for (auto _ : state) {
        double workSeconds = 0;
        double referenceSeconds = 0;
        if (ratios.size() % 2 == 0) {
            workSeconds = Seconds(work, ok);
            referenceSeconds = Seconds(ReadAndDecode, ok);
        } else {
            referenceSeconds = Seconds(ReadAndDecode, ok);
            workSeconds = Seconds(work, ok);
        }
        if (!ok) {
            state.SkipWithError("the spooled file did not read whole");
            return;
        }
        state.SetIterationTime(workSeconds);
        ratios.push_back(referenceSeconds / workSeconds);
    }
    state.SetBytesProcessed(state.iterations() * QFile(SpoolPath()).size());
    state.counters["throughput_ratio"] = Median(ratios);
    SetMemoryCounters(state, work);
}

void BM_ReadTextFile(benchmark::State& state)
{
    RunBeside(state, ReadSpooledFile);
}

void BM_ReadTextFileShowingEveryPage(benchmark::State& state)
{
    RunBeside(state, ReadSpooledFileShowingEveryPage);
}

void BM_ReadAndDecode(benchmark::State& state)
{
    RunBeside(state, ReadAndDecode);
}

BENCHMARK(BM_ReadTextFile)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_ReadTextFileShowingEveryPage)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_ReadAndDecode)->Unit(benchmark::kMillisecond)->UseManualTime();

} // namespace

int main(int argc, char** argv)
{
    // Memory one read frees stays with the process for the next, as in a
    // running designer: the kernel's cost of handing out fresh pages, large
    // and erratic on a shared machine, is not the reader's.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    CPreferences prefs;
    prefs.MaxSpooledFilePages = kPages;
    SetPreferences(&prefs);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (!SpoolPath().isEmpty())
        QFile::remove(SpoolPath());
    SetPreferences(nullptr);
    return 0;
}
