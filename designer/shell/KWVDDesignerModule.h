#pragma once
// The program's registration with the system: its application id in the
// settings store's classes root, and for the desktop an application entry
// and a MIME type for WVD documents in the user's XDG data folder.

#include "platform/framework/Types.h"

#include <QString>

class CKWVDDesignerModule
{
public:
    static const QString kAppId;         // "{...}", fixed for the program
    static const QString kAppIdName;     // the id's default value
    static const QString kExecutableKey; // key under AppID naming the program
    static const QString kMimeType;

    // Register TRUE writes AppID\{id} (default value "KWVDDesigner") and
    // AppID\"KWVD Designer.EXE" (AppID = {id}); FALSE removes both and keeps
    // the AppID key itself. FALSE when the store could not be changed.
    static BOOL UpdateRegistryAppId(BOOL bRegister);

    // Writes or removes the desktop entry that starts programPath with a
    // document and the MIME type of ".wvd" files. FALSE when a file could
    // not be written or removed.
    static BOOL RegisterServer(const QString& programPath);
    static BOOL UnregisterServer();

    // $XDG_DATA_HOME, else ~/.local/share.
    static QString DataHome();
    static QString DesktopEntryPath();
    static QString MimePackagePath();
};
