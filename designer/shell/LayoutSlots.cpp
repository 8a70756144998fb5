#include "designer/shell/LayoutSlots.h"

#include "platform/registry/RegistryStore.h"

QString DesignerKeyPath()
{
    return kwvd::ApplicationKeyPath(u"KWVD Designer");
}

QString LayoutSlotSection(int slot)
{
    return QStringLiteral("Preferences\\AppLayout\\Layout-%1").arg(slot, 2, 10, QLatin1Char('0'));
}

std::optional<kwvd::RegistryKey> OpenStateSection(const QString& section, bool create)
{
    kwvd::RegistryStore& store = kwvd::RegistryStore::Instance();
    const QString path = DesignerKeyPath() + u'\\' + section;
    return create ? store.CreateKey(HKEY_CURRENT_USER, path) : store.OpenKey(HKEY_CURRENT_USER, path);
}
