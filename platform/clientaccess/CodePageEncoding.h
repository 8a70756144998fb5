#pragma once
// How the bytes of each code page or CCSID the layer converts are laid out,
// and which iconv encoding (if any) carries its characters. The PC's own
// code page and the Unicode forms are ours; the host's EBCDIC code pages are
// glibc's, and a CCSID that glibc lacks has no encoding at all.

#include <optional>
#include <string>

namespace kwvd::clientaccess {

enum class EncodingForm {
    Windows1252, // the PC code page, through the framework's table
    Utf16Be,     // 1200
    Utf16Le,     // 1202
    Ucs2Be,      // 13488: UTF-16 without surrogate pairs
    Utf8,        // 1208
    SingleByte,  // one EBCDIC byte per character
    Mixed,       // single-byte, and double-byte runs between SO and SI
    PureDouble,  // two bytes per character, no shifts; carried by the mixed
                 // iconv encoding of the same double-byte set
};

struct CodePageEncoding
{
    unsigned ccsid = 0;
    EncodingForm form = EncodingForm::Windows1252;
    std::string iconvName; // empty for the forms that are ours
};

// The encoding of a CCSID or code page, or nothing when the layer cannot
// convert it.
std::optional<CodePageEncoding> FindCodePageEncoding(unsigned ccsid);

// Whether the form holds double-byte characters that column mode pads.
inline bool IsHostDoubleByte(EncodingForm form)
{
    return form == EncodingForm::Mixed || form == EncodingForm::PureDouble;
}

// Whether the form is EBCDIC, whose substitution character is SUB (0x3F).
inline bool IsEbcdic(EncodingForm form)
{
    return form == EncodingForm::SingleByte || IsHostDoubleByte(form);
}

} // namespace kwvd::clientaccess
