#include "designer/document/jvx/FixedLenNum.h"

#include "designer/document/jvx/JVXArchive.h"
#include "platform/framework/Archive.h"
#include "platform/framework/Exceptions.h"

#include <QString>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
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

// Fields up to this wide are formatted on the stack, with room to spare
// for the fixed-size copies below.
constexpr int kShortNumberWidth = 63;
constexpr size_t kShortNumberText = 96;

// The sign, zeros up to the width, then the digits of whole (below 9e15),
// for a field of at most kShortNumberWidth characters; returns the length.
// The sign goes first so that the host reads the number back. The copies
// are of fixed size, so they need no call; what lies past the length is
// never read.
size_t FormatShortNumber(char (&text)[kShortNumberText], long long whole, bool negative, int width)
{
    char digits[16] = {};
    const int count = static_cast<int>(std::to_chars(digits, digits + sizeof digits, whole).ptr - digits);
    const int sign = negative ? 1 : 0;
    const int zeros = std::max(width - sign - count, 0);
    text[0] = '-';
    std::memset(text + sign, '0', 64);
    std::memcpy(text + sign + zeros, digits, sizeof digits);
    return static_cast<size_t>(sign + zeros + count);
}

// Fields wider than the stack text: the same layout in a string.
[[gnu::noinline]] void WriteLongNumber(CJVXArchive& ar, long long whole, bool negative, int width)
{
    const std::string digits = std::to_string(whole);
    const int sign = negative ? 1 : 0;
    std::string text(negative ? "-" : "");
    text.append(static_cast<size_t>(std::max(width - sign - static_cast<int>(digits.size()), 0)), '0');
    text += digits;
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

// Signs, numbers wider than their field, fractions and what is not a
// number. Out of line, so that the common field keeps a small frame.
[[gnu::noinline]] void WriteAnyNumber(CJVXArchive& ar, double held, int width)
{
    const double value = std::isfinite(held) ? held : 0.0;
    const double magnitude = std::fabs(value);
    const bool negative = value <= -0.5;
    // Whole numbers skip the floating-point formatting. Below 9e15 a double
    // holds every integer exactly, so the conversion tells a whole number.
    const auto whole = magnitude < 9.0e15 ? static_cast<long long>(magnitude) : 0;
    if (!(magnitude < 9.0e15 && static_cast<double>(whole) == magnitude)) {
        WriteRoundedNumber(ar, magnitude, negative, width);
        return;
    }
    if (width > kShortNumberWidth) {
        WriteLongNumber(ar, whole, negative, width);
        return;
    }
    char text[kShortNumberText];
    const size_t length = FormatShortNumber(text, whole, negative, width);
    ar.WriteAscii(std::string_view(text, length), width);
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
    // Nearly every field holds a small whole number that fits its width:
    // its digits go straight into the line.
    static constexpr std::uint64_t kTens[] = {1,       10,       100,       1000,       10000,      100000,
                                              1000000, 10000000, 100000000, 1000000000, 10000000000};
    if (m_dValue >= 0.0 && m_dValue < 4294967296.0 && width > 0 && width < static_cast<int>(std::size(kTens))) {
        const auto whole = static_cast<std::uint32_t>(m_dValue);
        if (static_cast<double>(whole) == m_dValue && whole < kTens[width]) {
            ar.WriteDigits(whole, width);
            return;
        }
    }
    WriteAnyNumber(ar, m_dValue, width);
}
