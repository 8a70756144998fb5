// The "Address" pages without their widgets: the rows of each page, every
// value loaded and stored through the device's setters with their cutting
// and upper-casing, the e-mail envelope list that is never used, and values
// taken from Address children of an Output element.

#include "designer/output/ui/OutputDeviceSettingsAddressPropPage.h"

#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "tests/support/OutputAddressFixture.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using Page = COutputDeviceSettingsAddressPropPage;
using kwvd::Rect;

constexpr int kEmailType = 4;

class AddressPropPageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterOutputClasses();
        RegisterOutputStrings();
    }

    void Open(Page& page, COutputDevice& device)
    {
        page.SetDevice(&device);
        page.OnInitDialog();
    }

    ScopedPromptAnswers prompts;
    COutputDevice fax{COutputDevice::kFaxType, QStringLiteral("FAX"), QString()};
    COutputDevice mail{kEmailType, QStringLiteral("MAIL"), QString()};
};

TEST_F(AddressPropPageTest, EachPageHasItsRowsInTabOrder)
{
    struct Label
    {
        int id;
        const char* text;
        int limit;
    };
    struct Case
    {
        const char* name;
        std::unique_ptr<Page> page;
        int type;
        bool envelope;
        std::vector<Label> rows;
    };
    Case cases[] = {
        {"fax",
         std::make_unique<COutputDeviceSettingsFaxAddrPropPage>(),
         COutputDevice::kFaxType,
         false,
         {{1268, "From:", 50},
          {1313, "To:", 50},
          {1213, "Attention:", 50},
          {1304, "Reference:", 50},
          {1317, "User name:", 10},
          {1319, "User ID:", 10},
          {1318, "User Address:", 10},
          {1226, "Department:", 10},
          {1315, "Transparency on:", 20},
          {1314, "Transparency off:", 20}}},
        {"e-mail",
         std::make_unique<COutputDeviceSettingsEmailAddrPropPage>(),
         kEmailType,
         true,
         {{1268, "From:", 50},
          {1313, "To:", 50},
          {1304, "Subject:", 256},
          {1213, "Message:", 1024},
          {1317, "User name:", 10},
          {1319, "User ID:", 10},
          {1318, "User Address:", 10},
          {1226, "Department:", 10},
          {1267, "From Email:", 256},
          {1295, "Postmaster Email:", 256}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.page->GetTitle(), QStringLiteral("Address"));
        for (int type = 0; type <= COutputDevice::kMaxType; ++type)
            EXPECT_EQ(c.page->AcceptsType(type), type == c.type) << "type " << type;
        EXPECT_EQ(c.page->HasEnvelope(), c.envelope);
        ASSERT_EQ(c.page->Rows().size(), c.rows.size());
        for (size_t i = 0; i < c.rows.size(); ++i) {
            const Page::Row& row = c.page->Rows()[i];
            EXPECT_EQ(row.id, c.rows[i].id) << "row " << i;
            EXPECT_EQ(row.limit, c.rows[i].limit) << c.rows[i].text;
            EXPECT_EQ(c.page->GetLabel(row.id), QString::fromLatin1(c.rows[i].text));
        }
    }
}

TEST_F(AddressPropPageTest, ConstructionDefaults)
{
    COutputDeviceSettingsEmailAddrPropPage page;
    EXPECT_EQ(page.envelopeIndex, -1);
    EXPECT_EQ(page.GetDevice(), nullptr);
    for (const Page::Row& row : page.Rows())
        EXPECT_TRUE((page.*row.member).isEmpty()) << "control " << row.id;
}

// Each row from the device into its edit, and what the setter makes of a
// typed text.
TEST_F(AddressPropPageTest, EveryRowLoadsAndStoresThroughItsSetter)
{
    struct Case
    {
        const char* name;
        bool email;
        int id;
        std::function<BOOL(COutputDevice&, const QString&)> set;
        std::function<QString(const COutputDevice&)> get;
        QString typed;
        QString stored;
    };
    auto bound = [](void (COutputDevice::*get)(QString&) const) {
        return [get](const COutputDevice& d) {
            QString out;
            (d.*get)(out);
            return out;
        };
    };
    auto plain = [](const QString& (COutputDevice::*get)() const) {
        return [get](const COutputDevice& d) { return (d.*get)(); };
    };
    const QString fifty(50, u'f');
    const Case cases[] = {
        {"fax from of 50", false, Page::IDC_FROM, &COutputDevice::SetFrom, bound(&COutputDevice::GetFrom), fifty,
         fifty},
        {"fax to", false, Page::IDC_TO, &COutputDevice::SetTo, bound(&COutputDevice::GetTo), "Ann Smith", "Ann Smith"},
        {"fax attention", false, Page::IDC_ATTENTION, &COutputDevice::SetAttention, bound(&COutputDevice::GetAttention),
         "Sales", "Sales"},
        {"fax reference of 50", false, Page::IDC_REFERENCE, &COutputDevice::SetReference,
         bound(&COutputDevice::GetReference), fifty, fifty},
        {"user name upper case", false, Page::IDC_USER_NAME, &COutputDevice::SetUserName,
         plain(&COutputDevice::GetUserName), "jsmith", "JSMITH"},
        {"user id upper case", true, Page::IDC_USER_ID, &COutputDevice::SetUserId, plain(&COutputDevice::GetUserId),
         "js01", "JS01"},
        {"user address upper case", false, Page::IDC_USER_ADDRESS, &COutputDevice::SetUserAddress,
         plain(&COutputDevice::GetUserAddress), "hq", "HQ"},
        {"department upper case", true, Page::IDC_DEPARTMENT, &COutputDevice::SetDepartment,
         plain(&COutputDevice::GetDepartment), "sales", "SALES"},
        {"transparency on keeps its case", false, Page::IDC_TRANSPARENCY_ON, &COutputDevice::SetTransparencyOn,
         plain(&COutputDevice::GetTransparencyOn), "<Esc>On", "<Esc>On"},
        {"transparency off keeps its case", false, Page::IDC_TRANSPARENCY_OFF, &COutputDevice::SetTransparencyOff,
         plain(&COutputDevice::GetTransparencyOff), "<Esc>off", "<Esc>off"},
        {"e-mail from", true, Page::IDC_FROM, &COutputDevice::SetFrom, bound(&COutputDevice::GetFrom), "Billing Dept",
         "Billing Dept"},
        {"subject of 256", true, Page::IDC_SUBJECT, &COutputDevice::SetSubject, bound(&COutputDevice::GetSubject),
         QString(256, u's'), QString(256, u's')},
        {"message of 1024", true, Page::IDC_MESSAGE, &COutputDevice::SetMessage, bound(&COutputDevice::GetMessage),
         QString(1024, u'm'), QString(1024, u'm')},
        {"from e-mail", true, Page::IDC_FROM_EMAIL, &COutputDevice::SetFromEmail, bound(&COutputDevice::GetFromEmail),
         "billing@example.com", "billing@example.com"},
        {"postmaster keeps its case", true, Page::IDC_POSTMASTER, &COutputDevice::SetPostmasterEmail,
         plain(&COutputDevice::GetPostmasterEmail), "PostMaster@example.com", "PostMaster@example.com"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        COutputDevice device(c.email ? kEmailType : COutputDevice::kFaxType, QStringLiteral("DEV"), QString());
        std::unique_ptr<Page> page;
        if (c.email)
            page = std::make_unique<COutputDeviceSettingsEmailAddrPropPage>();
        else
            page = std::make_unique<COutputDeviceSettingsFaxAddrPropPage>();
        ASSERT_TRUE(c.set(device, QStringLiteral("OLD")));
        Open(*page, device);
        EXPECT_EQ(page->Control(c.id).text, QStringLiteral("OLD"));

        page->Control(c.id).text = c.typed;
        EXPECT_TRUE(page->SaveToDevice());
        EXPECT_EQ(c.get(device), c.stored);
        page->LoadFromDevice();
        EXPECT_EQ(page->Control(c.id).text, c.stored) << "shown so after the next load";
        EXPECT_FALSE(page->SaveToDevice()) << "nothing left to change";
        EXPECT_TRUE(prompts.Texts().isEmpty());
    }
}

TEST_F(AddressPropPageTest, LongerThanAnEditTakesIsRefused)
{
    struct Case
    {
        const char* name;
        bool email;
        int id;
        int length;
        const char* message;
    };
    const Case cases[] = {
        {"fax from of 51", false, Page::IDC_FROM, 51, "Enter no more than 50 characters."},
        {"user name of 11", false, Page::IDC_USER_NAME, 11, "Enter no more than 10 characters."},
        {"transparency of 21", false, Page::IDC_TRANSPARENCY_OFF, 21, "Enter no more than 20 characters."},
        {"message of 1025", true, Page::IDC_MESSAGE, 1025, "Enter no more than 1024 characters."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompts.Renew();
        std::unique_ptr<Page> page;
        COutputDevice& device = c.email ? mail : fax;
        if (c.email)
            page = std::make_unique<COutputDeviceSettingsEmailAddrPropPage>();
        else
            page = std::make_unique<COutputDeviceSettingsFaxAddrPropPage>();
        Open(*page, device);
        page->Control(c.id).text = QString(c.length, u'x');
        EXPECT_FALSE(page->OnApply());
        EXPECT_EQ(page->RefusedControl(), c.id);
        EXPECT_EQ(prompts.Texts(), QStringList{QString::fromLatin1(c.message)});
    }
}

TEST_F(AddressPropPageTest, AFaxFromOfFiftyStoredInTheDeviceDoesNotBlockOk)
{
    const QString from = QStringLiteral("Accounts Receivable Department, Northern Region 01");
    ASSERT_EQ(from.size(), 50);
    ASSERT_TRUE(fax.SetFrom(from));
    COutputDeviceSettingsFaxAddrPropPage page;
    Open(page, fax);
    EXPECT_EQ(page.from, from);
    EXPECT_TRUE(page.OnApply());
    EXPECT_TRUE(prompts.Texts().isEmpty());
    QString stored;
    fax.GetFrom(stored);
    EXPECT_EQ(stored, from);
}

TEST_F(AddressPropPageTest, TheEnvelopeListIsDisabledEmptyAndNeverStored)
{
    COutputDeviceSettingsEmailAddrPropPage page;
    Open(page, mail);
    const DialogControlState* envelope = page.FindControl(Page::IDC_ENVELOPE);
    ASSERT_NE(envelope, nullptr);
    EXPECT_FALSE(envelope->enabled);
    EXPECT_TRUE(envelope->items.isEmpty());
    EXPECT_EQ(envelope->selection, -1);
    EXPECT_EQ(page.GetLabel(Page::IDC_ENVELOPE), QStringLiteral("Envelope type:"));
    page.Control(Page::IDC_ENVELOPE).selection = 2;
    EXPECT_FALSE(page.SaveToDevice()) << "no setter reported a change";
    EXPECT_EQ(page.envelopeIndex, 2) << "bound, but nothing reads it";

    COutputDeviceSettingsFaxAddrPropPage faxPage;
    Open(faxPage, fax);
    EXPECT_EQ(faxPage.FindControl(Page::IDC_ENVELOPE), nullptr);
}

// A fax device whose Output element has Address children, edited on the
// sheet's copy as the sheet does.
class AddressPropPageChildTest : public OutputAddressFixture
{
protected:
    void SetUp() override
    {
        OutputAddressFixture::SetUp();
        const int index = AddDevice(QStringLiteral("FAXDEV"), COutputDevice::kFaxType);
        device = Devices()->GetDevice(index);
        ASSERT_NE(device, nullptr);
        ASSERT_TRUE(device->SetTo(QStringLiteral("Old recipient")));
        ASSERT_TRUE(device->SetFrom(QStringLiteral("Sender")));
        output = AddOutput(index);
        ASSERT_TRUE(device->HasUser(output));
        to = AddAddress(output, AddressFieldCode::To, Rect(10, 2, 30, 3));
        copy.Copy(device);
        page.SetDevice(&copy);
        page.OnInitDialog();
    }

    COutputDevice* device = nullptr;
    CFormOutputElement* output = nullptr;
    CFormAddressElement* to = nullptr;
    COutputDevice copy;
    COutputDeviceSettingsFaxAddrPropPage page;
};

TEST_F(AddressPropPageChildTest, TheRowShowsTheChildsPositionText)
{
    EXPECT_EQ(page.to, QStringLiteral("?002,010,020"));
    EXPECT_EQ(page.Control(Page::IDC_TO).text, QStringLiteral("?002,010,020"));
    EXPECT_EQ(page.from, QStringLiteral("Sender")) << "a row without a child shows the device's text";
}

TEST_F(AddressPropPageChildTest, StoringAPositionTextMovesTheChild)
{
    struct Case
    {
        const char* name;
        const char* typed;
        Rect cells;
        bool deleting;
        const char* own;
        const char* shown;
    };
    const Case cases[] = {
        {"moved and sized", "?005,003,012", Rect(3, 5, 15, 6), false, "", "?005,003,012"},
        {"with the delete flag", "?004,001,008,D", Rect(1, 4, 9, 5), true, "", "?004,001,008,D"},
        // Not a position text: the device's own text takes it, and the
        // child's position still shows.
        {"plain text", "Jane Doe", Rect(10, 2, 30, 3), false, "Jane Doe", "?002,010,020"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        to->SetCells(Rect(10, 2, 30, 3));
        to->SetDeleteFlag(FALSE);
        page.LoadFromDevice();
        page.Control(Page::IDC_TO).text = QString::fromLatin1(c.typed);
        EXPECT_TRUE(page.SaveToDevice());
        EXPECT_EQ(to->GetAddressCells(), c.cells);
        EXPECT_EQ(to->GetDeleteFlag() != FALSE, c.deleting);
        page.LoadFromDevice();
        EXPECT_EQ(page.to, QString::fromLatin1(c.shown));
        // The device's own text, seen while the child supplies another field.
        to->SetSettingId(AddressFieldCode::Attention);
        QString own;
        copy.GetTo(own);
        EXPECT_EQ(own, QString::fromLatin1(c.own));
        to->SetSettingId(AddressFieldCode::To);
    }
}

} // namespace
