// Reading a local spooled file of 10,000 pages, beside plain buffered reading
// of the same bytes. Peak memory is the resident high-water mark of a child
// process that does one read, less that of a child that does nothing.

#include "designer/document/SpooledFile.h"
#include "designer/preferences/Preferences.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QString>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
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

bool ReadBuffered()
{
    QFile in(SpoolPath());
    if (!in.open(QIODevice::ReadOnly))
        return false;
    std::vector<char> buffer(64 * 1024);
    qint64 total = 0;
    for (qint64 got; (got = in.read(buffer.data(), static_cast<qint64>(buffer.size()))) > 0;)
        total += got;
    benchmark::DoNotOptimize(total);
    return total == in.size();
}

void SetMemoryCounters(benchmark::State& state, const std::function<bool()>& work)
{
    const double idle = ChildPeakMegabytes([] { return true; });
    const double busy = ChildPeakMegabytes(work);
    state.counters["file_MB"] = FileMegabytes();
    state.counters["peak_MB"] = busy < 0 || idle < 0 ? -1 : busy - idle;
}

void BM_ReadTextFile(benchmark::State& state)
{
    if (SpoolPath().isEmpty()) {
        state.SkipWithError("cannot write the spooled file");
        return;
    }
    for (auto _ : state) {
        if (!ReadSpooledFile()) {
            state.SkipWithError("the spooled file did not read whole");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * QFile(SpoolPath()).size());
    SetMemoryCounters(state, ReadSpooledFile);
}

void BM_BufferedRead(benchmark::State& state)
{
    if (SpoolPath().isEmpty()) {
        state.SkipWithError("cannot write the spooled file");
        return;
    }
    for (auto _ : state) {
        if (!ReadBuffered()) {
            state.SkipWithError("short read");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * QFile(SpoolPath()).size());
    SetMemoryCounters(state, ReadBuffered);
}

BENCHMARK(BM_ReadTextFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BufferedRead)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
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
