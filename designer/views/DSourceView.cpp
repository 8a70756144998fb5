#include "designer/views/DSourceView.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/ServerItem.h"
#include "designer/document/SpooledFile.h"
#include "designer/elements/FormElement.h"
#include "designer/views/DesignFrame.h"
#include "designer/views/ToolCursors.h"

#include <QPainter>

#include <algorithm>

CDSourceView::CDSourceView(QWidget* parent) : CDesignView(parent)
{
    setObjectName(QStringLiteral("SourceView"));
}

CDSourceView::~CDSourceView() = default;

CPage* CDSourceView::GetPanePage() const
{
    const CDesignerDoc* doc = GetDesignerDoc();
    return doc ? doc->GetSourcePage() : nullptr;
}

kwvd::Rect CDSourceView::GetElementRect(const CFormElement* element) const
{
    return element ? element->GetSourceRect() : kwvd::Rect();
}

CFormElement* CDSourceView::HitTestElementAt(CFormElement* element, QPoint logical) const
{
    return element ? element->HitTestSource(logical) : nullptr;
}

void CDSourceView::DrawElement(CFormElement* element, QPainter& painter)
{
    if (element)
        element->DrawSource(painter);
}

void CDSourceView::MoveElementBy(CFormElement* element, int dx, int dy, int flags)
{
    if (element)
        element->MoveSource(dx, dy, flags, FALSE);
}

void CDSourceView::ResizeElementBy(CFormElement* element, int dw, int dh, int flags)
{
    if (element)
        element->ResizeSource(dw, dh, flags, FALSE);
}

int CDSourceView::ResizeFlagsForHandle(int handle) const
{
    // The edges each handle drags; the element snaps to the cells again.
    using F = ElementMoveFlags;
    static constexpr int kFlags[8] = {
        F::Left | F::Top, F::Top | F::Right, F::Right | F::Bottom, F::Left | F::Bottom, F::Top, F::Right,
        F::Bottom,        F::Left,
    };
    return handle >= 0 && handle < 8 ? kFlags[handle] : 0;
}

QString CDSourceView::GetClipboardFormat() const
{
    return QString::fromLatin1(kDesignerSrcFormat);
}

void CDSourceView::ReadZoomFromDocument(int& zoomX, int& zoomY, int& fit) const
{
    if (const CDesignerDoc* doc = GetDesignerDoc()) {
        zoomX = doc->m_sourceZoom[0];
        zoomY = doc->m_sourceZoom[1];
        fit = doc->m_sourceFit;
    }
}

void CDSourceView::StoreZoomInDocument(int zoomX, int zoomY, int fit)
{
    if (CDesignerDoc* doc = GetDesignerDoc()) {
        doc->m_sourceZoom[0] = zoomX;
        doc->m_sourceZoom[1] = zoomY;
        doc->m_sourceFit = fit;
    }
}

QString CDSourceView::GetLayoutSubsection() const
{
    return QStringLiteral("SourceView");
}

ToolAction CDSourceView::GetToolAction(int tool) const
{
    const CDesignerDoc* doc = GetDesignerDoc();
    switch (tool) {
    case DrawingTool::SpooledFile:
        return {ToolAction::Band, FormElementType::Source};
    case DrawingTool::Loop:
        return {ToolAction::Band, FormElementType::Loop};
    case DrawingTool::Conditional:
        return {ToolAction::Band, FormElementType::Conditional};
    case DrawingTool::Image:
        return {ToolAction::Band, FormElementType::Image};
    case DrawingTool::ExitParameter:
        return {ToolAction::Band, FormElementType::ExitParam};
    case DrawingTool::Variable:
        return {ToolAction::Band, FormElementType::Variable};
    case DrawingTool::Address:
        // A spooled-file design places addresses on the output page only.
        if (doc && doc->IsXmlDocument())
            return {ToolAction::Band, FormElementType::Address};
        return {};
    case DrawingTool::Barcode:
        return {ToolAction::Band, FormElementType::Barcode};
    case DrawingTool::XmlElement:
        return {ToolAction::Band, FormElementType::XmlElement};
    case DrawingTool::XmlAttribute:
        return {ToolAction::Band, FormElementType::XmlAttribute};
    case DrawingTool::XmlComment:
        return {ToolAction::Band, FormElementType::XmlComment};
    default:
        // Select, Static Text, Eraser and the rest select here.
        return {};
    }
}

int CDSourceView::GetToolCursorId(int tool) const
{
    const CDesignerDoc* doc = GetDesignerDoc();
    switch (tool) {
    case DrawingTool::SpooledFile:
        return ToolCursorId::SpooledFile;
    case DrawingTool::Loop:
        return ToolCursorId::Loop;
    case DrawingTool::Conditional:
        return ToolCursorId::Conditional;
    case DrawingTool::Image:
        return ToolCursorId::Image;
    case DrawingTool::ExitParameter:
        return ToolCursorId::ExitParameter;
    case DrawingTool::Variable:
        return ToolCursorId::Variable;
    case DrawingTool::Address:
        return doc && doc->IsXmlDocument() ? ToolCursorId::Address : 0;
    case DrawingTool::Barcode:
        return ToolCursorId::Barcode;
    case DrawingTool::XmlElement:
        return ToolCursorId::XmlElement;
    case DrawingTool::XmlAttribute:
        return ToolCursorId::XmlAttribute;
    case DrawingTool::XmlComment:
        return ToolCursorId::XmlComment;
    default:
        return 0;
    }
}

BOOL CDSourceView::RefitsOnHint(int hint) const
{
    // A new spooled-file page may have another size; an output page re-fit
    // does not concern this pane.
    return hint == DocumentHint::SpooledPageChanged || hint == DocumentHint::PageSetupChanged;
}

void CDSourceView::DrawOverElements(QPainter& painter, const kwvd::Rect& logicalClip, BOOL printing)
{
    Q_UNUSED(logicalClip);
    Q_UNUSED(printing);
    const CDesignerDoc* doc = GetDesignerDoc();
    if (const CSpooledFile* file = doc ? doc->GetSpooledFile() : nullptr)
        file->DrawPage(painter);
}

void CDSourceView::OnScrollLimit(int key)
{
    CDesignerDoc* doc = GetDesignerDoc();
    const CPage* page = GetPanePage();
    if (!doc || !page)
        return;
    const bool up = key == Qt::Key_Up || key == Qt::Key_PageUp;
    const bool down = key == Qt::Key_Down || key == Qt::Key_PageDown;
    if (!up && !down)
        return;

    // Turning the page is no edit: no Build ID, no undo step.
    if (!(up ? doc->OnPrevSpooledPage() : doc->OnNextSpooledPage()))
        return;

    // The transaction has ended, so the new page's sizes are in place.
    const QPoint position = GetScrollPosition();
    int y = 0;
    if (up) {
        const int visible = ClientToDocSize(viewport()->size()).height();
        y = DocToClientSize(QSize(0, std::max(0, page->GetPixelHeight() - visible))).height();
    }
    ScrollToPosition(QPoint(position.x(), y));
}
