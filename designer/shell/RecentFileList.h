#pragma once
// The recent-file list of the File menu: the newest document first, each
// path once, kept in the program's key under "Recent File List" as the
// values "File1" ... "File<n>".

#include <QString>
#include <QStringList>

class CRecentFileList
{
public:
    static constexpr int kDefaultSize = 4;

    explicit CRecentFileList(int size = kDefaultSize);

    int GetSize() const { return m_size; }
    // The paths, newest first; fewer than the size while the list fills.
    const QStringList& Paths() const { return m_paths; }
    // Empty past the end.
    QString operator[](int index) const;

    // Moves the path to the front (made absolute), dropping the oldest
    // beyond the size. An empty path is ignored.
    void Add(const QString& path);
    void Remove(int index);

    // The menu text of an entry: "&1 " and the path; empty past the end.
    QString GetDisplayName(int index) const;

    void ReadList();
    void WriteList() const;

private:
    int m_size;
    QStringList m_paths;
};
