#include "designer/resources/ResourceClasses.h"

#include "designer/resources/BarcodeManager.h"
#include "designer/resources/DocStore.h"
#include "designer/resources/DocStoreManager.h"
#include "designer/resources/FontManager.h"
#include "designer/resources/ImageRegistry.h"
#include "designer/resources/ResourceManager.h"

void RegisterResourceClasses()
{
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFontManager));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CBarcodeManager));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(ImageRegistry));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CResourceManager));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CDocStoreManager));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(DocStore));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(DocStoreDocType));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(DocStoreKey));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(DocTypeToKeyMapper));
}
