// Dragging items in the explorer: the drop rules on a tree of plain nodes,
// then real drags with QTest on the tree's viewport of a pane shown
// offscreen, over the explorer fixture with XML elements added: Loop {Source,
// Conditional {Variable}, XML {Inner}}, Output {Address}, Text, Stranger.

#include "designer/document/ServerItem.h"
#include "designer/views/explorer/ExplorerPane.h"
#include "tests/support/ExplorerDocFixture.h"
#include "tests/support/FakeExplorerTree.h"
#include "tests/support/QtApplicationEnvironment.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <ostream>
#include <set>

namespace {

// The tree as lines in pre-order: two spaces per level and the element's
// description ("<root>" for the root item).
QStringList ItemLines(const IExplorerTree& tree)
{
    QStringList lines;
    std::vector<std::pair<TreeItem, int>> pending;
    if (TreeItem root = tree.GetRootItem())
        pending.emplace_back(root, 0);
    while (!pending.empty()) {
        auto [item, depth] = pending.back();
        pending.pop_back();
        CFormElement* element = tree.GetItemElement(item);
        lines << QString(depth * 2, QLatin1Char(' '))
                     + (element != nullptr ? element->GetDescription() : QStringLiteral("<root>"));
        std::vector<std::pair<TreeItem, int>> children;
        for (TreeItem child = tree.GetChildItem(item); child != nullptr; child = tree.GetNextSiblingItem(child))
            children.emplace_back(child, depth + 1);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return lines;
}

std::vector<CFormElement*> ElementList(const CDesignerDoc& doc)
{
    std::vector<CFormElement*> elements;
    for (CObject* object : doc.GetElementList())
        elements.push_back(dynamic_cast<CFormElement*>(object));
    return elements;
}

class ExplorerDragDocFixture : public ExplorerDocFixture
{
protected:
    void SetUp() override
    {
        ExplorerDocFixture::SetUp();
        CDocChangeGuard guard(doc.get());
        xml = Create(FormElementType::XmlElement, Cells(40, 10, 50, 11), e.loop, QStringLiteral("XML"));
        ASSERT_NE(xml, nullptr);
        inner = Create(FormElementType::XmlElement, Cells(40, 11, 50, 12), xml, QStringLiteral("Inner"));
        stranger = Create(FormElementType::XmlElement, Cells(1, 40, 10, 41), nullptr, QStringLiteral("Stranger"));
        ASSERT_NE(stranger, nullptr);
        ASSERT_TRUE(doc->MoveElement(e.text, stranger, 3));
        ASSERT_EQ(xml->GetParent(), e.loop);
        ASSERT_EQ(inner->GetParent(), xml);
        for (CObject* object : doc->GetElementList())
            static_cast<CFormElement*>(object)->Select(FALSE);
    }

    // Every element of the list sits in a chain of containers that ends at
    // the top level within the list's length, every container in the list.
    void ExpectSoundTree() const
    {
        const std::vector<CFormElement*> elements = ElementList(*doc);
        const std::set<CFormElement*> listed(elements.begin(), elements.end());
        for (CFormElement* element : elements) {
            ASSERT_NE(element, nullptr);
            size_t steps = 0;
            for (CFormElement* at = element->GetParent(); at != nullptr; at = at->GetParent()) {
                EXPECT_TRUE(listed.count(at)) << element->GetDescription().toStdString();
                ASSERT_LE(++steps, elements.size()) << "cycle above " << element->GetDescription().toStdString();
            }
        }
    }

    // The tree holds each element of the document once, under the item of
    // its container (the root's for the top level).
    void ExpectTreeMatchesDocument(const IExplorerTree& tree) const
    {
        std::vector<CFormElement*> shown;
        std::vector<TreeItem> pending{tree.GetRootItem()};
        while (!pending.empty()) {
            TreeItem item = pending.back();
            pending.pop_back();
            for (TreeItem child = tree.GetChildItem(item); child != nullptr; child = tree.GetNextSiblingItem(child)) {
                CFormElement* element = tree.GetItemElement(child);
                ASSERT_NE(element, nullptr);
                EXPECT_EQ(element->GetParent(), tree.GetItemElement(item)) << element->GetDescription().toStdString();
                shown.push_back(element);
                pending.push_back(child);
            }
        }
        std::vector<CFormElement*> listed = ElementList(*doc);
        std::sort(shown.begin(), shown.end());
        std::sort(listed.begin(), listed.end());
        EXPECT_EQ(shown, listed);
    }

    CFormElement* xml = nullptr;
    CFormElement* inner = nullptr;
    CFormElement* stranger = nullptr;
};

// ---------------------------------------------------------------- rules

class DropRulesTest : public ExplorerDragDocFixture
{
protected:
    void SetUp() override
    {
        ExplorerDragDocFixture::SetUp();
        ASSERT_TRUE(doc->FillExplorerTree(tree));
    }

    TreeItem ItemOf(CFormElement* element) const
    {
        return element != nullptr ? tree.FindElementItem(element) : tree.GetRootItem();
    }

    FakeExplorerTree tree;
};

TEST_F(DropRulesTest, PositionOnARowOfTwentyFollowsItsQuarters)
{
    struct Case
    {
        const char* name;
        CFormElement* ExplorerDocElements::*dragged;
        CFormElement* ExplorerDocElements::*hovered; // null: the root
        int y;
        short position;
        bool targetIsHovered; // else the hovered item's parent
    };
    const Case cases[] = {
        {"loop y 4 before", &ExplorerDocElements::text, &ExplorerDocElements::loop, 4, 2, false},
        {"loop y 5 into", &ExplorerDocElements::text, &ExplorerDocElements::loop, 5, 1, true},
        {"loop y 15 into", &ExplorerDocElements::text, &ExplorerDocElements::loop, 15, 1, true},
        {"loop y 16 after", &ExplorerDocElements::text, &ExplorerDocElements::loop, 16, 3, false},
        {"text y 4 before", &ExplorerDocElements::source, &ExplorerDocElements::text, 4, 2, false},
        {"text y 5 after", &ExplorerDocElements::source, &ExplorerDocElements::text, 5, 3, false},
        {"text y 15 after", &ExplorerDocElements::source, &ExplorerDocElements::text, 15, 3, false},
        {"text y 16 after", &ExplorerDocElements::source, &ExplorerDocElements::text, 16, 3, false},
        {"root after", &ExplorerDocElements::source, nullptr, 10, 3, true},
    };
    for (const Case& c : cases) {
        TreeItem hovered = ItemOf(c.hovered != nullptr ? e.*c.hovered : nullptr);
        const DropTarget drop = UpdateDropTarget(tree, ItemOf(e.*c.dragged), hovered, 0, 20, c.y, 0);
        EXPECT_EQ(drop.position, c.position) << c.name;
        EXPECT_EQ(drop.hovered, hovered) << c.name;
        EXPECT_EQ(drop.target, c.targetIsHovered ? hovered : tree.GetParentItem(hovered)) << c.name;
    }
}

TEST_F(DropRulesTest, AnItemWhoseParentRefusesIsForgotten)
{
    // The Text goes neither into the Address nor into its Output element.
    const DropTarget drop = UpdateDropTarget(tree, ItemOf(e.text), ItemOf(e.address), 0, 20, 10, MK_CONTROL);
    EXPECT_EQ(drop.position, 0);
    EXPECT_EQ(drop.hovered, nullptr);
    EXPECT_EQ(drop.target, nullptr);
    EXPECT_EQ(UpdateDropTarget(tree, ItemOf(e.text), nullptr, 0, 20, 10, 0).position, 0);
}

TEST_F(DropRulesTest, CanDropOnKeepsAMoveOutOfItsOwnSubtree)
{
    struct Case
    {
        const char* name;
        CFormElement* target; // null: the root
        BOOL move;
        BOOL copy;
    };
    const Case cases[] = {
        {"self", e.loop, FALSE, FALSE},     {"own child", xml, FALSE, TRUE}, {"own grandchild", inner, FALSE, TRUE},
        {"stranger", stranger, TRUE, TRUE}, {"root", nullptr, TRUE, TRUE},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CanDropOn(tree, ItemOf(e.loop), ItemOf(c.target), 0), c.move) << c.name;
        EXPECT_EQ(CanDropOn(tree, ItemOf(e.loop), ItemOf(c.target), MK_CONTROL), c.copy) << c.name << " with Ctrl";
    }
    // The root is never dragged, and nothing is dropped on no item.
    EXPECT_FALSE(CanDropOn(tree, tree.GetRootItem(), ItemOf(e.loop), 0));
    EXPECT_FALSE(CanDropOn(tree, ItemOf(e.text), nullptr, 0));
    // An element that is no container takes nothing.
    EXPECT_FALSE(CanDropOn(tree, ItemOf(e.source), ItemOf(e.text), MK_CONTROL));
}

TEST(ScrollZoneTest, ZonesAroundATreeFrom100To400WithA16PixelBar)
{
    struct Case
    {
        int y;
        int zone;
    };
    const Case cases[] = {{80, 2},  {84, 0},  {90, 0}, {100, kInsideTree}, {400, kInsideTree},
                          {410, 1}, {416, 1}, {420, 3}};
    for (const Case& c : cases)
        EXPECT_EQ(GetScrollZone(c.y, 100, 400, 16), c.zone) << "y " << c.y;
}

// ---------------------------------------------------------------- drags

class ExplorerDragTest : public ExplorerDragDocFixture
{
protected:
    void SetUp() override
    {
        ExplorerDragDocFixture::SetUp();
        pane = std::make_unique<CExplorerPane>(nullptr, nullptr);
        doc->AddChangeListener(&forwarder);
        forwarder.pane = pane.get();
        pane->SetDocument(doc.get());
        pane->resize(300, 400);
        pane->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(pane.get()));
        tree().expandAll();
        QApplication::clipboard()->clear();
    }

    void TearDown() override
    {
        if (doc)
            doc->RemoveChangeListener(&forwarder);
        pane.reset();
        ExplorerDragDocFixture::TearDown();
    }

    // Passes every document hint on to the pane, as the main frame does.
    struct HintForwarder : DocumentChangeListener
    {
        CExplorerPane* pane = nullptr;
        void OnDocumentChanged(LPARAM hint, CObject*, CObject* element) override
        {
            if (pane != nullptr)
                pane->OnDocumentHint(element, hint);
        }
    };

    CExplorerTreeCtrl& tree() const { return *pane->GetTree(); }
    QWidget* viewport() const { return tree().viewport(); }
    TreeItem ItemOf(CFormElement* element) const
    {
        return element != nullptr ? pane->FindItem(element) : tree().GetRootItem();
    }
    QRect RowOf(CFormElement* element) const
    {
        return tree().visualItemRect(CExplorerTreeCtrl::FromItem(ItemOf(element)));
    }
    // A point on the element's row, dy pixels below its top.
    QPoint On(CFormElement* element, int dy) const
    {
        return QPoint(RowOf(element).left() + 20, RowOf(element).top() + dy);
    }
    QPoint Middle(CFormElement* element) const { return On(element, RowOf(element).height() / 2); }

    // Presses on the element's row and moves past the start distance.
    void BeginDrag(CFormElement* element)
    {
        const QPoint start = Middle(element);
        QTest::mousePress(viewport(), Qt::LeftButton, {}, start);
        QTest::mouseMove(viewport(), start + QPoint(QApplication::startDragDistance() + 2, 0));
        ASSERT_TRUE(pane->IsDragging());
    }
    void MoveTo(QPoint point, Qt::KeyboardModifiers keys = {})
    {
        QTest::mouseEvent(QTest::MouseMove, viewport(), Qt::NoButton, keys, point);
    }
    void Drop(QPoint point, Qt::KeyboardModifiers keys = {})
    {
        MoveTo(point, keys);
        QTest::mouseRelease(viewport(), Qt::LeftButton, keys, point);
    }

    int UndoSteps() const { return int(doc->GetUndoList().GetCount()); }
    size_t Beeps() const { return environment.prompts->Beeps().size(); }
    QStringList TopLevel() const
    {
        QStringList names;
        for (TreeItem item = tree().GetChildItem(tree().GetRootItem()); item; item = tree().GetNextSiblingItem(item))
            names << tree().GetItemText(item);
        return names;
    }
    // The drop left the tree as a fresh fill shows the document, and the
    // element landed in its item, which has the caret.
    void ExpectSettled(CFormElement* landed)
    {
        ExpectTreeMatchesDocument(tree());
        ASSERT_NO_FATAL_FAILURE(ExpectSoundTree());
        EXPECT_EQ(tree().GetCaretItem(), ItemOf(landed));
        EXPECT_FALSE(pane->IsDragging());
    }

    HintForwarder forwarder;
    std::unique_ptr<CExplorerPane> pane;
};

TEST_F(ExplorerDragTest, DropOnTheMiddleOfALoopPutsTheElementIntoIt)
{
    const int steps = UndoSteps();
    BeginDrag(e.text);
    Drop(Middle(e.loop));
    EXPECT_EQ(e.text->GetParent(), e.loop);
    ExpectSettled(e.text);
    EXPECT_EQ(UndoSteps(), steps + 1);
    EXPECT_EQ(Beeps(), 0u);
}

TEST_F(ExplorerDragTest, DropOnTheQuartersPutsTheElementBesideTheLoop)
{
    struct Case
    {
        const char* name;
        int dy; // from the row's top; negative from its bottom
        QStringList topLevel;
    };
    const Case cases[] = {
        {"upper quarter: before", 1, {"Text", "Loop", "Output", "Stranger"}},
        {"lower quarter: after", -2, {"Loop", "Text", "Output", "Stranger"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        BeginDrag(e.text);
        const QRect row = RowOf(e.loop);
        Drop(On(e.loop, c.dy >= 0 ? c.dy : row.height() + c.dy));
        EXPECT_EQ(e.text->GetParent(), nullptr);
        EXPECT_EQ(TopLevel(), c.topLevel);
        ExpectSettled(e.text);
    }
}

TEST_F(ExplorerDragTest, DropOnTheRootMakesTheElementTopLevelAtTheHead)
{
    BeginDrag(e.source);
    Drop(Middle(nullptr));
    EXPECT_EQ(e.source->GetParent(), nullptr);
    EXPECT_EQ(doc->GetElementList().GetHead(), e.source);
    ExpectSettled(e.source);
}

TEST_F(ExplorerDragTest, ALoopOverItsOwnChildIsOfferedNothingWithoutCtrl)
{
    const QStringList before = ItemLines(tree());
    const std::vector<CFormElement*> list = ElementList(*doc);
    const int steps = UndoSteps();
    BeginDrag(e.loop);
    MoveTo(Middle(xml));
    EXPECT_EQ(pane->GetDropPosition(), 0);
    EXPECT_EQ(pane->GetHoveredItem(), nullptr);
    EXPECT_EQ(tree().GetDropHighlight(), nullptr);
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, Middle(xml));
    EXPECT_EQ(ItemLines(tree()).join(u'\n').toStdString(), before.join(u'\n').toStdString());
    EXPECT_EQ(ElementList(*doc), list);
    EXPECT_EQ(UndoSteps(), steps);
    ExpectSettled(e.loop);
}

TEST_F(ExplorerDragTest, ALoopCopiedWithCtrlOntoItsOwnChildLandsInside)
{
    const int steps = UndoSteps();
    BeginDrag(e.loop);
    MoveTo(Middle(xml), Qt::ControlModifier);
    EXPECT_EQ(pane->GetDropPosition(), 1);
    EXPECT_EQ(tree().GetDropHighlight(), ItemOf(xml));
    Drop(Middle(xml), Qt::ControlModifier);

    // The original stays; the copy, with its own XML child, is in the XML.
    EXPECT_EQ(e.loop->GetParent(), nullptr);
    EXPECT_EQ(xml->GetParent(), e.loop);
    CFormElement* copy = tree().GetItemElement(tree().GetCaretItem());
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, e.loop);
    EXPECT_EQ(copy->GetType(), FormElementType::Loop);
    EXPECT_EQ(copy->GetParent(), xml);
    EXPECT_TRUE(doc->ContainsElement(copy));
    // Its children are copies too.
    QStringList children;
    for (ChildPosition at = copy->GetFirstChildPosition(); !at.IsNull();) {
        CFormElement* child = copy->GetNextChild(at);
        ASSERT_NE(child, nullptr);
        EXPECT_TRUE(child != e.source && child != e.conditional && child != xml);
        children << child->GetDescription();
    }
    EXPECT_EQ(children.join(u' ').toStdString(), "Source Conditional XML");
    ExpectSettled(copy);
    EXPECT_EQ(UndoSteps(), steps + 1);
    EXPECT_EQ(CServerItem::FirstOfferedFormat(QApplication::clipboard()->mimeData()), CServerItem::ExplFormat);
}

TEST_F(ExplorerDragTest, CtrlReleasedBeforeTheButtonTurnsTheCopyIntoARefusedMove)
{
    const QStringList before = ItemLines(tree());
    const std::vector<CFormElement*> list = ElementList(*doc);
    const int steps = UndoSteps();
    BeginDrag(e.loop);
    MoveTo(Middle(xml), Qt::ControlModifier);
    ASSERT_EQ(pane->GetDropPosition(), 1);
    QTest::keyRelease(&tree(), Qt::Key_Control);
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, Middle(xml));

    ASSERT_EQ(Beeps(), 1u);
    EXPECT_EQ(environment.prompts->Beeps()[0], MB_ICONEXCLAMATION);
    EXPECT_EQ(e.loop->GetParent(), nullptr);
    EXPECT_EQ(xml->GetParent(), e.loop);
    EXPECT_EQ(ItemLines(tree()).join(u'\n').toStdString(), before.join(u'\n').toStdString());
    EXPECT_EQ(ElementList(*doc), list);
    EXPECT_EQ(UndoSteps(), steps);
    ASSERT_NO_FATAL_FAILURE(ExpectSoundTree());
    EXPECT_FALSE(pane->IsDragging());
}

TEST_F(ExplorerDragTest, ADropWithNoTargetCopiesToTheTopLevelOnlyWithCtrl)
{
    struct Case
    {
        const char* name;
        Qt::KeyboardModifiers keys;
        bool copied;
    };
    const Case cases[] = {
        {"with Ctrl", Qt::ControlModifier, true},
        {"without Ctrl", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        const std::vector<CFormElement*> list = ElementList(*doc);
        // Neither the Address nor its Output element takes a Text.
        BeginDrag(e.text);
        MoveTo(Middle(e.address), c.keys);
        ASSERT_EQ(pane->GetDropPosition(), 0);
        Drop(Middle(e.address), c.keys);

        EXPECT_EQ(Beeps(), 0u);
        const std::vector<CFormElement*> after = ElementList(*doc);
        const bool offered =
            CServerItem::FirstOfferedFormat(QApplication::clipboard()->mimeData()) == CServerItem::ExplFormat;
        EXPECT_EQ(offered, c.copied);
        if (!c.copied) {
            EXPECT_EQ(after, list);
            ExpectSettled(e.text);
            continue;
        }
        ASSERT_EQ(after.size(), list.size() + 1);
        CFormElement* copy = tree().GetItemElement(tree().GetCaretItem());
        ASSERT_NE(copy, nullptr);
        EXPECT_NE(copy, e.text);
        EXPECT_EQ(copy->GetParent(), nullptr);
        EXPECT_EQ(copy->GetDescription(), QStringLiteral("Text"));
        ExpectSettled(copy);
    }
}

TEST_F(ExplorerDragTest, TheImageFollowsThePointerAndCtrlShowsTheCopySign)
{
    BeginDrag(e.text);
    CExplorerDragImage* image = pane->GetDragImage();
    ASSERT_NE(image, nullptr);
    const QPoint point = Middle(e.loop);
    MoveTo(point);
    EXPECT_TRUE(image->isVisible());
    EXPECT_EQ(image->pos(), viewport()->mapToGlobal(point) - QPoint(0, CExplorerDragImage::kPointerOffset));

    // The middle of the plus in the sign's box.
    const QPoint plus = image->CopySignRect().topLeft() + QPoint(9, 9);
    auto signShown = [&] { return image->grab().toImage().pixelColor(plus) == QColor(Qt::black); };
    EXPECT_FALSE(image->ShowsCopySign());
    EXPECT_FALSE(signShown());
    QTest::keyPress(&tree(), Qt::Key_Control);
    EXPECT_TRUE(image->ShowsCopySign());
    EXPECT_TRUE(signShown());
    QTest::keyRelease(&tree(), Qt::Key_Control);
    EXPECT_FALSE(image->ShowsCopySign());
    EXPECT_FALSE(signShown());
    // Other keys leave the sign alone.
    QTest::keyPress(&tree(), Qt::Key_Shift);
    EXPECT_FALSE(image->ShowsCopySign());
    QTest::keyRelease(&tree(), Qt::Key_Shift);
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, point);
}

TEST_F(ExplorerDragTest, TheInsertMarkAndTheHighlightArePaintedInTheTree)
{
    auto pixel = [&](QPoint at) { return viewport()->grab().toImage().pixelColor(at); };
    const QRect row = RowOf(e.loop);
    const QPoint onMark(row.left() + 30, row.top());
    const QPoint blank(viewport()->width() - 10, row.center().y());
    const QColor plainMark = pixel(onMark);
    const QColor plainBlank = pixel(blank);
    ASSERT_NE(plainMark, QColor(Qt::black));

    BeginDrag(e.text);
    MoveTo(On(e.loop, 1));
    EXPECT_EQ(tree().GetInsertMark(), ItemOf(e.loop));
    EXPECT_FALSE(tree().IsInsertMarkAfter());
    EXPECT_EQ(tree().GetDropHighlight(), tree().GetRootItem());
    EXPECT_EQ(pixel(onMark), QColor(Qt::black));

    MoveTo(Middle(e.loop));
    EXPECT_EQ(tree().GetInsertMark(), nullptr);
    EXPECT_EQ(tree().GetDropHighlight(), ItemOf(e.loop));
    EXPECT_NE(pixel(onMark), QColor(Qt::black));
    EXPECT_NE(pixel(blank), plainBlank);

    MoveTo(On(e.loop, row.height() - 2));
    EXPECT_EQ(tree().GetInsertMark(), ItemOf(e.loop));
    EXPECT_TRUE(tree().IsInsertMarkAfter());
    // Back on no target: nothing painted.
    Drop(Middle(e.address));
    EXPECT_EQ(tree().GetInsertMark(), nullptr);
    EXPECT_EQ(tree().GetDropHighlight(), nullptr);
    EXPECT_EQ(pixel(blank), plainBlank);
}

TEST_F(ExplorerDragTest, TheButtonUpEndsTheDragInEveryCase)
{
    BeginDrag(e.text);
    auto* timer = pane->findChild<QTimer*>(QStringLiteral("ExplorerDragTimer"));
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 75);
    EXPECT_EQ(QWidget::mouseGrabber(), pane.get());
    EXPECT_TRUE(tree().hasFocus());
    // Held below the tree for a tick: the counter moves on.
    pane->OnTimer(viewport()->mapToGlobal(QPoint(10, viewport()->height() + 2)));
    EXPECT_EQ(pane->GetScrollTick(), 1);

    Drop(Middle(e.address));
    EXPECT_FALSE(pane->IsDragging());
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(pane->GetScrollTick(), 0);
    EXPECT_EQ(pane->GetScrollZone(viewport()->mapToGlobal(QPoint(0, 5)).y()), 3) << "bounds cleared";
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_EQ(pane->GetDragImage(), nullptr);
    EXPECT_EQ(tree().GetDropHighlight(), nullptr);
}

TEST_F(ExplorerDragTest, AnElementDeletedDuringTheDragIsDroppedNowhere)
{
    BeginDrag(e.text);
    MoveTo(Middle(e.loop));
    const QPoint point = Middle(e.loop);
    {
        CDocChangeGuard guard(doc.get());
        doc->DeleteElement(e.text, TRUE);
    }
    const std::vector<CFormElement*> list = ElementList(*doc);
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, point);
    EXPECT_FALSE(pane->IsDragging());
    EXPECT_EQ(ElementList(*doc), list);
    EXPECT_EQ(Beeps(), 0u);
    ASSERT_NO_FATAL_FAILURE(ExpectSoundTree());
    ExpectTreeMatchesDocument(tree());
}

TEST_F(ExplorerDragTest, ATargetDeletedDuringTheDragTakesNothing)
{
    BeginDrag(e.source);
    MoveTo(Middle(e.conditional));
    ASSERT_EQ(pane->GetDropPosition(), 1);
    const QPoint point = Middle(e.conditional);
    {
        CDocChangeGuard guard(doc.get());
        doc->DeleteElement(e.conditional, TRUE);
    }
    const std::vector<CFormElement*> list = ElementList(*doc);
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, point);
    EXPECT_EQ(e.source->GetParent(), e.loop);
    EXPECT_EQ(ElementList(*doc), list);
    ASSERT_NO_FATAL_FAILURE(ExpectSoundTree());
    ExpectTreeMatchesDocument(tree());
}

TEST_F(ExplorerDragTest, TheDropShowsTheWaitCursorAboveFifteenElements)
{
    const int shows = environment.prompts->WaitCursorShowCount();
    BeginDrag(e.text);
    Drop(Middle(e.loop));
    ASSERT_LE(doc->GetElementList().GetCount(), 15);
    EXPECT_EQ(environment.prompts->WaitCursorShowCount(), shows);
    {
        CDocChangeGuard guard(doc.get());
        for (int i = 0; i < 6; ++i)
            Create(FormElementType::Text, Cells(1, 50 + i, 10, 51 + i), nullptr, QStringLiteral("More %1").arg(i));
    }
    ASSERT_GT(doc->GetElementList().GetCount(), 15);
    BeginDrag(e.source);
    Drop(Middle(nullptr));
    EXPECT_EQ(environment.prompts->WaitCursorShowCount(), shows + 1);
}

TEST_F(ExplorerDragTest, TheRootAndShortMovesStartNoDrag)
{
    const QPoint root = Middle(nullptr);
    QTest::mousePress(viewport(), Qt::LeftButton, {}, root);
    QTest::mouseMove(viewport(), root + QPoint(QApplication::startDragDistance() + 5, 0));
    EXPECT_FALSE(pane->IsDragging());
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, root);

    const QPoint text = Middle(e.text);
    QTest::mousePress(viewport(), Qt::LeftButton, {}, text);
    QTest::mouseMove(viewport(), text + QPoint(QApplication::startDragDistance() - 1, 0));
    EXPECT_FALSE(pane->IsDragging());
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, text);
    EXPECT_EQ(pane->GetDragImage(), nullptr);
}

// The tree scrolls by ticks while the pointer is held beyond its edges:
// every tick far from them, every third tick near them.
struct ScrollTickCase
{
    const char* name;
    int zone;
    bool fromBottom;
    std::vector<int> scrolls; // the change of the first visible row per tick
};

void PrintTo(const ScrollTickCase& c, std::ostream* os)
{
    *os << c.name;
}

class ExplorerDragScrollTest : public ExplorerDragTest, public ::testing::WithParamInterface<ScrollTickCase>
{};

TEST_P(ExplorerDragScrollTest, TicksScrollOneLineAsTheZoneSays)
{
    const ScrollTickCase& c = GetParam();
    {
        CDocChangeGuard guard(doc.get());
        for (int i = 0; i < 10; ++i)
            Create(FormElementType::Text, Cells(1, 50 + i, 10, 51 + i), nullptr, QStringLiteral("More %1").arg(i));
    }
    pane->resize(300, 160);
    QCoreApplication::processEvents();
    tree().GetFirstVisibleItem();
    QScrollBar* bar = tree().verticalScrollBar();
    ASSERT_GE(bar->maximum(), 8);
    BeginDrag(e.loop);
    if (c.fromBottom)
        bar->setValue(bar->maximum());
    const int top = viewport()->mapToGlobal(QPoint(0, 0)).y();
    const int bottom = top + viewport()->height();
    const int bar16 = std::max(0, pane->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, pane.get()));
    const int y = c.zone == 0 ? top - 1 : c.zone == 1 ? bottom + 1 : c.zone == 2 ? top - bar16 - 5 : bottom + bar16 + 5;
    ASSERT_EQ(pane->GetScrollZone(y), c.zone);

    std::vector<int> scrolls;
    for (int tick = 0; tick < 7; ++tick) {
        const int before = bar->value();
        pane->OnTimer(QPoint(viewport()->mapToGlobal(QPoint(20, 0)).x(), y));
        scrolls.push_back(bar->value() - before);
    }
    EXPECT_EQ(scrolls, c.scrolls);
    // The target follows the first or last row shown, by a move's rules.
    EXPECT_NE(pane->GetHoveredItem(), nullptr);
    Drop(viewport()->mapFromGlobal(QPoint(0, y)));
}

INSTANTIATE_TEST_SUITE_P(Zones, ExplorerDragScrollTest,
                         ::testing::Values(ScrollTickCase{"near_below", 1, false, {1, 0, 0, 1, 0, 0, 1}},
                                           ScrollTickCase{"far_below", 3, false, {1, 1, 1, 1, 1, 1, 1}},
                                           ScrollTickCase{"near_above", 0, true, {-1, 0, 0, -1, 0, 0, -1}},
                                           ScrollTickCase{"far_above", 2, true, {-1, -1, -1, -1, -1, -1, -1}}),
                         [](const ::testing::TestParamInfo<ScrollTickCase>& info) { return info.param.name; });

} // namespace
