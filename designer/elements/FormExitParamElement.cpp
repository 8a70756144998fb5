#include "designer/elements/FormExitParamElement.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/ElementPagesText.h"
#include "designer/elements/RecordLineSide.h"
#include "designer/elements/SourceCells.h"
#include "designer/elements/TextFit.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/fonts/FontManager.h"
#include "platform/framework/Archive.h"
#include "platform/ui/StringTable.h"

#include <algorithm>

KWVD_IMPLEMENT_SERIAL(CFormExitParamElement, CFormElement, VERSIONABLE_SCHEMA | 20)

namespace {

constexpr UINT kCurrentSchema = 20;
constexpr UINT IDS_PARM = 335;

using kwvd::Rect;

bool IsParamNumber(int number)
{
    return number >= 0 && number <= CFormExitParamElement::kMaxParamNumber;
}

// Field 19 holds the font index as one digit; anything else is index 0.
int FontIndexFromRecord(const CAPRTPDMRec& record, const CFontManager* manager)
{
    const QString& text = record.m_fontIndex.GetValue();
    if (text.isEmpty() || manager == nullptr)
        return 0;
    const int index = text.at(0).unicode() - u'0';
    return index >= 0 && index < manager->GetMaxFonts() ? index : 0;
}

void ClearNumber(CFixedLenNum& field)
{
    field.SetValue(0);
    field.SetEmpty(TRUE);
}

} // namespace

CFormExitParamElement::CFormExitParamElement() = default;

CFormExitParamElement::CFormExitParamElement(CDesignerDoc* doc, const Rect& rect, int side)
    : DataFlagElement<CFormElement>(doc)
{
    RefreshColour(FALSE);
    m_ignoreReturn = 1;
    // Known before the description is made, so an inserted parameter shows
    // the separator its data will follow.
    m_useData = side == PaneSide::Input ? 0 : 1;
    m_paramNumber = 1;
    UpdateAutoDescription();
    SetDocumentModified();
    Rect normal = rect;
    normal.Normalize();
    m_sourceRect = normal;
    m_destRect = normal;
    NormaliseRects(TRUE, TRUE);
}

CFormExitParamElement::CFormExitParamElement(CAPRTPDMRec& record) : DataFlagElement<CFormElement>(record)
{
    RefreshColour(FALSE);
    m_paramNumber = 0;
    m_useData = 0;
    m_ignoreReturn = 0;
    m_fontIndex = 0;
    m_alignToGrid = 0;
    m_link.SetFollowing(TRUE);

    const QString data = record.m_data.GetValue();
    // A data parameter's record has its position cleared, and no position
    // starts in column 0: such a record passes data even while it is empty.
    if (RecordPassesConstantData(record)) {
        SetUseData(TRUE);
        m_data = data;
        UpdateAutoDescription();
    }
    if (record.m_destLine.GetShort() == 0)
        m_ignoreReturn = 1;
    const int number = record.m_paramNumber.GetShort();
    if (IsParamNumber(number)) {
        SetParamNumber(number);
        UpdateAutoDescription();
    }
    m_alignToGrid = record.m_flag.IsEqual(QStringLiteral("1")) ? 1 : 0;
    const CPage* page = OutputPage();
    const int fontIndex = FontIndexFromRecord(record, page != nullptr ? page->GetFontManager() : nullptr);
    m_fontIndex = MoveFontUser(0, fontIndex);
    NormaliseRects(TRUE, TRUE);
}

CFormExitParamElement::~CFormExitParamElement()
{
    if (m_fontIndex != 0) {
        m_fontIndex = MoveFontUser(m_fontIndex, 0);
        SetDocumentModified();
    }
    Announce(DocumentHint::ElementChanged);
}

void CFormExitParamElement::Register()
{
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFormExitParamElement));
    RegisterRecordElementFactory(FormElementType::ExitParam, [](CAPRTPDMRec& record, CJVXArchive&) -> CFormElement* {
        return new CFormExitParamElement(record);
    });
    StringTable::Add(IDS_PARM, QStringLiteral("PARM"));
}

int CFormExitParamElement::MoveFontUser(int oldIndex, int newIndex)
{
    CFontManager* manager = OutputFontManager();
    if (manager == nullptr)
        return 0;
    return manager->MoveFontUser(oldIndex, this, newIndex);
}

void CFormExitParamElement::RefreshColour(BOOL announce)
{
    const COLORREF colour = Preferences().GetElementColour(FormElementType::ExitParam - FormElementType::Address);
    if (colour == m_colour)
        return;
    m_colour = colour;
    if (announce)
        Announce(DocumentHint::ElementChanged);
}

BOOL CFormExitParamElement::SetParamNumber(int number)
{
    if (number > kMaxParamNumber)
        return FALSE;
    if (number == m_paramNumber) {
        if (IsParamNumber(m_paramNumber))
            return FALSE;
        number = 1;
    }
    m_paramNumber = number;
    UpdateAutoDescription();
    SetDocumentModified();
    return TRUE;
}

BOOL CFormExitParamElement::SetIgnoreReturn(BOOL ignore)
{
    const int value = ignore ? 1 : 0;
    if (value == m_ignoreReturn)
        return FALSE;
    if (value != 0) {
        Announce(DocumentHint::DestRectChanged);
        m_ignoreReturn = 1;
        Announce(DocumentHint::SelectionChanged);
    } else {
        m_ignoreReturn = 0;
        Announce(DocumentHint::DestRectChanged);
    }
    SetDocumentModified();
    return TRUE;
}

BOOL CFormExitParamElement::SetFontIndex(int index)
{
    if (index == m_fontIndex)
        return FALSE;
    m_fontIndex = MoveFontUser(m_fontIndex, index);
    SetDocumentModified();
    return TRUE;
}

BOOL CFormExitParamElement::SetAlignToGrid(BOOL align)
{
    const int value = align ? 1 : 0;
    if (value == m_alignToGrid)
        return FALSE;
    m_alignToGrid = value;
    Announce(DocumentHint::DestRectChanged);
    SetDocumentModified();
    return TRUE;
}

QString CFormExitParamElement::ParamName(int number)
{
    return QStringLiteral("%1%2").arg(LoadResString(IDS_PARM)).arg(number);
}

void CFormExitParamElement::UpdateAutoDescription()
{
    if (!IsAutoDescription() && !m_description.isEmpty())
        return;
    QString text = ParamName(m_paramNumber);
    if (m_useData != 0) {
        text += QStringLiteral("  ");
        text += m_data.left(std::max<qsizetype>(kDescriptionLength - text.size(), 0));
    }
    SetDescription(text, this);
}

void CFormExitParamElement::NormaliseRects(BOOL source, BOOL dest)
{
    // Each side snaps to the nearest cells and keeps exactly one line.
    const auto normalise = [](const CPage& page, Rect& rect) {
        page.SnapToGridNearest(rect);
        page.ClampToPage(rect, TRUE);
        rect.bottom = rect.top + page.GetCellHeight();
    };
    if (source) {
        if (const CPage* page = SourcePage())
            normalise(*page, m_sourceRect);
        Announce(DocumentHint::SourceRectChanged);
    }
    if (dest) {
        if (const CPage* page = OutputPage()) {
            const Rect before = m_destRect;
            normalise(*page, m_destRect);
            if (m_destRect != before)
                Announce(DocumentHint::DestRectChanged);
        }
    }
}

int CFormExitParamElement::GetGeneralPageDisableMask() const
{
    return m_ignoreReturn != 0 ? 15 : 2;
}

void CFormExitParamElement::PreparePage(ExitParamPageData& page) const
{
    const PageCellLimits limits = PageCellLimits::Of(SourcePage());
    page.largestColumn = limits.largestColumn;
    page.largestLine = limits.largestLine;
    page.fontManager = OutputFontManager();
}

BOOL CFormExitParamElement::UpdatePageData(ExitParamPageData& page) const
{
    ExitParamPageData now = page;
    if (const CPage* source = SourcePage()) {
        const int cw = source->GetCellWidth();
        const int ch = source->GetCellHeight();
        now.column = m_sourceRect.left / cw + 1;
        now.line = m_sourceRect.top / ch + 1;
        now.width = (m_sourceRect.right - m_sourceRect.left) / cw;
    }
    now.data = m_data;
    now.useData = GetUseData();
    now.ignoreReturn = GetIgnoreReturn();
    now.paramNumber = m_paramNumber;
    now.fontIndex = m_fontIndex;
    now.alignToGrid = GetAlignToGrid();
    now.forceAbsolute = IsSourceAbsolute();
    now.inLoop = IsInLoop() ? TRUE : FALSE;

    const bool changed = now.column != page.column || now.line != page.line || now.width != page.width
                         || now.data != page.data || now.useData != page.useData
                         || now.ignoreReturn != page.ignoreReturn || now.paramNumber != page.paramNumber
                         || now.fontIndex != page.fontIndex || now.alignToGrid != page.alignToGrid
                         || now.forceAbsolute != page.forceAbsolute || now.inLoop != page.inLoop;
    page = now;
    return changed ? TRUE : FALSE;
}

BOOL CFormExitParamElement::ApplyPageData(const ExitParamPageData& page, DWORD what)
{
    BOOL changed = FALSE;
    const CPage* source = SourcePage();
    if ((what & ExitParamPageBits::Position) && source != nullptr) {
        if (SetUseData(FALSE))
            changed = TRUE;
        if (MoveSourceToCell(*this, *source, page.column, page.line))
            changed = TRUE;
    }
    if ((what & ExitParamPageBits::Width) && source != nullptr && SetSourceWidthInCells(*this, *source, page.width))
        changed = TRUE;
    if ((what & ExitParamPageBits::ParamNumber) && page.paramNumber >= 0) {
        if (SetParamNumber(page.paramNumber))
            changed = TRUE;
    }
    if (what & ExitParamPageBits::Data) {
        if (SetUseData(TRUE))
            changed = TRUE;
        if (SetData(page.data))
            changed = TRUE;
    }
    if ((what & ExitParamPageBits::Font) && SetFontIndex(page.fontIndex))
        changed = TRUE;
    if ((what & ExitParamPageBits::AlignToGrid) && SetAlignToGrid(page.alignToGrid))
        changed = TRUE;
    if ((what & ExitParamPageBits::ForceAbsolute) && (page.forceAbsolute ? 1 : 0) != m_sourceAbsolute) {
        SetSourceAbsolute(page.forceAbsolute);
        SetDocumentModified();
        changed = TRUE;
    }
    if ((what & ExitParamPageBits::IgnoreReturn) && SetIgnoreReturn(page.ignoreReturn))
        return TRUE;
    return changed;
}

void CFormExitParamElement::Copy(const CFormElement& other)
{
    if (&other == this)
        return;
    CFormElement::Copy(other);
    const auto* param = dynamic_cast<const CFormExitParamElement*>(&other);
    if (param == nullptr)
        return;
    if (IsParamNumber(param->m_paramNumber))
        SetParamNumber(param->m_paramNumber);
    m_fontIndex = MoveFontUser(m_fontIndex, param->m_fontIndex);
    m_data = param->m_data;
    SetUseData(param->GetUseData());
    SetIgnoreReturn(param->GetIgnoreReturn());
    m_alignToGrid = param->m_alignToGrid;
    m_colour = param->m_colour;
    m_link = param->m_link;
}

int CFormExitParamElement::GetType() const
{
    return FormElementType::ExitParam;
}

void CFormExitParamElement::Serialize(CArchive& ar)
{
    CFormElement::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<WORD>(m_link.IsFollowing() ? 1 : 0);
        ar << static_cast<LONG>(m_fontIndex) << static_cast<LONG>(m_alignToGrid) << static_cast<LONG>(m_paramNumber);
        ar << m_data;
        ar << static_cast<WORD>(m_useData) << static_cast<WORD>(m_ignoreReturn);
        return;
    }

    UINT schema = ar.GetObjectSchema();
    if (schema == CArchive::kNoObjectSchema)
        schema = kCurrentSchema;
    WORD follows = 1;
    LONG fontIndex = 0;
    LONG align = 0;
    LONG number = 1;
    QString data;
    WORD useData = 0;
    WORD ignore = 0;
    ar >> follows >> fontIndex;
    if (schema > 4)
        ar >> align;
    if (schema > 7)
        ar >> number >> data >> useData;
    if (schema > 9)
        ar >> ignore;

    SetUseData(useData != 0);
    SetIgnoreReturn(ignore != 0);
    if (data != m_data) {
        m_data = data;
        UpdateAutoDescription();
        SetDocumentModified();
    }
    m_alignToGrid = align != 0 ? 1 : 0;
    m_link.SetFollowing(follows != 0);
    RefreshColour(FALSE);
    if (number >= 0)
        SetParamNumber(number);
    if (fontIndex != m_fontIndex) {
        m_fontIndex = MoveFontUser(m_fontIndex, fontIndex);
        SetDocumentModified();
    }
}

BOOL CFormExitParamElement::ToRecord(CAPRTPDMRec& record)
{
    CFormElement::ToRecord(record);
    record.m_opcode.SetValue(QStringLiteral("PARM"));
    if (m_useData != 0) {
        record.m_data.SetValue(m_data);
        record.m_sourceSign.Clear();
        ClearNumber(record.m_sourceLine);
        ClearNumber(record.m_sourceFirstColumn);
        ClearNumber(record.m_sourceLastColumn);
        ClearNumber(record.m_lineCount);
    }
    if (m_ignoreReturn != 0) {
        // The host reads destination line 0 as "no destination".
        record.m_destSign.Clear();
        ClearNumber(record.m_destLine);
        ClearNumber(record.m_destFirstColumn);
        ClearNumber(record.m_destLastColumn);
    }
    record.m_paramNumber.SetValue(m_paramNumber);
    if (m_alignToGrid != 0)
        record.m_flag.SetValue(QStringLiteral("1"));
    WriteRecordFontIndex(record, m_fontIndex);
    record.ClearOptionFields();
    return TRUE;
}

void CFormExitParamElement::ExportJVX(CJVXArchive& ar)
{
    ExportRecordJVX(ar);
}

void CFormExitParamElement::Revalidate(int mode)
{
    CFormElement::Revalidate(mode);
    RefreshColour(TRUE);
    const CPage* page = OutputPage();
    CFontManager* manager = page != nullptr ? page->GetFontManager() : nullptr;
    if (m_fontIndex != 0 && (manager == nullptr || !manager->IsUsableFontIndex(m_fontIndex)))
        m_fontIndex = MoveFontUser(m_fontIndex, 0);
    UpdateAutoDescription();
}

void CFormExitParamElement::DrawSource(QPainter& painter)
{
    if (m_useData == 0)
        DrawElementBox(painter, m_sourceRect, this, m_colour);
}

void CFormExitParamElement::DrawDest(QPainter& painter)
{
    // The return value is only known on the host: the box marks its place.
    if (!IsPrinting(painter) && m_ignoreReturn == 0)
        DrawElementBox(painter, GetDestRect(), this, m_colour);
}

Rect CFormExitParamElement::GetDestRect() const
{
    return m_ignoreReturn != 0 ? Rect() : CFormElement::GetDestRect();
}

CSourceLink* CFormExitParamElement::DestLink()
{
    return &m_link;
}

void CFormExitParamElement::StepSourceRect(const ElementStep& step, const CPage& page, const Rect&)
{
    PutSourceOnGrid(step, page);
    NormaliseRects(TRUE, FALSE);
}

void CFormExitParamElement::MoveDest(int x, int y, int flags, BOOL absolute)
{
    if (m_ignoreReturn != 0)
        return;
    const Rect before = GetDestRect();
    CFormElement::MoveDest(x, y, flags, absolute);
    const Rect after = GetDestRect();
    if (after != before)
        NormaliseRects(FALSE, TRUE);
    m_link.DestMoved(before, after);
}

void CFormExitParamElement::ResizeDest(int cx, int cy, int flags, BOOL absolute)
{
    if (m_ignoreReturn != 0)
        return;
    const Rect before = GetDestRect();
    CFormElement::ResizeDest(cx, cy, flags, absolute);
    const Rect after = GetDestRect();
    if (after != before)
        NormaliseRects(FALSE, TRUE);
    m_link.DestMoved(before, after);
}

BOOL CFormExitParamElement::IgnoresOffset() const
{
    return FALSE;
}

BOOL CFormExitParamElement::Select(BOOL select)
{
    select = select ? TRUE : FALSE;
    if (select == m_selected)
        return FALSE;
    // Without a destination only the source box shows the selection.
    const int hint = m_ignoreReturn != 0 ? DocumentHint::SourceRectChanged : DocumentHint::ElementChanged;
    if (!select)
        Announce(hint);
    m_selected = select;
    Announce(hint);
    return TRUE;
}

BOOL CFormExitParamElement::Find(const QString& text) const
{
    if (text.isEmpty())
        return FALSE;
    return CFormElement::Find(text) || m_data.contains(text, Qt::CaseSensitive);
}

BOOL CFormExitParamElement::Replace(const QString& find, const QString& replace)
{
    if (find.isEmpty())
        return FALSE;
    BOOL changed = FALSE;
    QString data = m_data;
    data.replace(find, replace, Qt::CaseSensitive);
    if (data != m_data) {
        m_data = data;
        UpdateAutoDescription();
        SetDocumentModified();
        changed = TRUE;
    }
    if (CFormElement::Replace(find, replace))
        changed = TRUE;
    return changed;
}
