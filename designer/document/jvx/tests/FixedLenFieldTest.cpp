// The fixed-width header fields: their setters, the number field's empty
// mark and ranges, and their form in the WVD file.

#include "designer/document/DocumentClasses.h"
#include "designer/document/jvx/FixedLenNum.h"
#include "designer/document/jvx/FixedLenString.h"
#include "designer/document/jvx/FixedLenUserString.h"
#include "platform/framework/Archive.h"
#include "platform/framework/MemFile.h"
#include "tests/support/ArchiveBytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

namespace {

Bytes Store(CObject& field)
{
    return ::Store([&](CArchive& ar) { field.Serialize(ar); });
}

void Load(Bytes bytes, CObject& field)
{
    ::Load(std::move(bytes), [&](CArchive& ar) { field.Serialize(ar); });
}

TEST(FixedLenString, ValueIsCutToTheWidth)
{
    CFixedLenString field(4);

    field.SetValue(QStringLiteral("INVOICE"));
    EXPECT_EQ(field.GetValue(), QStringLiteral("INVO"));
    field.SetValue(QStringLiteral("IF"));
    EXPECT_EQ(field.GetValue(), QStringLiteral("IF"));
    EXPECT_TRUE(field.IsEqual(QStringLiteral("IF")));
    EXPECT_FALSE(field.IsEqual(QStringLiteral("if")));

    CFixedLenString unsized;
    unsized.SetValue(QStringLiteral("X"));
    EXPECT_TRUE(unsized.GetValue().isEmpty());
}

struct NumberTextCase
{
    const char* name;
    int width;
    int number;
    const char* text;
};

TEST(FixedLenString, NumberIsRightAlignedInBlanks)
{
    const NumberTextCase cases[] = {
        {"OneDigitInThree", 3, 7, "  7"},
        {"TwoDigitsInThree", 3, 99, " 99"},
        {"NegativeInThree", 3, -5, " -5"},
        {"FillsTheWidth", 1, 1, "1"},
        {"LongerIsCut", 1, 10, "1"},
        {"LargestShort", 5, 32767, "32767"},
        {"PastTheShortRangeIsBlank", 3, 32768, "   "},
        {"BelowTheShortRangeIsBlank", 3, -32768, "   "},
    };
    for (const NumberTextCase& c : cases) {
        CFixedLenString field(c.width);
        field.SetValue(QStringLiteral("old"));
        field.SetNumber(c.number);
        EXPECT_EQ(field.GetValue(), QString::fromLatin1(c.text)) << c.name;
    }
}

TEST(FixedLenString, CharacterAtAnIndexWithinTheWidth)
{
    CFixedLenString field(2);

    EXPECT_TRUE(field.SetCharAt('Y', 0));
    EXPECT_TRUE(field.SetCharAt('1', 1));
    EXPECT_EQ(field.GetValue(), QStringLiteral("Y1"));
    EXPECT_FALSE(field.SetCharAt('Y', 0));
    EXPECT_FALSE(field.SetCharAt('1', 1));
    EXPECT_FALSE(field.SetCharAt('Z', 2));
    EXPECT_FALSE(field.SetCharAt('Z', -1));
    EXPECT_EQ(field.GetValue(), QStringLiteral("Y1"));

    CFixedLenString gap(4);
    EXPECT_TRUE(gap.SetCharAt('X', 2));
    EXPECT_EQ(gap.GetValue(), QStringLiteral("  X"));
    // A character of the upper half is that byte's character.
    EXPECT_TRUE(gap.SetCharAt('\xE9', 0));
    EXPECT_EQ(gap.GetValue().at(0), QChar(0xE9));
}

TEST(FixedLenString, ClearReportsWhetherThereWasText)
{
    CFixedLenString field(8);
    EXPECT_FALSE(field.Clear());
    field.SetValue(QStringLiteral("A"));
    EXPECT_TRUE(field.Clear());
    EXPECT_TRUE(field.GetValue().isEmpty());
    EXPECT_EQ(MakeSpaces(3), QStringLiteral("   "));
    EXPECT_TRUE(MakeSpaces(0).isEmpty());
    EXPECT_TRUE(MakeSpaces(-2).isEmpty());
}

TEST(FixedLenNum, NewFieldIsEmptyUntilAValueIsSet)
{
    CFixedLenNum field;
    EXPECT_EQ(field.GetWidth(), 0);
    EXPECT_EQ(field.GetValue(), 0.0);
    EXPECT_TRUE(field.IsEmpty());

    field.SetValue(0);
    EXPECT_FALSE(field.IsEmpty());
    field.SetEmpty(TRUE);
    EXPECT_TRUE(field.IsEmpty());
    EXPECT_EQ(field.GetValue(), 0.0);
}

struct RangeCase
{
    const char* name;
    double value;
    short asShort;
    BYTE asByte;
    WORD asUShort;
    DWORD asUInt;
};

// Values reach the field from files, so any double can arrive.
TEST(FixedLenNum, ReadersTruncateAndHoldTheValueInTheirRange)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const RangeCase cases[] = {
        {"Small", 12.7, 12, 12, 12, 12},
        {"NegativeFraction", -3.9, -3, 0, 0, 0},
        {"PastAByte", 300, 300, 255, 300, 300},
        {"PastAShort", 40000, 32767, 255, 40000, 40000},
        {"BelowAShort", -40000, -32767, 0, 0, 0},
        {"PastAWord", 70000, 32767, 255, 65535, 70000},
        {"PastADword", 5e9, 32767, 255, 65535, 4294967295u},
        {"Infinite", inf, 32767, 255, 65535, 4294967295u},
        {"NotANumber", nan, 0, 0, 0, 0},
    };
    for (const RangeCase& c : cases) {
        CFixedLenNum field;
        Bytes bytes = Hex("05 00 0000000000000000");
        std::memcpy(bytes.data() + 2, &c.value, sizeof c.value);
        Load(bytes, field);

        EXPECT_EQ(field.GetShort(), c.asShort) << c.name;
        EXPECT_EQ(field.GetByte(), c.asByte) << c.name;
        EXPECT_EQ(field.GetUShort(), c.asUShort) << c.name;
        EXPECT_EQ(field.GetUInt(), c.asUInt) << c.name;
    }
}

TEST(FixedLenNum, EqualOnlyWithinTheShortRange)
{
    CFixedLenNum field(5);
    field.SetValue(-32767);
    EXPECT_TRUE(field.IsEqual(-32767));
    EXPECT_FALSE(field.IsEqual(32767));
    field.SetValue(40000);
    EXPECT_FALSE(field.IsEqual(40000));
    EXPECT_FALSE(field.IsEqual(32767));
}

TEST(FixedLenFieldsInWvd, NumberIsWidthThenDouble)
{
    CFixedLenNum field(3);
    field.SetValue(5);
    // WORD 3, then 5.0 as little-endian IEEE: 40 14 00 00 00 00 00 00 reversed.
    EXPECT_EQ(Store(field), Hex("03 00 00 00 00 00 00 00 14 40"));

    // Written whatever the mark says.
    CFixedLenNum empty(2);
    EXPECT_EQ(Store(empty), Hex("02 00 00 00 00 00 00 00 00 00"));

    CFixedLenNum read;
    Load(Hex("05 00 00 00 00 00 00 80 96 40"), read);
    EXPECT_EQ(read.GetWidth(), 5);
    EXPECT_EQ(read.GetValue(), 1440.0);
    EXPECT_FALSE(read.IsEmpty());
}

TEST(FixedLenFieldsInWvd, TextIsWidthThenString)
{
    CFixedLenUserString field(4);
    field.SetValue(QStringLiteral("IF"));
    EXPECT_EQ(Store(field), Hex("04 00 FF FE FF 02 49 00 46 00"));

    // A stored text longer than its stored width is cut on reading.
    CFixedLenString read(50);
    Load(Hex("02 00 FF FE FF 04 41 00 42 00 43 00 44 00"), read);
    EXPECT_EQ(read.GetWidth(), 2);
    EXPECT_EQ(read.GetValue(), QStringLiteral("AB"));

    // An 8-bit string reads as well.
    CFixedLenString narrow;
    Load(Hex("08 00 03 41 42 43"), narrow);
    EXPECT_EQ(narrow.GetValue(), QStringLiteral("ABC"));
}

struct TruncatedCase
{
    const char* name;
    bool number;
    const char* hex;
};

TEST(FixedLenFieldsInWvd, ShortDataEndsInEndOfFile)
{
    const TruncatedCase cases[] = {
        {"NumberWithoutValue", true, "03 00"},
        {"NumberHalfAValue", true, "03 00 00 00 00 00"},
        {"NoWidth", false, "04"},
        {"TextShorterThanItsLength", false, "04 00 FF FE FF 05 41 00"},
    };
    for (const TruncatedCase& c : cases) {
        CFixedLenNum number;
        CFixedLenString text;
        CObject& field = c.number ? static_cast<CObject&>(number) : static_cast<CObject&>(text);
        try {
            Load(Hex(c.hex), field);
            ADD_FAILURE() << c.name << ": no exception";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::endOfFile) << c.name;
        }
    }
}

struct ClassCase
{
    const char* name;
    UINT schema;
    const CRuntimeClass* base;
};

TEST(FixedLenFieldsInWvd, ClassesAreRegisteredWithTheirSchemas)
{
    RegisterDocumentClasses();
    const ClassCase cases[] = {
        {"CFixedLenNum", 1, KWVD_RUNTIME_CLASS(CObject)},
        {"CFixedLenString", 2, KWVD_RUNTIME_CLASS(CObject)},
        {"CFixedLenUserString", 0, KWVD_RUNTIME_CLASS(CFixedLenString)},
    };
    for (const ClassCase& c : cases) {
        const CRuntimeClass* found = CRuntimeClass::FromName(c.name);
        ASSERT_NE(found, nullptr) << c.name;
        EXPECT_EQ(found->GetStoredSchema(), c.schema) << c.name;
        EXPECT_TRUE(found->IsVersionable()) << c.name;
        EXPECT_EQ(found->baseClass, c.base) << c.name;
        std::unique_ptr<CObject> made(found->CreateObject());
        EXPECT_EQ(made->GetRuntimeClass(), found) << c.name;
    }
}

} // namespace
