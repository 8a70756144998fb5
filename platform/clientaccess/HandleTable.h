#pragma once
// The objects behind the layer's handles: numbers never reused within a
// process, so a deleted handle stays invalid, and a lock, because a caller
// may use its handles from more than one thread.

#include <map>
#include <mutex>
#include <optional>

namespace kwvd::clientaccess {

template <typename Object>
class HandleTable
{
public:
    unsigned long Add(Object object)
    {
        std::lock_guard lock(m_mutex);
        const unsigned long handle = m_next++;
        m_objects.emplace(handle, std::move(object));
        return handle;
    }

    bool Remove(unsigned long handle)
    {
        std::lock_guard lock(m_mutex);
        return m_objects.erase(handle) != 0;
    }

    // A copy of the object, or nothing for an invalid handle.
    std::optional<Object> Get(unsigned long handle) const
    {
        std::lock_guard lock(m_mutex);
        auto it = m_objects.find(handle);
        if (it == m_objects.end())
            return std::nullopt;
        return it->second;
    }

    // Runs change on the object in place; false for an invalid handle.
    template <typename Change>
    bool Update(unsigned long handle, Change change)
    {
        std::lock_guard lock(m_mutex);
        auto it = m_objects.find(handle);
        if (it == m_objects.end())
            return false;
        change(it->second);
        return true;
    }

private:
    mutable std::mutex m_mutex;
    unsigned long m_next = 1;
    std::map<unsigned long, Object> m_objects;
};

} // namespace kwvd::clientaccess
