#include "platform/clientaccess/DataQueueStore.h"

#include "platform/clientaccess/HostStore.h"
#include "platform/clientaccess/ResultCodes.h"

#include "platform/framework/Cp1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <optional>

namespace kwvd::clientaccess {

namespace {

const QString kAttributesFile = QStringLiteral("queue.json");
const QString kEntrySuffix = QStringLiteral(".entry");
constexpr int kFormat = 1;
// Entry numbers are written with this many digits, so names sort as numbers.
constexpr int kEntryDigits = 20;

void Say(HostMessage* message, const char* id, const QString& text)
{
    if (message)
        *message = {id, ToCp1252(text)};
}

QString QueueName(const QString& library, const QString& queue)
{
    return library.toUpper() + u'/' + queue.toUpper();
}

unsigned StoreProblem(HostMessage* message, const QString& what, const QString& reason)
{
    Say(message, "KWV7006", QStringLiteral("Data queue %1 cannot be used: %2").arg(what, reason));
    return kCwbStoreError;
}

QByteArray SerialiseAttributes(const DataQueueAttributes& attributes)
{
    QJsonObject object;
    object[u"format"] = kFormat;
    object[u"maxLength"] = static_cast<qint64>(attributes.maxLength);
    object[u"forceToDisk"] = attributes.forceToDisk;
    object[u"recordSender"] = attributes.recordSender;
    object[u"description"] = attributes.description;
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

std::optional<DataQueueAttributes> ReadAttributes(const QString& folder, QString* error)
{
    QFile file(folder + u'/' + kAttributesFile);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(file.fileName(), file.errorString());
        return std::nullopt;
    }
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    const QJsonObject object = document.object();
    const double maxLength = object.value(u"maxLength").toDouble(-1);
    if (!document.isObject() || object.value(u"format").toInt() != kFormat || maxLength < 1
        || maxLength > kDataQueueMaxLengthLimit || maxLength != static_cast<double>(static_cast<qint64>(maxLength))) {
        *error = QStringLiteral("damaged attributes file %1").arg(file.fileName());
        return std::nullopt;
    }
    DataQueueAttributes attributes;
    attributes.maxLength = static_cast<unsigned long>(maxLength);
    attributes.forceToDisk = object.value(u"forceToDisk").toBool(true);
    attributes.recordSender = object.value(u"recordSender").toBool(false);
    attributes.description = object.value(u"description").toString().left(kDataQueueDescriptionLimit);
    return attributes;
}

// The entry files of a queue folder, oldest first.
QStringList EntryFiles(const QString& folder)
{
    return QDir(folder).entryList({u'*' + kEntrySuffix}, QDir::Files | QDir::Hidden, QDir::Name);
}

quint64 EntryNumber(const QString& fileName)
{
    return fileName.left(fileName.size() - kEntrySuffix.size()).toULongLong();
}

// Runs work under the store's lock; store.json is left as it is.
unsigned UnderStoreLock(const std::function<unsigned()>& work, const QString& what, HostMessage* message)
{
    unsigned result = kCwbOk;
    QString error;
    const bool locked = ChangeStore(
        [&](StoreState&) {
            result = work();
            return false;
        },
        &error);
    if (!locked)
        return StoreProblem(message, what, error);
    return result;
}

unsigned CheckNames(const QString& library, const QString& queue, HostMessage* message)
{
    if (!IsValidObjectName(library)) {
        Say(message, "KWV7005", QStringLiteral("Library name %1 is not valid.").arg(library));
        return kCwbInvalidParameter;
    }
    if (!IsValidObjectName(queue)) {
        Say(message, "KWV7005", QStringLiteral("Data queue name %1 is not valid.").arg(queue));
        return kCwbInvalidParameter;
    }
    return kCwbOk;
}

// A watch on a queue's folder that wakes a waiting reader when a file
// arrives in it. Without inotify (the watch limit reached) the reader looks
// again at short intervals.
class FolderWatch
{
public:
    explicit FolderWatch(const QString& folder)
    {
        m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (m_fd < 0)
            return;
        const QByteArray path = QFile::encodeName(folder);
        if (::inotify_add_watch(m_fd, path.constData(), IN_MOVED_TO | IN_CLOSE_WRITE | IN_DELETE_SELF | IN_MOVE_SELF)
            < 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~FolderWatch()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Waits until something changed in the folder or the time is up.
    void Wait(std::chrono::milliseconds limit)
    {
        constexpr std::chrono::milliseconds kFallbackInterval{50};
        if (m_fd < 0) {
            ::usleep(static_cast<useconds_t>(std::min(limit, kFallbackInterval).count() * 1000));
            return;
        }
        pollfd watched{m_fd, POLLIN, 0};
        const int ready = ::poll(&watched, 1, static_cast<int>(std::min<long long>(limit.count(), 1 << 30)));
        if (ready > 0) {
            alignas(inotify_event) char events[4096];
            while (::read(m_fd, events, sizeof events) > 0) {
            }
        }
    }

private:
    int m_fd = -1;
};

} // namespace

unsigned CreateDataQueue(const QString& systemName, const QString& library, const QString& queue,
                         const DataQueueAttributes& attributes, HostMessage* message)
{
    if (const unsigned result = CheckNames(library, queue, message))
        return result;
    if (attributes.maxLength < 1 || attributes.maxLength > kDataQueueMaxLengthLimit
        || attributes.description.size() > kDataQueueDescriptionLimit) {
        Say(message, "KWV7007", QStringLiteral("The attributes of data queue %1 are not valid.").arg(QueueName(library, queue)));
        return kCwbInvalidParameter;
    }
    const QString what = QueueName(library, queue);
    return UnderStoreLock(
        [&]() -> unsigned {
            if (!LibraryExists(systemName, library)) {
                Say(message, "KWV7002", QStringLiteral("Library %1 not found.").arg(library.toUpper()));
                return kCwbNotFound;
            }
            const QString libraryFolder = LibraryFolder(systemName, library);
            bool exists = false;
            const QString folder = ResolveIgnoringCase(libraryFolder, {queue + QStringLiteral(".DTAQ")}, &exists);
            if (exists) {
                Say(message, "KWV7001", QStringLiteral("Data queue %1 already exists.").arg(what));
                return kCwbQueueExists;
            }
            // Made whole beside its place and renamed into it, so no queue is
            // ever seen without its attributes.
            const QString building = libraryFolder + QStringLiteral("/.") + queue + QStringLiteral(".DTAQ.new");
            QDir(building).removeRecursively();
            QString error;
            if (!QDir().mkpath(building))
                return StoreProblem(message, what, QStringLiteral("cannot create %1").arg(building));
            if (!ReplaceStoreFile(building + u'/' + kAttributesFile, SerialiseAttributes(attributes), &error)) {
                QDir(building).removeRecursively();
                return StoreProblem(message, what, error);
            }
            if (!QDir().rename(building, folder)) {
                QDir(building).removeRecursively();
                return StoreProblem(message, what, QStringLiteral("cannot create %1").arg(folder));
            }
            return kCwbOk;
        },
        what, message);
}

unsigned FindDataQueue(const QString& systemName, const QString& library, const QString& queue, DataQueueInfo* info,
                       HostMessage* message)
{
    if (const unsigned result = CheckNames(library, queue, message))
        return result;
    const QString what = QueueName(library, queue);
    if (!LibraryExists(systemName, library)) {
        Say(message, "KWV7002", QStringLiteral("Library %1 not found.").arg(library.toUpper()));
        return kCwbNotFound;
    }
    bool exists = false;
    const QString folder =
        ResolveIgnoringCase(LibraryFolder(systemName, library), {queue + QStringLiteral(".DTAQ")}, &exists);
    if (!exists || !QFileInfo(folder).isDir()) {
        Say(message, "KWV7003", QStringLiteral("Data queue %1 not found.").arg(what));
        return kCwbNotFound;
    }
    QString error;
    const std::optional<DataQueueAttributes> attributes = ReadAttributes(folder, &error);
    if (!attributes)
        return StoreProblem(message, what, error);
    info->library = QFileInfo(QFileInfo(folder).path()).completeBaseName();
    info->name = QFileInfo(folder).completeBaseName();
    info->folder = folder;
    info->attributes = *attributes;
    info->entries = static_cast<std::size_t>(EntryFiles(folder).size());
    return kCwbOk;
}

unsigned WriteDataQueueEntry(const DataQueueInfo& queue, const QByteArray& entry, HostMessage* message)
{
    const QString what = QueueName(queue.library, queue.name);
    if (entry.isEmpty()) {
        Say(message, "KWV7008", QStringLiteral("An empty entry cannot be written to data queue %1.").arg(what));
        return kCwbInvalidParameter;
    }
    if (static_cast<unsigned long>(entry.size()) > queue.attributes.maxLength) {
        Say(message, "KWV7004",
            QStringLiteral("An entry of %1 bytes is longer than the %2 bytes data queue %3 takes.")
                .arg(entry.size())
                .arg(queue.attributes.maxLength)
                .arg(what));
        return kCwbDqEntryTooLong;
    }
    return UnderStoreLock(
        [&]() -> unsigned {
            if (!QFileInfo(queue.folder).isDir()) {
                Say(message, "KWV7003", QStringLiteral("Data queue %1 not found.").arg(what));
                return kCwbNotFound;
            }
            const QStringList files = EntryFiles(queue.folder);
            const quint64 number = files.isEmpty() ? 1 : EntryNumber(files.last()) + 1;
            const QString name = QStringLiteral("%1").arg(number, kEntryDigits, 10, QLatin1Char('0')) + kEntrySuffix;
            QString error;
            if (!ReplaceStoreFile(queue.folder + u'/' + name, entry, &error))
                return StoreProblem(message, what, error);
            return kCwbOk;
        },
        what, message);
}

unsigned TakeDataQueueEntry(const DataQueueInfo& queue, long waitSeconds,
                            const std::function<bool(const QByteArray&)>& accept, bool* taken, HostMessage* message)
{
    using Clock = std::chrono::steady_clock;
    const QString what = QueueName(queue.library, queue.name);
    *taken = false;
    // A wait of more than a year is one without limit; the deadline of a
    // larger one would not fit the clock.
    constexpr long kLongestWait = 366L * 24 * 3600;
    const bool noLimit = waitSeconds < 0 || waitSeconds > kLongestWait;
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(noLimit ? 0 : waitSeconds);
    // Watching starts before the first look, so an entry written between a
    // look that found none and the wait still wakes the reader.
    std::optional<FolderWatch> watch;
    if (waitSeconds != 0)
        watch.emplace(queue.folder);
    for (;;) {
        bool found = false;
        const unsigned result = UnderStoreLock(
            [&]() -> unsigned {
                if (!QFileInfo(queue.folder).isDir()) {
                    Say(message, "KWV7003", QStringLiteral("Data queue %1 not found.").arg(what));
                    return kCwbNotFound;
                }
                const QStringList files = EntryFiles(queue.folder);
                if (files.isEmpty())
                    return kCwbOk;
                found = true;
                QFile file(queue.folder + u'/' + files.first());
                if (!file.open(QIODevice::ReadOnly))
                    return StoreProblem(message, what, file.errorString());
                const QByteArray entry = file.readAll();
                if (file.error() != QFileDevice::NoError)
                    return StoreProblem(message, what, file.errorString());
                file.close();
                if (!accept(entry))
                    return kCwbOk;
                if (!QFile::remove(file.fileName()))
                    return StoreProblem(message, what, QStringLiteral("cannot remove %1").arg(file.fileName()));
                *taken = true;
                return kCwbOk;
            },
            what, message);
        if (result != kCwbOk || found)
            return result;
        const Clock::time_point now = Clock::now();
        if (!noLimit && now >= deadline)
            break;
        const auto left = noLimit ? std::chrono::milliseconds(60000)
                                  : std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
        watch->Wait(left);
    }
    // An empty queue is the usual answer of a poll, not a fault: no message,
    // or a long-lived error handle would fill with them.
    return kCwbNoData;
}

unsigned ClearDataQueue(const DataQueueInfo& queue, HostMessage* message)
{
    const QString what = QueueName(queue.library, queue.name);
    return UnderStoreLock(
        [&]() -> unsigned {
            if (!QFileInfo(queue.folder).isDir()) {
                Say(message, "KWV7003", QStringLiteral("Data queue %1 not found.").arg(what));
                return kCwbNotFound;
            }
            for (const QString& name : EntryFiles(queue.folder)) {
                if (!QFile::remove(queue.folder + u'/' + name))
                    return StoreProblem(message, what, QStringLiteral("cannot remove %1").arg(name));
            }
            return kCwbOk;
        },
        what, message);
}

unsigned ListDataQueues(const QString& systemName, const QString& libraryFilter, std::vector<DataQueueInfo>* queues,
                        HostMessage* message)
{
    queues->clear();
    bool exists = false;
    const QString qsys = ResolveIgnoringCase(IfsFolder(systemName), {QStringLiteral("QSYS.LIB")}, &exists);
    if (!exists)
        return kCwbOk;
    const QStringList libraries =
        QDir(qsys).entryList({QStringLiteral("*.LIB")}, QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& libraryFolder : libraries) {
        const QString library = QFileInfo(libraryFolder).completeBaseName();
        if (!libraryFilter.isEmpty() && library.compare(libraryFilter, Qt::CaseInsensitive) != 0)
            continue;
        const QStringList names = QDir(qsys + u'/' + libraryFolder)
                                      .entryList({QStringLiteral("*.DTAQ")}, QDir::Dirs | QDir::NoDotAndDotDot,
                                                 QDir::Name | QDir::IgnoreCase);
        for (const QString& name : names) {
            DataQueueInfo info;
            if (const unsigned result = FindDataQueue(systemName, library, QFileInfo(name).completeBaseName(), &info, message))
                return result;
            queues->push_back(std::move(info));
        }
    }
    return kCwbOk;
}

} // namespace kwvd::clientaccess
