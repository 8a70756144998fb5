// The spooled file's pages: taking over a page list, selecting a page, the
// page dimensions and the text under a rectangle of cells.

#include "designer/document/SpooledFile.h"
#include "designer/document/DesignerDoc.h"
#include "designer/document/DocumentClasses.h"
#include "designer/document/Page.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <random>

namespace {

// "A", shift-out, a double-byte character and its filler, shift-in, "B".
const QString kMixedLine = QStringLiteral("A\x0Exy\x0F"
                                          "B");

CStringArray* MakePage(std::initializer_list<QString> lines)
{
    auto* page = new CStringArray;
    for (const QString& line : lines)
        page->Add(line);
    return page;
}

PageList MakePages(std::initializer_list<CObject*> pages)
{
    PageList list(new CObList);
    for (CObject* page : pages)
        list->AddTail(page);
    return list;
}

QStringList Lines(std::initializer_list<const char*> texts)
{
    QStringList lines;
    for (const char* text : texts)
        lines.append(QString::fromUtf8(text));
    return lines;
}

TEST(SpooledFile, NewFileFiltersOnAllUsers)
{
    alignas(8) char documentStandIn[8] = {};
    auto* doc = reinterpret_cast<CDesignerDoc*>(documentStandIn);
    const CSpooledFile bound(doc);
    const CSpooledFile loose;
    for (const CSpooledFile* file : {&bound, &loose}) {
        EXPECT_EQ(file->GetFilterIdentity().GetUserName(), QStringLiteral("*ALL"));
        EXPECT_EQ(file->GetFilterIdentity().GetUserData(), QStringLiteral("*ALL"));
        EXPECT_EQ(file->GetFilterIdentity().GetOutputQueue(), QString());
        EXPECT_TRUE(file->GetLoadedIdentity().IsEqual(SpooledFileIdentity()));
        EXPECT_EQ(file->GetPageCount(), 0);
        EXPECT_EQ(file->GetCurrentPageNumber(), 0);
        EXPECT_EQ(file->GetCurrentPageLines(), nullptr);
    }
    EXPECT_EQ(bound.GetDocument(), doc);
    EXPECT_EQ(loose.GetDocument(), nullptr);
}

TEST(SpooledFile, ExtractLineColumns)
{
    struct Case
    {
        const char* name;
        QString line;
        int start;
        int count;
        int mode;
        QString expected;
    };
    const QString twoWide = QStringLiteral("\x0E"
                                           "aAbB\x0F");
    const Case cases[] = {
        {"plain text", QStringLiteral("ABCDEF"), 1, 3, CSpooledFile::PlainShiftMode, QStringLiteral("BCD")},
        {"count past the end", QStringLiteral("ABC"), 1, 10, CSpooledFile::PlainShiftMode, QStringLiteral("BC")},
        {"start at the end", QStringLiteral("ABC"), 3, 1, CSpooledFile::PlainShiftMode, QString()},
        {"start beyond the end", QStringLiteral("ABC"), 9, 1, CSpooledFile::PlainShiftMode, QString()},
        {"count 0", QStringLiteral("ABC"), 0, 0, CSpooledFile::PlainShiftMode, QString()},
        {"negative count", QStringLiteral("ABC"), 0, -4, CSpooledFile::PlainShiftMode, QString()},
        {"double-byte shown", kMixedLine, 0, 6, CSpooledFile::DisplayShiftMode, QStringLiteral("A\u00ABx \u00BBB")},
        {"double-byte plain", kMixedLine, 0, 6, CSpooledFile::PlainShiftMode, QStringLiteral("AxB")},
        {"any other mode shows the shifts", kMixedLine, 0, 6, 7, QStringLiteral("A\u00ABx \u00BBB")},
        {"start on a filler, shown", kMixedLine, 3, 3, CSpooledFile::DisplayShiftMode, QStringLiteral(" \u00BBB")},
        {"start on a filler, plain", kMixedLine, 3, 3, CSpooledFile::PlainShiftMode, QStringLiteral("B")},
        {"start on a first half", kMixedLine, 2, 1, CSpooledFile::PlainShiftMode, QStringLiteral("x")},
        {"two double-byte characters shown", twoWide, 0, 6, CSpooledFile::DisplayShiftMode,
         QStringLiteral("\u00ABa b \u00BB")},
        {"two double-byte characters plain", twoWide, 0, 6, CSpooledFile::PlainShiftMode, QStringLiteral("ab")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ExtractLineColumns(c.line, c.start, c.count, c.mode), c.expected);
    }
}

class SpooledFilePageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        file.ReplacePageList(MakePages({
            MakePage({QString(), QStringLiteral("ABCDEFGH"), QStringLiteral("12345"), kMixedLine}),
            MakePage({QString(), QStringLiteral("second")}),
            nullptr,
        }));
        ASSERT_TRUE(file.SetCurrentPage(1));
    }

    CSpooledFile file;
};

TEST_F(SpooledFilePageTest, TextInRect)
{
    struct Case
    {
        const char* name;
        int left;
        int top;
        int right;
        int bottom;
        int mode;
        BOOL result;
        QStringList lines;
    };
    const int plain = CSpooledFile::PlainShiftMode;
    const int shown = CSpooledFile::DisplayShiftMode;
    const Case cases[] = {
        {"one cell", 1, 1, 2, 2, plain, TRUE, Lines({"A"})},
        {"block of two lines", 3, 1, 6, 3, plain, TRUE, Lines({"CDE", "345"})},
        {"lines beyond the page come back empty", 1, 2, 3, 6, plain, TRUE, Lines({"12", "A", "", ""})},
        {"top 0 includes element 0", 1, 0, 3, 2, plain, TRUE, Lines({"", "AB"})},
        {"columns left of column 1 narrow the rectangle", 0, 1, 3, 2, plain, TRUE, Lines({"AB"})},
        {"far left of column 1", -5, 1, 3, 2, plain, TRUE, Lines({"AB"})},
        {"wholly left of column 1", -5, 1, 1, 3, plain, TRUE, Lines({"", ""})},
        {"no wider than the page", 1, 1, 30, 2, plain, TRUE, Lines({"ABCDEFGH"})},
        {"double-byte shown", 1, 3, 7, 4, shown, TRUE, Lines({"A\u00ABx \u00BBB"})},
        {"double-byte plain", 1, 3, 7, 4, plain, TRUE, Lines({"AxB"})},
        {"above the page keeps the rows", 1, -2, 2, 2, plain, TRUE, Lines({"", "", "", "A"})},
        {"empty rectangle", 2, 1, 2, 3, plain, FALSE, {}},
        {"upside down", 1, 3, 2, 1, plain, FALSE, {}},
        {"starts below the last line", 1, 4, 2, 5, plain, FALSE, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList lines;
        EXPECT_EQ(file.GetTextInRect(c.left, c.top, c.right, c.bottom, lines, c.mode), c.result);
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(file.GetTextInRect(kwvd::Rect(c.left, c.top, c.right, c.bottom), c.mode), c.lines);
    }
}

TEST_F(SpooledFilePageTest, TextInRectAppendsToTheList)
{
    QStringList lines{QStringLiteral("kept")};
    EXPECT_TRUE(file.GetTextInRect(1, 2, 3, 3, lines, CSpooledFile::PlainShiftMode));
    EXPECT_EQ(lines, Lines({"kept", "12"}));
}

TEST_F(SpooledFilePageTest, SelectingAPage)
{
    struct Case
    {
        const char* name;
        int page;
        BOOL result;
        int current;
        const char* firstLine;
    };
    const Case cases[] = {
        {"second page", 2, TRUE, 2, "second"},
        {"back to the first", 1, TRUE, 1, "ABCDEFGH"},
        {"page without lines", 3, FALSE, 1, "ABCDEFGH"},
        {"past the last page", 4, FALSE, 1, "ABCDEFGH"},
        {"page 0", 0, FALSE, 1, "ABCDEFGH"},
        {"negative page", -1, FALSE, 1, "ABCDEFGH"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(file.SetCurrentPage(c.page), c.result);
        EXPECT_EQ(file.GetCurrentPageNumber(), c.current);
        ASSERT_NE(file.GetCurrentPageLines(), nullptr);
        EXPECT_EQ(file.GetCurrentPageLines()->GetAt(1), QString::fromUtf8(c.firstLine));
    }
}

TEST_F(SpooledFilePageTest, NewPagesReplaceTheOldButDimensionsOnlyGrow)
{
    EXPECT_EQ(file.GetPageWidth(), 8);
    EXPECT_EQ(file.GetPageLength(), 3);

    file.ReplacePageList(
        MakePages({MakePage({QString(), QStringLiteral("abc"), QString(), QString(), QString(), QString()})}));
    EXPECT_EQ(file.GetPageCount(), 1);
    EXPECT_EQ(file.GetCurrentPageNumber(), 0);
    EXPECT_EQ(file.GetCurrentPageLines(), nullptr);
    EXPECT_EQ(file.GetPageWidth(), 8);
    EXPECT_EQ(file.GetPageLength(), 5);

    QStringList lines;
    EXPECT_FALSE(file.GetTextInRect(1, 1, 2, 2, lines, CSpooledFile::PlainShiftMode));

    // No list: nothing changes.
    file.ReplacePageList(PageList());
    EXPECT_EQ(file.GetPageCount(), 1);
}

// A page list read from a file can name one page twice or hold objects of
// another class; each must end up owned once, as a page without lines.
TEST(SpooledFile, ForeignAndRepeatedEntriesBecomePagesWithoutLines)
{
    CStringArray* shared = MakePage({QString(), QStringLiteral("shared")});
    CSpooledFile file;
    file.ReplacePageList(MakePages({shared, new CObList, shared, MakePage({QString(), QStringLiteral("last")})}));

    EXPECT_EQ(file.GetPageCount(), 4);
    EXPECT_EQ(file.GetPage(1), shared);
    EXPECT_EQ(file.GetPage(2), nullptr);
    EXPECT_EQ(file.GetPage(3), nullptr);
    ASSERT_NE(file.GetPage(4), nullptr);
    EXPECT_FALSE(file.SetCurrentPage(3));
    EXPECT_TRUE(file.SetCurrentPage(4));
    EXPECT_EQ(file.GetPageWidth(), 6);
    // The sanitiser build reports a double delete here if a page is freed twice.
}

TEST(SpooledFile, FreePageListDeletesEachObjectOnce)
{
    CStringArray* shared = MakePage({QStringLiteral("x")});
    CObList list;
    list.AddTail(shared);
    list.AddTail(nullptr);
    list.AddTail(shared);
    FreePageList(&list);
    EXPECT_TRUE(list.IsEmpty());
    FreePageList(nullptr);
}

TEST(SpooledFile, SelectingAPageSizesTheSourcePage)
{
    CDesignerDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    CSpooledFile* file = doc.GetSpooledFile();
    CPage* sourcePage = doc.GetSourcePage();
    ASSERT_NE(file, nullptr);
    ASSERT_NE(sourcePage, nullptr);
    EXPECT_EQ(file->GetDocument(), &doc);

    // The widest line of any page and the most lines of any page.
    file->ReplacePageList(MakePages({
        MakePage({QString(), QString(132, u'w')}),
        MakePage({QString(), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}),
    }));
    ASSERT_TRUE(file->SetCurrentPage(1));
    EXPECT_EQ(sourcePage->GetPixelWidth(), 132 * sourcePage->GetCellWidth());
    EXPECT_EQ(sourcePage->GetPixelHeight(), 3 * sourcePage->GetCellHeight());
}

TEST(SpooledFile, RegisteredUnderItsSchema)
{
    RegisterDocumentClasses();
    const CRuntimeClass* runtimeClass = CRuntimeClass::FromName("CSpooledFile");
    ASSERT_NE(runtimeClass, nullptr);
    EXPECT_EQ(runtimeClass->GetStoredSchema(), 6u);
    EXPECT_TRUE(runtimeClass->IsVersionable());
    std::unique_ptr<CObject> object(runtimeClass->CreateObject());
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(static_cast<CSpooledFile*>(object.get())->GetDocument(), nullptr);
}

// Pages named by their first line, "-" for a page without lines.
QStringList FirstLines(const CSpooledFile& file)
{
    QStringList names;
    for (int n = 1; n <= file.GetPageCount(); ++n) {
        const CStringArray* page = file.GetPage(n);
        names.append(page == nullptr ? QStringLiteral("-") : page->GetAt(1));
    }
    return names;
}

QString CurrentFirstLine(const CSpooledFile& file)
{
    const CStringArray* page = file.GetCurrentPageLines();
    return page == nullptr ? QStringLiteral("-") : page->GetAt(1);
}

TEST(SpooledFile, DeletingAPage)
{
    struct Case
    {
        const char* name;
        bool middleWithoutLines;
        int current;
        int deleted;
        BOOL result;
        QStringList pagesAfter;
        int currentAfter;
        const char* currentLines;
    };
    const Case cases[] = {
        {"current middle page: the next takes its place", false, 2, 2, TRUE, Lines({"P1", "P3"}), 2, "P3"},
        {"current last page: the new last page", false, 3, 3, TRUE, Lines({"P1", "P2"}), 2, "P2"},
        {"current first page", false, 1, 1, TRUE, Lines({"P2", "P3"}), 1, "P2"},
        {"an earlier page selects the page that took its number", false, 3, 1, TRUE, Lines({"P2", "P3"}), 1, "P2"},
        {"a later last page leaves the current one", false, 1, 3, TRUE, Lines({"P1", "P2"}), 1, "P1"},
        {"a page without lines in the way", true, 3, 1, TRUE, Lines({"-", "P3"}), 2, "P3"},
        {"past the last page", false, 2, 4, FALSE, Lines({"P1", "P2", "P3"}), 2, "P2"},
        {"page 0", false, 2, 0, FALSE, Lines({"P1", "P2", "P3"}), 2, "P2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSpooledFile file;
        file.ReplacePageList(MakePages({
            MakePage({QString(), QStringLiteral("P1")}),
            c.middleWithoutLines ? nullptr : MakePage({QString(), QStringLiteral("P2")}),
            MakePage({QString(), QStringLiteral("P3")}),
        }));
        ASSERT_TRUE(file.SetCurrentPage(c.current));
        EXPECT_EQ(file.DeletePage(c.deleted), c.result);
        EXPECT_EQ(FirstLines(file), c.pagesAfter);
        EXPECT_EQ(file.GetCurrentPageNumber(), c.currentAfter);
        EXPECT_EQ(CurrentFirstLine(file), QString::fromUtf8(c.currentLines));
    }
}

TEST(SpooledFile, DeletingTheOnlyPageLeavesNoCurrentPage)
{
    CSpooledFile file;
    file.ReplacePageList(MakePages({MakePage({QString(), QStringLiteral("wide line")})}));
    ASSERT_TRUE(file.SetCurrentPage(1));
    EXPECT_TRUE(file.DeletePage(1));
    EXPECT_EQ(file.GetPageCount(), 0);
    EXPECT_EQ(file.GetCurrentPageNumber(), 0);
    EXPECT_EQ(file.GetCurrentPageLines(), nullptr);
    EXPECT_EQ(file.GetPageWidth(), 9);
}

TEST(SpooledFile, SettingAPage)
{
    CSpooledFile file;
    file.ReplacePageList(
        MakePages({MakePage({QString(), QStringLiteral("P1")}), MakePage({QString(), QStringLiteral("P2")})}));
    ASSERT_TRUE(file.SetCurrentPage(2));

    // Refused: the lines stay the caller's.
    std::unique_ptr<CStringArray> refused(MakePage({QString(), QStringLiteral("X")}));
    EXPECT_FALSE(file.SetPage(refused.get(), 0));
    EXPECT_EQ(FirstLines(file), Lines({"P1", "P2"}));

    // The current page replaced; the old one goes (a sanitiser build sees a leak otherwise).
    EXPECT_TRUE(file.SetPage(MakePage({QString(), QStringLiteral("new P2"), QStringLiteral("b")}), 2));
    EXPECT_EQ(FirstLines(file), Lines({"P1", "new P2"}));
    EXPECT_EQ(file.GetCurrentPageNumber(), 2);
    EXPECT_EQ(CurrentFirstLine(file), QStringLiteral("new P2"));
    EXPECT_EQ(file.GetPageWidth(), 6);
    EXPECT_EQ(file.GetPageLength(), 2);

    // Missing pages come without lines.
    EXPECT_TRUE(file.SetPage(MakePage({QString(), QStringLiteral("P5")}), 5));
    EXPECT_EQ(FirstLines(file), Lines({"P1", "new P2", "-", "-", "P5"}));
    EXPECT_EQ(file.GetCurrentPageNumber(), 5);

    // Narrower pages never shrink the dimensions.
    EXPECT_TRUE(file.SetPage(MakePage({QString(), QStringLiteral("s")}), 2));
    EXPECT_EQ(file.GetPageWidth(), 6);
    EXPECT_EQ(file.GetPageLength(), 2);
}

TEST(SpooledFile, SettingAPageFarOut)
{
    struct Case
    {
        const char* name;
        int beyond; // pages past the last
        BOOL result;
        int pagesAfter;
    };
    const Case cases[] = {
        {"10001 pages added", 10001, TRUE, 1 + 10001},
        {"10002 would be too many; the added pages stay", 10002, FALSE, 1 + 10001},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSpooledFile file;
        file.ReplacePageList(MakePages({MakePage({QString(), QStringLiteral("P1")})}));
        std::unique_ptr<CStringArray> lines(MakePage({QString(), QStringLiteral("far")}));
        const BOOL result = file.SetPage(lines.get(), 1 + c.beyond);
        if (result)
            lines.release();
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(file.GetPageCount(), c.pagesAfter);
    }
}

TEST(SpooledFile, ServerPagesAreCopied)
{
    CObList server;
    server.AddTail(MakePage({QString(), QStringLiteral("wide server line"), QStringLiteral("cut\0tail")}));
    server.AddTail(nullptr);
    server.AddTail(MakePage({QString(), QStringLiteral("two")}));

    CSpooledFile file;
    file.ReplacePageList(MakePages({MakePage({QString(), QStringLiteral("held")})}));
    ASSERT_TRUE(file.SetCurrentPage(1));

    file.AddServerPages(&server, TRUE);
    EXPECT_EQ(FirstLines(file), Lines({"held", "wide server line", "-", "two"}));
    EXPECT_EQ(file.GetCurrentPageNumber(), 0);
    EXPECT_EQ(file.GetCurrentPageLines(), nullptr);
    EXPECT_EQ(file.GetPage(2)->GetAt(2), QStringLiteral("cut"));
    EXPECT_NE(file.GetPage(2), server.GetHead());
    EXPECT_EQ(file.GetPageWidth(), 16);

    // Without append the pages held go; a narrower import keeps the width.
    CObList narrow;
    narrow.AddTail(MakePage({QString(), QStringLiteral("n")}));
    file.AddServerPages(&narrow, FALSE);
    EXPECT_EQ(FirstLines(file), Lines({"n"}));
    EXPECT_EQ(file.GetPageWidth(), 16);

    FreePageList(&server);
    FreePageList(&narrow);
}

// Every page number keeps finding its page through a long mix of
// replacements, insertions past the end, deletions and server imports,
// checked after each step against a plain list of what each page holds.
TEST(SpooledFile, PageNumbersFollowEveryChangeToThePages)
{
    enum Step {
        Replace,
        Delete,
        RemoveThroughSetPage,
        SetPastTheEnd,
        Append,
        ImportServerPages,
        StepCount
    };
    std::mt19937 random(5);
    int made = 0;
    auto newPage = [&made] { return MakePage({QString(), QStringLiteral("P%1").arg(++made)}); };

    CSpooledFile file;
    QStringList expected;
    PageList start(new CObList);
    for (int i = 0; i < 40; ++i) {
        start->AddTail(newPage());
        expected.append(QStringLiteral("P%1").arg(made));
    }
    file.ReplacePageList(std::move(start));

    for (int round = 0; round < 600; ++round) {
        SCOPED_TRACE(round);
        const int count = static_cast<int>(expected.size());
        const int n = count > 0 ? static_cast<int>(random() % static_cast<unsigned>(count)) + 1 : 1;
        const int step = count > 0 ? static_cast<int>(random() % StepCount) : SetPastTheEnd;
        switch (step) {
        case Replace:
            ASSERT_TRUE(file.SetPage(newPage(), n));
            expected[n - 1] = QStringLiteral("P%1").arg(made);
            break;
        case Delete:
            ASSERT_TRUE(file.DeletePage(n));
            expected.removeAt(n - 1);
            break;
        case RemoveThroughSetPage:
            ASSERT_TRUE(file.SetPage(nullptr, n));
            expected.removeAt(n - 1);
            break;
        case SetPastTheEnd: {
            const int gap = static_cast<int>(random() % 3);
            ASSERT_TRUE(file.SetPage(newPage(), count + gap + 1));
            for (int i = 0; i < gap; ++i)
                expected.append(QStringLiteral("-"));
            expected.append(QStringLiteral("P%1").arg(made));
            break;
        }
        case Append:
            ASSERT_TRUE(file.SetPage(newPage(), count + 1));
            expected.append(QStringLiteral("P%1").arg(made));
            break;
        case ImportServerPages: {
            CObList server;
            server.AddTail(newPage());
            server.AddTail(nullptr);
            file.AddServerPages(&server, TRUE);
            expected.append(QStringLiteral("P%1").arg(made));
            expected.append(QStringLiteral("-"));
            FreePageList(&server);
            break;
        }
        }
        ASSERT_EQ(FirstLines(file), expected);
        if (step == Replace || step == SetPastTheEnd || step == Append) {
            EXPECT_EQ(file.GetCurrentPageNumber(), step == Replace ? n : static_cast<int>(expected.size()));
            EXPECT_EQ(CurrentFirstLine(file), QStringLiteral("P%1").arg(made));
        }
    }
}

} // namespace
