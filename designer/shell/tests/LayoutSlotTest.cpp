#include "designer/shell/LayoutSlots.h"
#include "designer/shell/UserToolBars.h"
#include "designer/shell/tests/FrameTestFixture.h"
#include "platform/registry/RegistryStore.h"

#include <QLayout>
#include <QToolBar>

TEST(LayoutSlots, SectionNamesHaveTwoDigits)
{
    EXPECT_EQ(LayoutSlotSection(3), QStringLiteral("Preferences\\AppLayout\\Layout-03"));
    EXPECT_EQ(LayoutSlotSection(9), QStringLiteral("Preferences\\AppLayout\\Layout-09"));
}

TEST_F(FrameTest, SlotThreeSavedChangedAndLoadedComesBack)
{
    MakeFrame();
    frame->addToolBar(Qt::LeftToolBarArea, frame->GetToolsBar());
    frame->layout()->activate();
    frame->SetColumnWidths(300, 700);
    const auto saved = frame->GetColumnWidths();
    const std::optional<UINT> bar = frame->UserToolBars().Create(QStringLiteral("Mine"));
    ASSERT_TRUE(bar);
    ASSERT_TRUE(frame->UserToolBars().AddButton(*bar, {ID_FILE_SAVE, -1}));
    frame->ApplyLayoutSlot(3, TRUE);

    frame->SetColumnWidths(900, 100);
    frame->addToolBar(Qt::TopToolBarArea, frame->GetToolsBar());
    frame->UserToolBars().Remove(*bar);
    frame->ApplyLayoutSlot(3, FALSE);

    EXPECT_EQ(frame->GetColumnWidths(), saved);
    EXPECT_EQ(frame->toolBarArea(frame->GetToolsBar()), Qt::LeftToolBarArea);
    ASSERT_EQ(frame->UserToolBars().BarIds(), std::vector<UINT>{*bar});
    EXPECT_EQ(frame->UserToolBars().Name(*bar), QStringLiteral("Mine"));
    ASSERT_EQ(frame->UserToolBars().Buttons(*bar).size(), 1u);
    EXPECT_EQ(frame->UserToolBars().Buttons(*bar)[0].id, ID_FILE_SAVE);
    // The slot's section is left again afterwards.
    EXPECT_EQ(frame->GetStateSection(), QStringLiteral("Workspace"));
}

TEST_F(FrameTest, EmptySlotLoadChangesNothing)
{
    MakeFrame();
    frame->SetColumnWidths(300, 700);
    const auto before = frame->GetColumnWidths();
    frame->ApplyLayoutSlot(7, FALSE);
    frame->ApplyLayoutSlot(10, TRUE); // no such slot
    EXPECT_EQ(frame->GetColumnWidths(), before);
    EXPECT_FALSE(OpenStateSection(LayoutSlotSection(7), false));
}

TEST_F(FrameTest, SerializeSplitterWritesWidthsAndTellsPanes)
{
    MakeFrame();
    auto* input = new MessageRecorder;
    auto* output = new MessageRecorder;
    frame->SetPaneView(0, input, nullptr);
    frame->SetPaneView(1, output, nullptr);
    frame->SetColumnWidths(400, 600);
    const auto widths = frame->GetColumnWidths();
    frame->SerializeSplitter(TRUE);

    const auto key = OpenStateSection(QStringLiteral("Workspace\\Splitter"), false);
    ASSERT_TRUE(key);
    kwvd::RegistryStore& store = kwvd::RegistryStore::Instance();
    EXPECT_EQ(store.ReadNumber(*key, u"pane0").value_or(0), std::uint32_t(widths.first));
    EXPECT_EQ(store.ReadNumber(*key, u"pane1").value_or(0), std::uint32_t(widths.second));
    for (MessageRecorder* pane : {input, output}) {
        const auto sent = pane->Of(RegisteredMessages::SerializeLayout());
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0].wParam, 1u);
    }

    // A missing width counts as 0.
    store.DeleteValue(*key, u"pane1");
    frame->SerializeSplitter(FALSE);
    EXPECT_EQ(frame->GetColumnWidths().second, 0);
    EXPECT_EQ(input->Of(RegisteredMessages::SerializeLayout()).back().wParam, 0u);
}
