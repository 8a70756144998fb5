#include "designer/elements/FormConditionalElement.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/SpooledFile.h"
#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/RecordLineSide.h"
#include "designer/preferences/Preferences.h"
#include "platform/framework/Archive.h"

#include <array>

KWVD_IMPLEMENT_SERIAL(CFormConditionalElement, CFormElement, VERSIONABLE_SCHEMA | 20)

namespace {

const QString kPositionSubject = QStringLiteral("POSITION");
const QString kPageSubject = QStringLiteral("PAGE");

struct OperatorText
{
    const char* symbol;
    const char* code;
};

constexpr std::array<OperatorText, 6> kOperators = {{
    {"==", "EQ"},
    {"!=", "NE"},
    {">", "GT"},
    {"<", "LT"},
    {">=", "GE"},
    {"<=", "LE"},
}};

COLORREF TableColour()
{
    return Preferences().GetElementColour(FormElementType::Conditional - FormElementType::Address);
}

} // namespace

CFormConditionalElement::CFormConditionalElement() = default;

CFormConditionalElement::CFormConditionalElement(CDesignerDoc* doc, const kwvd::Rect& rect, int side)
    : OneLineSourceElement<CFormContainerElement>(doc)
{
    m_colour = TableColour();
    m_subject = side == PaneSide::Input ? kPositionSubject : kPageSubject;
    m_sourceRect = rect;
    m_sourceRect.Normalize();
    m_destRect = kwvd::Rect();
    m_selected = TRUE;
    SnapToOneLine();
    SetDescriptionFromSource(this);
    SetValueFromSource();
    UpdateAutoDescription();
}

CFormConditionalElement::CFormConditionalElement(CAPRTPDMRec& record, CJVXArchive& ar)
    : OneLineSourceElement<CFormContainerElement>(record)
{
    SetDestAbsolute(FALSE);
    m_destRect = kwvd::Rect();
    m_colour = TableColour();
    m_value = record.m_data.GetValue();
    m_subject = record.m_name.GetValue();
    if (m_subject.isEmpty())
        m_subject = kPositionSubject;
    m_operator = OperatorFromCode(record);
    // A page subject's record keeps only the side of the enclosing line.
    if (RecordHasNoSourcePosition(record) && m_pDoc != nullptr)
        PlaceOnSideOfCurrentLine(record, SourcePage(), m_pDoc->m_currentSourceLine, m_sourceRect);
    {
        // Own line read against the enclosing lines; the children against
        // this one when it rebases.
        RebaseScope rebase(*this);
        ReadChildrenJVX(ar, FormElementType::EndConditional);
    }
    SnapToOneLine();
}

void CFormConditionalElement::Register()
{
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFormConditionalElement));
    RegisterRecordElementFactory(
        FormElementType::Conditional,
        [](CAPRTPDMRec& record, CJVXArchive& ar) -> CFormElement* { return new CFormConditionalElement(record, ar); });
}

// ---------------------------------------------------------------- values

BOOL CFormConditionalElement::SetCompareValue(const QString& value)
{
    if (value == m_value)
        return FALSE;
    m_value = value;
    UpdateAutoDescription();
    SetDocumentModified();
    return TRUE;
}

QString CFormConditionalElement::GetSubject() const
{
    return m_subject.isEmpty() ? kPositionSubject : m_subject;
}

BOOL CFormConditionalElement::SetSubject(const QString& subject)
{
    const QString value = subject.isEmpty() ? kPositionSubject : subject;
    if (value == m_subject)
        return FALSE;
    m_subject = value;
    UpdateAutoDescription();
    SetDocumentModified();
    return TRUE;
}

BOOL CFormConditionalElement::SetOperator(short op)
{
    if (!ConditionalOperator::IsValid(op) || op == m_operator)
        return FALSE;
    m_operator = op;
    UpdateAutoDescription();
    SetDocumentModified();
    return TRUE;
}

BOOL CFormConditionalElement::SetBreakLoop(BOOL breakLoop)
{
    breakLoop = breakLoop ? TRUE : FALSE;
    if (breakLoop == m_breakLoop)
        return FALSE;
    m_breakLoop = breakLoop;
    SetDocumentModified();
    return TRUE;
}

BOOL CFormConditionalElement::IsPositionSubject() const
{
    return m_subject == kPositionSubject;
}

QString CFormConditionalElement::OperatorSymbol(int op)
{
    if (!ConditionalOperator::IsValid(op))
        return {};
    return QString::fromLatin1(kOperators[static_cast<size_t>(op)].symbol);
}

QString CFormConditionalElement::GetOperatorSymbol() const
{
    return OperatorSymbol(m_operator);
}

short CFormConditionalElement::OperatorFromCode(const CAPRTPDMRec& record)
{
    const QString& code = record.m_comparison.GetValue();
    for (size_t i = 0; i < kOperators.size(); ++i)
        if (code == QLatin1String(kOperators[i].code))
            return static_cast<short>(i);
    // The host's own default for a blank or unknown code.
    return ConditionalOperator::GreaterOrEqual;
}

BOOL CFormConditionalElement::SetOperatorCode(CAPRTPDMRec& record, int op)
{
    if (!ConditionalOperator::IsValid(op)) {
        record.m_comparison.Clear();
        return FALSE;
    }
    record.m_comparison.SetValue(QString::fromLatin1(kOperators[static_cast<size_t>(op)].code));
    return TRUE;
}

void CFormConditionalElement::UpdateAutoDescription()
{
    if (!IsAutoDescription() && !m_description.isEmpty())
        return;
    SetDescription(GetSubject() + QLatin1Char(' ') + GetOperatorSymbol() + QLatin1Char(' ') + m_value, this);
}

void CFormConditionalElement::SetValueFromSource()
{
    const CPage* page = SourcePage();
    CSpooledFile* spooledFile = m_pDoc != nullptr ? m_pDoc->GetSpooledFile() : nullptr;
    if (page == nullptr || spooledFile == nullptr)
        return;
    kwvd::Rect cells = m_sourceRect;
    page->RectToCells(cells);
    const QStringList lines = spooledFile->GetTextInRect(cells);
    if (lines.isEmpty())
        return;
    SetCompareValue(lines.first());
}

// ---------------------------------------------------------------- property page

void CFormConditionalElement::PreparePage(ConditionalPageData& page) const
{
    page.limits = PageCellLimits::Of(SourcePage());
}

BOOL CFormConditionalElement::UpdatePage(ConditionalPageData& page) const
{
    ConditionalPageData shown = page;
    if (const CPage* in = SourcePage(); in != nullptr && in->GetCellWidth() > 0 && in->GetCellHeight() > 0) {
        shown.column = m_sourceRect.left / in->GetCellWidth() + 1;
        shown.line = m_sourceRect.top / in->GetCellHeight() + 1;
        shown.width = m_sourceRect.Width() / in->GetCellWidth();
    }
    shown.compareValue = m_value;
    shown.op = m_operator;
    shown.forceAbsolute = IsSourceAbsolute() ? 1 : 0;
    shown.inLoop = IsInLoop() ? 1 : 0;
    shown.breakLoop = m_breakLoop ? 1 : 0;
    shown.loopOrInLoop = IsLoopOrInLoop() ? 1 : 0;
    shown.subject = GetSubject();
    const BOOL changed = shown.column != page.column || shown.line != page.line || shown.width != page.width
                         || shown.compareValue != page.compareValue || shown.op != page.op
                         || shown.forceAbsolute != page.forceAbsolute || shown.inLoop != page.inLoop
                         || shown.breakLoop != page.breakLoop || shown.loopOrInLoop != page.loopOrInLoop
                         || shown.subject != page.subject;
    page = shown;
    return changed;
}

BOOL CFormConditionalElement::ApplyPage(const ConditionalPageData& page, DWORD what)
{
    BOOL changed = FALSE;
    const CPage* in = SourcePage();
    const int cw = in != nullptr ? in->GetCellWidth() : 0;
    const int ch = in != nullptr ? in->GetCellHeight() : 0;
    if ((what & ConditionalPageData::Position) && cw > 0 && ch > 0) {
        const int x = (page.column - 1) * cw;
        const int y = (page.line - 1) * ch;
        if (x != m_sourceRect.left || y != m_sourceRect.top) {
            const kwvd::Rect before = m_sourceRect;
            MoveSource(x, y, ElementMoveFlags::Left | ElementMoveFlags::Top, TRUE);
            changed |= m_sourceRect != before ? TRUE : FALSE;
        }
    }
    if ((what & ConditionalPageData::Width) && cw > 0) {
        const int w = page.width * cw;
        if (w != m_sourceRect.Width()) {
            const kwvd::Rect before = m_sourceRect;
            ResizeSource(w, 0, ElementMoveFlags::Right, TRUE);
            changed |= m_sourceRect != before ? TRUE : FALSE;
        }
    }
    if ((what & ConditionalPageData::Operator) && SetOperator(static_cast<short>(page.op)))
        changed = TRUE;
    if ((what & ConditionalPageData::CompareValue) && SetCompareValue(page.compareValue))
        changed = TRUE;
    if ((what & ConditionalPageData::ForceAbsolute) && (page.forceAbsolute != 0) != (IsSourceAbsolute() != FALSE)) {
        SetSourceAbsolute(page.forceAbsolute != 0);
        SetDocumentModified();
        changed = TRUE;
    }
    if ((what & ConditionalPageData::BreakLoop) && SetBreakLoop(page.breakLoop != 0))
        changed = TRUE;
    if ((what & ConditionalPageData::Subject) && !page.subject.isEmpty() && page.subject != GetSubject()) {
        if (page.subject == kPositionSubject) {
            SetSubject(page.subject);
            Announce(DocumentHint::SourceRectChanged);
        } else {
            Announce(DocumentHint::SourceRectChanged);
            SetSubject(page.subject);
            Announce(DocumentHint::SelectionChanged);
        }
        changed = TRUE;
    }
    return changed;
}

// ---------------------------------------------------------------- rebasing

BOOL CFormConditionalElement::IsRebasing() const
{
    if (!IsLoopOrInLoop() || !IsPositionSubject() || IsSourceAbsolute())
        return FALSE;
    for (const CFormElement* above = m_pParent; above != nullptr; above = above->GetParent()) {
        if (above->GetType() == FormElementType::Loop)
            return TRUE;
        const auto* conditional = dynamic_cast<const CFormConditionalElement*>(above);
        if (conditional != nullptr && conditional->IsRebasing())
            return FALSE;
    }
    return FALSE;
}

CFormConditionalElement::RebaseScope::RebaseScope(CFormConditionalElement& element)
{
    CDesignerDoc* doc = element.m_pDoc;
    const CPage* page = element.SourcePage();
    if (doc == nullptr || page == nullptr || !element.IsRebasing())
        return;
    m_pDoc = doc;
    m_savedSource = doc->m_currentSourceLine;
    m_savedDest = doc->m_currentDestLine;
    kwvd::Rect cells = element.m_sourceRect;
    page->RectToCells(cells);
    doc->m_currentSourceLine = cells.top;
    doc->m_currentDestLine = m_savedDest + cells.top - m_savedSource;
}

CFormConditionalElement::RebaseScope::~RebaseScope()
{
    if (m_pDoc == nullptr)
        return;
    m_pDoc->m_currentSourceLine = m_savedSource;
    m_pDoc->m_currentDestLine = m_savedDest;
}

// ---------------------------------------------------------------- tree

BOOL CFormConditionalElement::SetParent(CFormElement* parent)
{
    const bool inLoopThere = parent != nullptr && parent->IsLoopOrInLoop();
    if (IsInLoop() && !inLoopThere && parent != this)
        m_breakLoop = FALSE;
    return OneLineSourceElement<CFormContainerElement>::SetParent(parent);
}

void CFormConditionalElement::Copy(const CFormElement& other)
{
    if (&other == this)
        return;
    OneLineSourceElement<CFormContainerElement>::Copy(other);
    const auto* conditional = dynamic_cast<const CFormConditionalElement*>(&other);
    if (conditional == nullptr)
        return;
    m_colour = conditional->m_colour;
    m_value = conditional->m_value;
    m_subject = conditional->m_subject;
    m_operator = conditional->m_operator;
    m_breakLoop = conditional->m_breakLoop;
}

int CFormConditionalElement::GetType() const
{
    return FormElementType::Conditional;
}

// ---------------------------------------------------------------- persistence

void CFormConditionalElement::Serialize(CArchive& ar)
{
    CFormElement::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_value << static_cast<WORD>(m_operator) << static_cast<WORD>(m_breakLoop ? 1 : 0) << static_cast<WORD>(0)
           << m_subject;
    } else {
        UINT schema = ar.GetObjectSchema();
        if (schema == CArchive::kNoObjectSchema)
            schema = 20;
        WORD op = 0;
        WORD breakLoop = 0;
        ar >> m_value >> op >> breakLoop;
        if (schema > 5) {
            WORD reserved = 0;
            ar >> reserved;
        }
        QString subject;
        if (schema > 7)
            ar >> subject;
        m_subject = subject.isEmpty() ? kPositionSubject : subject;
        // A file's operator outside the six reads as the host and the JVX
        // reader take an empty code, rather than reaching the host empty.
        m_operator = ConditionalOperator::IsValid(op) ? static_cast<short>(op)
                                                      : static_cast<short>(ConditionalOperator::GreaterOrEqual);
        m_breakLoop = breakLoop != 0 ? TRUE : FALSE;
        RefreshColour();
    }
    m_destRect = kwvd::Rect();
    SerializeChildren(ar);
}

BOOL CFormConditionalElement::ToRecord(CAPRTPDMRec& record)
{
    CFormElement::ToRecord(record);
    if (IsPositionSubject()) {
        record.m_opcode.SetValue(QStringLiteral("IF"));
    } else {
        // The host finds a page subject by name; a position would mislead it.
        record.m_opcode.SetValue(QStringLiteral("IFP"));
        record.m_sourceLine.SetValue(0);
        record.m_sourceFirstColumn.SetValue(0);
        record.m_sourceLastColumn.SetValue(0);
        record.m_lineCount.SetValue(0);
    }
    record.m_name.SetValue(GetSubject());
    record.m_data.SetValue(m_value);
    SetOperatorCode(record, m_operator);
    return TRUE;
}

void CFormConditionalElement::WriteRecord(CJVXArchive& ar, const char* opcode)
{
    CAPRTPDMRec record(ar.GetDocument());
    if (!ToRecord(record))
        return;
    if (opcode != nullptr)
        record.m_opcode.SetValue(QString::fromLatin1(opcode));
    record.ExchangeJVX(ar);
}

void CFormConditionalElement::ExportJVX(CJVXArchive& ar)
{
    if (!ar.IsStoring())
        return;
    // Before the own record, so that a rebasing Conditional writes its own
    // line as the base line too.
    RebaseScope rebase(*this);
    WriteRecord(ar, nullptr);
    ExportChildrenJVX(ar);
    if (m_breakLoop)
        WriteRecord(ar, "BRKL");
    WriteRecord(ar, "ENDI");
}

void CFormConditionalElement::TakeNonElementRecord(const CAPRTPDMRec& record)
{
    if (record.GetType() == FormElementType::BreakLoop)
        m_breakLoop = TRUE;
}

// ---------------------------------------------------------------- views

BOOL CFormConditionalElement::RefreshColour()
{
    const COLORREF colour = TableColour();
    if (colour == m_colour)
        return FALSE;
    m_colour = colour;
    return TRUE;
}

void CFormConditionalElement::Revalidate(int mode)
{
    CFormElement::Revalidate(mode);
    if (RefreshColour())
        Announce(DocumentHint::ElementChanged);
    SnapToOneLine();
}

kwvd::Rect CFormConditionalElement::GetSourceRect() const
{
    return IsPositionSubject() ? m_sourceRect : kwvd::Rect();
}

void CFormConditionalElement::DrawSource(QPainter& painter)
{
    if (IsPositionSubject())
        DrawElementBox(painter, m_sourceRect, this, m_colour);
}

BOOL CFormConditionalElement::Select(BOOL select)
{
    select = select ? TRUE : FALSE;
    if (select == m_selected)
        return FALSE;
    if (!select)
        Announce(DocumentHint::SourceRectChanged);
    m_selected = select;
    Announce(DocumentHint::SourceRectChanged);
    return TRUE;
}

BOOL CFormConditionalElement::Find(const QString& text) const
{
    if (text.isEmpty())
        return FALSE;
    return CFormElement::Find(text) || m_value.contains(text, Qt::CaseSensitive)
           || m_subject.contains(text, Qt::CaseSensitive);
}

BOOL CFormConditionalElement::Replace(const QString& find, const QString& replace)
{
    if (find.isEmpty())
        return FALSE;
    BOOL changed = FALSE;
    if (m_value.contains(find, Qt::CaseSensitive)) {
        QString value = m_value;
        value.replace(find, replace, Qt::CaseSensitive);
        if (value != m_value) {
            m_value = value;
            UpdateAutoDescription();
            SetDocumentModified();
            changed = TRUE;
        }
    }
    if (m_subject.contains(find, Qt::CaseSensitive)) {
        QString subject = m_subject;
        subject.replace(find, replace, Qt::CaseSensitive);
        if (SetSubject(subject))
            changed = TRUE;
    }
    if (CFormElement::Replace(find, replace))
        changed = TRUE;
    return changed;
}
