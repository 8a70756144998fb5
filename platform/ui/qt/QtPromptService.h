#pragma once
// The prompt service as real Qt dialogs, each modal over the active window.
// Without a QApplication, or off the GUI thread, nothing is shown and every
// prompt gets the answer of a user who backs out.

#include "platform/ui/PromptService.h"

class QtPromptService : public PromptService
{
protected:
    int DoMessageBox(const QString& text, const QString& caption, UINT type) override;
    std::optional<int> DoCommandLink(const CommandLinkRequest& request) override;
    int DoListChoice(const ListChoiceRequest& request) override;
    QStringList DoFileDialog(FileDialogKind kind, const FileDialogRequest& request) override;
    QString DoFolderDialog(const QString& title, const QString& initialFolder) override;
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
