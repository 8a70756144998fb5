#pragma once
// The model set up for a benchmark program, and a document of generated
// elements: containers with children first, then top-level elements, laid
// out cell by cell so they never overlap much.

#include "designer/document/DesignerDoc.h"
#include "designer/document/DocumentClasses.h"
#include "designer/elements/ElementClasses.h"
#include "designer/elements/FormElement.h"
#include "designer/elements/FormTextElement.h"
#include "designer/output/OutputClasses.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/ResourceClasses.h"
#include "platform/framework/FrameworkClasses.h"
#include "platform/framework/Rect.h"
#include "platform/ui/ScriptedPromptService.h"

#include <QTemporaryDir>

#include <initializer_list>
#include <memory>

// Registrations, preferences kept in folder and no dialogs.
inline void SetUpBenchModel(const QTemporaryDir& folder, CPreferences& preferences, int undoBufferSize)
{
    RegisterFrameworkClasses();
    RegisterDocumentClasses();
    RegisterElementClasses();
    RegisterOutputClasses();
    RegisterOutputStrings();
    RegisterResourceClasses();
    preferences.MasterOutputDeviceFileV2 = folder.filePath(QStringLiteral("wvdOutpV2.dat"));
    preferences.ApplicationDataDirectory = folder.path();
    preferences.MaximumUndoBufferSize = undoBufferSize;
    SetPreferences(&preferences);
    SetPrompts(std::make_shared<ScriptedPromptService>());
}

// Fills doc, inside one change, up to total elements: containers
// Conditionals of 19 Source and Text children each, then top-level elements
// of the kinds given in turn (texts get a text of their own).
inline void AddGeneratedElements(CDesignerDoc& doc, int total, int containers, std::initializer_list<int> topLevelKinds)
{
    CDocChangeGuard change(&doc);
    int made = static_cast<int>(doc.GetElementList().GetCount());
    int cell = 0;
    auto box = [&cell] {
        const int column = cell % 12;
        const int line = (cell / 12) % 60;
        ++cell;
        return kwvd::Rect(column * 100, line * 16, column * 100 + 80, line * 16 + 16);
    };
    for (int c = 0; c < containers && made < total; ++c) {
        CFormElement* container = doc.CreateNewElement(FormElementType::Conditional, 1, box(), nullptr);
        ++made;
        for (int i = 0; i < 19 && made < total; ++i, ++made)
            doc.CreateNewElement(i % 2 ? FormElementType::Text : FormElementType::Source, i % 2 ? 2 : 1, box(),
                                 container);
    }
    const int kinds = static_cast<int>(topLevelKinds.size());
    for (int i = 0; made < total; ++i, ++made) {
        const int kind = topLevelKinds.begin()[i % kinds];
        CFormElement* element = doc.CreateNewElement(kind, kind == FormElementType::Text ? 2 : 1, box(), nullptr);
        if (auto* text = dynamic_cast<CFormTextElement*>(element))
            text->SetText(QStringLiteral("Text number %1").arg(i));
    }
}
