// The archive's buffer over its file: order of bytes across the buffer's
// edge, where the file stands after Flush and Close, what reaches the file
// when, and the direction checks.

#include "ArchiveTestClasses.h"

#include "platform/framework/File.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

#include <stdexcept>

namespace archive_test {
namespace {

BYTE patternByte(size_t i)
{
    return static_cast<BYTE>((i * 131 + 7) & 0xFF);
}

CArchiveException::Cause archiveCause(const std::function<void()>& action)
{
    try {
        action();
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    return CArchiveException::none;
}

struct PiecesCase
{
    const char* name;
    UINT bufferSize;
    std::vector<UINT> writePieces;
    std::vector<UINT> readPieces; // the last one asks for more than is left
};

void PrintTo(const PiecesCase& c, std::ostream* os)
{
    *os << c.name;
}

class ArchivePiecesTest : public ::testing::TestWithParam<PiecesCase>
{};

TEST_P(ArchivePiecesTest, BytesKeepTheirOrderAcrossTheBuffer)
{
    const PiecesCase& c = GetParam();
    Bytes data;
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store, c.bufferSize);
        for (UINT piece : c.writePieces) {
            Bytes chunk;
            for (UINT i = 0; i < piece; ++i)
                chunk.push_back(patternByte(data.size() + i));
            ar.Write(chunk.data(), piece);
            data.insert(data.end(), chunk.begin(), chunk.end());
        }
        ar.Close();
    }
    ASSERT_EQ(file.GetLength(), data.size());

    file.SeekToBegin();
    CArchive ar(&file, CArchive::load, c.bufferSize);
    Bytes read;
    for (UINT piece : c.readPieces) {
        Bytes chunk(piece);
        const UINT got = ar.Read(chunk.data(), piece);
        EXPECT_EQ(got, std::min<size_t>(piece, data.size() - read.size()));
        read.insert(read.end(), chunk.begin(), chunk.begin() + got);
    }
    EXPECT_TRUE(read == data);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ArchivePiecesTest,
    ::testing::Values(PiecesCase{"SmallBuffer", 16, {1, 15, 16, 17, 100, 3, 0, 40}, {7, 1, 33, 16, 15, 500}},
                      PiecesCase{"DefaultBuffer", 4096, {4095, 1, 4096, 4097, 10, 9000}, {1, 4096, 8191, 5000, 30000}},
                      PiecesCase{"ReadsLargerThanTheBuffer", 64, {1000}, {10, 100, 64, 63, 65, 2000}}),
    [](const auto& info) { return std::string(info.param.name); });

// The fixed-size values take a fast road while the buffer has room and the
// checked one at its edge: from every starting offset in a 16-byte buffer,
// each width meets the edge somewhere, and the bytes and values must not
// depend on which road they took.
TEST(ArchivePrimitivesTest, ValuesMeetingTheBufferEdgeKeepTheirBytes)
{
    const Bytes record = Hex("01 02 03 FE FF 04 05 06 07 08 09 0A 0B 00 00 00 00 00 00 F8 3F");
    constexpr int kRecords = 3;
    for (UINT lead = 0; lead < 16; ++lead) {
        SCOPED_TRACE(lead);
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store, 16);
            for (UINT i = 0; i < lead; ++i)
                ar << static_cast<BYTE>(0xEE);
            for (int n = 0; n < kRecords; ++n)
                ar << static_cast<BYTE>(0x01) << static_cast<WORD>(0x0302) << static_cast<short>(-2)
                   << static_cast<LONG>(0x07060504) << static_cast<DWORD>(0x0B0A0908) << 1.5;
            ar.Close();
        }
        Bytes expected(lead, 0xEE);
        for (int n = 0; n < kRecords; ++n)
            expected.insert(expected.end(), record.begin(), record.end());
        Bytes stored(static_cast<size_t>(file.GetLength()));
        file.SeekToBegin();
        file.Read(stored.data(), static_cast<UINT>(stored.size()));
        ASSERT_EQ(stored, expected);

        // Read back, then one byte short of a last WORD.
        stored.push_back(0x77);
        CMemFile source(stored.data(), static_cast<UINT>(stored.size()));
        CArchive ar(&source, CArchive::load, 16);
        BYTE skipped = 0;
        for (UINT i = 0; i < lead; ++i)
            ar >> skipped;
        for (int n = 0; n < kRecords; ++n) {
            BYTE b = 0;
            WORD w = 0;
            short s = 0;
            LONG l = 0;
            DWORD d = 0;
            double f = 0;
            ar >> b >> w >> s >> l >> d >> f;
            EXPECT_EQ(b, 0x01);
            EXPECT_EQ(w, 0x0302);
            EXPECT_EQ(s, -2);
            EXPECT_EQ(l, 0x07060504);
            EXPECT_EQ(d, 0x0B0A0908u);
            EXPECT_EQ(f, 1.5);
        }
        WORD last = 0;
        EXPECT_EQ(archiveCause([&] { ar >> last; }), CArchiveException::endOfFile);
    }
}

class ArchiveFileTest : public ::testing::Test
{
protected:
    QString writeFile(const char* name, size_t length)
    {
        const QString path = m_dir.filePath(QString::fromLatin1(name));
        CFile file(path, CFile::modeCreate | CFile::modeWrite);
        Bytes bytes;
        for (size_t i = 0; i < length; ++i)
            bytes.push_back(patternByte(i));
        file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
        file.Close();
        return path;
    }

    QTemporaryDir m_dir;
};

struct PositionCase
{
    const char* name;
    UINT consumed;
    bool close; // Close instead of Flush
};

void PrintTo(const PositionCase& c, std::ostream* os)
{
    *os << c.name;
}

class ArchivePositionTest : public ArchiveFileTest, public ::testing::WithParamInterface<PositionCase>
{};

TEST_P(ArchivePositionTest, LoadingLeavesTheFileJustAfterWhatWasRead)
{
    const PositionCase& c = GetParam();
    CFile file(writeFile("ten.bin", 10), CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    Bytes consumed(c.consumed);
    ASSERT_EQ(ar.Read(consumed.data(), c.consumed), c.consumed);
    if (c.close)
        ar.Close();
    else
        ar.Flush();

    EXPECT_EQ(file.GetPosition(), c.consumed);
    BYTE next = 0;
    if (c.consumed < 10) {
        ASSERT_EQ(file.Read(&next, 1), 1u);
        EXPECT_EQ(next, patternByte(c.consumed));
    }
}

INSTANTIATE_TEST_SUITE_P(Reads, ArchivePositionTest,
                         ::testing::Values(PositionCase{"NothingReadFlush", 0, false},
                                           PositionCase{"ThreeReadFlush", 3, false},
                                           PositionCase{"ThreeReadClose", 3, true},
                                           PositionCase{"AllReadFlush", 10, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ArchiveFileTest, LoadingGoesOnAfterAFlush)
{
    CFile file(writeFile("ten.bin", 10), CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    BYTE first = 0, second = 0;
    ar >> first;
    ar.Flush();
    ar >> second;
    EXPECT_EQ(first, patternByte(0));
    EXPECT_EQ(second, patternByte(1));
}

TEST_F(ArchiveFileTest, EnsureAvailableCountsBufferedAndUnreadBytes)
{
    for (UINT bufferSize : {16u, 4096u}) {
        SCOPED_TRACE(bufferSize);
        CFile file(writeFile("hundred.bin", 100), CFile::modeRead);
        CArchive ar(&file, CArchive::load, bufferSize);
        BYTE first = 0;
        ar >> first;
        EXPECT_NO_THROW(ar.EnsureAvailable(99));
        EXPECT_EQ(archiveCause([&] { ar.EnsureAvailable(100); }), CArchiveException::endOfFile);
    }
}

TEST_F(ArchiveFileTest, EndOfFileNamesTheFile)
{
    const QString path = writeFile("one.bin", 1);
    CFile file(path, CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    WORD value = 0;
    try {
        ar >> value;
        FAIL() << "no exception";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
        EXPECT_EQ(e.m_strFileName, path);
    }
}

TEST(ArchiveStoreTest, BytesReachTheFileOnFlush)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    ar << static_cast<DWORD>(1) << static_cast<BYTE>(2);
    EXPECT_EQ(file.GetLength(), 0u);
    ar.Flush();
    EXPECT_EQ(file.GetLength(), 5u);
}

TEST(ArchiveStoreTest, DestructorFlushesWhenLeftNormally)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << static_cast<DWORD>(1);
    }
    EXPECT_EQ(file.GetLength(), 4u);
}

TEST(ArchiveStoreTest, DestructorAbandonsTheBufferDuringUnwinding)
{
    CMemFile file;
    try {
        CArchive ar(&file, CArchive::store);
        ar << static_cast<DWORD>(1);
        throw std::runtime_error("the document failed half way");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(file.GetLength(), 0u);
}

TEST(ArchiveStoreTest, CloseReportsThatTheDiskIsFull)
{
    CFile file(QStringLiteral("/dev/full"), CFile::modeWrite);
    CArchive ar(&file, CArchive::store);
    ar << static_cast<DWORD>(1);
    try {
        ar.Close();
        FAIL() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::diskFull);
        EXPECT_EQ(e.m_strFileName, QStringLiteral("/dev/full"));
    }
    EXPECT_NO_THROW(ar.Close()); // nothing left to write
}

struct DirectionCase
{
    const char* name;
    UINT mode;
    std::function<void(CArchive&)> action;
    CArchiveException::Cause cause;
};

void PrintTo(const DirectionCase& c, std::ostream* os)
{
    *os << c.name;
}

class ArchiveDirectionTest : public ::testing::TestWithParam<DirectionCase>
{};

TEST_P(ArchiveDirectionTest, RefusesTheWrongDirection)
{
    const DirectionCase& c = GetParam();
    Bytes bytes = Hex("01 02 03 04");
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()), 16);
    CArchive ar(&file, c.mode);
    EXPECT_EQ(archiveCause([&] { c.action(ar); }), c.cause);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ArchiveDirectionTest,
    ::testing::Values(DirectionCase{"WriteWhileLoading", CArchive::load,
                                    [](CArchive& ar) { ar << static_cast<WORD>(1); }, CArchiveException::readOnly},
                      DirectionCase{"WriteObjectWhileLoading", CArchive::load,
                                    [](CArchive& ar) { ar.WriteObject(nullptr); }, CArchiveException::readOnly},
                      DirectionCase{"ReadWhileStoring", CArchive::store,
                                    [](CArchive& ar) {
                                        WORD value;
                                        ar >> value;
                                    },
                                    CArchiveException::writeOnly},
                      DirectionCase{"ReadObjectWhileStoring", CArchive::store,
                                    [](CArchive& ar) { ar.ReadObject(nullptr); }, CArchiveException::writeOnly},
                      DirectionCase{"EnsureAvailableWhileStoring", CArchive::store,
                                    [](CArchive& ar) { ar.EnsureAvailable(1); }, CArchiveException::writeOnly},
                      DirectionCase{"ReadAfterClose", CArchive::load,
                                    [](CArchive& ar) {
                                        ar.Close();
                                        BYTE value;
                                        ar >> value;
                                    },
                                    CArchiveException::genericException},
                      DirectionCase{"WriteAfterAbort", CArchive::store,
                                    [](CArchive& ar) {
                                        ar.Abort();
                                        ar << static_cast<BYTE>(1);
                                    },
                                    CArchiveException::genericException}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace archive_test
