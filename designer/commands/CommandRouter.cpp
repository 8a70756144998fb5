#include "designer/commands/CommandRouter.h"

#include <QAction>
#include <QMenu>
#include <QObject>
#include <QPointer>

namespace {
constexpr const char* CommandIdProperty = "kwvdCommandId";
}

UINT CommandIdOf(const QAction* action)
{
    return action ? action->property(CommandIdProperty).toUInt() : 0;
}

void RemoveMenuItem(QWidget* menu, QAction* action)
{
    const QList<QAction*> items = menu->actions();
    const qsizetype index = items.indexOf(action);
    if (index < 0)
        return;
    QAction* above = index > 0 ? items.at(index - 1) : nullptr;
    QAction* below = index + 1 < items.size() ? items.at(index + 1) : nullptr;
    menu->removeAction(action);
    if ((above && !above->isSeparator()) || (below && !below->isSeparator()))
        return;
    if (QAction* separator = above ? above : below) {
        menu->removeAction(separator);
        // A separator the menu made itself belongs to nobody else.
        if (separator->parent() == menu)
            separator->deleteLater();
    }
}

CCommandRouter::CCommandRouter(ChainSource chain) : m_chain(std::move(chain)), m_context(std::make_unique<QObject>()) {}

CCommandRouter::~CCommandRouter() = default;

BOOL CCommandRouter::Execute(UINT id) const
{
    // A command may end in a route change (a pane goes, a document closes),
    // so the chain is taken once, before anything runs.
    const std::vector<CCmdTarget*> chain = m_chain();
    CCmdUI ui(id);
    bool known = false;
    for (CCmdTarget* target : chain) {
        if (target && target->OnUpdateCmdUI(ui)) {
            known = true;
            break;
        }
    }
    // A disabled command does nothing, even when reached through its key.
    if (known && !ui.IsEnabled())
        return FALSE;
    for (CCmdTarget* target : chain)
        if (target && target->OnCmdMsg(id))
            return TRUE;
    return FALSE;
}

CCmdUI CCommandRouter::Query(UINT id) const
{
    CCmdUI ui(id);
    for (CCmdTarget* target : m_chain())
        if (target && target->OnUpdateCmdUI(ui))
            return ui;
    ui.Enable(FALSE);
    return ui;
}

void CCommandRouter::Bind(QAction* action, UINT id)
{
    action->setProperty(CommandIdProperty, id);
    QList<QAction*>& list = m_bound[id];
    if (!list.contains(action))
        list.append(action);
    QObject::connect(action, &QAction::triggered, m_context.get(), [this, id] {
        Execute(id);
        // A checkable action flips its own mark; the handlers decide it.
        Update(id);
    });
    QObject::connect(action, &QObject::destroyed, m_context.get(), [this, id, action] {
        auto it = m_bound.find(id);
        if (it != m_bound.end())
            it->removeAll(action);
    });
}

void CCommandRouter::Unbind(QAction* action)
{
    const UINT id = CommandIdOf(action);
    auto it = m_bound.find(id);
    if (it != m_bound.end())
        it->removeAll(action);
    QObject::disconnect(action, nullptr, m_context.get(), nullptr);
}

QList<QAction*> CCommandRouter::ActionsOf(UINT id) const
{
    return m_bound.value(id);
}

void CCommandRouter::Update(UINT id) const
{
    auto it = m_bound.find(id);
    if (it == m_bound.end() || it->isEmpty())
        return;
    const CCmdUI ui = Query(id);
    for (QAction* action : *it) {
        action->setEnabled(ui.IsEnabled());
        if (ui.GetCheck()) {
            action->setCheckable(true);
            action->setChecked(*ui.GetCheck() != 0);
        } else if (action->isCheckable()) {
            action->setChecked(false);
        }
        if (ui.GetText()) {
            action->setText(*ui.GetText());
            action->setVisible(!ui.GetText()->isEmpty());
        }
        if (ui.IsRemoveRequested()) {
            for (QObject* holder : action->associatedObjects())
                if (auto* menu = qobject_cast<QMenu*>(holder))
                    RemoveMenuItem(menu, action);
        }
    }
}

void CCommandRouter::UpdateAll() const
{
    for (auto it = m_bound.begin(); it != m_bound.end(); ++it)
        Update(it.key());
}
