#pragma once
// Result codes of the Client Access layer. Every call answers an unsigned
// code, 0 for success. The host's own codes are those its callers branch
// on; the codes from 8001 are this layer's own.

enum : unsigned
{
    kCwbOk = 0,

    // The handle was never made, or was deleted.
    kCwbInvalidHandle = 6,

    // A message text was asked of an error handle that holds none.
    kCwbNoMessages = 6003,
    // A spooled file was read to its end; the count read is still valid.
    kCwbEndOfData = 6008,
    // A data-queue read waited its time and nothing arrived.
    kCwbNoData = 6017,
    // A data queue of that name already exists.
    kCwbQueueExists = 6024,
    // A conversion completed, but some characters had no equivalent and
    // were substituted; a host message says so.
    kCwbSubstituted = 6107,
    // The system has no CCSID of its own; 37 was given.
    kCwbDefaultCcsid = 6206,
    // The CCSID or code page cannot be converted.
    kCwbInvalidCcsid = 4014,

    // No system of that name is configured.
    kCwbUnknownSystem = 8001,
    // The object asked for (library, file, queue, entry...) does not exist.
    kCwbNotFound = 8002,
    // The target buffer is too small; the length needed is handed back.
    kCwbTargetTooSmall = 8003,
    // A null pointer, a zero length where one is needed, or a value out of
    // range.
    kCwbInvalidParameter = 8004,
    // The system is configured but cannot be reached.
    kCwbSystemUnreachable = 8005,
    // The system refused the sign-on.
    kCwbSignonRefused = 8006,
    // A host command failed; the host's messages say why.
    kCwbCommandFailed = 8007,
    // The emulated host's store could not be read or written.
    kCwbStoreError = 8008,

    // Output queues and spooled files.
    // A list was used before it was opened, or a spooled file read before
    // it was opened.
    kCwbNotOpen = 8301,

    // Data queues.
    // An entry is longer than the queue's maximum entry length.
    kCwbDqEntryTooLong = 8701,
};
