#include "designer/shell/OptionsPropPage.h"

#include "platform/ui/DialogTextId.h"
#include "platform/ui/PromptService.h"
#include "platform/ui/StringTable.h"

#include <QDir>

namespace {

// Shared by every page of the sheet.
constexpr UINT IDS_SELECT_DIRECTORY = DialogTextId(133, 0xFF10);

} // namespace

COptionsPropPage::~COptionsPropPage() = default;

QString COptionsPropPage::GetTitle() const
{
    return LoadResString(DialogTextId(m_dialogId, 0));
}

QString COptionsPropPage::GetLabel(int controlId) const
{
    return LoadResString(DialogTextId(m_dialogId, static_cast<UINT>(controlId)));
}

QString COptionsPropPage::SelectDirectoryTitle()
{
    return LoadResString(IDS_SELECT_DIRECTORY);
}

QString COptionsPropPage::WithClosingSeparator(const QString& folder)
{
    if (folder.endsWith(u'/') || folder.endsWith(u'\\'))
        return folder;
    return folder + QDir::separator();
}

QString COptionsPropPage::BrowseForFolder(const QString& initialFolder)
{
    const QString chosen = Prompts().ChooseFolder(SelectDirectoryTitle(), initialFolder);
    return chosen.isEmpty() ? QString() : WithClosingSeparator(chosen);
}
