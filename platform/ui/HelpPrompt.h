#pragma once
// The help context of the process and the help request a dialog hands to
// its owner. While a dialog with a help topic runs, the context names that
// topic, so F1 (or the dialog's own help request) opens it; 0 means none.
// The program installs the handler that opens help; without one a request
// goes nowhere.

#include "platform/framework/Types.h"

#include <QPoint>

#include <functional>

class QObject;

DWORD HelpPromptContext();
void SetHelpPromptContext(DWORD context);

// Sets the context for a scope and puts the earlier one back after it.
class HelpPromptContextScope
{
public:
    explicit HelpPromptContextScope(DWORD context);
    ~HelpPromptContextScope();

    HelpPromptContextScope(const HelpPromptContextScope&) = delete;
    HelpPromptContextScope& operator=(const HelpPromptContextScope&) = delete;

private:
    DWORD m_previous;
};

inline constexpr int HELPINFO_WINDOW = 1;

struct HelpRequest
{
    int contextType = HELPINFO_WINDOW;
    int controlId = 0;
    QObject* item = nullptr;  // the window asking
    QObject* owner = nullptr; // the window the request goes to
    DWORD contextId = 0;
    QPoint mousePos;
};

using HelpRequestHandler = std::function<void(const HelpRequest&)>;

// Returns the handler installed before.
HelpRequestHandler SetHelpRequestHandler(HelpRequestHandler handler);

// False when no handler is installed.
bool SendHelpRequest(const HelpRequest& request);
