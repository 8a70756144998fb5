#include "designer/elements/FormContainerElement.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/document/jvx/JVXArchive.h"
#include "platform/framework/Archive.h"
#include "platform/framework/Exceptions.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

BOOL IsFlowKind(int type)
{
    switch (type) {
    case FormElementType::Conditional:
    case FormElementType::ExitParam:
    case FormElementType::ExitProgram:
    case FormElementType::Loop:
    case FormElementType::Remark:
    case FormElementType::Variable:
    case FormElementType::XmlAttribute:
        return TRUE;
    default:
        return FALSE;
    }
}

// The containers whose children are being read from a WVD archive, so that
// a list naming one of them (only a corrupt file does) is refused instead of
// closing a loop in the tree.
thread_local std::vector<const CFormElement*> t_containersReading;

class ReadingScope
{
public:
    explicit ReadingScope(const CFormElement* container) { t_containersReading.push_back(container); }
    ~ReadingScope() { t_containersReading.pop_back(); }
    ReadingScope(const ReadingScope&) = delete;
    ReadingScope& operator=(const ReadingScope&) = delete;
};

bool IsBeingRead(const CFormElement* element)
{
    return std::find(t_containersReading.begin(), t_containersReading.end(), element) != t_containersReading.end();
}

} // namespace

BOOL ContainerTypeAccepts(int containerType, int childType)
{
    if (!FormElementType::IsElementType(childType))
        return FALSE;
    switch (containerType) {
    case FormElementType::Conditional:
    case FormElementType::Loop:
        return childType != FormElementType::Loop;
    case FormElementType::Output:
        return childType == FormElementType::Address;
    case FormElementType::XmlElement:
        return IsFlowKind(childType) || childType == FormElementType::XmlComment
               || childType == FormElementType::XmlElement || childType == FormElementType::XmlInstruction;
    case FormElementType::XmlInstruction:
        return IsFlowKind(childType);
    default:
        return FALSE;
    }
}

CFormContainerElement::CFormContainerElement() = default;

CFormContainerElement::CFormContainerElement(CDesignerDoc* doc) : CFormElement(doc) {}

CFormContainerElement::CFormContainerElement(CAPRTPDMRec& record) : CFormElement(record) {}

CFormContainerElement::~CFormContainerElement()
{
    ReleaseChildren();
}

void CFormContainerElement::ReleaseChildren()
{
    if (m_children.IsEmpty())
        return;
    // The walk works on a copy: each hand-over takes the child out of the list.
    std::vector<CFormElement*> children;
    for (CObject* object : m_children)
        if (auto* child = dynamic_cast<CFormElement*>(object))
            children.push_back(child);

    CFormElement* newContainer = m_pParent;
    for (CFormElement* child : children) {
        if (m_pDoc == nullptr) {
            child->SetParent(newContainer);
            continue;
        }
        if (m_pDoc->ReparentElement(child, newContainer)) {
            m_pDoc->SetModifiedFlag(TRUE);
            m_pDoc->BroadcastHint(DocumentHint::ElementReparented, child->GetParent());
        } else {
            m_pDoc->DeleteElement(child, TRUE);
        }
    }
    m_children.RemoveAll();
    Announce(DocumentHint::ElementChanged);
}

void CFormContainerElement::Copy(const CFormElement& other)
{
    if (&other == this)
        return;
    CFormElement::Copy(other);
    m_children.RemoveAll();
    if (const auto* container = dynamic_cast<const CFormContainerElement*>(&other))
        for (CObject* child : container->m_children)
            m_children.AddTail(child);
}

BOOL CFormContainerElement::SetDocument(CDesignerDoc* doc)
{
    const BOOL changed = CFormElement::SetDocument(doc);
    // Every record a container writes passes here (see ExportChildrenJVX).
    for (CObject* object : m_children)
        if (object != nullptr && object->IsKindOf(KWVD_RUNTIME_CLASS(CFormElement)))
            static_cast<CFormElement*>(object)->SetDocument(doc);
    return changed;
}

BOOL CFormContainerElement::CanContain(const CFormElement* child) const
{
    if (child == nullptr || child == this)
        return FALSE;
    if (!ContainerTypeAccepts(GetType(), child->GetType()))
        return FALSE;
    // A Conditional takes only what the container above it takes as well.
    if (GetType() == FormElementType::Conditional && m_pParent != nullptr)
        return m_pParent->CanContain(child);
    return TRUE;
}

BOOL CFormContainerElement::AddChild(CFormElement* child, CFormElement*)
{
    // A child in the list names this container as its parent: only then is
    // the list walked, so adding many children does not grow with the
    // square of their number.
    if (!CanContain(child) || (child->GetParent() == this && m_children.Find(child) != m_children.end()))
        return FALSE;
    m_children.AddTail(child);
    child->SetParent(this);
    if (m_pDoc != nullptr)
        m_pDoc->BroadcastHint(DocumentHint::ElementAdded, child);
    return TRUE;
}

BOOL CFormContainerElement::RemoveChild(CFormElement* child)
{
    const auto it = m_children.Find(child);
    if (child == nullptr || it == m_children.end())
        return FALSE;
    m_children.RemoveAt(it);
    if (m_pDoc != nullptr)
        m_pDoc->BroadcastHint(DocumentHint::ElementRemoved, child);
    return TRUE;
}

BOOL CFormContainerElement::MoveChild(CFormElement* child, CFormElement* target, int where)
{
    if (m_pDoc == nullptr)
        return FALSE;
    if (!m_pDoc->MoveElement(target, child, static_cast<short>(where)))
        return FALSE;
    SortChildren();
    return TRUE;
}

void CFormContainerElement::SortChildren()
{
    if (m_pDoc == nullptr || m_children.GetCount() < 2)
        return;
    std::vector<std::pair<WORD, CObject*>> placed;
    for (CObject* object : m_children) {
        WORD index = 0;
        FindElementIndex(m_pDoc->GetElementList(), dynamic_cast<CFormElement*>(object), &index);
        placed.emplace_back(index, object);
    }
    std::stable_sort(placed.begin(), placed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    m_children.RemoveAll();
    for (const auto& entry : placed)
        m_children.AddTail(entry.second);
}

TreeItem CFormContainerElement::InsertIntoTree(IExplorerTree& tree, TreeItem parent)
{
    TreeItem item = CFormElement::InsertIntoTree(tree, parent);
    if (item == nullptr)
        return nullptr;
    for (CObject* object : m_children)
        if (auto* child = dynamic_cast<CFormElement*>(object))
            child->InsertIntoTree(tree, item);
    return item;
}

ChildPosition CFormContainerElement::GetFirstChildPosition() const
{
    return ChildPosition(&m_children, m_children.begin());
}

CFormElement* CFormContainerElement::GetNextChild(ChildPosition& position) const
{
    if (position.IsNull())
        return nullptr;
    auto it = position.Iterator();
    auto* child = dynamic_cast<CFormElement*>(*it);
    ++it;
    position = ChildPosition(position.List(), it);
    return child;
}

// ---------------------------------------------------------------- persistence

void CFormContainerElement::SerializeChildren(CArchive& ar)
{
    const bool keep = m_pDoc != nullptr && m_pDoc->m_serialising;
    if (ar.IsStoring()) {
        if (!keep) {
            ar.WriteCount(0);
            return;
        }
        ar.WriteCount(static_cast<DWORD>(m_children.GetCount()));
        for (CObject* child : m_children)
            ar.WriteObject(child);
        return;
    }

    ReadingScope reading(this);
    std::vector<CFormElement*> made;
    std::vector<CFormElement*> read;
    {
        ReadLogScope log(made);
        try {
            const DWORD count = ar.ReadCount();
            for (DWORD i = 0; i < count; ++i) {
                CFormElement* child = ar.ReadObject<CFormElement>();
                if (child == nullptr)
                    continue;
                if (keep
                    && (child == this || IsBeingRead(child)
                        || std::find(read.begin(), read.end(), child) != read.end())) {
                    AfxThrowArchiveException(CArchiveException::badIndex, ar.GetFilePath());
                }
                read.push_back(child);
            }
        } catch (...) {
            DeleteMadeHere(ar, m_pDoc, read, made);
            throw;
        }
    }
    if (!keep) {
        DeleteMadeHere(ar, m_pDoc, read, made);
        return;
    }
    for (CFormElement* child : read) {
        m_children.AddTail(child);
        child->SetParent(this);
    }
    AdoptChildren();
}

void CFormContainerElement::AdoptChildren()
{
    for (CObject* object : m_children) {
        auto* child = dynamic_cast<CFormElement*>(object);
        if (child == nullptr)
            continue;
        if (child->GetParent() != this)
            child->SetParent(this);
        child->SetDocument(m_pDoc);
        if (m_pDoc != nullptr && !m_pDoc->ContainsElement(child))
            m_pDoc->AddElement(child, FALSE, nullptr);
    }
}

void CFormContainerElement::ExportChildrenJVX(CJVXArchive& ar)
{
    // The class table answers in a few steps where a dynamic_cast compares
    // type names, once for every line of the file.
    for (CObject* object : m_children)
        if (object != nullptr && object->IsKindOf(KWVD_RUNTIME_CLASS(CFormElement)))
            static_cast<CFormElement*>(object)->ExportJVX(ar);
}

BOOL CFormContainerElement::ReadChildrenJVX(CJVXArchive& ar, int endType)
{
    CAPRTPDMRec record(ar.GetDocument());
    record.SetParent(this);
    BOOL complete = TRUE;
    try {
        for (;;) {
            record.Reset();
            record.ExchangeJVX(ar);
            if (record.IsEndOfData())
                break;
            if (record.IsValid()) {
                if (CFormElement* child = record.CreateElement(ar))
                    m_children.AddTail(child);
                continue;
            }
            if (record.GetType() == endType) {
                TakeEndRecord(record);
                break;
            }
            TakeNonElementRecord(record);
        }
    } catch (...) {
        ar.KeepReadError(std::current_exception());
        complete = FALSE;
    }
    AdoptChildren();
    return complete;
}

void CFormContainerElement::TakeNonElementRecord(const CAPRTPDMRec&) {}

void CFormContainerElement::TakeEndRecord(const CAPRTPDMRec&) {}
