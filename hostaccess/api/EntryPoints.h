#pragma once
// The entry points of the host access library (libMerrow2.so) as the designer
// looks them up by name: plain C exports. Text crosses as UTF-16: a string
// object as const QString*, a text argument as const char16_t*, a text buffer
// as char16_t* (at least 11 units where a name of 10 comes back). Every entry
// point catches what is thrown inside it, says so in a message box and gives
// 0 or null.

#include "hostaccess/api/CrtWvdRequest.h"
#include "hostaccess/api/SpooledFileIdentity.h"
#include "hostaccess/api/SpooledPageList.h"
#include "hostaccess/api/Translator.h"
#include "platform/framework/Types.h"

class QString;

// 1 when the host logged no new message for "CALL PGM(program) PARM(parameters)".
using CallRemoteProgramProc = int (*)(const QString* system, const QString* program, const QString* parameters);

// 1 when the CRTWVD submission for the request logged no new host message.
using CallCRTWVDProc = BOOL (*)(CrtWvdRequest* request);

// The older list: import of the chosen spooled file; on success the two
// buffers (at least 11 units each) get the queue and library chosen. *pages
// always receives a list, to be given back to DestroySpooledFileList.
using CreateSpooledFileListProc = BOOL (*)(const char16_t* system, char16_t* outputQueue,
                                           char16_t* outputQueueLibrary, SpooledPageList** pages, int maxPages);

// The list with filter and selection: mode 0 imports the chosen spooled file,
// mode 1 only saves its raw data. The filter gets the dialog's values back
// whatever the outcome; *pages always receives a list.
using CreateSpooledFileList2Proc = BOOL (*)(const char16_t* system, SpooledFileIdentity* filter,
                                            SpooledFileIdentity* selected, SpooledPageList** pages, int maxPages,
                                            int* ccsid, int mode);

// Frees every page and the list, and sets *pages to null.
using DestroySpooledFileListProc = void (*)(SpooledPageList** pages);

// Creates a spooled file on the host, mode 0 from the caller's pages, mode 1
// from a raw data file the user picks. pageSize: {longest line, highest line
// number}. The pages stay the caller's.
using ExportSpooledFileProc = BOOL (*)(const QString* system, SpooledFileIdentity* identity,
                                       SpooledPageList** pages, int* pageSize, int ccsid, int mode);

// A translator for the system, owned by the caller; null on failure.
using CreateTranslatorProc = ITranslator* (*)(const QString* system);

// The names the entry points are exported under.
namespace MerrowEntryPoint {
inline constexpr const char* kCallRemoteProgram = "CallRemoteProgram";
inline constexpr const char* kCallCRTWVD = "CallCRTWVD";
inline constexpr const char* kCreateSpooledFileList = "CreateSpooledFileList";
inline constexpr const char* kCreateSpooledFileList2 = "CreateSpooledFileList2";
inline constexpr const char* kDestroySpooledFileList = "DestroySpooledFileList";
inline constexpr const char* kExportSpooledFile = "ExportSpooledFile";
inline constexpr const char* kCreateTranslator = "CreateTranslator";
} // namespace MerrowEntryPoint
