#include "platform/clientaccess/HostSetup.h"

#include <QDir>
#include <QFileInfo>

#include <pwd.h>
#include <unistd.h>

namespace kwvd::clientaccess {

namespace {

// The system that answers to name, by its own name or a file-server name.
const HostSystem* AnsweringSystem(const StoreState& state, const QString& name)
{
    for (const HostSystem& system : state.systems) {
        if (system.name.compare(name, Qt::CaseInsensitive) == 0
            || system.FileServerNames().contains(name, Qt::CaseInsensitive))
            return &system;
    }
    return nullptr;
}

bool MakeLibraryFolder(const QString& systemName, const QString& library, QString* error)
{
    if (!IsValidObjectName(library)) {
        *error = QStringLiteral("library name \"%1\" is not valid").arg(library);
        return false;
    }
    const QString folder = ResolveIgnoringCase(
        IfsFolder(systemName), {QStringLiteral("QSYS.LIB"), library.toUpper() + QStringLiteral(".LIB")});
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot create %1").arg(folder);
        return false;
    }
    return true;
}

} // namespace

bool AddSystem(HostSystem system, bool makeDefault, QString* error)
{
    if (!IsValidSystemName(system.name)) {
        *error = QStringLiteral("system name \"%1\" is not valid").arg(system.name);
        return false;
    }
    system.userId = system.userId.toUpper();
    if (system.userId.size() > 10) {
        *error = QStringLiteral("user ID \"%1\" is longer than 10 characters").arg(system.userId);
        return false;
    }
    if (system.ccsid > 65535) {
        *error = QStringLiteral("CCSID %1 is out of range").arg(system.ccsid);
        return false;
    }
    for (QString& library : system.initialLibraries) {
        library = library.toUpper();
        if (!IsValidObjectName(library)) {
            *error = QStringLiteral("library name \"%1\" is not valid").arg(library);
            return false;
        }
    }
    for (const QString& server : system.fileServerNames) {
        if (!IsValidSystemName(server)) {
            *error = QStringLiteral("file-server name \"%1\" is not valid").arg(server);
            return false;
        }
    }
    bool refused = false;
    const bool written = ChangeStore(
        [&](StoreState& state) {
            QStringList names = system.FileServerNames();
            names.append(system.name);
            for (const QString& name : names) {
                if (const HostSystem* other = AnsweringSystem(state, name)) {
                    *error = QStringLiteral("system %1 already answers to the name %2").arg(other->name, name);
                    refused = true;
                    return false;
                }
            }
            for (const QString& library : system.initialLibraries) {
                if (!MakeLibraryFolder(system.name, library, error)) {
                    refused = true;
                    return false;
                }
            }
            if (makeDefault || state.systems.empty())
                state.defaultSystem = system.name;
            state.systems.push_back(system);
            return true;
        },
        error);
    return written && !refused;
}

bool RemoveSystem(const QString& systemName, QString* error)
{
    bool found = false;
    const bool written = ChangeStore(
        [&](StoreState& state) {
            const HostSystem* system = FindSystem(state, systemName);
            if (!system)
                return false;
            found = true;
            if (state.defaultSystem.compare(system->name, Qt::CaseInsensitive) == 0)
                state.defaultSystem.clear();
            state.systems.erase(state.systems.begin() + (system - state.systems.data()));
            return true;
        },
        error);
    if (written && !found)
        *error = QStringLiteral("system %1 is not configured").arg(systemName);
    return written && found;
}

namespace {

enum class Outcome {
    Refused,
    Done,         // files written, the store file unchanged
    DoneAndWrite, // the system's record changed
};

// Runs change on the named system under the store's lock.
bool ChangeSystem(const QString& systemName, QString* error, const std::function<Outcome(HostSystem&)>& change)
{
    Outcome outcome = Outcome::Refused;
    const bool written = ChangeStore(
        [&](StoreState& state) {
            HostSystem* system = FindSystem(state, systemName);
            if (!system) {
                *error = QStringLiteral("system %1 is not configured").arg(systemName);
                return false;
            }
            outcome = change(*system);
            return outcome == Outcome::DoneAndWrite;
        },
        error);
    return written && outcome != Outcome::Refused;
}

} // namespace

bool AddLibrary(const QString& systemName, const QString& library, QString* error)
{
    return ChangeSystem(systemName, error, [&](HostSystem& system) {
        if (LibraryExists(system.name, library)) {
            *error = QStringLiteral("library %1 already exists on %2").arg(library.toUpper(), system.name);
            return Outcome::Refused;
        }
        return MakeLibraryFolder(system.name, library, error) ? Outcome::Done : Outcome::Refused;
    });
}

bool AddHostFolder(const QString& systemName, const QString& folder, QString* error)
{
    return ChangeSystem(systemName, error, [&](HostSystem& system) {
        const QString path = ResolveIgnoringCase(IfsFolder(system.name), folder.split(u'/', Qt::SkipEmptyParts));
        if (path.isEmpty() || !QDir().mkpath(path)) {
            *error = QStringLiteral("cannot create the folder %1").arg(folder);
            return Outcome::Refused;
        }
        return Outcome::Done;
    });
}

bool AddProgram(const QString& systemName, RegisteredProgram program, QString* error)
{
    program.library = program.library.toUpper();
    program.program = program.program.toUpper();
    if (!IsValidObjectName(program.library) || !IsValidObjectName(program.program)) {
        *error = QStringLiteral("program name %1/%2 is not valid").arg(program.library, program.program);
        return false;
    }
    if (program.executable.isEmpty()) {
        *error = QStringLiteral("no executable given");
        return false;
    }
    return ChangeSystem(systemName, error, [&](HostSystem& system) {
        if (!LibraryExists(system.name, program.library)) {
            *error = QStringLiteral("library %1 does not exist on %2").arg(program.library, system.name);
            return Outcome::Refused;
        }
        std::erase_if(system.programs, [&](const RegisteredProgram& old) {
            return old.library == program.library && old.program == program.program;
        });
        system.programs.push_back(program);
        return Outcome::DoneAndWrite;
    });
}

QString LoginUserId()
{
    QString name;
    if (const passwd* entry = ::getpwuid(::geteuid()))
        name = QString::fromLocal8Bit(entry->pw_name);
    if (name.isEmpty())
        name = qEnvironmentVariable("USER");
    if (name.isEmpty())
        name = QStringLiteral("QUSER");
    return name.toUpper().left(10);
}

bool InitialiseHost(const QString& systemName, QString* error)
{
    HostSystem system;
    system.name = systemName.isEmpty() ? QStringLiteral("KWVDSYS") : systemName;
    system.ccsid = 285;
    system.userId = LoginUserId();
    if (!AddSystem(system, true, error))
        return false;
    return AddLibrary(system.name, QStringLiteral("KWVD"), error)
           && AddHostFolder(system.name, QStringLiteral("QDLS/KWVD/PCIN"), error);
}

} // namespace kwvd::clientaccess
