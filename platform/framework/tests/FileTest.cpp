// The disk file: open modes, names, positions, failures and their causes,
// share modes as advisory locks.

#include "platform/framework/File.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

#include <cerrno>
#include <cstring>
#include <functional>
#include <string>

namespace {

class FileTest : public ::testing::Test
{
protected:
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    void put(const QString& file, const char* content)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

    static std::string contentOf(const QString& file)
    {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return "<missing>";
        return f.readAll().toStdString();
    }

    QTemporaryDir m_dir;
};

CFileException::Cause fileCause(const std::function<void()>& action)
{
    try {
        action();
    } catch (const CFileException& e) {
        return e.m_cause;
    }
    return CFileException::none;
}

struct ModeCase
{
    const char* name;
    const char* existing; // null: no file before
    UINT flags;
    const char* write; // written at the start once open
    CFileException::Cause openCause;
    CFileException::Cause writeCause;
    const char* expected; // the content afterwards
};

void PrintTo(const ModeCase& c, std::ostream* os)
{
    *os << c.name;
}

class FileModeTest : public FileTest, public ::testing::WithParamInterface<ModeCase>
{};

TEST_P(FileModeTest, OpensAndWritesAsTheModeSays)
{
    const ModeCase& c = GetParam();
    const QString file = path("data.txt");
    if (c.existing)
        put(file, c.existing);

    CFile f;
    CFileException error;
    const BOOL opened = f.Open(file, c.flags, &error);
    EXPECT_EQ(opened ? CFileException::none : error.m_cause, c.openCause);
    if (opened) {
        EXPECT_EQ(fileCause([&] { f.Write(c.write, static_cast<UINT>(std::strlen(c.write))); }), c.writeCause);
        f.Close();
    }
    EXPECT_EQ(contentOf(file), c.expected);
}

constexpr CFileException::Cause kOk = CFileException::none;

INSTANTIATE_TEST_SUITE_P(
    Modes, FileModeTest,
    ::testing::Values(
        ModeCase{"CreateTruncatesAnExistingFile", "old content", CFile::modeCreate | CFile::modeWrite, "new", kOk, kOk,
                 "new"},
        ModeCase{"CreateMakesAMissingFile", nullptr, CFile::modeCreate | CFile::modeWrite, "abc", kOk, kOk, "abc"},
        ModeCase{"NoTruncateKeepsTheContent", "0123456789",
                 CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite, "ab", kOk, kOk, "ab23456789"},
        ModeCase{"NoTruncateCreatesAMissingFile", nullptr,
                 CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite, "xy", kOk, kOk, "xy"},
        ModeCase{"ReadWriteKeepsTheContent", "hello", CFile::modeReadWrite, "J", kOk, kOk, "Jello"},
        ModeCase{"WriteWithoutCreateNeedsTheFile", nullptr, CFile::modeWrite, "abc", CFileException::fileNotFound, kOk,
                 "<missing>"},
        ModeCase{"NoTruncateWithoutCreateNeedsTheFile", nullptr, CFile::modeNoTruncate | CFile::modeWrite, "abc",
                 CFileException::fileNotFound, kOk, "<missing>"},
        ModeCase{"ReadOnlyRefusesWrites", "abc", CFile::modeRead, "x", kOk, CFileException::accessDenied, "abc"},
        ModeCase{"TypeAndShareFlagsDoNotChangeTheContent", "old",
                 CFile::modeCreate | CFile::modeWrite | CFile::typeBinary | CFile::shareExclusive, "t", kOk, kOk, "t"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FileTest, WriteOnlyRefusesReads)
{
    CFile f(path("w.txt"), CFile::modeCreate | CFile::modeWrite);
    char buffer[4];
    EXPECT_EQ(fileCause([&] { f.Read(buffer, sizeof buffer); }), CFileException::accessDenied);
}

struct NameCase
{
    const char* caseName;
    const char* path;
    const char* name;
    const char* title;
};

void PrintTo(const NameCase& c, std::ostream* os)
{
    *os << c.caseName;
}

class FileNameTest : public ::testing::TestWithParam<NameCase>
{};

TEST_P(FileNameTest, SplitsThePath)
{
    const NameCase& c = GetParam();
    CFile f;
    f.SetFilePath(QString::fromUtf8(c.path));
    EXPECT_EQ(f.GetFilePath().toStdString(), c.path);
    EXPECT_EQ(f.GetFileName().toStdString(), c.name);
    EXPECT_EQ(f.GetFileTitle().toStdString(), c.title);
}

INSTANTIATE_TEST_SUITE_P(Paths, FileNameTest,
                         ::testing::Values(NameCase{"Plain", "/home/ann/forms/form.wvd", "form.wvd", "form"},
                                           NameCase{"TwoDots", "/tmp/archive.tar.gz", "archive.tar.gz", "archive.tar"},
                                           NameCase{"DotFile", "/home/ann/.profile", ".profile", ".profile"},
                                           NameCase{"NoExtension", "/home/ann/README", "README", "README"},
                                           NameCase{"DotInTheFolder", "/dir.d/noext", "noext", "noext"},
                                           NameCase{"NonAscii", "/home/ann/Formulär.wvd", "Formulär.wvd", "Formulär"},
                                           NameCase{"NoFolder", "local.dat", "local.dat", "local"}),
                         [](const auto& info) { return std::string(info.param.caseName); });

TEST_F(FileTest, OpenKeepsTheFullPathOfARelativeName)
{
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    CFile f;
    const BOOL opened = f.Open(QStringLiteral("relative.dat"), CFile::modeCreate | CFile::modeWrite);
    QDir::setCurrent(previous);

    ASSERT_TRUE(opened);
    EXPECT_EQ(f.GetFilePath(), QDir(m_dir.path()).absoluteFilePath(QStringLiteral("relative.dat")));
    EXPECT_EQ(f.GetFileName(), QStringLiteral("relative.dat"));
}

TEST_F(FileTest, SeekLengthAndShortReads)
{
    CFile f(path("digits.txt"), CFile::modeCreate | CFile::modeReadWrite);
    f.Write("0123456789", 10);
    EXPECT_EQ(f.GetLength(), 10u);
    EXPECT_EQ(f.GetPosition(), 10u);

    char c = 0;
    EXPECT_EQ(f.Seek(4, CFile::begin), 4u);
    EXPECT_EQ(f.Seek(-2, CFile::current), 2u);
    ASSERT_EQ(f.Read(&c, 1), 1u);
    EXPECT_EQ(c, '2');
    EXPECT_EQ(f.Seek(-1, CFile::end), 9u);
    char tail[5] = {};
    EXPECT_EQ(f.Read(tail, 5), 1u) << "a read at the end comes back short";
    EXPECT_EQ(tail[0], '9');
    EXPECT_EQ(f.SeekToEnd(), 10u);
    f.SeekToBegin();
    EXPECT_EQ(f.GetPosition(), 0u);
    EXPECT_EQ(fileCause([&] { f.Seek(-1, CFile::begin); }), CFileException::badSeek);

    f.SetLength(4);
    EXPECT_EQ(f.GetLength(), 4u);
    f.SetLength(6);
    f.SeekToBegin();
    char all[6] = {};
    ASSERT_EQ(f.Read(all, 6), 6u);
    EXPECT_EQ(std::string(all, 6), std::string("0123\0\0", 6));
}

TEST_F(FileTest, WriteToAFullDeviceReportsDiskFull)
{
    CFile f(QStringLiteral("/dev/full"), CFile::modeWrite);
    try {
        f.Write("x", 1);
        FAIL() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::diskFull);
        EXPECT_EQ(e.m_lOsError, ENOSPC);
        EXPECT_EQ(e.m_strFileName, QStringLiteral("/dev/full"));
    }
}

struct OpenFailureCase
{
    const char* name;
    const char* relativePath; // under the test folder; null: the folder itself
    UINT flags;
    CFileException::Cause cause;
};

void PrintTo(const OpenFailureCase& c, std::ostream* os)
{
    *os << c.name;
}

class FileOpenFailureTest : public FileTest, public ::testing::WithParamInterface<OpenFailureCase>
{};

TEST_P(FileOpenFailureTest, ReportsACauseTheCallerCanShow)
{
    const OpenFailureCase& c = GetParam();
    put(path("plain.txt"), "x");
    const QString target = c.relativePath ? path(c.relativePath) : m_dir.path();

    CFile f;
    CFileException error;
    EXPECT_FALSE(f.Open(target, c.flags, &error));
    EXPECT_EQ(error.m_cause, c.cause);
    EXPECT_EQ(error.m_strFileName, QDir::cleanPath(target));

    EXPECT_EQ(fileCause([&] { CFile thrown(target, c.flags); }), c.cause);
    EXPECT_EQ(contentOf(path("plain.txt")), "x");
}

INSTANTIATE_TEST_SUITE_P(
    Failures, FileOpenFailureTest,
    ::testing::Values(OpenFailureCase{"FolderForReading", nullptr, CFile::modeRead, CFileException::accessDenied},
                      OpenFailureCase{"FolderForWriting", nullptr, CFile::modeWrite | CFile::modeCreate,
                                      CFileException::accessDenied},
                      OpenFailureCase{"MissingFile", "missing.txt", CFile::modeRead, CFileException::fileNotFound},
                      OpenFailureCase{"MissingFolder", "nofolder/new.txt", CFile::modeCreate | CFile::modeWrite,
                                      CFileException::badPath},
                      OpenFailureCase{"FileUsedAsAFolder", "plain.txt/inner.txt", CFile::modeRead,
                                      CFileException::badPath}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FileOpenTest, EmptyPathIsABadPath)
{
    CFile f;
    CFileException error;
    EXPECT_FALSE(f.Open(QString(), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::badPath);
}

TEST(FileOpenTest, ClosedFileRefusesWork)
{
    CFile f;
    char c;
    EXPECT_EQ(fileCause([&] { f.Read(&c, 1); }), CFileException::invalidFile);
    EXPECT_EQ(fileCause([&] { f.GetLength(); }), CFileException::invalidFile);
    EXPECT_NO_THROW(f.Close());
}

struct ShareCase
{
    const char* name;
    UINT first;
    UINT second;
    bool secondOpens;
};

void PrintTo(const ShareCase& c, std::ostream* os)
{
    *os << c.name;
}

class FileShareTest : public FileTest, public ::testing::WithParamInterface<ShareCase>
{};

TEST_P(FileShareTest, LocksDecideWhoMayOpen)
{
    const ShareCase& c = GetParam();
    const QString file = path("shared.dat");
    put(file, "data");

    CFile first(file, c.first);
    CFile second;
    CFileException error;
    EXPECT_EQ(second.Open(file, c.second, &error) != FALSE, c.secondOpens);
    if (!c.secondOpens) {
        EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
        first.Close();
        EXPECT_TRUE(second.Open(file, c.second)) << "closing releases the lock";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, FileShareTest,
    ::testing::Values(ShareCase{"ExclusiveRefusesExclusive", CFile::modeRead | CFile::shareExclusive,
                                CFile::modeRead | CFile::shareExclusive, false},
                      ShareCase{"ExclusiveRefusesADenyWriteReader", CFile::modeReadWrite | CFile::shareExclusive,
                                CFile::modeRead | CFile::shareDenyWrite, false},
                      ShareCase{"DenyWriteReadersShare", CFile::modeRead | CFile::shareDenyWrite,
                                CFile::modeRead | CFile::shareDenyWrite, true},
                      ShareCase{"DenyWriteRefusesAnExclusiveWriter", CFile::modeRead | CFile::shareDenyWrite,
                                CFile::modeWrite | CFile::shareExclusive, false},
                      ShareCase{"DenyNoneTakesNoLock", CFile::modeRead | CFile::shareDenyNone,
                                CFile::modeReadWrite | CFile::shareExclusive, true},
                      ShareCase{"NoShareFlagTakesNoLock", CFile::modeRead, CFile::modeReadWrite | CFile::shareExclusive,
                                true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FileTest, RenameAndRemove)
{
    const QString from = path("from.txt");
    const QString to = path("to.txt");
    put(from, "moved");

    CFile::Rename(from, to);
    EXPECT_EQ(contentOf(to), "moved");
    EXPECT_EQ(contentOf(from), "<missing>");

    CFile::Remove(to);
    EXPECT_EQ(contentOf(to), "<missing>");

    try {
        CFile::Remove(to);
        FAIL() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
        EXPECT_EQ(e.m_strFileName, to);
    }
    EXPECT_EQ(fileCause([&] { CFile::Rename(from, to); }), CFileException::fileNotFound);
}

} // namespace
