#pragma once
// One conversion through the C interface, as a caller makes it: a converter
// made, the text converted into a target of the given length, the converter
// deleted.

#include "platform/clientaccess/CodePages.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>

namespace kwvd::clientaccess::testing {

inline std::string Bytes(std::initializer_list<unsigned char> bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

// UTF-16 little-endian, the form of CCSID 1202.
inline std::string Utf16Le(std::u16string_view text)
{
    std::string bytes;
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

struct Conversion
{
    unsigned result = ~0u; // of cwbNL_Convert, or of creating the converter
    std::string bytes;     // what was written into the target
    unsigned long needed = 0;
};

inline Conversion Convert(unsigned long from, unsigned long to, std::string_view source,
                          unsigned long options = kCwbNlPlain, unsigned long targetLength = 256,
                          cwbSV_ErrHandle errorHandle = 0)
{
    Conversion conversion;
    cwbNL_Converter converter = 0;
    conversion.result = cwbNL_CreateConverterEx(from, to, options, &converter, errorHandle);
    if (conversion.result != kCwbOk)
        return conversion;
    // One byte past the target shows whether anything was written beyond it.
    std::string target(targetLength + 1, '\x55');
    unsigned long converted = 0;
    conversion.result = cwbNL_Convert(converter, source.size(), targetLength, source.data(), target.data(), &converted,
                                      &conversion.needed, errorHandle);
    EXPECT_EQ(target[targetLength], '\x55') << "written past the target";
    EXPECT_LE(converted, targetLength);
    conversion.bytes = target.substr(0, converted);
    EXPECT_EQ(cwbNL_DeleteConverter(converter, errorHandle), kCwbOk);
    return conversion;
}

// A row of a conversion table: the text in one code page and what it
// becomes in another.
struct ConversionCase
{
    const char* name;
    unsigned long from;
    unsigned long to;
    std::string source;
    std::string expected;
};

inline void PrintTo(const ConversionCase& c, std::ostream* os)
{
    *os << c.name;
}

// Bytes as "C1 F0", so that a failure shows them.
inline std::string Hex(std::string_view bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char b : bytes) {
        if (!text.empty())
            text += ' ';
        text += digits[b >> 4];
        text += digits[b & 0x0F];
    }
    return text;
}

} // namespace kwvd::clientaccess::testing
