// The frame's Window menu and its context help.
//
// Both are short modes: while one lasts, an event filter on the application
// takes the keys (and, for context help, the clicks) before the windows see
// them, and the mode ends on the key or click that finishes it.

#include "designer/commands/CommandIds.h"
#include "designer/commands/CommandRouter.h"
#include "designer/shell/MainFrame.h"
#include "designer/shell/WVDDesignerApp.h"
#include "platform/help/HtmlHelp.h"

#include <QApplication>
#include <QDockWidget>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSplitter>
#include <QToolButton>

#include <algorithm>
#include <functional>

namespace {

// A command's topic in the help pages, as menu texts are numbered. The
// recent-file entries are one list with one topic.
constexpr DWORD CommandHelpContext(UINT command)
{
    if (command > ID_FILE_MRU_FILE1 && command <= ID_FILE_MRU_LAST)
        command = ID_FILE_MRU_FILE1;
    return 0x10000u + command;
}

// How far one arrow key moves the splitter; with Ctrl a single pixel.
constexpr int kSplitterStep = 16;

bool IsInside(const QWidget* ancestor, const QWidget* widget)
{
    return ancestor != nullptr && widget != nullptr && (ancestor == widget || ancestor->isAncestorOf(widget));
}

class EventFilter : public QObject
{
public:
    using Handler = std::function<bool(QObject*, QEvent*)>;
    EventFilter(QObject* parent, Handler handler) : QObject(parent), m_handler(std::move(handler))
    {
        qApp->installEventFilter(this);
    }
    ~EventFilter() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override { return m_handler(watched, event); }

private:
    Handler m_handler;
};

// The command a menu action or toolbar button carries; 0 for a submenu.
UINT CommandAt(QWidget* widget, const QPoint& globalPos)
{
    if (auto* menu = qobject_cast<QMenu*>(widget)) {
        const QAction* action = menu->actionAt(menu->mapFromGlobal(globalPos));
        return action != nullptr && action->menu() == nullptr ? CommandIdOf(action) : 0;
    }
    if (auto* button = qobject_cast<QToolButton*>(widget))
        return button->defaultAction() != nullptr ? CommandIdOf(button->defaultAction()) : 0;
    return 0;
}

// Ends a mode: its filter stops at once and goes once the event it may be
// handling is done. False when no mode was on.
bool EndMode(QObject*& mode)
{
    if (mode == nullptr)
        return false;
    QObject* filter = mode;
    mode = nullptr;
    qApp->removeEventFilter(filter);
    filter->deleteLater();
    return true;
}

void CloseOpenMenus()
{
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
}

void ShowHelpTopic(DWORD context)
{
    if (CWVDDesignerApp* app = CWVDDesignerApp::Instance())
        app->ShowHelp(context, HELP_CONTEXT);
}

} // namespace

void CMainFrame::RegisterWindowAndHelpHandlers()
{
    OnCommand(ID_WINDOW_SPLIT, [this] { BeginSplitterMove(); });
    // With one pane shown (an XML document) there is nothing to divide.
    OnUpdate(ID_WINDOW_SPLIT, [this](CCmdUI& ui) { ui.Enable(m_splitterReady && FrameDocType != 1); });
    // A frame of one document arranges no windows.
    for (UINT id : {ID_WINDOW_NEW, ID_WINDOW_ARRANGE, ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ})
        OnUpdate(id, [](CCmdUI& ui) { ui.Enable(FALSE); });

    OnCommand(ID_CONTEXT_HELP, [this] { EnterContextHelpMode(); });
    OnUpdate(ID_CONTEXT_HELP, [this](CCmdUI& ui) { ui.SetCheck(m_contextHelp != nullptr ? 1 : 0); });
}

// ---------------------------------------------------------------- split

void CMainFrame::BeginSplitterMove()
{
    if (m_splitterMove != nullptr || !m_splitterReady || m_splitter == nullptr)
        return;
    const std::pair<int, int> before = GetColumnWidths();
    m_splitterMove = new EventFilter(this, [this, before](QObject*, QEvent* event) {
        if (event->type() == QEvent::MouseButtonPress) {
            EndSplitterMove();
            return false;
        }
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        // The shortcut pass is taken too, so no menu key acts meanwhile.
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        const int step = key->modifiers() & Qt::ControlModifier ? 1 : kSplitterStep;
        switch (key->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right: {
            const auto [w0, w1] = GetColumnWidths();
            const int total = w0 + w1;
            const int left = std::clamp(w0 + (key->key() == Qt::Key_Left ? -step : step), 0, total);
            SetColumnWidths(left, total - left);
            break;
        }
        case Qt::Key_Return:
        case Qt::Key_Enter:
            EndSplitterMove();
            break;
        case Qt::Key_Escape:
            SetColumnWidths(before.first, before.second);
            EndSplitterMove();
            break;
        default:
            break;
        }
        return true;
    });
}

void CMainFrame::EndSplitterMove()
{
    EndMode(m_splitterMove);
}

// ---------------------------------------------------------------- context help

DWORD CMainFrame::HelpContextAt(QWidget* widget, const QPoint& globalPos) const
{
    for (QWidget* w = widget; w != nullptr; w = w->parentWidget())
        if (const UINT command = CommandAt(w, globalPos))
            return CommandHelpContext(command);
    // A pane has the topic of the command that shows it.
    if (IsInside(GetPaneView(0), widget))
        return CommandHelpContext(ID_VIEW_INPUT_PANE);
    if (IsInside(GetPaneView(1), widget))
        return CommandHelpContext(ID_VIEW_OUTPUT_PANE);
    if (IsInside(m_explorerDock, widget))
        return CommandHelpContext(ID_VIEW_EXPLORER);
    if (m_propertySheet && IsInside(m_propertySheet->GetWidget(), widget))
        return CommandHelpContext(ID_EDIT_PROPERTIES);
    return kMainWindowHelpContext;
}

void CMainFrame::EnterContextHelpMode()
{
    if (m_contextHelp != nullptr)
        return;
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
    m_contextHelp = new EventFilter(this, [this](QObject* watched, QEvent* event) {
        switch (event->type()) {
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape) {
                if (event->type() == QEvent::KeyPress) {
                    CloseOpenMenus();
                    EndContextHelpMode();
                }
                event->accept();
                return true;
            }
            // Return on a highlighted menu item asks for that item's help.
            auto* menu = qobject_cast<QMenu*>(watched);
            if (event->type() == QEvent::KeyPress && menu != nullptr
                && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && menu->activeAction() != nullptr
                && menu->activeAction()->menu() == nullptr) {
                const UINT command = CommandIdOf(menu->activeAction());
                CloseOpenMenus();
                EndContextHelpMode();
                ShowHelpTopic(command != 0 ? CommandHelpContext(command) : kMainWindowHelpContext);
                return true;
            }
            return false;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget == nullptr)
                return false;
            auto* mouse = static_cast<QMouseEvent*>(event);
            // The menu bar and submenus open as usual, so menu items can be
            // reached; the item itself is judged when the button goes up.
            if (qobject_cast<QMenuBar*>(widget) != nullptr)
                return false;
            if (auto* menu = qobject_cast<QMenu*>(widget)) {
                const QAction* action = menu->actionAt(mouse->position().toPoint());
                if (action == nullptr || action->menu() != nullptr)
                    return false;
                // A menu item acts when the button goes up: the press is
                // held back so that it does not.
                if (event->type() != QEvent::MouseButtonRelease)
                    return true;
            } else if (event->type() != QEvent::MouseButtonPress) {
                return true;
            }
            if (mouse->button() == Qt::RightButton) {
                CloseOpenMenus();
                EndContextHelpMode();
                return true;
            }
            const DWORD context = HelpContextAt(widget, mouse->globalPosition().toPoint());
            CloseOpenMenus();
            EndContextHelpMode();
            ShowHelpTopic(context);
            return true;
        }
        default:
            return false;
        }
    });
}

void CMainFrame::EndContextHelpMode()
{
    if (EndMode(m_contextHelp))
        QApplication::restoreOverrideCursor();
}
