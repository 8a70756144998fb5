#include "designer/resources/ResourceClasses.h"

#include "designer/resources/barcodes/Barcode.h"
#include "designer/resources/barcodes/BarcodeManager.h"
#include "designer/resources/barcodes/BarcodeStrings.h"
#include "designer/resources/catalogue/DocStore.h"
#include "designer/resources/catalogue/DocStoreManager.h"
#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/AS400FontLib.h"
#include "designer/resources/fonts/FontManager.h"
#include "designer/resources/fonts/FontStrings.h"
#include "designer/resources/fonts/SelectedFontHolder.h"
#include "designer/resources/fonts/SelectedFontList.h"
#include "designer/resources/images/Image.h"
#include "designer/resources/images/ImageExport.h"
#include "designer/resources/images/ImageRegistry.h"
#include "designer/resources/images/ImageStrings.h"
#include "designer/resources/images/Resource.h"
#include "designer/resources/images/ResourceManager.h"

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
