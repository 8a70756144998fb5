#include "platform/help/HtmlHelp.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>

namespace kwvd {

namespace {

UrlOpener& InstalledOpener()
{
    static UrlOpener opener;
    return opener;
}

// The help pages are ours and small; a topic exists when its anchor does.
bool FileHasAnchor(const QString& helpFile, const QString& anchor)
{
    QFile file(helpFile);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = file.readAll();
    const QByteArray id = anchor.toUtf8();
    return text.contains("id=\"" + id + '"') || text.contains("id='" + id + '\'');
}

} // namespace

UrlOpener SetUrlOpener(UrlOpener opener)
{
    UrlOpener previous = std::move(InstalledOpener());
    InstalledOpener() = std::move(opener);
    return previous;
}

bool OpenUrl(const QUrl& url)
{
    if (const UrlOpener& opener = InstalledOpener())
        return opener(url);
    return QDesktopServices::openUrl(url);
}

QString HelpTopicAnchor(DWORD contextId)
{
    return QStringLiteral("topic-%1").arg(contextId);
}

bool HtmlHelp(const QString& helpFile, UINT command, DWORD data)
{
    const QFileInfo info(helpFile);
    if (helpFile.isEmpty() || !info.isFile())
        return false;
    QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    switch (command) {
    case HH_DISPLAY_TOC:
    case HH_DISPLAY_TOPIC:
        break;
    case HH_HELP_CONTEXT: {
        const QString anchor = HelpTopicAnchor(data);
        if (!FileHasAnchor(helpFile, anchor))
            return false;
        url.setFragment(anchor);
        break;
    }
    default:
        return false;
    }
    return OpenUrl(url);
}

} // namespace kwvd
