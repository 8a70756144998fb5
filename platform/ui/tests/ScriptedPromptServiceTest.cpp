#include "tests/support/ScopedPrompts.h"

#include "platform/framework/Exceptions.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/StringTable.h"
#include "platform/ui/WaitCursor.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

class ScriptedPrompts : public ::testing::Test
{
protected:
    void SetUp() override { AfxSetAppName(QStringLiteral("KWVD Designer")); }

    ScopedPromptAnswers m_prompts;
};

TEST_F(ScriptedPrompts, QueuedAnswersAreConsumedInOrderAndEveryPromptIsRecorded)
{
    m_prompts->AnswerMessageBox(IDYES);
    m_prompts->AnswerCommandLink(542);
    m_prompts->AnswerList(2);
    m_prompts->AnswerFile(QStringLiteral("/data/in.txt"));
    m_prompts->AnswerFolder(QStringLiteral("/data/out"));

    EXPECT_EQ(AfxMessageBox(QStringLiteral("Save changes?"), MB_YESNO | MB_ICONQUESTION), IDYES);

    CommandLinkRequest links;
    links.windowTitle = QStringLiteral("Paste");
    links.mainInstruction = QStringLiteral("Where should the page go?");
    links.choices = {{541, QStringLiteral("Before")}, {542, QStringLiteral("After")}};
    links.defaultId = 541;
    EXPECT_EQ(Prompts().ChooseCommandLink(links), 542);

    ListChoiceRequest list;
    list.label = QStringLiteral("Output queue");
    list.items = {QStringLiteral("PRT01"), QStringLiteral("PRT02"), QStringLiteral("QPRINT")};
    EXPECT_EQ(Prompts().ChooseFromList(list), 2);

    FileDialogRequest open;
    open.title = QStringLiteral("Open spooled file");
    open.filter = QStringLiteral("Spooled files (*.txt)|*.txt||");
    EXPECT_EQ(Prompts().GetOpenFileName(open), QStringLiteral("/data/in.txt"));

    EXPECT_EQ(Prompts().ChooseFolder(QStringLiteral("Export to"), QStringLiteral("/data")),
              QStringLiteral("/data/out"));

    EXPECT_EQ(m_prompts->PendingAnswers(), 0);

    const std::vector<RecordedPrompt>& recorded = m_prompts->Recorded();
    ASSERT_EQ(recorded.size(), 5u);

    EXPECT_EQ(recorded[0].kind, PromptKind::MessageBox);
    EXPECT_EQ(recorded[0].caption, QStringLiteral("KWVD Designer"));
    EXPECT_EQ(recorded[0].text, QStringLiteral("Save changes?"));
    EXPECT_EQ(recorded[0].Buttons(), MB_YESNO);
    EXPECT_EQ(recorded[0].Icon(), MB_ICONQUESTION);

    EXPECT_EQ(recorded[1].kind, PromptKind::CommandLink);
    EXPECT_EQ(recorded[1].caption, QStringLiteral("Paste"));
    EXPECT_EQ(recorded[1].text, QStringLiteral("Where should the page go?"));
    ASSERT_EQ(recorded[1].commandLink.choices.size(), 2u);
    EXPECT_EQ(recorded[1].commandLink.choices[1].text, QStringLiteral("After"));

    EXPECT_EQ(recorded[2].kind, PromptKind::ListChoice);
    EXPECT_EQ(recorded[2].caption, QStringLiteral("KWVD Designer"));
    EXPECT_EQ(recorded[2].text, QStringLiteral("Output queue"));
    EXPECT_EQ(recorded[2].list.items, list.items);

    EXPECT_EQ(recorded[3].kind, PromptKind::OpenFile);
    EXPECT_EQ(recorded[3].caption, QStringLiteral("Open spooled file"));
    EXPECT_EQ(recorded[3].file.filter, open.filter);

    EXPECT_EQ(recorded[4].kind, PromptKind::Folder);
    EXPECT_EQ(recorded[4].caption, QStringLiteral("Export to"));
    EXPECT_EQ(recorded[4].initialFolder, QStringLiteral("/data"));
}

TEST_F(ScriptedPrompts, EmptyQueueAnswersAsAUserWhoBacksOut)
{
    static constexpr int kClosed = -100;
    auto box = [](UINT type) {
        return [type](PromptService& p) { return p.MessageBox(QStringLiteral("?"), {}, type); };
    };
    struct Case
    {
        const char* name;
        std::function<int(PromptService&)> ask;
        int expected;
    };
    const Case cases[] = {
        {"OK box", box(MB_OK | MB_ICONINFORMATION), IDOK},
        {"OK/Cancel box", box(MB_OKCANCEL), IDCANCEL},
        {"Yes/No box", box(MB_YESNO | MB_ICONQUESTION), IDNO},
        {"Yes/No/Cancel box", box(MB_YESNOCANCEL), IDCANCEL},
        {"Retry/Cancel box", box(MB_RETRYCANCEL), IDCANCEL},
        {"command links",
         [](PromptService& p) {
             CommandLinkRequest r;
             r.choices = {{1, QStringLiteral("One")}};
             return p.ChooseCommandLink(r).value_or(kClosed);
         },
         kClosed},
        {"list",
         [](PromptService& p) {
             return p.ChooseFromList({{}, {}, {QStringLiteral("a")}, false});
         },
         -1},
        {"open one file", [](PromptService& p) { return int(p.GetOpenFileName({}).size()); }, 0},
        {"open files", [](PromptService& p) { return int(p.GetOpenFileNames({}).size()); }, 0},
        {"save file", [](PromptService& p) { return int(p.GetSaveFileName({}).size()); }, 0},
        {"folder", [](PromptService& p) { return int(p.ChooseFolder({}).size()); }, 0},
        {"colour", [](PromptService& p) { return int(p.ChooseColour(0x123456u).value_or(kClosed)); }, kClosed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.ask(*m_prompts), c.expected);
    }
    EXPECT_EQ(m_prompts->Recorded().size(), std::size(cases));
}

TEST_F(ScriptedPrompts, ColourDialogStartsAtTheColourGivenAndGivesTheQueuedOne)
{
    m_prompts->AnswerColour(0x00FF8040u);
    m_prompts->AnswerColourCancelled();
    // A stray top byte is no part of the colour, going in or coming out.
    m_prompts->AnswerColour(0xAB000001u);

    EXPECT_EQ(Prompts().ChooseColour(0x00102030u), std::optional<COLORREF>(0x00FF8040u));
    EXPECT_EQ(Prompts().ChooseColour(0x00FFFFFFu), std::nullopt);
    EXPECT_EQ(Prompts().ChooseColour(0xFF000000u), std::optional<COLORREF>(0x00000001u));

    const std::vector<RecordedPrompt>& recorded = m_prompts->Recorded();
    ASSERT_EQ(recorded.size(), 3u);
    EXPECT_EQ(recorded[0].kind, PromptKind::Colour);
    EXPECT_EQ(recorded[0].initialColour, 0x00102030u);
    EXPECT_EQ(recorded[1].initialColour, 0x00FFFFFFu);
    EXPECT_EQ(recorded[2].initialColour, 0u);
}

TEST_F(ScriptedPrompts, AnswerThatDoesNotFitThePromptIsATestError)
{
    struct Case
    {
        const char* name;
        std::function<void(ScriptedPromptService&)> queue;
        std::function<void(PromptService&)> ask;
    };
    const Case cases[] = {
        {"list index for a message box", [](ScriptedPromptService& s) { s.AnswerList(0); },
         [](PromptService& p) { p.MessageBox(QStringLiteral("Delete?"), {}, MB_YESNO); }},
        {"Yes for an OK/Cancel box", [](ScriptedPromptService& s) { s.AnswerMessageBox(IDYES); },
         [](PromptService& p) { p.MessageBox(QStringLiteral("Continue?"), {}, MB_OKCANCEL); }},
        {"id no command link carries", [](ScriptedPromptService& s) { s.AnswerCommandLink(999); },
         [](PromptService& p) {
             p.ChooseCommandLink({{}, QStringLiteral("Which?"), {}, {{541, "a"}, {542, "b"}}, 541});
         }},
        {"index past the list", [](ScriptedPromptService& s) { s.AnswerList(3); },
         [](PromptService& p) {
             p.ChooseFromList({{}, {}, {"a", "b", "c"}, false});
         }},
        {"two paths for one file",
         [](ScriptedPromptService& s) {
             s.AnswerFiles({"/a", "/b"});
         },
         [](PromptService& p) { p.GetSaveFileName({}); }},
        {"folder for a file chooser", [](ScriptedPromptService& s) { s.AnswerFolder(QStringLiteral("/a")); },
         [](PromptService& p) { p.GetOpenFileName({}); }},
        {"colour for a folder chooser", [](ScriptedPromptService& s) { s.AnswerColour(0xFFu); },
         [](PromptService& p) { p.ChooseFolder({}); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPromptService service;
        c.queue(service);
        EXPECT_THROW(c.ask(service), ScriptedPromptError);
        EXPECT_EQ(service.ScriptErrors().size(), 1u);
    }
}

TEST_F(ScriptedPrompts, AskCommandLinkChoiceGivesTwoOnlyForTheSecondLink)
{
    struct Case
    {
        const char* name;
        std::function<void(ScriptedPromptService&)> queue;
        int expected;
    };
    const Case cases[] = {
        {"first link", [](ScriptedPromptService& s) { s.AnswerCommandLink(541); }, 1},
        {"second link", [](ScriptedPromptService& s) { s.AnswerCommandLink(542); }, 2},
        {"closed without a choice", [](ScriptedPromptService& s) { s.AnswerCommandLinkClosed(); }, 1},
        {"nothing queued", [](ScriptedPromptService&) {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_prompts->ClearRecorded();
        c.queue(*m_prompts);
        EXPECT_EQ(AskCommandLinkChoice(QStringLiteral("Image"), QStringLiteral("The image file is missing."),
                                       QStringLiteral("Look for it"), QStringLiteral("Remove it")),
                  c.expected);

        ASSERT_EQ(m_prompts->Recorded().size(), 1u);
        const CommandLinkRequest& shown = m_prompts->Recorded()[0].commandLink;
        EXPECT_EQ(shown.windowTitle, QStringLiteral("Image"));
        EXPECT_EQ(shown.mainInstruction, QStringLiteral("The image file is missing."));
        ASSERT_EQ(shown.choices.size(), 2u);
        EXPECT_EQ(shown.choices[0].id, 541);
        EXPECT_EQ(shown.choices[0].text, QStringLiteral("Look for it"));
        EXPECT_EQ(shown.choices[1].id, 542);
        EXPECT_EQ(shown.choices[1].text, QStringLiteral("Remove it"));
        EXPECT_EQ(shown.defaultId, 541);
    }
}

TEST_F(ScriptedPrompts, MessageBoxOfAStringIdShowsItsText)
{
    constexpr UINT kId = 0x7E000001u;
    StringTable::Add(kId, QStringLiteral("The host is not reachable."));
    AfxMessageBox(kId, MB_ICONWARNING);
    AfxMessageBox(0x7E0000FFu);

    ASSERT_EQ(m_prompts->Recorded().size(), 2u);
    EXPECT_EQ(m_prompts->Recorded()[0].text, QStringLiteral("The host is not reachable."));
    EXPECT_EQ(m_prompts->Recorded()[0].Icon(), MB_ICONWARNING);
    EXPECT_EQ(m_prompts->Recorded()[1].text, QStringLiteral("???"));
}

TEST_F(ScriptedPrompts, ReportErrorShowsTheExceptionsOwnReportWithTheErrorIcon)
{
    const CArchiveException error(CArchiveException::badSchema, QStringLiteral("form.wvd"));
    ReportError(error);

    ASSERT_EQ(m_prompts->Recorded().size(), 1u);
    const RecordedPrompt& shown = m_prompts->Recorded()[0];
    EXPECT_EQ(shown.text, QStringLiteral("form.wvd contains an incorrect schema."));
    EXPECT_EQ(shown.Icon(), MB_ICONERROR);
    EXPECT_EQ(shown.Buttons(), MB_OK);
    EXPECT_EQ(shown.caption, QStringLiteral("KWVD Designer"));
}

TEST_F(ScriptedPrompts, ExplicitCaptionIsKept)
{
    Prompts().MessageBox(QStringLiteral("Done."), QStringLiteral("Export"));
    ASSERT_EQ(m_prompts->Recorded().size(), 1u);
    EXPECT_EQ(m_prompts->Recorded()[0].caption, QStringLiteral("Export"));
}

TEST_F(ScriptedPrompts, BeepsAreRecorded)
{
    Prompts().MessageBeep(MB_ICONEXCLAMATION);
    Prompts().MessageBeep();
    EXPECT_EQ(m_prompts->Beeps(), (std::vector<UINT>{MB_ICONEXCLAMATION, MB_SIMPLEBEEP}));
}

TEST_F(ScriptedPrompts, WaitCursorNestsAndShowsOnce)
{
    {
        CWaitCursor outer;
        {
            CWaitCursor inner;
            EXPECT_EQ(m_prompts->WaitCursorDepth(), 2);
        }
        EXPECT_EQ(m_prompts->WaitCursorDepth(), 1);
    }
    EXPECT_EQ(m_prompts->WaitCursorDepth(), 0);
    EXPECT_EQ(m_prompts->WaitCursorShowCount(), 1);

    m_prompts->EndWaitCursor();
    EXPECT_EQ(m_prompts->WaitCursorDepth(), 0);
    m_prompts->BeginWaitCursor();
    EXPECT_EQ(m_prompts->WaitCursorDepth(), 1);
    m_prompts->EndWaitCursor();
}

TEST_F(ScriptedPrompts, WaitCursorEndsOnTheServiceItBeganOn)
{
    auto other = std::make_shared<ScriptedPromptService>();
    {
        CWaitCursor wait;
        SetPrompts(other);
    }
    EXPECT_EQ(m_prompts->WaitCursorDepth(), 0);
    EXPECT_EQ(other->WaitCursorDepth(), 0);
}

TEST(PromptServiceDefault, WithoutAnInstalledServiceNothingBlocks)
{
    const ScopedPromptService none(nullptr);
    auto* scripted = dynamic_cast<ScriptedPromptService*>(&Prompts());
    ASSERT_NE(scripted, nullptr);
    EXPECT_EQ(AfxMessageBox(QStringLiteral("Overwrite?"), MB_YESNO), IDNO);
    EXPECT_EQ(scripted->Recorded().size(), 1u);
}

// A service whose dialogs come back with answers the caller never offered,
// as a broken or foreign implementation might.
class StrayAnswers : public PromptService
{
protected:
    int DoMessageBox(const QString&, const QString&, UINT) override { return 99; }
    std::optional<int> DoCommandLink(const CommandLinkRequest&) override { return 7; }
    int DoListChoice(const ListChoiceRequest&) override { return 10; }
    QStringList DoFileDialog(FileDialogKind, const FileDialogRequest&) override { return {QString()}; }
    QString DoFolderDialog(const QString&, const QString&) override { return {}; }
    void DoBeep(UINT) override {}
    void ShowWaitCursor(bool) override {}
};

TEST(PromptServiceContract, AnswersOutsideWhatWasOfferedCountAsBackingOut)
{
    StrayAnswers service;
    EXPECT_EQ(service.MessageBox(QStringLiteral("?"), {}, MB_YESNO), IDNO);
    EXPECT_EQ(service.MessageBox(QStringLiteral("?"), {}, MB_YESNOCANCEL), IDCANCEL);
    CommandLinkRequest links;
    links.choices = {{541, QStringLiteral("a")}, {542, QStringLiteral("b")}};
    EXPECT_FALSE(service.ChooseCommandLink(links).has_value());
    EXPECT_EQ(service.ChooseFromList({{}, {}, {"a", "b"}, false}), -1);
    EXPECT_TRUE(service.GetOpenFileNames({}).isEmpty());
}

} // namespace
