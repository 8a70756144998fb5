#include "designer/document/jvx/JVXArchive.h"
#include "platform/framework/Cp1252.h"
#include "platform/framework/Exceptions.h"
#include "platform/framework/MemFile.h"
#include "tests/support/IconvTranslator.h"
#include "tests/support/JvxBytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

enum class TextForm {
    EightBit,
    RawUtf16,
    Ibm285
};

struct Form
{
    const char* name;
    TextForm form;
    int version;
};

constexpr Form kForms[] = {
    {"version 18, 8-bit", TextForm::EightBit, 18},
    {"version 19, raw UTF-16", TextForm::RawUtf16, 19},
    {"version 19, IBM285", TextForm::Ibm285, 19},
};

// The same ASCII text in the file form of each archive.
Bytes Encode(TextForm form, const char* text)
{
    switch (form) {
    case TextForm::EightBit:
        return Ascii(text);
    case TextForm::RawUtf16: {
        std::u16string wide(text, text + std::char_traits<char>::length(text));
        return Utf16(wide.c_str());
    }
    case TextForm::Ibm285: {
        const std::string host = IconvTranslator::Convert("ASCII", "IBM285", text);
        return Bytes(host.begin(), host.end());
    }
    }
    return {};
}

TEST(JVXArchiveTest, LineEndsAreAcceptedAndALoneOneGivesTheNextCharacterBack)
{
    struct Case
    {
        const char* name;
        const char* file;
        bool accepted;
    };
    const Case cases[] = {
        {"CR LF", "AB\r\nCD", true},      {"LF only", "AB\nCD", true},
        {"CR only", "AB\rCD", true},      {"LF CR", "AB\n\rCD", true}, // the CR is given back and read as text
        {"no line end", "ABXYCD", false},
    };
    for (const Form& form : kForms) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(form.name) + ": " + c.name);
            IconvTranslator reader("IBM285", TranslatorMode::HostToPc);
            JvxReader in(Encode(form.form, c.file), form.version, form.form == TextForm::Ibm285 ? &reader : nullptr);
            QString text;
            ASSERT_EQ(in.Archive().ReadText(text, 2), 2);
            EXPECT_EQ(text, QStringLiteral("AB"));
            if (!c.accepted) {
                try {
                    in.Archive().ReadLineEnd();
                    FAIL() << "a line end was accepted";
                } catch (CArchiveException& e) {
                    EXPECT_EQ(e.m_cause, CArchiveException::badIndex);
                }
                continue;
            }
            in.Archive().ReadLineEnd();
            const int wanted = std::string(c.file).find("\n\r") != std::string::npos ? 3 : 2;
            ASSERT_EQ(in.Archive().ReadText(text, wanted), wanted);
            EXPECT_EQ(text.right(2), QStringLiteral("CD"));
        }
    }
}

TEST(JVXArchiveTest, LineEndIsWrittenInTheArchivesTextForm)
{
    IconvTranslator writer("IBM285", TranslatorMode::PcToHost);
    EXPECT_EQ(StoreJvx(18, [](CJVXArchive& ar) { ar.WriteLineEnd(); }), Hex("0D 0A"));
    EXPECT_EQ(StoreJvx(19, [](CJVXArchive& ar) { ar.WriteLineEnd(); }), Hex("0D 00 0A 00"));
    EXPECT_EQ(StoreJvx(
                  19, [](CJVXArchive& ar) { ar.WriteLineEnd(); }, &writer),
              Hex("0D 25"));
}

TEST(JVXArchiveTest, EndOfDataWhereALineEndBelongsIsAnError)
{
    JvxReader in(Ascii(""), 18);
    try {
        in.Archive().ReadLineEnd();
        FAIL() << "a missing line end was accepted";
    } catch (CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badIndex);
    }
}

TEST(JVXArchiveTest, EightBitTextGoesThroughWindows1252)
{
    // Euro sign 0x80, the undefined 0x81 kept as itself, a character the
    // code page lacks as "?", and the text cut or blank-padded to the width.
    const QString text = QString::fromUtf16(u"\u20AC\u0081\u0101Z");
    EXPECT_EQ(StoreJvx(18, [&](CJVXArchive& ar) { ar.WriteText(text, 3); }), Hex("80 81 3F"));
    EXPECT_EQ(StoreJvx(18, [&](CJVXArchive& ar) { ar.WriteText(text, 6); }), Hex("80 81 3F 5A 20 20"));

    JvxReader in(Hex("80 81 E9"), 18);
    QString read;
    EXPECT_EQ(in.Archive().ReadText(read, 3), 3);
    EXPECT_EQ(read, QString::fromUtf16(u"\u20AC\u0081\u00E9"));
}

TEST(JVXArchiveTest, RawUtf16CountsWholeCharacters)
{
    JvxReader in(Hex("41 00 42 00 43"), 19);
    QString read;
    EXPECT_EQ(in.Archive().ReadText(read, 3), 2);
    EXPECT_EQ(read, QStringLiteral("AB"));
}

TEST(JVXArchiveTest, EveryEightBitByteReadsAsWindows1252)
{
    Bytes all;
    for (int byte = 0; byte < 256; ++byte)
        all.push_back(static_cast<BYTE>(byte));
    JvxReader in(all, 18);
    QString read;
    EXPECT_EQ(in.Archive().ReadText(read, 300), 256);
    EXPECT_EQ(read, kwvd::FromCp1252(std::string_view(reinterpret_cast<const char*>(all.data()), all.size())));
}

TEST(JVXArchiveTest, AFieldIsReadIntoTheStringsOwnBlock)
{
    JvxReader in(Utf16(u"ABCDEFGH"), 19);
    QString read;
    read.reserve(16);
    const QChar* block = read.constData();
    ASSERT_EQ(in.Archive().ReadText(read, 5), 5);
    EXPECT_EQ(read, QStringLiteral("ABCDE"));
    ASSERT_EQ(in.Archive().ReadText(read, 5), 3);
    EXPECT_EQ(read, QStringLiteral("FGH"));
    EXPECT_EQ(read.constData(), block);
}

TEST(JVXArchiveTest, AGatheredLineReachesTheFileAtItsEndOrAtASeek)
{
    for (const Form& form : kForms) {
        SCOPED_TRACE(form.name);
        IconvTranslator writer("IBM285", TranslatorMode::PcToHost);
        CMemFile file;
        CJVXArchive ar(form.version, CJVXArchive::store, nullptr, &file);
        if (form.form == TextForm::Ibm285)
            ar.SetTranslator(&writer);
        const LONG bytesPerCharacter = form.form == TextForm::RawUtf16 ? 2 : 1;

        ar.BeginLine();
        ar.WriteText(QStringLiteral("AB"), 2);
        ar.WriteAscii("-5", 3);
        EXPECT_EQ(file.GetLength(), 0u) << "written before the line ended";
        EXPECT_EQ(ar.Seek(0, CFile::current), 5 * bytesPerCharacter);
        // After the seek the writes go straight to the file.
        ar.WriteText(QStringLiteral("C"), 1);
        EXPECT_EQ(file.GetLength(), static_cast<ULONGLONG>(6 * bytesPerCharacter));
        ar.WriteLineEnd();

        ar.BeginLine();
        ar.WriteAscii("123", 2);
        ar.WriteLineEnd();

        Bytes written(static_cast<size_t>(file.GetLength()));
        file.SeekToBegin();
        file.Read(written.data(), static_cast<UINT>(written.size()));
        EXPECT_EQ(written, Encode(form.form, "AB-5 C\r\n12\r\n"));
    }
}

TEST(JVXArchiveTest, LongFieldsInALongLineKeepTheirBytes)
{
    // Padding far wider than a short field's, text cut to its width, and a
    // line that outgrows the first block of the gathered line.
    const std::string expected = std::string(300, ' ') + "X" + std::string(599, ' ') + std::string(700, 'a') + "12   "
                                 + std::string(45, 'b') + "\r\n";
    for (const Form& form : kForms) {
        SCOPED_TRACE(form.name);
        IconvTranslator writer("IBM285", TranslatorMode::PcToHost);
        const CountedJvx out = StoreJvxCounted(
            form.version,
            [](CJVXArchive& ar) {
                ar.BeginLine();
                ar.WriteText(QString(), 300);
                ar.WriteText(QStringLiteral("X"), 600);
                ar.WriteText(QString(1000, QLatin1Char('a')), 700);
                ar.WriteAscii("12", 5);
                ar.WriteAscii(std::string(45, 'b'), 45);
                ar.WriteLineEnd();
            },
            form.form == TextForm::Ibm285 ? &writer : nullptr);
        EXPECT_EQ(out.writes, 1);
        EXPECT_EQ(out.bytes, Encode(form.form, expected.c_str()));
    }
}

TEST(JVXArchiveTest, APaddedFieldEndingAtTheEndOfTheLinesBlockKeepsItsBytes)
{
    // 1,024 raw characters fill the first block of 2,048 bytes exactly; the
    // last field's blanks are written as one block reaching past it.
    const CountedJvx out = StoreJvxCounted(28, [](CJVXArchive& ar) {
        ar.BeginLine();
        ar.WriteText(QString(1020, QLatin1Char('a')), 1020);
        ar.WriteText(QStringLiteral("B"), 4);
        ar.WriteLineEnd();
    });
    EXPECT_EQ(out.writes, 1);
    const std::u16string expected = std::u16string(1020, u'a') + u"B   \r\n";
    EXPECT_EQ(out.bytes, Utf16(expected.c_str()));
}

TEST(JVXArchiveTest, DigitsAreZeroFilledToTheirWidthInEveryForm)
{
    struct Case
    {
        const char* name;
        std::uint32_t value;
        int width;
        const char* expected;
        // Characters written before the digits in the same line.
        int lead;
    };
    const Case cases[] = {
        {"zero in one", 0, 1, "0", 1},
        {"one digit in six", 7, 6, "000007", 1},
        {"two digits in two", 42, 2, "42", 1},
        {"three digits in four", 123, 4, "0123", 1},
        {"eight digits", 12345678, 8, "12345678", 1},
        {"nine digits", 123456789, 9, "123456789", 1},
        {"largest in ten", 4294967295u, 10, "4294967295", 1},
        {"zero in ten", 0, 10, "0000000000", 1},
        // 2,048 bytes of raw text end exactly at the end of the line's
        // first block.
        {"ending the line's first block", 5, 4, "0005", 1020},
    };
    for (const Form& form : kForms) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << form.name << ", " << c.name);
            IconvTranslator writer("IBM285", TranslatorMode::PcToHost);
            ITranslator* translator = form.form == TextForm::Ibm285 ? &writer : nullptr;
            const std::string expected = std::string(static_cast<size_t>(c.lead), 'a') + c.expected + "Z";
            const Bytes inLine = StoreJvx(
                form.version,
                [&](CJVXArchive& ar) {
                    ar.BeginLine();
                    ar.WriteText(QString(c.lead, QLatin1Char('a')), c.lead);
                    ar.WriteDigits(c.value, c.width);
                    ar.WriteText(QStringLiteral("Z"), 1);
                    ar.WriteLineEnd();
                },
                translator);
            EXPECT_EQ(inLine, Encode(form.form, (expected + "\r\n").c_str()));
            const Bytes alone = StoreJvx(
                form.version,
                [&](CJVXArchive& ar) {
                    ar.WriteText(QString(c.lead, QLatin1Char('a')), c.lead);
                    ar.WriteDigits(c.value, c.width);
                    ar.WriteText(QStringLiteral("Z"), 1);
                },
                translator);
            EXPECT_EQ(alone, Encode(form.form, expected.c_str()));
        }
    }
}

TEST(JVXArchiveTest, WithoutAFileNothingIsReadOrWritten)
{
    CJVXArchive ar(28, CJVXArchive::load, nullptr, nullptr);
    QString text = QStringLiteral("old");
    EXPECT_EQ(ar.ReadText(text, 4), 0);
    EXPECT_TRUE(text.isEmpty());
    char16_t buffer[2];
    EXPECT_EQ(ar.ReadWide(buffer, 2), 0);
    EXPECT_EQ(ar.Seek(5, CFile::begin), 0);
    EXPECT_TRUE(ar.GetFilePath().isEmpty());
    EXPECT_TRUE(ar.GetFileName().isEmpty());
    ar.ReadLineEnd(); // nothing to check without a file
    ar.WriteText(QStringLiteral("AB"), 2);
}

TEST(JVXArchiveTest, TranslatorsAreSwappedNotOwned)
{
    IconvTranslator first("IBM285");
    IconvTranslator second("IBM285");
    CJVXArchive ar(19, CJVXArchive::store, nullptr, nullptr);
    EXPECT_EQ(ar.SetTranslator(&first), nullptr);
    EXPECT_EQ(ar.SetTranslator(&second), &first);
    EXPECT_EQ(ar.SetTranslator(nullptr), &second);

    EXPECT_EQ(UserDataTranslator(), nullptr);
    EXPECT_EQ(SetUserDataTranslator(&first), nullptr);
    EXPECT_EQ(UserDataTranslator(), &first);
    EXPECT_EQ(SetUserDataTranslator(nullptr), &first);
}

TEST(JVXArchiveTest, ModeAndVersion)
{
    CJVXArchive storing(7, CJVXArchive::store, nullptr, nullptr);
    CJVXArchive loading(7, CJVXArchive::load, nullptr, nullptr);
    EXPECT_TRUE(storing.IsStoring());
    EXPECT_FALSE(storing.IsLoading());
    EXPECT_TRUE(loading.IsLoading());
    EXPECT_FALSE(loading.IsStoring());
    storing.SetVersion(21);
    EXPECT_EQ(storing.GetVersion(), 21);
}

} // namespace
