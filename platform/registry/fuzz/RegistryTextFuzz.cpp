// Fuzz target for the registry's text form: each input is parsed as a
// root's file. What was read must write out as text that parses with nothing
// left out and writes out again as the same text.
//   registry_text_fuzz -rss_limit_mb=2048 -malloc_limit_mb=256 <work folder> seeds/registry_text_fuzz

#include "platform/registry/RegistryFormat.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const kwvd::ParsedRegistry parsed =
        kwvd::ParseRegistryText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!parsed.supported)
        return 0;
    const std::string written = kwvd::FormatRegistryText(parsed.root);
    const kwvd::ParsedRegistry again = kwvd::ParseRegistryText(written);
    if (!again.supported || !again.droppedLines.empty()) {
        std::fprintf(stderr, "our own text was not read whole:\n%s\n", written.c_str());
        std::abort();
    }
    if (kwvd::FormatRegistryText(again.root) != written) {
        std::fprintf(stderr, "our own text did not read back the same:\n%s\n", written.c_str());
        std::abort();
    }
    return 0;
}
