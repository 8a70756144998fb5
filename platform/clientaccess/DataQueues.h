#pragma once
// Data queues: first-in first-out queues of byte entries, objects of a
// library of a system, shared by every process that opens them. Each entry
// is delivered to exactly one reader, oldest first. A read can wait for an
// entry; it returns as soon as one is written, by this process or another.
//
// An attribute object describes a queue to be created:
// - the maximum entry length, 1 to 64512 bytes (a new object: 512);
// - two flags of this layer's own, stored with the queue and reported by
//   `emuhost dtaq list`, which change nothing on the emulated host: "force
//   to disk" (a new object: on; every entry is on disk before its write
//   returns in any case) and "record sender" (a new object: off; no sender
//   is kept with the entries);
// - a description of at most 50 characters (a new object: empty).
//
// A data object holds a caller's buffer, never a copy: the entry to write,
// or the room a read fills. Its conversion option (on for a new object)
// converts entries between the PC code page (1252) and the system's CCSID:
// a write stores the host form, a read hands back the PC form. With it off
// the bytes pass unchanged.

#include "platform/clientaccess/Service.h"

typedef unsigned long cwbDQ_Attr;
typedef unsigned long cwbDQ_Data;
typedef unsigned long cwbDQ_QueueHandle;

extern "C" {

unsigned cwbDQ_CreateAttr(cwbDQ_Attr* attributes);
unsigned cwbDQ_DeleteAttr(cwbDQ_Attr attributes);
// kCwbInvalidParameter for a length outside 1 to 64512.
unsigned cwbDQ_SetMaxRecLen(cwbDQ_Attr attributes, unsigned long maxLength);
unsigned cwbDQ_GetMaxRecLen(cwbDQ_Attr attributes, unsigned long* maxLength);
unsigned cwbDQ_SetForceToDisk(cwbDQ_Attr attributes, bool force);
unsigned cwbDQ_GetForceToDisk(cwbDQ_Attr attributes, bool* force);
unsigned cwbDQ_SetRecordSender(cwbDQ_Attr attributes, bool record);
unsigned cwbDQ_GetRecordSender(cwbDQ_Attr attributes, bool* record);
// kCwbInvalidParameter for more than 50 characters.
unsigned cwbDQ_SetDescription(cwbDQ_Attr attributes, const char* description);
unsigned cwbDQ_GetDescription(cwbDQ_Attr attributes, char* buffer, unsigned long bufferLength,
                              unsigned long* neededLength);

// Creates the queue, empty. kCwbQueueExists when a queue of that name is in
// the library; kCwbNotFound when the library is not; kCwbUnknownSystem,
// kCwbSystemUnreachable; kCwbInvalidParameter for a bad queue or library
// name. Each failure with a host message.
unsigned cwbDQ_Create(const char* queue, const char* library, const char* systemName, cwbDQ_Attr attributes,
                      cwbSV_ErrHandle errorHandle);

// Opens an existing queue (kCwbNotFound with a host message otherwise).
unsigned cwbDQ_Open(const char* queue, const char* library, const char* systemName, cwbDQ_QueueHandle* queueHandle,
                    cwbSV_ErrHandle errorHandle);
unsigned cwbDQ_Close(cwbDQ_QueueHandle queueHandle);

// Removes every entry.
unsigned cwbDQ_Clear(cwbDQ_QueueHandle queueHandle, cwbSV_ErrHandle errorHandle);

// Writes the data object's bytes as one entry. kCwbDqEntryTooLong (with a
// host message) when they are more than the queue's maximum, in host form;
// kCwbInvalidParameter for a data object without bytes. Every entry is
// committed when the call returns; commit is accepted for the callers that
// pass it.
unsigned cwbDQ_Write(cwbDQ_QueueHandle queueHandle, cwbDQ_Data data, bool commit, cwbSV_ErrHandle errorHandle);

// Takes the oldest entry into the data object's buffer. waitSeconds 0 does
// not wait; a negative value, or one of more than a year, waits without
// limit; kCwbNoData (no host message) when nothing arrived in time. An entry longer than the buffer stays in the queue:
// kCwbTargetTooSmall, and the data object's length is the room it needs.
unsigned cwbDQ_Read(cwbDQ_QueueHandle queueHandle, cwbDQ_Data data, long waitSeconds, cwbSV_ErrHandle errorHandle);

unsigned cwbDQ_CreateData(cwbDQ_Data* data);
unsigned cwbDQ_DeleteData(cwbDQ_Data data);
// Attaches the caller's buffer of length bytes (null with length 0
// detaches). The buffer must stay valid while the object uses it.
unsigned cwbDQ_SetData(cwbDQ_Data data, unsigned char* buffer, unsigned long length);
// The length of the entry the last read handed back (0 after a read that
// found none); before any read, the length attached.
unsigned cwbDQ_GetDataLen(cwbDQ_Data data, unsigned long* length);
unsigned cwbDQ_SetConvert(cwbDQ_Data data, bool convert);
unsigned cwbDQ_GetConvert(cwbDQ_Data data, bool* convert);
}
