// The host font record: its archive schemas, JVX record bodies, exchange
// records, identity, score, description and the display font it makes.

#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/FontManager.h"
#include "designer/resources/fonts/FontStrings.h"
#include "platform/framework/MathHelpers.h"
#include "tests/support/FontFixtures.h"
#include "tests/support/JvxBytes.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>

#include <cmath>

#include <functional>

namespace {

QString Utf16Text(const Bytes& bytes)
{
    QString text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += QChar(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    return text;
}

CAS400Font SampleFont()
{
    CAS400Font font(QStringLiteral("c1"), QStringLiteral("t1v10037"), 11, 37, 697, CAS400Font::FF_MODERN | 1,
                    QStringLiteral("Courier"), 833, 120, TRUE, FALSE, FALSE, FALSE, QStringLiteral("fontlib"),
                    QStringLiteral("x0abc"), FALSE);
    return font;
}

class AS400FontTest : public ::testing::Test
{
protected:
    void SetUp() override { RegisterFontStrings(); }
};

// Fields common to schemas 2 to 6, up to the library.
Bytes UpToLibrary()
{
    return Text8("C1") + Text8("T1V10285") + Long(11) + Long(285) + Long(697) + Hex("31") + Text8("Arial") + Long(0)
           + Long(100) + Long(1) + Text8("LIB");
}

struct SchemaCase
{
    const char* name;
    UINT schema;
    Bytes bytes;
    const char* codePage;
    DWORD codePageId;
    const char* codedFont;
    BOOL dbcs;
};

TEST_F(AS400FontTest, LoadsEverySchema)
{
    const SchemaCase cases[] = {
        {"Schema2DefaultsTheShippedCodePage", 2, UpToLibrary(), "*DEFAULT", 0, "", FALSE},
        {"Schema3KeepsIt", 3, UpToLibrary(), "T1V10285", 285, "", FALSE},
        {"Schema4DropsThreeFields", 4, UpToLibrary() + Text8("CF1") + Text8("gone") + Long(7) + Long(8), "T1V10285",
         285, "CF1", FALSE},
        {"Schema5AddsCodedFont", 5, UpToLibrary() + Text8("CF1"), "T1V10285", 285, "CF1", FALSE},
        {"Schema6AddsDbcs", 6, UpToLibrary() + Text8("CF1") + Word(1), "T1V10285", 285, "CF1", TRUE},
    };
    for (const SchemaCase& c : cases) {
        CAS400Font font;
        Load(c.bytes, [&](CArchive& ar) {
            ar.SetObjectSchema(c.schema);
            font.Serialize(ar);
            EXPECT_EQ(ar.Read(nullptr, 0), 0u);
        });
        EXPECT_EQ(font.GetCharSetName(), QStringLiteral("C1")) << c.name;
        EXPECT_EQ(font.GetCodePageName(), QString::fromLatin1(c.codePage)) << c.name;
        EXPECT_EQ(font.m_nCodePageId, c.codePageId) << c.name;
        EXPECT_EQ(font.m_nFGID, 11u) << c.name;
        EXPECT_EQ(font.m_nCharacterId, 697u) << c.name;
        EXPECT_EQ(font.GetPitchAndFamily(), 0x31) << c.name;
        EXPECT_EQ(font.GetTypeface(), QStringLiteral("Arial")) << c.name;
        EXPECT_EQ(font.GetHeight(), 100u) << c.name;
        EXPECT_EQ(font.GetFlags(), 1u) << c.name;
        EXPECT_EQ(font.GetLibrary(), QStringLiteral("LIB")) << c.name;
        EXPECT_EQ(font.GetCodedFontName(), QString::fromLatin1(c.codedFont)) << c.name;
        EXPECT_EQ(font.m_bDBCS, c.dbcs) << c.name;
    }
}

TEST_F(AS400FontTest, SchemaOneReadsSixteenBitSizesAndKeepsTheDefaultLibrary)
{
    const Bytes bytes = Text8("C1") + Long(32) + Hex("31") + Text8("Courier") + Word(833) + Word(120) + Long(2);
    CAS400Font font;
    Load(bytes, [&](CArchive& ar) {
        ar.SetObjectSchema(1);
        font.Serialize(ar);
    });
    EXPECT_EQ(font.m_nFGID, 32u);
    EXPECT_EQ(font.GetWidth(), 833u);
    EXPECT_EQ(font.GetHeight(), 120u);
    EXPECT_EQ(font.GetFlags(), 2u);
    EXPECT_EQ(font.GetLibrary(), QStringLiteral("QFNTCPL"));
    EXPECT_TRUE(font.GetCodePageName().isEmpty());
}

TEST_F(AS400FontTest, StoresSchemaSixInFieldOrder)
{
    const CAS400Font font = SampleFont();
    const Bytes stored = Store([&](CArchive& ar) { const_cast<CAS400Font&>(font).Serialize(ar); });
    const Bytes expected = Text("C1") + Text("T1V10037") + Long(11) + Long(37) + Long(697) + Hex("31") + Text("Courier")
                           + Long(833) + Long(120) + Long(1) + Text("FONTLIB") + Text("X0ABC") + Word(0);
    EXPECT_EQ(stored, expected);
}

FontLanguageDefaults Defaults(BOOL resident)
{
    FontLanguageDefaults defaults;
    defaults.codePageId = 285;
    defaults.characterId = 697;
    defaults.serverCodePage = QStringLiteral("T1V10285");
    defaults.usePrinterResidentInfo = resident;
    return defaults;
}

struct JvxCase
{
    const char* name;
    int version;
    int kind;
    BOOL resident;
    const char* tail;
    int length;
};

TEST_F(AS400FontTest, WritesTheJvxBodyByVersionAndKind)
{
    CAS400Font font = SampleFont();
    font.m_nCodePageId = 0;
    font.SetCodePageName(QStringLiteral("*DEFAULT"));
    const JvxCase cases[] = {
        {"Version21Primary", 21, 1, TRUE, "C1      T1V10285FONTLIB   ", 89},
        {"Version22AddsFourToEitherKind", 22, 2, TRUE, "C1      T1V10285FONTLIB   0000000000                ", 115},
        {"Version23Primary", 23, 1, TRUE, "C1      T1V10285FONTLIB   ", 89},
        {"Version23Secondary", 23, 2, TRUE, "X0ABC   FONTLIB   ", 81},
        {"NotResidentWritesZeros", 23, 1, FALSE, "C1      T1V10285FONTLIB   ", 89},
    };
    for (const JvxCase& c : cases) {
        const FontLanguageDefaults defaults = Defaults(c.resident);
        const QString written =
            Utf16Text(StoreJvx(c.version, [&](CJVXArchive& ar) { font.ExchangeJVX(ar, &defaults, c.kind); }));
        // FGID, width, blanks, character id, the document's code page id.
        const QString numbers =
            c.resident ? QStringLiteral("0001100833   0069700285") : QStringLiteral("0000000000   0000000000");
        const QString expected = numbers + font.GetDescription().leftJustified(40) + QString::fromLatin1(c.tail);
        EXPECT_EQ(written, expected) << c.name;
        EXPECT_EQ(written.size(), c.length) << c.name;
    }
}

TEST_F(AS400FontTest, ReadsTheJvxBodyByKindAndLeavesAbsentFieldsEmpty)
{
    CAS400Font source = SampleFont();
    const FontLanguageDefaults defaults = Defaults(TRUE);
    for (int kind : {1, 2}) {
        const Bytes bytes = StoreJvx(23, [&](CJVXArchive& ar) { source.ExchangeJVX(ar, &defaults, kind); });
        JvxReader reader(bytes, 23);
        CAS400Font read;
        read.ExchangeJVX(reader.Archive(), &defaults, kind);
        EXPECT_EQ(read.m_nFGID, 11u) << kind;
        EXPECT_EQ(read.GetWidth(), 833u) << kind;
        EXPECT_EQ(read.m_nCodePageId, 37u) << kind;
        EXPECT_EQ(read.GetLibrary(), QStringLiteral("FONTLIB")) << kind;
        EXPECT_EQ(read.m_bDBCS, kind == 2 ? TRUE : FALSE) << kind;
        EXPECT_EQ(read.GetCharSetName(), kind == 1 ? QStringLiteral("C1") : QString()) << kind;
        EXPECT_EQ(read.GetCodedFontName(), kind == 2 ? QStringLiteral("X0ABC") : QString()) << kind;
        EXPECT_TRUE(read.GetTypeface().isEmpty()) << kind;
        EXPECT_TRUE(reader.Archive().IsAtEnd()) << kind;
    }
}

TEST_F(AS400FontTest, ExchangeRecordIsOneHundredSeventeenCharactersAndCrLf)
{
    CAS400Font font = SampleFont();
    const Bytes bytes = StoreJvx(0, [&](CJVXArchive& ar) { font.ExchangeFontFile(ar); });
    const std::string expected = std::string("C1      T1V1003700011000370069704") + "9" + "Courier"
                                 + std::string(43, ' ') + "00833001200001FONTLIB   X0ABC   N\r\n";
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);
    EXPECT_EQ(bytes.size(), 119u);

    struct DbcsCase
    {
        const char* name;
        char mark;
        BOOL dbcs;
    };
    const DbcsCase marks[] = {{"UpperY", 'Y', TRUE}, {"LowerY", 'y', FALSE}, {"N", 'N', FALSE}};
    for (const DbcsCase& c : marks) {
        Bytes record = bytes;
        record[116] = static_cast<BYTE>(c.mark);
        JvxReader reader(record, 0);
        CAS400Font read;
        read.ExchangeFontFile(reader.Archive());
        EXPECT_EQ(read.m_bDBCS, c.dbcs) << c.name;
        EXPECT_EQ(read.GetTypeface(), QStringLiteral("Courier")) << c.name;
        EXPECT_EQ(read.GetPitchAndFamily(), 0x31) << c.name;
        EXPECT_EQ(read.GetHeight(), 120u) << c.name;
    }
}

TEST_F(AS400FontTest, IdentityIgnoresHeightAndCodedFontOnly)
{
    const CAS400Font base = SampleFont();
    struct Case
    {
        const char* name;
        std::function<void(CAS400Font&)> change;
        BOOL same;
    };
    const Case cases[] = {
        {"Height", [](CAS400Font& f) { f.SetHeight(240); }, TRUE},
        {"CodedFont", [](CAS400Font& f) { f.SetCodedFontName(QStringLiteral("OTHER")); }, TRUE},
        {"EmptyCharSetMatchesAny", [](CAS400Font& f) { f.SetCharSetName(QString()); }, TRUE},
        {"DefaultCodePageMatchesAny", [](CAS400Font& f) { f.SetCodePageName(QStringLiteral("*DEFAULT")); }, TRUE},
        {"CharSet", [](CAS400Font& f) { f.SetCharSetName(QStringLiteral("C2")); }, FALSE},
        {"Fgid", [](CAS400Font& f) { f.m_nFGID = 12; }, FALSE},
        {"TypefaceCase", [](CAS400Font& f) { f.SetTypeface(QStringLiteral("courier")); }, FALSE},
        {"Flags", [](CAS400Font& f) { f.SetFlags(0); }, FALSE},
        {"Library", [](CAS400Font& f) { f.SetLibrary(QStringLiteral("OTHER")); }, FALSE},
        {"Dbcs", [](CAS400Font& f) { f.m_bDBCS = TRUE; }, FALSE},
    };
    for (const Case& c : cases) {
        CAS400Font other(base);
        c.change(other);
        EXPECT_EQ(base.IsSameFont(&other), c.same) << c.name;
    }
    EXPECT_FALSE(base.IsSameFont(nullptr));
}

TEST_F(AS400FontTest, ScoresFromTheExamples)
{
    const CAS400Font wanted = SampleFont();
    CAS400Font exact(wanted);
    EXPECT_EQ(wanted.MatchScore(exact), -300);

    CAS400Font otherWidth(wanted);
    otherWidth.m_bDBCS = TRUE;
    EXPECT_EQ(wanted.MatchScore(otherWidth), CAS400Font::kNoMatch);

    // Face only: 1000, 2 points of height, bold differs, a swiss candidate
    // for a modern wish.
    CAS400Font near(QString(), QString(), 0, 0, 0, CAS400Font::FF_SWISS, QStringLiteral("Courier"), 833, 140, FALSE,
                    FALSE, FALSE, FALSE, QString(), QString(), FALSE);
    EXPECT_EQ(wanted.MatchScore(near), 1000 + 200 + 20 + 60);
}

TEST_F(AS400FontTest, DescriptionRoundsHalfPointsUp)
{
    struct Case
    {
        const char* name;
        DWORD height;
        DWORD flags;
        const char* expected;
    };
    const Case cases[] = {
        {"BoldTwoBlanks", 105, CAS400Font::kBold, "Face Bold  11pt"},
        {"Regular", 104, 0, "Face Regular 10pt"},
        {"AllWords", 100, 0x7F, "Face Bold Italic Underline Strikeout Reverse Wide1 Wide2  10pt"},
        {"NoKnownBit", 100, 0x80, "Face  10pt"},
    };
    for (const Case& c : cases) {
        CAS400Font font;
        font.SetTypeface(QStringLiteral("Face"));
        font.SetHeight(c.height);
        font.SetFlags(c.flags);
        EXPECT_EQ(font.GetDescription(), QString::fromLatin1(c.expected)) << c.name;
    }
}

TEST_F(AS400FontTest, SettersCutUpperCaseAndReportChanges)
{
    CAS400Font font;
    EXPECT_TRUE(font.SetLibrary(QStringLiteral("verylonglibrary")));
    EXPECT_EQ(font.GetLibrary(), QStringLiteral("VERYLONGLI"));
    EXPECT_FALSE(font.SetLibrary(QStringLiteral("VERYLONGLIBRARY")));
    EXPECT_TRUE(font.SetCharSetName(QStringLiteral("abcdefghij")));
    EXPECT_EQ(font.GetCharSetName(), QStringLiteral("ABCDEFGH"));
    EXPECT_FALSE(font.SetHeight(0));
    EXPECT_TRUE(font.SetHeight(10));
}

TEST_F(AS400FontTest, AdvanceTableOnlyForFixedPitch)
{
    CAS400Font modern = SampleFont();
    ASSERT_TRUE(modern.GetCharWidths(5));
    ASSERT_EQ(modern.GetCharWidthTable().size(), 5u);
    EXPECT_EQ(modern.GetCharWidthTable()[0], 60); // MulDiv(833, 72, 1000)
    modern.SetFlags(CAS400Font::kDoubleWidth);
    modern.GetCharWidths(2);
    EXPECT_EQ(modern.GetCharWidthTable()[1], 120);

    CAS400Font swiss = SampleFont();
    swiss.SetFamily(CAS400Font::FF_SWISS);
    EXPECT_TRUE(swiss.GetCharWidths(5));
    EXPECT_TRUE(swiss.GetCharWidthTable().empty());
}

// Asking for the display font again and again, as every measure and draw
// does, must leave a fixed-pitch table built since the first request alone,
// whether or not a font can be made at all.
void ExpectFixedPitchExtentOnEveryCall()
{
    CAS400Font font = SampleFont();
    font.GetWindowsFont(0);
    ASSERT_TRUE(font.GetCharWidths(3));
    for (int call = 1; call <= 3; ++call) {
        SCOPED_TRACE(call);
        QSize extent(-1, -1);
        font.GetTextExtent(0, extent, nullptr, QStringLiteral("ABC"));
        EXPECT_EQ(extent.width(), 3 * 60); // MulDiv(833, 72, 1000) each
        font.GetWindowsFont(0);
        EXPECT_EQ(font.GetCharWidthTable().size(), 3u);
    }
    // A setter forgets the table with the font.
    font.SetWidth(1000);
    EXPECT_TRUE(font.GetCharWidthTable().empty());
}

TEST_F(AS400FontTest, FixedPitchExtentHoldsWithoutAGuiApplication)
{
    ASSERT_EQ(qobject_cast<QGuiApplication*>(QCoreApplication::instance()), nullptr)
        << "run this test in a process of its own (ctest does)";
    EXPECT_EQ(SampleFont().GetWindowsFont(0), nullptr);
    ExpectFixedPitchExtentOnEveryCall();
}

class DisplayFontTest : public AS400FontTest
{
protected:
    static void SetUpTestSuite() { EnsureGuiApplication(); }
};

TEST_F(DisplayFontTest, FixedPitchExtentHoldsWithAGuiApplication)
{
    ASSERT_NE(SampleFont().GetWindowsFont(0), nullptr);
    ExpectFixedPitchExtentOnEveryCall();
}

// The font is sized in pixels, so a device of another resolution measures
// the same text the same.
TEST_F(DisplayFontTest, ExtentOnADeviceOfAnyResolution)
{
    CAS400Font font(QString(), QString(), 0, 0, 0, CAS400Font::FF_SWISS, QStringLiteral("Arial"), 0, 120, FALSE, FALSE,
                    FALSE, FALSE, QString(), QString(), FALSE);
    QSize screen;
    font.GetTextExtent(0, screen, nullptr, QStringLiteral("Grand total"));
    ASSERT_GT(screen.width(), 0);
    for (const int dpi : {96, 120, 144}) {
        SCOPED_TRACE(dpi);
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(static_cast<int>(std::lround(dpi / 0.0254)));
        image.setDotsPerMeterY(static_cast<int>(std::lround(dpi / 0.0254)));
        ASSERT_EQ(image.logicalDpiX(), dpi);
        QSize extent;
        font.GetTextExtent(0, extent, &image, QStringLiteral("Grand total"));
        EXPECT_EQ(extent, screen);
    }
}

TEST_F(DisplayFontTest, CellHeightAndAverageWidthFollowTheRecord)
{
    // 1000 units = 72 pixels: width 833 asks for 59 pixels' average width,
    // height 1000 for a 140-pixel cell.
    CAS400Font font(QString(), QString(), 0, 0, 0, CAS400Font::FF_MODERN, QStringLiteral("Courier"), 167, 143, FALSE,
                    FALSE, FALSE, FALSE, QString(), QString(), FALSE);
    const QFont* made = font.GetWindowsFont(0);
    ASSERT_NE(made, nullptr);
    const QFontMetrics metrics(*made);
    EXPECT_NEAR(metrics.height(), 143 * 140 / 1000, 1);
    EXPECT_NEAR(metrics.averageCharWidth(), 167 * 72 / 1000, 1);
    EXPECT_EQ(QFontInfo(*made).family(), QStringLiteral("Liberation Mono"));

    QSize extent;
    font.GetTextExtent(0, extent, nullptr, QStringLiteral("ABC"));
    EXPECT_NEAR(extent.width(), 3 * 12, 3);
    EXPECT_LE(extent.height(), metrics.height());
    font.GetCharWidths(3);
    font.GetTextExtent(0, extent, nullptr, QStringLiteral("ABC"));
    EXPECT_EQ(extent.width(), 3 * MulDiv(167, 72, 1000));
}

TEST_F(DisplayFontTest, CachedFontAnswersEveryCharacterSetUntilASetterDropsIt)
{
    CAS400Font font = SampleFont();
    const QFont* first = font.GetWindowsFont(0);
    ASSERT_NE(first, nullptr);
    const QFont copy = *first;
    EXPECT_EQ(font.GetWindowsFont(161), first);
    font.SetHeight(240);
    const QFont* second = font.GetWindowsFont(161);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(QFontMetrics(*second).height(), QFontMetrics(copy).height());
}

TEST_F(DisplayFontTest, SwissFontKeepsItsNaturalWidth)
{
    CAS400Font font(QString(), QString(), 0, 0, 0, CAS400Font::FF_SWISS, QStringLiteral("Arial"), 5000, 100, TRUE,
                    FALSE, FALSE, FALSE, QString(), QString(), FALSE);
    const QFont* made = font.GetWindowsFont(0);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->stretch(), QFont::AnyStretch);
    EXPECT_TRUE(made->bold());
    EXPECT_EQ(font.GetCharacterAdvances(0, QStringLiteral("iW")).size(), 2u);
}

} // namespace
