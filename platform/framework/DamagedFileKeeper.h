#pragma once
// A file that several runs and designer processes share (the master device
// list, the printer offsets presets) and that a read could not make sense
// of must not vanish under what little was read from it. The reader says
// when the file was there but could not be read; the next write then first
// keeps it as "<name>.damaged" (replacing an older one) and says so once.
// A missing file is no failure: the first run simply has none.

#include "platform/framework/Exceptions.h"

#include <QString>

#include <functional>

namespace kwvd {

class DamagedFileKeeper
{
public:
    // Called with the file's path and the path it was kept as.
    using Tell = std::function<void(const QString& path, const QString& kept)>;

    // A new read starts: what an earlier one found no longer counts.
    void ReadStarting() { m_readFailed = false; }
    // The file was read in part or not at all.
    void ReadFailed() { m_readFailed = true; }
    // The file could not be opened for reading; a missing one is no failure.
    // True when the file is there all the same.
    bool OpenFailed(const CFileException& error, const QString& path);
    bool HasReadFailed() const { return m_readFailed; }

    // Before path is written: after a failed read, a file still there is
    // moved aside and tell is called. The old file is moved only once: the
    // write that follows makes a new one in its place.
    void KeepBeforeWrite(const QString& path, const Tell& tell);
    // A new file stands: nothing is left to keep.
    void WriteSucceeded() { m_readFailed = false; }

private:
    bool m_readFailed = false;
};

} // namespace kwvd
