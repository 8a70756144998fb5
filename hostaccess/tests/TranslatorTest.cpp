// The translator the designer writes and reads JVX text fields through:
// exact field widths both ways, shift stripping, and failures that stop the
// file instead of breaking its widths. Host bytes are written from the code
// pages (285: "£" 5B; 930: SO 0E, SI 0F, 日 4562, 本 4566, 語 48E7, 帳 4DC5).

#include "hostaccess/TranslatorCA.h"
#include "hostaccess/api/EntryPoints.h"

#include "platform/clientaccess/Faults.h"
#include "platform/clientaccess/tests/EmulatedHostFixture.h"
#include "platform/framework/Exceptions.h"
#include "platform/framework/MemFile.h"
#include "tests/support/ScopedPrompts.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

extern "C" ITranslator* CreateTranslator(const QString* system);

namespace {

using namespace kwvd::clientaccess;

const QString kSystem = QStringLiteral("KWVDSYS");

QByteArray Hex(const char* hex)
{
    return QByteArray::fromHex(hex);
}

QByteArray Bytes(CMemFile& file)
{
    const auto length = static_cast<qsizetype>(file.GetLength());
    QByteArray bytes(length, '\0');
    file.SeekToBegin();
    file.Read(bytes.data(), static_cast<UINT>(length));
    return bytes;
}

class Translator : public EmulatedHost
{
protected:
    void SetUp() override { Add(System(kSystem, 285), true); }

    std::unique_ptr<ITranslator> Make(int mode, int ccsid)
    {
        std::unique_ptr<ITranslator> translator(CreateTranslator(&kSystem));
        EXPECT_NE(translator, nullptr);
        if (translator) {
            EXPECT_EQ(translator->SetMode(mode), TRUE);
            EXPECT_EQ(translator->SetHostCCSID(ccsid), TRUE);
        }
        return translator;
    }

    // The field as the designer hands it over: the text, blank-padded to
    // the width.
    static QByteArray Written(ITranslator& translator, const QString& text, unsigned width)
    {
        const QString field = text.leftJustified(static_cast<qsizetype>(width), u' ');
        CMemFile file;
        translator.Write(field.constData(), width, &file);
        return Bytes(file);
    }

    ScopedPromptAnswers m_prompts;
};

struct WriteCase
{
    const char* name;
    int ccsid;
    const char* text; // UTF-8
    unsigned width;
    BOOL strip;
    const char* hostBytes;
};

void PrintTo(const WriteCase& c, std::ostream* os)
{
    *os << c.name;
}

class TranslatorWrite : public Translator, public ::testing::WithParamInterface<WriteCase>
{};

TEST_P(TranslatorWrite, GivesExactlyTheFieldsWidth)
{
    const WriteCase& c = GetParam();
    std::unique_ptr<ITranslator> translator = Make(TranslatorMode::PcToHost, c.ccsid);
    ASSERT_NE(translator, nullptr);
    translator->SetStripShift(c.strip);
    EXPECT_EQ(Written(*translator, QString::fromUtf8(c.text), c.width).toHex(' ').toStdString(),
              Hex(c.hostBytes).toHex(' ').toStdString());
    EXPECT_TRUE(m_prompts.Texts().isEmpty()) << m_prompts.Texts().join(u'|').toStdString();
}

const WriteCase kWriteCases[] = {
    {"PoundAndLetterAt285", 285, "£A", 2, FALSE, "5BC1"},
    {"ShorterTextIsBlankPaddedByTheDesignerAt285", 285, "AB", 4, FALSE, "C1C24040"},
    {"SubstitutedCharacterStillFillsItsPlace", 285, "A\u4E00B", 3, FALSE, "C13FC2"},
    {"DoubleByteRunKeptWithoutStripping", 930, "日本語帳", 10, FALSE, "0E45624566 48E74DC50F"},
    {"StrippingDropsSOAndBlanksSIThenZeroPads", 930, "日本語帳", 10, TRUE, "45624566 48E74DC5 40 00"},
    {"LongerDoubleByteTextIsCutAtACharacterAndClosed", 930, "A日本語", 6, FALSE, "C10E45620F00"},
    {"StrippingOnlyAtTheEdges", 930, "A日本", 8, TRUE, "C10E45624566 40 40"},
};

INSTANTIATE_TEST_SUITE_P(Fields, TranslatorWrite, ::testing::ValuesIn(kWriteCases));

struct ReadCase
{
    const char* name;
    int ccsid;
    const char* hostBytes; // what the file holds
    unsigned width;
    unsigned read;
    const char* text; // UTF-8, the whole buffer of width characters
};

void PrintTo(const ReadCase& c, std::ostream* os)
{
    *os << c.name;
}

class TranslatorRead : public Translator, public ::testing::WithParamInterface<ReadCase>
{};

TEST_P(TranslatorRead, FillsTheFieldWithBlanks)
{
    const ReadCase& c = GetParam();
    std::unique_ptr<ITranslator> translator = Make(TranslatorMode::HostToPc, c.ccsid);
    ASSERT_NE(translator, nullptr);
    QByteArray bytes = Hex(c.hostBytes);
    CMemFile file(reinterpret_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    std::u16string buffer(c.width, u'#');
    EXPECT_EQ(translator->Read(buffer.data(), c.width, &file), c.read);
    EXPECT_EQ(QString::fromStdU16String(buffer).toStdString(), c.text);
}

const ReadCase kReadCases[] = {
    {"SingleByteText", 285, "5BC14040", 4, 4, "£A  "},
    {"DoubleByteTextIsFewerCharactersThanBytes", 930, "0E456245660F40404040", 10, 10, "日本        "},
    {"FileEndingEarlyGivesTheCountRead", 285, "C1C2C3", 10, 3, "ABC       "},
};

INSTANTIATE_TEST_SUITE_P(Fields, TranslatorRead, ::testing::ValuesIn(kReadCases));

TEST_F(Translator, WithoutAModeWritesNothingAndReadsNothing)
{
    std::unique_ptr<ITranslator> translator(CreateTranslator(&kSystem));
    ASSERT_NE(translator, nullptr);
    CMemFile file;
    translator->Write(u"AB", 2, &file);
    EXPECT_EQ(file.GetLength(), 0u);
    QByteArray bytes = Hex("C1C2");
    CMemFile source(reinterpret_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    char16_t buffer[2] = {u'#', u'#'};
    EXPECT_EQ(translator->Read(buffer, 2, &source), 0u);
    EXPECT_EQ(buffer[0], u'#');
}

TEST_F(Translator, WriteModeReadsNothingAndReadModeWritesNothing)
{
    std::unique_ptr<ITranslator> writer = Make(TranslatorMode::PcToHost, 285);
    std::unique_ptr<ITranslator> reader = Make(TranslatorMode::HostToPc, 285);
    QByteArray bytes = Hex("C1C2");
    CMemFile source(reinterpret_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    char16_t buffer[2] = {};
    EXPECT_EQ(writer->Read(buffer, 2, &source), 0u);
    CMemFile target;
    reader->Write(u"AB", 2, &target);
    EXPECT_EQ(target.GetLength(), 0u);
    // Nor without a file.
    writer->Write(u"AB", 2, nullptr);
    EXPECT_EQ(reader->Read(buffer, 2, nullptr), 0u);
}

TEST_F(Translator, PassThroughKeepsOurCharactersAsTheyAre)
{
    std::unique_ptr<ITranslator> translator = Make(TranslatorMode::PassThrough, 285);
    CMemFile file;
    translator->Write(u"A£", 2, &file);
    EXPECT_EQ(Bytes(file), Hex("4100A300"));
    file.SeekToBegin();
    char16_t buffer[2] = {};
    EXPECT_EQ(translator->Read(buffer, 2, &file), 2u);
    EXPECT_EQ(std::u16string(buffer, 2), u"A£");
}

TEST_F(Translator, SameModeAgainKeepsItsConverter)
{
    std::unique_ptr<ITranslator> translator = Make(TranslatorMode::PcToHost, 285);
    EXPECT_EQ(translator->SetMode(TranslatorMode::PcToHost), TRUE);
    EXPECT_EQ(Written(*translator, QStringLiteral("£"), 1), Hex("5B"));
}

TEST_F(Translator, CcsidZeroStandsForTheSystems)
{
    // 37 puts "£" at B1, the system's 285 at 5B.
    std::unique_ptr<ITranslator> translator = Make(TranslatorMode::PcToHost, 37);
    EXPECT_EQ(Written(*translator, QStringLiteral("£"), 1), Hex("B1"));
    EXPECT_EQ(translator->SetHostCCSID(0), TRUE);
    EXPECT_EQ(Written(*translator, QStringLiteral("£"), 1), Hex("5B"));
}

TEST_F(Translator, SystemWithoutAKnownCcsidStillGivesATranslator)
{
    const QString unknown = QStringLiteral("NOSUCH");
    std::unique_ptr<ITranslator> translator(CreateTranslator(&unknown));
    ASSERT_NE(translator, nullptr);
    // The designer sets the mode first, then the CCSID of each field group.
    EXPECT_EQ(translator->SetMode(TranslatorMode::PcToHost), TRUE);
    CMemFile file;
    EXPECT_THROW(translator->Write(u"A", 1, &file), CArchiveException);
    m_prompts->ClearRecorded();
    EXPECT_EQ(translator->SetHostCCSID(285), TRUE);
    EXPECT_EQ(Written(*translator, QStringLiteral("£A"), 2), Hex("5BC1"));
    EXPECT_TRUE(m_prompts.Texts().isEmpty()) << m_prompts.Texts().join(u'|').toStdString();
}

TEST_F(Translator, WriteThatCannotConvertStopsTheFileAndSaysSoOnce)
{
    std::unique_ptr<ITranslator> translator(CreateTranslator(&kSystem));
    ASSERT_EQ(translator->SetMode(TranslatorMode::PcToHost), TRUE);
    EXPECT_EQ(translator->SetHostCCSID(924), FALSE);
    for (int i = 0; i < 2; ++i) {
        CMemFile file;
        try {
            translator->Write(u"AB", 2, &file);
            ADD_FAILURE() << "no exception on write " << i;
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::genericException);
        }
        EXPECT_EQ(file.GetLength(), 0u);
    }
    ASSERT_EQ(m_prompts.Texts().size(), 1);
    EXPECT_TRUE(m_prompts.Texts().front().contains(QStringLiteral("924"))) << m_prompts.Texts().front().toStdString();
}

TEST_F(Translator, ConversionFailureOnWriteIsShownOnceAndThrows)
{
    std::unique_ptr<ITranslator> translator = Make(TranslatorMode::PcToHost, 285);
    ASSERT_TRUE(SetInjectedFault("cwbNL_Convert", kCwbStoreError, "KWV4020", "Injected.", false));
    for (int i = 0; i < 2; ++i) {
        CMemFile file;
        EXPECT_THROW(translator->Write(u"AB", 2, &file), CArchiveException);
        EXPECT_EQ(file.GetLength(), 0u);
    }
    ClearInjectedFaults();
    EXPECT_EQ(m_prompts.Texts(), QStringList{QStringLiteral("KWV4020: Injected.")});
}

TEST_F(Translator, ReadThatCannotConvertLeavesBlanksAndThrows)
{
    std::unique_ptr<ITranslator> translator = Make(TranslatorMode::HostToPc, 285);
    ASSERT_TRUE(SetInjectedFault("cwbNL_Convert", kCwbStoreError, "KWV4021", "Injected.", false));
    QByteArray bytes = Hex("C1C2C3");
    CMemFile file(reinterpret_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    std::u16string buffer(4, u'#');
    EXPECT_THROW(translator->Read(buffer.data(), 4, &file), CArchiveException);
    ClearInjectedFaults();
    EXPECT_EQ(buffer, u"    ");
    EXPECT_EQ(m_prompts.Texts(), QStringList{QStringLiteral("KWV4021: Injected.")});
}

} // namespace
