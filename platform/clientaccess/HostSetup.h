#pragma once
// Setting the emulated host up: what emuhost and the tests' fixtures do to
// a store. Each call is one change under the store's lock; each refuses bad
// input with *error saying why and changes nothing then.

#include "platform/clientaccess/HostStore.h"

namespace kwvd::clientaccess {

// Adds a system after the others. Refused: a bad name, a name or
// file-server name that another system already answers to, a user ID of
// more than 10 characters, a bad library name. The user ID is kept in upper
// case; the libraries of the initial list are created. The first system, or
// one added with makeDefault, becomes the default.
bool AddSystem(HostSystem system, bool makeDefault, QString* error);

// Removes the system from the store; its folder and files stay on disk.
bool RemoveSystem(const QString& systemName, QString* error);

// Creates a library (its folder QSYS.LIB/<LIB>.LIB); one that exists is
// refused.
bool AddLibrary(const QString& systemName, const QString& library, QString* error);

// Creates a folder of the system's file system ("QDLS/KWVD/PCIN"), matching
// existing components without regard to case.
bool AddHostFolder(const QString& systemName, const QString& folder, QString* error);

// Registers an executable as LIB/PGM of the system (replacing an earlier one
// of that name). The library must exist.
bool AddProgram(const QString& systemName, RegisteredProgram program, QString* error);

// A first system to work with: systemName (default "KWVDSYS"), CCSID 285,
// the login name upper-cased and cut to 10 characters as its user, the
// library KWVD and the folder QDLS/KWVD/PCIN; the default system.
bool InitialiseHost(const QString& systemName, QString* error);

// The login name as the host's user ID: upper case, at most 10 characters.
QString LoginUserId();

} // namespace kwvd::clientaccess
