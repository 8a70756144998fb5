// The document's import and export commands: JVX files to and from the
// host's folders, and XML files.
#include "designer/document/DesignerDoc.h"
#include "designer/document/ExportChoice.h"
#include "designer/document/ExportFolder.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/AS400Name.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptService.h"
#include "platform/ui/StringTable.h"
#include "platform/ui/WaitCursor.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The file's name without its last extension, as the host member is named.
QString FileTitleOf(const QString& path)
{
    return QFileInfo(path).completeBaseName();
}

// The path with the file's title replaced, its folder and extension kept.
QString WithFileTitle(const QString& path, const QString& title)
{
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    QString name = title;
    if (info.fileName().contains(QLatin1Char('.')))
        name += QLatin1Char('.') + suffix;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? name : path.left(slash + 1) + name;
}

bool FileCanBeRead(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

int AskYesNo(const QString& text)
{
    return Prompts().MessageBox(text, {}, MB_YESNO | MB_ICONEXCLAMATION);
}

// Whether the chosen path may be written: the member name made valid, with
// the user's consent, and an existing file replaced only when the user
// allows it. False sends the user back to the dialog.
bool ConfirmExportPath(QString& path, QString& memberName, bool overwrite)
{
    QString valid = memberName;
    if (MakeValidAS400Name(valid)) {
        if (AskYesNo(FormatResMessage(IDS_INVALID_MEMBER_NAME, memberName, valid)) != IDYES)
            return false;
        path = WithFileTitle(path, valid);
        memberName = valid;
    }
    // Also after a renaming: the new name may be that of a file already there.
    if (!overwrite && FileCanBeRead(path))
        return AskYesNo(FormatResMessage(IDS_FILE_EXISTS_REPLACE, path)) == IDYES;
    return true;
}

} // namespace

void CDesignerDoc::OnExportWvd()
{
    CPreferences& prefs = Preferences();
    ExportChoice choice;
    choice.title = LoadResString(IDS_EXPORT_TITLE);
    GetDefaultExportFolder(choice.initialFolder);
    QString memberName = m_wvdName.GetValue().trimmed();
    if (memberName.isEmpty())
        memberName = GetTitle();
    MakeValidAS400Name(memberName);
    choice.defaultExtension = LoadResString(IDS_EXPORT_DEFAULT_EXTENSION);
    choice.fileName = memberName + QLatin1Char('.') + choice.defaultExtension;
    choice.filter = ExportFilter();
    choice.filterIndex = ExportFilterIndexForVersion(prefs.DefaultJVXVersion);
    // The import program is called through the host access library: offered,
    // and on, only while it is loaded.
    choice.offerAutoImport = prefs.IsServerAccessLoaded() != FALSE;
    choice.autoImport = choice.offerAutoImport;
    choice.overwrite = m_replaceWithoutAsking == 1;

    for (;;) {
        if (!RunExportDialog(choice))
            return;
        QString path = choice.path;
        memberName = FileTitleOf(path);
        const int version = ExportVersionForFilterIndex(choice.filterIndex);
        choice.filterIndex = ExportFilterIndexForVersion(version);
        prefs.DefaultJVXVersion = version;
        if (!ConfirmExportPath(path, memberName, choice.overwrite))
            continue;

        const BOOL exported = ExportJVXFile(path, memberName, version);
        prefs.SetDefaultExportPath(ExportFolderToRemember(QFileInfo(path).absolutePath()));
        if (exported) {
            if (choice.autoImport)
                CallImportProgram(memberName, version);
            m_replaceWithoutAsking = choice.overwrite ? TRUE : FALSE;
            m_automaticImport = choice.autoImport ? TRUE : FALSE;
        }
        return;
    }
}

void CDesignerDoc::CallImportProgram(const QString& memberName, int version)
{
    const CPreferences& prefs = Preferences();
    const QString program = prefs.DefaultLibrary + QLatin1Char('/') + LoadResString(IDS_IMPORT_PROGRAM);
    // Definitions written for version 8 and later name their library too.
    QString parameters = memberName;
    if (version > 7)
        parameters += QLatin1Char(' ') + prefs.DefaultLibrary;
    CWaitCursor wait;
    CallInstalledRemoteProgram(prefs.DefaultSystem, program, parameters);
}

void CDesignerDoc::OnImportFromServer()
{
    CDocChangeGuard guard(this);
    FileDialogRequest request;
    GetDefaultExportFolder(request.initialFolder);
    request.filter = QStringLiteral("WVD Export Files|*.jvx|All Files|*.*||");
    for (;;) {
        const QString path = Prompts().GetOpenFileName(request);
        if (path.isEmpty())
            return;
        if (ImportJVXFile(path)) {
            Preferences().SetDefaultExportPath(ExportFolderToRemember(QFileInfo(path).absolutePath()));
            BroadcastHint(DocumentHint::PageSetupChanged, nullptr);
            return;
        }
    }
}

void CDesignerDoc::OnImportXml()
{
    CDocChangeGuard guard(this);
    FileDialogRequest request;
    request.filter =
        QStringLiteral("XML Files (*.xml;*.xdr)|*.xml;*.xdr|Schema Files (*.xdr)|*.xdr|All Files (*.*)|*.*||");
    for (;;) {
        const QString path = Prompts().GetOpenFileName(request);
        if (path.isEmpty())
            return;
        if (ImportXmlFile(this, path)) {
            SetModifiedFlag(TRUE);
            RevalidateElements(0);
            BroadcastHint(DocumentHint::OptionsChanged, nullptr);
            return;
        }
    }
}
