#include "designer/document/jvx/FixedLenNum.h"

#include "designer/document/jvx/JVXArchive.h"
#include "platform/framework/Archive.h"
#include "platform/framework/Exceptions.h"

#include <QString>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

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
double ParseFieldNumber(std::u16string_view text)
{
    size_t i = 0;
    while (i < text.size() && QChar(text[i]).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    double value = 0.0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = std::min(value * 10.0 + (text[i] - u'0'), 1e15);
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
        WriteJVXValue(ar, width);
        return;
    }
    // Number fields are a few characters wide: read on the stack.
    char16_t local[64];
    std::vector<char16_t> large;
    char16_t* field = local;
    if (width > static_cast<int>(std::size(local))) {
        large.resize(static_cast<size_t>(width));
        field = large.data();
    }
    if (ar.ReadCharacters(field, width) < width)
        AfxThrowArchiveException(CArchiveException::endOfFile, ar.GetFilePath());
    m_dValue = ParseFieldNumber(std::u16string_view(field, static_cast<size_t>(width)));
    m_bEmpty = FALSE;
}

void CFixedLenNum::WriteJVXValue(CJVXArchive& ar, int width) const
{
    const double value = std::isfinite(m_dValue) ? m_dValue : 0.0;
    const double magnitude = std::fabs(value);
    const bool negative = value <= -0.5;
    if (!(magnitude < 9.0e15 && magnitude == std::trunc(magnitude))) {
        // Fractions and huge values are rounded by the floating-point
        // formatting; whole numbers, which nearly every field holds, skip it.
        QString digits = QString::number(magnitude, 'f', 0);
        const qsizetype room = width - (negative ? 1 : 0);
        if (digits.size() < room)
            digits = QString(room - digits.size(), QLatin1Char('0')) + digits;
        ar.WriteText(negative ? QLatin1Char('-') + digits : digits, width);
        return;
    }
    char digits[24];
    const char* digitsEnd = std::to_chars(digits, digits + sizeof digits, static_cast<long long>(magnitude)).ptr;
    const int count = static_cast<int>(digitsEnd - digits);
    // The sign goes first so that the host reads the number back; zeros fill
    // the field up to its width.
    const int zeros = std::max(width - (negative ? 1 : 0) - count, 0);
    const int length = (negative ? 1 : 0) + zeros + count;
    char local[64];
    std::string large;
    char* text = local;
    if (length > static_cast<int>(sizeof local)) {
        large.resize(static_cast<size_t>(length));
        text = large.data();
    }
    char* out = text;
    if (negative)
        *out++ = '-';
    out = std::fill_n(out, zeros, '0');
    std::copy(static_cast<const char*>(digits), digitsEnd, out);
    ar.WriteAscii(std::string_view(text, static_cast<size_t>(length)), width);
}
