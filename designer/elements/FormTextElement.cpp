#include "designer/elements/FormTextElement.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/TextFit.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/fonts/FontManager.h"
#include "platform/framework/Archive.h"

#include <QPainter>

KWVD_IMPLEMENT_SERIAL(CFormTextElement, CFormElement, VERSIONABLE_SCHEMA | 20)

namespace {

constexpr UINT kCurrentSchema = 20;
constexpr int kDescriptionLength = 50;

} // namespace

CFormTextElement::CFormTextElement() = default;

CFormTextElement::CFormTextElement(CDesignerDoc* doc, const kwvd::Rect& rect) : FontUserElement<CFormElement>(doc)
{
    UpdateColour();
    m_sourceRect = {};
    kwvd::Rect r = rect;
    r.Normalize();
    m_destRect = r;
    m_selected = TRUE;
    if (const CPage* page = OutputPage()) {
        page->SnapToGridNearest(m_destRect);
        page->ClampToPage(m_destRect, TRUE);
    }
    Announce(DocumentHint::DestRectChanged);
}

CFormTextElement::CFormTextElement(CAPRTPDMRec& record) : FontUserElement<CFormElement>(record)
{
    UpdateColour();
    m_sourceRect = {};
    SetText(record.m_data.GetValue());
    m_alignToGrid = record.m_flag.IsEqual(QStringLiteral("1")) ? 1 : 0;
    SetFontIndex(RecordFontIndex(record, OutputFontManager()));
}

CFormTextElement::~CFormTextElement()
{
    LeaveFont();
    Announce(DocumentHint::ElementChanged);
}

int CFormTextElement::GetType() const
{
    return FormElementType::Text;
}

void CFormTextElement::Copy(const CFormElement& other)
{
    if (&other == this)
        return;
    CFormElement::Copy(other);
    const auto* text = dynamic_cast<const CFormTextElement*>(&other);
    if (text == nullptr)
        return;
    SetText(text->m_text);
    SetFontIndex(text->m_fontIndex);
    m_alignToGrid = text->m_alignToGrid;
    m_colour = text->m_colour;
    m_needsFit = 1;
}

BOOL CFormTextElement::UpdateColour()
{
    const COLORREF colour = Preferences().GetElementColour(GetType() - FormElementType::Address);
    if (colour == m_colour)
        return FALSE;
    m_colour = colour;
    return TRUE;
}

BOOL CFormTextElement::SetText(const QString& text)
{
    if (text == m_text)
        return FALSE;
    m_text = text;
    if (IsAutoDescription() || m_description.isEmpty())
        SetDescription(m_text.trimmed().left(kDescriptionLength), this);
    m_needsFit = 1;
    Announce(DocumentHint::DestRectChanged);
    SetDocumentModified();
    return TRUE;
}

BOOL CFormTextElement::SetFontIndex(int index)
{
    if (index == m_fontIndex)
        return FALSE;
    MoveToFont(index);
    m_needsFit = 1;
    Announce(DocumentHint::DestRectChanged);
    SetDocumentModified();
    return TRUE;
}

void CFormTextElement::FitDestToText()
{
    const CPage* output = OutputPage();
    if (output == nullptr || m_destRect.IsNull()) {
        m_needsFit = 0;
        return;
    }
    const int columns = static_cast<int>(m_text.size());
    const QSize extent = MeasureFontText(OutputFontManager(), m_fontIndex, m_text);
    const TextBoxFit fit = FitTextBox(*output, m_destRect, m_heightAdjust, columns, 1, extent);
    m_widthAdjust = fit.widthAdjust;
    m_heightAdjust = fit.heightAdjust;
    if (fit.dest != m_destRect) {
        m_destRect = fit.dest;
        Announce(DocumentHint::DestRectChanged);
    }
    m_needsFit = 0;
}

void CFormTextElement::FitIfNeeded()
{
    if (m_needsFit != 0)
        FitDestToText();
}

void CFormTextElement::Revalidate(int mode)
{
    CFormElement::Revalidate(mode);
    if (UpdateColour())
        Announce(DocumentHint::ElementChanged);
    m_fontIndex = ReleaseUnusableFont(OutputFontManager(), m_fontIndex, this);
    m_needsFit = 1;
    Announce(DocumentHint::DestRectChanged);
}

void CFormTextElement::DrawDest(QPainter& painter)
{
    FitIfNeeded();
    const kwvd::Rect r = GetDestRect();
    const bool printing = IsPrinting(painter);
    if (!printing)
        DrawElementBox(painter, r, this, m_colour);
    if (!IsVisibleIn(painter, r))
        return;

    CFontManager* manager = OutputFontManager();
    CPage* output = OutputPage();
    // The font first: making it starts its advance table afresh, which
    // would leave advances taken before it pointing at nothing.
    const QFont* font = manager != nullptr ? manager->GetWindowsFont(m_fontIndex) : nullptr;
    const int count = static_cast<int>(m_text.size());
    std::span<const int> advances;
    if (m_alignToGrid != 0 && output != nullptr)
        advances = output->GetCharWidths(count);
    else if (manager != nullptr)
        advances = manager->GetCharWidths(m_fontIndex, count);
    painter.save();
    painter.setBackgroundMode(Qt::TransparentMode);
    if (!printing)
        painter.setClipRect(r.ToQRect(), Qt::IntersectClip);
    DrawTextLine(painter, font, r.left, r.bottom, m_text, advances);
    painter.restore();
}

void CFormTextElement::ResizeDest(int, int, int flags, BOOL)
{
    if ((flags & ElementMoveFlags::IfSelected) && !IsSelected())
        return;
    m_needsFit = 1;
    Announce(DocumentHint::DestRectChanged);
    SetDocumentModified();
}

BOOL CFormTextElement::Select(BOOL select)
{
    return SelectAnnouncingDest(select);
}

BOOL CFormTextElement::IgnoresOffset() const
{
    return FALSE;
}

BOOL CFormTextElement::Find(const QString& text) const
{
    if (text.isEmpty())
        return FALSE;
    return CFormElement::Find(text) || m_text.contains(text, Qt::CaseSensitive);
}

BOOL CFormTextElement::Replace(const QString& find, const QString& replace)
{
    if (find.isEmpty())
        return FALSE;
    QString copy = m_text;
    copy.replace(find, replace, Qt::CaseSensitive);
    const BOOL textChanged = SetText(copy);
    const BOOL descriptionChanged = CFormElement::Replace(find, replace);
    return textChanged || descriptionChanged;
}

// ---------------------------------------------------------------- persistence

void CFormTextElement::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        // A document nobody drew still writes the box a drawing would give.
        FitIfNeeded();
        CFormElement::Serialize(ar);
        ar << m_text << static_cast<LONG>(m_fontIndex) << static_cast<LONG>(m_alignToGrid);
        m_sourceRect = {};
        return;
    }

    CFormElement::Serialize(ar);
    UINT schema = ar.GetObjectSchema();
    if (schema == CArchive::kNoObjectSchema)
        schema = kCurrentSchema;
    QString text;
    LONG fontIndex = 0;
    LONG align = 0;
    ar >> text >> fontIndex;
    if (schema > 4)
        ar >> align;
    m_alignToGrid = align != 0 ? 1 : 0;
    SetText(text);
    UpdateColour();
    SetFontIndex(fontIndex);
    m_needsFit = 1;
    m_sourceRect = {};
}

BOOL CFormTextElement::ToRecord(CAPRTPDMRec& record)
{
    if (record.GetDocument() != nullptr)
        SetDocument(record.GetDocument());
    FitIfNeeded();
    // The record gives the text's own columns, the box less its width
    // adjust: an empty text has none, and the host takes line, columns and
    // line count 0 as nothing to print.
    CFormElement::ToRecord(record);
    record.m_opcode.SetValue(QStringLiteral("MOVE"));
    record.m_data.SetValue(m_text);
    if (m_alignToGrid != 0)
        record.m_flag.SetValue(QStringLiteral("1"));
    WriteRecordFontIndex(record, m_fontIndex);
    record.ClearOptionFields();
    return TRUE;
}

void CFormTextElement::ExportJVX(CJVXArchive& ar)
{
    ExportRecordJVX(ar);
}

// ---------------------------------------------------------------- property page

void CFormTextElement::PreparePage(TextPageData& page) const
{
    page.fontManager = OutputFontManager();
}

BOOL CFormTextElement::UpdatePage(TextPageData& page) const
{
    const BOOL changed =
        page.text != m_text || page.fontIndex != m_fontIndex || page.alignToGrid != (m_alignToGrid != 0 ? TRUE : FALSE);
    page.text = m_text;
    page.fontIndex = m_fontIndex;
    page.alignToGrid = m_alignToGrid != 0 ? TRUE : FALSE;
    return changed;
}

BOOL CFormTextElement::ApplyPage(const TextPageData& page, int what)
{
    BOOL changed = FALSE;
    if ((what & TextPageData::Font) && SetFontIndex(page.fontIndex))
        changed = TRUE;
    if (what & TextPageData::AlignToGrid) {
        const int align = page.alignToGrid ? 1 : 0;
        if (align != m_alignToGrid) {
            m_alignToGrid = align;
            Announce(DocumentHint::DestRectChanged);
            SetDocumentModified();
            changed = TRUE;
        }
    }
    if ((what & TextPageData::Text) && SetText(page.text))
        return TRUE;
    return changed;
}
