#include "designer/elements/FormVariableElement.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/RecordLineSide.h"
#include "designer/elements/VariableStrings.h"
#include "designer/preferences/Preferences.h"
#include "platform/framework/Archive.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptService.h"
#include "platform/ui/StringTable.h"

#include <QSet>

#include <algorithm>
#include <array>

KWVD_IMPLEMENT_SERIAL(CFormVariableElement, CFormElement, VERSIONABLE_SCHEMA | 20)

namespace {

constexpr int kDescriptionLength = 50;
constexpr int kNewestVersion = 28;
// From this version on the record carries the name instead of the number.
constexpr int kFirstNamedVersion = 25;
// Schemas up to this one stored the number of a fixed variable.
constexpr UINT kLastNumberedSchema = 18;

constexpr std::array<const char*, FixedVariableTable::kCount> kFixedNames = {
    "VAR1", "VAR2", "VAR3", "VAR4", "VAR5", "VAR6", "COPIES", "DRAWER",
};

constexpr std::array<const char*, 8> kReservedNames = {
    "PARM1", "PARM2", "PARM3", "PARM4", "PARM5", "PARM6", "POSITION", "PAGE",
};

BOOL IsReservedName(const QString& name)
{
    for (const char* reserved : kReservedNames)
        if (name == QLatin1String(reserved))
            return TRUE;
    return FALSE;
}

COLORREF TableColour()
{
    return Preferences().GetElementColour(FormElementType::Variable - FormElementType::Address);
}

const CFormVariableElement* AsVariable(const CObject* object)
{
    return dynamic_cast<const CFormVariableElement*>(object);
}

// The number of distinct names the document's Variables carry, and whether
// the name is among them. One pass over a set: the limit is checked on every
// rename, with up to a thousand names in the document.
int CountDistinctNames(const CDesignerDoc* doc, const QString& name, bool& present)
{
    present = false;
    if (doc == nullptr)
        return 0;
    QSet<QString> names;
    for (const CObject* object : doc->GetElementList()) {
        if (const CFormVariableElement* variable = AsVariable(object)) {
            const QString& other = variable->GetVariableName();
            if (other.isEmpty() || other.size() > CFormVariableElement::kMaxNameLength)
                continue;
            names.insert(other);
            if (other == name)
                present = true;
        }
    }
    return static_cast<int>(names.size());
}

} // namespace

int FixedVariableTable::NumberOf(const QString& name)
{
    for (int i = 0; i < kCount; ++i)
        if (name == QLatin1String(kFixedNames[static_cast<size_t>(i)]))
            return i + 1;
    return 0;
}

QString FixedVariableTable::NameOf(int number)
{
    if (number < 1 || number > kCount)
        return {};
    return QString::fromLatin1(kFixedNames[static_cast<size_t>(number - 1)]);
}

CFormVariableElement::CFormVariableElement() = default;

CFormVariableElement::CFormVariableElement(CDesignerDoc* doc, const kwvd::Rect& rect, int side) : VariableBase(doc)
{
    m_colour = TableColour();
    m_useData = side == PaneSide::Input ? 0 : 1;
    const QStringList names = GetVariableNames(doc);
    if (!names.isEmpty())
        SetName(names.first());
    m_sourceRect = rect;
    m_sourceRect.Normalize();
    SnapToOneLine();
}

CFormVariableElement::CFormVariableElement(CAPRTPDMRec& record) : VariableBase(record)
{
    m_colour = TableColour();
    const QString data = record.m_data.GetValue();
    // A data variable's record has its position cleared, and no position
    // starts in column 0: such a record is a data variable even while its
    // data is still empty.
    const bool noPosition = RecordHasNoSourcePosition(record);
    if (RecordPassesConstantData(record))
        SetUseData(TRUE);
    if (noPosition && m_pDoc != nullptr)
        PlaceOnSideOfCurrentLine(record, SourcePage(), m_pDoc->m_currentSourceLine, m_sourceRect);
    m_data = data;
    UpdateAutoDescription();
    QString name = record.m_name.GetValue();
    if (name.isEmpty())
        name = FixedVariableTable::NameOf(record.m_paramNumber.GetShort());
    SetName(name);
    SnapToOneLine();
    m_destRect = kwvd::Rect();
}

CFormVariableElement::~CFormVariableElement()
{
    Announce(DocumentHint::ElementChanged);
}

CFormElement* CFormVariableElement::FromRecord(CAPRTPDMRec& record, CJVXArchive&)
{
    return new CFormVariableElement(record);
}

QStringList CFormVariableElement::GetVariableNames(const CDesignerDoc* doc)
{
    // The first 999 distinct names in document order, then sorted: what
    // AddSortedUniqueName builds one by one, without its cost per name.
    QStringList names;
    if (doc == nullptr)
        return names;
    QSet<QString> seen;
    for (const CObject* object : doc->GetElementList()) {
        if (names.size() >= kMaxVariableNames)
            break;
        const CFormVariableElement* variable = AsVariable(object);
        if (variable == nullptr)
            continue;
        const QString& name = variable->GetVariableName();
        if (name.isEmpty() || name.size() > kMaxNameLength || seen.contains(name))
            continue;
        seen.insert(name);
        names.append(name);
    }
    // QString's operator< is the ordinal order of the UTF-16 code units.
    std::sort(names.begin(), names.end());
    return names;
}

void CFormVariableElement::TellUser(const QString& text)
{
    const UINT type = MB_OK | MB_ICONEXCLAMATION;
    if (m_pDoc != nullptr)
        m_pDoc->NotifyUser(text, type, IDOK);
    else
        Prompts().MessageBox(text, {}, type);
}

BOOL CFormVariableElement::SetName(const QString& name)
{
    if (name == m_name)
        return FALSE;
    if (name.isEmpty() || name.size() > kMaxNameLength)
        return FALSE;
    if (IsReservedName(name)) {
        TellUser(LoadResString(IDS_VARIABLE_NAME_RESERVED));
        return FALSE;
    }
    // A name already in use adds nothing, so only a new one can pass the limit.
    bool present = false;
    if (CountDistinctNames(m_pDoc, name, present) >= kMaxVariableNames && !present) {
        TellUser(FormatResMessage(IDS_VARIABLE_MAXIMUM, kMaxVariableNames));
        return FALSE;
    }
    m_name = name;
    UpdateAutoDescription();
    SetDocumentModified();
    return TRUE;
}

void CFormVariableElement::UpdateAutoDescription()
{
    if (!IsAutoDescription() && !m_description.isEmpty())
        return;
    QString text = m_name;
    if (m_useData == 1)
        text += QStringLiteral("  ") + m_data.left(std::max(0, static_cast<int>(kDescriptionLength - m_name.size())));
    SetDescription(text, this);
}

void CFormVariableElement::Copy(const CFormElement& other)
{
    CFormElement::Copy(other);
    const auto* variable = dynamic_cast<const CFormVariableElement*>(&other);
    if (variable == nullptr)
        return;
    if (variable->m_name.isEmpty())
        m_name.clear();
    else
        SetName(variable->m_name);
    m_data = variable->m_data;
    SetUseData(variable->m_useData != 0);
    m_colour = variable->m_colour;
    // Name, data and flag arrive one by one; the description follows all three.
    UpdateAutoDescription();
}

int CFormVariableElement::GetType() const
{
    return FormElementType::Variable;
}

void CFormVariableElement::Serialize(CArchive& ar)
{
    CFormElement::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_name << m_data << static_cast<WORD>(m_useData);
        return;
    }

    const UINT schema = ar.GetObjectSchema();
    QString name;
    if (schema != CArchive::kNoObjectSchema && schema <= kLastNumberedSchema) {
        LONG number = 0;
        ar >> number;
        name = FixedVariableTable::NameOf(number);
    } else {
        ar >> name;
    }
    SetName(name);

    QString data;
    WORD useData = 0;
    ar >> data >> useData;
    SetUseData(useData != 0);
    if (data != m_data) {
        m_data = data;
        UpdateAutoDescription();
        SetDocumentModified();
    }
    RefreshColour();
}

void CFormVariableElement::ExportJVX(CJVXArchive& ar)
{
    if (!ar.IsStoring())
        return;
    int version = ar.GetVersion();
    if (version < 1 || version > kNewestVersion)
        version = kNewestVersion;
    CAPRTPDMRec record(ar.GetDocument());
    if (ToRecord(record, version))
        record.ExchangeJVX(ar);
}

BOOL CFormVariableElement::ToRecord(CAPRTPDMRec& record)
{
    return ToRecord(record, kNewestVersion);
}

BOOL CFormVariableElement::ToRecord(CAPRTPDMRec& record, int version)
{
    CFormElement::ToRecord(record);
    record.m_opcode.SetValue(QStringLiteral("VAR"));
    if (m_useData == 1) {
        record.m_data.SetValue(m_data);
        // A data variable has no position for the host to read.
        ClearRecordPositions(record);
    }
    if (version >= kFirstNamedVersion)
        record.m_name.SetValue(m_name);
    else
        record.m_paramNumber.SetValue(FixedVariableTable::NumberOf(m_name));
    return TRUE;
}

BOOL CFormVariableElement::RefreshColour()
{
    const COLORREF colour = TableColour();
    if (colour == m_colour)
        return FALSE;
    m_colour = colour;
    return TRUE;
}

void CFormVariableElement::Revalidate(int mode)
{
    CFormElement::Revalidate(mode);
    if (RefreshColour())
        Announce(DocumentHint::ElementChanged);
    UpdateAutoDescription();
}

kwvd::Rect CFormVariableElement::GetSourceRect() const
{
    return m_useData == 1 ? kwvd::Rect() : m_sourceRect;
}

void CFormVariableElement::DrawSource(QPainter& painter)
{
    if (m_useData == 0)
        DrawElementBox(painter, m_sourceRect, this, m_colour);
}

BOOL CFormVariableElement::Select(BOOL select)
{
    select = select ? TRUE : FALSE;
    if (select == m_selected)
        return FALSE;
    const bool position = m_useData == 0;
    if (position && !select)
        Announce(DocumentHint::SourceRectChanged);
    m_selected = select;
    if (position)
        Announce(DocumentHint::SourceRectChanged);
    return TRUE;
}

BOOL CFormVariableElement::Find(const QString& text) const
{
    if (text.isEmpty())
        return FALSE;
    return CFormElement::Find(text) || m_data.contains(text, Qt::CaseSensitive)
           || m_name.contains(text, Qt::CaseSensitive);
}

BOOL CFormVariableElement::Replace(const QString& find, const QString& replace)
{
    if (find.isEmpty())
        return FALSE;
    BOOL changed = FALSE;
    if (m_data.contains(find, Qt::CaseSensitive)) {
        QString data = m_data;
        data.replace(find, replace, Qt::CaseSensitive);
        if (data != m_data) {
            m_data = data;
            UpdateAutoDescription();
            SetDocumentModified();
            changed = TRUE;
        }
    }
    if (m_name.contains(find, Qt::CaseSensitive)) {
        QString name = m_name;
        name.replace(find, replace, Qt::CaseSensitive);
        if (SetName(name))
            changed = TRUE;
    }
    if (CFormElement::Replace(find, replace))
        changed = TRUE;
    return changed;
}

BOOL CFormVariableElement::UpdatePage(VariablePageValues& page) const
{
    VariablePageValues values;
    const CPage* source = SourcePage();
    const int cw = source != nullptr ? source->GetCellWidth() : 0;
    const int ch = source != nullptr ? source->GetCellHeight() : 0;
    if (cw > 0 && ch > 0) {
        values.column = m_sourceRect.left / cw + 1;
        values.line = m_sourceRect.top / ch + 1;
        values.width = m_sourceRect.Width() / cw;
        values.largestColumn = source->GetPixelWidth() / cw;
        values.largestLine = source->GetPixelHeight() / ch;
    }
    values.data = m_data;
    values.useData = m_useData != 0 ? TRUE : FALSE;
    values.name = m_name;
    values.forceAbsolute = IsSourceAbsolute();
    values.inLoop = IsInLoop();
    if (values == page)
        return FALSE;
    page = values;
    return TRUE;
}

BOOL CFormVariableElement::ApplyPage(const VariablePageValues& page, int what)
{
    BOOL changed = FALSE;
    const CPage* source = SourcePage();
    const int cw = source != nullptr ? source->GetCellWidth() : 0;
    const int ch = source != nullptr ? source->GetCellHeight() : 0;
    constexpr int kMoveXY = ElementMoveFlags::Left | ElementMoveFlags::Top;

    if ((what & VariablePageApply::Position) && source != nullptr) {
        if (SetUseData(FALSE))
            changed = TRUE;
        const int x = (page.column - 1) * cw;
        const int y = (page.line - 1) * ch;
        if (m_sourceRect.IsNull()) {
            // A variable made as data has no box yet: it gets one here,
            // where the page puts it, rather than staying invisible.
            Announce(DocumentHint::SourceRectChanged);
            m_sourceRect = kwvd::Rect(x, y, x + cw, y + ch);
            SnapToOneLine();
            SetDocumentModified();
            changed = TRUE;
        } else if (x != m_sourceRect.left || y != m_sourceRect.top) {
            MoveSource(x, y, kMoveXY, TRUE);
            changed = TRUE;
        }
    }
    if ((what & VariablePageApply::Width) && source != nullptr) {
        const int w = page.width * cw;
        if (m_sourceRect.Width() != w) {
            ResizeSource(w, ch, ElementMoveFlags::Right, TRUE);
            changed = TRUE;
        }
    }
    if ((what & VariablePageApply::Name) && SetName(page.name))
        changed = TRUE;
    if (what & VariablePageApply::Data) {
        if (SetUseData(TRUE))
            changed = TRUE;
        if (SetData(page.data))
            changed = TRUE;
    }
    if ((what & VariablePageApply::ForceAbsolute) && (page.forceAbsolute ? TRUE : FALSE) != IsSourceAbsolute()) {
        SetSourceAbsolute(page.forceAbsolute);
        SetDocumentModified();
        changed = TRUE;
    }
    return changed;
}
