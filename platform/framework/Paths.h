#pragma once
// Path helpers of the designer. On Linux "/" is the one separator, there are
// no drives, and names keep their case and are compared exactly. No fixed path
// length applies, so none of these helpers fails because a path is long.

#include "platform/framework/Types.h"

#include <QString>
#include <QStringList>

// The process's current directory (no closing "/" except for the root);
// empty when it cannot be read.
QString GetCurrentFolder();

// The full path of path, with "." and ".." collapsed and repeated "/" removed;
// a closing "/" is kept. A relative path is completed against baseFolder, or
// against the current folder when baseFolder is empty or does not name an
// existing folder (a document's own file name, say). The current directory is
// never changed. An empty path, or one that needs the current folder when it
// cannot be read, comes back unchanged.
QString MakeAbsolutePath(const QString& path, const QString& baseFolder);

// dir ends with "/" when there is one; drive is always empty here. ext runs
// from the last dot of the file name and keeps the dot, except that dots
// opening the name (".profile", "..") do not start an extension.
void SplitPathComponents(const QString& path, QString& drive, QString& dir, QString& name, QString& ext);

void SplitPathParts(const QString& path, QString& folder, QString& title, QString& ext);
void SplitPathFolderFile(const QString& path, QString& folder, QString& file);

// The folder part of path with its closing "/", or empty.
QString GetPathFolder(const QString& path);

// TRUE when path names an existing directory (or a link to one).
BOOL IsDirectory(const QString& path);

// Rewrites an absolute path relative to the folder of baseFile, one whole
// component at a time: "Images/a.bmp" below it, "../" per level climbed
// elsewhere, the bare file name in the same folder. When either path is not
// absolute there is no common root: path stays as it is. Always TRUE.
BOOL MakeRelativePath(QString& path, const QString& baseFile);

namespace kwvd {

// A path as a file written on Windows stores it ("C:\Docs\Logo.BMP",
// "Images\logo.bmp", "\\SYS\QDLS\x"): split at both separators, its drive
// dropped, empty components skipped; "." and ".." are kept.
QStringList SplitStoredPath(const QString& stored);

// Finds the local file a stored path means, below searchFolder (the current
// folder when empty). Each component is taken as it is when it exists and
// otherwise matched without regard to case. A stored path that was absolute
// cannot exist here as it stands, so its longest tail found below the folder
// wins, down to the file name alone. Empty when nothing is found.
QString ResolveStoredPath(const QString& stored, const QString& searchFolder);

} // namespace kwvd
