#pragma once
// The prompts of a program started without a screen (for example with
// "-platform offscreen" to print from the command line): every message goes
// to standard error with its caption, and every question gets the answer of
// a user who backs out, so nothing waits for a click that cannot come.

#include "platform/ui/PromptService.h"

#include <cstdio>

class ConsolePromptService : public PromptService
{
public:
    // Messages are written to stream (standard error unless told).
    explicit ConsolePromptService(std::FILE* stream = stderr) : m_stream(stream) {}

protected:
    int DoMessageBox(const QString& text, const QString& caption, UINT type) override;
    std::optional<int> DoCommandLink(const CommandLinkRequest& request) override;
    int DoListChoice(const ListChoiceRequest& request) override;
    QStringList DoFileDialog(FileDialogKind kind, const FileDialogRequest& request) override;
    QString DoFolderDialog(const QString& title, const QString& initialFolder) override;
    void DoBeep(UINT type) override;
    void ShowWaitCursor(bool show) override;

private:
    std::FILE* m_stream;
};
