#include "platform/clientaccess/SpooledFiles.h"

#include "platform/clientaccess/Faults.h"
#include "platform/clientaccess/HandleTable.h"
#include "platform/clientaccess/HostMessages.h"
#include "platform/clientaccess/HostStore.h"
#include "platform/clientaccess/LayerText.h"
#include "platform/clientaccess/OutputQueues.h"

#include <cstring>

using namespace kwvd::clientaccess;

namespace {

struct SpooledFileList
{
    QString system;
    QString queue;
    QString library;
    QString user;
    QString userData;
    bool open = false;
    std::vector<SpooledFile> entries;
};

struct SpooledFileObject
{
    SpooledFile file;
    bool open = false;
    QByteArray data;
    qsizetype position = 0;
};

using AttributeList = std::map<int, AttributeValue>;

struct NewSpooledFile
{
    QString system;
    AttributeList attributes;
    QByteArray data;
};

HandleTable<SpooledFileList>& Lists()
{
    static HandleTable<SpooledFileList> table;
    return table;
}

HandleTable<SpooledFileObject>& Objects()
{
    static HandleTable<SpooledFileObject> table;
    return table;
}

HandleTable<AttributeList>& AttributeLists()
{
    static HandleTable<AttributeList> table;
    return table;
}

HandleTable<NewSpooledFile>& NewSpooledFiles()
{
    static HandleTable<NewSpooledFile> table;
    return table;
}

bool MatchesAll(const QString& filter)
{
    return filter.isEmpty() || filter.compare(u"*ALL", Qt::CaseInsensitive) == 0;
}

QString TrimmedRight(QString text)
{
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

void AddMessage(cwbSV_ErrHandle errorHandle, const char* id, const QString& text)
{
    AddHostMessage(errorHandle, id, ToInterfaceText(text));
}

unsigned QueueNotFound(cwbSV_ErrHandle errorHandle, const QString& library, const QString& queue)
{
    AddMessage(errorHandle, "KWV3002", QStringLiteral("Output queue %1/%2 not found.").arg(library, queue));
    return kCwbNotFound;
}

bool Matches(const SpooledFileList& list, const SpooledFile& file)
{
    if (!MatchesAll(list.user)) {
        const auto user = SpooledFileAttribute(file, kKeyUser);
        if (!user || user->text.compare(list.user, Qt::CaseInsensitive) != 0)
            return false;
    }
    if (!MatchesAll(list.userData)) {
        const auto userData = SpooledFileAttribute(file, kKeyUserData);
        if (!userData || TrimmedRight(userData->text) != TrimmedRight(list.userData))
            return false;
    }
    return true;
}

// The list's entries as the store holds them now.
unsigned TakeSnapshot(SpooledFileList& list, cwbSV_ErrHandle errorHandle)
{
    HostSystem system;
    if (const unsigned result = LookUpSystem(ToInterfaceText(list.system).c_str(), &system, errorHandle))
        return result;
    std::vector<QString> libraries;
    if (MatchesAll(list.library)) {
        libraries = LibraryNames(system.name);
    } else if (LibraryExists(system.name, list.library)) {
        libraries.push_back(list.library);
    } else {
        AddMessage(errorHandle, "KWV3001", QStringLiteral("Library %1 not found.").arg(list.library.toUpper()));
        return kCwbNotFound;
    }
    std::vector<SpooledFile> entries;
    bool queueFound = false;
    for (const QString& library : libraries) {
        std::vector<QString> queues;
        if (MatchesAll(list.queue))
            queues = OutputQueueNames(system.name, library);
        else if (OutputQueueExists(system.name, library, list.queue))
            queues.push_back(list.queue);
        queueFound = queueFound || !queues.empty();
        for (const QString& queue : queues) {
            for (SpooledFile& file : SpooledFilesOf(system.name, library, queue)) {
                if (Matches(list, file))
                    entries.push_back(std::move(file));
            }
        }
    }
    if (!MatchesAll(list.queue) && !queueFound)
        return QueueNotFound(errorHandle, MatchesAll(list.library) ? QStringLiteral("*ALL") : list.library.toUpper(),
                             list.queue.toUpper());
    list.entries = std::move(entries);
    list.open = true;
    return kCwbOk;
}

unsigned CopyAttribute(const AttributeValue& value, void* buffer, unsigned long bufferLength,
                       unsigned long* bytesNeeded)
{
    unsigned long size = 0;
    if (value.type == AttributeType::Text) {
        const std::string text = ToInterfaceText(value.text);
        if (bytesNeeded)
            *bytesNeeded = text.size() + 1;
        return CopyTextOut(text, static_cast<char*>(buffer), bufferLength, nullptr);
    }
    const std::int16_t shortValue = static_cast<std::int16_t>(value.integer);
    const void* bytes = &value.integer;
    if (value.type == AttributeType::Short) {
        size = sizeof shortValue;
        bytes = &shortValue;
    } else if (value.type == AttributeType::Long) {
        size = sizeof value.integer;
    } else {
        size = sizeof value.real;
        bytes = &value.real;
    }
    if (bytesNeeded)
        *bytesNeeded = size;
    if (bufferLength < size)
        return kCwbTargetTooSmall;
    std::memcpy(buffer, bytes, size);
    return kCwbOk;
}

// The longest text a key takes, 0 for no limit.
int TextLimit(int key)
{
    switch (key) {
    case kKeyOutputQueue:
    case kKeyLibrary:
    case kKeyFile:
        return 10;
    case kKeyUserData:
        return 12;
    default:
        return 0;
    }
}

} // namespace

unsigned cwbOBJ_CreateListHandle(const char* systemName, unsigned listType, cwbOBJ_ListHandle* list,
                                 cwbSV_ErrHandle errorHandle)
{
    if (!systemName || !list || listType != kCwbObjListSplF)
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbOBJ_CreateListHandle", errorHandle))
        return fault;
    HostSystem system;
    if (const unsigned result = LookUpSystem(systemName, &system, errorHandle))
        return result;
    SpooledFileList created;
    created.system = system.name;
    *list = Lists().Add(std::move(created));
    return kCwbOk;
}

unsigned cwbOBJ_SetListFilter(cwbOBJ_ListHandle list, cwbOBJ_KeyID key, const char* value,
                              cwbSV_ErrHandle errorHandle)
{
    if (!Lists().Get(list))
        return kCwbInvalidHandle;
    if (!value)
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbOBJ_SetListFilter", errorHandle))
        return fault;
    const QString text = TrimmedRight(FromInterfaceText(value));
    QString SpooledFileList::*field = nullptr;
    switch (key) {
    case kKeyOutputQueue:
        field = &SpooledFileList::queue;
        break;
    case kKeyLibrary:
        field = &SpooledFileList::library;
        break;
    case kKeyUser:
        field = &SpooledFileList::user;
        break;
    case kKeyUserData:
        field = &SpooledFileList::userData;
        break;
    default:
        AddMessage(errorHandle, "KWV3004", QStringLiteral("A list cannot be filtered by attribute %1.").arg(key));
        return kCwbInvalidParameter;
    }
    Lists().Update(list, [&](SpooledFileList& kept) { kept.*field = text; });
    return kCwbOk;
}

unsigned cwbOBJ_OpenList(cwbOBJ_ListHandle list, cwbSV_ErrHandle errorHandle)
{
    std::optional<SpooledFileList> found = Lists().Get(list);
    if (!found)
        return kCwbInvalidHandle;
    if (const unsigned fault = InjectedFault("cwbOBJ_OpenList", errorHandle))
        return fault;
    if (const unsigned result = TakeSnapshot(*found, errorHandle))
        return result;
    return Lists().Update(list, [&](SpooledFileList& kept) { kept = std::move(*found); }) ? kCwbOk
                                                                                          : kCwbInvalidHandle;
}

unsigned cwbOBJ_GetListSize(cwbOBJ_ListHandle list, unsigned long* size, cwbSV_ErrHandle errorHandle)
{
    const std::optional<SpooledFileList> found = Lists().Get(list);
    if (!found)
        return kCwbInvalidHandle;
    if (!size)
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbOBJ_GetListSize", errorHandle))
        return fault;
    if (!found->open)
        return kCwbNotOpen;
    *size = found->entries.size();
    return kCwbOk;
}

unsigned cwbOBJ_GetObjHandle(cwbOBJ_ListHandle list, unsigned long index, cwbOBJ_ObjHandle* object,
                             cwbSV_ErrHandle errorHandle)
{
    const std::optional<SpooledFileList> found = Lists().Get(list);
    if (!found)
        return kCwbInvalidHandle;
    if (!object)
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbOBJ_GetObjHandle", errorHandle))
        return fault;
    if (!found->open)
        return kCwbNotOpen;
    if (index >= found->entries.size())
        return kCwbNotFound;
    *object = Objects().Add({found->entries[index], false, {}, 0});
    return kCwbOk;
}

unsigned cwbOBJ_CloseList(cwbOBJ_ListHandle list, cwbSV_ErrHandle errorHandle)
{
    if (!Lists().Get(list))
        return kCwbInvalidHandle;
    if (const unsigned fault = InjectedFault("cwbOBJ_CloseList", errorHandle))
        return fault;
    Lists().Update(list, [](SpooledFileList& kept) {
        kept.open = false;
        kept.entries.clear();
    });
    return kCwbOk;
}

unsigned cwbOBJ_DeleteListHandle(cwbOBJ_ListHandle list, cwbSV_ErrHandle errorHandle)
{
    if (!Lists().Get(list))
        return kCwbInvalidHandle;
    if (const unsigned fault = InjectedFault("cwbOBJ_DeleteListHandle", errorHandle))
        return fault;
    return Lists().Remove(list) ? kCwbOk : kCwbInvalidHandle;
}

unsigned cwbOBJ_DeleteObjHandle(cwbOBJ_ObjHandle object, cwbSV_ErrHandle errorHandle)
{
    if (!Objects().Get(object))
        return kCwbInvalidHandle;
    if (const unsigned fault = InjectedFault("cwbOBJ_DeleteObjHandle", errorHandle))
        return fault;
    return Objects().Remove(object) ? kCwbOk : kCwbInvalidHandle;
}

unsigned cwbOBJ_GetObjAttr(cwbOBJ_ObjHandle object, cwbOBJ_KeyID key, void* buffer, unsigned long bufferLength,
                           unsigned long* bytesNeeded, unsigned* valueType, cwbSV_ErrHandle errorHandle)
{
    const std::optional<SpooledFileObject> found = Objects().Get(object);
    if (!found)
        return kCwbInvalidHandle;
    if (!buffer || bufferLength == 0)
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbOBJ_GetObjAttr", errorHandle))
        return fault;
    const std::optional<AttributeValue> value = SpooledFileAttribute(found->file, key);
    if (!value) {
        AddMessage(errorHandle, "KWV3003",
                   QStringLiteral("Spooled file %1 has no attribute %2.").arg(found->file.number).arg(key));
        return kCwbNotFound;
    }
    if (valueType)
        *valueType = static_cast<unsigned>(value->type);
    return CopyAttribute(*value, buffer, bufferLength, bytesNeeded);
}

unsigned cwbOBJ_OpenSplF(cwbOBJ_ObjHandle object, cwbSV_ErrHandle errorHandle)
{
    const std::optional<SpooledFileObject> found = Objects().Get(object);
    if (!found)
        return kCwbInvalidHandle;
    if (const unsigned fault = InjectedFault("cwbOBJ_OpenSplF", errorHandle))
        return fault;
    QString error;
    std::optional<QByteArray> data = SpooledFileData(found->file, &error);
    if (!data) {
        AddMessage(errorHandle, "KWV3005", error);
        return kCwbNotFound;
    }
    Objects().Update(object, [&](SpooledFileObject& kept) {
        kept.open = true;
        kept.data = std::move(*data);
        kept.position = 0;
    });
    return kCwbOk;
}

unsigned cwbOBJ_ReadSplF(cwbOBJ_ObjHandle object, void* buffer, unsigned long bytesToRead, unsigned long* bytesRead,
                         cwbSV_ErrHandle errorHandle)
{
    if (!Objects().Get(object))
        return kCwbInvalidHandle;
    if (!bytesRead || (!buffer && bytesToRead != 0))
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbOBJ_ReadSplF", errorHandle))
        return fault;
    unsigned result = kCwbOk;
    *bytesRead = 0;
    Objects().Update(object, [&](SpooledFileObject& kept) {
        if (!kept.open) {
            result = kCwbNotOpen;
            return;
        }
        const qsizetype remaining = kept.data.size() - kept.position;
        if (remaining == 0) {
            result = kCwbEndOfData;
            return;
        }
        const auto count = static_cast<qsizetype>(std::min<unsigned long>(bytesToRead, remaining));
        if (count > 0)
            std::memcpy(buffer, kept.data.constData() + kept.position, static_cast<size_t>(count));
        kept.position += count;
        *bytesRead = static_cast<unsigned long>(count);
    });
    return result;
}

unsigned cwbOBJ_CloseSplF(cwbOBJ_ObjHandle object, cwbSV_ErrHandle errorHandle)
{
    const std::optional<SpooledFileObject> found = Objects().Get(object);
    if (!found)
        return kCwbInvalidHandle;
    if (const unsigned fault = InjectedFault("cwbOBJ_CloseSplF", errorHandle))
        return fault;
    if (!found->open)
        return kCwbNotOpen;
    Objects().Update(object, [](SpooledFileObject& kept) {
        kept.open = false;
        kept.data.clear();
        kept.position = 0;
    });
    return kCwbOk;
}

unsigned cwbOBJ_AnalyzeSplFData(const void* data, unsigned long length, unsigned* dataType,
                                cwbSV_ErrHandle errorHandle)
{
    if (!dataType || (!data && length != 0))
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbOBJ_AnalyzeSplFData", errorHandle))
        return fault;
    *dataType = AnalyseSpooledData(static_cast<const char*>(data), length);
    return kCwbOk;
}

unsigned cwbOBJ_CreateParmObjHandle(cwbOBJ_ParmHandle* parameters, cwbSV_ErrHandle errorHandle)
{
    if (!parameters)
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbOBJ_CreateParmObjHandle", errorHandle))
        return fault;
    *parameters = AttributeLists().Add({});
    return kCwbOk;
}

unsigned cwbOBJ_SetParameter(cwbOBJ_ParmHandle parameters, cwbOBJ_KeyID key, const void* value,
                             cwbSV_ErrHandle errorHandle)
{
    if (!AttributeLists().Get(parameters))
        return kCwbInvalidHandle;
    if (!value)
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbOBJ_SetParameter", errorHandle))
        return fault;
    const AttributeKeyInfo* info = FindAttributeKey(key);
    if (!info || !info->settable) {
        AddMessage(errorHandle, "KWV3006", QStringLiteral("Attribute %1 cannot be set for a new spooled file.").arg(key));
        return kCwbInvalidParameter;
    }
    AttributeValue set;
    set.type = info->type;
    switch (info->type) {
    case AttributeType::Text:
        set.text = FromInterfaceText(static_cast<const char*>(value));
        if (TextLimit(key) != 0 && set.text.size() > TextLimit(key)) {
            AddMessage(errorHandle, "KWV3007",
                       QStringLiteral("Value %1 of attribute %2 is longer than %3 characters.")
                           .arg(set.text)
                           .arg(key)
                           .arg(TextLimit(key)));
            return kCwbInvalidParameter;
        }
        break;
    case AttributeType::Short:
        set.integer = *static_cast<const std::int16_t*>(value);
        break;
    case AttributeType::Long:
        std::memcpy(&set.integer, value, sizeof set.integer);
        break;
    case AttributeType::Float:
        std::memcpy(&set.real, value, sizeof set.real);
        break;
    }
    AttributeLists().Update(parameters, [&](AttributeList& kept) { kept[key] = set; });
    return kCwbOk;
}

unsigned cwbOBJ_DeleteParmObjHandle(cwbOBJ_ParmHandle parameters, cwbSV_ErrHandle errorHandle)
{
    if (!AttributeLists().Get(parameters))
        return kCwbInvalidHandle;
    if (const unsigned fault = InjectedFault("cwbOBJ_DeleteParmObjHandle", errorHandle))
        return fault;
    return AttributeLists().Remove(parameters) ? kCwbOk : kCwbInvalidHandle;
}

unsigned cwbOBJ_CreateNewSplF(const char* systemName, cwbOBJ_ParmHandle parameters, cwbOBJ_ObjHandle* newSplF,
                              cwbSV_ErrHandle errorHandle)
{
    const std::optional<AttributeList> attributes = AttributeLists().Get(parameters);
    if (!attributes)
        return kCwbInvalidHandle;
    if (!systemName || !newSplF)
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbOBJ_CreateNewSplF", errorHandle))
        return fault;
    HostSystem system;
    if (const unsigned result = LookUpSystem(systemName, &system, errorHandle))
        return result;
    const auto queue = attributes->find(kKeyOutputQueue);
    const auto library = attributes->find(kKeyLibrary);
    if (queue == attributes->end() || library == attributes->end()) {
        AddMessage(errorHandle, "KWV3008", QStringLiteral("The output queue of the new spooled file is not given."));
        return kCwbInvalidParameter;
    }
    if (!LibraryExists(system.name, library->second.text)) {
        AddMessage(errorHandle, "KWV3001", QStringLiteral("Library %1 not found.").arg(library->second.text.toUpper()));
        return kCwbNotFound;
    }
    if (!OutputQueueExists(system.name, library->second.text, queue->second.text))
        return QueueNotFound(errorHandle, library->second.text.toUpper(), queue->second.text.toUpper());
    *newSplF = NewSpooledFiles().Add({system.name, *attributes, {}});
    return kCwbOk;
}

unsigned cwbOBJ_WriteNewSplF(cwbOBJ_ObjHandle newSplF, const void* data, unsigned long length,
                             cwbSV_ErrHandle errorHandle)
{
    if (!NewSpooledFiles().Get(newSplF))
        return kCwbInvalidHandle;
    if (!data && length != 0)
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbOBJ_WriteNewSplF", errorHandle))
        return fault;
    NewSpooledFiles().Update(newSplF, [&](NewSpooledFile& kept) {
        kept.data.append(static_cast<const char*>(data), static_cast<qsizetype>(length));
    });
    return kCwbOk;
}

unsigned cwbOBJ_CloseNewSplF(cwbOBJ_ObjHandle newSplF, cwbSV_ErrHandle errorHandle)
{
    std::optional<NewSpooledFile> found = NewSpooledFiles().Get(newSplF);
    if (!found)
        return kCwbInvalidHandle;
    if (const unsigned fault = InjectedFault("cwbOBJ_CloseNewSplF", errorHandle))
        return fault;
    NewSpooledFiles().Remove(newSplF);
    HostSystem system;
    if (const unsigned result = LookUpSystem(ToInterfaceText(found->system).c_str(), &system, errorHandle))
        return result;
    AttributeList attributes = std::move(found->attributes);
    const QString library = attributes[kKeyLibrary].text;
    const QString queue = attributes[kKeyOutputQueue].text;
    if (!attributes.count(kKeyFile))
        attributes[kKeyFile] = *FindAttributeKey(kKeyFile)->defaultValue;
    if (!attributes.count(kKeyUserData))
        attributes[kKeyUserData] = *FindAttributeKey(kKeyUserData)->defaultValue;
    attributes[kKeyUser] = {AttributeType::Text, system.userId, 0, 0};
    attributes[kKeyDate] = {AttributeType::Text, HostDateNow(), 0, 0};
    attributes[kKeyTime] = {AttributeType::Text, HostTimeNow(), 0, 0};
    attributes[kKeyTotalPages] = {AttributeType::Long, {}, CountPages(found->data), 0};
    if (!OutputQueueExists(system.name, library, queue))
        return QueueNotFound(errorHandle, library.toUpper(), queue.toUpper());
    unsigned long number = 0;
    QString error;
    if (!AddSpooledFile(system.name, library, queue, std::move(attributes), found->data, &number, &error)) {
        AddMessage(errorHandle, "KWV3009", QStringLiteral("The spooled file could not be stored: %1").arg(error));
        return kCwbStoreError;
    }
    return kCwbOk;
}
