// Elements made from the Insert menu: which kinds each type of document
// takes, where the new element goes with the explorer's selection as anchor,
// and what the insert leaves behind (selection, hint, one undo step).

#include "designer/document/DesignerDoc.h"
#include "designer/elements/FormContainerElement.h"
#include "designer/elements/FormElement.h"
#include "tests/support/WvdDocumentFixture.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

class HintLog : public DocumentChangeListener
{
public:
    void OnDocumentChanged(LPARAM hint, CObject*, CObject* element) override { hints.emplace_back(hint, element); }

    std::vector<std::pair<LPARAM, CObject*>> hints;
};

class InsertElementTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(doc.OnNewDocument());
        doc.AddChangeListener(&log);
    }
    void TearDown() override { doc.RemoveChangeListener(&log); }

    // A fresh element of the type, made the way a drawn one is.
    CFormElement* Make(int type, CFormElement* anchor = nullptr)
    {
        CDocChangeGuard change(&doc);
        return doc.CreateNewElement(type, 0, kwvd::Rect(1, 1, 10, 2), anchor);
    }

    std::vector<CFormElement*> TopLevel() const
    {
        std::vector<CFormElement*> top;
        for (CObject* object : doc.GetElementList()) {
            auto* element = static_cast<CFormElement*>(object);
            if (!element->HasParent())
                top.push_back(element);
        }
        return top;
    }

    WvdTestEnvironment env;
    CDesignerDoc doc;
    HintLog log;
};

TEST_F(InsertElementTest, EachTypeOfDocumentTakesItsKinds)
{
    struct Case
    {
        const char* name;
        int type;
        BOOL inDesign;
        BOOL inXml;
    };
    const Case cases[] = {
        {"address", FormElementType::Address, TRUE, TRUE},
        {"barcode", FormElementType::Barcode, TRUE, FALSE},
        {"conditional", FormElementType::Conditional, TRUE, TRUE},
        {"eraser", FormElementType::Eraser, TRUE, FALSE},
        {"exit parameter", FormElementType::ExitParam, TRUE, TRUE},
        {"exit program", FormElementType::ExitProgram, TRUE, TRUE},
        {"image", FormElementType::Image, TRUE, FALSE},
        {"loop", FormElementType::Loop, TRUE, TRUE},
        {"output device", FormElementType::Output, TRUE, TRUE},
        {"remark", FormElementType::Remark, TRUE, TRUE},
        {"resource", FormElementType::Resource, TRUE, FALSE},
        {"spooled file", FormElementType::Source, TRUE, FALSE},
        {"static text", FormElementType::Text, TRUE, FALSE},
        {"variable", FormElementType::Variable, TRUE, TRUE},
        {"xml attribute", FormElementType::XmlAttribute, FALSE, TRUE},
        {"xml comment", FormElementType::XmlComment, FALSE, TRUE},
        {"xml element", FormElementType::XmlElement, FALSE, TRUE},
        {"xml instruction", FormElementType::XmlInstruction, FALSE, TRUE},
    };
    CDesignerDoc xml;
    ASSERT_TRUE(xml.OnNewDocument());
    ASSERT_TRUE(xml.SetDocType(1));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(doc.CanInsertElement(c.type), c.inDesign);
        EXPECT_EQ(xml.CanInsertElement(c.type), c.inXml);
    }
}

TEST_F(InsertElementTest, AKindTheDocumentDoesNotTakeIsNotMade)
{
    const qsizetype before = doc.GetElementList().GetCount();
    const qsizetype undoSteps = doc.GetUndoList().GetCount();
    EXPECT_EQ(doc.InsertNewElement(FormElementType::XmlElement, nullptr), nullptr);
    EXPECT_EQ(doc.GetElementList().GetCount(), before);
    EXPECT_EQ(doc.GetUndoList().GetCount(), undoSteps);
    EXPECT_TRUE(log.hints.empty());
}

TEST_F(InsertElementTest, WithoutAnchorTheElementGoesBeforeTheLastOutputElement)
{
    const std::vector<CFormElement*> before = TopLevel();
    ASSERT_FALSE(before.empty());
    ASSERT_EQ(before.back()->GetType(), FormElementType::Output);
    const DWORD buildId = doc.GetBuildId();
    const qsizetype undoSteps = doc.GetUndoList().GetCount();

    CFormElement* remark = doc.InsertNewElement(FormElementType::Remark, nullptr);

    ASSERT_NE(remark, nullptr);
    const std::vector<CFormElement*> after = TopLevel();
    ASSERT_EQ(after.size(), before.size() + 1);
    EXPECT_EQ(after[after.size() - 2], remark);
    EXPECT_EQ(after.back(), before.back());
    EXPECT_TRUE(remark->IsSelected());
    EXPECT_EQ(log.hints.back(), std::make_pair(LPARAM(DocumentHint::SelectionChanged), static_cast<CObject*>(remark)));
    // One change: one Build ID and one undo step.
    EXPECT_EQ(doc.GetBuildId(), buildId + 1);
    EXPECT_EQ(doc.GetUndoList().GetCount(), undoSteps + 1);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(InsertElementTest, AVariableGoesIntoASelectedLoop)
{
    CFormElement* loop = Make(FormElementType::Loop);
    ASSERT_NE(loop, nullptr);

    CFormElement* variable = doc.InsertNewElement(FormElementType::Variable, loop);

    ASSERT_NE(variable, nullptr);
    EXPECT_EQ(variable->GetParent(), loop);
    EXPECT_TRUE(variable->IsSelected());
}

TEST_F(InsertElementTest, AStaticTextFollowsAConditionalsChildThatCannotHoldIt)
{
    CFormElement* conditional = Make(FormElementType::Conditional);
    ASSERT_NE(conditional, nullptr);
    CFormElement* first = Make(FormElementType::Text, conditional);
    CFormElement* last = Make(FormElementType::Text, conditional);
    ASSERT_EQ(first->GetParent(), conditional);
    ASSERT_EQ(last->GetParent(), conditional);
    ASSERT_FALSE(first->CanContain(last));

    CFormElement* text = doc.InsertNewElement(FormElementType::Text, first);

    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetParent(), conditional);
    const CObList& children = static_cast<CFormContainerElement*>(conditional)->GetChildList();
    ASSERT_EQ(children.GetCount(), 3);
    const std::vector<CObject*> order(children.begin(), children.end());
    EXPECT_EQ(order, (std::vector<CObject*>{first, text, last}));
}

} // namespace
