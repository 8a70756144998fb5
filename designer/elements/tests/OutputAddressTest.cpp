// The Output element's Address children as its device sees them.

#include "designer/elements/FormOutputElement.h"
#include "designer/elements/tests/ElementTestKinds.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "tests/support/AddressDouble.h"

#include <gtest/gtest.h>

namespace {

class OutputAddressTest : public ElementDocFixture
{
protected:
    // An Output element on a fresh fax device.
    CFormOutputElement* AddOutput()
    {
        auto* output = new CFormOutputElement(doc.get());
        EXPECT_EQ(doc->AddElement(output, FALSE, nullptr), output);
        return output;
    }

    AddressDouble* AddAddress(CFormOutputElement* output, int id, const kwvd::Rect& cells, BOOL deleting = FALSE)
    {
        auto* address = new AddressDouble(doc.get(), id, cells, deleting);
        EXPECT_EQ(doc->AddElement(address, FALSE, output), address);
        return address;
    }

    COutputDevice* Device() { return doc->GetOutputDeviceManager()->GetDefaultDevice(); }
};

TEST_F(OutputAddressTest, PlaceholderAndCells)
{
    CFormOutputElement* output = AddOutput();
    AddAddress(output, AddressFieldCode::From, kwvd::Rect(3, 5, 10, 6), TRUE);
    QString text = QStringLiteral("untouched");
    EXPECT_FALSE(output->FormatAddressPlaceholder(AddressFieldCode::To, text));
    EXPECT_EQ(text, QStringLiteral("untouched"));
    EXPECT_TRUE(output->FormatAddressPlaceholder(AddressFieldCode::From, text));
    EXPECT_EQ(text, QStringLiteral("?005,003,007,D"));
    Device()->GetFrom(text);
    EXPECT_EQ(text, QStringLiteral("?005,003,007,D"));
}

TEST_F(OutputAddressTest, SetterGivenAPlaceholderMovesTheChildAndEmptiesTheField)
{
    CFormOutputElement* output = AddOutput();
    AddressDouble* address = AddAddress(output, AddressFieldCode::From, kwvd::Rect(1, 1, 2, 2), TRUE);
    EXPECT_TRUE(Device()->SetFrom(QStringLiteral("?010,020,005")));
    EXPECT_EQ(address->GetAddressCells(), kwvd::Rect(20, 10, 25, 11));
    EXPECT_FALSE(address->GetDeleteFlag()) << "no ,D clears the flag";
    EXPECT_TRUE(Device()->SetFrom(QStringLiteral("plain")));
    QString text;
    Device()->GetFrom(text);
    EXPECT_EQ(text, QStringLiteral("?010,020,005")) << "the child still answers";
}

TEST_F(OutputAddressTest, FirstPagePositionsComeFromTheChild)
{
    CFormOutputElement* output = AddOutput();
    EXPECT_TRUE(Device()->SetFirstPageLine(7));
    AddressDouble* address = AddAddress(output, AddressFieldCode::FirstPage, kwvd::Rect(3, 5, 10, 6));
    EXPECT_EQ(Device()->GetFirstPageLine(), 5);
    EXPECT_TRUE(Device()->SetFirstPageColumn(12));
    EXPECT_EQ(address->GetAddressCells(), kwvd::Rect(12, 5, 19, 6));
    EXPECT_FALSE(Device()->SetFirstPageWidth(7)) << "same width";
    doc->DeleteElement(address, TRUE);
    EXPECT_EQ(Device()->GetFirstPageLine(), 0) << "the stored line was cleared when the child answered";
}

TEST_F(OutputAddressTest, LaterUserWins)
{
    CFormOutputElement* first = AddOutput();
    CFormOutputElement* second = AddOutput();
    AddAddress(first, AddressFieldCode::Subject, kwvd::Rect(1, 1, 4, 2));
    AddAddress(second, AddressFieldCode::Subject, kwvd::Rect(2, 9, 4, 10));
    QString text;
    Device()->GetSubject(text);
    EXPECT_EQ(text, QStringLiteral("?009,002,002"));
}

} // namespace
