#pragma once
// emuhost's output-queue and spooled-file commands.

#include <QString>
#include <QStringList>

// outq create|list ...; the arguments after "outq".
int OutputQueueCommand(const QStringList& args);
// splf add|list|dump|remove ...; the arguments after "splf".
int SpooledFileCommand(const QStringList& args);

// The queue KWVD/QPRINT of the default system with the sample spooled file
// in it, for a store emuhost init has just made.
bool AddSampleQueue(QString* error);
