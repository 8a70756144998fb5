// Execute a WVD and the spooled file from and to the host.
#include "designer/commands/CommandIds.h"
#include "designer/document/DesignerDoc.h"
#include "designer/shell/DocumentCommands.h"
#include "designer/shell/WVDDesignerApp.h"

namespace {

BOOL ServerAccessLoaded()
{
    const CWVDDesignerApp* app = CWVDDesignerApp::Instance();
    return app != nullptr && app->GetServerAccess().IsLoaded() ? TRUE : FALSE;
}

} // namespace

void CDocumentCommands::AddHostCommands()
{
    OnCommand(ID_FILE_EXECUTE_WVD, [this] {
        if (CWVDDesignerApp::Instance() == nullptr)
            return;
        m_doc->OnExecuteWvd([](CrtWvdRequest* request) {
            CWVDDesignerApp* app = CWVDDesignerApp::Instance();
            return app != nullptr ? app->ExecuteWvdOnServer(request) : 0;
        });
    });
    OnUpdate(ID_FILE_EXECUTE_WVD, [](CCmdUI& ui) {
        const CWVDDesignerApp* app = CWVDDesignerApp::Instance();
        ui.Enable(app != nullptr ? app->CanExecuteWvd() : FALSE);
    });

    struct SpooledFileCommand
    {
        UINT id;
        bool import;
        int mode;
        bool needsPages;
    };
    static constexpr SpooledFileCommand kCommands[] = {
        {ID_EDIT_IMPORT_SPOOLED_FILE, true, 0, false},
        {ID_FILE_SPOOL_SAVE_TO_FILE, true, 1, false},
        {ID_EDIT_EXPORT_SPOOLED_FILE, false, 0, true},
        {ID_FILE_SPOOL_CREATE_FROM_FILE, false, 1, false},
    };
    for (const SpooledFileCommand& command : kCommands) {
        OnCommand(command.id, [this, command] {
            if (command.import)
                m_doc->ImportSpooledFileFromServer(command.mode);
            else
                m_doc->ExportSpooledFileToServer(command.mode);
        });
        OnUpdate(command.id, [this, command](CCmdUI& ui) {
            ui.Enable(ServerAccessLoaded() && (!command.needsPages || m_doc->HasSpooledPages()) ? TRUE : FALSE);
        });
    }
}
