#include "designer/elements/FormElement.h"
#include "designer/preferences/ColourRef.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/SpooledFile.h"
#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/SourceLink.h"
#include "designer/elements/TextFit.h"
#include "platform/framework/Archive.h"
#include "platform/ui/StringTable.h"

#include <QColor>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cstdlib>

KWVD_IMPLEMENT_SERIAL(CFormElement, CObject, VERSIONABLE_SCHEMA | 20)

namespace {

using kwvd::Rect;

int CellWidth(const CPage& page)
{
    return page.GetCellWidth();
}
int CellHeight(const CPage& page)
{
    return page.GetCellHeight();
}

// The page's conversions work in place on a point; these give the result.
QPoint ToPixels(const CPage& page, QPoint twips)
{
    page.TwipsToPixels(twips);
    return twips;
}

QPoint ToTwips(const CPage& page, QPoint pixels)
{
    page.PixelsToTwips(pixels);
    return pixels;
}

} // namespace

QString FormElementType::DisplayName(int type)
{
    return LoadResString(static_cast<UINT>(type));
}

BOOL FormElementType::IsElementType(int type)
{
    switch (type) {
    case Address:
    case Barcode:
    case Conditional:
    case Eraser:
    case ExitParam:
    case ExitProgram:
    case Image:
    case Loop:
    case Output:
    case Remark:
    case Resource:
    case Source:
    case Text:
    case Variable:
    case XmlAttribute:
    case XmlComment:
    case XmlElement:
    case XmlInstruction:
        return TRUE;
    default:
        return FALSE;
    }
}

CFormElement::CFormElement() = default;

CFormElement::CFormElement(CDesignerDoc* doc) : m_pDoc(doc) {}

CFormElement::~CFormElement() = default;

void CFormElement::Copy(const CFormElement& other)
{
    if (&other == this)
        return;
    m_description = other.m_description;
    m_sourceRect = other.m_sourceRect;
    m_destRect = other.m_destRect;
    m_widthAdjust = other.m_widthAdjust;
    m_heightAdjust = other.m_heightAdjust;
    m_offset = other.m_offset;
    m_selected = other.m_selected;
    m_pDoc = other.m_pDoc;
    m_pParent = other.m_pParent;
    m_sourceAbsolute = other.m_sourceAbsolute;
    m_destAbsolute = other.m_destAbsolute;
    m_autoDescription = other.m_autoDescription;
}

int CFormElement::GetType() const
{
    return FormElementType::None;
}

BOOL CFormElement::SetDocument(CDesignerDoc* doc)
{
    if (m_pDoc == doc)
        return FALSE;
    m_pDoc = doc;
    return TRUE;
}

void CFormElement::Announce(int hint)
{
    if (m_pDoc != nullptr)
        m_pDoc->BroadcastHint(hint, this);
}

void CFormElement::SetDocumentModified()
{
    if (m_pDoc != nullptr)
        m_pDoc->SetModifiedFlag(TRUE);
}

CPage* CFormElement::SourcePage() const
{
    return m_pDoc != nullptr ? m_pDoc->GetSourcePage() : nullptr;
}

CPage* CFormElement::OutputPage() const
{
    return m_pDoc != nullptr ? m_pDoc->GetOutputPage() : nullptr;
}

CFontManager* CFormElement::OutputFontManager() const
{
    const CPage* page = OutputPage();
    return page != nullptr ? page->GetFontManager() : nullptr;
}

void CFormElement::Revalidate(int mode)
{
    if (mode == 1)
        m_autoDescription = 0;

    if (!m_sourceRect.IsNull()) {
        if (const CPage* page = SourcePage()) {
            Rect r = m_sourceRect;
            page->SnapToGrid(r);
            page->ClampToPage(r, TRUE);
            if (r != m_sourceRect) {
                Announce(DocumentHint::SourceRectChanged);
                m_sourceRect = r;
                Announce(DocumentHint::SourceRectChanged);
            }
        }
    }
    if (!m_destRect.IsNull()) {
        if (const CPage* page = OutputPage()) {
            Rect r = m_destRect;
            // A box the tracker left off the grid goes back onto it here.
            if (!SnapsDestToGrid())
                page->SnapToGrid(r);
            page->ClampToPage(r, TRUE);
            if (r != m_destRect) {
                Announce(DocumentHint::DestRectChanged);
                m_destRect = r;
                Announce(DocumentHint::DestRectChanged);
            }
        }
    }
}

void CFormElement::DrawSource(QPainter&) {}

void CFormElement::DrawDest(QPainter&) {}

Rect CFormElement::GetSourceRect() const
{
    return m_sourceRect;
}

Rect CFormElement::GetDestRect() const
{
    Rect r = m_destRect;
    if (m_offset.isNull())
        return r;
    if (const CPage* page = OutputPage()) {
        const QPoint p = ToPixels(*page, m_offset);
        r.Offset(p.x(), p.y());
    }
    return r;
}

QPoint CFormElement::GetOffset() const
{
    return m_offset;
}

BOOL CFormElement::SetOffset(QPoint twips)
{
    if (IgnoresOffset())
        twips = QPoint(0, 0);
    if (twips == m_offset)
        return FALSE;
    Announce(DocumentHint::DestRectChanged);
    m_offset = twips;
    Announce(DocumentHint::DestRectChanged);
    SetDocumentModified();
    return TRUE;
}

void CFormElement::MoveElementRect(Rect& rect, int x, int y, int flags, BOOL absolute, const CPage& page)
{
    if (rect.IsNull())
        return;
    if (absolute) {
        if (flags & ElementMoveFlags::Left)
            rect.Offset(x - rect.left, 0);
        if (flags & ElementMoveFlags::Top)
            rect.Offset(0, y - rect.top);
    } else {
        if (flags & ElementMoveFlags::Left)
            rect.Offset(x, 0);
        if (flags & ElementMoveFlags::Top)
            rect.Offset(0, y);
    }
    if (!(flags & ElementMoveFlags::NoSnap)) {
        const int cw = CellWidth(page);
        const int ch = CellHeight(page);
        if (cw > 0)
            rect.Offset(-(rect.left % cw), 0);
        if (ch > 0)
            rect.Offset(0, -(rect.top % ch));
    }
    page.ClampToPage(rect, TRUE);
}

void CFormElement::ResizeElementRect(const CPage& page, Rect& rect, int cx, int cy, int flags, BOOL absolute)
{
    if (rect.IsNull())
        return;
    const int cw = CellWidth(page);
    const int ch = CellHeight(page);

    if (flags & ElementMoveFlags::Top) {
        rect.top = absolute ? rect.bottom - cy : rect.top - cy;
        if (rect.bottom - rect.top < ch)
            rect.top = rect.bottom - ch;
    } else if (flags & ElementMoveFlags::Bottom) {
        rect.bottom = absolute ? rect.top + cy : rect.bottom + cy;
        if (rect.bottom - rect.top < ch)
            rect.bottom = rect.top + ch;
    }
    if (flags & ElementMoveFlags::Left) {
        rect.left = absolute ? rect.right - cx : rect.left - cx;
        if (rect.right - rect.left < cw)
            rect.left = rect.right - cw;
    } else if (flags & ElementMoveFlags::Right) {
        rect.right = absolute ? rect.left + cx : rect.right + cx;
        if (rect.right - rect.left < cw)
            rect.right = rect.left + cw;
    }
    if (!(flags & ElementMoveFlags::NoSnap))
        page.SnapToGrid(rect);

    rect.left = std::max(rect.left, 0);
    rect.top = std::max(rect.top, 0);
    rect.right = std::min(rect.right, page.GetPixelWidth());
    rect.bottom = std::min(rect.bottom, page.GetPixelHeight());
}

void CFormElement::MoveSource(int x, int y, int flags, BOOL absolute)
{
    StepSource({ElementStep::Move, x, y, flags, absolute});
}

void CFormElement::StepSource(const ElementStep& step)
{
    if ((step.flags & ElementMoveFlags::IfSelected) && !IsSelected())
        return;
    BeginSourceStep(step);
    const CPage* page = SourcePage();
    if (page == nullptr)
        return;
    const Rect before = m_sourceRect;
    StepSourceRect(step, *page, before);
    if (m_sourceRect != before)
        SetDocumentModified();
}

CSourceLink* CFormElement::DestLink()
{
    return nullptr;
}

void CFormElement::BeginSourceStep(const ElementStep& step)
{
    FollowWithDest(step);
    Announce(DocumentHint::SourceRectChanged);
}

void CFormElement::StepSourceRect(const ElementStep& step, const CPage& page, const Rect& before)
{
    PutSourceOnGrid(step, page);
    if (m_sourceRect != before)
        Announce(DocumentHint::SourceRectChanged);
}

void CFormElement::PutSourceOnGrid(const ElementStep& step, const CPage& page)
{
    if (step.IsMove())
        MoveElementRect(m_sourceRect, step.x, step.y, step.flags, step.absolute, page);
    else
        ResizeElementRect(page, m_sourceRect, step.x, step.y, step.flags, step.absolute);
}

void CFormElement::StepDest(const ElementStep& step)
{
    if (step.IsMove())
        MoveDest(step.x, step.y, step.flags, step.absolute);
    else
        ResizeDest(step.x, step.y, step.flags, step.absolute);
}

void CFormElement::FollowWithDest(const ElementStep& step)
{
    if (CSourceLink* link = DestLink())
        link->ApplyToDest([&] { StepDest(step); });
}

void CFormElement::MoveDest(int x, int y, int flags, BOOL absolute)
{
    if ((flags & ElementMoveFlags::IfSelected) && !IsSelected())
        return;
    const Rect r0 = GetDestRect();
    Rect r = r0;
    Announce(DocumentHint::DestRectChanged);
    const CPage* page = OutputPage();
    if (page == nullptr)
        return;
    MoveElementRect(r, x, y, flags, absolute, *page);

    QPoint offset(0, 0);
    if (!IgnoresOffset()) {
        const int cw = CellWidth(*page);
        const int ch = CellHeight(*page);
        if (flags & ElementMoveFlags::NoSnap) {
            // The sub-cell rest becomes the offset; the box stays on the grid.
            QPoint rest(0, 0);
            if (cw > 0) {
                const int gx = (r.left / cw) * cw;
                if (r.left != gx) {
                    rest.setX(r.left - gx);
                    r.Offset(-rest.x(), 0);
                }
            }
            if (ch > 0) {
                const int gy = (r.top / ch) * ch;
                if (r.top != gy) {
                    rest.setY(r.top - gy);
                    r.Offset(0, -rest.y());
                }
            }
            offset = ToTwips(*page, rest);
        } else {
            // An offset survives on an axis the element did not leave, and a
            // half-cell offset survives a one-cell step forward.
            const QPoint p = ToPixels(*page, m_offset);
            if (p.x() == std::abs(r.left - r0.left))
                offset.setX(m_offset.x());
            if (p.y() == std::abs(r.top - r0.top))
                offset.setY(m_offset.y());
        }
    }
    SetOffset(offset);
    m_destRect = r;
    if (GetDestRect() != r0) {
        Announce(DocumentHint::DestRectChanged);
        SetDocumentModified();
    }
}

void CFormElement::ResizeSource(int cx, int cy, int flags, BOOL absolute)
{
    StepSource({ElementStep::Resize, cx, cy, flags, absolute});
}

void CFormElement::ResizeDest(int cx, int cy, int flags, BOOL absolute)
{
    if ((flags & ElementMoveFlags::IfSelected) && !IsSelected())
        return;
    const Rect r0 = GetDestRect();
    Rect r = r0;
    Announce(DocumentHint::DestRectChanged);
    const CPage* page = OutputPage();
    if (page == nullptr)
        return;
    ResizeElementRect(*page, r, cx, cy, flags, absolute);
    if (!r.IsNull()) {
        const QPoint p = ToPixels(*page, m_offset);
        r.Offset(-p.x(), -p.y());
    }
    m_destRect = r;
    if (GetDestRect() != r0) {
        Announce(DocumentHint::DestRectChanged);
        SetDocumentModified();
    }
}

BOOL CFormElement::IgnoresOffset() const
{
    return TRUE;
}

BOOL CFormElement::SnapsDestToGrid() const
{
    return TRUE;
}

namespace {

BOOL HitsRect(Rect r, QPoint point, BOOL selected)
{
    if (r.IsEmpty())
        return FALSE;
    if (selected)
        r.Inflate(1, 1);
    return r.Contains(point) ? TRUE : FALSE;
}

} // namespace

CFormElement* CFormElement::HitTestSource(QPoint point)
{
    return HitsRect(GetSourceRect(), point, IsSelected()) ? this : nullptr;
}

CFormElement* CFormElement::HitTestDest(QPoint point)
{
    return HitsRect(GetDestRect(), point, IsSelected()) ? this : nullptr;
}

BOOL CFormElement::IsSelected() const
{
    return m_selected;
}

BOOL CFormElement::Select(BOOL select)
{
    return ChangeSelection(select, DocumentHint::ElementChanged);
}

BOOL CFormElement::SelectAnnouncingDest(BOOL select)
{
    return ChangeSelection(select, DocumentHint::DestRectChanged);
}

BOOL CFormElement::SelectQuietly(BOOL select)
{
    return ChangeSelection(select, 0);
}

BOOL CFormElement::ChangeSelection(BOOL select, int hint)
{
    select = select ? TRUE : FALSE;
    if (select == m_selected)
        return FALSE;
    // The views repaint the old frame before it goes.
    if (hint != 0 && !select)
        Announce(hint);
    m_selected = select;
    if (hint != 0)
        Announce(hint);
    return TRUE;
}

BOOL CFormElement::SetParent(CFormElement* parent)
{
    if (parent == this || parent == m_pParent)
        return FALSE;
    const BOOL wasInLoop = IsInLoop();
    m_pParent = parent;
    // Absolute positions mean something only inside a loop.
    if (wasInLoop && !IsInLoop()) {
        m_sourceAbsolute = 0;
        m_destAbsolute = 0;
    }
    return TRUE;
}

CFormElement* CFormElement::GetParent() const
{
    return m_pParent;
}

BOOL CFormElement::HasParent() const
{
    return m_pParent != nullptr;
}

BOOL CFormElement::CanContain(const CFormElement*) const
{
    return FALSE;
}

BOOL CFormElement::AddChild(CFormElement*, CFormElement*)
{
    return FALSE;
}

BOOL CFormElement::RemoveChild(CFormElement*)
{
    return FALSE;
}

BOOL CFormElement::MoveChild(CFormElement*, CFormElement*, int)
{
    return FALSE;
}

void CFormElement::SortChildren() {}

ChildPosition CFormElement::GetFirstChildPosition() const
{
    return {};
}

CFormElement* CFormElement::GetNextChild(ChildPosition& position) const
{
    position = {};
    return nullptr;
}

BOOL CFormElement::IsLoopOrInLoop() const
{
    return m_pParent != nullptr ? m_pParent->IsLoopOrInLoop() : FALSE;
}

BOOL CFormElement::IsInLoop() const
{
    return m_pParent != nullptr && IsLoopOrInLoop();
}

TreeItem CFormElement::InsertIntoTree(IExplorerTree& tree, TreeItem parent)
{
    TreeItem item = tree.InsertItem(parent, m_description, this);
    if (item != nullptr && IsSelected())
        tree.SelectCaret(item);
    return item;
}

BOOL CFormElement::Find(const QString& text) const
{
    if (text.isEmpty())
        return FALSE;
    return m_description.contains(text, Qt::CaseSensitive);
}

BOOL CFormElement::Replace(const QString& find, const QString& replace)
{
    if (find.isEmpty() || !m_description.contains(find, Qt::CaseSensitive))
        return FALSE;
    QString copy = m_description;
    copy.replace(find, replace, Qt::CaseSensitive);
    return SetDescription(copy, this);
}

BOOL CFormElement::SetDescription(const QString& text, CFormElement* element)
{
    if (element == nullptr || text == element->m_description)
        return FALSE;
    element->m_description = text;
    element->Announce(DocumentHint::ElementChanged);
    element->SetDocumentModified();
    return TRUE;
}

BOOL CFormElement::SetDescriptionFromSource(CFormElement* element)
{
    if (element == nullptr || element->m_pDoc == nullptr)
        return FALSE;
    const CPage* page = element->SourcePage();
    CSpooledFile* spooledFile = element->m_pDoc->GetSpooledFile();
    if (page == nullptr || spooledFile == nullptr)
        return FALSE;
    Rect cells = element->m_sourceRect;
    page->RectToCells(cells);
    const QStringList lines = spooledFile->GetTextInRect(cells);
    if (lines.isEmpty())
        return FALSE;
    return SetDescription(lines.first().trimmed(), element);
}

int CFormElement::CompareElements(const CFormElement* first, const CFormElement* second, int)
{
    const CDesignerDoc* doc = first != nullptr ? first->m_pDoc : (second != nullptr ? second->m_pDoc : nullptr);
    if (doc == nullptr)
        return 0;
    WORD a = 0;
    WORD b = 0;
    FindElementIndex(doc->GetElementList(), first, &a);
    FindElementIndex(doc->GetElementList(), second, &b);
    return static_cast<int>(a) - static_cast<int>(b);
}

void CFormElement::DrawElementBox(QPainter& painter, const Rect& rect, const CFormElement* element, COLORREF colour)
{
    const QRect logical = rect.ToQRect();
    const bool visible =
        !rect.IsEmpty() && (!painter.hasClipping() || painter.clipBoundingRect().intersects(QRectF(logical)));
    if (visible)
        painter.fillRect(logical, kwvd::ToQColor(colour));

    const QRect device = painter.transform().mapRect(logical);
    // The selection frame is an editing aid: it never reaches paper.
    if (element != nullptr && element->IsSelected() && !IsPrinting(painter)) {
        painter.save();
        painter.resetTransform();
        painter.setClipping(false);
        QPen pen(Qt::black, 0, Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        // A frame just outside the box, where the tracker draws its border.
        painter.drawRect(device.adjusted(-1, -1, 0, 0));
        painter.restore();
        return;
    }
    if (visible && device.width() >= 3 && device.height() >= 3) {
        painter.save();
        painter.setPen(QPen(Qt::white, 0));
        painter.setBrush(Qt::NoBrush);
        // QPainter outlines through the last pixel; the box's right and
        // bottom are outside it.
        painter.drawRect(logical.adjusted(0, 0, -1, -1));
        painter.restore();
    }
}

// ---------------------------------------------------------------- persistence

thread_local std::vector<CFormElement*>* CFormElement::s_pReadLog = nullptr;

void CFormElement::DeleteMadeHere(CArchive& ar, CDesignerDoc* doc, const std::vector<CFormElement*>& read,
                                  const std::vector<CFormElement*>& made)
{
    std::vector<CFormElement*> deleted;
    for (CFormElement* element : read) {
        if (std::find(made.begin(), made.end(), element) == made.end()
            || std::find(deleted.begin(), deleted.end(), element) != deleted.end())
            continue;
        deleted.push_back(element);
        // A container made here may have taken in an element read before
        // it (listed beside it in a clipboard stream): that one stays with
        // its first reader.
        std::vector<CFormElement*> spared;
        auto collect = [&](auto&& self, CFormElement* container) -> void {
            ChildPosition position = container->GetFirstChildPosition();
            while (CFormElement* child = container->GetNextChild(position)) {
                if (!ar.IsMadeWithin(child, element))
                    spared.push_back(child);
                else
                    self(self, child);
            }
        };
        collect(collect, element);
        for (CFormElement* child : spared) {
            if (CFormElement* parent = child->GetParent())
                parent->RemoveChild(child);
            child->SetParent(nullptr);
        }
        ar.ForgetObject(element);
        if (doc != nullptr)
            doc->DeleteElement(element, TRUE);
        else
            delete element;
    }
}

namespace {

constexpr UINT kCurrentElementSchema = 20;

// The cells the WVD file stores; 1, 1, 1, 1 for no rectangle or no page.
Rect StoredCells(const CPage* page, const Rect& rect)
{
    Rect cells = rect;
    if (page == nullptr || page->GetCellWidth() <= 0 || page->GetCellHeight() <= 0)
        return Rect(1, 1, 1, 1);
    page->RectToCells(cells);
    return cells;
}

WORD ToWord(int value)
{
    return static_cast<WORD>(std::clamp(value, 0, 0xFFFF));
}

void CellsToPixels(const CPage* page, Rect& rect)
{
    if (page == nullptr) {
        rect = Rect();
        return;
    }
    const int cw = page->GetCellWidth();
    const int ch = page->GetCellHeight();
    rect = Rect((rect.left - 1) * cw, (rect.top - 1) * ch, (rect.right - 1) * cw, (rect.bottom - 1) * ch);
}

// The destination is cut to the page without being moved.
void ClipToPage(const CPage& page, Rect& rect)
{
    rect.left = std::max(rect.left, 0);
    rect.top = std::max(rect.top, 0);
    rect.right = std::min(rect.right, page.GetPixelWidth());
    rect.bottom = std::min(rect.bottom, page.GetPixelHeight());
}

int RecordNumber(const CFixedLenNum& field)
{
    return field.GetShort();
}

// A line written against the current line: "-" above it, "+" on or below
// it (counted from the line before, so the current line itself is +1).
void WriteLine(CFixedLenString& sign, CFixedLenNum& line, int top, int current)
{
    if (current == 0) {
        sign.Clear();
    } else if (top < current) {
        sign.SetValue(QStringLiteral("-"));
    } else {
        sign.SetValue(QStringLiteral("+"));
        --current;
    }
    line.SetValue(std::abs(top - current));
}

// The 1-based line of a record position; clears the absolute flag when the
// position is relative.
int ReadLine(const CFixedLenString& sign, int line, int current, int& absolute)
{
    if (sign.IsEqual(QStringLiteral("-"))) {
        absolute = 0;
        return current - line;
    }
    if (sign.IsEqual(QStringLiteral("+"))) {
        absolute = 0;
        return line + current - 1;
    }
    return line;
}

void NormalizeCells(Rect& cells)
{
    if (cells.left > cells.right)
        std::swap(cells.left, cells.right);
    if (cells.top > cells.bottom)
        std::swap(cells.top, cells.bottom);
}

} // namespace

CFormElement::CFormElement(CAPRTPDMRec& record) : m_pDoc(record.GetDocument()), m_pParent(record.GetParent())
{
    m_description = record.m_description.GetValue();
    m_autoDescription = m_description.isEmpty() ? 1 : 0;
    m_sourceAbsolute = 1;
    m_destAbsolute = 1;

    const int currentSource = m_pDoc != nullptr ? m_pDoc->m_currentSourceLine : 0;
    const int currentDest = m_pDoc != nullptr ? m_pDoc->m_currentDestLine : 0;
    const int lineCount = RecordNumber(record.m_lineCount);

    const int sourceTop =
        ReadLine(record.m_sourceSign, RecordNumber(record.m_sourceLine), currentSource, m_sourceAbsolute);
    Rect source(RecordNumber(record.m_sourceFirstColumn), sourceTop, RecordNumber(record.m_sourceLastColumn) + 1,
                sourceTop + lineCount);
    NormalizeCells(source);
    CellsToPixels(SourcePage(), source);
    if (const CPage* page = SourcePage()) {
        page->SnapToGrid(source);
        page->ClampToPage(source, TRUE);
    }
    m_sourceRect = source;

    const int destTop = ReadLine(record.m_destSign, RecordNumber(record.m_destLine), currentDest, m_destAbsolute);
    Rect dest(RecordNumber(record.m_destFirstColumn), destTop, RecordNumber(record.m_destLastColumn) + 1,
              destTop + lineCount);
    NormalizeCells(dest);
    CellsToPixels(OutputPage(), dest);

    // Absolute positions mean something only inside a loop.
    if (m_pParent == nullptr || !m_pParent->IsLoopOrInLoop()) {
        m_sourceAbsolute = 0;
        m_destAbsolute = 0;
    }
    if (const CPage* page = OutputPage()) {
        page->SnapToGrid(dest);
        page->ClampToPage(dest, TRUE);
    }
    m_destRect = dest;
}

void CFormElement::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        const Rect source = StoredCells(SourcePage(), m_sourceRect);
        const Rect dest = StoredCells(OutputPage(), m_destRect);
        ar << m_description;
        ar << ToWord(source.left) << ToWord(source.top) << ToWord(source.right) << ToWord(source.bottom);
        ar << ToWord(dest.left) << ToWord(dest.top) << ToWord(dest.right) << ToWord(dest.bottom);
        ar << ToWord(m_sourceAbsolute) << ToWord(m_destAbsolute);
        ar << static_cast<LONG>(m_widthAdjust) << static_cast<LONG>(m_heightAdjust);
        ar << static_cast<LONG>(m_offset.x()) << static_cast<LONG>(m_offset.y());
        ar << ToWord(m_autoDescription);
        return;
    }

    if (s_pReadLog != nullptr)
        s_pReadLog->push_back(this);
    SetDocument(dynamic_cast<CDesignerDoc*>(ar.m_pDocument));
    UINT schema = ar.GetObjectSchema();
    if (schema == CArchive::kNoObjectSchema)
        schema = kCurrentElementSchema;

    WORD cells[8] = {};
    WORD sourceAbsolute = 0;
    WORD destAbsolute = 0;
    ar >> m_description;
    for (WORD& cell : cells)
        ar >> cell;
    ar >> sourceAbsolute >> destAbsolute;
    m_sourceAbsolute = sourceAbsolute != 0 ? 1 : 0;
    m_destAbsolute = destAbsolute != 0 ? 1 : 0;

    m_widthAdjust = 0;
    m_heightAdjust = 0;
    m_autoDescription = 0;
    m_offset = QPoint(0, 0);
    if (schema > 3) {
        LONG width = 0;
        LONG height = 0;
        ar >> width >> height;
        // A fitted box never grows past the grid its cells are stored in; a
        // larger adjustment would overflow the pixel arithmetic of every fit.
        if (width < 0 || width > 0xFFFF || height < 0 || height > 0xFFFF)
            AfxThrowArchiveException(CArchiveException::badIndex, ar.GetFilePath());
        m_widthAdjust = width;
        m_heightAdjust = height;
    }
    if (schema >= 3) {
        LONG x = 0;
        LONG y = 0;
        WORD automatic = 0;
        ar >> x >> y >> automatic;
        m_autoDescription = automatic != 0 ? 1 : 0;
        SetOffset(QPoint(x, y));
    }

    Rect source(cells[0], cells[1], cells[2], cells[3]);
    Rect dest(cells[4], cells[5], cells[6], cells[7]);
    // Objects of schema 6 and before hold page pixels already.
    if (schema > 6) {
        CellsToPixels(SourcePage(), source);
        CellsToPixels(OutputPage(), dest);
    }
    if (!source.IsEmpty()) {
        if (const CPage* page = SourcePage()) {
            page->SnapToGrid(source);
            page->ClampToPage(source, TRUE);
        }
    }
    if (!dest.IsEmpty()) {
        if (const CPage* page = OutputPage()) {
            page->SnapToGrid(dest);
            ClipToPage(*page, dest);
        }
    }
    m_sourceRect = source;
    m_destRect = dest;
}

BOOL CFormElement::ToRecord(CAPRTPDMRec& record)
{
    record.AssignSequenceNumber();
    record.m_description.SetValue(m_description.left(50));
    if (record.GetDocument() != nullptr)
        SetDocument(record.GetDocument());

    int currentSource = m_pDoc != nullptr ? m_pDoc->m_currentSourceLine : 0;
    int currentDest = m_pDoc != nullptr ? m_pDoc->m_currentDestLine : 0;
    if (m_sourceAbsolute == 1)
        currentSource = 0;
    if (m_destAbsolute == 1)
        currentDest = 0;

    bool hasSource = false;
    if (const CPage* page = SourcePage()) {
        Rect cells = m_sourceRect;
        page->RectToCells(cells);
        if (!cells.IsEmpty()) {
            hasSource = true;
            WriteLine(record.m_sourceSign, record.m_sourceLine, cells.top, currentSource);
            record.m_sourceFirstColumn.SetValue(cells.left);
            record.m_sourceLastColumn.SetValue(cells.right - 1);
            record.m_lineCount.SetValue(cells.bottom - cells.top);
        }
    }
    if (const CPage* page = OutputPage()) {
        Rect cells = m_destRect;
        page->RectToCells(cells);
        cells.top += m_heightAdjust;
        cells.right -= m_widthAdjust;
        if (!cells.IsEmpty()) {
            WriteLine(record.m_destSign, record.m_destLine, cells.top, currentDest);
            record.m_destFirstColumn.SetValue(cells.left);
            record.m_destLastColumn.SetValue(cells.right - 1);
            if (!hasSource)
                record.m_lineCount.SetValue(cells.bottom - cells.top);
        }
    }
    record.m_destOffsetX.SetValue(m_offset.x());
    record.m_destOffsetY.SetValue(m_offset.y());
    return TRUE;
}

void CFormElement::ExportJVX(CJVXArchive&) {}

void CFormElement::AddMailAttachment(IMailAttachmentSink&) const {}

void CFormElement::AddToZip(IZipFileSink&) const {}

void CFormElement::ExportRecordJVX(CJVXArchive& ar)
{
    if (!ar.IsStoring())
        return;
    // Most lines of a file come through here: one record of forty fields is
    // reset for each instead of built and freed.
    thread_local CAPRTPDMRec record;
    record.Reset();
    record.SetDocument(ar.GetDocument());
    if (ToRecord(record))
        record.ExchangeJVX(ar);
}
