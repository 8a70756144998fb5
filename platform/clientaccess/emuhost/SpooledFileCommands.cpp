#include "SpooledFileCommands.h"

#include "platform/clientaccess/HostStore.h"
#include "platform/clientaccess/OutputQueues.h"
#include "platform/clientaccess/emuhost/ConsoleOutput.h"

#include <QFile>
#include <QRegularExpression>

#include <cstdio>

using namespace kwvd::clientaccess;

using emuhost::Fail;
using emuhost::Print;

namespace {

int Usage()
{
    std::fputs("usage: emuhost outq create SYSTEM LIB/QUEUE | outq list SYSTEM [LIB]\n"
               "       emuhost splf add|list|dump|remove ... (emuhost without arguments lists them)\n",
               stderr);
    return 2;
}

// The configured name of a system, empty when it is not configured.
QString ConfiguredSystem(const QString& name, QString* error)
{
    const std::optional<StoreState> state = ReadStore(error);
    if (!state)
        return {};
    const HostSystem* system = FindSystem(*state, name);
    if (!system) {
        *error = QStringLiteral("system %1 is not configured").arg(name);
        return {};
    }
    return system->name;
}

struct QueueName
{
    QString system;
    QString library;
    QString queue;
    QString userId;
};

// SYSTEM and LIB/QUEUE of an existing queue.
std::optional<QueueName> ExistingQueue(const QString& systemName, const QString& queuePath, QString* error)
{
    const QStringList parts = queuePath.split(u'/');
    if (parts.size() != 2) {
        *error = QStringLiteral("output queue %1 is not of the form LIB/QUEUE").arg(queuePath);
        return std::nullopt;
    }
    const std::optional<StoreState> state = ReadStore(error);
    if (!state)
        return std::nullopt;
    const HostSystem* system = FindSystem(*state, systemName);
    if (!system) {
        *error = QStringLiteral("system %1 is not configured").arg(systemName);
        return std::nullopt;
    }
    if (!OutputQueueExists(system->name, parts[0], parts[1])) {
        *error = QStringLiteral("output queue %1 does not exist on %2").arg(queuePath.toUpper(), system->name);
        return std::nullopt;
    }
    return QueueName{system->name, parts[0].toUpper(), parts[1].toUpper(), system->userId};
}

QString Quoted(const QString& text)
{
    if (!text.isEmpty() && !text.contains(u' ') && !text.contains(u'"'))
        return text;
    return u'"' + QString(text).replace(u'"', QStringLiteral("\\\"")) + u'"';
}

bool CheckValue(const AttributeKeyInfo& key, const AttributeValue& value, QString* error)
{
    static const QRegularExpression date(QStringLiteral("^[01][0-9]{2}(0[1-9]|1[0-2])(0[1-9]|[12][0-9]|3[01])$"));
    static const QRegularExpression time(QStringLiteral("^([01][0-9]|2[0-3])[0-5][0-9][0-5][0-9]$"));
    bool ok = true;
    switch (key.key) {
    case kKeyDate:
        ok = date.match(value.text).hasMatch();
        break;
    case kKeyTime:
        ok = time.match(value.text).hasMatch();
        break;
    case kKeyFile:
        ok = IsValidObjectName(value.text);
        break;
    case kKeyUser:
        ok = value.text.size() <= 10;
        break;
    case kKeyUserData:
        ok = value.text.size() <= 12;
        break;
    case kKeyTotalPages:
        ok = value.integer >= 0;
        break;
    default:
        break;
    }
    if (!ok)
        *error = QStringLiteral("%1 is no valid value of --%2").arg(Quoted(AttributeText(value)), QLatin1String(key.name));
    return ok;
}

int AddCommand(const QStringList& args)
{
    // SYSTEM LIB/QUEUE FILE --from PATH [--KEY VALUE]...
    if (args.size() < 3)
        return Usage();
    QString error;
    const std::optional<QueueName> queue = ExistingQueue(args[0], args[1], &error);
    if (!queue)
        return Fail(error);
    std::map<int, AttributeValue> attributes;
    attributes[kKeyFile] = {AttributeType::Text, args[2].toUpper(), 0, 0};
    QString from;
    for (qsizetype i = 3; i < args.size(); ++i) {
        if (!args[i].startsWith(QStringLiteral("--")) || i + 1 >= args.size())
            return Usage();
        const QString option = args[i].mid(2);
        const QString text = args[++i];
        if (option == u"from") {
            from = text;
            continue;
        }
        const AttributeKeyInfo* key = FindAttributeKey(option);
        if (!key || key->key == kKeyOutputQueue || key->key == kKeyLibrary)
            return Fail(QStringLiteral("unknown option --%1").arg(option));
        const std::optional<AttributeValue> value = ParseAttributeValue(*key, text);
        if (!value)
            return Fail(QStringLiteral("%1 is no valid value of --%2").arg(Quoted(text), option));
        attributes[key->key] = *value;
    }
    for (const auto& [key, value] : attributes) {
        if (!CheckValue(*FindAttributeKey(key), value, &error))
            return Fail(error);
    }
    if (from.isEmpty())
        return Fail(QStringLiteral("no --from file given"));
    QFile file(from);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(QStringLiteral("cannot read %1: %2").arg(from, file.errorString()));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Fail(QStringLiteral("cannot read %1: %2").arg(from, file.errorString()));
    attributes.try_emplace(kKeyUser, AttributeValue{AttributeType::Text, queue->userId, 0, 0});
    attributes.try_emplace(kKeyUserData, AttributeValue{AttributeType::Text, QString(), 0, 0});
    attributes.try_emplace(kKeyDate, AttributeValue{AttributeType::Text, HostDateNow(), 0, 0});
    attributes.try_emplace(kKeyTime, AttributeValue{AttributeType::Text, HostTimeNow(), 0, 0});
    attributes.try_emplace(kKeyTotalPages, AttributeValue{AttributeType::Long, {}, CountPages(data), 0});
    unsigned long number = 0;
    if (!AddSpooledFile(queue->system, queue->library, queue->queue, std::move(attributes), data, &number, &error))
        return Fail(error);
    Print(QStringLiteral("%1\n").arg(number));
    return 0;
}

int ListCommand(const QStringList& args)
{
    if (args.size() != 2)
        return Usage();
    QString error;
    const std::optional<QueueName> queue = ExistingQueue(args[0], args[1], &error);
    if (!queue)
        return Fail(error);
    for (const SpooledFile& file : SpooledFilesOf(queue->system, queue->library, queue->queue)) {
        QString line = QString::number(file.number);
        for (const AttributeKeyInfo& key : AttributeKeys()) {
            if (key.key == kKeyOutputQueue || key.key == kKeyLibrary)
                continue;
            if (const std::optional<AttributeValue> value = SpooledFileAttribute(file, key.key))
                line += QStringLiteral(" %1=%2").arg(QLatin1String(key.name), Quoted(AttributeText(*value)));
        }
        Print(line + u'\n');
    }
    return 0;
}

std::optional<SpooledFile> NumberedFile(const QStringList& args, QString* error)
{
    const std::optional<QueueName> queue = ExistingQueue(args[0], args[1], error);
    if (!queue)
        return std::nullopt;
    bool ok = false;
    const unsigned long number = args[2].toULong(&ok);
    std::optional<SpooledFile> file;
    if (ok)
        file = FindSpooledFile(queue->system, queue->library, queue->queue, number);
    if (!file)
        *error = QStringLiteral("spooled file %1 not found in %2/%3").arg(args[2], queue->library, queue->queue);
    return file;
}

int DumpCommand(const QStringList& args)
{
    const bool raw = args.size() == 4 && args[3] == u"--raw";
    if (args.size() != 3 && !raw)
        return Usage();
    QString error;
    const std::optional<SpooledFile> file = NumberedFile(args, &error);
    if (!file)
        return Fail(error);
    const std::optional<QByteArray> data = SpooledFileData(*file, &error);
    if (!data)
        return Fail(error);
    if (raw) {
        std::fwrite(data->constData(), 1, static_cast<size_t>(data->size()), stdout);
        return 0;
    }
    for (qsizetype offset = 0; offset < data->size(); offset += 16) {
        QString line = QStringLiteral("%1 ").arg(offset, 8, 16, QLatin1Char('0'));
        for (qsizetype i = offset; i < std::min(offset + 16, data->size()); ++i)
            line += QStringLiteral(" %1").arg(static_cast<unsigned char>((*data)[i]), 2, 16, QLatin1Char('0'));
        Print(line + u'\n');
    }
    return 0;
}

int RemoveCommand(const QStringList& args)
{
    if (args.size() != 3)
        return Usage();
    QString error;
    const std::optional<SpooledFile> file = NumberedFile(args, &error);
    if (!file)
        return Fail(error);
    return RemoveSpooledFile(file->system, file->library, file->queue, file->number, &error) ? 0 : Fail(error);
}

} // namespace

int OutputQueueCommand(const QStringList& args)
{
    QString error;
    if (args.size() == 3 && args[0] == u"create") {
        const QStringList parts = args[2].split(u'/');
        if (parts.size() != 2)
            return Fail(QStringLiteral("output queue %1 is not of the form LIB/QUEUE").arg(args[2]));
        return AddOutputQueue(args[1], parts[0], parts[1], &error) ? 0 : Fail(error);
    }
    if ((args.size() == 2 || args.size() == 3) && args[0] == u"list") {
        const QString system = ConfiguredSystem(args[1], &error);
        if (system.isEmpty())
            return Fail(error);
        std::vector<QString> libraries;
        if (args.size() == 3) {
            if (!LibraryExists(system, args[2]))
                return Fail(QStringLiteral("library %1 does not exist on %2").arg(args[2], system));
            libraries.push_back(args[2].toUpper());
        } else {
            libraries = LibraryNames(system);
        }
        for (const QString& library : libraries) {
            for (const QString& queue : OutputQueueNames(system, library))
                Print(QStringLiteral("%1/%2 files=%3\n")
                          .arg(library, queue)
                          .arg(SpooledFilesOf(system, library, queue).size()));
        }
        return 0;
    }
    return Usage();
}

int SpooledFileCommand(const QStringList& args)
{
    if (args.isEmpty())
        return Usage();
    const QStringList rest = args.mid(1);
    if (args[0] == u"add")
        return AddCommand(rest);
    if (args[0] == u"list")
        return ListCommand(rest);
    if (args[0] == u"dump" && rest.size() >= 3)
        return DumpCommand(rest);
    if (args[0] == u"remove")
        return RemoveCommand(rest);
    return Usage();
}

bool AddSampleQueue(QString* error)
{
    const std::optional<StoreState> state = ReadStore(error);
    if (!state)
        return false;
    const HostSystem* system = DefaultSystem(*state);
    if (!system) {
        *error = QStringLiteral("no system is configured");
        return false;
    }
    QFile sample(QStringLiteral(":/samples/sample-spool.scs"));
    if (!sample.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("the sample spooled file is missing from emuhost");
        return false;
    }
    const QByteArray data = sample.readAll();
    const QString library = QStringLiteral("KWVD");
    const QString queue = QStringLiteral("QPRINT");
    if (!AddOutputQueue(system->name, library, queue, error))
        return false;
    std::map<int, AttributeValue> attributes;
    attributes[kKeyFile] = {AttributeType::Text, QStringLiteral("QSYSPRT"), 0, 0};
    attributes[kKeyUser] = {AttributeType::Text, system->userId, 0, 0};
    attributes[kKeyUserData] = {AttributeType::Text, QStringLiteral("SAMPLE"), 0, 0};
    attributes[kKeyDate] = {AttributeType::Text, HostDateNow(), 0, 0};
    attributes[kKeyTime] = {AttributeType::Text, HostTimeNow(), 0, 0};
    attributes[kKeyTotalPages] = {AttributeType::Long, {}, CountPages(data), 0};
    unsigned long number = 0;
    return AddSpooledFile(system->name, library, queue, std::move(attributes), data, &number, error);
}
