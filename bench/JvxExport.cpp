// The JVX export and import of a generated document of 1,000 elements at
// version 28, beside plain buffered writing and reading of the same bytes.

#include "designer/document/DesignerDoc.h"
#include "designer/document/DocumentClasses.h"
#include "designer/document/Page.h"
#include "designer/elements/ElementClasses.h"
#include "designer/elements/FormElement.h"
#include "designer/elements/FormTextElement.h"
#include "designer/output/OutputClasses.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/ResourceClasses.h"
#include "platform/framework/FrameworkClasses.h"
#include "platform/ui/ScriptedPromptService.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <vector>

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

void BM_ExportJvx(benchmark::State& state)
{
    BenchDocument& bench = Document();
    QString member = QStringLiteral("BENCH");
    for (auto _ : state)
        if (!bench.doc.ExportJVXFile(bench.path, member, 28))
            state.SkipWithError("export failed");
    state.counters["elements"] = static_cast<double>(bench.doc.GetElementList().GetCount());
    state.counters["file_bytes"] = static_cast<double>(bench.bytes.size());
}

void BM_ImportJvx(benchmark::State& state)
{
    BenchDocument& bench = Document();
    for (auto _ : state) {
        state.PauseTiming();
        auto target = std::make_unique<CDesignerDoc>();
        target->OnNewDocument();
        state.ResumeTiming();
        {
            CDocChangeGuard change(target.get());
            if (!target->ImportJVXFile(bench.path))
                state.SkipWithError("import failed");
        }
        state.PauseTiming();
        target.reset();
        state.ResumeTiming();
    }
}

void BM_PlainBufferedWrite(benchmark::State& state)
{
    BenchDocument& bench = Document();
    const QByteArray path = bench.folder.filePath(QStringLiteral("PLAIN.JVX")).toUtf8();
    for (auto _ : state) {
        FILE* file = std::fopen(path.constData(), "wb");
        std::fwrite(bench.bytes.data(), 1, bench.bytes.size(), file);
        std::fclose(file);
    }
}

// The export forces its file to disk before renaming it over the target; the
// same bytes written and forced out show what that costs on its own.
void BM_PlainBufferedWriteSynced(benchmark::State& state)
{
    BenchDocument& bench = Document();
    const QByteArray path = bench.folder.filePath(QStringLiteral("PLAIN.JVX")).toUtf8();
    for (auto _ : state) {
        FILE* file = std::fopen(path.constData(), "wb");
        std::fwrite(bench.bytes.data(), 1, bench.bytes.size(), file);
        std::fflush(file);
        ::fsync(::fileno(file));
        std::fclose(file);
    }
}

void BM_PlainBufferedRead(benchmark::State& state)
{
    BenchDocument& bench = Document();
    std::vector<char> buffer(bench.bytes.size());
    const QByteArray path = bench.path.toUtf8();
    for (auto _ : state) {
        FILE* file = std::fopen(path.constData(), "rb");
        benchmark::DoNotOptimize(std::fread(buffer.data(), 1, buffer.size(), file));
        std::fclose(file);
    }
}

} // namespace

BENCHMARK(BM_ExportJvx)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ImportJvx)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainBufferedWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainBufferedWriteSynced)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainBufferedRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
