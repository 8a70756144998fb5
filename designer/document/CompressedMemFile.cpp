#include "designer/document/CompressedMemFile.h"

#include <zlib.h>

#include <cstdlib>
#include <limits>

KWVD_IMPLEMENT_DYNAMIC(CCompressedMemFile, CMemFile)

CCompressedMemFile::CCompressedMemFile(UINT growBytes) : CMemFile(growBytes) {}

CCompressedMemFile::~CCompressedMemFile()
{
    FreeOwnBlock();
}

void CCompressedMemFile::Close()
{
    FreeOwnBlock();
    CMemFile::Close();
}

void CCompressedMemFile::Abort()
{
    FreeOwnBlock();
    CMemFile::Abort();
}

void CCompressedMemFile::FreeOwnBlock()
{
    if (m_ownBlock == nullptr)
        return;
    CMemFile::Detach();
    std::free(m_ownBlock);
    m_ownBlock = nullptr;
    m_uncompressedLength = 0;
    m_compressedLength = 0;
}

BYTE* CCompressedMemFile::TakeBlock()
{
    // Either our own attached block or one CMemFile grew: Detach hands both
    // over, and both came from malloc.
    m_ownBlock = nullptr;
    return CMemFile::Detach();
}

void CCompressedMemFile::PutBlock(BYTE* block, UINT length)
{
    // Grow step 0: a snapshot at rest never grows again.
    CMemFile::Attach(block, length, 0);
    m_ownBlock = block;
}

void CCompressedMemFile::Compress()
{
    if (IsCompressed())
        return;
    const ULONGLONG length = GetLength();
    if (length == 0 || length > std::numeric_limits<DWORD>::max())
        return;

    const ULONGLONG capacity = 12 + length + length / 10;
    auto* packed = static_cast<BYTE*>(std::malloc(capacity));
    if (packed == nullptr)
        return; // kept raw, as when zlib fails

    BYTE* raw = TakeBlock();
    uLongf packedLength = static_cast<uLongf>(capacity);
    const int result = compress(packed, &packedLength, raw, static_cast<uLong>(length));
    if (result != Z_OK || packedLength == 0) {
        std::free(packed);
        PutBlock(raw, static_cast<UINT>(length));
        m_uncompressedLength = 0;
        m_compressedLength = 0;
        return;
    }
    std::free(raw);
    if (BYTE* shrunk = static_cast<BYTE*>(std::realloc(packed, packedLength)))
        packed = shrunk;
    PutBlock(packed, static_cast<UINT>(packedLength));
    m_uncompressedLength = static_cast<DWORD>(length);
    m_compressedLength = static_cast<DWORD>(packedLength);
}

void CCompressedMemFile::Decompress()
{
    if (!IsCompressed())
        return;
    // The stored form must still be whole: anything else means the snapshot
    // was damaged in memory.
    if (GetLength() != m_compressedLength)
        AfxThrowArchiveException(CArchiveException::genericException);

    auto* image = static_cast<BYTE*>(std::malloc(m_uncompressedLength));
    if (image == nullptr)
        AfxThrowMemoryException();

    BYTE* packed = TakeBlock();
    uLongf imageLength = m_uncompressedLength;
    const int result = uncompress(image, &imageLength, packed, m_compressedLength);
    if (result != Z_OK || imageLength != m_uncompressedLength) {
        std::free(image);
        PutBlock(packed, m_compressedLength);
        AfxThrowArchiveException(CArchiveException::genericException);
    }
    std::free(packed);
    PutBlock(image, static_cast<UINT>(imageLength));
    m_uncompressedLength = 0;
    m_compressedLength = 0;
}
