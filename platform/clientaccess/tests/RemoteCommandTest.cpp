#include "EmulatedHostFixture.h"

#include "platform/clientaccess/CommandRunner.h"
#include "platform/clientaccess/RemoteCommands.h"

#include "platform/framework/Clock.h"

#include <QElapsedTimer>
#include <QThread>

#include <string>

using namespace kwvd::clientaccess;

namespace {

const QByteArray kEbcdicJvx = QByteArray::fromHex("D1E5E7F0F2F8") + "body";

class RemoteCommand : public EmulatedHost
{
protected:
    void SetUp() override
    {
        Add(System(QStringLiteral("KWVDSYS")));
        Library(QStringLiteral("KWVDSYS"), QStringLiteral("KWVD"));
        m_error = NewErrorHandle();
    }
    void TearDown() override
    {
        for (cwbRC_SysHandle connection : m_connections)
            cwbRC_StopSys(connection);
        for (cwbCO_SysHandle system : m_systems)
            cwbCO_DeleteSystem(system);
    }

    cwbRC_SysHandle Connect(const char* name = "KWVDSYS")
    {
        cwbCO_SysHandle system = 0;
        EXPECT_EQ(cwbCO_CreateSystem(name, &system), kCwbOk);
        m_systems.push_back(system);
        cwbRC_SysHandle connection = 0;
        EXPECT_EQ(cwbRC_StartSysEx(system, &connection, 0), kCwbOk);
        m_connections.push_back(connection);
        return connection;
    }

    // The caller's rule: a command succeeded when the host added no message.
    bool Run(cwbRC_SysHandle connection, const char* command)
    {
        const unsigned long before = MessageCount(m_error);
        const unsigned result = cwbRC_RunCmd(connection, command, m_error);
        const unsigned long after = MessageCount(m_error);
        EXPECT_EQ(result == kCwbOk, before == after) << command;
        return before == after;
    }

    std::string LastMessage() const
    {
        const auto messages = Messages(m_error);
        return messages.empty() ? std::string() : messages.back();
    }

    kwvd::FixedClock m_clock{QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7), Qt::UTC)};
    cwbSV_ErrHandle m_error = 0;
    std::vector<cwbCO_SysHandle> m_systems;
    std::vector<cwbRC_SysHandle> m_connections;
};

} // namespace

TEST_F(RemoteCommand, PcwvdclStoresTheJvxFileAsTheLibrarysWvdMember)
{
    const cwbRC_SysHandle connection = Connect();
    EXPECT_FALSE(Run(connection, "CALL PGM(KWVD/PCWVDCL) PARM(INVOICE KWVD)"));
    EXPECT_EQ(LastMessage(), "KWV2303: File /QDLS/KWVD/PCIN/INVOICE.JVX not found.");
    EXPECT_FALSE(WvdMemberExists(QStringLiteral("KWVDSYS"), QStringLiteral("KWVD"), QStringLiteral("INVOICE")));

    // The file is found whatever the case of its folders and name.
    HostFile(QStringLiteral("KWVDSYS"), QStringLiteral("QDLS/kwvd/Pcin/Invoice.jvx"), kEbcdicJvx);
    EXPECT_TRUE(Run(connection, "CALL PGM(KWVD/PCWVDCL) PARM(INVOICE KWVD)"));
    EXPECT_EQ(MessageCount(m_error), 1u);
    ASSERT_TRUE(WvdMemberExists(QStringLiteral("KWVDSYS"), QStringLiteral("kwvd"), QStringLiteral("invoice")));
    QFile member(WvdMemberPath(QStringLiteral("KWVDSYS"), QStringLiteral("KWVD"), QStringLiteral("INVOICE")));
    ASSERT_TRUE(member.open(QIODevice::ReadOnly));
    EXPECT_EQ(member.readAll(), kEbcdicJvx);

    EXPECT_EQ(JobLog(QStringLiteral("KWVDSYS")),
              "2026-03-04 05:06:07 000001/KWVDUSER/RMTCMD CALL PGM(KWVD/PCWVDCL) PARM(INVOICE KWVD)\n"
              "  KWV2303 File /QDLS/KWVD/PCIN/INVOICE.JVX not found.\n"
              "2026-03-04 05:06:07 000001/KWVDUSER/RMTCMD CALL PGM(KWVD/PCWVDCL) PARM(INVOICE KWVD)\n");
}

TEST_F(RemoteCommand, PcwvdclChecksTheHeaderWordAndItsParameters)
{
    struct Case
    {
        const char* name;
        const char* member;
        QByteArray file; // empty: no file
        const char* command;
        const char* message; // empty: success
    };
    const Case cases[] = {
        {"ascii header word", "M1", "JVX018rest", "CALL PGM(KWVD/PCWVDCL) PARM(M1 KWVD)", ""},
        {"ebcdic header word", "M2", kEbcdicJvx, "CALL PGM(KWVD/PCWVDCL) PARM(M2 KWVD)", ""},
        {"library defaults to the program's", "M3", "JVX007", "CALL PGM(KWVD/PCWVDCL) PARM(M3)", ""},
        {"quoted and lower-case names", "M4", "JVX007", "call pgm(kwvd/pcwvdcl) parm('m4' kwvd)", ""},
        {"ebcdic letters with ascii digits", "M5", QByteArray::fromHex("D1E5E7303238"),
         "CALL PGM(KWVD/PCWVDCL) PARM(M5)", "KWV2305: File /QDLS/KWVD/PCIN/M5.JVX is not a JVX file."},
        {"five bytes only", "M6", "JVX01", "CALL PGM(KWVD/PCWVDCL) PARM(M6)",
         "KWV2305: File /QDLS/KWVD/PCIN/M6.JVX is not a JVX file."},
        {"another word", "M7", "XML028", "CALL PGM(KWVD/PCWVDCL) PARM(M7)",
         "KWV2305: File /QDLS/KWVD/PCIN/M7.JVX is not a JVX file."},
        {"no parameters", "", "", "CALL PGM(KWVD/PCWVDCL)",
         "KWV2301: Program PCWVDCL takes a member and a library; 0 parameters given."},
        {"three parameters", "", "", "CALL PGM(KWVD/PCWVDCL) PARM(A B C)",
         "KWV2301: Program PCWVDCL takes a member and a library; 3 parameters given."},
        {"member name too long", "", "", "CALL PGM(KWVD/PCWVDCL) PARM(ELEVENCHARS)",
         "KWV2302: Member name ELEVENCHARS not valid."},
        {"unknown library of the member", "", "", "CALL PGM(KWVD/PCWVDCL) PARM(M8 NOLIB)",
         "KWV2101: Library NOLIB not found."},
        {"unknown library of the program", "", "", "CALL PGM(NOLIB/PCWVDCL) PARM(M9)",
         "KWV2101: Library NOLIB not found."},
        {"another program", "", "", "CALL PGM(KWVD/OTHERPGM)", "KWV2201: Program OTHERPGM in library KWVD not found."},
    };
    const cwbRC_SysHandle connection = Connect();
    for (const Case& c : cases) {
        if (!c.file.isEmpty())
            HostFile(QStringLiteral("KWVDSYS"), QStringLiteral("QDLS/KWVD/PCIN/%1.JVX").arg(QLatin1String(c.member)),
                     c.file);
        const bool succeeded = Run(connection, c.command);
        EXPECT_EQ(succeeded, *c.message == '\0') << c.name;
        if (!succeeded) {
            EXPECT_EQ(LastMessage(), c.message) << c.name;
        }
    }
    EXPECT_TRUE(WvdMemberExists(QStringLiteral("KWVDSYS"), QStringLiteral("KWVD"), QStringLiteral("M4")));
}

TEST_F(RemoteCommand, AddLibleTwiceOnOneConnectionGivesAMessageTheSecondTime)
{
    Library(QStringLiteral("KWVDSYS"), QStringLiteral("QGPL"));
    const cwbRC_SysHandle connection = Connect();
    EXPECT_TRUE(Run(connection, "ADDLIBLE KWVD"));
    EXPECT_FALSE(Run(connection, "ADDLIBLE LIB(kwvd)"));
    EXPECT_EQ(LastMessage(), "KWV2102: Library KWVD already exists in library list.");
    EXPECT_FALSE(Run(connection, "ADDLIBLE NOLIB"));
    EXPECT_EQ(LastMessage(), "KWV2101: Library NOLIB not found.");
    EXPECT_EQ(JobLog(QStringLiteral("KWVDSYS")), "2026-03-04 05:06:07 000001/KWVDUSER/RMTCMD ADDLIBLE KWVD\n"
                                                 "2026-03-04 05:06:07 000001/KWVDUSER/RMTCMD ADDLIBLE LIB(kwvd)\n"
                                                 "  KWV2102 Library KWVD already exists in library list.\n"
                                                 "2026-03-04 05:06:07 000001/KWVDUSER/RMTCMD ADDLIBLE NOLIB\n"
                                                 "  KWV2101 Library NOLIB not found.\n");

    // The caller reads the messages as Merrow2 and the fax client do: a
    // one-byte probe for the length, then the text.
    char probe[1];
    unsigned long needed = 0;
    ASSERT_EQ(cwbSV_GetErrText(m_error, probe, 1, &needed), kCwbTargetTooSmall);
    std::string text(needed + 1, '?');
    ASSERT_EQ(cwbSV_GetErrText(m_error, text.data(), needed + 1, &needed), kCwbOk);
    text.resize(needed);
    EXPECT_EQ(text, "KWV2102: Library KWVD already exists in library list.\n"
                    "KWV2101: Library NOLIB not found.");

    // A new connection is a new job with the system's initial list again.
    EXPECT_TRUE(Run(Connect(), "ADDLIBLE KWVD"));
}

TEST_F(RemoteCommand, AJobStartsWithTheSystemsInitialLibraryList)
{
    auto system = System(QStringLiteral("LISTSYS"));
    system.initialLibraries = {QStringLiteral("QGPL"), QStringLiteral("KWVD")};
    Add(system);
    const cwbRC_SysHandle connection = Connect("listsys");
    EXPECT_FALSE(Run(connection, "ADDLIBLE QGPL"));
    EXPECT_EQ(LastMessage(), "KWV2102: Library QGPL already exists in library list.");
    // An unqualified program is looked for along the library list.
    HostFile(QStringLiteral("LISTSYS"), QStringLiteral("QDLS/QGPL/PCIN/A.JVX"), "JVX028");
    EXPECT_TRUE(Run(connection, "CALL PCWVDCL (A)"));
    EXPECT_TRUE(WvdMemberExists(QStringLiteral("LISTSYS"), QStringLiteral("QGPL"), QStringLiteral("A")));

    const cwbRC_SysHandle empty = Connect();
    EXPECT_FALSE(Run(empty, "CALL PGM(PCWVDCL) PARM(A)"));
    EXPECT_EQ(LastMessage(), "KWV2201: Program PCWVDCL not found in the library list.");
}

TEST_F(RemoteCommand, TheCrtWvdSubmissionIsLoggedWithItsWholeText)
{
    const char* text = "SBMJOB CMD(CRTWVD SFILE(*SLTSPL) FILE(*ALL) USRPRF(*ALL) OUTQ(KWVD/QPRINT) FORMTYPE(*ALL) "
                       "USRDTA(*ALL) SPLSTS(*HLD) MOUTQ() WVDNAM(INVOICE/KWVD/APRTPDM))";
    EXPECT_TRUE(Run(Connect(), text));
    EXPECT_EQ(MessageCount(m_error), 0u);
    EXPECT_EQ(JobLog(QStringLiteral("KWVDSYS")),
              std::string("2026-03-04 05:06:07 000001/KWVDUSER/RMTCMD ") + text + "\n");
}

TEST_F(RemoteCommand, CommandsThatDoNotParseOrAreUnknownNameTheCommand)
{
    struct Case
    {
        const char* command;
        const char* message;
    };
    const Case cases[] = {
        {"CALL PGM(KWVD/PCWVDCL PARM(INVOICE KWVD)", "KWV2002: Command CALL not valid: unbalanced parenthesis."},
        {"CALL PGM(KWVD/PCWVDCL)) PARM(X)", "KWV2002: Command CALL not valid: unbalanced parenthesis."},
        {"CALL PGM(KWVD/PCWVDCL) PARM('INVOICE)", "KWV2002: Command CALL not valid: unterminated string."},
        {"ADDLIBLE LIB(KWVD) LIB(QGPL)", "KWV2002: Command ADDLIBLE not valid: keyword LIB given more than once."},
        {"ADDLIBLE KWVD POSITION(*LAST)", "KWV2003: Keyword POSITION not valid for command ADDLIBLE."},
        {"ADDLIBLE KWVD QGPL", "KWV2004: Too many parameters by position for command ADDLIBLE (at most 1)."},
        {"DLTLIB KWVD", "KWV2001: Command DLTLIB not found."},
        {"", "KWV2002: Command text not valid: no command given."},
        {"SBMJOB CMD(DLTLIB KWVD)", "KWV2001: Command DLTLIB not found."},
        {"SBMJOB CMD(CRTWVD SFILE(*SLTSPL) NOSUCH(1))", "KWV2003: Keyword NOSUCH not valid for command CRTWVD."},
        {"SBMJOB CMD(CRTWVD FILE('X)))", "KWV2002: Command SBMJOB not valid: unterminated string."},
        {"SBMJOB CMD(CRTWVD FILE(X)) JOB(Y)", "KWV2003: Keyword JOB not valid for command SBMJOB."},
    };
    const cwbRC_SysHandle connection = Connect();
    for (const Case& c : cases) {
        EXPECT_FALSE(Run(connection, c.command)) << c.command;
        EXPECT_EQ(LastMessage(), c.message) << c.command;
    }
    const std::string log = JobLog(QStringLiteral("KWVDSYS"));
    EXPECT_NE(log.find("RMTCMD CALL PGM(KWVD/PCWVDCL PARM(INVOICE KWVD)\n"
                       "  KWV2002 Command CALL not valid: unbalanced parenthesis.\n"),
              std::string::npos);
}

TEST_F(RemoteCommand, ARegisteredProgramStartsWithItsFixedAndItsCallArguments)
{
    // The fixture writes its arguments where the test can see them; it is
    // not waited for, so the test waits for the file (bounded).
    const QString script =
        QStringLiteral("printf '%s\\n' \"$0\" \"$@\" \"$KWVD_EMUHOST_SYSTEM\" > \"$KWVD_EMUHOST/args.tmp\" && "
                       "mv \"$KWVD_EMUHOST/args.tmp\" \"$KWVD_EMUHOST/args.txt\"");
    QString error;
    ASSERT_TRUE(AddProgram(QStringLiteral("KWVDSYS"),
                           {QStringLiteral("kwvd"),
                            QStringLiteral("faxpgm"),
                            QStringLiteral("/bin/sh"),
                            {QStringLiteral("-c"), script, QStringLiteral("fixed one")}},
                           &error))
        << error.toStdString();
    EXPECT_TRUE(Run(Connect(), "CALL PGM(KWVD/FAXPGM) PARM(ABCDEFI ABCDEFO 'two words')"));

    QFile args(m_store.FilePath(QStringLiteral("args.txt")));
    QElapsedTimer timer;
    timer.start();
    while (!args.exists() && timer.elapsed() < 10000)
        QThread::msleep(20);
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    EXPECT_EQ(args.readAll(), "fixed one\nABCDEFI\nABCDEFO\ntwo words\nKWVDSYS\n");
}

TEST_F(RemoteCommand, ARegisteredProgramThatCannotStartGivesAMessage)
{
    QString error;
    ASSERT_TRUE(AddProgram(
        QStringLiteral("KWVDSYS"),
        {QStringLiteral("KWVD"), QStringLiteral("GONE"), m_store.FilePath(QStringLiteral("no-such-program")), {}},
        &error));
    EXPECT_FALSE(Run(Connect(), "CALL PGM(KWVD/GONE)"));
    EXPECT_EQ(LastMessage().rfind("KWV2202: Program KWVD/GONE could not be started: ", 0), 0u) << LastMessage();
}

TEST_F(RemoteCommand, ConnectionsNeedALiveSystemObject)
{
    cwbRC_SysHandle connection = 0;
    EXPECT_EQ(cwbRC_StartSysEx(987654, &connection, m_error), kCwbInvalidHandle);
    EXPECT_EQ(cwbRC_RunCmd(987654, "ADDLIBLE KWVD", m_error), kCwbInvalidHandle);
    const cwbRC_SysHandle live = Connect();
    EXPECT_EQ(cwbRC_RunCmd(live, nullptr, m_error), kCwbInvalidParameter);
    EXPECT_EQ(cwbRC_StopSys(live), kCwbOk);
    EXPECT_EQ(cwbRC_StopSys(live), kCwbInvalidHandle);
    EXPECT_EQ(cwbRC_RunCmd(live, "ADDLIBLE KWVD", m_error), kCwbInvalidHandle);
    m_connections.clear();
}

TEST_F(RemoteCommand, EachConnectionIsAJobOfItsOwn)
{
    Run(Connect(), "ADDLIBLE KWVD");
    Run(Connect(), "ADDLIBLE KWVD");
    std::vector<HostMessage> messages;
    EXPECT_EQ(RunHostCommand(QStringLiteral("kwvdsys"), QStringLiteral("ADDLIBLE KWVD"), &messages), kCwbOk);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(RunHostCommand(QStringLiteral("NOSYS"), QStringLiteral("ADDLIBLE KWVD"), &messages), kCwbUnknownSystem);
    EXPECT_EQ(JobLog(QStringLiteral("KWVDSYS")), "2026-03-04 05:06:07 000001/KWVDUSER/RMTCMD ADDLIBLE KWVD\n"
                                                 "2026-03-04 05:06:07 000002/KWVDUSER/RMTCMD ADDLIBLE KWVD\n"
                                                 "2026-03-04 05:06:07 000003/KWVDUSER/RMTCMD ADDLIBLE KWVD\n");
}
