#pragma once
// The file-type filter of the system's choosers: description and pattern
// pairs joined by "|", ended by "||", several patterns split by ";":
// "Spooled files (*.txt)|*.txt|All files (*.*)|*.*||"

#include <QString>
#include <QStringList>

#include <vector>

struct FileFilter
{
    QString description;
    QStringList patterns;

    // The filter as Qt's choosers take it, "Spooled files (*.txt)". "*.*"
    // means every file, so it becomes "*", which also matches names without
    // a dot.
    QString ToNameFilter() const;
};

// Pairs without a pattern, and anything after the closing "||", are dropped.
std::vector<FileFilter> ParseFileFilter(const QString& filter);

QStringList ToNameFilters(const std::vector<FileFilter>& filters);
