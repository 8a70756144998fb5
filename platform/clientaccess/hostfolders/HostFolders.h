#pragma once
// The host's integrated file system as the PC sees it over the network:
// "\\NAME\rest" (either separator) is the folder rest of the system whose
// name or file-server name is NAME, kept in the emulated host's store at
// <store>/<system>/ifs/rest. Names of existing components are matched
// without regard to case, as the host's QDLS and QSYS.LIB file systems match
// them; a component that does not exist yet is taken as given, so a new file
// or folder gets the name it was asked for. "\\SYS\QSYS.LIB\KWVD.LIB"
// exists exactly when the library KWVD does.

#include <QString>

namespace kwvd::hostfolders {

// Whether path begins with two separators ("\\" or "//").
bool IsHostPath(const QString& path);

// The local path of a host path; a closing separator is kept. Empty when
// path is no host path, names no configured system, or climbs with "..".
QString LocalPathOfHostPath(const QString& hostPath);

// The "\\SYSTEM\..." form of a local path inside a system's file system
// (the system's own name, backslashes; a closing separator kept). Empty for
// a path outside every system's file system.
QString HostPathOfLocalPath(const QString& localPath);

} // namespace kwvd::hostfolders
