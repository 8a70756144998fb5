#pragma once
// Small serialisable classes and byte helpers shared by the archive tests.
// The classes are implemented in ArchiveObjectTest.cpp.

#include "platform/framework/Archive.h"
#include "platform/framework/Collections.h"
#include "platform/framework/MemFile.h"
#include "platform/framework/Object.h"
#include "tests/support/ArchiveBytes.h"

#include <QString>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace archive_test {

using ::Ascii;
using ::Bytes;
using ::Hex;
using ::Store;
using ::operator+;

// Text of n characters 'A', 'B', ... 'Z', 'A', ...
std::string NarrowPattern(size_t n);
QString WidePattern(size_t n);
// The same characters as stored: one byte each, or two little-endian bytes.
Bytes NarrowPatternBytes(size_t n);
Bytes WidePatternBytes(size_t n);

// A loading archive over a copy of the bytes.
class LoadArchive
{
public:
    explicit LoadArchive(const Bytes& bytes);
    CArchive& ar() { return m_archive; }
    // TRUE when every byte has been read.
    bool AtEnd();

private:
    Bytes m_bytes;
    CMemFile m_file;
    CArchive m_archive;
};

// Objects of the test classes alive right now, to find leaks and double frees.
extern int g_liveObjects;

struct LiveCount
{
    LiveCount() { ++g_liveObjects; }
    LiveCount(const LiveCount&) { ++g_liveObjects; }
    ~LiveCount() { --g_liveObjects; }
};

// Schema 1, not versionable: one WORD.
class CTestItem : public CObject
{
    KWVD_DECLARE_SERIAL(CTestItem)
public:
    CTestItem() = default;
    explicit CTestItem(WORD value) : m_value(value) {}
    void Serialize(CArchive& ar) override;

    WORD m_value = 0;
    LiveCount m_live;
};

// Derived from CTestItem, schema 1: its WORD then a BYTE.
class CTestDerived : public CTestItem
{
    KWVD_DECLARE_SERIAL(CTestDerived)
public:
    void Serialize(CArchive& ar) override;

    BYTE m_extra = 0;
};

// Schema 1, not versionable, unrelated to CTestItem: one BYTE.
class CTestOther : public CObject
{
    KWVD_DECLARE_SERIAL(CTestOther)
public:
    void Serialize(CArchive& ar) override;

    BYTE m_value = 0;
    LiveCount m_live;
};

// Versionable, schema 3. Fields by schema: 1 a WORD, 2 an 8-bit text, 3 a
// UTF-16 text. Loading notes the schema before and after its fields.
class CTestVersioned : public CObject
{
    KWVD_DECLARE_SERIAL(CTestVersioned)
public:
    void Serialize(CArchive& ar) override;

    WORD m_number = 0;
    std::string m_narrow;
    QString m_wide;
    UINT m_schemaFirst = 0;
    UINT m_schemaSecond = 0;
    LiveCount m_live;
};

// Versionable, schema 2: an owned child object (schema 1 on), then a second
// object reference (schema 2 on). Loading notes the schema before and after
// reading the child.
class CTestHolder : public CObject
{
    KWVD_DECLARE_SERIAL(CTestHolder)
public:
    ~CTestHolder() override;
    void Serialize(CArchive& ar) override;

    CObject* m_child = nullptr; // owned
    CObject* m_other = nullptr; // not owned
    UINT m_schemaBefore = 0;
    UINT m_schemaAfter = 0;
    LiveCount m_live;
};

// Schema 1: a WORD; loading throws genericException when it is DE AD.
class CTestFailing : public CObject
{
    KWVD_DECLARE_SERIAL(CTestFailing)
public:
    void Serialize(CArchive& ar) override;

    WORD m_flag = 0;
    LiveCount m_live;
};

// Versionable, schema 1: a LONG and a list of links to other nodes.
class CTestNode : public CObject
{
    KWVD_DECLARE_SERIAL(CTestNode)
public:
    void Serialize(CArchive& ar) override;

    LONG m_value = 0;
    CObList m_links;
    LiveCount m_live;
};

// Known at run time and registered, but not serialisable.
class CTestDynamic : public CObject
{
    KWVD_DECLARE_DYNAMIC(CTestDynamic)
};

void RegisterTestClasses();

} // namespace archive_test
