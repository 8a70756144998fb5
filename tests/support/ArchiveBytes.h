#pragma once
// The one home of the byte builders for tests of stored forms: golden bytes
// are written as hex or built field by field (little-endian words and longs,
// the archive's 8-bit and wide texts) in the test, and compared with what a
// storing archive produced, or handed to a loading one.

#include "platform/framework/Archive.h"
#include "platform/framework/MemFile.h"
#include "platform/framework/Types.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

using Bytes = std::vector<BYTE>;

// "FF FE 0a" -> {0xFF, 0xFE, 0x0A}; anything but hex digits is ignored.
inline Bytes Hex(const char* text)
{
    Bytes bytes;
    int high = -1;
    for (const char* p = text; *p; ++p) {
        int digit;
        if (*p >= '0' && *p <= '9')
            digit = *p - '0';
        else if (*p >= 'A' && *p <= 'F')
            digit = *p - 'A' + 10;
        else if (*p >= 'a' && *p <= 'f')
            digit = *p - 'a' + 10;
        else
            continue;
        if (high < 0) {
            high = digit;
        } else {
            bytes.push_back(static_cast<BYTE>(high * 16 + digit));
            high = -1;
        }
    }
    return bytes;
}

inline Bytes Ascii(const char* text)
{
    return Bytes(text, text + std::char_traits<char>::length(text));
}

inline Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A 16-bit word, little-endian; a negative value as its two's complement.
inline Bytes Word(long long value)
{
    const auto v = static_cast<std::uint16_t>(value);
    return Bytes{static_cast<BYTE>(v), static_cast<BYTE>(v >> 8)};
}

// A 32-bit long (or DWORD), little-endian.
inline Bytes Long(long long value)
{
    const auto v = static_cast<std::uint32_t>(value);
    return Bytes{static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16),
                 static_cast<BYTE>(v >> 24)};
}

// Each character as two bytes, little-endian (a char as Latin-1).
template <class Char>
inline Bytes Utf16(const Char* text)
{
    Bytes bytes;
    for (const Char* p = text; *p; ++p) {
        const auto unit = static_cast<std::uint16_t>(static_cast<std::make_unsigned_t<Char>>(*p));
        bytes.push_back(static_cast<BYTE>(unit & 0xFF));
        bytes.push_back(static_cast<BYTE>(unit >> 8));
    }
    return bytes;
}

// The archive's wide text: FF, the marker FE FF, a length byte below 255,
// the UTF-16LE units.
template <class Char>
inline Bytes Text(const Char* text)
{
    const Bytes units = Utf16(text);
    return Hex("FF FE FF") + Bytes{static_cast<BYTE>(units.size() / 2)} + units;
}

// The archive's 8-bit text: a length byte below 255, then the bytes.
inline Bytes Text8(const char* text)
{
    const Bytes chars = Ascii(text);
    return Bytes{static_cast<BYTE>(chars.size())} + chars;
}

// The same bytes as Qt holds them, for files and Qt's own readers.
inline QByteArray ToByteArray(const Bytes& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

inline Bytes ToBytes(const QByteArray& bytes)
{
    return Bytes(bytes.begin(), bytes.end());
}

// A text as UTF-16LE file content, without a byte order mark.
inline QByteArray Utf16Le(const QString& text)
{
    QByteArray bytes;
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

// Runs the writer on a storing archive over a memory file; the stored bytes.
inline Bytes Store(const std::function<void(CArchive&)>& write)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        write(ar);
        ar.Close();
    }
    Bytes bytes(static_cast<size_t>(file.GetLength()));
    file.Seek(0, CFile::begin);
    file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
}

// Runs the reader on a loading archive over the bytes.
inline void Load(Bytes bytes, const std::function<void(CArchive&)>& read)
{
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    read(ar);
}
