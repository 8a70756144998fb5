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

HostFormOfFolder& InstalledHostForm()
{
    static HostFormOfFolder hostForm;
    return hostForm;
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

HostFormOfFolder SetHostFormOfFolder(HostFormOfFolder hostForm)
{
    return std::exchange(InstalledHostForm(), std::move(hostForm));
}

QString ExportFolderToRemember(const QString& localFolder)
{
    const HostFormOfFolder& hostForm = InstalledHostForm();
    if (!hostForm || localFolder.isEmpty())
        return localFolder;
    QString withSeparator = localFolder;
    if (!withSeparator.endsWith(u'/'))
        withSeparator += u'/';
    const QString host = hostForm(withSeparator);
    return host.isEmpty() ? localFolder : host;
}

QString LocalExportFolder(const QString& folder)
{
    const QString local = MapHostFolder(folder);
    return local.isEmpty() ? folder : local;
}

void GetDefaultExportFolder(QString& folder)
{
    const CPreferences& prefs = Preferences();
    folder = prefs.DefaultExportPath;
    if (!folder.isEmpty()) {
        folder = LocalExportFolder(folder);
        return;
    }

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
