#include "designer/elements/FormExitProgramElement.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/FormExitParamElement.h"
#include "platform/framework/Archive.h"
#include "platform/framework/Exceptions.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/PromptService.h"
#include "platform/ui/StringTable.h"

#include <algorithm>

KWVD_IMPLEMENT_SERIAL(CFormExitProgramElement, CFormElement, VERSIONABLE_SCHEMA | 20)

namespace {

constexpr UINT kCurrentSchema = 20;
constexpr UINT IDS_LIBRARY_LIST_FULL = 274;

// The host reads names of ten characters, blank-padded.
QString RecordName(const QString& name)
{
    return name.left(CFormExitProgramElement::kNameLength).leftJustified(CFormExitProgramElement::kNameLength, u' ');
}

QString TrimRight(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == u' ')
        --end;
    return text.left(end);
}

} // namespace

CFormExitProgramElement::CFormExitProgramElement() = default;

CFormExitProgramElement::CFormExitProgramElement(CDesignerDoc* doc) : CFormElement(doc) {}

CFormExitProgramElement::CFormExitProgramElement(CAPRTPDMRec& record) : CFormElement(record)
{
    if (RecordOpcodeToType(record) != FormElementType::ExitProgram)
        AfxThrowArchiveException(CArchiveException::badClass, QString());
    m_sourceRect = {};
    m_destRect = {};
    const QString& data = record.m_data.GetValue();
    m_programName = TrimRight(data.left(kNameLength));
    m_libraries.RemoveAll();
    for (int i = 1; i <= kMaxLibraries; ++i)
        m_libraries.Add(TrimRight(data.mid(kNameLength * i, kNameLength)));
}

CFormExitProgramElement::~CFormExitProgramElement()
{
    Announce(DocumentHint::ElementChanged);
}

void CFormExitProgramElement::Register()
{
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFormExitProgramElement));
    RegisterRecordElementFactory(FormElementType::ExitProgram, [](CAPRTPDMRec& record, CJVXArchive&) -> CFormElement* {
        return new CFormExitProgramElement(record);
    });
    StringTable::Add(
        IDS_LIBRARY_LIST_FULL,
        QStringLiteral("Library List Full. Each Exit Program can have a maximum of %1!d!  Library entries."));
}

BOOL CFormExitProgramElement::SetProgramName(const QString& name)
{
    if (name == m_programName)
        return FALSE;
    m_programName = name;
    SetDocumentModified();
    return TRUE;
}

void CFormExitProgramElement::SetLibraries(const CStringArray& libraries)
{
    m_libraries.RemoveAll();
    for (const QString& library : libraries) {
        if (library.isEmpty())
            continue;
        if (m_libraries.GetSize() < kMaxLibraries) {
            m_libraries.Add(library);
            continue;
        }
        // Nobody is asked anything while an undo snapshot or a clipboard
        // stream is read.
        if (m_pDoc != nullptr && m_pDoc->IsQuietRead())
            continue;
        AfxMessageBox(FormatResMessage(IDS_LIBRARY_LIST_FULL, kMaxLibraries), MB_OK | MB_ICONEXCLAMATION);
    }
}

void CFormExitProgramElement::GetLibraries(CStringArray& libraries) const
{
    libraries = m_libraries;
}

BOOL CFormExitProgramElement::LibrariesEqual(const CStringArray& a, const CStringArray& b)
{
    if (a.GetSize() != b.GetSize())
        return FALSE;
    return std::equal(a.begin(), a.end(), b.begin()) ? TRUE : FALSE;
}

void CFormExitProgramElement::FillExitParameters(std::vector<CFormExitParamElement*>& parameters) const
{
    parameters.clear();
    if (m_pDoc == nullptr)
        return;
    for (CObject* object : m_pDoc->GetElementList()) {
        if (object == this)
            break;
        auto* parameter = dynamic_cast<CFormExitParamElement*>(object);
        if (parameter == nullptr)
            continue;
        const int number = parameter->GetParamNumber();
        if (number < 0)
            continue;
        if (static_cast<size_t>(number) >= parameters.size())
            parameters.resize(static_cast<size_t>(number) + 1, nullptr);
        parameters[static_cast<size_t>(number)] = parameter;
    }
}

void CFormExitProgramElement::PreparePage(ExitProgramPageData& page) const
{
    FillExitParameters(page.parameters);
}

BOOL CFormExitProgramElement::UpdatePageData(ExitProgramPageData& page) const
{
    BOOL changed = FALSE;
    if (page.programName != m_programName) {
        page.programName = m_programName;
        changed = TRUE;
    }
    if (!LibrariesEqual(page.libraries, m_libraries)) {
        GetLibraries(page.libraries);
        changed = TRUE;
    }
    return changed;
}

BOOL CFormExitProgramElement::ApplyPageData(const ExitProgramPageData& page, DWORD what)
{
    BOOL changed = FALSE;
    if ((what & ExitProgramPageBits::ProgramName) && SetProgramName(page.programName))
        changed = TRUE;
    if ((what & ExitProgramPageBits::Libraries) && !LibrariesEqual(page.libraries, m_libraries)) {
        // Only what the list keeps counts: a refused sixth entry leaves the
        // list, the Build ID and the undo list as they were.
        const CStringArray before = m_libraries;
        SetLibraries(page.libraries);
        if (!LibrariesEqual(before, m_libraries)) {
            SetDocumentModified();
            changed = TRUE;
        }
    }
    return changed;
}

void CFormExitProgramElement::Copy(const CFormElement& other)
{
    if (&other == this)
        return;
    CFormElement::Copy(other);
    m_sourceRect = {};
    m_destRect = {};
    const auto* program = dynamic_cast<const CFormExitProgramElement*>(&other);
    if (program == nullptr)
        return;
    m_programName = program->m_programName;
    SetLibraries(program->m_libraries);
}

int CFormExitProgramElement::GetType() const
{
    return FormElementType::ExitProgram;
}

void CFormExitProgramElement::Serialize(CArchive& ar)
{
    CFormElement::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_programName;
        CStringArray libraries = m_libraries;
        libraries.Serialize(ar);
        m_sourceRect = {};
        m_destRect = {};
        return;
    }

    UINT schema = ar.GetObjectSchema();
    if (schema == CArchive::kNoObjectSchema)
        schema = kCurrentSchema;
    ar >> m_programName;
    CStringArray libraries;
    if (schema <= 10) {
        QString library;
        ar >> library;
        libraries.Add(library);
        if (schema < 8)
            DropOldElementList(ar);
    } else {
        libraries.Serialize(ar);
    }
    SetLibraries(libraries);
    m_sourceRect = {};
    m_destRect = {};
}

void CFormExitProgramElement::DropOldElementList(CArchive& ar)
{
    // The list held elements the program no longer owns; those made by this
    // read are deleted, so none stays behind as a font or device user.
    std::vector<CFormElement*> made;
    std::vector<CFormElement*> read;
    const auto deleteMade = [&] { DeleteMadeHere(ar, m_pDoc, read, made); };
    ReadLogScope log(made);
    try {
        const DWORD count = ar.ReadCount();
        for (DWORD i = 0; i < count; ++i) {
            if (CFormElement* element = ar.ReadObject<CFormElement>())
                read.push_back(element);
        }
    } catch (...) {
        deleteMade();
        throw;
    }
    deleteMade();
}

BOOL CFormExitProgramElement::ToRecord(CAPRTPDMRec& record)
{
    CFormElement::ToRecord(record);
    QString data = RecordName(m_programName);
    const qsizetype count = std::min<qsizetype>(m_libraries.GetSize(), kMaxLibraries);
    for (qsizetype i = 0; i < count; ++i)
        data += RecordName(m_libraries.GetAt(i));
    record.m_opcode.SetValue(QStringLiteral("CALL"));
    record.m_data.SetValue(data.toUpper());
    return TRUE;
}

void CFormExitProgramElement::ExportJVX(CJVXArchive& ar)
{
    ExportRecordJVX(ar);
}

BOOL CFormExitProgramElement::Select(BOOL select)
{
    return SelectQuietly(select);
}

BOOL CFormExitProgramElement::Find(const QString& text) const
{
    if (text.isEmpty())
        return FALSE;
    if (CFormElement::Find(text) || m_programName.contains(text, Qt::CaseSensitive))
        return TRUE;
    return std::any_of(m_libraries.begin(), m_libraries.end(),
                       [&](const QString& library) { return library.contains(text, Qt::CaseSensitive); })
               ? TRUE
               : FALSE;
}

BOOL CFormExitProgramElement::Replace(const QString& find, const QString& replace)
{
    if (find.isEmpty())
        return FALSE;
    BOOL changed = FALSE;
    if (m_programName.contains(find, Qt::CaseSensitive)) {
        m_programName.replace(find, replace, Qt::CaseSensitive);
        changed = TRUE;
    }
    for (QString& library : m_libraries) {
        if (library.contains(find, Qt::CaseSensitive)) {
            library.replace(find, replace, Qt::CaseSensitive);
            changed = TRUE;
        }
    }
    if (changed)
        SetDocumentModified();
    if (CFormElement::Replace(find, replace))
        changed = TRUE;
    return changed;
}
