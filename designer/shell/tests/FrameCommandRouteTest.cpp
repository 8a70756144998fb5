#include "designer/shell/tests/FrameTestFixture.h"

#include <QAction>
#include <QLabel>

TEST_F(FrameTest, RouteRunsPaneDocumentFrameApplicationInOrder)
{
    MakeFrame();
    MakeDocument(0);
    RecordingTarget pane, document;
    frame->SetPaneView(1, new QWidget, &pane);
    frame->SetDocumentCmdTarget(&document);
    const UINT id = ID_EDIT_COPY;
    application.Handle(id);
    document.Handle(id);
    pane.Handle(id);
    ASSERT_TRUE(frame->ExecuteCommand(id));
    EXPECT_EQ(pane.executed.size(), 1u);
    frame->SetPaneView(1, new QWidget, nullptr);
    ASSERT_TRUE(frame->ExecuteCommand(id));
    EXPECT_EQ(document.executed.size(), 1u);
    frame->SetDocumentCmdTarget(nullptr);
    ASSERT_TRUE(frame->ExecuteCommand(id));
    EXPECT_EQ(application.executed.size(), 1u);
}

TEST_F(FrameTest, DocumentPagePaneTextWinsOverFrameEmptyText)
{
    MakeFrame();
    frame->UpdateCommandUI();
    EXPECT_TRUE(frame->GetStatusPane(1)->text().isEmpty());
    MakeDocument(0);
    RecordingTarget document;
    document.HandleText(ID_INDICATOR_PAGE, QStringLiteral("Page 1 of 3"));
    frame->SetDocumentCmdTarget(&document);
    frame->UpdateCommandUI();
    EXPECT_EQ(frame->GetStatusPane(1)->text(), QStringLiteral("Page 1 of 3"));
}

TEST_F(FrameTest, RecentFileItemsFollowTheApplication)
{
    MakeFrame();
    application.HandleText(ID_FILE_MRU_FILE1, QStringLiteral("&1 /tmp/a.wvd"));
    for (UINT id = ID_FILE_MRU_FILE1 + 1; id <= ID_FILE_MRU_LAST; ++id)
        application.HandleText(id, QString());
    frame->RefreshRecentFiles();
    EXPECT_EQ(frame->GetAction(ID_FILE_MRU_FILE1)->text(), QStringLiteral("&1 /tmp/a.wvd"));
    EXPECT_TRUE(frame->GetAction(ID_FILE_MRU_FILE1)->isVisible());
    EXPECT_FALSE(frame->GetAction(ID_FILE_MRU_FILE1 + 1)->isVisible());
}
