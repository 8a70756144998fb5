// Fuzz target for the code-page converters: the first byte picks a pair of
// CCSIDs, the mode and the room in the target; the rest is the text. Host
// bytes come from spooled files and data queues, so any byte string must
// convert without harm, and what is written towards a mixed host CCSID must
// leave no double-byte run open.
//   host_text_convert_fuzz -rss_limit_mb=2048 -malloc_limit_mb=256 <work folder> seeds/host_text_convert_fuzz

#include "platform/clientaccess/CodePages.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Pair
{
    unsigned long source;
    unsigned long target;
    bool towardsMixedHost; // the target is a mixed single- and double-byte CCSID
};

const Pair kPairs[] = {
    {930, 1202, false}, {1202, 930, true},  {939, 1202, false}, {1202, 939, true},   {5026, 1202, false},
    {300, 1202, false}, {1202, 300, false}, {285, 1252, false}, {1252, 285, false},  {1208, 1202, false},
    {1200, 1208, false}, {13488, 1252, false}, {1252, 1202, false}, {1202, 1252, false}, {933, 1202, false},
    {1202, 1399, true},
};

void Fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t choice = data[0];
    const Pair& pair = kPairs[choice % (sizeof kPairs / sizeof kPairs[0])];
    const bool columns = (choice & 0x10) != 0;
    const char* text = reinterpret_cast<const char*>(data + 1);
    const unsigned long length = static_cast<unsigned long>(size - 1);

    cwbNL_Converter converter = 0;
    if (cwbNL_CreateConverterEx(pair.source, pair.target, columns ? kCwbNlColumnMode : kCwbNlPlain, &converter, 0)
        != kCwbOk)
        return 0;
    // Room for the whole text, or (high bit) only a part, which the converter
    // must cut at a character boundary.
    const unsigned long room = (choice & 0x80) ? length / 2 : length * 4 + 16;
    std::vector<char> target(room + 1, '\x55');
    unsigned long converted = 0;
    unsigned long needed = 0;
    const unsigned result =
        cwbNL_Convert(converter, length, room, text, room ? target.data() : nullptr, &converted, &needed, 0);
    cwbNL_DeleteConverter(converter, 0);

    if (result != kCwbOk && result != kCwbSubstituted && result != kCwbTargetTooSmall)
        Fail("a conversion failed with an unexpected code");
    if (converted > room || target[room] != '\x55')
        Fail("a conversion wrote beyond its target");
    if (result != kCwbTargetTooSmall && converted != needed)
        Fail("a complete conversion reported another length than it needed");
    if (result == kCwbTargetTooSmall && needed <= room)
        Fail("a conversion said the target was too small for a text that fits");
    if (pair.towardsMixedHost && !columns) {
        bool inDoubleByte = false;
        for (unsigned long i = 0; i < converted; ++i) {
            const auto byte = static_cast<unsigned char>(target[i]);
            if (byte == 0x0E)
                inDoubleByte = true;
            else if (byte == 0x0F)
                inDoubleByte = false;
        }
        if (inDoubleByte)
            Fail("a double-byte run was left open");
    }
    return 0;
}
