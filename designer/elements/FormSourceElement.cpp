#include "designer/elements/FormSourceElement.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/SpooledFile.h"
#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/TextFit.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/fonts/FontManager.h"
#include "platform/framework/Archive.h"

#include <QPainter>

#include <algorithm>

KWVD_IMPLEMENT_SERIAL(CFormSourceElement, CFormElement, VERSIONABLE_SCHEMA | 20)

namespace {

constexpr UINT kCurrentSchema = 20;

} // namespace

CFormSourceElement::CFormSourceElement() = default;

CFormSourceElement::CFormSourceElement(CDesignerDoc* doc, const kwvd::Rect& rect) : FontUserElement<CFormElement>(doc)
{
    UpdateColour();
    kwvd::Rect r = rect;
    r.Normalize();
    m_sourceRect = r;
    m_destRect = r;
    if (const CPage* page = SourcePage()) {
        page->SnapToGridNearest(m_sourceRect);
        page->ClampToPage(m_sourceRect, TRUE);
    }
    if (const CPage* page = OutputPage()) {
        page->SnapToGridNearest(m_destRect);
        page->ClampToPage(m_destRect, TRUE);
    }
    RefreshText();
    SetDescriptionFromSource(this);
    // The text under the source names it once; after that it is the user's.
    m_autoDescription = 0;
    Select(TRUE);
}

CFormSourceElement::CFormSourceElement(CAPRTPDMRec& record) : FontUserElement<CFormElement>(record)
{
    UpdateColour();
    m_alignToGrid = record.m_flag.IsEqual(QStringLiteral("1")) ? 1 : 0;
    SetFontIndex(RecordFontIndex(record, OutputFontManager()));
    RefreshText();
}

CFormSourceElement::~CFormSourceElement()
{
    LeaveFont();
    Announce(DocumentHint::ElementChanged);
}

int CFormSourceElement::GetType() const
{
    return FormElementType::Source;
}

void CFormSourceElement::Copy(const CFormElement& other)
{
    if (&other == this)
        return;
    CFormElement::Copy(other);
    const auto* source = dynamic_cast<const CFormSourceElement*>(&other);
    if (source == nullptr)
        return;
    SetFontIndex(source->m_fontIndex);
    m_alignToGrid = source->m_alignToGrid;
    m_colour = source->m_colour;
    m_link = source->m_link;
    m_needsFit = 1;
}

BOOL CFormSourceElement::UpdateColour()
{
    const COLORREF colour = Preferences().GetElementColour(GetType() - FormElementType::Address);
    if (colour == m_colour)
        return FALSE;
    m_colour = colour;
    return TRUE;
}

BOOL CFormSourceElement::SetFontIndex(int index)
{
    if (index == m_fontIndex)
        return FALSE;
    MoveToFont(index);
    Announce(DocumentHint::DestRectChanged);
    m_needsFit = 1;
    SetDocumentModified();
    return TRUE;
}

void CFormSourceElement::RefreshText()
{
    m_lines.clear();
    const CPage* page = SourcePage();
    CSpooledFile* spooledFile = m_pDoc != nullptr ? m_pDoc->GetSpooledFile() : nullptr;
    if (page != nullptr && spooledFile != nullptr && !m_sourceRect.IsEmpty()) {
        kwvd::Rect cells = m_sourceRect;
        page->RectToCells(cells);
        m_lines = spooledFile->GetTextInRect(cells);
        const int width = cells.Width();
        if (!m_lines.isEmpty() && m_lines.first().size() < width)
            m_lines.first() = m_lines.first().leftJustified(width, u' ');
    }
    Announce(DocumentHint::ElementChanged);
    m_needsFit = 1;
}

void CFormSourceElement::FitDestToText()
{
    const CPage* output = OutputPage();
    const CPage* source = SourcePage();
    if (output == nullptr || source == nullptr || m_destRect.IsNull()) {
        m_needsFit = 0;
        return;
    }
    kwvd::Rect sourceCells = m_sourceRect;
    source->RectToCells(sourceCells);
    const int columns = sourceCells.Width();
    const int lines = sourceCells.Height();

    QSize extent(columns * output->GetCellWidth(), output->GetCellHeight());
    CFontManager* manager = OutputFontManager();
    for (const QString& line : std::as_const(m_lines)) {
        const QSize measured = MeasureFontText(manager, m_fontIndex, line);
        extent = extent.expandedTo(measured);
    }
    const TextBoxFit fit = FitTextBox(*output, m_destRect, m_heightAdjust, columns, lines, extent);
    m_widthAdjust = fit.widthAdjust;
    m_heightAdjust = fit.heightAdjust;
    if (fit.dest != m_destRect) {
        m_destRect = fit.dest;
        Announce(DocumentHint::DestRectChanged);
    }
    m_needsFit = 0;
}

void CFormSourceElement::FitIfNeeded()
{
    if (m_needsFit != 0)
        FitDestToText();
}

BOOL CFormSourceElement::SetDocument(CDesignerDoc* doc)
{
    if (doc == m_pDoc)
        return FALSE;
    m_pDoc = doc;
    RefreshText();
    return TRUE;
}

void CFormSourceElement::Revalidate(int mode)
{
    CFormElement::Revalidate(mode);
    if (UpdateColour())
        Announce(DocumentHint::ElementChanged);
    m_fontIndex = ReleaseUnusableFont(OutputFontManager(), m_fontIndex, this);
    m_needsFit = 1;
    RefreshText();
}

void CFormSourceElement::DrawSource(QPainter& painter)
{
    if (!IsPrinting(painter))
        DrawElementBox(painter, m_sourceRect, this, m_colour);
}

void CFormSourceElement::DrawDest(QPainter& painter)
{
    FitIfNeeded();
    const kwvd::Rect r = GetDestRect();
    const bool printing = IsPrinting(painter);
    if (!printing)
        DrawElementBox(painter, r, this, m_colour);
    if (!IsVisibleIn(painter, r) || m_lines.isEmpty())
        return;

    CFontManager* manager = OutputFontManager();
    CPage* output = OutputPage();
    const QFont* font = manager != nullptr ? manager->GetWindowsFont(m_fontIndex) : nullptr;
    painter.save();
    painter.setBackgroundMode(Qt::TransparentMode);
    if (!printing)
        painter.setClipRect(r.ToQRect(), Qt::IntersectClip);
    int y = r.bottom;
    for (qsizetype i = m_lines.size() - 1; i >= 0; --i) {
        const QString& line = m_lines.at(i);
        const int count = static_cast<int>(line.size());
        std::span<const int> advances;
        if (m_alignToGrid != 0 && output != nullptr)
            advances = output->GetCharWidths(count);
        else if (manager != nullptr)
            advances = manager->GetCharWidths(m_fontIndex, count);
        DrawTextLine(painter, font, r.left, y, line, advances);
        y -= output != nullptr ? output->GetCellHeight() : 0;
    }
    painter.restore();
}

CSourceLink* CFormSourceElement::DestLink()
{
    return &m_link;
}

void CFormSourceElement::StepSourceRect(const ElementStep& step, const CPage& page, const kwvd::Rect& before)
{
    CFormElement::StepSourceRect(step, page, before);
    if (m_sourceRect != before)
        RefreshText();
}

void CFormSourceElement::MoveDest(int x, int y, int flags, BOOL absolute)
{
    const kwvd::Rect before = GetDestRect();
    CFormElement::MoveDest(x, y, flags, absolute);
    const kwvd::Rect after = GetDestRect();
    if (after != before)
        m_needsFit = 1;
    m_link.DestMoved(before, after);
}

void CFormSourceElement::ResizeDest(int cx, int cy, int flags, BOOL absolute)
{
    const kwvd::Rect before = GetDestRect();
    CFormElement::ResizeDest(cx, cy, flags, absolute);
    const kwvd::Rect after = GetDestRect();
    if (after != before)
        m_needsFit = 1;
    m_link.DestMoved(before, after);
}

BOOL CFormSourceElement::IgnoresOffset() const
{
    return FALSE;
}

// ---------------------------------------------------------------- persistence

void CFormSourceElement::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        // A document nobody drew still writes the box a drawing would give.
        FitIfNeeded();
        CFormElement::Serialize(ar);
        ar << static_cast<WORD>(m_link.IsFollowing() ? 1 : 0);
        ar << static_cast<LONG>(m_fontIndex) << static_cast<LONG>(m_alignToGrid);
        return;
    }

    CFormElement::Serialize(ar);
    UINT schema = ar.GetObjectSchema();
    if (schema == CArchive::kNoObjectSchema)
        schema = kCurrentSchema;
    WORD follows = 1;
    LONG fontIndex = 0;
    LONG align = 0;
    ar >> follows >> fontIndex;
    if (schema > 4)
        ar >> align;
    m_link.SetFollowing(follows != 0 ? TRUE : FALSE);
    m_alignToGrid = align != 0 ? 1 : 0;
    UpdateColour();
    SetFontIndex(fontIndex);
    RefreshText();
}

BOOL CFormSourceElement::ToRecord(CAPRTPDMRec& record)
{
    if (record.GetDocument() != nullptr)
        SetDocument(record.GetDocument());
    FitIfNeeded();
    CFormElement::ToRecord(record);
    record.m_opcode.SetValue(QStringLiteral("COPY"));
    if (m_alignToGrid != 0)
        record.m_flag.SetValue(QStringLiteral("1"));
    WriteRecordFontIndex(record, m_fontIndex);
    record.ClearOptionFields();
    return TRUE;
}

void CFormSourceElement::ExportJVX(CJVXArchive& ar)
{
    ExportRecordJVX(ar);
}

// ---------------------------------------------------------------- property page

QString CFormSourceElement::GetSampleText() const
{
    if (m_lines.isEmpty())
        return {};
    return m_lines.first().trimmed().left(15);
}

void CFormSourceElement::PreparePage(SourcePageData& page) const
{
    page.limits = PageCellLimits::Of(SourcePage());
    page.fontSample = GetSampleText();
    page.fontManager = OutputFontManager();
}

BOOL CFormSourceElement::UpdatePage(SourcePageData& page) const
{
    SourcePageData shown = page;
    if (const CPage* source = SourcePage()) {
        const int cw = source->GetCellWidth();
        const int ch = source->GetCellHeight();
        if (cw > 0 && ch > 0) {
            shown.column = m_sourceRect.left / cw + 1;
            shown.line = m_sourceRect.top / ch + 1;
            shown.width = m_sourceRect.Width() / cw;
            shown.height = m_sourceRect.Height() / ch;
        }
    }
    shown.fontIndex = m_fontIndex;
    shown.alignToGrid = m_alignToGrid != 0 ? TRUE : FALSE;
    shown.forceAbsolute = IsSourceAbsolute();
    shown.inLoop = IsInLoop() ? TRUE : FALSE;

    const BOOL changed = shown.column != page.column || shown.line != page.line || shown.width != page.width
                         || shown.height != page.height || shown.fontIndex != page.fontIndex
                         || shown.alignToGrid != page.alignToGrid || shown.forceAbsolute != page.forceAbsolute
                         || shown.inLoop != page.inLoop;
    page = shown;
    return changed;
}

BOOL CFormSourceElement::ApplyPage(const SourcePageData& page, int what)
{
    BOOL changed = FALSE;
    const CPage* source = SourcePage();
    const int cw = source != nullptr ? source->GetCellWidth() : 0;
    const int ch = source != nullptr ? source->GetCellHeight() : 0;
    if ((what & SourcePageData::Position) && source != nullptr) {
        const int x = (page.column - 1) * cw;
        const int y = (page.line - 1) * ch;
        if (x != m_sourceRect.left || y != m_sourceRect.top) {
            MoveSource(x, y, ElementMoveFlags::Left | ElementMoveFlags::Top, TRUE);
            changed = TRUE;
        }
    }
    if ((what & SourcePageData::Size) && source != nullptr) {
        const int w = page.width * cw;
        const int h = page.height * ch;
        if (w != m_sourceRect.Width()) {
            ResizeSource(w, h, ElementMoveFlags::Right, TRUE);
            changed = TRUE;
        }
        if (h != m_sourceRect.Height()) {
            ResizeSource(w, h, ElementMoveFlags::Bottom, TRUE);
            changed = TRUE;
        }
    }
    if ((what & SourcePageData::Font) && SetFontIndex(page.fontIndex))
        changed = TRUE;
    if (what & SourcePageData::AlignToGrid) {
        const int align = page.alignToGrid ? 1 : 0;
        if (align != m_alignToGrid) {
            m_alignToGrid = align;
            Announce(DocumentHint::DestRectChanged);
            SetDocumentModified();
            changed = TRUE;
        }
    }
    if (what & SourcePageData::ForceAbsolute) {
        if ((page.forceAbsolute ? TRUE : FALSE) != IsSourceAbsolute()) {
            SetSourceAbsolute(page.forceAbsolute);
            SetDocumentModified();
            changed = TRUE;
        }
    }
    return changed;
}
