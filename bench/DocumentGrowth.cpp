// How the document operations grow with the document: JVX import, WVD open,
// one undo step and closing, each at 1,000 and 10,000 generated elements.
// Every case times the two sizes back to back and prints "ratio", the median
// of the pairs' 10k/1k ratios: about 10 is linear, 100 quadratic. A last
// case prints the WVD open of 1,000 elements over the JVX import of the same
// document.

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/preferences/Preferences.h"
#include "platform/ui/ScriptedPromptService.h"

#include <benchmark/benchmark.h>

#include <QString>
#include <QTemporaryDir>

#include <array>
#include <memory>

#include "bench/GeneratedDocument.h"

namespace {

constexpr std::array<int, 2> kSizes = {1000, 10000};
constexpr int kUndoMegabytes = 256;

// The files of one generated document: its JVX export and its WVD file.
struct SizedFiles
{
    int elements = 0;
    QString jvx;
    QString wvd;
};

struct GrowthBench
{
    GrowthBench()
    {
        SetUpBenchModel(folder, preferences, 0);
        for (size_t i = 0; i < kSizes.size(); ++i) {
            const int n = kSizes[i];
            SizedFiles& out = files[i];
            out.elements = n;
            out.jvx = folder.filePath(QStringLiteral("GROW%1.JVX").arg(n));
            out.wvd = folder.filePath(QStringLiteral("grow%1.wvd").arg(n));
            CDesignerDoc doc;
            doc.OnNewDocument();
            {
                CDocChangeGuard change(&doc);
                doc.GetSourcePage()->SetSizeInCells(132, 66);
                doc.GetOutputPage()->SetSizeInCells(132, 66);
            }
            // Containers of 19 children make up the same share at each size.
            AddGeneratedElements(doc, n, n / 20, {FormElementType::Text});
            QString member = QStringLiteral("GROW");
            if (!doc.ExportJVXFile(out.jvx, member, 28) || !doc.OnSaveDocument(out.wvd))
                ok = false;
        }
    }

    QTemporaryDir folder;
    CPreferences preferences;
    std::array<SizedFiles, kSizes.size()> files;
    bool ok = true;
};

GrowthBench& Bench()
{
    static GrowthBench bench;
    return bench;
}

std::unique_ptr<CDesignerDoc> NewDocument()
{
    auto doc = std::make_unique<CDesignerDoc>();
    doc->OnNewDocument();
    return doc;
}

std::unique_ptr<CDesignerDoc> OpenedDocument(const QString& path)
{
    auto doc = std::make_unique<CDesignerDoc>();
    if (!doc->OnOpenDocument(path))
        return nullptr;
    return doc;
}

// The generated elements all arrived (a new document brings its Output
// element too).
bool Holds(const CDesignerDoc& doc, const SizedFiles& files)
{
    return doc.GetElementList().GetCount() >= files.elements;
}

bool Import(CDesignerDoc& doc, const QString& path)
{
    CDocChangeGuard change(&doc);
    return doc.ImportJVXFile(path) == TRUE;
}

// Runs the case's operation on both sizes, pair by pair: prepare makes what
// one run needs (untimed), run is timed on it. The manual time is the 10k run.
template <class Prepare, class Run>
void TimeBothSizes(benchmark::State& state, int undoMegabytes, Prepare prepare, Run run)
{
    GrowthBench& bench = Bench();
    if (!bench.ok) {
        state.SkipWithError("the generated files could not be written");
        return;
    }
    bench.preferences.MaximumUndoBufferSize = undoMegabytes;
    // A document that stays open throughout, as the designer keeps one: the
    // shared lists live on, so no timed close is the last to let them go.
    const std::unique_ptr<CDesignerDoc> keeper = NewDocument();
    PairedTimes times;
    bool failed = false;
    for (auto _ : state) {
        auto large = prepare(bench.files[1]);
        auto small = prepare(bench.files[0]);
        if (!large || !small) {
            failed = true;
            break;
        }
        times.Time([&] { failed |= !run(*large, bench.files[1]); }, [&] { failed |= !run(*small, bench.files[0]); });
        state.SetIterationTime(times.LastFirst());
    }
    bench.preferences.MaximumUndoBufferSize = 0;
    if (failed)
        state.SkipWithError("an operation failed");
    state.counters["ratio"] = times.MedianRatio();
}

void BM_GrowthJvxImport(benchmark::State& state)
{
    TimeBothSizes(
        state, 0, [](const SizedFiles&) { return NewDocument(); },
        [](CDesignerDoc& doc, const SizedFiles& files) { return Import(doc, files.jvx) && Holds(doc, files); });
}

// Opening into a document that already exists, as the designer reuses its one
// document.
void BM_GrowthWvdOpen(benchmark::State& state)
{
    TimeBothSizes(
        state, 0, [](const SizedFiles&) { return NewDocument(); },
        [](CDesignerDoc& doc, const SizedFiles& files) {
            return doc.OnOpenDocument(files.wvd) == TRUE && Holds(doc, files);
        });
}

// The document opened and changed once, so that one step can be undone.
void BM_GrowthUndoStep(benchmark::State& state)
{
    TimeBothSizes(
        state, kUndoMegabytes,
        [](const SizedFiles& files) {
            std::unique_ptr<CDesignerDoc> doc = OpenedDocument(files.wvd);
            if (doc) {
                CDocChangeGuard change(doc.get());
                doc->SetModifiedFlag(TRUE);
            }
            if (doc && !doc->CanUndo())
                doc.reset();
            return doc;
        },
        [](CDesignerDoc& doc, const SizedFiles& files) {
            doc.OnEditUndo();
            return Holds(doc, files);
        });
}

// Closing: the document lets its views go and is destroyed with its elements.
void BM_GrowthClose(benchmark::State& state)
{
    TimeBothSizes(
        state, 0,
        [](const SizedFiles& files) {
            // A holder the timed run can empty.
            auto holder = std::make_unique<std::unique_ptr<CDesignerDoc>>(OpenedDocument(files.wvd));
            if (!*holder)
                holder.reset();
            return holder;
        },
        [](std::unique_ptr<CDesignerDoc>& doc, const SizedFiles&) {
            doc->OnCloseDocument();
            doc.reset();
            return true;
        });
}

// The WVD open of 1,000 elements over the JVX import of the same document.
void BM_WvdOpenAgainstJvxImport(benchmark::State& state)
{
    GrowthBench& bench = Bench();
    if (!bench.ok) {
        state.SkipWithError("the generated files could not be written");
        return;
    }
    const SizedFiles& files = bench.files[0];
    const std::unique_ptr<CDesignerDoc> keeper = NewDocument();
    PairedTimes times;
    bool failed = false;
    for (auto _ : state) {
        std::unique_ptr<CDesignerDoc> opened = NewDocument();
        std::unique_ptr<CDesignerDoc> imported = NewDocument();
        times.Time([&] { failed |= opened->OnOpenDocument(files.wvd) != TRUE; },
                   [&] { failed |= !Import(*imported, files.jvx); });
        failed |= !Holds(*opened, files) || !Holds(*imported, files);
        state.SetIterationTime(times.LastFirst());
    }
    if (failed)
        state.SkipWithError("an operation failed");
    state.counters["ratio"] = times.MedianRatio();
}

} // namespace

BENCHMARK(BM_GrowthJvxImport)->Iterations(9)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GrowthWvdOpen)->Iterations(9)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GrowthUndoStep)->Iterations(9)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GrowthClose)->Iterations(9)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WvdOpenAgainstJvxImport)->Iterations(21)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
