#pragma once
// Where JVX files are exported to and imported from, and the emptying of a
// scratch folder. Host folders are written as the host's network paths
// ("\\SYS\QDLS\LIB\PCIN\"); one mapping turns such a path into a folder of
// this machine. Until the emulated host offers its folders nothing maps, and
// the export folder falls back to the preference or the user's browsing.

#include <QString>

#include <functional>

// Gives the local folder for a host folder path, or empty when that host
// folder cannot be reached from here.
using HostFolderMapping = std::function<QString(const QString& hostFolder)>;

// Installs the mapping (an empty function: nothing maps) and returns the one
// installed before.
HostFolderMapping SetHostFolderMapping(HostFolderMapping mapping);
QString MapHostFolder(const QString& hostFolder);

// The preference DefaultExportPath; when empty, the default library's PCIN
// folder on the default system, tried as "\\S\..." and then "\\QS\...".
// When neither can be entered the user is told to browse for it, and the
// folder is the "\\S\..." form. A host folder that maps is given as the
// local folder it maps to.
void GetDefaultExportFolder(QString& folder);

// Removes everything below the folder and keeps the folder. A symbolic link
// is removed as a link, never followed, so nothing outside the folder goes.
// Failures are ignored: what cannot be removed stays.
void DeleteFolderContents(const QString& path);
