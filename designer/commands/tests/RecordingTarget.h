#pragma once
// A command target for tests of the routing: it handles the commands a test
// gives it, enabled or not, and records which of them it ran.

#include "designer/commands/CmdTarget.h"
#include "designer/commands/CmdUI.h"

#include <QString>

#include <vector>

class RecordingTarget : public CCmdTarget
{
public:
    void Handle(UINT id, bool enabled = true)
    {
        OnCommand(id, [this, id] { executed.push_back(id); });
        OnUpdate(id, [enabled](CCmdUI& ui) { ui.Enable(enabled); });
    }
    void HandleText(UINT id, QString text)
    {
        OnUpdate(id, [text](CCmdUI& ui) { ui.SetText(text); });
    }
    // A command that cannot be offered: disabled and out of the menus.
    void HandleRemoved(UINT id)
    {
        OnUpdate(id, [](CCmdUI& ui) {
            ui.Enable(FALSE);
            ui.RemoveFromMenus();
        });
    }
    std::vector<UINT> executed;
};
