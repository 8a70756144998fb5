#include "hostaccess/MerrowApp.h"

#include "hostaccess/MerrowStrings.h"
#include "platform/registry/RegistryStore.h"
#include "platform/ui/StringTable.h"

#include <QApplication>
#include <QWidget>

namespace {

constexpr StringTable::Entry kStrings[] = {
    {IDS_MERROW_OPEN_FILE_FAILED, "Failed to open file"},
    {IDS_MERROW_COLUMN_FILE, "File"},
    {IDS_MERROW_COLUMN_USER, "User"},
    {IDS_MERROW_COLUMN_USER_DATA, "User Data"},
    {IDS_MERROW_COLUMN_PAGES, "Pages"},
    {IDS_MERROW_COLUMN_DATE, "Date"},
    {IDS_MERROW_COLUMN_TIME, "Time"},
    {IDS_MERROW_LOADED_WITH_WARNINGS, "Spooled file Loaded, but Warnings Encountered:\n"},
    {IDS_MERROW_WARNING_LINE, "Page: %1!02d!, Line: %2!03d!: %3"},
    {IDS_MERROW_RAW_SPOOLED_FILE_FILTER, "Raw Spooled File Data (*.raw_splf)|*.raw_splf||"},
    {IDS_MERROW_SELECT_SPOOLED_FILE, "Select Spooled File"},
    {IDS_MERROW_EXPORT_SPOOLED_FILE, "Export Spooled File"},
    {IDS_MERROW_COMMAND_TOO_LONG, "The command for the Server would be longer than %1!d! characters."},
    {IDS_MERROW_INVALID_FORMAT_SAVE, "Invalid Format, Do you want to save to disk ?"},
    {IDS_MERROW_NOT_SCS_OR_USERASCII, "This spooled file is not in SCS or USERASCII format."},
    {IDS_MERROW_NO_SPOOLED_FILES, "No Spooled Files Found."},
    {IDS_MERROW_CONVERSION_WARNING_SKIP,
     "Warnings were issued whilst converting Line %1!d! of Page %2!d!. Would you like to ingore this line ?\n\n"
     "Warning text is: %3."},
    {IDS_MERROW_EXPORT_RETRY, "An error occurred whilst exporting the spooled file, would you like to retry ?"},
    {IDS_MERROW_READ_FAILED, "Error reading spooled file."},
    {IDS_MERROW_REMOTE_PROGRAM_FAILED,
     "An unknown error occurred whilst attempting to call a remote program on the Server."},
    {IDS_MERROW_SELECT_FAILED, "An unknown error occurred whilst attempting to select a spooled file from the Server."},
    {IDS_MERROW_TRANSLATOR_FAILED, "An unknown error occurred whilst attempting to create a Translator."},
    {IDS_MERROW_IMPORT_FAILED, "An unknown error occurred whilst attempting to import a spooled file from the Server."},
    {IDS_MERROW_EXPORT_FAILED, "An unknown error occurred whilst attempting to export a spooled file to the Server."},
    {IDS_MERROW_INVALID_COMMAND_VALUE, "The %1 \"%2\" cannot be passed to the Server."},
};

// Made when the library is loaded, so its strings are there before any
// entry point runs.
const CMerrowApp& g_theApp = CMerrowApp::Instance();

} // namespace

const char* const CMerrowApp::kHistorySystemName = "Preferences\\AutoComplete\\SystemName";
const char* const CMerrowApp::kHistoryOutputQueue = "Preferences\\AutoComplete\\OutputQueue";
const char* const CMerrowApp::kHistoryLibrary = "Preferences\\AutoComplete\\Library";
const char* const CMerrowApp::kHistoryUser = "Preferences\\AutoComplete\\User";
const char* const CMerrowApp::kHistoryUserData = "Preferences\\AutoComplete\\UserData";
const char* const CMerrowApp::kHistoryFileName = "Preferences\\AutoComplete\\FileName";

CMerrowApp& CMerrowApp::Instance()
{
    static CMerrowApp app;
    return app;
}

CMerrowApp::CMerrowApp()
{
    StringTable::Add(kStrings);
}

QString CMerrowApp::GetAppName() const
{
    return QStringLiteral("Merrow");
}

QString CMerrowApp::GetRegistryKey() const
{
    return QStringLiteral("Qorvane");
}

QString CMerrowApp::GetProfileKeyPath() const
{
    return kwvd::ApplicationKeyPath(GetAppName());
}

QWidget* CMerrowApp::GetParentWindow()
{
    return qobject_cast<QApplication*>(QCoreApplication::instance()) ? QApplication::activeWindow() : nullptr;
}
