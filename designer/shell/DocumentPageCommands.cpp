// Page Setup and Go to Page.
#include "designer/shell/DocumentCommands.h"

void CDocumentCommands::AddPageCommands() {}
