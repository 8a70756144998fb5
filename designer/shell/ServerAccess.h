#pragma once
// The designer's binding of the host access library (libMerrow2.so). It is
// looked up by name in the program's folder and then in the folder named by
// KWVD_LIBRARY_PATH, loaded once at start-up and kept until exit; its entry
// points are looked up by name when they are used. Without it server access
// is off for the whole run.

#include "hostaccess/api/EntryPoints.h"
#include "platform/framework/Types.h"

#include <QString>
#include <QStringList>

class ServerAccess
{
public:
    static const char* const kLibraryFileName; // "libMerrow2.so"

    ServerAccess() = default;
    ~ServerAccess();

    ServerAccess(const ServerAccess&) = delete;
    ServerAccess& operator=(const ServerAccess&) = delete;

    // The program's folder, then $KWVD_LIBRARY_PATH.
    static QStringList DefaultSearchFolders();

    // The probe is a check that the file is there: loading it would already
    // run its initialisation. Then the real load. FALSE when the probe found
    // nothing or the file found could not be loaded; LoadError() then holds
    // the loader's reason (empty when nothing was found).
    BOOL Load(const QStringList& folders);
    const QString& LoadError() const { return m_loadError; }
    void Free();

    void* Module() const { return m_module; }
    BOOL IsLoaded() const { return m_module != nullptr ? TRUE : FALSE; }
    const QString& LoadedPath() const { return m_path; }

    // Null without a module or when the library lacks the name.
    void* FindEntryPoint(const char* name) const;

    // The library's translator for the system, in the mode. Null without a
    // module; message 278 and null when "CreateTranslator" is missing; null
    // when it gives none or the mode cannot be set (the translator is
    // deleted then). The caller owns the result.
    ITranslator* CreateTranslator(int mode, const QString& system) const;

    // The translator from the entry point, set to the mode; null when the
    // entry point gives none or refuses the mode (deleted then).
    static ITranslator* CreateTranslatorWith(CreateTranslatorProc create, int mode, const QString& system);

    // Runs CRTWVD for the request through "CallCRTWVD" under the wait
    // cursor; 0 without a module or without the entry point.
    int CallCRTWVD(CrtWvdRequest* request) const;

private:
    void* m_module = nullptr;
    QString m_path;
    QString m_loadError;
};
