#include "designer/commands/CommandRouter.h"
#include "designer/commands/tests/RecordingTarget.h"
#include "tests/support/QtApplicationEnvironment.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

// A chain whose targets the test fills.
struct Chain
{
    RecordingTarget first;
    RecordingTarget second;
    CCommandRouter router{[this] { return std::vector<CCmdTarget*>{&first, nullptr, &second}; }};
};

} // namespace

TEST(CommandRouter, FirstTargetWithAHandlerRunsTheCommand)
{
    Chain chain;
    chain.first.Handle(100);
    chain.second.Handle(100);
    chain.second.Handle(200);
    EXPECT_TRUE(chain.router.Execute(100));
    EXPECT_TRUE(chain.router.Execute(200));
    EXPECT_EQ(chain.first.executed, std::vector<UINT>{100});
    EXPECT_EQ(chain.second.executed, std::vector<UINT>{200});
}

TEST(CommandRouter, CommandWithoutHandlerIsDisabledAndDoesNothing)
{
    Chain chain;
    EXPECT_FALSE(chain.router.Query(300).IsEnabled());
    EXPECT_FALSE(chain.router.Execute(300));
}

TEST(CommandRouter, DisabledCommandIsNotRun)
{
    Chain chain;
    chain.first.Handle(100, false);
    EXPECT_FALSE(chain.router.Query(100).IsEnabled());
    EXPECT_FALSE(chain.router.Execute(100));
    EXPECT_TRUE(chain.first.executed.empty());
}

TEST(CommandRouter, EarlierUpdateHandlerDecidesState)
{
    Chain chain;
    chain.first.HandleText(100, QStringLiteral("Page 2 of 5"));
    chain.second.HandleText(100, QString());
    const CCmdUI ui = chain.router.Query(100);
    EXPECT_TRUE(ui.IsEnabled());
    EXPECT_EQ(ui.GetText().value_or(QString()), QStringLiteral("Page 2 of 5"));
}

TEST(CommandRouter, UpdatePassSetsBoundActions)
{
    Chain chain;
    QAction enabled, disabled, recent;
    chain.first.Handle(100);
    chain.second.HandleText(57616, QString());
    chain.router.Bind(&enabled, 100);
    chain.router.Bind(&disabled, 300);
    chain.router.Bind(&recent, 57616);
    chain.router.UpdateAll();
    EXPECT_TRUE(enabled.isEnabled());
    EXPECT_FALSE(disabled.isEnabled());
    // A recent-file entry with no text is hidden.
    EXPECT_FALSE(recent.isVisible());
    enabled.trigger();
    EXPECT_EQ(chain.first.executed, std::vector<UINT>{100});
}

namespace {

constexpr UINT kRemovedId = 57612;
constexpr UINT kRemovedToo = 32791;

// A menu from its items in order: "-" a separator, "R" and "S" the items of
// the removed commands, any other word a plain item of that text.
void FillMenuFromShape(QMenu& menu, CCommandRouter& router, const QString& shape)
{
    for (const QString& word : shape.split(u' ', Qt::SkipEmptyParts)) {
        if (word == u"-") {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(word);
        if (word == u"R")
            router.Bind(action, kRemovedId);
        else if (word == u"S")
            router.Bind(action, kRemovedToo);
    }
}

QString ShapeOf(const QMenu& menu)
{
    QStringList words;
    for (const QAction* action : menu.actions())
        words << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return words.join(u' ');
}

} // namespace

TEST(CommandRouter, RemovedCommandLeavesNoDoubledSeparator)
{
    struct Case
    {
        const char* name;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"between separators: the one above goes", "A - R - B", "A - B"},
        {"first item over a separator: the one below goes", "R - A", "A"},
        {"last item under a separator: the one above goes", "A - R", "A"},
        {"between items: no separator goes", "A R B", "A B"},
        {"separator on one side only", "A - R B", "A - B"},
        {"alone in its menu", "R", ""},
        {"two such commands in one group", "New Export - R S - Setup - Exit", "New Export - Setup - Exit"},
    };
    for (const Case& c : cases) {
        Chain chain;
        chain.first.HandleRemoved(kRemovedId);
        chain.first.HandleRemoved(kRemovedToo);
        QMenu menu;
        FillMenuFromShape(menu, chain.router, QString::fromLatin1(c.before));
        chain.router.UpdateAll();
        EXPECT_EQ(ShapeOf(menu), QString::fromLatin1(c.after)) << c.name;
        // A later pass finds nothing more to take away.
        chain.router.UpdateAll();
        EXPECT_EQ(ShapeOf(menu), QString::fromLatin1(c.after)) << c.name;
    }
}

TEST(CommandRouter, RemovalReachesEveryMenuAndOnlyDisablesButtons)
{
    Chain chain;
    chain.second.HandleRemoved(kRemovedId);
    QAction action(QStringLiteral("R"));
    chain.router.Bind(&action, kRemovedId);
    QMenu file, popup;
    QToolBar bar;
    for (QMenu* menu : {&file, &popup}) {
        menu->addAction(QStringLiteral("A"));
        menu->addSeparator();
        menu->addAction(&action);
        menu->addSeparator();
        menu->addAction(QStringLiteral("B"));
    }
    bar.addAction(&action);
    chain.router.UpdateAll();
    EXPECT_EQ(ShapeOf(file), QStringLiteral("A - B"));
    EXPECT_EQ(ShapeOf(popup), QStringLiteral("A - B"));
    EXPECT_TRUE(bar.actions().contains(&action));
    EXPECT_FALSE(action.isEnabled());
}
