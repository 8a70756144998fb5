#include "platform/framework/Object.h"

#include <map>
#include <mutex>
#include <string>

namespace {

struct ClassTable
{
    std::mutex mutex;
    std::map<std::string, const CRuntimeClass*, std::less<>> byName;
};

ClassTable& classTable()
{
    static ClassTable table;
    return table;
}

} // namespace

constinit const CRuntimeClass CObject::runtimeClass = {"CObject", kNotSerializableSchema, nullptr, nullptr};

CObject* CRuntimeClass::CreateObject() const
{
    return factory ? factory() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const
{
    for (const CRuntimeClass* c = this; c; c = c->baseClass) {
        if (c == base)
            return TRUE;
    }
    return FALSE;
}

BOOL CRuntimeClass::IsSerializable() const
{
    return factory != nullptr && (schema & 0xFFFFu) != kNotSerializableSchema;
}

const CRuntimeClass* CRuntimeClass::FromName(std::string_view name)
{
    ClassTable& table = classTable();
    std::lock_guard lock(table.mutex);
    const auto it = table.byName.find(name);
    return it == table.byName.end() ? nullptr : it->second;
}

bool RegisterRuntimeClass(const CRuntimeClass* runtimeClass)
{
    if (!runtimeClass || !runtimeClass->className)
        return false;
    ClassTable& table = classTable();
    std::lock_guard lock(table.mutex);
    const auto [it, inserted] = table.byName.emplace(runtimeClass->className, runtimeClass);
    return inserted || it->second == runtimeClass;
}

CObject::~CObject() = default;

const CRuntimeClass* CObject::GetRuntimeClass() const
{
    return &CObject::runtimeClass;
}

void CObject::Serialize(CArchive&) {}

BOOL CObject::IsKindOf(const CRuntimeClass* runtimeClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(runtimeClass);
}

BOOL CObject::IsSerializable() const
{
    return GetRuntimeClass()->IsSerializable();
}
