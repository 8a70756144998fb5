#pragma once
// What one font index of a page's font list holds: a primary master font,
// an optional secondary (double-byte) master font, and the elements that
// use the index. Nothing here is owned.

#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <vector>

class CAS400Font;
class CFormElement;

class CSelectedFontHolder : public CObject
{
    KWVD_DECLARE_SERIAL(CSelectedFontHolder)

public:
    CSelectedFontHolder() = default;
    explicit CSelectedFontHolder(CAS400Font* primary) : m_pPrimary(primary) {}

    CAS400Font* GetPrimary() const { return m_pPrimary; }
    CAS400Font* GetSecondary() const { return m_pSecondary; }
    void SetPrimary(CAS400Font* font) { m_pPrimary = font; }
    void SetSecondary(CAS400Font* font) { m_pSecondary = font; }

    const std::vector<CFormElement*>& GetUsers() const { return m_users; }
    BOOL HasUsers() const { return m_users.empty() ? FALSE : TRUE; }
    BOOL HasUser(const CFormElement* element) const;
    void AddUser(CFormElement* element);
    void RemoveUser(const CFormElement* element);

    // Asks every user to revalidate itself. A user whose index is no longer
    // usable leaves during the call, and may take the holder with it: the
    // caller must not touch the holder afterwards unless it knows it stays.
    void RevalidateUsers();

private:
    CAS400Font* m_pPrimary = nullptr;
    CAS400Font* m_pSecondary = nullptr;
    std::vector<CFormElement*> m_users;
};
