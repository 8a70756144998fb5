// The JVX export and import of a generated document of 1,000 elements at
// version 28, each paired with the plain I/O of the same file: the export
// with creating, writing, forcing to disk and renaming the same bytes, the
// import with reading the file and cutting it into its record fields. Each
// prints its ratio. Beside them, the export's own safe save of the same
// bytes against the same plain I/O: the part of the export's ratio that is
// file handling, not JVX writing.

#include "designer/document/DesignerDoc.h"
#include "designer/document/DocumentClasses.h"
#include "designer/document/Page.h"
#include "designer/elements/ElementClasses.h"
#include "designer/elements/FormElement.h"
#include "designer/elements/FormTextElement.h"
#include "designer/output/OutputClasses.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/ResourceClasses.h"
#include "platform/framework/File.h"
#include "platform/framework/FrameworkClasses.h"
#include "platform/framework/SafeFileSave.h"
#include "platform/ui/ScriptedPromptService.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "bench/GeneratedDocument.h"

namespace {

constexpr int kElements = 1000;
constexpr int kContainers = 50; // each holds 19 children

struct BenchDocument
{
    BenchDocument()
    {
        SetUpBenchModel(folder, preferences, 0);
        doc.OnNewDocument();
        CDocChangeGuard change(&doc);
        doc.GetOutputPage()->SetSizeInCells(132, 66);
        AddGeneratedElements(doc, kElements, kContainers, {FormElementType::Text});
        path = folder.filePath(QStringLiteral("BENCH.JVX"));
        QString member = QStringLiteral("BENCH");
        doc.ExportJVXFile(path, member, 28);
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        const QByteArray data = file.readAll();
        bytes.assign(data.begin(), data.end());
    }

    QTemporaryDir folder;
    CPreferences preferences;
    CDesignerDoc doc;
    QString path;
    std::vector<char> bytes;
};

BenchDocument& Document()
{
    static BenchDocument document;
    return document;
}

// Each iteration times the document operation and the plain I/O it stands
// beside, one right after the other and in turn first, so that both meet
// the same load on a shared machine; the median of the per-pair ratios is
// the figure.
struct PairedRatios
{
    std::vector<double> ratios;
    // Seconds of each side, for the medians printed beside the ratio.
    std::vector<double> firsts;
    std::vector<double> seconds;

    static double MedianOf(std::vector<double> values)
    {
        if (values.empty())
            return 0.0;
        std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
        return values[values.size() / 2];
    }
    double Median() const { return MedianOf(ratios); }

    void Print(const char* what) const
    {
        if (ratios.empty())
            return;
        std::printf("%s: %.2fx, median of %zu pairs (median times %.2f ms and %.2f ms)\n", what, Median(),
                    ratios.size(), 1e3 * MedianOf(firsts), 1e3 * MedianOf(seconds));
    }
};

PairedRatios& ExportRatios()
{
    static PairedRatios ratios;
    return ratios;
}

PairedRatios& SafeSaveRatios()
{
    static PairedRatios ratios;
    return ratios;
}

PairedRatios& ImportRatios()
{
    static PairedRatios ratios;
    return ratios;
}

double SecondsOf(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// What a safe save of the bytes costs at the least: a new file beside the
// target, the bytes written in one call and forced to disk, then renamed
// over the target.
void WriteSyncRename(const BenchDocument& bench, const QByteArray& temporary, const QByteArray& target)
{
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return;
    const char* data = bench.bytes.data();
    size_t left = bench.bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written <= 0)
            break;
        data += written;
        left -= static_cast<size_t>(written);
    }
    ::fsync(fd);
    ::close(fd);
    ::rename(temporary.constData(), target.constData());
}

// The least an import does with the file: read it and cut every line into
// the fixed fields of a record, each field a string without its trailing
// blanks. Returns the characters kept, so that nothing is optimised away.
qsizetype ReadRecordFields(const QByteArray& path)
{
    // The field widths of a record line at version 28.
    static constexpr int kWidths[] = {1,  1, 4, 4, 1, 3, 3, 3, 1, 3, 4, 3, 4,  3,   2, 132,
                                      50, 3, 1, 1, 1, 1, 1, 1, 1, 6, 6, 1, 10, 256, 1, 1};
    FILE* file = std::fopen(path.constData(), "rb");
    if (file == nullptr)
        return 0;
    std::vector<char16_t> units;
    char chunk[64 * 1024];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        const size_t before = units.size();
        units.resize(before + got / 2);
        std::memcpy(units.data() + before, chunk, got / 2 * 2);
    }
    std::fclose(file);

    qsizetype kept = 0;
    QString field;
    const std::u16string_view text(units.data(), units.size());
    size_t lineStart = 0;
    while (lineStart < text.size()) {
        size_t lineEnd = text.find(u"\r\n", lineStart);
        if (lineEnd == std::u16string_view::npos)
            lineEnd = text.size();
        size_t at = lineStart;
        for (size_t i = 0; at < lineEnd; i = (i + 1) % std::size(kWidths)) {
            const size_t width = std::min<size_t>(static_cast<size_t>(kWidths[i]), lineEnd - at);
            size_t end = at + width;
            while (end > at && QChar(text[end - 1]).isSpace())
                --end;
            field = QString::fromUtf16(text.data() + at, static_cast<qsizetype>(end - at));
            kept += field.size();
            at += width;
        }
        lineStart = lineEnd + 2;
    }
    return kept;
}

// Times first and second back to back, in turn first, and keeps the ratio.
double TimePair(bool& firstFirst, const std::function<void()>& first, const std::function<void()>& second,
                PairedRatios& ratios)
{
    double firstSeconds = 0.0;
    double secondSeconds = 0.0;
    if (firstFirst) {
        firstSeconds = SecondsOf(first);
        secondSeconds = SecondsOf(second);
    } else {
        secondSeconds = SecondsOf(second);
        firstSeconds = SecondsOf(first);
    }
    firstFirst = !firstFirst;
    ratios.ratios.push_back(firstSeconds / secondSeconds);
    ratios.firsts.push_back(firstSeconds);
    ratios.seconds.push_back(secondSeconds);
    return firstSeconds;
}

void BM_ExportJvxAgainstIo(benchmark::State& state)
{
    BenchDocument& bench = Document();
    QString member = QStringLiteral("BENCH");
    const QByteArray temporary = bench.folder.filePath(QStringLiteral(".PLAIN.JVX.tmp")).toUtf8();
    const QByteArray target = bench.folder.filePath(QStringLiteral("PLAIN.JVX")).toUtf8();
    bool exportFirst = true;
    for (auto _ : state) {
        const double seconds = TimePair(
            exportFirst,
            [&] {
                if (!bench.doc.ExportJVXFile(bench.path, member, 28))
                    state.SkipWithError("export failed");
            },
            [&] { WriteSyncRename(bench, temporary, target); }, ExportRatios());
        state.SetIterationTime(seconds);
    }
    state.counters["file_bytes"] = static_cast<double>(bench.bytes.size());
    state.counters["ratio_to_io"] = ExportRatios().Median();
}

void BM_SafeSaveAgainstIo(benchmark::State& state)
{
    BenchDocument& bench = Document();
    const QString saved = bench.folder.filePath(QStringLiteral("SAVED.JVX"));
    const QByteArray temporary = bench.folder.filePath(QStringLiteral(".PLAIN.JVX.tmp")).toUtf8();
    const QByteArray target = bench.folder.filePath(QStringLiteral("PLAIN.JVX")).toUtf8();
    bool saveFirst = true;
    for (auto _ : state) {
        const double seconds = TimePair(
            saveFirst,
            [&] {
                kwvd::SaveFileReplacing(
                    saved, [&](CFile& file) { file.Write(bench.bytes.data(), static_cast<UINT>(bench.bytes.size())); });
            },
            [&] { WriteSyncRename(bench, temporary, target); }, SafeSaveRatios());
        state.SetIterationTime(seconds);
    }
    state.counters["ratio_to_io"] = SafeSaveRatios().Median();
}

void BM_ImportJvxAgainstRead(benchmark::State& state)
{
    BenchDocument& bench = Document();
    const QByteArray path = bench.path.toUtf8();
    bool importFirst = true;
    for (auto _ : state) {
        auto target = std::make_unique<CDesignerDoc>();
        target->OnNewDocument();
        const double seconds = TimePair(
            importFirst,
            [&] {
                CDocChangeGuard change(target.get());
                if (!target->ImportJVXFile(bench.path))
                    state.SkipWithError("import failed");
            },
            [&] { benchmark::DoNotOptimize(ReadRecordFields(path)); }, ImportRatios());
        target.reset();
        state.SetIterationTime(seconds);
    }
    state.counters["elements"] = static_cast<double>(bench.doc.GetElementList().GetCount());
    state.counters["ratio_to_read"] = ImportRatios().Median();
}

} // namespace

BENCHMARK(BM_ExportJvxAgainstIo)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_SafeSaveAgainstIo)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_ImportJvxAgainstRead)->Unit(benchmark::kMillisecond)->UseManualTime();

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ExportRatios().Print("JVX export / (create + write + fsync + rename)");
    SafeSaveRatios().Print("safe save of the same bytes / (create + write + fsync + rename)");
    ImportRatios().Print("JVX import / (read + split into record fields)");
    return 0;
}
