// Save, Print Setup, import and export of WVD and XML files.
#include "designer/commands/CommandIds.h"
#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/shell/DocumentCommands.h"
#include "designer/shell/HostExport.h"
#include "designer/shell/WVDDesignerApp.h"

void CDocumentCommands::AddFileCommands()
{
    // Save, Save As and Exit stay the frame's and the application's: they
    // need nothing the document's page or anchor would add.

    OnCommand(ID_FILE_PRINT_SETUP, [this] {
        CWVDDesignerApp* app = CWVDDesignerApp::Instance();
        if (!app)
            return;
        // The printer starts from the output page's orientation, so a
        // landscape design is set up for landscape paper.
        if (const CPage* output = m_doc->GetOutputPage())
            app->SetPrinterOrientation(output->IsLandscape() ? TRUE : FALSE);
        app->OnFilePrintSetup();
    });
    OnUpdate(ID_FILE_PRINT_SETUP, [](CCmdUI& ui) { ui.Enable(TRUE); });

    OnCommand(ID_FILE_IMPORT_WVD, [this] { m_doc->OnImportFromServer(); });
    OnUpdate(ID_FILE_IMPORT_WVD, [](CCmdUI& ui) { ui.Enable(TRUE); });

    OnCommand(ID_FILE_EXPORT_WVD, [this] {
        if (CWVDDesignerApp* app = CWVDDesignerApp::Instance(); app && app->GetPreferences().ExportUsingSockets == 1)
            ExportUsingSockets(m_doc);
        else
            m_doc->OnExportWvd();
    });
    OnUpdate(ID_FILE_EXPORT_WVD, [](CCmdUI& ui) { ui.Enable(TRUE); });

    OnCommand(ID_EDIT_IMPORT_XML, [this] {
        if (m_doc->IsXmlDocument())
            m_doc->OnImportXml();
    });
    OnUpdate(ID_EDIT_IMPORT_XML, [this](CCmdUI& ui) { ui.Enable(m_doc->IsXmlDocument() ? TRUE : FALSE); });
}
