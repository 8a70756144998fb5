#pragma once
// The language ids (LANGIDs) the designer knows: each linked to Qt's
// language and territory and to the three-letter abbreviation that names
// its language bundle. A LANGID holds the primary language in its low 10
// bits and the sublanguage above them; sublanguage 0 is the neutral id of a
// language, 1 its default sublanguage.

#include "platform/framework/Types.h"

#include <QLocale>
#include <QString>
#include <QStringView>

#include <optional>
#include <span>

struct LanguageIdRow
{
    WORD id;
    QLocale::Language language;
    QLocale::Territory territory;
    const char* abbreviation;
};

std::span<const LanguageIdRow> LanguageIdTable();

constexpr WORD PrimaryLanguage(WORD id)
{
    return WORD(id & 0x3FF);
}
constexpr WORD SubLanguage(WORD id)
{
    return WORD(id >> 10);
}

// The row of the id; a neutral id gives its default sublanguage's row.
// Null outside the table.
const LanguageIdRow* FindLanguageRow(WORD id);

// "DEU" for 0x0407 and for 0x0007; empty for an id outside the table.
QString LanguageAbbreviation(WORD id);

// A POSIX locale name "ll_CC[.charset][@modifier]" as a LANGID: the
// table's id of language and territory; "ll" alone, or with a territory the
// table lacks, the neutral id; 0 for "C", "POSIX" and unknown names.
WORD LanguageIdFromLocaleName(QStringView name);
