// Output elements: their device binding, their "OUTP" record and their WVD
// object.

#include "designer/document/jvx/APRTPDMRec.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/JvxBytes.h"
#include "tests/support/OutputAddressFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

using kwvd::Rect;

class OutputDeviceBindingTest : public OutputAddressFixture
{
protected:
    static Bytes ObjectHeader(int schema)
    {
        return Hex("FF FF") + Word(schema) + Word(18) + Ascii("CFormOutputElement");
    }

    // Base part without description or rectangles.
    static Bytes BasePart()
    {
        return Hex("FF FE FF 00") + Word(1) + Word(1) + Word(1) + Word(1) + Word(1) + Word(1) + Word(1) + Word(1)
               + Word(0) + Word(0) + Long(0) + Long(0) + Long(0) + Long(0) + Word(1);
    }

    CFormOutputElement* LoadObject(const Bytes& bytes)
    {
        CFormOutputElement* element = nullptr;
        Load(bytes, [&](CArchive& ar) {
            ar.m_pDocument = doc.get();
            element = ar.ReadObject<CFormOutputElement>();
        });
        return element;
    }

    std::unique_ptr<CFormOutputElement> FromRecordData(const QString& data)
    {
        CAPRTPDMRec record(doc.get());
        record.m_opcode.SetValue(QStringLiteral("OUTP"));
        record.m_data.SetValue(data);
        return std::make_unique<CFormOutputElement>(record);
    }
};

TEST_F(OutputDeviceBindingTest, NewElementStartsOnTheDefaultDevice)
{
    CFormOutputElement* output = AddOutput();
    EXPECT_EQ(output->GetOutputDevice(), 0);
    EXPECT_EQ(output->GetDescription(), QStringLiteral("Default Output Device"));
    EXPECT_TRUE(output->SourceRect().IsNull());
    EXPECT_TRUE(output->DestRect().IsNull());
}

TEST_F(OutputDeviceBindingTest, DeviceBinding)
{
    CFormOutputElement* output = AddOutput();
    EXPECT_FALSE(output->SetOutputDevice(57)) << "no such device";
    EXPECT_EQ(output->GetOutputDevice(), 0);

    EXPECT_TRUE(output->SetOutputDevice(-1));
    const auto& users = Devices()->GetDefaultDevice()->GetUsers();
    EXPECT_EQ(std::find(users.begin(), users.end(), output), users.end());
    EXPECT_TRUE(output->SetOutputDevice(-1)) << "an element without a device answers TRUE";
}

TEST_F(OutputDeviceBindingTest, RecordNamesTheDevice)
{
    struct Case
    {
        const char* name;
        const char* data; // field 16 as read
        const char* deviceName;
        int type;
    };
    const Case cases[] = {
        {"fax device made from the code", "FAXDEV    *FAX", "FAXDEV", 3},
        {"e-mail device", "MAIL1     *EML", "MAIL1", 4},
        {"default device", "*DOC      *SCS", "*DOC", 0},
        {"no name is the default device", "          *FAX", "*DOC", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CFormOutputElement> output = FromRecordData(QString::fromLatin1(c.data));
        QString name;
        ASSERT_TRUE(Devices()->GetDeviceName(output->GetOutputDevice(), name, FALSE));
        EXPECT_EQ(name, QString::fromLatin1(c.deviceName));
        EXPECT_EQ(Devices()->GetDeviceType(output->GetOutputDevice()), c.type);
    }
}

TEST_F(OutputDeviceBindingTest, RecordOfAKnownDeviceReusesIt)
{
    const int index = AddDevice(QStringLiteral("FAXDEV"), 3);
    std::unique_ptr<CFormOutputElement> output = FromRecordData(QStringLiteral("FAXDEV    *FAX"));
    EXPECT_EQ(output->GetOutputDevice(), index);
}

TEST_F(OutputDeviceBindingTest, ToRecordWritesNameAndCode)
{
    CFormOutputElement* fax = AddOutput(AddDevice(QStringLiteral("FAXDEV"), 3));
    CAPRTPDMRec record(doc.get());
    ASSERT_TRUE(fax->ToRecord(record));
    EXPECT_EQ(record.m_opcode.GetValue(), QStringLiteral("OUTP"));
    EXPECT_EQ(record.m_data.GetValue(), QStringLiteral("FAXDEV    *FAX"));

    // The default device goes out under the export device's name.
    ASSERT_TRUE(Devices()->GetExportDevice()->SetName(QStringLiteral("PRT01")));
    CFormOutputElement* standard = AddOutput();
    record.Reset();
    ASSERT_TRUE(standard->ToRecord(record));
    EXPECT_EQ(record.m_data.GetValue(), QStringLiteral("PRT01     *SCS"));
}

TEST_F(OutputDeviceBindingTest, WvdBindsByNameFromSchema20)
{
    const int fax = AddDevice(QStringLiteral("FAXDEV"), 3);
    ASSERT_GT(fax, 0);
    // The stored index 9 is another document's; the name decides.
    std::unique_ptr<CFormOutputElement> byName(
        LoadObject(ObjectHeader(20) + BasePart() + Long(9) + Text(u"FAXDEV") + Text(u"*FAX") + Long(0)));
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(byName->GetOutputDevice(), fax);

    // Before names were stored the index is taken when it names a device,
    // and the default device otherwise.
    std::unique_ptr<CFormOutputElement> byIndex(LoadObject(ObjectHeader(19) + BasePart() + Long(fax) + Long(0)));
    ASSERT_NE(byIndex, nullptr);
    EXPECT_EQ(byIndex->GetOutputDevice(), fax);
    std::unique_ptr<CFormOutputElement> stale(LoadObject(ObjectHeader(19) + BasePart() + Long(42) + Long(0)));
    ASSERT_NE(stale, nullptr);
    EXPECT_EQ(stale->GetOutputDevice(), 0);
}

TEST_F(OutputDeviceBindingTest, Schema8HasNoChildren)
{
    // Nothing follows the index: a child count read here would run past the end.
    std::unique_ptr<CFormOutputElement> output(LoadObject(ObjectHeader(8) + BasePart() + Long(0)));
    ASSERT_NE(output, nullptr);
    EXPECT_EQ(output->GetChildCount(), 0);
    EXPECT_EQ(output->GetOutputDevice(), 0);
}

TEST_F(OutputDeviceBindingTest, DeletingLeavesTheDeviceAndHandsAddressesToTheTopLevel)
{
    const int fax = AddDevice(QStringLiteral("FAXDEV"), 3);
    CFormOutputElement* output = AddOutput(fax);
    CFormAddressElement* address = AddAddress(output, AddressFieldCode::To, Rect(1, 2, 5, 3));
    COutputDevice* device = Devices()->GetDevice(fax);
    ASSERT_NE(device, nullptr);
    ASSERT_TRUE(device->IsInUse());

    doc->DeleteElement(output, FALSE);
    EXPECT_EQ(Devices()->GetDevice(fax), nullptr) << "the slot is released with its last user";
    EXPECT_EQ(address->GetParent(), nullptr);
    EXPECT_TRUE(doc->ContainsElement(address));
    EXPECT_EQ(address->GetSettingId(), AddressFieldCode::To) << "no device: every id kept";
}

TEST_F(OutputDeviceBindingTest, FindAndReplaceTheDescription)
{
    CFormOutputElement* output = AddOutput();
    EXPECT_TRUE(output->Find(QStringLiteral("Output")));
    EXPECT_FALSE(output->Find(QStringLiteral("output")));
    EXPECT_TRUE(output->Replace(QStringLiteral("Default"), QStringLiteral("Main")));
    EXPECT_EQ(output->GetDescription(), QStringLiteral("Main Output Device"));
}

} // namespace
