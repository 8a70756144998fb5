#pragma once
// One store of the host's document store: its name, description and
// library, with its document types, index keys and the relations between
// them, each list in the order the server gave.

#include "designer/resources/catalogue/DocStoreDocType.h"
#include "designer/resources/catalogue/DocStoreKey.h"
#include "designer/resources/catalogue/DocTypeKey.h"
#include "designer/resources/catalogue/DocTypeToKeyMapper.h"
#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <QString>

#include <vector>

class XmlDocument;

class DocStore : public CObject
{
    KWVD_DECLARE_SERIAL(DocStore)

public:
    DocStore() = default;
    // Copies are whole: every document type, key and relation.
    DocStore(const DocStore&) = default;
    DocStore& operator=(const DocStore&) = default;

    QString GetName() const { return m_name; }
    QString GetDescription() const { return m_description; }
    QString GetLibrary() const { return m_library; }

    const std::vector<DocStoreDocType>& GetDocTypes() const { return m_docTypes; }
    const std::vector<DocStoreKey>& GetKeys() const { return m_keys; }
    const std::vector<DocTypeToKeyMapper>& GetRelations() const { return m_relations; }

    // The first document type of exactly that name, or null.
    const DocStoreDocType* FindDocType(const QString& name) const;

    // Appends the keys of the named document type to keys, ordered by sort
    // index (equal indexes keep the relations' order); a relation whose key
    // is missing gives an entry with a null key.
    void GetDocTypeKeys(const QString& docTypeName, std::vector<DocTypeKey>& keys) const;

    // Fills name, description and library from a "store" element and
    // empties the rest; FALSE when it has no "name" child.
    BOOL ReadFromXml(xmlNode* element);

    // Asks the catalogue server for the store's keys, document types and
    // relations. On failure the user is told (message 370), the store keeps
    // what it had and the result is FALSE.
    BOOL LoadStoreDetails(const QString& baseUrl);

    // Replaces the keys, document types and relations by those of a details
    // answer; sections that are missing leave their list empty.
    void ReadDetails(const XmlDocument& answer);

    // Takes over the keys, document types and relations of another store.
    void CopyDetailsFrom(const DocStore& other);

    void Serialize(CArchive& ar) override;

private:
    QString m_name;
    QString m_description;
    QString m_library;
    std::vector<DocStoreDocType> m_docTypes;
    std::vector<DocStoreKey> m_keys;
    std::vector<DocTypeToKeyMapper> m_relations;
};
