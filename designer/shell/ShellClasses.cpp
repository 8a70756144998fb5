#include "designer/shell/ShellClasses.h"

#include "designer/shell/AS400SoxClient.h"
#include "designer/shell/ZipFile.h"
#include "platform/framework/Object.h"

void RegisterShellClasses()
{
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CAS400SoxClient));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CZipFile));
}
