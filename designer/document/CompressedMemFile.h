#pragma once
// A memory file that holds an undo snapshot: the document image while it is
// written or read, and its zlib form at rest.
//
// The buffer holds either the zlib stream (both lengths non-zero) or the raw
// image (both 0). GetLength() is the stored size the document counts. A block
// the file put in place itself is freed with the file.

#include "platform/framework/MemFile.h"

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
