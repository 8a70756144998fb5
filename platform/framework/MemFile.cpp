#include "platform/framework/MemFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>

KWVD_IMPLEMENT_DYNAMIC(CMemFile, CFile)

namespace {

constexpr ULONGLONG kMaxLength = std::numeric_limits<UINT>::max();

} // namespace

CMemFile::CMemFile(UINT growBytes) : m_growBytes(growBytes) {}

CMemFile::CMemFile(BYTE* buffer, UINT size, UINT growBytes)
{
    Attach(buffer, size, growBytes);
}

CMemFile::~CMemFile()
{
    Reset();
}

void CMemFile::Reset()
{
    if (m_ownsBuffer)
        std::free(m_buffer);
    m_buffer = nullptr;
    m_ownsBuffer = false;
    m_capacity = 0;
    m_length = 0;
    m_position = 0;
}

void CMemFile::Attach(BYTE* buffer, UINT size, UINT growBytes)
{
    Reset();
    m_buffer = buffer;
    m_capacity = buffer ? size : 0;
    m_length = m_capacity;
    m_growBytes = growBytes;
}

BYTE* CMemFile::Detach()
{
    BYTE* buffer = m_buffer;
    m_buffer = nullptr;
    m_ownsBuffer = false;
    Reset();
    return buffer;
}

BOOL CMemFile::Open(const QString&, UINT, CFileException*)
{
    throw CNotSupportedException();
}

void CMemFile::EnsureCapacity(ULONGLONG needed)
{
    if (needed <= m_capacity)
        return;
    if (m_growBytes == 0 || needed > kMaxLength)
        AfxThrowFileException(CFileException::diskFull, ENOSPC, GetFilePath());

    // Whole grow steps, and at least half again, so that a file written in
    // small pieces is not copied over and over.
    ULONGLONG capacity = (needed + m_growBytes - 1) / m_growBytes * m_growBytes;
    capacity = std::max(capacity, m_capacity + m_capacity / 2);
    capacity = std::min(capacity, kMaxLength);

    BYTE* grown;
    if (m_ownsBuffer) {
        grown = static_cast<BYTE*>(std::realloc(m_buffer, capacity));
    } else {
        grown = static_cast<BYTE*>(std::malloc(capacity));
        if (grown && m_length > 0)
            std::memcpy(grown, m_buffer, m_length);
    }
    if (!grown)
        AfxThrowMemoryException();
    m_buffer = grown;
    m_ownsBuffer = true;
    m_capacity = capacity;
}

UINT CMemFile::Read(void* buffer, UINT count)
{
    if (m_position >= m_length || count == 0)
        return 0;
    const UINT n = static_cast<UINT>(std::min<ULONGLONG>(count, m_length - m_position));
    std::memcpy(buffer, m_buffer + m_position, n);
    m_position += n;
    return n;
}

void CMemFile::Write(const void* buffer, UINT count)
{
    if (count == 0)
        return;
    const ULONGLONG end = m_position + count;
    EnsureCapacity(end);
    if (m_position > m_length)
        std::memset(m_buffer + m_length, 0, m_position - m_length);
    std::memcpy(m_buffer + m_position, buffer, count);
    m_position = end;
    m_length = std::max(m_length, end);
}

ULONGLONG CMemFile::Seek(LONGLONG offset, UINT from)
{
    LONGLONG base;
    switch (from) {
    case begin:
        base = 0;
        break;
    case current:
        base = static_cast<LONGLONG>(m_position);
        break;
    case end:
        base = static_cast<LONGLONG>(m_length);
        break;
    default:
        AfxThrowFileException(CFileException::badSeek, EINVAL, GetFilePath());
    }
    LONGLONG target;
    if (__builtin_add_overflow(base, offset, &target) || target < 0)
        AfxThrowFileException(CFileException::badSeek, EINVAL, GetFilePath());
    m_position = static_cast<ULONGLONG>(target);
    return m_position;
}

ULONGLONG CMemFile::GetPosition() const
{
    return m_position;
}

ULONGLONG CMemFile::GetLength() const
{
    return m_length;
}

void CMemFile::SetLength(ULONGLONG newLength)
{
    EnsureCapacity(newLength);
    if (newLength > m_length)
        std::memset(m_buffer + m_length, 0, newLength - m_length);
    m_length = newLength;
    m_position = std::min(m_position, newLength);
}

void CMemFile::Flush() {}

void CMemFile::Close()
{
    Reset();
}

void CMemFile::Abort()
{
    Reset();
}
