// Fuzz target for the language bundle reader: each input is read as a
// bundle. A bundle that was read must name the language of its first line,
// and every text it holds must format leniently, as a translated message
// does, without an exception.
//   language_bundle_fuzz -rss_limit_mb=2048 -malloc_limit_mb=256 <work folder> seeds/language_bundle_fuzz

#include "platform/framework/Exceptions.h"
#include "platform/ui/LanguageBundle.h"
#include "platform/ui/MessageFormat.h"

#include <QByteArrayView>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Bundle texts are looked up by id; the fuzzer's ids are the small ones a
// seed uses and a few far ones.
constexpr UINT kProbeIds[] = {1, 2, 3, 128, 359, 57345, 0x10000 + 57636, 0x100A0001, 0xFFFFFFFF};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::shared_ptr<LanguageBundle> bundle = LanguageBundle::Parse(bytes);
    if (!bundle)
        return 0;
    const qsizetype firstLineEnd = bytes.indexOf('\n');
    const WORD header = LanguageBundle::ParseHeader(firstLineEnd < 0 ? bytes : bytes.first(firstLineEnd));
    if (header == 0 || header != bundle->Language()) {
        std::fprintf(stderr, "a bundle was read whose first line names another language\n");
        std::abort();
    }
    for (UINT id : kProbeIds) {
        const std::optional<QString> text = bundle->Lookup(id);
        if (!text)
            continue;
        // The strict formatter may refuse the text; the lenient one, which
        // translated texts go through, never may.
        try {
            FormatMessageText(*text, 7, QStringLiteral("insert"), -3, 2.5);
        } catch (const CMemoryException&) {
        }
        const MessageArg args[] = {MessageArg(7), MessageArg(QStringLiteral("insert")), MessageArg(-3),
                                   MessageArg(2.5)};
        try {
            FormatMessageArgs(*text, {}, MessageFormatMode::Lenient);
            FormatMessageArgs(*text, args, MessageFormatMode::Lenient);
        } catch (const CMemoryException&) {
            std::fprintf(stderr, "a translated text failed to format leniently\n");
            std::abort();
        }
    }
    for (const LanguageBundle::Accelerator& accelerator : bundle->Accelerators()) {
        if (accelerator.key.isEmpty() || accelerator.command == 0 || accelerator.command > 0xFFFF) {
            std::fprintf(stderr, "an accelerator was read that the format does not allow\n");
            std::abort();
        }
    }
    return 0;
}
