#pragma once
// One index key of a document store: the server's id, the column type with
// its size and scale, and a description the address fields show.

#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <QString>

struct _xmlNode;
typedef struct _xmlNode xmlNode;

// The key's column type; the names are those of the server's answers and of
// the WVD file.
enum class DocStoreKeyType : int {
    SmallInt = 0,
    Integer = 1,
    BigInt = 2,
    Char = 3,
    VarChar = 4,
    TimeStamp = 5,
    Date = 6,
    Time = 7,
    Float = 8,
    Real = 9,
    Double = 10,
    Decimal = 11,
    Numeric = 12,
    Unknown = 13,
};

class DocStoreKey : public CObject
{
    KWVD_DECLARE_SERIAL(DocStoreKey)

public:
    DocStoreKey() = default;
    DocStoreKey(const DocStoreKey&) = default;
    DocStoreKey& operator=(const DocStoreKey&) = default;

    int GetId() const { return m_id; }
    DocStoreKeyType GetType() const { return m_type; }
    QString GetName() const { return m_name; }
    QString GetDescription() const { return m_description; }
    int GetSize() const { return m_size; }
    int GetScale() const { return m_scale; }
    QString GetTypeDescription() const { return m_typeDescription; }

    // Upper-cases the name before the comparison; Unknown when no row has it.
    static DocStoreKeyType ParseTypeName(const QString& name);
    // Empty for a value outside the table.
    static QString GetTypeName(DocStoreKeyType type);

    // The type's description with size (and scale) filled in.
    void BuildTypeDescription();

    // Fills the key from a "docStoreKey" element; FALSE when it has no
    // "name" child.
    BOOL ReadFromXml(xmlNode* element);

    // The type travels as its name; the type description is rebuilt on
    // reading and never written.
    void Serialize(CArchive& ar) override;

private:
    int m_id = -1;
    DocStoreKeyType m_type = DocStoreKeyType::Unknown;
    QString m_name;
    QString m_description;
    int m_size = 0;
    int m_scale = 0;
    QString m_typeDescription;
};
