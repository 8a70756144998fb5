// Taking an undo snapshot of a document of 1,000 elements and 20 spooled
// pages, beside plain zlib compress of the same document image.

#include "designer/document/DesignerDoc.h"
#include "designer/document/DocumentClasses.h"
#include "designer/document/Page.h"
#include "designer/document/SpooledFile.h"
#include "designer/elements/ElementClasses.h"
#include "designer/elements/FormElement.h"
#include "designer/elements/FormTextElement.h"
#include "designer/output/OutputClasses.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/ResourceClasses.h"
#include "platform/framework/Archive.h"
#include "platform/framework/Collections.h"
#include "platform/framework/FrameworkClasses.h"
#include "platform/framework/MemFile.h"
#include "platform/ui/ScriptedPromptService.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <QTemporaryDir>

#include <memory>
#include <vector>

#include "bench/GeneratedDocument.h"

namespace {

constexpr int kElements = 1000;
constexpr int kSpooledPages = 20;
constexpr int kContainers = 50; // each holds 19 children

struct BenchDocument
{
    BenchDocument()
    {
        SetUpBenchModel(folder, preferences, 64);

        doc.OnNewDocument();
        CDocChangeGuard change(&doc);
        doc.GetSourcePage()->SetSizeInCells(132, 66);
        doc.GetOutputPage()->SetSizeInCells(132, 66);
        for (int n = 1; n <= kSpooledPages; ++n) {
            auto* lines = new CStringArray;
            for (int line = 1; line <= 66; ++line)
                lines->Add(QStringLiteral("PAGE %1 LINE %2 CUSTOMER %3 AMOUNT %4")
                               .arg(n)
                               .arg(line, 2, 10, QChar(u'0'))
                               .arg(n * 1000 + line * 7)
                               .arg(line * 13.25, 0, 'f', 2)
                               .leftJustified(132, u' '));
            doc.GetSpooledFile()->SetPage(lines, n);
        }

        AddGeneratedElements(doc, kElements, kContainers,
                             {FormElementType::Text, FormElementType::Variable, FormElementType::Source});
    }

    std::vector<BYTE> Image()
    {
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            ar.m_pDocument = &doc;
            doc.Serialize(ar);
            ar.Close();
        }
        std::vector<BYTE> bytes(static_cast<size_t>(file.GetLength()));
        file.SeekToBegin();
        file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
        return bytes;
    }

    QTemporaryDir folder;
    CPreferences preferences;
    CDesignerDoc doc;
};

BenchDocument& Document()
{
    static BenchDocument document;
    return document;
}

void BM_TakeUndoSnapshot(benchmark::State& state)
{
    BenchDocument& bench = Document();
    for (auto _ : state)
        bench.doc.TakeUndoSnapshot();
    state.counters["elements"] = static_cast<double>(bench.doc.GetElementList().GetCount());
    state.counters["image_bytes"] = static_cast<double>(bench.Image().size());
    state.counters["snapshot_bytes"] =
        static_cast<double>(static_cast<CFile*>(bench.doc.GetUndoList().GetHead())->GetLength());
}

void BM_ZlibCompressOfTheSameImage(benchmark::State& state)
{
    const std::vector<BYTE> image = Document().Image();
    std::vector<BYTE> packed(compressBound(static_cast<uLong>(image.size())));
    uLongf packedLength = 0;
    for (auto _ : state) {
        packedLength = static_cast<uLongf>(packed.size());
        if (compress(packed.data(), &packedLength, image.data(), static_cast<uLong>(image.size())) != Z_OK)
            state.SkipWithError("compress failed");
        benchmark::DoNotOptimize(packed.data());
    }
    state.counters["image_bytes"] = static_cast<double>(image.size());
    state.counters["packed_bytes"] = static_cast<double>(packedLength);
}

} // namespace

BENCHMARK(BM_TakeUndoSnapshot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibCompressOfTheSameImage)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
