#include "designer/resources/ElementUsers.h"

#include "designer/elements/FormElement.h"

#include <vector>

void ElementUsers::Add(CFormElement* element)
{
    if (element != nullptr && !Has(element))
        m_users.AddTail(element);
}

BOOL ElementUsers::Remove(CFormElement* element)
{
    auto position = m_users.Find(element);
    if (position == m_users.end())
        return FALSE;
    m_users.RemoveAt(position);
    return TRUE;
}

BOOL ElementUsers::Has(const CFormElement* element) const
{
    return m_users.Find(element) != m_users.end() ? TRUE : FALSE;
}

void ElementUsers::RevalidateAll()
{
    // Work on a copy: a user that revalidates may leave the list.
    std::vector<CObject*> users(m_users.begin(), m_users.end());
    for (CObject* user : users)
        if (Has(static_cast<CFormElement*>(user)))
            static_cast<CFormElement*>(user)->Revalidate(0);
}
