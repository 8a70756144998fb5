#pragma once
// Windows-1252, the narrow code page of the system's programs and files.
// Our own table, never iconv: the five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, so
// every byte survives a round trip.

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

namespace kwvd {

char16_t Cp1252ToUnicode(unsigned char byte);

// The byte for a character, or -1 when Windows-1252 has none.
int UnicodeToCp1252(char16_t unit);

QString FromCp1252(std::string_view bytes);

// Characters outside the code page become the replacement byte.
std::string ToCp1252(QStringView text, char replacement = '?');

} // namespace kwvd
