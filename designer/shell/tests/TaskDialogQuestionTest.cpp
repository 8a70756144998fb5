// The designer's command-link questions as the task dialog, and F1 opening
// the topic of the help context a dialog sets.

#include "designer/commands/CommandIds.h"
#include "designer/controls/TaskDialogPrompts.h"
#include "designer/controls/XTaskDialog.h"
#include "designer/document/SpooledFile.h"
#include "designer/document/SpooledFileStrings.h"
#include "designer/elements/ImageElementStrings.h"
#include "designer/shell/WVDDesignerApp.h"
#include "designer/shell/tests/AppTestEnvironment.h"
#include "platform/ui/HelpPrompt.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/StringTable.h"
#include "platform/ui/qt/QtPromptService.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(TaskDialogQuestion, MissingImageQuestionShowsAsTheTaskDialog)
{
    EnsureQApplication();
    RegisterImageElementStrings();
    RegisterTaskDialogStrings();
    const ScopedPromptService qtPrompts(std::make_shared<QtPromptService>());
    const QtPromptService::CommandLinkHook previousHook =
        QtPromptService::SetCommandLinkHook(&RunCommandLinkTaskDialog);

    QImage shot;
    QString instruction;
    QTimer::singleShot(0, qApp, [&] {
        auto* dialog = qobject_cast<CXTaskDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        instruction = dialog->Layout().Find(dialog->Layout().mainInstructionId)->text;
        shot = dialog->grab().toImage();
        qobject_cast<QPushButton*>(dialog->Control(542))->click();
    });
    const int answer =
        AskCommandLinkChoice(LoadResString(IDS_IMAGE_ELEMENT_MISSING_TITLE),
                             FormatResMessage(IDS_IMAGE_ELEMENT_NOT_FOUND, QStringLiteral("logo<2>.bmp")),
                             LoadResString(IDS_IMAGE_ELEMENT_BROWSE), LoadResString(IDS_IMAGE_ELEMENT_IGNORE));
    QtPromptService::SetCommandLinkHook(previousHook);

    EXPECT_EQ(answer, 2);
    EXPECT_TRUE(instruction.contains(QStringLiteral("logo<2>.bmp")));
    ASSERT_FALSE(shot.isNull());
    // Kept beside the test programs' folder for a person to look at.
    const QString path = QDir(QCoreApplication::applicationDirPath())
                             .absoluteFilePath(QStringLiteral("../task-dialog-missing-image.png"));
    EXPECT_TRUE(shot.save(path));
}

TEST(TaskDialogQuestion, PasteQuestionAnsweredThroughTheTaskDialog)
{
    EnsureQApplication();
    RegisterSpooledFileStrings();
    const ScopedPromptService qtPrompts(std::make_shared<QtPromptService>());
    const QtPromptService::CommandLinkHook previousHook =
        QtPromptService::SetCommandLinkHook(&RunCommandLinkTaskDialog);

    CSpooledFile file;
    PageList pages(new CObList);
    auto* first = new CStringArray;
    first->Add(QString());
    first->Add(QStringLiteral("first"));
    pages->AddTail(first);
    file.ReplacePageList(std::move(pages));
    ASSERT_TRUE(file.SetCurrentPage(1));
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));

    QString secondLink;
    QTimer::singleShot(0, qApp, [&] {
        auto* dialog = qobject_cast<CXTaskDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        secondLink = dialog->Layout().Find(542)->text;
        qobject_cast<QPushButton*>(dialog->Control(542))->click();
    });
    const BOOL pasted = file.PastePageFromClipboard();
    QtPromptService::SetCommandLinkHook(previousHook);

    EXPECT_TRUE(pasted);
    EXPECT_TRUE(secondLink.startsWith(QStringLiteral("&Add a new page\n")));
    ASSERT_EQ(file.GetPageCount(), 2);
    EXPECT_EQ(file.GetPage(2)->GetAt(1), QStringLiteral("pasted"));
    EXPECT_EQ(file.GetPage(1)->GetAt(1), QStringLiteral("first"));
}

TEST(TaskDialogQuestion, F1OpensTheTopicOfTheHelpContext)
{
    AppTestEnvironment env;
    const QString helpFile = env.folder.filePath(QStringLiteral("help/index.html"));
    QDir().mkpath(QFileInfo(helpFile).absolutePath());
    QFile file(helpFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<h1 id=\"contents\">x</h1><p id=\"topic-196613\">t</p>");
    file.close();
    CWVDDesignerApp::Environment e;
    e.helpFile = helpFile;
    e.serverLibraryFolders = QStringList{};
    CWVDDesignerApp app(e);
    RegisterAppStrings();

    struct Case
    {
        const char* name;
        DWORD context;
        const char* fragment;
    };
    const Case cases[] = {
        {"no context: the contents", 0, ""},
        {"a dialog's context: its topic", 0x30005, "topic-196613"},
    };
    for (const Case& c : cases) {
        env.openedUrls.clear();
        const HelpPromptContextScope context(c.context);
        app.OnCmdMsg(ID_HELP);
        ASSERT_EQ(env.openedUrls.size(), 1u) << c.name;
        EXPECT_EQ(env.openedUrls[0].fragment(), QString::fromLatin1(c.fragment)) << c.name;
    }
}

} // namespace
