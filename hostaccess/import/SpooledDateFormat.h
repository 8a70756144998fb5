#pragma once
// The host's creation date (CYYMMDD, C 0 for 19xx and 1 for 20xx) and time
// (HHMMSS) in the PC's own order and separators, as the select dialog lists
// them and the identity record keeps them.

#include <QLocale>
#include <QString>

struct SpooledDateSettings
{
    // 0 month, day, year; 1 day, month, year; any other year, month, day.
    int order = 2;
    QString dateSeparator = QStringLiteral("/");
    QString timeSeparator = QStringLiteral(":");
};

// The order and separators of the locale's short date and time formats;
// whatever cannot be told from them keeps its default.
SpooledDateSettings SpooledDateSettingsFromLocale(const QLocale& locale);

// "1260304" gives "03/04/26" in order 0. Empty stays empty; a text that is
// not seven digits is kept as it came.
QString FormatHostDate(const QString& cyymmdd, const SpooledDateSettings& settings);
// "142530" gives "14:25:30"; a text that is not six digits is kept.
QString FormatHostTime(const QString& hhmmss, const SpooledDateSettings& settings);
