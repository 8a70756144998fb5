// Taking an undo snapshot of a document of 1,000 elements, with 20 spooled
// pages and with elements only, beside plain zlib compress (the level the
// snapshots use) of the same document image. The paired cases print the
// snapshot's time over compress's as "ratio", the median of pairs timed back
// to back, and over the same deflate on a stream kept from one image to the
// next as "ratio_to_deflate_alone".

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
    explicit BenchDocument(int spooledPages)
    {
        SetUpBenchModel(folder, preferences, 64);

        doc.OnNewDocument();
        CDocChangeGuard change(&doc);
        doc.GetSourcePage()->SetSizeInCells(132, 66);
        doc.GetOutputPage()->SetSizeInCells(132, 66);
        for (int n = 1; n <= spooledPages; ++n) {
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

    ~BenchDocument() { SetPreferences(&preferences); }

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

// The model's preferences are global: each document puts its own back
// whenever it is used and while it is destroyed.
BenchDocument& Document(int spooledPages = kSpooledPages)
{
    if (spooledPages == 0) {
        static BenchDocument elementsOnly(0);
        SetPreferences(&elementsOnly.preferences);
        return elementsOnly;
    }
    static BenchDocument withPages(kSpooledPages);
    SetPreferences(&withPages.preferences);
    return withPages;
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

// zlib's deflate at compress()'s settings on one stream reset for each
// image, into an output block kept from one image to the next: the zlib work
// alone, without compress()'s setting up and freeing of its stream.
class ReusedDeflate
{
public:
    ReusedDeflate() { m_ready = deflateInit(&m_stream, Z_DEFAULT_COMPRESSION) == Z_OK; }
    ~ReusedDeflate()
    {
        if (m_ready)
            deflateEnd(&m_stream);
    }
    ReusedDeflate(const ReusedDeflate&) = delete;
    ReusedDeflate& operator=(const ReusedDeflate&) = delete;

    bool Compress(const std::vector<BYTE>& image)
    {
        if (!m_ready || deflateReset(&m_stream) != Z_OK)
            return false;
        m_packed.resize(compressBound(static_cast<uLong>(image.size())));
        m_stream.next_in = const_cast<Bytef*>(image.data());
        m_stream.avail_in = static_cast<uInt>(image.size());
        m_stream.next_out = m_packed.data();
        m_stream.avail_out = static_cast<uInt>(m_packed.size());
        const bool done = deflate(&m_stream, Z_FINISH) == Z_STREAM_END;
        benchmark::DoNotOptimize(m_packed.data());
        return done;
    }

private:
    z_stream m_stream{};
    std::vector<BYTE> m_packed;
    bool m_ready = false;
};

// The snapshot (manual time) against zlib on the snapshot's own image, pair
// by pair; the argument is the number of spooled pages. "ratio" is the
// snapshot over compress(), "ratio_to_deflate_alone" the snapshot over the
// same deflate on a reused stream.
void BM_SnapshotAgainstZlib(benchmark::State& state)
{
    BenchDocument& bench = Document(static_cast<int>(state.range(0)));
    const std::vector<BYTE> image = bench.Image();
    std::vector<BYTE> packed(compressBound(static_cast<uLong>(image.size())));
    ReusedDeflate reused;
    PairedTimes againstCompress;
    PairedTimes againstDeflate;
    for (auto _ : state) {
        againstCompress.Time(
            [&] { bench.doc.TakeUndoSnapshot(); },
            [&] {
                uLongf packedLength = static_cast<uLongf>(packed.size());
                if (compress(packed.data(), &packedLength, image.data(), static_cast<uLong>(image.size())) != Z_OK)
                    state.SkipWithError("compress failed");
                benchmark::DoNotOptimize(packed.data());
            });
        againstDeflate.Time([&] { bench.doc.TakeUndoSnapshot(); },
                            [&] {
                                if (!reused.Compress(image))
                                    state.SkipWithError("deflate failed");
                            });
        state.SetIterationTime(againstCompress.LastFirst());
    }
    state.counters["elements"] = static_cast<double>(bench.doc.GetElementList().GetCount());
    state.counters["image_bytes"] = static_cast<double>(image.size());
    state.counters["ratio"] = againstCompress.MedianRatio();
    state.counters["ratio_to_deflate_alone"] = againstDeflate.MedianRatio();
}

// The document image alone, stored into a memory file: what a snapshot
// does besides zlib.
void BM_StoreImage(benchmark::State& state)
{
    BenchDocument& bench = Document(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(bench.Image().data());
}

void BM_DeflateAlone(benchmark::State& state)
{
    const std::vector<BYTE> image = Document(static_cast<int>(state.range(0))).Image();
    ReusedDeflate reused;
    for (auto _ : state)
        if (!reused.Compress(image))
            state.SkipWithError("deflate failed");
}

} // namespace

BENCHMARK(BM_StoreImage)->ArgName("spooled_pages")->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeflateAlone)->ArgName("spooled_pages")->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TakeUndoSnapshot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibCompressOfTheSameImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnapshotAgainstZlib)
    ->ArgName("spooled_pages")
    ->Arg(kSpooledPages)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
