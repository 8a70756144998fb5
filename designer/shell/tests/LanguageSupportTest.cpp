// The choice of the user-interface language over injected surroundings
// (stored id, LANGUAGE, the machine's and the process's locales, the bundles
// present), the list of languages found, and the language table the choice
// rests on.

#include "designer/shell/LanguageSupport.h"
#include "designer/shell/LanguageIds.h"
#include "designer/shell/LayoutSlots.h"
#include "designer/shell/ShellResources.h"
#include "platform/registry/RegistryStore.h"
#include "platform/ui/LanguageBundle.h"
#include "platform/ui/StringTable.h"
#include "tests/support/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr UINT kProbeText = 0x7D000001u;

// A bundle of the language: its header and one text naming it, written
// from the format's rules.
QByteArray BundleText(WORD language)
{
    return QStringLiteral("KWVD Language 1 0x%1\n[Texts]\n%2=bundle %1\n")
        .arg(language, 4, 16, QLatin1Char('0'))
        .arg(kProbeText)
        .toUtf8();
}

// A program folder "bin" with "../share/kwvd-designer/languages" beside it,
// a locale file for the machine and a registry of its own.
class LanguageFolders
{
public:
    LanguageFolders()
    {
        EXPECT_TRUE(m_root.isValid());
        EXPECT_TRUE(QDir().mkpath(ProgramFolder()));
        EXPECT_TRUE(QDir().mkpath(SharedFolder()));
    }

    QString ProgramFolder() const { return m_root.filePath(QStringLiteral("bin")); }
    QString SharedFolder() const { return m_root.filePath(QStringLiteral("share/kwvd-designer/languages")); }
    QString LocaleFile() const { return m_root.filePath(QStringLiteral("locale")); }

    void Write(const QString& folder, const QString& name, const QByteArray& bytes) const
    {
        QFile file(folder + u'/' + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
        file.write(bytes);
    }
    void AddBundle(const char* abbreviation, WORD language, bool shared = false) const
    {
        Write(shared ? SharedFolder() : ProgramFolder(),
              QStringLiteral("KWVDDesigner%1.lang").arg(QLatin1String(abbreviation)), BundleText(language));
    }

    LanguageSupport::Environment Environment(std::map<std::string, QString> variables) const
    {
        LanguageSupport::Environment env;
        env.programPath = ProgramFolder() + QStringLiteral("/KWVDDesigner");
        env.variable = [variables](const char* name) {
            const auto found = variables.find(name);
            return found == variables.end() ? QString() : found->second;
        };
        env.machineLocaleFiles = {LocaleFile(), m_root.filePath(QStringLiteral("no-such-file"))};
        return env;
    }

    static void StoreLanguageId(std::uint32_t id)
    {
        kwvd::RegistryStore& store = kwvd::RegistryStore::Instance();
        const auto key = store.CreateKey(HKEY_CURRENT_USER, DesignerKeyPath());
        ASSERT_TRUE(key.has_value());
        store.WriteValue(*key, u"LanguageId", kwvd::RegistryValue::Number(id));
    }

    static std::optional<std::uint32_t> StoredLanguageId()
    {
        kwvd::RegistryStore& store = kwvd::RegistryStore::Instance();
        const auto key = store.OpenKey(HKEY_CURRENT_USER, DesignerKeyPath());
        return key ? store.ReadNumber(*key, u"LanguageId") : std::nullopt;
    }

private:
    QTemporaryDir m_root;
};

struct Bundle
{
    const char* abbreviation;
    WORD language;
    bool shared = false;
    const char* body = nullptr; // replaces the usual text when set
};

struct CandidateCase
{
    const char* name;
    std::uint32_t storedId; // 0: none stored
    std::map<std::string, QString> variables;
    const char* machineLocaleFile; // its text; null: none
    std::vector<Bundle> bundles;
    WORD expectedLanguage;
    bool expectBundle;
    std::vector<WORD> expectedTried;
};

void PrintTo(const CandidateCase& c, std::ostream* os)
{
    *os << c.name;
}

class LanguageCandidates : public ::testing::TestWithParam<CandidateCase>
{
protected:
    void TearDown() override { StringTable::SetSource(nullptr); }

    ScopedRegistryFolder registry;
    LanguageFolders folders;
};

const CandidateCase kCandidates[] = {
    {"no bundles give the program's language",
     0,
     {{"LANG", "de_DE.UTF-8"}},
     nullptr,
     {},
     0x0809,
     false,
     {0x0407, 0x0007, 0x0809}},
    {"0x0C07 without a German bundle tries its primary and default sublanguage first",
     0x0C07,
     {{"LANGUAGE", "fr_FR:de"}},
     nullptr,
     {{"FRA", 0x040C}},
     0x040C,
     true,
     {0x0C07, 0x0007, 0x0407, 0x040C}},
    {"an id without an abbreviation is skipped",
     0x0436,
     {{"LANGUAGE", "de"}},
     nullptr,
     {{"DEU", 0x0407}},
     0x0407,
     true,
     {0x0436, 0x0036, 0x0007}},
    {"a stored 0x0809 gives the built-in texts",
     0x0809,
     {{"LANG", "de_DE.UTF-8"}},
     "LANG=de_DE.UTF-8\n",
     {{"DEU", 0x0407}},
     0x0809,
     false,
     {0x0809}},
    {"de_CH.UTF-8@euro with only a DEU bundle loads German",
     0,
     {{"LANG", "de_CH.UTF-8@euro"}},
     nullptr,
     {{"DEU", 0x0407}},
     0x0407,
     true,
     {0x0807, 0x0007}},
    {"the first entry of LANGUAGE comes before the locales",
     0,
     {{"LANGUAGE", "it_IT:de_DE"}, {"LANG", "de_DE.UTF-8"}},
     "LANG=de_DE.UTF-8\n",
     {{"DEU", 0x0407}, {"ITA", 0x0410}},
     0x0410,
     true,
     {0x0410}},
    {"the machine's locale comes before the process's",
     0,
     {{"LANG", "it_IT.UTF-8"}},
     "# set by the installer\nLANG=\"fr_CA.UTF-8\"\n",
     {{"FRA", 0x040C}, {"ITA", 0x0410}},
     0x040C,
     true,
     {0x0C0C, 0x000C}},
    {"LC_ALL before LC_MESSAGES before LANG",
     0,
     {{"LC_ALL", "fr_FR.UTF-8"}, {"LC_MESSAGES", "it_IT"}, {"LANG", "de_DE"}},
     nullptr,
     {{"DEU", 0x0407}, {"FRA", 0x040C}, {"ITA", 0x0410}},
     0x040C,
     true,
     {0x040C}},
    {"LC_MESSAGES when LC_ALL is empty",
     0,
     {{"LC_ALL", ""}, {"LC_MESSAGES", "it_IT"}, {"LANG", "de_DE"}},
     nullptr,
     {{"DEU", 0x0407}, {"ITA", 0x0410}},
     0x0410,
     true,
     {0x0410}},
    {"the machine's locale is tried again after the process's",
     0,
     {{"LANG", "it_IT"}},
     "LANG=de_DE.UTF-8\n",
     {},
     0x0809,
     false,
     {0x0407, 0x0007, 0x0410, 0x0010, 0x0407, 0x0007, 0x0809}},
    {"C and POSIX name no language",
     0,
     {{"LANGUAGE", "C"}, {"LC_ALL", "POSIX"}, {"LANG", "C.UTF-8"}},
     "LANG=C\n",
     {{"DEU", 0x0407}},
     0x0809,
     false,
     {0x0809}},
    {"a bundle in the shared folder",
     0,
     {{"LANG", "de_DE.UTF-8"}},
     nullptr,
     {{"DEU", 0x0407, true}},
     0x0407,
     true,
     {0x0407}},
    {"a bundle that cannot be read counts as missing",
     0,
     {{"LANG", "de_DE.UTF-8"}},
     nullptr,
     {{"DEU", 0x0407, false, "KWVD Language 1 0x0407\n[Texts]\n1=bad \\escape\n"}},
     0x0809,
     false,
     {0x0407, 0x0007, 0x0809}},
    {"the program folder's bundle wins over the shared folder's",
     0,
     {{"LANG", "de_DE.UTF-8"}},
     nullptr,
     {{"DEU", 0x0407, true, "KWVD Language 1 0x0407\n[Texts]\n2130706433=shared\n"}, {"DEU", 0x0407}},
     0x0407,
     true,
     {0x0407}},
    {"a stored number beyond 16 bits names no language",
     0x10407,
     {},
     nullptr,
     {{"DEU", 0x0407}},
     0x0809,
     false,
     {0x0809}},
};

TEST_P(LanguageCandidates, LoadTheFirstThatHasABundle)
{
    const CandidateCase& c = GetParam();
    if (c.storedId != 0)
        LanguageFolders::StoreLanguageId(c.storedId);
    if (c.machineLocaleFile)
        folders.Write(QFileInfo(folders.LocaleFile()).path(), QStringLiteral("locale"), c.machineLocaleFile);
    for (const Bundle& bundle : c.bundles) {
        if (bundle.body)
            folders.Write(bundle.shared ? folders.SharedFolder() : folders.ProgramFolder(),
                          QStringLiteral("KWVDDesigner%1.lang").arg(QLatin1String(bundle.abbreviation)), bundle.body);
        else
            folders.AddBundle(bundle.abbreviation, bundle.language, bundle.shared);
    }

    LanguageSupport language(folders.Environment(c.variables));
    EXPECT_EQ(language.ChooseLanguage(), c.expectBundle ? TRUE : FALSE);
    EXPECT_EQ(language.CurrentLanguage, c.expectedLanguage);
    EXPECT_EQ(language.TriedLanguages(), c.expectedTried);
    // The loaded bundle answers the probe; the built-in texts have none.
    if (c.expectBundle)
        EXPECT_TRUE(StringTable::Find(kProbeText).has_value());
    else
        EXPECT_FALSE(StringTable::Find(kProbeText).has_value());
}

INSTANTIATE_TEST_SUITE_P(Choice, LanguageCandidates, ::testing::ValuesIn(kCandidates));

class LanguageList : public ::testing::Test
{
protected:
    void TearDown() override { StringTable::SetSource(nullptr); }

    std::vector<WORD> Enumerate() const
    {
        LanguageSupport language(folders.Environment({}));
        language.EnumerateLanguages();
        return language.AvailableLanguages;
    }

    ScopedRegistryFolder registry;
    LanguageFolders folders;
};

TEST_F(LanguageList, WithoutBundlesOnlyTheProgramsLanguage)
{
    EXPECT_EQ(Enumerate(), std::vector<WORD>{0x0809});
}

TEST_F(LanguageList, EveryBundleIsListedInBothFoldersUnsortedAndWithRepeats)
{
    folders.AddBundle("DEU", 0x0407);
    folders.AddBundle("DEX", 0x0407); // another German bundle
    folders.AddBundle("ENG", 0x0809); // the program's language again
    folders.AddBundle("FRA", 0x040C, true);
    folders.AddBundle("DEU", 0x0407, true);
    EXPECT_EQ(Enumerate(), (std::vector<WORD>{0x0809, 0x0407, 0x0407, 0x0809, 0x0407, 0x040C}));
}

TEST_F(LanguageList, FilesNamedOtherwiseOrWithABrokenFirstLineAreLeftOut)
{
    folders.AddBundle("ITA", 0x0410);
    const QString bin = folders.ProgramFolder();
    folders.Write(bin, QStringLiteral("KWVDDesignerDEUT.lang"), BundleText(0x0407));
    folders.Write(bin, QStringLiteral("KWVDDesignerDE.lang"), BundleText(0x0407));
    folders.Write(bin, QStringLiteral("kwvddesignerDEU.lang"), BundleText(0x0407));
    folders.Write(bin, QStringLiteral("KWVDDesignerDEU.LANG"), BundleText(0x0407));
    folders.Write(bin, QStringLiteral("KWVDDesignerDEU.lang.bak"), BundleText(0x0407));
    folders.Write(bin, QStringLiteral("OtherDEU.lang"), BundleText(0x0407));
    folders.Write(bin, QStringLiteral("KWVDDesignerFRA.lang"), "KWVD Language 1 0x40C\n[Texts]\n");
    folders.Write(bin, QStringLiteral("KWVDDesignerESP.lang"), "");
    ASSERT_TRUE(QDir(bin).mkdir(QStringLiteral("KWVDDesignerPTG.lang")));
    EXPECT_EQ(Enumerate(), (std::vector<WORD>{0x0809, 0x0410}));
}

TEST_F(LanguageList, MenuListsTheLanguagesWithTheCurrentOneChecked)
{
    folders.AddBundle("DEU", 0x0407);
    folders.AddBundle("FRA", 0x040C);
    LanguageSupport language(folders.Environment({{"LANG", "fr_FR.UTF-8"}}));
    language.ChooseLanguage();

    QMenu* none = nullptr;
    language.BuildLanguageMenu(none);
    EXPECT_EQ(language.AvailableLanguages, (std::vector<WORD>{0x0809, 0x0407, 0x040C}));
    EXPECT_EQ(language.CurrentLanguageCommand, 28416u + 2);

    // An item past the list stores nothing.
    EXPECT_FALSE(language.SelectLanguage(28416 + 3));
    EXPECT_FALSE(LanguageFolders::StoredLanguageId().has_value());
    EXPECT_FALSE(language.SelectLanguage(28415));

    EXPECT_TRUE(language.SelectLanguage(28416 + 1));
    EXPECT_EQ(LanguageFolders::StoredLanguageId(), 0x0407u);
    EXPECT_EQ(language.CurrentLanguage, 0x0407);
    EXPECT_EQ(StringTable::Find(kProbeText), QStringLiteral("bundle 0407"));

    EXPECT_TRUE(language.SelectLanguage(28416));
    EXPECT_EQ(LanguageFolders::StoredLanguageId(), 0x0809u);
    EXPECT_FALSE(language.HasLanguageLibrary());
    EXPECT_FALSE(StringTable::Find(kProbeText).has_value());
}

TEST_F(LanguageList, DestructionPutsBackTheBuiltInTexts)
{
    folders.AddBundle("DEU", 0x0407);
    {
        LanguageSupport language(folders.Environment({{"LANG", "de_DE"}}));
        ASSERT_TRUE(language.ChooseLanguage());
        EXPECT_TRUE(StringTable::Find(kProbeText).has_value());
    }
    EXPECT_EQ(StringTable::GetSource(), nullptr);
}

// The keys of one command in accelerator table 128.
QList<QKeySequence> KeysOf(UINT command)
{
    QList<QKeySequence> keys;
    for (const AccelEntry& entry : LoadAcceleratorTable(IDR_MAINFRAME))
        if (entry.id == command)
            keys.append(entry.key);
    return keys;
}

TEST(LanguageAccelerators, ABundleMovesKeysAndLeavesTheOthers)
{
    const QKeySequence ctrlO(QStringLiteral("Ctrl+O"));
    const QKeySequence ctrlF(QStringLiteral("Ctrl+F"));
    const QKeySequence f3(QStringLiteral("F3"));
    ASSERT_EQ(KeysOf(57601), QList<QKeySequence>{ctrlO});
    ASSERT_EQ(KeysOf(57636), QList<QKeySequence>{ctrlF});

    // Find gets Ctrl+O and F3: Open loses Ctrl+O, nothing keeps Ctrl+F.
    const auto bundle = LanguageBundle::Parse("KWVD Language 1 0x0407\n[Accelerators]\nCtrl+O=57636\nF3=57636\n");
    ASSERT_NE(bundle, nullptr);
    StringTable::SetSource(bundle);
    EXPECT_EQ(KeysOf(57636), (QList<QKeySequence>{ctrlO, f3}));
    EXPECT_TRUE(KeysOf(57601).isEmpty());
    EXPECT_EQ(KeysOf(57603), QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+S"))});
    for (const AccelEntry& entry : LoadAcceleratorTable(IDR_MAINFRAME))
        EXPECT_NE(entry.key, ctrlF);

    // A bundle without the section keeps the program's keys.
    StringTable::SetSource(LanguageBundle::Parse("KWVD Language 1 0x0407\n[Texts]\n57345=Bereit\n"));
    EXPECT_EQ(KeysOf(57601), QList<QKeySequence>{ctrlO});
    StringTable::SetSource(nullptr);
    EXPECT_EQ(KeysOf(57636), QList<QKeySequence>{ctrlF});
}

TEST(LanguageTable, AbbreviationsOfIdsNeutralIdsAndIdsOutsideTheTable)
{
    struct Case
    {
        const char* name;
        WORD id;
        const char* expected;
    };
    const Case cases[] = {
        {"German", 0x0407, "DEU"},
        {"Swiss German", 0x0807, "DES"},
        {"UK English", 0x0809, "ENG"},
        {"US English", 0x0409, "ENU"},
        {"neutral German", 0x0007, "DEU"},
        {"neutral English", 0x0009, "ENU"},
        {"Afrikaans, not listed", 0x0436, ""},
        {"neutral of a missing language", 0x0036, ""},
        {"zero", 0x0000, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LanguageAbbreviation(c.id), QString::fromLatin1(c.expected)) << c.name;
}

TEST(LanguageTable, LocaleNamesMapThroughTheTable)
{
    struct Case
    {
        const char* name;
        const char* locale;
        WORD expected;
    };
    const Case cases[] = {
        {"language and territory", "de_DE", 0x0407},
        {"charset and modifier", "de_CH.UTF-8@euro", 0x0807},
        {"another territory", "en_GB.UTF-8", 0x0809},
        {"language alone", "de", 0x0007},
        {"a territory the table lacks", "de_BE.UTF-8", 0x0007},
        {"Chinese of Taiwan", "zh_TW.Big5", 0x0404},
        {"C", "C", 0},
        {"C with a charset", "C.UTF-8", 0},
        {"POSIX", "POSIX", 0},
        {"unknown language", "xx_YY", 0},
        {"a language outside the table", "af_ZA", 0},
        {"upper-case language", "DE_DE", 0},
        {"empty", "", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LanguageIdFromLocaleName(QString::fromLatin1(c.locale)), c.expected) << c.name;
}

TEST(LanguageTable, CoversEveryTableRowWithAnAbbreviationAndALocale)
{
    std::set<WORD> ids;
    for (const LanguageIdRow& row : LanguageIdTable()) {
        EXPECT_TRUE(ids.insert(row.id).second) << std::hex << row.id;
        EXPECT_EQ(QByteArray(row.abbreviation).size(), 3) << std::hex << row.id;
        EXPECT_NE(SubLanguage(row.id), 0) << std::hex << row.id;
        EXPECT_EQ(LanguageIdFromLocaleName(QLocale(row.language, row.territory).name()) != 0, true)
            << std::hex << row.id;
    }
}

TEST(LanguageTable, NamesAreQtsNativeNamesElseTheNumber)
{
    EXPECT_EQ(LanguageSupport::GetLanguageName(0x0407), QStringLiteral("Deutsch"));
    EXPECT_EQ(LanguageSupport::GetLanguageName(0x040C), QString::fromUtf8("fran\xC3\xA7"
                                                                          "ais"));
    EXPECT_EQ(LanguageSupport::GetLanguageName(0x0007), QStringLiteral("Deutsch"));
    EXPECT_EQ(LanguageSupport::GetLanguageName(0x0436), QStringLiteral("1078 - ???"));
    EXPECT_EQ(LanguageSupport::GetLanguageName(0), QStringLiteral("0 - ???"));
}

} // namespace
