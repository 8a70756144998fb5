// The language bundle reader: bundles written here as text from the
// format's rules, the header alone, malformed bundles refused whole, a
// bundle as the string table's source, and translated message formats that
// must never make FormatResMessage fail.

#include "platform/ui/LanguageBundle.h"
#include "platform/framework/Exceptions.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/StringTable.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <ostream>

namespace {

constexpr UINT kTranslated = 0x7E000001u;
constexpr UINT kBuiltInOnly = 0x7E000002u;
constexpr UINT kNowhere = 0x7E000003u;
constexpr UINT kMessage = 0x7E000004u;

std::shared_ptr<LanguageBundle> ParseText(const QByteArray& text, QString* error = nullptr)
{
    return LanguageBundle::Parse(text, error);
}

TEST(LanguageBundleTest, ReadsTextsWithTheirEscapesAndTheAccelerators)
{
    const QByteArray text = "KWVD Language 1 0x0407\n"
                            "# the German texts\n"
                            "#\n"
                            "\n"
                            "[Texts]\n"
                            "57345=Bereit\n"
                            "123172=&Suchen/Ersetzen...\\tStrg+F\n"
                            "0x10A80000=Spoolfile-Daten\n"
                            "387=a=b \\\\ c\\nd\n"
                            "388=\xC3\x84nderung \xE2\x82\xAC\n"
                            "389=\n"
                            "[Accelerators]\n"
                            "Ctrl+B=57636\n"
                            "==32850\n"
                            "Num+3=0x8060\n"
                            "Ctrl+Shift+Alt+S=1128\r\n";
    QString error;
    const auto bundle = ParseText(text, &error);
    ASSERT_NE(bundle, nullptr) << error.toStdString();
    EXPECT_EQ(bundle->Language(), 0x0407);

    struct Case
    {
        const char* name;
        UINT id;
        std::optional<QString> expected;
    };
    const Case cases[] = {
        {"plain text", 57345, QStringLiteral("Bereit")},
        {"tab escape before the shortcut", 123172, QStringLiteral("&Suchen/Ersetzen...\tStrg+F")},
        {"hexadecimal id", 0x10A80000, QStringLiteral("Spoolfile-Daten")},
        {"equals signs, backslash and line feed", 387, QStringLiteral("a=b \\ c\nd")},
        {"UTF-8 beyond Latin-1", 388, QString::fromUtf8("\xC3\x84nderung \xE2\x82\xAC")},
        {"an empty text is not translated", 389, std::nullopt},
        {"an id the bundle lacks", 390, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(bundle->Lookup(c.id), c.expected) << c.name;

    ASSERT_EQ(bundle->Accelerators().size(), 4u);
    EXPECT_EQ(bundle->Accelerators()[0].key, QStringLiteral("Ctrl+B"));
    EXPECT_EQ(bundle->Accelerators()[0].command, 57636u);
    EXPECT_EQ(bundle->Accelerators()[1].key, QStringLiteral("="));
    EXPECT_EQ(bundle->Accelerators()[1].command, 32850u);
    EXPECT_EQ(bundle->Accelerators()[2].key, QStringLiteral("Num+3"));
    EXPECT_EQ(bundle->Accelerators()[2].command, 0x8060u);
    EXPECT_EQ(bundle->Accelerators()[3].command, 1128u);
}

TEST(LanguageBundleTest, SectionsMayComeInEitherOrderAndAByteOrderMarkIsAllowed)
{
    const auto bundle = ParseText("\xEF\xBB\xBFKWVD Language 1 0x0c0a\r\n"
                                  "[Accelerators]\r\n"
                                  "F5=57636\r\n"
                                  "[Texts]\r\n"
                                  "57345=Listo\r\n");
    ASSERT_NE(bundle, nullptr);
    EXPECT_EQ(bundle->Language(), 0x0C0A);
    EXPECT_EQ(bundle->Lookup(57345), QStringLiteral("Listo"));
    ASSERT_EQ(bundle->Accelerators().size(), 1u);
    EXPECT_EQ(bundle->Accelerators()[0].key, QStringLiteral("F5"));
}

TEST(LanguageBundleTest, HeaderNamesFormatVersionAndLanguage)
{
    struct Case
    {
        const char* name;
        const char* line;
        WORD expected;
    };
    const Case cases[] = {
        {"German", "KWVD Language 1 0x0407", 0x0407},
        {"lower-case hexadecimal", "KWVD Language 1 0x0c07", 0x0C07},
        {"carriage return at the end", "KWVD Language 1 0x0809\r", 0x0809},
        {"language 0", "KWVD Language 1 0x0000", 0},
        {"a later version", "KWVD Language 2 0x0407", 0},
        {"three digits", "KWVD Language 1 0x407", 0},
        {"five digits", "KWVD Language 1 0x04071", 0},
        {"decimal", "KWVD Language 1 1031", 0},
        {"other name", "KWVD Registry 1", 0},
        {"trailing blank", "KWVD Language 1 0x0407 ", 0},
        {"empty", "", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LanguageBundle::ParseHeader(c.line), c.expected) << c.name;
}

TEST(LanguageBundleTest, FileLanguageComesFromTheFirstLineAlone)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto write = [&](const char* name, const QByteArray& bytes) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    // The rest of the file is not read: a broken body still names its language.
    EXPECT_EQ(LanguageBundle::ReadFileLanguage(write("body.lang", "KWVD Language 1 0x040C\n[Bad]\n\xFF\n")), 0x040C);
    EXPECT_EQ(LanguageBundle::ReadFileLanguage(write("only.lang", "KWVD Language 1 0x0410")), 0x0410);
    EXPECT_EQ(LanguageBundle::ReadFileLanguage(write("long.lang", "KWVD Language 1 0x0410" + QByteArray(500, ' '))), 0);
    EXPECT_EQ(LanguageBundle::ReadFileLanguage(write("empty.lang", "")), 0);
    EXPECT_EQ(LanguageBundle::ReadFileLanguage(dir.filePath(QStringLiteral("missing.lang"))), 0);
    EXPECT_EQ(LanguageBundle::ReadFileLanguage(dir.path()), 0);
}

struct MalformedCase
{
    const char* name;
    QByteArray text;
    const char* reason; // a part of the reason given
};

void PrintTo(const MalformedCase& c, std::ostream* os)
{
    *os << c.name;
}

class MalformedBundle : public ::testing::TestWithParam<MalformedCase>
{};

const QByteArray kHeader = "KWVD Language 1 0x0407\n";

const MalformedCase kMalformed[] = {
    {"empty file", "", "empty"},
    {"bad first line", "KWVD Language 1 0407\n[Texts]\n1=a\n", "not a language bundle"},
    {"first line of a later version", "KWVD Language 9 0x0407\n", "not a language bundle"},
    {"unknown section", kHeader + "[Bitmaps]\n", "unknown section"},
    {"section twice", kHeader + "[Texts]\n1=a\n[Texts]\n2=b\n", "twice"},
    {"entry before any section", kHeader + "1=a\n", "before any section"},
    {"unknown escape", kHeader + "[Texts]\n1=a\\qb\n", "escape"},
    {"backslash ending the line", kHeader + "[Texts]\n1=ab\\\n", "escape"},
    {"invalid UTF-8", kHeader + "[Texts]\n1=\xC3\x28\n", "UTF-8"},
    {"overlong UTF-8", kHeader + "[Texts]\n1=\xC0\xAF\n", "UTF-8"},
    {"UTF-8 surrogate", kHeader + "[Texts]\n1=\xED\xA0\x80\n", "UTF-8"},
    {"raw tab", kHeader + "[Texts]\n1=a\tb\n", "control character"},
    {"NUL byte", kHeader + QByteArray("[Texts]\n1=a\0b\n", 14), "control character"},
    {"text line without =", kHeader + "[Texts]\n57345 Bereit\n", "no \"=\""},
    {"accelerator line without =", kHeader + "[Accelerators]\nCtrl+B 57636\n", "no key"},
    {"id not a number", kHeader + "[Texts]\nabc=a\n", "string id"},
    {"id 0", kHeader + "[Texts]\n0=a\n", "string id"},
    {"id beyond 32 bits", kHeader + "[Texts]\n4294967296=a\n", "string id"},
    {"id with blanks", kHeader + "[Texts]\n 1=a\n", "string id"},
    {"negative id", kHeader + "[Texts]\n-1=a\n", "string id"},
    {"id twice", kHeader + "[Texts]\n1=a\n1=b\n", "twice"},
    {"unknown key", kHeader + "[Accelerators]\nCtrl+Nonsense=57636\n", "portable form"},
    {"two chords", kHeader + "[Accelerators]\nCtrl+K, Ctrl+C=57636\n", "portable form"},
    {"modifier alone", kHeader + "[Accelerators]\nCtrl+=57636\n", "portable form"},
    {"command 0", kHeader + "[Accelerators]\nCtrl+B=0\n", "command id"},
    {"command beyond 16 bits", kHeader + "[Accelerators]\nCtrl+B=65536\n", "command id"},
    {"key twice", kHeader + "[Accelerators]\nCtrl+B=57636\nctrl+b=57600\n", "twice"},
    {"huge line", kHeader + "[Texts]\n1=" + QByteArray(LanguageBundle::kMaxLineSize, 'x') + "\n", "longer"},
    {"huge file", kHeader + "[Texts]\n" + QByteArray(LanguageBundle::kMaxFileSize, '\n'), "larger"},
};

TEST_P(MalformedBundle, IsNotLoaded)
{
    const MalformedCase& c = GetParam();
    QString error;
    EXPECT_EQ(ParseText(c.text, &error), nullptr);
    EXPECT_TRUE(error.contains(QString::fromUtf8(c.reason))) << error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Reader, MalformedBundle, ::testing::ValuesIn(kMalformed));

TEST(LanguageBundleTest, LoadRefusesAMissingOrOversizedFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QString error;
    EXPECT_EQ(LanguageBundle::Load(dir.filePath(QStringLiteral("missing.lang")), &error), nullptr);
    EXPECT_FALSE(error.isEmpty());

    QFile big(dir.filePath(QStringLiteral("big.lang")));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write(kHeader);
    // A sparse file: its size is refused before anything is read.
    ASSERT_TRUE(big.resize(LanguageBundle::kMaxFileSize + 1));
    big.close();
    EXPECT_EQ(LanguageBundle::Load(big.fileName(), &error), nullptr);
    EXPECT_TRUE(error.contains(QStringLiteral("larger"))) << error.toStdString();
}

class BundleAsSource : public ::testing::Test
{
protected:
    void SetUp() override
    {
        StringTable::Add(kTranslated, QStringLiteral("Built-in text"));
        StringTable::Add(kBuiltInOnly, QStringLiteral("Only built in"));
        StringTable::Add(kMessage, QStringLiteral("Version %1!d!  (build %2!d!)"));
    }
    void TearDown() override { StringTable::SetSource(nullptr); }

    void Install(const QByteArray& texts)
    {
        const auto bundle = ParseText(kHeader + "[Texts]\n" + texts);
        ASSERT_NE(bundle, nullptr);
        StringTable::SetSource(bundle);
    }
};

TEST_F(BundleAsSource, MissingTextsComeFromTheBuiltInOnes)
{
    Install(QByteArray::number(kTranslated)
            + "=\xC3\x9C"
              "bersetzt\n");
    EXPECT_EQ(LoadResString(kTranslated), QString::fromUtf8("\xC3\x9C"
                                                            "bersetzt"));
    EXPECT_EQ(LoadResString(kBuiltInOnly), QStringLiteral("Only built in"));
    EXPECT_EQ(LoadResString(kNowhere), QStringLiteral("???"));
    EXPECT_EQ(FormatResMessage(kMessage, 6, 27), QStringLiteral("Version 6  (build 27)"));
    EXPECT_EQ(FormatResMessage(kNowhere, 6), QStringLiteral("???"));
}

struct HostileFormat
{
    const char* name;
    const char* translated; // the bundle's text, escapes and all
    const char* expected;   // formatted with 6 and "abc"
};

void PrintTo(const HostileFormat& c, std::ostream* os)
{
    *os << c.name;
}

class TranslatedFormat : public BundleAsSource, public ::testing::WithParamInterface<HostileFormat>
{};

const HostileFormat kHostile[] = {
    {"fitting forms", "V %1!d! of %2", "V 6 of abc"}, {"insert past the arguments", "a%3b%99c", "abc"},
    {"numeric form on text", "%2!d!", "abc"},         {"character form on text", "%2!c!", "abc"},
    {"floating form on text", "%2!f!", "abc"},        {"unknown form", "%1!q!", "6"},
    {"form with trailing junk", "%1!dd!", "6"},       {"unclosed form", "%1!d", "6!d"},
    {"width beyond the limit", "%1!99999d!", "6"},    {"precision beyond the limit", "%1!.5000f!", "6"},
    {"percent ending the text", "100%", "100%"},      {"escapes stay", "a%%b%n%tc", "a%b\r\n\tc"},
    {"end of text marker", "ab%0cd", "ab"},
};

TEST_P(TranslatedFormat, NeverFailsAndFormatsWhatItCan)
{
    const HostileFormat& c = GetParam();
    Install(QByteArray::number(kMessage) + "=" + c.translated + "\n");
    QString formatted;
    EXPECT_NO_THROW(formatted = FormatResMessage(kMessage, 6, "abc"));
    EXPECT_EQ(formatted, QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Bundle, TranslatedFormat, ::testing::ValuesIn(kHostile));

TEST_F(BundleAsSource, BuiltInTextsStayStrict)
{
    StringTable::Add(kBuiltInOnly, QStringLiteral("%3"));
    Install(QByteArray::number(kTranslated) + "=x\n");
    EXPECT_THROW(FormatResMessage(kBuiltInOnly, 6), CMemoryException);
    StringTable::Add(kBuiltInOnly, QStringLiteral("Only built in"));
}

} // namespace
