#pragma once
// A document with one element of every kind the designer makes, containers
// holding a child, a spooled page and an output device: the seed of the
// document's readers, written by our own writers.

#include "designer/document/DesignerDoc.h"
#include "designer/document/SpooledFile.h"
#include "designer/elements/FormElement.h"
#include "designer/elements/FormTextElement.h"
#include "designer/output/OutputDeviceManager.h"
#include "platform/framework/Collections.h"

#include <vector>

namespace kwvd::fuzz {

// The elements made, in the order made.
inline std::vector<CFormElement*> FillSeedDocument(CDesignerDoc& doc)
{
    using T = FormElementType;
    auto* page = new CStringArray;
    page->Add(QStringLiteral("INVOICE      12345"));
    page->Add(QStringLiteral("  ITEM A     10.00"));
    doc.GetSpooledFile()->SetPage(page, 1);
    doc.GetOutputDeviceManager()->AddDeviceByName(QStringLiteral("PRT01"), QStringLiteral("*SCS"));

    std::vector<CFormElement*> made;
    CDocChangeGuard change(&doc);
    int row = 0;
    const int kinds[] = {T::Text,       T::Remark,         T::Variable,    T::Source,      T::Eraser,
                         T::Barcode,    T::ExitParam,      T::ExitProgram, T::Resource,    T::XmlAttribute,
                         T::XmlComment, T::XmlInstruction, T::Loop,        T::Conditional, T::XmlElement};
    for (int kind : kinds) {
        const kwvd::Rect box(8, 16 + 40 * row, 120, 48 + 40 * row);
        ++row;
        CFormElement* element = doc.CreateNewElement(kind, 0, box, nullptr);
        if (element == nullptr)
            continue;
        made.push_back(element);
        if (auto* text = dynamic_cast<CFormTextElement*>(element))
            text->SetText(QStringLiteral("Thank you"));
        // Containers carry a child, so that the child lists are read too.
        if (kind == T::Loop || kind == T::Conditional || kind == T::XmlElement) {
            if (CFormElement* child = doc.CreateNewElement(T::Text, 0, box, element))
                made.push_back(child);
        }
    }
    return made;
}

} // namespace kwvd::fuzz
