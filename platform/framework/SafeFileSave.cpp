#include "platform/framework/SafeFileSave.h"

#include "platform/framework/Exceptions.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace kwvd {

namespace {

constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;

QByteArray nativePath(const QString& path)
{
    return path.toUtf8();
}

QString absolutePathOf(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// The first free name of candidate(0), candidate(1)... made a new empty
// file with the folder's rules (umask), never one that already exists.
// Failures name shownPath.
QString createFileBeside(int attempts, const std::function<QString(int)>& candidate, const QString& shownPath)
{
    for (int attempt = 0; attempt < attempts; ++attempt) {
        const QString path = candidate(attempt);
        const int fd = ::open(nativePath(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        const int osError = errno;
        if (osError != EEXIST)
            AfxThrowFileException(CFileException::OsErrorToException(osError), osError, shownPath);
    }
    AfxThrowFileException(CFileException::accessDenied, EEXIST, shownPath);
}

// The temporary file of a save, hidden beside the target.
QString createTemporaryBeside(const QString& target, const QString& shownPath)
{
    const QFileInfo info(target);
    const QString folder = info.absolutePath();
    if (!QFileInfo(folder).isDir())
        AfxThrowFileException(CFileException::badPath, ENOENT, shownPath);
    return createFileBeside(
        100,
        [&](int) {
            return folder + QLatin1String("/.") + info.fileName() + QLatin1Char('.')
                   + QString::number(QRandomGenerator::global()->generate(), 36) + QLatin1String(".tmp");
        },
        shownPath);
}

// The file a save replaces: a link is followed, so the link stays a link.
QString saveTargetOf(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString resolved = info.canonicalFilePath();
        if (!resolved.isEmpty())
            return resolved;
    }
    return absolutePathOf(path);
}

bool isCharacterDevice(const QString& target)
{
    struct stat info
    {};
    return ::stat(nativePath(target).constData(), &info) == 0 && S_ISCHR(info.st_mode);
}

} // namespace

QString CreateUnusedFileBeside(const QString& target, const QString& nameTemplate)
{
    const QString folder = QFileInfo(target).absolutePath();
    return createFileBeside(
        9999, [&](int attempt) { return folder + u'/' + nameTemplate.arg(attempt + 1, 4, 10, QLatin1Char('0')); },
        target);
}

void CheckReplaceableTarget(const QString& path)
{
    if (path.isEmpty())
        AfxThrowFileException(CFileException::badPath, ENOENT, path);
    const QString shown = absolutePathOf(path);
    struct stat info
    {};
    if (::stat(nativePath(saveTargetOf(path)).constData(), &info) != 0)
        return;
    if (S_ISDIR(info.st_mode))
        AfxThrowFileException(CFileException::accessDenied, EISDIR, shown);
    if (S_ISCHR(info.st_mode))
        return;
    if (!S_ISREG(info.st_mode))
        AfxThrowFileException(CFileException::accessDenied, EACCES, shown);
    if ((info.st_mode & kAnyWriteBit) == 0)
        AfxThrowFileException(CFileException::accessDenied, EACCES, shown);
}

ReplacingFile::ReplacingFile(const QString& path)
{
    CheckReplaceableTarget(path);
    m_path = absolutePathOf(path);
    m_target = saveTargetOf(path);

    const bool inPlace = isCharacterDevice(m_target);
    if (!inPlace)
        m_temporary = createTemporaryBeside(m_target, m_path);
    CFileException openError;
    if (!m_file.Open(inPlace ? m_target : m_temporary, CFile::modeWrite, &openError)) {
        if (!m_temporary.isEmpty())
            ::unlink(nativePath(m_temporary).constData());
        openError.m_strFileName = m_path;
        throw openError;
    }
    m_file.SetFilePath(m_path);
}

ReplacingFile::~ReplacingFile()
{
    if (m_done)
        return;
    m_file.Abort();
    if (!m_temporary.isEmpty())
        ::unlink(nativePath(m_temporary).constData());
}

void ReplacingFile::Commit()
{
    m_file.Flush();
    m_file.Close();
    if (m_temporary.isEmpty()) {
        m_done = true;
        return;
    }

    // The replacement keeps the access rights the user gave the old file.
    struct stat old
    {};
    if (::stat(nativePath(m_target).constData(), &old) == 0 && S_ISREG(old.st_mode))
        ::chmod(nativePath(m_temporary).constData(), old.st_mode & 07777);

    if (::rename(nativePath(m_temporary).constData(), nativePath(m_target).constData()) != 0) {
        const int osError = errno;
        AfxThrowFileException(CFileException::OsErrorToException(osError), osError, m_path);
    }
    m_done = true;
}

void SaveFileReplacing(const QString& path, const std::function<void(CFile&)>& write)
{
    ReplacingFile out(path);
    write(out.File());
    out.Commit();
}

} // namespace kwvd
