#include "designer/shell/ZipFile.h"
#include "designer/shell/MailStrings.h"
#include "designer/shell/tests/ZipArchiveReader.h"
#include "platform/framework/File.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <zlib.h>

#include <cerrno>
#include <cstring>
#include <deque>
#include <memory>
#include <vector>

namespace {

QByteArray RandomBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(size);
    for (char& byte : bytes)
        byte = static_cast<char>(generator.bounded(256));
    return bytes;
}

uLong DosDateTime(int year, int month, int day, int hour, int minute, int second)
{
    return ((uLong(year - 1980) << 9 | uLong(month) << 5 | uLong(day)) << 16)
           | (uLong(hour) << 11 | uLong(minute) << 5 | uLong(second / 2));
}

class ZipFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        RegisterMailStrings();
    }
    void TearDown() override
    {
        CZipFile::SetTempNumberSource({});
        CZipFile::SetFileOpener({});
    }

    // A file below the test's folder, its folders made, last written at the
    // local time given.
    QString Write(const QString& relative, const QByteArray& data,
                  const QDateTime& written = QDateTime(QDate(2024, 3, 5), QTime(14, 27, 36)))
    {
        const QString path = dir.filePath(relative);
        EXPECT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
        // Written out first, so closing cannot move the time again.
        EXPECT_TRUE(file.flush());
        EXPECT_TRUE(file.setFileTime(written, QFileDevice::FileModificationTime));
        return path;
    }

    QTemporaryDir dir;
    ScopedEnv tmp{"TMPDIR", dir.path()};
    ScopedPromptAnswers prompts;
};

TEST_F(ZipFileTest, ArchiveReadsBackWithRelativeNamesContentsAndTimes)
{
    struct Case
    {
        const char* name;
        QString file;
        QByteArray data;
        QString entry;
    };
    const Case cases[] = {
        // Larger than one copy buffer, so the copy loop turns more than once.
        {"the document itself", QStringLiteral("Docs/Report.wvd"), RandomBytes(40000), QStringLiteral("Report.wvd")},
        {"in a sub-folder", QStringLiteral("Docs/Sub/x.bmp"), QByteArray("BM sub-folder"), QStringLiteral("Sub/x.bmp")},
        {"in a sibling folder", QStringLiteral("Images/a.bmp"), QByteArray("BM sibling"),
         QStringLiteral("../Images/a.bmp")},
        {"a name beyond ASCII", QStringLiteral("Docs/Grüße.bmp"), QByteArray("BM umlaut"), QStringLiteral("Grüße.bmp")},
        {"case kept", QStringLiteral("docs/LOGO.Bmp"), QByteArray("BM case"), QStringLiteral("../docs/LOGO.Bmp")},
        {"empty file", QStringLiteral("Docs/empty.txt"), QByteArray(), QStringLiteral("empty.txt")},
    };
    QString archive = dir.filePath(QStringLiteral("out.zip"));
    {
        CZipFile zip;
        zip.m_relativeNames = 1;
        zip.m_basePath = dir.filePath(QStringLiteral("Docs/Report.wvd"));
        ASSERT_TRUE(zip.Open(archive));
        for (const Case& c : cases)
            EXPECT_TRUE(zip.AddFile(Write(c.file, c.data))) << c.name;
        EXPECT_TRUE(zip.Close());
    }
    EXPECT_TRUE(prompts.Texts().isEmpty()) << prompts.Texts().join(u'\n').toStdString();

    const std::vector<ReadEntry> entries = ReadArchive(archive);
    ASSERT_EQ(entries.size(), std::size(cases));
    for (size_t i = 0; i < entries.size(); ++i) {
        const Case& c = cases[i];
        const ReadEntry& entry = entries[i];
        EXPECT_EQ(entry.name, c.entry) << c.name;
        EXPECT_EQ(entry.data, c.data) << c.name;
        EXPECT_EQ(entry.crc, crc32(0, reinterpret_cast<const Bytef*>(c.data.constData()), uInt(c.data.size())))
            << c.name;
        EXPECT_TRUE(entry.crcChecked) << c.name;
        EXPECT_EQ(entry.method, uLong(Z_DEFLATED)) << c.name;
        EXPECT_EQ(entry.dosDate, DosDateTime(2024, 3, 5, 14, 27, 36)) << c.name;
        EXPECT_TRUE(entry.utf8Name) << c.name;
    }
    // Deflate at level 9 packs the text-like files; the archive stays on disk.
    EXPECT_TRUE(QFileInfo::exists(archive));
}

TEST_F(ZipFileTest, EntryNamesAreNeverAbsolute)
{
    struct Case
    {
        const char* name;
        int relative;
        QString base;
        QString path;
        QString entry;
    };
    const Case cases[] = {
        {"same folder", 1, "/d/Docs/Report.wvd", "/d/Docs/a.bmp", "a.bmp"},
        {"sub-folder", 1, "/d/Docs/Report.wvd", "/d/Docs/Sub/Deeper/x.bmp", "Sub/Deeper/x.bmp"},
        {"two levels up", 1, "/d/Docs/Deep/R.wvd", "/d/Other/x.bmp", "../../Other/x.bmp"},
        {"folders differing only in case", 1, "/d/Docs/R.wvd", "/d/docs/x.bmp", "../docs/x.bmp"},
        {"dots in the path collapse", 1, "/d/Docs/R.wvd", "/d/Docs/./Sub/../y.bmp", "y.bmp"},
        {"relative names off", 0, "/d/Docs/R.wvd", "/d/Docs/a.bmp", "d/Docs/a.bmp"},
        {"no base path", 1, "", "/d/Docs/a.bmp", "d/Docs/a.bmp"},
    };
    for (const Case& c : cases) {
        CZipFile zip;
        zip.m_relativeNames = c.relative;
        zip.m_basePath = c.base;
        EXPECT_EQ(zip.MakeEntryName(c.path), c.entry) << c.name;
    }
}

TEST_F(ZipFileTest, TemporaryArchivesGetFreeNamesAndGoWithTheObject)
{
    std::deque<unsigned> numbers{12345, 12345, 777};
    CZipFile::SetTempNumberSource([&numbers] {
        const unsigned n = numbers.front();
        numbers.pop_front();
        return n;
    });
    QString kept = dir.filePath(QStringLiteral("kept.zip"));
    QString first, second;
    {
        CZipFile a, b, named;
        ASSERT_TRUE(a.Open(first));
        // The first draw of the second archive is the name now taken.
        ASSERT_TRUE(b.Open(second));
        ASSERT_TRUE(named.Open(kept));
        EXPECT_EQ(first, QDir(dir.path()).filePath(QStringLiteral("WVD12345.zip")));
        EXPECT_EQ(second, QDir(dir.path()).filePath(QStringLiteral("WVD00777.zip")));
        EXPECT_TRUE(a.IsTemporary());
        EXPECT_FALSE(named.IsTemporary());
        EXPECT_TRUE(a.AddFile(Write(QStringLiteral("x.txt"), "x")));
        EXPECT_TRUE(a.Close());
        EXPECT_TRUE(QFileInfo::exists(first));
    }
    EXPECT_TRUE(numbers.empty());
    EXPECT_FALSE(QFileInfo::exists(first));
    EXPECT_FALSE(QFileInfo::exists(second));
    EXPECT_TRUE(QFileInfo::exists(kept));
}

TEST_F(ZipFileTest, WriteFailuresAreReported)
{
    const QString message = QStringLiteral("Encountered an unexpected error while writing /dev/full.");
    {
        // More than the writer and the C library buffer: the data reaches
        // the device while the file is added.
        CZipFile zip;
        QString path = QStringLiteral("/dev/full");
        ASSERT_TRUE(zip.Open(path));
        EXPECT_FALSE(zip.AddFile(Write(QStringLiteral("big.bin"), RandomBytes(300000))));
        ASSERT_FALSE(prompts.Texts().isEmpty());
        EXPECT_EQ(prompts.Texts().front(), message);
    }
    prompts.Renew();
    {
        // Nothing added: the end of the archive fails when it is closed.
        CZipFile zip;
        QString path = QStringLiteral("/dev/full");
        ASSERT_TRUE(zip.Open(path));
        EXPECT_FALSE(zip.Close());
        EXPECT_EQ(prompts.Texts(), QStringList{message});
        EXPECT_FALSE(zip.IsOpen());
    }
    prompts.Renew();
    {
        // A folder cannot become an archive.
        CZipFile zip;
        QString path = dir.path();
        EXPECT_FALSE(zip.Open(path));
        EXPECT_EQ(prompts.Texts(),
                  QStringList{QStringLiteral("Encountered an unexpected error while writing %1.").arg(dir.path())});
    }
}

// A file layer that fails while the file is read.
class FailingFile : public CFile
{
public:
    enum class Fault {
        ShortRead,
        ReadError
    };
    explicit FailingFile(Fault fault) : m_fault(fault) {}

    UINT Read(void* buffer, UINT count) override
    {
        if (m_fault == Fault::ReadError)
            AfxThrowFileException(CFileException::hardIO, EIO, QStringLiteral("/x/failing.bin"));
        // Fewer bytes than asked although the file goes on.
        const UINT n = count < 100 ? count : 100;
        std::memset(buffer, 'x', n);
        m_position += n;
        return n;
    }
    ULONGLONG GetPosition() const override { return m_position; }
    ULONGLONG GetLength() const override { return 50000; }

private:
    Fault m_fault;
    ULONGLONG m_position = 0;
};

TEST_F(ZipFileTest, ReadFailuresAreReported)
{
    for (const FailingFile::Fault fault : {FailingFile::Fault::ShortRead, FailingFile::Fault::ReadError}) {
        prompts.Renew();
        CZipFile::SetFileOpener([fault](const QString&) { return std::make_unique<FailingFile>(fault); });
        CZipFile zip;
        QString path = dir.filePath(QStringLiteral("read.zip"));
        ASSERT_TRUE(zip.Open(path));
        EXPECT_FALSE(zip.AddFile(QStringLiteral("/x/failing.bin")));
        EXPECT_EQ(prompts.Texts(),
                  QStringList{QStringLiteral("Encountered an unexpected error while reading /x/failing.bin.")});
    }
}

TEST_F(ZipFileTest, AFileThatCannotBeOpenedLeavesNoEntry)
{
    QString archive = dir.filePath(QStringLiteral("missing.zip"));
    {
        CZipFile zip;
        ASSERT_TRUE(zip.Open(archive));
        EXPECT_FALSE(zip.AddFile(dir.filePath(QStringLiteral("no-such.bmp"))));
        EXPECT_EQ(prompts.Texts(), QStringList{QStringLiteral("Failed to open document.")});
        EXPECT_TRUE(zip.AddFile(Write(QStringLiteral("there.bmp"), "BM")));
        EXPECT_TRUE(zip.Close());
    }
    const std::vector<ReadEntry> entries = ReadArchive(archive);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].data, QByteArray("BM"));
}

TEST_F(ZipFileTest, OneFileGoesInOnceAndAnEmptyPathAddsNothing)
{
    QString archive = dir.filePath(QStringLiteral("once.zip"));
    const QString logo = Write(QStringLiteral("Docs/logo.bmp"), "BM logo");
    {
        CZipFile zip;
        zip.m_relativeNames = 1;
        zip.m_basePath = dir.filePath(QStringLiteral("Docs/R.wvd"));
        // Opened by the first file added.
        EXPECT_TRUE(zip.AddFile(QString()));
        EXPECT_FALSE(zip.IsOpen());
        QString path = archive;
        ASSERT_TRUE(zip.Open(path));
        EXPECT_TRUE(zip.AddFile(logo));
        EXPECT_TRUE(zip.AddFile(logo));
        EXPECT_TRUE(zip.Close());
    }
    const std::vector<ReadEntry> entries = ReadArchive(archive);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, QStringLiteral("logo.bmp"));
}

TEST_F(ZipFileTest, TheFirstFileOpensAnArchiveNotYetOpen)
{
    CZipFile::SetTempNumberSource([] { return 4242u; });
    QString archive;
    {
        CZipFile zip;
        EXPECT_TRUE(zip.AddFile(Write(QStringLiteral("a.txt"), "a")));
        archive = zip.GetPath();
        EXPECT_TRUE(zip.IsTemporary());
        EXPECT_TRUE(zip.Close());
        EXPECT_EQ(ReadArchive(archive).size(), 1u);
    }
    EXPECT_EQ(QFileInfo(archive).fileName(), QStringLiteral("WVD04242.zip"));
    EXPECT_FALSE(QFileInfo::exists(archive));
}

} // namespace
