#include "ElementTestKinds.h"

#include "designer/document/Page.h"
#include "designer/document/SpooledFile.h"
#include "designer/preferences/ColourRef.h"

#include <QImage>
#include <QPainter>

using kwvd::Rect;

namespace {

constexpr int kMoveXY = ElementMoveFlags::Left | ElementMoveFlags::Top;

QPoint PixelsToTwips(const CPage& page, QPoint pixels)
{
    page.PixelsToTwips(pixels);
    return pixels;
}

} // namespace

class FormElementTest : public ElementDocFixture
{
protected:
    const CPage& Output() const { return *doc->GetOutputPage(); }
};

TEST_F(FormElementTest, GridIsTenBySixteenAtNinetySixDpi)
{
    ASSERT_EQ(Output().GetCellWidth(), 10);
    ASSERT_EQ(Output().GetCellHeight(), 16);
}

// The moves of the destination on a 10 x 16 cell.
TEST_F(FormElementTest, MoveDestSnapsOrKeepsTheRestAsOffset)
{
    struct Case
    {
        const char* name;
        BOOL keepsOffset;
        int flags;
        Rect expectedDest; // stored, without the offset
        QPoint expectedOffsetPixels;
    };
    const Case cases[] = {
        {"snapped, kind without offset", FALSE, kMoveXY, {20, 32, 50, 64}, {0, 0}},
        {"snapped, kind with offset", TRUE, kMoveXY, {20, 32, 50, 64}, {0, 0}},
        {"off grid, kind with offset keeps the rest",
         TRUE,
         kMoveXY | ElementMoveFlags::NoSnap,
         {20, 32, 50, 64},
         {5, 8}},
        {"off grid, kind without offset stays off grid",
         FALSE,
         kMoveXY | ElementMoveFlags::NoSnap,
         {25, 40, 55, 72},
         {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestLeaf* e = AddLeaf(FormElementType::Text, {}, {0, 0, 30, 32}, c.keepsOffset);
        e->MoveDest(25, 40, c.flags, TRUE);
        EXPECT_EQ(e->DestRect(), c.expectedDest);
        EXPECT_EQ(e->GetOffset(), PixelsToTwips(Output(), c.expectedOffsetPixels));
        doc->DeleteElement(e, TRUE);
    }
}

TEST_F(FormElementTest, OffsetSurvivesOnlyWhereTheElementStayedInItsCell)
{
    struct Case
    {
        const char* name;
        QPoint offsetPixels;
        int dx;
        int dy;
        QPoint expectedOffsetPixels;
    };
    const Case cases[] = {
        {"vertical move keeps x offset", {3, 0}, 0, 16, {3, 0}},
        {"one cell right drops x offset", {3, 0}, 10, 0, {0, 0}},
        {"half-cell offset survives one cell right", {5, 0}, 10, 0, {5, 0}},
        {"horizontal move keeps y offset", {0, 4}, 10, 0, {0, 4}},
        {"one line down drops y offset", {0, 4}, 0, 16, {0, 0}},
        {"half-line offset survives one line down", {0, 8}, 0, 16, {0, 8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestLeaf* e = AddLeaf(FormElementType::Text, {}, {20, 32, 50, 64}, TRUE);
        ASSERT_TRUE(e->SetOffset(PixelsToTwips(Output(), c.offsetPixels)));
        e->MoveDest(c.dx, c.dy, kMoveXY, FALSE);
        EXPECT_EQ(e->GetOffset(), PixelsToTwips(Output(), c.expectedOffsetPixels));
        doc->DeleteElement(e, TRUE);
    }
}

TEST_F(FormElementTest, ShownDestinationIncludesTheOffset)
{
    TestLeaf* e = AddLeaf(FormElementType::Text, {}, {20, 32, 50, 64}, TRUE);
    e->SetOffset(PixelsToTwips(Output(), {5, 8}));
    EXPECT_EQ(e->GetDestRect(), Rect(25, 40, 55, 72));
    EXPECT_EQ(e->DestRect(), Rect(20, 32, 50, 64));
}

TEST_F(FormElementTest, ResizeNeverGoesBelowOneCell)
{
    struct Case
    {
        const char* name;
        bool source;
        int cx;
        int cy;
        int flags;
        BOOL absolute;
        Rect start;
        Rect expected;
    };
    using F = ElementMoveFlags;
    const Case cases[] = {
        {"right edge to 5 pixels gives one cell", false, 5, 0, F::Right, TRUE, {0, 0, 30, 32}, {0, 0, 10, 32}},
        {"right edge to 0 gives one cell", false, 0, 0, F::Right, TRUE, {0, 0, 30, 32}, {0, 0, 10, 32}},
        {"top wins over bottom", true, 0, 16, F::Top | F::Bottom, TRUE, {0, 32, 30, 64}, {0, 48, 30, 64}},
        {"left wins over right", true, 20, 0, F::Left | F::Right, TRUE, {0, 0, 30, 32}, {10, 0, 30, 32}},
        {"shifting the bottom by a line", true, 0, 16, F::Bottom, FALSE, {0, 0, 30, 32}, {0, 0, 30, 48}},
        {"shifting the left edge out by a cell", true, 10, 0, F::Left, FALSE, {10, 0, 30, 32}, {0, 0, 30, 32}},
        {"odd size snaps outward", false, 25, 0, F::Right, TRUE, {0, 0, 30, 32}, {0, 0, 30, 32}},
        {"off grid kept with no-snap", false, 25, 0, F::Right | F::NoSnap, TRUE, {0, 0, 30, 32}, {0, 0, 25, 32}},
        {"clipped at the page's right edge", false, 2000, 0, F::Right, TRUE, {800, 0, 810, 16}, {800, 0, 827, 16}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestLeaf* e = AddLeaf(FormElementType::Text);
        if (c.source) {
            e->SetRects(c.start, {});
            e->ResizeSource(c.cx, c.cy, c.flags, c.absolute);
            EXPECT_EQ(e->SourceRect(), c.expected);
        } else {
            e->SetRects({}, c.start);
            e->ResizeDest(c.cx, c.cy, c.flags, c.absolute);
            EXPECT_EQ(e->DestRect(), c.expected);
        }
        doc->DeleteElement(e, TRUE);
    }
}

TEST_F(FormElementTest, MoveAnnouncesBeforeAndAfterAndMarksModified)
{
    TestLeaf* e = AddLeaf(FormElementType::Text, {0, 0, 30, 32}, {0, 0, 30, 32});
    recorder.hints.clear();
    doc->ClearDirty();

    e->MoveSource(10, 16, kMoveXY, FALSE);

    EXPECT_EQ(recorder.hints, (std::vector<HintRecord>{{242, e}, {242, e}}));
    EXPECT_EQ(e->SourceRect(), Rect(10, 16, 40, 48));
    EXPECT_TRUE(doc->IsDirty());
}

TEST_F(FormElementTest, MoveToTheSamePlaceAnnouncesOnceAndChangesNothing)
{
    TestLeaf* e = AddLeaf(FormElementType::Text, {}, {10, 16, 40, 48});
    recorder.hints.clear();
    doc->ClearDirty();

    e->MoveDest(10, 16, kMoveXY, TRUE);

    EXPECT_EQ(recorder.HintNumbers(), std::vector<LPARAM>{243});
    EXPECT_FALSE(doc->IsDirty());
}

TEST_F(FormElementTest, OnlySelectedFlagIgnoresUnselectedElements)
{
    TestLeaf* e = AddLeaf(FormElementType::Text, {0, 0, 30, 32}, {0, 0, 30, 32});
    recorder.hints.clear();
    const int flags = kMoveXY | ElementMoveFlags::IfSelected;

    e->MoveSource(10, 16, flags, FALSE);
    e->MoveDest(10, 16, flags, FALSE);
    e->ResizeSource(10, 16, ElementMoveFlags::Right | ElementMoveFlags::IfSelected, FALSE);
    e->ResizeDest(10, 16, ElementMoveFlags::Right | ElementMoveFlags::IfSelected, FALSE);

    EXPECT_TRUE(recorder.hints.empty());
    EXPECT_EQ(e->SourceRect(), Rect(0, 0, 30, 32));
    EXPECT_EQ(e->DestRect(), Rect(0, 0, 30, 32));

    e->Select(TRUE);
    e->MoveDest(10, 16, flags, FALSE);
    EXPECT_EQ(e->DestRect(), Rect(10, 16, 40, 48));
}

TEST_F(FormElementTest, EmptySideNeverMoves)
{
    TestLeaf* e = AddLeaf(FormElementType::Text);
    e->MoveDest(25, 40, kMoveXY, TRUE);
    e->ResizeSource(30, 30, ElementMoveFlags::Right, TRUE);
    EXPECT_TRUE(e->DestRect().IsNull());
    EXPECT_TRUE(e->SourceRect().IsNull());
}

TEST_F(FormElementTest, MoveIsKeptOnThePage)
{
    TestLeaf* e = AddLeaf(FormElementType::Text, {}, {0, 0, 30, 32});
    e->MoveDest(-50, -50, kMoveXY, TRUE);
    EXPECT_EQ(e->DestRect(), Rect(0, 0, 30, 32));
    e->MoveDest(5000, 0, kMoveXY, TRUE);
    EXPECT_EQ(e->DestRect().right, Output().GetPixelWidth());
    EXPECT_EQ(e->DestRect().Width(), 30);
}

TEST_F(FormElementTest, HitTestGrowsOnlyForSelectedElements)
{
    struct Case
    {
        const char* name;
        BOOL selected;
        QPoint point;
        bool hits;
    };
    const Case cases[] = {
        {"inside", FALSE, {15, 20}, true},
        {"top-left corner", FALSE, {10, 16}, true},
        {"right edge misses", FALSE, {40, 20}, false},
        {"bottom edge misses", FALSE, {15, 48}, false},
        {"one pixel left of an unselected box", FALSE, {9, 20}, false},
        {"one pixel left of a selected box", TRUE, {9, 20}, true},
        {"right edge of a selected box", TRUE, {40, 20}, true},
        {"two pixels out of a selected box", TRUE, {41, 20}, false},
    };
    TestLeaf* e = AddLeaf(FormElementType::Text, {10, 16, 40, 48}, {10, 16, 40, 48});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        e->Select(c.selected);
        EXPECT_EQ(e->HitTestDest(c.point) != nullptr, c.hits);
        EXPECT_EQ(e->HitTestSource(c.point) != nullptr, c.hits);
    }
}

TEST_F(FormElementTest, EmptyRectangleNeverHits)
{
    TestLeaf* e = AddLeaf(FormElementType::Text);
    e->Select(TRUE);
    EXPECT_EQ(e->HitTestDest({0, 0}), nullptr);
    EXPECT_EQ(e->HitTestSource({0, 0}), nullptr);
}

TEST_F(FormElementTest, SelectionVariantsAnnounceTheirHint)
{
    struct Case
    {
        const char* name;
        BOOL (*select)(TestLeaf&, BOOL);
        std::vector<LPARAM> onSelect;
        std::vector<LPARAM> onDeselect;
    };
    const Case cases[] = {
        {"element changed", [](TestLeaf& e, BOOL s) { return e.Select(s); }, {241}, {241, 241}},
        {"destination changed", [](TestLeaf& e, BOOL s) { return e.SelectAnnouncingDest(s); }, {243}, {243, 243}},
        {"quiet", [](TestLeaf& e, BOOL s) { return e.SelectQuietly(s); }, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestLeaf* e = AddLeaf(FormElementType::Text);
        recorder.hints.clear();
        EXPECT_TRUE(c.select(*e, TRUE));
        EXPECT_EQ(recorder.HintNumbers(), c.onSelect);
        recorder.hints.clear();
        EXPECT_FALSE(c.select(*e, TRUE));
        EXPECT_TRUE(recorder.hints.empty());
        EXPECT_TRUE(c.select(*e, FALSE));
        EXPECT_EQ(recorder.HintNumbers(), c.onDeselect);
        EXPECT_FALSE(e->IsSelected());
        doc->DeleteElement(e, TRUE);
    }
}

TEST_F(FormElementTest, KindWithoutOffsetStoresZero)
{
    TestLeaf* e = AddLeaf(FormElementType::Variable, {}, {0, 0, 30, 32});
    recorder.hints.clear();
    EXPECT_FALSE(e->SetOffset({100, 100}));
    EXPECT_EQ(e->GetOffset(), QPoint(0, 0));
    EXPECT_TRUE(recorder.hints.empty());

    e->SetRawOffset({50, 0});
    EXPECT_TRUE(e->SetOffset({100, 100}));
    EXPECT_EQ(e->GetOffset(), QPoint(0, 0));
    EXPECT_EQ(recorder.HintNumbers(), (std::vector<LPARAM>{243, 243}));
}

TEST_F(FormElementTest, LeavingALoopClearsTheAbsoluteFlags)
{
    TestContainer* loop = AddContainer(FormElementType::Loop);
    TestContainer* conditional = AddContainer(FormElementType::Conditional, loop);
    ASSERT_EQ(conditional->GetParent(), loop);

    struct Case
    {
        const char* name;
        CFormElement* from;
        CFormElement* to;
        bool keeps;
    };
    const Case cases[] = {
        {"loop to the top level", loop, nullptr, false},
        {"loop into a conditional of the same loop", loop, conditional, true},
        {"conditional in the loop to the loop", conditional, loop, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestLeaf e(doc.get(), FormElementType::Text);
        e.SetParent(c.from);
        e.SetSourceAbsolute(TRUE);
        e.SetDestAbsolute(TRUE);
        EXPECT_TRUE(e.SetParent(c.to));
        EXPECT_EQ(e.IsDestAbsolute() != 0, c.keeps);
        EXPECT_EQ(e.IsSourceAbsolute() != 0, c.keeps);
        e.SetParent(nullptr);
    }
}

TEST_F(FormElementTest, SetParentRefusesItselfAndTheSameParent)
{
    TestContainer* loop = AddContainer(FormElementType::Loop);
    TestLeaf* e = AddLeafInto(loop, FormElementType::Text);
    EXPECT_FALSE(e->SetParent(loop));
    EXPECT_FALSE(loop->SetParent(loop));
    EXPECT_EQ(loop->GetParent(), nullptr);
}

TEST_F(FormElementTest, LoopCountsAsInLoopOnlyInsideAContainer)
{
    TestContainer* topLoop = AddContainer(FormElementType::Loop);
    TestContainer* conditional = AddContainer(FormElementType::Conditional);
    TestContainer* innerLoop = new TestContainer(doc.get(), FormElementType::Loop);
    doc->AddElement(innerLoop, FALSE, nullptr);
    innerLoop->SetParent(conditional); // a Conditional refuses a Loop; the flag rule still climbs

    EXPECT_FALSE(topLoop->IsInLoop());
    EXPECT_TRUE(innerLoop->IsInLoop());
    EXPECT_FALSE(conditional->IsInLoop());
    innerLoop->SetParent(nullptr);
}

TEST_F(FormElementTest, ReplaceRewritesTheDescription)
{
    struct Case
    {
        const char* name;
        const char* description;
        const char* expected;
        BOOL changed;
        size_t hints;
    };
    const Case cases[] = {
        {"every occurrence", "ABA", "BBB", TRUE, 1},
        {"nothing to replace", "xyz", "xyz", FALSE, 0},
        {"case counts", "aba", "aba", FALSE, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestLeaf* e = AddLeaf(FormElementType::Text);
        e->SetRawDescription(QString::fromUtf8(c.description));
        recorder.hints.clear();
        EXPECT_EQ(e->Replace(QStringLiteral("A"), QStringLiteral("B")), c.changed);
        EXPECT_EQ(e->GetDescription(), QString::fromUtf8(c.expected));
        EXPECT_EQ(recorder.hints.size(), c.hints);
        doc->DeleteElement(e, TRUE);
    }
}

TEST_F(FormElementTest, FindIsCaseSensitiveAndNeedsText)
{
    TestLeaf* e = AddLeaf(FormElementType::Text);
    e->SetRawDescription(QStringLiteral("Invoice total"));
    EXPECT_TRUE(e->Find(QStringLiteral("total")));
    EXPECT_FALSE(e->Find(QStringLiteral("Total")));
    EXPECT_FALSE(e->Find(QString()));
}

TEST_F(FormElementTest, SetDescriptionAnnouncesOnlyAChange)
{
    TestLeaf* e = AddLeaf(FormElementType::Text);
    recorder.hints.clear();
    EXPECT_TRUE(CFormElement::SetDescription(QStringLiteral("Total"), e));
    EXPECT_FALSE(CFormElement::SetDescription(QStringLiteral("Total"), e));
    EXPECT_EQ(recorder.HintNumbers(), std::vector<LPARAM>{241});
    EXPECT_TRUE(e->IsAutoDescription()) << "the automatic flag is the caller's business";
}

TEST_F(FormElementTest, CompareElementsFollowsDocumentOrder)
{
    TestLeaf* first = AddLeaf(FormElementType::Text, {}, {500, 500, 510, 516});
    TestLeaf* second = AddLeaf(FormElementType::Text, {}, {0, 0, 10, 16});
    TestLeaf outside(doc.get(), FormElementType::Text);

    EXPECT_LT(CFormElement::CompareElements(first, second, 6), 0);
    EXPECT_GT(CFormElement::CompareElements(second, first, 6), 0);
    EXPECT_EQ(CFormElement::CompareElements(first, first, 6), 0);
    // Not in the list: counts as the first place.
    WORD firstIndex = 0;
    ASSERT_TRUE(FindElementIndex(doc->GetElementList(), first, &firstIndex));
    EXPECT_EQ(CFormElement::CompareElements(&outside, first, 6), -static_cast<int>(firstIndex));
}

TEST_F(FormElementTest, RevalidatePutsBoxesBackOnTheGridAndPage)
{
    TestLeaf* e = AddLeaf(FormElementType::Text, {3, 5, 28, 30}, {0, 0, 30, 32});
    recorder.hints.clear();
    doc->ClearDirty();

    e->Revalidate(0);

    EXPECT_EQ(e->SourceRect(), Rect(0, 0, 30, 32));
    EXPECT_EQ(recorder.HintNumbers(), (std::vector<LPARAM>{242, 242}));
    EXPECT_FALSE(doc->IsDirty()) << "revalidation is not a change of the user's";
    EXPECT_TRUE(e->IsAutoDescription());

    e->Revalidate(1);
    EXPECT_FALSE(e->IsAutoDescription());
}

TEST_F(FormElementTest, CopyTakesEveryBaseField)
{
    TestContainer* loop = AddContainer(FormElementType::Loop);
    TestLeaf* original = AddLeafInto(loop, FormElementType::Text);
    original->SetRects({10, 16, 20, 32}, {20, 32, 40, 48});
    original->SetRawDescription(QStringLiteral("Name"));
    original->SetDestAbsolute(TRUE);
    original->Select(TRUE);

    TestLeaf copy(nullptr, FormElementType::Text);
    copy.Copy(*original);

    EXPECT_EQ(copy.SourceRect(), original->SourceRect());
    EXPECT_EQ(copy.DestRect(), original->DestRect());
    EXPECT_EQ(copy.GetDescription(), QStringLiteral("Name"));
    EXPECT_TRUE(copy.IsDestAbsolute());
    EXPECT_TRUE(copy.IsSelected());
    EXPECT_EQ(copy.GetDocument(), doc.get());
    EXPECT_EQ(copy.GetParent(), loop);
    copy.SetDocument(nullptr);
    copy.SetParent(nullptr);
}

TEST_F(FormElementTest, TypeNamesComeFromTheStringTable)
{
    struct Case
    {
        int type;
        const char* name;
    };
    const Case cases[] = {
        {FormElementType::Address, "Address"},      {FormElementType::Image, "Image."},
        {FormElementType::Output, "Output Device"}, {FormElementType::Source, "Section of spooled file."},
        {FormElementType::Text, "Static text."},    {FormElementType::XmlInstruction, "XML Instruction"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormElementType::DisplayName(c.type), QString::fromUtf8(c.name)) << c.type;
    EXPECT_FALSE(FormElementType::IsElementType(FormElementType::EndLoop));
    EXPECT_FALSE(FormElementType::IsElementType(FormElementType::BlankRecord));
    EXPECT_TRUE(FormElementType::IsElementType(FormElementType::XmlComment));
}

// Drawing on a 40 x 40 image: fill, white outline, dotted frame.
TEST(DrawElementBoxTest, FillsOutlinesAndFramesBySelection)
{
    const QRgb red = qRgb(255, 0, 0);
    const QRgb grey = qRgb(128, 128, 128);
    const QRgb white = qRgb(255, 255, 255);
    struct Case
    {
        const char* name;
        BOOL selected;
        Rect box;
        QRgb atCorner;     // the box's top-left pixel
        bool frameOutside; // dots in the column just left of the box
    };
    const Case cases[] = {
        {"unselected: white outline on the box's own edge", FALSE, {10, 10, 30, 30}, white, false},
        {"selected: dotted frame just outside the fill", TRUE, {10, 10, 30, 30}, red, true},
        {"tiny unselected box: fill only", FALSE, {10, 10, 12, 12}, red, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QImage image(40, 40, QImage::Format_RGB32);
        image.fill(grey);
        TestLeaf element(nullptr, FormElementType::Text);
        element.SelectQuietly(c.selected);
        {
            QPainter painter(&image);
            CFormElement::DrawElementBox(painter, c.box, &element, kwvd::ColourRef(255, 0, 0));
        }
        EXPECT_EQ(image.pixel(c.box.left, c.box.top), c.atCorner);
        EXPECT_EQ(image.pixel(c.box.left + 1, c.box.top + 1), red);
        int dots = 0;
        int grey_ = 0;
        for (int y = c.box.top; y < c.box.bottom; ++y) {
            const QRgb p = image.pixel(c.box.left - 1, y);
            dots += p == qRgb(0, 0, 0) ? 1 : 0;
            grey_ += p == grey ? 1 : 0;
        }
        if (c.frameOutside) {
            EXPECT_GT(dots, 0);
            EXPECT_GT(grey_, 0) << "the frame is dotted, not solid";
        } else {
            EXPECT_EQ(grey_, c.box.Height());
        }
        // Right and bottom are outside the box: no fill there.
        EXPECT_NE(image.pixel(c.box.right, c.box.top + 1), red);
        EXPECT_NE(image.pixel(c.box.left + 1, c.box.bottom), red);
    }
}

TEST_F(FormElementTest, DescriptionFromTheSpooledFileUnderTheSource)
{
    auto* page = new CStringArray;
    page->Add(QString());
    page->Add(QStringLiteral("   INVOICE 42      page 1"));
    PageList pages(new CObList);
    pages->AddTail(page);
    doc->GetSpooledFile()->ReplacePageList(std::move(pages));
    ASSERT_TRUE(doc->GetSpooledFile()->SetCurrentPage(1));

    // Columns 1 to 15 of line 1.
    TestLeaf* e = AddLeaf(FormElementType::Source, {0, 0, 150, 16});
    EXPECT_TRUE(CFormElement::SetDescriptionFromSource(e));
    EXPECT_EQ(e->GetDescription(), QStringLiteral("INVOICE 42"));

    TestLeaf* below = AddLeaf(FormElementType::Source, {0, 160, 150, 176});
    EXPECT_FALSE(CFormElement::SetDescriptionFromSource(below)) << "below the last line: nothing";
    EXPECT_TRUE(below->GetDescription().isEmpty());
}
