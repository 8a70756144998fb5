#include "designer/shell/ShellResources.h"

#include "designer/commands/CommandIds.h"
#include "platform/ui/StringTable.h"

#include <span>

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

// Command strings: the status prompt, then after "\n" the tooltip.
constexpr StringTable::Entry kCommandStrings[] = {
    {ID_TOOL_SELECT, "\nSelect"},
    {ID_TOOL_SPOOLED_FILE, "\nSpooled File"},
    {ID_TOOL_LOOP, "\nLoop"},
    {ID_TOOL_CONDITIONAL, "\nConditional"},
    {ID_TOOL_IMAGE, "\nImage"},
    {ID_TOOL_STATIC_TEXT, "\nStatic Text"},
    {ID_TOOL_EXIT_PARAMETER, "\nExit Program Parameter"},
    {ID_TOOL_VARIABLE, "\nVariable"},
    {ID_TOOL_ADDRESS, "\nAddress"},
    {ID_TOOL_ERASER, "\nEraser"},
    {ID_TOOL_BARCODE, "\nBarcode"},
    {ID_TOOL_XML_ELEMENT, "\nXML Element"},
    {ID_TOOL_XML_ATTRIBUTE, "\nXML Attribute"},
    {ID_TOOL_XML_COMMENT, "\nXML Comment"},
    {ID_TOOL_LOCK, "\nTool Lock"},
    {ID_HELP, "\nHelp"},
    {ID_CONTEXT_HELP, "\nContext Help"},
    {ID_FILE_NEW, "\nNew WVD"},
    {ID_FILE_OPEN, "\nOpen"},
    {ID_FILE_SAVE, "\nSave"},
    {ID_FILE_EXPORT_WVD, "\nExport WVD"},
    {ID_EDIT_CUT, "\nCut"},
    {ID_EDIT_COPY, "\nCopy"},
    {ID_EDIT_PASTE, "\nPaste"},
    {ID_VIEW_PREV_PAGE, "\nPrevious Spooled File Page"},
    {ID_VIEW_NEXT_PAGE, "\nNext Spooled File Page"},
    {ID_FILE_PRINT, "\nPrint"},
    {ID_VIEW_INPUT_PANE, "\nInput Pane"},
    {ID_VIEW_BOTH_PANES, "\nBoth Panes"},
    {ID_VIEW_OUTPUT_PANE, "\nOutput Pane"},
    {ID_VIEW_EXPLORER, "\nExplorer Window"},
};

constexpr StringTable::Entry kShellStrings[] = {
    {IDS_CUSTOMIZE, "Customize..."}, {IDS_TOOLBAR_TOOLS, "Tools"}, {IDS_TOOLBAR_STANDARD, "Standard"},
    {IDS_EXPLORER, "Explorer"},      {IDS_IDLE_MESSAGE, "Ready"},  {IDS_INDICATOR_CAPS, "CAP"},
    {IDS_INDICATOR_NUM, "NUM"},      {IDS_INDICATOR_SCRL, "SCRL"},
};

MenuNode Item(UINT id)
{
    MenuNode node;
    node.id = id;
    node.textId = MenuTextId(id);
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

std::vector<MenuNode> Items(std::initializer_list<UINT> ids)
{
    std::vector<MenuNode> nodes;
    for (UINT id : ids)
        nodes.push_back(id == 0 ? Separator() : Item(id));
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

QKeySequence Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    return QKeySequence(QKeyCombination(modifiers, Qt::Key(key)));
}

} // namespace

void RegisterShellResources()
{
    for (const StringTable::Entry& entry : kMenuTexts)
        StringTable::Add(MenuTextId(entry.id), QString::fromUtf8(entry.text));
    for (const PopupText& popup : kPopups)
        StringTable::Add(PopupTextId(popup.n), QString::fromUtf8(popup.text));
    StringTable::Add(kCommandStrings);
    StringTable::Add(kShellStrings);
    StringTable::Add(IDS_INDICATOR_PAGE_TEMPLATE, QStringLiteral("Page 0000 of 0000"));
}

std::vector<MenuNode> LoadMenuResource(UINT menuId)
{
    if (menuId != IDR_MAINFRAME)
        return {};
    return BuildMainMenu();
}

std::vector<AccelEntry> LoadAcceleratorTable(UINT tableId)
{
    if (tableId != IDR_MAINFRAME)
        return {};
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    std::vector<AccelEntry> table = {
        {Key(Qt::Key_N, ctrlShift), ID_FILE_NEW_WINDOW},
        {Key(Qt::Key_N, ctrl), ID_FILE_NEW},
        {Key(Qt::Key_O, ctrl), ID_FILE_OPEN},
        {Key(Qt::Key_S, ctrl), ID_FILE_SAVE},
        {Key(Qt::Key_E, ctrl), ID_FILE_EXPORT_WVD},
        {Key(Qt::Key_P, ctrl), ID_FILE_PRINT},
        {Key(Qt::Key_R, ctrl), ID_FILE_EXECUTE_WVD},
        {Key(Qt::Key_Z, ctrl), ID_EDIT_UNDO},
        {Key(Qt::Key_Y, ctrl), ID_EDIT_REDO},
        {Key(Qt::Key_X, ctrl), ID_EDIT_CUT},
        {Key(Qt::Key_C, ctrl), ID_EDIT_COPY},
        {Key(Qt::Key_V, ctrl), ID_EDIT_PASTE},
        {Key(Qt::Key_F, ctrl), ID_EDIT_FIND},
        {Key(Qt::Key_A, ctrl), ID_EDIT_SELECT_ALL},
        {Key(Qt::Key_J, ctrl), ID_EDIT_BRING_TO_FRONT},
        {Key(Qt::Key_J, ctrlShift), ID_EDIT_BRING_ALL_TO_FRONT},
        {Key(Qt::Key_K, ctrl), ID_EDIT_SEND_TO_BACK},
        {Key(Qt::Key_K, ctrlShift), ID_EDIT_SEND_ALL_TO_BACK},
        {Key(Qt::Key_G, ctrl), ID_EDIT_GOTO_PAGE},
        {Key(Qt::Key_Up, Qt::ShiftModifier), ID_EDIT_MOVE_UP},
        {Key(Qt::Key_Down, Qt::ShiftModifier), ID_EDIT_MOVE_DOWN},
        {Key(Qt::Key_Up, ctrl), ID_VIEW_BOTH_PANES},
        {Key(Qt::Key_Down, ctrl), ID_VIEW_BOTH_PANES},
        {Key(Qt::Key_Left, ctrl), ID_VIEW_OUTPUT_PANE},
        {Key(Qt::Key_Right, ctrl), ID_VIEW_INPUT_PANE},
        {Key(Qt::Key_F11), ID_VIEW_FULL_SCREEN},
        {Key(Qt::Key_F1), ID_HELP},
        {Key(Qt::Key_F1, Qt::ShiftModifier), ID_CONTEXT_HELP},
        {Key(Qt::Key_Delete), ID_EDIT_CLEAR},
        {Key(Qt::Key_PageUp, ctrl), ID_VIEW_ZOOM_IN},
        {Key(Qt::Key_PageDown, ctrl), ID_VIEW_ZOOM_OUT},
        {Key(Qt::Key_Tab, ctrl), ID_KEY_CTRL_TAB},
        {Key(Qt::Key_Backtab, ctrlShift), ID_KEY_CTRL_SHIFT_TAB},
        {Key(Qt::Key_S, ctrlShift | Qt::AltModifier), ID_KEY_CTRL_SHIFT_ALT_S},
        {Key(Qt::Key_Right, ctrlShift | Qt::AltModifier), ID_EXPLORER_EXPAND_BRANCH},
        // The tools, on the plain keys of the main keyboard.
        {Key(Qt::Key_1), ID_TOOL_SELECT},
        {Key(Qt::Key_2), ID_TOOL_SPOOLED_FILE},
        {Key(Qt::Key_3), ID_TOOL_ERASER},
        {Key(Qt::Key_4), ID_TOOL_LOOP},
        {Key(Qt::Key_5), ID_TOOL_CONDITIONAL},
        {Key(Qt::Key_6), ID_TOOL_IMAGE},
        {Key(Qt::Key_7), ID_TOOL_STATIC_TEXT},
        {Key(Qt::Key_8), ID_TOOL_EXIT_PARAMETER},
        {Key(Qt::Key_9), ID_TOOL_VARIABLE},
        {Key(Qt::Key_0), ID_TOOL_ADDRESS},
        {Key(Qt::Key_Minus), ID_TOOL_BARCODE},
        {Key(Qt::Key_Q), ID_TOOL_XML_ELEMENT},
        {Key(Qt::Key_W), ID_TOOL_XML_ATTRIBUTE},
        {Key(Qt::Key_E), ID_TOOL_XML_COMMENT},
        {Key(Qt::Key_Equal), ID_TOOL_LOCK},
    };
    // The layout slots sit on the keypad, told from the tool digits by the
    // keypad modifier.
    for (int n = 0; n < LAYOUT_SLOT_COUNT; ++n) {
        table.push_back({Key(Qt::Key_0 + n, Qt::KeypadModifier), ID_LAYOUT_LOAD_FIRST + UINT(n)});
        table.push_back({Key(Qt::Key_0 + n, Qt::KeypadModifier | Qt::ControlModifier), ID_LAYOUT_SAVE_FIRST + UINT(n)});
    }
    return table;
}

std::vector<UINT> LoadToolBarResource(UINT resourceId)
{
    switch (resourceId) {
    case IDR_TOOLS:
    case IDR_TOOLS_HC:
        return {ID_TOOL_SELECT,
                ID_TOOL_SPOOLED_FILE,
                ID_TOOL_ERASER,
                ID_TOOL_LOOP,
                ID_TOOL_CONDITIONAL,
                ID_TOOL_IMAGE,
                ID_TOOL_STATIC_TEXT,
                ID_TOOL_EXIT_PARAMETER,
                ID_TOOL_VARIABLE,
                0,
                ID_TOOL_ADDRESS,
                ID_TOOL_BARCODE,
                0,
                ID_TOOL_XML_ELEMENT,
                ID_TOOL_XML_ATTRIBUTE,
                ID_TOOL_XML_COMMENT,
                0,
                ID_TOOL_LOCK};
    case IDR_MAINFRAME:
    case IDR_STANDARD_HC:
        return {ID_FILE_NEW,
                0,
                ID_FILE_OPEN,
                ID_FILE_SAVE,
                ID_FILE_EXPORT_WVD,
                0,
                ID_EDIT_CUT,
                ID_EDIT_COPY,
                ID_EDIT_PASTE,
                0,
                ID_VIEW_PREV_PAGE,
                ID_VIEW_NEXT_PAGE,
                0,
                ID_FILE_PRINT,
                0,
                ID_HELP,
                ID_CONTEXT_HELP,
                0,
                ID_VIEW_INPUT_PANE,
                ID_VIEW_BOTH_PANES,
                ID_VIEW_OUTPUT_PANE,
                0,
                ID_VIEW_EXPLORER};
    default:
        return {};
    }
}

QString MenuItemText(UINT command)
{
    const std::optional<QString> text = StringTable::Find(MenuTextId(command));
    if (!text)
        return {};
    return text->section(u'\t', 0, 0);
}

QString CommandTip(UINT command)
{
    if (const std::optional<QString> text = StringTable::Find(command)) {
        const qsizetype newline = text->indexOf(u'\n');
        if (newline >= 0 && newline + 1 < text->size())
            return text->mid(newline + 1);
    }
    QString tip = MenuItemText(command);
    tip.remove(u'&');
    if (tip.endsWith(QStringLiteral("...")))
        tip.chop(3);
    return tip;
}
