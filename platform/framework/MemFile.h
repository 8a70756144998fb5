#pragma once
// A file held in memory: undo snapshots, clipboard streams and any archive
// that never touches the disk. Its path is empty.
//
// Ownership of the block:
// - a file that allocates its own block (the grow-step constructor, or growth
//   past an attached block) frees it in Close and in the destructor;
// - an attached block stays the caller's: the file never frees it. With a
//   grow step of 0 the file is fixed-size and a write or SetLength past the
//   block throws CFileException diskFull (errno ENOSPC) with nothing written.
//   With a grow step above 0, growing copies the data into a block of the
//   file's own and leaves the caller's block as it was.
// - Detach hands the current block to the caller (free() it when it came
//   from the file; blocks come from malloc) and leaves the file empty.
// Files are limited to UINT bytes, the size Attach and Detach deal in.

#include "platform/framework/File.h"

class CMemFile : public CFile
{
    KWVD_DECLARE_DYNAMIC(CMemFile)

public:
    explicit CMemFile(UINT growBytes = 1024);
    // The file's content is the whole block: its length is size.
    CMemFile(BYTE* buffer, UINT size, UINT growBytes = 0);
    ~CMemFile() override;

    // Drops the current content (freeing a block of the file's own), then
    // works on the caller's block as the constructor above does.
    void Attach(BYTE* buffer, UINT size, UINT growBytes = 0);
    // The block holding the file's content (null when the file has none);
    // the length was GetLength() just before. The file is empty afterwards.
    BYTE* Detach();

    // The file's content, GetLength() bytes, for handing it on without a
    // copy (null when the file has none). Valid until the next change.
    const BYTE* GetContents() const { return m_buffer; }

    // Memory files cannot be opened by name: throws CNotSupportedException.
    BOOL Open(const QString& path, UINT openFlags, CFileException* error = nullptr) override;

    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    // Seeking past the end is allowed; a write there fills the gap with zeros.
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetPosition() const override;
    ULONGLONG GetLength() const override;
    void SetLength(ULONGLONG newLength) override;
    void Flush() override;
    // Frees a block of the file's own and leaves the file empty.
    void Close() override;
    void Abort() override;

private:
    void Reset();
    void EnsureCapacity(ULONGLONG needed);

    BYTE* m_buffer = nullptr;
    ULONGLONG m_capacity = 0;
    ULONGLONG m_length = 0;
    ULONGLONG m_position = 0;
    UINT m_growBytes = 0;
    bool m_ownsBuffer = false;
};
