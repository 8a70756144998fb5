#include "designer/resources/ResourceClasses.h"

#include "designer/resources/AS400Font.h"
#include "designer/resources/AS400FontLib.h"
#include "designer/resources/Barcode.h"
#include "designer/resources/BarcodeManager.h"
#include "designer/resources/BarcodeStrings.h"
#include "designer/resources/DocStore.h"
#include "designer/resources/DocStoreManager.h"
#include "designer/resources/FontManager.h"
#include "designer/resources/FontStrings.h"
#include "designer/resources/ImageExport.h"
#include "designer/resources/Image.h"
#include "designer/resources/ImageRegistry.h"
#include "designer/resources/ImageStrings.h"
#include "designer/resources/Resource.h"
#include "designer/resources/ResourceManager.h"
#include "designer/resources/SelectedFontHolder.h"
#include "designer/resources/SelectedFontList.h"

void RegisterResourceClasses()
{
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFontManager));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CAS400Font));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CAS400FontLib));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CSelectedFontList));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CSelectedFontHolder));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CBarcodeManager));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CBarcode));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(ImageRegistry));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CResourceManager));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(Image));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CResource));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CDocStoreManager));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(DocStore));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(DocStoreDocType));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(DocStoreKey));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(DocTypeToKeyMapper));
    RegisterFontStrings();
    RegisterBarcodeStrings();
    RegisterImageStrings();
    RegisterImageExportStrings();
}
