#include "designer/commands/MenuResources.h"

#include "designer/commands/CommandIds.h"
#include "platform/ui/StringTable.h"

#include <QMenu>

#include <mutex>

namespace {

// Popup titles, by PopupTextId(n).
enum Popup : UINT {
    PopupFile = 1,
    PopupSpooledFileTools,
    PopupEdit,
    PopupView,
    PopupZoom,
    PopupToolbars,
    PopupLook,
    PopupOffice2007,
    PopupInsert,
    PopupWindow,
    PopupHelp,
    PopupExplorer,
    PopupPane,
    PopupPaneZoom,
};

struct PopupText
{
    UINT n;
    const char* name;
    const char* text;
};

constexpr PopupText kPopups[] = {
    {PopupFile, "File", "&File"},
    {PopupSpooledFileTools, "SpooledFileTools", "Spooled File Tools"},
    {PopupEdit, "Edit", "&Edit"},
    {PopupView, "View", "&View"},
    {PopupZoom, "Zoom", "&Zoom"},
    {PopupToolbars, "Toolbars", "&Toolbars and Docking Windows"},
    {PopupLook, "ApplicationLook", "&Application Look"},
    {PopupOffice2007, "Office2007", "Office 200&7"},
    {PopupInsert, "Insert", "&Insert"},
    {PopupWindow, "Window", "&Window"},
    {PopupHelp, "Help", "&Help"},
    {PopupExplorer, "ExplorerPopup", "Explorer Popup"},
    {PopupPane, "ViewPopup", "View Popup"},
    {PopupPaneZoom, "Zoom", "Zoom..."},
};

// Menu item texts; the shortcut after the tab is what the accelerator table
// binds, shown for the user.
constexpr StringTable::Entry kMenuTexts[] = {
    {ID_FILE_NEW_WINDOW, "New &Window\tCtrl+Shift+N"},
    {ID_FILE_NEW, "&New WVD\tCtrl+N"},
    {ID_FILE_NEW_XML, "New &XML"},
    {ID_FILE_OPEN, "&Open...\tCtrl+O"},
    {ID_FILE_SAVE, "&Save\tCtrl+S"},
    {ID_FILE_SAVE_AS, "Save &As..."},
    {ID_FILE_IMPORT_WVD, "I&mport WVD..."},
    {ID_FILE_EXPORT_WVD, "&Export WVD...\tCtrl+E"},
    {ID_FILE_SEND_MAIL, "Sen&d..."},
    {ID_FILE_SEND_TO_MAKER, "Send to Qorvane..."},
    {ID_FILE_PAGE_SETUP, "Page Set&up..."},
    {ID_FILE_PRINT, "&Print...\tCtrl+P"},
    {ID_FILE_PRINT_PREVIEW, "Print Pre&view"},
    {ID_FILE_PRINT_SETUP, "P&rint Setup..."},
    {ID_FILE_SPOOL_SAVE_TO_FILE, "Save to File..."},
    {ID_FILE_SPOOL_CREATE_FROM_FILE, "Create From File..."},
    {ID_FILE_SPOOL_COPY_TO_CLIPBOARD, "Copy To Clipboard"},
    {ID_FILE_SPOOL_PASTE_FROM_CLIPBOARD, "Paste From Clipboard"},
    {ID_FILE_SPOOL_DELETE_PAGE, "Delete Current Page"},
    {ID_FILE_EXECUTE_WVD, "Execute a WVD\tCtrl+R"},
    {ID_FILE_MRU_FILE1, "Recent File"},
    {ID_APP_EXIT, "E&xit"},

    {ID_EDIT_UNDO, "&Undo\tCtrl+Z"},
    {ID_EDIT_REDO, "&Redo\tCtrl+Y"},
    {ID_EDIT_CUT, "Cu&t\tCtrl+X"},
    {ID_EDIT_COPY, "&Copy\tCtrl+C"},
    {ID_EDIT_PASTE, "&Paste\tCtrl+V"},
    {ID_EDIT_CLEAR, "&Delete\tDel"},
    {ID_EDIT_FIND, "&Find/Replace\tCtrl+F"},
    {ID_EDIT_SELECT_ALL, "Select &All\tCtrl+A"},
    {ID_EDIT_SELECT_NONE, "Select &None"},
    {ID_EDIT_BRING_TO_FRONT, "Bring to &Front\tCtrl+J"},
    {ID_EDIT_BRING_ALL_TO_FRONT, "Bring All to Front\tCtrl+Shift+J"},
    {ID_EDIT_SEND_TO_BACK, "&Send to Back\tCtrl+K"},
    {ID_EDIT_SEND_ALL_TO_BACK, "Send All to Back\tCtrl+Shift+K"},
    {ID_EDIT_IMPORT_SPOOLED_FILE, "&Import Spooled File..."},
    {ID_EDIT_EXPORT_SPOOLED_FILE, "&Export Spooled File..."},
    {ID_EDIT_GOTO_PAGE, "Go to Page...\tCtrl+G"},
    {ID_EDIT_IMPORT_XML, "Import an XML File..."},
    {ID_EDIT_MOVE_UP, "Move &Up\tShift+Up"},
    {ID_EDIT_MOVE_DOWN, "Move &Down\tShift+Down"},
    {ID_EDIT_PROPERTIES, "Properties..."},

    {ID_VIEW_INPUT_PANE, "&Input Pane\tCtrl+Right"},
    {ID_VIEW_OUTPUT_PANE, "&Output Pane\tCtrl+Left"},
    {ID_VIEW_BOTH_PANES, "&Both Panes\tCtrl+Up"},
    {ID_VIEW_FULL_SCREEN, "F&ull Screen\tF11"},
    {ID_VIEW_EXPLORER, "&Explorer Window"},
    {ID_VIEW_NEXT_PAGE, "&Next Spooled File Page"},
    {ID_VIEW_PREV_PAGE, "&Previous Spooled File Page"},
    {ID_VIEW_SPOOLED_FILE_INFO, "&Spooled File Info..."},
    {ID_VIEW_ZOOM_WIDTH, "Width"},
    {ID_VIEW_ZOOM_HEIGHT, "Height"},
    {ID_VIEW_ZOOM_PAGE, "Page"},
    {ID_VIEW_ZOOM_FIRST + 0, "25 %"},
    {ID_VIEW_ZOOM_FIRST + 1, "50 %"},
    {ID_VIEW_ZOOM_FIRST + 2, "75 %"},
    {ID_VIEW_ZOOM_FIRST + 3, "100 %"},
    {ID_VIEW_ZOOM_FIRST + 4, "125 %"},
    {ID_VIEW_ZOOM_FIRST + 5, "150 %"},
    {ID_VIEW_ZOOM_FIRST + 6, "175 %"},
    {ID_VIEW_ZOOM_FIRST + 7, "200 %"},
    {ID_VIEW_ZOOM_FIRST + 8, "250 %"},
    {ID_VIEW_ZOOM_FIRST + 9, "300 %"},
    {ID_VIEW_APPLOOK_WIN_2000, "Windows &2000"},
    {ID_VIEW_APPLOOK_OFF_XP, "Office &XP"},
    {ID_VIEW_APPLOOK_WIN_XP, "&Windows XP"},
    {ID_VIEW_APPLOOK_OFF_2003, "Office 200&3"},
    {ID_VIEW_APPLOOK_VS_2005, "Visual Studio.NET 200&5"},
    {ID_VIEW_APPLOOK_OFF_2007_BLUE, "&Blue Style"},
    {ID_VIEW_APPLOOK_OFF_2007_BLACK, "B&lack Style"},
    {ID_VIEW_APPLOOK_OFF_2007_SILVER, "&Silver Style"},
    {ID_VIEW_APPLOOK_OFF_2007_AQUA, "&Aqua Style"},
    {ID_VIEW_CUSTOMIZE, "Customize..."},
    {ID_VIEW_STATUS_BAR, "&Status Bar"},
    {ID_VIEW_LANGUAGE, "&Language"},
    {ID_VIEW_OPTIONS, "Op&tions..."},

    {ID_INSERT_SPOOLED_FILE, "&Spooled File Element"},
    {ID_INSERT_ERASER, "&Eraser Element"},
    {ID_INSERT_LOOP, "&Loop Element"},
    {ID_INSERT_CONDITIONAL, "&Conditional Element"},
    {ID_INSERT_IMAGE, "&Image Element"},
    {ID_INSERT_STATIC_TEXT, "S&tatic Text Element"},
    {ID_INSERT_OUTPUT_DEVICE, "&Output Device Element"},
    {ID_INSERT_EXIT_PROGRAM, "&Exit Program Element"},
    {ID_INSERT_EXIT_PARAMETER, "E&xit Parameter Element"},
    {ID_INSERT_VARIABLE, "&Variable Element"},
    {ID_INSERT_ADDRESS, "&Address Element"},
    {ID_INSERT_REMARK, "Remark Element"},
    {ID_INSERT_BARCODE, "&Barcode Element"},
    {ID_INSERT_RESOURCE, "Resource Element"},
    {ID_INSERT_XML_ELEMENT, "XML Element"},
    {ID_INSERT_XML_ATTRIBUTE, "XML Attribute"},
    {ID_INSERT_XML_INSTRUCTION, "XML Instruction"},
    {ID_INSERT_XML_COMMENT, "XML Comment"},

    {ID_WINDOW_NEW, "&New Window"},
    {ID_WINDOW_ARRANGE, "&Arrange Icons"},
    {ID_WINDOW_CASCADE, "&Cascade"},
    {ID_WINDOW_TILE_HORZ, "&Tile"},
    {ID_WINDOW_SPLIT, "S&plit"},

    {ID_HELP_FINDER, "&Help Topics"},
    {ID_HELP_TUTORIAL, "&Tutorial"},
    {ID_APP_ABOUT, "&About KWVD Designer..."},
};

// The explorer's menu shows no shortcuts.
constexpr StringTable::Entry kExplorerMenuTexts[] = {
    {ID_EDIT_CUT, "Cu&t"},
    {ID_EDIT_COPY, "&Copy"},
    {ID_EDIT_PASTE, "&Paste"},
    {ID_EDIT_CLEAR, "&Delete"},
    {ID_EDIT_BRING_TO_FRONT, "Bring to &Front"},
    {ID_EDIT_BRING_ALL_TO_FRONT, "Bring All to Front"},
    {ID_EDIT_SEND_TO_BACK, "&Send to Back"},
    {ID_EDIT_SEND_ALL_TO_BACK, "Send All to Back"},
    {ID_EDIT_MOVE_UP, "Move Up"},
    {ID_EDIT_MOVE_DOWN, "Move Down"},
    {ID_EXPLORER_EXPAND_BRANCH, "Expand Branch"},
    {ID_EXPLORER_EXPAND_ALL, "Expand All"},
    {ID_EXPLORER_COLLAPSE_BRANCH, "Collapse Branch"},
    {ID_EXPLORER_COLLAPSE_ALL, "Collapse All"},
    {ID_EDIT_PROPERTIES, "Properties..."},
};

MenuNode Item(UINT id, UINT (*textId)(UINT) = MenuTextId)
{
    MenuNode node;
    node.id = id;
    node.textId = textId(id);
    return node;
}

MenuNode Separator()
{
    MenuNode node;
    node.kind = MenuNode::Kind::Separator;
    return node;
}

MenuNode PopupNode(Popup popup, std::vector<MenuNode> children)
{
    MenuNode node;
    node.kind = MenuNode::Kind::Popup;
    node.textId = PopupTextId(popup);
    for (const PopupText& text : kPopups)
        if (text.n == popup)
            node.name = QString::fromLatin1(text.name);
    node.children = std::move(children);
    return node;
}

std::vector<MenuNode> Items(std::initializer_list<UINT> ids, UINT (*textId)(UINT) = MenuTextId)
{
    std::vector<MenuNode> nodes;
    for (UINT id : ids)
        nodes.push_back(id == 0 ? Separator() : Item(id, textId));
    return nodes;
}

std::vector<MenuNode> BuildMainMenu()
{
    std::vector<MenuNode> file =
        Items({ID_FILE_NEW_WINDOW, ID_FILE_NEW, ID_FILE_NEW_XML, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, 0,
               ID_FILE_IMPORT_WVD, ID_FILE_EXPORT_WVD, 0, ID_FILE_SEND_MAIL, ID_FILE_SEND_TO_MAKER, 0,
               ID_FILE_PAGE_SETUP, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP, 0});
    file.push_back(
        PopupNode(PopupSpooledFileTools,
                  Items({ID_FILE_SPOOL_SAVE_TO_FILE, ID_FILE_SPOOL_CREATE_FROM_FILE, 0, ID_FILE_SPOOL_COPY_TO_CLIPBOARD,
                         ID_FILE_SPOOL_PASTE_FROM_CLIPBOARD, 0, ID_FILE_SPOOL_DELETE_PAGE})));
    file.push_back(Item(ID_FILE_EXECUTE_WVD));
    file.push_back(Separator());
    // The whole recent-file list; the application's update handler names or
    // hides each entry.
    for (int i = 0; i < MRU_FILE_COUNT; ++i)
        file.push_back(Item(ID_FILE_MRU_FILE1 + UINT(i)));
    file.push_back(Separator());
    file.push_back(Item(ID_APP_EXIT));

    std::vector<MenuNode> edit = Items({ID_EDIT_UNDO,
                                        ID_EDIT_REDO,
                                        0,
                                        ID_EDIT_CUT,
                                        ID_EDIT_COPY,
                                        ID_EDIT_PASTE,
                                        0,
                                        ID_EDIT_FIND,
                                        0,
                                        ID_EDIT_SELECT_ALL,
                                        ID_EDIT_SELECT_NONE,
                                        0,
                                        ID_EDIT_BRING_TO_FRONT,
                                        ID_EDIT_BRING_ALL_TO_FRONT,
                                        ID_EDIT_SEND_TO_BACK,
                                        ID_EDIT_SEND_ALL_TO_BACK,
                                        0,
                                        ID_EDIT_IMPORT_SPOOLED_FILE,
                                        ID_EDIT_EXPORT_SPOOLED_FILE,
                                        ID_EDIT_GOTO_PAGE,
                                        0,
                                        ID_EDIT_IMPORT_XML,
                                        0,
                                        ID_EDIT_MOVE_UP,
                                        ID_EDIT_MOVE_DOWN,
                                        0,
                                        ID_EDIT_PROPERTIES});

    std::vector<MenuNode> zoom = Items({ID_VIEW_ZOOM_WIDTH, ID_VIEW_ZOOM_HEIGHT, ID_VIEW_ZOOM_PAGE, 0});
    for (UINT id = ID_VIEW_ZOOM_FIRST; id <= ID_VIEW_ZOOM_LAST; ++id)
        zoom.push_back(Item(id));
    std::vector<MenuNode> look = Items({ID_VIEW_APPLOOK_WIN_2000, ID_VIEW_APPLOOK_OFF_XP, ID_VIEW_APPLOOK_WIN_XP,
                                        ID_VIEW_APPLOOK_OFF_2003, ID_VIEW_APPLOOK_VS_2005});
    look.push_back(PopupNode(PopupOffice2007, Items({ID_VIEW_APPLOOK_OFF_2007_BLUE, ID_VIEW_APPLOOK_OFF_2007_BLACK,
                                                     ID_VIEW_APPLOOK_OFF_2007_SILVER, ID_VIEW_APPLOOK_OFF_2007_AQUA})));

    std::vector<MenuNode> view =
        Items({ID_VIEW_INPUT_PANE, ID_VIEW_OUTPUT_PANE, ID_VIEW_BOTH_PANES, 0, ID_VIEW_FULL_SCREEN, ID_VIEW_EXPLORER, 0,
               ID_VIEW_NEXT_PAGE, ID_VIEW_PREV_PAGE, ID_VIEW_SPOOLED_FILE_INFO, 0});
    view.push_back(PopupNode(PopupZoom, std::move(zoom)));
    // The frame fills this one with its bars and panes when it opens.
    view.push_back(PopupNode(PopupToolbars, {}));
    view.push_back(PopupNode(PopupLook, std::move(look)));
    view.push_back(Item(ID_VIEW_STATUS_BAR));
    view.push_back(Separator());
    view.push_back(Item(ID_VIEW_LANGUAGE));
    view.push_back(Item(ID_VIEW_OPTIONS));

    std::vector<MenuNode> insert =
        Items({ID_INSERT_SPOOLED_FILE, ID_INSERT_ERASER, ID_INSERT_LOOP, ID_INSERT_CONDITIONAL, ID_INSERT_IMAGE,
               ID_INSERT_STATIC_TEXT, ID_INSERT_OUTPUT_DEVICE, ID_INSERT_EXIT_PROGRAM, ID_INSERT_EXIT_PARAMETER,
               ID_INSERT_VARIABLE, ID_INSERT_ADDRESS, ID_INSERT_REMARK, ID_INSERT_BARCODE, ID_INSERT_RESOURCE,
               ID_INSERT_XML_ELEMENT, ID_INSERT_XML_ATTRIBUTE, ID_INSERT_XML_INSTRUCTION, ID_INSERT_XML_COMMENT});
    std::vector<MenuNode> window =
        Items({ID_WINDOW_NEW, ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_ARRANGE, ID_WINDOW_SPLIT});
    std::vector<MenuNode> help = Items({ID_HELP_FINDER, ID_HELP_TUTORIAL, 0, ID_APP_ABOUT});

    return {PopupNode(PopupFile, std::move(file)),     PopupNode(PopupEdit, std::move(edit)),
            PopupNode(PopupView, std::move(view)),     PopupNode(PopupInsert, std::move(insert)),
            PopupNode(PopupWindow, std::move(window)), PopupNode(PopupHelp, std::move(help))};
}

std::vector<MenuNode> BuildExplorerPopup()
{
    return {PopupNode(PopupExplorer,
                      Items({ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_CLEAR, 0, ID_EDIT_BRING_TO_FRONT,
                             ID_EDIT_BRING_ALL_TO_FRONT, ID_EDIT_SEND_TO_BACK, ID_EDIT_SEND_ALL_TO_BACK, 0,
                             ID_EDIT_MOVE_UP, ID_EDIT_MOVE_DOWN, 0, ID_EXPLORER_EXPAND_BRANCH, ID_EXPLORER_EXPAND_ALL,
                             ID_EXPLORER_COLLAPSE_BRANCH, ID_EXPLORER_COLLAPSE_ALL, 0, ID_EDIT_PROPERTIES},
                            ExplorerMenuTextId))};
}

std::vector<MenuNode> BuildPanePopup()
{
    std::vector<MenuNode> zoom = Items({ID_VIEW_ZOOM_WIDTH, ID_VIEW_ZOOM_HEIGHT, ID_VIEW_ZOOM_PAGE, 0});
    for (UINT id = ID_VIEW_ZOOM_FIRST; id <= ID_VIEW_ZOOM_LAST; ++id)
        zoom.push_back(Item(id));
    std::vector<MenuNode> items =
        Items({ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_CLEAR, 0, ID_EDIT_BRING_TO_FRONT,
               ID_EDIT_BRING_ALL_TO_FRONT, ID_EDIT_SEND_TO_BACK, ID_EDIT_SEND_ALL_TO_BACK, 0});
    items.push_back(PopupNode(PopupPaneZoom, std::move(zoom)));
    items.push_back(Separator());
    items.push_back(Item(ID_EDIT_PROPERTIES));
    return {PopupNode(PopupPane, std::move(items))};
}

} // namespace

void RegisterMenuResources()
{
    for (const StringTable::Entry& entry : kMenuTexts)
        StringTable::Add(MenuTextId(entry.id), QString::fromUtf8(entry.text));
    for (const StringTable::Entry& entry : kExplorerMenuTexts)
        StringTable::Add(ExplorerMenuTextId(entry.id), QString::fromUtf8(entry.text));
    for (const PopupText& popup : kPopups)
        StringTable::Add(PopupTextId(popup.n), QString::fromUtf8(popup.text));
}

std::vector<MenuNode> LoadMenuResource(UINT menuId)
{
    static std::once_flag registered;
    std::call_once(registered, RegisterMenuResources);
    switch (menuId) {
    case IDR_MAINFRAME:
        return BuildMainMenu();
    case IDR_EXPLORER_POPUP:
        return BuildExplorerPopup();
    case IDR_VIEW_POPUP:
        return BuildPanePopup();
    default:
        return {};
    }
}

void FillMenu(QMenu* menu, const std::vector<MenuNode>& nodes,
              const std::function<void(QMenu*, const MenuNode&)>& addItem)
{
    for (const MenuNode& node : nodes) {
        switch (node.kind) {
        case MenuNode::Kind::Separator:
            menu->addSeparator();
            break;
        case MenuNode::Kind::Popup: {
            QMenu* sub = menu->addMenu(LoadResString(node.textId));
            sub->setObjectName(node.name);
            FillMenu(sub, node.children, addItem);
            break;
        }
        case MenuNode::Kind::Item:
            addItem(menu, node);
            break;
        }
    }
}
