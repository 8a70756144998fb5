#include "designer/document/TimeStamp.h"
#include "designer/document/jvx/FixedLenNum.h"
#include "designer/document/jvx/FixedLenString.h"
#include "designer/document/jvx/FixedLenUserString.h"
#include "designer/document/jvx/FixedLenUserStringStripped.h"
#include "designer/document/jvx/JVXArchive.h"
#include "platform/framework/Exceptions.h"
#include "tests/support/IconvTranslator.h"
#include "tests/support/JvxBytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// Clears the process-wide user translator whatever a test leaves behind.
class FixedLenJvxTest : public ::testing::Test
{
protected:
    void TearDown() override { SetUserDataTranslator(nullptr); }
};

// The line of one field of each class: a number, system text and user text.
Bytes StoreFields(int version, ITranslator* system)
{
    return StoreJvx(
        version,
        [](CJVXArchive& ar) {
            CFixedLenNum number(3);
            number.SetValue(5);
            CFixedLenNum negative(3);
            negative.SetValue(-5);
            CFixedLenNum wide(4);
            wide.SetValue(1440);
            CFixedLenString text(4);
            text.SetValue(QStringLiteral("IF"));
            CFixedLenUserString user(3);
            user.SetValue(QStringLiteral("Ab"));
            number.ExchangeJVX(ar);
            negative.ExchangeJVX(ar);
            wide.ExchangeJVX(ar);
            text.ExchangeJVX(ar);
            user.ExchangeJVX(ar);
        },
        system);
}

TEST_F(FixedLenJvxTest, FieldsHaveExactBytesInEveryTextForm)
{
    IconvTranslator system("IBM285", TranslatorMode::PcToHost);
    IconvTranslator user("IBM285", TranslatorMode::PcToHost);

    // 005 -05 1440 "IF  " "Ab "
    EXPECT_EQ(StoreFields(18, nullptr), Ascii("005-051440IF  Ab "));
    EXPECT_EQ(StoreFields(19, nullptr), Utf16(u"005-051440IF  Ab "));

    SetUserDataTranslator(&user);
    EXPECT_EQ(StoreFields(19, &system), Hex("F0 F0 F5  60 F0 F5  F1 F4 F4 F0  C9 C6 40 40  C1 82 40"));

    // No user translator: user text goes raw even beside translated system text.
    SetUserDataTranslator(nullptr);
    EXPECT_EQ(StoreFields(19, &system), Hex("F0 F0 F5  60 F0 F5  F1 F4 F4 F0  C9 C6 40 40") + Utf16(u"Ab "));
}

TEST_F(FixedLenJvxTest, NumberFieldsRead)
{
    struct Case
    {
        const char* name;
        int width;
        const char* file;
        double value;
    };
    const Case cases[] = {
        {"zeros", 2, "00", 0},        {"leading blank", 3, " 12", 12},        {"letters", 3, "ABC", 0},
        {"sign first", 3, "-05", -5}, {"digits then letters", 4, "12AB", 12}, {"plus sign", 3, "+07", 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JvxReader in(Ascii(c.file), 18);
        CFixedLenNum field(c.width);
        field.SetValue(99);
        field.SetEmpty(TRUE);
        field.ExchangeJVX(in.Archive());
        EXPECT_EQ(field.GetValue(), c.value);
        EXPECT_FALSE(field.IsEmpty());
    }
}

TEST_F(FixedLenJvxTest, NumberLongerThanTheFieldKeepsItsFirstCharacters)
{
    CFixedLenNum field(2);
    field.SetValue(123);
    EXPECT_EQ(StoreJvx(18, [&](CJVXArchive& ar) { field.ExchangeJVX(ar); }), Ascii("12"));
}

// A number field as it was formatted through Qt's number to text, padded
// with zeros and given its sign by string concatenation.
QString NumberFieldThroughQt(double stored, int width)
{
    const double value = std::isfinite(stored) ? stored : 0.0;
    const double magnitude = std::fabs(value);
    QString digits = magnitude < 9.0e15 && magnitude == std::trunc(magnitude)
                         ? QString::number(static_cast<qint64>(magnitude))
                         : QString::number(magnitude, 'f', 0);
    const bool negative = value <= -0.5;
    const qsizetype room = width - (negative ? 1 : 0);
    if (digits.size() < room)
        digits = QString(room - digits.size(), QLatin1Char('0')) + digits;
    const QString field = negative ? QLatin1Char('-') + digits : digits;
    return field.left(width) + QString(std::max<qsizetype>(width - field.size(), 0), QLatin1Char(' '));
}

TEST_F(FixedLenJvxTest, NumbersAreWrittenAsQtFormattedThem)
{
    const double values[] = {0.0,
                             -0.0,
                             5.0,
                             -5.0,
                             123.0,
                             1440.0,
                             -32767.0,
                             99999.0,
                             999.0,
                             1000.0,
                             99999999.0,
                             4294967295.0,
                             4294967296.0,
                             1.0e15,
                             8.9e15,
                             9.0e15,
                             -9.5e15,
                             1.0e300,
                             0.4,
                             -0.4,
                             -0.5,
                             -0.6,
                             2.5,
                             -1234.7,
                             std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity()};
    const int widths[] = {0, 1, 2, 3, 6, 8, 9, 10, 11, 20, 80};
    CFixedLenNum field;
    for (double value : values) {
        for (int width : widths) {
            SCOPED_TRACE(testing::Message() << value << " in width " << width);
            // Values of any size come from WVD files.
            Load(Store([&](CArchive& ar) { ar << static_cast<WORD>(width) << value; }),
                 [&](CArchive& ar) { field.Serialize(ar); });
            const QString expected = NumberFieldThroughQt(value, width);
            EXPECT_EQ(StoreJvx(18, [&](CJVXArchive& ar) { field.ExchangeJVX(ar); }),
                      Ascii(expected.toLatin1().constData()));
            EXPECT_EQ(StoreJvx(28, [&](CJVXArchive& ar) { field.ExchangeJVX(ar); }),
                      Utf16(reinterpret_cast<const char16_t*>(expected.utf16())));
            // The same inside a record's line, where the fields are gathered.
            EXPECT_EQ(StoreJvx(28,
                               [&](CJVXArchive& ar) {
                                   ar.BeginLine();
                                   field.ExchangeJVX(ar);
                                   ar.WriteLineEnd();
                               }),
                      Utf16(reinterpret_cast<const char16_t*>((expected + QStringLiteral("\r\n")).utf16())));
        }
    }
}

TEST_F(FixedLenJvxTest, TextFieldsReadWithoutTrailingWhiteSpace)
{
    struct Case
    {
        const char* name;
        int width;
        const char* file;
        const char* text;
    };
    const Case cases[] = {
        {"padded", 4, "IF  ", "IF"},
        {"leading blanks stay", 6, "  AB  ", "  AB"},
        {"tab and CR trimmed", 4, "X\t\r ", "X"},
        {"all blanks", 3, "   ", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JvxReader in(Ascii(c.file), 18);
        CFixedLenString field(c.width);
        field.ExchangeJVX(in.Archive());
        EXPECT_EQ(field.GetValue(), QString::fromLatin1(c.text));
    }
}

TEST_F(FixedLenJvxTest, ShortFieldsRaiseEndOfFile)
{
    struct Case
    {
        const char* name;
        int version;
        Bytes file;
        bool number;
    };
    const Case cases[] = {
        {"number at version 18", 18, Ascii("12"), true},
        {"text at version 18", 18, Ascii("AB"), false},
        {"number, odd byte at version 19", 19, Utf16(u"12") + Hex("33"), true},
        {"text, nothing left", 28, Bytes{}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JvxReader in(c.file, c.version);
        try {
            if (c.number) {
                CFixedLenNum field(3);
                field.ExchangeJVX(in.Archive());
            } else {
                CFixedLenString field(3);
                field.ExchangeJVX(in.Archive());
            }
            FAIL() << "a short field was accepted";
        } catch (CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
        }
    }
}

TEST_F(FixedLenJvxTest, WithoutAFileAFieldReportsEndOfFile)
{
    CJVXArchive ar(18, CJVXArchive::load, nullptr, nullptr);
    CFixedLenString field(2);
    EXPECT_THROW(field.ExchangeJVX(ar), CArchiveException);
}

TEST_F(FixedLenJvxTest, UserTextReadsThroughTheUserTranslatorAndPutsTheSystemOneBack)
{
    IconvTranslator system("IBM285", TranslatorMode::HostToPc);
    IconvTranslator user("IBM285", TranslatorMode::HostToPc);
    SetUserDataTranslator(&user);
    JvxReader in(Hex("C1 82 40") + Hex("D1 E5 E7"), 19, &system);
    CFixedLenUserString userField(3);
    CFixedLenString systemField(3);
    userField.ExchangeJVX(in.Archive());
    EXPECT_EQ(in.Archive().GetTranslator(), &system);
    systemField.ExchangeJVX(in.Archive());
    EXPECT_EQ(userField.GetValue(), QStringLiteral("Ab"));
    EXPECT_EQ(systemField.GetValue(), QStringLiteral("JVX"));
}

TEST_F(FixedLenJvxTest, StrippedUserTextLosesItsShiftCharacters)
{
    // U+3042 is 44 81 between shift-out and shift-in in the host's DBCS.
    IconvTranslator user("IBM930", TranslatorMode::PcToHost);
    SetUserDataTranslator(&user);
    const QString text = QString::fromUtf16(u"\u3042");

    CFixedLenUserString plain(4);
    plain.SetValue(text);
    EXPECT_EQ(StoreJvx(19, [&](CJVXArchive& ar) { plain.ExchangeJVX(ar); }), Hex("0E 44 81 0F"));

    CFixedLenUserStringStripped stripped(4);
    stripped.SetValue(text);
    EXPECT_EQ(StoreJvx(19, [&](CJVXArchive& ar) { stripped.ExchangeJVX(ar); }), Hex("44 81 40 40"));
    // The translator's own setting comes back.
    EXPECT_EQ(user.SetStripShift(FALSE), FALSE);

    SetUserDataTranslator(nullptr);
    EXPECT_EQ(StoreJvx(19, [&](CJVXArchive& ar) { stripped.ExchangeJVX(ar); }), Utf16(u"\u3042   "));
}

TEST_F(FixedLenJvxTest, TimeStampIsOneTextFieldOf26)
{
    CTimeStamp zero;
    EXPECT_EQ(StoreJvx(18, [&](CJVXArchive& ar) { zero.ExchangeJVX(ar); }), Ascii("                          "));

    CTimeStamp stamp;
    stamp.Parse(QStringLiteral("2000-01-01-00.00.00.000000"));
    ASSERT_FALSE(stamp.IsZero());
    const Bytes stored = StoreJvx(18, [&](CJVXArchive& ar) { stamp.ExchangeJVX(ar); });
    EXPECT_EQ(stored, Ascii("2000-01-01-00.00.00.000000"));

    JvxReader in(stored, 18);
    CTimeStamp read;
    read.ExchangeJVX(in.Archive());
    EXPECT_EQ(read.Format(), stamp.Format());

    JvxReader blanks(Ascii("                          "), 18);
    CTimeStamp fromBlanks;
    fromBlanks.Parse(QStringLiteral("2000-01-01-00.00.00.000000"));
    fromBlanks.ExchangeJVX(blanks.Archive());
    EXPECT_TRUE(fromBlanks.IsZero());
}

} // namespace
