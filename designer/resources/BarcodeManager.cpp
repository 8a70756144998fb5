#include "designer/resources/BarcodeManager.h"

#include <unordered_set>

KWVD_IMPLEMENT_SERIAL(CBarcodeManager, CObject, VERSIONABLE_SCHEMA | 0)

CBarcodeManager::CBarcodeManager() = default;

CBarcodeManager::CBarcodeManager(CDesignerDoc* document)
    : m_pDocument(document)
{
}

CBarcodeManager::~CBarcodeManager()
{
    std::unordered_set<CObject*> deleted;
    for (CObject* barcode : m_barcodes) {
        if (barcode != nullptr && deleted.insert(barcode).second)
            delete barcode;
    }
    m_barcodes.RemoveAll();
}
