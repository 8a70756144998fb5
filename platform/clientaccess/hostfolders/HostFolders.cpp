#include "platform/clientaccess/hostfolders/HostFolders.h"

#include "platform/clientaccess/HostStore.h"

#include <QDir>
#include <QRegularExpression>

using namespace kwvd::clientaccess;

namespace kwvd::hostfolders {

namespace {

bool IsSeparator(QChar c)
{
    return c == u'\\' || c == u'/';
}

} // namespace

bool IsHostPath(const QString& path)
{
    return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

QString LocalPathOfHostPath(const QString& hostPath)
{
    if (!IsHostPath(hostPath))
        return {};
    static const QRegularExpression separators(QStringLiteral("[\\\\/]"));
    QStringList components = hostPath.mid(2).split(separators, Qt::SkipEmptyParts);
    if (components.isEmpty())
        return {};
    const QString serverName = components.takeFirst();
    const std::optional<StoreState> state = ReadStore();
    if (!state)
        return {};
    const HostSystem* found = nullptr;
    for (const HostSystem& system : state->systems) {
        if (system.name.compare(serverName, Qt::CaseInsensitive) == 0
            || system.FileServerNames().contains(serverName, Qt::CaseInsensitive)) {
            found = &system;
            break;
        }
    }
    if (!found)
        return {};
    QString local = ResolveIgnoringCase(IfsFolder(found->name), components);
    if (local.isEmpty())
        return {};
    if (IsSeparator(hostPath.back()))
        local += u'/';
    return local;
}

QString HostPathOfLocalPath(const QString& localPath)
{
    if (localPath.isEmpty())
        return {};
    const QString clean =
        QDir::cleanPath(QDir::isAbsolutePath(localPath) ? localPath : QDir::current().absoluteFilePath(localPath));
    const std::optional<StoreState> state = ReadStore();
    if (!state)
        return {};
    for (const HostSystem& system : state->systems) {
        const QString ifs = QDir::cleanPath(IfsFolder(system.name));
        if (clean != ifs && !clean.startsWith(ifs + u'/'))
            continue;
        QString rest = clean.mid(ifs.size());
        rest.replace(u'/', u'\\');
        QString host = QStringLiteral("\\\\") + system.name + rest;
        if (localPath.endsWith(u'/') && !host.endsWith(u'\\'))
            host += u'\\';
        return host;
    }
    return {};
}

} // namespace kwvd::hostfolders
