#include "designer/elements/FormLoopElement.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/LoopStrings.h"
#include "designer/elements/TextFit.h"
#include "designer/preferences/Preferences.h"
#include "platform/framework/Archive.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptService.h"

#include <algorithm>

KWVD_IMPLEMENT_SERIAL(CFormLoopElement, CFormElement, VERSIONABLE_SCHEMA | 20)

namespace {

constexpr int kDescriptionLength = 50;
// Schemas up to this one stored only whether the Loop ran to the page end.
constexpr UINT kLastWordModeSchema = 12;

COLORREF TableColour()
{
    return Preferences().GetElementColour(FormElementType::Loop - FormElementType::Address);
}

int FloorDiv(int value, int divisor)
{
    int q = value / divisor;
    if ((value % divisor != 0) && ((value < 0) != (divisor < 0)))
        --q;
    return q;
}

int CeilDiv(int value, int divisor)
{
    return -FloorDiv(-value, divisor);
}

// The 1-based line of a pixel position on the page's grid.
LONG LineOf(const CPage* page, int y)
{
    if (page == nullptr || page->GetCellHeight() <= 0)
        return 0;
    return y / page->GetCellHeight() + 1;
}

// To the nearest grid lines and inside the page, above its last whole
// line. A page rarely ends on a grid line; a box pushed up from its bottom
// would leave the grid, and the lines the file keeps of it would not read
// back. Sideways the box spans the page anyway.
void KeepOnGridInside(const CPage& page, kwvd::Rect& rect)
{
    page.SnapToGridNearest(rect);
    const int ch = page.GetCellHeight();
    const int height = page.GetPixelHeight();
    const int lastLine = ch > 0 && height >= ch ? height / ch * ch : height;
    if (rect.bottom > lastLine)
        rect.Offset(0, lastLine - rect.bottom);
    page.ClampToPage(rect, TRUE);
    rect.bottom = std::min(rect.bottom, lastLine);
}

} // namespace

CFormLoopElement::CFormLoopElement() = default;

CFormLoopElement::CFormLoopElement(CDesignerDoc* doc, const kwvd::Rect& rect) : CFormContainerElement(doc)
{
    m_colour = TableColour();
    m_selected = TRUE;
    m_sourceRect = rect;
    m_sourceRect.Normalize();
    m_destRect = m_sourceRect;
    ArrangeRects();
}

CFormLoopElement::CFormLoopElement(CAPRTPDMRec& record, CJVXArchive& ar) : CFormContainerElement(record)
{
    m_colour = TableColour();
    const QString data = record.m_data.GetValue();
    m_incrementOnSuccess = !data.isEmpty() && data.at(0) == QLatin1Char('Y') && !InXmlDocument() ? TRUE : FALSE;
    const QChar mode = data.size() >= 2 ? data.at(1) : QChar();
    if (mode == QLatin1Char('1'))
        m_mode = LoopMode::ToPageEnd;
    else if (mode == QLatin1Char('2'))
        m_mode = LoopMode::ToDocumentEnd;
    else
        m_mode = record.m_lineCount.GetValue() != 0 ? LoopMode::FixedHeight : LoopMode::ToPageEnd;
    ExchangeChildrenJVX(ar);
    ArrangeRects();
    m_link.SetFollowing(TRUE);
}

void CFormLoopElement::Register()
{
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFormLoopElement));
    RegisterRecordElementFactory(FormElementType::Loop, [](CAPRTPDMRec& record, CJVXArchive& ar) -> CFormElement* {
        return new CFormLoopElement(record, ar);
    });
    RegisterLoopStrings();
}

BOOL CFormLoopElement::InXmlDocument() const
{
    return m_pDoc != nullptr && m_pDoc->IsXmlDocument();
}

BOOL CFormLoopElement::SetLoopMode(int mode)
{
    if (!LoopMode::IsValid(mode) || mode == m_mode)
        return FALSE;
    m_mode = static_cast<BYTE>(mode);
    return TRUE;
}

BOOL CFormLoopElement::SetIncrementOnSuccess(BOOL increment)
{
    if (InXmlDocument()) {
        m_incrementOnSuccess = FALSE;
        return FALSE;
    }
    increment = increment ? TRUE : FALSE;
    if (increment == m_incrementOnSuccess)
        return FALSE;
    m_incrementOnSuccess = increment;
    return TRUE;
}

// ---------------------------------------------------------------- property page

void CFormLoopElement::PreparePage(LoopPageData& page) const
{
    page.limits = PageCellLimits::Of(SourcePage());
}

BOOL CFormLoopElement::UpdatePage(LoopPageData& page) const
{
    LoopPageData shown = page;
    if (const CPage* in = SourcePage(); in != nullptr && in->GetCellHeight() > 0) {
        shown.startLine = m_sourceRect.top / in->GetCellHeight() + 1;
        shown.height = m_sourceRect.Height() / in->GetCellHeight();
    }
    shown.incrementOnSuccess = m_incrementOnSuccess ? 1 : 0;
    shown.mode = m_mode;
    const BOOL changed = shown.startLine != page.startLine || shown.height != page.height
                         || shown.incrementOnSuccess != page.incrementOnSuccess || shown.mode != page.mode;
    page = shown;
    return changed;
}

BOOL CFormLoopElement::ApplyPage(const LoopPageData& page, DWORD what)
{
    BOOL changed = FALSE;
    const CPage* in = SourcePage();
    const int ch = in != nullptr ? in->GetCellHeight() : 0;
    if ((what & LoopPageData::StartLine) && ch > 0) {
        const int y = (page.startLine - 1) * ch;
        if (y != m_sourceRect.top) {
            const kwvd::Rect before = m_sourceRect;
            MoveSource(0, y, ElementMoveFlags::Top, TRUE);
            changed |= m_sourceRect != before ? TRUE : FALSE;
        }
    }
    if ((what & LoopPageData::Height) && ch > 0) {
        const int h = page.height * ch;
        if (h != m_sourceRect.Height()) {
            const kwvd::Rect before = m_sourceRect;
            ResizeSource(0, h, ElementMoveFlags::Bottom, TRUE);
            changed |= m_sourceRect != before ? TRUE : FALSE;
        }
    }
    if ((what & LoopPageData::IncrementOnSuccess) && SetIncrementOnSuccess(page.incrementOnSuccess != 0)) {
        SetDocumentModified();
        changed = TRUE;
    }
    if ((what & LoopPageData::Mode) && page.mode != m_mode && SetLoopMode(page.mode)) {
        Announce(DocumentHint::ElementChanged);
        ArrangeRects();
        SetDocumentModified();
        changed = TRUE;
    }
    return changed;
}

// ---------------------------------------------------------------- geometry

void CFormLoopElement::ArrangeRects()
{
    const CPage* in = SourcePage();
    const CPage* out = OutputPage();
    kwvd::Rect source = m_sourceRect;
    kwvd::Rect dest = m_destRect;
    source.Normalize();
    dest.Normalize();
    if (in != nullptr) {
        source.left = 0;
        source.right = in->GetPixelWidth();
    }
    if (out != nullptr) {
        dest.left = 0;
        dest.right = out->GetPixelWidth();
    }
    if (m_mode != LoopMode::FixedHeight && in != nullptr)
        source.bottom = in->GetPixelHeight();
    const bool sourceBottomChanged = source.bottom != m_sourceRect.bottom;
    // The output block takes its height from the input block as it ends up
    // on the page, or a load (which arranges again) would give it another.
    if (in != nullptr)
        KeepOnGridInside(*in, source);
    if (m_mode == LoopMode::FixedHeight) {
        if (in != nullptr && out != nullptr && in->GetCellHeight() > 0) {
            const int ch = in->GetCellHeight();
            const int lines = CeilDiv(source.bottom, ch) - FloorDiv(source.top, ch);
            dest.bottom = std::min(dest.top + lines * out->GetCellHeight(), out->GetPixelHeight());
        }
    } else if (out != nullptr) {
        dest.bottom = out->GetPixelHeight();
    }
    const bool destBottomChanged = dest.bottom != m_destRect.bottom;
    if (out != nullptr)
        KeepOnGridInside(*out, dest);
    if (sourceBottomChanged)
        Announce(DocumentHint::SourceRectChanged);
    if (destBottomChanged)
        Announce(DocumentHint::DestRectChanged);
    m_sourceRect = source;
    m_destRect = dest;
    Announce(DocumentHint::ElementChanged);
}

CSourceLink* CFormLoopElement::DestLink()
{
    return &m_link;
}

void CFormLoopElement::BeginSourceStep(const ElementStep& step)
{
    if (step.IsMove()) {
        CFormContainerElement::BeginSourceStep(step);
        return;
    }
    // A resize arranges the whole Loop again.
    Announce(DocumentHint::ElementChanged);
    FollowWithDest(step);
}

void CFormLoopElement::StepSourceRect(const ElementStep& step, const CPage& page, const kwvd::Rect&)
{
    // A stretched box would be held at the page bottom by the move.
    if (step.IsMove() && m_mode != LoopMode::FixedHeight)
        m_sourceRect.bottom = m_sourceRect.top + page.GetCellHeight();
    PutSourceOnGrid(step, page);
    ArrangeRects();
}

void CFormLoopElement::MoveDest(int x, int y, int flags, BOOL absolute)
{
    if ((flags & ElementMoveFlags::IfSelected) && !IsSelected())
        return;
    const CPage* page = OutputPage();
    if (page != nullptr && m_mode != LoopMode::FixedHeight)
        m_destRect.bottom = m_destRect.top + page->GetCellHeight();
    const kwvd::Rect before = GetDestRect();
    CFormElement::MoveDest(x, y, flags, absolute);
    const bool moved = GetDestRect() != before;
    m_link.DestMoved(before, GetDestRect());
    // The box shortened above goes back to the page bottom even when it
    // stayed where it was.
    if (moved || m_mode != LoopMode::FixedHeight)
        ArrangeRects();
}

void CFormLoopElement::ResizeDest(int cx, int cy, int flags, BOOL absolute)
{
    const kwvd::Rect before = GetDestRect();
    CFormElement::ResizeDest(cx, cy, flags, absolute);
    if (GetDestRect() != before) {
        ArrangeRects();
        m_link.SetFollowing(FALSE);
    }
}

// ---------------------------------------------------------------- kind

void CFormLoopElement::Copy(const CFormElement& other)
{
    if (&other == this)
        return;
    CFormContainerElement::Copy(other);
    const auto* loop = dynamic_cast<const CFormLoopElement*>(&other);
    if (loop == nullptr)
        return;
    m_colour = loop->m_colour;
    m_link = loop->m_link;
    m_incrementOnSuccess = InXmlDocument() ? FALSE : loop->m_incrementOnSuccess;
    if (LoopMode::IsValid(loop->m_mode))
        m_mode = loop->m_mode;
}

int CFormLoopElement::GetType() const
{
    return FormElementType::Loop;
}

BOOL CFormLoopElement::IsLoopOrInLoop() const
{
    return TRUE;
}

BOOL CFormLoopElement::RefreshColour()
{
    const COLORREF colour = TableColour();
    if (colour == m_colour)
        return FALSE;
    m_colour = colour;
    return TRUE;
}

void CFormLoopElement::Revalidate(int mode)
{
    if (RefreshColour())
        Announce(DocumentHint::ElementChanged);
    ArrangeRects();
    CFormContainerElement::Revalidate(mode);
}

void CFormLoopElement::DrawSource(QPainter& painter)
{
    DrawElementBox(painter, m_sourceRect, this, m_colour);
}

void CFormLoopElement::DrawDest(QPainter& painter)
{
    if (!IsPrinting(painter))
        DrawElementBox(painter, m_destRect, this, m_colour);
}

// ---------------------------------------------------------------- persistence

void CFormLoopElement::Serialize(CArchive& ar)
{
    CFormElement::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<WORD>(m_link.IsFollowing() ? 1 : 0) << static_cast<WORD>(m_incrementOnSuccess ? 1 : 0)
           << static_cast<BYTE>(m_mode);
        SerializeChildren(ar);
        return;
    }

    UINT schema = ar.GetObjectSchema();
    if (schema == CArchive::kNoObjectSchema)
        schema = 20;
    WORD follows = 0;
    WORD increment = 0;
    ar >> follows >> increment;
    m_link.SetFollowing(follows != 0 ? TRUE : FALSE);
    m_incrementOnSuccess = increment != 0 && !InXmlDocument() ? TRUE : FALSE;
    if (schema <= kLastWordModeSchema) {
        WORD toPageEnd = 0;
        ar >> toPageEnd;
        if (toPageEnd == 1)
            m_mode = LoopMode::ToPageEnd;
    } else {
        BYTE mode = 0;
        ar >> mode;
        if (LoopMode::IsValid(mode))
            m_mode = mode;
    }
    RefreshColour();
    SerializeChildren(ar);
    ArrangeRects();
}

BOOL CFormLoopElement::ToRecord(CAPRTPDMRec& record)
{
    return FillRecord(record, m_mode);
}

BOOL CFormLoopElement::FillRecord(CAPRTPDMRec& record, int mode)
{
    CFormElement::ToRecord(record);
    record.m_opcode.SetValue(QStringLiteral("LOOP"));
    if (mode != LoopMode::FixedHeight)
        record.m_lineCount.SetValue(0);
    QString data = m_incrementOnSuccess ? QStringLiteral("Y") : QStringLiteral(" ");
    data += QChar(u'0' + mode);
    record.m_data.SetValue(data);
    return TRUE;
}

void CFormLoopElement::ExportJVX(CJVXArchive& ar)
{
    if (!ar.IsStoring())
        return;
    CDesignerDoc* doc = ar.GetDocument() != nullptr ? ar.GetDocument() : m_pDoc;
    const int version = ar.GetVersion();
    int mode = m_mode;
    const bool spooledFileDocument = doc == nullptr || doc->GetDocType() == 0;
    if (version >= 1 && version < kFirstDocumentEndVersion && mode == LoopMode::ToDocumentEnd && spooledFileDocument) {
        // The older host loops to the page end instead; the document keeps
        // its own mode for later exports at a newer version.
        const QString text = FormatResMessage(IDS_LOOP_NO_DOCUMENT_END, version);
        if (doc != nullptr)
            doc->NotifyUser(text, MB_OK | MB_ICONEXCLAMATION, IDOK);
        else
            Prompts().MessageBox(text, {}, MB_OK | MB_ICONEXCLAMATION);
        mode = LoopMode::ToPageEnd;
    }

    CAPRTPDMRec record(ar.GetDocument());
    if (FillRecord(record, mode))
        record.ExchangeJVX(ar);

    ExchangeChildrenJVX(ar);

    CAPRTPDMRec end(ar.GetDocument());
    end.m_opcode.SetValue(QStringLiteral("ENDL"));
    end.AssignSequenceNumber();
    end.m_description.SetValue(m_description.left(kDescriptionLength));
    LONG lastLine = 0;
    if (mode == LoopMode::FixedHeight) {
        if (const CPage* page = SourcePage()) {
            kwvd::Rect cells = m_sourceRect;
            page->RectToCells(cells);
            lastLine = cells.bottom - 1;
        }
    }
    end.m_sourceLine.SetValue(lastLine);
    end.ExchangeJVX(ar);
}

BOOL CFormLoopElement::ExchangeChildrenJVX(CJVXArchive& ar)
{
    if (m_pDoc != nullptr) {
        m_pDoc->m_currentSourceLine = LineOf(SourcePage(), m_sourceRect.top);
        m_pDoc->m_currentDestLine = LineOf(OutputPage(), m_destRect.top);
    }
    if (ar.IsStoring()) {
        ExportChildrenJVX(ar);
    } else {
        m_endLineRead = false;
        if (!ReadChildrenJVX(ar, FormElementType::EndLoop))
            return FALSE;
        const CPage* in = SourcePage();
        const CPage* out = OutputPage();
        if (m_endLineRead) {
            if (in != nullptr) {
                const int bottom = m_endLine * in->GetCellHeight();
                m_sourceRect.bottom = m_sourceRect.top < bottom ? bottom : m_sourceRect.top + 1;
            }
            if (out != nullptr) {
                const int bottom = m_endLine * out->GetCellHeight();
                m_destRect.bottom = m_destRect.top < bottom ? bottom : m_destRect.top + 1;
            }
        }
    }
    if (m_pDoc != nullptr) {
        m_pDoc->m_currentSourceLine = 0;
        m_pDoc->m_currentDestLine = 0;
    }
    return TRUE;
}

void CFormLoopElement::TakeEndRecord(const CAPRTPDMRec& record)
{
    m_endLine = record.m_sourceLine.GetShort();
    m_endLineRead = true;
}
