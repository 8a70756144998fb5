#include "designer/shell/MailStrings.h"

#include "platform/ui/StringTable.h"

void RegisterMailStrings()
{
    static const StringTable::Entry entries[] = {
        {MailString::OutOfMemory, "Out of memory."},
        {MailString::FailedToOpenDocument, "Failed to open document."},
        {MailString::ReadError, "Encountered an unexpected error while reading %1."},
        {MailString::WriteError, "Encountered an unexpected error while writing %1."},
        {MailString::MailNotLoaded, "Unable to load mail system support."},
        {MailString::MailInvalid, "Mail system DLL is invalid."},
        {MailString::SendFailed, "Send Mail failed to send message."},
    };
    for (const StringTable::Entry& entry : entries)
        StringTable::Add(entry.id, QString::fromUtf8(entry.text));
}
