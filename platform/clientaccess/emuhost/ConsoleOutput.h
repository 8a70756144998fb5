#pragma once
// What every emuhost command writes: results to standard output, failures to
// standard error with the program's name, exit status 1.

#include <QString>

#include <cstdio>

namespace emuhost {

inline void Print(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
}

inline int Fail(const QString& text)
{
    std::fprintf(stderr, "emuhost: %s\n", text.toLocal8Bit().constData());
    return 1;
}

} // namespace emuhost
