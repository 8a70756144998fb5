#pragma once
// Runs commands and update passes along a chain of targets. The chain is
// asked afresh each time, since the focus and the active pane move.

#include "designer/commands/CmdTarget.h"
#include "designer/commands/CmdUI.h"

#include <QHash>
#include <QList>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QObject;
class QWidget;

class CCommandRouter
{
public:
    using ChainSource = std::function<std::vector<CCmdTarget*>()>;

    explicit CCommandRouter(ChainSource chain);
    ~CCommandRouter();

    // Offers the id to each target in turn; FALSE when none handles it.
    BOOL Execute(UINT id) const;
    // The state of the id after the first target with a handler for it set
    // it; disabled when no target has one.
    CCmdUI Query(UINT id) const;

    // The action triggers the id; every update pass sets its state.
    void Bind(QAction* action, UINT id);
    void Unbind(QAction* action);
    QList<QAction*> ActionsOf(UINT id) const;
    // One update pass over every bound action.
    void UpdateAll() const;
    // The pass for one id's actions.
    void Update(UINT id) const;

private:
    ChainSource m_chain;
    // The context of the action connections: they end with the router, so
    // actions that outlive it never call into it.
    std::unique_ptr<QObject> m_context;
    QHash<UINT, QList<QAction*>> m_bound;
};

// The id an action carries (0: none).
UINT CommandIdOf(const QAction* action);

// Takes the action out of the menu. When the items just above and below it
// were both separators (a missing neighbour counts as one), one separator
// goes too, so none is left doubled or dangling: the one above, else the
// one below.
void RemoveMenuItem(QWidget* menu, QAction* action);
