#pragma once
// One relation of a document store: this key describes documents of this
// type, at this position, perhaps required or unique.

#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

struct _xmlNode;
typedef struct _xmlNode xmlNode;

class DocTypeToKeyMapper : public CObject
{
    KWVD_DECLARE_SERIAL(DocTypeToKeyMapper)

public:
    DocTypeToKeyMapper() = default;
    DocTypeToKeyMapper(const DocTypeToKeyMapper&) = default;
    DocTypeToKeyMapper& operator=(const DocTypeToKeyMapper&) = default;

    // Fills the relation from a "documentTypeKey" element; every child is
    // optional.
    void ReadFromXml(xmlNode* element);

    // The two flags are read only from files of version 54 on.
    void Serialize(CArchive& ar) override;

    int docTypeId = -1;
    int keyTableId = -1;
    int sortIndex = -1;
    int required = 0;
    int unique = 0;
};
