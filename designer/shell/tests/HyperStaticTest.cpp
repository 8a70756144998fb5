#include "designer/shell/HyperStatic.h"
#include "designer/shell/tests/AppTestEnvironment.h"

#include <gtest/gtest.h>

#include <QTest>

namespace {

TEST(HyperStatic, ColourFollowsTheState)
{
    const QColor face(240, 240, 240);
    constexpr DWORD def = CHyperStatic::DefaultFlags;
    struct Case
    {
        const char* name;
        DWORD flags;
        BOOL hovering, focused, visited;
        QColor expected;
    };
    const Case cases[] = {
        {"normal", def, FALSE, FALSE, FALSE, QColor(0, 0, 255)},
        {"visited", def, FALSE, FALSE, TRUE, QColor(0, 0, 0)},
        {"hover wins", def, TRUE, TRUE, TRUE, QColor(255, 0, 0)},
        {"focused", def, FALSE, TRUE, TRUE, QColor(0, 0, 160)},
        {"hover without its flag", CHyperStatic::Underline, TRUE, FALSE, FALSE, QColor(0, 0, 255)},
        {"no focus colour", def | CHyperStatic::NoFocusColour, FALSE, TRUE, TRUE, QColor(0, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CHyperStatic::LinkColour(c.flags, c.hovering, c.focused, c.visited, face), c.expected);
    }
    // A colour equal to the button face is shown inverted.
    EXPECT_EQ(CHyperStatic::LinkColour(def, FALSE, FALSE, FALSE, QColor(0, 0, 255)), QColor(255, 255, 0));
}

TEST(HyperStatic, OpenErrorTextsFollowTheTable)
{
    AppTestEnvironment env;
    struct Case
    {
        int result;
        const char* reason;
    };
    const Case cases[] = {
        {0, "The operating system is out\nof memory or resources."},
        {2, "The specified file was not found."},
        {26, "A sharing violation occurred. "},
        {31, "There is no application associated\nwith the given filename extension."},
        {32, "The specified dynamic-link library was not found."},
        {4, "Unknown Error (4) occurred."},
        {33, "Unknown Error (33) occurred."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        EXPECT_EQ(CHyperStatic::OpenErrorText(c.result),
                  QStringLiteral("Can't open link:\n\n") + QString::fromUtf8(c.reason));
    }
}

TEST(HyperStatic, ClickOpensTheLinkAndMarksItVisited)
{
    AppTestEnvironment env;
    QWidget parent;
    CHyperStatic link(&parent);
    link.SetText(QStringLiteral("Download"));
    link.SetLink(QStringLiteral("https://www.example.com/setup.exe"));
    parent.show();
    parent.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&parent));
    EXPECT_TRUE(link.font().underline());
    EXPECT_EQ(link.toolTip(), QStringLiteral("https://www.example.com/setup.exe"));

    QTest::mouseClick(&link, Qt::LeftButton, {}, link.rect().center());
    ASSERT_EQ(env.openedUrls.size(), 1u);
    EXPECT_EQ(env.openedUrls[0], QUrl(QStringLiteral("https://www.example.com/setup.exe")));
    EXPECT_TRUE(link.IsVisited());
    EXPECT_TRUE(link.IsFocused());
    // The pointer is still over it: hovering wins over focus.
    EXPECT_EQ(link.palette().color(QPalette::WindowText), CHyperStatic::kHover);
    link.clearFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(link.CurrentColour(), CHyperStatic::kVisited);

    QTest::keyClick(&link, Qt::Key_Space);
    EXPECT_EQ(env.openedUrls.size(), 2u);
}

TEST(HyperStatic, LinkTheDesktopCannotOpenIsReported)
{
    AppTestEnvironment env;
    env.urlOpenerWorks = false;
    CHyperStatic link;
    link.SetLink(QStringLiteral("https://www.example.com/"));
    EXPECT_FALSE(link.OpenLink());
    EXPECT_FALSE(link.IsVisited());
    ASSERT_EQ(env.prompts->Recorded().size(), 1u);
    const RecordedPrompt& box = env.prompts->Recorded()[0];
    EXPECT_EQ(box.text, CHyperStatic::OpenErrorText(31));
    EXPECT_EQ(box.Icon(), MB_ICONEXCLAMATION);
    EXPECT_EQ(env.prompts->Beeps(), std::vector<UINT>{MB_ICONEXCLAMATION});
}

TEST(HyperStatic, EmptyLinkTakesTheTextAndEmptyTextTheLink)
{
    AppTestEnvironment env;
    CHyperStatic fromText;
    fromText.SetText(QStringLiteral("https://a.example/"));
    EXPECT_EQ(fromText.GetLink(), QStringLiteral("https://a.example/"));
    CHyperStatic fromLink;
    fromLink.SetLink(QStringLiteral("https://b.example/"));
    EXPECT_EQ(fromLink.text(), QStringLiteral("https://b.example/"));
}

} // namespace
