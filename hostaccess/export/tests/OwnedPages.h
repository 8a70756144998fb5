#pragma once
// A page list the test owns, as the designer's list stays the designer's:
// one CStringArray per page, line n at index n; a page without an array is a
// null entry.

#include "hostaccess/api/SpooledPageList.h"
#include "platform/framework/Collections.h"

#include <QString>
#include <QStringList>

#include <initializer_list>

class OwnedPages
{
public:
    OwnedPages() = default;
    OwnedPages(std::initializer_list<QStringList> pages)
    {
        for (const QStringList& lines : pages)
            Add(lines);
    }
    ~OwnedPages()
    {
        for (CObject* page : m_list)
            delete page;
    }
    OwnedPages(const OwnedPages&) = delete;
    OwnedPages& operator=(const OwnedPages&) = delete;

    void Add(const QStringList& lines)
    {
        auto* page = new CStringArray;
        for (const QString& line : lines)
            page->Add(line);
        m_list.AddTail(page);
    }
    void AddMissing() { m_list.AddTail(nullptr); }

    SpooledPageList& List() { return m_list; }
    const SpooledPageList& List() const { return m_list; }

private:
    SpooledPageList m_list;
};
