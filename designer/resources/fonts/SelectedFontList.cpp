#include "designer/resources/fonts/SelectedFontList.h"

#include "designer/resources/fonts/FontStrings.h"
#include "designer/resources/fonts/SelectedFontHolder.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"

KWVD_IMPLEMENT_SERIAL(CSelectedFontList, CObject, VERSIONABLE_SCHEMA | 0)

CSelectedFontList::~CSelectedFontList()
{
    RemoveAll();
}

void CSelectedFontList::RemoveAll()
{
    for (CSelectedFontHolder*& holder : m_holders) {
        delete holder;
        holder = nullptr;
    }
    m_holders.clear();
}

CSelectedFontHolder* CSelectedFontList::GetHolder(int index) const
{
    if (index < 0 || index >= GetSize())
        return nullptr;
    return m_holders[static_cast<size_t>(index)];
}

CSelectedFontHolder*& CSelectedFontList::Slot(int index)
{
    if (index >= GetSize())
        m_holders.resize(static_cast<size_t>(index) + 1, nullptr);
    return m_holders[static_cast<size_t>(index)];
}

void CSelectedFontList::SetPrimaryFont(int index, CAS400Font* font)
{
    if (index < 0)
        return;
    CSelectedFontHolder*& holder = Slot(index);
    if (holder != nullptr) {
        holder->SetPrimary(font);
        holder->RevalidateUsers();
        return;
    }
    holder = new CSelectedFontHolder(font);
}

int CSelectedFontList::Add(CAS400Font* primary, int maxFonts)
{
    int index = 1;
    while (index < GetSize() && m_holders[static_cast<size_t>(index)] != nullptr)
        ++index;
    if (index >= maxFonts) {
        AfxMessageBox(FormatResMessage(IDS_FONT_MAXIMUM, maxFonts), MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    CSelectedFontHolder* holder = new CSelectedFontHolder(primary);
    Slot(index) = holder;
    CSelectedFontHolder* first = GetHolder(0);
    if (first != nullptr && first->GetSecondary() != nullptr) {
        holder->SetSecondary(first->GetSecondary());
        holder->RevalidateUsers();
    }
    return index;
}

int CSelectedFontList::FindPair(const CAS400Font* secondary, const CAS400Font* primary) const
{
    if (primary == nullptr)
        return -1;
    for (int index = 0; index < GetSize(); ++index) {
        const CSelectedFontHolder* holder = m_holders[static_cast<size_t>(index)];
        if (holder != nullptr && holder->GetPrimary() == primary && holder->GetSecondary() == secondary)
            return index;
    }
    return -1;
}

BOOL CSelectedFontList::IsFontUsed(const CAS400Font* font) const
{
    if (font == nullptr)
        return FALSE;
    for (const CSelectedFontHolder* holder : m_holders) {
        if (holder != nullptr && (holder->GetPrimary() == font || holder->GetSecondary() == font))
            return TRUE;
    }
    return FALSE;
}

void CSelectedFontList::RevalidateFontUsers(const CAS400Font* font)
{
    // A holder may go while its users revalidate, so each index is looked up
    // again instead of holding on to the holder.
    for (int index = 0; index < GetSize(); ++index) {
        CSelectedFontHolder* holder = m_holders[static_cast<size_t>(index)];
        if (holder != nullptr && (holder->GetPrimary() == font || holder->GetSecondary() == font))
            holder->RevalidateUsers();
    }
}

int CSelectedFontList::AddUser(int index, CFormElement* element)
{
    CSelectedFontHolder* holder = index == 0 ? nullptr : GetHolder(index);
    if (holder == nullptr)
        return 0;
    holder->AddUser(element);
    return index;
}

void CSelectedFontList::RemoveUser(CFormElement* element, int index)
{
    CSelectedFontHolder* holder = index == 0 ? nullptr : GetHolder(index);
    if (holder == nullptr)
        return;
    holder->RemoveUser(element);
    if (!holder->HasUsers()) {
        m_holders[static_cast<size_t>(index)] = nullptr;
        delete holder;
    }
}

void CSelectedFontList::GetFonts(int kind, std::vector<CAS400Font*>& fonts) const
{
    fonts.assign(m_holders.size(), nullptr);
    for (size_t index = 0; index < m_holders.size(); ++index) {
        const CSelectedFontHolder* holder = m_holders[index];
        if (holder != nullptr)
            fonts[index] = kind == 2 ? holder->GetSecondary() : holder->GetPrimary();
    }
}

void CSelectedFontList::RemoveUnused()
{
    for (size_t index = 1; index < m_holders.size(); ++index) {
        CSelectedFontHolder*& holder = m_holders[index];
        if (holder != nullptr && !holder->HasUsers()) {
            delete holder;
            holder = nullptr;
        }
    }
}
