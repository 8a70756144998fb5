// "Goto Page": the page typed is kept within 1 and the total.

#include "designer/document/ui/PageSelectDlg.h"

#include "tests/support/QtApplicationEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QLineEdit>

namespace {

TEST(PageSelectDlg, ClampsAsTheTextChanges)
{
    struct Case
    {
        const char* name;
        int total;
        const char* typed;
        const char* shown;
        int page;
    };
    const Case cases[] = {
        {"within", 12, "7", "7", 7},
        {"above the total", 12, "40", "12", 12},
        {"zero", 12, "0", "1", 1},
        {"leading zeros kept", 12, "007", "007", 7},
        {"too long for a number", 12, "99999999999", "12", 12},
        {"emptied", 12, "", "1", 1},
        {"no pages", 0, "5", "1", 1},
    };
    for (const Case& c : cases) {
        CPageSelectDlg dialog(3, c.total);
        dialog.PageEdit()->setText(QString::fromLatin1(c.typed));
        EXPECT_EQ(dialog.PageEdit()->text(), QString::fromLatin1(c.shown)) << c.name;
        EXPECT_EQ(dialog.GetPage(), c.page) << c.name;
    }
}

TEST(PageSelectDlg, ShowsTheCurrentPageAndTotal)
{
    CPageSelectDlg dialog(3, 12);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Goto Page"));
    EXPECT_EQ(dialog.PageEdit()->text(), QStringLiteral("3"));
    EXPECT_EQ(dialog.TotalText()->text(), QStringLiteral("12"));

    dialog.resize(220, 110);
    dialog.show();
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
    EXPECT_TRUE(dialog.grab().toImage().save(QStringLiteral(KWVD_SCREENSHOT_DIR "/PageSelectDlg.png")));
}

TEST(PageSelectDlg, RunnerStandsInForTheDialog)
{
    const PageSelectRunner previous = SetPageSelectRunner([](int current, int total) { return current + total; });
    EXPECT_EQ(RunPageSelectDialog(2, 10), 12);
    SetPageSelectRunner(previous);
}

} // namespace
