// The spooled file from and to the host through entry points bound here to
// the test's own functions: what is refused with message 278, what the list
// is given, that every list goes back, and what reaches the export.

#include "designer/document/DesignerDoc.h"
#include "designer/document/ServerEntryPoints.h"
#include "designer/document/SpooledFile.h"
#include "designer/document/SpooledFileStrings.h"
#include "hostaccess/api/EntryPoints.h"
#include "tests/support/SpooledPages.h"
#include "tests/support/WvdDocumentFixture.h"

#include <gtest/gtest.h>

#include <QFile>

#include <cstring>
#include <set>
#include <string>

namespace {

// The library as the test scripts it.
struct FakeLibrary
{
    BOOL result = 1;
    std::vector<QStringList> pages;
    std::set<std::string> missing;
    int listCalls = 0;
    int destroyCalls = 0;
    std::set<const SpooledPageList*> handedOut;
    SpooledFileIdentity filterGiven;
    int exportCalls = 0;
    std::vector<QStringList> exported;
};

FakeLibrary* g_library = nullptr;

SpooledPageList* HandOut()
{
    auto* list = new SpooledPageList;
    for (const QStringList& lines : g_library->pages) {
        auto* page = new CStringArray;
        for (const QString& line : lines)
            page->Add(line);
        list->AddTail(page);
    }
    g_library->handedOut.insert(list);
    return list;
}

BOOL FakeList(const char16_t*, char16_t*, char16_t*, SpooledPageList** pages, int)
{
    ++g_library->listCalls;
    *pages = HandOut();
    return g_library->result;
}

BOOL FakeList2(const char16_t*, SpooledFileIdentity* filter, SpooledFileIdentity*, SpooledPageList** pages, int,
               int*, int)
{
    ++g_library->listCalls;
    g_library->filterGiven.CopyFrom(*filter);
    *pages = HandOut();
    return g_library->result;
}

void FakeDestroy(SpooledPageList** pages)
{
    ++g_library->destroyCalls;
    EXPECT_EQ(g_library->handedOut.erase(*pages), 1u) << "a list the library did not hand out";
    for (CObject* page : **pages)
        delete page;
    delete *pages;
    *pages = nullptr;
}

BOOL FakeExport(const QString*, SpooledFileIdentity*, SpooledPageList** pages, int*, int, int)
{
    ++g_library->exportCalls;
    g_library->exported.clear();
    for (CObject* object : **pages) {
        QStringList lines;
        const auto* page = dynamic_cast<const CStringArray*>(object);
        EXPECT_NE(page, nullptr) << "every page an array of lines";
        for (qsizetype i = 0; page != nullptr && i < page->GetSize(); ++i)
            lines << page->GetAt(i);
        g_library->exported.push_back(lines);
    }
    return g_library->result;
}

void* LookUp(const char* name)
{
    if (g_library->missing.count(name) != 0)
        return nullptr;
    const std::pair<const char*, void*> entries[] = {
        {MerrowEntryPoint::kCreateSpooledFileList, reinterpret_cast<void*>(&FakeList)},
        {MerrowEntryPoint::kCreateSpooledFileList2, reinterpret_cast<void*>(&FakeList2)},
        {MerrowEntryPoint::kDestroySpooledFileList, reinterpret_cast<void*>(&FakeDestroy)},
        {MerrowEntryPoint::kExportSpooledFile, reinterpret_cast<void*>(&FakeExport)},
    };
    for (const auto& [entryName, entry] : entries)
        if (std::strcmp(name, entryName) == 0)
            return entry;
    return nullptr;
}

class SpooledFileHostTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterSpooledFileStrings();
        g_library = &library;
        previous = SetServerEntryPointLookup(&LookUp);
        env.prefs.DefaultSystem = QStringLiteral("SYSA");
        env.prefs.DefaultOutputQueue = QStringLiteral("QUEUENAME12345");
        env.prefs.DefaultOutputQueueLibrary = QStringLiteral("KWVD");
        env.prefs.MaxSpooledFilePages = 20;
        ASSERT_TRUE(doc.OnNewDocument());
        for (int n = 1; n <= 2; ++n) {
            auto* lines = new CStringArray;
            lines->Add(QString());
            lines->Add(QStringLiteral("OWN %1").arg(n));
            ASSERT_TRUE(file().SetPage(lines, n));
        }
        own = SpooledPagesOf(file());
    }

    void TearDown() override
    {
        EXPECT_TRUE(library.handedOut.empty()) << "every list goes back to the library";
        SetServerEntryPointLookup(previous);
        g_library = nullptr;
    }

    CSpooledFile& file() { return *doc.GetSpooledFile(); }

    WvdTestEnvironment env;
    FakeLibrary library;
    ServerEntryPointLookup previous;
    CDesignerDoc doc;
    std::vector<QStringList> own;
};

TEST_F(SpooledFileHostTest, WithoutTheLibraryOrAnEntryPointTheUserHears278)
{
    struct Case
    {
        const char* name;
        bool bound;
        const char* missing;
        bool exporting;
        int mode;
    };
    const Case cases[] = {
        {"import without a binding", false, "", false, 0},
        {"import without the list", true, MerrowEntryPoint::kCreateSpooledFileList, false, 0},
        {"import without the destroy", true, MerrowEntryPoint::kDestroySpooledFileList, false, 0},
        {"save to file without the newer list", true, MerrowEntryPoint::kCreateSpooledFileList2, false, 1},
        {"export without a binding", false, "", true, 0},
        {"export without the export", true, MerrowEntryPoint::kExportSpooledFile, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        env.prompts.Renew();
        library.missing = {c.missing};
        SetServerEntryPointLookup(c.bound ? ServerEntryPointLookup(&LookUp) : ServerEntryPointLookup());
        const BOOL result = c.exporting ? file().ExportToServer(c.mode) : file().ImportFromServer(c.mode);
        EXPECT_FALSE(result);
        EXPECT_EQ(env.PromptTexts(), QStringList{QStringLiteral("Failed to establish contact with Server.")});
        EXPECT_EQ(library.listCalls + library.exportCalls, 0);
        EXPECT_EQ(SpooledPagesOf(file()), own);
    }
}

TEST_F(SpooledFileHostTest, EveryListGoesBackWhateverTheResult)
{
    struct Case
    {
        const char* name;
        bool older;
        BOOL result;
        std::vector<QStringList> pages;
        BOOL imported;
    };
    const std::vector<QStringList> host = {{QString(), QStringLiteral("HOST")}};
    const Case cases[] = {
        {"newer, refused", false, 0, host, FALSE},
        {"older, refused", true, 0, host, FALSE},
        // A library that says yes and hands back nothing must not cost the
        // user the pages held.
        {"newer, success without pages", false, 1, {}, FALSE},
        {"older, success without pages", true, 1, {}, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        library.missing = c.older ? std::set<std::string>{MerrowEntryPoint::kCreateSpooledFileList2}
                                  : std::set<std::string>{};
        library.result = c.result;
        library.pages = c.pages;
        const int destroyed = library.destroyCalls;
        EXPECT_EQ(file().ImportFromServer(0), c.imported);
        EXPECT_EQ(library.destroyCalls, destroyed + 1);
        EXPECT_EQ(SpooledPagesOf(file()), own);
    }
}

TEST_F(SpooledFileHostTest, AppendingKeepsThePagesHeldInFront)
{
    library.pages = {{QString(), QStringLiteral("HOST")}};
    env.prompts->AnswerMessageBox(IDYES);
    ASSERT_TRUE(file().ImportFromServer(0));
    std::vector<QStringList> expected = own;
    expected.push_back(library.pages.front());
    EXPECT_EQ(SpooledPagesOf(file()), expected);
    EXPECT_EQ(file().GetCurrentPageNumber(), 1);
    // The code page came back as it went: no second question.
    EXPECT_EQ(env.prompts->Recorded().size(), 1u);
}

TEST_F(SpooledFileHostTest, TheFilterTakesTheDocumentsQueueOnlyWhenItHasNone)
{
    library.result = 0;
    ASSERT_TRUE(doc.m_outputQueue.isEmpty());
    file().ImportFromServer(0);
    // The document's empty queue took the preference; the filter its first
    // ten characters.
    EXPECT_EQ(doc.m_outputQueue, QStringLiteral("QUEUENAME12345"));
    EXPECT_EQ(library.filterGiven.GetOutputQueue(), QStringLiteral("QUEUENAME1"));
    EXPECT_EQ(library.filterGiven.GetOutputQueueLibrary(), QStringLiteral("KWVD"));
    EXPECT_EQ(library.filterGiven.GetUserName(), QStringLiteral("*ALL"));

    file().GetFilterIdentity().SetOutputQueue(QStringLiteral("MINE"));
    file().GetFilterIdentity().SetOutputQueueLibrary(QStringLiteral("MYLIB"));
    file().ImportFromServer(0);
    EXPECT_EQ(library.filterGiven.GetOutputQueue(), QStringLiteral("MINE"));
    EXPECT_EQ(library.filterGiven.GetOutputQueueLibrary(), QStringLiteral("MYLIB"));
}

TEST_F(SpooledFileHostTest, ExportHandsInEveryPageWithItsLines)
{
    // Page 4 put in after two, so page 3 has no lines.
    auto* lines = new CStringArray;
    lines->Add(QString());
    lines->Add(QStringLiteral("FOURTH"));
    ASSERT_TRUE(file().SetPage(lines, 4));
    ASSERT_TRUE(file().ExportToServer(0));
    std::vector<QStringList> expected = own;
    expected.push_back({});
    expected.push_back({QString(), QStringLiteral("FOURTH")});
    EXPECT_EQ(library.exported, expected);
    EXPECT_EQ(SpooledPagesOf(file()), expected);

    // Pages read from a local file are handed in with their lines, not as
    // the block they wait in until shown.
    const QString path = env.folder.filePath(QStringLiteral("sample.txt"));
    QFile local(path);
    ASSERT_TRUE(local.open(QIODevice::WriteOnly));
    const QString text = QStringLiteral("   1FIRST\n   1SECOND\n001 NEXT PAGE\n");
    local.write(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    local.close();
    ASSERT_TRUE(file().ReadTextFile(path));
    ASSERT_TRUE(file().ExportToServer(0));
    const std::vector<QStringList> read = {{QString(), QStringLiteral("FIRST"), QStringLiteral("SECOND")},
                                           {QString(), QStringLiteral("NEXT PAGE")}};
    EXPECT_EQ(library.exported, read);
}

} // namespace
