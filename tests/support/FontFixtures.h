#pragma once
// Small helpers for the host font tests: the framework archive's 8-bit text
// form, numbers as little-endian hex, and a GUI application for display fonts.

#include "tests/support/ArchiveBytes.h"

#include <QGuiApplication>

#include <cstring>

// The 8-bit text form: a length byte below 255, then the bytes.
inline Bytes Text8(const char* text)
{
    const size_t length = std::strlen(text);
    Bytes bytes;
    bytes.reserve(length + 1);
    bytes.push_back(static_cast<BYTE>(length));
    for (size_t i = 0; i < length; ++i)
        bytes.push_back(static_cast<BYTE>(text[i]));
    return bytes;
}

inline Bytes Dword(DWORD value)
{
    return {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
            static_cast<BYTE>(value >> 24)};
}

inline Bytes Word(WORD value)
{
    return {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8)};
}

// One offscreen application for the whole run, as a program has.
inline void EnsureGuiApplication()
{
    if (QCoreApplication::instance() == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "kwvd_resources_tests";
        static char* argv[] = {name, nullptr};
        new QGuiApplication(argc, argv);
    }
}
