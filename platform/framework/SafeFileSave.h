#pragma once
// Writing a file so that a failure never damages the one it replaces: the
// bytes go to a new temporary file beside the target, which is renamed over
// it only when everything was written. A link is followed, so it stays a
// link, and the new file keeps the access rights of the old one.
//
// A target that must not be replaced is refused before anything is written:
// a folder, a special file other than a character device, and a file without
// any write permission bit. Read-only is judged from the mode bits, not by
// trying to open the file, so the superuser is refused too. A character
// device (/dev/null, a printer port) cannot be renamed over: it is written
// in place.
//
// Every CFileException that leaves here names the file as the caller named
// it, never the temporary file the user has not heard of.

#include "platform/framework/File.h"

#include <QString>

#include <functional>

namespace kwvd {

// Creates a new, empty file in the folder of target under a short name the
// host's folders accept, made from nameTemplate with "%1" standing for four
// digits ("~IMG%1.BAK" gives "~IMG0001.BAK"); never one that is there
// already. Throws CFileException, naming target, when none can be made.
QString CreateUnusedFileBeside(const QString& target, const QString& nameTemplate);

// Throws the CFileException a save to path would end in when the target
// may not be replaced (see above); returns when it may, or does not exist.
void CheckReplaceableTarget(const QString& path);

// One replacement in two steps, for callers that must know the target can
// be written before they start work they would have to undo (the JVX export
// writes image files beside its file).
class ReplacingFile
{
public:
    // Checks the target and opens the file to write into; throws the
    // CFileException that stops the save.
    explicit ReplacingFile(const QString& path);
    // Without Commit the temporary file goes and the target stays as it was.
    ~ReplacingFile();

    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Open for writing; its failures name the target.
    CFile& File() { return m_file; }
    // Where the bytes go, for a writer that opens the file by name (the image
    // formats): the temporary file, or a device written in place.
    const QString& WritePath() const { return m_temporary.isEmpty() ? m_target : m_temporary; }

    // Flushes the data to disk and puts the file in place of the target.
    void Commit();

private:
    QString m_path;      // as the caller named it, made absolute
    QString m_target;    // the file replaced: a link's destination
    QString m_temporary; // empty when a device is written in place
    CFile m_file;
    bool m_done = false;
};

// Calls write with the temporary file open for writing, then flushes it to
// disk and renames it over path. Any exception (a CFileException from the file
// operations, or whatever write throws) leaves the target as it was, removes
// the temporary file and passes on.
void SaveFileReplacing(const QString& path, const std::function<void(CFile&)>& write);

} // namespace kwvd
