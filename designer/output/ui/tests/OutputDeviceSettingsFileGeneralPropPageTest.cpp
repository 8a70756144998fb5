// The file "General" page without its widgets: the store order and the
// setters' cutting, the extension rule, and the values that Address
// children of an Output element supply, with the public-authority list
// disabled while its child exists.

#include "designer/output/ui/OutputDeviceSettingsFileGeneralPropPage.h"

#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/ui/tests/OutputDeviceSettingsGeneralPageTesting.h"
#include "tests/support/OutputAddressFixture.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

namespace {

using Page = COutputDeviceSettingsFileGenPropPage;
using kwvd::Rect;

class FileGenPropPageTest : public GeneralPageModelTest<Page>
{
protected:
    FileGenPropPageTest() : GeneralPageModelTest(Page::kFileType, "FILEDEV") {}
};

TEST_F(FileGenPropPageTest, ANewDeviceShowsItsDefaults)
{
    EXPECT_EQ(page.GetLabel(Page::IDC_FILE_GROUP), QStringLiteral("File"));
    EXPECT_EQ(State(Page::IDC_FILE_PUBLIC_AUTHORITY).items,
              (QStringList{"*NONE", "*RWX", "*RX", "*RW", "*WX", "*R", "*W", "*X", "*EXCLUDE", "*AUTL"}));
    EXPECT_EQ(State(Page::IDC_FILE_PUBLIC_AUTHORITY).selection, 1);
    EXPECT_TRUE(State(Page::IDC_FILE_PUBLIC_AUTHORITY).enabled);
    EXPECT_EQ(State(Page::IDC_FILE_NAME).text, QStringLiteral("File"));
    EXPECT_EQ(State(Page::IDC_FILE_FORMAT).text, QStringLiteral("TXT"));
    page.SaveToDevice();
    QString authority;
    device.GetFilePublicAuthority(authority);
    EXPECT_EQ(authority, QStringLiteral("*RWX"));
    EXPECT_EQ(device.GetFileExtension(), QStringLiteral("TXT"));
}

TEST_F(FileGenPropPageTest, TextsGoThroughTheirSetters)
{
    struct Case
    {
        const char* name;
        int id;
        QString typed;
        void (COutputDevice::*get)(QString&) const;
        QString stored;
        bool refused;
    };
    const QString path256(256, u'p');
    const Case cases[] = {
        {"a 256-character path", Page::IDC_FILE_PATH, path256, &COutputDevice::GetFilePath, path256, false},
        {"a 257-character path", Page::IDC_FILE_PATH, path256 + u'q', &COutputDevice::GetFilePath, path256, true},
        {"file name case kept", Page::IDC_FILE_NAME, QStringLiteral("Report"), &COutputDevice::GetFileName,
         QStringLiteral("Report"), false},
        {"owner upper case", Page::IDC_FILE_OWNER, QStringLiteral("jsmith"), &COutputDevice::GetFileOwner,
         QStringLiteral("JSMITH"), false},
        {"authorization list upper case", Page::IDC_FILE_AUTHORIZATION_LIST, QStringLiteral("acctg"),
         &COutputDevice::GetFileAuthorizationList, QStringLiteral("ACCTG"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompts.Renew();
        page.LoadFromDevice();
        Type(c.id, c.typed);
        EXPECT_EQ(page.SaveToDevice(), c.refused ? FALSE : TRUE);
        EXPECT_EQ(prompts->Recorded().size(), c.refused ? 1u : 0u);
        QString stored;
        (device.*c.get)(stored);
        EXPECT_EQ(stored, c.stored);
    }
}

TEST_F(FileGenPropPageTest, FormatExtensionCodePageAndPublicAuthority)
{
    page.Control(Page::IDC_FILE_FORMAT).selection = 0;
    page.OnFormatCloseUp();
    EXPECT_EQ(State(Page::IDC_FILE_EXTENSION).text, QStringLiteral("PDF"));
    Type(Page::IDC_FILE_CCSID, QStringLiteral("1208"));
    page.Control(Page::IDC_FILE_PUBLIC_AUTHORITY).selection = 8;
    EXPECT_TRUE(page.SaveToDevice());
    EXPECT_EQ(device.GetFileFormat(), QStringLiteral("PDF"));
    EXPECT_EQ(device.GetFileExtension(), QStringLiteral("PDF"));
    EXPECT_EQ(device.GetFileCcsid(), QStringLiteral("1208"));
    QString authority;
    device.GetFilePublicAuthority(authority);
    EXPECT_EQ(authority, QStringLiteral("*EXCLUDE"));

    page.Control(Page::IDC_FILE_FORMAT).selection = 2;
    page.OnFormatCloseUp();
    EXPECT_EQ(State(Page::IDC_FILE_EXTENSION).text, QStringLiteral("TXT")) << "SCS after PDF";
}

// An Output element using the device with Address children for the path
// and the public authority, edited on the sheet's copy.
class FileGenPropPageAddressTest : public OutputAddressFixture
{
protected:
    void SetUp() override
    {
        OutputAddressFixture::SetUp();
        COutputDevice* device = Devices()->GetDefaultDevice();
        ASSERT_TRUE(device->SetType(Page::kFileType));
        output = AddOutput();
        ASSERT_TRUE(device->HasUser(output));
        path = AddAddress(output, AddressFieldCode::FilePath, Rect(1, 5, 41, 6));
        authority = AddAddress(output, AddressFieldCode::FilePublicAuthority, Rect(50, 5, 58, 6), TRUE);
        copy.Copy(device);
        page.SetDevice(&copy);
        page.OnInitDialog();
    }

    OutputStringsRegistered registered;
    COutputDevice copy;
    CFormOutputElement* output = nullptr;
    CFormAddressElement* path = nullptr;
    CFormAddressElement* authority = nullptr;
    Page page;
};

TEST_F(FileGenPropPageAddressTest, ChildrenSupplyTheirFields)
{
    EXPECT_EQ(page.Control(Page::IDC_FILE_PATH).text, QStringLiteral("?005,001,040"));
    EXPECT_EQ(page.filePublicAuthority, QStringLiteral("?005,050,008,D"));
    EXPECT_FALSE(page.Control(Page::IDC_FILE_PUBLIC_AUTHORITY).enabled);
    EXPECT_EQ(page.Control(Page::IDC_FILE_PUBLIC_AUTHORITY).selection, -1) << "a position is no entry";
    EXPECT_EQ(page.Control(Page::IDC_FILE_NAME).text, QStringLiteral("File")) << "no child: the device's own";

    page.Control(Page::IDC_FILE_PATH).text = QStringLiteral("?007,001,040");
    EXPECT_TRUE(page.SaveToDevice());
    Rect cells;
    path->GetCells(cells);
    EXPECT_EQ(cells, Rect(1, 7, 41, 8));
    authority->GetCells(cells);
    EXPECT_EQ(cells, Rect(50, 5, 58, 6)) << "the disabled list leaves its child where it is";

    // Without the element the device's own values show: both emptied.
    ASSERT_TRUE(copy.RemoveUser(output));
    page.LoadFromDevice();
    EXPECT_TRUE(page.filePath.isEmpty());
    EXPECT_TRUE(page.filePublicAuthority.isEmpty());
    EXPECT_TRUE(page.Control(Page::IDC_FILE_PUBLIC_AUTHORITY).enabled);
}

} // namespace
