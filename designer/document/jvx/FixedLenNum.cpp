#include "designer/document/jvx/FixedLenNum.h"

#include "designer/document/jvx/JVXArchive.h"
#include "platform/framework/Archive.h"
#include "platform/framework/Exceptions.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <limits>

KWVD_IMPLEMENT_SERIAL(CFixedLenNum, CObject, VERSIONABLE_SCHEMA | 1)

namespace {

// The value is read from files, so it may be anything a double holds.
double heldWithin(double value, double lowest, double highest)
{
    if (std::isnan(value))
        return 0.0;
    return std::trunc(std::clamp(value, lowest, highest));
}

// The host's reading of a number field: blanks, an optional sign, then the
// digits up to the first other character; no digits give 0.
double ParseFieldNumber(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    double value = 0.0;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i)
        value = std::min(value * 10.0 + (text[i].unicode() - u'0'), 1e15);
    return negative ? -value : value;
}

} // namespace

CFixedLenNum::CFixedLenNum(int width) : m_nWidth(width) {}

void CFixedLenNum::SetValue(int value)
{
    m_dValue = value;
    m_bEmpty = FALSE;
}

short CFixedLenNum::GetShort() const
{
    return static_cast<short>(heldWithin(m_dValue, -32767.0, 32767.0));
}

BYTE CFixedLenNum::GetByte() const
{
    return static_cast<BYTE>(heldWithin(m_dValue, 0.0, 255.0));
}

WORD CFixedLenNum::GetUShort() const
{
    return static_cast<WORD>(heldWithin(m_dValue, 0.0, 65535.0));
}

DWORD CFixedLenNum::GetUInt() const
{
    return static_cast<DWORD>(heldWithin(m_dValue, 0.0, 4294967295.0));
}

BOOL CFixedLenNum::IsEqual(int number) const
{
    if (!(m_dValue >= -32767.0 && m_dValue <= 32767.0))
        return FALSE;
    return static_cast<int>(std::trunc(m_dValue)) == number ? TRUE : FALSE;
}

void CFixedLenNum::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<WORD>(std::clamp(m_nWidth, 0, int(std::numeric_limits<WORD>::max())));
        ar << m_dValue;
    } else {
        WORD width = 0;
        double value = 0.0;
        ar >> width >> value;
        m_nWidth = width;
        m_dValue = value;
        m_bEmpty = FALSE;
    }
}

void CFixedLenNum::ExchangeJVX(CJVXArchive& ar)
{
    const int width = std::max(m_nWidth, 0);
    if (ar.IsStoring()) {
        const double value = std::isfinite(m_dValue) ? m_dValue : 0.0;
        const double magnitude = std::fabs(value);
        // Whole numbers, which nearly every field holds, skip the
        // floating-point formatting; it rounds the rest as before.
        QString digits = magnitude < 9.0e15 && magnitude == std::trunc(magnitude)
                             ? QString::number(static_cast<qint64>(magnitude))
                             : QString::number(magnitude, 'f', 0);
        const bool negative = value <= -0.5;
        // The sign goes first so that the host reads the number back.
        const qsizetype room = width - (negative ? 1 : 0);
        if (digits.size() < room)
            digits = QString(room - digits.size(), QLatin1Char('0')) + digits;
        ar.WriteText(negative ? QLatin1Char('-') + digits : digits, width);
        return;
    }
    QString text;
    if (ar.ReadText(text, width) < width)
        AfxThrowArchiveException(CArchiveException::endOfFile, ar.GetFilePath());
    m_dValue = ParseFieldNumber(text);
    m_bEmpty = FALSE;
}
