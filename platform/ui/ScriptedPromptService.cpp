#include "platform/ui/ScriptedPromptService.h"

#include <algorithm>

namespace {

const char* kindName(PromptKind kind)
{
    switch (kind) {
    case PromptKind::MessageBox:
        return "message box";
    case PromptKind::CommandLink:
        return "command-link choice";
    case PromptKind::ListChoice:
        return "list choice";
    case PromptKind::OpenFile:
        return "open-file chooser";
    case PromptKind::OpenFiles:
        return "multiple open-file chooser";
    case PromptKind::SaveFile:
        return "save-file chooser";
    case PromptKind::Folder:
        return "folder chooser";
    case PromptKind::Colour:
        return "colour dialog";
    }
    return "prompt";
}

} // namespace

void ScriptedPromptService::AnswerMessageBox(int result)
{
    m_answers.push_back(BoxAnswer{result});
}

void ScriptedPromptService::AnswerCommandLink(int id)
{
    m_answers.push_back(LinkAnswer{id});
}

void ScriptedPromptService::AnswerCommandLinkClosed()
{
    m_answers.push_back(LinkAnswer{std::nullopt});
}

void ScriptedPromptService::AnswerList(int index)
{
    m_answers.push_back(ListAnswer{index});
}

void ScriptedPromptService::AnswerFiles(const QStringList& paths)
{
    m_answers.push_back(FilesAnswer{paths});
}

void ScriptedPromptService::AnswerFile(const QString& path)
{
    m_answers.push_back(FilesAnswer{path.isEmpty() ? QStringList() : QStringList{path}});
}

void ScriptedPromptService::AnswerColour(COLORREF colour)
{
    m_answers.push_back(ColourAnswer{colour});
}

void ScriptedPromptService::AnswerColourCancelled()
{
    m_answers.push_back(ColourAnswer{std::nullopt});
}

void ScriptedPromptService::AnswerFolder(const QString& path)
{
    m_answers.push_back(FolderAnswer{path});
}

void ScriptedPromptService::ClearRecorded()
{
    m_recorded.clear();
    m_beeps.clear();
    m_errors.clear();
    m_waitShows = 0;
}

void ScriptedPromptService::fail(const RecordedPrompt& prompt, const QString& problem)
{
    const QString message = QStringLiteral("Scripted answer for the %1 \"%2\": %3")
                                .arg(QString::fromLatin1(kindName(prompt.kind)),
                                     prompt.text.isEmpty() ? prompt.caption : prompt.text, problem);
    m_errors.push_back(message);
    throw ScriptedPromptError(message.toStdString());
}

template <typename T>
std::optional<T> ScriptedPromptService::takeAnswer(const RecordedPrompt& prompt)
{
    if (m_answers.empty())
        return std::nullopt;
    Answer answer = std::move(m_answers.front());
    m_answers.pop_front();
    if (T* fitting = std::get_if<T>(&answer))
        return std::move(*fitting);
    fail(prompt, QStringLiteral("the next queued answer is of another kind"));
}

int ScriptedPromptService::DoMessageBox(const QString& text, const QString& caption, UINT type)
{
    RecordedPrompt prompt;
    prompt.kind = PromptKind::MessageBox;
    prompt.caption = caption;
    prompt.text = text;
    prompt.type = type;
    m_recorded.push_back(prompt);

    const std::optional<BoxAnswer> answer = takeAnswer<BoxAnswer>(prompt);
    if (!answer)
        return MessageBoxCancelResult(type);
    const std::vector<int> allowed = MessageBoxResults(type);
    if (std::find(allowed.begin(), allowed.end(), answer->result) == allowed.end())
        fail(prompt, QStringLiteral("result %1 is not one of the box's buttons").arg(answer->result));
    return answer->result;
}

std::optional<int> ScriptedPromptService::DoCommandLink(const CommandLinkRequest& request)
{
    RecordedPrompt prompt;
    prompt.kind = PromptKind::CommandLink;
    prompt.caption = request.windowTitle;
    prompt.text = request.mainInstruction;
    prompt.commandLink = request;
    m_recorded.push_back(prompt);

    const std::optional<LinkAnswer> answer = takeAnswer<LinkAnswer>(prompt);
    if (!answer || !answer->id)
        return std::nullopt;
    const bool offered = std::any_of(request.choices.begin(), request.choices.end(),
                                     [&](const CommandLinkChoice& c) { return c.id == *answer->id; });
    if (!offered)
        fail(prompt, QStringLiteral("no choice carries the id %1").arg(*answer->id));
    return answer->id;
}

int ScriptedPromptService::DoListChoice(const ListChoiceRequest& request)
{
    RecordedPrompt prompt;
    prompt.kind = PromptKind::ListChoice;
    prompt.caption = request.title;
    prompt.text = request.label;
    prompt.list = request;
    m_recorded.push_back(prompt);

    const std::optional<ListAnswer> answer = takeAnswer<ListAnswer>(prompt);
    if (!answer)
        return -1;
    if (answer->index < -1 || answer->index >= request.items.size())
        fail(prompt,
             QStringLiteral("index %1 is outside the list of %2 items").arg(answer->index).arg(request.items.size()));
    return answer->index;
}

QStringList ScriptedPromptService::DoFileDialog(FileDialogKind kind, const FileDialogRequest& request)
{
    RecordedPrompt prompt;
    switch (kind) {
    case FileDialogKind::Open:
        prompt.kind = PromptKind::OpenFile;
        break;
    case FileDialogKind::OpenMultiple:
        prompt.kind = PromptKind::OpenFiles;
        break;
    case FileDialogKind::Save:
        prompt.kind = PromptKind::SaveFile;
        break;
    }
    prompt.caption = request.title;
    prompt.file = request;
    m_recorded.push_back(prompt);

    const std::optional<FilesAnswer> answer = takeAnswer<FilesAnswer>(prompt);
    if (!answer)
        return {};
    if (kind != FileDialogKind::OpenMultiple && answer->paths.size() > 1)
        fail(prompt, QStringLiteral("%1 paths for a chooser of one file").arg(answer->paths.size()));
    return answer->paths;
}

QString ScriptedPromptService::DoFolderDialog(const QString& title, const QString& initialFolder)
{
    RecordedPrompt prompt;
    prompt.kind = PromptKind::Folder;
    prompt.caption = title;
    prompt.initialFolder = initialFolder;
    m_recorded.push_back(prompt);

    const std::optional<FolderAnswer> answer = takeAnswer<FolderAnswer>(prompt);
    return answer ? answer->path : QString();
}

std::optional<COLORREF> ScriptedPromptService::DoColourDialog(COLORREF initial)
{
    RecordedPrompt prompt;
    prompt.kind = PromptKind::Colour;
    prompt.initialColour = initial;
    m_recorded.push_back(prompt);

    const std::optional<ColourAnswer> answer = takeAnswer<ColourAnswer>(prompt);
    if (!answer)
        return std::nullopt;
    return answer->colour;
}

void ScriptedPromptService::DoBeep(UINT type)
{
    m_beeps.push_back(type);
}

void ScriptedPromptService::ShowWaitCursor(bool show)
{
    if (show)
        ++m_waitShows;
}
