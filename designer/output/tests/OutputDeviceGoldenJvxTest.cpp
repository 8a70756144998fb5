// Whole JVX device records written out field by field from the record
// layout, and records with a type code the type table does not know.

#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "tests/support/JvxBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// One field of an expected record: text fields are padded with blanks on
// the right; number fields are given already zero-filled.
struct Field
{
    int no; // the field's number in the layout, for the reader of the table
    int width;
    std::string text;
};

std::string Join(const std::vector<Field>& fields)
{
    std::string record;
    for (const Field& f : fields) {
        EXPECT_LE(f.text.size(), static_cast<size_t>(f.width)) << "field " << f.no;
        record +=
            f.text
            + std::string(static_cast<size_t>(f.width) - std::min(f.text.size(), static_cast<size_t>(f.width)), ' ');
    }
    return record + "\r\n";
}

// Fields that repeat: `count` fields of one width and one text.
void Repeat(std::vector<Field>& fields, int first, int count, int width, const std::string& text = std::string())
{
    for (int i = 0; i < count; ++i)
        fields.push_back({first + i, width, text});
}

std::string Text(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

// From version 19 every character is two bytes, little-endian.
Bytes Wide(const std::string& text)
{
    Bytes bytes;
    for (char c : text) {
        bytes.push_back(static_cast<BYTE>(c));
        bytes.push_back(0);
    }
    return bytes;
}

// The first offset where the two differ, to say which field broke.
size_t FirstDifference(const std::string& a, const std::string& b)
{
    size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    return i;
}

TEST(OutputDeviceJvxGolden, FileDeviceAtVersionSixteen)
{
    RegisterOutputClasses();
    COutputDevice device(6, QStringLiteral("fil1"), QStringLiteral("Files"));
    device.SetFilePath(QStringLiteral("/out"));
    device.SetMessage(QStringLiteral("Hello"));
    device.SetConfirmationType(20);
    device.SetParameter(2, QStringLiteral("p2"));
    device.SetParameter(12, QStringLiteral("p12"));
    device.SetFileCcsid(QStringLiteral("1208"));
    device.SetDrawer(0);

    std::vector<Field> f = {
        {1, 4, "*FIL"},     {2, 10, "FIL1"}, // the record upper-cases the name
        {3, 10, "*DEV"},    {4, 10, ""},     {5, 10, "*JOB"}, {6, 4, "*NO"}, {7, 4, "*NO"},
        {8, 10, "*SOURCE"}, {9, 10, "*STD"}, {10, 1, "0"}, // rotation *DOC without an export device: portrait
        {11, 5, "00250"},                                  // no-print border *DOC without an export device
        {12, 8, ""}, // font group and printer resource come only from the export device
        {13, 8, ""},        {14, 7, ""},
    };
    Repeat(f, 15, 6, 10);
    f.insert(f.end(), {
                          {21, 35, "Files"}, {22, 10, ""},  {23, 10, ""},       {24, 4, "*HLD"},   {25, 4, ""},
                          {26, 20, ""},      {27, 20, ""},  {28, 7, "*NORMAL"}, {29, 10, "*NONE"}, {30, 10, ""},
                          {31, 10, ""},      {32, 7, ""},   {33, 30, ""},       {34, 3, "000"},    {35, 3, "000"},
                          {36, 3, "000"},    {37, 2, "NE"}, {38, 25, ""},       {39, 3, "000"},    {40, 3, "000"},
                          {41, 3, "000"},    {42, 1, "1"},  {43, 10, ""},       {44, 10, "*LIBL"}, {45, 10, ""},
                          {46, 8, ""},
                      });
    Repeat(f, 47, 4, 50); // from, to, attention, reference: 50 wide from version 14
    f
        .insert(
            f.end(), {
                         {51, 10, "*CURRENT"}, {52, 10, ""},        {53, 10, ""},     {54, 1, "2"},
                         {55, 1, "1"},         {56, 10, ""},        {57, 10, ""},     {58, 10, ""},
                         {59, 3, "000"},       {60, 2, "06"},       {61, 2, "10"},    {62, 5, "*E1"},
                         {63, 3, "066"},       {64, 5, ""},      // the *SCS rotation field, blank for other types
                         {65, 3, "001"},       {66, 12, "fil1"}, // no display document: the name as stored, not upper-cased
                         {67, 63, ""},         {68, 64, ""},        {69, 122, ""},    {70, 4, "3771"},
                         {71, 5, "00360"},     {72, 5, "00240"},    {73, 5, "00240"}, {74, 5, "00360"},
                         {75, 5, "00360"},     {76, 5, "00240"},    {77, 5, "00240"}, {78, 5, "00360"},
                         {79, 256, ""},        {80, 256, ""},       {81, 3, "TXT"},   {82, 7, "*NO"},
                         {83, 1, "0"},         {84, 64, "ATTACH"},  {85, 3, "TXT"},   {86, 256, ""},
                         {87, 256, ""},        {88, 1024, "Hello"}, // 1024 wide from version 16
                         {89, 2, "20"},        {90, 256, "/out"},   {91, 64, "File"}, {92, 3, "TXT"},
                         {93, 3, "TXT"},       {94, 10, ""},        {95, 10, ""},     {96, 132, ""},
                         {97, 132, "p2"},
                     });
    Repeat(f, 98, 8, 132);
    f.push_back({106, 64, ""});
    f.push_back({107, 64, "p12"});
    Repeat(f, 108, 8, 64);
    f.push_back({116, 11, "1208"});
    const std::string expected = Join(f);
    ASSERT_EQ(expected.size(), 5457u + 2) << "the table itself must give the host's record length";

    const std::string record = Text(StoreJvx(16, [&](CJVXArchive& ar) { device.ExchangeJVX(ar, L'0', nullptr); }));
    EXPECT_EQ(record, expected) << "first difference at offset " << FirstDifference(record, expected);
}

TEST(OutputDeviceJvxGolden, DocumentStoreDeviceAtVersionTwentyEightResolvedFromTheExportDevice)
{
    RegisterOutputClasses();
    RegisterOutputStrings();
    COutputDevice exportDevice(0, QStringLiteral("member"), QString());
    exportDevice.SetLPI(8);
    exportDevice.SetCPI(12);
    exportDevice.SetNoPrintBorder(QStringLiteral("100"));
    exportDevice.SetRotationText(QStringLiteral("90"));
    exportDevice.SetFontGroup(QStringLiteral("FGRP"));
    exportDevice.SetPrinterResource(QStringLiteral("PRES"));
    exportDevice.SetFileExitProgramLibrary(QStringLiteral("EXPLIB"));
    exportDevice.SetPageWidthTwips(12240);
    exportDevice.SetPageHeightTwips(15840);
    ASSERT_EQ(exportDevice.GetRotation(), 1);

    // The document's default device, standing for the document everywhere.
    COutputDevice device(7, QStringLiteral("*DOC"), QString());
    device.SetPdfFlag(3, FALSE);
    device.SetPdfOwnerPassword(QStringLiteral("secret"));
    device.SetDestinationText(QStringLiteral("dest"));
    device.SetPdfDataStream(QStringLiteral("y"));

    std::vector<Field> f = {
        {1, 4, "*FIL"},   {2, 10, "MEMBER"}, // "*DOC" is written under the export device's name
        {3, 10, "*DEV"},  {4, 10, ""},        {5, 10, "*JOB"}, {6, 4, "*NO"},
        {7, 4, "*NO"},    {8, 10, "*SOURCE"}, {9, 10, "*STD"}, {10, 1, "1"}, // the export device's rotation, landscape
        {11, 5, "00100"}, {12, 8, "FGRP"},    {13, 8, "PRES"}, {14, 7, ""},
    };
    Repeat(f, 15, 6, 10);
    f.insert(f.end(), {
                          {21, 35, ""},   {22, 10, ""},  {23, 10, ""},       {24, 4, "*HLD"},   {25, 4, ""},
                          {26, 20, ""},   {27, 20, ""},  {28, 7, "*NORMAL"}, {29, 10, "*NONE"}, {30, 10, ""},
                          {31, 10, ""},   {32, 7, ""},   {33, 30, ""},       {34, 3, "000"},    {35, 3, "000"},
                          {36, 3, "000"}, {37, 2, "NE"}, {38, 25, ""},       {39, 3, "000"},    {40, 3, "000"},
                          {41, 3, "000"}, {42, 1, "1"},  {43, 10, ""},       {44, 10, "*LIBL"}, {45, 10, ""},
                          {46, 8, ""},
                      });
    Repeat(f, 47, 4, 50);
    f.insert(f.end(),
             {
                 {51, 10, "*CURRENT"}, {52, 10, ""},       {53, 10, ""},      {54, 1, "2"},     {55, 1, "1"},
                 {56, 10, ""},         {57, 10, ""},       {58, 10, ""},      {59, 3, "000"},   {60, 2, "08"},
                 {61, 2, "12"},        {62, 5, "1"},       {63, 3, "066"},    {64, 5, ""},      {65, 3, "001"},
                 {66, 12, "MEMBER"}, // no display document and a "*DOC" name: field 2
                 {67, 63, ""},         {68, 64, ""},       {69, 122, ""},     {70, 4, "3771"},  {71, 5, "00360"},
                 {72, 5, "00240"},     {73, 5, "00240"},   {74, 5, "00360"},  {75, 5, "00360"}, {76, 5, "00240"},
                 {77, 5, "00240"},     {78, 5, "00360"},   {79, 256, ""},     {80, 256, ""},    {81, 3, "TXT"},
                 {82, 7, "*NO"},       {83, 1, "1"}, // an XML document
                 {84, 64, "ATTACH"},   {85, 3, "TXT"},     {86, 256, "dest"}, {87, 256, ""},    {88, 1024, ""},
                 {89, 2, "00"},        {90, 256, ""},      {91, 64, "File"},  {92, 3, "TXT"},   {93, 3, "TXT"},
                 {94, 10, "STOREDOC"}, {95, 10, "EXPLIB"}, // "*DOC" resolved through the export device
             });
    Repeat(f, 96, 10, 132);
    Repeat(f, 106, 10, 64);
    f.insert(f.end(),
             {
                 {116, 11, ""},       {117, 1, "Y"},   {118, 6, "012240"}, {119, 6, "015840"}, {120, 11, ""},
                 {121, 3, "000"},     {122, 20, ""},   {123, 20, ""},      {124, 20, "*RWX"},  {125, 4, "*YES"},
                 {126, 32, "SECRET"}, {127, 32, ""},   {128, 4, "*YES"},   {129, 4, "*YES"},   {130, 4, "*NO"},
                 {131, 4, "*YES"},    {132, 6, "*V1"}, {133, 4, "*YES"},   {134, 4, "*YES"},   {135, 4, "*YES"},
                 {136, 4, "*YES"},
             });
    const std::string expectedText = Join(f);
    ASSERT_EQ(expectedText.size(), 5650u + 2);

    const Bytes record = StoreJvx(28, [&](CJVXArchive& ar) { device.ExchangeJVX(ar, L'1', &exportDevice); });
    ASSERT_GE(record.size(), 8u);
    EXPECT_EQ(Bytes(record.begin(), record.begin() + 8), Hex("2A 00 46 00 49 00 4C 00")) << "\"*FIL\" in UTF-16LE";
    const Bytes expected = Wide(expectedText);
    ASSERT_EQ(record.size(), expected.size());
    size_t difference = 0;
    while (difference < record.size() && record[difference] == expected[difference])
        ++difference;
    EXPECT_EQ(difference, record.size()) << "first difference at character " << difference / 2;
}

TEST(OutputDeviceJvxGolden, TypeCodeNoRowKnowsReadsAsTypeZero)
{
    RegisterOutputClasses();
    struct Case
    {
        const char* name;
        const char* record;
        int type;
    };
    const Case cases[] = {
        {"unknown code", "*XYZPRT1      \r\n", 0},
        {"lower case is not found", "*afpPRT1      \r\n", 0},
        {"blank code", "    PRT1      \r\n", 0},
        {"known code", "*HPTPRT1      \r\n", 2},
        {"*FIL is the file device", "*FILPRT1      \r\n", 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JvxReader reader(Ascii(c.record), 4);
        COutputDevice device(5, QStringLiteral("OLD"), QString());
        device.ExchangeJVX(reader.Archive(), L'0', nullptr);
        EXPECT_EQ(device.GetType(), c.type);
        EXPECT_EQ(device.GetName(), QStringLiteral("PRT1"));
        // Written again, the record carries a code the host knows.
        const std::string again = Text(StoreJvx(4, [&](CJVXArchive& ar) { device.ExchangeJVX(ar, L'0', nullptr); }));
        EXPECT_NE(again.substr(0, 4), "    ");
    }
}

} // namespace
