#pragma once
// emuhost's data-queue commands: "emuhost dtaq ...".

#include <QStringList>

namespace kwvd::clientaccess {

// The usage lines of the commands, each ending in a line feed.
extern const char kDataQueueUsage[];

// Runs "dtaq" with the arguments after it; the program's exit status (2:
// not a command of this group).
int DataQueueCommand(const QStringList& args);

} // namespace kwvd::clientaccess
