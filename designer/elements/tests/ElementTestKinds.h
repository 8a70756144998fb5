#pragma once
// Small stand-ins for the element kinds that later come with their own
// classes: each answers a chosen type number, so the base and the shared
// container rules can be checked for every kind the matrix names.

#include "designer/document/DesignerDoc.h"
#include "designer/elements/ElementClasses.h"
#include "designer/elements/FormContainerElement.h"
#include "designer/elements/FormElement.h"
#include "designer/output/OutputClasses.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

class TestLeaf : public CFormElement
{
public:
    TestLeaf(CDesignerDoc* doc, int type, BOOL keepsOffset = FALSE)
        : CFormElement(doc), m_type(type), m_keepsOffset(keepsOffset)
    {}

    int GetType() const override { return m_type; }
    BOOL IgnoresOffset() const override { return m_keepsOffset ? FALSE : TRUE; }

    void SetRects(const kwvd::Rect& source, const kwvd::Rect& dest)
    {
        m_sourceRect = source;
        m_destRect = dest;
    }
    void SetRawOffset(QPoint twips) { m_offset = twips; }
    void SetRawDescription(const QString& text) { m_description = text; }

    using CFormElement::SelectAnnouncingDest;
    using CFormElement::SelectQuietly;

private:
    int m_type;
    BOOL m_keepsOffset;
};

class TestContainer : public CFormContainerElement
{
public:
    TestContainer(CDesignerDoc* doc, int type) : CFormContainerElement(doc), m_type(type) {}

    int GetType() const override { return m_type; }
    BOOL IsLoopOrInLoop() const override
    {
        return m_type == FormElementType::Loop ? TRUE : CFormContainerElement::IsLoopOrInLoop();
    }

private:
    int m_type;
};

// Every hint the document sends, as the main frame would hear it.
struct HintRecord
{
    LPARAM hint;
    CObject* element;

    friend bool operator==(const HintRecord&, const HintRecord&) = default;
};

class HintRecorder : public DocumentChangeListener
{
public:
    void OnDocumentChanged(LPARAM hint, CObject*, CObject* element) override { hints.push_back({hint, element}); }

    std::vector<LPARAM> HintNumbers() const
    {
        std::vector<LPARAM> numbers;
        for (const HintRecord& record : hints)
            numbers.push_back(record.hint);
        return numbers;
    }

    std::vector<HintRecord> hints;
};

// A new document at 96 dpi with a recorder attached and a scripted prompt
// service; the default Output element is already there.
class ElementDocFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterElementClasses();
        RegisterOutputClasses();
        RegisterOutputStrings();
        doc = std::make_unique<CDesignerDoc>();
        ASSERT_TRUE(doc->OnNewDocument());
        doc->AddChangeListener(&recorder);
        doc->BeginChange();
    }

    void TearDown() override
    {
        doc->RemoveChangeListener(&recorder);
        doc.reset();
    }

    // Added at top level through the document, as a view adds what it drew.
    TestLeaf* AddLeaf(int type, const kwvd::Rect& source = {}, const kwvd::Rect& dest = {}, BOOL keepsOffset = FALSE)
    {
        auto* leaf = new TestLeaf(doc.get(), type, keepsOffset);
        leaf->SetRects(source, dest);
        EXPECT_EQ(doc->AddElement(leaf, FALSE, nullptr), leaf);
        return leaf;
    }

    TestContainer* AddContainer(int type, CFormElement* anchor = nullptr)
    {
        auto* container = new TestContainer(doc.get(), type);
        EXPECT_EQ(doc->AddElement(container, FALSE, anchor), container);
        return container;
    }

    TestLeaf* AddLeafInto(CFormElement* anchor, int type)
    {
        auto* leaf = new TestLeaf(doc.get(), type);
        EXPECT_EQ(doc->AddElement(leaf, FALSE, anchor), leaf);
        return leaf;
    }

    ScopedPromptAnswers prompts;
    std::unique_ptr<CDesignerDoc> doc;
    HintRecorder recorder;
};
