// The JVX device record and the device section.

#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/preferences/Preferences.h"
#include "platform/framework/Exceptions.h"
#include "tests/support/JvxBytes.h"
#include "tests/support/JvxTextForms.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <memory>
#include <string>

namespace {

std::string Text(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

Bytes Record(int version, COutputDevice& device, const COutputDevice* exportDevice = nullptr)
{
    return StoreJvx(version, [&](CJVXArchive& ar) { device.ExchangeJVX(ar, L'0', exportDevice); });
}

std::unique_ptr<COutputDevice> ReadRecord(const Bytes& bytes, int version)
{
    auto device = std::make_unique<COutputDevice>();
    JvxReader reader(bytes, version);
    device->ExchangeJVX(reader.Archive(), L'0', nullptr);
    return device;
}

// The master list lives in a temporary folder for each test.
class JvxSectionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterOutputClasses();
        RegisterOutputStrings();
        prefs.MasterOutputDeviceFileV2 = folder.filePath(QStringLiteral("wvdOutpV2.dat"));
        before = SetPreferences(&prefs);
    }
    void TearDown() override { SetPreferences(before); }

    QTemporaryDir folder;
    CPreferences prefs;
    CPreferences* before = nullptr;
    ScopedPromptAnswers prompts;
};

class RecordLength : public ::testing::TestWithParam<int>
{};

int ExpectedLength(int v)
{
    if (v <= 4)
        return 14;
    if (v == 5)
        return 627;
    if (v == 6)
        return 892;
    if (v == 7)
        return 1447;
    if (v <= 9)
        return 1522;
    if (v <= 12)
        return 1778;
    if (v == 13)
        return 2290;
    if (v <= 15)
        return 2370;
    if (v <= 17)
        return 5457;
    if (v <= 20)
        return 5470;
    if (v <= 25)
        return 5481;
    if (v == 26)
        return 5484;
    return 5650;
}

TEST_P(RecordLength, MatchesTheHostLayout)
{
    const int v = GetParam();
    COutputDevice device(4, QStringLiteral("EML01"), QStringLiteral("Mail"));
    const Bytes bytes = Record(v, device);
    const int unit = v > 18 ? 2 : 1;
    ASSERT_GE(bytes.size(), 2u * unit);
    EXPECT_EQ(static_cast<int>(bytes.size()) / unit, ExpectedLength(v) + 2);
    // Every record ends in CR LF.
    EXPECT_EQ(bytes[bytes.size() - 2 * unit], '\r');
    EXPECT_EQ(bytes[bytes.size() - unit], '\n');

    // Read back, it gives the same device.
    const std::unique_ptr<COutputDevice> back = ReadRecord(bytes, v);
    EXPECT_EQ(back->GetName(), QStringLiteral("EML01"));
    EXPECT_EQ(back->GetType(), 4);
}

INSTANTIATE_TEST_SUITE_P(Versions, RecordLength, ::testing::Range(1, 29),
                         [](const auto& info) { return "Version" + std::to_string(info.param); });

TEST(OutputDeviceJvx, VersionFourIsTypeCodeAndName)
{
    COutputDevice device(1, QStringLiteral("afp1"), QString());
    EXPECT_EQ(Text(Record(4, device)), "*AFPAFP1      \r\n");
    COutputDevice unnamed;
    EXPECT_EQ(Text(Record(4, unnamed)), "*SCSDEFAULT   \r\n") << "no export device: the fixed name, upper-cased";
    COutputDevice exportDevice;
    exportDevice.SetName(QStringLiteral("member"));
    COutputDevice doc(0, QStringLiteral("*DOC"), QString());
    EXPECT_EQ(Text(Record(4, doc, &exportDevice)), "*SCSMEMBER    \r\n");
}

TEST(OutputDeviceJvx, VersionFiveFieldsFromTheRules)
{
    COutputDevice device(3, QStringLiteral("FAX1"), QStringLiteral("Fax"));
    device.SetDrawer(0);
    device.SetHold(TRUE);
    // destinationType 0 writes "1", zero positions and blank programs.
    device.SetDestinationTypeText(QStringLiteral("None"));
    device.SetDestinationExitProgram(QStringLiteral("PGM"));
    device.SetFrom(QStringLiteral("123456789012345678901234567890123456"));
    const std::string record = Text(Record(5, device));
    ASSERT_EQ(record.size(), 629u);
    auto field = [&record](int offset, int width) {
        return record.substr(static_cast<size_t>(offset), static_cast<size_t>(width));
    };
    EXPECT_EQ(field(0, 4), "*FAX");
    EXPECT_EQ(field(44, 4), "*YES"); // field 6
    EXPECT_EQ(field(72, 1), "0") << "rotation *DOC without export device: 0";
    EXPECT_EQ(field(73, 5), "00250") << "no-print border *DOC without export";
    EXPECT_EQ(field(374, 9), "000000000") << "destination positions";
    EXPECT_EQ(field(383, 1), "1");
    EXPECT_EQ(field(384, 20), std::string(20, ' '));
    EXPECT_EQ(field(422, 30), "123456789012345678901234567890") << "From cut to 30 before version 14";
    EXPECT_EQ(field(607, 4), "0610") << "LPI and CPI without export";
    EXPECT_EQ(field(611, 5), "*E1  ");
    EXPECT_EQ(field(616, 3), "066");
    EXPECT_EQ(field(619, 5), "     ") << "the *SCS rotation field is blank for a fax";
    EXPECT_EQ(field(624, 3), "001");
}

TEST(OutputDeviceJvx, FromIsWholeFromVersionFourteen)
{
    COutputDevice device(3, QStringLiteral("FAX1"), QString());
    device.SetFrom(QStringLiteral("123456789012345678901234567890123456"));
    const std::unique_ptr<COutputDevice> v13 = ReadRecord(Record(13, device), 13);
    const std::unique_ptr<COutputDevice> v14 = ReadRecord(Record(14, device), 14);
    QString from;
    v13->GetFrom(from);
    EXPECT_EQ(from.size(), 30);
    v14->GetFrom(from);
    EXPECT_EQ(from.size(), 36);
}

TEST(OutputDeviceJvx, VersionTwelveCarriesMessageAndSubjectInPlaceOfAttentionAndReference)
{
    COutputDevice device(4, QStringLiteral("EML1"), QString());
    device.SetMessage(QStringLiteral("Hello"));
    device.SetSubject(QStringLiteral("Invoice"));
    device.SetAttention(QStringLiteral("ignored"));
    const std::unique_ptr<COutputDevice> back = ReadRecord(Record(12, device), 12);
    QString text;
    back->GetMessage(text);
    EXPECT_EQ(text, QStringLiteral("Hello"));
    back->GetAttention(text);
    EXPECT_EQ(text, QStringLiteral("Hello"));
    back->GetSubject(text);
    EXPECT_EQ(text, QStringLiteral("Invoice"));
    back->GetReference(text);
    EXPECT_EQ(text, QStringLiteral("Invoice"));
}

TEST(OutputDeviceJvx, NumbersComeBackWithinTheirFieldsOwnRange)
{
    COutputDevice device(1, QStringLiteral("AFP1"), QString());
    device.SetImageOffsetPortrait(QPoint(40000, 99999));
    device.SetPageWidthTwips(40000);
    device.SetPageHeightTwips(999999);
    const std::unique_ptr<COutputDevice> back = ReadRecord(Record(28, device), 28);
    EXPECT_EQ(back->GetImageOffsetPortrait(), QPoint(40000, 99999));
    EXPECT_EQ(back->GetPageWidthTwips(), 40000);
    EXPECT_EQ(back->GetPageHeightTwips(), 999999);
}

TEST(OutputDeviceJvx, ReadingAppliesFieldsTheVersionLacksAsEmpty)
{
    COutputDevice device(6, QStringLiteral("FIL1"), QString());
    device.SetParameter(3, QStringLiteral("kept"));
    const std::unique_ptr<COutputDevice> back = ReadRecord(Record(5, device), 5);
    QString text;
    back->GetFileName(text);
    EXPECT_EQ(text, QString()) << "file name emptied";
    EXPECT_EQ(back->GetDisplayPort(), 0);
    EXPECT_EQ(back->GetPageWidthTwips(), -1);
    EXPECT_TRUE(back->GetParameterList().empty()) << "parameters keep their defaults";
    EXPECT_EQ(back->GetType(), 6);
}

TEST(OutputDeviceJvx, VersionFifteenAndSeventeenReadBothLayouts)
{
    struct Case
    {
        const char* name;
        int version;
        int extra; // characters of the optional last field
    };
    const Case cases[] = {
        {"v15 without field 89", 15, 0},
        {"v15 with field 89", 15, 2},
        {"v17 without field 117", 17, 0},
        {"v17 with field 117", 17, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        COutputDevice device(4, QStringLiteral("EML1"), QString());
        device.SetConfirmationType(20);
        device.SetPdfDataStream(QStringLiteral("y"));
        Bytes bytes = Record(c.version, device);
        ASSERT_EQ(bytes.size(), static_cast<size_t>(ExpectedLength(c.version) + 2));
        if (c.extra == 2)
            bytes.insert(bytes.end() - 2, {'2', '0'});
        else if (c.extra == 1)
            bytes.insert(bytes.end() - 2, {'Y'});
        bytes.push_back('#');
        bytes.push_back('C');
        JvxReader reader(bytes, c.version);
        COutputDevice back;
        back.ExchangeJVX(reader.Archive(), L'0', nullptr);
        EXPECT_EQ(reader.File().GetPosition(), bytes.size() - 2) << "the record is read to its line end";
        if (c.version == 15)
            EXPECT_EQ(back.GetConfirmationType(), c.extra ? 20 : 0);
        else
            EXPECT_EQ(back.GetPdfDataStream(), c.extra ? QStringLiteral("Y") : QString());
    }
}

TEST(OutputDeviceJvx, ShortRecordRaisesEndOfFile)
{
    COutputDevice device(0, QStringLiteral("PRT1"), QString());
    Bytes bytes = Record(10, device);
    bytes.resize(100);
    COutputDevice back;
    JvxReader reader(bytes, 10);
    try {
        back.ExchangeJVX(reader.Archive(), L'0', nullptr);
        FAIL() << "no exception";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    }
}

TEST_F(JvxSectionTest, TwoEqualRecordsGiveOneMasterDeviceAndTheSectionStopsAtTheNextOne)
{
    COutputDevice device(0, QStringLiteral("PRT9"), QStringLiteral("Printer"));
    const Bytes record = Record(20, device);
    const Bytes bytes = record + record + Utf16(u"#C");
    COutputDeviceManager manager;
    JvxReader reader(bytes, 20);
    manager.ExchangeJVX(reader.Archive());
    EXPECT_EQ(reader.File().GetPosition(), bytes.size() - 4) << "#C is left for the next section";
    ASSERT_EQ(manager.GetSlotCount(), 2);
    COutputDevice* read = manager.GetDevice(1);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetName(), QStringLiteral("PRT9"));
    EXPECT_EQ(COutputDeviceManager::FindMasterByName(QStringLiteral("PRT9")), read);
    EXPECT_EQ(COutputDeviceManager::GetMasterList()->GetCount(), 1);
    EXPECT_EQ(manager.GetExportDevice()->GetPageWidthTwips(), 11909) << "v > 17 sets the export page size";
}

// The page size is not part of device equality, so a record may find an
// equal master device of another size: the export page size is the file's.
TEST_F(JvxSectionTest, ExportPageSizeIsTheRecordsEvenWhenAnEqualDeviceIsShared)
{
    COutputDevice device(0, QStringLiteral("PRT9"), QStringLiteral("Printer"));
    ASSERT_TRUE(device.SetPageWidthTwips(12240));
    ASSERT_TRUE(device.SetPageHeightTwips(15840));
    const Bytes letter = Record(20, device);
    ASSERT_TRUE(device.SetPageWidthTwips(11909));
    ASSERT_TRUE(device.SetPageHeightTwips(16848));
    const Bytes a4 = Record(20, device);

    COutputDeviceManager earlier;
    {
        JvxReader reader(letter, 20);
        earlier.ExchangeJVX(reader.Archive());
    }
    COutputDeviceManager manager;
    JvxReader reader(a4, 20);
    manager.ExchangeJVX(reader.Archive());
    ASSERT_NE(manager.GetDevice(1), nullptr);
    EXPECT_EQ(manager.GetDevice(1), earlier.GetDevice(1)) << "one shared master device";
    EXPECT_EQ(manager.GetExportDevice()->GetPageWidthTwips(), 11909);
    EXPECT_EQ(manager.GetExportDevice()->GetPageHeightTwips(), 16848);
}

TEST_F(JvxSectionTest, WritingSkipsAnUnusedDefaultDeviceAndEmptySlots)
{
    COutputDeviceManager manager;
    EXPECT_TRUE(StoreJvx(28, [&](CJVXArchive& ar) { manager.ExchangeJVX(ar); }).empty());
    COutputDevice* device = manager.CreateMasterDevice(nullptr, QStringLiteral("prt1"), 0);
    ASSERT_NE(device, nullptr);
    manager.AttachDevice(device);
    const Bytes bytes = StoreJvx(4, [&](CJVXArchive& ar) { manager.ExchangeJVX(ar); });
    EXPECT_EQ(Text(bytes), "*SCSPRT1      \r\n");
}

TEST_F(JvxSectionTest, EachDeviceLineReachesTheFileWholeInEveryTextForm)
{
    COutputDeviceManager manager;
    for (const char* name : {"prt1", "prt2"}) {
        COutputDevice* device = manager.CreateMasterDevice(nullptr, QString::fromLatin1(name), 0);
        ASSERT_NE(device, nullptr);
        device->SetDestinationText(QStringLiteral("dest"));
        manager.AttachDevice(device);
    }
    ExpectWholeLinesInEveryForm(StoreJvxInEveryForm([&](CJVXArchive& ar) { manager.ExchangeJVX(ar); }),
                                {"*SCSPRT1", "*SCSPRT2"});
}

} // namespace
