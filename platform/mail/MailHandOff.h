#pragma once
// The mail hand-off: a message with attachments given to the desktop's mail
// program through xdg-email, where the user addresses and sends it. The
// hand-off returns as soon as the mail program has the message, so the
// attachments must stay on disk after it: the mail program reads them later,
// perhaps after the caller has ended.
//
// Whether mail can be handed over is worked out once per process: xdg-email
// must be found on the PATH and be runnable. The program is started through
// a launcher that tests replace with a recorder.

#include <QString>
#include <QStringList>

#include <functional>

namespace kwvd {

inline constexpr char kMailProgram[] = "xdg-email";

struct MailMessage
{
    QString subject;
    QString body;
    QStringList attachments; // paths of existing files
    QStringList recipients;  // "to" addresses
};

enum class MailSystemState {
    Available = 0,
    Missing = 1,     // no xdg-email on the PATH
    NotRunnable = 2, // found, but none of them may be run
};

// The state of the process, worked out on the first call.
MailSystemState GetMailSystemState();
// The runnable xdg-email found; empty unless the state is Available.
QString MailProgramPath();
// Forgets the answer, so the next call looks at the PATH again.
void ResetMailSystemState();

// Runs the program with the arguments and waits for it to end: its exit
// status, or -1 when it could not be started or did not end normally.
using MailLauncher = std::function<int(const QString& program, const QStringList& arguments)>;

// Installs the launcher every hand-off of the process goes through; an empty
// one puts back the one that starts the program. Returns the one installed
// before (empty when it was the real one).
MailLauncher SetMailLauncher(MailLauncher launcher);

// The program's arguments: "--utf8", the subject and the body (each only when
// not empty), one "--attach" per file, then the recipients.
QStringList MailArguments(const MailMessage& message);

// 0 when the mail program took the message; otherwise the program's exit
// status, or -1 when it is not available or could not be run.
int HandOverMail(const MailMessage& message);

} // namespace kwvd
