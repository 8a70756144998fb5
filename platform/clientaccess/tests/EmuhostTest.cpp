#include "EmulatedHostFixture.h"

#include "platform/clientaccess/OutputQueues.h"
#include "platform/clientaccess/SpooledFiles.h"
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

    // What the program wrote to its standard output, byte for byte.
    static QByteArray RawOutput(const QStringList& arguments)
    {
        QObject owner;
        QProcess* process = Start(arguments, &owner);
        EXPECT_TRUE(process->waitForFinished(30000));
        EXPECT_EQ(process->exitCode(), 0);
        return process->readAllStandardOutput();
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

TEST_F(Emuhost, SpooledFilesAreAddedListedDumpedAndRemoved)
{
    ASSERT_EQ(Emu({"system", "add", "KWVDSYS", "--user", "jsmith", "--library", "KWVD"}).status, 0);
    ASSERT_EQ(Emu({"outq", "create", "KWVDSYS", "kwvd/qprint"}).status, 0);
    EXPECT_EQ(Emu({"outq", "create", "KWVDSYS", "KWVD/QPRINT"}).err,
              QStringLiteral("emuhost: output queue KWVD/QPRINT exists already\n"));
    EXPECT_EQ(Emu({"outq", "create", "KWVDSYS", "NOLIB/QPRINT"}).err,
              QStringLiteral("emuhost: library NOLIB does not exist on KWVDSYS\n"));

    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(static_cast<char>(i));
    const QString from = m_store.FilePath(QStringLiteral("every-byte.bin"));
    QFile file(from);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
    file.close();

    const Outcome added = Emu({"splf", "add", "KWVDSYS", "kwvd/qprint", "report", "--from", from, "--user-data",
                               "MONTHLY", "--date", "1260304", "--time", "050607", "--pages", "3", "--char-set", "697"});
    ASSERT_EQ(added.status, 0) << added.err.toStdString();
    EXPECT_EQ(added.out, QStringLiteral("1\n"));
    EXPECT_EQ(Emu({"splf", "list", "KWVDSYS", "KWVD/QPRINT"}).out,
              QStringLiteral("1 file=REPORT user=JSMITH user-data=MONTHLY pages=3 date=1260304 time=050607 "
                             "dbcs-data=*NO dbcs-extensions=*NO char-set=697 page-unit=*ROWCOL page-width=132 "
                             "page-length=66 overflow-line=60\n"));
    EXPECT_EQ(RawOutput({"splf", "dump", "KWVDSYS", "KWVD/QPRINT", "1", "--raw"}), bytes);
    const QStringList hex = Emu({"splf", "dump", "KWVDSYS", "KWVD/QPRINT", "1"}).out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(hex.size(), 16);
    EXPECT_EQ(hex[0], QStringLiteral("00000000  00 01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f"));
    EXPECT_EQ(hex[15], QStringLiteral("000000f0  f0 f1 f2 f3 f4 f5 f6 f7 f8 f9 fa fb fc fd fe ff"));
    EXPECT_EQ(Emu({"outq", "list", "KWVDSYS"}).out, QStringLiteral("KWVD/QPRINT files=1\n"));

    struct Refused
    {
        const char* name;
        QStringList arguments;
    };
    const Refused refused[] = {
        {"a date out of range", {"splf", "add", "KWVDSYS", "KWVD/QPRINT", "R", "--from", from, "--date", "1261399"}},
        {"a time out of range", {"splf", "add", "KWVDSYS", "KWVD/QPRINT", "R", "--from", from, "--time", "245900"}},
        {"pages not a number", {"splf", "add", "KWVDSYS", "KWVD/QPRINT", "R", "--from", from, "--pages", "two"}},
        {"an unknown option", {"splf", "add", "KWVDSYS", "KWVD/QPRINT", "R", "--from", from, "--colour", "red"}},
        {"no --from", {"splf", "add", "KWVDSYS", "KWVD/QPRINT", "R"}},
        {"a missing queue", {"splf", "add", "KWVDSYS", "KWVD/NOPE", "R", "--from", from}},
        {"a missing file", {"splf", "dump", "KWVDSYS", "KWVD/QPRINT", "7"}},
    };
    for (const Refused& r : refused) {
        const Outcome outcome = Emu(r.arguments);
        EXPECT_EQ(outcome.status, 1) << r.name;
        EXPECT_TRUE(outcome.err.startsWith(u"emuhost: ")) << r.name;
    }

    EXPECT_EQ(Emu({"splf", "remove", "KWVDSYS", "KWVD/QPRINT", "1"}).status, 0);
    EXPECT_EQ(Emu({"splf", "list", "KWVDSYS", "KWVD/QPRINT"}).out, QString());
    EXPECT_EQ(Emu({"splf", "remove", "KWVDSYS", "KWVD/QPRINT", "1"}).status, 1);
    // Numbers are never given twice.
    EXPECT_EQ(Emu({"splf", "add", "KWVDSYS", "KWVD/QPRINT", "AGAIN", "--from", from}).out, QStringLiteral("2\n"));
}

TEST_F(Emuhost, SpooledFilesAddedAtTheSameTimeEachGetANumberOfTheirOwn)
{
    ASSERT_EQ(Emu({"init"}).status, 0);
    const QString from = m_store.FilePath(QStringLiteral("page.txt"));
    QFile file(from);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write("ONE PAGE"), 8);
    file.close();
    QObject owner;
    std::vector<QProcess*> processes;
    for (int i = 0; i < 6; ++i)
        processes.push_back(Start({"splf", "add", "KWVDSYS", "KWVD/QPRINT", QStringLiteral("F%1").arg(i), "--from", from},
                                  &owner));
    std::set<QString> numbers;
    for (QProcess* process : processes) {
        const Outcome outcome = Finish(process);
        EXPECT_EQ(outcome.status, 0) << outcome.err.toStdString();
        numbers.insert(outcome.out.trimmed());
    }
    // The sample took number 1.
    EXPECT_EQ(numbers, (std::set<QString>{"2", "3", "4", "5", "6", "7"}));
    EXPECT_EQ(SpooledFilesOf(QStringLiteral("KWVDSYS"), QStringLiteral("KWVD"), QStringLiteral("QPRINT")).size(), 7u);
}

// samples/sample-spool.scs, two pages of SCS in EBCDIC:
//   34 c4 01 34 c0 01                  AVPP line 1, AHPP column 1
//   d2 e6 e5 c4 40 e2 c1 d4 d7 d3 c5 40 d9 c5 d7 d6 d9 e3   "KWVD SAMPLE REPORT"
//   15 15                              NL, NL: the next text on line 3
//   c9 d5 e5 d6 c9 c3 c5 40 f1 f0 f0 f1 40 40 c4 c1 e3 c5 40 f2 f0 f2 f6 60 f0 f3 60 f0 f4
//                                      "INVOICE 1001  DATE 2026-03-04"
//   15                                 NL
//   e3 d6 e3 c1 d3                     "TOTAL"
//   0d                                 CR: the next text overstrikes
//   40 40 40 40 40 40 f4 f2 4b f5 f0   "      42.50", filling only blanks
//   15                                 NL
//   34 c0 0a                           AHPP column 10
//   c5 d5 c4 40 d6 c6 40 d7 c1 c7 c5 40 f1   "END OF PAGE 1"
//   0c                                 FF
//   34 c4 03 34 c0 05                  AVPP line 3, AHPP column 5
//   d7 c1 c7 c5 40 f2                  "PAGE 2"
//   15                                 NL
//   d3 c1 e2 e3 40 d3 c9 d5 c5         "LAST LINE"
//   0c                                 FF
TEST_F(Emuhost, InitPutsTheSampleSpooledFileIntoKwvdQprint)
{
    const QByteArray sample = QByteArray::fromHex(
        "34c40134c001"
        "d2e6e5c440e2c1d4d7d3c540d9c5d7d6d9e3"
        "1515"
        "c9d5e5d6c9c3c540f1f0f0f14040c4c1e3c540f2f0f2f660f0f360f0f4"
        "15"
        "e3d6e3c1d3"
        "0d"
        "404040404040f4f24bf5f0"
        "15"
        "34c00a"
        "c5d5c440d6c640d7c1c7c540f1"
        "0c"
        "34c40334c005"
        "d7c1c7c540f2"
        "15"
        "d3c1e2e340d3c9d5c5"
        "0c");
    QFile committed(QStringLiteral(KWVD_SOURCE_DIR "/samples/sample-spool.scs"));
    ASSERT_TRUE(committed.open(QIODevice::ReadOnly));
    EXPECT_EQ(committed.readAll(), sample);

    ASSERT_EQ(Emu({QStringLiteral("init")}).status, 0);
    cwbOBJ_ListHandle list = 0;
    ASSERT_EQ(cwbOBJ_CreateListHandle("KWVDSYS", kCwbObjListSplF, &list, 0), kCwbOk);
    ASSERT_EQ(cwbOBJ_SetListFilter(list, kKeyOutputQueue, "QPRINT", 0), kCwbOk);
    ASSERT_EQ(cwbOBJ_SetListFilter(list, kKeyLibrary, "KWVD", 0), kCwbOk);
    ASSERT_EQ(cwbOBJ_SetListFilter(list, kKeyUser, "*ALL", 0), kCwbOk);
    ASSERT_EQ(cwbOBJ_OpenList(list, 0), kCwbOk);
    unsigned long size = 0;
    ASSERT_EQ(cwbOBJ_GetListSize(list, &size, 0), kCwbOk);
    ASSERT_EQ(size, 1u);
    cwbOBJ_ObjHandle object = 0;
    ASSERT_EQ(cwbOBJ_GetObjHandle(list, 0, &object, 0), kCwbOk);
    std::int32_t pages = 0;
    unsigned type = 0;
    ASSERT_EQ(cwbOBJ_GetObjAttr(object, kKeyTotalPages, &pages, sizeof pages, nullptr, &type, 0), kCwbOk);
    EXPECT_EQ(type, kCwbObjLong);
    EXPECT_EQ(pages, 2);
    char user[11];
    ASSERT_EQ(cwbOBJ_GetObjAttr(object, kKeyUser, user, sizeof user, nullptr, &type, 0), kCwbOk);
    EXPECT_EQ(QString::fromLatin1(user), LoginUserId());

    ASSERT_EQ(cwbOBJ_OpenSplF(object, 0), kCwbOk);
    char block[1024];
    unsigned long count = 0;
    ASSERT_EQ(cwbOBJ_ReadSplF(object, block, sizeof block, &count, 0), kCwbOk);
    EXPECT_EQ(QByteArray(block, static_cast<qsizetype>(count)), sample);
    unsigned dataType = 0;
    ASSERT_EQ(cwbOBJ_AnalyzeSplFData(block, count, &dataType, 0), kCwbOk);
    EXPECT_EQ(dataType, kCwbObjDataScs);
    EXPECT_EQ(cwbOBJ_CloseSplF(object, 0), kCwbOk);
    EXPECT_EQ(cwbOBJ_DeleteObjHandle(object, 0), kCwbOk);
    EXPECT_EQ(cwbOBJ_DeleteListHandle(list, 0), kCwbOk);
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
