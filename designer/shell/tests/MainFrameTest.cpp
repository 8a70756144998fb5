#include "designer/shell/ShellResources.h"
#include "designer/shell/tests/FrameTestFixture.h"

#include <QAction>
#include <QDir>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

namespace {

std::vector<UINT> MenuIds(QMenu* menu)
{
    std::vector<UINT> ids;
    for (QAction* action : menu->actions()) {
        if (action->menu()) {
            const std::vector<UINT> sub = MenuIds(action->menu());
            ids.insert(ids.end(), sub.begin(), sub.end());
        } else if (!action->isSeparator())
            ids.push_back(CommandIdOf(action));
    }
    return ids;
}

std::vector<UINT> BarIds(QToolBar* bar)
{
    std::vector<UINT> ids;
    for (QAction* action : bar->actions())
        ids.push_back(action->isSeparator() ? 0 : CommandIdOf(action));
    return ids;
}

// Fakes of the windows later code provides.
struct FakeSheet : IElementPropertySheet
{
    QWidget window;
    std::vector<CFormElement*> elements;
    std::vector<CFormElement*> removed;
    std::vector<int> activated;
    int rebuilds = 0;
    BOOL shown = FALSE;
    QWidget* GetWidget() override { return &window; }
    void SetElement(CFormElement* element) override { elements.push_back(element); }
    void RebuildPages() override { ++rebuilds; }
    void RefreshPages() override {}
    void SetActivePageIndex(int index) override { activated.push_back(index); }
    void ShowSheet() override
    {
        shown = TRUE;
        RebuildPages();
        window.show();
    }
    void HideSheet() override
    {
        shown = FALSE;
        window.hide();
    }
    BOOL IsShown() const override { return shown; }
    void OnElementRemoved(CFormElement* element) override { removed.push_back(element); }
};

struct FakeFind : IFindReplaceDialog
{
    QWidget window;
    int* rebuilds;
    explicit FakeFind(int* counter) : rebuilds(counter) {}
    QWidget* GetWidget() override { return &window; }
    void SetDocument(CDesignerDoc*) override {}
    void RebuildElementList() override { ++*rebuilds; }
    void OnDocumentHint(LPARAM hint, CObject*) override { hints.push_back(hint); }
    std::vector<LPARAM> hints;
};

struct FakeExplorer : IExplorerPane
{
    QWidget widget;
    RecordingTarget target;
    std::vector<LPARAM> hints;
    QWidget* GetWidget() override { return &widget; }
    void SetDocument(CDesignerDoc*) override {}
    void OnDocumentHint(CObject*, LPARAM hint) override { hints.push_back(hint); }
    void OnChangeVisualStyle() override {}
    CCmdTarget* GetCmdTarget() override { return &target; }
};

} // namespace

TEST_F(FrameTest, MenusHoldEveryCommandInOrder)
{
    MakeFrame();
    struct Case
    {
        const char* menu;
        std::vector<UINT> ids;
    };
    std::vector<UINT> file = {33310, 57600, 32789, 57601, 57603, 57604, 32788, 32790, 57612, 32791,
                              57605, 57607, 57609, 57606, 32793, 32792, 33338, 33339, 33341, 32787};
    for (UINT id = 57616; id <= 57631; ++id)
        file.push_back(id);
    file.push_back(57665);
    const Case cases[] = {
        {"File", file},
        {"Edit",
         {57643, 57644, 57635, 57634, 57637, 57636, 32782, 32783, 32771, 32889, 32784, 32890, 32786, 32776, 32780,
          32777, 32779, 32778, 32781}},
        {"Insert",
         {32810, 32802, 32806, 32801, 32805, 32811, 32807, 32804, 32803, 32812, 32799, 32808, 32800, 32809, 32815,
          32813, 32816, 32814}},
        {"Zoom", {32883, 32879, 32882, 32868, 32869, 32870, 32871, 32872, 32873, 32874, 32875, 32876, 32877}},
        {"ApplicationLook", {33314, 33315, 33316, 33317, 33318, 33319, 33320, 33321, 33322}},
        {"Help", {57667, 32797, 57664}},
    };
    for (const Case& c : cases) {
        QMenu* menu = frame->GetMenu(QString::fromLatin1(c.menu));
        ASSERT_NE(menu, nullptr) << c.menu;
        EXPECT_EQ(MenuIds(menu), c.ids) << c.menu;
    }
    const QStringList titles = [&] {
        QStringList t;
        for (QAction* a : frame->menuBar()->actions())
            t << a->text();
        return t;
    }();
    EXPECT_EQ(titles, QStringList({"&File", "&Edit", "&View", "&Insert", "&Window", "&Help"}));
    EXPECT_EQ(frame->GetAction(ID_FILE_OPEN)->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(frame->GetAction(ID_FILE_OPEN)->text(), QStringLiteral("&Open..."));
    EXPECT_EQ(frame->GetAction(ID_VIEW_BOTH_PANES)->shortcuts().size(), 2);
}

TEST_F(FrameTest, ToolbarsAndStatusBarFollowTheirResources)
{
    MakeFrame();
    EXPECT_EQ(BarIds(frame->GetToolsBar()),
              (std::vector<UINT>{32847, 32848, 32843, 32846, 32842, 32845, 32849, 32844, 32851, 0, 32840, 32841, 0,
                                 32854, 32852, 32853, 0, 32850}));
    EXPECT_EQ(BarIds(frame->GetStandardBar()),
              (std::vector<UINT>{57600, 0,     57601, 57603, 32790, 0, 57635, 57634, 57637, 0, 32865, 32864,
                                 0,     57607, 0,     57670, 57669, 0, 32862, 32860, 32861, 0, 32857}));
    EXPECT_EQ(frame->GetToolsBar()->windowTitle(), QStringLiteral("Tools"));
    EXPECT_EQ(frame->GetStandardBar()->windowTitle(), QStringLiteral("Standard"));
    EXPECT_EQ(frame->GetAction(ID_TOOL_ERASER)->toolTip(), QStringLiteral("Eraser"));
    EXPECT_EQ(frame->GetStatusPane(0)->text(), QStringLiteral("Ready"));
    EXPECT_EQ(frame->GetStatusPane(4)->text(), QStringLiteral("SCRL"));
    EXPECT_EQ(frame->GetStatusPane(5), nullptr);
}

TEST_F(FrameTest, BarsContextMenuListsTheBarsThenCustomize)
{
    MakeFrame();
    std::unique_ptr<QMenu> menu(frame->createPopupMenu());
    ASSERT_NE(menu, nullptr);
    QStringList texts;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            texts << action->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("Tools")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Standard")));
    ASSERT_FALSE(texts.isEmpty());
    EXPECT_EQ(menu->actions().back(), frame->GetAction(ID_VIEW_CUSTOMIZE));
    EXPECT_EQ(texts.back(), QStringLiteral("Customize..."));
}

TEST_F(FrameTest, PaneCommandsSetColumnWidthsAndActivePane)
{
    MakeFrame();
    const auto [w0, w1] = frame->GetColumnWidths();
    const int total = w0 + w1;
    ASSERT_GT(total, 0);
    struct Case
    {
        UINT id;
        int width0;
        int active;
    };
    const Case cases[] = {
        {ID_VIEW_INPUT_PANE, total, 0}, {ID_VIEW_OUTPUT_PANE, 0, 1}, {ID_VIEW_BOTH_PANES, total / 2, 1}};
    for (const Case& c : cases) {
        ASSERT_TRUE(frame->ExecuteCommand(c.id)) << c.id;
        EXPECT_EQ(frame->GetColumnWidths().first, c.width0) << c.id;
        EXPECT_EQ(frame->GetColumnWidths().first + frame->GetColumnWidths().second, total) << c.id;
        EXPECT_EQ(frame->GetActivePaneColumn(), c.active) << c.id;
    }
}

TEST_F(FrameTest, XmlDocumentCollapsesOutputPaneAndDisablesPaneCommands)
{
    MakeFrame();
    MakeDocument(0);
    frame->SetColumnWidths(300, 500);
    const auto before = frame->GetColumnWidths();
    doc->SetDocType(0); // no change, no message
    DeliverPosted();
    EXPECT_EQ(frame->GetColumnWidths(), before);

    doc->SetDocType(1);
    DeliverPosted();
    EXPECT_EQ(frame->FrameDocType, 1);
    EXPECT_EQ(frame->GetColumnWidths().second, 0);
    EXPECT_EQ(frame->GetColumnWidths().first, before.first + before.second);
    for (UINT id : {ID_VIEW_INPUT_PANE, ID_VIEW_OUTPUT_PANE, ID_VIEW_BOTH_PANES})
        EXPECT_FALSE(Query(id).IsEnabled()) << id;

    // Back to a spooled-file design: the widths stay as they are.
    doc->SetDocType(0);
    DeliverPosted();
    EXPECT_EQ(frame->FrameDocType, 0);
    EXPECT_EQ(frame->GetColumnWidths().second, 0);
    EXPECT_TRUE(Query(ID_VIEW_BOTH_PANES).IsEnabled());
}

TEST_F(FrameTest, DocTypeMessageForAnotherDocumentIsIgnored)
{
    MakeFrame();
    MakeDocument(0);
    CDesignerDoc other;
    frame->OnSetDocType(nullptr, 1, &other);
    DeliverPosted();
    EXPECT_EQ(frame->FrameDocType, 0);
}

TEST_F(FrameTest, ResizeKeepsColumnRatio)
{
    struct Case
    {
        const char* name;
        int width0;
        int width1;
    };
    const Case cases[] = {{"quarter", 200, 600}, {"output collapsed", 800, 0}};
    for (const Case& c : cases) {
        MakeFrame();
        frame->SetColumnWidths(c.width0, c.width1);
        const auto before = frame->GetColumnWidths();
        const double ratio = double(before.first) / (before.first + before.second);
        frame->resize(1400, 700);
        const auto after = frame->GetColumnWidths();
        ASSERT_GT(after.first + after.second, before.first + before.second) << c.name;
        EXPECT_NEAR(double(after.first) / (after.first + after.second), ratio, 0.01) << c.name;
        if (c.width1 == 0) {
            EXPECT_EQ(after.second, 0) << c.name;
        }
        frame.reset();
    }
}

TEST_F(FrameTest, CommandsOfMissingWindowsAreDisabled)
{
    MakeFrame();
    MakeDocument(0);
    for (UINT id : {ID_VIEW_EXPLORER, ID_EDIT_PROPERTIES, ID_EXPLORER_VIEW_PROPERTIES, ID_EDIT_FIND})
        EXPECT_FALSE(Query(id).IsEnabled()) << id;
    EXPECT_FALSE(frame->GetExplorerDock()->isVisible());
    // The language menu waits for the languages.
    EXPECT_FALSE(Query(ID_VIEW_LANGUAGE).IsEnabled());
}

TEST_F(FrameTest, PropertySheetShowsTogglesAndFollowsSelectionHints)
{
    MakeFrame();
    auto sheetOwner = std::make_unique<FakeSheet>();
    FakeSheet* sheet = sheetOwner.get();
    frame->SetPropertySheet(std::move(sheetOwner));
    EXPECT_TRUE(Query(ID_EDIT_PROPERTIES).IsEnabled());
    ASSERT_TRUE(frame->ExecuteCommand(ID_EDIT_PROPERTIES));
    EXPECT_TRUE(sheet->window.isVisible());
    EXPECT_EQ(sheet->rebuilds, 1);
    // The element's own page comes forward.
    EXPECT_EQ(sheet->activated, std::vector<int>{1});
    EXPECT_EQ(Query(ID_EXPLORER_VIEW_PROPERTIES).GetCheck().value_or(-1), 1);
    ASSERT_TRUE(frame->ExecuteCommand(ID_EXPLORER_VIEW_PROPERTIES));
    EXPECT_FALSE(sheet->window.isVisible());
    EXPECT_EQ(Query(ID_EXPLORER_VIEW_PROPERTIES).GetCheck().value_or(-1), 0);

    // Selection hands its object over; undo and new/open clear it; others
    // leave the sheet alone.
    frame->OnDocumentChanged(DocumentHint::SelectionChanged, nullptr, nullptr);
    frame->OnDocumentChanged(DocumentHint::RestoreEnds, nullptr, nullptr);
    frame->OnDocumentChanged(DocumentHint::NewOrOpenDone, nullptr, nullptr);
    frame->OnDocumentChanged(DocumentHint::ElementChanged, nullptr, nullptr);
    EXPECT_EQ(sheet->elements.size(), 3u);
    // A removed element goes to the sheet, which drops it when it is its own.
    frame->OnDocumentChanged(DocumentHint::ElementRemoved, nullptr, nullptr);
    EXPECT_EQ(sheet->removed.size(), 1u);
}

TEST_F(FrameTest, MinimiseHidesShownSheetAndFindAndRestoreShowsThem)
{
    MakeFrame();
    MakeDocument(0);
    auto sheetOwner = std::make_unique<FakeSheet>();
    FakeSheet* sheet = sheetOwner.get();
    frame->SetPropertySheet(std::move(sheetOwner));
    int findRebuilds = 0;
    FakeFind* find = nullptr;
    frame->SetFindDialogFactory([&](QWidget*) {
        auto dialog = std::make_unique<FakeFind>(&findRebuilds);
        find = dialog.get();
        return dialog;
    });
    ASSERT_TRUE(frame->ExecuteCommand(ID_EDIT_FIND));
    ASSERT_NE(find, nullptr);
    EXPECT_TRUE(find->window.isVisible());
    frame->ShowPropertySheet();

    frame->setWindowState(Qt::WindowMinimized);
    EXPECT_FALSE(sheet->window.isVisible());
    EXPECT_FALSE(find->window.isVisible());
    frame->setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(sheet->window.isVisible());
    EXPECT_TRUE(find->window.isVisible());

    // A hidden sheet stays hidden.
    ASSERT_TRUE(frame->ExecuteCommand(ID_EXPLORER_VIEW_PROPERTIES));
    frame->setWindowState(Qt::WindowMinimized);
    frame->setWindowState(Qt::WindowNoState);
    EXPECT_FALSE(sheet->window.isVisible());

    // The find dialog hears every hint and decides itself what it means.
    find->hints.clear();
    frame->OnDocumentChanged(DocumentHint::ElementChanged, nullptr, nullptr);
    frame->OnDocumentChanged(DocumentHint::ElementRemoved, nullptr, nullptr);
    frame->OnDocumentChanged(DocumentHint::SelectionChanged, nullptr, nullptr);
    EXPECT_EQ(find->hints, (std::vector<LPARAM>{DocumentHint::ElementChanged, DocumentHint::ElementRemoved,
                                                DocumentHint::SelectionChanged}));
}

TEST_F(FrameTest, ExplorerGetsHintsAndFirstOfferWhileFocused)
{
    MakeFrame();
    MakeDocument(0);
    auto explorerOwner = std::make_unique<FakeExplorer>();
    FakeExplorer* explorer = explorerOwner.get();
    frame->SetExplorerPane(std::move(explorerOwner));
    EXPECT_TRUE(Query(ID_VIEW_EXPLORER).IsEnabled());
    EXPECT_EQ(Query(ID_VIEW_EXPLORER).GetCheck().value_or(-1), 1);

    doc->BroadcastHint(DocumentHint::ElementChanged, nullptr);
    EXPECT_EQ(explorer->hints, std::vector<LPARAM>{DocumentHint::ElementChanged});

    explorer->target.Handle(ID_EDIT_COPY);
    application.Handle(ID_EDIT_COPY);
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    explorer->widget.setFocusPolicy(Qt::StrongFocus);
    explorer->widget.setFocus();
    ASSERT_TRUE(frame->ExecuteCommand(ID_EDIT_COPY));
    EXPECT_EQ(explorer->target.executed.size(), 1u);
    frame->GetPaneView(1)->setFocusPolicy(Qt::StrongFocus);
    frame->GetPaneView(1)->setFocus();
    ASSERT_TRUE(frame->ExecuteCommand(ID_EDIT_COPY));
    EXPECT_EQ(application.executed.size(), 1u);

    ASSERT_TRUE(frame->ExecuteCommand(ID_VIEW_EXPLORER));
    EXPECT_FALSE(frame->GetExplorerDock()->isVisible());
}

TEST_F(FrameTest, FullScreenTogglesAndKeepsRatio)
{
    MakeFrame();
    frame->SetColumnWidths(250, 750);
    const auto before = frame->GetColumnWidths();
    const double ratio = double(before.first) / (before.first + before.second);
    ASSERT_TRUE(frame->ExecuteCommand(ID_VIEW_FULL_SCREEN));
    EXPECT_TRUE(frame->IsFullScreen());
    EXPECT_FALSE(frame->menuBar()->isVisible());
    EXPECT_EQ(Query(ID_VIEW_FULL_SCREEN).GetCheck().value_or(-1), 1);
    QTest::keyClick(frame.get(), Qt::Key_Escape);
    EXPECT_FALSE(frame->IsFullScreen());
    EXPECT_TRUE(frame->menuBar()->isVisible());
    const auto after = frame->GetColumnWidths();
    EXPECT_NEAR(double(after.first) / (after.first + after.second), ratio, 0.01);
}

TEST_F(FrameTest, ScreenshotOfMainWindow)
{
    MakeFrame();
    MakeDocument(0);
    frame->UpdateCommandUI();
    const QImage shot = frame->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.size(), frame->size() * frame->devicePixelRatio());
    // The input pane is white; the toolbars sit above it.
    const QPoint inside = frame->GetPaneView(0)->mapTo(frame.get(), QPoint(10, 10));
    EXPECT_EQ(shot.pixelColor(inside), QColor(Qt::white));
    QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR));
    EXPECT_TRUE(shot.save(QStringLiteral(KWVD_SCREENSHOT_DIR "/main-frame.png")));
}
