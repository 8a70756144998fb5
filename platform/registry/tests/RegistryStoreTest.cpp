#include "platform/registry/RegistryStore.h"

#include "platform/registry/tests/RegistryTestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

using kwvd::RegistryKey;
using kwvd::RegistryStatus;
using kwvd::RegistryStore;
using kwvd::RegistryValue;
using kwvd::RegistryValueType;

namespace {

std::vector<QString> ValueNames(RegistryStore& store, const RegistryKey& key)
{
    std::vector<QString> names;
    for (const auto& [name, value] : store.EnumValues(key))
        names.push_back(name);
    return names;
}

QString WithNul(const char16_t* before, const char16_t* after)
{
    return QString::fromUtf16(before) + QChar(u'\0') + QString::fromUtf16(after);
}

} // namespace

TEST_F(RegistryFixture, TypedValuesRoundTripThroughTheFile)
{
    struct Case
    {
        const char* name;
        QString valueName;
        RegistryValue value;
    };
    const Case cases[] = {
        {"number zero", "Zero", RegistryValue::Number(0)},
        {"number with every bit set", "Max", RegistryValue::Number(0xFFFFFFFFu)},
        {"text with quotes, backslashes and line breaks", "Escapes",
         RegistryValue::Text(u"say \"hi\" to C:\\dir\\\nline two\r\n\tend\\")},
        {"text outside ASCII", "Unicode", RegistryValue::Text(u"Größe € 日本 😀")},
        {"empty text", "EmptyText", RegistryValue::Text(u"")},
        {"text with a NUL", "Nul", RegistryValue::Text(WithNul(u"ab", u"cd"))},
        {"text of bytes that are not UTF-8", "Raw", RegistryValue::TextUtf8("\xff\xfe ok \xc3")},
        {"text of control characters", "Controls", RegistryValue::Text(u"\x01\x1b\x7f")},
        {"binary with 0x00 and 0xFF", "Bytes", RegistryValue::Binary(QByteArray("\x00\xff\x01\x7f", 4))},
        {"empty binary", "NoBytes", RegistryValue::Binary({})},
        {"name with quotes, backslash and equals", "a \"quoted\" \\ name=x", RegistryValue::Text(u"x")},
        {"name outside ASCII", "Größe", RegistryValue::Number(7)},
        {"default value", "", RegistryValue::Text(u"default")},
    };

    const auto key = m_store.CreateKey(HKEY_CURRENT_USER, u"Software\\Qorvane\\Values");
    ASSERT_TRUE(key);
    for (const Case& c : cases)
        ASSERT_EQ(m_store.WriteValue(*key, c.valueName, c.value), RegistryStatus::Ok) << c.name;

    // A second store has nothing cached: it reads the file.
    RegistryStore reader(Folder());
    EXPECT_EQ(reader.EnumValues(*key).size(), std::size(cases));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto read = reader.ReadValue(*key, c.valueName);
        ASSERT_TRUE(read);
        EXPECT_EQ(*read, c.value);
    }
    EXPECT_EQ(reader.ReadTextUtf8(*key, u"Raw"), std::string("\xff\xfe ok \xc3"));
    EXPECT_EQ(reader.ReadText(*key, u"Unicode"), QString::fromUtf16(u"Größe € 日本 😀"));
}

TEST_F(RegistryFixture, TypedReadsTreatOtherTypesAsMissing)
{
    const auto key = m_store.CreateKey(HKEY_CURRENT_USER, u"Software");
    ASSERT_TRUE(key);
    ASSERT_EQ(m_store.WriteValue(*key, u"Number", RegistryValue::Number(12)), RegistryStatus::Ok);
    ASSERT_EQ(m_store.WriteValue(*key, u"Text", RegistryValue::Text(u"12")), RegistryStatus::Ok);
    ASSERT_EQ(m_store.WriteValue(*key, u"Bytes", RegistryValue::Binary("12")), RegistryStatus::Ok);

    EXPECT_EQ(m_store.ReadNumber(*key, u"Number"), 12u);
    EXPECT_FALSE(m_store.ReadNumber(*key, u"Text"));
    EXPECT_FALSE(m_store.ReadText(*key, u"Number"));
    EXPECT_FALSE(m_store.ReadTextUtf8(*key, u"Bytes"));
    EXPECT_FALSE(m_store.ReadBinary(*key, u"Text"));
    EXPECT_FALSE(m_store.ReadText(*key, u"Missing"));
    EXPECT_FALSE(m_store.ReadValue(*key, u"Missing"));

    // A write of another type replaces the value in its place.
    ASSERT_EQ(m_store.WriteValue(*key, u"Number", RegistryValue::Text(u"now text")), RegistryStatus::Ok);
    EXPECT_EQ(m_store.ReadText(*key, u"Number"), QStringLiteral("now text"));
    EXPECT_EQ(ValueNames(m_store, *key), (std::vector<QString>{"Number", "Text", "Bytes"}));
}

TEST_F(RegistryFixture, CreationOrderSurvivesAReload)
{
    const auto parent = m_store.CreateKey(HKEY_CURRENT_USER, u"Software\\Order");
    ASSERT_TRUE(parent);
    for (const char16_t* name : {u"Zulu", u"alpha", u"Mike"})
        ASSERT_TRUE(m_store.CreateKey(*parent, name));
    ASSERT_TRUE(m_store.CreateKey(*parent, u"Mike\\Two"));
    ASSERT_TRUE(m_store.CreateKey(*parent, u"Mike\\One"));

    for (const char16_t* name : {u"z", u"A", u"m"})
        ASSERT_EQ(m_store.WriteValue(*parent, name, RegistryValue::Number(1)), RegistryStatus::Ok);
    // Rewriting keeps the place; deleting and writing again goes last.
    ASSERT_EQ(m_store.WriteValue(*parent, u"A", RegistryValue::Number(2)), RegistryStatus::Ok);
    ASSERT_EQ(m_store.DeleteValue(*parent, u"z"), RegistryStatus::Ok);
    ASSERT_EQ(m_store.WriteValue(*parent, u"z", RegistryValue::Number(3)), RegistryStatus::Ok);

    RegistryStore reader(Folder());
    EXPECT_EQ(reader.EnumSubKeys(*parent), (std::vector<QString>{"Zulu", "alpha", "Mike"}));
    const auto mike = reader.OpenKey(*parent, u"Mike");
    ASSERT_TRUE(mike);
    EXPECT_EQ(reader.EnumSubKeys(*mike), (std::vector<QString>{"Two", "One"}));
    EXPECT_EQ(ValueNames(reader, *parent), (std::vector<QString>{"A", "m", "z"}));
    EXPECT_EQ(reader.ReadNumber(*parent, u"A"), 2u);
}

TEST_F(RegistryFixture, NamesMatchWithoutAsciiCaseAndKeepTheirCase)
{
    ASSERT_TRUE(m_store.CreateKey(HKEY_CURRENT_USER, u"Software\\Qorvane\\KWVD Designer"));
    ASSERT_TRUE(m_store.CreateKey(HKEY_CURRENT_USER, u"Software\\Größe"));

    struct Case
    {
        const char* name;
        const char16_t* path;
        bool found;
    };
    const Case cases[] = {
        {"same case", u"Software\\Qorvane\\KWVD Designer", true},
        {"upper case", u"SOFTWARE\\QORVANE\\KWVD DESIGNER", true},
        {"lower case", u"software\\qorvane\\kwvd designer", true},
        {"ASCII letters folded, others not", u"SOFTWARE\\GRÖßE", false},
        {"only ASCII letters differ", u"software\\grÖße", false},
        {"ASCII letters differ beside non-ASCII", u"SOFTWARE\\GRöße", true},
        {"a different name", u"Software\\Qorvane\\KWVD Designer2", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(m_store.KeyExists(HKEY_CURRENT_USER, c.path), c.found) << c.name;

    const auto key = m_store.CreateKey(HKEY_CURRENT_USER, u"SOFTWARE\\qorvane\\kwvd designer");
    ASSERT_TRUE(key);
    EXPECT_EQ(key->Path(), QStringLiteral("Software\\Qorvane\\KWVD Designer"));
    EXPECT_EQ(m_store.EnumSubKeys(HKEY_CURRENT_USER), (std::vector<QString>{"Software"}));

    ASSERT_EQ(m_store.WriteValue(*key, u"LanguageId", RegistryValue::Number(1)), RegistryStatus::Ok);
    ASSERT_EQ(m_store.WriteValue(*key, u"LANGUAGEID", RegistryValue::Number(2)), RegistryStatus::Ok);
    EXPECT_EQ(m_store.ReadNumber(*key, u"languageid"), 2u);
    EXPECT_EQ(ValueNames(m_store, *key), (std::vector<QString>{"LanguageId"}));
    EXPECT_EQ(m_store.DeleteValue(*key, u"languageID"), RegistryStatus::Ok);
    EXPECT_TRUE(ValueNames(m_store, *key).empty());
}

TEST_F(RegistryFixture, DeletingAKeyTakesItsWholeSubtree)
{
    const auto deep = m_store.CreateKey(HKEY_CURRENT_USER, u"A\\B\\C");
    const auto sibling = m_store.CreateKey(HKEY_CURRENT_USER, u"A\\Sibling");
    ASSERT_TRUE(deep && sibling);
    const auto b = m_store.OpenKey(HKEY_CURRENT_USER, u"A\\B");
    ASSERT_TRUE(b);
    ASSERT_EQ(m_store.WriteValue(*b, u"InB", RegistryValue::Number(1)), RegistryStatus::Ok);
    ASSERT_EQ(m_store.WriteValue(*deep, u"InC", RegistryValue::Number(2)), RegistryStatus::Ok);
    ASSERT_EQ(m_store.WriteValue(*sibling, u"Kept", RegistryValue::Number(3)), RegistryStatus::Ok);

    EXPECT_EQ(m_store.DeleteKey(HKEY_CURRENT_USER, u"a\\b"), RegistryStatus::Ok);

    RegistryStore reader(Folder());
    EXPECT_FALSE(reader.KeyExists(HKEY_CURRENT_USER, u"A\\B"));
    EXPECT_FALSE(reader.KeyExists(HKEY_CURRENT_USER, u"A\\B\\C"));
    const auto a = reader.OpenKey(HKEY_CURRENT_USER, u"A");
    ASSERT_TRUE(a);
    EXPECT_EQ(reader.EnumSubKeys(*a), (std::vector<QString>{"Sibling"}));
    EXPECT_EQ(reader.ReadNumber(*sibling, u"Kept"), 3u);

    // A key made again under the old name starts empty.
    const auto again = m_store.CreateKey(HKEY_CURRENT_USER, u"A\\B");
    ASSERT_TRUE(again);
    EXPECT_TRUE(m_store.EnumValues(*again).empty());
    EXPECT_TRUE(m_store.EnumSubKeys(*again).empty());

    EXPECT_EQ(m_store.DeleteKey(HKEY_CURRENT_USER, u"A\\Missing"), RegistryStatus::NotFound);
    EXPECT_EQ(m_store.DeleteValue(*sibling, u"Missing"), RegistryStatus::NotFound);
    EXPECT_EQ(m_store.DeleteValue(*sibling, u"Kept"), RegistryStatus::Ok);
    EXPECT_EQ(m_store.DeleteValue(*sibling, u"Kept"), RegistryStatus::NotFound);
}

TEST_F(RegistryFixture, UnusableKeyPathsAreRefused)
{
    QString deepest;
    for (int i = 0; i < 512; ++i)
        deepest += (i ? QStringLiteral("\\k") : QStringLiteral("k"));

    struct Case
    {
        const char* name;
        QString path;
        bool accepted;
    };
    const Case cases[] = {
        {"leading separator", "\\Software", false},
        {"trailing separator", "Software\\", false},
        {"empty name between separators", "Software\\\\Qorvane", false},
        {"line break in a name", "Soft\nware", false},
        {"tab in a name", "Soft\tware", false},
        {"512 levels", deepest, true},
        {"513 levels", deepest + QStringLiteral("\\k"), false},
        {"brackets and slashes are ordinary characters", "[Soft]/ware", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(m_store.CreateKey(HKEY_CURRENT_USER, c.path).has_value(), c.accepted);
        EXPECT_EQ(m_store.KeyExists(HKEY_CURRENT_USER, c.path), c.accepted);
    }
    // The accepted ones come back from the file.
    RegistryStore reader(Folder());
    EXPECT_TRUE(reader.KeyExists(HKEY_CURRENT_USER, deepest));
    EXPECT_TRUE(reader.KeyExists(HKEY_CURRENT_USER, u"[Soft]/ware"));

    // Below a 512-level key nothing more fits.
    const auto bottom = m_store.OpenKey(HKEY_CURRENT_USER, deepest);
    ASSERT_TRUE(bottom);
    EXPECT_FALSE(m_store.CreateKey(*bottom, u"k"));

    EXPECT_EQ(m_store.DeleteKey(HKEY_CURRENT_USER, u""), RegistryStatus::InvalidName);
    EXPECT_EQ(m_store.DeleteKey(HKEY_CURRENT_USER, u"Software\\"), RegistryStatus::InvalidName);
}

TEST_F(RegistryFixture, AHandleToADeletedKeyNoLongerWrites)
{
    const auto key = m_store.CreateKey(HKEY_CURRENT_USER, u"Software\\Gone");
    ASSERT_TRUE(key);
    ASSERT_EQ(m_store.DeleteKey(HKEY_CURRENT_USER, u"Software\\Gone"), RegistryStatus::Ok);

    EXPECT_EQ(m_store.WriteValue(*key, u"Value", RegistryValue::Number(1)), RegistryStatus::NotFound);
    EXPECT_FALSE(m_store.CreateKey(*key, u"Child"));
    EXPECT_FALSE(m_store.KeyExists(HKEY_CURRENT_USER, u"Software\\Gone"));
    EXPECT_FALSE(m_store.ReadValue(*key, u"Value"));
}

TEST_F(RegistryFixture, MissingFileIsAnEmptyRootAndReadsCreateNothing)
{
    EXPECT_TRUE(m_store.EnumSubKeys(HKEY_CURRENT_USER).empty());
    EXPECT_TRUE(m_store.EnumValues(HKEY_CURRENT_USER).empty());
    EXPECT_FALSE(m_store.ReadValue(HKEY_CURRENT_USER, u"Anything"));
    EXPECT_FALSE(m_store.OpenKey(HKEY_CURRENT_USER, u"Software"));
    EXPECT_TRUE(m_store.OpenKey(HKEY_CURRENT_USER, u""));
    EXPECT_TRUE(QDir(Folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(RegistryFixture, EachRootHasItsOwnFile)
{
    struct Case
    {
        const char* name;
        kwvd::RegistryRoot root;
        const char* file;
        std::uint32_t number;
    };
    const Case cases[] = {
        {"current user", HKEY_CURRENT_USER, "user.reg", 1},
        {"local machine", HKEY_LOCAL_MACHINE, "machine.reg", 2},
        {"classes root", HKEY_CLASSES_ROOT, "classes.reg", 3},
    };
    for (const Case& c : cases) {
        const auto key = m_store.CreateKey(c.root, u"Software\\Same");
        ASSERT_TRUE(key) << c.name;
        ASSERT_EQ(m_store.WriteValue(*key, u"Which", RegistryValue::Number(c.number)), RegistryStatus::Ok) << c.name;
    }
    RegistryStore reader(Folder());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(QFile::exists(m_dir.filePath(QString::fromLatin1(c.file))));
        EXPECT_EQ(reader.FilePath(c.root), m_dir.filePath(QString::fromLatin1(c.file)));
        const auto key = reader.OpenKey(c.root, u"Software\\Same");
        ASSERT_TRUE(key);
        EXPECT_EQ(reader.ReadNumber(*key, u"Which"), c.number);
    }
}

TEST_F(RegistryFixture, ReadsSeeWhatAnotherStoreWrote)
{
    RegistryStore other(Folder());
    const auto key = m_store.CreateKey(HKEY_CURRENT_USER, u"Software\\Shared");
    ASSERT_TRUE(key);
    EXPECT_FALSE(m_store.ReadValue(*key, u"Counter"));

    // Same-sized files in quick succession: the reader must not take a new
    // file for the one it has cached.
    for (std::uint32_t i = 0; i < 20; ++i) {
        ASSERT_EQ(other.WriteValue(*key, u"Counter", RegistryValue::Number(i)), RegistryStatus::Ok);
        EXPECT_EQ(m_store.ReadNumber(*key, u"Counter"), i);
    }
    ASSERT_EQ(other.DeleteKey(HKEY_CURRENT_USER, u"Software\\Shared"), RegistryStatus::Ok);
    EXPECT_FALSE(m_store.KeyExists(HKEY_CURRENT_USER, u"Software\\Shared"));
}

TEST_F(RegistryFixture, TwoProcessesWritingOneKeyKeepEachOthersValues)
{
    constexpr int kPerProcess = 40;
    const auto key = m_store.CreateKey(HKEY_CURRENT_USER, u"Software\\Shared");
    ASSERT_TRUE(key);

    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(start[1]);
        char go = 0;
        bool ok = ::read(start[0], &go, 1) == 1;
        RegistryStore store(Folder());
        for (int i = 0; ok && i < kPerProcess; ++i)
            ok = store.WriteValue(*key, QStringLiteral("child-%1").arg(i), RegistryValue::Number(i))
                 == RegistryStatus::Ok;
        ::_exit(ok ? 0 : 1);
    }
    ::close(start[0]);
    ASSERT_EQ(::write(start[1], "g", 1), 1);
    ::close(start[1]);
    for (int i = 0; i < kPerProcess; ++i)
        EXPECT_EQ(m_store.WriteValue(*key, QStringLiteral("parent-%1").arg(i), RegistryValue::Number(i)),
                  RegistryStatus::Ok);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

    RegistryStore reader(Folder());
    EXPECT_EQ(reader.EnumValues(*key).size(), 2u * kPerProcess);
    for (int i = 0; i < kPerProcess; ++i) {
        EXPECT_EQ(reader.ReadNumber(*key, QStringLiteral("child-%1").arg(i)), std::uint32_t(i)) << i;
        EXPECT_EQ(reader.ReadNumber(*key, QStringLiteral("parent-%1").arg(i)), std::uint32_t(i)) << i;
    }
}

TEST(RegistryFolder, ComesFromTheEnvironment)
{
    ScopedEnv own("KWVD_REGISTRY_DIR");
    ScopedEnv xdg("XDG_CONFIG_HOME");
    ScopedEnv home("HOME");
    home.Set("/home/tester");

    struct Case
    {
        const char* name;
        const char* own; // null: unset
        const char* xdg;
        const char* expected;
    };
    const Case cases[] = {
        {"own variable first", "/srv/reg", "/cfg", "/srv/reg"},
        {"empty own variable ignored", "", "/cfg", "/cfg/kwvd/registry"},
        {"XDG config folder", nullptr, "/cfg", "/cfg/kwvd/registry"},
        {"relative XDG config folder ignored", nullptr, "cfg", "/home/tester/.config/kwvd/registry"},
        {"nothing set", nullptr, nullptr, "/home/tester/.config/kwvd/registry"},
    };
    for (const Case& c : cases) {
        c.own ? own.Set(c.own) : own.Unset();
        c.xdg ? xdg.Set(c.xdg) : xdg.Unset();
        EXPECT_EQ(RegistryStore::DefaultFolder(), QString::fromLatin1(c.expected)) << c.name;
        EXPECT_EQ(RegistryStore().FilePath(HKEY_LOCAL_MACHINE), QString::fromLatin1(c.expected) + "/machine.reg")
            << c.name;
    }
}
