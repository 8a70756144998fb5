#include "designer/document/DocumentClasses.h"

#include "designer/document/ExportChoice.h"
#include "designer/document/Page.h"
#include "designer/document/RegisteredMessages.h"
#include "designer/document/SpooledFile.h"
#include "designer/document/TimeStamp.h"
#include "designer/document/XmlImportStrings.h"
#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/document/jvx/FixedLenNum.h"
#include "designer/document/jvx/FixedLenString.h"
#include "designer/document/jvx/FixedLenUserString.h"
#include "designer/document/jvx/FixedLenUserStringStripped.h"

void RegisterDocumentClasses()
{
    // The document's other serialisable classes join this list as they are built.
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CTimeStamp));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CSpooledFile));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CPage));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFixedLenNum));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFixedLenString));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFixedLenUserString));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFixedLenUserStringStripped));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CAPRTPDMRec));
    RegisterDesignerMessages();
    RegisterXmlImportStrings();
    RegisterPageStrings();
    RegisterExportStrings();
}
