// The frame's Window menu (the splitter moved from the keyboard, the other
// window commands off) and context help: the mode Shift+F1 starts, what a
// click in it opens, and a help topic for every command the frame shows.

#include "designer/commands/CommandIds.h"
#include "designer/commands/CommandRouter.h"
#include "designer/commands/MenuResources.h"
#include "designer/shell/MainFrame.h"
#include "designer/shell/ShellResources.h"
#include "designer/shell/WVDDesignerApp.h"
#include "designer/shell/tests/AppTestEnvironment.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <functional>
#include <set>

namespace {

// The pages the program finds beside itself, taken from the source tree.
const QString kHelpFile = QStringLiteral(KWVD_HELP_SOURCE_DIR "/index.html");

constexpr DWORD Topic(UINT command)
{
    return 0x10000u + command;
}

class WindowAndContextHelp : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CWVDDesignerApp::Environment quiet;
        // With the server library found, start-up has nothing to report.
        quiet.serverLibraryFolders = QStringList{QStringLiteral(KWVD_MERROW2_STUB_DIR)};
        quiet.helpFile = kHelpFile;
        app = std::make_unique<CWVDDesignerApp>(quiet);
        ASSERT_TRUE(app->InitInstance({QStringLiteral("/NoSplash")}));
        frame = app->GetMainFrame();
        ASSERT_NE(frame, nullptr);
        frame->resize(1000, 700);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
        frame->activateWindow();
        env.openedUrls.clear();
        env.prompts->ClearRecorded();
    }

    void TearDown() override
    {
        if (app)
            app->ExitInstance();
        app.reset();
    }

    CCmdUI Query(UINT id) const { return frame->Router().Query(id); }

    // The fragment of the only page opened since the last call.
    QString OpenedTopic()
    {
        EXPECT_EQ(env.openedUrls.size(), 1u);
        const QString fragment = env.openedUrls.empty() ? QString() : env.openedUrls.back().fragment();
        env.openedUrls.clear();
        return fragment;
    }

    QWidget* ButtonOf(QToolBar* bar, UINT id) const { return bar->widgetForAction(frame->GetAction(id)); }

    AppTestEnvironment env;
    std::unique_ptr<CWVDDesignerApp> app;
    CMainFrame* frame = nullptr;
};

TEST_F(WindowAndContextHelp, OnlySplitIsOfferedInTheWindowMenu)
{
    EXPECT_TRUE(Query(ID_WINDOW_SPLIT).IsEnabled());
    for (UINT id : {ID_WINDOW_NEW, ID_WINDOW_ARRANGE, ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ})
        EXPECT_FALSE(Query(id).IsEnabled()) << id;
    // One pane shown: nothing to divide.
    frame->FrameDocType = 1;
    EXPECT_FALSE(Query(ID_WINDOW_SPLIT).IsEnabled());
}

TEST_F(WindowAndContextHelp, SplitMovesTheDividerFromTheKeyboard)
{
    struct Case
    {
        const char* name;
        std::vector<std::pair<int, Qt::KeyboardModifiers>> keys;
        int finish; // Return or Escape
        int moved;  // of the left column, when kept
    };
    const Case cases[] = {
        {"two steps right kept", {{Qt::Key_Right, {}}, {Qt::Key_Right, {}}}, Qt::Key_Return, 32},
        {"left and a pixel with Ctrl kept",
         {{Qt::Key_Left, {}}, {Qt::Key_Left, Qt::ControlModifier}},
         Qt::Key_Return,
         -17},
        {"moved then restored", {{Qt::Key_Right, {}}, {Qt::Key_Right, {}}}, Qt::Key_Escape, 0},
        {"up and down leave it", {{Qt::Key_Up, {}}, {Qt::Key_Down, {}}}, Qt::Key_Return, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frame->SetColumnWidths(400, 400);
        const auto [before0, before1] = frame->GetColumnWidths();
        ASSERT_TRUE(frame->ExecuteCommand(ID_WINDOW_SPLIT));
        ASSERT_TRUE(frame->IsMovingSplitter());
        for (const auto& [key, modifiers] : c.keys)
            QTest::keyClick(frame->GetPaneView(1), Qt::Key(key), modifiers);
        // The menus' keys are held back meanwhile: Ctrl+N opens no document.
        QTest::keyClick(frame->GetPaneView(1), Qt::Key_N, Qt::ControlModifier);
        QTest::keyClick(frame->GetPaneView(1), Qt::Key(c.finish));
        EXPECT_FALSE(frame->IsMovingSplitter());
        const auto [after0, after1] = frame->GetColumnWidths();
        EXPECT_EQ(after0, before0 + c.moved);
        EXPECT_EQ(after0 + after1, before0 + before1);
    }
    EXPECT_TRUE(env.MessageTexts().isEmpty());
}

TEST_F(WindowAndContextHelp, TheDividerStopsAtTheWindowsEdge)
{
    frame->SetColumnWidths(0, 800);
    const auto [before0, before1] = frame->GetColumnWidths();
    ASSERT_EQ(before0, 0);
    ASSERT_TRUE(frame->ExecuteCommand(ID_WINDOW_SPLIT));
    QTest::keyClick(frame->GetPaneView(1), Qt::Key_Left);
    QTest::keyClick(frame->GetPaneView(1), Qt::Key_Return);
    const auto [left, right] = frame->GetColumnWidths();
    EXPECT_EQ(left, 0);
    EXPECT_EQ(right, before1);
}

TEST_F(WindowAndContextHelp, AClickInContextHelpModeOpensThatItemsTopic)
{
    QWidget* saveButton = ButtonOf(frame->GetStandardBar(), ID_FILE_SAVE);
    QWidget* loopButton = ButtonOf(frame->GetToolsBar(), ID_TOOL_LOOP);
    ASSERT_NE(saveButton, nullptr);
    ASSERT_NE(loopButton, nullptr);
    struct Case
    {
        const char* name;
        QWidget* target;
        DWORD topic;
    };
    const Case cases[] = {
        {"a Standard button", saveButton, Topic(ID_FILE_SAVE)},
        {"a Tools button", loopButton, Topic(ID_TOOL_LOOP)},
        {"the input pane", frame->GetPaneView(0), Topic(ID_VIEW_INPUT_PANE)},
        {"the output pane", frame->GetPaneView(1), Topic(ID_VIEW_OUTPUT_PANE)},
        {"the explorer", frame->GetExplorerPane()->GetWidget(), Topic(ID_VIEW_EXPLORER)},
        {"the status bar", frame->GetStatusPane(0), CMainFrame::kMainWindowHelpContext},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(c.target, nullptr);
        ASSERT_TRUE(frame->ExecuteCommand(ID_CONTEXT_HELP));
        ASSERT_TRUE(frame->IsInContextHelpMode());
        EXPECT_EQ(Query(ID_CONTEXT_HELP).GetCheck().value_or(-1), 1);
        const int toolBefore = frame->CurrentTool;
        QTest::mouseClick(c.target, Qt::LeftButton, {}, c.target->rect().center());
        EXPECT_FALSE(frame->IsInContextHelpMode());
        EXPECT_EQ(OpenedTopic(), kwvd::HelpTopicAnchor(c.topic));
        // The click asked for help only: the button did not act.
        EXPECT_EQ(frame->CurrentTool, toolBefore);
    }
    EXPECT_FALSE(frame->GetDocument()->IsModified());
    EXPECT_TRUE(env.MessageTexts().isEmpty());
}

TEST_F(WindowAndContextHelp, EveryRecentFileEntryOpensTheListsTopic)
{
    for (UINT id : {ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE1 + 4, ID_FILE_MRU_LAST}) {
        QToolButton button;
        button.setDefaultAction(frame->GetAction(id));
        ASSERT_NE(button.defaultAction(), nullptr) << id;
        EXPECT_EQ(frame->HelpContextAt(&button, QPoint()), Topic(ID_FILE_MRU_FILE1)) << id;
    }
}

TEST_F(WindowAndContextHelp, AMenuItemInContextHelpModeOpensItsTopicWithoutRunning)
{
    QMenu* window = frame->GetMenu(QStringLiteral("Window"));
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(frame->ExecuteCommand(ID_CONTEXT_HELP));
    window->popup(frame->mapToGlobal(QPoint(50, 50)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QAction* split = frame->GetAction(ID_WINDOW_SPLIT);
    const QRect item = window->actionGeometry(split);
    ASSERT_TRUE(item.isValid());
    QTest::mouseClick(window, Qt::LeftButton, {}, item.center());
    EXPECT_FALSE(frame->IsInContextHelpMode());
    EXPECT_FALSE(frame->IsMovingSplitter());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(OpenedTopic(), kwvd::HelpTopicAnchor(Topic(ID_WINDOW_SPLIT)));
}

TEST_F(WindowAndContextHelp, EscapeOrTheRightButtonLeaveWithoutHelp)
{
    ASSERT_TRUE(frame->ExecuteCommand(ID_CONTEXT_HELP));
    QTest::keyClick(frame->GetPaneView(1), Qt::Key_Escape);
    EXPECT_FALSE(frame->IsInContextHelpMode());

    ASSERT_TRUE(frame->ExecuteCommand(ID_CONTEXT_HELP));
    QTest::mouseClick(frame->GetPaneView(1), Qt::RightButton);
    EXPECT_FALSE(frame->IsInContextHelpMode());
    EXPECT_TRUE(env.openedUrls.empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(WindowAndContextHelp, ShiftF1AndItsButtonStartTheMode)
{
    QTest::keyClick(frame, Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_TRUE(frame->IsInContextHelpMode());
    QTest::keyClick(frame, Qt::Key_Escape);
    QWidget* button = ButtonOf(frame->GetStandardBar(), ID_CONTEXT_HELP);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(frame->IsInContextHelpMode());
    QTest::keyClick(frame, Qt::Key_Escape);
    EXPECT_FALSE(frame->IsInContextHelpMode());
}

TEST_F(WindowAndContextHelp, EveryCommandOfTheMenusAndToolbarsHasAHelpTopic)
{
    QFile file(kHelpFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString help = QString::fromUtf8(file.readAll());
    std::set<UINT> commands;
    std::function<void(const std::vector<MenuNode>&)> collect = [&](const std::vector<MenuNode>& nodes) {
        for (const MenuNode& node : nodes) {
            if (node.kind == MenuNode::Kind::Item)
                commands.insert(node.id);
            collect(node.children);
        }
    };
    collect(LoadMenuResource(IDR_MAINFRAME));
    for (UINT bar : {IDR_MAINFRAME, IDR_TOOLS})
        for (UINT id : LoadToolBarResource(bar))
            if (id != 0)
                commands.insert(id);
    commands.insert(ID_EDIT_OPEN_LOCAL_SPOOLED_FILE);
    ASSERT_GT(commands.size(), 100u);
    for (UINT id : commands) {
        // The recent-file entries share the list's topic.
        if (id > ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_LAST)
            continue;
        EXPECT_TRUE(help.contains(QStringLiteral("id=\"%1\"").arg(kwvd::HelpTopicAnchor(Topic(id))))) << id;
    }
    EXPECT_TRUE(
        help.contains(QStringLiteral("id=\"%1\"").arg(kwvd::HelpTopicAnchor(CMainFrame::kMainWindowHelpContext))));
}

} // namespace
