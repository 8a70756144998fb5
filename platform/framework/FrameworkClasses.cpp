#include "platform/framework/FrameworkClasses.h"

#include "platform/framework/Collections.h"

void RegisterFrameworkClasses()
{
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CObList));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CObArray));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CStringArray));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CWordArray));
}
