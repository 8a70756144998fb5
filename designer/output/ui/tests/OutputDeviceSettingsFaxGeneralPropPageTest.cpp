// The fax "General" page without its widgets: its lists, the form file
// that decides whether library and member may be given, the priority and
// public-authority indexes, and the store order.

#include "designer/output/ui/OutputDeviceSettingsFaxGeneralPropPage.h"

#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/ui/tests/OutputDeviceSettingsGeneralPageTesting.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

namespace {

using Page = COutputDeviceSettingsFaxGenPropPage;

class FaxGenPropPageTest : public GeneralPageModelTest<Page>
{
protected:
    FaxGenPropPageTest() : GeneralPageModelTest(COutputDevice::kFaxType, "FAXDEV") {}
};

TEST_F(FaxGenPropPageTest, ListsTitleAndAcceptedType)
{
    EXPECT_EQ(page.GetTitle(), QStringLiteral("General"));
    for (int type = 0; type <= COutputDevice::kMaxType; ++type)
        EXPECT_EQ(page.AcceptsType(type), type == COutputDevice::kFaxType) << "type " << type;
    struct Case
    {
        int id;
        QStringList items;
    };
    const Case cases[] = {
        {Page::IDC_SPOOLED_FILE_STATUS, {"*DLT", "*SAV", "*HLD"}},
        {Page::IDC_ROTATION, {"Portrait", "Landscape", "*DOC"}},
        {Page::IDC_PRIORITY, {"Hold", "Low", "Normal", "High"}},
        {Page::IDC_PUBLIC_AUTHORITY, {"Normal", "None", "All"}},
        {Page::IDC_TRANSMISSION_MODE, {"*NORMAL", "*FINE"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(State(c.id).items, c.items) << "control " << c.id;
    Page fresh;
    EXPECT_EQ(fresh.priorityIndex, -1);
    EXPECT_EQ(fresh.publicAuthorityIndex, -1);
}

TEST_F(FaxGenPropPageTest, ANewDeviceShowsItsDefaults)
{
    EXPECT_EQ(State(Page::IDC_NAME).text, QStringLiteral("FAXDEV"));
    EXPECT_EQ(State(Page::IDC_SPOOLED_FILE_STATUS).text, QStringLiteral("*HLD"));
    EXPECT_EQ(State(Page::IDC_ROTATION).text, QStringLiteral("*DOC"));
    EXPECT_EQ(State(Page::IDC_PRIORITY).selection, 2) << "Normal";
    EXPECT_EQ(State(Page::IDC_PUBLIC_AUTHORITY).selection, 0) << "Normal";
    EXPECT_EQ(State(Page::IDC_TRANSMISSION_MODE).selection, 0);
    EXPECT_TRUE(State(Page::IDC_START_LINE).text.isEmpty());
    EXPECT_FALSE(page.SaveToDevice()) << "nothing changed";
}

TEST_F(FaxGenPropPageTest, TheFormFileDecidesLibraryAndMember)
{
    ASSERT_EQ(State(Page::IDC_FAX_FORM).text, QStringLiteral("*NONE"));
    for (const int id : {Page::IDC_FAX_FORM_LIBRARY, Page::IDC_FAX_FORM_MEMBER}) {
        EXPECT_FALSE(State(id).enabled) << "control " << id;
        EXPECT_TRUE(State(id).text.isEmpty()) << "control " << id;
    }

    Type(Page::IDC_FAX_FORM, QStringLiteral("invform"));
    EXPECT_TRUE(page.OnFaxFormKillFocus());
    EXPECT_EQ(device.GetFaxForm(), QStringLiteral("INVFORM"));
    EXPECT_TRUE(State(Page::IDC_FAX_FORM_LIBRARY).enabled);
    EXPECT_TRUE(State(Page::IDC_FAX_FORM_MEMBER).enabled);

    Type(Page::IDC_FAX_FORM_LIBRARY, QStringLiteral("FORMS"));
    Type(Page::IDC_FAX_FORM_MEMBER, QStringLiteral("INV01"));
    EXPECT_TRUE(page.SaveToDevice());
    EXPECT_EQ(device.GetFaxFormLibrary(), QStringLiteral("FORMS"));
    EXPECT_EQ(device.GetFaxFormMember(), QStringLiteral("INV01"));

    // Back to "*NONE": the form file is stored before its library and
    // member, whose values the device then lets go.
    Type(Page::IDC_FAX_FORM, QStringLiteral("*NONE"));
    EXPECT_TRUE(page.OnFaxFormKillFocus());
    EXPECT_TRUE(device.GetFaxFormLibrary().isEmpty());
    EXPECT_TRUE(device.GetFaxFormMember().isEmpty());
    EXPECT_FALSE(State(Page::IDC_FAX_FORM_LIBRARY).enabled);
    EXPECT_TRUE(State(Page::IDC_FAX_FORM_MEMBER).text.isEmpty());

    Type(Page::IDC_FAX_FORM, QString());
    page.OnFaxFormKillFocus();
    EXPECT_FALSE(State(Page::IDC_FAX_FORM_MEMBER).enabled) << "an empty form file is no form either";
}

TEST_F(FaxGenPropPageTest, ListsStoreTheirIndexesAndTexts)
{
    struct Case
    {
        const char* name;
        int id;
        int selection;
        int (COutputDevice::*get)() const;
        int stored;
    };
    const Case cases[] = {
        {"priority Hold", Page::IDC_PRIORITY, 0, &COutputDevice::GetPriority, 0},
        {"priority High", Page::IDC_PRIORITY, 3, &COutputDevice::GetPriority, 3},
        {"priority none chosen", Page::IDC_PRIORITY, -1, &COutputDevice::GetPriority, 3},
        {"public authority Normal", Page::IDC_PUBLIC_AUTHORITY, 0, &COutputDevice::GetPublicAuthority, 1},
        {"public authority All", Page::IDC_PUBLIC_AUTHORITY, 2, &COutputDevice::GetPublicAuthority, 3},
        {"public authority none chosen", Page::IDC_PUBLIC_AUTHORITY, -1, &COutputDevice::GetPublicAuthority, 3},
        {"rotation Landscape", Page::IDC_ROTATION, 1, &COutputDevice::GetRotation, 1},
        {"rotation *DOC", Page::IDC_ROTATION, 2, &COutputDevice::GetRotation, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        page.Control(c.id).selection = c.selection;
        page.SaveToDevice();
        EXPECT_EQ((device.*c.get)(), c.stored);
    }
    page.Control(Page::IDC_TRANSMISSION_MODE).selection = 1;
    page.Control(Page::IDC_SPOOLED_FILE_STATUS).selection = 0;
    Type(Page::IDC_START_LINE, QStringLiteral("12"));
    EXPECT_TRUE(page.SaveToDevice());
    EXPECT_EQ(device.GetTransmissionMode(), QStringLiteral("*FINE"));
    EXPECT_EQ(device.GetSpooledFileStatus(), QStringLiteral("*DLT"));
    EXPECT_EQ(device.GetStartLine(), 12);
    page.LoadFromDevice();
    EXPECT_EQ(State(Page::IDC_PUBLIC_AUTHORITY).selection, 2);
    EXPECT_EQ(State(Page::IDC_START_LINE).text, QStringLiteral("12"));
}

TEST_F(FaxGenPropPageTest, AFontGroupIsStoredBackUnchanged)
{
    device.SetFontGroup(QStringLiteral("HELV"));
    page.LoadFromDevice();
    EXPECT_EQ(State(Page::IDC_FONT_GROUP).text, QStringLiteral("HELV"));
    EXPECT_FALSE(page.SaveToDevice());
    EXPECT_EQ(device.GetFontGroup(), QStringLiteral("HELV"));
}

} // namespace
