#include "platform/clientaccess/Faults.h"

#include "platform/clientaccess/HostMessages.h"
#include "platform/clientaccess/HostStore.h"

#include "platform/framework/Cp1252.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include <mutex>
#include <optional>

namespace kwvd::clientaccess {

namespace {

// Every call of the layer asks here, conversions once per line: the
// operations with a fault set are kept for as long as store.json stays the
// same file. The cached file is kept open, so no later file can be given its
// inode and pass for it.
struct FaultCache
{
    std::mutex mutex;
    int fd = -1;
    struct stat status
    {};
    QStringList operations;
    std::string pathFrom;
    QByteArray path;
};

FaultCache& Cache()
{
    static FaultCache cache;
    return cache;
}

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size
           && a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

QByteArray ReadAll(int fd)
{
    QByteArray bytes;
    char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got < 0 ? QByteArray() : bytes;
        bytes.append(buffer, got);
    }
}

bool MayHaveFault(const QString& operation)
{
    struct stat status
    {};
    FaultCache& cache = Cache();
    std::lock_guard lock(cache.mutex);
    // The store's place follows the environment, which tests change; the
    // path is made again only when the variables it comes from differ.
    std::string where;
    for (const char* name : {"KWVD_EMUHOST", "XDG_DATA_HOME", "HOME"}) {
        const char* value = std::getenv(name);
        where += value ? value : "";
        where += '\0';
    }
    if (where != cache.pathFrom) {
        cache.pathFrom = where;
        cache.path = QFile::encodeName(StoreRoot() + QStringLiteral("/store.json"));
    }
    const QByteArray& path = cache.path;
    // One stat answers the usual case, a store unchanged since the last call.
    if (::stat(path.constData(), &status) != 0)
        return false;
    if (cache.fd >= 0 && SameFile(cache.status, status))
        return cache.operations.contains(operation);
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    if (::fstat(fd, &status) != 0) {
        ::close(fd);
        return false;
    }
    if (cache.fd >= 0 && SameFile(cache.status, status)) {
        ::close(fd);
        return cache.operations.contains(operation);
    }
    QString error;
    const std::optional<StoreState> state = ParseStoreText(ReadAll(fd), &error);
    // A store that cannot be read injects nothing; the call itself meets the
    // damage and reports it.
    if (!state) {
        ::close(fd);
        return false;
    }
    if (cache.fd >= 0)
        ::close(cache.fd);
    cache.fd = fd;
    cache.status = status;
    cache.operations.clear();
    for (const HostFault& fault : state->faults)
        cache.operations.append(fault.operation);
    return cache.operations.contains(operation);
}

} // namespace

unsigned InjectedFault(const char* operation, cwbSV_ErrHandle errorHandle)
{
    if (!operation)
        return 0;
    const QString name = QString::fromLatin1(operation);
    if (!MayHaveFault(name))
        return 0;
    std::optional<HostFault> taken;
    ChangeStore([&](StoreState& state) {
        for (auto it = state.faults.begin(); it != state.faults.end(); ++it) {
            if (it->operation != name)
                continue;
            taken = *it;
            if (!it->once)
                return false;
            state.faults.erase(it);
            return true;
        }
        return false;
    });
    if (!taken)
        return 0;
    if (!taken->messageId.isEmpty())
        AddHostMessage(errorHandle, ToCp1252(taken->messageId), ToCp1252(taken->messageText));
    return taken->code;
}

bool SetInjectedFault(const char* operation, unsigned code, const char* messageId, const char* messageText, bool once)
{
    if (!operation || !*operation || code == 0)
        return false;
    HostFault fault;
    fault.operation = QString::fromLatin1(operation);
    fault.code = code;
    fault.messageId = messageId ? FromCp1252(messageId) : QString();
    fault.messageText = messageText ? FromCp1252(messageText) : QString();
    fault.once = once;
    return ChangeStore([&](StoreState& state) {
        std::erase_if(state.faults, [&](const HostFault& old) { return old.operation == fault.operation; });
        state.faults.push_back(fault);
        return true;
    });
}

bool ClearInjectedFaults()
{
    return ChangeStore([](StoreState& state) {
        if (state.faults.empty())
            return false;
        state.faults.clear();
        return true;
    });
}

} // namespace kwvd::clientaccess
