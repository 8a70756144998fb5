#pragma once
// The host's side of the export: the output-queue check and the new
// spooled file, from pages or from raw data. Every host call goes through
// the wrapper, which shows the host's messages when one fails; each function
// then gives FALSE.

#include "hostaccess/api/SpooledFileIdentity.h"
#include "hostaccess/api/SpooledPageList.h"
#include "platform/framework/Types.h"

#include <QString>

class CAS400;
class QIODevice;

// Whether the output queue can be listed on the system; an empty queue
// fails at once without a message.
BOOL CheckOutputQueue(CAS400& host, const QString& outputQueue, const QString& library, const QString& system);

// A new spooled file of the identity's attributes and the page size, its
// pages written as SCS lines in the CCSID (0: the system's). Lines the host
// cannot position are left out or cut and named in one warning at the end;
// a line with substituted characters asks whether to leave it out.
BOOL CreateSpooledFileFromPages(CAS400& host, const QString& system, const SpooledFileIdentity& identity,
                                const SpooledPageList* pages, const int pageSize[2], int ccsid);

// A new spooled file of the identity's attributes, without a page size,
// holding the raw data's bytes unchanged.
BOOL CreateSpooledFileFromRaw(CAS400& host, const QString& system, const SpooledFileIdentity& identity,
                              QIODevice& file);

// Asks for a raw data file (".raw_splf") and copies it into a new spooled
// file. Cancel gives FALSE; a file that cannot be opened, message 10103.
BOOL ExportRawSpooledFile(CAS400& host, const QString& system, const SpooledFileIdentity& identity);
