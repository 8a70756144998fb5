#include "platform/mail/MailHandOff.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <mutex>
#include <optional>

#include <unistd.h>

namespace kwvd {

namespace {

struct MailSystem
{
    MailSystemState state = MailSystemState::Missing;
    QString program;
};

std::mutex& StateMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::optional<MailSystem>& CachedSystem()
{
    static std::optional<MailSystem> system;
    return system;
}

MailLauncher& InstalledLauncher()
{
    static MailLauncher launcher;
    return launcher;
}

// As the shell finds a program: the first runnable one along the PATH wins;
// one that may not be run is passed over, but tells us mail was meant to be
// there.
MailSystem FindMailProgram()
{
    MailSystem found;
    const QString path = qEnvironmentVariable("PATH");
    for (const QString& folder : path.split(u':', Qt::SkipEmptyParts)) {
        const QString candidate = QDir(folder).filePath(QString::fromLatin1(kMailProgram));
        const QFileInfo info(candidate);
        if (!info.exists() || info.isDir())
            continue;
        if (::access(QFile::encodeName(candidate).constData(), X_OK) == 0) {
            found.state = MailSystemState::Available;
            found.program = info.absoluteFilePath();
            return found;
        }
        found.state = MailSystemState::NotRunnable;
    }
    return found;
}

MailSystem CurrentSystem()
{
    std::lock_guard lock(StateMutex());
    std::optional<MailSystem>& cached = CachedSystem();
    if (!cached)
        cached = FindMailProgram();
    return *cached;
}

int RunProgram(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted())
        return -1;
    // xdg-email passes the message on and ends; the mail program it starts
    // lives on by itself.
    process.waitForFinished(-1);
    if (process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

} // namespace

MailSystemState GetMailSystemState()
{
    return CurrentSystem().state;
}

QString MailProgramPath()
{
    return CurrentSystem().program;
}

void ResetMailSystemState()
{
    std::lock_guard lock(StateMutex());
    CachedSystem().reset();
}

MailLauncher SetMailLauncher(MailLauncher launcher)
{
    MailLauncher previous = std::move(InstalledLauncher());
    InstalledLauncher() = std::move(launcher);
    return previous;
}

QStringList MailArguments(const MailMessage& message)
{
    QStringList arguments{QStringLiteral("--utf8")};
    // xdg-email refuses an option without its text.
    if (!message.subject.isEmpty())
        arguments << QStringLiteral("--subject") << message.subject;
    if (!message.body.isEmpty())
        arguments << QStringLiteral("--body") << message.body;
    for (const QString& attachment : message.attachments)
        arguments << QStringLiteral("--attach") << attachment;
    arguments << message.recipients;
    return arguments;
}

int HandOverMail(const MailMessage& message)
{
    const MailSystem system = CurrentSystem();
    if (system.state != MailSystemState::Available)
        return -1;
    const QStringList arguments = MailArguments(message);
    if (const MailLauncher& launcher = InstalledLauncher())
        return launcher(system.program, arguments);
    return RunProgram(system.program, arguments);
}

} // namespace kwvd
