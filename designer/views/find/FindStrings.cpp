#include "designer/views/find/FindStrings.h"

#include "designer/views/find/FindReplaceDlg.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"

namespace {

using Dlg = CFindReplaceDlg;

constexpr StringTable::Entry kStrings[] = {
    {IDS_FIND_REACHED_END,
     "The search has reached the end of the Elements.\nWould you like to start back at the beginning ?"},
    {DialogTextId(Dlg::IDD, 0), "Find/Replace"},
    // The labels stand for the edits beside them.
    {DialogTextId(Dlg::IDD, Dlg::IDC_FIND_TEXT), "Find what:"},
    {DialogTextId(Dlg::IDD, Dlg::IDC_REPLACE_TEXT), "Replace With:"},
    {DialogTextId(Dlg::IDD, Dlg::ID_FIND_NEXT), "&Find Next"},
    {DialogTextId(Dlg::IDD, Dlg::ID_REPLACE), "&Replace"},
    {DialogTextId(Dlg::IDD, Dlg::ID_REPLACE_ALL), "Replace &All"},
    {DialogTextId(Dlg::IDD, Dlg::ID_CANCEL), "Cancel"},
};

} // namespace

void RegisterFindStrings()
{
    StringTable::Add(kStrings);
}
