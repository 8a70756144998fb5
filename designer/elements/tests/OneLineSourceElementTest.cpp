#include "designer/elements/OneLineSourceElement.h"
#include "designer/document/Page.h"
#include "designer/elements/FormVariableElement.h"

#include "ElementTestKinds.h"

#include <gtest/gtest.h>

namespace {

using kwvd::Rect;

class OneLineSourceTest : public ElementDocFixture
{};

TEST_F(OneLineSourceTest, SnapKeepsOneLineOnThePage)
{
    const CPage& page = *doc->GetSourcePage();
    ASSERT_EQ(page.GetCellWidth(), 10);
    ASSERT_EQ(page.GetCellHeight(), 16);
    const int h = page.GetPixelHeight();
    struct Case
    {
        const char* name;
        Rect rect;
        Rect expected;
    };
    const Case cases[] = {
        {"three lines become one", Rect(10, 16, 50, 64), Rect(10, 16, 50, 32)},
        {"sides to the nearest lines", Rect(14, 25, 56, 30), Rect(10, 32, 60, 48)},
        {"half a cell rounds down", Rect(15, 8, 45, 9), Rect(10, 0, 40, 16)},
        {"below the last line comes back whole", Rect(0, h - 4, 20, h + 30), Rect(0, h - 16, 20, h)},
        {"no box stays none", Rect(), Rect()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rect r = c.rect;
        SnapRectToOneLine(page, r);
        EXPECT_EQ(r, c.expected);
    }
}

TEST_F(OneLineSourceTest, MovesAndResizesKeepOneLine)
{
    constexpr int kMoveXY = ElementMoveFlags::Left | ElementMoveFlags::Top;
    struct Case
    {
        const char* name;
        bool resize;
        int x, y, flags;
        BOOL absolute;
        bool selected;
        Rect expected;
    };
    const Case cases[] = {
        {"move snaps the corner down", false, 25, 40, kMoveXY, TRUE, false, Rect(20, 32, 50, 48)},
        {"bottom edge pulled down stays one line", true, 0, 40, ElementMoveFlags::Bottom, FALSE, false,
         Rect(10, 16, 40, 32)},
        {"top edge pulled up moves the line up", true, 0, 16, ElementMoveFlags::Top, FALSE, false, Rect(10, 0, 40, 16)},
        {"width by a cell", true, 10, 0, ElementMoveFlags::Right, FALSE, false, Rect(10, 16, 50, 32)},
        {"only when selected, unselected", false, 30, 0, kMoveXY | ElementMoveFlags::IfSelected, FALSE, false,
         Rect(10, 16, 40, 32)},
        {"only when selected, selected", false, 30, 0, kMoveXY | ElementMoveFlags::IfSelected, FALSE, true,
         Rect(40, 16, 70, 32)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* variable = static_cast<CFormVariableElement*>(
            doc->CreateNewElement(FormElementType::Variable, PaneSide::Input, Rect(10, 16, 40, 32), nullptr));
        ASSERT_NE(variable, nullptr);
        if (c.selected)
            variable->Select(TRUE);
        recorder.hints.clear();
        doc->ClearDirty();
        if (c.resize)
            variable->ResizeSource(c.x, c.y, c.flags, c.absolute);
        else
            variable->MoveSource(c.x, c.y, c.flags, c.absolute);
        EXPECT_EQ(variable->SourceRect(), c.expected);
        const bool moved = c.expected != Rect(10, 16, 40, 32);
        EXPECT_EQ(doc->IsDirty(), moved ? TRUE : FALSE);
        EXPECT_EQ(recorder.hints.empty(), !moved && (c.flags & ElementMoveFlags::IfSelected) != 0);
    }
}

} // namespace
