#pragma once
// The command-link question shown as a task dialog: the settings the
// designer's two-choice questions use (the warning picture 419, one command
// link per choice split at its first line feed, no other button and no way
// to cancel). A program that links the controls installs it behind the Qt
// prompt service's command-link choice.

#include "platform/ui/PromptService.h"

#include <optional>

class QWidget;

// The chosen id; nothing when the dialog could not be shown.
std::optional<int> RunCommandLinkTaskDialog(const CommandLinkRequest& request, QWidget* parent);

// The captions of the common buttons, 421 to 426, into the string table,
// where a language source may replace them.
void RegisterTaskDialogStrings();
