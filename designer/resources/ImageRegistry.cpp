#include "designer/resources/ImageRegistry.h"

#include <unordered_set>

KWVD_IMPLEMENT_SERIAL(ImageRegistry, CObject, VERSIONABLE_SCHEMA | 0)

ImageRegistry::ImageRegistry() = default;

ImageRegistry::ImageRegistry(CDesignerDoc* document)
    : m_pDocument(document)
{
}

ImageRegistry::~ImageRegistry()
{
    std::unordered_set<CObject*> deleted;
    for (CObject* image : m_images) {
        if (image != nullptr && deleted.insert(image).second)
            delete image;
    }
    m_images.RemoveAll();
}

void ImageRegistry::SetDocument(CDesignerDoc* document)
{
    m_pDocument = document;
}
