#pragma once
// The input pane: the current page of the sample spooled file with every
// element drawn at its source rectangle under the text. Here the user marks
// the parts of the report the definition works on. It is the twin of the
// output pane; what differs is below. It never prints.

#include "designer/document/DesignerDoc.h"
#include "designer/elements/FormElement.h"
#include "designer/views/DesignView.h"

class CDSourceView : public CDesignView
{
    Q_OBJECT

public:
    explicit CDSourceView(QWidget* parent = nullptr);
    ~CDSourceView() override;

    int GetSide() const override { return PaneSide::Input; }
    CPage* GetPanePage() const override;
    kwvd::Rect GetElementRect(const CFormElement* element) const override;
    CFormElement* HitTestElementAt(CFormElement* element, QPoint logical) const override;
    void DrawElement(CFormElement* element, QPainter& painter) override;
    void MoveElementBy(CFormElement* element, int dx, int dy, int flags) override;
    void ResizeElementBy(CFormElement* element, int dw, int dh, int flags) override;
    // Without the keep-size bit: a resized element snaps to the cells again.
    int ResizeFlagsForHandle(int handle) const override;
    int DropMoveFlags() const override { return ElementMoveFlags::Left | ElementMoveFlags::Top; }
    QString GetClipboardFormat() const override;
    void ReadZoomFromDocument(int& zoomX, int& zoomY, int& fit) const override;
    void StoreZoomInDocument(int zoomX, int zoomY, int fit) override;
    QString GetLayoutSubsection() const override;
    ToolAction GetToolAction(int tool) const override;
    int GetToolCursorId(int tool) const override;
    int GetRectChangedHint() const override { return DocumentHint::SourceRectChanged; }
    BOOL RefitsOnHint(int hint) const override;

protected:
    // The spooled-file text goes over the elements, which only mark areas
    // of it, so the report stays readable.
    void DrawOverElements(QPainter& painter, const kwvd::Rect& logicalClip, BOOL printing) override;
    // A copy dropped from elsewhere keeps the current element selected.
    BOOL DeselectCurrentBeforeDrop() const override { return FALSE; }
    // Up and down keys past the end of the page turn the spooled-file page.
    void OnScrollLimit(int key) override;
};
