#include "platform/framework/Exceptions.h"

#include <cerrno>

namespace {

QString nameOrUnnamed(const QString& fileName)
{
    return fileName.isEmpty() ? QStringLiteral("an unnamed file") : fileName;
}

} // namespace

const char* CException::what() const noexcept
{
    try {
        m_what = GetErrorMessage().toStdString();
    } catch (...) {
        return "exception";
    }
    return m_what.c_str();
}

QString CMemoryException::GetErrorMessage() const
{
    return QStringLiteral("Out of memory.");
}

QString CUserException::GetErrorMessage() const
{
    return QString();
}

QString CNotSupportedException::GetErrorMessage() const
{
    return QStringLiteral("Unsupported operation was attempted.");
}

CArchiveException::CArchiveException(Cause cause, QString fileName) : m_cause(cause), m_strFileName(std::move(fileName))
{}

QString CArchiveException::GetErrorMessage() const
{
    const QString name = nameOrUnnamed(m_strFileName);
    switch (m_cause) {
    case none:
        return QStringLiteral("No error occurred.");
    case genericException:
        return QStringLiteral("An unexpected error occurred while reading or writing %1.").arg(name);
    case readOnly:
        return QStringLiteral("Tried to write to %1, which was opened for reading.").arg(name);
    case endOfFile:
        return QStringLiteral("Unexpected end of file while reading %1.").arg(name);
    case writeOnly:
        return QStringLiteral("Tried to read from %1, which was opened for writing.").arg(name);
    case badIndex:
        return QStringLiteral("%1 has a bad format.").arg(name);
    case badClass:
        return QStringLiteral("%1 contains an unexpected object.").arg(name);
    case badSchema:
        return QStringLiteral("%1 contains an incorrect schema.").arg(name);
    case bufferFull:
        return QStringLiteral("The buffer for %1 is full.").arg(name);
    }
    return QStringLiteral("An unknown error occurred while reading or writing %1.").arg(name);
}

CFileException::CFileException(Cause cause, int osError, QString fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(std::move(fileName))
{}

QString CFileException::GetErrorMessage() const
{
    const QString name = nameOrUnnamed(m_strFileName);
    switch (m_cause) {
    case none:
        return QStringLiteral("No error occurred.");
    case genericException:
        return QStringLiteral("An unexpected error occurred while accessing %1.").arg(name);
    case fileNotFound:
        return QStringLiteral("%1 was not found.").arg(name);
    case badPath:
        return QStringLiteral("%1 contains an invalid path.").arg(name);
    case tooManyOpenFiles:
        return QStringLiteral("%1 could not be opened because there are too many open files.").arg(name);
    case accessDenied:
        // "Access denied" would send the user looking at permissions.
        if (m_lOsError == EISDIR)
            return QStringLiteral("%1 is a folder, not a file.").arg(name);
        return QStringLiteral("Access to %1 was denied.").arg(name);
    case invalidFile:
        return QStringLiteral("An invalid file handle was associated with %1.").arg(name);
    case removeCurrentDir:
        return QStringLiteral("%1 could not be removed because it is the current directory.").arg(name);
    case directoryFull:
        return QStringLiteral("%1 could not be created because the directory is full.").arg(name);
    case badSeek:
        return QStringLiteral("Seek failed on %1.").arg(name);
    case hardIO:
        return QStringLiteral("A hardware I/O error was reported while accessing %1.").arg(name);
    case sharingViolation:
        return QStringLiteral("A sharing violation occurred while accessing %1.").arg(name);
    case lockViolation:
        return QStringLiteral("A locking violation occurred while accessing %1.").arg(name);
    case diskFull:
        return QStringLiteral("Disk full while accessing %1.").arg(name);
    case endOfFile:
        return QStringLiteral("An attempt was made to access %1 past its end.").arg(name);
    }
    return QStringLiteral("An unknown error occurred while accessing %1.").arg(name);
}

CFileException::Cause CFileException::OsErrorToException(int osError)
{
    switch (osError) {
    case 0:
        return none;
    case ENOENT:
        return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST:
        return accessDenied;
    case EBADF:
        return invalidFile;
    case EBUSY:
        return sharingViolation;
    case ENOLCK:
    case EDEADLK:
        return lockViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return diskFull;
    case ESPIPE:
    case EOVERFLOW:
        return badSeek;
    case EIO:
        return hardIO;
    default:
        return genericException;
    }
}

void AfxThrowArchiveException(CArchiveException::Cause cause, const QString& fileName)
{
    throw CArchiveException(cause, fileName);
}

void AfxThrowFileException(CFileException::Cause cause, int osError, const QString& fileName)
{
    throw CFileException(cause, osError, fileName);
}

void AfxThrowMemoryException()
{
    throw CMemoryException();
}

void AfxThrowUserException()
{
    throw CUserException();
}
