#include "designer/shell/SingleDocTemplate.h"

#include "designer/document/DesignerDoc.h"
#include "designer/shell/DocumentCommands.h"
#include "designer/shell/MainFrame.h"
#include "platform/ui/StringTable.h"

#include <QStringList>

namespace {

CSingleDocTemplate::InputViewFactory& InputFactory()
{
    static CSingleDocTemplate::InputViewFactory factory;
    return factory;
}

CSingleDocTemplate::OutputViewFactory& OutputFactory()
{
    static CSingleDocTemplate::OutputViewFactory factory;
    return factory;
}

} // namespace

CSingleDocTemplate::CSingleDocTemplate(UINT resourceId, CCmdTarget* application)
    : m_resourceId(resourceId), m_application(application)
{}

CSingleDocTemplate::~CSingleDocTemplate()
{
    CloseAll();
}

void CSingleDocTemplate::SetInputViewFactory(InputViewFactory factory)
{
    InputFactory() = std::move(factory);
}

void CSingleDocTemplate::SetOutputViewFactory(OutputViewFactory factory)
{
    OutputFactory() = std::move(factory);
}

QString CSingleDocTemplate::GetDocString(DocStringIndex index) const
{
    const QStringList parts = LoadResString(m_resourceId).split(u'\n');
    return index < parts.size() ? parts[index] : QString();
}

QString CSingleDocTemplate::GetFilterEntry() const
{
    const QString name = GetDocString(filterName);
    const QString ext = GetDocString(filterExt);
    if (name.isEmpty() || ext.isEmpty())
        return {};
    return name + u'|' + u'*' + ext + u'|';
}

BOOL CSingleDocTemplate::CreateFrame()
{
    if (m_frame)
        return TRUE;
    auto frame = std::make_unique<CMainFrame>(m_application);
    if (!frame->LoadFrame())
        return FALSE;
    m_frame = std::move(frame);
    return TRUE;
}

CDesignerDoc* CSingleDocTemplate::EnsureDocument()
{
    if (!m_document) {
        m_document = std::make_unique<CDesignerDoc>();
        const QString ext = GetDocString(filterExt);
        m_document->SetFileType(GetFilterEntry() + u'|', ext.startsWith(u'.') ? ext.mid(1) : ext);
    }
    if (m_frame && m_frame->GetDocument() != m_document.get()) {
        m_frame->SetDocument(m_document.get());
        if (!m_documentCommands)
            m_documentCommands = std::make_unique<CDocumentCommands>(m_frame.get(), m_document.get());
        m_frame->SetDocumentCmdTarget(m_documentCommands.get());
        if (!m_inputViewMade && InputFactory()) {
            m_inputViewMade = true;
            if (QWidget* view = InputFactory()(m_frame.get(), m_document.get()))
                m_frame->SetPaneView(0, view, dynamic_cast<CCmdTarget*>(view));
        }
        if (!m_outputViewMade && OutputFactory()) {
            m_outputViewMade = true;
            if (QWidget* view = OutputFactory()(m_frame.get(), m_document.get()))
                m_frame->SetPaneView(1, view, dynamic_cast<CCmdTarget*>(view));
        }
    }
    return m_document.get();
}

void CSingleDocTemplate::SetDefaultTitle(CDesignerDoc* doc) const
{
    QString title = GetDocString(docName);
    if (title.isEmpty())
        title = QStringLiteral("Untitled");
    doc->SetTitle(title);
}

CDesignerDoc* CSingleDocTemplate::OpenNewDocument()
{
    if (m_document && !m_document->SaveModified())
        return nullptr;
    CDesignerDoc* doc = EnsureDocument();
    if (!doc->OnNewDocument())
        return nullptr;
    SetDefaultTitle(doc);
    InitialUpdateFrame();
    return doc;
}

CDesignerDoc* CSingleDocTemplate::OpenDocumentFile(const QString& path)
{
    if (path.isEmpty())
        return OpenNewDocument();
    if (m_document && !m_document->SaveModified())
        return nullptr;
    CDesignerDoc* doc = EnsureDocument();
    if (!doc->OnOpenDocument(path)) {
        // The document is a fresh one now; it takes the default title.
        SetDefaultTitle(doc);
        InitialUpdateFrame();
        return nullptr;
    }
    doc->SetPathName(path);
    InitialUpdateFrame();
    return doc;
}

void CSingleDocTemplate::InitialUpdateFrame()
{
    if (m_frame)
        m_frame->InitialUpdatePanes();
}

void CSingleDocTemplate::CloseAll()
{
    if (m_frame) {
        m_frame->SetDocumentCmdTarget(nullptr);
        m_frame->SetDocument(nullptr);
    }
    m_documentCommands.reset();
    if (m_document) {
        m_document->OnCloseDocument();
        m_document.reset();
    }
    m_frame.reset();
}
