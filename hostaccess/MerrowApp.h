#pragma once
// The host access library's application object: its name and settings key,
// its strings, and the window its dialogs belong to. It lives while the
// library is loaded; nothing else of the library outlives a call.

#include "platform/framework/Types.h"

#include <QString>

class QWidget;

class CMerrowApp
{
public:
    // The library's one object.
    static CMerrowApp& Instance();

    // "Merrow": its settings lie under the current user's
    // Software\Qorvane\Merrow.
    QString GetAppName() const;
    QString GetRegistryKey() const;
    QString GetProfileKeyPath() const;

    // The window that the library's dialogs and boxes belong to: the
    // caller's active window, null when it has none.
    static QWidget* GetParentWindow();

    // The autocomplete histories of the dialogs' edit fields, below the
    // profile key.
    static const char* const kHistorySystemName;
    static const char* const kHistoryOutputQueue;
    static const char* const kHistoryLibrary;
    static const char* const kHistoryUser;
    static const char* const kHistoryUserData;
    static const char* const kHistoryFileName;

    CMerrowApp(const CMerrowApp&) = delete;
    CMerrowApp& operator=(const CMerrowApp&) = delete;

private:
    // Adds the library's strings to the process's string table.
    CMerrowApp();
};
