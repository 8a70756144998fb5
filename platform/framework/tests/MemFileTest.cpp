// The memory file: growth, a caller's block of fixed size, detaching, and
// positions past the end.

#include "platform/framework/MemFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

namespace {

std::string readAll(CMemFile& file)
{
    file.SeekToBegin();
    std::string content(static_cast<size_t>(file.GetLength()), '\0');
    const UINT got = file.Read(content.data(), static_cast<UINT>(content.size()));
    content.resize(got);
    return content;
}

CFileException::Cause fileCause(const std::function<void()>& action)
{
    try {
        action();
    } catch (const CFileException& e) {
        return e.m_cause;
    }
    return CFileException::none;
}

TEST(MemFileTest, GrowsPastManyStepsAndKeepsEveryByte)
{
    CMemFile file(16);
    std::string expected;
    for (int i = 0; i < 300; ++i) {
        const std::string piece = std::to_string(i) + ",";
        file.Write(piece.data(), static_cast<UINT>(piece.size()));
        expected += piece;
    }
    EXPECT_EQ(file.GetLength(), expected.size());
    EXPECT_EQ(file.GetPosition(), expected.size());
    EXPECT_EQ(readAll(file), expected);
    EXPECT_TRUE(file.GetFilePath().isEmpty());
}

TEST(MemFileTest, WriteAfterSeekingPastTheEndFillsTheGapWithZeros)
{
    CMemFile file;
    file.Write("ab", 2);
    EXPECT_EQ(file.Seek(3, CFile::end), 5u);
    EXPECT_EQ(file.GetLength(), 2u) << "seeking alone does not lengthen the file";
    char c = 0;
    EXPECT_EQ(file.Read(&c, 1), 0u);
    file.Write("z", 1);
    EXPECT_EQ(readAll(file), std::string("ab\0\0\0z", 6));
    EXPECT_EQ(fileCause([&] { file.Seek(-7, CFile::end); }), CFileException::badSeek);
}

TEST(MemFileTest, SetLengthZeroFillsAndShrinks)
{
    CMemFile file;
    file.Write("abcdef", 6);
    file.SetLength(3);
    EXPECT_EQ(file.GetPosition(), 3u) << "the position moves back to the new end";
    file.SetLength(5);
    EXPECT_EQ(readAll(file), std::string("abc\0\0", 5));
}

TEST(MemFileTest, AttachedFixedBlockIsWrittenInPlaceAndNeverOverrun)
{
    char block[] = "abcdef";
    CMemFile file(reinterpret_cast<BYTE*>(block), 6);
    EXPECT_EQ(file.GetLength(), 6u);
    EXPECT_EQ(readAll(file), "abcdef");

    file.Seek(2, CFile::begin);
    file.Write("XY", 2);
    EXPECT_STREQ(block, "abXYef");

    file.Seek(5, CFile::begin);
    try {
        file.Write("12", 2);
        FAIL() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::diskFull);
        EXPECT_EQ(e.m_lOsError, ENOSPC);
    }
    EXPECT_STREQ(block, "abXYef") << "a refused write changes nothing";
    EXPECT_EQ(file.GetLength(), 6u);
    EXPECT_EQ(fileCause([&] { file.SetLength(7); }), CFileException::diskFull);

    EXPECT_EQ(file.Detach(), reinterpret_cast<BYTE*>(block));
}

TEST(MemFileTest, AttachedBlockWithAGrowStepIsCopiedBeforeGrowing)
{
    char block[] = "abc";
    CMemFile file;
    file.Attach(reinterpret_cast<BYTE*>(block), 3, 8);
    file.SeekToEnd();
    file.Write("defgh", 5);

    EXPECT_STREQ(block, "abc") << "the caller's block stays as it was";
    EXPECT_EQ(readAll(file), "abcdefgh");

    const auto length = static_cast<size_t>(file.GetLength());
    BYTE* grown = file.Detach();
    ASSERT_NE(grown, reinterpret_cast<BYTE*>(block));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(grown), length), "abcdefgh");
    std::free(grown);
}

TEST(MemFileTest, DetachHandsOverTheBlockAndLeavesTheFileEmpty)
{
    CMemFile file(64);
    file.Write("snapshot", 8);
    BYTE* block = file.Detach();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(block), 8), "snapshot");
    std::free(block);

    EXPECT_EQ(file.GetLength(), 0u);
    EXPECT_EQ(file.GetPosition(), 0u);
    EXPECT_EQ(file.Detach(), nullptr);

    file.Write("again", 5);
    EXPECT_EQ(readAll(file), "again");
}

TEST(MemFileTest, ContentsAreTheBlockItself)
{
    CMemFile empty;
    EXPECT_EQ(empty.GetContents(), nullptr);

    CMemFile file(16);
    file.Write("first piece, ", 13);
    file.Write("second piece", 12);
    file.Seek(5, CFile::begin);
    ASSERT_NE(file.GetContents(), nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.GetContents()), static_cast<size_t>(file.GetLength())),
              "first piece, second piece");
    // Reading does not move the block.
    const BYTE* block = file.GetContents();
    readAll(file);
    EXPECT_EQ(file.GetContents(), block);

    char fixed[4] = {'a', 'b', 'c', 'd'};
    CMemFile attached(reinterpret_cast<BYTE*>(fixed), sizeof fixed);
    EXPECT_EQ(attached.GetContents(), reinterpret_cast<BYTE*>(fixed));
}

TEST(MemFileTest, CannotBeOpenedByName)
{
    CMemFile file;
    EXPECT_THROW(file.Open(QStringLiteral("/tmp/x"), CFile::modeRead), CNotSupportedException);
}

} // namespace
