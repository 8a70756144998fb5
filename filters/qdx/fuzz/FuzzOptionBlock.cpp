// Feeds arbitrary bytes to the option block as a block the core might hand
// over (lengths and capacity not to be trusted), then looks up and adds keys.

#include "filters/common/OptionBlock.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kwvd::filters;
    if (size < 2)
        return 0;
    // First byte splits the input: a key, then the raw block.
    const std::size_t keyLength = data[0] % 24;
    if (keyLength + 1 > size)
        return 0;
    const std::string key(reinterpret_cast<const char*>(data + 1), keyLength);
    const std::uint8_t* raw = data + 1 + keyLength;
    const std::size_t rawSize = size - 1 - keyLength;

    OptionBlock block{};
    block.size = rawSize;
    block.bytes = static_cast<std::uint8_t*>(std::malloc(rawSize ? rawSize : 1));
    if (rawSize)
        std::memcpy(block.bytes, raw, rawSize);

    char value[64];
    OptionBlockGet(&block, key.c_str(), value, sizeof value);
    if (OptionBlockAdd(&block, key.c_str(), "VALUE")) {
        if (OptionBlockGet(&block, key.c_str(), value, sizeof value) == kOptionNotFound)
            __builtin_trap(); // an added key must be found again
    }
    std::free(block.bytes);

    // And the block made from text.
    const std::string text(reinterpret_cast<const char*>(raw), rawSize);
    OptionBlock* made = OptionBlockCreate(text.c_str());
    if (made) {
        OptionBlockGet(made, key.c_str(), value, sizeof value);
        OptionBlockAdd(made, key.c_str(), text.c_str());
        OptionBlockFree(made);
    }
    return 0;
}
