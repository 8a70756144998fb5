#include "designer/shell/AppStrings.h"

#include "platform/ui/StringTable.h"

namespace {

using namespace AppString;

constexpr StringTable::Entry kEntries[] = {
    {DocTemplate, "KWVD Designer\nWVD\nWVD\nWVD Files (*.WVD)\n.WVD\nKWVD.Document\nKWVD Document"},
    {DbcsEnabled, "DBCS Enabled"},
    {DefaultVersion, "\"1.5.0.0\""},
    {IncorrectVersion, "Cannot read document \"%1\".  Document was created by a newer version of KWVD Designer."},
    {ServerLibraryMissing, "A required component (libMerrow2.so) was not found or could not be loaded.  It is looked "
                           "for beside the program and in the folder named by KWVD_LIBRARY_PATH.  Server access "
                           "functions will be disabled."},
    {HelpNoViewer, "The help could not be shown: no program to open web pages was found.\nThe help page is "
                   "\"%1\"."},
    {ServerContactFailed, "Failed to establish contact with Server."},
    {DownloadAddress, "https://www.example.com/kwvd/designer/setup.exe"},
    {VersionFormat, "Version %1!d!  (build %2!d!)"},
    {HelpFileMissing, "Failed to find help file, Help cannot be displayed.\nFile: \"%1\""},
    {AppTitle, "KWVD Designer"},
    {FileOpenTitle, "Open"},
    {AllFilesFilter, "All Files (*.*)"},

    {AboutTitle, "About KWVD Designer"},
    {AboutDocumentVersion, "Document Version No: %d"},
    {AboutJvxVersion, "JVX Version No: %d"},
    {AboutLegalNotice, "This program is protected by copyright law. Copying or passing it on, "
                       "in whole or in part, without the maker's written permission is not allowed."},
    {ButtonOk, "OK"},
    {IncorrectVersionTitle, "Incorrect Version"},
    {IncorrectVersionLink, "Click here to download the Latest Version of KWVD Designer."},
    {IncorrectVersionNeedsInternet, "(Requires Internet Access)"},
    {HelpDebugFailure, "DEBUG: Failed to call help.\n File: %s, dwData: %d ($%lx) \n"},
    {LinkOpenFailed, "Can't open link:\n\n"},
    {LinkErrorUnknown, "Unknown Error (%d) occurred."},
    {LinkErrorFirst + 0, "The operating system is out\nof memory or resources."},
    {LinkErrorFirst + 2, "The specified file was not found."},
    {LinkErrorFirst + 3, "The specified path was not found."},
    {LinkErrorFirst + 5, "The operating system denied\naccess to the specified file."},
    {LinkErrorFirst + 8, "There was not enough memory to complete the operation."},
    {LinkErrorFirst + 11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    {LinkErrorFirst + 26, "A sharing violation occurred. "},
    {LinkErrorFirst + 27, "The filename association is\nincomplete or invalid."},
    {LinkErrorFirst + 28, "The DDE transaction could not\nbe completed because the request timed out."},
    {LinkErrorFirst + 29, "The DDE transaction failed."},
    {LinkErrorFirst + 30,
     "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
    {LinkErrorFirst + 31, "There is no application associated\nwith the given filename extension."},
    {LinkErrorFirst + 32, "The specified dynamic-link library was not found."},
};

} // namespace

void RegisterAppStrings()
{
    StringTable::Add(kEntries);
}
