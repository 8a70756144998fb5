#include "designer/resources/ResourceManager.h"

#include <unordered_set>

KWVD_IMPLEMENT_SERIAL(CResourceManager, CObject, VERSIONABLE_SCHEMA | 0)

CResourceManager::CResourceManager() = default;

CResourceManager::CResourceManager(CDesignerDoc* document)
    : m_pDocument(document)
{
}

CResourceManager::~CResourceManager()
{
    std::unordered_set<CObject*> deleted;
    for (CObject* resource : m_resources) {
        if (resource != nullptr && deleted.insert(resource).second)
            delete resource;
    }
    m_resources.RemoveAll();
}
