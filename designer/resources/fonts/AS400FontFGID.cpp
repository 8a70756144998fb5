#include "designer/resources/fonts/AS400FontFGID.h"

#include "designer/resources/fonts/AS400Font.h"

namespace fonttable {

bool ParseDecimal(const QString& text, long long& value)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    const qsizetype firstDigit = i;
    long long number = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        // Anything this long is out of every range the table allows.
        if (number < 1000000000LL)
            number = number * 10 + (text[i].unicode() - u'0');
        ++i;
    }
    if (i == firstDigit)
        return false;
    value = negative ? -number : number;
    return true;
}

BYTE FamilyFromName(const QString& name)
{
    if (name == QLatin1String("MODERN"))
        return CAS400Font::FF_MODERN;
    if (name == QLatin1String("ROMAN"))
        return CAS400Font::FF_ROMAN;
    if (name == QLatin1String("SWISS"))
        return CAS400Font::FF_SWISS;
    if (name == QLatin1String("DECORATIVE"))
        return CAS400Font::FF_DECORATIVE;
    if (name == QLatin1String("SCRIPT"))
        return CAS400Font::FF_SCRIPT;
    return 0;
}

} // namespace fonttable

namespace {

// The text from start up to the separator (or the end), cut to the longest
// field; start moves past the separator. False when there is no separator.
bool TakeField(const QString& line, qsizetype& start, QChar separator, QString& field)
{
    const qsizetype end = line.indexOf(separator, start);
    if (end < 0)
        return false;
    field = line.mid(start, end - start).left(fonttable::kMaxField);
    start = end + 1;
    return true;
}

} // namespace

CAS400FontFGID::CAS400FontFGID(const QString& line)
{
    qsizetype position = 0;
    QString key;
    QString typeface;
    QString family;
    QString weight;
    if (!TakeField(line, position, u'=', key) || key.isEmpty())
        return;
    long long fgid = 0;
    if (!fonttable::ParseDecimal(key, fgid) || fgid < 1 || fgid > 99999)
        return;
    if (!TakeField(line, position, u',', typeface) || typeface.isEmpty())
        return;
    while (!typeface.isEmpty() && typeface.back().isSpace())
        typeface.chop(1);
    if (typeface.isEmpty())
        return;
    if (!TakeField(line, position, u',', family))
        return;
    const BYTE familyByte = fonttable::FamilyFromName(family);
    if (familyByte == 0)
        return;
    if (!TakeField(line, position, u',', weight))
        return;
    BOOL bold = FALSE;
    if (weight == QLatin1String("BOLD"))
        bold = TRUE;
    else if (weight != QLatin1String("MED") && weight != QLatin1String("LIGHT"))
        return;
    if (position >= line.size())
        return;
    const QChar italic = line.at(position);
    if (italic != u'0' && italic != u'1')
        return;

    m_nFGID = static_cast<DWORD>(fgid);
    m_strTypeface = typeface;
    m_nPitchAndFamily = familyByte;
    m_bBold = bold;
    m_bItalic = italic == u'1' ? TRUE : FALSE;
}
