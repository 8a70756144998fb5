#pragma once
// The option block in which the core passes the user's options to a filter.
//
// Byte layout (32-bit fields little-endian):
//   0  "THK" 00
//   4  capacity: bytes available for the text
//   8  text length including its terminating zero
//   12 the text: entries CR KEY " = " VALUE, upper-cased, then a zero
//
// The bytes live in an OptionBlock, which also knows how many bytes were
// allocated, so that a lookup never trusts the two length fields beyond them.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" {

struct OptionBlock
{
    std::uint8_t* bytes;
    std::size_t size; // bytes allocated
};

typedef OptionBlock* OptionBlockHandle;

// Results of a lookup.
enum : int {
    kOptionFound = 0,
    kOptionNotFound = 1,
    kOptionValueTooLong = 2, // present, but the value does not fit the caller's buffer
};

// The core's lookup, exported by name from libPICTRA31.so and found by the
// QDX filter with dlsym. 0 when the key is present, the value copied out
// with its terminating zero.
typedef int (*ImgXOptBlkGetFn)(OptionBlockHandle block, const char* key, char* value, std::size_t valueSize);

} // extern "C"

namespace kwvd::filters {

inline constexpr std::size_t kOptionHeaderBytes = 12;

inline char OptionUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::uint32_t OptionField(const OptionBlock& block, std::size_t offset)
{
    const std::uint8_t* p = block.bytes + offset;
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

inline void SetOptionField(OptionBlock& block, std::size_t offset, std::uint32_t value)
{
    std::uint8_t* p = block.bytes + offset;
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
    p[2] = static_cast<std::uint8_t>(value >> 16);
    p[3] = static_cast<std::uint8_t>(value >> 24);
}

// The text of a well-formed block (without its terminating zero), or null.
// The length field is trusted only as far as the capacity and the allocation.
inline const char* OptionText(const OptionBlock* block, std::size_t* length)
{
    if (!block || !block->bytes || block->size < kOptionHeaderBytes)
        return nullptr;
    if (std::memcmp(block->bytes, "THK", 3) != 0)
        return nullptr;
    const std::size_t capacity = OptionField(*block, 4);
    const std::size_t stored = OptionField(*block, 8);
    const std::size_t room = block->size - kOptionHeaderBytes;
    if (capacity > room || stored > capacity)
        return nullptr;
    const char* text = reinterpret_cast<const char*>(block->bytes + kOptionHeaderBytes);
    // Up to the first zero within the stored length.
    const std::size_t limit = stored;
    std::size_t n = 0;
    while (n < limit && text[n] != '\0')
        ++n;
    *length = n;
    return text;
}

// A new block holding text upper-cased; null text gives an empty block.
// Allocated as the text's length + 15 bytes (65 without text), capacity that
// size - 10; the allocation carries two more bytes so that the capacity it
// announces really lies inside it.
inline OptionBlockHandle OptionBlockCreate(const char* text)
{
    const std::size_t textLength = text ? std::strlen(text) : 0;
    const std::size_t nominal = text ? textLength + 15 : 65;
    const std::size_t capacity = nominal - 10;
    if (capacity > UINT32_MAX)
        return nullptr;
    auto* block = static_cast<OptionBlock*>(std::calloc(1, sizeof(OptionBlock)));
    if (!block)
        return nullptr;
    block->size = kOptionHeaderBytes + capacity;
    block->bytes = static_cast<std::uint8_t*>(std::calloc(block->size, 1));
    if (!block->bytes) {
        std::free(block);
        return nullptr;
    }
    std::memcpy(block->bytes, "THK", 3);
    SetOptionField(*block, 4, static_cast<std::uint32_t>(capacity));
    char* out = reinterpret_cast<char*>(block->bytes + kOptionHeaderBytes);
    for (std::size_t i = 0; i < textLength; ++i)
        out[i] = OptionUpper(text[i]);
    SetOptionField(*block, 8, static_cast<std::uint32_t>(textLength + 1));
    return block;
}

inline void OptionBlockFree(OptionBlockHandle block)
{
    if (!block)
        return;
    std::free(block->bytes);
    std::free(block);
}

// Where "KEY =" occurs in text (first occurrence), or npos.
inline std::size_t FindOptionKey(const char* text, std::size_t length, const char* key, std::size_t keyLength)
{
    const std::size_t needle = keyLength + 2;
    if (needle > length)
        return static_cast<std::size_t>(-1);
    for (std::size_t at = 0; at + needle <= length; ++at) {
        std::size_t i = 0;
        while (i < keyLength && text[at + i] == OptionUpper(key[i]))
            ++i;
        if (i == keyLength && text[at + i] == ' ' && text[at + i + 1] == '=')
            return at;
    }
    return static_cast<std::size_t>(-1);
}

// The lookup: the key (upper-cased) followed by " =" is searched as a
// substring; the value starts two characters after the '=' and ends before
// the next CR or at the end of the text.
inline int OptionBlockGet(const OptionBlock* block, const char* key, char* value, std::size_t valueSize)
{
    std::size_t length = 0;
    const char* text = OptionText(block, &length);
    if (!text || !key)
        return kOptionNotFound;
    const std::size_t keyLength = std::strlen(key);
    const std::size_t at = FindOptionKey(text, length, key, keyLength);
    if (at == static_cast<std::size_t>(-1))
        return kOptionNotFound;
    std::size_t begin = at + keyLength + 3; // past " = "
    if (begin > length)
        begin = length;
    std::size_t end = begin;
    while (end < length && text[end] != '\r')
        ++end;
    const std::size_t valueLength = end - begin;
    if (!value || valueLength >= valueSize)
        return kOptionValueTooLong;
    std::memcpy(value, text + begin, valueLength);
    value[valueLength] = '\0';
    return kOptionFound;
}

// Adds or replaces an entry. An existing entry of the key is removed first;
// the block grows by key + value + 55 bytes when it runs short. false when
// the block is not well formed or memory runs out (the block is then as before).
inline bool OptionBlockAdd(OptionBlockHandle block, const char* key, const char* value)
{
    std::size_t length = 0;
    if (!key || !value || !OptionText(block, &length))
        return false;
    const std::size_t keyLength = std::strlen(key);
    const std::size_t valueLength = std::strlen(value);
    char* text = reinterpret_cast<char*>(block->bytes + kOptionHeaderBytes);

    const std::size_t at = FindOptionKey(text, length, key, keyLength);
    if (at != static_cast<std::size_t>(-1)) {
        std::size_t end = at;
        while (end < length && text[end] != '\r')
            ++end;
        std::size_t from = at;
        if (end < length) {
            ++end; // with the CR that follows
        } else if (from > 0 && text[from - 1] == '\r') {
            --from; // the last entry goes with its leading CR
        }
        std::memmove(text + from, text + end, length - end);
        length -= end - from;
        text[length] = '\0';
        SetOptionField(*block, 8, static_cast<std::uint32_t>(length + 1));
    }

    std::size_t capacity = OptionField(*block, 4);
    const std::size_t needed = length + keyLength + valueLength + 5;
    if (needed >= capacity) {
        const std::size_t grow = keyLength + valueLength + 55;
        const std::size_t newCapacity = capacity + grow;
        if (newCapacity > UINT32_MAX)
            return false;
        const std::size_t newSize = kOptionHeaderBytes + newCapacity;
        // A block handed in may already hold more than its capacity says.
        if (newSize > block->size) {
            auto* bytes = static_cast<std::uint8_t*>(std::realloc(block->bytes, newSize));
            if (!bytes)
                return false;
            std::memset(bytes + block->size, 0, newSize - block->size);
            block->bytes = bytes;
            block->size = newSize;
        }
        capacity = newCapacity;
        SetOptionField(*block, 4, static_cast<std::uint32_t>(capacity));
        text = reinterpret_cast<char*>(block->bytes + kOptionHeaderBytes);
    }

    char* out = text + length;
    *out++ = '\r';
    for (std::size_t i = 0; i < keyLength; ++i)
        *out++ = OptionUpper(key[i]);
    std::memcpy(out, " = ", 3);
    out += 3;
    for (std::size_t i = 0; i < valueLength; ++i)
        *out++ = OptionUpper(value[i]);
    *out = '\0';
    length += keyLength + valueLength + 4;
    SetOptionField(*block, 8, static_cast<std::uint32_t>(length + 1));
    return true;
}

} // namespace kwvd::filters
