#pragma once
// The messages of the zip archive and of the mail hand-off: the framework's
// standard texts for files, and those of the mail support.

#include "platform/framework/Types.h"

namespace MailString {
enum : UINT {
    OutOfMemory = 61475,
    FailedToOpenDocument = 61697,
    ReadError = 61733,  // "%1": the file read
    WriteError = 61734, // "%1": the archive written
    MailNotLoaded = 61840,
    MailInvalid = 61841,
    SendFailed = 61842,
};
} // namespace MailString

// Adds the texts to the string table; harmless again.
void RegisterMailStrings();
