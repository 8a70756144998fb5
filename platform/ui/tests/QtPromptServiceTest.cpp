#include "platform/ui/qt/QtPromptService.h"

#include "platform/ui/PromptHelpers.h"
#include "platform/ui/qt/CommandLinkDialog.h"
#include "platform/ui/qt/ListChoiceDialog.h"
#include "tests/support/QtApplicationEnvironment.h"
#include "tests/support/ScopedPrompts.h"

#include <QApplication>
#include <QCommandLinkButton>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// Runs action on the modal dialog once it is up, from inside its own event
// loop. Should the action leave the dialog open, it is closed so the test
// fails instead of hanging.
void whenModal(std::function<void(QWidget*)> action, int tries = 200)
{
    QTimer::singleShot(0, qApp, [action, tries] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            if (tries > 0)
                whenModal(action, tries - 1);
            else
                ADD_FAILURE() << "no modal dialog came up";
            return;
        }
        action(modal);
        QPointer<QWidget> stillOpen(modal);
        QTimer::singleShot(0, qApp, [stillOpen] {
            if (stillOpen && stillOpen->isVisible()) {
                ADD_FAILURE() << "the dialog stayed open";
                stillOpen->close();
                if (auto* dialog = qobject_cast<QDialog*>(stillOpen.data()))
                    dialog->reject();
            }
        });
    });
}

class QtPrompts : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(qobject_cast<QApplication*>(QCoreApplication::instance()), nullptr);
        AfxSetAppName(QStringLiteral("KWVD Designer"));
    }

    QtPromptService m_prompts;
};

TEST_F(QtPrompts, MessageBoxShowsIconButtonsAndGivesTheClickedResult)
{
    struct Case
    {
        const char* name;
        UINT type;
        QMessageBox::StandardButton click; // NoButton: the user presses Escape
        int expected;
        QMessageBox::Icon icon;
        QMessageBox::StandardButton defaultButton;
    };
    const Case cases[] = {
        {"Yes of Yes/No", MB_YESNO | MB_ICONQUESTION, QMessageBox::Yes, IDYES, QMessageBox::Question, QMessageBox::Yes},
        {"No of Yes/No, No the default", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, QMessageBox::No, IDNO,
         QMessageBox::Question, QMessageBox::No},
        {"Escape on Yes/No gives No", MB_YESNO, QMessageBox::NoButton, IDNO, QMessageBox::NoIcon, QMessageBox::Yes},
        {"Cancel of Yes/No/Cancel, Cancel the default", MB_YESNOCANCEL | MB_ICONWARNING | MB_DEFBUTTON3,
         QMessageBox::Cancel, IDCANCEL, QMessageBox::Warning, QMessageBox::Cancel},
        {"Escape on OK/Cancel gives Cancel", MB_OKCANCEL | MB_ICONINFORMATION, QMessageBox::NoButton, IDCANCEL,
         QMessageBox::Information, QMessageBox::Ok},
        {"Retry of Retry/Cancel", MB_RETRYCANCEL | MB_ICONERROR, QMessageBox::Retry, IDRETRY, QMessageBox::Critical,
         QMessageBox::Retry},
        {"OK", MB_OK, QMessageBox::Ok, IDOK, QMessageBox::NoIcon, QMessageBox::Ok},
    };
    const QString text = QStringLiteral("File <b>a&b.wvd</b> was changed.");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        whenModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->windowTitle(), QStringLiteral("KWVD Designer"));
            EXPECT_EQ(box->text(), text);
            EXPECT_EQ(box->textFormat(), Qt::PlainText);
            EXPECT_EQ(box->icon(), c.icon);
            EXPECT_EQ(box->standardButton(box->defaultButton()), c.defaultButton);
            if (c.click == QMessageBox::NoButton)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(c.click)->click();
        });
        EXPECT_EQ(m_prompts.MessageBox(text, {}, c.type), c.expected);
    }
}

TEST_F(QtPrompts, CommandLinkDialogGivesTheClickedIdOrClosed)
{
    struct Case
    {
        const char* name;
        int click; // 0: the window is closed
        std::optional<int> expected;
    };
    const Case cases[] = {
        {"second link", 542, 542},
        {"first link", 541, 541},
        {"closed without a choice", 0, std::nullopt},
    };
    CommandLinkRequest request;
    request.windowTitle = QStringLiteral("Paste");
    request.mainInstruction = QStringLiteral("The clipboard holds a page.");
    request.choices = {{541, QStringLiteral("Insert it\nbefore the current page")}, {542, QStringLiteral("Replace")}};
    request.defaultId = 541;

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        whenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<CommandLinkDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Paste"));
            const QList<QCommandLinkButton*> links = dialog->findChildren<QCommandLinkButton*>();
            ASSERT_EQ(links.size(), 2);
            EXPECT_EQ(links[0]->text(), QStringLiteral("Insert it"));
            EXPECT_EQ(links[0]->description(), QStringLiteral("before the current page"));
            EXPECT_TRUE(links[0]->isDefault());
            if (c.click == 0) {
                dialog->reject();
                return;
            }
            for (QCommandLinkButton* link : links) {
                if (link->property(CommandLinkDialog::kChoiceIdProperty).toInt() == c.click)
                    link->click();
            }
        });
        EXPECT_EQ(m_prompts.ChooseCommandLink(request), c.expected);
    }
}

TEST_F(QtPrompts, AskCommandLinkChoiceThroughTheInstalledQtService)
{
    // Puts back the service that is current now when the test ends.
    const ScopedPromptService restore(SharedPrompts());
    ASSERT_TRUE(InstallQtPrompts());
    whenModal([](QWidget* modal) {
        for (QCommandLinkButton* link : modal->findChildren<QCommandLinkButton*>()) {
            if (link->text() == QStringLiteral("Remove it"))
                link->click();
        }
    });
    const int answer = AskCommandLinkChoice(QStringLiteral("Image"), QStringLiteral("The image file is missing."),
                                            QStringLiteral("Look for it"), QStringLiteral("Remove it"));
    EXPECT_EQ(answer, 2);
}

TEST_F(QtPrompts, CommandLinkHookAnswersInPlaceOfTheStandIn)
{
    struct Case
    {
        const char* name;
        std::optional<int> hookAnswer;
        std::optional<int> expected;
    };
    const Case cases[] = {
        {"the second link", 542, 542},
        {"closed", std::nullopt, std::nullopt},
        {"an id that was not offered", 999, std::nullopt},
    };
    QWidget owner;
    for (const Case& c : cases) {
        CommandLinkRequest seen;
        QWidget* seenParent = &owner;
        const QtPromptService::CommandLinkHook previous =
            QtPromptService::SetCommandLinkHook([&](const CommandLinkRequest& request, QWidget* parent) {
                seen = request;
                seenParent = parent;
                return c.hookAnswer;
            });
        CommandLinkRequest request;
        request.mainInstruction = QStringLiteral("Which?");
        request.choices = {{541, QStringLiteral("One")}, {542, QStringLiteral("Two")}};
        request.defaultId = 541;
        EXPECT_EQ(m_prompts.ChooseCommandLink(request), c.expected) << c.name;
        QtPromptService::SetCommandLinkHook(previous);
        EXPECT_EQ(seen.mainInstruction, QStringLiteral("Which?")) << c.name;
        EXPECT_EQ(seen.windowTitle, QStringLiteral("KWVD Designer")) << c.name;
        EXPECT_EQ(seen.choices.size(), 2u) << c.name;
        EXPECT_EQ(seenParent, nullptr) << c.name; // no window is active
    }
}

TEST_F(QtPrompts, ListDialogGivesTheOriginalIndexOfTheChosenItem)
{
    struct Case
    {
        const char* name;
        bool sort;
        QStringList shown;
        int pickRow; // -1: Cancel
        int expected;
    };
    const Case cases[] = {
        {"sorted list", true, {"Apple", "fig", "pear"}, 1, 2},
        {"list as given", false, {"pear", "Apple", "fig"}, 1, 1},
        {"cancelled", true, {"Apple", "fig", "pear"}, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        whenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<ListChoiceDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            QStringList shown;
            for (int row = 0; row < dialog->List()->count(); ++row)
                shown.push_back(dialog->List()->item(row)->text());
            EXPECT_EQ(shown, c.shown);
            if (c.pickRow < 0) {
                QTest::keyClick(dialog, Qt::Key_Escape);
                return;
            }
            dialog->List()->setCurrentRow(c.pickRow);
            dialog->accept();
        });
        EXPECT_EQ(m_prompts.ChooseFromList(
                      {QStringLiteral("Fruit"), QStringLiteral("Pick one"), {"pear", "Apple", "fig"}, c.sort}),
                  c.expected);
    }
}

TEST_F(QtPrompts, SaveChooserTakesTheSystemFilterAndAddsTheDefaultExtension)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    FileDialogRequest request;
    request.title = QStringLiteral("Save spooled file");
    request.filter = QStringLiteral("Spooled files (*.txt)|*.txt|All files (*.*)|*.*||");
    request.initialFolder = folder.path();
    request.defaultExtension = QStringLiteral("txt");

    whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Save spooled file"));
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog->nameFilters(), (QStringList{"Spooled files (*.txt)", "All files (*)"}));
        dialog->selectFile(QDir(folder.path()).filePath(QStringLiteral("report")));
        static_cast<QDialog*>(dialog)->accept();
    });
    EXPECT_EQ(m_prompts.GetSaveFileName(request), QDir(folder.path()).filePath(QStringLiteral("report.txt")));
}

TEST_F(QtPrompts, OpenChooserGivesTheChosenFileOrNothing)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = QDir(folder.path()).filePath(QStringLiteral("in.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    FileDialogRequest request;
    request.initialFolder = folder.path();

    whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
        EXPECT_FALSE(dialog->filter().testFlag(QDir::CaseSensitive));
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();
    });
    EXPECT_EQ(m_prompts.GetOpenFileName(request), path);

    whenModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    EXPECT_EQ(m_prompts.GetOpenFileName(request), QString());
}

TEST_F(QtPrompts, WaitCursorIsTheOverrideCursorUntilTheOutermostEnd)
{
    m_prompts.BeginWaitCursor();
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    m_prompts.BeginWaitCursor();
    m_prompts.EndWaitCursor();
    EXPECT_NE(QGuiApplication::overrideCursor(), nullptr);
    m_prompts.EndWaitCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

} // namespace

namespace {

// A splash window goes by itself when its time is up; a box of start-up
// that took it for its parent would vanish with it, unanswered.
TEST_F(QtPrompts, ABoxIsNeverParentedToASplashWindow)
{
    QWidget splash(nullptr, Qt::SplashScreen);
    QWidget window;
    struct Case
    {
        const char* name;
        QWidget* active;
        QWidget* expectedParent;
    };
    const Case cases[] = {
        {"splash active: no parent", &splash, nullptr},
        {"ordinary window active: that window", &window, &window},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.active->show();
        QApplication::setActiveWindow(c.active);
        ASSERT_EQ(QApplication::activeWindow(), c.active);
        whenModal([&](QWidget* modal) {
            EXPECT_EQ(modal->parentWidget(), c.expectedParent);
            qobject_cast<QMessageBox*>(modal)->button(QMessageBox::Ok)->click();
        });
        EXPECT_EQ(m_prompts.MessageBox(QStringLiteral("Starting"), {}, MB_OK), IDOK);
        c.active->hide();
    }
}

} // namespace
