// The command texts sent to the host: exact for ordinary requests, and a
// value that would break its command is quoted (user data) or refused.

#include "hostaccess/RemoteCommands.h"
#include "hostaccess/api/CrtWvdRequest.h"
#include "hostaccess/tests/QueueRequest.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace {

CrtWvdRequest QueueRequest()
{
    return QueueRequest(QStringLiteral("KWVDSYS"), QStringLiteral("QGPL"));
}

struct CrtWvdCase
{
    const char* name;
    std::function<void(CrtWvdRequest&)> change;
    const char* expected; // the whole text; null when refused
    const char* refusedKeyword;
};

void PrintTo(const CrtWvdCase& c, std::ostream* os)
{
    *os << c.name;
}

class CrtWvdCommandText : public ::testing::TestWithParam<CrtWvdCase>
{};

TEST_P(CrtWvdCommandText, IsBuiltOrRefused)
{
    const CrtWvdCase& c = GetParam();
    CrtWvdRequest request = QueueRequest();
    c.change(request);
    const HostCommandText command = BuildCrtWvdCommand(request);
    if (c.expected) {
        EXPECT_TRUE(command.IsValid()) << command.RefusalMessage().toStdString();
        EXPECT_EQ(command.text.toStdString(), c.expected);
    } else {
        EXPECT_FALSE(command.IsValid());
        EXPECT_TRUE(command.text.isEmpty());
        EXPECT_EQ(command.refusedKeyword.toStdString(), c.refusedKeyword);
        EXPECT_FALSE(command.RefusalMessage().isEmpty());
    }
}

const CrtWvdCase kCrtWvdCases[] = {
    {"NewRequestSelectsEverySpooledFile", [](CrtWvdRequest&) {},
     "SBMJOB CMD(CRTWVD SFILE(*SLTSPL) FILE(*ALL) USRPRF(*ALL) OUTQ(QGPL/QPRINT) FORMTYPE(*ALL) USRDTA(*ALL) "
     "SPLSTS(*HLD) MOUTQ() WVDNAM(INVOICE/KWVD/APRTPDM))",
     nullptr},
    {"MessageQueueWithLibrary",
     [](CrtWvdRequest& r) {
         r.SetMessageQueueLibrary(QStringLiteral("QUSRSYS"));
         r.SetMessageQueue(QStringLiteral("MSGQ"));
     },
     "SBMJOB CMD(CRTWVD SFILE(*SLTSPL) FILE(*ALL) USRPRF(*ALL) OUTQ(QGPL/QPRINT) FORMTYPE(*ALL) USRDTA(*ALL) "
     "SPLSTS(*HLD) MOUTQ(QUSRSYS/MSGQ) WVDNAM(INVOICE/KWVD/APRTPDM))",
     nullptr},
    {"MessageQueueAloneWithoutLibrary", [](CrtWvdRequest& r) { r.SetMessageQueue(QStringLiteral("MSGQ")); },
     "SBMJOB CMD(CRTWVD SFILE(*SLTSPL) FILE(*ALL) USRPRF(*ALL) OUTQ(QGPL/QPRINT) FORMTYPE(*ALL) USRDTA(*ALL) "
     "SPLSTS(*HLD) MOUTQ(MSGQ) WVDNAM(INVOICE/KWVD/APRTPDM))",
     nullptr},
    {"NamedFileUserAndFormGoInAsTheyAre",
     [](CrtWvdRequest& r) {
         r.GetIdentity().SetFileName(QStringLiteral("QSYSPRT"));
         r.GetIdentity().SetUserName(QStringLiteral("kwvduser"));
         r.GetIdentity().SetFormType(QStringLiteral("STD"));
         r.GetIdentity().SetUserData(QStringLiteral("SAMPLE"));
         r.SetSpooledFileStatus(QStringLiteral("*SAV"));
     },
     "SBMJOB CMD(CRTWVD SFILE(*SLTSPL) FILE(QSYSPRT) USRPRF(kwvduser) OUTQ(QGPL/QPRINT) FORMTYPE(STD) "
     "USRDTA(SAMPLE) SPLSTS(*SAV) MOUTQ() WVDNAM(INVOICE/KWVD/APRTPDM))",
     nullptr},
    {"UserDataWithABlankIsQuoted", [](CrtWvdRequest& r) { r.GetIdentity().SetUserData(QStringLiteral("A B")); },
     "SBMJOB CMD(CRTWVD SFILE(*SLTSPL) FILE(*ALL) USRPRF(*ALL) OUTQ(QGPL/QPRINT) FORMTYPE(*ALL) USRDTA('A B') "
     "SPLSTS(*HLD) MOUTQ() WVDNAM(INVOICE/KWVD/APRTPDM))",
     nullptr},
    {"UserDataApostropheIsDoubled", [](CrtWvdRequest& r) { r.GetIdentity().SetUserData(QStringLiteral("O'NEIL")); },
     "SBMJOB CMD(CRTWVD SFILE(*SLTSPL) FILE(*ALL) USRPRF(*ALL) OUTQ(QGPL/QPRINT) FORMTYPE(*ALL) "
     "USRDTA('O''NEIL') SPLSTS(*HLD) MOUTQ() WVDNAM(INVOICE/KWVD/APRTPDM))",
     nullptr},
    {"UserDataParenthesisStaysInside", [](CrtWvdRequest& r) { r.GetIdentity().SetUserData(QStringLiteral("X)Y")); },
     "SBMJOB CMD(CRTWVD SFILE(*SLTSPL) FILE(*ALL) USRPRF(*ALL) OUTQ(QGPL/QPRINT) FORMTYPE(*ALL) USRDTA('X)Y') "
     "SPLSTS(*HLD) MOUTQ() WVDNAM(INVOICE/KWVD/APRTPDM))",
     nullptr},
    {"UserDataHoldingPercentSignsStaysAsItIs",
     [](CrtWvdRequest& r) { r.GetIdentity().SetUserData(QStringLiteral("%10 %1")); },
     "SBMJOB CMD(CRTWVD SFILE(*SLTSPL) FILE(*ALL) USRPRF(*ALL) OUTQ(QGPL/QPRINT) FORMTYPE(*ALL) "
     "USRDTA('%10 %1') SPLSTS(*HLD) MOUTQ() WVDNAM(INVOICE/KWVD/APRTPDM))",
     nullptr},
    {"FileNameWithABlankIsRefused", [](CrtWvdRequest& r) { r.GetIdentity().SetFileName(QStringLiteral("MY FILE")); },
     nullptr, "FILE"},
    {"UserWithAParenthesisIsRefused", [](CrtWvdRequest& r) { r.GetIdentity().SetUserName(QStringLiteral("A)B")); },
     nullptr, "USRPRF"},
    {"EmptyOutputQueueIsRefused", [](CrtWvdRequest& r) { r.GetIdentity().SetOutputQueue(QString()); }, nullptr, "OUTQ"},
    {"OutputQueueLibraryStartingWithADigitIsRefused",
     [](CrtWvdRequest& r) { r.GetIdentity().SetOutputQueueLibrary(QStringLiteral("1LIB")); }, nullptr, "OUTQ"},
    {"FormTypeWithAnApostropheIsRefused", [](CrtWvdRequest& r) { r.GetIdentity().SetFormType(QStringLiteral("A'B")); },
     nullptr, "FORMTYPE"},
    {"StatusThatAddsAParameterIsRefused", [](CrtWvdRequest& r) { r.SetSpooledFileStatus(QStringLiteral("*HLD) X(1")); },
     nullptr, "SPLSTS"},
    {"MessageQueueLibraryWithoutQueueIsRefused",
     [](CrtWvdRequest& r) { r.SetMessageQueueLibrary(QStringLiteral("QUSRSYS")); }, nullptr, "MOUTQ"},
    {"WvdNameOverTenCharactersIsRefused", [](CrtWvdRequest& r) { r.SetWvdName(QStringLiteral("INVOICE2026X")); },
     nullptr, "WVDNAM"},
    {"EmptyLibraryIsRefused", [](CrtWvdRequest& r) { r.SetLibrary(QString()); }, nullptr, "WVDNAM"},
    {"UserDataWithALineBreakIsRefused", [](CrtWvdRequest& r) { r.GetIdentity().SetUserData(QStringLiteral("A\nB")); },
     nullptr, "USRDTA"},
};

INSTANTIATE_TEST_SUITE_P(Requests, CrtWvdCommandText, ::testing::ValuesIn(kCrtWvdCases));

TEST(CrtWvdCommandText, RefusalNamesTheKeywordAndTheValue)
{
    CrtWvdRequest request = QueueRequest();
    request.GetIdentity().SetFileName(QStringLiteral("MY FILE"));
    const HostCommandText command = BuildCrtWvdCommand(request);
    EXPECT_EQ(command.refusedValue, QStringLiteral("MY FILE"));
}

struct CallCase
{
    const char* name;
    const char* program;
    const char* parameters;
    const char* expected; // null when refused
};

void PrintTo(const CallCase& c, std::ostream* os)
{
    *os << c.name;
}

class CallCommandText : public ::testing::TestWithParam<CallCase>
{};

TEST_P(CallCommandText, IsBuiltOrRefused)
{
    const CallCase& c = GetParam();
    const HostCommandText command = BuildCallCommand(QString::fromUtf8(c.program), QString::fromUtf8(c.parameters));
    if (c.expected) {
        EXPECT_TRUE(command.IsValid()) << command.RefusalMessage().toStdString();
        EXPECT_EQ(command.text.toStdString(), c.expected);
    } else {
        EXPECT_FALSE(command.IsValid());
        EXPECT_FALSE(command.RefusalMessage().isEmpty());
    }
}

const CallCase kCallCases[] = {
    {"MemberAndLibrary", "KWVD/PCWVDCL", "INVOICE KWVD", "CALL PGM(KWVD/PCWVDCL) PARM(INVOICE KWVD)"},
    {"MemberAlone", "KWVD/PCWVDCL", "INVOICE", "CALL PGM(KWVD/PCWVDCL) PARM(INVOICE)"},
    {"UnqualifiedProgram", "PCWVDCL", "INVOICE", "CALL PGM(PCWVDCL) PARM(INVOICE)"},
    {"QuotedParameterWithABlank", "KWVD/PCWVDCL", "'A B' KWVD", "CALL PGM(KWVD/PCWVDCL) PARM('A B' KWVD)"},
    {"ParameterClosingTheCommandIsRefused", "KWVD/PCWVDCL", "INVOICE) X(", nullptr},
    {"UnterminatedStringIsRefused", "KWVD/PCWVDCL", "'INVOICE", nullptr},
    {"ProgramWithABlankIsRefused", "KWVD/PC WVDCL", "INVOICE", nullptr},
    {"EmptyProgramIsRefused", "", "INVOICE", nullptr},
};

INSTANTIATE_TEST_SUITE_P(Calls, CallCommandText, ::testing::ValuesIn(kCallCases));

TEST(CallCommandText, HoldsAtMost338CharactersOfProgramAndParameters)
{
    const QString program = QStringLiteral("KWVD/PCWVDCL"); // 12
    QStringList names;
    for (int i = 0; i < 29; ++i)
        names << QStringLiteral("ABCDEFGHIJ");
    names << QStringLiteral("ABCDEFG");
    const QString parameters = names.join(u' '); // 29 * 11 + 7 = 326
    ASSERT_EQ(program.size() + parameters.size(), 338);

    const HostCommandText fits = BuildCallCommand(program, parameters);
    EXPECT_TRUE(fits.IsValid()) << fits.RefusalMessage().toStdString();
    EXPECT_EQ(fits.text.size(), 355); // the buffer of 356 with its terminator

    const HostCommandText over = BuildCallCommand(program, parameters + u'H');
    EXPECT_FALSE(over.IsValid());
    EXPECT_EQ(over.tooLongFor, 338);
    EXPECT_TRUE(over.text.isEmpty());
}

} // namespace
