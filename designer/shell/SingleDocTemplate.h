#pragma once
// The designer's one document template: a single CDesignerDoc shown in the
// one CMainFrame, whose input and output panes the design views provide.
// New and Open reuse the document after it agreed to close.

#include "platform/framework/Types.h"

#include <QString>

#include <functional>
#include <memory>

class CCmdTarget;
class CDesignerDoc;
class CDocumentCommands;
class CMainFrame;
class QWidget;

class CSingleDocTemplate
{
public:
    // The parts of the template's document string (string 128).
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName
    };

    // Makes a pane of a frame for a document, or null for none.
    using InputViewFactory = std::function<QWidget*(CMainFrame* frame, CDesignerDoc* doc)>;
    using OutputViewFactory = InputViewFactory;

    CSingleDocTemplate(UINT resourceId, CCmdTarget* application);
    ~CSingleDocTemplate();

    CSingleDocTemplate(const CSingleDocTemplate&) = delete;
    CSingleDocTemplate& operator=(const CSingleDocTemplate&) = delete;

    QString GetDocString(DocStringIndex index) const;
    // "WVD Files (*.WVD)|*.WVD|" for the file choosers.
    QString GetFilterEntry() const;

    // Set by the design views; without one column 0 keeps the frame's pane.
    static void SetInputViewFactory(InputViewFactory factory);
    // Likewise for column 1, the output pane.
    static void SetOutputViewFactory(OutputViewFactory factory);

    // Makes the frame (and its bars) once; FALSE when it could not be built.
    BOOL CreateFrame();
    CMainFrame* GetFrame() const { return m_frame.get(); }
    CDesignerDoc* GetDocument() const { return m_document.get(); }

    // A new document: the old one is asked to save first; null when that
    // was cancelled or the new document could not be made.
    CDesignerDoc* OpenNewDocument();
    // Opens the file into the document; null when cancelled or it failed
    // (the failure was reported).
    CDesignerDoc* OpenDocumentFile(const QString& path);
    // The template's default title ("WVD").
    void SetDefaultTitle(CDesignerDoc* doc) const;

    // Closes the document (without asking) and the frame.
    void CloseAll();

private:
    CDesignerDoc* EnsureDocument();
    // The document is new or opened: the panes take its zoom.
    void InitialUpdateFrame();

    UINT m_resourceId;
    CCmdTarget* m_application;
    std::unique_ptr<CDesignerDoc> m_document;
    // The document's command target; made with the frame's first document.
    std::unique_ptr<CDocumentCommands> m_documentCommands;
    std::unique_ptr<CMainFrame> m_frame;
    bool m_inputViewMade = false;
    bool m_outputViewMade = false;
};
