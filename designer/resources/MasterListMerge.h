#pragma once
// Saving a master list (fonts, font libraries, barcodes, output devices)
// that other designer processes share through one file. Each process reads
// the file when its first manager starts and writes it when its last one
// goes; written whole, the last to exit would drop what the others added.
// So a process remembers what it read (each entry's key and stored bytes),
// and its save re-reads the file under a lock and applies only what this
// process added, changed or deleted since; what other processes did stays.

#include "platform/framework/Object.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class CArchive;
class CObList;

namespace kwvd {

// The object as an archive of its own stores it.
QByteArray StoredBytes(const CObject* object);

class MasterListBaseline
{
public:
    using KeyOf = std::function<QString(const CObject*)>;

    // What the list holds right after it was read.
    void Record(const CObList& list, const KeyOf& keyOf);
    // This process's list is to replace the file's as a whole (a list that
    // was not read from the file, such as an imported one).
    void ReplaceWhole()
    {
        m_entries.clear();
        m_replaceWhole = true;
    }
    void Clear();

    // The entries to write: disk's entries in its order, with this
    // process's deletions taken out, its additions and changes put in (ours
    // in place of the disk's entry with the same key, new ones at the end).
    // Without a file to merge with (disk null) this process's list as it is.
    // Entries of both lists are only pointed at.
    std::vector<const CObject*> Merge(const CObList& memory, const CObList* disk, const KeyOf& keyOf) const;

    bool IsReplaceWhole() const { return m_replaceWhole; }

private:
    std::map<QString, QByteArray> m_entries;
    bool m_replaceWhole = false;
};

// Runs work while this process holds the master file's lock (an advisory
// lock on the folder that holds the file, which savers take in turn).
// Throws the CFileException of a folder that cannot be opened; work's
// exceptions pass through once the lock is let go.
void WithMasterFileLock(const QString& path, const std::function<void()>& work);

// Deletes every object of the list and empties it.
void DeleteListObjects(CObList& list);

// A list that owns its objects.
struct ListObjectsDeleter
{
    void operator()(CObList* list) const;
};
using OwnedObList = std::unique_ptr<CObList, ListObjectsDeleter>;

// Reads the list in the file at path with read (which fills the list from
// the archive); null when there is no such file or it cannot be read as a
// whole, in which case the saver writes its own list as it is.
OwnedObList ReadListFileForMerge(const QString& path, const std::function<void(CArchive&, CObList&)>& read);

} // namespace kwvd
