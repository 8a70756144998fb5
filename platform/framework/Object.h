#pragma once
// The serialisable object base and its runtime classes.
//
// Every class that travels in an archive carries a CRuntimeClass: its name as
// written into the file, its schema number, a factory that makes an empty
// object, and its base class. Loading finds a class by the name stored in the
// file, so each library registers its classes explicitly at start
// (RegisterRuntimeClass); nothing registers itself from a static initialiser.
//
//   class CFoo : public CObject
//   {
//       KWVD_DECLARE_SERIAL(CFoo)
//   public:
//       void Serialize(CArchive& ar) override;
//   };
//   KWVD_IMPLEMENT_SERIAL(CFoo, CObject, VERSIONABLE_SCHEMA | 3)   // in Foo.cpp
//   RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFoo));                // at start

#include "platform/framework/Types.h"

#include <string_view>

class CArchive;
class CObject;

// Marks a class whose older stored schemas are handed to its load code
// instead of being refused.
inline constexpr UINT VERSIONABLE_SCHEMA = 0x80000000u;

// The schema of a class that is known at run time but never written.
inline constexpr UINT kNotSerializableSchema = 0xFFFFu;

struct CRuntimeClass
{
    const char* className;          // ASCII, written verbatim into archives
    UINT schema;                    // with VERSIONABLE_SCHEMA when versionable
    CObject* (*factory)();          // null for a class that cannot be created
    const CRuntimeClass* baseClass; // null for CObject only

    // A new empty object, or null when the class has no factory.
    CObject* CreateObject() const;

    BOOL IsDerivedFrom(const CRuntimeClass* base) const;

    // TRUE when objects of the class can be written and read back.
    BOOL IsSerializable() const;

    // The schema number as stored in files, without VERSIONABLE_SCHEMA.
    UINT GetStoredSchema() const { return schema & ~VERSIONABLE_SCHEMA; }
    BOOL IsVersionable() const { return (schema & VERSIONABLE_SCHEMA) != 0; }

    // The registered class of that name, or null.
    static const CRuntimeClass* FromName(std::string_view name);
};

// Adds a class to the process-wide table that loading searches by name.
// Registering the same class again is harmless; a different class under a
// name already taken is refused (returns false) and the first one stays.
bool RegisterRuntimeClass(const CRuntimeClass* runtimeClass);

#define KWVD_RUNTIME_CLASS(class_name) (&class_name::runtimeClass)

// Leaves the class body in public access, like any member list that follows.
#define KWVD_DECLARE_DYNAMIC(class_name)                                                                               \
public:                                                                                                                \
    using KwvdThisClass = class_name;                                                                                  \
    static const CRuntimeClass runtimeClass;                                                                           \
    const CRuntimeClass* GetRuntimeClass() const override;

#define KWVD_DECLARE_SERIAL(class_name)                                                                                \
    KWVD_DECLARE_DYNAMIC(class_name)                                                                                   \
    static CObject* CreateObject();

#define KWVD_IMPLEMENT_DYNAMIC(class_name, base_name)                                                                  \
    constinit const CRuntimeClass class_name::runtimeClass = {#class_name, kNotSerializableSchema, nullptr,            \
                                                              &base_name::runtimeClass};                               \
    const CRuntimeClass* class_name::GetRuntimeClass() const                                                           \
    {                                                                                                                  \
        return &class_name::runtimeClass;                                                                              \
    }

#define KWVD_IMPLEMENT_SERIAL(class_name, base_name, class_schema)                                                     \
    static_assert(((class_schema)&0x7FFF0000u) == 0 && ((class_schema)&0xFFFFu) != 0xFFFFu,                            \
                  "a stored schema is a 16-bit number below 0xFFFF");                                                  \
    CObject* class_name::CreateObject()                                                                                \
    {                                                                                                                  \
        return new class_name;                                                                                         \
    }                                                                                                                  \
    constinit const CRuntimeClass class_name::runtimeClass = {#class_name, (class_schema), &class_name::CreateObject,  \
                                                              &base_name::runtimeClass};                               \
    const CRuntimeClass* class_name::GetRuntimeClass() const                                                           \
    {                                                                                                                  \
        return &class_name::runtimeClass;                                                                              \
    }

class CObject
{
public:
    using KwvdThisClass = CObject;
    static const CRuntimeClass runtimeClass;

    virtual ~CObject();

    virtual const CRuntimeClass* GetRuntimeClass() const;

    // Writes or reads the object's fields; the base has none.
    virtual void Serialize(CArchive& ar);

    BOOL IsKindOf(const CRuntimeClass* runtimeClass) const;
    BOOL IsSerializable() const;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};
