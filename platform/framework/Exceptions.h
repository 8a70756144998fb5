#pragma once
// The exceptions that file and archive code throws and user-level operations
// catch. One type each for the whole process: the platform libraries are shared.

#include <QString>

#include <exception>
#include <string>

class CException : public std::exception
{
public:
    ~CException() override = default;

    // The standard report of the exception, as shown to the user.
    virtual QString GetErrorMessage() const = 0;

    const char* what() const noexcept override;

private:
    mutable std::string m_what;
};

class CMemoryException : public CException
{
public:
    QString GetErrorMessage() const override;
};

class CNotSupportedException : public CException
{
public:
    QString GetErrorMessage() const override;
};

// The user cancelled an operation and has already been told what that means:
// the operation ends without a report of its own.
class CUserException : public CException
{
public:
    QString GetErrorMessage() const override;
};

class CArchiveException : public CException
{
public:
    enum Cause {
        none,
        genericException,
        readOnly,
        endOfFile,
        writeOnly,
        badIndex,
        badClass,
        badSchema,
        bufferFull,
    };

    explicit CArchiveException(Cause cause = none, QString fileName = {});

    QString GetErrorMessage() const override;

    Cause m_cause;
    QString m_strFileName;
};

class CFileException : public CException
{
public:
    enum Cause {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile,
    };

    explicit CFileException(Cause cause = none, int osError = 0, QString fileName = {});

    QString GetErrorMessage() const override;

    // Maps an errno value onto the cause a caller can act on.
    static Cause OsErrorToException(int osError);

    Cause m_cause;
    int m_lOsError;
    QString m_strFileName;
};

[[noreturn]] void AfxThrowArchiveException(CArchiveException::Cause cause, const QString& fileName = {});
[[noreturn]] void AfxThrowFileException(CFileException::Cause cause, int osError = 0, const QString& fileName = {});
[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowUserException();
