#include "designer/document/TimeStamp.h"

#include "designer/document/jvx/FixedLenString.h"
#include "designer/document/jvx/JVXArchive.h"

#include "platform/framework/Archive.h"
#include "platform/framework/Clock.h"

KWVD_IMPLEMENT_SERIAL(CTimeStamp, CObject, VERSIONABLE_SCHEMA | 0)

namespace {

// The number at text[start, start + length), read up to its first non-digit;
// no digits there (or no text) give 0.
int ReadDigits(const QString& text, qsizetype start, qsizetype length)
{
    int value = 0;
    for (qsizetype i = start; i < start + length && i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c < u'0' || c > u'9')
            break;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

} // namespace

void CTimeStamp::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_dwLowDateTime << m_dwHighDateTime;
    } else {
        DWORD low = 0;
        DWORD high = 0;
        ar >> low >> high;
        m_dwLowDateTime = low;
        m_dwHighDateTime = high;
    }
}

QString CTimeStamp::Format() const
{
    if (IsZero())
        return {};
    kwvd::CivilTime civil;
    // A stored value past the last calendar day has no text form; showing
    // nothing beats showing a made-up date.
    if (!kwvd::FileTimeToCivilTime(GetFileTime(), civil))
        return {};
    return FormatAS400Timestamp(civil);
}

void CTimeStamp::Parse(const QString& text)
{
    kwvd::CivilTime civil;
    civil.year = ReadDigits(text, 0, 4);
    civil.month = ReadDigits(text, 5, 2);
    civil.day = ReadDigits(text, 8, 2);
    civil.hour = ReadDigits(text, 11, 2);
    civil.minute = ReadDigits(text, 14, 2);
    civil.second = ReadDigits(text, 17, 2);
    civil.milliseconds = ReadDigits(text, 20, 3);

    kwvd::FileTime time;
    if (!kwvd::CivilTimeToFileTime(civil, time)) {
        Clear();
        return;
    }
    SetFileTime(time);
}

void CTimeStamp::Clear()
{
    m_dwLowDateTime = 0;
    m_dwHighDateTime = 0;
}

kwvd::FileTime CTimeStamp::GetFileTime() const
{
    return kwvd::FileTime::FromHalves(m_dwLowDateTime, m_dwHighDateTime);
}

void CTimeStamp::SetFileTime(kwvd::FileTime time)
{
    m_dwLowDateTime = time.Low();
    m_dwHighDateTime = time.High();
}

void CTimeStamp::SetToCurrentTime()
{
    SetFileTime(kwvd::Clock::NowFileTime());
}

QString FormatAS400Timestamp(const kwvd::CivilTime& time)
{
    return QString::asprintf("%04u-%02u-%02u-%02u.%02u.%02u.%03u000", static_cast<unsigned>(time.year),
                             static_cast<unsigned>(time.month), static_cast<unsigned>(time.day),
                             static_cast<unsigned>(time.hour), static_cast<unsigned>(time.minute),
                             static_cast<unsigned>(time.second), static_cast<unsigned>(time.milliseconds));
}

void CTimeStamp::ExchangeJVX(CJVXArchive& ar)
{
    CFixedLenString field(26);
    if (ar.IsStoring()) {
        field.SetValue(Format());
        field.ExchangeJVX(ar);
        return;
    }
    field.ExchangeJVX(ar);
    Parse(field.GetValue());
}
