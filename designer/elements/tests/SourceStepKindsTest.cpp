// Moving and resizing the source box runs the same steps for every kind; each
// kind adds only its own fix-up of the box. One row per kind and step.

#include "designer/document/Page.h"
#include "designer/elements/FormBarcodeElement.h"
#include "designer/elements/FormElement.h"
#include "designer/resources/barcodes/BarcodeManager.h"

#include "ElementTestKinds.h"

#include <gtest/gtest.h>

#include <QSize>

namespace {

using kwvd::Rect;
using F = ElementMoveFlags;
using T = FormElementType;

class SourceStepKindsTest : public ElementDocFixture
{
protected:
    CFormElement* Draw(int type, const Rect& rect)
    {
        CFormElement* element = doc->CreateNewElement(type, PaneSide::Input, rect, nullptr);
        EXPECT_NE(element, nullptr);
        return element;
    }

    static void Apply(CFormElement& element, const ElementStep& step)
    {
        if (step.IsMove())
            element.MoveSource(step.x, step.y, step.flags, step.absolute);
        else
            element.ResizeSource(step.x, step.y, step.flags, step.absolute);
    }
};

TEST_F(SourceStepKindsTest, EachKindFixesItsBoxAfterTheSharedStep)
{
    // Cells of 10 x 16 pixels on the source page.
    const CPage& page = *doc->GetSourcePage();
    ASSERT_EQ(QSize(page.GetCellWidth(), page.GetCellHeight()), QSize(10, 16));
    struct Case
    {
        const char* name;
        int type;
        Rect drawn;
        ElementStep step;
        Rect expected;
    };
    const ElementStep down3Lines{ElementStep::Resize, 0, 48, F::Bottom, FALSE};
    const ElementStep moveBy{ElementStep::Move, 20, 32, F::Left | F::Top, FALSE};
    const Case cases[] = {
        {"base rule: a text source box grows by three lines", T::Source, Rect(10, 16, 40, 32), down3Lines,
         Rect(10, 16, 40, 80)},
        {"variable: stays one line", T::Variable, Rect(10, 16, 40, 32), down3Lines, Rect(10, 16, 40, 32)},
        {"conditional: stays one line", T::Conditional, Rect(10, 16, 40, 32), down3Lines, Rect(10, 16, 40, 32)},
        {"exit parameter: stays one line", T::ExitParam, Rect(10, 16, 40, 32), down3Lines, Rect(10, 16, 40, 32)},
        {"loop: moved, then across the whole page", T::Loop, Rect(10, 16, 40, 32), moveBy,
         Rect(0, 48, page.GetPixelWidth(), 64)},
        {"text source: moved by whole cells", T::Source, Rect(10, 16, 40, 32), moveBy, Rect(30, 48, 60, 64)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFormElement* element = Draw(c.type, c.drawn);
        ASSERT_NE(element, nullptr);
        doc->SetModifiedFlag(FALSE);
        Apply(*element, c.step);
        EXPECT_EQ(element->SourceRect(), c.expected) << c.name;
        EXPECT_EQ(doc->IsModified(), element->SourceRect() != c.drawn ? TRUE : FALSE) << c.name;
        doc->DeleteElement(element, TRUE);
    }
}

TEST_F(SourceStepKindsTest, AnUnselectedElementIgnoresASelectedOnlyStep)
{
    const int kinds[] = {T::Source, T::Variable, T::Conditional, T::ExitParam, T::Loop, T::Barcode, T::Image};
    for (int type : kinds) {
        SCOPED_TRACE(FormElementType::DisplayName(type).toStdString());
        CFormElement* element = Draw(type, Rect(10, 16, 40, 32));
        ASSERT_NE(element, nullptr);
        element->Select(FALSE);
        const Rect source = element->SourceRect();
        const Rect dest = element->DestRect();
        doc->SetModifiedFlag(FALSE);
        recorder.hints.clear();
        element->MoveSource(20, 32, F::Left | F::Top | F::IfSelected, FALSE);
        element->ResizeSource(0, 48, F::Bottom | F::IfSelected, FALSE);
        EXPECT_EQ(element->SourceRect(), source);
        EXPECT_EQ(element->DestRect(), dest);
        EXPECT_FALSE(doc->IsModified());
        EXPECT_TRUE(recorder.hints.empty());
        doc->DeleteElement(element, TRUE);
    }
}

// The kinds whose destination follows the source: a move of the source moves
// both boxes until the destination is moved on its own.
TEST_F(SourceStepKindsTest, TheLinkedDestinationFollowsASourceMove)
{
    const int kinds[] = {T::Source, T::Loop, T::Barcode};
    for (int type : kinds) {
        SCOPED_TRACE(FormElementType::DisplayName(type).toStdString());
        CFormElement* element = Draw(type, Rect(10, 16, 40, 32));
        ASSERT_NE(element, nullptr);
        const Rect dest = element->DestRect();
        ASSERT_FALSE(dest.IsNull());
        element->MoveSource(0, 32, F::Left | F::Top, FALSE);
        EXPECT_NE(element->DestRect(), dest) << "linked: the destination moved with the source";

        element->MoveDest(0, 32, F::Left | F::Top, FALSE);
        const Rect movedAlone = element->DestRect();
        element->MoveSource(0, 32, F::Left | F::Top, FALSE);
        EXPECT_EQ(element->DestRect(), movedAlone) << "unlinked: the destination stays";
        doc->DeleteElement(element, TRUE);
    }
}

// A barcode's destination follows only moves: a resize of the source sizes
// the definition, which sizes both boxes.
TEST_F(SourceStepKindsTest, ABarcodeResizeSetsTheDefinitionWidthAndKeepsTheLink)
{
    auto* barcode = static_cast<CFormBarcodeElement*>(Draw(T::Barcode, Rect(10, 16, 40, 32)));
    ASSERT_NE(barcode, nullptr);
    CBarcode* definition = doc->GetBarcodeManager()->GetBarcode(barcode->GetBarcodeIndex());
    ASSERT_NE(definition, nullptr);
    barcode->ResizeSource(120, 0, F::Right, TRUE);
    const Rect cells = [&] {
        Rect r = barcode->SourceRect();
        doc->GetSourcePage()->RectToCells(r);
        return r;
    }();
    EXPECT_EQ(definition->GetWidthColumns(), cells.Width());
    EXPECT_TRUE(barcode->IsLinked());
}

} // namespace
