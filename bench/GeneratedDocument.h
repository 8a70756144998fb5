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

#include <algorithm>
#include <chrono>
#include <initializer_list>
#include <memory>
#include <vector>

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

// Two operations timed side by side: each call times one run of first and
// one of second, back to back, so both see the same load on a shared
// machine. The median of the pairs' ratios (first over second) is the figure.
class PairedTimes
{
public:
    template <class First, class Second>
    void Time(First&& first, Second&& second)
    {
        const double a = Seconds(first);
        const double b = Seconds(second);
        m_first.push_back(a);
        m_ratios.push_back(b > 0 ? a / b : 0);
    }

    // Seconds of the last first operation, for manual timing.
    double LastFirst() const { return m_first.empty() ? 0 : m_first.back(); }
    double MedianFirst() const { return Median(m_first); }
    double MedianRatio() const { return Median(m_ratios); }

private:
    template <class Operation>
    static double Seconds(Operation&& operation)
    {
        const auto start = std::chrono::steady_clock::now();
        operation();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

    static double Median(std::vector<double> values)
    {
        if (values.empty())
            return 0;
        const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
        std::nth_element(values.begin(), middle, values.end());
        return *middle;
    }

    std::vector<double> m_first;
    std::vector<double> m_ratios;
};
