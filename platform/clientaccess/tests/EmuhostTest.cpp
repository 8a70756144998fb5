#include "EmulatedHostFixture.h"

#include "platform/clientaccess/Systems.h"

#include <QProcess>
#include <QRegularExpression>

#include <set>

using namespace kwvd::clientaccess;

namespace {

struct Outcome
{
    int status = -1;
    QString out;
    QString err;
};

class Emuhost : public EmulatedHost
{
protected:
    static QProcess* Start(const QStringList& arguments, QObject* parent)
    {
        auto* process = new QProcess(parent);
        process->start(QStringLiteral(KWVD_EMUHOST_PROGRAM), arguments);
        return process;
    }

    static Outcome Finish(QProcess* process)
    {
        Outcome outcome;
        EXPECT_TRUE(process->waitForFinished(30000)) << process->arguments().join(u' ').toStdString();
        outcome.status = process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
        outcome.out = QString::fromLocal8Bit(process->readAllStandardOutput());
        outcome.err = QString::fromLocal8Bit(process->readAllStandardError());
        return outcome;
    }

    static Outcome Emu(const QStringList& arguments)
    {
        QObject owner;
        return Finish(Start(arguments, &owner));
    }
};

} // namespace

TEST_F(Emuhost, InitMakesAFirstSystemToWorkWith)
{
    const Outcome init = Emu({QStringLiteral("init")});
    ASSERT_EQ(init.status, 0) << init.err.toStdString();
    const auto state = ReadStore();
    ASSERT_TRUE(state);
    ASSERT_EQ(state->systems.size(), 1u);
    const HostSystem& system = state->systems.front();
    EXPECT_EQ(system.name, QStringLiteral("KWVDSYS"));
    EXPECT_EQ(system.ccsid, 285u);
    EXPECT_EQ(system.userId, LoginUserId());
    EXPECT_LE(system.userId.size(), 10);
    EXPECT_EQ(system.userId, system.userId.toUpper());
    EXPECT_EQ(state->defaultSystem, QStringLiteral("KWVDSYS"));
    EXPECT_TRUE(LibraryExists(QStringLiteral("KWVDSYS"), QStringLiteral("KWVD")));
    EXPECT_TRUE(QFileInfo(m_store.FilePath(QStringLiteral("KWVDSYS/ifs/QDLS/KWVD/PCIN"))).isDir());

    const Outcome again = Emu({QStringLiteral("init")});
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.err, QStringLiteral("emuhost: system KWVDSYS already answers to the name KWVDSYS\n"));
    EXPECT_EQ(Emu({QStringLiteral("init"), QStringLiteral("TESTSYS")}).status, 0);
}

TEST_F(Emuhost, SystemsAreAddedListedAndRemoved)
{
    EXPECT_EQ(Emu({"system", "add", "KWVDSYS", "--ccsid", "285", "--user", "jsmith", "--file-server", "QKWVDSYS",
                   "--library", "KWVD"})
                  .status,
              0);
    EXPECT_EQ(Emu({"system", "add", "AWAY", "--unreachable", "--refuse-signon", "--default"}).status, 0);
    EXPECT_EQ(Emu({"program", "add", "KWVDSYS", "kwvd/faxpgm", "/bin/true", "--fixture", "x"}).status, 0);
    const Outcome list = Emu({"system", "list"});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out.toStdString(),
              "KWVDSYS ccsid=285 user=JSMITH file-servers=QKWVDSYS libraries=KWVD program=KWVD/FAXPGM\n"
              "AWAY ccsid=none user= file-servers=AWAY libraries= unreachable refuses-signon default\n");

    EXPECT_EQ(Emu({"system", "remove", "away"}).status, 0);
    EXPECT_EQ(Emu({"system", "remove", "away"}).status, 1);
    EXPECT_EQ(Emu({"system", "add", "BAD", "--ccsid", "x"}).status, 1);
    EXPECT_EQ(Emu({"system", "add", "BAD", "--bogus"}).status, 2);
    EXPECT_EQ(Emu({"library", "add", "KWVDSYS", "QGPL"}).status, 0);
    EXPECT_EQ(Emu({"library", "add", "KWVDSYS", "QGPL"}).status, 1);
    EXPECT_EQ(Emu({"program", "add", "KWVDSYS", "NOSLASH", "/bin/true"}).status, 1);
    EXPECT_EQ(Emu({"frobnicate"}).status, 2);
    EXPECT_EQ(Emu({}).status, 2);
}

TEST_F(Emuhost, RunsCommandsShowsTheJobLogAndMapsPaths)
{
    ASSERT_EQ(Emu({"init"}).status, 0);
    const Outcome ok = Emu({"run", "kwvdsys", "ADDLIBLE KWVD"});
    EXPECT_EQ(ok.status, 0);
    EXPECT_EQ(ok.out, QString());
    const Outcome failed = Emu({"run", "KWVDSYS", "CALL PGM(KWVD/PCWVDCL) PARM(INVOICE KWVD)"});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, QStringLiteral("KWV2303 File /QDLS/KWVD/PCIN/INVOICE.JVX not found.\n"));
    EXPECT_EQ(Emu({"run", "NOSYS", "ADDLIBLE KWVD"}).status, 1);

    const Outcome log = Emu({"joblog", "KWVDSYS"});
    static const QRegularExpression line(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d 000001/[A-Z0-9_]+/RMTCMD ADDLIBLE KWVD\\n"
                       "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d 000002/[A-Z0-9_]+/RMTCMD CALL PGM\\(KWVD/PCWVDCL\\) "
                       "PARM\\(INVOICE KWVD\\)\\n"
                       "  KWV2303 File /QDLS/KWVD/PCIN/INVOICE.JVX not found.\\n$"));
    EXPECT_TRUE(line.match(log.out).hasMatch()) << log.out.toStdString();

    const QString pcin = m_store.Path() + QStringLiteral("/KWVDSYS/ifs/QDLS/KWVD/PCIN/");
    const Outcome local = Emu({"path", "\\\\kwvdsys\\qdls\\kwvd\\pcin\\"});
    EXPECT_EQ(local.status, 0);
    EXPECT_EQ(local.out, pcin + u'\n');
    EXPECT_EQ(Emu({"path", pcin}).out, QStringLiteral("\\\\KWVDSYS\\QDLS\\KWVD\\PCIN\\\n"));
    EXPECT_EQ(Emu({"path", "\\\\NOSYS\\QDLS"}).status, 1);
}

TEST_F(Emuhost, AnInjectedFaultReachesTheCallerInAnotherProcess)
{
    ASSERT_EQ(Emu({"init"}).status, 0);
    ASSERT_EQ(Emu({"fail", "cwbCO_GetDefaultSysName", "8005", "--always", "--message", "KWV4001", "Host down."}).status,
              0);
    const cwbSV_ErrHandle error = NewErrorHandle();
    char name[255];
    unsigned long needed = 0;
    EXPECT_EQ(cwbCO_GetDefaultSysName(name, sizeof name, &needed, error), 8005u);
    EXPECT_EQ(cwbCO_GetDefaultSysName(name, sizeof name, &needed, error), 8005u);
    EXPECT_EQ(Messages(error), (std::vector<std::string>{"KWV4001: Host down.", "KWV4001: Host down."}));
    ASSERT_EQ(Emu({"fail", "clear"}).status, 0);
    EXPECT_EQ(cwbCO_GetDefaultSysName(name, sizeof name, &needed, error), kCwbOk);
    EXPECT_EQ(Emu({"fail", "cwbRC_RunCmd", "0"}).status, 1);
}

TEST_F(Emuhost, RunsAtTheSameTimeLoseNoChange)
{
    ASSERT_EQ(Emu({"init"}).status, 0);
    QObject owner;
    std::vector<QProcess*> processes;
    for (int i = 0; i < 6; ++i) {
        processes.push_back(Start({"system", "add", QStringLiteral("PARALLEL%1").arg(i)}, &owner));
        processes.push_back(Start({"run", "KWVDSYS", "ADDLIBLE KWVD"}, &owner));
    }
    for (QProcess* process : processes)
        EXPECT_EQ(Finish(process).status, 0);

    const auto state = ReadStore();
    ASSERT_TRUE(state);
    EXPECT_EQ(state->systems.size(), 7u);
    // Every run took a job number of its own and left its line.
    std::set<std::string> jobs;
    const QStringList lines =
        QString::fromStdString(JobLog(QStringLiteral("KWVDSYS"))).split(u'\n', Qt::SkipEmptyParts);
    for (const QString& line : lines)
        jobs.insert(line.section(u' ', 2, 2).toStdString());
    EXPECT_EQ(lines.size(), 6);
    EXPECT_EQ(jobs.size(), 6u);
}

TEST_F(Emuhost, DataQueuesAreCreatedFilledReadAndCleared)
{
    Add(System(QStringLiteral("KWVDSYS")));
    Library(QStringLiteral("KWVDSYS"), QStringLiteral("KWVD"));
    const auto Dtaq = [](const QStringList& arguments) { return Emu(QStringList{QStringLiteral("dtaq")} + arguments); };
    ASSERT_EQ(Dtaq({"create", "KWVDSYS", "KWVD/ABCDEFI", "--description", "Qorvane Client DataQueue"}).status, 0);
    ASSERT_EQ(Dtaq({"create", "KWVDSYS", "kwvd/REPLIES", "--max-length", "100", "--force-to-disk", "off",
                    "--record-sender", "on"})
                  .status,
              0);
    const Outcome again = Dtaq({"create", "KWVDSYS", "KWVD/ABCDEFI"});
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.err, QStringLiteral("emuhost: KWV7001 Data queue KWVD/ABCDEFI already exists.\n"));
    EXPECT_EQ(Dtaq({"create", "KWVDSYS", "KWVD/BIG", "--max-length", "64513"}).status, 1);

    EXPECT_EQ(Dtaq({"put", "KWVDSYS", "KWVD/ABCDEFI", "Hello"}).status, 0);
    EXPECT_EQ(Dtaq({"put", "KWVDSYS", "KWVD/ABCDEFI", "c1c2", "--hex"}).status, 0);
    EXPECT_EQ(Dtaq({"put", "KWVDSYS", "KWVD/ABCDEFI", "c1c", "--hex"}).status, 1) << "half a byte";
    EXPECT_EQ(Dtaq({"list", "KWVDSYS"}).out,
              QStringLiteral("KWVD/ABCDEFI max-length=512 force-to-disk=on record-sender=off entries=2 "
                             "description=\"Qorvane Client DataQueue\"\n"
                             "KWVD/REPLIES max-length=100 force-to-disk=off record-sender=on entries=0 "
                             "description=\"\"\n"));

    // Put as text, the entry is in the system's CCSID (285).
    const Outcome hex = Dtaq({"get", "KWVDSYS", "KWVD/ABCDEFI", "--hex"});
    EXPECT_EQ(hex.status, 0);
    EXPECT_EQ(hex.out, QStringLiteral("c885939396\n"));
    const Outcome text = Dtaq({"get", "KWVDSYS", "KWVD/ABCDEFI"});
    EXPECT_EQ(text.status, 0);
    EXPECT_EQ(text.out, QStringLiteral("AB\n"));
    const Outcome none = Dtaq({"get", "KWVDSYS", "KWVD/ABCDEFI", "--wait", "1"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err, QStringLiteral("emuhost: no entry in KWVD/ABCDEFI\n"));

    EXPECT_EQ(Dtaq({"put", "KWVDSYS", "KWVD/ABCDEFI", "gone"}).status, 0);
    EXPECT_EQ(Dtaq({"clear", "KWVDSYS", "KWVD/ABCDEFI"}).status, 0);
    EXPECT_EQ(Dtaq({"get", "KWVDSYS", "KWVD/ABCDEFI"}).status, 1);
    const Outcome missing = Dtaq({"clear", "KWVDSYS", "KWVD/NONE"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, QStringLiteral("emuhost: KWV7003 Data queue KWVD/NONE not found.\n"));
    EXPECT_EQ(Dtaq({"put", "KWVDSYS", "ABCDEFI", "x"}).status, 2) << "no library given";
}
