#pragma once
// The collections that the system's files carry, each in its archive form:
// a count (CArchive::WriteCount) followed by the items.
//
// CObList and CObArray hold CObject pointers without owning them; their items
// are written with WriteObject and read with ReadObject (nulls allowed), so
// shared objects stay shared. Loading appends to a CObList, keeping what was
// there, and replaces the content of an array. Items read before a failure
// stay in the collection; the caller owns them.
//
// Indexes out of range throw std::out_of_range, except that InsertAt past the
// end first fills the gap with empty items.

#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <QString>

#include <list>
#include <vector>

class CObList : public CObject
{
    KWVD_DECLARE_SERIAL(CObList)

public:
    using iterator = std::list<CObject*>::iterator;
    using const_iterator = std::list<CObject*>::const_iterator;

    CObList() = default;

    qsizetype GetCount() const { return static_cast<qsizetype>(m_items.size()); }
    bool IsEmpty() const { return m_items.empty(); }

    // Null for an empty list.
    CObject* GetHead() const { return m_items.empty() ? nullptr : m_items.front(); }
    CObject* GetTail() const { return m_items.empty() ? nullptr : m_items.back(); }

    void AddHead(CObject* object) { m_items.push_front(object); }
    void AddTail(CObject* object) { m_items.push_back(object); }
    // Both return null for an empty list.
    CObject* RemoveHead();
    CObject* RemoveTail();
    void RemoveAll() { m_items.clear(); }

    // The first position holding the object, or end().
    iterator Find(const CObject* object);
    const_iterator Find(const CObject* object) const;
    iterator InsertBefore(const_iterator position, CObject* object) { return m_items.insert(position, object); }
    // Returns the position after the removed one.
    iterator RemoveAt(const_iterator position) { return m_items.erase(position); }

    iterator begin() { return m_items.begin(); }
    iterator end() { return m_items.end(); }
    const_iterator begin() const { return m_items.begin(); }
    const_iterator end() const { return m_items.end(); }

    void Serialize(CArchive& ar) override;

private:
    std::list<CObject*> m_items;
};

class CObArray : public CObject
{
    KWVD_DECLARE_SERIAL(CObArray)

public:
    CObArray() = default;

    qsizetype GetSize() const { return static_cast<qsizetype>(m_items.size()); }
    qsizetype GetCount() const { return GetSize(); }
    bool IsEmpty() const { return m_items.empty(); }
    // New slots are null.
    void SetSize(qsizetype size) { m_items.resize(static_cast<size_t>(size)); }

    CObject* GetAt(qsizetype index) const { return m_items.at(static_cast<size_t>(index)); }
    void SetAt(qsizetype index, CObject* object) { m_items.at(static_cast<size_t>(index)) = object; }
    CObject*& operator[](qsizetype index) { return m_items.at(static_cast<size_t>(index)); }
    CObject* operator[](qsizetype index) const { return GetAt(index); }

    // Returns the new item's index.
    qsizetype Add(CObject* object);
    void InsertAt(qsizetype index, CObject* object);
    void RemoveAt(qsizetype index);
    void RemoveAll() { m_items.clear(); }

    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

    void Serialize(CArchive& ar) override;

private:
    std::vector<CObject*> m_items;
};

class CStringArray : public CObject
{
    KWVD_DECLARE_SERIAL(CStringArray)

public:
    CStringArray() = default;

    qsizetype GetSize() const { return static_cast<qsizetype>(m_items.size()); }
    qsizetype GetCount() const { return GetSize(); }
    bool IsEmpty() const { return m_items.empty(); }
    void SetSize(qsizetype size) { m_items.resize(static_cast<size_t>(size)); }

    const QString& GetAt(qsizetype index) const { return m_items.at(static_cast<size_t>(index)); }
    void SetAt(qsizetype index, const QString& text) { m_items.at(static_cast<size_t>(index)) = text; }
    QString& operator[](qsizetype index) { return m_items.at(static_cast<size_t>(index)); }
    const QString& operator[](qsizetype index) const { return GetAt(index); }

    qsizetype Add(const QString& text);
    void InsertAt(qsizetype index, const QString& text);
    void RemoveAt(qsizetype index);
    void RemoveAll() { m_items.clear(); }

    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

    // Each item in the UTF-16 text form.
    void Serialize(CArchive& ar) override;

private:
    std::vector<QString> m_items;
};

class CWordArray : public CObject
{
    KWVD_DECLARE_SERIAL(CWordArray)

public:
    CWordArray() = default;

    qsizetype GetSize() const { return static_cast<qsizetype>(m_items.size()); }
    qsizetype GetCount() const { return GetSize(); }
    bool IsEmpty() const { return m_items.empty(); }
    // New slots are 0.
    void SetSize(qsizetype size) { m_items.resize(static_cast<size_t>(size)); }

    WORD GetAt(qsizetype index) const { return m_items.at(static_cast<size_t>(index)); }
    void SetAt(qsizetype index, WORD value) { m_items.at(static_cast<size_t>(index)) = value; }
    WORD& operator[](qsizetype index) { return m_items.at(static_cast<size_t>(index)); }
    WORD operator[](qsizetype index) const { return GetAt(index); }

    qsizetype Add(WORD value);
    void InsertAt(qsizetype index, WORD value);
    void RemoveAt(qsizetype index);
    void RemoveAll() { m_items.clear(); }

    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

    // The values as raw little-endian WORDs after the count.
    void Serialize(CArchive& ar) override;

private:
    std::vector<WORD> m_items;
};
