#pragma once
// Where the frame keeps its workspace state: the section "Workspace" of the
// program's key for start-up and exit, and ten slots the user saves and
// loads with the keypad.

#include "platform/registry/RegistryKey.h"

#include <QString>

#include <optional>

inline constexpr const char* WORKSPACE_SECTION = "Workspace";

// The program's key, "Software\Qorvane\KWVD Designer".
QString DesignerKeyPath();
// "Preferences\AppLayout\Layout-%02d"; slot 0 to 9.
QString LayoutSlotSection(int slot);
// The section's key below the program's key, made when create is set.
std::optional<kwvd::RegistryKey> OpenStateSection(const QString& section, bool create);
