#include "platform/registry/RegistryStore.h"

#include "platform/registry/RegistryFormat.h"
#include "platform/registry/RegistryNode.h"

#include <QDir>
#include <QFile>
#include <QtDebug>

#include <cerrno>
#include <cstring>
#include <functional>
#include <mutex>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kwvd {

namespace {

// Far beyond any real settings file; a bigger one is refused, not read.
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

class UniqueFd
{
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    ~UniqueFd() { Reset(); }

    UniqueFd(UniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }

    int Get() const { return m_fd; }
    bool IsOpen() const { return m_fd >= 0; }

    void Reset()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd = -1;
};

// One root's file as last read.
struct RootState
{
    QString path;
    bool loaded = false;  // the fields below describe path
    bool readable = true; // false: there but not taken in, so never written over
    bool present = false;
    // Held open so that the inode stays ours: no later file can reuse its
    // number and pass for the file we parsed.
    UniqueFd fd;
    struct stat status
    {};
    RegistryNode tree;
};

int IndexOf(RegistryRoot root)
{
    switch (root) {
    case RegistryRoot::CurrentUser:
        return 0;
    case RegistryRoot::LocalMachine:
        return 1;
    case RegistryRoot::ClassesRoot:
        return 2;
    }
    return 0;
}

const char* FileNameOf(RegistryRoot root)
{
    switch (root) {
    case RegistryRoot::CurrentUser:
        return "user.reg";
    case RegistryRoot::LocalMachine:
        return "machine.reg";
    case RegistryRoot::ClassesRoot:
        return "classes.reg";
    }
    return "user.reg";
}

void Warn(const QString& message)
{
    qWarning().noquote() << "registry:" << message;
}

QString OsError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size
           && a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec
           && a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

bool ReadAll(int fd, std::string& text)
{
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            return true;
        if (static_cast<qint64>(text.size()) + got > kMaxFileSize) {
            errno = EFBIG;
            return false;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

bool WriteAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t put = ::write(fd, text.data() + done, text.size() - done);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(put);
    }
    return true;
}

void LoadRoot(RootState& state, const QString& path)
{
    state = RootState();
    state.path = path;
    state.loaded = true;

    const QByteArray native = QFile::encodeName(path);
    UniqueFd fd(::open(native.constData(), O_RDONLY | O_CLOEXEC));
    if (!fd.IsOpen()) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR)
            return;
        Warn(QStringLiteral("cannot read %1: %2").arg(path, OsError(error)));
        state.loaded = false;
        state.readable = false;
        return;
    }

    state.present = true;
    if (::fstat(fd.Get(), &state.status) != 0) {
        Warn(QStringLiteral("cannot read %1: %2").arg(path, OsError(errno)));
        state.loaded = false;
        state.readable = false;
        return;
    }
    state.fd = std::move(fd);
    if (!S_ISREG(state.status.st_mode)) {
        Warn(QStringLiteral("%1 is not a file; its settings are left alone").arg(path));
        state.readable = false;
        return;
    }
    std::string text;
    if (state.status.st_size > kMaxFileSize || !ReadAll(state.fd.Get(), text)) {
        const int error = state.status.st_size > kMaxFileSize ? EFBIG : errno;
        Warn(QStringLiteral("cannot read %1: %2").arg(path, OsError(error)));
        state.readable = false;
        return;
    }

    ParsedRegistry parsed = ParseRegistryText(text);
    if (!parsed.supported) {
        Warn(QStringLiteral("%1 has a format this program does not know; it is left alone").arg(path));
        state.readable = false;
        return;
    }
    if (!parsed.droppedLines.empty()) {
        QStringList lines;
        for (std::size_t i = 0; i < parsed.droppedLines.size() && i < 10; ++i)
            lines.append(QString::number(parsed.droppedLines[i]));
        if (parsed.droppedLines.size() > 10)
            lines.append(QStringLiteral("..."));
        Warn(QStringLiteral("%1: unreadable lines left out (line %2); the next change drops them")
                 .arg(path, lines.join(QStringLiteral(", "))));
    }
    state.tree = std::move(parsed.root);
}

// Writes the text beside the file and renames it over, so that a reader sees
// the old file or the new one, never part of either. Returns the new file,
// still open, or nothing when the old file is left as it was.
UniqueFd ReplaceFile(const QString& path, const std::string& text, const struct stat* old)
{
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temp = QFile::encodeName(path + QStringLiteral(".tmp"));

    UniqueFd fd(::open(temp.constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!fd.IsOpen()) {
        Warn(QStringLiteral("cannot write %1: %2").arg(QFile::decodeName(temp), OsError(errno)));
        return {};
    }
    struct stat status
    {};
    bool ok = ::fstat(fd.Get(), &status) == 0;
    if (ok && old && S_ISREG(status.st_mode) && ::fchmod(fd.Get(), old->st_mode & 07777) != 0)
        Warn(QStringLiteral("cannot keep the permissions of %1: %2").arg(path, OsError(errno)));
    ok =
        ok && WriteAll(fd.Get(), text) && ::fsync(fd.Get()) == 0 && ::rename(temp.constData(), target.constData()) == 0;
    if (!ok) {
        const int error = errno;
        ::unlink(temp.constData());
        Warn(QStringLiteral("cannot write %1: %2").arg(path, OsError(error)));
        return {};
    }
    return fd;
}

// The names of parent\subKey, or false when subKey is not a usable path.
bool ResolvePath(const RegistryKey& parent, QStringView subKey, QStringList& parentNames, QStringList& subNames)
{
    return RegistryNode::SplitPath(parent.Path(), parentNames) && RegistryNode::SplitPath(subKey, subNames)
           && parentNames.size() + subNames.size() <= RegistryNode::kMaxDepth;
}

// The path of an existing key in the case it was created with.
std::optional<QString> StoredPath(const RegistryNode& root, const QStringList& names)
{
    QStringList stored;
    const RegistryNode* node = &root;
    for (const QString& name : names) {
        node = node->Child(name);
        if (!node)
            return std::nullopt;
        stored.append(node->Name());
    }
    return stored.join(u'\\');
}

} // namespace

QString ApplicationKeyPath(QStringView program)
{
    return QStringLiteral("Software\\Qorvane\\") + program.toString();
}

struct RegistryStore::Impl
{
    using Change = std::function<RegistryStatus(RegistryNode& tree, bool& changed)>;

    QString folder;
    std::mutex mutex;
    RootState roots[3];

    QString Folder() const { return folder.isEmpty() ? DefaultFolder() : folder; }

    QString FilePath(RegistryRoot root) const { return Folder() + u'/' + QLatin1String(FileNameOf(root)); }

    // The root's tree, read again when its file changed since the last look.
    RootState& Current(RegistryRoot root)
    {
        RootState& state = roots[IndexOf(root)];
        const QString path = FilePath(root);
        struct stat status
        {};
        const bool exists = ::stat(QFile::encodeName(path).constData(), &status) == 0;
        const int error = errno;
        if (state.loaded && state.path == path) {
            if (exists && state.present && SameFile(status, state.status))
                return state;
            if (!exists && !state.present && (error == ENOENT || error == ENOTDIR))
                return state;
        }
        LoadRoot(state, path);
        return state;
    }

    RegistryStatus Modify(RegistryRoot root, const Change& change)
    {
        RootState& state = roots[IndexOf(root)];
        const QString path = FilePath(root);
        const QString folderPath = Folder();
        if (!QDir().mkpath(folderPath)) {
            Warn(QStringLiteral("cannot create the folder %1").arg(folderPath));
            return RegistryStatus::IoError;
        }

        const QByteArray lockPath = QFile::encodeName(path + QStringLiteral(".lock"));
        UniqueFd lock(::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
        if (!lock.IsOpen()) {
            Warn(QStringLiteral("cannot open %1: %2").arg(QFile::decodeName(lockPath), OsError(errno)));
            return RegistryStatus::IoError;
        }
        while (::flock(lock.Get(), LOCK_EX) != 0) {
            if (errno != EINTR) {
                Warn(QStringLiteral("cannot lock %1: %2").arg(QFile::decodeName(lockPath), OsError(errno)));
                return RegistryStatus::IoError;
            }
        }

        // Always from the disk: another process may have written since our
        // last read, and its values must survive this write.
        RootState fresh;
        LoadRoot(fresh, path);
        if (!fresh.readable)
            return RegistryStatus::IoError;

        bool changed = false;
        const RegistryStatus status = change(fresh.tree, changed);
        if (status != RegistryStatus::Ok || !changed) {
            state = std::move(fresh);
            return status;
        }

        UniqueFd written = ReplaceFile(path, FormatRegistryText(fresh.tree), fresh.present ? &fresh.status : nullptr);
        if (!written.IsOpen()) {
            // The tree holds the change that did not reach the disk.
            state = RootState();
            return RegistryStatus::IoError;
        }
        if (::fstat(written.Get(), &fresh.status) == 0) {
            fresh.fd = std::move(written);
            fresh.present = true;
            state = std::move(fresh);
        } else {
            state = RootState();
        }
        return RegistryStatus::Ok;
    }
};

RegistryStore::RegistryStore() : d(std::make_unique<Impl>()) {}

RegistryStore::RegistryStore(QString folder) : d(std::make_unique<Impl>())
{
    d->folder = std::move(folder);
}

RegistryStore::~RegistryStore() = default;

RegistryStore& RegistryStore::Instance()
{
    static RegistryStore store;
    return store;
}

QString RegistryStore::DefaultFolder()
{
    const QByteArray own = qgetenv("KWVD_REGISTRY_DIR");
    if (!own.isEmpty())
        return QFile::decodeName(own);
    // A relative XDG_CONFIG_HOME is invalid and is ignored.
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    const QString base =
        config.startsWith('/') ? QFile::decodeName(config) : QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/kwvd/registry");
}

QString RegistryStore::Folder() const
{
    return d->Folder();
}

QString RegistryStore::FilePath(RegistryRoot root) const
{
    return d->FilePath(root);
}

std::optional<RegistryKey> RegistryStore::CreateKey(const RegistryKey& parent, QStringView subKey)
{
    QStringList parentNames;
    QStringList subNames;
    if (!ResolvePath(parent, subKey, parentNames, subNames))
        return std::nullopt;
    const QStringList names = parentNames + subNames;

    std::lock_guard guard(d->mutex);
    const RootState& state = d->Current(parent.Root());
    if (state.readable) {
        if (const auto stored = StoredPath(state.tree, names))
            return RegistryKey(parent.Root(), *stored);
    }

    std::optional<QString> stored;
    const RegistryStatus status = d->Modify(parent.Root(), [&](RegistryNode& tree, bool& changed) {
        RegistryNode* parentNode = tree.Find(parentNames);
        if (!parentNode)
            return RegistryStatus::NotFound;
        int created = 0;
        parentNode->FindOrCreate(subNames, &created);
        changed = created > 0;
        stored = StoredPath(tree, names);
        return RegistryStatus::Ok;
    });
    if (status != RegistryStatus::Ok || !stored)
        return std::nullopt;
    return RegistryKey(parent.Root(), *stored);
}

std::optional<RegistryKey> RegistryStore::OpenKey(const RegistryKey& parent, QStringView subKey)
{
    QStringList parentNames;
    QStringList subNames;
    if (!ResolvePath(parent, subKey, parentNames, subNames))
        return std::nullopt;
    const QStringList names = parentNames + subNames;

    std::lock_guard guard(d->mutex);
    const RootState& state = d->Current(parent.Root());
    if (const auto stored = StoredPath(state.tree, names))
        return RegistryKey(parent.Root(), *stored);
    return std::nullopt;
}

bool RegistryStore::KeyExists(const RegistryKey& parent, QStringView subKey)
{
    return OpenKey(parent, subKey).has_value();
}

RegistryStatus RegistryStore::DeleteKey(const RegistryKey& parent, QStringView subKey)
{
    QStringList parentNames;
    QStringList subNames;
    if (!ResolvePath(parent, subKey, parentNames, subNames) || subNames.isEmpty())
        return RegistryStatus::InvalidName;
    const QString last = subNames.takeLast();
    const QStringList holderNames = parentNames + subNames;

    std::lock_guard guard(d->mutex);
    return d->Modify(parent.Root(), [&](RegistryNode& tree, bool& changed) {
        RegistryNode* holder = tree.Find(holderNames);
        if (!holder || !holder->RemoveChild(last))
            return RegistryStatus::NotFound;
        changed = true;
        return RegistryStatus::Ok;
    });
}

std::optional<RegistryValue> RegistryStore::ReadValue(const RegistryKey& key, QStringView name)
{
    QStringList names;
    if (!RegistryNode::SplitPath(key.Path(), names))
        return std::nullopt;

    std::lock_guard guard(d->mutex);
    RootState& state = d->Current(key.Root());
    const RegistryNode* node = state.tree.Find(names);
    if (!node)
        return std::nullopt;
    const RegistryValue* value = node->Value(name);
    if (!value)
        return std::nullopt;
    return *value;
}

namespace {

// A value of the wanted type, converted; empty when missing or of another type.
template <class Convert>
auto ReadTyped(std::optional<RegistryValue> value, RegistryValueType type, Convert convert)
    -> std::optional<decltype(convert(*value))>
{
    if (!value || value->Type() != type)
        return std::nullopt;
    return convert(*value);
}

} // namespace

std::optional<std::uint32_t> RegistryStore::ReadNumber(const RegistryKey& key, QStringView name)
{
    return ReadTyped(ReadValue(key, name), RegistryValueType::Number,
                     [](const RegistryValue& v) { return v.ToNumber(); });
}

std::optional<QString> RegistryStore::ReadText(const RegistryKey& key, QStringView name)
{
    return ReadTyped(ReadValue(key, name), RegistryValueType::Text, [](const RegistryValue& v) { return v.ToText(); });
}

std::optional<std::string> RegistryStore::ReadTextUtf8(const RegistryKey& key, QStringView name)
{
    return ReadTyped(ReadValue(key, name), RegistryValueType::Text,
                     [](const RegistryValue& v) { return v.ToTextUtf8(); });
}

std::optional<QByteArray> RegistryStore::ReadBinary(const RegistryKey& key, QStringView name)
{
    return ReadTyped(ReadValue(key, name), RegistryValueType::Binary,
                     [](const RegistryValue& v) { return v.ToBinary(); });
}

RegistryStatus RegistryStore::WriteValue(const RegistryKey& key, QStringView name, const RegistryValue& value)
{
    QStringList names;
    if (!RegistryNode::SplitPath(key.Path(), names))
        return RegistryStatus::InvalidName;

    std::lock_guard guard(d->mutex);
    return d->Modify(key.Root(), [&](RegistryNode& tree, bool& changed) {
        RegistryNode* node = tree.Find(names);
        if (!node)
            return RegistryStatus::NotFound;
        changed = node->SetValue(name, value);
        return RegistryStatus::Ok;
    });
}

RegistryStatus RegistryStore::DeleteValue(const RegistryKey& key, QStringView name)
{
    QStringList names;
    if (!RegistryNode::SplitPath(key.Path(), names))
        return RegistryStatus::InvalidName;

    std::lock_guard guard(d->mutex);
    return d->Modify(key.Root(), [&](RegistryNode& tree, bool& changed) {
        RegistryNode* node = tree.Find(names);
        if (!node || !node->RemoveValue(name))
            return RegistryStatus::NotFound;
        changed = true;
        return RegistryStatus::Ok;
    });
}

std::vector<QString> RegistryStore::EnumSubKeys(const RegistryKey& key)
{
    std::vector<QString> result;
    QStringList names;
    if (!RegistryNode::SplitPath(key.Path(), names))
        return result;

    std::lock_guard guard(d->mutex);
    RootState& state = d->Current(key.Root());
    if (const RegistryNode* node = state.tree.Find(names)) {
        for (const auto& child : node->Children())
            result.push_back(child->Name());
    }
    return result;
}

std::vector<std::pair<QString, RegistryValue>> RegistryStore::EnumValues(const RegistryKey& key)
{
    QStringList names;
    if (!RegistryNode::SplitPath(key.Path(), names))
        return {};

    std::lock_guard guard(d->mutex);
    RootState& state = d->Current(key.Root());
    if (const RegistryNode* node = state.tree.Find(names))
        return node->Values();
    return {};
}

} // namespace kwvd
