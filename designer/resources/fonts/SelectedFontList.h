#pragma once
// The font indexes of a page's font list: a holder per used index, null for
// an empty one. Index 0 is the default font and never has users; a holder
// of any other index goes when its last user leaves.

#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <vector>

class CAS400Font;
class CFormElement;
class CSelectedFontHolder;

class CSelectedFontList : public CObject
{
    KWVD_DECLARE_SERIAL(CSelectedFontList)

public:
    CSelectedFontList() = default;
    // Deletes the holders.
    ~CSelectedFontList() override;

    CSelectedFontList(const CSelectedFontList&) = delete;
    CSelectedFontList& operator=(const CSelectedFontList&) = delete;

    // Empty slots stay in the array.
    int GetSize() const { return static_cast<int>(m_holders.size()); }
    // Null for an empty slot or an index outside the array.
    CSelectedFontHolder* GetHolder(int index) const;

    // Replaces the index's primary font (its users revalidate) or puts a new
    // holder there, growing the array.
    void SetPrimaryFont(int index, CAS400Font* font);
    // The first free index from 1 below maxFonts gets the font (and index
    // 0's secondary when it has none); 0 and message 292 when all are taken.
    int Add(CAS400Font* primary, int maxFonts);
    // The first index holding exactly that pair, or -1.
    int FindPair(const CAS400Font* secondary, const CAS400Font* primary) const;
    BOOL IsFontUsed(const CAS400Font* font) const;
    void RevalidateFontUsers(const CAS400Font* font);
    // The index, or 0 for index 0, an index outside the array or an empty slot.
    int AddUser(int index, CFormElement* element);
    void RemoveUser(CFormElement* element, int index);
    // Kind 1 primaries, kind 2 secondaries, each at its holder's index.
    void GetFonts(int kind, std::vector<CAS400Font*>& fonts) const;
    // Deletes the holders of index 1 up that have no users.
    void RemoveUnused();

    // Deletes every holder.
    void RemoveAll();

private:
    CSelectedFontHolder*& Slot(int index);

    std::vector<CSelectedFontHolder*> m_holders;
};
