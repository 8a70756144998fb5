#include "designer/resources/AS400Name.h"

#include "platform/ui/StringTable.h"

namespace {

constexpr UINT IDS_DEFAULT_HOST_NAME = 235;
constexpr qsizetype kMaxTitle = 63;
constexpr qsizetype kMaxName = 8;

QString FileTitle(const QString& path)
{
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(slash + 1);
}

} // namespace

BOOL MakeValidAS400Name(QString& name)
{
    static const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789$#@_.");

    QString title = FileTitle(name).left(kMaxTitle).toUpper();
    if (!title.isEmpty() && title.at(0) >= u'0' && title.at(0) <= u'9')
        title.prepend(u'#');

    QString result;
    for (QChar character : title)
        if (alphabet.contains(character))
            result.append(character);

    const qsizetype dot = result.indexOf(u'.');
    if (dot >= 1 && dot <= kMaxName)
        result.truncate(dot);
    else
        result.truncate(kMaxName);

    if (result.isEmpty()) {
        result = LoadResString(IDS_DEFAULT_HOST_NAME);
        if (result == QLatin1String("???"))
            result = QStringLiteral("Default");
    }

    if (result == name)
        return FALSE;
    name = result;
    return TRUE;
}
