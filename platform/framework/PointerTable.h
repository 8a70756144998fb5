#pragma once
// A map from object addresses to small values for the loops that store a
// whole document (the archive's ids, an element's place in a list): one
// block with open addressing, so adding an entry allocates nothing until
// the table grows, and nothing is freed entry by entry. Entries are never
// removed; the null address cannot be a key.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace kwvd {

template <class Value>
class PointerTable
{
public:
    PointerTable() = default;
    PointerTable(const PointerTable&) = delete;
    PointerTable& operator=(const PointerTable&) = delete;

    size_t Size() const { return m_count; }

    // Room for count entries without growing.
    void Reserve(size_t count)
    {
        if (count > m_count && SlotsFor(count) > m_capacity)
            Rehash(SlotsFor(count));
    }

    // The value kept for key; null when there is none.
    const Value* Find(const void* key) const
    {
        if (m_count == 0 || key == nullptr)
            return nullptr;
        for (size_t i = SlotOf(key);; i = (i + 1) & (m_capacity - 1)) {
            const Slot& slot = m_slots[i];
            if (slot.key == key)
                return &slot.value;
            if (slot.key == nullptr)
                return nullptr;
        }
    }

    // Adds key with value unless key is there already; true when added.
    bool Insert(const void* key, Value value)
    {
        if (key == nullptr)
            return false;
        if (SlotsFor(m_count + 1) > m_capacity)
            Rehash(SlotsFor(m_count + 1));
        for (size_t i = SlotOf(key);; i = (i + 1) & (m_capacity - 1)) {
            Slot& slot = m_slots[i];
            if (slot.key == key)
                return false;
            if (slot.key == nullptr) {
                slot.key = key;
                slot.value = value;
                ++m_count;
                return true;
            }
        }
    }

private:
    struct Slot
    {
        const void* key = nullptr;
        Value value{};
    };

    // At most half the slots are used, so a search ends soon.
    static size_t SlotsFor(size_t count) { return std::bit_ceil(std::max<size_t>(2 * count, 16)); }

    size_t SlotOf(const void* key) const
    {
        // Addresses of objects share their low bits: mix before masking.
        auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(key));
        bits ^= bits >> 33;
        bits *= 0xff51afd7ed558ccdULL;
        bits ^= bits >> 33;
        return static_cast<size_t>(bits) & (m_capacity - 1);
    }

    void Rehash(size_t capacity)
    {
        std::unique_ptr<Slot[]> old = std::move(m_slots);
        const size_t oldCapacity = m_capacity;
        m_slots = std::make_unique<Slot[]>(capacity);
        m_capacity = capacity;
        for (size_t i = 0; i < oldCapacity; ++i) {
            if (old[i].key == nullptr)
                continue;
            size_t at = SlotOf(old[i].key);
            while (m_slots[at].key != nullptr)
                at = (at + 1) & (m_capacity - 1);
            m_slots[at] = old[i];
        }
    }

    std::unique_ptr<Slot[]> m_slots;
    size_t m_capacity = 0;
    size_t m_count = 0;
};

} // namespace kwvd
