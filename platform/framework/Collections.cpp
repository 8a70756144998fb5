#include "platform/framework/Collections.h"

#include "platform/framework/Archive.h"

#include <QtEndian>

#include <algorithm>
#include <stdexcept>

KWVD_IMPLEMENT_SERIAL(CObList, CObject, 0)
KWVD_IMPLEMENT_SERIAL(CObArray, CObject, 0)
KWVD_IMPLEMENT_SERIAL(CStringArray, CObject, 0)
KWVD_IMPLEMENT_SERIAL(CWordArray, CObject, 0)

namespace {

// The smallest stored form of an item, used to refuse a count that the
// remaining data cannot hold before anything is allocated.
constexpr ULONGLONG kMinObjectBytes = 2; // a WORD tag
constexpr ULONGLONG kMinStringBytes = 1; // a BYTE length

// A file that cannot tell its length lets any count through, so never
// reserve more than a modest amount ahead of the data.
size_t reserveFor(DWORD count)
{
    return std::min<size_t>(count, 0x10000);
}

DWORD countForStore(size_t size)
{
    if (size > 0xFFFFFFFFu)
        throw CArchiveException(CArchiveException::genericException);
    return static_cast<DWORD>(size);
}

template <class Vector, class Item>
void insertAt(Vector& items, qsizetype index, const Item& item)
{
    if (index < 0)
        throw std::out_of_range("negative index");
    const auto at = static_cast<size_t>(index);
    if (at > items.size())
        items.resize(at);
    items.insert(items.begin() + index, item);
}

template <class Vector>
void removeAt(Vector& items, qsizetype index)
{
    if (index < 0 || static_cast<size_t>(index) >= items.size())
        throw std::out_of_range("index out of range");
    items.erase(items.begin() + index);
}

} // namespace

CObject* CObList::RemoveHead()
{
    if (m_items.empty())
        return nullptr;
    CObject* object = m_items.front();
    m_items.pop_front();
    return object;
}

CObject* CObList::RemoveTail()
{
    if (m_items.empty())
        return nullptr;
    CObject* object = m_items.back();
    m_items.pop_back();
    return object;
}

CObList::iterator CObList::Find(const CObject* object)
{
    return std::find(m_items.begin(), m_items.end(), object);
}

CObList::const_iterator CObList::Find(const CObject* object) const
{
    return std::find(m_items.begin(), m_items.end(), object);
}

void CObList::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(countForStore(m_items.size()));
        for (const CObject* object : m_items)
            ar.WriteObject(object);
        return;
    }
    const DWORD count = ar.ReadCount();
    ar.EnsureAvailable(count * kMinObjectBytes);
    for (DWORD i = 0; i < count; ++i)
        m_items.push_back(ar.ReadObject(nullptr));
}

qsizetype CObArray::Add(CObject* object)
{
    m_items.push_back(object);
    return GetSize() - 1;
}

void CObArray::InsertAt(qsizetype index, CObject* object)
{
    insertAt(m_items, index, object);
}

void CObArray::RemoveAt(qsizetype index)
{
    removeAt(m_items, index);
}

void CObArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(countForStore(m_items.size()));
        for (const CObject* object : m_items)
            ar.WriteObject(object);
        return;
    }
    m_items.clear();
    const DWORD count = ar.ReadCount();
    ar.EnsureAvailable(count * kMinObjectBytes);
    m_items.reserve(reserveFor(count));
    for (DWORD i = 0; i < count; ++i)
        m_items.push_back(ar.ReadObject(nullptr));
}

qsizetype CStringArray::Add(const QString& text)
{
    m_items.push_back(text);
    return GetSize() - 1;
}

void CStringArray::InsertAt(qsizetype index, const QString& text)
{
    insertAt(m_items, index, text);
}

void CStringArray::RemoveAt(qsizetype index)
{
    removeAt(m_items, index);
}

void CStringArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(countForStore(m_items.size()));
        for (const QString& text : m_items)
            ar << text;
        return;
    }
    m_items.clear();
    const DWORD count = ar.ReadCount();
    ar.EnsureAvailable(count * kMinStringBytes);
    m_items.reserve(reserveFor(count));
    for (DWORD i = 0; i < count; ++i) {
        QString text;
        ar >> text;
        m_items.push_back(std::move(text));
    }
}

qsizetype CWordArray::Add(WORD value)
{
    m_items.push_back(value);
    return GetSize() - 1;
}

void CWordArray::InsertAt(qsizetype index, WORD value)
{
    insertAt(m_items, index, value);
}

void CWordArray::RemoveAt(qsizetype index)
{
    removeAt(m_items, index);
}

void CWordArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(countForStore(m_items.size()));
        for (WORD value : m_items)
            ar << value;
        return;
    }
    m_items.clear();
    const DWORD count = ar.ReadCount();
    ar.EnsureAvailable(count * 2ull);
    m_items.reserve(reserveFor(count));
    for (DWORD i = 0; i < count; ++i) {
        WORD value = 0;
        ar >> value;
        m_items.push_back(value);
    }
}
