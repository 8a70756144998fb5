#pragma once
// The document's commands in the command route: the handlers that need the
// document together with the frame (the anchor element for inserts, the
// element property sheet, the panes). One target lives as long as the
// template's document; the frame offers it every command after the active
// pane. Each group of commands fills the tables from its own source file.

#include "designer/commands/CmdTarget.h"

class CDesignerDoc;
class CMainFrame;

class CDocumentCommands : public CCmdTarget
{
public:
    CDocumentCommands(CMainFrame* frame, CDesignerDoc* doc);
    ~CDocumentCommands() override;

    CDocumentCommands(const CDocumentCommands&) = delete;
    CDocumentCommands& operator=(const CDocumentCommands&) = delete;

    CMainFrame* GetFrame() const { return m_frame; }
    CDesignerDoc* GetDocument() const { return m_doc; }

    // Send: the document and its files, attached to a mail the user
    // addresses. Send to the maker: the same in one zip archive, addressed
    // to support (DocumentMailCommands.cpp).
    void OnFileSendMail();
    void OnSendToMaker();

private:
    // Save, Print Setup, import and export of WVD and XML files
    // (DocumentFileCommands.cpp).
    void AddFileCommands();
    // Page Setup and Go to Page (DocumentPageCommands.cpp).
    void AddPageCommands();
    // The spooled-file tools and the insert commands
    // (DocumentSpooledFileCommands.cpp).
    void AddSpooledFileCommands();
    // Send and Send to the maker, with their enabler
    // (DocumentMailCommands.cpp).
    void AddMailCommands();
    // Execute a WVD and the spooled file from and to the host
    // (DocumentHostCommands.cpp).
    void AddHostCommands();

    CMainFrame* m_frame;
    CDesignerDoc* m_doc;
};
