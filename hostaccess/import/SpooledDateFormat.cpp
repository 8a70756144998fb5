#include "hostaccess/import/SpooledDateFormat.h"

#include <algorithm>

namespace {

bool AllDigits(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool IsFieldLetter(QChar c)
{
    return c == u'd' || c == u'M' || c == u'y' || c == u'h' || c == u'H' || c == u'm' || c == u's';
}

// The first run of characters between the first two fields of a format,
// quoted text left out; empty when there is none.
QString SeparatorOf(const QString& format)
{
    qsizetype i = 0;
    while (i < format.size() && !IsFieldLetter(format.at(i)))
        ++i;
    const QChar field = i < format.size() ? format.at(i) : QChar();
    while (i < format.size() && format.at(i) == field)
        ++i;
    QString separator;
    while (i < format.size() && !IsFieldLetter(format.at(i)) && format.at(i) != u'\'')
        separator += format.at(i++);
    return separator.trimmed().isEmpty() ? separator : separator.trimmed();
}

} // namespace

SpooledDateSettings SpooledDateSettingsFromLocale(const QLocale& locale)
{
    SpooledDateSettings settings;
    const QString date = locale.dateFormat(QLocale::ShortFormat);
    const qsizetype day = date.indexOf(u'd');
    const qsizetype month = date.indexOf(u'M');
    const qsizetype year = date.indexOf(u'y');
    if (day >= 0 && month >= 0 && year >= 0) {
        if (month < day && day < year)
            settings.order = 0;
        else if (day < month && month < year)
            settings.order = 1;
        else
            settings.order = 2;
        if (const QString separator = SeparatorOf(date); !separator.isEmpty())
            settings.dateSeparator = separator;
    }
    if (const QString separator = SeparatorOf(locale.timeFormat(QLocale::ShortFormat)); !separator.isEmpty())
        settings.timeSeparator = separator;
    return settings;
}

QString FormatHostDate(const QString& cyymmdd, const SpooledDateSettings& settings)
{
    if (cyymmdd.size() != 7 || !AllDigits(cyymmdd))
        return cyymmdd;
    const QString year = cyymmdd.mid(1, 2);
    const QString month = cyymmdd.mid(3, 2);
    const QString day = cyymmdd.mid(5, 2);
    const QString& s = settings.dateSeparator;
    switch (settings.order) {
    case 0:
        return month + s + day + s + year;
    case 1:
        return day + s + month + s + year;
    default:
        return year + s + month + s + day;
    }
}

QString FormatHostTime(const QString& hhmmss, const SpooledDateSettings& settings)
{
    if (hhmmss.size() != 6 || !AllDigits(hhmmss))
        return hhmmss;
    const QString& s = settings.timeSeparator;
    return hhmmss.left(2) + s + hhmmss.mid(2, 2) + s + hhmmss.mid(4, 2);
}
