#include "designer/views/explorer/ExplorerStrings.h"

#include "designer/commands/CommandIds.h"
#include "platform/ui/StringTable.h"

namespace {

constexpr StringTable::Entry kStrings[] = {
    {ID_EXPLORER_EXPAND_BRANCH, "Expand the selected item and every item below it\nExpand Branch"},
    {ID_EXPLORER_EXPAND_ALL, "Expand every item of the tree\nExpand All"},
    {ID_EXPLORER_COLLAPSE_BRANCH, "Collapse the selected item and every item below it\nCollapse Branch"},
    {ID_EXPLORER_COLLAPSE_ALL, "Collapse every item below the document\nCollapse All"},
    {ID_EDIT_MOVE_UP, "Move the selected element before the one above it\nMove Up"},
    {ID_EDIT_MOVE_DOWN, "Move the selected element after the one below it\nMove Down"},
    {ID_EXPLORER_VIEW_PROPERTIES, "Show or hide the properties of the selected element\nView Properties"},
};

} // namespace

void RegisterExplorerStrings()
{
    StringTable::Add(kStrings);
}

QString ExplorerCommandTip(UINT command)
{
    const QString text = StringTable::Find(command).value_or(QString());
    const qsizetype newline = text.indexOf(u'\n');
    return newline >= 0 ? text.mid(newline + 1) : text;
}
