// The spooled-file tools and the insert commands.
#include "designer/shell/DocumentCommands.h"

void CDocumentCommands::AddSpooledFileCommands() {}
