#include "designer/shell/ShellResources.h"

#include "designer/commands/CommandIds.h"
#include "platform/ui/LanguageBundle.h"
#include "platform/ui/StringTable.h"

#include <QSet>

#include <span>

namespace {

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
    {ID_EDIT_OPEN_LOCAL_SPOOLED_FILE, "Select the spooled file from PC\nSelect source file"},
};

constexpr StringTable::Entry kShellStrings[] = {
    {IDS_CUSTOMIZE, "Customize..."}, {IDS_TOOLBAR_TOOLS, "Tools"}, {IDS_TOOLBAR_STANDARD, "Standard"},
    {IDS_EXPLORER, "Explorer"},      {IDS_IDLE_MESSAGE, "Ready"},  {IDS_INDICATOR_CAPS, "CAP"},
    {IDS_INDICATOR_NUM, "NUM"},      {IDS_INDICATOR_SCRL, "SCRL"},
};

QKeySequence Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    return QKeySequence(QKeyCombination(modifiers, Qt::Key(key)));
}

} // namespace

void RegisterShellResources()
{
    RegisterMenuResources();
    StringTable::Add(kCommandStrings);
    StringTable::Add(kShellStrings);
    StringTable::Add(IDS_INDICATOR_PAGE_TEMPLATE, QStringLiteral("Page 0000 of 0000"));
}

namespace {

std::vector<AccelEntry> BuiltInAcceleratorTable();

// A loaded language bundle may move keys: a command it names takes only the
// bundle's keys, and a key it gives away leaves the command that had it.
std::vector<AccelEntry> ApplyBundleAccelerators(std::vector<AccelEntry> table)
{
    const auto bundle = std::dynamic_pointer_cast<LanguageBundle>(StringTable::GetSource());
    if (!bundle || bundle->Accelerators().empty())
        return table;
    std::vector<AccelEntry> moved;
    QSet<UINT> commands;
    QSet<QKeySequence> keys;
    for (const LanguageBundle::Accelerator& accelerator : bundle->Accelerators()) {
        const QKeySequence key = QKeySequence::fromString(accelerator.key, QKeySequence::PortableText);
        moved.push_back({key, accelerator.command});
        commands.insert(accelerator.command);
        keys.insert(key);
    }
    for (const AccelEntry& entry : table)
        if (!commands.contains(entry.id) && !keys.contains(entry.key))
            moved.push_back(entry);
    return moved;
}

} // namespace

std::vector<AccelEntry> LoadAcceleratorTable(UINT tableId)
{
    if (tableId != IDR_MAINFRAME)
        return {};
    return ApplyBundleAccelerators(BuiltInAcceleratorTable());
}

namespace {

std::vector<AccelEntry> BuiltInAcceleratorTable()
{
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

} // namespace

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
