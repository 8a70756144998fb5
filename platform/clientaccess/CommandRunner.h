#pragma once
// The emulated host's command runner. A job is one connection: it starts
// with the system's initial library list and runs commands one after the
// other. It carries out the few commands the host's callers send (ADDLIBLE,
// CALL of PCWVDCL and of the system's registered programs, SBMJOB of CRTWVD)
// and fails every other with a message naming it. Each command goes into the
// system's job log with its messages; one that succeeds gives none.

#include "platform/clientaccess/HostMessages.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace kwvd::clientaccess {

struct HostJob
{
    QString system; // the system's name as configured
    QString user;
    unsigned long number = 0;
    QStringList libraryList;
};

// Starts a job on a reachable system. kCwbUnknownSystem,
// kCwbSystemUnreachable or kCwbStoreError, with *error saying why.
unsigned StartHostJob(const QString& systemName, HostJob* job, QString* error);

// Runs one command text in the job. kCwbOk when the host gave no message,
// kCwbCommandFailed with the messages in *messages otherwise, kCwbStoreError
// when the store cannot be used (with a message too).
unsigned RunInJob(HostJob& job, const QString& commandText, std::vector<HostMessage>* messages);

// A job of its own for one command: how the fake upload server and emuhost
// run a command.
unsigned RunHostCommand(const QString& systemName, const QString& commandText, std::vector<HostMessage>* messages);

// The identity the job log shows: number, user and job name, "000042/JSMITH/RMTCMD".
QString JobIdentity(const HostJob& job);

} // namespace kwvd::clientaccess
