#pragma once
// The captions and labels of the "Font" and "Add Font" dialogs and the texts
// of the add-font dialog's context menu.

#include "platform/framework/Types.h"

// Menu 181, by command id.
inline constexpr UINT IDR_FONT_CONTEXT_MENU = 181;

// Called once at start-up (InstallFontDialogs does it), and by tests.
void RegisterFontDialogTexts();
