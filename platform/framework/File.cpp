#include "platform/framework/File.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

KWVD_IMPLEMENT_DYNAMIC(CFile, CObject)

namespace {

constexpr UINT kAccessMask = 0x0003;
constexpr UINT kShareMask = 0x0700;

QString fullPathOf(const QString& path)
{
    if (path.isEmpty())
        return path;
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

QByteArray nativePath(const QString& path)
{
    return path.toUtf8();
}

// Windows tells a missing folder from a missing file; callers show a
// different message for each, so keep the distinction.
CFileException::Cause causeOfOpenFailure(int osError, const QString& fullPath)
{
    if (osError == ENOENT) {
        const QFileInfo parent(QFileInfo(fullPath).absolutePath());
        if (!parent.isDir())
            return CFileException::badPath;
    }
    return CFileException::OsErrorToException(osError);
}

int lockFor(UINT openFlags)
{
    switch (openFlags & kShareMask) {
    case CFile::shareExclusive:
    case CFile::shareDenyRead:
        return LOCK_EX;
    case CFile::shareDenyWrite:
        return LOCK_SH;
    default:
        return 0;
    }
}

} // namespace

CFile::CFile() = default;

CFile::CFile(const QString& path, UINT openFlags)
{
    CFileException error;
    if (!Open(path, openFlags, &error))
        throw error;
}

CFile::~CFile()
{
    if (m_hFile != hFileNull)
        ::close(m_hFile);
}

BOOL CFile::Open(const QString& path, UINT openFlags, CFileException* error)
{
    Abort();
    const QString fullPath = fullPathOf(path);

    auto fail = [&](CFileException::Cause cause, int osError) {
        if (error)
            *error = CFileException(cause, osError, fullPath);
        return FALSE;
    };

    if (fullPath.isEmpty())
        return fail(CFileException::badPath, ENOENT);

    int flags = O_CLOEXEC;
    switch (openFlags & kAccessMask) {
    case modeRead:
        flags |= O_RDONLY;
        break;
    case modeWrite:
        flags |= O_WRONLY;
        break;
    case modeReadWrite:
        flags |= O_RDWR;
        break;
    default:
        return fail(CFileException::genericException, EINVAL);
    }
    if (openFlags & modeCreate) {
        flags |= O_CREAT;
        if (!(openFlags & modeNoTruncate))
            flags |= O_TRUNC;
    }

    int fd;
    do {
        fd = ::open(nativePath(fullPath).constData(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const int osError = errno;
        return fail(causeOfOpenFailure(osError, fullPath), osError);
    }

    // open() accepts a folder for reading; nothing can be read from it.
    struct stat info
    {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        return fail(CFileException::accessDenied, EISDIR);
    }

    if (const int lock = lockFor(openFlags)) {
        int rc;
        do {
            rc = ::flock(fd, lock | LOCK_NB);
        } while (rc != 0 && errno == EINTR);
        if (rc != 0) {
            const int osError = errno;
            ::close(fd);
            if (osError == EWOULDBLOCK)
                return fail(CFileException::sharingViolation, osError);
            return fail(CFileException::OsErrorToException(osError), osError);
        }
    }

    m_hFile = fd;
    m_openFlags = openFlags;
    m_strFileName = fullPath;
    return TRUE;
}

void CFile::ThrowOsError(int osError) const
{
    AfxThrowFileException(CFileException::OsErrorToException(osError), osError, m_strFileName);
}

void CFile::RequireOpen() const
{
    if (m_hFile == hFileNull)
        AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
}

UINT CFile::Read(void* buffer, UINT count)
{
    RequireOpen();
    if ((m_openFlags & kAccessMask) == modeWrite)
        AfxThrowFileException(CFileException::accessDenied, EBADF, m_strFileName);
    auto* out = static_cast<char*>(buffer);
    UINT done = 0;
    while (done < count) {
        const ssize_t n = ::read(m_hFile, out + done, count - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ThrowOsError(errno);
        }
        if (n == 0)
            break;
        done += static_cast<UINT>(n);
    }
    return done;
}

void CFile::Write(const void* buffer, UINT count)
{
    RequireOpen();
    if ((m_openFlags & kAccessMask) == modeRead)
        AfxThrowFileException(CFileException::accessDenied, EBADF, m_strFileName);
    const auto* in = static_cast<const char*>(buffer);
    UINT done = 0;
    while (done < count) {
        const ssize_t n = ::write(m_hFile, in + done, count - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ThrowOsError(errno);
        }
        if (n == 0)
            ThrowOsError(ENOSPC);
        done += static_cast<UINT>(n);
    }
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from)
{
    RequireOpen();
    int whence;
    switch (from) {
    case begin:
        whence = SEEK_SET;
        break;
    case current:
        whence = SEEK_CUR;
        break;
    case end:
        whence = SEEK_END;
        break;
    default:
        AfxThrowFileException(CFileException::badSeek, EINVAL, m_strFileName);
    }
    const off_t pos = ::lseek(m_hFile, static_cast<off_t>(offset), whence);
    if (pos < 0) {
        const int osError = errno;
        // A position before the start is the caller's bad seek, not a generic failure.
        if (osError == EINVAL)
            AfxThrowFileException(CFileException::badSeek, osError, m_strFileName);
        ThrowOsError(osError);
    }
    return static_cast<ULONGLONG>(pos);
}

void CFile::SeekToBegin()
{
    Seek(0, begin);
}

ULONGLONG CFile::SeekToEnd()
{
    return Seek(0, end);
}

ULONGLONG CFile::GetPosition() const
{
    RequireOpen();
    const off_t pos = ::lseek(m_hFile, 0, SEEK_CUR);
    if (pos < 0)
        ThrowOsError(errno);
    return static_cast<ULONGLONG>(pos);
}

ULONGLONG CFile::GetLength() const
{
    RequireOpen();
    struct stat info
    {};
    if (::fstat(m_hFile, &info) != 0)
        ThrowOsError(errno);
    return static_cast<ULONGLONG>(info.st_size);
}

void CFile::SetLength(ULONGLONG newLength)
{
    RequireOpen();
    if (newLength > static_cast<ULONGLONG>(LLONG_MAX))
        AfxThrowFileException(CFileException::badSeek, EINVAL, m_strFileName);
    int rc;
    do {
        rc = ::ftruncate(m_hFile, static_cast<off_t>(newLength));
    } while (rc != 0 && errno == EINTR);
    if (rc != 0)
        ThrowOsError(errno);
}

void CFile::Flush()
{
    RequireOpen();
    if (::fsync(m_hFile) != 0) {
        const int osError = errno;
        // Devices and pipes have nothing to force out.
        if (osError == EINVAL || osError == EROFS)
            return;
        ThrowOsError(osError);
    }
}

void CFile::Close()
{
    if (m_hFile == hFileNull)
        return;
    const int fd = m_hFile;
    m_hFile = hFileNull;
    // Linux releases the descriptor even when close() reports EINTR.
    if (::close(fd) != 0 && errno != EINTR)
        ThrowOsError(errno);
}

void CFile::Abort()
{
    if (m_hFile == hFileNull)
        return;
    ::close(m_hFile);
    m_hFile = hFileNull;
}

QString CFile::GetFileName() const
{
    const qsizetype slash = m_strFileName.lastIndexOf(QLatin1Char('/'));
    return m_strFileName.mid(slash + 1);
}

QString CFile::GetFileTitle() const
{
    const QString name = GetFileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    // A leading dot names a hidden file; it is not an extension.
    return dot > 0 ? name.left(dot) : name;
}

QString CFile::GetFilePath() const
{
    return m_strFileName;
}

void CFile::SetFilePath(const QString& path)
{
    m_strFileName = path;
}

void CFile::Rename(const QString& oldPath, const QString& newPath)
{
    if (::rename(nativePath(oldPath).constData(), nativePath(newPath).constData()) != 0) {
        const int osError = errno;
        AfxThrowFileException(causeOfOpenFailure(osError, fullPathOf(oldPath)), osError, oldPath);
    }
}

void CFile::Remove(const QString& path)
{
    if (::unlink(nativePath(path).constData()) != 0) {
        const int osError = errno;
        AfxThrowFileException(causeOfOpenFailure(osError, fullPathOf(path)), osError, path);
    }
}
