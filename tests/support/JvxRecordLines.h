#pragma once
// Element record lines of a JVX file written from the record layout, for
// golden bytes in tests.

#include "designer/document/jvx/JVXArchive.h"
#include "tests/support/ArchiveBytes.h"

#include <map>
#include <string>

// One record line as the host reads it: every field at its width, numbers
// zero-padded, texts blank-padded, the version's optional fields, CR LF.
// Fields are given by their 1-based number in the line (18 line count,
// 29 name ...); those not given are blank or zero.
inline std::string RecordLine(int version, const std::map<int, std::string>& given)
{
    struct Field
    {
        int number;
        int width;
        bool numeric;
        int fromVersion;
    };
    static const Field kFields[] = {
        {1, 1, false, 1},    {2, 1, false, 1},   {3, 4, true, 1},   {4, 4, false, 1},   {5, 1, false, 1},
        {6, 3, true, 1},     {7, 3, true, 1},    {8, 3, true, 1},   {9, 1, false, 1},   {10, 3, true, 1},
        {11, 4, true, 1},    {12, 3, true, 1},   {13, 4, true, 1},  {14, 3, true, 1},   {15, 2, false, 1},
        {16, 132, false, 1}, {17, 50, false, 1}, {18, 3, true, 1},  {19, 1, false, 1},  {20, 1, false, 1},
        {21, 1, false, 1},   {22, 1, false, 1},  {23, 1, false, 1}, {24, 1, false, 1},  {25, 1, false, 3},
        {26, 6, true, 3},    {27, 6, true, 3},   {28, 1, true, 4},  {29, 10, false, 4}, {30, 256, false, 8},
        {31, 1, false, 11},  {32, 1, false, 18},
    };
    std::string line;
    for (const Field& f : kFields) {
        if (version < f.fromVersion)
            continue;
        const auto it = given.find(f.number);
        std::string value = it != given.end() ? it->second : std::string();
        if (f.numeric)
            value = std::string(static_cast<size_t>(f.width) - value.size(), '0') + value;
        else
            value += std::string(static_cast<size_t>(f.width) - value.size(), ' ');
        line += value;
    }
    return line + "\r\n";
}

// Up to version 18 one byte a character, later raw UTF-16LE.
inline Bytes EncodeRecordLines(int version, const std::string& text)
{
    Bytes bytes;
    for (char c : text) {
        bytes.push_back(static_cast<BYTE>(c));
        if (version > CJVXArchive::kLastEightBitVersion)
            bytes.push_back(0);
    }
    return bytes;
}
