#include "designer/shell/LanguageIds.h"

#include <QRegularExpression>

namespace {

using L = QLocale;

// The languages of the host code pages and a few more. Serbian is left
// out: its primary id is Croatian's, so a Serbian user would fall back to a
// Croatian bundle. A language's first
// row is the one its bare "ll" and its neutral id stand for, so the default
// sublanguage (1) comes first.
constexpr LanguageIdRow kRows[] = {
    {0x0401, L::Arabic, L::SaudiArabia, "ARA"},     {0x0402, L::Bulgarian, L::Bulgaria, "BGR"},
    {0x0404, L::Chinese, L::Taiwan, "CHT"},         {0x0804, L::Chinese, L::China, "CHS"},
    {0x0405, L::Czech, L::CzechRepublic, "CSY"},    {0x0406, L::Danish, L::Denmark, "DAN"},
    {0x0407, L::German, L::Germany, "DEU"},         {0x0807, L::German, L::Switzerland, "DES"},
    {0x0C07, L::German, L::Austria, "DEA"},         {0x1007, L::German, L::Luxembourg, "DEL"},
    {0x0408, L::Greek, L::Greece, "ELL"},           {0x0409, L::English, L::UnitedStates, "ENU"},
    {0x0809, L::English, L::UnitedKingdom, "ENG"},  {0x0C09, L::English, L::Australia, "ENA"},
    {0x1009, L::English, L::Canada, "ENC"},         {0x1409, L::English, L::NewZealand, "ENZ"},
    {0x1809, L::English, L::Ireland, "ENI"},        {0x040A, L::Spanish, L::Spain, "ESP"},
    {0x0C0A, L::Spanish, L::Spain, "ESN"},          {0x080A, L::Spanish, L::Mexico, "ESM"},
    {0x040B, L::Finnish, L::Finland, "FIN"},        {0x040C, L::French, L::France, "FRA"},
    {0x080C, L::French, L::Belgium, "FRB"},         {0x0C0C, L::French, L::Canada, "FRC"},
    {0x100C, L::French, L::Switzerland, "FRS"},     {0x040D, L::Hebrew, L::Israel, "HEB"},
    {0x040E, L::Hungarian, L::Hungary, "HUN"},      {0x040F, L::Icelandic, L::Iceland, "ISL"},
    {0x0410, L::Italian, L::Italy, "ITA"},          {0x0810, L::Italian, L::Switzerland, "ITS"},
    {0x0411, L::Japanese, L::Japan, "JPN"},         {0x0412, L::Korean, L::SouthKorea, "KOR"},
    {0x0413, L::Dutch, L::Netherlands, "NLD"},      {0x0813, L::Dutch, L::Belgium, "NLB"},
    {0x0414, L::NorwegianBokmal, L::Norway, "NOR"}, {0x0415, L::Polish, L::Poland, "PLK"},
    {0x0416, L::Portuguese, L::Brazil, "PTB"},      {0x0816, L::Portuguese, L::Portugal, "PTG"},
    {0x0418, L::Romanian, L::Romania, "ROM"},       {0x0419, L::Russian, L::Russia, "RUS"},
    {0x041A, L::Croatian, L::Croatia, "HRV"},       {0x041B, L::Slovak, L::Slovakia, "SKY"},
    {0x041C, L::Albanian, L::Albania, "SQI"},       {0x041D, L::Swedish, L::Sweden, "SVE"},
    {0x081D, L::Swedish, L::Finland, "SVF"},        {0x041F, L::Turkish, L::Turkey, "TRK"},
    {0x0420, L::Urdu, L::Pakistan, "URD"},          {0x0422, L::Ukrainian, L::Ukraine, "UKR"},
    {0x0423, L::Belarusian, L::Belarus, "BEL"},     {0x0424, L::Slovenian, L::Slovenia, "SLV"},
    {0x0425, L::Estonian, L::Estonia, "ETI"},       {0x0426, L::Latvian, L::Latvia, "LVI"},
    {0x0427, L::Lithuanian, L::Lithuania, "LTH"},   {0x0429, L::Persian, L::Iran, "FAR"},
    {0x042F, L::Macedonian, L::Macedonia, "MKI"},   {0x0439, L::Hindi, L::India, "HIN"},
};

const LanguageIdRow* FindExact(WORD id)
{
    for (const LanguageIdRow& row : kRows)
        if (row.id == id)
            return &row;
    return nullptr;
}

} // namespace

std::span<const LanguageIdRow> LanguageIdTable()
{
    return kRows;
}

const LanguageIdRow* FindLanguageRow(WORD id)
{
    if (id == 0)
        return nullptr;
    if (SubLanguage(id) == 0)
        return FindExact(WORD(id | 0x0400));
    return FindExact(id);
}

QString LanguageAbbreviation(WORD id)
{
    const LanguageIdRow* row = FindLanguageRow(id);
    return row ? QString::fromLatin1(row->abbreviation) : QString();
}

WORD LanguageIdFromLocaleName(QStringView name)
{
    // The charset and the modifier say nothing of the language.
    static const QRegularExpression form(
        QStringLiteral("^([a-z]{2,3})(?:_([A-Z]{2}|[0-9]{3}))?(?:\\.[^@]*)?(?:@.*)?$"));
    const QRegularExpressionMatch match = form.match(name.toString());
    if (!match.hasMatch())
        return 0;
    const QLocale::Language language = QLocale::codeToLanguage(match.capturedView(1));
    if (language == QLocale::AnyLanguage || language == QLocale::C)
        return 0;
    const LanguageIdRow* first = nullptr;
    for (const LanguageIdRow& row : kRows) {
        if (row.language != language)
            continue;
        if (!first)
            first = &row;
        if (match.hasCaptured(2) && row.territory == QLocale::codeToTerritory(match.capturedView(2)))
            return row.id;
    }
    return first ? PrimaryLanguage(first->id) : 0;
}
