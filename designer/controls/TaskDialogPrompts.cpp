#include "designer/controls/TaskDialogPrompts.h"

#include "designer/controls/TaskDialogLayout.h"
#include "designer/controls/TaskDialogPictures.h"
#include "designer/controls/XTaskDialogMFCClient.h"
#include "platform/ui/StringTable.h"

#include <vector>

std::optional<int> RunCommandLinkTaskDialog(const CommandLinkRequest& request, QWidget* parent)
{
    CXTaskDialogMFCClient client;
    client.m_config.dwFlags = TDF_USE_COMMAND_LINKS;
    client.m_config.hMainIcon = TaskDialogIcon(IDI_TASK_WARNING);
    client.m_texts[CXTaskDialogMFCClient::WindowTitle] = request.windowTitle;
    client.m_texts[CXTaskDialogMFCClient::MainInstruction] = request.mainInstruction;
    client.m_config.pszWindowTitle = client.m_texts[CXTaskDialogMFCClient::WindowTitle];
    client.m_config.pszMainInstruction = client.m_texts[CXTaskDialogMFCClient::MainInstruction];
    if (!request.content.isEmpty()) {
        client.m_texts[CXTaskDialogMFCClient::Content] = request.content;
        client.m_config.pszContent = client.m_texts[CXTaskDialogMFCClient::Content];
    }
    std::vector<TASKDIALOG_BUTTON> links;
    for (const CommandLinkChoice& choice : request.choices)
        links.push_back({choice.id, choice.text});
    client.m_config.cButtons = static_cast<UINT>(links.size());
    client.m_config.pButtons = links.data();
    client.m_config.nDefaultButton = request.defaultId;
    client.m_config.hwndParent = parent;

    HRESULT hr = client.RunSystemDialog();
    if (hr < 0)
        hr = client.RunDialog(nullptr);
    if (hr < 0)
        return std::nullopt;
    for (const CommandLinkChoice& choice : request.choices) {
        if (choice.id == client.m_nButtonResult)
            return choice.id;
    }
    return std::nullopt;
}

void RegisterTaskDialogStrings()
{
    for (const StandardButton& row : DefaultStandardButtons())
        StringTable::Add(row.captionId, row.caption);
}
