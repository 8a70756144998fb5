// Page Setup and Go to Page.
#include "designer/shell/DocumentCommands.h"

#include "designer/commands/CommandIds.h"
#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/PageSetup.h"
#include "designer/document/SpooledFile.h"
#include "designer/document/ui/PageSelectDlg.h"
#include "designer/document/ui/PageSetupSheet.h"

void CDocumentCommands::AddPageCommands()
{
    OnCommand(ID_FILE_PAGE_SETUP, [this] {
        CDesignerDoc* doc = GetDocument();
        CFontManager* fonts = doc->GetOutputPage() != nullptr ? doc->GetOutputPage()->GetFontManager() : nullptr;
        doc->OnFilePageSetup([fonts](PageSetupValues& values) { return RunPageSetupSheet(values, fonts); });
    });

    OnCommand(ID_EDIT_GOTO_PAGE, [this] { GetDocument()->OnGotoSpooledPage(&RunPageSelectDialog); });
    OnUpdate(ID_EDIT_GOTO_PAGE, [this](CCmdUI& ui) {
        const CSpooledFile* spooled = GetDocument()->GetSpooledFile();
        ui.Enable(spooled != nullptr && spooled->GetPageCount() > 0);
    });
}
