#pragma once
// What the host font tests share besides the byte builders (which they get
// from ArchiveBytes.h): a GUI application for display fonts.

#include "tests/support/ArchiveBytes.h"

#include <QGuiApplication>

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
