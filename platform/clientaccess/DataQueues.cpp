#include "platform/clientaccess/DataQueues.h"

#include "platform/clientaccess/CodePageConverter.h"
#include "platform/clientaccess/CodePages.h"
#include "platform/clientaccess/DataQueueStore.h"
#include "platform/clientaccess/Faults.h"
#include "platform/clientaccess/HandleTable.h"
#include "platform/clientaccess/HostStore.h"
#include "platform/clientaccess/LayerText.h"

#include <cstring>
#include <vector>

using namespace kwvd::clientaccess;

namespace {

constexpr unsigned kPcCodePage = 1252;
// The CCSID of a system that has none set, as the CCSID call answers.
constexpr unsigned kDefaultHostCcsid = 37;

struct DataObject
{
    unsigned char* buffer = nullptr;
    unsigned long capacity = 0;
    unsigned long length = 0;
    bool convert = true;
};

struct OpenQueue
{
    DataQueueInfo info;
    unsigned ccsid = kDefaultHostCcsid;
};

HandleTable<DataQueueAttributes>& AttributeObjects()
{
    static HandleTable<DataQueueAttributes> table;
    return table;
}

HandleTable<DataObject>& DataObjects()
{
    static HandleTable<DataObject> table;
    return table;
}

HandleTable<OpenQueue>& OpenQueues()
{
    static HandleTable<OpenQueue> table;
    return table;
}

unsigned Report(unsigned result, const HostMessage& message, cwbSV_ErrHandle errorHandle)
{
    if (result != kCwbOk && !message.id.empty())
        AddHostMessage(errorHandle, message.id, message.text);
    return result;
}

// The configured system of that name, reachable.
unsigned ReachableSystem(const char* systemName, HostSystem* system, cwbSV_ErrHandle errorHandle)
{
    if (const unsigned result = LookUpSystem(systemName, system, errorHandle))
        return result;
    if (!system->reachable) {
        AddHostMessage(errorHandle, "KWV1003", "System " + std::string(systemName) + " cannot be reached.");
        return kCwbSystemUnreachable;
    }
    return kCwbOk;
}

// The bytes converted from one CCSID to another; false when either cannot
// be converted.
bool Convert(unsigned from, unsigned to, const unsigned char* bytes, std::size_t length, QByteArray* converted)
{
    const std::unique_ptr<CodePageConverter> converter = CodePageConverter::Create(from, to, false);
    if (!converter)
        return false;
    std::vector<unsigned char> target(length * 2 + 16);
    ConversionResult result = converter->Convert(bytes, length, target.data(), target.size());
    if (result.needed > result.converted) {
        target.resize(result.needed);
        result = converter->Convert(bytes, length, target.data(), target.size());
    }
    *converted = QByteArray(reinterpret_cast<const char*>(target.data()), static_cast<qsizetype>(result.converted));
    return true;
}

// One attribute of an attribute object, read or set.
template <typename Value>
unsigned GetAttribute(cwbDQ_Attr attributes, Value DataQueueAttributes::*field, Value* value)
{
    const auto set = AttributeObjects().Get(attributes);
    if (!set)
        return kCwbInvalidHandle;
    if (!value)
        return kCwbInvalidParameter;
    *value = (*set).*field;
    return kCwbOk;
}

template <typename Value>
unsigned SetAttribute(cwbDQ_Attr attributes, Value DataQueueAttributes::*field, Value value)
{
    return AttributeObjects().Update(attributes, [&](DataQueueAttributes& set) { set.*field = value; })
               ? kCwbOk
               : kCwbInvalidHandle;
}

} // namespace

unsigned cwbDQ_CreateAttr(cwbDQ_Attr* attributes)
{
    if (!attributes)
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbDQ_CreateAttr"))
        return fault;
    *attributes = AttributeObjects().Add(DataQueueAttributes{});
    return kCwbOk;
}

unsigned cwbDQ_DeleteAttr(cwbDQ_Attr attributes)
{
    return AttributeObjects().Remove(attributes) ? kCwbOk : kCwbInvalidHandle;
}

unsigned cwbDQ_SetMaxRecLen(cwbDQ_Attr attributes, unsigned long maxLength)
{
    if (!AttributeObjects().Get(attributes))
        return kCwbInvalidHandle;
    if (maxLength < 1 || maxLength > kDataQueueMaxLengthLimit)
        return kCwbInvalidParameter;
    AttributeObjects().Update(attributes, [&](DataQueueAttributes& set) { set.maxLength = maxLength; });
    return kCwbOk;
}

unsigned cwbDQ_GetMaxRecLen(cwbDQ_Attr attributes, unsigned long* maxLength)
{
    return GetAttribute(attributes, &DataQueueAttributes::maxLength, maxLength);
}

unsigned cwbDQ_SetForceToDisk(cwbDQ_Attr attributes, bool force)
{
    return SetAttribute(attributes, &DataQueueAttributes::forceToDisk, force);
}

unsigned cwbDQ_GetForceToDisk(cwbDQ_Attr attributes, bool* force)
{
    return GetAttribute(attributes, &DataQueueAttributes::forceToDisk, force);
}

unsigned cwbDQ_SetRecordSender(cwbDQ_Attr attributes, bool record)
{
    return SetAttribute(attributes, &DataQueueAttributes::recordSender, record);
}

unsigned cwbDQ_GetRecordSender(cwbDQ_Attr attributes, bool* record)
{
    return GetAttribute(attributes, &DataQueueAttributes::recordSender, record);
}

unsigned cwbDQ_SetDescription(cwbDQ_Attr attributes, const char* description)
{
    if (!AttributeObjects().Get(attributes))
        return kCwbInvalidHandle;
    if (!description)
        return kCwbInvalidParameter;
    const QString text = FromInterfaceText(description);
    if (text.size() > kDataQueueDescriptionLimit)
        return kCwbInvalidParameter;
    AttributeObjects().Update(attributes, [&](DataQueueAttributes& set) { set.description = text; });
    return kCwbOk;
}

unsigned cwbDQ_GetDescription(cwbDQ_Attr attributes, char* buffer, unsigned long bufferLength,
                              unsigned long* neededLength)
{
    const auto set = AttributeObjects().Get(attributes);
    if (!set)
        return kCwbInvalidHandle;
    return CopyTextOut(ToInterfaceText(set->description), buffer, bufferLength, neededLength);
}

unsigned cwbDQ_Create(const char* queue, const char* library, const char* systemName, cwbDQ_Attr attributes,
                      cwbSV_ErrHandle errorHandle)
{
    const auto set = AttributeObjects().Get(attributes);
    if (!set)
        return kCwbInvalidHandle;
    if (!queue || !library || !systemName)
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbDQ_Create", errorHandle))
        return fault;
    HostSystem system;
    if (const unsigned result = ReachableSystem(systemName, &system, errorHandle))
        return result;
    HostMessage message;
    const unsigned result =
        CreateDataQueue(system.name, FromInterfaceText(library), FromInterfaceText(queue), *set, &message);
    return Report(result, message, errorHandle);
}

unsigned cwbDQ_Open(const char* queue, const char* library, const char* systemName, cwbDQ_QueueHandle* queueHandle,
                    cwbSV_ErrHandle errorHandle)
{
    if (!queue || !library || !systemName || !queueHandle)
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbDQ_Open", errorHandle))
        return fault;
    HostSystem system;
    if (const unsigned result = ReachableSystem(systemName, &system, errorHandle))
        return result;
    OpenQueue open;
    open.ccsid = system.ccsid != 0 ? system.ccsid : kDefaultHostCcsid;
    HostMessage message;
    const unsigned result =
        FindDataQueue(system.name, FromInterfaceText(library), FromInterfaceText(queue), &open.info, &message);
    if (result != kCwbOk)
        return Report(result, message, errorHandle);
    *queueHandle = OpenQueues().Add(std::move(open));
    return kCwbOk;
}

unsigned cwbDQ_Close(cwbDQ_QueueHandle queueHandle)
{
    if (!OpenQueues().Get(queueHandle))
        return kCwbInvalidHandle;
    if (const unsigned fault = InjectedFault("cwbDQ_Close"))
        return fault;
    OpenQueues().Remove(queueHandle);
    return kCwbOk;
}

unsigned cwbDQ_Clear(cwbDQ_QueueHandle queueHandle, cwbSV_ErrHandle errorHandle)
{
    const auto open = OpenQueues().Get(queueHandle);
    if (!open)
        return kCwbInvalidHandle;
    if (const unsigned fault = InjectedFault("cwbDQ_Clear", errorHandle))
        return fault;
    HostMessage message;
    return Report(ClearDataQueue(open->info, &message), message, errorHandle);
}

unsigned cwbDQ_Write(cwbDQ_QueueHandle queueHandle, cwbDQ_Data data, bool /*commit*/, cwbSV_ErrHandle errorHandle)
{
    const auto open = OpenQueues().Get(queueHandle);
    const auto object = DataObjects().Get(data);
    if (!open || !object)
        return kCwbInvalidHandle;
    if (!object->buffer || object->capacity == 0)
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbDQ_Write", errorHandle))
        return fault;
    QByteArray entry;
    if (object->convert) {
        if (!Convert(kPcCodePage, open->ccsid, object->buffer, object->capacity, &entry))
            return RefuseCcsid(open->ccsid, errorHandle);
    } else {
        entry = QByteArray(reinterpret_cast<const char*>(object->buffer), static_cast<qsizetype>(object->capacity));
    }
    HostMessage message;
    return Report(WriteDataQueueEntry(open->info, entry, &message), message, errorHandle);
}

unsigned cwbDQ_Read(cwbDQ_QueueHandle queueHandle, cwbDQ_Data data, long waitSeconds, cwbSV_ErrHandle errorHandle)
{
    const auto open = OpenQueues().Get(queueHandle);
    const auto object = DataObjects().Get(data);
    if (!open || !object)
        return kCwbInvalidHandle;
    if (!object->buffer || object->capacity == 0)
        return kCwbInvalidParameter;
    DataObjects().Update(data, [](DataObject& set) { set.length = 0; });
    if (const unsigned fault = InjectedFault("cwbDQ_Read", errorHandle))
        return fault;
    unsigned long handedBack = 0;
    bool badCcsid = false;
    const auto accept = [&](const QByteArray& entry) {
        QByteArray form = entry;
        if (object->convert
            && !Convert(open->ccsid, kPcCodePage, reinterpret_cast<const unsigned char*>(entry.constData()),
                        static_cast<std::size_t>(entry.size()), &form)) {
            badCcsid = true;
            return false;
        }
        handedBack = static_cast<unsigned long>(form.size());
        if (handedBack > object->capacity)
            return false;
        std::memcpy(object->buffer, form.constData(), form.size());
        return true;
    };
    bool taken = false;
    HostMessage message;
    const unsigned result = TakeDataQueueEntry(open->info, waitSeconds, accept, &taken, &message);
    if (result != kCwbOk)
        return Report(result, message, errorHandle);
    if (badCcsid)
        return RefuseCcsid(open->ccsid, errorHandle);
    DataObjects().Update(data, [&](DataObject& set) { set.length = handedBack; });
    if (!taken) {
        AddHostMessage(errorHandle, "KWV7010",
                       "An entry of " + std::to_string(handedBack) + " bytes does not fit a buffer of "
                           + std::to_string(object->capacity) + " bytes; it stays in the data queue.");
        return kCwbTargetTooSmall;
    }
    return kCwbOk;
}

unsigned cwbDQ_CreateData(cwbDQ_Data* data)
{
    if (!data)
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbDQ_CreateData"))
        return fault;
    *data = DataObjects().Add(DataObject{});
    return kCwbOk;
}

unsigned cwbDQ_DeleteData(cwbDQ_Data data)
{
    if (!DataObjects().Get(data))
        return kCwbInvalidHandle;
    if (const unsigned fault = InjectedFault("cwbDQ_DeleteData"))
        return fault;
    DataObjects().Remove(data);
    return kCwbOk;
}

unsigned cwbDQ_SetData(cwbDQ_Data data, unsigned char* buffer, unsigned long length)
{
    if (!DataObjects().Get(data))
        return kCwbInvalidHandle;
    if (!buffer && length != 0)
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbDQ_SetData"))
        return fault;
    DataObjects().Update(data, [&](DataObject& set) {
        set.buffer = buffer;
        set.capacity = length;
        set.length = length;
    });
    return kCwbOk;
}

unsigned cwbDQ_GetDataLen(cwbDQ_Data data, unsigned long* length)
{
    const auto object = DataObjects().Get(data);
    if (!object)
        return kCwbInvalidHandle;
    if (!length)
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbDQ_GetDataLen"))
        return fault;
    *length = object->length;
    return kCwbOk;
}

unsigned cwbDQ_SetConvert(cwbDQ_Data data, bool convert)
{
    return DataObjects().Update(data, [&](DataObject& set) { set.convert = convert; }) ? kCwbOk : kCwbInvalidHandle;
}

unsigned cwbDQ_GetConvert(cwbDQ_Data data, bool* convert)
{
    const auto object = DataObjects().Get(data);
    if (!object)
        return kCwbInvalidHandle;
    if (!convert)
        return kCwbInvalidParameter;
    *convert = object->convert;
    return kCwbOk;
}
