#include "designer/document/DocumentClasses.h"

#include "designer/document/TimeStamp.h"

void RegisterDocumentClasses()
{
    // The document's other serialisable classes join this list as they are built.
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CTimeStamp));
}
