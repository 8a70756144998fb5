#pragma once
// The frame's resources: menu 128, its accelerator table, the toolbar
// button lists and the shell's strings. Every text is a string-table entry,
// so an installed string source (another language) changes them all.

#include "designer/commands/MenuResources.h"
#include "platform/framework/Types.h"

#include <QKeySequence>
#include <QString>

#include <vector>

inline constexpr UINT IDR_TOOLS = 366;
inline constexpr UINT IDR_TOOLS_HC = 384;
inline constexpr UINT IDR_STANDARD_HC = 408;
inline constexpr UINT IDB_MENU_IMAGES = 394;
inline constexpr UINT IDB_MENU_IMAGES_HC = 387;
inline constexpr UINT IDR_MENU_IMAGES2 = 411;

inline constexpr UINT IDS_CUSTOMIZE = 389;
inline constexpr UINT IDS_TOOLBAR_TOOLS = 390;
inline constexpr UINT IDS_TOOLBAR_STANDARD = 391;
inline constexpr UINT IDS_EXPLORER = 392;
inline constexpr UINT IDS_IDLE_MESSAGE = 57345; // "Ready"
inline constexpr UINT IDS_INDICATOR_PAGE_TEMPLATE = 32798;
inline constexpr UINT IDS_INDICATOR_CAPS = 59137;
inline constexpr UINT IDS_INDICATOR_NUM = 59138;
inline constexpr UINT IDS_INDICATOR_SCRL = 59139;

// The customize dialog's texts from IDS_CUSTOMIZE_FIRST on (the menu texts'
// ids are MenuResources.h's).
inline constexpr UINT IDS_CUSTOMIZE_FIRST = 0x30000u;

struct AccelEntry
{
    QKeySequence key;
    UINT id;
};

// Adds the shell's UK English texts (the menus' among them) to the string
// table; harmless again.
void RegisterShellResources();

// Accelerator table 128.
std::vector<AccelEntry> LoadAcceleratorTable(UINT tableId);
// The buttons of a toolbar resource in order; 0 is a separator.
std::vector<UINT> LoadToolBarResource(UINT resourceId);

// The item's text without the shortcut part after the tab.
QString MenuItemText(UINT command);
// The tooltip: the part after "\n" of the command's string, else its menu
// text without "&" and a trailing "...".
QString CommandTip(UINT command);
