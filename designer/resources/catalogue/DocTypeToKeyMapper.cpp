#include "designer/resources/catalogue/DocTypeToKeyMapper.h"

#include "designer/resources/catalogue/DocStoreManager.h"
#include "designer/resources/catalogue/DocStoreXml.h"
#include "platform/framework/Archive.h"

KWVD_IMPLEMENT_SERIAL(DocTypeToKeyMapper, CObject, VERSIONABLE_SCHEMA | 0)

void DocTypeToKeyMapper::ReadFromXml(xmlNode* element)
{
    docTypeId = docstore::ReadChildNumber(element, "docTypeID", -1);
    keyTableId = docstore::ReadChildNumber(element, "keyTableID", -1);
    sortIndex = docstore::ReadChildNumber(element, "sortIndex", -1);
    // Only exactly 1 sets a flag.
    required = docstore::ReadChildNumber(element, "keyRequired", 0) == 1 ? 1 : 0;
    unique = docstore::ReadChildNumber(element, "keyUnique", 0) == 1 ? 1 : 0;
}

void DocTypeToKeyMapper::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(docTypeId) << static_cast<LONG>(keyTableId) << static_cast<LONG>(sortIndex)
           << static_cast<WORD>(required) << static_cast<WORD>(unique);
        return;
    }
    LONG docType = 0, keyTable = 0, sort = 0;
    ar >> docType >> keyTable >> sort;
    docTypeId = docType;
    keyTableId = keyTable;
    sortIndex = sort;
    required = 0;
    unique = 0;
    if (CDocStoreManager::FileVersionOf(ar) >= 54) {
        WORD requiredWord = 0, uniqueWord = 0;
        ar >> requiredWord >> uniqueWord;
        required = requiredWord;
        unique = uniqueWord;
    }
}
