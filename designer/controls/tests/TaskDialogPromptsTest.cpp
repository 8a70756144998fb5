// The command-link question through the Qt prompt service with the task
// dialog installed as its hook.

#include "designer/controls/TaskDialogPrompts.h"
#include "designer/controls/TaskDialogPictures.h"
#include "designer/controls/XTaskDialog.h"
#include "designer/controls/tests/TaskDialogTestSupport.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/StringTable.h"
#include "platform/ui/qt/QtPromptService.h"
#include "tests/support/ScopedPrompts.h"

#include <QKeyEvent>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

class TaskDialogPrompts : public ::testing::Test
{
protected:
    void SetUp() override { m_previousHook = QtPromptService::SetCommandLinkHook(&RunCommandLinkTaskDialog); }
    void TearDown() override { QtPromptService::SetCommandLinkHook(m_previousHook); }

    static int Ask()
    {
        return AskCommandLinkChoice(
            QStringLiteral("Missing file"), QStringLiteral("The image file 'a<1>.bmp' is missing."),
            QStringLiteral("Browse\nSearch for the file."), QStringLiteral("Ignore\nA placeholder is used."));
    }

    ScopedPromptService m_qtPrompts{std::make_shared<QtPromptService>()};
    QtPromptService::CommandLinkHook m_previousHook;
};

void Press(QWidget* target, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

TEST_F(TaskDialogPrompts, TheSecondLinkGivesTwo)
{
    WhenTaskDialogUp([](CXTaskDialog* dialog) { qobject_cast<QPushButton*>(dialog->Control(542))->click(); });
    EXPECT_EQ(Ask(), 2);
}

TEST_F(TaskDialogPrompts, EnterTakesTheDefaultFirstLink)
{
    WhenTaskDialogUp([](CXTaskDialog* dialog) { Press(dialog, Qt::Key_Return); });
    EXPECT_EQ(Ask(), 1);
}

TEST_F(TaskDialogPrompts, NoCloseButtonAndEscapeDoesNothing)
{
    bool closeButton = true;
    bool openAfterEscape = false;
    WhenTaskDialogUp([&](CXTaskDialog* dialog) {
        closeButton = dialog->windowFlags().testFlag(Qt::WindowCloseButtonHint);
        Press(dialog, Qt::Key_Escape);
        dialog->close();
        openAfterEscape = dialog->isVisible();
        qobject_cast<QPushButton*>(dialog->Control(542))->click();
    });
    EXPECT_EQ(Ask(), 2);
    EXPECT_FALSE(closeButton);
    EXPECT_TRUE(openAfterEscape);
}

TEST_F(TaskDialogPrompts, TheQuestionsSettings)
{
    struct Seen
    {
        QString title, instruction, first, second;
        int focus = -1;
        bool warningIcon = false;
        std::size_t buttons = 0;
    } seen;
    WhenTaskDialogUp([&](CXTaskDialog* dialog) {
        seen.title = dialog->windowTitle();
        const TaskDialogLayout& layout = dialog->Layout();
        seen.instruction = layout.Find(layout.mainInstructionId)->text;
        seen.first = layout.Find(541)->text;
        seen.second = layout.Find(542)->text;
        seen.focus = layout.focusId;
        seen.warningIcon = dialog->MainIcon().toImage() == TaskDialogStockPicture(IDI_TASK_WARNING, 32).toImage();
        for (const TaskDialogItem& item : layout.items)
            seen.buttons += item.kind == TaskDialogItemKind::Button ? 1 : 0;
        qobject_cast<QPushButton*>(dialog->Control(541))->click();
    });
    EXPECT_EQ(Ask(), 1);
    EXPECT_EQ(seen.title, QStringLiteral("Missing file"));
    EXPECT_EQ(seen.instruction, QStringLiteral("The image file 'a<1>.bmp' is missing."));
    EXPECT_EQ(seen.first, QStringLiteral("Browse\nSearch for the file."));
    EXPECT_EQ(seen.second, QStringLiteral("Ignore\nA placeholder is used."));
    EXPECT_EQ(seen.focus, 541);
    EXPECT_TRUE(seen.warningIcon);
    EXPECT_EQ(seen.buttons, 2u); // the two links and nothing else
}

TEST_F(TaskDialogPrompts, TheDirectQuestionGetsTheChosenId)
{
    CommandLinkRequest request;
    request.windowTitle = QStringLiteral("Paste");
    request.mainInstruction = QStringLiteral("Where should the text go?");
    request.choices = {{541, QStringLiteral("Replace\nThe current page.")}, {542, QStringLiteral("Add\nA new page.")}};
    request.defaultId = 541;
    WhenTaskDialogUp([](CXTaskDialog* dialog) { qobject_cast<QPushButton*>(dialog->Control(542))->click(); });
    EXPECT_EQ(Prompts().ChooseCommandLink(request), std::optional<int>(542));
}

TEST_F(TaskDialogPrompts, AResultThatIsNoLinkIsClosed)
{
    CommandLinkRequest request;
    request.mainInstruction = QStringLiteral("Question");
    request.choices = {{541, QStringLiteral("One")}, {542, QStringLiteral("Two")}};
    // A run whose result is no link (-1: no dialog box) is "closed".
    WhenTaskDialogUp([](CXTaskDialog* dialog) { dialog->done(-1); });
    EXPECT_EQ(Prompts().ChooseCommandLink(request), std::nullopt);
}

TEST(TaskDialogStrings, CommonButtonCaptionsComeFromTheStringTable)
{
    RegisterTaskDialogStrings();
    EXPECT_EQ(LoadResString(421), QStringLiteral("OK"));
    EXPECT_EQ(LoadResString(426), QStringLiteral("&Close"));
    StringTable::Add(422, QStringLiteral("&Ja"));
    CXTaskDialog dialog;
    dialog.LoadButtonTexts();
    EXPECT_EQ(dialog.StandardButtons()[1].caption, QStringLiteral("&Ja"));
    EXPECT_EQ(dialog.StandardButtons()[0].caption, QStringLiteral("OK"));
    StringTable::Add(422, QStringLiteral("&Yes"));
}

} // namespace
