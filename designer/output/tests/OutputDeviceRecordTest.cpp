// The device record's WVD form, its loose comparison and its field rules.

#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "tests/support/ArchiveBytes.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

Bytes ClassHeader(int schema)
{
    return Hex("FF FF") + Word(schema) + Hex("0D 00") + Ascii("COutputDevice");
}

std::unique_ptr<COutputDevice> LoadDevice(const Bytes& bytes)
{
    RegisterOutputClasses();
    std::unique_ptr<COutputDevice> device;
    Load(bytes, [&](CArchive& ar) { device.reset(ar.ReadObject<COutputDevice>()); });
    return device;
}

// Groups 2 to 11 with recognisable values.
Bytes GroupsTwoToEleven()
{
    Bytes b = Text(u"QUEUE") + Text(u"LIB") + Text(u"") + Text(u"*SOURCE") + Text(u"*STD") + Word(1) + Word(0);
    for (int v : {3, 2, 8, 12, 60, 1, 5})
        b = b + Long(v);
    b = b + Text(u"ABC") + Text(u"RES") + Long(100);
    b = b + Text(u"*DLT") + Text(u"*NONE") + Text(u"") + Text(u"") + Long(1) + Long(2) + Text(u"*FINE");
    for (int i = 0; i < 12; ++i)
        b = b + Text(u"");
    b = b + Text(u"first") + Long(1) + Long(2) + Long(3) + Text(u"EQ") + Text(u"") + Long(4) + Long(5) + Long(6)
        + Long(1) + Text(u"") + Text(u"*LIBL");
    b = b + Text(u"") + Text(u"") + Text(u"") + Text(u"") + Long(3771);
    for (int v : {360, 240, 240, 360, 360, 240, 240, 360})
        b = b + Long(v);
    b = b + Text(u"") + Text(u"") + Text(u"PDF") + Text(u"*YES") + Long(77) + Text(u"ATT") + Text(u"TXT")
        + Text(u"dest") + Text(u"subj") + Text(u"msg") + Long(20);
    return b;
}

TEST(OutputDeviceWvd, SchemaOneLoadsOnlyNameTypeAndDescription)
{
    const auto device = LoadDevice(ClassHeader(1) + Text(u"PRT1") + Long(3) + Text(u"Fax"));
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->GetName(), QStringLiteral("PRT1"));
    EXPECT_EQ(device->GetType(), 3);
    EXPECT_EQ(device->GetDescription(), QStringLiteral("Fax"));
    EXPECT_EQ(device->GetOutputQueue(), QStringLiteral("*DEV"));
    EXPECT_EQ(device->GetDisplayPort(), 3771);
}

TEST(OutputDeviceWvd, TypeOutsideTheTableBecomesZero)
{
    const auto device = LoadDevice(ClassHeader(1) + Text(u"X") + Long(9) + Text(u""));
    EXPECT_EQ(device->GetType(), 0);
}

TEST(OutputDeviceWvd, SchemaTwelveHasNoFileCcsid)
{
    const Bytes bytes = ClassHeader(12) + Text(u"FIL1") + Long(6) + Text(u"") + GroupsTwoToEleven() + Text(u"/tmp")
                        + Text(u"out") + Text(u"TXT") + Text(u"PDF") + Text(u"EXITPGM") + Text(u"EXITLIB")
                        + Hex("03 00") + Text(u"") + Text(u"p1") + Text(u"p2");
    const auto device = LoadDevice(bytes);
    EXPECT_EQ(device->GetFileExitProgram(), QStringLiteral("EXITPGM"));
    EXPECT_EQ(device->GetFileExitProgramLibrary(), QStringLiteral("EXITLIB"));
    EXPECT_EQ(device->GetFileCcsid(), QString());
    QString text;
    device->GetParameter(2, text);
    EXPECT_EQ(text, QStringLiteral("p2"));
    EXPECT_EQ(device->GetFontGroup(), QStringLiteral("*DOC")) << "font group is reset on load";
    EXPECT_EQ(device->GetPrinterResource(), QStringLiteral("*DOC"));
    EXPECT_EQ(device->GetLPI(), 8);
    EXPECT_EQ(device->GetNoPrintBorder(), 100);
    EXPECT_EQ(device->GetConfirmationType(), 20);
    device->GetMessage(text);
    EXPECT_EQ(text, QStringLiteral("msg"));
    EXPECT_EQ(device->GetDuplex(), QStringLiteral("*YES"));
    device->GetAttachmentName(text);
    EXPECT_EQ(text, QStringLiteral("ATT"));
}

TEST(OutputDeviceWvd, SchemaTwentyRoundTripsExceptFontGroupAndResource)
{
    COutputDevice device(6, QStringLiteral("FIL1"), QStringLiteral("Files"));
    device.SetFontGroup(QStringLiteral("ABC"));
    device.SetPrinterResource(QStringLiteral("RES"));
    device.SetParameter(5, QStringLiteral("five"));
    device.SetPdfFlag(3, FALSE);
    device.SetPdfOwnerPassword(QStringLiteral("secret"));
    device.SetPageWidthTwips(12000);
    device.SetFileCcsid(QStringLiteral("1208"));
    const Bytes bytes = Store([&](CArchive& ar) { ar.WriteObject(&device); });
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 19), ClassHeader(20));
    const auto back = LoadDevice(bytes);
    EXPECT_EQ(back->GetFontGroup(), QStringLiteral("*DOC"));
    EXPECT_EQ(back->GetPrinterResource(), QStringLiteral("*DOC"));
    EXPECT_EQ(back->GetParameterList(), device.GetParameterList());
    EXPECT_FALSE(back->GetPdfFlag(3));
    EXPECT_EQ(back->GetPageWidthTwips(), 12000);
    EXPECT_EQ(back->GetFileCcsid(), QStringLiteral("1208"));
    device.SetFontGroup(QStringLiteral("*DOC"));
    device.SetPrinterResource(QStringLiteral("*DOC"));
    EXPECT_TRUE(back->IsEqual(&device));
}

TEST(OutputDeviceWvd, TruncatedRecordRaisesEndOfFile)
{
    COutputDevice device(0, QStringLiteral("PRT1"), QString());
    Bytes bytes = Store([&](CArchive& ar) { ar.WriteObject(&device); });
    bytes.resize(bytes.size() / 2);
    EXPECT_THROW(LoadDevice(bytes), CArchiveException);
}

TEST(OutputDevice, IsEqualIsLoose)
{
    struct Case
    {
        const char* name;
        std::function<void(COutputDevice&)> change;
        bool equal;
    };
    const Case cases[] = {
        {"empty description matches any", [](COutputDevice& d) { d.SetDescription(QString()); }, true},
        {"page width in twips is ignored", [](COutputDevice& d) { d.SetPageWidthTwips(5000); }, true},
        {"different description", [](COutputDevice& d) { d.SetDescription(QStringLiteral("other")); }, false},
        {"name case counts", [](COutputDevice& d) { d.SetName(QStringLiteral("prt1")); }, false},
        {"number differs", [](COutputDevice& d) { d.SetCopies(2); }, false},
        {"offset differs", [](COutputDevice& d) { d.SetTextOffsetLandscape(QPoint(1, 1)); }, false},
        {"pdf flag differs", [](COutputDevice& d) { d.SetPdfFlag(8, FALSE); }, false},
        {"parameter list of two positions",
         [](COutputDevice& d) {
             d.SetParameter(1, QStringLiteral("x"));
             d.SetParameter(1, QString());
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        COutputDevice base(0, QStringLiteral("PRT1"), QStringLiteral("Printer"));
        COutputDevice other(&base);
        c.change(other);
        EXPECT_EQ(other.IsEqual(&base) == TRUE, c.equal);
        EXPECT_EQ(base.IsEqual(&other) == TRUE, c.equal);
    }
    COutputDevice a(0, QStringLiteral("P"), QStringLiteral("A"));
    COutputDevice b(0, QStringLiteral("P"), QString());
    COutputDevice c(0, QStringLiteral("P"), QStringLiteral("C"));
    EXPECT_TRUE(a.IsEqual(&b));
    EXPECT_TRUE(b.IsEqual(&c));
    EXPECT_FALSE(a.IsEqual(&c)) << "not transitive";
    EXPECT_FALSE(a.IsEqual(nullptr));
}

TEST(OutputDevice, FieldRules)
{
    struct Case
    {
        const char* name;
        int type;
        std::function<BOOL(COutputDevice&)> act;
        BOOL result;
        std::function<bool(COutputDevice&)> check;
    };
    const Case cases[] = {
        {"LPI *DOC", 0,
         [](COutputDevice& d) {
             d.SetLPI(6);
             return d.SetLPIText(QStringLiteral("*DOC"));
         },
         TRUE, [](COutputDevice& d) { return d.GetLPI() == -1; }},
        {"LPI empty snaps to 3", 0, [](COutputDevice& d) { return d.SetLPIText(QString()); }, TRUE,
         [](COutputDevice& d) { return d.GetLPI() == 3; }},
        {"LPI 16 refused", 0, [](COutputDevice& d) { return d.SetLPI(16); }, FALSE,
         [](COutputDevice& d) { return d.GetLPI() == -1; }},
        {"LPI compares before the snap", 0,
         [](COutputDevice& d) {
             d.SetLPI(6);
             return d.SetLPI(7);
         },
         TRUE, [](COutputDevice& d) { return d.GetLPI() == 6; }},
        {"CPI 13.3", 0, [](COutputDevice& d) { return d.SetCPIText(QStringLiteral("13.3")); }, TRUE,
         [](COutputDevice& d) {
             QString t;
             d.GetCPIText(t);
             return d.GetCPI() == 13 && t == QStringLiteral("13.3");
         }},
        {"CPI 18 gives 20", 0, [](COutputDevice& d) { return d.SetCPIText(QStringLiteral("18")); }, TRUE,
         [](COutputDevice& d) { return d.GetCPI() == 20; }},
        {"CPI 21 refused", 0, [](COutputDevice& d) { return d.SetCPI(21); }, FALSE,
         [](COutputDevice& d) {
             QString t;
             d.GetCPIText(t);
             return t == QStringLiteral("*DOC");
         }},
        {"rotation 90 on *SCS", 0, [](COutputDevice& d) { return d.SetRotationText(QStringLiteral("90")); }, TRUE,
         [](COutputDevice& d) { return d.GetRotation() == 1; }},
        {"rotation 90 on *AFP is *DOC", 1,
         [](COutputDevice& d) {
             d.SetRotationText(QStringLiteral("1"));
             return d.SetRotationText(QStringLiteral("90"));
         },
         TRUE, [](COutputDevice& d) { return d.GetRotation() == 4; }},
        {"*JOB empties library and device", 0,
         [](COutputDevice& d) {
             d.SetOutputQueue(QStringLiteral("Q"));
             d.SetOutputQueueLibrary(QStringLiteral("L"));
             d.SetOutputQueue(QStringLiteral("*DEV"));
             d.SetPrinterDevice(QStringLiteral("P"));
             return d.SetOutputQueue(QStringLiteral("*job"));
         },
         TRUE, [](COutputDevice& d) { return d.GetOutputQueueLibrary().isEmpty() && d.GetPrinterDevice().isEmpty(); }},
        {"library refused under *DEV", 0,
         [](COutputDevice& d) { return d.SetOutputQueueLibrary(QStringLiteral("LIB")); }, FALSE,
         [](COutputDevice& d) { return d.GetOutputQueueLibrary().isEmpty(); }},
        {"printer device refused for a named queue", 0,
         [](COutputDevice& d) {
             d.SetOutputQueue(QStringLiteral("Q"));
             return d.SetPrinterDevice(QStringLiteral("PRT"));
         },
         FALSE, [](COutputDevice& d) { return d.GetPrinterDevice().isEmpty(); }},
        {"fax library refused under *NONE", 3,
         [](COutputDevice& d) { return d.SetFaxFormLibrary(QStringLiteral("L")); }, FALSE,
         [](COutputDevice& d) { return d.GetFaxFormLibrary().isEmpty(); }},
        {"authorisation list answers TRUE unchanged", 6,
         [](COutputDevice& d) { return d.SetFileAuthorizationList(QString()); }, TRUE,
         [](COutputDevice&) { return true; }},
        {"file owner answers FALSE unchanged", 6, [](COutputDevice& d) { return d.SetFileOwner(QString()); }, FALSE,
         [](COutputDevice&) { return true; }},
        {"parameter 21 refused", 6, [](COutputDevice& d) { return d.SetParameter(21, QStringLiteral("x")); }, FALSE,
         [](COutputDevice& d) { return d.GetParameterList().empty(); }},
        {"parameter 0 refused", 6, [](COutputDevice& d) { return d.SetParameter(0, QStringLiteral("x")); }, FALSE,
         [](COutputDevice& d) { return d.GetParameterList().empty(); }},
        {"parameter 11 keeps 64", 6, [](COutputDevice& d) { return d.SetParameter(11, QString(100, u'x')); }, TRUE,
         [](COutputDevice& d) {
             QString t;
             d.GetParameter(11, t);
             return t.size() == 64;
         }},
        {"parameter 10 keeps 100", 6, [](COutputDevice& d) { return d.SetParameter(10, QString(100, u'x')); }, TRUE,
         [](COutputDevice& d) {
             QString t;
             d.GetParameter(10, t);
             return t.size() == 100;
         }},
        {"type 7 brings the store program", 0, [](COutputDevice& d) { return d.SetType(7); }, TRUE,
         [](COutputDevice& d) {
             return d.GetFileExitProgram() == QStringLiteral("STOREDOC")
                    && d.GetFileExitProgramLibrary() == QStringLiteral("*DOC");
         }},
        {"type 8 refused", 0, [](COutputDevice& d) { return d.SetType(8); }, FALSE,
         [](COutputDevice& d) { return d.GetType() == 0; }},
        {"doc store selection without a second comma", 7,
         [](COutputDevice& d) { return d.SetParameter(20, QStringLiteral("STORE,INVOICE")); }, TRUE,
         [](COutputDevice& d) {
             QString s, t;
             d.GetDocStoreSelection(s, t);
             return s == QStringLiteral("STORE") && t == QStringLiteral("INVOICE");
         }},
        {"doc store selection formatted", 7,
         [](COutputDevice& d) { return d.SetDocStoreSelection(QStringLiteral("S"), QStringLiteral("T"), 1); }, TRUE,
         [](COutputDevice& d) {
             QString t;
             d.GetParameter(20, t);
             return t == QStringLiteral("S,T,1,KWVD");
         }},
        {"pdf level upper-cased", 6, [](COutputDevice& d) { return d.SetPdfEncryptionLevel(QStringLiteral("*v2")); },
         TRUE, [](COutputDevice& d) { return d.GetPdfEncryptionLevel() == QStringLiteral("*V2"); }},
        {"duplex list", 0, [](COutputDevice& d) { return d.SetDuplex(QStringLiteral("*yes")); }, FALSE,
         [](COutputDevice& d) { return d.GetDuplex() == QStringLiteral("*NO"); }},
        {"page height range", 0, [](COutputDevice& d) { return d.SetPageHeight(QStringLiteral("256")); }, FALSE,
         [](COutputDevice& d) { return d.GetPageHeight() == 66; }},
        {"no-print border *DOC", 0,
         [](COutputDevice& d) {
             d.SetNoPrintBorder(QStringLiteral("10"));
             return d.SetNoPrintBorder(QStringLiteral("*DOC"));
         },
         TRUE, [](COutputDevice& d) { return d.GetNoPrintBorder() == -1; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        COutputDevice device(c.type, QStringLiteral("DEV"), QString());
        EXPECT_EQ(c.act(device), c.result);
        EXPECT_TRUE(c.check(device));
    }
}

TEST(OutputDevice, ParseDrawerAndRotationTexts)
{
    struct Case
    {
        const char* text;
        int drawer;
    };
    const Case cases[] = {{"*E1", 0}, {"0", 1}, {"256", 1}, {"255", 255}, {" 7x", 7}, {"-3", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        int drawer = -5;
        COutputDevice::ParseDrawer(QString::fromLatin1(c.text), drawer);
        EXPECT_EQ(drawer, c.drawer);
    }
    COutputDevice afp(1, QStringLiteral("A"), QString());
    int rotation = 2;
    QString text;
    afp.GetRotationText(rotation, text);
    EXPECT_EQ(rotation, 4);
    EXPECT_EQ(text, QStringLiteral("*DOC"));
}

} // namespace
