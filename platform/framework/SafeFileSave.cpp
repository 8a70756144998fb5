#include "platform/framework/SafeFileSave.h"

#include "platform/framework/Exceptions.h"
#include "platform/framework/File.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kwvd {

namespace {

QByteArray nativePath(const QString& path)
{
    return path.toUtf8();
}

[[noreturn]] void throwOsError(int osError, const QString& path)
{
    AfxThrowFileException(CFileException::OsErrorToException(osError), osError, path);
}

// A new empty file beside the target, made with the target's folder's
// rules (umask) and never one that already exists.
QString createTemporaryBeside(const QString& target)
{
    const QFileInfo info(target);
    const QString folder = info.absolutePath();
    if (!QFileInfo(folder).isDir())
        AfxThrowFileException(CFileException::badPath, ENOENT, target);

    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString candidate = folder + QLatin1String("/.") + info.fileName() + QLatin1Char('.')
                                  + QString::number(QRandomGenerator::global()->generate(), 36)
                                  + QLatin1String(".tmp");
        const int fd = ::open(nativePath(candidate).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return candidate;
        }
        if (errno != EEXIST)
            throwOsError(errno, target);
    }
    throwOsError(EEXIST, target);
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
    return QDir::cleanPath(info.absoluteFilePath());
}

} // namespace

void SaveFileReplacing(const QString& path, const std::function<void(CFile&)>& write)
{
    if (path.isEmpty())
        AfxThrowFileException(CFileException::badPath, ENOENT, path);
    const QString target = saveTargetOf(path);
    const QString temporary = createTemporaryBeside(target);
    try {
        CFile file;
        CFileException openError;
        if (!file.Open(temporary, CFile::modeWrite, &openError)) {
            openError.m_strFileName = target;
            throw openError;
        }
        try {
            write(file);
            file.Flush();
            file.Close();
        } catch (...) {
            file.Abort();
            throw;
        }

        // The replacement keeps the access rights the user gave the old file.
        struct stat old {};
        if (::stat(nativePath(target).constData(), &old) == 0 && S_ISREG(old.st_mode))
            ::chmod(nativePath(temporary).constData(), old.st_mode & 07777);

        if (::rename(nativePath(temporary).constData(), nativePath(target).constData()) != 0)
            throwOsError(errno, target);
    } catch (...) {
        ::unlink(nativePath(temporary).constData());
        throw;
    }
}

} // namespace kwvd
