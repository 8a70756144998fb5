// The data queues from the command line, through the same calls as the
// programs that share them, so an entry put here is one a program reads.

#include "platform/clientaccess/emuhost/DataQueueCommands.h"

#include "platform/clientaccess/DataQueueStore.h"
#include "platform/clientaccess/DataQueues.h"
#include "platform/clientaccess/HostMessages.h"
#include "platform/clientaccess/HostStore.h"
#include "platform/clientaccess/LayerText.h"
#include "platform/clientaccess/emuhost/ConsoleOutput.h"

#include <cstdio>
#include <string>
#include <vector>

namespace kwvd::clientaccess {

const char kDataQueueUsage[] =
    "  dtaq create SYSTEM LIB/QUEUE [--max-length N] [--force-to-disk on|off] [--record-sender on|off]\n"
    "              [--description TEXT]\n"
    "  dtaq list SYSTEM [LIB]\n"
    "  dtaq put SYSTEM LIB/QUEUE TEXT [--hex]    TEXT in the system's CCSID, or hex bytes as they are\n"
    "  dtaq get SYSTEM LIB/QUEUE [--wait SECONDS] [--hex]   exit status 1 when no entry came\n"
    "  dtaq clear SYSTEM LIB/QUEUE\n";

using emuhost::Fail;

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: emuhost dtaq ...\n%s", kDataQueueUsage);
    return 2;
}

// The host messages the calls left on the handle, then the handle goes.
class ErrorHandle
{
public:
    ErrorHandle() { cwbSV_CreateErrHandle(&m_handle); }
    ~ErrorHandle() { cwbSV_DeleteErrHandle(m_handle); }
    ErrorHandle(const ErrorHandle&) = delete;
    ErrorHandle& operator=(const ErrorHandle&) = delete;

    operator cwbSV_ErrHandle() const { return m_handle; }

    // Exit status 1 with every message on standard error.
    int Fail(unsigned result) const
    {
        const std::vector<HostMessage> messages = HostMessages(m_handle);
        if (messages.empty())
            std::fprintf(stderr, "emuhost: failed with code %u\n", result);
        for (const HostMessage& message : messages)
            std::fprintf(stderr, "emuhost: %s %s\n", message.id.c_str(), message.text.c_str());
        return 1;
    }

private:
    cwbSV_ErrHandle m_handle = 0;
};

struct QueueName
{
    std::string library;
    std::string queue;
};

bool SplitQueueName(const QString& text, QueueName* name)
{
    const QStringList parts = text.split(u'/');
    if (parts.size() != 2 || parts[0].isEmpty() || parts[1].isEmpty())
        return false;
    *name = {ToInterfaceText(parts[0]), ToInterfaceText(parts[1])};
    return true;
}

bool ParseSwitch(const QString& text, bool* value)
{
    if (text == u"on" || text == u"1")
        *value = true;
    else if (text == u"off" || text == u"0")
        *value = false;
    else
        return false;
    return true;
}

// An open queue, closed at the end of the scope.
class QueueScope
{
public:
    unsigned Open(const std::string& system, const QueueName& name, cwbSV_ErrHandle errorHandle)
    {
        return cwbDQ_Open(name.queue.c_str(), name.library.c_str(), system.c_str(), &m_handle, errorHandle);
    }
    ~QueueScope()
    {
        if (m_handle)
            cwbDQ_Close(m_handle);
    }
    cwbDQ_QueueHandle Handle() const { return m_handle; }

private:
    cwbDQ_QueueHandle m_handle = 0;
};

class DataScope
{
public:
    DataScope() { cwbDQ_CreateData(&m_data); }
    ~DataScope() { cwbDQ_DeleteData(m_data); }
    DataScope(const DataScope&) = delete;
    DataScope& operator=(const DataScope&) = delete;
    operator cwbDQ_Data() const { return m_data; }

private:
    cwbDQ_Data m_data = 0;
};

int Create(const QStringList& args)
{
    QueueName name;
    if (args.size() < 2 || !SplitQueueName(args[1], &name))
        return Usage();
    cwbDQ_Attr attributes = 0;
    cwbDQ_CreateAttr(&attributes);
    struct AttrGuard
    {
        cwbDQ_Attr handle;
        ~AttrGuard() { cwbDQ_DeleteAttr(handle); }
    } guard{attributes};
    for (qsizetype i = 2; i < args.size(); ++i) {
        const QString& option = args[i];
        if (i + 1 >= args.size())
            return Usage();
        const QString& value = args[++i];
        bool flag = false;
        if (option == u"--max-length") {
            bool ok = false;
            const unsigned long length = value.toULong(&ok);
            if (!ok || cwbDQ_SetMaxRecLen(attributes, length) != kCwbOk)
                return Fail(QStringLiteral("maximum entry length %1 is not valid (1 to %2)")
                                .arg(value)
                                .arg(kDataQueueMaxLengthLimit));
        } else if (option == u"--force-to-disk" && ParseSwitch(value, &flag)) {
            cwbDQ_SetForceToDisk(attributes, flag);
        } else if (option == u"--record-sender" && ParseSwitch(value, &flag)) {
            cwbDQ_SetRecordSender(attributes, flag);
        } else if (option == u"--description") {
            if (cwbDQ_SetDescription(attributes, ToInterfaceText(value).c_str()) != kCwbOk)
                return Fail(QStringLiteral("the description is longer than %1 characters").arg(kDataQueueDescriptionLimit));
        } else {
            return Usage();
        }
    }
    ErrorHandle errors;
    const unsigned result = cwbDQ_Create(name.queue.c_str(), name.library.c_str(), ToInterfaceText(args[0]).c_str(),
                                         attributes, errors);
    return result == kCwbOk ? 0 : errors.Fail(result);
}

int List(const QStringList& args)
{
    if (args.isEmpty() || args.size() > 2)
        return Usage();
    QString error;
    const std::optional<StoreState> state = ReadStore(&error);
    if (!state)
        return Fail(error);
    const HostSystem* system = FindSystem(*state, args[0]);
    if (!system)
        return Fail(QStringLiteral("system %1 is not configured").arg(args[0]));
    std::vector<DataQueueInfo> queues;
    HostMessage message;
    if (ListDataQueues(system->name, args.size() == 2 ? args[1] : QString(), &queues, &message) != kCwbOk)
        return Fail(QString::fromStdString(message.id + " ") + FromInterfaceText(message.text.c_str()));
    for (const DataQueueInfo& queue : queues) {
        const DataQueueAttributes& set = queue.attributes;
        const QString line = QStringLiteral("%1/%2 max-length=%3 force-to-disk=%4 record-sender=%5 entries=%6 "
                                            "description=\"%7\"\n")
                                 .arg(queue.library, queue.name)
                                 .arg(set.maxLength)
                                 .arg(set.forceToDisk ? u"on" : u"off", set.recordSender ? u"on" : u"off")
                                 .arg(queue.entries)
                                 .arg(set.description);
        std::fputs(line.toLocal8Bit().constData(), stdout);
    }
    return 0;
}

int Put(const QStringList& args)
{
    QueueName name;
    if ((args.size() != 3 && args.size() != 4) || !SplitQueueName(args[1], &name))
        return Usage();
    const bool hex = args.size() == 4;
    if (hex && args[3] != u"--hex")
        return Usage();
    QByteArray bytes;
    if (hex) {
        bytes = QByteArray::fromHex(args[2].toLatin1());
        if (bytes.toHex().compare(args[2].toLatin1(), Qt::CaseInsensitive) != 0)
            return Fail(QStringLiteral("%1 is not a sequence of hex bytes").arg(args[2]));
    } else {
        bytes = QByteArray::fromStdString(ToInterfaceText(args[2]));
    }
    ErrorHandle errors;
    QueueScope queue;
    if (const unsigned result = queue.Open(ToInterfaceText(args[0]), name, errors))
        return errors.Fail(result);
    DataScope data;
    cwbDQ_SetConvert(data, !hex);
    cwbDQ_SetData(data, reinterpret_cast<unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
    const unsigned result = cwbDQ_Write(queue.Handle(), data, true, errors);
    return result == kCwbOk ? 0 : errors.Fail(result);
}

int Get(const QStringList& args)
{
    QueueName name;
    if (args.size() < 2 || !SplitQueueName(args[1], &name))
        return Usage();
    long wait = 0;
    bool hex = false;
    for (qsizetype i = 2; i < args.size(); ++i) {
        if (args[i] == u"--hex") {
            hex = true;
        } else if (args[i] == u"--wait" && i + 1 < args.size()) {
            bool ok = false;
            wait = args[++i].toLong(&ok);
            if (!ok || wait < 0)
                return Fail(QStringLiteral("wait %1 is not a number of seconds").arg(args[i]));
        } else {
            return Usage();
        }
    }
    ErrorHandle errors;
    QueueScope queue;
    if (const unsigned result = queue.Open(ToInterfaceText(args[0]), name, errors))
        return errors.Fail(result);
    DataScope data;
    cwbDQ_SetConvert(data, !hex);
    std::vector<unsigned char> buffer(kDataQueueMaxLengthLimit);
    cwbDQ_SetData(data, buffer.data(), static_cast<unsigned long>(buffer.size()));
    const unsigned result = cwbDQ_Read(queue.Handle(), data, wait, errors);
    if (result == kCwbNoData)
        return Fail(QStringLiteral("no entry in %1").arg(args[1].toUpper()));
    if (result != kCwbOk)
        return errors.Fail(result);
    unsigned long length = 0;
    cwbDQ_GetDataLen(data, &length);
    const QByteArray entry(reinterpret_cast<const char*>(buffer.data()), static_cast<qsizetype>(length));
    const QString shown = hex ? QString::fromLatin1(entry.toHex()) : FromInterfaceText(entry.toStdString().c_str());
    std::fputs((shown + u'\n').toLocal8Bit().constData(), stdout);
    return 0;
}

int Clear(const QStringList& args)
{
    QueueName name;
    if (args.size() != 2 || !SplitQueueName(args[1], &name))
        return Usage();
    ErrorHandle errors;
    QueueScope queue;
    if (const unsigned result = queue.Open(ToInterfaceText(args[0]), name, errors))
        return errors.Fail(result);
    const unsigned result = cwbDQ_Clear(queue.Handle(), errors);
    return result == kCwbOk ? 0 : errors.Fail(result);
}

} // namespace

int DataQueueCommand(const QStringList& args)
{
    if (args.isEmpty())
        return Usage();
    const QString& command = args[0];
    const QStringList rest = args.mid(1);
    if (command == u"create")
        return Create(rest);
    if (command == u"list")
        return List(rest);
    if (command == u"put")
        return Put(rest);
    if (command == u"get")
        return Get(rest);
    if (command == u"clear")
        return Clear(rest);
    return Usage();
}

} // namespace kwvd::clientaccess
