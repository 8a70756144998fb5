#include "designer/commands/CommandRouter.h"
#include "designer/shell/tests/FrameTestFixture.h"

#include <QAction>
#include <QLabel>

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
    EnsureFrameTestApplication();
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

TEST_F(FrameTest, RouteRunsPaneDocumentFrameApplicationInOrder)
{
    MakeFrame();
    MakeDocument(0);
    RecordingTarget pane, document;
    frame->SetPaneView(1, new QWidget, &pane);
    frame->SetDocumentCmdTarget(&document);
    const UINT id = ID_EDIT_COPY;
    application.Handle(id);
    document.Handle(id);
    pane.Handle(id);
    ASSERT_TRUE(frame->ExecuteCommand(id));
    EXPECT_EQ(pane.executed.size(), 1u);
    frame->SetPaneView(1, new QWidget, nullptr);
    ASSERT_TRUE(frame->ExecuteCommand(id));
    EXPECT_EQ(document.executed.size(), 1u);
    frame->SetDocumentCmdTarget(nullptr);
    ASSERT_TRUE(frame->ExecuteCommand(id));
    EXPECT_EQ(application.executed.size(), 1u);
}

TEST_F(FrameTest, DocumentPagePaneTextWinsOverFrameEmptyText)
{
    MakeFrame();
    frame->UpdateCommandUI();
    EXPECT_TRUE(frame->GetStatusPane(1)->text().isEmpty());
    MakeDocument(0);
    RecordingTarget document;
    document.HandleText(ID_INDICATOR_PAGE, QStringLiteral("Page 1 of 3"));
    frame->SetDocumentCmdTarget(&document);
    frame->UpdateCommandUI();
    EXPECT_EQ(frame->GetStatusPane(1)->text(), QStringLiteral("Page 1 of 3"));
}

TEST_F(FrameTest, RecentFileItemsFollowTheApplication)
{
    MakeFrame();
    application.HandleText(ID_FILE_MRU_FILE1, QStringLiteral("&1 /tmp/a.wvd"));
    for (UINT id = ID_FILE_MRU_FILE1 + 1; id <= ID_FILE_MRU_LAST; ++id)
        application.HandleText(id, QString());
    frame->RefreshRecentFiles();
    EXPECT_EQ(frame->GetAction(ID_FILE_MRU_FILE1)->text(), QStringLiteral("&1 /tmp/a.wvd"));
    EXPECT_TRUE(frame->GetAction(ID_FILE_MRU_FILE1)->isVisible());
    EXPECT_FALSE(frame->GetAction(ID_FILE_MRU_FILE1 + 1)->isVisible());
}
