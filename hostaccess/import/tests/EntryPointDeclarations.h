#pragma once
// The import side's entry points as a caller in the same process sees them.

#include "hostaccess/api/EntryPoints.h"

extern "C" {
BOOL CreateSpooledFileList(const char16_t* system, char16_t* outputQueue, char16_t* outputQueueLibrary,
                           SpooledPageList** pages, int maxPages);
BOOL CreateSpooledFileList2(const char16_t* system, SpooledFileIdentity* filter, SpooledFileIdentity* selected,
                            SpooledPageList** pages, int maxPages, int* ccsid, int mode);
void DestroySpooledFileList(SpooledPageList** pages);
}
