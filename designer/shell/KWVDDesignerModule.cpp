#include "designer/shell/KWVDDesignerModule.h"

#include "platform/framework/Exceptions.h"
#include "platform/framework/File.h"
#include "platform/framework/SafeFileSave.h"
#include "platform/registry/RegistryStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

using kwvd::RegistryStatus;
using kwvd::RegistryStore;
using kwvd::RegistryValue;

const QString CKWVDDesignerModule::kAppId = QStringLiteral("{5B0E3C41-7D2A-4E8B-9F16-2C4A8D7E1B93}");
const QString CKWVDDesignerModule::kAppIdName = QStringLiteral("KWVDDesigner");
const QString CKWVDDesignerModule::kExecutableKey = QStringLiteral("KWVD Designer.EXE");
const QString CKWVDDesignerModule::kMimeType = QStringLiteral("application/x-kwvd-wvd");

namespace {

const QString kAppIdRoot = QStringLiteral("AppID");

bool WriteTextFile(const QString& path, const QByteArray& text)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    try {
        kwvd::SaveFileReplacing(path,
                                [&](CFile& file) { file.Write(text.constData(), static_cast<UINT>(text.size())); });
    } catch (const CException&) {
        return false;
    }
    return true;
}

bool RemoveFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    return QFile::remove(path);
}

// A desktop entry's Exec value quotes its program and escapes what the
// quoting would otherwise end or expand.
QString QuoteExec(const QString& program)
{
    QString escaped;
    for (const QChar c : program) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            escaped += u'\\';
        if (c == u'%')
            escaped += u'%';
        escaped += c;
    }
    return u'"' + escaped + u'"';
}

// Tells the desktop's caches of the change when their tools are there; the
// files are what counts, so a missing tool is no failure.
void RefreshDesktopCaches(const QString& dataHome)
{
    const auto run = [](const QString& tool, const QString& folder) {
        const QString program = QStandardPaths::findExecutable(tool);
        if (program.isEmpty() || !QFileInfo(folder).isDir())
            return;
        QProcess process;
        process.start(program, {folder});
        if (process.waitForStarted(5000) && !process.waitForFinished(10000))
            process.kill();
    };
    run(QStringLiteral("update-mime-database"), dataHome + QStringLiteral("/mime"));
    run(QStringLiteral("update-desktop-database"), dataHome + QStringLiteral("/applications"));
}

} // namespace

BOOL CKWVDDesignerModule::UpdateRegistryAppId(BOOL bRegister)
{
    RegistryStore& store = RegistryStore::Instance();
    const std::optional<kwvd::RegistryKey> root = store.CreateKey(HKEY_CLASSES_ROOT, kAppIdRoot);
    if (!root)
        return FALSE;
    if (!bRegister) {
        bool ok = true;
        for (const QString& name : {kAppId, kExecutableKey}) {
            const RegistryStatus status = store.DeleteKey(*root, name);
            ok = ok && (status == RegistryStatus::Ok || status == RegistryStatus::NotFound);
        }
        return ok ? TRUE : FALSE;
    }
    const std::optional<kwvd::RegistryKey> idKey = store.CreateKey(*root, kAppId);
    const std::optional<kwvd::RegistryKey> exeKey = store.CreateKey(*root, kExecutableKey);
    if (!idKey || !exeKey)
        return FALSE;
    const bool ok =
        store.WriteValue(*idKey, QString(), RegistryValue::Text(kAppIdName)) == RegistryStatus::Ok
        && store.WriteValue(*exeKey, QStringLiteral("AppID"), RegistryValue::Text(kAppId)) == RegistryStatus::Ok;
    return ok ? TRUE : FALSE;
}

QString CKWVDDesignerModule::DataHome()
{
    const QByteArray xdg = qgetenv("XDG_DATA_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(QString::fromLocal8Bit(xdg)))
        return QString::fromLocal8Bit(xdg);
    return QDir::homePath() + QStringLiteral("/.local/share");
}

QString CKWVDDesignerModule::DesktopEntryPath()
{
    return DataHome() + QStringLiteral("/applications/kwvd-designer.desktop");
}

QString CKWVDDesignerModule::MimePackagePath()
{
    return DataHome() + QStringLiteral("/mime/packages/kwvd-designer.xml");
}

BOOL CKWVDDesignerModule::RegisterServer(const QString& programPath)
{
    const QByteArray entry = QStringLiteral("[Desktop Entry]\n"
                                            "Type=Application\n"
                                            "Name=KWVD Designer\n"
                                            "Comment=Design WVD documents over spooled files\n"
                                            "Exec=%1 %f\n"
                                            "MimeType=%2;\n"
                                            "Terminal=false\n"
                                            "Categories=Office;\n")
                                 .arg(QuoteExec(programPath), kMimeType)
                                 .toUtf8();
    const QByteArray mime =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                       "  <mime-type type=\"%1\">\n"
                       "    <comment>KWVD Document</comment>\n"
                       "    <glob pattern=\"*.wvd\" case-sensitive=\"false\"/>\n"
                       "  </mime-type>\n"
                       "</mime-info>\n")
            .arg(kMimeType)
            .toUtf8();
    const bool ok = WriteTextFile(MimePackagePath(), mime) && WriteTextFile(DesktopEntryPath(), entry);
    RefreshDesktopCaches(DataHome());
    return ok ? TRUE : FALSE;
}

BOOL CKWVDDesignerModule::UnregisterServer()
{
    const bool ok = RemoveFile(DesktopEntryPath()) & RemoveFile(MimePackagePath());
    RefreshDesktopCaches(DataHome());
    return ok ? TRUE : FALSE;
}
