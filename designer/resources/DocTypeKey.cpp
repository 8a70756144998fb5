#include "designer/resources/DocTypeKey.h"

#include "designer/resources/DocStoreKey.h"

QString DocTypeKey::GetDescription() const
{
    if (key == nullptr)
        return {};
    QString description = key->GetTypeDescription();
    if (unique == 1)
        description += QLatin1String(" +Unique");
    if (required == 1)
        description += QLatin1String(" +Required");
    return description;
}
