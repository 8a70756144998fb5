#include "designer/output/OutputClasses.h"

#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "platform/ui/StringTable.h"

void RegisterOutputClasses()
{
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(COutputDevice));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(COutputDeviceManager));
}

void RegisterOutputStrings()
{
    static const StringTable::Entry entries[] = {
        {IDS_DEFAULT_OUTPUT_DEVICE, "Default Output Device"},
    };
    StringTable::Add(entries);
}
