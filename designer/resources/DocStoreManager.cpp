#include "designer/resources/DocStoreManager.h"

KWVD_IMPLEMENT_SERIAL(CDocStoreManager, CObject, VERSIONABLE_SCHEMA | 0)

CDocStoreManager::CDocStoreManager() = default;

CDocStoreManager::CDocStoreManager(CDesignerDoc* document)
    : m_pDocument(document)
{
}

CDocStoreManager::~CDocStoreManager() = default;
