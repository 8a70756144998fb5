// What loading makes of values as they may stand in the store (out of range,
// shortened, written by hand with the wrong type) and what saving writes.

#include "designer/preferences/tests/PreferencesFixture.h"

#include <QString>

#include <cstdint>
#include <optional>

using kwvd::RegistryValue;

namespace {

RegistryValue Dword(std::int32_t number)
{
    return RegistryValue::Number(static_cast<std::uint32_t>(number));
}

#define FIELD(f) [](const CPreferences& p) { return Shown(p.f); }
#define COLOUR(f) [](const CPreferences& p) { return ShownColour(p.f); }

} // namespace

TEST_F(PreferencesFixture, LoadTakesStoredValuesByTheirRules)
{
    struct Case
    {
        const char* name;
        const char* section;
        const char* value;
        RegistryValue stored;
        QString (*shown)(const CPreferences&);
        const char* expected;
    };
    const QString withNul = QStringLiteral("SYS") + QChar(u'\0') + QStringLiteral("junk");
    const Case cases[] = {
        {"JVX version 0 is the newest", "Preferences", "DefaultJVXVersion", Dword(0), FIELD(DefaultJVXVersion), "28"},
        {"JVX version -3 is the newest", "Preferences", "DefaultJVXVersion", Dword(-3), FIELD(DefaultJVXVersion), "28"},
        {"JVX version 29 is the newest", "Preferences", "DefaultJVXVersion", Dword(29), FIELD(DefaultJVXVersion), "28"},
        {"JVX version 27 stays", "Preferences", "DefaultJVXVersion", Dword(27), FIELD(DefaultJVXVersion), "27"},
        {"JVX version 1 stays", "Preferences", "DefaultJVXVersion", Dword(1), FIELD(DefaultJVXVersion), "1"},
        {"image format 7 gives 0", "Preferences", "ImageExportFormat", Dword(7), FIELD(ImageExportFormat), "0"},
        {"image format -1 gives 0", "Preferences", "ImageExportFormat", Dword(-1), FIELD(ImageExportFormat), "0"},
        {"image format 3 stays", "Preferences", "ImageExportFormat", Dword(3), FIELD(ImageExportFormat), "3"},
        {"image format 0 stays", "Preferences", "ImageExportFormat", Dword(0), FIELD(ImageExportFormat), "0"},
        {"undo 2048 gives 1", "Preferences", "MaximumUndoBufferSize", Dword(2048), FIELD(MaximumUndoBufferSize), "1"},
        {"undo -1 gives 1", "Preferences", "MaximumUndoBufferSize", Dword(-1), FIELD(MaximumUndoBufferSize), "1"},
        {"undo 0 stays", "Preferences", "MaximumUndoBufferSize", Dword(0), FIELD(MaximumUndoBufferSize), "0"},
        {"undo 1024 stays", "Preferences", "MaximumUndoBufferSize", Dword(1024), FIELD(MaximumUndoBufferSize), "1024"},
        {"sticky tools 65537 is on", "Preferences", "StickyTools", Dword(65537), FIELD(StickyTools), "65537"},
        {"spooled pages are not range checked", "Preferences", "MaxSpooledFilePages", Dword(0),
         FIELD(MaxSpooledFilePages), "0"},
        {"image rounding is read", "Preferences", "ImageResolutionRounding", Dword(50), FIELD(ImageResolutionRounding),
         "50"},
        {"blanks around the library go", "AS400", "DefaultLibrary", RegistryValue::Text(u"  LIB \t"),
         FIELD(DefaultLibrary), "LIB"},
        {"queue library follows the trimmed library", "AS400", "DefaultLibrary", RegistryValue::Text(u"  LIB  "),
         FIELD(DefaultOutputQueueLibrary), "LIB"},
        {"export path gets its separator", "AS400", "DefaultExportPath",
         RegistryValue::Text(u"/mnt/SYS/QDLS/KWVD/PCIN"), FIELD(DefaultExportPath), "/mnt/SYS/QDLS/KWVD/PCIN/"},
        {"export path ending in / stays", "AS400", "DefaultExportPath", RegistryValue::Text(u"/mnt/x/"),
         FIELD(DefaultExportPath), "/mnt/x/"},
        {"export path ending in \\ stays", "AS400", "DefaultExportPath",
         RegistryValue::Text(u"\\\\SYS\\QDLS\\KWVD\\PCIN\\"), FIELD(DefaultExportPath), "\\\\SYS\\QDLS\\KWVD\\PCIN\\"},
        {"empty export path stays empty", "AS400", "DefaultExportPath", RegistryValue::Text(u""),
         FIELD(DefaultExportPath), ""},
        {"text ends at its first NUL", "AS400", "DefaultSystem", RegistryValue::Text(withNul), FIELD(DefaultSystem),
         "SYS"},
        {"colour 0 0 255 is pure blue", "Preferences", "ColourElementLoop", RegistryValue::Text(u"000 000 255"),
         COLOUR(ColourElementLoop), "0,0,255"},
        {"colour keeps the low 8 bits", "Preferences", "ColourElementLoop", RegistryValue::Text(u"300 000 000"),
         COLOUR(ColourElementLoop), "44,0,0"},
        {"colour beyond 32 bits keeps the low 8 bits", "Preferences", "ColourElementLoop",
         RegistryValue::Text(u"000 000 4294967297"), COLOUR(ColourElementLoop), "0,0,1"},
        {"colour without leading zeros", "Preferences", "ColourElementLoop", RegistryValue::Text(u"7   8   9"),
         COLOUR(ColourElementLoop), "7,8,9"},
        {"shortened colour gives 0 for what is missing", "Preferences", "ColourElementLoop",
         RegistryValue::Text(u"255 0"), COLOUR(ColourElementLoop), "255,0,0"},
        {"colour of one digit", "Preferences", "ColourElementLoop", RegistryValue::Text(u"9"),
         COLOUR(ColourElementLoop), "9,0,0"},
        {"colour that is no number is black", "Preferences", "ColourElementLoop", RegistryValue::Text(u"red"),
         COLOUR(ColourElementLoop), "0,0,0"},
        {"empty colour is the default", "Preferences", "ColourElementLoop", RegistryValue::Text(u""),
         COLOUR(ColourElementLoop), "255,255,0"},
        {"zoom pair", "Preferences", "ZoomDest", RegistryValue::Text(u"150 075"), FIELD(ZoomDest), "150,75"},
        {"shortened zoom gives 0 for y", "Preferences", "ZoomDest", RegistryValue::Text(u"150"), FIELD(ZoomDest),
         "150,0"},
        {"zoom of four digits keeps both", "Preferences", "ZoomDest", RegistryValue::Text(u"1000 1000"),
         FIELD(ZoomDest), "1000,1000"},
        {"zoom too large for an int is the largest", "Preferences", "ZoomDest", RegistryValue::Text(u"010 99999999999"),
         FIELD(ZoomDest), "10,2147483647"},
        {"number string up to its first non-digit", "Preferences", "DefaultCodePageID", RegistryValue::Text(u"37x"),
         FIELD(DefaultCodePageID), "37"},
        {"number string that is no number is 0", "Preferences", "DefaultCodePageID", RegistryValue::Text(u"abc"),
         FIELD(DefaultCodePageID), "0"},
        {"number string beyond 32 bits is the largest", "Preferences", "DefaultChrID",
         RegistryValue::Text(u"99999999999"), FIELD(DefaultChrID), "4294967295"},
        {"empty text is the default", "Preferences", "DefaultCodePage", RegistryValue::Text(u""),
         FIELD(DefaultCodePage), "T1V10285"},
        // Values written by hand with the wrong type cannot be read: each
        // takes its default.
        {"number for a text", "AS400", "DefaultOutputQueue", Dword(5), FIELD(DefaultOutputQueue), "QPRINT"},
        {"binary for a text", "Preferences", "DefaultCharSet", RegistryValue::Binary("Greek"), FIELD(DefaultCharSet),
         "Ansi"},
        {"text for a number", "Preferences", "ZoomFitSource", RegistryValue::Text(u"2"), FIELD(ZoomFitSource), "4"},
        {"text for the port", "AS400", "ExportSocketsPort", RegistryValue::Text(u"4000"), FIELD(ExportSocketsPort),
         "3772"},
        {"number for a colour", "Preferences", "ColourNoPrintBorder", Dword(0xFF), COLOUR(ColourNoPrintBorder),
         "63,63,63"},
        {"number for a zoom pair", "Preferences", "ZoomSource", Dword(125), FIELD(ZoomSource), "0,0"},
        {"number for a number string", "Preferences", "DefaultChrID", Dword(1175), FIELD(DefaultChrID), "697"},
        {"text for the JVX version", "Preferences", "DefaultJVXVersion", RegistryValue::Text(u"5"),
         FIELD(DefaultJVXVersion), "28"},
    };

    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseRegistryFolder(QStringLiteral("row-%1").arg(++row));
        Store(c.section, QString::fromLatin1(c.value), c.stored);

        CPreferences prefs;
        prefs.LoadPreferences();
        EXPECT_EQ(c.shown(prefs), QString::fromUtf8(c.expected));
    }
}

TEST_F(PreferencesFixture, SaveWritesFlagsFromTheirLowWord)
{
    struct Case
    {
        const char* name;
        const char* section;
        void (*set)(CPreferences&, BOOL);
        BOOL inMemory;
        std::uint32_t saved;
    };
    const Case cases[] = {
        {"StickyTools 65537", "Preferences", [](CPreferences& p, BOOL v) { p.StickyTools = v; }, 65537, 1},
        {"ShowSplashWindow 0x10002", "Preferences", [](CPreferences& p, BOOL v) { p.ShowSplashWindow = v; }, 0x10002,
         2},
        {"OverwriteExistingAS400File 0x10000", "Preferences",
         [](CPreferences& p, BOOL v) { p.OverwriteExistingAS400File = v; }, 0x10000, 0},
        {"ExportUsingSockets -1", "AS400", [](CPreferences& p, BOOL v) { p.ExportUsingSockets = v; }, -1, 0xFFFF},
    };

    CPreferences prefs;
    prefs.LoadPreferences();
    for (const Case& c : cases)
        c.set(prefs, c.inMemory);
    prefs.SavePreferences();

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = QString::fromLatin1(c.name).section(u' ', 0, 0);
        EXPECT_EQ(Stored(c.section, name), RegistryValue::Number(c.saved));
    }
}

TEST_F(PreferencesFixture, NewestJvxVersionIsRemovedRatherThanSaved)
{
    Store("Preferences", QStringLiteral("DefaultJVXVersion"), RegistryValue::Number(27));
    CPreferences prefs;
    prefs.LoadPreferences();
    ASSERT_EQ(prefs.DefaultJVXVersion, 27);

    prefs.DefaultJVXVersion = 28;
    prefs.SavePreferences();

    EXPECT_FALSE(Stored("Preferences", QStringLiteral("DefaultJVXVersion")));
    CPreferences reloaded;
    reloaded.LoadPreferences();
    EXPECT_EQ(reloaded.DefaultJVXVersion, 28);
}

TEST_F(PreferencesFixture, ValuesThatAreNotSavedKeepWhatTheStoreHolds)
{
    Store("Preferences", QStringLiteral("ApplicationDirectory"), RegistryValue::Text(u"/opt/kwvd/"));
    Store("Preferences", QStringLiteral("ApplicationDataDirectory"), RegistryValue::Text(u"/srv/kwvd-data"));
    CPreferences prefs;
    prefs.ReadEnableDebugServices();
    prefs.LoadPreferences();

    prefs.ApplicationDirectory = QStringLiteral("/elsewhere/");
    prefs.ApplicationDataDirectory = QStringLiteral("/elsewhere");
    prefs.ImageResolutionRounding = 10;
    prefs.EnableDebugServices = 1;
    prefs.SavePreferences();

    EXPECT_EQ(Stored("Preferences", QStringLiteral("ApplicationDirectory")), RegistryValue::Text(u"/opt/kwvd/"));
    EXPECT_EQ(Stored("Preferences", QStringLiteral("ApplicationDataDirectory")),
              RegistryValue::Text(u"/srv/kwvd-data"));
    EXPECT_FALSE(Stored("Preferences", QStringLiteral("ImageResolutionRounding")));
    EXPECT_FALSE(Stored("Preferences", QStringLiteral("EnableDebugServices")));
}

TEST_F(PreferencesFixture, StartUpValuesAreReadOnTheirOwn)
{
    struct Case
    {
        const char* name;
        std::optional<RegistryValue> debug;
        std::optional<RegistryValue> splash;
        BOOL expectedDebug;
        BOOL expectedSplash;
    };
    const Case cases[] = {
        {"absent", std::nullopt, std::nullopt, 0, 1},
        {"stored", Dword(1), Dword(2), 1, 2},
        {"wrong type", RegistryValue::Text(u"1"), RegistryValue::Text(u"0"), 0, 1},
    };
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseRegistryFolder(QStringLiteral("row-%1").arg(++row));
        if (c.debug)
            Store("Preferences", QStringLiteral("EnableDebugServices"), *c.debug);
        if (c.splash)
            Store("Preferences", QStringLiteral("ShowSplashWindow"), *c.splash);

        CPreferences prefs;
        prefs.ReadEnableDebugServices();
        prefs.ReadShowSplashWindow();
        EXPECT_EQ(prefs.EnableDebugServices, c.expectedDebug);
        EXPECT_EQ(prefs.ShowSplashWindow, c.expectedSplash);
        EXPECT_FALSE(prefs.IsLoaded());
    }
}

// An exit after a start-up that never loaded the preferences must not write
// the empty fields over the user's settings.
TEST_F(PreferencesFixture, SaveBeforeLoadWritesNothing)
{
    Store("Preferences", QStringLiteral("ShowSplashWindow"), RegistryValue::Number(0));
    Store("AS400", QStringLiteral("DefaultSystem"), RegistryValue::Text(u"SYS400"));
    Store("Preferences", QStringLiteral("DefaultJVXVersion"), RegistryValue::Number(12));

    CPreferences prefs;
    prefs.ReadShowSplashWindow();
    prefs.SavePreferences();

    EXPECT_EQ(Stored("Preferences", QStringLiteral("ShowSplashWindow")), RegistryValue::Number(0));
    EXPECT_EQ(Stored("AS400", QStringLiteral("DefaultSystem")), RegistryValue::Text(u"SYS400"));
    EXPECT_EQ(Stored("Preferences", QStringLiteral("DefaultJVXVersion")), RegistryValue::Number(12));
    EXPECT_FALSE(Stored("Preferences", QStringLiteral("ColourElementLoop")));
}

// The splash setting is saved at exit, so it must hold the stored value even
// when start-up loaded the rest without reading it first.
TEST_F(PreferencesFixture, SplashSettingSurvivesALoadThatDidNotReadItFirst)
{
    Store("Preferences", QStringLiteral("ShowSplashWindow"), RegistryValue::Number(0));

    CPreferences prefs;
    prefs.LoadPreferences();
    prefs.SavePreferences();

    EXPECT_EQ(prefs.ShowSplashWindow, 0);
    EXPECT_EQ(Stored("Preferences", QStringLiteral("ShowSplashWindow")), RegistryValue::Number(0));
}
