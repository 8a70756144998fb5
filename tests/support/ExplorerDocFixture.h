#pragma once
// The document the explorer's tests show: a Loop holding a Source and a
// Conditional with a Variable, an Output element with an Address, and a Text,
// in that document order, each described by its kind's name, with the
// process set-up of the WVD tests (classes, preferences of its own, scripted
// prompts in environment.prompts).

#include "designer/document/DesignerDoc.h"
#include "designer/elements/FormElement.h"
#include "tests/support/WvdDocumentFixture.h"

#include <gtest/gtest.h>

#include <memory>

struct ExplorerDocElements
{
    CFormElement* loop = nullptr;
    CFormElement* source = nullptr;
    CFormElement* conditional = nullptr;
    CFormElement* variable = nullptr;
    CFormElement* output = nullptr;
    CFormElement* address = nullptr;
    CFormElement* text = nullptr;
};

class ExplorerDocFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        doc = std::make_unique<CDesignerDoc>();
        ASSERT_TRUE(doc->OnNewDocument());
        doc->SetTitle(QStringLiteral("Fixture"));
        ASSERT_NO_FATAL_FAILURE(Build());
    }

    void TearDown() override { doc.reset(); }

    // A new element of the type, added as the panes add what they draw, and
    // described by name.
    CFormElement* Create(int type, const kwvd::Rect& rect, CFormElement* anchor, const QString& description)
    {
        CFormElement* element = doc->CreateNewElement(type, 1, rect, anchor);
        EXPECT_NE(element, nullptr) << description.toStdString();
        if (element != nullptr) {
            element->SetAutoDescription(FALSE);
            CFormElement::SetDescription(description, element);
        }
        return element;
    }

    static kwvd::Rect Cells(int left, int top, int right, int bottom)
    {
        return kwvd::Rect((left - 1) * 10, (top - 1) * 16, (right - 1) * 10, (bottom - 1) * 16);
    }

    WvdTestEnvironment environment;
    std::unique_ptr<CDesignerDoc> doc;
    ExplorerDocElements e;

private:
    void Build()
    {
        CDocChangeGuard guard(doc.get());
        // The new document's default Output element, or one of ours.
        for (CObject* object : doc->GetElementList())
            if (auto* element = dynamic_cast<CFormElement*>(object);
                element && element->GetType() == FormElementType::Output)
                e.output = element;
        if (e.output == nullptr)
            e.output = doc->CreateNewElement(FormElementType::Output, 0, {}, nullptr);
        ASSERT_NE(e.output, nullptr);
        e.output->SetAutoDescription(FALSE);
        CFormElement::SetDescription(QStringLiteral("Output"), e.output);

        e.loop = Create(FormElementType::Loop, Cells(1, 5, 81, 12), nullptr, QStringLiteral("Loop"));
        ASSERT_NE(e.loop, nullptr);
        e.source = Create(FormElementType::Source, Cells(2, 6, 30, 7), e.loop, QStringLiteral("Source"));
        e.conditional = Create(FormElementType::Conditional, Cells(3, 8, 9, 9), e.loop, QStringLiteral("Conditional"));
        ASSERT_NE(e.conditional, nullptr);
        e.variable = Create(FormElementType::Variable, Cells(10, 8, 20, 9), e.conditional, QStringLiteral("Variable"));
        e.address = Create(FormElementType::Address, Cells(1, 20, 30, 24), e.output, QStringLiteral("Address"));
        e.text = Create(FormElementType::Text, Cells(1, 30, 10, 31), nullptr, QStringLiteral("Text"));
        ASSERT_NE(e.text, nullptr);
        // New elements go before the Output element; the Text comes after it.
        ASSERT_TRUE(doc->MoveElement(e.output, e.text, 3));
        ASSERT_EQ(e.address->GetParent(), e.output);
        ASSERT_EQ(e.variable->GetParent(), e.conditional);
        ASSERT_EQ(e.source->GetParent(), e.loop);
        // The panes select what they make; the tests choose their own.
        for (CObject* object : doc->GetElementList())
            if (auto* element = dynamic_cast<CFormElement*>(object))
                element->Select(FALSE);
    }
};
