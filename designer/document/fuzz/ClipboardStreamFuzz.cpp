// Fuzz target for the clipboard and drop streams of the designer's formats.
// The first byte of an input picks the format (Src, Dest or Expl) and
// whether the containers bring their children; the rest is the stream. It is
// read into a new document as a paste does, and what was read is added.
//
// Seeds: KWVD_FUZZ_WRITE_SEEDS=<folder> clipboard_stream_fuzz writes copies
// of a document's elements in each format, with and without children.
//   clipboard_stream_fuzz -rss_limit_mb=2048 -malloc_limit_mb=256 <work folder> seeds/clipboard_stream_fuzz

#include "designer/document/DesignerDoc.h"
#include "designer/document/ServerItem.h"
#include "designer/elements/FormElement.h"
#include "tests/fuzz/DesignerFuzzEnvironment.h"
#include "tests/fuzz/SeedDocument.h"

#include <QMimeData>

#include <cstdlib>

using namespace kwvd::fuzz;

namespace {

constexpr CServerItem::Format kFormats[] = {CServerItem::SrcFormat, CServerItem::DestFormat, CServerItem::ExplFormat};

struct Choice
{
    CServerItem::Format format;
    BOOL withChildren;
};

Choice ChoiceOf(std::uint8_t first)
{
    return {kFormats[(first & 0x7F) % 3], (first & 0x80) != 0 ? TRUE : FALSE};
}

std::uint8_t FirstByteOf(CServerItem::Format format, BOOL withChildren)
{
    return static_cast<std::uint8_t>((static_cast<int>(format) - 1) | (withChildren ? 0x80 : 0));
}

void WriteSeeds(const QString& folder)
{
    CDesignerDoc doc;
    if (!doc.OnNewDocument())
        return;
    const std::vector<CFormElement*> elements = FillSeedDocument(doc);
    if (elements.size() < 2)
        return;
    // A few top-level elements and a container (the loop), the first as anchor.
    std::vector<CFormElement*> some;
    for (CFormElement* element : elements)
        if (!element->HasParent() && (some.size() < 3 || element->GetType() == FormElementType::Loop))
            some.push_back(element);
    int n = 0;
    for (const CServerItem::Format format : kFormats) {
        for (const BOOL withChildren : {FALSE, TRUE}) {
            const CFormElement* tracked = format == CServerItem::ExplFormat ? nullptr : some.front();
            CServerItem item(&doc, format,
                             format == CServerItem::ExplFormat ? std::vector<CFormElement*>{some.back()} : some,
                             tracked);
            item.SetWithChildren(withChildren);
            QMimeData data;
            item.RenderFormats(data);
            QByteArray bytes(1, static_cast<char>(FirstByteOf(format, withChildren)));
            bytes += data.data(CServerItem::FormatName(format));
            WriteSeed(folder, QStringLiteral("copy-%1").arg(++n), bytes);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    DesignerFuzzEnvironment::Start(WriteSeeds);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    DesignerFuzzEnvironment::Get().Quiet();
    const Choice choice = ChoiceOf(data[0]);
    QMimeData mime;
    mime.setData(CServerItem::FormatName(choice.format),
                 QByteArray(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1)));

    CDesignerDoc doc;
    if (!doc.OnNewDocument())
        return 0;
    CDocChangeGuard change(&doc);
    CServerItem item(&doc);
    item.SetWithChildren(choice.withChildren);
    if (!item.LoadFromDataObject(&mime))
        return 0;
    for (CFormElement* element : item.TakeElements()) {
        if (doc.AddElement(element, TRUE, nullptr) == nullptr && !doc.ContainsElement(element))
            delete element;
    }
    return 0;
}
