// The element tree operations of the document: the only road by which
// elements are created, placed, moved, re-parented, reordered and deleted, so
// that the element list, the containers' children and the z-order list stay
// consistent.

#include "designer/document/DesignerDoc.h"
#include "designer/document/ExplorerTreeOrder.h"

#include "designer/elements/FormAddressElement.h"
#include "designer/elements/FormBarcodeElement.h"
#include "designer/elements/FormConditionalElement.h"
#include "designer/elements/FormElement.h"
#include "designer/elements/FormEraserElement.h"
#include "designer/elements/FormExitParamElement.h"
#include "designer/elements/FormExitProgramElement.h"
#include "designer/elements/FormImageElement.h"
#include "designer/elements/FormLoopElement.h"
#include "designer/elements/FormOutputElement.h"
#include "designer/elements/FormRemarkElement.h"
#include "designer/elements/FormResourceElement.h"
#include "designer/elements/FormSourceElement.h"
#include "designer/elements/FormTextElement.h"
#include "designer/elements/FormVariableElement.h"
#include "designer/elements/FormXmlAttributeElement.h"
#include "designer/elements/FormXmlCommentElement.h"
#include "designer/elements/FormXmlElement.h"
#include "designer/elements/FormXmlInstructionElement.h"
#include "designer/output/OutputDeviceManager.h"

#include <vector>

namespace {

CFormElement* AsElement(CObject* object)
{
    return dynamic_cast<CFormElement*>(object);
}

std::vector<CFormElement*> ChildrenOf(const CFormElement* container)
{
    std::vector<CFormElement*> children;
    ChildPosition position = container->GetFirstChildPosition();
    while (position)
        if (CFormElement* child = container->GetNextChild(position))
            children.push_back(child);
    return children;
}

// TRUE when candidate is element itself or lies somewhere below it.
bool IsSameOrInside(const CFormElement* candidate, const CFormElement* element)
{
    for (const CFormElement* e = candidate; e != nullptr; e = e->GetParent())
        if (e == element)
            return true;
    return false;
}

} // namespace

BOOL FindElementIndex(const CObList& list, const CFormElement* element, WORD* index)
{
    WORD position = 0;
    if (element != nullptr) {
        for (const CObject* object : list) {
            if (object == element) {
                if (index != nullptr)
                    *index = position;
                return TRUE;
            }
            ++position;
        }
    }
    if (index != nullptr)
        *index = 0;
    return FALSE;
}

QSize GetElementsExtent(const CObList& elements)
{
    kwvd::Rect extent;
    for (CObject* object : elements)
        if (const CFormElement* element = AsElement(object))
            extent = extent.United(element->GetDestRect());
    return QSize(extent.Width(), extent.Height());
}

void AddSortedUniqueName(QStringList& names, const QString& name)
{
    if (name.isEmpty() || name.size() > 10 || names.contains(name))
        return;
    // Ordinal order of the UTF-16 code units, as QString's own comparison.
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (QString::compare(names.at(i), name, Qt::CaseSensitive) > 0) {
            names.insert(i, name);
            return;
        }
    }
    names.append(name);
}

BOOL CDesignerDoc::ContainsElement(const CFormElement* element) const
{
    return element != nullptr && m_elementAt.contains(element);
}

void CDesignerDoc::ListElementBefore(CObList::const_iterator position, CObject* element)
{
    m_elementAt[element] = m_elements.InsertBefore(position, element);
}

void CDesignerDoc::UnlistElement(CObList::iterator position)
{
    m_elementAt.erase(*position);
    m_elements.RemoveAt(position);
}

CObList::iterator CDesignerDoc::ElementPosition(const CObject* element)
{
    const auto found = m_elementAt.find(element);
    return found != m_elementAt.end() ? found->second : m_elements.end();
}

void CDesignerDoc::AddToZOrder(CObject* element, bool front)
{
    m_zOrderAt[element] = m_zOrder.InsertBefore(front ? m_zOrder.begin() : m_zOrder.end(), element);
}

void CDesignerDoc::RemoveFromZOrder(const CObject* element)
{
    const auto found = m_zOrderAt.find(element);
    if (found == m_zOrderAt.end())
        return;
    m_zOrder.RemoveAt(found->second);
    m_zOrderAt.erase(found);
}

void CDesignerDoc::ClearZOrder()
{
    m_zOrder.RemoveAll();
    m_zOrderAt.clear();
}

CFormElement* CDesignerDoc::CreateNewElement(int type, int side, const kwvd::Rect& rect, CFormElement* anchor)
{
    (void)side;
    (void)rect;
    CFormElement* element = nullptr;
    switch (type) {
    case FormElementType::Output:
        element = new CFormOutputElement(this);
        break;
    case FormElementType::Address:
        element = new CFormAddressElement(this, rect);
        break;
    case FormElementType::Source:
        element = new CFormSourceElement(this, rect);
        break;
    case FormElementType::Text:
        element = new CFormTextElement(this, rect);
        break;
    case FormElementType::Eraser:
        element = new CFormEraserElement(this, rect);
        break;
    case FormElementType::Remark:
        element = new CFormRemarkElement(this);
        break;
    case FormElementType::Variable:
        element = new CFormVariableElement(this, rect, side);
        break;
    case FormElementType::ExitParam:
        element = new CFormExitParamElement(this, rect, side);
        break;
    case FormElementType::ExitProgram:
        element = new CFormExitProgramElement(this);
        break;
    case FormElementType::Conditional:
        element = new CFormConditionalElement(this, rect, side);
        break;
    case FormElementType::Loop:
        element = new CFormLoopElement(this, rect);
        break;
    case FormElementType::XmlAttribute:
        element = new CFormXmlAttributeElement(this, rect, side);
        break;
    case FormElementType::XmlComment:
        element = new CFormXmlCommentElement(this, rect, side);
        break;
    case FormElementType::XmlElement:
        element = new CFormXmlElement(this, rect, side);
        break;
    case FormElementType::XmlInstruction:
        element = new CFormXmlInstructionElement(this);
        break;
    case FormElementType::Barcode:
        element = new CFormBarcodeElement(this, rect);
        break;
    case FormElementType::Image: {
        auto* image = new CFormImageElement(this, rect, side);
        if (!image->HasValidImage()) {
            delete image;
            return nullptr;
        }
        element = image;
        break;
    }
    case FormElementType::Resource:
        element = new CFormResourceElement(this);
        break;
    default:
        // The other kinds are made here once they exist.
        return nullptr;
    }
    if (AddElement(element, TRUE, anchor) == nullptr) {
        delete element;
        return nullptr;
    }
    return element;
}

CFormElement* CDesignerDoc::AddElement(CFormElement* element, BOOL keepOutputLast, CFormElement* anchor)
{
    if (element == nullptr)
        return nullptr;
    element->SetDocument(this);
    if (ContainsElement(element))
        return nullptr;

    // Only a caller that keeps the Output element last needs to know which
    // element that is: reading a file adds every element without it.
    CFormElement* last = keepOutputLast == TRUE ? GetLastTopLevelElement() : nullptr;
    if (last != nullptr && last->GetType() == FormElementType::Output)
        ListElementBefore(ElementPosition(last), element);
    else
        ListElementBefore(m_elements.end(), element);
    AddToZOrder(element, true);

    if (anchor != nullptr && anchor != element && ContainsElement(anchor))
        MoveElement(anchor, element, anchor->CanContain(element) ? 1 : 3);
    if (!element->HasParent())
        MakeTopLevel(element);

    SetModifiedFlag(TRUE);
    return element;
}

void CDesignerDoc::DeleteElement(CFormElement* element, BOOL withChildren)
{
    if (element == nullptr)
        return;
    if (withChildren)
        for (CFormElement* child : ChildrenOf(element))
            DeleteElement(child, TRUE);

    if (CFormElement* container = element->GetParent())
        container->RemoveChild(element);
    else
        RemoveTopLevel(element);
    RemoveFromLists(element);
    // A container deleted alone hands its children on in its destructor.
    delete element;
}

void CDesignerDoc::DeleteSelectedElements()
{
    std::vector<CFormElement*> selected;
    for (auto it = m_elements.end(); it != m_elements.begin();) {
        --it;
        CFormElement* element = AsElement(*it);
        if (element != nullptr && element->IsSelected())
            selected.push_back(element);
    }
    for (CFormElement* element : selected) {
        // Deleting a container may already have deleted this one: the
        // pointer is only touched while the document still lists it.
        if (!ContainsElement(element))
            continue;
        if (element->IsSelected())
            DeleteElement(element, FALSE);
    }
}

void CDesignerDoc::RemoveAllElements()
{
    BroadcastHint(DocumentHint::SelectionChanged, nullptr);
    while (!m_elements.IsEmpty()) {
        CFormElement* head = AsElement(m_elements.GetHead());
        if (head == nullptr) {
            UnlistElement(m_elements.begin());
            continue;
        }
        DeleteElement(head, FALSE);
    }
    m_elements.RemoveAll();
    m_elementAt.clear();
    ClearZOrder();
}

CFormElement* CDesignerDoc::MakeTopLevel(CFormElement* element)
{
    if (!ContainsElement(element))
        return nullptr;
    element->SetParent(nullptr);
    BroadcastHint(DocumentHint::ElementAdded, element);
    SetModifiedFlag(TRUE);
    return element;
}

BOOL CDesignerDoc::RemoveTopLevel(CFormElement* element)
{
    if (!ContainsElement(element))
        return FALSE;
    BroadcastHint(DocumentHint::ElementRemoved, element);
    SetModifiedFlag(TRUE);
    return TRUE;
}

BOOL CDesignerDoc::RemoveFromLists(CFormElement* element)
{
    const auto it = ElementPosition(element);
    if (it == m_elements.end())
        return FALSE;
    UnlistElement(it);
    RemoveFromZOrder(element);
    SetModifiedFlag(TRUE);
    return TRUE;
}

BOOL CDesignerDoc::ReparentElement(CFormElement* element, CFormElement* newContainer)
{
    if (element == nullptr)
        return FALSE;
    if (element->GetParent() == newContainer)
        return TRUE;
    if (newContainer != nullptr && !newContainer->CanContain(element))
        return FALSE;
    // A container never goes inside itself: the tree would become a loop.
    if (newContainer != nullptr && IsSameOrInside(newContainer, element))
        return FALSE;

    if (CFormElement* oldContainer = element->GetParent()) {
        if (!oldContainer->RemoveChild(element))
            return FALSE;
    } else if (!RemoveTopLevel(element)) {
        return FALSE;
    }

    if (newContainer == nullptr || !newContainer->AddChild(element, nullptr)) {
        if (MakeTopLevel(element) == nullptr)
            return FALSE;
        newContainer = nullptr;
    }
    PlaceInDocumentOrder(element, newContainer, TRUE);
    return TRUE;
}

BOOL CDesignerDoc::PlaceInDocumentOrder(CFormElement* element, CFormElement* target, BOOL after)
{
    if (element == nullptr || element == target)
        return FALSE;
    if (target == nullptr) {
        if (element->HasParent())
            return FALSE;
        const auto it = ElementPosition(element);
        if (it == m_elements.end())
            return FALSE;
        UnlistElement(it);
        ListElementBefore(after ? m_elements.begin() : m_elements.end(), element);
        return TRUE;
    }
    if (element->GetParent() != target->GetParent())
        return FALSE;
    const auto elementAt = ElementPosition(element);
    auto targetAt = ElementPosition(target);
    if (elementAt == m_elements.end() || targetAt == m_elements.end())
        return FALSE;
    UnlistElement(elementAt);
    if (after)
        ++targetAt;
    ListElementBefore(targetAt, element);
    if (CFormElement* container = element->GetParent())
        container->SortChildren();
    return TRUE;
}

BOOL CDesignerDoc::MoveElement(CFormElement* target, CFormElement* element, short mode)
{
    if (element == nullptr)
        return FALSE;
    BOOL result = FALSE;
    switch (mode) {
    case 0:
        return TRUE;
    case 1:
        result = ReparentElement(element, target);
        break;
    case 2:
    case 3: {
        CFormElement* targetContainer = target != nullptr ? target->GetParent() : nullptr;
        if (element->GetParent() != targetContainer && !ReparentElement(element, targetContainer))
            return FALSE;
        result = PlaceInDocumentOrder(element, target, mode != 2);
        break;
    }
    default:
        return FALSE;
    }
    if (result) {
        SetModifiedFlag(TRUE);
        BroadcastHint(DocumentHint::ElementReparented, element->GetParent());
    }
    return result;
}

CFormElement* CDesignerDoc::GetLastTopLevelElement() const
{
    for (auto it = m_elements.end(); it != m_elements.begin();) {
        --it;
        CFormElement* element = AsElement(*it);
        if (element != nullptr && !element->HasParent())
            return element;
    }
    return nullptr;
}

void CDesignerDoc::MoveInZOrder(CFormElement* element, BOOL withChildren, bool toFront)
{
    // The z-order list holds the document's elements only.
    if (!ContainsElement(element))
        return;
    RemoveFromZOrder(element);
    AddToZOrder(element, toFront);
    BroadcastHint(DocumentHint::ElementChanged, element);
    SetModifiedFlag(TRUE);
    if (withChildren == TRUE)
        for (CFormElement* child : ChildrenOf(element))
            MoveInZOrder(child, TRUE, toFront);
}

void CDesignerDoc::BringToFront(CFormElement* element, BOOL withChildren)
{
    MoveInZOrder(element, withChildren, true);
}

void CDesignerDoc::SendToBack(CFormElement* element, BOOL withChildren)
{
    MoveInZOrder(element, withChildren, false);
}

void CDesignerDoc::RevalidateElements(int mode)
{
    std::vector<CFormElement*> elements;
    for (CObject* object : m_elements)
        if (CFormElement* element = AsElement(object))
            elements.push_back(element);
    for (CFormElement* element : elements)
        if (ContainsElement(element))
            element->Revalidate(mode);
    const auto listeners = m_listeners;
    for (DocumentChangeListener* listener : listeners)
        listener->OnElementsRevalidated(this);
}

void CDesignerDoc::EnsureDefaultOutputElement()
{
    if (m_pOutputDevices == nullptr || m_pOutputDevices->IsAnyDeviceInUse())
        return;
    auto* element = new CFormOutputElement(this);
    if (AddElement(element, TRUE, nullptr) == nullptr) {
        delete element;
        return;
    }
    element->SetOutputDevice(0);
}

BOOL CDesignerDoc::FillExplorerTree(IExplorerTree& tree)
{
    tree.DeleteAllItems();
    TreeItem root = tree.InsertItem(nullptr, GetTitle(), nullptr);
    if (root == nullptr)
        return FALSE;
    for (CObject* object : m_elements) {
        CFormElement* element = AsElement(object);
        if (element != nullptr && !element->HasParent())
            element->InsertIntoTree(tree, root);
    }
    return SortTreeChildren(tree, root, *this);
}

void CDesignerDoc::GetVariableNames(QStringList& names) const
{
    names = CFormVariableElement::GetVariableNames(this);
}
