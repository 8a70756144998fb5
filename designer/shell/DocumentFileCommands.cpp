// Save, Print Setup, import and export of WVD and XML files.
#include "designer/shell/DocumentCommands.h"

void CDocumentCommands::AddFileCommands() {}
