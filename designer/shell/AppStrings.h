#pragma once
// The strings of the designer's application object and of its own small
// windows (about box, splash, version dialog, link control). Every text a
// window shows comes from the string table, so a language can replace it.

#include "platform/framework/Types.h"

namespace AppString {
enum : UINT {
    DocTemplate = 128,
    DbcsEnabled = 234,
    DefaultVersion = 243,
    IncorrectVersion = 247,
    ServerLibraryMissing = 219,
    ServerContactFailed = 278,
    DownloadAddress = 354,
    VersionFormat = 359,
    HelpFileMissing = 367,
    AppTitle = 57344,
    FileOpenTitle = 61440,
    AllFilesFilter = 61442,

    // Texts of the windows' templates.
    AboutTitle = 29001,
    AboutDocumentVersion = 29002,
    AboutJvxVersion = 29003,
    AboutLegalNotice = 29004,
    ButtonOk = 29005,
    IncorrectVersionTitle = 29010,
    IncorrectVersionLink = 29011,
    IncorrectVersionNeedsInternet = 29012,
    HelpDebugFailure = 29020,
    HelpNoViewer = 29021,
    LinkOpenFailed = 29030, // "Can't open link:\n\n"
    LinkErrorUnknown = 29031,
    // The texts of the desktop's failures to open a link, by result 0 .. 32.
    LinkErrorFirst = 29040,
};
} // namespace AppString

void RegisterAppStrings();
