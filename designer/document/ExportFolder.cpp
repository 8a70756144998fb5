#include "designer/document/ExportFolder.h"

#include "designer/document/ExportChoice.h"
#include "designer/preferences/Preferences.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptService.h"

#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

namespace {

HostFolderMapping& InstalledMapping()
{
    static HostFolderMapping mapping;
    return mapping;
}

QString HostPcinFolder(const QString& system, const QString& library)
{
    return QStringLiteral("\\\\%1\\QDLS\\%2\\PCIN\\").arg(system, library);
}

// The local folder of a host folder that can be entered, else empty.
QString EnterableFolder(const QString& hostFolder)
{
    const QString local = MapHostFolder(hostFolder);
    if (local.isEmpty())
        return {};
    const QFileInfo info(local);
    return info.isDir() && info.isExecutable() ? local : QString();
}

void RemoveBelow(const std::filesystem::path& folder)
{
    // Listed first: the folder is not changed while it is being read.
    std::vector<std::filesystem::path> entries;
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    for (const std::filesystem::directory_iterator end; !error && it != end; it.increment(error))
        entries.push_back(it->path());
    for (const std::filesystem::path& entry : entries) {
        std::error_code statusError;
        // symlink_status: a link to a folder is a link here, not the folder.
        if (std::filesystem::symlink_status(entry, statusError).type() == std::filesystem::file_type::directory) {
            RemoveBelow(entry);
        }
        std::error_code removeError;
        std::filesystem::remove(entry, removeError);
    }
}

} // namespace

HostFolderMapping SetHostFolderMapping(HostFolderMapping mapping)
{
    return std::exchange(InstalledMapping(), std::move(mapping));
}

QString MapHostFolder(const QString& hostFolder)
{
    const HostFolderMapping& mapping = InstalledMapping();
    return mapping ? mapping(hostFolder) : QString();
}

void GetDefaultExportFolder(QString& folder)
{
    const CPreferences& prefs = Preferences();
    folder = prefs.DefaultExportPath;
    if (!folder.isEmpty())
        return;

    const QString system = prefs.DefaultSystem;
    const QString library = prefs.DefaultLibrary;
    folder = EnterableFolder(HostPcinFolder(system, library));
    if (folder.isEmpty())
        folder = EnterableFolder(HostPcinFolder(QLatin1Char('Q') + system, library));
    if (!folder.isEmpty())
        return;

    Prompts().MessageBox(FormatResMessage(IDS_NO_EXPORT_PATH, system), {}, MB_OK | MB_ICONINFORMATION);
    folder = HostPcinFolder(system, library);
}

void DeleteFolderContents(const QString& path)
{
    if (path.isEmpty())
        return;
    RemoveBelow(std::filesystem::path(QFile::encodeName(path).toStdString()));
}
