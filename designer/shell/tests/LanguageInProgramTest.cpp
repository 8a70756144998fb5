// Switching the interface language in the program: a pseudo-translation
// bundle in a program folder of the test's own marks every text the test
// looks at ("«File»"), moves Find/Replace from Ctrl+F to Ctrl+B, and the
// frame takes it at once from the "&Language" submenu; a restart comes up
// in the stored language and the program's own language puts the built-in
// texts back. A picture of the translated main window goes to the build
// folder's screenshots.

#include "designer/commands/CommandIds.h"
#include "designer/commands/CommandRouter.h"
#include "designer/shell/LanguageSupport.h"
#include "designer/shell/LayoutSlots.h"
#include "designer/shell/MainFrame.h"
#include "designer/shell/OptionsSheet.h"
#include "designer/shell/ShellResources.h"
#include "designer/shell/WVDDesignerApp.h"
#include "designer/shell/tests/AppTestEnvironment.h"
#include "designer/views/DesignView.h"
#include "designer/views/FrameInterfaces.h"
#include "platform/registry/RegistryStore.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QTabWidget>
#include <QTest>

#include <functional>
#include <set>

namespace {

constexpr WORD kGerman = 0x0407;
const QKeySequence kCtrlF(QStringLiteral("Ctrl+F"));
const QKeySequence kCtrlB(QStringLiteral("Ctrl+B"));

QString Mark(const QString& text)
{
    return QStringLiteral("\u00AB%1\u00BB").arg(text);
}

bool IsMarked(const QString& text)
{
    return text.startsWith(u'\u00AB');
}

// The bundle's own escapes; the rest of a text stands as it is.
QByteArray Escape(const QString& text)
{
    QString out = text;
    out.replace(u'\\', QStringLiteral("\\\\"));
    out.replace(u'\n', QStringLiteral("\\n"));
    out.replace(u'\t', QStringLiteral("\\t"));
    return out.toUtf8();
}

// A marked copy of a built-in text: each part between the line feed of a
// command's tip and the tab before a menu shortcut is marked on its own.
QString PseudoText(const QString& builtIn)
{
    QStringList lines = builtIn.split(u'\n');
    for (QString& line : lines) {
        QStringList parts = line.split(u'\t');
        if (!parts.first().isEmpty())
            parts.first() = Mark(parts.first());
        line = parts.join(u'\t');
    }
    return lines.join(u'\n');
}

void CollectMenuTexts(const std::vector<MenuNode>& nodes, std::set<UINT>& ids)
{
    for (const MenuNode& node : nodes) {
        if (node.textId != 0)
            ids.insert(node.textId);
        CollectMenuTexts(node.children, ids);
    }
}

// The pseudo-translation of the texts the frame, its menus and the windows
// the test opens show, written as the format says.
QByteArray PseudoBundle()
{
    std::set<UINT> ids = {57345, COptionsSheet::IDS_OPTIONS, DialogTextId(131, 0)};
    for (UINT page : {132u, 133u, 134u, 135u})
        ids.insert(DialogTextId(page, 0));
    for (UINT menu : {IDR_MAINFRAME, IDR_VIEW_POPUP, IDR_EXPLORER_POPUP})
        CollectMenuTexts(LoadMenuResource(menu), ids);
    for (UINT bar : {IDR_MAINFRAME, IDR_TOOLS})
        for (UINT command : LoadToolBarResource(bar))
            if (command != 0)
                ids.insert(command);

    QByteArray text = "KWVD Language 1 0x0407\n# pseudo-translation: every text marked\n[Texts]\n";
    for (UINT id : ids) {
        const std::optional<QString> builtIn = StringTable::Find(id);
        if (builtIn && !builtIn->isEmpty())
            text += QByteArray::number(id) + '=' + Escape(PseudoText(*builtIn)) + '\n';
    }
    text += "[Accelerators]\nCtrl+B=57636\n";
    return text;
}

std::optional<std::uint32_t> StoredLanguageId()
{
    kwvd::RegistryStore& store = kwvd::RegistryStore::Instance();
    const auto key = store.OpenKey(HKEY_CURRENT_USER, DesignerKeyPath());
    return key ? store.ReadNumber(*key, u"LanguageId") : std::nullopt;
}

class LanguageInProgram : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(ProgramFolder()));
        RegisterShellResources();
        RegisterOptionsStrings();
        Start();
        QFile bundle(ProgramFolder() + QStringLiteral("/KWVDDesignerDEU.lang"));
        ASSERT_TRUE(bundle.open(QIODevice::WriteOnly));
        bundle.write(PseudoBundle());
    }

    void TearDown() override { Stop(); }

    QString ProgramFolder() const { return env.folder.filePath(QStringLiteral("bin")); }

    void Start()
    {
        CWVDDesignerApp::Environment quiet;
        quiet.serverLibraryFolders = QStringList{env.folder.path()};
        quiet.programPath = ProgramFolder() + QStringLiteral("/KWVDDesigner");
        // Only the stored choice counts: the machine running the test has
        // its own locale.
        quiet.language.variable = [](const char*) { return QString(); };
        quiet.language.machineLocaleFiles = {env.folder.filePath(QStringLiteral("no-locale"))};
        app = std::make_unique<CWVDDesignerApp>(quiet);
        ASSERT_TRUE(app->InitInstance({QStringLiteral("/NoSplash")}));
        frame = app->GetMainFrame();
        ASSERT_NE(frame, nullptr);
        frame->resize(1000, 640);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
    }

    void Stop()
    {
        if (app)
            app->ExitInstance();
        app.reset();
        frame = nullptr;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The "&Language" submenu as it opens.
    QList<QAction*> OpenLanguageMenu()
    {
        frame->UpdateCommandUI();
        QAction* item = frame->GetAction(ID_VIEW_LANGUAGE);
        EXPECT_TRUE(item && item->isEnabled());
        QMenu* menu = frame->GetLanguageMenu();
        EXPECT_TRUE(menu && item && item->menu() == menu);
        if (!menu)
            return {};
        menu->popup(frame->mapToGlobal(QPoint(40, 40)));
        const QList<QAction*> items = menu->actions();
        menu->hide();
        return items;
    }

    void Choose(int index)
    {
        const QList<QAction*> items = OpenLanguageMenu();
        ASSERT_GT(items.size(), index);
        items[index]->trigger();
    }

    std::vector<QString> MenuBarTexts() const
    {
        std::vector<QString> texts;
        for (QAction* top : frame->menuBar()->actions())
            texts.push_back(top->text());
        return texts;
    }

    std::vector<QString> PaneContextMenuTexts() const
    {
        auto* pane = dynamic_cast<CDesignView*>(frame->GetPaneView(1));
        EXPECT_NE(pane, nullptr);
        if (!pane)
            return {};
        std::unique_ptr<QMenu> menu(pane->BuildContextMenu());
        std::vector<QString> texts;
        for (QAction* item : menu->actions())
            if (!item->isSeparator())
                texts.push_back(item->text());
        return texts;
    }

    QString StatusText() const { return frame->GetStatusPane(0) ? frame->GetStatusPane(0)->text() : QString(); }

    QString SheetTabText() const
    {
        IElementPropertySheet* sheet = frame->ElementPropertySheet();
        auto* tabs = sheet ? sheet->GetWidget()->findChild<QTabWidget*>() : nullptr;
        return tabs && tabs->count() > 0 ? tabs->tabText(0) : QString();
    }

    // Whether the key, pressed in the active main window, opens Find/Replace.
    bool KeyOpensFind(const QKeySequence& key)
    {
        if (IFindReplaceDialog* find = frame->FindDialog())
            find->GetWidget()->hide();
        frame->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(frame));
        QTest::keySequence(frame, key);
        IFindReplaceDialog* find = frame->FindDialog();
        return find && find->GetWidget()->isVisible();
    }

    AppTestEnvironment env;
    std::unique_ptr<CWVDDesignerApp> app;
    CMainFrame* frame = nullptr;
};

TEST_F(LanguageInProgram, SwitchingTranslatesTheFrameAtOnce)
{
    // Before: the built-in texts, both languages listed, the program's checked.
    const QList<QAction*> items = OpenLanguageMenu();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text(), LanguageSupport::GetLanguageName(0x0809));
    EXPECT_EQ(items[1]->text(), QStringLiteral("Deutsch"));
    EXPECT_TRUE(items[0]->isChecked());
    EXPECT_FALSE(items[1]->isChecked());
    EXPECT_EQ(MenuBarTexts().front(), QStringLiteral("&File"));
    EXPECT_TRUE(KeyOpensFind(kCtrlF));

    frame->ShowPropertySheet();
    ASSERT_TRUE(frame->IsPropertySheetShown());
    EXPECT_EQ(SheetTabText(), QStringLiteral("General"));
    ASSERT_NE(frame->FindDialog(), nullptr);
    const QPointer<QWidget> oldFind = frame->FindDialog()->GetWidget();
    ASSERT_TRUE(oldFind->isVisible());

    Choose(1);

    EXPECT_EQ(StoredLanguageId(), kGerman);
    for (const QString& text : MenuBarTexts())
        EXPECT_TRUE(IsMarked(text)) << text.toStdString();
    EXPECT_EQ(MenuBarTexts().front(), QStringLiteral("\u00AB&File\u00BB"));
    const std::vector<QString> context = PaneContextMenuTexts();
    EXPECT_FALSE(context.empty());
    for (const QString& text : context)
        EXPECT_TRUE(IsMarked(text)) << text.toStdString();
    EXPECT_EQ(StatusText(), QStringLiteral("\u00ABReady\u00BB"));
    EXPECT_TRUE(IsMarked(frame->GetAction(ID_EDIT_FIND)->text()));
    {
        COptionsSheet options(frame);
        EXPECT_EQ(options.windowTitle(), QStringLiteral("\u00ABOptions\u00BB"));
    }

    // The sheet was shown again with pages of the new language; the find
    // dialog was made again for the same document and shown.
    EXPECT_TRUE(frame->IsPropertySheetShown());
    EXPECT_EQ(SheetTabText(), QStringLiteral("\u00ABGeneral\u00BB"));
    EXPECT_TRUE(oldFind.isNull());
    ASSERT_NE(frame->FindDialog(), nullptr);
    EXPECT_TRUE(frame->FindDialog()->GetWidget()->isVisible());

    // The bundle moved Find/Replace to Ctrl+B.
    EXPECT_EQ(frame->GetAction(ID_EDIT_FIND)->shortcuts(), QList<QKeySequence>{kCtrlB});
    EXPECT_FALSE(KeyOpensFind(kCtrlF));
    EXPECT_TRUE(KeyOpensFind(kCtrlB));
    // Keys the bundle left alone stay.
    EXPECT_EQ(frame->GetAction(ID_FILE_OPEN)->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));

    // The menu now checks German.
    const QList<QAction*> after = OpenLanguageMenu();
    ASSERT_EQ(after.size(), 2);
    EXPECT_FALSE(after[0]->isChecked());
    EXPECT_TRUE(after[1]->isChecked());
    EXPECT_TRUE(IsMarked(frame->GetAction(ID_VIEW_LANGUAGE)->text()));

    // A picture of the translated window, its View menu open beside it.
    frame->FindDialog()->GetWidget()->hide();
    frame->ElementPropertySheet()->HideSheet();
    QApplication::processEvents();
    QImage shot = frame->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    if (QMenu* view = frame->menuBar()->findChild<QMenu*>(QStringLiteral("View"))) {
        view->popup(frame->mapToGlobal(QPoint(0, 0)));
        const QImage menuShot = view->grab().toImage();
        view->hide();
        const QRect viewTitle = frame->menuBar()->actionGeometry(view->menuAction());
        const QPoint at(viewTitle.left(), frame->menuBar()->geometry().bottom() + 1);
        QPainter painter(&shot);
        painter.drawImage(at, menuShot);
        painter.setPen(Qt::black);
        painter.drawRect(QRect(at, menuShot.size()).adjusted(-1, -1, 0, 0));
    }
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
    EXPECT_TRUE(shot.save(QStringLiteral(KWVD_SCREENSHOT_DIR "/language-pseudo-main-window.png")));
}

TEST_F(LanguageInProgram, RestartComesUpTranslatedAndTheProgramsLanguageRestores)
{
    Choose(1);
    ASSERT_EQ(StoredLanguageId(), kGerman);
    Stop();
    EXPECT_EQ(StringTable::GetSource(), nullptr);

    Start();
    EXPECT_EQ(app->GetLanguageSupport().CurrentLanguage, kGerman);
    EXPECT_EQ(MenuBarTexts().front(), QStringLiteral("\u00AB&File\u00BB"));
    EXPECT_EQ(StatusText(), QStringLiteral("\u00ABReady\u00BB"));
    EXPECT_EQ(frame->GetAction(ID_EDIT_FIND)->shortcuts(), QList<QKeySequence>{kCtrlB});

    Choose(0);
    EXPECT_EQ(StoredLanguageId(), 0x0809u);
    EXPECT_EQ(StringTable::GetSource(), nullptr);
    EXPECT_EQ(MenuBarTexts().front(), QStringLiteral("&File"));
    for (const QString& text : MenuBarTexts())
        EXPECT_FALSE(IsMarked(text)) << text.toStdString();
    for (const QString& text : PaneContextMenuTexts())
        EXPECT_FALSE(IsMarked(text)) << text.toStdString();
    EXPECT_EQ(StatusText(), QStringLiteral("Ready"));
    EXPECT_EQ(frame->GetAction(ID_EDIT_FIND)->text(), QStringLiteral("&Find/Replace"));
    EXPECT_EQ(frame->GetAction(ID_EDIT_FIND)->shortcuts(), QList<QKeySequence>{kCtrlF});
}

} // namespace
