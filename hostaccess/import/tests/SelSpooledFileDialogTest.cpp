// The select dialog on a host of the test's own: listing, filtering,
// sorting by host attributes, OK and the histories.

#include "ImportTestFixture.h"

#include "designer/controls/CCSIDComboBox.h"
#include "hostaccess/MerrowApp.h"
#include "hostaccess/import/SpooledFileImport.h"
#include "platform/registry/RegistryStore.h"

#include <QDir>
#include <QHeaderView>
#include <QPixmap>

#include <ostream>

namespace {

using Dialog = CSelSpooledFileDialog;

class SelSpooledFileDialogTest : public ImportTest
{
protected:
    // A shown dialog on the queue QPRINT of library KWVD.
    std::unique_ptr<CSelSpooledFileDialogView> Open(const QString& user = {})
    {
        auto view = std::make_unique<CSelSpooledFileDialogView>();
        view->Model().system = QString::fromLatin1(kSystem);
        view->Model().outputQueue = QStringLiteral("QPRINT");
        view->Model().library = QStringLiteral("kwvd");
        view->Model().user = user;
        view->show();
        return view;
    }

    void AddSortFixture()
    {
        AddSplf(Splf("ALPHA").User("ANN").UserData("MONTHLY").Pages(10).Date("1260101").Time("090000"));
        AddSplf(Splf("BRAVO").User("BOB").UserData("WEEKLY").Pages(9).Date("0991231").Time("235959"));
        AddSplf(Splf("CHARLIE").User("ANN").UserData("DAILY").Pages(100).Date("1251231").Time("120000"));
    }
};

TEST_F(SelSpooledFileDialogTest, RefreshOfAnEmptyQueueSaysNoSpooledFilesFound)
{
    auto view = Open();
    view->OnRefresh();
    EXPECT_EQ(view->List()->topLevelItemCount(), 0);
    EXPECT_EQ(m_prompts.Texts(), QStringList{"No Spooled Files Found."});
    EXPECT_EQ(view->findChild<QLineEdit*>(QString::number(Dialog::IDC_TOTAL_FILES))->text(), "0");
}

TEST_F(SelSpooledFileDialogTest, ListsEveryFileWithItsAttributesInSixColumns)
{
    AddSortFixture();
    auto view = Open();
    EXPECT_EQ(view->List()->topLevelItemCount(), 0) << "the list waits for Refresh";
    EXPECT_EQ(view->findChild<QLineEdit*>(QString::number(Dialog::IDC_USER_ID))->text(), "KWVDUSER");
    view->OnRefresh();
    ASSERT_EQ(view->List()->topLevelItemCount(), 3);
    QTreeWidgetItem* row = view->List()->topLevelItem(0);
    EXPECT_EQ(row->text(0), "ALPHA");
    EXPECT_EQ(row->text(1), "ANN");
    EXPECT_EQ(row->text(2), "MONTHLY");
    EXPECT_EQ(row->text(3), "10");
    EXPECT_EQ(row->text(4), "01/01/26");
    EXPECT_EQ(row->text(5), "09:00:00");
    EXPECT_EQ(view->findChild<QLineEdit*>(QString::number(Dialog::IDC_TOTAL_FILES))->text(), "3");
    const QStringList captions{"File", "User", "User Data", "Pages", "Date", "Time"};
    ASSERT_EQ(view->List()->columnCount(), 6);
    for (int column = 0; column < 6; ++column) {
        EXPECT_EQ(view->List()->headerItem()->text(column), captions[column]);
        EXPECT_EQ(view->List()->columnWidth(column), Dialog::kColumnWidths[column]) << column;
    }
    EXPECT_EQ(view->List()->columnWidth(5), view->List()->columnWidth(4)) << "Time is as wide as Date";
    EXPECT_TRUE(m_prompts.Texts().isEmpty());

    view->resize(640, 380);
    QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR));
    EXPECT_TRUE(view->grab().save(QStringLiteral(KWVD_SCREENSHOT_DIR "/SelectSpooledFile-10102.png")));
}

struct SortCase
{
    const char* name;
    int column;
    int clicks;
    QStringList files;
};

void PrintTo(const SortCase& c, std::ostream* os)
{
    *os << c.name;
}

const SortCase kSorts[] = {
    {"FileAscending", 0, 1, {"ALPHA", "BRAVO", "CHARLIE"}},
    {"UserAscendingKeepsHostOrderAmongEquals", 1, 1, {"ALPHA", "CHARLIE", "BRAVO"}},
    {"PagesAsNumbersNineBeforeTen", 3, 1, {"BRAVO", "ALPHA", "CHARLIE"}},
    {"PagesSecondClickDescending", 3, 2, {"CHARLIE", "ALPHA", "BRAVO"}},
    {"DateByTheHostsCenturyYearMonthDay", 4, 1, {"BRAVO", "CHARLIE", "ALPHA"}},
    {"TimeByTheHostsText", 5, 1, {"ALPHA", "CHARLIE", "BRAVO"}},
};

class SortColumns : public SelSpooledFileDialogTest, public ::testing::WithParamInterface<SortCase>
{};

TEST_P(SortColumns, ByTheHostsAttributes)
{
    const SortCase& c = GetParam();
    AddSortFixture();
    auto view = Open();
    view->OnRefresh();
    for (int i = 0; i < c.clicks; ++i)
        view->List()->header()->sectionClicked(c.column);
    EXPECT_EQ(FileColumn(*view), c.files) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Columns, SortColumns, ::testing::ValuesIn(kSorts));

TEST_F(SelSpooledFileDialogTest, EmptyUserFilterListsEveryUserAndANameOnlyTheirs)
{
    AddSortFixture();
    auto view = Open();
    view->OnRefresh();
    EXPECT_EQ(FileColumn(*view), (QStringList{"ALPHA", "BRAVO", "CHARLIE"}));
    Type(*view, Dialog::IDC_USER, "BOB");
    view->OnRefresh();
    EXPECT_EQ(FileColumn(*view), QStringList{"BRAVO"});
}

TEST_F(SelSpooledFileDialogTest, RefreshOfAnotherQueueDropsTheOldRows)
{
    AddSortFixture();
    Queue("PRT02");
    AddSplf(Splf("DELTA").InQueue("PRT02"));
    auto view = Open();
    view->OnRefresh();
    ASSERT_EQ(view->List()->topLevelItemCount(), 3);
    Type(*view, Dialog::IDC_OUTPUT_QUEUE, "PRT02");
    view->OnRefresh();
    EXPECT_EQ(FileColumn(*view), QStringList{"DELTA"});
}

TEST_F(SelSpooledFileDialogTest, RefreshRefusesAFirstPageOutOfRangeWithTheFrameworksMessage)
{
    auto view = Open();
    Type(*view, Dialog::IDC_FIRST_PAGE, "0");
    view->OnRefresh();
    EXPECT_EQ(m_prompts.Texts(), QStringList{"Enter an integer between 1 and 9999."});
}

TEST_F(SelSpooledFileDialogTest, OkTakesTheRowUpperCasesTheLibraryAndKeepsTheHistories)
{
    AddSortFixture();
    {
        auto view = Open();
        view->OnRefresh();
        view->List()->header()->sectionClicked(3);
        SelectFile(*view, "CHARLIE");
        Type(*view, Dialog::IDC_USER_DATA, "DAILY");
        view->OnOK();
        EXPECT_EQ(view->result(), QDialog::Accepted);
        EXPECT_NE(view->Model().GetChosenObject(), 0u);
        EXPECT_EQ(view->Model().library, "KWVD");

        SpooledFileIdentity chosen;
        ASSERT_TRUE(ReadSpooledFileAttributes(view->Model().Host(), view->Model().GetChosenObject(), chosen,
                                              view->Model().GetDateSettings()));
        EXPECT_EQ(chosen.GetFileName(), "CHARLIE");
    }
    // The histories lie under the library's own key, not the designer's.
    kwvd::RegistryStore& store = kwvd::RegistryStore::Instance();
    const auto history = [&](const char* subKey) {
        QStringList values;
        const std::optional<kwvd::RegistryKey> key =
            store.OpenKey(kwvd::RegistryRoot::CurrentUser, CMerrowApp::Instance().GetProfileKeyPath() + u'\\' +
                                                                QString::fromLatin1(subKey));
        if (key)
            for (const auto& [name, value] : store.EnumValues(*key))
                values << value.ToText();
        return values;
    };
    EXPECT_EQ(history(CMerrowApp::kHistorySystemName), QStringList{"KWVDSYS"});
    EXPECT_EQ(history(CMerrowApp::kHistoryOutputQueue), QStringList{"QPRINT"});
    EXPECT_EQ(history(CMerrowApp::kHistoryLibrary), QStringList{"KWVD"});
    EXPECT_EQ(history(CMerrowApp::kHistoryUserData), QStringList{"DAILY"});
    EXPECT_EQ(CMerrowApp::Instance().GetProfileKeyPath(), "Software\\Qorvane\\Merrow");
}

TEST_F(SelSpooledFileDialogTest, DoubleClickOnARowIsOkAndTheDialogReleasesWhatItHeld)
{
    AddSortFixture();
    cwbOBJ_ObjHandle chosen = 0;
    {
        auto view = Open();
        view->OnRefresh();
        SelectFile(*view, "BRAVO");
        QTreeWidgetItem* row = view->List()->currentItem();
        emit view->List()->itemDoubleClicked(row, 0);
        EXPECT_EQ(view->result(), QDialog::Accepted);
        chosen = view->Model().GetChosenObject();
        ASSERT_NE(chosen, 0u);
        EXPECT_EQ(cwbOBJ_OpenSplF(chosen, 0), kCwbOk);
        cwbOBJ_CloseSplF(chosen, 0);
    }
    EXPECT_EQ(cwbOBJ_OpenSplF(chosen, 0), kCwbInvalidHandle) << "the chosen spooled file is released with the dialog";
}

TEST_F(SelSpooledFileDialogTest, OkWithoutASelectedRowChoosesNothing)
{
    AddSortFixture();
    auto view = Open();
    view->OnRefresh();
    view->OnOK();
    EXPECT_EQ(view->result(), QDialog::Accepted);
    EXPECT_EQ(view->Model().GetChosenObject(), 0u);
}

TEST_F(SelSpooledFileDialogTest, CodePageBoxShowsThePresetCcsidAndOkTakesTheChoice)
{
    auto view = std::make_unique<CSelSpooledFileDialogView>();
    view->Model().system = QString::fromLatin1(kSystem);
    view->Model().ccsid = 930;
    view->show();
    EXPECT_EQ(view->CodePageBox()->SelectedCCSID(), 930);
    view->CodePageBox()->SelectCCSID(37);
    view->OnOK();
    EXPECT_EQ(view->Model().ccsid, 37);
}

} // namespace
