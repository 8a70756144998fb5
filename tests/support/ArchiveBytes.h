#pragma once
// Byte helpers for tests of stored forms: golden bytes are written as hex in
// the test and compared with what a storing archive produced.

#include "platform/framework/Archive.h"
#include "platform/framework/MemFile.h"
#include "platform/framework/Types.h"

#include <functional>
#include <string>
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
