#include "designer/views/find/FindStrings.h"

#include "platform/ui/StringTable.h"

namespace {

constexpr StringTable::Entry kStrings[] = {
    {IDS_FIND_REACHED_END,
     "The search has reached the end of the Elements.\nWould you like to start back at the beginning ?"},
};

} // namespace

void RegisterFindStrings()
{
    StringTable::Add(kStrings);
}
