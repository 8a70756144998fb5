#include "designer/shell/HostExport.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/ExportChoice.h"
#include "designer/document/ExportFolder.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/AS400Name.h"
#include "designer/shell/AS400SoxClient.h"
#include "designer/shell/ExportToAS400UsingSocketsDlg.h"
#include "designer/shell/ServerAccess.h"
#include "hostaccess/api/EntryPoints.h"
#include "platform/clientaccess/hostfolders/HostFolders.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/PromptService.h"
#include "platform/ui/StringTable.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <cstdlib>

namespace {

constexpr int kHighestVersion = 28;
// From this version on the import program is told the library as well.
constexpr int kFirstVersionWithLibrary = 8;

QString ImportParameters(const QString& memberName, int version, const QString& library)
{
    return version >= kFirstVersionWithLibrary ? memberName + u' ' + library : memberName;
}

// A folder of its own for one upload, made where no other process can take
// its name first, emptied and removed when the upload ends.
class UploadFolder
{
public:
    UploadFolder()
    {
        for (const QString& base : {QDir::tempPath(), Preferences().DefaultDocDirectory}) {
            if (base.isEmpty())
                continue;
            QByteArray pattern = QFile::encodeName(QDir(base).filePath(QStringLiteral("KWVDXXXXXX")));
            if (mkdtemp(pattern.data())) {
                m_path = QFile::decodeName(pattern);
                break;
            }
        }
    }
    ~UploadFolder()
    {
        if (m_path.isEmpty())
            return;
        DeleteFolderContents(m_path);
        QDir().rmdir(m_path);
    }
    UploadFolder(const UploadFolder&) = delete;
    UploadFolder& operator=(const UploadFolder&) = delete;

    const QString& Path() const { return m_path; }

private:
    QString m_path;
};

} // namespace

void RegisterHostExportStrings()
{
    static constexpr StringTable::Entry kEntries[] = {
        {IDS_CONNECT_FAILED, "Failed to Connect To Server %1.\nError Message: %2\nEnsure the server name is correct "
                             "and that RAROVA is running in KWVD Subsystem."},
        {IDS_MEMBER_EXISTS_OVERWRITE, "%1 Already exists in library %2, are you sure you want to overwrite it ?"},
        {IDS_AUTO_IMPORT_FAILED, "Failed to Automatically Import %1.\nError Text:\n%2"},
        {IDS_AUTO_IMPORT_WARNINGS, "WVD %1 Automatically Imported, however warnings were issued:\n%2"},
    };
    StringTable::Add(kEntries);
    RegisterExportToAS400UsingSocketsDlgStrings();
}

void ExportUsingSockets(CDesignerDoc* doc)
{
    if (!doc)
        return;
    CPreferences& prefs = Preferences();
    CExportToAS400UsingSocketsDlg dialog(
        doc,
        [doc](const QString& member, int version, BOOL autoImport, BOOL overwrite) {
            return UploadUsingSockets(doc, member, version, autoImport, overwrite);
        },
        QApplication::activeWindow());
    QString memberName = doc->WvdName().GetValue().trimmed();
    if (memberName.isEmpty())
        memberName = doc->GetTitle();
    MakeValidAS400Name(memberName);
    dialog.m_memberName = memberName;
    dialog.m_version = prefs.DefaultJVXVersion;
    dialog.m_autoImport = doc->m_automaticImport ? 1 : 0;
    dialog.m_overwrite = doc->m_replaceWithoutAsking ? 1 : 0;
    dialog.exec();
}

int UploadUsingSockets(CDesignerDoc* doc, QString memberName, int version, BOOL autoImport, BOOL overwrite)
{
    if (!doc)
        return 0;
    CPreferences& prefs = Preferences();
    const QString system = prefs.DefaultSystem;
    const QString library = prefs.DefaultLibrary;
    const QString remoteFolder = QStringLiteral("/QDLS/") + library + QStringLiteral("/PCIN/");
    if (version < 1 || version > kHighestVersion)
        version = kHighestVersion;
    prefs.DefaultJVXVersion = version;
    MakeValidAS400Name(memberName);

    const UploadFolder folder;
    if (folder.Path().isEmpty()) {
        AfxMessageBox(QStringLiteral("No folder could be made for the files to send."), MB_OK | MB_ICONERROR);
        return 0;
    }
    const QString path = QDir(folder.Path()).filePath(memberName + u'.' + LoadResString(IDS_EXPORT_DEFAULT_EXTENSION));
    if (!doc->ExportJVXFile(path, memberName, version))
        return 0;

    // Declared after the folder: the conversation ends (code 5) first.
    CAS400SoxClient client;
    if (!client.Connect(system, prefs.ExportSocketsPort)) {
        Prompts().MessageBox(FormatResMessage(IDS_CONNECT_FAILED, system, client.GetErrorText()), {},
                             MB_OK | MB_ICONERROR);
        return 0;
    }
    BOOL exists = FALSE;
    if (!client.CheckMember(library, memberName, &exists)) {
        Prompts().MessageBox(client.GetErrorText(), {}, MB_OK | MB_ICONERROR);
        return 0;
    }
    if (exists && !overwrite
        && Prompts().MessageBox(FormatResMessage(IDS_MEMBER_EXISTS_OVERWRITE, memberName, library), {},
                                MB_YESNO | MB_ICONQUESTION)
               != IDYES)
        return 0;
    if (!client.SendFiles(folder.Path(), remoteFolder)) {
        Prompts().MessageBox(client.GetErrorText(), {}, MB_OK | MB_ICONERROR);
        return 0;
    }
    if (autoImport) {
        int reply = 0;
        const QString parameters = ImportParameters(memberName, version, library);
        if (!client.RunRemoteProgram(library, parameters, LoadResString(IDS_IMPORT_PROGRAM), &reply)) {
            if (reply != kImportWarningsReply) {
                Prompts().MessageBox(FormatResMessage(IDS_AUTO_IMPORT_FAILED, memberName, client.GetErrorText()), {},
                                     MB_OK | MB_ICONERROR);
                return 0;
            }
            Prompts().MessageBox(FormatResMessage(IDS_AUTO_IMPORT_WARNINGS, memberName, client.GetErrorText()), {},
                                 MB_OK | MB_ICONWARNING);
        }
    }
    doc->m_replaceWithoutAsking = overwrite ? TRUE : FALSE;
    return 1;
}

void InstallHostExport(const ServerAccess* access)
{
    RegisterHostExportStrings();
    SetHostFolderMapping([](const QString& hostFolder) { return kwvd::hostfolders::LocalPathOfHostPath(hostFolder); });
    SetHostFormOfFolder([](const QString& localFolder) { return kwvd::hostfolders::HostPathOfLocalPath(localFolder); });
    SetRemoteProgramCaller([access](const QString& system, const QString& program, const QString& parameters) {
        const auto call =
            access
                ? reinterpret_cast<CallRemoteProgramProc>(access->FindEntryPoint(MerrowEntryPoint::kCallRemoteProgram))
                : nullptr;
        // The library shows its own messages.
        if (call)
            call(&system, &program, &parameters);
    });
}
