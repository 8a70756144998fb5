// Importing an XML sample whose root holds n empty sibling elements, each
// with one attribute, and an XDR schema whose document element refers to n
// other element types: both imports should grow with n, not with n squared.

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

// Imports the file written for the state's size into a new XML document,
// timing the import only; answers the schema's question with Yes.
void MeasureImport(benchmark::State& state, QString (*write)(const QTemporaryDir&, int))
{
    QTemporaryDir folder;
    CPreferences preferences;
    SetUpBenchModel(folder, preferences, 0);
    auto prompts = std::make_shared<ScriptedPromptService>();
    SetPrompts(prompts);
    const int size = static_cast<int>(state.range(0));
    const QString path = write(folder, size);
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<CDesignerDoc>();
        doc->OnNewDocument();
        doc->SetDocType(1);
        doc->GetSourcePage()->SetSizeInCells(80, 66);
        prompts->AnswerMessageBox(IDYES);
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
    state.SetComplexityN(size);
}

void BM_ImportSampleSiblings(benchmark::State& state)
{
    MeasureImport(state, WriteSample);
}

QString WriteWideSchema(const QTemporaryDir& folder, int types)
{
    const QString path = folder.filePath(QStringLiteral("wide-%1.xdr").arg(types));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("<?xml version=\"1.0\"?>\n<Schema xmlns=\"urn:schemas-microsoft-com:xml-data\">\n");
    file.write("<ElementType name=\"Root\" content=\"eltOnly\">\n");
    for (int n = 0; n < types; ++n)
        file.write(QStringLiteral("<element type=\"T%1\"/>\n").arg(n).toUtf8());
    file.write("</ElementType>\n");
    for (int n = 0; n < types; ++n)
        file.write(QStringLiteral("<ElementType name=\"T%1\" content=\"textOnly\"/>\n").arg(n).toUtf8());
    file.write("</Schema>\n");
    return path;
}

void BM_ImportSchemaWide(benchmark::State& state)
{
    MeasureImport(state, WriteWideSchema);
}

} // namespace

BENCHMARK(BM_ImportSampleSiblings)->RangeMultiplier(2)->Range(1000, 16000)->Unit(benchmark::kMillisecond)->Complexity();

BENCHMARK(BM_ImportSchemaWide)->RangeMultiplier(2)->Range(500, 4000)->Unit(benchmark::kMillisecond)->Complexity();

BENCHMARK_MAIN();
