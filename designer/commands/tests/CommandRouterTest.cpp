#include "designer/commands/CommandRouter.h"
#include "designer/commands/tests/RecordingTarget.h"
#include "tests/support/QtApplicationEnvironment.h"

#include <QAction>

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
