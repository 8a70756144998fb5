// Importing a spooled file through the entry points, with the select dialog
// driven as a user would: pages, identity, code page, the failures that
// import nothing, the raw save and the release of the pages.

#include "EntryPointDeclarations.h"
#include "ImportTestFixture.h"

#include "hostaccess/CallFrame.h"
#include "hostaccess/import/SpooledFileImport.h"
#include "platform/clientaccess/Faults.h"
#include "platform/framework/Collections.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <ostream>
#include <stdexcept>
#include <vector>

namespace {

using Dialog = CSelSpooledFileDialog;
using Pages = std::vector<std::vector<QString>>;

Pages ToPages(const SpooledPageList* list)
{
    Pages pages;
    if (list != nullptr)
        for (CObject* object : *list) {
            auto* page = static_cast<CStringArray*>(object);
            pages.emplace_back(page->begin(), page->end());
        }
    return pages;
}

class SpooledFileImportTest : public ImportTest
{
protected:
    ~SpooledFileImportTest() override { DestroySpooledFileList(&m_pages); }

    // Chooses the file on a refreshed list, then OK.
    static void ChooseFile(const QString& file, const QString& firstPage = "1")
    {
        WhenDialogShows([file, firstPage](CSelSpooledFileDialogView& view) {
            Click(view, Dialog::IDC_REFRESH);
            Type(view, Dialog::IDC_FIRST_PAGE, firstPage);
            if (!file.isEmpty())
                SelectFile(view, file);
            Click(view, Dialog::IDC_OK);
        });
    }

    BOOL Import(int mode = 0)
    {
        m_filter.SetOutputQueue(QStringLiteral("QPRINT"));
        m_filter.SetOutputQueueLibrary(QStringLiteral("KWVD"));
        return CreateSpooledFileList2(u"KWVDSYS", &m_filter, &m_selected, &m_pages, 10, &m_ccsid, mode);
    }

    SpooledFileIdentity m_filter;
    SpooledFileIdentity m_selected;
    SpooledPageList* m_pages = nullptr;
    int m_ccsid = 0;
};

TEST_F(SpooledFileImportTest, ImportsThePagesTheIdentityAndTheSystemsCcsid)
{
    // 285: 0x5B is the pound sign.
    AddSplf(Splf("INVOICE").UserData("MONTHLY").Pages(2).Data(QByteArray::fromHex("C1C2150C5BF1F00C")));
    ChooseFile("INVOICE");
    ASSERT_EQ(Import(), TRUE);
    EXPECT_EQ(ToPages(m_pages), (Pages{{"", "AB"}, {"", QStringLiteral("\u00A310")}}));
    EXPECT_EQ(m_ccsid, 285);
    EXPECT_EQ(m_selected.GetFileName(), "INVOICE");
    EXPECT_EQ(m_selected.GetUserName(), "KWVDUSER");
    EXPECT_EQ(m_selected.GetUserData(), "MONTHLY");
    EXPECT_EQ(m_selected.GetTotalPages(), "2");
    EXPECT_EQ(m_selected.GetDate(), "03/04/26");
    EXPECT_EQ(m_selected.GetTime(), "14:25:30");
    EXPECT_EQ(m_selected.GetDbcsData(), "*NO");
    EXPECT_EQ(m_selected.GetCharSet(), "*DEVD");
    EXPECT_EQ(m_selected.GetOutputQueue(), "QPRINT");
    EXPECT_EQ(m_selected.GetOutputQueueLibrary(), "KWVD");
    EXPECT_TRUE(m_prompts.Texts().isEmpty()) << m_prompts.Texts().join('\n').toStdString();
}

TEST_F(SpooledFileImportTest, DoubleByteLineKeepsItsColumnsAt930)
{
    AddSplf(Splf("JAPAN").Data(QByteArray::fromHex("C10E42C142C20FC20C")));
    ChooseFile("JAPAN");
    m_ccsid = 930;
    ASSERT_EQ(Import(), TRUE);
    EXPECT_EQ(ToPages(m_pages), (Pages{{"", QStringLiteral("A\x0E\xFF21 \xFF22 \x0F") + u'B'}}));
    EXPECT_EQ(m_ccsid, 930);
}

TEST_F(SpooledFileImportTest, UserAsciiIsReadAsAsciiText)
{
    AddSplf(Splf("ASCII").Data(QByteArray("TOTAL 34 3\r\n\r\nNEXT  LINE\x0cPAGE 2\r\n")));
    ChooseFile("ASCII");
    ASSERT_EQ(Import(), TRUE);
    EXPECT_EQ(ToPages(m_pages), (Pages{{"", "TOTAL 34 3", "", "NEXT  LINE"}, {"", "PAGE 2"}}));
}

TEST_F(SpooledFileImportTest, WarningsAreListedInOneBoxAtTheEnd)
{
    AddSplf(Splf("SUBST").Data(QByteArray::fromHex("C10CC234C4070EFEFE0FC30C")));
    ChooseFile("SUBST");
    m_ccsid = 930;
    ASSERT_EQ(Import(), TRUE);
    ASSERT_EQ(m_prompts.Texts().size(), 1);
    EXPECT_TRUE(m_prompts.Texts()[0].startsWith("Spooled file Loaded, but Warnings Encountered:\nPage: 02, Line: 007: "))
        << m_prompts.Texts()[0].toStdString();
}

TEST_F(SpooledFileImportTest, CancelGivesNothingButTheTypedFilter)
{
    WhenDialogShows([](CSelSpooledFileDialogView& view) {
        Type(view, Dialog::IDC_OUTPUT_QUEUE, "prt9");
        Type(view, Dialog::IDC_LIBRARY, "mylib");
        Type(view, Dialog::IDC_USER, "ann");
        Type(view, Dialog::IDC_USER_DATA, "MONTHLY-2026");
        Click(view, Dialog::IDC_CANCEL);
    });
    EXPECT_EQ(Import(), FALSE);
    ASSERT_NE(m_pages, nullptr);
    EXPECT_TRUE(m_pages->IsEmpty());
    EXPECT_EQ(m_filter.GetOutputQueue(), "prt9");
    EXPECT_EQ(m_filter.GetOutputQueueLibrary(), "mylib");
    EXPECT_EQ(m_filter.GetUserName(), "ann");
    EXPECT_EQ(m_filter.GetUserData(), "MONTHLY-2026");
}

// Every import that imports nothing fails, whatever the Part counted.
struct NothingCase
{
    const char* name;
    QString file;      // the row chosen; empty: none
    QString firstPage;
    const char* fault; // a host call made to fail, or null
    QStringList messages;
};

void PrintTo(const NothingCase& c, std::ostream* os)
{
    *os << c.name;
}

const NothingCase kNothing[] = {
    {"OkWithoutARow", "", "1", nullptr, {}},
    {"FileThatDoesNotOpen", "INVOICE", "1", "cwbOBJ_OpenSplF", {"KWV4001: Refused."}},
    {"FirstPageBeyondTheFile", "INVOICE", "5", nullptr,
     {"No pages were imported: the spooled file has 2 page(s), and the first page asked for was 5."}},
    {"ReadFailingMidway", "INVOICE", "1", "cwbOBJ_ReadSplF", {"KWV4001: Refused.", "Error reading spooled file."}},
};

class ImportOfNothing : public SpooledFileImportTest, public ::testing::WithParamInterface<NothingCase>
{};

TEST_P(ImportOfNothing, ReturnsZeroWithAnEmptyList)
{
    const NothingCase& c = GetParam();
    AddSplf(Splf("INVOICE").Pages(2).Data(QByteArray::fromHex("C10CC2")));
    if (c.fault != nullptr) {
        ASSERT_TRUE(kwvd::clientaccess::SetInjectedFault(c.fault, 8008, "KWV4001", "Refused.", false));
    }
    ChooseFile(c.file, c.firstPage);
    EXPECT_EQ(Import(), FALSE) << c.name;
    kwvd::clientaccess::ClearInjectedFaults();
    EXPECT_TRUE(ToPages(m_pages).empty()) << c.name;
    EXPECT_EQ(m_prompts.Texts(), c.messages) << c.name;
    EXPECT_EQ(m_filter.GetOutputQueue(), "QPRINT") << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, ImportOfNothing, ::testing::ValuesIn(kNothing));

TEST_F(SpooledFileImportTest, UnsupportedFormatOffersTheRawSaveAndFails)
{
    AddSplf(Splf("AFP").Data(QByteArray::fromHex("5A0010D3A8A8")));
    ChooseFile("AFP");
    m_prompts->AnswerMessageBox(IDNO);
    EXPECT_EQ(Import(), FALSE);
    EXPECT_EQ(m_prompts.Texts(),
              (QStringList{"Invalid Format, Do you want to save to disk ?",
                           "This spooled file is not in SCS or USERASCII format."}));
}

TEST_F(SpooledFileImportTest, RawSaveWritesTheHostsBytesExactly)
{
    QByteArray data;
    for (int i = 0; i < 3000; ++i)
        data.append(char(i * 7));
    AddSplf(Splf("RAW").Data(data));
    QTemporaryDir folder;
    const QString path = folder.filePath("copy.raw_splf");
    ChooseFile("RAW");
    m_prompts->AnswerFile(path);
    EXPECT_EQ(Import(1), TRUE);
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), data);
    EXPECT_TRUE(m_pages->IsEmpty());
    ASSERT_FALSE(m_prompts->Recorded().empty());
    EXPECT_EQ(m_prompts->Recorded().front().file.filter, "Raw Spooled File Data (*.raw_splf)|*.raw_splf||");
}

TEST_F(SpooledFileImportTest, RawSaveIntoAFolderFails)
{
    AddSplf(Splf("RAW"));
    QTemporaryDir folder;
    ChooseFile("RAW");
    m_prompts->AnswerFile(folder.path());
    EXPECT_EQ(Import(1), FALSE);
    EXPECT_TRUE(QFileInfo(folder.path()).isDir());
    EXPECT_TRUE(m_prompts.Texts().last().contains(folder.path())) << m_prompts.Texts().join('\n').toStdString();
}

TEST_F(SpooledFileImportTest, RawSaveThatCannotReadToTheEndKeepsTheOldFile)
{
    AddSplf(Splf("RAW").Data(QByteArray(3000, char(0xC1))));
    QTemporaryDir folder;
    const QString path = folder.filePath("old.raw_splf");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old contents");
    }
    // The first block is in hand, as the entry point has it; the host fails
    // the reads after it.
    cwbOBJ_ListHandle list = 0;
    ASSERT_EQ(cwbOBJ_CreateListHandle(kSystem, kCwbObjListSplF, &list, 0), kCwbOk);
    ASSERT_EQ(cwbOBJ_OpenList(list, 0), kCwbOk);
    cwbOBJ_ObjHandle object = 0;
    ASSERT_EQ(cwbOBJ_GetObjHandle(list, 0, &object, 0), kCwbOk);
    ASSERT_EQ(cwbOBJ_OpenSplF(object, 0), kCwbOk);
    unsigned char block[1024];
    unsigned long count = 0;
    ASSERT_EQ(cwbOBJ_ReadSplF(object, block, sizeof block, &count, 0), kCwbOk);
    ASSERT_TRUE(kwvd::clientaccess::SetInjectedFault("cwbOBJ_ReadSplF", 8008, "KWV4001", "Refused.", false));
    m_prompts->AnswerFile(path);
    CAS400 as400;
    EXPECT_EQ(SaveRawSpooledFile(as400, object, block, count), FALSE);
    kwvd::clientaccess::ClearInjectedFaults();
    cwbOBJ_CloseSplF(object, 0);
    cwbOBJ_DeleteObjHandle(object, 0);
    cwbOBJ_CloseList(list, 0);
    cwbOBJ_DeleteListHandle(list, 0);

    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old contents");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"old.raw_splf"}) << "no temporary file stays";
    ASSERT_FALSE(m_prompts.Texts().isEmpty());
    EXPECT_TRUE(m_prompts.Texts().last().contains(path)) << m_prompts.Texts().join('\n').toStdString();
}

TEST_F(SpooledFileImportTest, OlderEntryPointCopiesTheQueueAndLibraryBack)
{
    AddSplf(Splf("INVOICE"));
    ChooseFile("INVOICE");
    char16_t queue[260] = u"QPRINT";
    char16_t library[260] = u"kwvd";
    ASSERT_EQ(CreateSpooledFileList(u"KWVDSYS", queue, library, &m_pages, 10), TRUE);
    EXPECT_EQ(QString::fromUtf16(queue), "QPRINT");
    EXPECT_EQ(QString::fromUtf16(library), "KWVD");
    EXPECT_EQ(ToPages(m_pages), (Pages{{"", "ABC"}}));
}

TEST_F(SpooledFileImportTest, DestroyFreesEveryPageAndNullsThePointer)
{
    auto* list = new SpooledPageList;
    for (int i = 0; i < 3; ++i) {
        auto* page = new CStringArray;
        page->Add(QString());
        page->Add(QStringLiteral("LINE"));
        list->AddTail(page);
    }
    DestroySpooledFileList(&list);
    EXPECT_EQ(list, nullptr);
    DestroySpooledFileList(&list);
    EXPECT_EQ(list, nullptr);
}

// Whatever escapes an entry point is reported with its own text.
class EntryPointFrame : public SpooledFileImportTest
{
protected:
    void SetUp() override
    {
        SpooledFileImportTest::SetUp();
        SetEntryPointFaultHook([](const char*) { throw std::runtime_error("injected"); });
    }
    void TearDown() override
    {
        SetEntryPointFaultHook(nullptr);
        SpooledFileImportTest::TearDown();
    }
};

TEST_F(EntryPointFrame, ListsReportTheSelectFailureAndReturnZero)
{
    EXPECT_EQ(Import(), FALSE);
    char16_t queue[11] = u"QPRINT";
    char16_t library[11] = u"KWVD";
    SpooledPageList* pages = nullptr;
    EXPECT_EQ(CreateSpooledFileList(u"KWVDSYS", queue, library, &pages, 10), FALSE);
    EXPECT_EQ(m_prompts.Texts(),
              QStringList(2, "An unknown error occurred whilst attempting to select a spooled file from the Server."));
}

TEST_F(EntryPointFrame, DestroyReportsTheImportFailureAndLeavesThePointer)
{
    auto* list = new SpooledPageList;
    SpooledPageList* pages = list;
    DestroySpooledFileList(&pages);
    EXPECT_EQ(pages, list);
    EXPECT_EQ(m_prompts.Texts(),
              QStringList{"An unknown error occurred whilst attempting to import a spooled file from the Server."});
    SetEntryPointFaultHook(nullptr);
    DestroySpooledFileList(&pages);
    EXPECT_EQ(pages, nullptr);
}

struct LocaleCase
{
    const char* name;
    QLocale locale;
    const char* date;
    const char* time;
};

void PrintTo(const LocaleCase& c, std::ostream* os)
{
    *os << c.name;
}

const LocaleCase kLocales[] = {
    {"UnitedStatesMonthFirst", QLocale(QLocale::English, QLocale::UnitedStates), "03/04/26", "14:25:30"},
    {"GermanyDayFirstWithDots", QLocale(QLocale::German, QLocale::Germany), "04.03.26", "14:25:30"},
    {"SwedenYearFirstWithDashes", QLocale(QLocale::Swedish, QLocale::Sweden), "26-03-04", "14:25:30"},
};

class DateFromLocale : public ::testing::TestWithParam<LocaleCase>
{};

TEST_P(DateFromLocale, FollowsTheLocalesOrderAndSeparators)
{
    const LocaleCase& c = GetParam();
    const SpooledDateSettings settings = SpooledDateSettingsFromLocale(c.locale);
    EXPECT_EQ(FormatHostDate("1260304", settings), c.date) << c.name;
    EXPECT_EQ(FormatHostTime("142530", settings), c.time) << c.name;
    EXPECT_EQ(FormatHostDate("", settings), "") << c.name;
    EXPECT_EQ(FormatHostDate("26034", settings), "26034") << c.name;
}

INSTANTIATE_TEST_SUITE_P(Locales, DateFromLocale, ::testing::ValuesIn(kLocales));

TEST(DateDefaults, AreYearFirstWithSlashesAndColons)
{
    EXPECT_EQ(FormatHostDate("0991231", SpooledDateSettings{}), "99/12/31");
    EXPECT_EQ(FormatHostTime("235959", SpooledDateSettings{}), "23:59:59");
}

} // namespace
