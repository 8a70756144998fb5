#pragma once
// One key of a document type as DocStore::GetDocTypeKeys lists it. Not
// saved; the key is borrowed from its store and valid while the store is
// unchanged.

#include <QString>

class DocStoreKey;

struct DocTypeKey
{
    int sortIndex = -1;
    const DocStoreKey* key = nullptr; // null when no key has the relation's id
    int required = 0;
    int unique = 0;

    // The key's type description with " +Unique" and " +Required" for flags
    // that are exactly 1; empty without a key.
    QString GetDescription() const;
};
