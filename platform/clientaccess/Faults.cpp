#include "platform/clientaccess/Faults.h"

#include "platform/clientaccess/HostMessages.h"
#include "platform/clientaccess/HostStore.h"

#include "platform/framework/Cp1252.h"

#include <QFile>

#include <sys/stat.h>

#include <mutex>
#include <optional>

namespace kwvd::clientaccess {

namespace {

// Every call of the layer asks here, conversions once per line: the
// operations with a fault set are kept for as long as the store file stays
// the same file, so the common answer costs one stat.
struct FaultCache
{
    std::mutex mutex;
    bool valid = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    QStringList operations;
};

FaultCache& Cache()
{
    static FaultCache cache;
    return cache;
}

bool MayHaveFault(const QString& operation)
{
    struct stat status
    {};
    const QByteArray path = QFile::encodeName(StoreRoot() + QStringLiteral("/store.json"));
    if (::stat(path.constData(), &status) != 0)
        return false;
    FaultCache& cache = Cache();
    std::lock_guard lock(cache.mutex);
    const bool same = cache.valid && cache.device == status.st_dev && cache.inode == status.st_ino
                      && cache.size == status.st_size && cache.modified.tv_sec == status.st_mtim.tv_sec
                      && cache.modified.tv_nsec == status.st_mtim.tv_nsec;
    if (!same) {
        const std::optional<StoreState> state = ReadStore();
        // A store that cannot be read injects nothing; the call itself
        // meets the damage and reports it.
        if (!state)
            return false;
        cache.operations.clear();
        for (const HostFault& fault : state->faults)
            cache.operations.append(fault.operation);
        cache.valid = true;
        cache.device = status.st_dev;
        cache.inode = status.st_ino;
        cache.size = status.st_size;
        cache.modified = status.st_mtim;
    }
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
