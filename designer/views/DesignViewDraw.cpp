#include "designer/views/DesignView.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/elements/FormElement.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

#include <algorithm>

// Drawing the page, the elements and what lies over them.

using kwvd::Rect;

namespace {

// The system colours the panes paint with.
const QColor kWorkspaceColour(171, 171, 171);
const QColor kWindowColour(255, 255, 255);

} // namespace

// ---------------------------------------------------------------- drawing

void CDesignView::DrawOverElements(QPainter& /*painter*/, const Rect& /*logicalClip*/, BOOL /*printing*/) {}

void CDesignView::DrawContents(QPainter& painter, const QRect& deviceClip, BOOL printing)
{
    if (deviceClip.isEmpty())
        return;
    const QTransform world = painter.worldTransform();
    CDesignerDoc* doc = GetDesignerDoc();
    const CPage* page = GetPanePage();
    painter.save();
    painter.resetTransform();
    painter.setClipRect(deviceClip);
    painter.fillRect(deviceClip, kWorkspaceColour);
    if (doc == nullptr || !doc->IsReady() || page == nullptr) {
        painter.restore();
        return;
    }
    if (m_pCurrent != nullptr && !doc->ContainsElement(m_pCurrent)) {
        m_pCurrent = nullptr;
        DeleteTracker();
    }

    const QRect pageLogical(0, 0, page->GetPixelWidth(), page->GetPixelHeight());
    const QRect pageDevice = world.mapRect(pageLogical);
    painter.fillRect(pageDevice.intersected(deviceClip), kWindowColour);
    // Nothing is painted over the workspace beside the page.
    QRegion paintable = QRegion(deviceClip).intersected(pageDevice);

    const QRectF logicalClipF = world.inverted().mapRect(QRectF(deviceClip));
    Rect logicalClip = Rect::FromQRect(logicalClipF.toAlignedRect());
    logicalClip.Inflate(1, 1);

    for (CObject* object : doc->GetZOrderList()) {
        CFormElement* e = AsElement(object);
        if (e == nullptr)
            continue;
        if (paintable.isEmpty())
            break;
        painter.setClipRegion(paintable);
        painter.setWorldTransform(world);
        painter.setBackground(kWindowColour);
        DrawElement(e, painter);
        painter.resetTransform();

        Rect logicalRect = GetElementRect(e);
        logicalRect.Normalize();
        QRect area = world.mapRect(logicalRect.ToQRect());
        if (!printing && e == m_pCurrent) {
            if (m_tracker == nullptr)
                m_tracker = std::make_unique<CElementTracker>();
            SetupTracker(*m_tracker, e);
            painter.setClipRegion(paintable);
            m_tracker->Draw(painter);
            area = area.united(m_tracker->GetTrueRect().ToQRect());
        }
        // Selected frames sit one pixel outside the box.
        if (e->IsSelected())
            area.adjust(-1, -1, 1, 1);
        paintable -= QRegion(area);
    }

    painter.setClipRect(deviceClip);
    painter.setWorldTransform(world);
    DrawOverElements(painter, logicalClip, printing);
    painter.resetTransform();

    if (!printing && m_dropEffect != 0)
        DrawFeedbackFrame(painter, DropFeedbackRect());
    if (!printing && m_gesture != nullptr)
        m_gesture->Draw(painter);
    painter.restore();
}

void CDesignView::paintEvent(QPaintEvent* e)
{
    // One off-screen image per paint, copied once: no flicker, and the
    // elements' clip exclusions never show half-done.
    QImage buffer(viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    {
        QPainter p(&buffer);
        p.setWorldTransform(ViewTransform());
        DrawContents(p, e->rect(), FALSE);
    }
    QPainter out(viewport());
    out.drawImage(e->rect(), buffer, e->rect());
}
