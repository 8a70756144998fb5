#pragma once
// The pages of a sample spooled file as plain values, each page its lines
// from element 0, so that a test compares whole page lists in one check.

#include "designer/document/SpooledFile.h"

#include <QStringList>

#include <vector>

inline std::vector<QStringList> SpooledPagesOf(const CSpooledFile& file)
{
    std::vector<QStringList> pages;
    for (int n = 1; n <= file.GetPageCount(); ++n) {
        QStringList lines;
        if (const CStringArray* page = file.GetPage(n))
            for (qsizetype i = 0; i < page->GetSize(); ++i)
                lines << page->GetAt(i);
        pages.push_back(lines);
    }
    return pages;
}
