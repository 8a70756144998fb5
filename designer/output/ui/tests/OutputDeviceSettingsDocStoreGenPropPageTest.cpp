// The document-store "General" page without its widgets, against our fake
// catalogue server: the two catalogue lists with their sorting, their red
// entries and the first-entry rule, the stores at every close-up, Refresh
// and its failure, the extension rule, the field limits and the values
// Address children supply.

#include "designer/output/ui/OutputDeviceSettingsDocStoreGenPropPage.h"

#include "designer/output/OutputDevice.h"
#include "designer/output/ui/tests/OutputDeviceSettingsDocStoreGenPageTesting.h"
#include "designer/output/ui/tests/OutputDeviceSettingsGeneralPageTesting.h"
#include "tests/support/OutputAddressFixture.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Page = COutputDeviceSettingsDocStoreGenPropPage;
using kwvd::Rect;

// A list's entries with their origins, "*" after a red one.
QStringList Entries(const Page& page, int listId)
{
    QStringList entries;
    const DialogControlState* state = page.FindControl(listId);
    if (!state)
        return entries;
    for (qsizetype i = 0; i < state->items.size(); ++i)
        entries << state->items[i] + (page.GetItemData(listId, static_cast<int>(i)) == Page::kDeviceOnly ? "*" : "");
    return entries;
}

class DocStoreGenPropPageTest : public ::testing::Test
{
protected:
    // Two stores whose case-sensitive order differs from the order
    // ignoring case.
    void ServeTwoStores()
    {
        catalogue.Serve("Bills", "All bills", {{"Invoice", "Customer invoices"}});
        catalogue.Serve("archive", "Old papers", {{"Memo", "Memos"}, {"letter", "Letters"}});
    }

    void Refresh()
    {
        ASSERT_TRUE(catalogue.catalogue.RefreshStores());
        ASSERT_TRUE(prompts->Recorded().empty());
    }

    // The page's window opens on the device.
    void Open()
    {
        page.SetDocStoreManager(&catalogue.catalogue);
        page.SetDevice(&device);
        page.OnInitDialog();
    }

    void Choose(int listId, const QString& entry)
    {
        DialogControlState& list = page.Control(listId);
        list.selection = static_cast<int>(list.items.indexOf(entry));
        ASSERT_GE(list.selection, 0) << entry.toStdString();
    }
    const DialogControlState& State(int id) { return page.Control(id); }
    QString Selected(int id) { return State(id).items.value(State(id).selection); }

    QString Parameter(int n) const
    {
        QString value;
        device.GetParameter(n, value);
        return value;
    }

    OutputStringsRegistered registered;
    ScopedPromptAnswers prompts;
    DocStoreCatalogueServer catalogue;
    COutputDevice device{COutputDevice::kDocStoreType, QStringLiteral("ARCHIVER"), QString()};
    Page page;
};

TEST_F(DocStoreGenPropPageTest, EntriesTheCatalogueDoesNotKnowAreDrawnInRed)
{
    COLORREF colour = 0;
    EXPECT_FALSE(Page::GetItemColour(Page::kFromCatalogue, &colour));
    EXPECT_EQ(colour, 0u) << "left alone";
    EXPECT_TRUE(Page::GetItemColour(Page::kDeviceOnly, &colour));
    EXPECT_EQ(colour, 0x0000F0u) << "RGB(240, 0, 0)";
    colour = 0;
    EXPECT_TRUE(Page::GetItemColour(7, &colour));
    EXPECT_EQ(colour, 0x0000F0u) << "any value but 0";
}

TEST_F(DocStoreGenPropPageTest, AStoreTheCatalogueLacksIsListedOnceInRedAndKept)
{
    struct Case
    {
        const char* name;
        bool otherServer;
        QStringList stores;
    };
    const Case cases[] = {
        {"empty catalogue", false, {"Payroll*"}},
        {"made against another server", true, {"archive", "Bills", "Payroll*"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.otherServer) {
            ServeTwoStores();
            Refresh();
        }
        device.SetDocStoreSelection(QStringLiteral("Payroll"), QStringLiteral("Slip"), 2);
        Open();
        page.LoadFromDevice(); // a second load lists it once still
        EXPECT_EQ(Entries(page, Page::IDC_STORE), c.stores);
        EXPECT_EQ(Selected(Page::IDC_STORE), QStringLiteral("Payroll"));
        EXPECT_EQ(Entries(page, Page::IDC_DOC_TYPE), QStringList{"Slip*"});
        EXPECT_TRUE(page.storeDescription.isEmpty());
        EXPECT_TRUE(State(Page::IDC_STORE_DESCRIPTION).text.isEmpty());
        EXPECT_TRUE(page.docTypeDescription.isEmpty());
        page.OnOK();
        EXPECT_EQ(StoredDocStoreSelection(device), (QStringList{"Payroll", "Slip"}));
    }
}

TEST_F(DocStoreGenPropPageTest, ANewDeviceTakesTheFirstStoreAndTypeIgnoringCaseAndOkStoresThem)
{
    ServeTwoStores();
    Refresh();
    ASSERT_TRUE(StoredDocStoreSelection(device)[0].isEmpty());
    Open();
    EXPECT_EQ(Entries(page, Page::IDC_STORE), (QStringList{"archive", "Bills"}));
    EXPECT_EQ(Selected(Page::IDC_STORE), QStringLiteral("archive"));
    EXPECT_EQ(State(Page::IDC_STORE_DESCRIPTION).text, QStringLiteral("Old papers"));
    EXPECT_EQ(Entries(page, Page::IDC_DOC_TYPE), (QStringList{"letter", "Memo"}));
    EXPECT_EQ(Selected(Page::IDC_DOC_TYPE), QStringLiteral("letter"));
    EXPECT_EQ(State(Page::IDC_DOC_TYPE_DESCRIPTION).text, QStringLiteral("Letters"));
    EXPECT_TRUE(StoredDocStoreSelection(device)[0].isEmpty()) << "nothing stored before OK";

    page.OnOK();
    EXPECT_EQ(Parameter(COutputDevice::kParameterCount), QStringLiteral("archive,letter,2,KWVD"));
}

TEST_F(DocStoreGenPropPageTest, AStoreInOtherLetterCaseShowsTheCataloguesEntryAndTakesItsCase)
{
    ServeTwoStores();
    Refresh();
    ASSERT_TRUE(device.SetDocStoreSelection(QStringLiteral("ARCHIVE"), QStringLiteral("letter"), 2));
    Open();
    EXPECT_EQ(Entries(page, Page::IDC_STORE), (QStringList{"archive", "Bills"})) << "no red entry";
    EXPECT_EQ(Selected(Page::IDC_STORE), QStringLiteral("archive"));
    EXPECT_TRUE(page.storeDescription.isEmpty()) << "the catalogue's look-up is exact";
    EXPECT_EQ(Entries(page, Page::IDC_DOC_TYPE), QStringList{"letter*"}) << "no store of that exact name";

    page.OnOK();
    EXPECT_EQ(StoredDocStoreSelection(device)[0], QStringLiteral("archive"));
    page.LoadFromDevice();
    EXPECT_EQ(page.storeDescription, QStringLiteral("Old papers"));
    EXPECT_EQ(Entries(page, Page::IDC_DOC_TYPE), (QStringList{"letter", "Memo"}));
}

TEST_F(DocStoreGenPropPageTest, AnotherStoreKeepsTheDocumentTypeAndStoresAtOnce)
{
    ServeTwoStores();
    catalogue.Serve("Mail", "", {{"LETTER", "Upper"}, {"letter", "Lower"}});
    Refresh();
    ASSERT_TRUE(device.SetDocStoreSelection(QStringLiteral("archive"), QStringLiteral("letter"), 2));
    Open();

    Choose(Page::IDC_STORE, QStringLiteral("Bills"));
    page.OnCloseupStore();
    EXPECT_EQ(State(Page::IDC_STORE_DESCRIPTION).text, QStringLiteral("All bills"));
    EXPECT_EQ(Entries(page, Page::IDC_DOC_TYPE), (QStringList{"Invoice", "letter*"}));
    EXPECT_EQ(Selected(Page::IDC_DOC_TYPE), QStringLiteral("letter"));
    EXPECT_TRUE(State(Page::IDC_DOC_TYPE_DESCRIPTION).text.isEmpty());
    EXPECT_EQ(StoredDocStoreSelection(device), (QStringList{"Bills", "letter"}));

    // Two entries equal but for case: the exact one gives the description.
    Choose(Page::IDC_STORE, QStringLiteral("Mail"));
    page.OnCloseupStore();
    EXPECT_EQ(Entries(page, Page::IDC_DOC_TYPE), (QStringList{"LETTER", "letter"}));
    EXPECT_EQ(State(Page::IDC_DOC_TYPE_DESCRIPTION).text, QStringLiteral("Lower"));

    Choose(Page::IDC_DOC_TYPE, QStringLiteral("LETTER"));
    page.OnCloseupDocType();
    EXPECT_EQ(StoredDocStoreSelection(device)[1], QStringLiteral("LETTER"));
    EXPECT_EQ(State(Page::IDC_DOC_TYPE_DESCRIPTION).text, QStringLiteral("Upper"));
}

TEST_F(DocStoreGenPropPageTest, ListsClosedWithoutAChoiceStillStoreThePage)
{
    ServeTwoStores();
    Refresh();
    Open();
    struct Case
    {
        const char* name;
        void (Page::*closeUp)();
        QString typed;
    };
    const Case cases[] = {
        {"store list", &Page::OnCloseupStore, QStringLiteral("March statements")},
        {"document type list", &Page::OnCloseupDocType, QStringLiteral("April statements")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        page.Control(Page::IDC_DESCRIPTION).text = c.typed;
        page.Control(Page::IDC_FILE_OWNER).text = QStringLiteral("qsecofr");
        (page.*c.closeUp)();
        EXPECT_EQ(Parameter(Page::kDescriptionParameter), c.typed);
        EXPECT_EQ(StoredDocStoreSelection(device), (QStringList{"archive", "letter"}));
        QString owner;
        device.GetFileOwner(owner);
        EXPECT_EQ(owner, QStringLiteral("QSECOFR"));
    }
}

TEST_F(DocStoreGenPropPageTest, TheExtensionFollowsTheFormatIgnoringCase)
{
    Open();
    EXPECT_EQ(State(Page::IDC_FILE_FORMAT).items, (QStringList{"PDF", "TXT", "SCS"}));
    EXPECT_EQ(State(Page::IDC_FILE_PUBLIC_AUTHORITY).items,
              (QStringList{"*NONE", "*RWX", "*RX", "*RW", "*WX", "*R", "*W", "*X", "*EXCLUDE", "*AUTL"}));
    struct Case
    {
        const char* name;
        QString extensionBefore;
        QString format;
        QString extensionAfter;
    };
    const Case cases[] = {
        {"PDF sets PDF", QStringLiteral("TXT"), QStringLiteral("PDF"), QStringLiteral("PDF")},
        {"TXT turns PDF into TXT", QStringLiteral("PDF"), QStringLiteral("TXT"), QStringLiteral("TXT")},
        {"SCS turns pdf into TXT", QStringLiteral("pdf"), QStringLiteral("SCS"), QStringLiteral("TXT")},
        {"TXT leaves DAT", QStringLiteral("DAT"), QStringLiteral("TXT"), QStringLiteral("DAT")},
        {"SCS leaves DAT", QStringLiteral("DAT"), QStringLiteral("SCS"), QStringLiteral("DAT")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        page.Control(Page::IDC_FILE_EXTENSION).text = c.extensionBefore;
        Choose(Page::IDC_FILE_FORMAT, c.format);
        page.OnCloseupFormat();
        EXPECT_EQ(State(Page::IDC_FILE_EXTENSION).text, c.extensionAfter);
        EXPECT_EQ(device.GetFileExtension(), QStringLiteral("TXT")) << "nothing stored here";
    }

    // A PDF file is filed as number 1, any other format as 2.
    Choose(Page::IDC_FILE_FORMAT, QStringLiteral("PDF"));
    page.OnCloseupFormat();
    page.OnOK();
    EXPECT_EQ(device.GetFileFormat(), QStringLiteral("PDF"));
    EXPECT_EQ(Parameter(COutputDevice::kParameterCount), QStringLiteral(",,1,KWVD"));
}

TEST_F(DocStoreGenPropPageTest, FieldsAreCheckedAgainstTheirLimits)
{
    Open();
    struct Case
    {
        const char* name;
        int id;
        int limit;
    };
    const Case cases[] = {
        {"extension", Page::IDC_FILE_EXTENSION, 3},
        {"file name", Page::IDC_FILE_NAME, 64},
        {"path", Page::IDC_FILE_PATH, 256},
        {"CCSID", Page::IDC_FILE_CCSID, 11},
        {"description", Page::IDC_DESCRIPTION, 64},
        {"owner", Page::IDC_FILE_OWNER, 20},
        {"authorization list", Page::IDC_FILE_AUTHORIZATION_LIST, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompts.Renew();
        page.LoadFromDevice();
        const QString before = page.Control(c.id).text;
        page.Control(c.id).text = QString(c.limit + 1, u'A');
        EXPECT_FALSE(page.SaveToDevice());
        ASSERT_EQ(prompts->Recorded().size(), 1u);
        EXPECT_EQ(prompts->Recorded()[0].text, QStringLiteral("Enter no more than %1 characters.").arg(c.limit));
        EXPECT_EQ(page.RefusedControl(), c.id);

        page.Control(c.id).text = QString(c.limit, u'A');
        EXPECT_TRUE(page.SaveToDevice()) << "at the limit";
    }
    EXPECT_EQ(Parameter(Page::kDescriptionParameter), QString(64, u'A'));
    EXPECT_EQ(device.GetFileCcsid(), QString(11, u'A'));
}

TEST_F(DocStoreGenPropPageTest, RefreshFillsTheListsAndStores)
{
    ServeTwoStores();
    Open();
    EXPECT_TRUE(Entries(page, Page::IDC_STORE).isEmpty());
    const int waitShows = prompts->WaitCursorShowCount();

    page.OnRefresh();
    EXPECT_TRUE(prompts->Recorded().empty());
    EXPECT_GT(prompts->WaitCursorShowCount(), waitShows);
    EXPECT_EQ(catalogue.catalogue.GetStores().size(), 2u) << "the document's own catalogue";
    EXPECT_EQ(Entries(page, Page::IDC_STORE), (QStringList{"archive", "Bills"}));
    EXPECT_EQ(State(Page::IDC_DOC_TYPE_DESCRIPTION).text, QStringLiteral("Letters"));
    EXPECT_EQ(StoredDocStoreSelection(device), (QStringList{"archive", "letter"}));
    EXPECT_FALSE(catalogue.doc.IsModified()) << "a refresh marks nothing";
}

TEST_F(DocStoreGenPropPageTest, RefreshWithTheServerStoppedShowsOneMessageAndOnlyRedEntries)
{
    ASSERT_TRUE(device.SetDocStoreSelection(QStringLiteral("Payroll"), QStringLiteral("Slip"), 2));
    Open();
    catalogue.Stop();

    page.OnRefresh();
    ASSERT_EQ(prompts->Recorded().size(), 1u);
    EXPECT_TRUE(prompts->Recorded()[0].text.startsWith(QStringLiteral("Failed to retrieve data from ")));
    EXPECT_EQ(Entries(page, Page::IDC_STORE), QStringList{"Payroll*"});
    EXPECT_EQ(Entries(page, Page::IDC_DOC_TYPE), QStringList{"Slip*"});
    EXPECT_EQ(StoredDocStoreSelection(device)[0], QStringLiteral("Payroll"));
}

TEST_F(DocStoreGenPropPageTest, ADetailsRequestThatFailsShowsItsMessageAndTheStoreIsListed)
{
    ServeTwoStores();
    catalogue.server->Script(catalogue.server->DetailsPath("archive"), fakes::DorrelAnswer::Status(404, "Not Found"));
    Open();
    page.OnRefresh();
    ASSERT_EQ(prompts->Recorded().size(), 1u);
    EXPECT_TRUE(prompts->Recorded()[0].text.contains(QStringLiteral("/docStore/store/archive/docTypeKey/")));
    EXPECT_EQ(Entries(page, Page::IDC_STORE), (QStringList{"archive", "Bills"}));
    EXPECT_EQ(State(Page::IDC_STORE_DESCRIPTION).text, QStringLiteral("Old papers"));
    EXPECT_TRUE(Entries(page, Page::IDC_DOC_TYPE).isEmpty()) << "no types known, none chosen";
    EXPECT_EQ(StoredDocStoreSelection(device), (QStringList{"archive", ""}));
}

TEST_F(DocStoreGenPropPageTest, ACatalogueStoreReplacesTheRedEntryAfterRefresh)
{
    ASSERT_TRUE(device.SetDocStoreSelection(QStringLiteral("archive"), QStringLiteral("Memo"), 2));
    Open();
    ASSERT_EQ(Entries(page, Page::IDC_STORE), QStringList{"archive*"});
    ServeTwoStores();
    page.OnRefresh();
    EXPECT_EQ(Entries(page, Page::IDC_STORE), (QStringList{"archive", "Bills"}));
    EXPECT_EQ(Entries(page, Page::IDC_DOC_TYPE), (QStringList{"letter", "Memo"}));
    EXPECT_EQ(Selected(Page::IDC_DOC_TYPE), QStringLiteral("Memo"));
}

TEST_F(DocStoreGenPropPageTest, WithoutACatalogueTheListsHoldTheDevicesOwnEntries)
{
    ASSERT_TRUE(device.SetDocStoreSelection(QStringLiteral("Payroll"), QStringLiteral("Slip"), 2));
    page.SetDevice(&device);
    page.OnInitDialog();
    page.OnRefresh();
    EXPECT_TRUE(prompts->Recorded().empty());
    EXPECT_EQ(Entries(page, Page::IDC_STORE), QStringList{"Payroll*"});
    EXPECT_EQ(Entries(page, Page::IDC_DOC_TYPE), QStringList{"Slip*"});
}

TEST_F(DocStoreGenPropPageTest, OnlyADocumentStoreDeviceIsTaken)
{
    COutputDevice file(6, QStringLiteral("FILEDEV"), QString());
    page.SetDevice(&file);
    EXPECT_EQ(page.GetDevice(), nullptr);
    page.OnInitDialog();
    EXPECT_FALSE(page.SaveToDevice());
}

// An Output element using the device with Address children for the path
// and the description, edited on the sheet's copy.
class DocStoreGenPropPageAddressTest : public OutputAddressFixture
{
protected:
    void SetUp() override
    {
        OutputAddressFixture::SetUp();
        COutputDevice* device = Devices()->GetDefaultDevice();
        ASSERT_TRUE(device->SetType(COutputDevice::kDocStoreType));
        output = AddOutput();
        path = AddAddress(output, AddressFieldCode::FilePath, Rect(1, 5, 41, 6));
        description = AddAddress(output, AddressFieldCode::Parameter19, Rect(1, 2, 31, 3), TRUE);
        copy.Copy(device);
        page.SetDevice(&copy);
        page.OnInitDialog();
    }

    OutputStringsRegistered registered;
    ScopedPromptAnswers prompts;
    COutputDevice copy;
    CFormOutputElement* output = nullptr;
    CFormAddressElement* path = nullptr;
    CFormAddressElement* description = nullptr;
    Page page;
};

TEST_F(DocStoreGenPropPageAddressTest, ChildrenSupplyPathAndDescription)
{
    EXPECT_EQ(page.Control(Page::IDC_FILE_PATH).text, QStringLiteral("?005,001,040"));
    EXPECT_EQ(page.Control(Page::IDC_DESCRIPTION).text, QStringLiteral("?002,001,030,D"));

    page.Control(Page::IDC_DESCRIPTION).text = QStringLiteral("?003,001,030");
    EXPECT_TRUE(page.SaveToDevice());
    Rect cells;
    description->GetCells(cells);
    EXPECT_EQ(cells, Rect(1, 3, 31, 4));
    path->GetCells(cells);
    EXPECT_EQ(cells, Rect(1, 5, 41, 6)) << "an unchanged position stays";
    page.LoadFromDevice();
    EXPECT_EQ(page.Control(Page::IDC_DESCRIPTION).text, QStringLiteral("?003,001,030"));
}

} // namespace
