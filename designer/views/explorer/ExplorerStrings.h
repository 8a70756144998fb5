#pragma once
// The texts of the explorer pane's toolbar: each command's status prompt
// and tooltip ("prompt\ntip") under the command's own id. Harmless to call
// again.

#include "platform/framework/Types.h"

#include <QString>

void RegisterExplorerStrings();

// The tooltip of a toolbar command: the part after the line break.
QString ExplorerCommandTip(UINT command);
