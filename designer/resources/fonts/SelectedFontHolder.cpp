#include "designer/resources/fonts/SelectedFontHolder.h"

#include "designer/elements/FormElement.h"

#include <algorithm>

KWVD_IMPLEMENT_SERIAL(CSelectedFontHolder, CObject, VERSIONABLE_SCHEMA | 0)

BOOL CSelectedFontHolder::HasUser(const CFormElement* element) const
{
    return std::find(m_users.begin(), m_users.end(), element) != m_users.end() ? TRUE : FALSE;
}

void CSelectedFontHolder::AddUser(CFormElement* element)
{
    if (element != nullptr && !HasUser(element))
        m_users.push_back(element);
}

void CSelectedFontHolder::RemoveUser(const CFormElement* element)
{
    std::erase(m_users, element);
}

void CSelectedFontHolder::RevalidateUsers()
{
    // The walk runs over a copy: the last user to leave deletes this holder.
    const std::vector<CFormElement*> users = m_users;
    for (CFormElement* user : users) {
        if (user != nullptr)
            user->Revalidate(0);
    }
}
