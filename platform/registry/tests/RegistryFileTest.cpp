#include "platform/registry/RegistryStore.h"

#include "platform/registry/tests/RegistryTestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

using kwvd::RegistryStatus;
using kwvd::RegistryStore;
using kwvd::RegistryValue;

namespace {

using Values = std::vector<std::pair<QString, RegistryValue>>;

// The file as README.md describes it, written out by hand.
const QByteArray kDocumentedFile = "KWVD Registry 1\n"
                                   "\n"
                                   "[]\n"
                                   "\"Top\"=dword:00000001\n"
                                   "\n"
                                   "[Software]\n"
                                   "\n"
                                   "[Software\\Qorvane]\n"
                                   "@=sz:\"default\"\n"
                                   "\"Count\"=dword:0000000a\n"
                                   "\"Quote \\\"q\\\" \\\\ back\"=sz:\"line1\\nline2\\ttab\\0nul\\r\"\n"
                                   "\"Blob\"=hex:00,7f,ff\n"
                                   "\"Empty\"=hex:\n"
                                   "\"Accent\"=sz:\"\xc3\xa9\"\n"
                                   "\"Raw\"=sz:\"\\xff\"\n"
                                   "\"Bell\"=sz:\"\\x07\"\n"
                                   "\n"
                                   "[Software\\Empty]\n";

Values DocumentedValues()
{
    return {
        {"", RegistryValue::Text(u"default")},
        {"Count", RegistryValue::Number(10)},
        {"Quote \"q\" \\ back", RegistryValue::TextUtf8(std::string("line1\nline2\ttab\0nul\r", 20))},
        {"Blob", RegistryValue::Binary(QByteArray("\x00\x7f\xff", 3))},
        {"Empty", RegistryValue::Binary({})},
        {"Accent", RegistryValue::Text(u"é")},
        {"Raw", RegistryValue::TextUtf8("\xff")},
        {"Bell", RegistryValue::Text(u"\x07")},
    };
}

struct FileIdentity
{
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    long long mtimeNs = 0;

    static FileIdentity Of(const QString& path)
    {
        FileIdentity id;
        struct stat status
        {};
        if (::stat(QFile::encodeName(path).constData(), &status) != 0)
            return id;
        id.exists = true;
        id.device = status.st_dev;
        id.inode = status.st_ino;
        id.size = status.st_size;
        id.mtimeNs = status.st_mtim.tv_sec * 1000000000LL + status.st_mtim.tv_nsec;
        return id;
    }

    bool operator==(const FileIdentity&) const = default;
};

} // namespace

TEST_F(RegistryFixture, WritesTheDocumentedFormat)
{
    ASSERT_EQ(m_store.WriteValue(HKEY_CURRENT_USER, u"Top", RegistryValue::Number(1)), RegistryStatus::Ok);
    const auto key = m_store.CreateKey(HKEY_CURRENT_USER, u"Software\\Qorvane");
    ASSERT_TRUE(key);
    for (const auto& [name, value] : DocumentedValues())
        ASSERT_EQ(m_store.WriteValue(*key, name, value), RegistryStatus::Ok);
    ASSERT_TRUE(m_store.CreateKey(HKEY_CURRENT_USER, u"Software\\Empty"));

    EXPECT_EQ(ReadFile(UserFile()), kDocumentedFile);
}

TEST_F(RegistryFixture, ReadsTheDocumentedFormat)
{
    WriteFile(UserFile(), kDocumentedFile);

    EXPECT_EQ(m_store.EnumValues(HKEY_CURRENT_USER), (Values{{"Top", RegistryValue::Number(1)}}));
    EXPECT_EQ(m_store.EnumSubKeys(HKEY_CURRENT_USER), (std::vector<QString>{"Software"}));
    const auto software = m_store.OpenKey(HKEY_CURRENT_USER, u"Software");
    ASSERT_TRUE(software);
    EXPECT_EQ(m_store.EnumSubKeys(*software), (std::vector<QString>{"Qorvane", "Empty"}));
    const auto key = m_store.OpenKey(HKEY_CURRENT_USER, u"Software\\Qorvane");
    ASSERT_TRUE(key);
    EXPECT_EQ(m_store.EnumValues(*key), DocumentedValues());
}

TEST_F(RegistryFixture, ABrokenLineIsLeftOutAndTheRestKept)
{
    struct Case
    {
        const char* name;
        const char* line;
    };
    const Case cases[] = {
        {"number with letters that are not hex", "\"Bad\"=dword:xyz"},
        {"number of nine digits", "\"Bad\"=dword:123456789"},
        {"number without digits", "\"Bad\"=dword:"},
        {"unknown type", "\"Bad\"=qword:01"},
        {"no type", "\"Bad\"=01"},
        {"unknown escape", "\"Bad\"=sz:\"a\\qb\""},
        {"escape of one hex digit", "\"Bad\"=sz:\"\\x4\""},
        {"backslash at the end", "\"Bad\"=sz:\"abc\\"},
        {"text without its closing quote", "\"Bad\"=sz:\"abc"},
        {"text followed by more", "\"Bad\"=sz:\"abc\" more"},
        {"name without its closing quote", "\"Bad=sz:\"x\""},
        {"name without quotes", "Bad=sz:\"x\""},
        {"no equals sign", "\"Bad\" sz:\"x\""},
        {"byte of one digit", "\"Bad\"=hex:0,1"},
        {"comma at the end of the bytes", "\"Bad\"=hex:01,"},
        {"byte that is not hex", "\"Bad\"=hex:0g"},
        {"header line in the middle", "KWVD Registry 1"},
        {"binary garbage", "\x01\x02\xff\xfe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(UserFile(), QByteArray("KWVD Registry 1\n[K]\n\"before\"=dword:00000001\n") + c.line
                                  + "\n\"after\"=dword:00000002\n");
        const auto key = m_store.OpenKey(HKEY_CURRENT_USER, u"K");
        ASSERT_TRUE(key);
        EXPECT_EQ(m_store.EnumValues(*key),
                  (Values{{"before", RegistryValue::Number(1)}, {"after", RegistryValue::Number(2)}}));
    }
}

TEST_F(RegistryFixture, ValuesUnderABrokenSectionGoNowhereElse)
{
    WriteFile(UserFile(), "KWVD Registry 1\n"
                          "\"Orphan\"=dword:00000001\n"
                          "[Software\\Qorvane]\n"
                          "\"Good\"=dword:00000001\n"
                          "[Software\\\\Empty name]\n"
                          "\"Leaked1\"=dword:00000001\n"
                          "[Software\\Unclosed\n"
                          "\"Leaked2\"=dword:00000001\n"
                          "[Software\\Tab\tName]\n"
                          "\"Leaked3\"=dword:00000001\n"
                          "[Software\\Qorvane\\Sub]\n"
                          "\"SubGood\"=dword:00000002\n");

    const auto key = m_store.OpenKey(HKEY_CURRENT_USER, u"Software\\Qorvane");
    const auto sub = m_store.OpenKey(HKEY_CURRENT_USER, u"Software\\Qorvane\\Sub");
    const auto software = m_store.OpenKey(HKEY_CURRENT_USER, u"Software");
    ASSERT_TRUE(key && sub && software);
    EXPECT_TRUE(m_store.EnumValues(HKEY_CURRENT_USER).empty());
    EXPECT_EQ(m_store.EnumSubKeys(*software), (std::vector<QString>{"Qorvane"}));
    EXPECT_EQ(m_store.EnumValues(*key), (Values{{"Good", RegistryValue::Number(1)}}));
    EXPECT_EQ(m_store.EnumValues(*sub), (Values{{"SubGood", RegistryValue::Number(2)}}));

    // The next change writes back everything that was read.
    ASSERT_EQ(m_store.WriteValue(*key, u"Added", RegistryValue::Number(3)), RegistryStatus::Ok);
    RegistryStore reader(Folder());
    EXPECT_EQ(reader.EnumValues(*key),
              (Values{{"Good", RegistryValue::Number(1)}, {"Added", RegistryValue::Number(3)}}));
    EXPECT_EQ(reader.EnumValues(*sub), (Values{{"SubGood", RegistryValue::Number(2)}}));
    EXPECT_TRUE(ReadFile(UserFile()).startsWith("KWVD Registry 1\n"));
    EXPECT_FALSE(ReadFile(UserFile()).contains("Leaked"));
}

TEST_F(RegistryFixture, HandEditsAreTolerated)
{
    WriteFile(UserFile(), "; settings edited by hand\r\n"
                          "\r\n"
                          "KWVD Registry 1\r\n"
                          "[Software\\Qorvane]   \r\n"
                          "  \"Spaced\" = dword:2A \r\n"
                          "\"Upper\"=SZ:\"type in capitals\"\r\n"
                          "\"Short\"=dword:a\r\n"
                          "\"Bytes\"=hex:01, 02 ,FF\r\n"
                          "\t; an indented comment\r\n"
                          "[software\\QORVANE]\r\n"
                          "\"Later\"=dword:1\r\n"
                          "\"spaced\"=dword:3");
    const auto key = m_store.OpenKey(HKEY_CURRENT_USER, u"Software\\Qorvane");
    ASSERT_TRUE(key);
    EXPECT_EQ(m_store.EnumValues(*key), (Values{
                                            {"Spaced", RegistryValue::Number(3)},
                                            {"Upper", RegistryValue::Text(u"type in capitals")},
                                            {"Short", RegistryValue::Number(10)},
                                            {"Bytes", RegistryValue::Binary("\x01\x02\xff")},
                                            {"Later", RegistryValue::Number(1)},
                                        }));

    // A file without the header line is read all the same.
    WriteFile(m_dir.filePath("machine.reg"), "[Software]\n\"Plain\"=dword:00000005\n");
    const auto machine = m_store.OpenKey(HKEY_LOCAL_MACHINE, u"Software");
    ASSERT_TRUE(machine);
    EXPECT_EQ(m_store.ReadNumber(*machine, u"Plain"), 5u);
}

TEST_F(RegistryFixture, AFileThatCannotBeReadIsNeverWrittenOver)
{
    struct Case
    {
        const char* name;
        std::function<void(const QString& path)> make;
    };
    const Case cases[] = {
        {"a later format version",
         [](const QString& path) { WriteFile(path, "KWVD Registry 2\n[Software]\n\"a\"=dword:00000001\n"); }},
        {"a folder in the file's place", [](const QString& path) { ASSERT_TRUE(QDir().mkdir(path)); }},
        {"a file bigger than any settings file",
         [](const QString& path) {
             QFile file(path);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             ASSERT_TRUE(file.resize(64 * 1024 * 1024 + 1));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = m_dir.filePath(QStringLiteral("machine.reg"));
        QDir(path).removeRecursively();
        QFile::remove(path);
        c.make(path);
        const FileIdentity before = FileIdentity::Of(path);

        EXPECT_FALSE(m_store.KeyExists(HKEY_LOCAL_MACHINE, u"Software"));
        EXPECT_EQ(m_store.WriteValue(HKEY_LOCAL_MACHINE, u"New", RegistryValue::Number(1)), RegistryStatus::IoError);
        EXPECT_FALSE(m_store.CreateKey(HKEY_LOCAL_MACHINE, u"Software\\New"));
        EXPECT_EQ(FileIdentity::Of(path), before);
    }
}

namespace {

struct FailureCase
{
    const char* name;
    // Makes the next write fail; false when this machine cannot.
    std::function<bool(const QString& folder, ScopedRegistryFolder& registry)> inject;
};

void PrintTo(const FailureCase& c, std::ostream* os)
{
    *os << c.name;
}

bool MakeFolder(const QString& path)
{
    return QDir().mkdir(path);
}

const FailureCase kFailureCases[] = {
    {"RegistryFolderIsARegularFile",
     [](const QString& folder, ScopedRegistryFolder& registry) {
         registry.Use(folder + "/user.reg");
         return true;
     }},
    {"TemporaryFileIsAFolder",
     [](const QString& folder, ScopedRegistryFolder&) { return MakeFolder(folder + "/user.reg.tmp"); }},
    {"LockFileIsAFolder",
     [](const QString& folder, ScopedRegistryFolder&) {
         return QFile::remove(folder + "/user.reg.lock") && MakeFolder(folder + "/user.reg.lock");
     }},
    {"DiskFull",
     [](const QString& folder, ScopedRegistryFolder&) {
         return QFile::exists("/dev/full") && QFile::link("/dev/full", folder + "/user.reg.tmp");
     }},
};

class RegistryWriteFailure : public RegistryFixture, public ::testing::WithParamInterface<FailureCase>
{};

} // namespace

TEST_P(RegistryWriteFailure, LeavesTheOldFileIntact)
{
    const auto key = m_store.CreateKey(HKEY_CURRENT_USER, u"Software\\Qorvane");
    ASSERT_TRUE(key);
    ASSERT_EQ(m_store.WriteValue(*key, u"Kept", RegistryValue::Number(1)), RegistryStatus::Ok);
    const QByteArray before = ReadFile(UserFile());
    ASSERT_FALSE(before.isEmpty());

    if (!GetParam().inject(Folder(), m_registry))
        GTEST_SKIP() << "this machine cannot stage the failure";

    EXPECT_EQ(m_store.WriteValue(*key, u"Lost", RegistryValue::Number(2)), RegistryStatus::IoError);

    EXPECT_EQ(ReadFile(UserFile()), before);
    RegistryStore reader(Folder());
    EXPECT_EQ(reader.ReadNumber(*key, u"Kept"), 1u);
    EXPECT_FALSE(reader.ReadValue(*key, u"Lost"));
}

INSTANTIATE_TEST_SUITE_P(Injected, RegistryWriteFailure, ::testing::ValuesIn(kFailureCases),
                         [](const ::testing::TestParamInfo<FailureCase>& info) {
                             return std::string(info.param.name);
                         });
