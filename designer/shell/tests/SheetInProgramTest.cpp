#include "designer/commands/CommandIds.h"
#include "designer/commands/CommandRouter.h"
#include "designer/document/DesignerDoc.h"
#include "designer/elements/FormElement.h"
#include "designer/shell/MainFrame.h"
#include "designer/shell/WVDDesignerApp.h"
#include "designer/shell/tests/ProgramTestFixture.h"
#include "designer/views/DDestView.h"
#include "designer/views/pages/ElementPropertySheet.h"

#include <gtest/gtest.h>

#include <QTest>

namespace {

const QString kSampleDocument = QStringLiteral(KWVD_SOURCE_DIR "/samples/sample.wvd");

class SheetInProgram : public ProgramTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartProgram({kSampleDocument}, QSize(1280, 860)));
    }
};

TEST_F(SheetInProgram, TheProgramMakesTheSheetAndEnablesItsCommands)
{
    auto* sheet = dynamic_cast<CElementPropertySheet*>(frame->ElementPropertySheet());
    ASSERT_NE(sheet, nullptr);
    EXPECT_FALSE(sheet->IsShown());
    EXPECT_TRUE(frame->Router().Query(ID_EXPLORER_VIEW_PROPERTIES).IsEnabled());
    // Properties: the frame's, once the focused pane has an element to show.
    auto* output = dynamic_cast<CDDestView*>(frame->GetPaneView(1));
    ASSERT_NE(output, nullptr);
    output->setFocus();
    CFormElement* first = static_cast<CFormElement*>(app->GetDocument()->GetElementList().GetHead());
    output->SelectOnly(first);
    EXPECT_TRUE(frame->Router().Query(ID_EDIT_PROPERTIES).IsEnabled());
    ASSERT_TRUE(frame->ExecuteCommand(ID_EDIT_PROPERTIES));
    EXPECT_TRUE(sheet->IsShown());
    EXPECT_EQ(sheet->GetElement(), first);
}

TEST_F(SheetInProgram, DoubleClickInAPaneShowsTheSheetOnThatElement)
{
    auto* sheet = dynamic_cast<CElementPropertySheet*>(frame->ElementPropertySheet());
    ASSERT_NE(sheet, nullptr);
    auto* output = dynamic_cast<CDDestView*>(frame->GetPaneView(1));
    ASSERT_NE(output, nullptr);
    // The first element drawn in the output pane.
    CFormElement* target = nullptr;
    for (CObject* object : app->GetDocument()->GetElementList()) {
        auto* element = static_cast<CFormElement*>(object);
        if (!element->GetDestRect().IsNull() && element->GetDestRect().Width() > 4 && !element->HasParent()) {
            target = element;
            break;
        }
    }
    ASSERT_NE(target, nullptr);
    const kwvd::Rect r = target->GetDestRect();
    output->ScrollToPosition(QPoint(0, 0));
    const QPoint inside = output->DocToClientPoint(QPoint(r.left + 2, r.top + 2));
    QTest::mouseDClick(output->viewport(), Qt::LeftButton, Qt::NoModifier, inside);
    EXPECT_TRUE(sheet->IsShown());
    EXPECT_EQ(sheet->GetElement(), target);
    EXPECT_EQ(frame->Router().Query(ID_EXPLORER_VIEW_PROPERTIES).GetCheck().value_or(-1), 1);
}

} // namespace
