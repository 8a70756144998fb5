#pragma once
// Where JVX files are exported to and imported from, and the emptying of a
// scratch folder. Host folders are written as the host's network paths
// ("\\SYS\QDLS\LIB\PCIN\"); one mapping turns such a path into a folder of
// this machine and another gives a local folder's host form. The program
// installs both over the emulated host's folders; without them nothing maps,
// and the export folder falls back to the preference or the user's browsing.
//
// DefaultExportPath keeps a folder inside a host's file system in its host
// form, as the host names it (display devices carry its root into the JVX
// file), and every chooser opens the local folder it maps to.

#include <QString>

#include <functional>

// Gives the local folder for a host folder path, or empty when that host
// folder cannot be reached from here.
using HostFolderMapping = std::function<QString(const QString& hostFolder)>;

// Installs the mapping (an empty function: nothing maps) and returns the one
// installed before.
HostFolderMapping SetHostFolderMapping(HostFolderMapping mapping);
QString MapHostFolder(const QString& hostFolder);

// Gives the host form ("\\SYS\...\") of a local folder inside a host's file
// system, or empty for any other folder.
using HostFormOfFolder = std::function<QString(const QString& localFolder)>;
HostFormOfFolder SetHostFormOfFolder(HostFormOfFolder hostForm);

// The folder as DefaultExportPath keeps it: its host form when it lies in a
// host's file system, else the folder itself (the preference closes either
// with a separator).
QString ExportFolderToRemember(const QString& localFolder);
// A folder as a chooser opens it: a host path that maps as its local
// folder, anything else as given.
QString LocalExportFolder(const QString& folder);

// The preference DefaultExportPath (as its local folder); when empty, the
// default library's PCIN
// folder on the default system, tried as "\\S\..." and then "\\QS\...".
// When neither can be entered the user is told to browse for it, and the
// folder is the "\\S\..." form. A host folder that maps is given as the
// local folder it maps to.
void GetDefaultExportFolder(QString& folder);

// Removes everything below the folder and keeps the folder. A symbolic link
// is removed as a link, never followed, so nothing outside the folder goes.
// Failures are ignored: what cannot be removed stays.
void DeleteFolderContents(const QString& path);
