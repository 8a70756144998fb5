// emuhost: the emulated host's store from the command line. Every change
// goes through the same store calls as the programs that use the host, so
// it is safe while they run.

#include "platform/clientaccess/CommandRunner.h"
#include "platform/clientaccess/Faults.h"
#include "platform/clientaccess/HostSetup.h"
#include "platform/clientaccess/HostStore.h"
#include "platform/clientaccess/emuhost/DataQueueCommands.h"
#include "platform/clientaccess/hostfolders/HostFolders.h"
#include "platform/clientaccess/emuhost/ConsoleOutput.h"

#include "SpooledFileCommands.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <cstdio>

using namespace kwvd::clientaccess;

using emuhost::Fail;
using emuhost::Print;

namespace {

const char kUsage[] =
    "usage: emuhost COMMAND ...\n"
    "  init [SYSTEM]                      a first system (default KWVDSYS), CCSID 285, library KWVD,\n"
    "                                     the output queue KWVD/QPRINT with a sample spooled file\n"
    "  system add NAME [--ccsid N] [--user USER] [--file-server NAME]... [--library LIB]...\n"
    "                  [--unreachable] [--refuse-signon] [--default]\n"
    "  system list\n"
    "  system remove NAME                 the system's files stay in the store\n"
    "  library add SYSTEM LIB\n"
    "  program add SYSTEM LIB/PGM EXECUTABLE [ARG...]\n"
    "  joblog SYSTEM\n"
    "  path PATH                          \\\\SYSTEM\\... to a local path, or a local path to \\\\SYSTEM\\...\n"
    "  run SYSTEM \"COMMAND\"               exit status 1 when the host gave messages\n"
    "  fail OPERATION CODE [--always] [--message ID TEXT]\n"
    "  fail clear\n"
    "  outq create SYSTEM LIB/QUEUE\n"
    "  outq list SYSTEM [LIB]\n"
    "  splf add SYSTEM LIB/QUEUE FILE --from BYTES [--user U] [--user-data D] [--pages N]\n"
    "           [--date CYYMMDD] [--time HHMMSS] [--dbcs-data V] [--dbcs-extensions V] [--char-set V]\n"
    "           [--page-unit V] [--page-width N] [--page-length N] [--overflow-line N]\n"
    "  splf list SYSTEM LIB/QUEUE         the spooled files with their attributes\n"
    "  splf dump SYSTEM LIB/QUEUE NUMBER [--raw]\n"
    "  splf remove SYSTEM LIB/QUEUE NUMBER\n"
    "The store is $KWVD_EMUHOST, else $XDG_DATA_HOME/kwvd-emuhost.\n";

int Usage()
{
    std::fputs(kUsage, stderr);
    std::fputs(kDataQueueUsage, stderr);
    return 2;
}

bool ParseNumber(const QString& text, unsigned long limit, unsigned long* value)
{
    bool ok = false;
    const qulonglong number = text.toULongLong(&ok);
    if (!ok || number > limit)
        return false;
    *value = static_cast<unsigned long>(number);
    return true;
}

int AddSystemCommand(const QStringList& args)
{
    if (args.isEmpty())
        return Usage();
    HostSystem system;
    system.name = args[0];
    bool makeDefault = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& option = args[i];
        const bool hasValue = i + 1 < args.size();
        if (option == u"--ccsid" && hasValue) {
            unsigned long ccsid = 0;
            if (!ParseNumber(args[++i], 65535, &ccsid) || ccsid == 0)
                return Fail(QStringLiteral("CCSID %1 is not valid").arg(args[i]));
            system.ccsid = static_cast<unsigned>(ccsid);
        } else if (option == u"--user" && hasValue) {
            system.userId = args[++i];
        } else if (option == u"--file-server" && hasValue) {
            system.fileServerNames.append(args[++i]);
        } else if (option == u"--library" && hasValue) {
            system.initialLibraries.append(args[++i]);
        } else if (option == u"--unreachable") {
            system.reachable = false;
        } else if (option == u"--refuse-signon") {
            system.refusesSignon = true;
        } else if (option == u"--default") {
            makeDefault = true;
        } else {
            return Usage();
        }
    }
    QString error;
    return AddSystem(system, makeDefault, &error) ? 0 : Fail(error);
}

int ListSystems()
{
    QString error;
    const std::optional<StoreState> state = ReadStore(&error);
    if (!state)
        return Fail(error);
    const HostSystem* defaultSystem = DefaultSystem(*state);
    for (const HostSystem& system : state->systems) {
        QString line = system.name;
        line += system.ccsid ? QStringLiteral(" ccsid=%1").arg(system.ccsid) : QStringLiteral(" ccsid=none");
        line += QStringLiteral(" user=") + system.userId;
        line += QStringLiteral(" file-servers=") + system.FileServerNames().join(u',');
        line += QStringLiteral(" libraries=") + system.initialLibraries.join(u',');
        if (!system.reachable)
            line += QStringLiteral(" unreachable");
        if (system.refusesSignon)
            line += QStringLiteral(" refuses-signon");
        for (const RegisteredProgram& program : system.programs)
            line += QStringLiteral(" program=%1/%2").arg(program.library, program.program);
        if (&system == defaultSystem)
            line += QStringLiteral(" default");
        Print(line + u'\n');
    }
    return 0;
}

int ShowJobLog(const QString& systemName)
{
    QString error;
    const std::optional<StoreState> state = ReadStore(&error);
    if (!state)
        return Fail(error);
    const HostSystem* system = FindSystem(*state, systemName);
    if (!system)
        return Fail(QStringLiteral("system %1 is not configured").arg(systemName));
    QFile log(JobLogPath(system->name));
    if (!log.exists())
        return 0;
    if (!log.open(QIODevice::ReadOnly))
        return Fail(QStringLiteral("cannot read %1: %2").arg(log.fileName(), log.errorString()));
    Print(QString::fromUtf8(log.readAll()));
    return 0;
}

int MapPath(const QString& path)
{
    using namespace kwvd::hostfolders;
    const QString mapped = IsHostPath(path) ? LocalPathOfHostPath(path) : HostPathOfLocalPath(path);
    if (mapped.isEmpty())
        return Fail(QStringLiteral("%1 is in no configured system's file system").arg(path));
    Print(mapped + u'\n');
    return 0;
}

int RunCommand(const QString& systemName, const QString& command)
{
    std::vector<HostMessage> messages;
    const unsigned result = RunHostCommand(systemName, command, &messages);
    for (const HostMessage& message : messages)
        Print(QString::fromStdString(message.id + " " + message.text + "\n"));
    return result == kCwbOk ? 0 : 1;
}

int FailCommand(const QStringList& args)
{
    if (args.size() == 1 && args[0] == u"clear")
        return ClearInjectedFaults() ? 0 : Fail(QStringLiteral("the store cannot be written"));
    if (args.size() < 2)
        return Usage();
    unsigned long code = 0;
    if (!ParseNumber(args[1], 0xFFFFFFFFul, &code) || code == 0)
        return Fail(QStringLiteral("result code %1 is not valid").arg(args[1]));
    bool once = true;
    QString id;
    QString text;
    for (qsizetype i = 2; i < args.size(); ++i) {
        if (args[i] == u"--always") {
            once = false;
        } else if (args[i] == u"--message" && i + 2 < args.size()) {
            id = args[++i];
            text = args[++i];
        } else {
            return Usage();
        }
    }
    const bool set = SetInjectedFault(args[0].toLatin1().constData(), static_cast<unsigned>(code),
                                      id.toLatin1().constData(), text.toLatin1().constData(), once);
    return set ? 0 : Fail(QStringLiteral("the store cannot be written"));
}

int Dispatch(const QStringList& args)
{
    if (args.isEmpty())
        return Usage();
    const QString& command = args[0];
    const qsizetype count = args.size();
    QString error;
    if (command == u"init" && count <= 2)
        return InitialiseHost(count == 2 ? args[1] : QString(), &error) && AddSampleQueue(&error) ? 0 : Fail(error);
    if (command == u"system" && count >= 2) {
        if (args[1] == u"add")
            return AddSystemCommand(args.mid(2));
        if (args[1] == u"list" && count == 2)
            return ListSystems();
        if (args[1] == u"remove" && count == 3)
            return RemoveSystem(args[2], &error) ? 0 : Fail(error);
    }
    if (command == u"library" && count == 4 && args[1] == u"add")
        return AddLibrary(args[2], args[3], &error) ? 0 : Fail(error);
    if (command == u"program" && count >= 5 && args[1] == u"add") {
        const QStringList name = args[3].split(u'/');
        if (name.size() != 2)
            return Fail(QStringLiteral("program %1 is not of the form LIB/PGM").arg(args[3]));
        return AddProgram(args[2], {name[0], name[1], args[4], args.mid(5)}, &error) ? 0 : Fail(error);
    }
    if (command == u"joblog" && count == 2)
        return ShowJobLog(args[1]);
    if (command == u"path" && count == 2)
        return MapPath(args[1]);
    if (command == u"run" && count == 3)
        return RunCommand(args[1], args[2]);
    if (command == u"fail" && count >= 2)
        return FailCommand(args.mid(1));
    if (command == u"outq")
        return OutputQueueCommand(args.mid(1));
    if (command == u"splf")
        return SpooledFileCommand(args.mid(1));
    if (command == u"dtaq")
        return DataQueueCommand(args.mid(1));
    return Usage();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    return Dispatch(application.arguments().mid(1));
}
