#pragma once
// The menus of the resource source: the frame's menu 128 and the context
// menus of the explorer (32856) and of the design panes (32827), as trees of
// items whose texts are string-table entries, so an installed string source
// (another language) changes them all. The command layer holds them because
// the panes and the explorer build their menus from them as the frame does.

#include "platform/framework/Types.h"

#include <QString>

#include <functional>
#include <vector>

class QMenu;

inline constexpr UINT IDR_MAINFRAME = 128;
inline constexpr UINT IDR_EXPLORER_POPUP = 32856;
inline constexpr UINT IDR_VIEW_POPUP = 32827;

// The menus' string ids outside the command ids: the text of an item of
// menu 128 or 32827 is at MenuTextId(command), of the explorer's menu at
// ExplorerMenuTextId(command) (it shows no shortcuts), a popup's title at
// PopupTextId(n).
constexpr UINT MenuTextId(UINT command)
{
    return 0x10000u + command;
}
constexpr UINT PopupTextId(UINT n)
{
    return 0x20000u + n;
}
constexpr UINT ExplorerMenuTextId(UINT command)
{
    return 0x40000u + command;
}

struct MenuNode
{
    enum class Kind {
        Item,
        Separator,
        Popup
    };
    Kind kind = Kind::Item;
    UINT id = 0;     // command id of an item
    UINT textId = 0; // string id of its text ("text\tshortcut")
    QString name;    // object name of a popup, stable across languages
    std::vector<MenuNode> children;
};

// Adds the menus' UK English texts to the string table; harmless again.
void RegisterMenuResources();

// The menu as a tree of popups: menu 128's are the menu bar's, each context
// menu is one popup holding its items. Empty for an unknown menu. The texts
// are registered on the first call.
std::vector<MenuNode> LoadMenuResource(UINT menuId);

// Fills a Qt menu from the nodes: separators and popups (titled from the
// string table, named after the node) as they stand, each item through
// addItem, which makes its action.
void FillMenu(QMenu* menu, const std::vector<MenuNode>& nodes,
              const std::function<void(QMenu*, const MenuNode&)>& addItem);
