// The e-mail "General" page without its widgets: the queueing values, the
// extension that follows the format when its list closes, and the
// attachment name that an "Attachment Name" Address child supplies.

#include "designer/output/ui/OutputDeviceSettingsEmailGeneralPropPage.h"

#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/ui/tests/OutputDeviceSettingsGeneralPageTesting.h"
#include "tests/support/OutputAddressFixture.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

namespace {

using Page = COutputDeviceSettingsEmailGenPropPage;
using kwvd::Rect;

class EmailGenPropPageTest : public GeneralPageModelTest<Page>
{
protected:
    EmailGenPropPageTest() : GeneralPageModelTest(Page::kEmailType, "MAILDEV") {}
};

TEST_F(EmailGenPropPageTest, ANewDeviceShowsItsDefaultsAndStoresNothing)
{
    EXPECT_EQ(page.GetTitle(), QStringLiteral("General"));
    EXPECT_EQ(page.GetLabel(Page::IDC_ATTACHMENT_GROUP), QStringLiteral("Attachment File"));
    EXPECT_EQ(State(Page::IDC_ATTACHMENT_FORMAT).items, (QStringList{"PDF", "TXT", "SCS"}));
    EXPECT_EQ(State(Page::IDC_ATTACHMENT_NAME).text, QStringLiteral("ATTACH"));
    EXPECT_EQ(State(Page::IDC_ATTACHMENT_FORMAT).text, QStringLiteral("TXT"));
    EXPECT_EQ(State(Page::IDC_ATTACHMENT_EXTENSION).text, QStringLiteral("TXT"));
    EXPECT_EQ(State(Page::IDC_PRIORITY).selection, 2);
    EXPECT_FALSE(page.SaveToDevice());
}

TEST_F(EmailGenPropPageTest, TheExtensionFollowsTheFormatWhenTheListCloses)
{
    struct Case
    {
        const char* name;
        const char* extension;
        const char* format;
        const char* after;
    };
    const Case cases[] = {
        {"PDF chosen", "TXT", "PDF", "PDF"},      {"TXT after PDF", "PDF", "TXT", "TXT"},
        {"SCS after PDF", "PDF", "SCS", "TXT"},   {"LIS stays with SCS", "LIS", "SCS", "LIS"},
        {"LIS becomes PDF", "LIS", "PDF", "PDF"}, {"a lower-case pdf stays", "pdf", "TXT", "pdf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Type(Page::IDC_ATTACHMENT_EXTENSION, QString::fromLatin1(c.extension));
        Choose(Page::IDC_ATTACHMENT_FORMAT, QString::fromLatin1(c.format));
        page.OnFormatCloseUp();
        EXPECT_EQ(State(Page::IDC_ATTACHMENT_EXTENSION).text, QString::fromLatin1(c.after));
        EXPECT_EQ(page.attachmentFormat, QString::fromLatin1(c.format));
    }
    EXPECT_EQ(device.GetAttachmentExtension(), QStringLiteral("TXT")) << "nothing stored before OK";
    page.OnOK();
    EXPECT_EQ(device.GetAttachmentExtension(), QStringLiteral("pdf")) << "case kept";
}

TEST_F(EmailGenPropPageTest, QueueingValuesAndCodePageAreStored)
{
    Choose(Page::IDC_SPOOLED_FILE_STATUS, QStringLiteral("*SAV"));
    Choose(Page::IDC_ROTATION, QStringLiteral("Portrait"));
    page.Control(Page::IDC_PRIORITY).selection = 3;
    page.Control(Page::IDC_PUBLIC_AUTHORITY).selection = 2;
    Type(Page::IDC_ATTACHMENT_CCSID, QStringLiteral("37"));
    Type(Page::IDC_START_LINE, QStringLiteral("4"));
    EXPECT_TRUE(page.SaveToDevice());
    EXPECT_EQ(device.GetSpooledFileStatus(), QStringLiteral("*SAV"));
    EXPECT_EQ(device.GetRotation(), 0);
    EXPECT_EQ(device.GetPriority(), 3);
    EXPECT_EQ(device.GetPublicAuthority(), 3);
    EXPECT_EQ(device.GetAttachmentCcsid(), QStringLiteral("37"));
    EXPECT_EQ(device.GetStartLine(), 4);
}

// An Output element using the device with an "Attachment Name" child at
// line 2, column 10, length 20, edited on the sheet's copy.
class EmailGenPropPageAddressTest : public OutputAddressFixture
{
protected:
    void SetUp() override
    {
        OutputAddressFixture::SetUp();
        COutputDevice* device = Devices()->GetDefaultDevice();
        ASSERT_TRUE(device->SetType(Page::kEmailType));
        output = AddOutput();
        ASSERT_TRUE(device->HasUser(output));
        address = AddAddress(output, AddressFieldCode::AttachmentName, Rect(10, 2, 30, 3));
        copy.Copy(device);
        page.SetDevice(&copy);
        page.OnInitDialog();
    }

    OutputStringsRegistered registered;
    COutputDevice copy;
    CFormOutputElement* output = nullptr;
    CFormAddressElement* address = nullptr;
    Page page;
};

TEST_F(EmailGenPropPageAddressTest, TheNameShowsAndMovesTheChild)
{
    EXPECT_EQ(page.Control(Page::IDC_ATTACHMENT_NAME).text, QStringLiteral("?002,010,020"));

    page.Control(Page::IDC_ATTACHMENT_NAME).text = QStringLiteral("?003,010,020");
    EXPECT_TRUE(page.SaveToDevice());
    Rect cells;
    address->GetCells(cells);
    EXPECT_EQ(cells, Rect(10, 3, 30, 4));
    page.LoadFromDevice();
    EXPECT_EQ(page.Control(Page::IDC_ATTACHMENT_NAME).text, QStringLiteral("?003,010,020"));

    // Without the element the device's own name shows: emptied.
    ASSERT_TRUE(copy.RemoveUser(output));
    page.LoadFromDevice();
    EXPECT_TRUE(page.attachmentName.isEmpty());
}

} // namespace
