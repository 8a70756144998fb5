#include "platform/framework/Cp1252.h"

namespace kwvd {

namespace {

// 0x80 to 0x9F; every other byte is its own code point.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

char16_t Cp1252ToUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControls[byte - 0x80];
    return byte;
}

int UnicodeToCp1252(char16_t unit)
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return unit;
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == unit)
            return 0x80 + i;
    }
    return -1;
}

QString FromCp1252(std::string_view bytes)
{
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (std::size_t i = 0; i < bytes.size(); ++i)
        out[i] = QChar(Cp1252ToUnicode(static_cast<unsigned char>(bytes[i])));
    return text;
}

std::string ToCp1252(QStringView text, char replacement)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text) {
        const int b = UnicodeToCp1252(c.unicode());
        bytes.push_back(b < 0 ? replacement : static_cast<char>(b));
    }
    return bytes;
}

} // namespace kwvd
