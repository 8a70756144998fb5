#include "platform/clientaccess/OutputQueues.h"

#include "platform/clientaccess/HostStore.h"

#include "platform/framework/Clock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace kwvd::clientaccess {

namespace {

const QString kQueueFile = QStringLiteral("outq.json");
const QString kDataSuffix = QStringLiteral(".SPLF");
const QString kAttributeSuffix = QStringLiteral(".json");
constexpr unsigned long kLastNumber = 999999;

AttributeValue Text(const char* text)
{
    return {AttributeType::Text, QString::fromLatin1(text), 0, 0};
}

AttributeValue Long(std::int32_t value)
{
    return {AttributeType::Long, {}, value, 0};
}

AttributeValue Float(float value)
{
    return {AttributeType::Float, {}, 0, value};
}

QString NumberName(unsigned long number)
{
    return QStringLiteral("%1").arg(number, 6, 10, QLatin1Char('0'));
}

std::optional<QJsonObject> ReadJsonObject(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    if (!document.isObject())
        return std::nullopt;
    return document.object();
}

QJsonValue ToJson(const AttributeValue& value)
{
    switch (value.type) {
    case AttributeType::Text:
        return value.text;
    case AttributeType::Float:
        return static_cast<double>(value.real);
    case AttributeType::Short:
    case AttributeType::Long:
        return value.integer;
    }
    return {};
}

std::optional<AttributeValue> FromJson(const AttributeKeyInfo& key, const QJsonValue& json)
{
    AttributeValue value;
    value.type = key.type;
    switch (key.type) {
    case AttributeType::Text:
        if (!json.isString())
            return std::nullopt;
        value.text = json.toString();
        return value;
    case AttributeType::Float:
        if (!json.isDouble())
            return std::nullopt;
        value.real = static_cast<float>(json.toDouble());
        return value;
    case AttributeType::Short:
    case AttributeType::Long:
        if (!json.isDouble())
            return std::nullopt;
        value.integer = json.toInt();
        return value;
    }
    return std::nullopt;
}

// The spooled file whose attribute file is at path; a damaged one is
// skipped, as if it were not there.
std::optional<SpooledFile> LoadSpooledFile(const QString& system, const QString& library, const QString& queue,
                                           const QString& path)
{
    const std::optional<QJsonObject> object = ReadJsonObject(path);
    if (!object)
        return std::nullopt;
    bool ok = false;
    const unsigned long number = QFileInfo(path).completeBaseName().toULong(&ok);
    if (!ok || number == 0)
        return std::nullopt;
    SpooledFile file{system, library, queue, number, {}};
    const QJsonObject attributes = object->value(u"attributes").toObject();
    for (auto it = attributes.begin(); it != attributes.end(); ++it) {
        const AttributeKeyInfo* key = FindAttributeKey(it.key().toInt());
        if (!key || key->key == kKeyLibrary || key->key == kKeyOutputQueue)
            continue;
        if (std::optional<AttributeValue> value = FromJson(*key, it.value()))
            file.attributes[key->key] = *value;
    }
    return file;
}

// The names the folders give the library and queue (matched without regard
// to case); empty when the queue does not exist.
bool ResolveQueue(const QString& system, const QString& library, const QString& queue, QString* folder)
{
    if (!IsValidObjectName(library) || !IsValidObjectName(queue))
        return false;
    bool exists = false;
    *folder = ResolveIgnoringCase(IfsFolder(system), {QStringLiteral("QSYS.LIB"), library + QStringLiteral(".LIB"),
                                                      queue + QStringLiteral(".OUTQ")},
                                  &exists);
    return exists && QFileInfo(*folder).isDir();
}

QString StripSuffix(const QString& name, const QString& suffix)
{
    return name.left(name.size() - suffix.size());
}

} // namespace

const std::vector<AttributeKeyInfo>& AttributeKeys()
{
    static const std::vector<AttributeKeyInfo> keys = {
        {kKeyFile, AttributeType::Text, "file", Text("QPRTFILE"), true},
        {kKeyUser, AttributeType::Text, "user", std::nullopt, false},
        {kKeyUserData, AttributeType::Text, "user-data", Text(""), true},
        {kKeyTotalPages, AttributeType::Long, "pages", std::nullopt, false},
        {kKeyDate, AttributeType::Text, "date", std::nullopt, false},
        {kKeyTime, AttributeType::Text, "time", std::nullopt, false},
        {kKeyOutputQueue, AttributeType::Text, "outq", std::nullopt, true},
        {kKeyLibrary, AttributeType::Text, "library", std::nullopt, true},
        {kKeyDbcsData, AttributeType::Text, "dbcs-data", Text("*NO"), true},
        {kKeyDbcsExtensions, AttributeType::Text, "dbcs-extensions", Text("*NO"), true},
        {kKeyCharSet, AttributeType::Text, "char-set", Text("*DEVD"), true},
        {kKeyPageUnit, AttributeType::Text, "page-unit", Text("*ROWCOL"), true},
        {kKeyPageWidth, AttributeType::Float, "page-width", Float(132), true},
        {kKeyPageLength, AttributeType::Float, "page-length", Float(66), true},
        {kKeyOverflowLine, AttributeType::Long, "overflow-line", Long(60), true},
    };
    return keys;
}

const AttributeKeyInfo* FindAttributeKey(int key)
{
    for (const AttributeKeyInfo& info : AttributeKeys()) {
        if (info.key == key)
            return &info;
    }
    return nullptr;
}

const AttributeKeyInfo* FindAttributeKey(const QString& name)
{
    for (const AttributeKeyInfo& info : AttributeKeys()) {
        if (name == QLatin1String(info.name))
            return &info;
    }
    return nullptr;
}

std::optional<AttributeValue> ParseAttributeValue(const AttributeKeyInfo& key, const QString& text)
{
    AttributeValue value;
    value.type = key.type;
    bool ok = true;
    switch (key.type) {
    case AttributeType::Text:
        value.text = text;
        break;
    case AttributeType::Short:
        value.integer = text.toShort(&ok);
        break;
    case AttributeType::Long:
        value.integer = text.toInt(&ok);
        break;
    case AttributeType::Float:
        value.real = text.toFloat(&ok);
        break;
    }
    if (!ok)
        return std::nullopt;
    return value;
}

QString AttributeText(const AttributeValue& value)
{
    switch (value.type) {
    case AttributeType::Text:
        return value.text;
    case AttributeType::Float:
        return QString::number(static_cast<double>(value.real));
    case AttributeType::Short:
    case AttributeType::Long:
        return QString::number(value.integer);
    }
    return {};
}

std::optional<AttributeValue> SpooledFileAttribute(const SpooledFile& file, int key)
{
    if (key == kKeyOutputQueue)
        return AttributeValue{AttributeType::Text, file.queue, 0, 0};
    if (key == kKeyLibrary)
        return AttributeValue{AttributeType::Text, file.library, 0, 0};
    if (auto it = file.attributes.find(key); it != file.attributes.end())
        return it->second;
    if (const AttributeKeyInfo* info = FindAttributeKey(key))
        return info->defaultValue;
    return std::nullopt;
}

QString OutputQueueFolder(const QString& system, const QString& library, const QString& queue)
{
    QString folder;
    ResolveQueue(system, library, queue, &folder);
    return folder;
}

bool OutputQueueExists(const QString& system, const QString& library, const QString& queue)
{
    QString folder;
    return ResolveQueue(system, library, queue, &folder);
}

bool AddOutputQueue(const QString& system, const QString& library, const QString& queue, QString* error)
{
    if (!IsValidObjectName(queue)) {
        *error = QStringLiteral("output queue name \"%1\" is not valid").arg(queue);
        return false;
    }
    bool done = false;
    const bool changed = ChangeStore(
        [&](StoreState& state) {
            const HostSystem* found = FindSystem(state, system);
            if (!found) {
                *error = QStringLiteral("system %1 is not configured").arg(system);
                return false;
            }
            if (!LibraryExists(found->name, library)) {
                *error = QStringLiteral("library %1 does not exist on %2").arg(library, found->name);
                return false;
            }
            if (OutputQueueExists(found->name, library, queue)) {
                *error = QStringLiteral("output queue %1/%2 exists already").arg(library, queue);
                return false;
            }
            const QString folder = LibraryFolder(found->name, library) + u'/' + queue.toUpper() + QStringLiteral(".OUTQ");
            if (!QDir().mkpath(folder)) {
                *error = QStringLiteral("cannot create %1").arg(folder);
                return false;
            }
            QJsonObject object;
            object[u"nextNumber"] = 1;
            done = ReplaceStoreFile(folder + u'/' + kQueueFile, QJsonDocument(object).toJson(), error);
            return false;
        },
        error);
    return changed && done;
}

std::vector<QString> OutputQueueNames(const QString& system, const QString& library)
{
    std::vector<QString> names;
    if (!LibraryExists(system, library))
        return names;
    const QStringList entries =
        QDir(LibraryFolder(system, library)).entryList({QStringLiteral("*.OUTQ")}, QDir::Dirs, QDir::Name);
    for (const QString& entry : entries)
        names.push_back(StripSuffix(entry, QStringLiteral(".OUTQ")));
    return names;
}

std::vector<QString> LibraryNames(const QString& system)
{
    std::vector<QString> names;
    const QString folder = ResolveIgnoringCase(IfsFolder(system), {QStringLiteral("QSYS.LIB")});
    const QStringList entries =
        QDir(folder).entryList({QStringLiteral("*.LIB")}, QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries)
        names.push_back(StripSuffix(entry, QStringLiteral(".LIB")));
    return names;
}

std::vector<SpooledFile> SpooledFilesOf(const QString& system, const QString& library, const QString& queue)
{
    std::vector<SpooledFile> files;
    QString folder;
    if (!ResolveQueue(system, library, queue, &folder))
        return files;
    const QStringList parts = folder.split(u'/');
    const QString libraryName = StripSuffix(parts[parts.size() - 2], QStringLiteral(".LIB"));
    const QString queueName = StripSuffix(parts.back(), QStringLiteral(".OUTQ"));
    const QStringList entries =
        QDir(folder).entryList({QStringLiteral("[0-9][0-9][0-9][0-9][0-9][0-9]") + kAttributeSuffix}, QDir::Files,
                               QDir::Name);
    for (const QString& entry : entries) {
        if (std::optional<SpooledFile> file = LoadSpooledFile(system, libraryName, queueName, folder + u'/' + entry))
            files.push_back(std::move(*file));
    }
    return files;
}

std::optional<SpooledFile> FindSpooledFile(const QString& system, const QString& library, const QString& queue,
                                           unsigned long number)
{
    for (SpooledFile& file : SpooledFilesOf(system, library, queue)) {
        if (file.number == number)
            return std::move(file);
    }
    return std::nullopt;
}

std::optional<QByteArray> SpooledFileData(const SpooledFile& file, QString* error)
{
    QString folder;
    QFile data;
    if (ResolveQueue(file.system, file.library, file.queue, &folder)
        && QFileInfo::exists(folder + u'/' + NumberName(file.number) + kAttributeSuffix)) {
        data.setFileName(folder + u'/' + NumberName(file.number) + kDataSuffix);
        if (data.open(QIODevice::ReadOnly)) {
            QByteArray bytes = data.readAll();
            if (data.error() == QFileDevice::NoError)
                return bytes;
        }
    }
    *error = QStringLiteral("Spooled file %1 of output queue %2/%3 not found.")
                 .arg(QString::number(file.number), file.library, file.queue);
    return std::nullopt;
}

bool AddSpooledFile(const QString& system, const QString& library, const QString& queue,
                    std::map<int, AttributeValue> attributes, const QByteArray& data, unsigned long* number,
                    QString* error)
{
    attributes.erase(kKeyOutputQueue);
    attributes.erase(kKeyLibrary);
    bool done = false;
    const bool changed = ChangeStore(
        [&](StoreState& state) {
            const HostSystem* found = FindSystem(state, system);
            QString folder;
            if (!found || !ResolveQueue(found->name, library, queue, &folder)) {
                *error = QStringLiteral("Output queue %1/%2 not found.").arg(library, queue);
                return false;
            }
            const QString queueFile = folder + u'/' + kQueueFile;
            unsigned long next = 1;
            if (const std::optional<QJsonObject> object = ReadJsonObject(queueFile))
                next = std::max<unsigned long>(1, static_cast<unsigned long>(object->value(u"nextNumber").toDouble(1)));
            // A queue file lost or behind never makes a number used twice.
            for (const SpooledFile& file : SpooledFilesOf(found->name, library, queue))
                next = std::max(next, file.number + 1);
            if (next > kLastNumber) {
                *error = QStringLiteral("Output queue %1/%2 is full.").arg(library, queue);
                return false;
            }
            QJsonObject values;
            for (const auto& [key, value] : attributes)
                values[QString::number(key)] = ToJson(value);
            QJsonObject record;
            record[u"attributes"] = values;
            // The bytes first: the attribute file makes the spooled file appear.
            const QString base = folder + u'/' + NumberName(next);
            if (!ReplaceStoreFile(base + kDataSuffix, data, error)
                || !ReplaceStoreFile(base + kAttributeSuffix, QJsonDocument(record).toJson(), error))
                return false;
            QJsonObject queueRecord;
            queueRecord[u"nextNumber"] = static_cast<qint64>(next + 1);
            if (!ReplaceStoreFile(queueFile, QJsonDocument(queueRecord).toJson(), error))
                return false;
            *number = next;
            done = true;
            return false;
        },
        error);
    return changed && done;
}

bool RemoveSpooledFile(const QString& system, const QString& library, const QString& queue, unsigned long number,
                       QString* error)
{
    bool done = false;
    const bool changed = ChangeStore(
        [&](StoreState& state) {
            const HostSystem* found = FindSystem(state, system);
            QString folder;
            if (!found || !ResolveQueue(found->name, library, queue, &folder)
                || !QFileInfo::exists(folder + u'/' + NumberName(number) + kAttributeSuffix)) {
                *error = QStringLiteral("Spooled file %1 of output queue %2/%3 not found.")
                             .arg(QString::number(number), library, queue);
                return false;
            }
            // The attribute file first: without it the spooled file is gone.
            if (!QFile::remove(folder + u'/' + NumberName(number) + kAttributeSuffix)) {
                *error = QStringLiteral("cannot remove spooled file %1").arg(number);
                return false;
            }
            QFile::remove(folder + u'/' + NumberName(number) + kDataSuffix);
            done = true;
            return false;
        },
        error);
    return changed && done;
}

SpooledDataType AnalyseSpooledData(const char* data, unsigned long length)
{
    if (!data || length == 0)
        return kDataUnknown;
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    if (bytes[0] == 0x5A)
        return kDataAfpds;
    unsigned long asciiBlanks = 0;
    unsigned long ebcdicBlanks = 0;
    for (unsigned long i = 0; i < length; ++i) {
        if (bytes[i] >= 0x80)
            return kDataScs;
        asciiBlanks += bytes[i] == 0x20;
        ebcdicBlanks += bytes[i] == 0x40;
    }
    return asciiBlanks > ebcdicBlanks ? kDataUserAscii : kDataScs;
}

std::int32_t CountPages(const QByteArray& data)
{
    const bool scs = AnalyseSpooledData(data.constData(), static_cast<unsigned long>(std::min<qsizetype>(data.size(), 1024)))
                     == kDataScs;
    std::int32_t pages = 0;
    qsizetype afterLastFeed = 0; // the first byte after the last form feed
    for (qsizetype i = 0; i < data.size(); ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        if (byte == 0x0C) {
            ++pages;
            afterLastFeed = i + 1;
            continue;
        }
        if (!scs)
            continue;
        // Skip the parameter bytes of the controls that take some.
        if (byte == 0x34 && i + 1 < data.size()) {
            const auto sub = static_cast<unsigned char>(data[i + 1]);
            const bool oneParameter = sub == 0xC0 || sub == 0xC4 || sub == 0xC8 || sub == 0x4C;
            i += oneParameter ? 2 : 3;
        } else if (byte == 0x2B && i + 2 < data.size()) {
            const auto count = static_cast<unsigned char>(data[i + 2]);
            i += 2 + (count > 1 ? count - 1 : 0);
        } else if (byte == 0x35 && i + 1 < data.size()) {
            i += 1 + static_cast<unsigned char>(data[i + 1]);
        }
    }
    if (afterLastFeed < data.size())
        ++pages;
    return pages;
}

QString HostDateNow()
{
    const QDate date = kwvd::Clock::Now().date();
    return QStringLiteral("%1%2").arg((date.year() - 1900) / 100).arg(date.toString(QStringLiteral("yyMMdd")));
}

QString HostTimeNow()
{
    return kwvd::Clock::Now().time().toString(QStringLiteral("HHmmss"));
}

} // namespace kwvd::clientaccess
