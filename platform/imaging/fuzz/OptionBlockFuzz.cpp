// Option blocks from arbitrary text, and arbitrary raw blocks with their
// length fields, looked up through the core's ImgXOptBlkGet.
#include "platform/imaging/Pictra.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    // First byte: key length; then the key; the rest is the text.
    const std::size_t keyLength = std::min<std::size_t>(data[0], size - 1);
    const std::string key(reinterpret_cast<const char*>(data + 1), keyLength);
    const std::string text(reinterpret_cast<const char*>(data + 1 + keyLength), size - 1 - keyLength);
    char value[32];

    OptionBlockHandle block = PtOptionBlockFromText(text.c_str());
    ImgXOptBlkGet(block, key.c_str(), value, sizeof value);
    PtFreeOptionBlock(block);

    // The same bytes taken as a whole block, header fields included.
    std::vector<std::uint8_t> raw(data + 1 + keyLength, data + size);
    OptionBlock direct{raw.data(), raw.size()};
    ImgXOptBlkGet(&direct, key.c_str(), value, sizeof value);
    return 0;
}
