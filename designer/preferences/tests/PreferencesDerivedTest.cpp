// Values the model derives from the preferences: the element colours, the
// export path root and the catalogue server's address.

#include "designer/preferences/ElementColourTable.h"
#include "designer/preferences/tests/PreferencesFixture.h"

using kwvd::RegistryValue;

TEST_F(PreferencesFixture, ElementColourByTypeIndex)
{
    // Each colour stored apart from the others, so a swapped row shows.
    const char* const names[] = {
        "ColourElementSource",      "ColourElementEraser",    "ColourElementText",       "ColourElementLoop",
        "ColourElementConditional", "ColourElementExitParam", "ColourElementVariable",   "ColourElementAddress",
        "ColourElementBarcode",     "ColourElementImage",     "ColourElementXmlElement", "ColourElementXmlAttribute",
        "ColourElementXmlComment",  "ColourNoPrintBorder",
    };
    int red = 0;
    for (const char* name : names) {
        ++red;
        Store("Preferences", QString::fromLatin1(name),
              RegistryValue::Text(QStringLiteral("%1 007 009").arg(red, 3, 10, QChar(u'0'))));
    }
    CPreferences prefs;
    prefs.LoadPreferences();

    struct Case
    {
        const char* name;
        int typeIndex;
        COLORREF expected;
    };
    const auto stored = [](int r) { return kwvd::ColourRef(static_cast<BYTE>(r), 7, 9); };
    const Case cases[] = {
        {"address 249", 0, stored(8)},
        {"barcode 250", 1, stored(9)},
        {"conditional 252", 3, stored(5)},
        {"eraser 256", 7, stored(2)},
        {"exit parameter 257", 8, stored(6)},
        {"image 259", 10, stored(10)},
        {"loop 260", 11, stored(4)},
        {"source 265", 16, stored(1)},
        {"static text 266", 17, stored(3)},
        {"variable 267", 18, stored(7)},
        {"XML attribute 268", 19, stored(12)},
        {"XML comment 269", 20, stored(13)},
        {"XML element 270", 21, stored(11)},
        {"no-print border 326", 77, stored(14)},
        {"exit program 258", 9, kwvd::kWhite},
        {"output device 262", 13, kwvd::kWhite},
        {"remark 263", 14, kwvd::kWhite},
        {"XML instruction 271", 22, kwvd::kWhite},
        {"type id 400", 151, kwvd::kWhite},
        {"below the first type", -1, kwvd::kWhite},
        {"just past the border", 78, kwvd::kWhite},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(prefs.GetElementColour(c.typeIndex), c.expected);
    }
}

TEST(PreferencesDerived, ExportPathRoot)
{
    struct Case
    {
        const char* name;
        const char* exportPath;
        const char* library;
        const char* expected;
    };
    const Case cases[] = {
        {"host folder form", "\\\\SYS\\QDLS\\KWVD\\PCIN\\", "KWVD", "\\\\SYS\\QDLS\\"},
        {"mounted folder", "/mnt/SYS/QDLS/KWVD/PCIN/", "KWVD", "/mnt/SYS/QDLS/"},
        {"first occurrence counts", "/mnt/LIB/QDLS/LIB/PCIN/", "LIB", "/mnt/"},
        {"library not in the path", "/mnt/SYS/QDLS/OTHER/PCIN/", "KWVD", "/mnt/SYS/QDLS/OTHER/PCIN/"},
        {"search is case-sensitive", "/mnt/sys/qdls/kwvd/pcin/", "KWVD", "/mnt/sys/qdls/kwvd/pcin/"},
        {"library at the very start", "KWVD/PCIN/", "KWVD", "KWVD/PCIN/"},
        {"cut inside a name gets a separator", "/mnt/XKWVD/PCIN/", "KWVD", "/mnt/X/"},
        {"whole path without separator gets one", "/mnt/OTHER", "KWVD", "/mnt/OTHER/"},
        {"empty path", "", "KWVD", ""},
        {"empty library", "/mnt/SYS/", "", "/mnt/SYS/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPreferences prefs;
        prefs.DefaultExportPath = QString::fromLatin1(c.exportPath);
        prefs.DefaultLibrary = QString::fromLatin1(c.library);
        EXPECT_EQ(prefs.GetExportPathRoot(), QString::fromLatin1(c.expected));
    }
}

TEST(PreferencesDerived, SetDefaultExportPathKeepsAClosingSeparator)
{
    struct Case
    {
        const char* name;
        const char* path;
        const char* expected;
    };
    const Case cases[] = {
        {"appended", "/mnt/SYS/QDLS/KWVD/PCIN", "/mnt/SYS/QDLS/KWVD/PCIN/"},
        {"slash kept", "/mnt/x/", "/mnt/x/"},
        {"backslash kept", "\\\\SYS\\QDLS\\", "\\\\SYS\\QDLS\\"},
        {"empty stays empty", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPreferences prefs;
        prefs.SetDefaultExportPath(QString::fromLatin1(c.path));
        EXPECT_EQ(prefs.DefaultExportPath, QString::fromLatin1(c.expected));
    }
}

TEST(PreferencesDerived, DorrelBaseUrl)
{
    struct Case
    {
        const char* name;
        const char* address;
        const char* system;
        const char* expected;
    };
    const Case cases[] = {
        {"default system on port 6400", "", "SYS400", "http://SYS400:6400"},
        {"no default system either", "", "", "http://:6400"},
        {"address as it stands", "http://cat.example:8080", "SYS400", "http://cat.example:8080"},
        {"one trailing slash goes", "http://cat.example:8080/", "SYS400", "http://cat.example:8080"},
        {"only one of two slashes goes", "http://cat.example//", "SYS400", "http://cat.example/"},
        {"a trailing backslash goes", "http://cat.example\\", "SYS400", "http://cat.example"},
        {"backslash first, then nothing more", "http://cat.example/\\", "SYS400", "http://cat.example/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPreferences prefs;
        prefs.DorrelAddress = QString::fromLatin1(c.address);
        prefs.DefaultSystem = QString::fromLatin1(c.system);
        EXPECT_EQ(prefs.GetDorrelBaseUrl(), QString::fromLatin1(c.expected));
    }
}

TEST(PreferencesDerived, ModelReadsTheInstalledPreferences)
{
    CPreferences& fallback = Preferences();
    EXPECT_FALSE(fallback.IsLoaded());
    EXPECT_EQ(fallback.MaximumUndoBufferSize, 1);

    CPreferences mine;
    mine.DefaultSystem = QStringLiteral("SYS400");
    mine.SetServerAccessLoaded(TRUE);
    EXPECT_EQ(SetPreferences(&mine), nullptr);
    EXPECT_EQ(&Preferences(), &mine);
    EXPECT_EQ(Preferences().GetDorrelBaseUrl(), QStringLiteral("http://SYS400:6400"));
    EXPECT_TRUE(Preferences().IsServerAccessLoaded());

    EXPECT_EQ(SetPreferences(nullptr), &mine);
    EXPECT_EQ(&Preferences(), &fallback);
    EXPECT_FALSE(Preferences().IsServerAccessLoaded());
}

TEST(ElementColourTableTest, ResetPutsBackNamesAndBlackColours)
{
    ElementColourTableRows& table = ElementColourTable();
    table[0].colour = kwvd::kWhite;
    table[0].name = QStringLiteral("changed");
    table[kNoPrintBorderRow].colour = kwvd::ColourRef(1, 2, 3);

    ResetElementColourTable();

    EXPECT_EQ(table[0].name, QStringLiteral("Source"));
    EXPECT_EQ(table[kNoPrintBorderRow].name, QStringLiteral("No Print Border"));
    for (const ElementColourRow& row : table) {
        SCOPED_TRACE(row.name.toStdString());
        EXPECT_EQ(row.colour, 0u);
        EXPECT_LE(row.name.size(), kElementColourNameLength);
    }
}
