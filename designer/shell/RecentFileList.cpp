#include "designer/shell/RecentFileList.h"

#include "platform/registry/RegistryStore.h"

#include <QDir>
#include <QFileInfo>

using kwvd::RegistryStore;
using kwvd::RegistryValue;

namespace {

QString SectionPath()
{
    return kwvd::ApplicationKeyPath(u"KWVD Designer") + QStringLiteral("\\Recent File List");
}

QString EntryName(int index)
{
    return QStringLiteral("File%1").arg(index + 1);
}

} // namespace

CRecentFileList::CRecentFileList(int size) : m_size(size < 1 ? 1 : size) {}

QString CRecentFileList::operator[](int index) const
{
    return index >= 0 && index < m_paths.size() ? m_paths[index] : QString();
}

void CRecentFileList::Add(const QString& path)
{
    if (path.isEmpty())
        return;
    const QString full = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    m_paths.removeAll(full);
    m_paths.prepend(full);
    while (m_paths.size() > m_size)
        m_paths.removeLast();
}

void CRecentFileList::Remove(int index)
{
    if (index >= 0 && index < m_paths.size())
        m_paths.removeAt(index);
}

QString CRecentFileList::GetDisplayName(int index) const
{
    if (index < 0 || index >= m_paths.size())
        return {};
    // A literal "&" in a path must not become a mnemonic.
    QString shown = QDir::toNativeSeparators(m_paths[index]);
    shown.replace(u'&', QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}

void CRecentFileList::ReadList()
{
    m_paths.clear();
    RegistryStore& store = RegistryStore::Instance();
    const std::optional<kwvd::RegistryKey> key = store.OpenKey(HKEY_CURRENT_USER, SectionPath());
    if (!key)
        return;
    for (int i = 0; i < m_size; ++i) {
        const std::optional<QString> path = store.ReadText(*key, EntryName(i));
        if (path && !path->isEmpty() && !m_paths.contains(*path))
            m_paths.append(*path);
    }
}

void CRecentFileList::WriteList() const
{
    RegistryStore& store = RegistryStore::Instance();
    const std::optional<kwvd::RegistryKey> key = store.CreateKey(HKEY_CURRENT_USER, SectionPath());
    if (!key)
        return;
    for (int i = 0; i < m_size; ++i) {
        if (i < m_paths.size())
            store.WriteValue(*key, EntryName(i), RegistryValue::Text(m_paths[i]));
        else
            store.DeleteValue(*key, EntryName(i));
    }
}
