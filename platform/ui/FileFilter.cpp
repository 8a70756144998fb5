#include "platform/ui/FileFilter.h"

namespace {

// The description usually repeats its patterns in brackets at the end; that
// part is rebuilt from the real patterns so the two never disagree.
QString withoutPatternSuffix(const QString& description)
{
    const QString trimmed = description.trimmed();
    if (!trimmed.endsWith(QLatin1Char(')')))
        return trimmed;
    const qsizetype open = trimmed.lastIndexOf(QLatin1Char('('));
    if (open < 0)
        return trimmed;
    const QString inside = trimmed.mid(open + 1, trimmed.size() - open - 2);
    if (!inside.contains(QLatin1Char('*')) && !inside.contains(QLatin1Char('?')))
        return trimmed;
    return trimmed.left(open).trimmed();
}

} // namespace

QString FileFilter::ToNameFilter() const
{
    QStringList qtPatterns;
    for (const QString& pattern : patterns)
        qtPatterns.push_back(pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
    const QString joined = qtPatterns.join(QLatin1Char(' '));
    const QString text = withoutPatternSuffix(description);
    if (text.isEmpty())
        return QStringLiteral("(%1)").arg(joined);
    return QStringLiteral("%1 (%2)").arg(text, joined);
}

std::vector<FileFilter> ParseFileFilter(const QString& filter)
{
    std::vector<FileFilter> filters;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        FileFilter entry;
        entry.description = parts[i];
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'))) {
            const QString trimmed = pattern.trimmed();
            if (!trimmed.isEmpty())
                entry.patterns.push_back(trimmed);
        }
        if (!entry.patterns.isEmpty())
            filters.push_back(std::move(entry));
    }
    return filters;
}

QStringList ToNameFilters(const std::vector<FileFilter>& filters)
{
    QStringList names;
    for (const FileFilter& filter : filters)
        names.push_back(filter.ToNameFilter());
    return names;
}
