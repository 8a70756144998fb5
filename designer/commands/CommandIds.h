#pragma once
// The designer's command ids: menu 128, its accelerators and toolbars, and
// the commands of the panes and dialogs that reach the frame. The numbers
// are stored in layouts and shared with the language resources, so they
// never change.

#include "platform/framework/Types.h"

// ---- File
inline constexpr UINT ID_FILE_NEW_WINDOW = 33310;
inline constexpr UINT ID_FILE_NEW = 57600; // "New WVD"
inline constexpr UINT ID_FILE_NEW_XML = 32789;
inline constexpr UINT ID_FILE_OPEN = 57601;
inline constexpr UINT ID_FILE_CLOSE = 57602;
inline constexpr UINT ID_FILE_SAVE = 57603;
inline constexpr UINT ID_FILE_SAVE_AS = 57604;
inline constexpr UINT ID_FILE_PAGE_SETUP = 57605;
inline constexpr UINT ID_FILE_PRINT_SETUP = 57606;
inline constexpr UINT ID_FILE_PRINT = 57607;
inline constexpr UINT ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr UINT ID_FILE_SEND_MAIL = 57612;
inline constexpr UINT ID_FILE_IMPORT_WVD = 32788;
inline constexpr UINT ID_FILE_EXPORT_WVD = 32790;
inline constexpr UINT ID_FILE_SEND_TO_MAKER = 32791;
inline constexpr UINT ID_FILE_SPOOL_SAVE_TO_FILE = 32793;
inline constexpr UINT ID_FILE_SPOOL_CREATE_FROM_FILE = 32792;
inline constexpr UINT ID_FILE_SPOOL_COPY_TO_CLIPBOARD = 33338;
inline constexpr UINT ID_FILE_SPOOL_PASTE_FROM_CLIPBOARD = 33339;
inline constexpr UINT ID_FILE_SPOOL_DELETE_PAGE = 33341;
inline constexpr UINT ID_FILE_EXECUTE_WVD = 32787;
// The recent-file list: 16 ids, the first stands in the menu.
inline constexpr UINT ID_FILE_MRU_FILE1 = 57616;
inline constexpr UINT ID_FILE_MRU_LAST = 57631;
inline constexpr int MRU_FILE_COUNT = 16;
inline constexpr UINT ID_APP_EXIT = 57665;

// ---- Edit
inline constexpr UINT ID_EDIT_CLEAR = 57632; // Delete
inline constexpr UINT ID_EDIT_COPY = 57634;
inline constexpr UINT ID_EDIT_CUT = 57635;
inline constexpr UINT ID_EDIT_FIND = 57636; // "Find/Replace"
inline constexpr UINT ID_EDIT_PASTE = 57637;
inline constexpr UINT ID_EDIT_UNDO = 57643;
inline constexpr UINT ID_EDIT_REDO = 57644;
inline constexpr UINT ID_EDIT_SELECT_ALL = 32782;
inline constexpr UINT ID_EDIT_SELECT_NONE = 32783;
inline constexpr UINT ID_EDIT_BRING_TO_FRONT = 32771;
inline constexpr UINT ID_EDIT_BRING_ALL_TO_FRONT = 32889;
inline constexpr UINT ID_EDIT_SEND_TO_BACK = 32784;
inline constexpr UINT ID_EDIT_SEND_ALL_TO_BACK = 32890;
// Reads a spooled file saved on this computer; no menu item carries it.
inline constexpr UINT ID_EDIT_OPEN_LOCAL_SPOOLED_FILE = 32785;
inline constexpr UINT ID_EDIT_IMPORT_SPOOLED_FILE = 32786;
inline constexpr UINT ID_EDIT_EXPORT_SPOOLED_FILE = 32776;
inline constexpr UINT ID_EDIT_GOTO_PAGE = 32780;
inline constexpr UINT ID_EDIT_IMPORT_XML = 32777;
inline constexpr UINT ID_EDIT_MOVE_UP = 32779;
inline constexpr UINT ID_EDIT_MOVE_DOWN = 32778;
inline constexpr UINT ID_EDIT_PROPERTIES = 32781;

// ---- View
inline constexpr UINT ID_VIEW_INPUT_PANE = 32862;
inline constexpr UINT ID_VIEW_OUTPUT_PANE = 32861;
inline constexpr UINT ID_VIEW_BOTH_PANES = 32860;
inline constexpr UINT ID_VIEW_FULL_SCREEN = 33323;
inline constexpr UINT ID_VIEW_EXPLORER = 32857;
inline constexpr UINT ID_VIEW_NEXT_PAGE = 32864;
inline constexpr UINT ID_VIEW_PREV_PAGE = 32865;
inline constexpr UINT ID_VIEW_SPOOLED_FILE_INFO = 32863;
inline constexpr UINT ID_VIEW_ZOOM_WIDTH = 32883;
inline constexpr UINT ID_VIEW_ZOOM_HEIGHT = 32879;
inline constexpr UINT ID_VIEW_ZOOM_PAGE = 32882;
// 25, 50, 75, 100, 125, 150, 175, 200, 250, 300 %.
inline constexpr UINT ID_VIEW_ZOOM_FIRST = 32868;
inline constexpr UINT ID_VIEW_ZOOM_LAST = 32877;
inline constexpr UINT ID_VIEW_ZOOM_IN = 32880;
inline constexpr UINT ID_VIEW_ZOOM_OUT = 32881;
inline constexpr UINT ID_VIEW_APPLOOK_WIN_2000 = 33314;
inline constexpr UINT ID_VIEW_APPLOOK_OFF_XP = 33315;
inline constexpr UINT ID_VIEW_APPLOOK_WIN_XP = 33316;
inline constexpr UINT ID_VIEW_APPLOOK_OFF_2003 = 33317;
inline constexpr UINT ID_VIEW_APPLOOK_VS_2005 = 33318;
inline constexpr UINT ID_VIEW_APPLOOK_OFF_2007_BLUE = 33319;
inline constexpr UINT ID_VIEW_APPLOOK_OFF_2007_BLACK = 33320;
inline constexpr UINT ID_VIEW_APPLOOK_OFF_2007_SILVER = 33321;
inline constexpr UINT ID_VIEW_APPLOOK_OFF_2007_AQUA = 33322;
inline constexpr UINT ID_VIEW_CUSTOMIZE = 33312;
inline constexpr UINT ID_VIEW_STATUS_BAR = 59393;
inline constexpr UINT ID_VIEW_LANGUAGE = 32858;
inline constexpr UINT ID_VIEW_OPTIONS = 32859;
// The language items, built at run time.
inline constexpr UINT ID_LANGUAGE_FIRST = 28416;
inline constexpr UINT ID_LANGUAGE_LAST = 28671;

// ---- Insert
inline constexpr UINT ID_INSERT_SPOOLED_FILE = 32810;
inline constexpr UINT ID_INSERT_ERASER = 32802;
inline constexpr UINT ID_INSERT_LOOP = 32806;
inline constexpr UINT ID_INSERT_CONDITIONAL = 32801;
inline constexpr UINT ID_INSERT_IMAGE = 32805;
inline constexpr UINT ID_INSERT_STATIC_TEXT = 32811;
inline constexpr UINT ID_INSERT_OUTPUT_DEVICE = 32807;
inline constexpr UINT ID_INSERT_EXIT_PROGRAM = 32804;
inline constexpr UINT ID_INSERT_EXIT_PARAMETER = 32803;
inline constexpr UINT ID_INSERT_VARIABLE = 32812;
inline constexpr UINT ID_INSERT_ADDRESS = 32799;
inline constexpr UINT ID_INSERT_REMARK = 32808;
inline constexpr UINT ID_INSERT_BARCODE = 32800;
inline constexpr UINT ID_INSERT_RESOURCE = 32809;
inline constexpr UINT ID_INSERT_XML_ELEMENT = 32815;
inline constexpr UINT ID_INSERT_XML_ATTRIBUTE = 32813;
inline constexpr UINT ID_INSERT_XML_INSTRUCTION = 32816;
inline constexpr UINT ID_INSERT_XML_COMMENT = 32814;

// ---- Window
inline constexpr UINT ID_WINDOW_NEW = 57648;
inline constexpr UINT ID_WINDOW_ARRANGE = 57649;
inline constexpr UINT ID_WINDOW_CASCADE = 57650;
inline constexpr UINT ID_WINDOW_TILE_HORZ = 57651;
inline constexpr UINT ID_WINDOW_SPLIT = 57653;

// ---- Help
inline constexpr UINT ID_HELP_FINDER = 57667; // "Help Topics"
inline constexpr UINT ID_HELP_TUTORIAL = 32797;
inline constexpr UINT ID_APP_ABOUT = 57664;
inline constexpr UINT ID_HELP = 57670;         // F1
inline constexpr UINT ID_CONTEXT_HELP = 57669; // Shift+F1
inline constexpr UINT ID_DEFAULT_HELP = 57671;

// ---- Tools ("Tools" toolbar and the digit keys)
inline constexpr UINT ID_TOOL_SELECT = 32847;
inline constexpr UINT ID_TOOL_SPOOLED_FILE = 32848;
inline constexpr UINT ID_TOOL_LOOP = 32846;
inline constexpr UINT ID_TOOL_CONDITIONAL = 32842;
inline constexpr UINT ID_TOOL_IMAGE = 32845;
inline constexpr UINT ID_TOOL_STATIC_TEXT = 32849;
inline constexpr UINT ID_TOOL_EXIT_PARAMETER = 32844;
inline constexpr UINT ID_TOOL_VARIABLE = 32851;
inline constexpr UINT ID_TOOL_ADDRESS = 32840;
inline constexpr UINT ID_TOOL_ERASER = 32843;
inline constexpr UINT ID_TOOL_BARCODE = 32841;
inline constexpr UINT ID_TOOL_XML_ELEMENT = 32854;
inline constexpr UINT ID_TOOL_XML_ATTRIBUTE = 32852;
inline constexpr UINT ID_TOOL_XML_COMMENT = 32853;
inline constexpr UINT ID_TOOL_LOCK = 32850;
inline constexpr UINT ID_TOOL_FIRST = 32840;
inline constexpr UINT ID_TOOL_LAST = 32854;

// ---- Layout slots: Numpad n loads slot n, Ctrl+Numpad n saves it.
inline constexpr UINT ID_LAYOUT_LOAD_FIRST = 32817;
inline constexpr UINT ID_LAYOUT_SAVE_FIRST = 32830;
inline constexpr int LAYOUT_SLOT_COUNT = 10;

// ---- Explorer pane and property sheet
inline constexpr UINT ID_EXPLORER_EXPAND_BRANCH = 32775;
inline constexpr UINT ID_EXPLORER_EXPAND_ALL = 32774;
inline constexpr UINT ID_EXPLORER_COLLAPSE_BRANCH = 32773;
inline constexpr UINT ID_EXPLORER_COLLAPSE_ALL = 32772;
inline constexpr UINT ID_EXPLORER_VIEW_PROPERTIES = 33329;

// ---- Accelerators without a menu item
inline constexpr UINT ID_KEY_CTRL_TAB = 32884;
inline constexpr UINT ID_KEY_CTRL_SHIFT_TAB = 32885;
inline constexpr UINT ID_KEY_CTRL_SHIFT_ALT_S = 1128;

// ---- Status bar
inline constexpr UINT ID_INDICATOR_PAGE = 32798;
inline constexpr UINT ID_INDICATOR_CAPS = 59137;
inline constexpr UINT ID_INDICATOR_NUM = 59138;
inline constexpr UINT ID_INDICATOR_SCRL = 59139;

// ---- Bars and panes
inline constexpr UINT ID_VIEW_MENUBAR = 59398;
inline constexpr UINT ID_VIEW_TOOLBAR = 59392; // "Standard"
inline constexpr UINT ID_TOOLS_TOOLBAR = 32867;
inline constexpr UINT ID_EXPLORER_PANE = 33324;
inline constexpr UINT ID_USER_TOOLBAR_FIRST = 59432;
inline constexpr UINT ID_USER_TOOLBAR_LAST = 59441;
