#pragma once
// One document type of a document store.

#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <QString>

struct _xmlNode;
typedef struct _xmlNode xmlNode;

class DocStoreDocType : public CObject
{
    KWVD_DECLARE_SERIAL(DocStoreDocType)

public:
    DocStoreDocType() = default;
    DocStoreDocType(const DocStoreDocType&) = default;
    DocStoreDocType& operator=(const DocStoreDocType&) = default;

    int GetId() const { return m_id; }
    QString GetName() const { return m_name; }
    QString GetDescription() const { return m_description; }
    // Held while the document is open; never saved.
    QString GetRootFolder() const { return m_rootFolder; }
    int GetAutoName() const { return m_autoName; }

    // Fills the type from a "documentType" element; FALSE when it has no
    // "name" child.
    BOOL ReadFromXml(xmlNode* element);

    void Serialize(CArchive& ar) override;

private:
    int m_id = -1;
    QString m_name;
    QString m_description;
    QString m_rootFolder;
    int m_autoName = 0;
};
