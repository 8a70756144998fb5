// The snapshot file: its zlib form at rest and the image it gives back.

#include "designer/document/CompressedMemFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

Bytes Repeated(size_t size)
{
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<BYTE>("FORM LINE "[i % 10]);
    return bytes;
}

Bytes Noise(size_t size)
{
    std::mt19937 random(7);
    Bytes bytes(size);
    for (BYTE& b : bytes)
        b = static_cast<BYTE>(random());
    return bytes;
}

Bytes Contents(CCompressedMemFile& file)
{
    Bytes bytes(static_cast<size_t>(file.GetLength()));
    file.SeekToBegin();
    if (!bytes.empty()) {
        EXPECT_EQ(file.Read(bytes.data(), static_cast<UINT>(bytes.size())), bytes.size());
    }
    return bytes;
}

void Fill(CCompressedMemFile& file, const Bytes& bytes)
{
    if (!bytes.empty())
        file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
}

// The checksum a zlib stream ends with, most significant byte first.
Bytes Adler32(const Bytes& data)
{
    unsigned a = 1;
    unsigned b = 0;
    for (BYTE byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    const unsigned sum = (b << 16) | a;
    return {static_cast<BYTE>(sum >> 24), static_cast<BYTE>(sum >> 16), static_cast<BYTE>(sum >> 8),
            static_cast<BYTE>(sum)};
}

} // namespace

TEST(CompressedMemFileTest, CompressesToAZlibStreamAndBack)
{
    struct Case
    {
        const char* name;
        Bytes image;
    };
    const Case cases[] = {
        {"one byte", Bytes{0x12}},
        {"repetitive form text", Repeated(100000)},
        {"noise that does not shrink", Noise(70000)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCompressedMemFile file;
        Fill(file, c.image);
        file.Compress();

        ASSERT_TRUE(file.IsCompressed());
        EXPECT_EQ(file.GetUncompressedLength(), c.image.size());
        EXPECT_EQ(file.GetLength(), file.GetCompressedLength());
        EXPECT_LE(file.GetLength(), 12 + c.image.size() + c.image.size() / 10);

        // A zlib stream at the default level: header 78 9C, and the image's
        // Adler-32 at the end.
        const Bytes stored = Contents(file);
        ASSERT_GE(stored.size(), 6u);
        EXPECT_EQ(stored[0], 0x78);
        EXPECT_EQ(stored[1], 0x9C);
        EXPECT_EQ(Bytes(stored.end() - 4, stored.end()), Adler32(c.image));

        file.Decompress();
        EXPECT_FALSE(file.IsCompressed());
        EXPECT_EQ(file.GetPosition(), 0u);
        EXPECT_EQ(Contents(file), c.image);
    }
}

TEST(CompressedMemFileTest, RepeatedCallsChangeNothing)
{
    const Bytes image = Repeated(5000);
    CCompressedMemFile file;
    Fill(file, image);

    file.Decompress(); // raw data: nothing to do
    EXPECT_EQ(Contents(file), image);

    file.Compress();
    const Bytes stored = Contents(file);
    file.Compress(); // a second pass must not wrap the stream again
    EXPECT_EQ(Contents(file), stored);

    file.Decompress();
    file.Decompress();
    EXPECT_EQ(Contents(file), image);

    // Compressed again from the image it gave back, as after each restore.
    file.Compress();
    EXPECT_EQ(Contents(file), stored);
}

TEST(CompressedMemFileTest, AnEmptyImageStaysEmptyAndRaw)
{
    CCompressedMemFile file;
    file.Compress();
    EXPECT_FALSE(file.IsCompressed());
    EXPECT_EQ(file.GetLength(), 0u);
    file.Decompress();
    EXPECT_EQ(file.GetLength(), 0u);
}

TEST(CompressedMemFileTest, ADamagedStreamThrowsAndKeepsTheStoredForm)
{
    CCompressedMemFile file;
    Fill(file, Repeated(20000));
    file.Compress();
    const DWORD compressedLength = file.GetCompressedLength();

    Bytes damaged = Contents(file);
    damaged[damaged.size() / 2] ^= 0xFF;
    file.SeekToBegin();
    Fill(file, damaged);

    EXPECT_THROW(file.Decompress(), CArchiveException);
    EXPECT_TRUE(file.IsCompressed());
    EXPECT_EQ(file.GetCompressedLength(), compressedLength);
    EXPECT_EQ(Contents(file), damaged);
}

TEST(CompressedMemFileTest, AStoredSnapshotDoesNotGrow)
{
    CCompressedMemFile file;
    Fill(file, Repeated(3000));
    file.Compress();
    const ULONGLONG length = file.GetLength();

    file.SeekToEnd();
    const BYTE more = 1;
    EXPECT_THROW(file.Write(&more, 1), CFileException);
    EXPECT_EQ(file.GetLength(), length);
}

// The stream a snapshot is written through gives the snapshot Compress()
// makes of the same image, whatever pieces the image comes in; one
// compressor serves every case in turn, as one document's snapshots share it.
TEST(CompressedMemFileTest, AnImageWrittenThroughTheCompressorIsStoredAsCompressStoresIt)
{
    struct Case
    {
        const char* name;
        Bytes image;
        size_t piece;
    };
    const Case cases[] = {
        {"one byte", Bytes{0x12}, 1},
        {"form text in archive buffers", Repeated(100000), 4096},
        {"form text byte by byte", Repeated(3000), 1},
        {"noise past the first output block", Noise(200000), 777},
        {"noise past the block kept between snapshots", Noise(1500000), 65536},
        {"form text after a block was handed on", Repeated(50000), 50000},
        {"an empty image", Bytes{}, 1},
    };
    SnapshotCompressor compressor;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCompressedMemFile expected;
        Fill(expected, c.image);
        expected.Compress();

        ASSERT_TRUE(compressor.Begin());
        for (size_t at = 0; at < c.image.size(); at += c.piece)
            compressor.Write(c.image.data() + at, static_cast<UINT>(std::min(c.piece, c.image.size() - at)));
        const std::unique_ptr<CCompressedMemFile> snapshot = compressor.Finish();
        ASSERT_NE(snapshot, nullptr);

        EXPECT_EQ(snapshot->IsCompressed(), expected.IsCompressed());
        EXPECT_EQ(snapshot->GetUncompressedLength(), expected.GetUncompressedLength());
        EXPECT_EQ(snapshot->GetCompressedLength(), expected.GetCompressedLength());
        EXPECT_EQ(Contents(*snapshot), Contents(expected));
        snapshot->Decompress();
        EXPECT_EQ(Contents(*snapshot), c.image);
    }
}

TEST(CompressedMemFileTest, BeginningAgainDropsAnImageLeftUnfinished)
{
    const Bytes dropped = Noise(30000);
    const Bytes image = Repeated(20000);
    SnapshotCompressor compressor;
    ASSERT_TRUE(compressor.Begin());
    compressor.Write(dropped.data(), static_cast<UINT>(dropped.size()));

    ASSERT_TRUE(compressor.Begin());
    compressor.Write(image.data(), static_cast<UINT>(image.size()));
    const std::unique_ptr<CCompressedMemFile> snapshot = compressor.Finish();
    ASSERT_NE(snapshot, nullptr);
    EXPECT_EQ(snapshot->GetUncompressedLength(), image.size());
    snapshot->Decompress();
    EXPECT_EQ(Contents(*snapshot), image);
}
