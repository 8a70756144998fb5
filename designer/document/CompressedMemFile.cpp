#include "designer/document/CompressedMemFile.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
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

// ---------------------------------------------------------------- SnapshotCompressor

namespace {

// The first output block, and the largest one kept for the next snapshot;
// a larger one goes with its snapshot.
constexpr size_t kFirstOutputBytes = 64 * 1024;
constexpr size_t kKeptOutputBytes = 1024 * 1024;

} // namespace

struct SnapshotCompressor::Stream
{
    Stream() = default;
    ~Stream()
    {
        if (ready)
            deflateEnd(&z);
    }
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    z_stream z{};
    bool ready = false; // set up by deflateInit
};

SnapshotCompressor::SnapshotCompressor() : m_stream(std::make_unique<Stream>()) {}

SnapshotCompressor::~SnapshotCompressor()
{
    std::free(m_output);
}

bool SnapshotCompressor::Begin()
{
    m_imageLength = 0;
    m_failed = false;
    z_stream& z = m_stream->z;
    if (m_stream->ready && deflateReset(&z) != Z_OK) {
        deflateEnd(&z);
        m_stream->ready = false;
    }
    if (!m_stream->ready) {
        z = z_stream{};
        // compress()'s settings, so that the stored form is Compress()'s.
        if (deflateInit(&z, Z_DEFAULT_COMPRESSION) != Z_OK)
            return false;
        m_stream->ready = true;
    }
    if (m_output == nullptr) {
        m_output = static_cast<BYTE*>(std::malloc(kFirstOutputBytes));
        if (m_output == nullptr)
            return false;
        m_outputCapacity = kFirstOutputBytes;
    }
    z.next_out = m_output;
    z.avail_out = static_cast<uInt>(std::min<size_t>(m_outputCapacity, std::numeric_limits<uInt>::max()));
    return true;
}

bool SnapshotCompressor::GrowOutput()
{
    z_stream& z = m_stream->z;
    const size_t used = static_cast<size_t>(z.next_out - m_output);
    const size_t capacity = m_outputCapacity * 2;
    auto* grown = static_cast<BYTE*>(std::realloc(m_output, capacity));
    if (grown == nullptr)
        return false;
    m_output = grown;
    m_outputCapacity = capacity;
    z.next_out = m_output + used;
    z.avail_out = static_cast<uInt>(std::min<size_t>(capacity - used, std::numeric_limits<uInt>::max()));
    return true;
}

bool SnapshotCompressor::Deflate(const BYTE* input, UINT count, int flush)
{
    z_stream& z = m_stream->z;
    z.next_in = const_cast<Bytef*>(input);
    z.avail_in = count;
    for (;;) {
        if (z.avail_out == 0 && !GrowOutput())
            return false;
        const int result = deflate(&z, flush);
        if (result == Z_STREAM_END)
            return true;
        if (result != Z_OK && result != Z_BUF_ERROR)
            return false;
        // Output room left over means zlib took in all it was given.
        if (z.avail_out != 0)
            return flush == Z_NO_FLUSH && z.avail_in == 0;
    }
}

void SnapshotCompressor::Write(const void* buffer, UINT count)
{
    if (count == 0)
        return;
    if (m_imageLength + count > std::numeric_limits<UINT>::max())
        AfxThrowFileException(CFileException::diskFull, ENOSPC, GetFilePath());
    m_imageLength += count;
    if (!m_failed && (!m_stream->ready || !Deflate(static_cast<const BYTE*>(buffer), count, Z_NO_FLUSH)))
        m_failed = true;
}

std::unique_ptr<CCompressedMemFile> SnapshotCompressor::Finish()
{
    if (m_failed || !m_stream->ready || !Deflate(nullptr, 0, Z_FINISH))
        return nullptr;
    auto snapshot = std::make_unique<CCompressedMemFile>();
    if (m_imageLength == 0)
        return snapshot;

    const size_t packed = static_cast<size_t>(m_stream->z.next_out - m_output);
    BYTE* block = nullptr;
    if (m_outputCapacity > kKeptOutputBytes) {
        block = m_output;
        if (auto* shrunk = static_cast<BYTE*>(std::realloc(block, packed)))
            block = shrunk;
        m_output = nullptr;
        m_outputCapacity = 0;
    } else {
        block = static_cast<BYTE*>(std::malloc(packed));
        if (block == nullptr)
            AfxThrowMemoryException();
        std::memcpy(block, m_output, packed);
    }
    snapshot->PutBlock(block, static_cast<UINT>(packed));
    snapshot->m_uncompressedLength = static_cast<DWORD>(m_imageLength);
    snapshot->m_compressedLength = static_cast<DWORD>(packed);
    return snapshot;
}
