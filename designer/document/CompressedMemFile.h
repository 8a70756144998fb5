#pragma once
// A memory file that holds an undo snapshot: the document image while it is
// written or read, and its zlib form at rest.
//
// The buffer holds either the zlib stream (both lengths non-zero) or the raw
// image (both 0). GetLength() is the stored size the document counts. A block
// the file put in place itself is freed with the file.

#include "platform/framework/MemFile.h"

#include <memory>

class SnapshotCompressor;

class CCompressedMemFile : public CMemFile
{
    KWVD_DECLARE_DYNAMIC(CCompressedMemFile)

public:
    explicit CCompressedMemFile(UINT growBytes = 1024);
    ~CCompressedMemFile() override;

    CCompressedMemFile(const CCompressedMemFile&) = delete;
    CCompressedMemFile& operator=(const CCompressedMemFile&) = delete;

    // Replaces the image by its zlib form and stops further growth. When zlib
    // fails the image stays as it is, uncompressed, and still counts. Does
    // nothing to a file already compressed or to an empty one (an empty image
    // has nothing to inflate back to).
    void Compress();
    // Replaces the zlib form by the image; nothing for raw data. A stream
    // that does not inflate to exactly its recorded length throws
    // CArchiveException and leaves the compressed form in place.
    void Decompress();

    BOOL IsCompressed() const { return m_uncompressedLength != 0 && m_compressedLength != 0; }
    DWORD GetUncompressedLength() const { return m_uncompressedLength; }
    DWORD GetCompressedLength() const { return m_compressedLength; }

    void Close() override;
    void Abort() override;

private:
    friend class SnapshotCompressor;

    // The block is ours alone: nobody may swap it from outside.
    using CMemFile::Attach;
    using CMemFile::Detach;

    // Takes the file's block (whoever allocated it) as one we free.
    BYTE* TakeBlock();
    void PutBlock(BYTE* block, UINT length);
    void FreeOwnBlock();

    DWORD m_uncompressedLength = 0;
    DWORD m_compressedLength = 0;
    // A block put in place with Attach: CMemFile leaves freeing it to us.
    BYTE* m_ownBlock = nullptr;
};

// The file a document image is stored into when a snapshot is taken: the
// bytes go straight through one zlib stream, at compress()'s level and
// settings, into an output block. Stream and block live from one snapshot
// to the next, so a snapshot neither holds its image whole nor sets zlib up
// anew each time; the snapshot made is the one Compress() would make of the
// same image.
class SnapshotCompressor : public CFile
{
public:
    SnapshotCompressor();
    ~SnapshotCompressor() override;

    SnapshotCompressor(const SnapshotCompressor&) = delete;
    SnapshotCompressor& operator=(const SnapshotCompressor&) = delete;

    // Starts a new image, dropping any unfinished one; false when zlib
    // cannot be set up.
    bool Begin();
    // Past 4 GB of image throws CFileException diskFull, as a memory file.
    void Write(const void* buffer, UINT count) override;
    // The image written since Begin as a snapshot at rest (raw and empty
    // for an empty image); null when zlib failed on the way.
    std::unique_ptr<CCompressedMemFile> Finish();

private:
    struct Stream;

    bool Deflate(const BYTE* input, UINT count, int flush);
    bool GrowOutput();

    std::unique_ptr<Stream> m_stream;
    BYTE* m_output = nullptr; // malloc'd, m_outputCapacity bytes
    size_t m_outputCapacity = 0;
    ULONGLONG m_imageLength = 0;
    bool m_failed = false;
};
