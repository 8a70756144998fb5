#include "designer/shell/DocumentCommands.h"

CDocumentCommands::CDocumentCommands(CMainFrame* frame, CDesignerDoc* doc) : m_frame(frame), m_doc(doc)
{
    AddFileCommands();
    AddPageCommands();
    AddSpooledFileCommands();
    AddMailCommands();
    AddHostCommands();
}

CDocumentCommands::~CDocumentCommands() = default;
