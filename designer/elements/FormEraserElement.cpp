#include "designer/elements/FormEraserElement.h"
#include "designer/preferences/ColourRef.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/preferences/Preferences.h"
#include "platform/framework/Archive.h"

#include <QBrush>
#include <QColor>
#include <QPainter>

KWVD_IMPLEMENT_SERIAL(CFormEraserElement, CFormElement, VERSIONABLE_SCHEMA | 20)

namespace {

COLORREF TableColour()
{
    return Preferences().GetElementColour(FormElementType::Eraser - FormElementType::Address);
}

} // namespace

CFormEraserElement::CFormEraserElement() = default;

CFormEraserElement::CFormEraserElement(CDesignerDoc* doc, const kwvd::Rect& rect) : CFormElement(doc)
{
    m_colour = TableColour();
    m_destRect = rect;
    m_destRect.Normalize();
    Normalise();
}

CFormEraserElement::CFormEraserElement(CAPRTPDMRec& record) : CFormElement(record)
{
    m_colour = TableColour();
    Normalise();
}

CFormEraserElement::~CFormEraserElement()
{
    Announce(DocumentHint::ElementChanged);
}

CFormElement* CFormEraserElement::FromRecord(CAPRTPDMRec& record, CJVXArchive&)
{
    return new CFormEraserElement(record);
}

void CFormEraserElement::Normalise()
{
    m_sourceRect = kwvd::Rect();
    const CPage* page = OutputPage();
    if (page == nullptr)
        return;
    kwvd::Rect r = m_destRect;
    r.Normalize();
    page->SnapToGridNearest(r);
    page->ClampToPage(r, TRUE);
    m_destRect = r;
    Announce(DocumentHint::DestRectChanged);
}

BOOL CFormEraserElement::RefreshColour()
{
    const COLORREF colour = TableColour();
    if (colour == m_colour)
        return FALSE;
    m_colour = colour;
    return TRUE;
}

void CFormEraserElement::Copy(const CFormElement& other)
{
    CFormElement::Copy(other);
    if (const auto* eraser = dynamic_cast<const CFormEraserElement*>(&other))
        m_colour = eraser->m_colour;
}

int CFormEraserElement::GetType() const
{
    return FormElementType::Eraser;
}

void CFormEraserElement::Serialize(CArchive& ar)
{
    CFormElement::Serialize(ar);
    if (ar.IsLoading()) {
        RefreshColour();
        Normalise();
    }
}

void CFormEraserElement::ExportJVX(CJVXArchive& ar)
{
    if (!ar.IsStoring())
        return;
    Normalise();
    ExportRecordJVX(ar);
}

BOOL CFormEraserElement::ToRecord(CAPRTPDMRec& record)
{
    CFormElement::ToRecord(record);
    record.m_opcode.SetValue(QStringLiteral("BLNK"));
    return TRUE;
}

void CFormEraserElement::Revalidate(int mode)
{
    CFormElement::Revalidate(mode);
    if (RefreshColour())
        Announce(DocumentHint::ElementChanged);
}

void CFormEraserElement::DrawDest(QPainter& painter)
{
    const kwvd::Rect r = GetDestRect();
    DrawElementBox(painter, r, this, m_colour);
    if (r.IsEmpty())
        return;
    // The hatch is drawn opaque: in the box's own colour over the solid fill
    // it would not be seen at all.
    painter.save();
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(QBrush(Qt::white));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QBrush(kwvd::ToQColor(m_colour), Qt::DiagCrossPattern));
    painter.drawRect(r.ToQRect());
    painter.restore();
}

void CFormEraserElement::MoveDest(int x, int y, int flags, BOOL absolute)
{
    const kwvd::Rect before = GetDestRect();
    CFormElement::MoveDest(x, y, flags, absolute);
    if (GetDestRect() != before)
        Normalise();
}

void CFormEraserElement::ResizeDest(int cx, int cy, int flags, BOOL absolute)
{
    const kwvd::Rect before = GetDestRect();
    CFormElement::ResizeDest(cx, cy, flags, absolute);
    if (GetDestRect() != before)
        Normalise();
}

BOOL CFormEraserElement::Select(BOOL select)
{
    return SelectAnnouncingDest(select);
}
