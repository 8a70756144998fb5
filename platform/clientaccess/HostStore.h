#pragma once
// The emulated host's store: one folder shared by every process that plays
// a part of the host (the designer through Merrow2, the fax client, the fake
// servers, emuhost). The systems, their settings and the injected faults
// live in one file, store.json; each system's own files (its integrated file
// system, its job log) in a folder named after it. Every change is made under
// an advisory lock on store.lock and replaces its file atomically, so two
// processes never lose each other's changes and a reader sees either the old
// file or the new one. The layout is described in README.md beside this file.

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kwvd::clientaccess {

// A program of a system's table of registered executables: CALL PGM(LIB/PGM)
// starts executable with arguments, then the CALL's parameters.
struct RegisteredProgram
{
    QString library;
    QString program;
    QString executable;
    QStringList arguments;
};

struct HostSystem
{
    QString name;
    unsigned ccsid = 0; // 0: none set
    QString userId;     // at most 10 characters
    bool reachable = true;
    bool refusesSignon = false;
    QStringList fileServerNames; // empty: its own name
    QStringList initialLibraries;
    std::vector<RegisteredProgram> programs;
    unsigned long nextJob = 1;

    // The names under which its file system is reached ("\\NAME\...").
    QStringList FileServerNames() const { return fileServerNames.isEmpty() ? QStringList{name} : fileServerNames; }
};

// An operation set to fail, once or until cleared.
struct HostFault
{
    QString operation;
    unsigned code = 0;
    QString messageId;
    QString messageText;
    bool once = true;
};

struct StoreState
{
    std::vector<HostSystem> systems; // in the order they were added
    QString defaultSystem;
    std::vector<HostFault> faults;
};

// $KWVD_EMUHOST, else $XDG_DATA_HOME/kwvd-emuhost (an absolute XDG_DATA_HOME
// only), else ~/.local/share/kwvd-emuhost.
QString StoreRoot();

// Whether the store has been made (its file exists).
bool StoreExists();

// The store as it is on disk; a missing store is an empty one. Empty with
// *error set when the file cannot be read or is damaged.
std::optional<StoreState> ReadStore(QString* error = nullptr);

// The store from the bytes of store.json, for a reader that opened the file
// itself; empty with *error set when they are damaged.
std::optional<StoreState> ParseStoreText(const QByteArray& bytes, QString* error);

// Runs change on the store as it is now on disk, under the lock, and writes
// the result when change answers true. Other files of the store that change
// needs to write (a job log, a library folder) are written inside it, under
// the same lock. False with *error set when the store cannot be read or
// written; change's own refusal is not an error (true, nothing written).
bool ChangeStore(const std::function<bool(StoreState&)>& change, QString* error = nullptr);

// Puts bytes in place of the file at path through kwvd::SaveFileReplacing,
// so a reader sees the old file or the new one; false with *error set when
// it cannot be written. Call inside ChangeStore, which holds the lock.
bool ReplaceStoreFile(const QString& path, const QByteArray& bytes, QString* error);

// Names compared without regard to case.
const HostSystem* FindSystem(const StoreState& state, const QString& name);
HostSystem* FindSystem(StoreState& state, const QString& name);

// The default system: the one marked, else the first; null when there is none.
const HostSystem* DefaultSystem(const StoreState& state);

// <root>/<system name>
QString SystemFolder(const QString& systemName);
// <root>/<system name>/ifs, the system's integrated file system.
QString IfsFolder(const QString& systemName);

// base joined with components, each existing component matched without
// regard to case (as the host's QDLS and QSYS.LIB file systems compare
// names), the rest taken as given. *allExist says whether the whole path
// exists. Components "." and ".." are refused: empty result.
QString ResolveIgnoringCase(const QString& base, const QStringList& components, bool* allExist = nullptr);

// The folder of a library, "QSYS.LIB/<LIB>.LIB" in the system's file system,
// and whether it exists.
QString LibraryFolder(const QString& systemName, const QString& library);
bool LibraryExists(const QString& systemName, const QString& library);

// Where PCWVDCL keeps the WVD member a JVX file became:
// QSYS.LIB/<LIB>.LIB/APRTPDM.FILE/<MEMBER>.MBR. The upload server's member
// check asks WvdMemberExists.
QString WvdMemberPath(const QString& systemName, const QString& library, const QString& member);
bool WvdMemberExists(const QString& systemName, const QString& library, const QString& member);

// Host object names (libraries, programs, members): 1 to 10 characters, a
// letter or $ # @ first, then letters, digits, $ # @ _.
bool IsValidObjectName(const QString& name);
// System names: 1 to 255 characters, no blank, no separator, no control.
bool IsValidSystemName(const QString& name);

// The job log of a system, <root>/<system>/joblog.txt: one line per command
// ("<time> <job> <command text>") and one indented line per host message.
QString JobLogPath(const QString& systemName);
// Appends to it; call inside ChangeStore, which holds the lock.
bool AppendJobLog(const QString& systemName, const QString& entry, QString* error);

} // namespace kwvd::clientaccess
