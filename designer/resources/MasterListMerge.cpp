#include "designer/resources/MasterListMerge.h"

#include "platform/framework/Archive.h"
#include "platform/framework/Collections.h"
#include "platform/framework/Exceptions.h"
#include "platform/framework/File.h"
#include "platform/framework/MemFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <set>
#include <sys/file.h>
#include <unistd.h>

namespace kwvd {

QByteArray StoredBytes(const CObject* object)
{
    CMemFile memory;
    {
        CArchive ar(&memory, CArchive::store);
        ar.WriteObject(object);
        ar.Close();
    }
    const auto length = static_cast<qsizetype>(memory.GetLength());
    BYTE* block = memory.Detach();
    QByteArray bytes(reinterpret_cast<const char*>(block), length);
    std::free(block);
    return bytes;
}

void MasterListBaseline::Record(const CObList& list, const KeyOf& keyOf)
{
    Clear();
    for (const CObject* object : list)
        m_entries[keyOf(object)] = StoredBytes(object);
}

void MasterListBaseline::Clear()
{
    m_entries.clear();
    m_replaceWhole = false;
}

std::vector<const CObject*> MasterListBaseline::Merge(const CObList& memory, const CObList* disk,
                                                      const KeyOf& keyOf) const
{
    std::vector<const CObject*> result;
    if (m_replaceWhole || disk == nullptr) {
        result.assign(memory.begin(), memory.end());
        return result;
    }

    struct Ours
    {
        const CObject* object;
        bool changedHere;
    };
    std::map<QString, Ours> ours;
    std::vector<QString> ourOrder;
    for (const CObject* object : memory) {
        const QString key = keyOf(object);
        const auto read = m_entries.find(key);
        const bool changedHere = read == m_entries.end() || read->second != StoredBytes(object);
        if (ours.emplace(key, Ours{object, changedHere}).second)
            ourOrder.push_back(key);
    }

    std::set<QString> placed;
    for (const CObject* object : *disk) {
        const QString key = keyOf(object);
        if (!placed.insert(key).second)
            continue;
        const auto mine = ours.find(key);
        if (mine == ours.end()) {
            // Gone here after it was read: deleted here. Otherwise another
            // process added it.
            if (m_entries.find(key) == m_entries.end())
                result.push_back(object);
            continue;
        }
        result.push_back(mine->second.changedHere ? mine->second.object : object);
    }
    for (const QString& key : ourOrder) {
        if (placed.count(key) != 0)
            continue;
        const Ours& mine = ours.at(key);
        // Unchanged here and no longer in the file: another process deleted it.
        if (mine.changedHere)
            result.push_back(mine.object);
    }
    return result;
}

void WithMasterFileLock(const QString& path, const std::function<void()>& work)
{
    // The file itself is replaced by a rename, so its folder carries the
    // lock: no lock file is left behind.
    const QString folder = QFileInfo(path).absolutePath();
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        AfxThrowFileException(CFileException::OsErrorToException(errno), errno, path);
    struct Unlock
    {
        int fd;
        ~Unlock()
        {
            ::flock(fd, LOCK_UN);
            ::close(fd);
        }
    } unlock{fd};
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR)
            AfxThrowFileException(CFileException::OsErrorToException(errno), errno, path);
    }
    work();
}

OwnedObList ReadListFileForMerge(const QString& path, const std::function<void(CArchive&, CObList&)>& read)
{
    if (!QFileInfo(path).isFile())
        return nullptr;
    OwnedObList list(new CObList);
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite))
        return nullptr;
    try {
        CArchive ar(&file, CArchive::load);
        read(ar, *list);
        ar.Close();
    } catch (const CException&) {
        return nullptr;
    }
    return list;
}

void DeleteListObjects(CObList& list)
{
    for (CObject* object : list)
        delete object;
    list.RemoveAll();
}

void ListObjectsDeleter::operator()(CObList* list) const
{
    if (list == nullptr)
        return;
    DeleteListObjects(*list);
    delete list;
}

} // namespace kwvd
