#include "designer/document/jvx/FixedLenNum.h"

#include "designer/document/jvx/JVXArchive.h"
#include "platform/framework/Archive.h"
#include "platform/framework/Exceptions.h"

#include <QString>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
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

// Out of line, so that writing a field keeps a small frame.
[[gnu::noinline]] double ReadFieldNumber(CJVXArchive& ar, int width)
{
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
    return ParseFieldNumber(std::u16string_view(field, static_cast<size_t>(width)));
}

// Room for the zero-filled text of fields up to 63 characters wide and of
// every whole number below 9e15 (16 digits and a sign).
constexpr size_t kShortNumberText = 64;

// Writes the sign, zeros up to the width and the digits into text, which
// holds max(width, 17) characters; returns the length. The sign goes first
// so that the host reads the number back.
size_t FormatWholeNumber(char* text, long long whole, bool negative, int width)
{
    // The digits go where they end up when no zeros are needed, and move
    // right to make room for the zeros when they are.
    const int sign = negative ? 1 : 0;
    char* const digits = text + sign;
    const int count = static_cast<int>(std::to_chars(digits, digits + 16, whole).ptr - digits);
    const int zeros = std::max(width - sign - count, 0);
    if (zeros > 0) {
        std::memmove(digits + zeros, digits, static_cast<size_t>(count));
        std::fill_n(digits, zeros, '0');
    }
    if (negative)
        text[0] = '-';
    return static_cast<size_t>(sign + zeros + count);
}

[[gnu::noinline]] void WriteLongNumber(CJVXArchive& ar, long long whole, bool negative, int width)
{
    std::string text(static_cast<size_t>(std::max(width, 17)), '\0');
    text.resize(FormatWholeNumber(text.data(), whole, negative, width));
    ar.WriteAscii(text, width);
}

// Fractions and huge values are rounded by the floating-point formatting.
[[gnu::noinline]] void WriteRoundedNumber(CJVXArchive& ar, double magnitude, bool negative, int width)
{
    QString digits = QString::number(magnitude, 'f', 0);
    const qsizetype room = width - (negative ? 1 : 0);
    if (digits.size() < room)
        digits = QString(room - digits.size(), QLatin1Char('0')) + digits;
    ar.WriteText(negative ? QLatin1Char('-') + digits : digits, width);
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
    m_dValue = ReadFieldNumber(ar, width);
    m_bEmpty = FALSE;
}

void CFixedLenNum::WriteJVXValue(CJVXArchive& ar, int width) const
{
    const double value = std::isfinite(m_dValue) ? m_dValue : 0.0;
    const double magnitude = std::fabs(value);
    const bool negative = value <= -0.5;
    // Whole numbers, which nearly every field holds, skip the floating-point
    // formatting.
    if (!(magnitude < 9.0e15 && magnitude == std::trunc(magnitude))) {
        WriteRoundedNumber(ar, magnitude, negative, width);
        return;
    }
    const auto whole = static_cast<long long>(magnitude);
    char text[kShortNumberText];
    if (width > static_cast<int>(sizeof text) - 1) {
        WriteLongNumber(ar, whole, negative, width);
        return;
    }
    const size_t length = FormatWholeNumber(text, whole, negative, width);
    ar.WriteAscii(std::string_view(text, length), width);
}
