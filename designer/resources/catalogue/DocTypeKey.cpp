#include "designer/resources/catalogue/DocTypeKey.h"

#include "designer/resources/catalogue/DocStoreKey.h"

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
