#include "platform/framework/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace {

bool IsAbsolute(const QString& path)
{
    return path.startsWith(u'/');
}

// The components of an absolute path with "." gone and each ".." taking the
// component before it; at the top a ".." is dropped, the root being its own
// parent.
QStringList CollapseDots(const QStringList& parts)
{
    QStringList kept;
    for (const QString& part : parts) {
        if (part == u"..") {
            if (!kept.isEmpty())
                kept.removeLast();
        } else if (part != u".") {
            kept.append(part);
        }
    }
    return kept;
}

// Purely lexical: links are not followed, so "a/link/.." is "a" whatever the
// link points at.
QString CleanAbsolutePath(const QString& path)
{
    const QStringList kept = CollapseDots(path.split(u'/', Qt::SkipEmptyParts));
    QString result = u'/' + kept.join(u'/');
    if (!kept.isEmpty() && path.endsWith(u'/'))
        result += u'/';
    return result;
}

qsizetype ExtensionStart(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    for (qsizetype i = 0; i < dot; ++i) {
        if (fileName.at(i) != u'.')
            return dot;
    }
    return -1;
}

enum class EntryKind {
    Folder,
    File
};

bool IsKind(const QFileInfo& info, EntryKind kind)
{
    return kind == EntryKind::Folder ? info.isDir() : info.isFile();
}

// The name of the entry of folder that matches name, exactly when there is one,
// otherwise without regard to case; empty when none of the right kind exists.
QString MatchEntry(const QString& folder, const QString& name, EntryKind kind)
{
    if (IsKind(QFileInfo(folder + u'/' + name), kind))
        return name;
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0 && IsKind(QFileInfo(folder + u'/' + entry), kind))
            return entry;
    }
    return {};
}

QString MatchBelow(const QString& folder, const QStringList& parts)
{
    QString current = folder;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts.at(i);
        const bool last = i + 1 == parts.size();
        if (part == u"." || part == u"..") {
            if (last)
                return {};
            current += u'/' + part;
            continue;
        }
        const QString match = MatchEntry(current, part, last ? EntryKind::File : EntryKind::Folder);
        if (match.isEmpty())
            return {};
        current += u'/' + match;
    }
    return QDir::cleanPath(current);
}

bool StartsWithDrive(QStringView text)
{
    if (text.size() < 2 || text.at(1) != u':')
        return false;
    const char16_t c = text.at(0).unicode();
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool IsStoredSeparator(QChar c)
{
    return c == u'\\' || c == u'/';
}

} // namespace

QString GetCurrentFolder()
{
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    if (error)
        return {};
    return QFile::decodeName(current.native().c_str());
}

QString MakeAbsolutePath(const QString& path, const QString& baseFolder)
{
    if (path.isEmpty())
        return path;
    if (IsAbsolute(path))
        return CleanAbsolutePath(path);

    QString base = IsDirectory(baseFolder) ? baseFolder : QString();
    if (!IsAbsolute(base)) {
        const QString current = GetCurrentFolder();
        if (current.isEmpty())
            return path;
        base = base.isEmpty() ? current : current + u'/' + base;
    }
    return CleanAbsolutePath(base + u'/' + path);
}

void SplitPathComponents(const QString& path, QString& drive, QString& dir, QString& name, QString& ext)
{
    drive.clear();
    const qsizetype slash = path.lastIndexOf(u'/');
    dir = path.left(slash + 1);
    const QString fileName = path.mid(slash + 1);
    const qsizetype dot = ExtensionStart(fileName);
    if (dot < 0) {
        name = fileName;
        ext.clear();
    } else {
        name = fileName.left(dot);
        ext = fileName.mid(dot);
    }
}

void SplitPathParts(const QString& path, QString& folder, QString& title, QString& ext)
{
    QString drive;
    SplitPathComponents(path, drive, folder, title, ext);
}

void SplitPathFolderFile(const QString& path, QString& folder, QString& file)
{
    QString drive, name, ext;
    SplitPathComponents(path, drive, folder, name, ext);
    file = name + ext;
}

QString GetPathFolder(const QString& path)
{
    return path.left(path.lastIndexOf(u'/') + 1);
}

BOOL IsDirectory(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir() ? TRUE : FALSE;
}

BOOL MakeRelativePath(QString& path, const QString& baseFile)
{
    if (!IsAbsolute(path) || !IsAbsolute(baseFile))
        return TRUE;

    QString targetFolder, fileName;
    SplitPathFolderFile(CleanAbsolutePath(path), targetFolder, fileName);
    const QStringList from = GetPathFolder(CleanAbsolutePath(baseFile)).split(u'/', Qt::SkipEmptyParts);
    const QStringList to = targetFolder.split(u'/', Qt::SkipEmptyParts);

    qsizetype common = 0;
    while (common < from.size() && common < to.size() && from.at(common) == to.at(common))
        ++common;

    QString result;
    for (qsizetype i = common; i < from.size(); ++i)
        result += QStringLiteral("../");
    for (qsizetype i = common; i < to.size(); ++i)
        result += to.at(i) + u'/';
    result += fileName;
    // The base's own folder, named as a folder: an empty name would read as "no path".
    path = result.isEmpty() ? QStringLiteral("./") : result;
    return TRUE;
}

namespace kwvd {

QStringList SplitStoredPath(const QString& stored)
{
    QStringView rest(stored);
    if (StartsWithDrive(rest))
        rest = rest.mid(2);

    QStringList parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= rest.size(); ++i) {
        if (i == rest.size() || IsStoredSeparator(rest.at(i))) {
            if (i > start)
                parts.append(rest.mid(start, i - start).toString());
            start = i + 1;
        }
    }
    return parts;
}

QString ResolveStoredPath(const QString& stored, const QString& searchFolder)
{
    const bool absolute = StartsWithDrive(stored) || (!stored.isEmpty() && IsStoredSeparator(stored.at(0)));
    QStringList parts = SplitStoredPath(stored);
    if (absolute)
        parts = CollapseDots(parts);
    if (parts.isEmpty())
        return {};

    const QString folder = searchFolder.isEmpty() ? GetCurrentFolder() : searchFolder;
    if (folder.isEmpty())
        return {};

    const qsizetype lastStart = absolute ? parts.size() - 1 : 0;
    for (qsizetype start = 0; start <= lastStart; ++start) {
        const QString found = MatchBelow(folder, parts.mid(start));
        if (!found.isEmpty())
            return found;
    }
    return {};
}

} // namespace kwvd
