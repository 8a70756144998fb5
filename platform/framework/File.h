#pragma once
// A file on disk, read and written without buffering of its own (an archive
// buffers above it). Failures throw CFileException with the errno value, the
// cause a caller can act on, and the file's full path.
//
// Share modes are advisory locks (flock) taken when the file opens:
// shareExclusive and shareDenyRead take an exclusive lock, shareDenyWrite a
// shared one, so that two exclusive openers, or an exclusive opener and a
// deny-write reader, refuse each other with sharingViolation. shareDenyNone
// and no share flag take no lock. Other programs see the locks only when they
// lock too.

#include "platform/framework/Exceptions.h"
#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <QString>

class CFile : public CObject
{
    KWVD_DECLARE_DYNAMIC(CFile)

public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,

        shareExclusive = 0x0100,
        shareDenyWrite = 0x0200,
        shareDenyRead = 0x0300,
        shareDenyNone = 0x0400,

        // Creates the file when missing; truncates it unless modeNoTruncate.
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,

        // Files are always binary on Linux: both are accepted and ignored.
        typeText = 0x4000,
        typeBinary = 0x8000,
    };

    enum SeekPosition : UINT {
        begin = 0,
        current = 1,
        end = 2
    };

    static constexpr int hFileNull = -1;

    CFile();
    // Opens the file or throws the CFileException that Open would report.
    CFile(const QString& path, UINT openFlags);
    ~CFile() override; // closes an open file, ignoring errors

    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Closes a file already open first. On failure fills *error (when given)
    // and returns FALSE.
    virtual BOOL Open(const QString& path, UINT openFlags, CFileException* error = nullptr);

    // Returns the bytes read: fewer than count only at the end of the file.
    virtual UINT Read(void* buffer, UINT count);
    // Writes all bytes or throws (diskFull when the device is full).
    virtual void Write(const void* buffer, UINT count);

    virtual ULONGLONG Seek(LONGLONG offset, UINT from);
    void SeekToBegin();
    ULONGLONG SeekToEnd();
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG newLength);

    // Forces written data to the device.
    virtual void Flush();
    // Closes the file; throws when the system reports a failure.
    virtual void Close();
    // Closes the file and ignores every failure; never throws.
    virtual void Abort();

    // The name with its extension ("form.wvd").
    QString GetFileName() const;
    // The name without its extension ("form").
    QString GetFileTitle() const;
    // The full path ("/home/ann/forms/form.wvd"); empty for a memory file.
    QString GetFilePath() const;
    void SetFilePath(const QString& path);

    static void Rename(const QString& oldPath, const QString& newPath);
    static void Remove(const QString& path);

protected:
    [[noreturn]] void ThrowOsError(int osError) const;
    void RequireOpen() const;

private:
    int m_hFile = hFileNull;
    UINT m_openFlags = 0;
    QString m_strFileName;
};
