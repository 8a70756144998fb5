#pragma once
// One converter from a source to a target code page or CCSID. Text passes
// through Unicode: the source bytes are read into characters, the characters
// written in the target's form. What cannot be read or written becomes the
// substitution character SUB (U+001A, 0x3F in EBCDIC; two bytes 0xFEFE in a
// pure double-byte CCSID, which has no single-byte characters), and the
// conversion counts it.
//
// Column mode keeps a host line one character per host byte on the PC side:
// SO and SI read as U+000E and U+000F, and every double-byte character is
// followed by a blank filler. Writing towards a double-byte host code page in
// column mode reads the same form back: U+000E and U+000F become SO and SI,
// and the filler after each double-byte character is dropped.
//
// A converter is used by one thread at a time.

#include "platform/clientaccess/CodePageEncoding.h"

#include <cstddef>
#include <memory>

namespace kwvd::clientaccess {

struct ConversionResult
{
    std::size_t converted = 0;     // bytes written into the target
    std::size_t needed = 0;        // bytes the whole text takes in the target
    std::size_t substitutions = 0; // substituted characters among those written
};

class CodePageConverter
{
public:
    // Null when either side cannot be converted.
    static std::unique_ptr<CodePageConverter> Create(unsigned sourceCcsid, unsigned targetCcsid, bool columnMode);

    ~CodePageConverter();
    CodePageConverter(const CodePageConverter&) = delete;
    CodePageConverter& operator=(const CodePageConverter&) = delete;

    unsigned SourceCcsid() const;
    unsigned TargetCcsid() const;

    // Converts the source into at most targetLength bytes. When the whole
    // text does not fit, the target holds the characters that fit whole, and
    // a double-byte run left open is closed by SI within the limit.
    ConversionResult Convert(const unsigned char* source, std::size_t sourceLength, unsigned char* target,
                             std::size_t targetLength);

private:
    struct Impl;
    explicit CodePageConverter(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m_impl;
};

} // namespace kwvd::clientaccess
