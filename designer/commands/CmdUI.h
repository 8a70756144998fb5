#pragma once
// What an update handler sees of one command: it enables, checks and
// retitles the menu items and buttons that carry the id, or removes its
// menu items. The router applies
// the outcome to every action of the id after the pass.

#include "platform/framework/Types.h"

#include <QString>

#include <optional>

class CCmdUI
{
public:
    explicit CCmdUI(UINT id = 0) : m_nID(id) {}

    UINT m_nID = 0;

    void Enable(BOOL on = TRUE) { m_enabled = on != FALSE; }
    // 0 unchecked, 1 checked (2, indeterminate, shows as checked).
    void SetCheck(int check = 1) { m_check = check; }
    // A radio item shows its mark like a check.
    void SetRadio(BOOL on = TRUE) { m_check = on ? 1 : 0; }
    // The item's text; an empty text hides a menu item (the recent files).
    void SetText(const QString& text) { m_text = text; }
    // Asks for the id's menu items to be taken out of their menus, for a
    // command this system cannot offer at all; its buttons are only
    // disabled.
    void RemoveFromMenus() { m_remove = true; }

    BOOL IsEnabled() const { return m_enabled ? TRUE : FALSE; }
    const std::optional<int>& GetCheck() const { return m_check; }
    const std::optional<QString>& GetText() const { return m_text; }
    bool IsRemoveRequested() const { return m_remove; }

private:
    bool m_enabled = false;
    std::optional<int> m_check;
    std::optional<QString> m_text;
    bool m_remove = false;
};
