#pragma once
// Narrow copies of wide text for the places that hand text to 8-bit
// interfaces. The encoding is chosen by the use: file names are UTF-8, file
// and protocol content is Windows-1252. The copy is never cut to the number of
// characters: "é" is two bytes in UTF-8.

#include <QString>

#include <cstddef>
#include <string>

namespace kwvd {

// Characters that Windows-1252 lacks become "?".
enum class NarrowEncoding {
    Utf8,
    Windows1252
};

} // namespace kwvd

// Stores in *out a zero-terminated copy of text from malloc, which the caller
// releases with free(). Null or empty text (or a null out) leaves *out as it
// was. Throws CMemoryException when the block cannot be had.
void AllocAnsiCopy(char** out, const QString& text, kwvd::NarrowEncoding encoding);

// A narrow copy that lives as long as the object; c_str() is never null.
class AnsiBuffer
{
public:
    AnsiBuffer(const QString& text, kwvd::NarrowEncoding encoding);

    const char* c_str() const noexcept { return m_bytes.c_str(); }

    // In bytes, without the terminator.
    std::size_t size() const noexcept { return m_bytes.size(); }

private:
    std::string m_bytes;
};
