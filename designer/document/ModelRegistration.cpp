#include "designer/document/ModelRegistration.h"

#include "designer/document/DocumentClasses.h"
#include "designer/document/RegisteredMessages.h"
#include "designer/document/SpooledFileStrings.h"
#include "designer/elements/ElementClasses.h"
#include "designer/elements/LoopStrings.h"
#include "designer/elements/VariableStrings.h"
#include "designer/output/OutputClasses.h"
#include "designer/preferences/PreferenceStrings.h"
#include "designer/resources/ResourceClasses.h"
#include "designer/resources/barcodes/BarcodeStrings.h"
#include "designer/resources/catalogue/CatalogueStrings.h"
#include "designer/resources/fonts/FontStrings.h"
#include "designer/resources/images/ImageExport.h"
#include "designer/resources/images/ImageStrings.h"
#include "platform/framework/FrameworkClasses.h"

void RegisterModel()
{
    RegisterFrameworkClasses();
    RegisterDocumentClasses();
    RegisterElementClasses();
    RegisterResourceClasses();
    RegisterOutputClasses();
    RegisterDesignerMessages();
    RegisterSpooledFileStrings();
    RegisterCatalogueStrings();
    RegisterOutputStrings();
    RegisterPreferenceStrings();
    RegisterFontStrings();
    RegisterBarcodeStrings();
    RegisterImageStrings();
    RegisterImageExportStrings();
    RegisterLoopStrings();
    RegisterVariableStrings();
}
