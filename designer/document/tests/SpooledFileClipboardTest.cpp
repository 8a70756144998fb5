// The current page to and from the clipboard.

#include "designer/document/SpooledFile.h"
#include "designer/document/SpooledFileStrings.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

namespace {

CStringArray* MakePage(std::initializer_list<QString> lines)
{
    auto* page = new CStringArray;
    for (const QString& line : lines)
        page->Add(line);
    return page;
}

QStringList LinesOf(const CStringArray* page)
{
    QStringList lines;
    if (page != nullptr) {
        for (const QString& line : *page)
            lines.append(line);
    }
    return lines;
}

class SpooledFileClipboardTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        if (QGuiApplication::instance() == nullptr) {
            static int argc = 1;
            static char name[] = "kwvd_document_tests";
            static char* argv[] = {name, nullptr};
            new QGuiApplication(argc, argv); // lives for the whole run, as a program's would
        }
    }

    void SetUp() override
    {
        RegisterSpooledFileStrings();
        Reset();
    }

    // Fresh prompts and the two pages "first" and "second", none current.
    void Reset()
    {
        prompts.Renew();
        PageList pages(new CObList);
        pages->AddTail(MakePage({QString(), QStringLiteral("first")}));
        pages->AddTail(MakePage({QString(), QStringLiteral("second")}));
        file.ReplacePageList(std::move(pages));
    }

    ScopedPromptAnswers prompts;
    CSpooledFile file;
};

TEST_F(SpooledFileClipboardTest, CopyGivesPlainTextWithCrLf)
{
    file.AddServerPages(nullptr, FALSE);
    PageList pages(new CObList);
    pages->AddTail(MakePage({QStringLiteral("line 0 stays behind"), QStringLiteral("AB"), QString(),
                             QStringLiteral("C\x0Exy\x0F"
                                            "D")}));
    file.ReplacePageList(std::move(pages));
    ASSERT_TRUE(file.SetCurrentPage(1));

    file.CopyPageToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("AB\r\n\r\nCxD\r\n"));
}

TEST_F(SpooledFileClipboardTest, CopyWithoutACurrentPageLeavesTheClipboard)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    file.CopyPageToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
}

TEST_F(SpooledFileClipboardTest, Paste)
{
    struct Case
    {
        const char* name;
        QString text;
        int current;               // 0: none
        std::optional<int> choice; // nothing: the question is closed
        BOOL result;
        int changedPage; // 0: nothing changes
        QStringList lines;
        int pageCount;
    };
    const QString e;
    const QStringList abc{e, "a", e, "b"};
    const Case cases[] = {
        {"LF text keeps its empty lines", u"a\n\nb  \n"_qs, 2, 541, TRUE, 2, abc, 2},
        {"CR LF text", u"a\r\n\r\nb\r\n"_qs, 2, 541, TRUE, 2, abc, 2},
        {"last line without an ending", u"a\n\nb"_qs, 1, 541, TRUE, 1, abc, 2},
        {"added after the last page", u"a\n\nb"_qs, 1, 542, TRUE, 3, abc, 3},
        {"page 1 when none is current", u"a\n\nb"_qs, 0, 541, TRUE, 1, abc, 2},
        {"text without any line", QString(), 2, 541, TRUE, 2, {e}, 2},
        {"closing the question changes nothing", u"a"_qs, 2, std::nullopt, FALSE, 0, {}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        if (c.current > 0) {
            ASSERT_TRUE(file.SetCurrentPage(c.current));
        }
        QGuiApplication::clipboard()->setText(c.text);
        if (c.choice)
            prompts->AnswerCommandLink(*c.choice);
        else
            prompts->AnswerCommandLinkClosed();

        EXPECT_EQ(file.PastePageFromClipboard(), c.result);
        EXPECT_EQ(file.GetPageCount(), c.pageCount);
        if (c.changedPage > 0) {
            EXPECT_EQ(LinesOf(file.GetPage(c.changedPage)), c.lines);
            EXPECT_EQ(file.GetCurrentPageNumber(), c.changedPage);
        } else {
            EXPECT_EQ(LinesOf(file.GetPage(1)), (QStringList{e, "first"}));
            EXPECT_EQ(LinesOf(file.GetPage(2)), (QStringList{e, "second"}));
            EXPECT_EQ(file.GetCurrentPageNumber(), c.current);
        }
    }
}

TEST_F(SpooledFileClipboardTest, PasteQuestion)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("x"));
    prompts->AnswerCommandLink(541);
    ASSERT_TRUE(file.PastePageFromClipboard());
    ASSERT_EQ(prompts->Recorded().size(), 1u);
    const CommandLinkRequest& request = prompts->Recorded().front().commandLink;
    EXPECT_EQ(request.windowTitle, QStringLiteral("Replace Spooled File Text"));
    EXPECT_EQ(request.mainInstruction,
              QStringLiteral("Would you like to replace the text of the current Spooled File page ?"));
    ASSERT_EQ(request.choices.size(), 2u);
    EXPECT_EQ(request.choices[0].id, 541);
    EXPECT_EQ(request.choices[0].text,
              QStringLiteral("&Replace current page.\nReplace the text of the current Spooled File page with the "
                             "contents of the clipboard."));
    EXPECT_EQ(request.choices[1].id, 542);
    EXPECT_EQ(request.choices[1].text,
              QStringLiteral("&Add a new page\nAdd a new page at the end of the Spooled File, containing the "
                             "contents of the clipboard."));
}

TEST_F(SpooledFileClipboardTest, CopiedPagePastesBackAlike)
{
    ASSERT_TRUE(file.SetCurrentPage(2));
    file.CopyPageToClipboard();
    prompts->AnswerCommandLink(542);
    ASSERT_TRUE(file.PastePageFromClipboard());
    EXPECT_EQ(LinesOf(file.GetPage(3)), LinesOf(file.GetPage(2)));
}

} // namespace
