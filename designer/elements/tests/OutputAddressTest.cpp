// The Output element's Address children as its device sees them.

#include "tests/support/OutputAddressFixture.h"

#include <gtest/gtest.h>

namespace {

using kwvd::Rect;

class OutputAddressTest : public OutputAddressFixture
{
protected:
    void SetUp() override
    {
        OutputAddressFixture::SetUp();
        // A display device offers every address field.
        ASSERT_TRUE(Device()->SetType(5));
    }

    COutputDevice* Device() { return Devices()->GetDefaultDevice(); }
};

TEST_F(OutputAddressTest, PlaceholderFormat)
{
    struct Case
    {
        const char* name;
        int id;
        Rect cells;
        BOOL deleting;
        const char* expected;
    };
    const Case cases[] = {
        {"line 5, column 12, 30 wide", AddressFieldCode::Subject, Rect(12, 5, 42, 6), FALSE, "?005,012,030"},
        {"deleting", AddressFieldCode::Subject, Rect(12, 5, 42, 6), TRUE, "?005,012,030,D"},
        {"destination never deletes", AddressFieldCode::Destination, Rect(1, 60, 4, 61), TRUE, "?060,001,003"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFormOutputElement* output = AddOutput();
        CFormAddressElement* address = AddAddress(output, c.id, c.cells, c.deleting);
        ASSERT_NE(address, nullptr);
        QString text = QStringLiteral("untouched");
        EXPECT_FALSE(output->FormatAddressPlaceholder(AddressFieldCode::To, text));
        EXPECT_EQ(text, QStringLiteral("untouched"));
        EXPECT_TRUE(output->FormatAddressPlaceholder(c.id, text));
        EXPECT_EQ(text, QString::fromLatin1(c.expected));
        doc->DeleteElement(output, TRUE);
    }
}

TEST_F(OutputAddressTest, DeviceGetterShowsTheChildsPlaceholder)
{
    CFormOutputElement* output = AddOutput();
    AddAddress(output, AddressFieldCode::From, Rect(3, 5, 10, 6), TRUE);
    QString text;
    Device()->GetFrom(text);
    EXPECT_EQ(text, QStringLiteral("?005,003,007,D"));
}

TEST_F(OutputAddressTest, SetterGivenAPlaceholderMovesTheChildAndEmptiesTheField)
{
    CFormOutputElement* output = AddOutput();
    CFormAddressElement* address = AddAddress(output, AddressFieldCode::From, Rect(1, 1, 2, 2), TRUE);
    EXPECT_TRUE(Device()->SetFrom(QStringLiteral("?010,020,005")));
    EXPECT_EQ(address->GetAddressCells(), Rect(20, 10, 25, 11));
    EXPECT_EQ(address->DestRect(), Cells(20, 10, 25, 11));
    EXPECT_FALSE(address->GetDeleteFlag()) << "no ,D clears the flag";
    EXPECT_TRUE(Device()->SetFrom(QStringLiteral("plain")));
    QString text;
    Device()->GetFrom(text);
    EXPECT_EQ(text, QStringLiteral("?010,020,005")) << "the child still answers";
    doc->DeleteElement(address, TRUE);
    Device()->GetFrom(text);
    EXPECT_EQ(text, QStringLiteral("plain")) << "plain text is no placeholder, so the field kept it";
}

TEST_F(OutputAddressTest, FirstPagePositionsComeFromTheChild)
{
    CFormOutputElement* output = AddOutput();
    EXPECT_TRUE(Device()->SetFirstPageLine(7));
    CFormAddressElement* address = AddAddress(output, AddressFieldCode::FirstPage, Rect(3, 5, 10, 6));
    EXPECT_EQ(Device()->GetFirstPageLine(), 5);
    EXPECT_TRUE(Device()->SetFirstPageColumn(12));
    EXPECT_EQ(address->GetAddressCells(), Rect(12, 5, 19, 6));
    EXPECT_FALSE(Device()->SetFirstPageWidth(7)) << "same width";
    doc->DeleteElement(address, TRUE);
    EXPECT_EQ(Device()->GetFirstPageLine(), 0) << "the stored line was cleared when the child answered";
}

TEST_F(OutputAddressTest, LaterUserWins)
{
    CFormOutputElement* first = AddOutput();
    CFormOutputElement* second = AddOutput();
    AddAddress(first, AddressFieldCode::Subject, Rect(1, 1, 4, 2));
    AddAddress(second, AddressFieldCode::Subject, Rect(2, 9, 4, 10));
    QString text;
    Device()->GetSubject(text);
    EXPECT_EQ(text, QStringLiteral("?009,002,002"));
}

TEST_F(OutputAddressTest, ChangingTheDeviceReplacesIdsItDoesNotOffer)
{
    CFormOutputElement* output = AddOutput();
    CFormAddressElement* subject = AddAddress(output, AddressFieldCode::Subject, Rect(1, 1, 4, 2), TRUE);
    const int fax = AddDevice(QStringLiteral("FAXDEV"), 3);
    EXPECT_TRUE(output->SetOutputDevice(fax));
    EXPECT_EQ(subject->GetSettingId(), AddressFieldCode::Destination);
    EXPECT_FALSE(subject->GetDeleteFlag()) << "a destination never deletes";
    EXPECT_EQ(subject->GetDescription(), QStringLiteral("Destination"));
}

} // namespace
