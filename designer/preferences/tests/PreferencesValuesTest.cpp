// Every preference: its default on an empty store, how it is stored at exit
// and that it reads back as it was saved.

#include "designer/preferences/tests/PreferencesFixture.h"

#include <QString>

using kwvd::RegistryValue;

namespace {

struct ValueCase
{
    const char* name; // the registry value
    const char* section;
    QString (*shown)(const CPreferences&);
    const char* byDefault;         // the field after loading an empty store
    void (*change)(CPreferences&); // a value other than the default
    RegistryValue saved;           // what the store holds after saving it
};

#define FIELD(f) [](const CPreferences& p) { return Shown(p.f); }
#define COLOUR(f) [](const CPreferences& p) { return ShownColour(p.f); }

const ValueCase kCases[] = {
    {"MasterFontFileV2", "Preferences", FIELD(MasterFontFileV2), "",
     [](CPreferences& p) { p.MasterFontFileV2 = QStringLiteral("/srv/fonts.dat"); },
     RegistryValue::Text(u"/srv/fonts.dat")},
    {"MasterOutputDeviceFileV2", "Preferences", FIELD(MasterOutputDeviceFileV2), "",
     [](CPreferences& p) { p.MasterOutputDeviceFileV2 = QStringLiteral("/srv/outp.dat"); },
     RegistryValue::Text(u"/srv/outp.dat")},
    {"MasterBarcodeFileName", "Preferences", FIELD(MasterBarcodeFileName), "",
     [](CPreferences& p) { p.MasterBarcodeFileName = QStringLiteral("/srv/bar.dat"); },
     RegistryValue::Text(u"/srv/bar.dat")},
    {"OutputDeviceOffsetsFileName", "Preferences", FIELD(OutputDeviceOffsetsFileName), "",
     [](CPreferences& p) { p.OutputDeviceOffsetsFileName = QStringLiteral("/srv/offs.dat"); },
     RegistryValue::Text(u"/srv/offs.dat")},
    {"ColourElementSource", "Preferences", COLOUR(ColourElementSource), "192,192,192",
     [](CPreferences& p) { p.ColourElementSource = kwvd::ColourRef(1, 2, 3); }, RegistryValue::Text(u"001 002 003")},
    {"ColourElementEraser", "Preferences", COLOUR(ColourElementEraser), "0,255,0",
     [](CPreferences& p) { p.ColourElementEraser = kwvd::ColourRef(4, 5, 6); }, RegistryValue::Text(u"004 005 006")},
    {"ColourElementText", "Preferences", COLOUR(ColourElementText), "255,255,192",
     [](CPreferences& p) { p.ColourElementText = kwvd::ColourRef(7, 8, 9); }, RegistryValue::Text(u"007 008 009")},
    {"ColourElementLoop", "Preferences", COLOUR(ColourElementLoop), "255,255,0",
     [](CPreferences& p) { p.ColourElementLoop = kwvd::ColourRef(10, 11, 12); }, RegistryValue::Text(u"010 011 012")},
    {"ColourElementConditional", "Preferences", COLOUR(ColourElementConditional), "255,0,0",
     [](CPreferences& p) { p.ColourElementConditional = kwvd::ColourRef(13, 14, 15); },
     RegistryValue::Text(u"013 014 015")},
    {"ColourElementExitParam", "Preferences", COLOUR(ColourElementExitParam), "0,0,255",
     [](CPreferences& p) { p.ColourElementExitParam = kwvd::ColourRef(16, 17, 18); },
     RegistryValue::Text(u"016 017 018")},
    {"ColourElementVariable", "Preferences", COLOUR(ColourElementVariable), "0,255,255",
     [](CPreferences& p) { p.ColourElementVariable = kwvd::ColourRef(19, 20, 21); },
     RegistryValue::Text(u"019 020 021")},
    {"ColourElementAddress", "Preferences", COLOUR(ColourElementAddress), "255,0,255",
     [](CPreferences& p) { p.ColourElementAddress = kwvd::ColourRef(22, 23, 24); },
     RegistryValue::Text(u"022 023 024")},
    {"ColourElementBarcode", "Preferences", COLOUR(ColourElementBarcode), "128,128,128",
     [](CPreferences& p) { p.ColourElementBarcode = kwvd::ColourRef(25, 26, 27); },
     RegistryValue::Text(u"025 026 027")},
    {"ColourElementImage", "Preferences", COLOUR(ColourElementImage), "255,102,0",
     [](CPreferences& p) { p.ColourElementImage = kwvd::ColourRef(28, 29, 30); }, RegistryValue::Text(u"028 029 030")},
    {"ColourElementXmlElement", "Preferences", COLOUR(ColourElementXmlElement), "128,128,192",
     [](CPreferences& p) { p.ColourElementXmlElement = kwvd::ColourRef(31, 32, 33); },
     RegistryValue::Text(u"031 032 033")},
    {"ColourElementXmlAttribute", "Preferences", COLOUR(ColourElementXmlAttribute), "0,128,192",
     [](CPreferences& p) { p.ColourElementXmlAttribute = kwvd::ColourRef(34, 35, 36); },
     RegistryValue::Text(u"034 035 036")},
    {"ColourElementXmlComment", "Preferences", COLOUR(ColourElementXmlComment), "255,255,192",
     [](CPreferences& p) { p.ColourElementXmlComment = kwvd::ColourRef(37, 38, 39); },
     RegistryValue::Text(u"037 038 039")},
    {"ColourNoPrintBorder", "Preferences", COLOUR(ColourNoPrintBorder), "63,63,63",
     [](CPreferences& p) { p.ColourNoPrintBorder = kwvd::ColourRef(255, 0, 100); },
     RegistryValue::Text(u"255 000 100")},
    {"ZoomSource", "Preferences", FIELD(ZoomSource), "0,0",
     [](CPreferences& p) {
         p.ZoomSource = ZoomPair{125, 50};
     },
     RegistryValue::Text(u"125 050")},
    {"ZoomDest", "Preferences", FIELD(ZoomDest), "0,0",
     [](CPreferences& p) {
         p.ZoomDest = ZoomPair{300, 25};
     },
     RegistryValue::Text(u"300 025")},
    {"ZoomFitSource", "Preferences", FIELD(ZoomFitSource), "4", [](CPreferences& p) { p.ZoomFitSource = 1; },
     RegistryValue::Number(1)},
    {"ZoomFitDest", "Preferences", FIELD(ZoomFitDest), "4", [](CPreferences& p) { p.ZoomFitDest = 2; },
     RegistryValue::Number(2)},
    {"StickyTools", "Preferences", FIELD(StickyTools), "0", [](CPreferences& p) { p.StickyTools = 1; },
     RegistryValue::Number(1)},
    {"DefaultCodePageID", "Preferences", FIELD(DefaultCodePageID), "285",
     [](CPreferences& p) { p.DefaultCodePageID = 4294967295u; }, RegistryValue::Text(u"4294967295")},
    {"DefaultChrID", "Preferences", FIELD(DefaultChrID), "697", [](CPreferences& p) { p.DefaultChrID = 1175; },
     RegistryValue::Text(u"1175")},
    {"DefaultCodePage", "Preferences", FIELD(DefaultCodePage), "T1V10285",
     [](CPreferences& p) { p.DefaultCodePage = QStringLiteral("T1V10037"); }, RegistryValue::Text(u"T1V10037")},
    {"DefaultCharSet", "Preferences", FIELD(DefaultCharSet), "Ansi",
     [](CPreferences& p) { p.SetDefaultCharSet(QStringLiteral("Greek")); }, RegistryValue::Text(u"Greek")},
    {"MaxSpooledFilePages", "Preferences", FIELD(MaxSpooledFilePages), "20",
     [](CPreferences& p) { p.MaxSpooledFilePages = 9999; }, RegistryValue::Number(9999)},
    {"ImageExportFormat", "Preferences", FIELD(ImageExportFormat), "1",
     [](CPreferences& p) { p.ImageExportFormat = 3; }, RegistryValue::Number(3)},
    {"MaximumUndoBufferSize", "Preferences", FIELD(MaximumUndoBufferSize), "1",
     [](CPreferences& p) { p.MaximumUndoBufferSize = 0; }, RegistryValue::Number(0)},
    {"DefaultJVXVersion", "Preferences", FIELD(DefaultJVXVersion), "28",
     [](CPreferences& p) { p.DefaultJVXVersion = 27; }, RegistryValue::Number(27)},
    {"OverwriteExistingAS400File", "Preferences", FIELD(OverwriteExistingAS400File), "0",
     [](CPreferences& p) { p.OverwriteExistingAS400File = 1; }, RegistryValue::Number(1)},
    {"ShowSplashWindow", "Preferences", FIELD(ShowSplashWindow), "1", [](CPreferences& p) { p.ShowSplashWindow = 0; },
     RegistryValue::Number(0)},
    {"DefaultSystem", "AS400", FIELD(DefaultSystem), "",
     [](CPreferences& p) { p.DefaultSystem = QStringLiteral("SYS400"); }, RegistryValue::Text(u"SYS400")},
    {"DefaultLibrary", "AS400", FIELD(DefaultLibrary), "KWVD",
     [](CPreferences& p) { p.DefaultLibrary = QStringLiteral("MYLIB"); }, RegistryValue::Text(u"MYLIB")},
    {"DefaultExportPath", "AS400", FIELD(DefaultExportPath), "",
     [](CPreferences& p) { p.SetDefaultExportPath(QStringLiteral("/mnt/SYS400/QDLS/MYLIB/PCIN")); },
     RegistryValue::Text(u"/mnt/SYS400/QDLS/MYLIB/PCIN/")},
    {"DefaultOutputQueue", "AS400", FIELD(DefaultOutputQueue), "QPRINT",
     [](CPreferences& p) { p.DefaultOutputQueue = QStringLiteral("PRT01"); }, RegistryValue::Text(u"PRT01")},
    {"DefaultOutputQueueLibrary", "AS400", FIELD(DefaultOutputQueueLibrary), "KWVD",
     [](CPreferences& p) { p.DefaultOutputQueueLibrary = QStringLiteral("QUSRSYS"); }, RegistryValue::Text(u"QUSRSYS")},
    {"ExportUsingSockets", "AS400", FIELD(ExportUsingSockets), "0", [](CPreferences& p) { p.ExportUsingSockets = 1; },
     RegistryValue::Number(1)},
    {"ExportSocketsPort", "AS400", FIELD(ExportSocketsPort), "3772",
     [](CPreferences& p) { p.ExportSocketsPort = 40000; }, RegistryValue::Number(40000)},
    {"DorrelAddress", "AS400", FIELD(DorrelAddress), "",
     [](CPreferences& p) { p.DorrelAddress = QStringLiteral("http://cat.example:8080"); },
     RegistryValue::Text(u"http://cat.example:8080")},
};

#undef FIELD
#undef COLOUR

} // namespace

TEST_F(PreferencesFixture, EveryValueHasItsDefaultOnAnEmptyStore)
{
    CPreferences prefs;
    prefs.LoadPreferences();

    for (const ValueCase& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.shown(prefs), QString::fromUtf8(c.byDefault));
    }
}

TEST_F(PreferencesFixture, EveryValueIsSavedInItsEncodingAndReadsBack)
{
    CPreferences prefs;
    prefs.LoadPreferences();
    for (const ValueCase& c : kCases)
        c.change(prefs);
    prefs.SavePreferences();

    CPreferences reloaded;
    reloaded.LoadPreferences();
    for (const ValueCase& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Stored(c.section, QString::fromLatin1(c.name)), c.saved);
        EXPECT_EQ(c.shown(reloaded), c.shown(prefs));
        EXPECT_NE(c.shown(reloaded), QString::fromUtf8(c.byDefault));
    }
}
