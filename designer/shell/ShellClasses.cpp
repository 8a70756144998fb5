#include "designer/shell/ShellClasses.h"

#include "designer/shell/AS400SoxClient.h"

void RegisterShellClasses()
{
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CAS400SoxClient));
}
