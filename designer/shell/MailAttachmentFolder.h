#pragma once
// Where the designer's temporary mail attachments wait for the mail
// program. The hand-off returns at once and the mail program reads the files
// later, perhaps after the designer has ended, so they are not removed when
// the mail has gone but at the next start of the designer.
//
// Each running designer keeps its files in a run folder of its own, marked
// by a lock file it holds while it runs, below $XDG_CACHE_HOME/kwvd/mail
// (~/.cache/kwvd/mail when XDG_CACHE_HOME is unset or relative). A start
// removes the run folders of designers that have ended and leaves those of
// designers still running (a second window started with New Window).

#include <QString>

namespace MailAttachmentFolder {

QString Root();
// A new empty folder for the files of one message; empty when none could
// be made.
QString NewMessageFolder();
// Removes the run folders whose designer has ended. Start-up calls it.
void RemoveLeftovers();
// This run gives its folder up, files and all, to the next start.
void EndRun();

} // namespace MailAttachmentFolder
