// Importing an XML sample whose root holds n empty sibling elements, each
// with one attribute: the import should grow with n, not with n squared.

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include "bench/GeneratedDocument.h"

namespace {

QString WriteSample(const QTemporaryDir& folder, int siblings)
{
    const QString path = folder.filePath(QStringLiteral("siblings-%1.xml").arg(siblings));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("<?xml version=\"1.0\"?>\n<Root>\n");
    for (int n = 0; n < siblings; ++n)
        file.write(QStringLiteral("<Item n=\"%1\"/>\n").arg(n).toUtf8());
    file.write("</Root>\n");
    return path;
}

void BM_ImportSampleSiblings(benchmark::State& state)
{
    QTemporaryDir folder;
    CPreferences preferences;
    SetUpBenchModel(folder, preferences, 0);
    const int siblings = static_cast<int>(state.range(0));
    const QString path = WriteSample(folder, siblings);
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<CDesignerDoc>();
        doc->OnNewDocument();
        doc->SetDocType(1);
        doc->GetSourcePage()->SetSizeInCells(80, 66);
        state.ResumeTiming();
        {
            CDocChangeGuard change(doc.get());
            CDesignerDoc::ImportXmlFile(doc.get(), path);
        }
        state.PauseTiming();
        state.counters["elements"] = static_cast<double>(doc->GetElementList().GetCount());
        doc.reset();
        state.ResumeTiming();
    }
    state.SetComplexityN(siblings);
}

} // namespace

BENCHMARK(BM_ImportSampleSiblings)->RangeMultiplier(2)->Range(1000, 16000)->Unit(benchmark::kMillisecond)->Complexity();

BENCHMARK_MAIN();
