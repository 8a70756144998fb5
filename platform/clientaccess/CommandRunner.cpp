#include "platform/clientaccess/CommandRunner.h"

#include "platform/clientaccess/ClCommand.h"
#include "platform/clientaccess/HostStore.h"
#include "platform/clientaccess/LayerText.h"

#include "platform/framework/Clock.h"
#include "platform/framework/Exceptions.h"
#include "platform/framework/SafeFileSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <array>

namespace kwvd::clientaccess {

namespace {

const QString kPcwvdcl = QStringLiteral("PCWVDCL");

// The keywords CRTWVD takes when it is submitted.
const QStringList kCrtWvdKeywords = {
    QStringLiteral("SFILE"),  QStringLiteral("FILE"),     QStringLiteral("USRPRF"),
    QStringLiteral("OUTQ"),   QStringLiteral("FORMTYPE"), QStringLiteral("USRDTA"),
    QStringLiteral("SPLSTS"), QStringLiteral("MOUTQ"),    QStringLiteral("WVDNAM"),
};

struct QtMessage
{
    QString id;
    QString text;
};

// One command's run: the job it runs in, the store as it is under the lock,
// and the messages it gives.
class CommandRun
{
public:
    CommandRun(HostJob& job, const StoreState& state) : m_job(job), m_state(state) {}

    void Run(const QString& text)
    {
        QString error;
        QString name;
        const std::optional<ClCommand> command = ParseClCommand(text, &error, &name);
        if (!command) {
            if (name.isEmpty())
                Message(QStringLiteral("KWV2002"), QStringLiteral("Command text not valid: %1.").arg(error));
            else
                Message(QStringLiteral("KWV2002"), QStringLiteral("Command %1 not valid: %2.").arg(name, error));
            return;
        }
        if (command->name == u"ADDLIBLE")
            AddLibraryListEntry(*command);
        else if (command->name == u"CALL")
            Call(*command);
        else if (command->name == u"SBMJOB")
            SubmitJob(*command);
        else
            Message(QStringLiteral("KWV2001"), QStringLiteral("Command %1 not found.").arg(command->name));
    }

    const std::vector<QtMessage>& Messages() const { return m_messages; }

private:
    void Message(const QString& id, const QString& text) { m_messages.push_back({id, text}); }

    // The values of a command's parameters by keyword, the positional ones
    // taken in the order of keywords; false with a message for anything else.
    bool Bind(const ClCommand& command, const QStringList& keywords, std::vector<std::optional<QString>>* values)
    {
        values->assign(keywords.size(), std::nullopt);
        qsizetype positional = 0;
        for (const ClParameter& parameter : command.parameters) {
            qsizetype index = -1;
            if (parameter.keyword.isEmpty()) {
                if (positional >= keywords.size()) {
                    Message(QStringLiteral("KWV2004"),
                            QStringLiteral("Too many parameters by position for command %1 (at most %2).")
                                .arg(command.name)
                                .arg(keywords.size()));
                    return false;
                }
                index = positional++;
            } else {
                index = keywords.indexOf(parameter.keyword);
                if (index < 0) {
                    Message(
                        QStringLiteral("KWV2003"),
                        QStringLiteral("Keyword %1 not valid for command %2.").arg(parameter.keyword, command.name));
                    return false;
                }
            }
            if ((*values)[index]) {
                Message(QStringLiteral("KWV2003"), QStringLiteral("Keyword %1 given more than once for command %2.")
                                                       .arg(keywords[index], command.name));
                return false;
            }
            (*values)[index] = parameter.value;
        }
        return true;
    }

    void AddLibraryListEntry(const ClCommand& command)
    {
        std::vector<std::optional<QString>> values;
        if (!Bind(command, {QStringLiteral("LIB")}, &values))
            return;
        const QString library = values[0].value_or(QString()).trimmed().toUpper();
        if (library.isEmpty()) {
            Message(QStringLiteral("KWV2005"), QStringLiteral("Command ADDLIBLE needs a library."));
            return;
        }
        if (!IsValidObjectName(library) || !LibraryExists(m_job.system, library)) {
            Message(QStringLiteral("KWV2101"), QStringLiteral("Library %1 not found.").arg(library));
            return;
        }
        if (m_job.libraryList.contains(library, Qt::CaseInsensitive)) {
            Message(QStringLiteral("KWV2102"),
                    QStringLiteral("Library %1 already exists in library list.").arg(library));
            return;
        }
        // The host adds at the front unless told otherwise.
        m_job.libraryList.prepend(library);
    }

    void Call(const ClCommand& command)
    {
        std::vector<std::optional<QString>> values;
        if (!Bind(command, {QStringLiteral("PGM"), QStringLiteral("PARM")}, &values))
            return;
        if (!values[0] || values[0]->isEmpty()) {
            Message(QStringLiteral("KWV2005"), QStringLiteral("Command CALL needs a program."));
            return;
        }
        const std::optional<QualifiedName> program = ParseQualifiedName(*values[0]);
        if (!program) {
            Message(QStringLiteral("KWV2006"), QStringLiteral("Program name %1 not valid.").arg(*values[0]));
            return;
        }
        QString error;
        const auto parameters = SplitClElements(values[1].value_or(QString()), &error);
        if (!parameters) {
            Message(QStringLiteral("KWV2002"), QStringLiteral("Command CALL not valid: %1.").arg(error));
            return;
        }

        const HostSystem* system = FindSystem(m_state, m_job.system);
        const bool fromList = program->library.isEmpty() || program->library.startsWith(u'*');
        if (!fromList && !LibraryExists(m_job.system, program->library)) {
            Message(QStringLiteral("KWV2101"), QStringLiteral("Library %1 not found.").arg(program->library));
            return;
        }
        const QStringList libraries = fromList ? m_job.libraryList : QStringList{program->library};
        for (const QString& library : libraries) {
            if (system) {
                for (const RegisteredProgram& registered : system->programs) {
                    if (registered.library.compare(library, Qt::CaseInsensitive) == 0
                        && registered.program.compare(program->object, Qt::CaseInsensitive) == 0) {
                        StartRegistered(registered, *parameters);
                        return;
                    }
                }
            }
            if (program->object == kPcwvdcl && LibraryExists(m_job.system, library)) {
                ImportJvx(library.toUpper(), *parameters);
                return;
            }
        }
        if (fromList)
            Message(QStringLiteral("KWV2201"),
                    QStringLiteral("Program %1 not found in the library list.").arg(program->object));
        else
            Message(QStringLiteral("KWV2201"),
                    QStringLiteral("Program %1 in library %2 not found.").arg(program->object, program->library));
    }

    // PCWVDCL: the JVX file a designer left in the library's PCIN folder
    // becomes the library's WVD member.
    void ImportJvx(const QString& programLibrary, const std::vector<ClElement>& parameters)
    {
        if (parameters.empty() || parameters.size() > 2) {
            Message(QStringLiteral("KWV2301"),
                    QStringLiteral("Program PCWVDCL takes a member and a library; %1 parameters given.")
                        .arg(parameters.size()));
            return;
        }
        const QString member = parameters[0].text.toUpper();
        const QString library = parameters.size() > 1 ? parameters[1].text.toUpper() : programLibrary;
        if (!IsValidObjectName(member)) {
            Message(QStringLiteral("KWV2302"), QStringLiteral("Member name %1 not valid.").arg(member));
            return;
        }
        if (!IsValidObjectName(library) || !LibraryExists(m_job.system, library)) {
            Message(QStringLiteral("KWV2101"), QStringLiteral("Library %1 not found.").arg(library));
            return;
        }
        const QString hostName = QStringLiteral("/QDLS/%1/PCIN/%2.JVX").arg(library, member);
        bool exists = false;
        const QString path = ResolveIgnoringCase(
            IfsFolder(m_job.system),
            {QStringLiteral("QDLS"), library, QStringLiteral("PCIN"), member + QStringLiteral(".JVX")}, &exists);
        QFile file(path);
        if (!exists || !QFileInfo(path).isFile()) {
            Message(QStringLiteral("KWV2303"), QStringLiteral("File %1 not found.").arg(hostName));
            return;
        }
        if (!file.open(QIODevice::ReadOnly)) {
            Message(QStringLiteral("KWV2304"),
                    QStringLiteral("File %1 cannot be read: %2.").arg(hostName, file.errorString()));
            return;
        }
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            Message(QStringLiteral("KWV2304"),
                    QStringLiteral("File %1 cannot be read: %2.").arg(hostName, file.errorString()));
            return;
        }
        if (!HasJvxHeaderWord(bytes)) {
            Message(QStringLiteral("KWV2305"), QStringLiteral("File %1 is not a JVX file.").arg(hostName));
            return;
        }
        const QString target = WvdMemberPath(m_job.system, library, member);
        QString reason;
        if (!QDir().mkpath(QFileInfo(target).path())) {
            reason = QStringLiteral("the file APRTPDM cannot be created");
        } else {
            try {
                kwvd::SaveFileReplacing(target, [&bytes](CFile& out) {
                    if (!bytes.isEmpty())
                        out.Write(bytes.constData(), static_cast<UINT>(bytes.size()));
                });
            } catch (const CException& exception) {
                reason = exception.GetErrorMessage();
            }
        }
        if (!reason.isEmpty())
            Message(QStringLiteral("KWV2306"),
                    QStringLiteral("Member %1 in library %2 not stored: %3").arg(member, library, reason));
    }

    // "JVX" and a three-digit version, in ASCII or in EBCDIC.
    static bool HasJvxHeaderWord(const QByteArray& bytes)
    {
        if (bytes.size() < 6)
            return false;
        const auto byte = [&](int i) { return static_cast<unsigned char>(bytes[i]); };
        const bool ascii = bytes.startsWith("JVX");
        const bool ebcdic = byte(0) == 0xD1 && byte(1) == 0xE5 && byte(2) == 0xE7;
        for (int i = 3; i < 6; ++i) {
            const bool digit = ascii ? (byte(i) >= '0' && byte(i) <= '9') : (byte(i) >= 0xF0 && byte(i) <= 0xF9);
            if (!digit)
                return false;
        }
        return ascii || ebcdic;
    }

    // A registered executable starts with its fixed arguments and the CALL's
    // parameters; the host does not wait for it, as a program that submits
    // its own server job returns at once.
    void StartRegistered(const RegisteredProgram& program, const std::vector<ClElement>& parameters)
    {
        QStringList arguments = program.arguments;
        for (const ClElement& parameter : parameters)
            arguments.append(parameter.text);
        QProcess process;
        process.setProgram(program.executable);
        process.setArguments(arguments);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("KWVD_EMUHOST"), StoreRoot());
        environment.insert(QStringLiteral("KWVD_EMUHOST_SYSTEM"), m_job.system);
        process.setProcessEnvironment(environment);
        process.setStandardInputFile(QProcess::nullDevice());
        if (!process.startDetached())
            Message(QStringLiteral("KWV2202"),
                    QStringLiteral("Program %1/%2 could not be started: %3.")
                        .arg(program.library.toUpper(), program.program.toUpper(), process.errorString()));
    }

    void SubmitJob(const ClCommand& command)
    {
        std::vector<std::optional<QString>> values;
        if (!Bind(command, {QStringLiteral("CMD")}, &values))
            return;
        if (!values[0] || values[0]->isEmpty()) {
            Message(QStringLiteral("KWV2005"), QStringLiteral("Command SBMJOB needs a command."));
            return;
        }
        QString error;
        QString name;
        const std::optional<ClCommand> inner = ParseClCommand(*values[0], &error, &name);
        if (!inner) {
            Message(QStringLiteral("KWV2401"),
                    name.isEmpty() ? QStringLiteral("Command to submit not valid: %1.").arg(error)
                                   : QStringLiteral("Command %1 to submit not valid: %2.").arg(name, error));
            return;
        }
        if (inner->name != u"CRTWVD") {
            Message(QStringLiteral("KWV2001"), QStringLiteral("Command %1 not found.").arg(inner->name));
            return;
        }
        for (const ClParameter& parameter : inner->parameters) {
            if (parameter.keyword.isEmpty()) {
                Message(QStringLiteral("KWV2004"),
                        QStringLiteral("Command CRTWVD takes its parameters by keyword: %1.").arg(parameter.value));
                return;
            }
            if (!kCrtWvdKeywords.contains(parameter.keyword)) {
                Message(QStringLiteral("KWV2003"),
                        QStringLiteral("Keyword %1 not valid for command CRTWVD.").arg(parameter.keyword));
                return;
            }
        }
        // CRTWVD's own work is not emulated: the job log keeps the submission.
    }

    HostJob& m_job;
    const StoreState& m_state;
    std::vector<QtMessage> m_messages;
};

QString LogEntry(const HostJob& job, const QString& commandText, const std::vector<QtMessage>& messages)
{
    QString flat = commandText;
    flat.replace(u'\n', u' ').replace(u'\r', u' ');
    QString entry = kwvd::Clock::Now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + u' ' + JobIdentity(job) + u' '
                    + flat.trimmed() + u'\n';
    for (const QtMessage& message : messages)
        entry += QStringLiteral("  ") + message.id + u' ' + message.text + u'\n';
    return entry;
}

} // namespace

QString JobIdentity(const HostJob& job)
{
    return QStringLiteral("%1/%2/RMTCMD").arg(job.number, 6, 10, QChar(u'0')).arg(job.user);
}

unsigned StartHostJob(const QString& systemName, HostJob* job, QString* error)
{
    unsigned result = kCwbOk;
    const bool written = ChangeStore(
        [&](StoreState& state) {
            HostSystem* system = FindSystem(state, systemName);
            if (!system) {
                result = kCwbUnknownSystem;
                *error = QStringLiteral("System %1 is not configured.").arg(systemName);
                return false;
            }
            if (!system->reachable) {
                result = kCwbSystemUnreachable;
                *error = QStringLiteral("System %1 cannot be reached.").arg(system->name);
                return false;
            }
            job->system = system->name;
            job->user = system->userId.isEmpty() ? QStringLiteral("QUSER") : system->userId;
            job->number = system->nextJob;
            job->libraryList = system->initialLibraries;
            // Job numbers run to 999999 and then start again, as the host's do.
            system->nextJob = system->nextJob >= 999999 ? 1 : system->nextJob + 1;
            return true;
        },
        error);
    return written ? result : kCwbStoreError;
}

unsigned RunInJob(HostJob& job, const QString& commandText, std::vector<HostMessage>* messages)
{
    std::vector<QtMessage> given;
    QString logError;
    bool logged = false;
    QString storeError;
    const bool ran = ChangeStore(
        [&](StoreState& state) {
            CommandRun run(job, state);
            run.Run(commandText);
            given = run.Messages();
            logged = AppendJobLog(job.system, LogEntry(job, commandText, given), &logError);
            return false;
        },
        &storeError);
    if (!ran || !logged) {
        const QString reason = ran ? logError : storeError;
        if (messages)
            messages->push_back(
                {"KWV5001", ToInterfaceText(QStringLiteral("The emulated host's store cannot be used: ") + reason)});
        return kCwbStoreError;
    }
    if (messages) {
        for (const QtMessage& message : given)
            messages->push_back({ToInterfaceText(message.id), ToInterfaceText(message.text)});
    }
    return given.empty() ? kCwbOk : kCwbCommandFailed;
}

unsigned RunHostCommand(const QString& systemName, const QString& commandText, std::vector<HostMessage>* messages)
{
    HostJob job;
    QString error;
    const unsigned started = StartHostJob(systemName, &job, &error);
    if (started != kCwbOk) {
        if (messages)
            messages->push_back({"KWV1005", ToInterfaceText(error)});
        return started;
    }
    return RunInJob(job, commandText, messages);
}

} // namespace kwvd::clientaccess
