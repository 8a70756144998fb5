#include "designer/shell/CustomizeDlg.h"
#include "designer/shell/UserToolBars.h"
#include "designer/shell/tests/FrameTestFixture.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QToolBar>

namespace {

void WriteUserImages(const QString& path, int count)
{
    QImage strip(16 * count, 16, QImage::Format_RGB32);
    for (int i = 0; i < count; ++i)
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                strip.setPixelColor(i * 16 + x, y, QColor::fromHsv(i * 60, 255, 255));
    ASSERT_TRUE(strip.save(path, "BMP"));
}

void SelectCommand(QListWidget* list, UINT id)
{
    for (int row = 0; row < list->count(); ++row)
        if (list->item(row)->data(Qt::UserRole).toUInt() == id)
            list->setCurrentRow(row);
}

} // namespace

TEST_F(FrameTest, CustomizeMakesUserToolbarWithCommandThatRoutes)
{
    MakeFrame();
    CCustomizeDlg dialog(*frame);
    ASSERT_TRUE(dialog.NewToolBar(QStringLiteral("My tools")));
    ASSERT_EQ(frame->UserToolBars().BarIds(), std::vector<UINT>{ID_USER_TOOLBAR_FIRST});
    dialog.CategoryBox()->setCurrentIndex(dialog.CategoryBox()->findData(QStringLiteral("View")));
    SelectCommand(dialog.CommandList(), ID_VIEW_INPUT_PANE);
    ASSERT_TRUE(dialog.AddCommand());
    QToolBar* bar = frame->UserToolBars().ToolBarOf(ID_USER_TOOLBAR_FIRST);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->actions().size(), 1);
    bar->actions()[0]->trigger();
    EXPECT_EQ(frame->GetActivePaneColumn(), 0);
    EXPECT_EQ(frame->GetColumnWidths().second, 0);

    ASSERT_TRUE(dialog.RenameToolBar(QStringLiteral("Panes")));
    EXPECT_EQ(bar->windowTitle(), QStringLiteral("Panes"));
    EXPECT_FALSE(dialog.RenameToolBar(QStringLiteral("  ")));
    dialog.ButtonList()->setCurrentRow(0);
    ASSERT_TRUE(dialog.RemoveButton());
    EXPECT_TRUE(bar->actions().isEmpty());
    ASSERT_TRUE(dialog.DeleteToolBar());
    EXPECT_TRUE(frame->UserToolBars().BarIds().empty());
}

TEST_F(FrameTest, EleventhUserToolbarIsRefused)
{
    MakeFrame();
    CCustomizeDlg dialog(*frame);
    for (int i = 0; i < CUserToolBars::MaxBars; ++i)
        ASSERT_TRUE(dialog.NewToolBar(QStringLiteral("Bar %1").arg(i)));
    prompts->AnswerMessageBox(IDOK);
    EXPECT_FALSE(dialog.NewToolBar(QStringLiteral("One more")));
    EXPECT_EQ(frame->UserToolBars().BarIds().size(), size_t(CUserToolBars::MaxBars));
    EXPECT_EQ(frame->UserToolBars().BarIds().back(), ID_USER_TOOLBAR_LAST);
    ASSERT_EQ(prompts->Recorded().size(), 1u);
}

TEST_F(FrameTest, UserImagesGivePicturesToUserButtons)
{
    WriteUserImages(folder.filePath(QStringLiteral("UserImages.bmp")), 3);
    MakeFrame();
    ASSERT_TRUE(frame->UserToolBars().HasUserImages());
    EXPECT_EQ(frame->UserToolBars().UserImageCount(), 3);
    CCustomizeDlg dialog(*frame);
    EXPECT_EQ(dialog.ImageBox()->count(), 4); // the command's own, then three
    ASSERT_TRUE(dialog.NewToolBar(QStringLiteral("Pictures")));
    SelectCommand(dialog.CommandList(), ID_FILE_OPEN);
    dialog.ImageBox()->setCurrentIndex(2);
    ASSERT_TRUE(dialog.AddCommand());
    QToolBar* bar = frame->UserToolBars().ToolBarOf(ID_USER_TOOLBAR_FIRST);
    ASSERT_EQ(bar->actions().size(), 1);
    QAction* button = bar->actions()[0];
    EXPECT_NE(button, frame->GetAction(ID_FILE_OPEN));
    const QImage picture = button->icon().pixmap(16, 16).toImage();
    EXPECT_EQ(picture.pixel(8, 8), QColor::fromHsv(60, 255, 255).rgb());
    // The button is one more item of the command: disabled with it.
    frame->UpdateCommandUI();
    EXPECT_EQ(button->isEnabled(), frame->GetAction(ID_FILE_OPEN)->isEnabled());
}

TEST_F(FrameTest, UnreadableUserImagesAreNotUsed)
{
    QFile bad(folder.filePath(QStringLiteral("UserImages.bmp")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("BM not a bitmap");
    bad.close();
    MakeFrame();
    EXPECT_FALSE(frame->UserToolBars().HasUserImages());
    CCustomizeDlg dialog(*frame);
    EXPECT_EQ(dialog.ImageBox()->count(), 1);
}
