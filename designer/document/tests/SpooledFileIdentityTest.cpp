// The spooled-file identity: its flat 130-unit layout, the fields' widths,
// comparison and its archive form under the schema its container lends it.

#include "designer/document/SpooledFileIdentity.h"
#include "platform/framework/Archive.h"
#include "platform/framework/MemFile.h"
#include "tests/support/ArchiveBytes.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <vector>

namespace {

using Raw = std::array<char16_t, SpooledFileIdentity::kRecordLength>;

Raw RawOf(const SpooledFileIdentity& identity)
{
    Raw raw;
    std::memcpy(raw.data(), &identity, sizeof identity);
    return raw;
}

struct Field
{
    const char* name;
    QString (SpooledFileIdentity::*get)() const;
    void (SpooledFileIdentity::*set)(const QString&);
    int width;
    int offset; // in UTF-16 units from the start of the record
};

using I = SpooledFileIdentity;
const Field kFields[] = {
    {"OutputQueue", &I::GetOutputQueue, &I::SetOutputQueue, 10, 0},
    {"OutputQueueLibrary", &I::GetOutputQueueLibrary, &I::SetOutputQueueLibrary, 10, 11},
    {"FileName", &I::GetFileName, &I::SetFileName, 10, 22},
    {"UserName", &I::GetUserName, &I::SetUserName, 10, 33},
    {"UserData", &I::GetUserData, &I::SetUserData, 12, 44},
    {"Date", &I::GetDate, &I::SetDate, 8, 57},
    {"Time", &I::GetTime, &I::SetTime, 8, 66},
    {"TotalPages", &I::GetTotalPages, &I::SetTotalPages, 10, 75},
    {"DbcsData", &I::GetDbcsData, &I::SetDbcsData, 10, 86},
    {"DbcsExtensions", &I::GetDbcsExtensions, &I::SetDbcsExtensions, 10, 97},
    {"CharSet", &I::GetCharSet, &I::SetCharSet, 10, 108},
    {"FormType", &I::GetFormType, &I::SetFormType, 10, 119},
};

// Field i filled to its width with the letter 'a' + i.
QString FullText(size_t i)
{
    return QString(kFields[i].width, QChar(u'a' + static_cast<char16_t>(i)));
}

SpooledFileIdentity FullIdentity()
{
    SpooledFileIdentity identity;
    for (size_t i = 0; i < std::size(kFields); ++i)
        (identity.*kFields[i].set)(FullText(i));
    return identity;
}

TEST(SpooledFileIdentityLayout, FieldsFollowEachOtherEachEndedByNul)
{
    Raw expected{};
    for (size_t i = 0; i < std::size(kFields); ++i)
        for (int k = 0; k < kFields[i].width; ++k)
            expected[static_cast<size_t>(kFields[i].offset + k)] = static_cast<char16_t>(u'a' + i);
    EXPECT_EQ(RawOf(FullIdentity()), expected);
}

TEST(SpooledFileIdentityLayout, NewAndClearedAreAllZero)
{
    EXPECT_EQ(RawOf(SpooledFileIdentity()), Raw{});
    SpooledFileIdentity identity = FullIdentity();
    identity.Clear();
    EXPECT_EQ(RawOf(identity), Raw{});
    for (const Field& f : kFields)
        EXPECT_TRUE((identity.*f.get)().isEmpty()) << f.name;
}

TEST(SpooledFileIdentityFields, LongTextIsCutToTheWidthAndTheNeighboursStay)
{
    for (size_t i = 0; i < std::size(kFields); ++i) {
        const Field& f = kFields[i];
        SCOPED_TRACE(f.name);
        SpooledFileIdentity identity = FullIdentity();
        const QString longText = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
        (identity.*f.set)(longText);
        EXPECT_EQ((identity.*f.get)(), longText.left(f.width));
        const Raw raw = RawOf(identity);
        EXPECT_EQ(raw[static_cast<size_t>(f.offset + f.width)], 0);
        for (size_t j = 0; j < std::size(kFields); ++j) {
            if (j != i) {
                EXPECT_EQ((identity.*kFields[j].get)(), FullText(j)) << kFields[j].name;
            }
        }
    }
}

TEST(SpooledFileIdentityFields, ShorterTextLeavesNothingOfTheOldBehind)
{
    for (const Field& f : kFields) {
        SCOPED_TRACE(f.name);
        SpooledFileIdentity identity;
        (identity.*f.set)(QString(f.width, u'X'));
        (identity.*f.set)(QStringLiteral("AB"));
        EXPECT_EQ((identity.*f.get)(), QStringLiteral("AB"));
        const Raw raw = RawOf(identity);
        for (int k = 2; k <= f.width; ++k)
            EXPECT_EQ(raw[static_cast<size_t>(f.offset + k)], 0) << "unit " << k;
    }
}

TEST(SpooledFileIdentityFields, CutNeverSplitsASurrogatePair)
{
    struct Case
    {
        const char* name;
        QString text;
        QString expected;
    };
    const QString smile = QString::fromUtf16(u"\U0001F600");
    const Case cases[] = {
        {"PairStraddlesTheWidth", QString(11, u'u') + smile, QString(11, u'u')},
        {"PairEndsAtTheWidth", QString(10, u'u') + smile, QString(10, u'u') + smile},
        {"PairBeyondTheWidth", QString(12, u'u') + smile, QString(12, u'u')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SpooledFileIdentity identity;
        identity.SetUserData(c.text);
        EXPECT_EQ(identity.GetUserData(), c.expected);
    }
}

TEST(SpooledFileIdentityCompare, EveryFieldCountsAndCaseCounts)
{
    const SpooledFileIdentity base = FullIdentity();
    SpooledFileIdentity same = FullIdentity();
    EXPECT_TRUE(base.IsEqual(same));

    for (size_t i = 0; i < std::size(kFields); ++i) {
        SCOPED_TRACE(kFields[i].name);
        SpooledFileIdentity other = FullIdentity();
        QString text = FullText(i);
        text[1] = text[1].toUpper();
        (other.*kFields[i].set)(text);
        EXPECT_FALSE(base.IsEqual(other));
        EXPECT_FALSE(other.IsEqual(base));
    }
}

TEST(SpooledFileIdentityCompare, CopyFromTakesEveryField)
{
    SpooledFileIdentity copy;
    copy.SetFormType(QStringLiteral("OLD"));
    const SpooledFileIdentity source = FullIdentity();
    copy.CopyFrom(source);
    EXPECT_TRUE(copy.IsEqual(source));
    EXPECT_EQ(RawOf(copy), RawOf(source));

    SpooledFileIdentity sparse;
    sparse.SetUserName(QStringLiteral("ME"));
    copy.CopyFrom(sparse);
    EXPECT_EQ(RawOf(copy), RawOf(sparse));
}

// Twelve strings "A" to "L" in the wide form: FF FE FF, length 1, one unit.
const char* const kTwelveLettersHex = "FF FE FF 01 41 00  FF FE FF 01 42 00  FF FE FF 01 43 00  FF FE FF 01 44 00"
                                      "FF FE FF 01 45 00  FF FE FF 01 46 00  FF FE FF 01 47 00  FF FE FF 01 48 00"
                                      "FF FE FF 01 49 00  FF FE FF 01 4A 00  FF FE FF 01 4B 00  FF FE FF 01 4C 00";

SpooledFileIdentity LetterIdentity()
{
    SpooledFileIdentity identity;
    for (size_t i = 0; i < std::size(kFields); ++i)
        (identity.*kFields[i].set)(QString(QChar(u'A' + static_cast<char16_t>(i))));
    return identity;
}

TEST(SpooledFileIdentityArchive, StoresTwelveStringsInFieldOrder)
{
    SpooledFileIdentity identity = LetterIdentity();
    EXPECT_EQ(Store([&](CArchive& ar) { SerializeSpooledFileIdentity(ar, identity); }), Hex(kTwelveLettersHex));

    SpooledFileIdentity empty;
    Bytes twelveEmpty;
    for (int i = 0; i < 12; ++i)
        twelveEmpty = twelveEmpty + Hex("FF FE FF 00");
    EXPECT_EQ(Store([&](CArchive& ar) { SerializeSpooledFileIdentity(ar, empty); }), twelveEmpty);
}

TEST(SpooledFileIdentityArchive, LoadReadsTheFieldsTheSchemaHas)
{
    struct Case
    {
        const char* name;
        UINT schema;
        size_t fieldsRead;
    };
    const Case cases[] = {
        {"Schema6AllTwelve", 6, 12},
        {"Schema5NoFormType", 5, 11},
        {"Schema4NoDbcsNorCharSet", 4, 8},
        {"Schema0AsSchema4", 0, 8},
    };
    // A string "Z" after the record shows where the read stopped.
    const Bytes bytes = Hex(kTwelveLettersHex) + Hex("FF FE FF 01 5A 00");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SpooledFileIdentity identity = FullIdentity();
        Load(bytes, [&](CArchive& ar) {
            ar.SetObjectSchema(c.schema);
            SerializeSpooledFileIdentity(ar, identity);
            QString next;
            ar >> next;
            const char16_t expectedNext = c.fieldsRead == 12 ? u'Z' : static_cast<char16_t>(u'A' + c.fieldsRead);
            EXPECT_EQ(next, QString(QChar(expectedNext)));
        });
        for (size_t i = 0; i < std::size(kFields); ++i) {
            const QString expected = i < c.fieldsRead ? QString(QChar(u'A' + static_cast<char16_t>(i))) : QString();
            EXPECT_EQ((identity.*kFields[i].get)(), expected) << kFields[i].name;
        }
    }
}

TEST(SpooledFileIdentityArchive, LongStoredTextIsCutToTheField)
{
    // User data "ABCDEFGHIJKLMNO", fifteen characters, amid empty fields.
    const Bytes bytes = Hex("FF FE FF 00  FF FE FF 00  FF FE FF 00  FF FE FF 00"
                            "FF FE FF 0F 41 00 42 00 43 00 44 00 45 00 46 00 47 00 48 00"
                            "            49 00 4A 00 4B 00 4C 00 4D 00 4E 00 4F 00"
                            "FF FE FF 00  FF FE FF 00  FF FE FF 00  FF FE FF 00"
                            "FF FE FF 00  FF FE FF 00  FF FE FF 00");
    SpooledFileIdentity identity;
    Load(bytes, [&](CArchive& ar) {
        ar.SetObjectSchema(6);
        SerializeSpooledFileIdentity(ar, identity);
    });
    EXPECT_EQ(identity.GetUserData(), QStringLiteral("ABCDEFGHIJKL"));
    EXPECT_EQ(RawOf(identity)[44 + 12], 0);
}

TEST(SpooledFileIdentityArchive, ShortArchiveRaisesEndOfFileAndKeepsTheRecord)
{
    const Bytes whole = Hex(kTwelveLettersHex);
    // Cut inside the seventh string, and right after the eighth when the
    // schema asks for eleven.
    struct Case
    {
        const char* name;
        size_t length;
        UINT schema;
    };
    const Case cases[] = {
        {"CutInsideTime", 6 * 6 + 4, 6},
        {"EightOfElevenPresent", 8 * 6, 5},
        {"Empty", 0, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SpooledFileIdentity identity = FullIdentity();
        try {
            Load(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(c.length)), [&](CArchive& ar) {
                ar.SetObjectSchema(c.schema);
                SerializeSpooledFileIdentity(ar, identity);
            });
            ADD_FAILURE() << "a short record was read";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
        }
        EXPECT_EQ(RawOf(identity), RawOf(FullIdentity()));
    }
}

} // namespace
