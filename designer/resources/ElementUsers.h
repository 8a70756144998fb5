#pragma once
// The elements that show one document image or resource. Not owned: an
// element joins when it takes the image and leaves when it is deleted or
// takes another.

#include "platform/framework/Collections.h"
#include "platform/framework/Types.h"

class CFormElement;

class ElementUsers
{
public:
    // An element already in the list, or null, is not added again.
    void Add(CFormElement* element);
    // FALSE when the element was not a user.
    BOOL Remove(CFormElement* element);
    BOOL Has(const CFormElement* element) const;
    BOOL IsEmpty() const { return m_users.IsEmpty(); }
    void Clear() { m_users.RemoveAll(); }
    const CObList& List() const { return m_users; }

    // Revalidate(0) of each user still in the list; a user may leave it
    // while this runs.
    void RevalidateAll();

private:
    CObList m_users;
};
