#include "designer/document/ExportChoice.h"

#include "platform/ui/StringTable.h"

#include <QStringList>

#include <algorithm>
#include <utility>

namespace {

ExportDialogRunner& InstalledRunner()
{
    static ExportDialogRunner runner;
    return runner;
}

RemoteProgramCaller& InstalledCaller()
{
    static RemoteProgramCaller caller;
    return caller;
}

} // namespace

void RegisterExportStrings()
{
    static constexpr StringTable::Entry kEntries[] = {
        {IDS_EXPORT_DEFAULT_EXTENSION, "jvx"},
        {IDS_EXPORT_BUTTON, "&Export"},
        {IDS_FILE_EXISTS_REPLACE, "File \"%1\" already exists.\nDo you want to replace it ?"},
        {IDS_INVALID_MEMBER_NAME, "The Filename %1 is invalid. Would you like to change it to %2 ?\nValid names must "
                                  "begin with a letter and be less than 9 characters in length."},
        {IDS_NO_EXPORT_PATH, "You do not have a valid export path.  You need to browse to the KWVD/PCIN folder "
                             "located on the Server \"%1\" before you export your WVD file."},
        {IDS_IMPORT_PROGRAM, "PCWVDCL"},
        {IDS_AUTO_IMPORT, "Auto Import"},
        {IDS_OVERWRITE_EXISTING, "Overwrite Existing"},
        {IDS_EXPORT_TITLE, "Export WVD"},
    };
    StringTable::Add(kEntries);
}

int ClampExportVersion(int version)
{
    return std::clamp(version, kOldestExportVersion, kNewestExportVersion);
}

int ExportVersionForFilterIndex(int filterIndex)
{
    if (filterIndex < 1 || filterIndex >= kExportFilterCount)
        return kNewestExportVersion;
    return ClampExportVersion(kNewestExportVersion + 1 - filterIndex);
}

int ExportFilterIndexForVersion(int version)
{
    return kNewestExportVersion + 1 - ClampExportVersion(version);
}

QString ExportFilter()
{
    QStringList parts{QStringLiteral("WVD Export Files"), QStringLiteral("*.jvx")};
    for (int version = kNewestExportVersion - 1; version >= kOldestExportVersion; --version)
        parts << QStringLiteral("WVD Export Files (Version %1)").arg(version) << QStringLiteral("*.jvx");
    parts << QStringLiteral("All Files") << QStringLiteral("*.*");
    return parts.join(QLatin1Char('|')) + QStringLiteral("||");
}

ExportDialogRunner SetExportDialogRunner(ExportDialogRunner runner)
{
    return std::exchange(InstalledRunner(), std::move(runner));
}

bool RunExportDialog(ExportChoice& choice)
{
    const ExportDialogRunner& runner = InstalledRunner();
    return runner && runner(choice);
}

RemoteProgramCaller SetRemoteProgramCaller(RemoteProgramCaller caller)
{
    return std::exchange(InstalledCaller(), std::move(caller));
}

void CallInstalledRemoteProgram(const QString& system, const QString& program, const QString& parameters)
{
    if (const RemoteProgramCaller& caller = InstalledCaller())
        caller(system, program, parameters);
}
