#pragma once
// The prompt service as real Qt dialogs, each modal over the active window.
// Without a QApplication, or off the GUI thread, nothing is shown and every
// prompt gets the answer of a user who backs out.

#include "platform/ui/PromptService.h"

#include <functional>

class QWidget;

class QtPromptService : public PromptService
{
public:
    // Shows a command-link question over parent: the chosen id, or nothing
    // when the question could not be shown or was closed without a choice.
    using CommandLinkHook = std::function<std::optional<int>(const CommandLinkRequest& request, QWidget* parent)>;

    // Processes that link a task dialog put it here; without a hook a plain
    // window of links stands in. Returns the hook set before.
    static CommandLinkHook SetCommandLinkHook(CommandLinkHook hook);

protected:
    int DoMessageBox(const QString& text, const QString& caption, UINT type) override;
    std::optional<int> DoCommandLink(const CommandLinkRequest& request) override;
    int DoListChoice(const ListChoiceRequest& request) override;
    QStringList DoFileDialog(FileDialogKind kind, const FileDialogRequest& request) override;
    QString DoFolderDialog(const QString& title, const QString& initialFolder) override;
    std::optional<COLORREF> DoColourDialog(COLORREF initial) override;
    void DoBeep(UINT type) override;
    void ShowWaitCursor(bool show) override;

private:
    bool m_overrideCursorSet = false;
};

// Makes the Qt dialogs the process's prompts; false, and nothing changed,
// when there is no QApplication to show them.
bool InstallQtPrompts();

// True when the GUI platform of the process shows nothing to a user
// ("offscreen", "minimal"): prompts then belong on the console.
bool IsHeadlessPlatform();
