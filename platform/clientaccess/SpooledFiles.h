#pragma once
// Spooled files: lists of the spooled files of a system's output queues,
// their attributes and data, and new spooled files written from an
// attribute list. Every text is 8-bit (Windows-1252); a call that fails with
// a reason the caller should see adds a host message to its error handle.
//
// The layer's own choices, the callers may rely on nothing beyond them:
// - Attribute values come typed: 1 a std::int16_t, 2 a std::int32_t, 3 a
//   NUL-terminated text, 4 a float. Every spooled file answers 104 file,
//   62 user, 116 user data, 111 total pages (2), 34 date (CYYMMDD, C 0 for
//   19xx and 1 for 20xx), 110 time (HHMMSS), 74 output queue, 73 library,
//   and, when it was given none, the defaults 153 DBCS data "*NO",
//   154 DBCS extension characters "*NO", 55 character set "*DEVD", 79 unit
//   of the page size "*ROWCOL", 81 page width 132 (4), 78 page length 66 (4)
//   and 76 overflow line 60 (2). Any other key fails with a host message.
// - The data type of a block (cwbOBJ_AnalyzeSplFData): empty is 4 (unknown);
//   a first byte of 0x5A is 3 (AFP); no byte of 0x80 or above and more
//   ASCII blanks 0x20 than EBCDIC blanks 0x40 is 2 (USERASCII); anything
//   else is 1 (SCS).
// - Total pages of a new spooled file: its form feeds 0x0C, plus one when
//   data follows the last one; in SCS data a 0x0C that is a control's
//   parameter byte is no form feed.
// - Date and time are the clock's, in UTC.
// - A list is a snapshot taken when it is opened; object handles live until
//   released, whatever becomes of their list. A spooled file removed since
//   the snapshot fails its reads with a host message.

#include "platform/clientaccess/Service.h"

typedef unsigned long cwbOBJ_ListHandle;
typedef unsigned long cwbOBJ_ObjHandle;
typedef unsigned long cwbOBJ_ParmHandle;
typedef int cwbOBJ_KeyID;

enum : unsigned
{
    // The kind of a list; spooled files are the only kind.
    kCwbObjListSplF = 1,

    // Types of attribute values.
    kCwbObjShort = 1,
    kCwbObjLong = 2,
    kCwbObjText = 3,
    kCwbObjFloat = 4,

    // Data types of a block of spooled-file data.
    kCwbObjDataScs = 1,
    kCwbObjDataUserAscii = 2,
    kCwbObjDataAfpds = 3,
    kCwbObjDataUnknown = 4,
};

extern "C" {

// A list of the spooled files of a configured system (kCwbUnknownSystem
// otherwise). listType must be kCwbObjListSplF.
unsigned cwbOBJ_CreateListHandle(const char* systemName, unsigned listType, cwbOBJ_ListHandle* list,
                                 cwbSV_ErrHandle errorHandle);

// Filters by 74 output queue, 73 library, 62 user or 116 user data; "*ALL"
// or an empty value (the default) matches everything. Names are compared
// without regard to case, user data exactly (trailing blanks aside). Another
// key: kCwbInvalidParameter.
unsigned cwbOBJ_SetListFilter(cwbOBJ_ListHandle list, cwbOBJ_KeyID key, const char* value,
                              cwbSV_ErrHandle errorHandle);

// Takes the snapshot, in creation order (queues by name, files by number).
// A named library or queue that does not exist: kCwbNotFound with a host
// message naming it. Opening an open list takes a new snapshot.
unsigned cwbOBJ_OpenList(cwbOBJ_ListHandle list, cwbSV_ErrHandle errorHandle);

// Size and entries of an open list (kCwbNotOpen otherwise).
unsigned cwbOBJ_GetListSize(cwbOBJ_ListHandle list, unsigned long* size, cwbSV_ErrHandle errorHandle);
// The object handle of entry index (from 0); kCwbNotFound past the end.
unsigned cwbOBJ_GetObjHandle(cwbOBJ_ListHandle list, unsigned long index, cwbOBJ_ObjHandle* object,
                             cwbSV_ErrHandle errorHandle);

// Drops the snapshot; the list can be opened again.
unsigned cwbOBJ_CloseList(cwbOBJ_ListHandle list, cwbSV_ErrHandle errorHandle);
unsigned cwbOBJ_DeleteListHandle(cwbOBJ_ListHandle list, cwbSV_ErrHandle errorHandle);
unsigned cwbOBJ_DeleteObjHandle(cwbOBJ_ObjHandle object, cwbSV_ErrHandle errorHandle);

// The value of an attribute into buffer (see the types above) and its type.
// *bytesNeeded (when given) is the value's size, a text's NUL included; a
// buffer smaller than that gives kCwbTargetTooSmall (a text is cut and
// NUL-terminated, a number is not written).
unsigned cwbOBJ_GetObjAttr(cwbOBJ_ObjHandle object, cwbOBJ_KeyID key, void* buffer, unsigned long bufferLength,
                           unsigned long* bytesNeeded, unsigned* valueType, cwbSV_ErrHandle errorHandle);

// Reading a spooled file from its start. A read delivers up to
// bytesToRead bytes and succeeds while it delivers any; once everything was
// delivered a read gives kCwbEndOfData with *bytesRead 0.
unsigned cwbOBJ_OpenSplF(cwbOBJ_ObjHandle object, cwbSV_ErrHandle errorHandle);
unsigned cwbOBJ_ReadSplF(cwbOBJ_ObjHandle object, void* buffer, unsigned long bytesToRead, unsigned long* bytesRead,
                         cwbSV_ErrHandle errorHandle);
unsigned cwbOBJ_CloseSplF(cwbOBJ_ObjHandle object, cwbSV_ErrHandle errorHandle);

// The data type of a block of spooled-file data (the rule above).
unsigned cwbOBJ_AnalyzeSplFData(const void* data, unsigned long length, unsigned* dataType,
                                cwbSV_ErrHandle errorHandle);

// An attribute list for a new spooled file. A value has the key's type:
// a pointer to a NUL-terminated text, a std::int32_t or a float. The keys:
// 74, 73, 104, 116, 79, 81, 78, 76, 153, 154 and 55; another key, or a text
// longer than 10 characters for 74, 73 and 104 (12 for 116), gives
// kCwbInvalidParameter with a host message. Setting a key again replaces it.
unsigned cwbOBJ_CreateParmObjHandle(cwbOBJ_ParmHandle* parameters, cwbSV_ErrHandle errorHandle);
unsigned cwbOBJ_SetParameter(cwbOBJ_ParmHandle parameters, cwbOBJ_KeyID key, const void* value,
                             cwbSV_ErrHandle errorHandle);
unsigned cwbOBJ_DeleteParmObjHandle(cwbOBJ_ParmHandle parameters, cwbSV_ErrHandle errorHandle);

// A new spooled file on a system, with the attributes of the list as they
// are now; 74 and 73 must name an existing output queue (kCwbNotFound with
// a host message otherwise). The bytes written appear only on close, as one
// spooled file at the end of its queue, with the system's user, the date and
// time and the total pages; the handle is released then, also when the
// spooled file cannot be stored.
unsigned cwbOBJ_CreateNewSplF(const char* systemName, cwbOBJ_ParmHandle parameters, cwbOBJ_ObjHandle* newSplF,
                              cwbSV_ErrHandle errorHandle);
unsigned cwbOBJ_WriteNewSplF(cwbOBJ_ObjHandle newSplF, const void* data, unsigned long length,
                             cwbSV_ErrHandle errorHandle);
unsigned cwbOBJ_CloseNewSplF(cwbOBJ_ObjHandle newSplF, cwbSV_ErrHandle errorHandle);
}
