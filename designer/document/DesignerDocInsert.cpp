// New elements made from the Insert menu, without drawing them.

#include "designer/document/DesignerDoc.h"
#include "designer/elements/FormElement.h"
#include "platform/framework/Rect.h"

BOOL CDesignerDoc::CanInsertElement(int type) const
{
    switch (type) {
    // Kinds that stand on the printed page.
    case FormElementType::Barcode:
    case FormElementType::Eraser:
    case FormElementType::Image:
    case FormElementType::Resource:
    case FormElementType::Source:
    case FormElementType::Text:
        return !IsXmlDocument();
    case FormElementType::XmlAttribute:
    case FormElementType::XmlComment:
    case FormElementType::XmlElement:
    case FormElementType::XmlInstruction:
        return IsXmlDocument();
    default:
        return TRUE;
    }
}

CFormElement* CDesignerDoc::InsertNewElement(int type, CFormElement* anchor)
{
    if (!CanInsertElement(type))
        return nullptr;
    CDocChangeGuard guard(this);
    CFormElement* element = CreateNewElement(type, 0, kwvd::Rect(), anchor);
    if (element != nullptr) {
        element->Select(TRUE);
        BroadcastHint(DocumentHint::SelectionChanged, element);
    }
    return element;
}
