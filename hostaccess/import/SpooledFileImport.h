#pragma once
// Reading the spooled file chosen in the select dialog from the host: its
// pages of text, its raw bytes into a local ".raw_splf" file, and its
// attributes into an identity record.

#include "hostaccess/AS400.h"
#include "hostaccess/api/SpooledFileIdentity.h"
#include "hostaccess/api/SpooledPageList.h"
#include "hostaccess/import/SpooledDateFormat.h"
#include "platform/clientaccess/SpooledFiles.h"

#include <cstddef>

class CSelSpooledFileDialog;

// The attributes the import and the select dialog read.
constexpr cwbOBJ_KeyID kSplfAttributeFile = 104;
constexpr cwbOBJ_KeyID kSplfAttributeUser = 62;
constexpr cwbOBJ_KeyID kSplfAttributeUserData = 116;
constexpr cwbOBJ_KeyID kSplfAttributeTotalPages = 111;
constexpr cwbOBJ_KeyID kSplfAttributeDate = 34;
constexpr cwbOBJ_KeyID kSplfAttributeTime = 110;
constexpr cwbOBJ_KeyID kSplfAttributeDbcsData = 153;
constexpr cwbOBJ_KeyID kSplfAttributeDbcsExtensions = 154;
constexpr cwbOBJ_KeyID kSplfAttributeCharSet = 55;

// What ImportSpooledFile ends with.
enum ImportStatus {
    // Nothing selected, or the spooled file would not open.
    kImportNothing = 0,
    kImportNotSupported = 3,
    kImportReadFailed = 7,
    // Any other value is the line status the reading ended with.
};

// Reads the dialog's chosen spooled file into pages, from its first page
// for at most its maximum pages, converting each line from the dialog's
// CCSID (the system's when 0, which the dialog then takes) in column mode.
// Tells the user about every failure, an unsupported format (offering the
// raw save), a page range the file does not reach, and the conversion
// warnings. An import that appended no page imported nothing.
int ImportSpooledFile(CSelSpooledFileDialog& dialog, SpooledPageList* pages);

// Asks for a ".raw_splf" file and writes into it the bytes already read,
// then the rest of the open spooled file. The file is replaced only when
// everything was read and written; otherwise the user is told and FALSE
// comes back with any older file untouched. FALSE also on Cancel.
BOOL SaveRawSpooledFile(CAS400& as400, cwbOBJ_ObjHandle object, const unsigned char* alreadyRead,
                        std::size_t count);

// File, user, user data, total pages, date and time (each must be read),
// then the DBCS data, DBCS extensions and character set where the host has
// them. The output queue and library are left to the caller.
BOOL ReadSpooledFileAttributes(CAS400& as400, cwbOBJ_ObjHandle object, SpooledFileIdentity& identity,
                               const SpooledDateSettings& dateSettings);
