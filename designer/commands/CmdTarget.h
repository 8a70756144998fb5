#pragma once
// A receiver of commands. The router offers a command id to its targets in
// turn (the explorer while it has the focus, the active pane, the document,
// the frame, the application); the first that handles it ends the search.
// A command that no target handles is disabled.
//
// A target either fills its tables (OnCommand, OnUpdate and the ranges) or
// overrides the two virtuals; the default virtuals read the tables.

#include "designer/commands/CmdUI.h"
#include "platform/framework/Types.h"

#include <functional>
#include <vector>

class CCmdTarget
{
public:
    virtual ~CCmdTarget();

    // TRUE when the command was handled.
    virtual BOOL OnCmdMsg(UINT id);

    // TRUE when this target has a handler for ui.m_nID: its update handler
    // ran, or it has a command handler and no update handler, which enables
    // the command.
    virtual BOOL OnUpdateCmdUI(CCmdUI& ui);

protected:
    using Handler = std::function<void()>;
    using RangeHandler = std::function<void(UINT id)>;
    using UpdateHandler = std::function<void(CCmdUI& ui)>;

    void OnCommand(UINT id, Handler handler);
    void OnCommandRange(UINT first, UINT last, RangeHandler handler);
    void OnUpdate(UINT id, UpdateHandler handler);
    void OnUpdateRange(UINT first, UINT last, UpdateHandler handler);

    BOOL HasCommandHandler(UINT id) const;

private:
    struct CommandEntry
    {
        UINT first;
        UINT last;
        RangeHandler handler;
    };
    struct UpdateEntry
    {
        UINT first;
        UINT last;
        UpdateHandler handler;
    };

    std::vector<CommandEntry> m_commands;
    std::vector<UpdateEntry> m_updates;
};
