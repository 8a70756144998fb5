#include "designer/shell/Looks.h"
#include "designer/shell/LayoutSlots.h"
#include "designer/shell/ShellResources.h"
#include "designer/shell/tests/FrameTestFixture.h"
#include "platform/registry/RegistryStore.h"

#include <QAction>

TEST(Looks, BitmapsAndDockingFollowLookAndScreenDepth)
{
    struct Case
    {
        const char* name;
        UINT look;
        int depth;
        BOOL highColour;
        BOOL smartDocking;
    };
    const Case cases[] = {
        {"Windows 2000 high colour", ID_VIEW_APPLOOK_WIN_2000, 32, FALSE, FALSE},
        {"Office XP", ID_VIEW_APPLOOK_OFF_XP, 32, TRUE, FALSE},
        {"Windows XP", ID_VIEW_APPLOOK_WIN_XP, 24, TRUE, FALSE},
        {"Office 2003", ID_VIEW_APPLOOK_OFF_2003, 16, TRUE, TRUE},
        {"VS 2005", ID_VIEW_APPLOOK_VS_2005, 32, TRUE, TRUE},
        {"Blue", ID_VIEW_APPLOOK_OFF_2007_BLUE, 32, TRUE, TRUE},
        {"Aqua on 8 bits", ID_VIEW_APPLOOK_OFF_2007_AQUA, 8, FALSE, TRUE},
        {"unknown stored value", 12345, 32, TRUE, TRUE},
    };
    for (const Case& c : cases) {
        const LookChoice choice = ChooseLook(c.look, c.depth);
        EXPECT_EQ(choice.highColourIcons, c.highColour) << c.name;
        EXPECT_EQ(choice.smartDocking, c.smartDocking) << c.name;
        EXPECT_EQ(choice.toolsBitmap, c.highColour ? IDR_TOOLS_HC : IDR_TOOLS) << c.name;
        EXPECT_EQ(choice.standardBitmap, c.highColour ? IDR_STANDARD_HC : IDR_MAINFRAME) << c.name;
    }
}

TEST_F(FrameTest, LookCommandIsStoredAndCheckedAsRadio)
{
    MakeFrame();
    frame->SetScreenDepthForTest(32);
    EXPECT_EQ(frame->GetApplicationLook(), DEFAULT_APPLICATION_LOOK);
    ASSERT_TRUE(frame->ExecuteCommand(ID_VIEW_APPLOOK_WIN_2000));
    EXPECT_EQ(frame->ToolsBitmapId(), IDR_TOOLS);
    EXPECT_EQ(frame->StandardBitmapId(), IDR_MAINFRAME);
    EXPECT_TRUE(frame->GetAction(ID_VIEW_APPLOOK_WIN_2000)->isChecked());
    EXPECT_FALSE(frame->GetAction(ID_VIEW_APPLOOK_OFF_2007_BLUE)->isChecked());

    const auto key = OpenStateSection(QStringLiteral("Workspace"), false);
    ASSERT_TRUE(key);
    EXPECT_EQ(kwvd::RegistryStore::Instance().ReadNumber(*key, u"ApplicationLook").value_or(0),
              ID_VIEW_APPLOOK_WIN_2000);

    ASSERT_TRUE(frame->ExecuteCommand(ID_VIEW_APPLOOK_OFF_2007_SILVER));
    EXPECT_EQ(frame->ToolsBitmapId(), IDR_TOOLS_HC);
    EXPECT_EQ(frame->StandardBitmapId(), IDR_STANDARD_HC);

    // A new frame starts in the stored look.
    frame.reset();
    MakeFrame();
    EXPECT_EQ(frame->GetApplicationLook(), ID_VIEW_APPLOOK_OFF_2007_SILVER);
}
