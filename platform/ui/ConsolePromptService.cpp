#include "platform/ui/ConsolePromptService.h"

int ConsolePromptService::DoMessageBox(const QString& text, const QString& caption, UINT type)
{
    const QByteArray line = (caption.isEmpty() ? text : caption + QStringLiteral(": ") + text).toLocal8Bit();
    std::fprintf(m_stream, "%s\n", line.constData());
    std::fflush(m_stream);
    return MessageBoxCancelResult(type);
}

std::optional<int> ConsolePromptService::DoCommandLink(const CommandLinkRequest&)
{
    return std::nullopt;
}

int ConsolePromptService::DoListChoice(const ListChoiceRequest&)
{
    return -1;
}

QStringList ConsolePromptService::DoFileDialog(FileDialogKind, const FileDialogRequest&)
{
    return {};
}

QString ConsolePromptService::DoFolderDialog(const QString&, const QString&)
{
    return {};
}

void ConsolePromptService::DoBeep(UINT) {}

void ConsolePromptService::ShowWaitCursor(bool) {}
