#pragma once
// The data queues of the emulated host's store. A queue is a folder of its
// library, QSYS.LIB/<LIB>.LIB/<QUEUE>.DTAQ, holding its attributes
// (queue.json) and one file per entry, named by a number that grows with
// every write, so the oldest entry is the lowest. Every change (create,
// write, take, clear) is made under the store's lock, so two processes
// never take the same entry and never lose one. A waiting reader watches
// the queue's folder and tries again as soon as a file arrives in it.

#include "platform/clientaccess/HostMessages.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

namespace kwvd::clientaccess {

struct DataQueueAttributes
{
    unsigned long maxLength = 512;
    bool forceToDisk = true;
    bool recordSender = false;
    QString description;
};

constexpr unsigned long kDataQueueMaxLengthLimit = 64512;
constexpr qsizetype kDataQueueDescriptionLimit = 50;

// A queue found in the store: where it is and what it holds.
struct DataQueueInfo
{
    QString library;
    QString name;
    QString folder;
    DataQueueAttributes attributes;
    std::size_t entries = 0;
};

// Each call answers a result code of ResultCodes.h; a failure fills
// *message (which may be null) with the host message that says why.
// systemName is the name of a configured system, as the store holds it.

unsigned CreateDataQueue(const QString& systemName, const QString& library, const QString& queue,
                         const DataQueueAttributes& attributes, HostMessage* message);

// The queue as it is now: kCwbNotFound when it or its library is missing.
unsigned FindDataQueue(const QString& systemName, const QString& library, const QString& queue, DataQueueInfo* info,
                       HostMessage* message);

// Appends one entry (host form); kCwbDqEntryTooLong when it is longer than
// the queue's maximum, kCwbInvalidParameter when it is empty.
unsigned WriteDataQueueEntry(const DataQueueInfo& queue, const QByteArray& entry, HostMessage* message);

// Takes the oldest entry: accept is given it under the lock and answers
// whether the caller could take it; an entry refused stays first in the
// queue and the call answers kCwbOk with *taken false. Waits up to
// waitSeconds for one to arrive (0: not at all, negative: without limit);
// kCwbNoData, without a message, when none did.
unsigned TakeDataQueueEntry(const DataQueueInfo& queue, long waitSeconds,
                            const std::function<bool(const QByteArray&)>& accept, bool* taken, HostMessage* message);

// Removes every entry.
unsigned ClearDataQueue(const DataQueueInfo& queue, HostMessage* message);

// The queues of a system, by library and name; libraryFilter (empty: all)
// is compared without regard to case.
unsigned ListDataQueues(const QString& systemName, const QString& libraryFilter, std::vector<DataQueueInfo>* queues,
                        HostMessage* message);

} // namespace kwvd::clientaccess
