#include "platform/clientaccess/HostStore.h"

#include "platform/framework/Exceptions.h"
#include "platform/framework/SafeFileSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kwvd::clientaccess {

namespace {

const QString kStoreFile = QStringLiteral("store.json");
const QString kLockFile = QStringLiteral("store.lock");
constexpr int kFormat = 1;

QString StoreFilePath()
{
    return StoreRoot() + u'/' + kStoreFile;
}

QJsonArray ToJson(const QStringList& list)
{
    QJsonArray array;
    for (const QString& item : list)
        array.append(item);
    return array;
}

QStringList StringList(const QJsonValue& value)
{
    QStringList list;
    for (const QJsonValue& item : value.toArray())
        list.append(item.toString());
    return list;
}

QByteArray Serialise(const StoreState& state)
{
    QJsonArray systems;
    for (const HostSystem& system : state.systems) {
        QJsonObject object;
        object[u"name"] = system.name;
        if (system.ccsid != 0)
            object[u"ccsid"] = static_cast<qint64>(system.ccsid);
        object[u"user"] = system.userId;
        object[u"reachable"] = system.reachable;
        object[u"refusesSignon"] = system.refusesSignon;
        object[u"fileServers"] = ToJson(system.fileServerNames);
        object[u"libraries"] = ToJson(system.initialLibraries);
        QJsonArray programs;
        for (const RegisteredProgram& program : system.programs) {
            QJsonObject entry;
            entry[u"library"] = program.library;
            entry[u"program"] = program.program;
            entry[u"executable"] = program.executable;
            entry[u"arguments"] = ToJson(program.arguments);
            programs.append(entry);
        }
        object[u"programs"] = programs;
        object[u"nextJob"] = static_cast<qint64>(system.nextJob);
        systems.append(object);
    }
    QJsonArray faults;
    for (const HostFault& fault : state.faults) {
        QJsonObject entry;
        entry[u"operation"] = fault.operation;
        entry[u"code"] = static_cast<qint64>(fault.code);
        entry[u"messageId"] = fault.messageId;
        entry[u"messageText"] = fault.messageText;
        entry[u"once"] = fault.once;
        faults.append(entry);
    }
    QJsonObject root;
    root[u"format"] = kFormat;
    root[u"default"] = state.defaultSystem;
    root[u"systems"] = systems;
    root[u"faults"] = faults;
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

// A count that must fit an unsigned and is not negative.
bool ReadUnsigned(const QJsonValue& value, unsigned long limit, unsigned long* out)
{
    if (!value.isDouble())
        return false;
    const double number = value.toDouble();
    if (number < 0 || number > static_cast<double>(limit) || number != static_cast<double>(static_cast<qint64>(number)))
        return false;
    *out = static_cast<unsigned long>(number);
    return true;
}

// The store's advisory lock, held for the object's life.
class StoreLock
{
public:
    explicit StoreLock(const QString& root)
    {
        const QByteArray path = QFile::encodeName(root + u'/' + kLockFile);
        m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (m_fd < 0) {
            m_error = QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        while (::flock(m_fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                m_error = QString::fromLocal8Bit(std::strerror(errno));
                ::close(m_fd);
                m_fd = -1;
                return;
            }
        }
    }
    ~StoreLock()
    {
        if (m_fd >= 0)
            ::close(m_fd); // closing releases the lock
    }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

    bool Held() const { return m_fd >= 0; }
    const QString& Error() const { return m_error; }

private:
    int m_fd = -1;
    QString m_error;
};

} // namespace

std::optional<StoreState> ParseStoreText(const QByteArray& bytes, QString* error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        *error = QStringLiteral("damaged store file: %1").arg(parseError.errorString());
        return std::nullopt;
    }
    const QJsonObject root = document.object();
    if (root.value(u"format").toInt() != kFormat) {
        *error = QStringLiteral("store file of an unknown format");
        return std::nullopt;
    }
    StoreState state;
    state.defaultSystem = root.value(u"default").toString();
    for (const QJsonValue& value : root.value(u"systems").toArray()) {
        const QJsonObject object = value.toObject();
        HostSystem system;
        system.name = object.value(u"name").toString();
        unsigned long number = 0;
        if (object.contains(u"ccsid")) {
            if (!ReadUnsigned(object.value(u"ccsid"), 65535, &number)) {
                *error = QStringLiteral("bad CCSID of system %1").arg(system.name);
                return std::nullopt;
            }
            system.ccsid = static_cast<unsigned>(number);
        }
        system.userId = object.value(u"user").toString().left(10);
        system.reachable = object.value(u"reachable").toBool(true);
        system.refusesSignon = object.value(u"refusesSignon").toBool(false);
        system.fileServerNames = StringList(object.value(u"fileServers"));
        system.initialLibraries = StringList(object.value(u"libraries"));
        for (const QJsonValue& entry : object.value(u"programs").toArray()) {
            const QJsonObject program = entry.toObject();
            system.programs.push_back({program.value(u"library").toString(), program.value(u"program").toString(),
                                       program.value(u"executable").toString(),
                                       StringList(program.value(u"arguments"))});
        }
        if (object.contains(u"nextJob") && ReadUnsigned(object.value(u"nextJob"), 999999, &number) && number > 0)
            system.nextJob = number;
        if (!IsValidSystemName(system.name)) {
            *error = QStringLiteral("bad system name \"%1\" in the store").arg(system.name);
            return std::nullopt;
        }
        state.systems.push_back(std::move(system));
    }
    for (const QJsonValue& value : root.value(u"faults").toArray()) {
        const QJsonObject object = value.toObject();
        HostFault fault;
        fault.operation = object.value(u"operation").toString();
        unsigned long code = 0;
        // A fault that fails with success is none; SetInjectedFault never writes one.
        if (!ReadUnsigned(object.value(u"code"), 0xFFFFFFFFul, &code) || code == 0)
            continue;
        fault.code = static_cast<unsigned>(code);
        fault.messageId = object.value(u"messageId").toString();
        fault.messageText = object.value(u"messageText").toString();
        fault.once = object.value(u"once").toBool(true);
        state.faults.push_back(std::move(fault));
    }
    return state;
}

bool ReplaceStoreFile(const QString& path, const QByteArray& bytes, QString* error)
{
    try {
        kwvd::SaveFileReplacing(path, [&bytes](CFile& file) {
            if (!bytes.isEmpty())
                file.Write(bytes.constData(), static_cast<UINT>(bytes.size()));
        });
    } catch (const CException& exception) {
        *error = exception.GetErrorMessage();
        return false;
    }
    return true;
}

QString StoreRoot()
{
    const QString configured = qEnvironmentVariable("KWVD_EMUHOST");
    if (!configured.isEmpty())
        return QDir::cleanPath(configured);
    const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return QDir::cleanPath(xdg) + QStringLiteral("/kwvd-emuhost");
    return QDir::homePath() + QStringLiteral("/.local/share/kwvd-emuhost");
}

bool StoreExists()
{
    return QFileInfo(StoreFilePath()).isFile();
}

std::optional<StoreState> ReadStore(QString* error)
{
    QString ignored;
    QString& message = error ? *error : ignored;
    QFile file(StoreFilePath());
    if (!file.exists())
        return StoreState{};
    if (!file.open(QIODevice::ReadOnly)) {
        message = QStringLiteral("cannot read %1: %2").arg(file.fileName(), file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        message = QStringLiteral("cannot read %1: %2").arg(file.fileName(), file.errorString());
        return std::nullopt;
    }
    return ParseStoreText(bytes, &message);
}

bool ChangeStore(const std::function<bool(StoreState&)>& change, QString* error)
{
    QString ignored;
    QString& message = error ? *error : ignored;
    const QString root = StoreRoot();
    if (!QDir().mkpath(root)) {
        message = QStringLiteral("cannot create the store folder %1").arg(root);
        return false;
    }
    StoreLock lock(root);
    if (!lock.Held()) {
        message = QStringLiteral("cannot lock the store %1: %2").arg(root, lock.Error());
        return false;
    }
    // Always from the disk: another process may have changed it since.
    std::optional<StoreState> state = ReadStore(&message);
    if (!state)
        return false;
    if (!change(*state))
        return true;
    return ReplaceStoreFile(StoreFilePath(), Serialise(*state), &message);
}

const HostSystem* FindSystem(const StoreState& state, const QString& name)
{
    for (const HostSystem& system : state.systems) {
        if (system.name.compare(name, Qt::CaseInsensitive) == 0)
            return &system;
    }
    return nullptr;
}

HostSystem* FindSystem(StoreState& state, const QString& name)
{
    return const_cast<HostSystem*>(FindSystem(std::as_const(state), name));
}

const HostSystem* DefaultSystem(const StoreState& state)
{
    if (const HostSystem* marked = FindSystem(state, state.defaultSystem))
        return marked;
    return state.systems.empty() ? nullptr : &state.systems.front();
}

QString SystemFolder(const QString& systemName)
{
    return StoreRoot() + u'/' + systemName;
}

QString IfsFolder(const QString& systemName)
{
    return SystemFolder(systemName) + QStringLiteral("/ifs");
}

QString ResolveIgnoringCase(const QString& base, const QStringList& components, bool* allExist)
{
    QString path = base;
    bool exists = QFileInfo::exists(base);
    for (const QString& component : components) {
        if (component.isEmpty())
            continue;
        if (component == u"." || component == u"..") {
            if (allExist)
                *allExist = false;
            return {};
        }
        QString chosen = component;
        if (exists) {
            const QDir folder(path);
            if (!QFileInfo::exists(path + u'/' + component)) {
                const QStringList entries =
                    folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
                bool found = false;
                for (const QString& entry : entries) {
                    if (entry.compare(component, Qt::CaseInsensitive) == 0) {
                        chosen = entry;
                        found = true;
                        break;
                    }
                }
                exists = found;
            }
        }
        path += u'/' + chosen;
    }
    if (allExist)
        *allExist = exists;
    return path;
}

QString LibraryFolder(const QString& systemName, const QString& library)
{
    return ResolveIgnoringCase(IfsFolder(systemName), {QStringLiteral("QSYS.LIB"), library + QStringLiteral(".LIB")});
}

bool LibraryExists(const QString& systemName, const QString& library)
{
    if (!IsValidObjectName(library))
        return false;
    return QFileInfo(LibraryFolder(systemName, library)).isDir();
}

QString WvdMemberPath(const QString& systemName, const QString& library, const QString& member)
{
    return ResolveIgnoringCase(IfsFolder(systemName),
                               {QStringLiteral("QSYS.LIB"), library + QStringLiteral(".LIB"),
                                QStringLiteral("APRTPDM.FILE"), member + QStringLiteral(".MBR")});
}

bool WvdMemberExists(const QString& systemName, const QString& library, const QString& member)
{
    if (!IsValidObjectName(library) || !IsValidObjectName(member))
        return false;
    return QFileInfo(WvdMemberPath(systemName, library, member)).isFile();
}

bool IsValidObjectName(const QString& name)
{
    if (name.isEmpty() || name.size() > 10)
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].toUpper().unicode();
        const bool special = c == u'$' || c == u'#' || c == u'@';
        const bool letter = c >= u'A' && c <= u'Z';
        const bool digit = c >= u'0' && c <= u'9';
        if (i == 0 ? !(letter || special) : !(letter || special || digit || c == u'_'))
            return false;
    }
    return true;
}

bool IsValidSystemName(const QString& name)
{
    if (name.isEmpty() || name.size() > 255 || name == u"." || name == u"..")
        return false;
    for (const QChar c : name) {
        if (c.isSpace() || c == u'/' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    }
    return true;
}

QString JobLogPath(const QString& systemName)
{
    return SystemFolder(systemName) + QStringLiteral("/joblog.txt");
}

bool AppendJobLog(const QString& systemName, const QString& entry, QString* error)
{
    const QString path = JobLogPath(systemName);
    if (!QDir().mkpath(SystemFolder(systemName))) {
        *error = QStringLiteral("cannot create the folder of system %1").arg(systemName);
        return false;
    }
    QByteArray bytes;
    QFile file(path);
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
            return false;
        }
        bytes = file.readAll();
        file.close();
    }
    bytes += entry.toUtf8();
    if (!bytes.endsWith('\n'))
        bytes += '\n';
    return ReplaceStoreFile(path, bytes, error);
}

} // namespace kwvd::clientaccess
