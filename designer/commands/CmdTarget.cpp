#include "designer/commands/CmdTarget.h"

CCmdTarget::~CCmdTarget() = default;

BOOL CCmdTarget::OnCmdMsg(UINT id)
{
    for (const CommandEntry& entry : m_commands) {
        if (id >= entry.first && id <= entry.last) {
            entry.handler(id);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CCmdTarget::OnUpdateCmdUI(CCmdUI& ui)
{
    for (const UpdateEntry& entry : m_updates) {
        if (ui.m_nID >= entry.first && ui.m_nID <= entry.last) {
            // A handler that only sets the check leaves the command enabled.
            ui.Enable(TRUE);
            entry.handler(ui);
            return TRUE;
        }
    }
    if (HasCommandHandler(ui.m_nID)) {
        ui.Enable(TRUE);
        return TRUE;
    }
    return FALSE;
}

void CCmdTarget::OnCommand(UINT id, Handler handler)
{
    m_commands.push_back({id, id, [h = std::move(handler)](UINT) { h(); }});
}

void CCmdTarget::OnCommandRange(UINT first, UINT last, RangeHandler handler)
{
    m_commands.push_back({first, last, std::move(handler)});
}

void CCmdTarget::OnUpdate(UINT id, UpdateHandler handler)
{
    m_updates.push_back({id, id, std::move(handler)});
}

void CCmdTarget::OnUpdateRange(UINT first, UINT last, UpdateHandler handler)
{
    m_updates.push_back({first, last, std::move(handler)});
}

BOOL CCmdTarget::HasCommandHandler(UINT id) const
{
    for (const CommandEntry& entry : m_commands)
        if (id >= entry.first && id <= entry.last)
            return TRUE;
    return FALSE;
}
