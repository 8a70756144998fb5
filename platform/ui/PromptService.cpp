#include "platform/ui/PromptService.h"

#include "platform/ui/ScriptedPromptService.h"

#include <QCoreApplication>

#include <algorithm>
#include <mutex>

std::vector<int> MessageBoxResults(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {IDOK, IDCANCEL};
    case MB_YESNOCANCEL:
        return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
        return {IDYES, IDNO};
    case MB_RETRYCANCEL:
        return {IDRETRY, IDCANCEL};
    default:
        return {IDOK};
    }
}

int MessageBoxCancelResult(UINT type)
{
    const std::vector<int> results = MessageBoxResults(type);
    if (std::find(results.begin(), results.end(), IDCANCEL) != results.end())
        return IDCANCEL;
    if (std::find(results.begin(), results.end(), IDNO) != results.end())
        return IDNO;
    return IDOK;
}

PromptService::~PromptService() = default;

int PromptService::MessageBox(const QString& text, const QString& caption, UINT type)
{
    const int result = DoMessageBox(text, caption.isEmpty() ? AfxGetAppName() : caption, type);
    const std::vector<int> allowed = MessageBoxResults(type);
    if (std::find(allowed.begin(), allowed.end(), result) == allowed.end())
        return MessageBoxCancelResult(type);
    return result;
}

std::optional<int> PromptService::ChooseCommandLink(const CommandLinkRequest& request)
{
    CommandLinkRequest resolved = request;
    if (resolved.windowTitle.isEmpty())
        resolved.windowTitle = AfxGetAppName();
    const std::optional<int> chosen = DoCommandLink(resolved);
    if (!chosen)
        return std::nullopt;
    const bool offered = std::any_of(request.choices.begin(), request.choices.end(),
                                     [&](const CommandLinkChoice& c) { return c.id == *chosen; });
    return offered ? chosen : std::nullopt;
}

int PromptService::ChooseFromList(const ListChoiceRequest& request)
{
    ListChoiceRequest resolved = request;
    if (resolved.title.isEmpty())
        resolved.title = AfxGetAppName();
    const int index = DoListChoice(resolved);
    return index >= 0 && index < request.items.size() ? index : -1;
}

QStringList PromptService::runFileDialog(FileDialogKind kind, const FileDialogRequest& request)
{
    FileDialogRequest resolved = request;
    if (resolved.title.isEmpty())
        resolved.title = AfxGetAppName();
    QStringList paths = DoFileDialog(kind, resolved);
    paths.removeAll(QString());
    return paths;
}

QString PromptService::GetOpenFileName(const FileDialogRequest& request)
{
    const QStringList paths = runFileDialog(FileDialogKind::Open, request);
    return paths.isEmpty() ? QString() : paths.front();
}

QStringList PromptService::GetOpenFileNames(const FileDialogRequest& request)
{
    return runFileDialog(FileDialogKind::OpenMultiple, request);
}

QString PromptService::GetSaveFileName(const FileDialogRequest& request)
{
    const QStringList paths = runFileDialog(FileDialogKind::Save, request);
    return paths.isEmpty() ? QString() : paths.front();
}

QString PromptService::ChooseFolder(const QString& title, const QString& initialFolder)
{
    return DoFolderDialog(title.isEmpty() ? AfxGetAppName() : title, initialFolder);
}

std::optional<COLORREF> PromptService::ChooseColour(COLORREF initial)
{
    const std::optional<COLORREF> chosen = DoColourDialog(initial & 0x00FFFFFFu);
    // The top byte is not part of a colour.
    if (!chosen)
        return std::nullopt;
    return *chosen & 0x00FFFFFFu;
}

std::optional<COLORREF> PromptService::DoColourDialog(COLORREF)
{
    return std::nullopt;
}

void PromptService::MessageBeep(UINT type)
{
    DoBeep(type);
}

void PromptService::BeginWaitCursor()
{
    if (m_waitDepth++ == 0)
        ShowWaitCursor(true);
}

void PromptService::EndWaitCursor()
{
    if (m_waitDepth == 0)
        return;
    if (--m_waitDepth == 0)
        ShowWaitCursor(false);
}

namespace {

struct ProcessPrompts
{
    std::mutex mutex;
    std::shared_ptr<PromptService> service;
    bool appNameSet = false;
    QString appName;
};

ProcessPrompts& processPrompts()
{
    static ProcessPrompts state;
    return state;
}

} // namespace

std::shared_ptr<PromptService> SharedPrompts()
{
    ProcessPrompts& state = processPrompts();
    std::lock_guard lock(state.mutex);
    if (!state.service)
        state.service = std::make_shared<ScriptedPromptService>();
    return state.service;
}

PromptService& Prompts()
{
    return *SharedPrompts();
}

std::shared_ptr<PromptService> SetPrompts(std::shared_ptr<PromptService> service)
{
    if (!service)
        service = std::make_shared<ScriptedPromptService>();
    ProcessPrompts& state = processPrompts();
    std::lock_guard lock(state.mutex);
    std::swap(state.service, service);
    return service;
}

QString AfxGetAppName()
{
    ProcessPrompts& state = processPrompts();
    {
        std::lock_guard lock(state.mutex);
        if (state.appNameSet)
            return state.appName;
    }
    return QCoreApplication::applicationName();
}

void AfxSetAppName(const QString& name)
{
    ProcessPrompts& state = processPrompts();
    std::lock_guard lock(state.mutex);
    state.appName = name;
    state.appNameSet = true;
}
