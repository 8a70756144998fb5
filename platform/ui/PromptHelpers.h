#pragma once
// The short forms the system's code prompts with.

#include "platform/framework/Types.h"
#include "platform/ui/PromptService.h"

#include <QString>

class CException;

// A box with the application's name as its caption.
int AfxMessageBox(const QString& text, UINT type = MB_OK);
int AfxMessageBox(UINT stringId, UINT type = MB_OK);

// Shows the exception's own report in a box; type adds buttons and icon.
int ReportError(const CException& error, UINT type = MB_ICONERROR);

// Two command links, ids 541 and 542, the first the default. Returns 2 when
// the second was chosen and 1 otherwise, closing the window included.
int AskCommandLinkChoice(const QString& title, const QString& mainInstruction, const QString& firstText,
                         const QString& secondText);
