// The device's address-bound setters against a real Address child of the
// same setting: a placeholder goes to the child, anything else is stored.

#include "tests/support/OutputAddressFixture.h"

#include <gtest/gtest.h>

namespace {

using kwvd::Rect;

using Getter = void (COutputDevice::*)(QString&) const;
using Setter = BOOL (COutputDevice::*)(const QString&);

class DeviceSetterCaseTest : public OutputAddressFixture
{
protected:
    void SetUp() override
    {
        OutputAddressFixture::SetUp();
        // A display device offers every address field.
        ASSERT_TRUE(Device()->SetType(5));
        output = AddOutput();
    }

    COutputDevice* Device() { return Devices()->GetDefaultDevice(); }

    CFormOutputElement* output = nullptr;
};

TEST_F(DeviceSetterCaseTest, AddressBoundTexts)
{
    struct Case
    {
        const char* name;
        Getter get;
        Setter set;
        int id;
        int width;
        bool upper;
        BOOL unchanged; // the answer for the stored value again
    };
    const Case cases[] = {
        {"from", &COutputDevice::GetFrom, &COutputDevice::SetFrom, AddressFieldCode::From, 50, false, FALSE},
        {"to", &COutputDevice::GetTo, &COutputDevice::SetTo, AddressFieldCode::To, 50, false, FALSE},
        {"attention", &COutputDevice::GetAttention, &COutputDevice::SetAttention, AddressFieldCode::Attention, 50,
         false, FALSE},
        {"reference", &COutputDevice::GetReference, &COutputDevice::SetReference, AddressFieldCode::Reference, 50,
         false, FALSE},
        {"from e-mail", &COutputDevice::GetFromEmail, &COutputDevice::SetFromEmail, AddressFieldCode::FromEmail, 256,
         false, FALSE},
        {"attachment name", &COutputDevice::GetAttachmentName, &COutputDevice::SetAttachmentName,
         AddressFieldCode::AttachmentName, 64, false, FALSE},
        {"subject", &COutputDevice::GetSubject, &COutputDevice::SetSubject, AddressFieldCode::Subject, 256, false,
         FALSE},
        {"message", &COutputDevice::GetMessage, &COutputDevice::SetMessage, AddressFieldCode::Message, 1024, false,
         FALSE},
        {"file path", &COutputDevice::GetFilePath, &COutputDevice::SetFilePath, AddressFieldCode::FilePath, 256, false,
         FALSE},
        {"file name", &COutputDevice::GetFileName, &COutputDevice::SetFileName, AddressFieldCode::FileName, 64, false,
         FALSE},
        {"file owner", &COutputDevice::GetFileOwner, &COutputDevice::SetFileOwner, AddressFieldCode::FileOwner, 20,
         true, FALSE},
        {"file authorization list", &COutputDevice::GetFileAuthorizationList, &COutputDevice::SetFileAuthorizationList,
         AddressFieldCode::FileAuthorizationList, 20, true, TRUE},
        {"file public authority", &COutputDevice::GetFilePublicAuthority, &COutputDevice::SetFilePublicAuthority,
         AddressFieldCode::FilePublicAuthority, 20, true, TRUE},
        {"PDF owner password", &COutputDevice::GetPdfOwnerPassword, &COutputDevice::SetPdfOwnerPassword,
         AddressFieldCode::PdfOwnerPassword, 32, true, TRUE},
        {"PDF user password", &COutputDevice::GetPdfUserPassword, &COutputDevice::SetPdfUserPassword,
         AddressFieldCode::PdfUserPassword, 32, true, TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        COutputDevice& device = *Device();
        QString text;

        // Plain text is stored, cut and case-folded as the field asks.
        const QString longText = QString(c.width + 5, u'x');
        EXPECT_TRUE((device.*c.set)(longText));
        (device.*c.get)(text);
        EXPECT_EQ(text, c.upper ? longText.left(c.width).toUpper() : longText.left(c.width));
        EXPECT_EQ((device.*c.set)(longText), c.unchanged);

        // A placeholder moves the child and empties the field.
        CFormAddressElement* address = AddAddress(output, c.id, Rect(1, 1, 2, 2), TRUE);
        ASSERT_NE(address, nullptr);
        ASSERT_EQ(address->GetSettingId(), c.id);
        EXPECT_TRUE((device.*c.set)(QStringLiteral("?004,007,005")));
        EXPECT_EQ(address->GetAddressCells(), Rect(7, 4, 12, 5));
        EXPECT_FALSE(address->GetDeleteFlag());
        (device.*c.get)(text);
        EXPECT_EQ(text, QStringLiteral("?004,007,005"));
        doc->DeleteElement(address, TRUE);
        (device.*c.get)(text);
        EXPECT_EQ(text, QString());
    }
}

TEST_F(DeviceSetterCaseTest, Parameters)
{
    struct Case
    {
        const char* name;
        int n;
        int width;
    };
    const Case cases[] = {
        {"parameter 1", 1, 132},
        {"parameter 10", 10, 132},
        {"parameter 11", 11, 64},
        {"parameter 20", 20, 64},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        COutputDevice& device = *Device();
        const QString longText = QString(150, u'p');
        QString text;
        EXPECT_TRUE(device.SetParameter(c.n, longText));
        device.GetParameter(c.n, text);
        EXPECT_EQ(text, longText.left(c.width));

        CFormAddressElement* address = AddAddress(output, COutputDevice::ParameterSettingId(c.n - 1), Rect(1, 1, 2, 2));
        ASSERT_NE(address, nullptr);
        EXPECT_TRUE(device.SetParameter(c.n, QStringLiteral("?002,003,004,D")));
        EXPECT_EQ(address->GetAddressCells(), Rect(3, 2, 7, 3));
        EXPECT_TRUE(address->GetDeleteFlag());
        EXPECT_FALSE(device.SetParameter(c.n, QStringLiteral("?002,003,004,D"))) << "the placeholder equals itself";
        doc->DeleteElement(address, TRUE);
        device.GetParameter(c.n, text);
        EXPECT_EQ(text, QString());
    }
    EXPECT_FALSE(Device()->SetParameter(21, QStringLiteral("x")));
}

TEST_F(DeviceSetterCaseTest, DestinationPositions)
{
    COutputDevice& device = *Device();
    EXPECT_TRUE(device.SetDestinationLine(9));
    CFormAddressElement* address = AddAddress(output, AddressFieldCode::Destination, Rect(3, 5, 10, 6));
    EXPECT_EQ(device.GetDestinationLine(), 5);
    EXPECT_TRUE(device.SetDestinationLine(8));
    EXPECT_EQ(address->GetAddressCells(), Rect(3, 8, 10, 9));
    EXPECT_FALSE(device.SetDestinationLine(8));
    EXPECT_TRUE(device.SetDestinationWidth(20));
    EXPECT_EQ(address->GetAddressCells(), Rect(3, 8, 23, 9));
    doc->DeleteElement(address, TRUE);
    EXPECT_EQ(device.GetDestinationLine(), 0);
}

} // namespace
