// Page Setup and Go to Page in the running program: their enabling, the
// output pane's double-click on empty space, and what each command changes
// in the document through the sheet and the dialog (scripted here).

#include "designer/commands/CommandIds.h"
#include "designer/commands/CommandRouter.h"
#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/PageSetup.h"
#include "designer/document/SpooledFile.h"
#include "designer/document/ui/PageSelectDlg.h"
#include "designer/document/ui/PageSetupSheet.h"
#include "designer/elements/FormElement.h"
#include "designer/shell/MainFrame.h"
#include "designer/shell/WVDDesignerApp.h"
#include "designer/shell/tests/ProgramTestFixture.h"
#include "designer/views/DDestView.h"

#include <gtest/gtest.h>

#include <QTest>

namespace {

const QString kSampleDocument = QStringLiteral(KWVD_SOURCE_DIR "/samples/sample.wvd");

int g_sheetRuns = 0;

class PageCommandsInProgram : public ProgramTest
{
protected:
    void SetUp() override
    {
        g_sheetRuns = 0;
        ASSERT_NO_FATAL_FAILURE(StartProgram({kSampleDocument}, QSize(1280, 860)));
    }

    void TearDown() override
    {
        SetPageSetupSheetRunner(nullptr);
        SetPageSelectRunner(nullptr);
        ProgramTest::TearDown();
    }

    // A point of the output page that no element covers.
    QPoint EmptyOutputPoint() const
    {
        const CPage* page = doc->GetOutputPage();
        for (int y = page->GetPixelHeight() - 4; y > 0; y -= page->GetCellHeight()) {
            const QPoint point(page->GetPixelWidth() - 4, y);
            bool covered = false;
            for (CObject* object : doc->GetElementList()) {
                const kwvd::Rect r = static_cast<CFormElement*>(object)->GetDestRect();
                if (point.x() >= r.left && point.x() < r.right && point.y() >= r.top && point.y() < r.bottom)
                    covered = true;
            }
            if (!covered)
                return point;
        }
        return {};
    }

};

TEST_F(PageCommandsInProgram, DoubleClickOnEmptyOutputOpensPageSetup)
{
    EXPECT_TRUE(frame->Router().Query(ID_FILE_PAGE_SETUP).IsEnabled());
    SetPageSetupSheetRunner([](PageSetupValues& values, CFontManager* fonts) {
        ++g_sheetRuns;
        EXPECT_NE(fonts, nullptr);
        values.size.width = 8.5;
        values.size.height = 11;
        values.header.description = QStringLiteral("Letter invoices");
        return true;
    });
    auto* output = dynamic_cast<CDDestView*>(frame->GetPaneView(1));
    ASSERT_NE(output, nullptr);
    const QPoint empty = EmptyOutputPoint();
    ASSERT_FALSE(empty.isNull());
    output->ScrollToPosition(QPoint(std::max(0, empty.x() - 100), std::max(0, empty.y() - 100)));
    QTest::mouseDClick(output->viewport(), Qt::LeftButton, Qt::NoModifier, output->DocToClientPoint(empty));

    EXPECT_EQ(g_sheetRuns, 1);
    EXPECT_EQ(doc->GetOutputPage()->GetWidth(), 850);
    EXPECT_EQ(doc->GetOutputPage()->GetHeight(), 1100);
    EXPECT_EQ(doc->Description().GetValue(), QStringLiteral("Letter invoices"));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(frame->Router().Query(ID_EDIT_UNDO).IsEnabled()) << "the change is one undo step";
}

TEST_F(PageCommandsInProgram, CancelledPageSetupChangesNothing)
{
    const DWORD buildId = doc->GetBuildId();
    SetPageSetupSheetRunner([](PageSetupValues& values, CFontManager*) {
        ++g_sheetRuns;
        values.size.width = 3;
        values.output.name = QStringLiteral("OTHER");
        return false;
    });
    ASSERT_TRUE(frame->ExecuteCommand(ID_FILE_PAGE_SETUP));
    EXPECT_EQ(g_sheetRuns, 1);
    EXPECT_EQ(doc->GetBuildId(), buildId);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_NE(doc->GetOutputPage()->GetWidth(), 300);
}

TEST_F(PageCommandsInProgram, GoToPageFollowsTheSpooledFile)
{
    CSpooledFile* spooled = doc->GetSpooledFile();
    ASSERT_NE(spooled, nullptr);
    if (spooled->GetPageCount() < 2) {
        CDocChangeGuard change(doc);
        for (int n = spooled->GetPageCount() + 1; n <= 3; ++n) {
            auto* lines = new CStringArray;
            lines->Add(QStringLiteral("PAGE %1").arg(n));
            ASSERT_TRUE(spooled->SetPage(lines, n));
        }
        ASSERT_TRUE(spooled->SetCurrentPage(1));
    }
    doc->SetModifiedFlag(FALSE);
    ASSERT_TRUE(frame->Router().Query(ID_EDIT_GOTO_PAGE).IsEnabled());
    const int last = spooled->GetPageCount();
    SetPageSelectRunner([](int, int total) { return total; });
    ASSERT_TRUE(frame->ExecuteCommand(ID_EDIT_GOTO_PAGE));
    EXPECT_EQ(spooled->GetCurrentPageNumber(), last);
    EXPECT_TRUE(doc->IsModified());

    // Ctrl+G is the same command.
    SetPageSelectRunner([](int, int) { return 1; });
    QTest::keyClick(frame, Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(spooled->GetCurrentPageNumber(), 1);
}

TEST_F(PageCommandsInProgram, GoToPageDisabledWithoutPages)
{
    CSpooledFile* spooled = doc->GetSpooledFile();
    ASSERT_NE(spooled, nullptr);
    {
        CDocChangeGuard change(doc);
        while (spooled->GetPageCount() > 0)
            ASSERT_TRUE(spooled->DeletePage(1));
    }
    EXPECT_FALSE(frame->Router().Query(ID_EDIT_GOTO_PAGE).IsEnabled());
}

} // namespace
