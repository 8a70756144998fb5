#pragma once
// The prompt service of tests and of libraries run without a user: answers
// come from a queue the test fills, and every prompt is recorded with its
// texts so the test can check what the user would have read. With the queue
// empty each prompt gets the answer of a user who backs out: Cancel (No for a
// Yes/No box, OK for an OK box), "closed" for command links, -1 for lists,
// no path for choosers.
//
// A queued answer that does not fit the prompt it meets (a list index for a
// message box, IDYES for an OK/Cancel box, an id no command link carries, an
// index past the list) is a mistake in the test: ScriptedPromptError is
// thrown, and the message is also kept in ScriptErrors() in case the code
// under test swallows it.

#include "platform/ui/PromptService.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <optional>
#include <stdexcept>
#include <variant>
#include <vector>

class ScriptedPromptError : public std::logic_error
{
public:
    using std::logic_error::logic_error;
};

enum class PromptKind {
    MessageBox,
    CommandLink,
    ListChoice,
    OpenFile,
    OpenFiles,
    SaveFile,
    Folder,
    Colour,
};

struct RecordedPrompt
{
    PromptKind kind = PromptKind::MessageBox;
    QString caption; // caption or window title, after the default was applied
    QString text;    // message text, main instruction or list label
    UINT type = 0;   // style word of a message box

    UINT Buttons() const { return type & MB_TYPEMASK; }
    UINT Icon() const { return type & MB_ICONMASK; }

    // Only the member of the prompt's kind is filled.
    CommandLinkRequest commandLink;
    ListChoiceRequest list;
    FileDialogRequest file;
    QString initialFolder;      // of a folder chooser
    COLORREF initialColour = 0; // of a colour dialog
};

class ScriptedPromptService : public PromptService
{
public:
    // Queue answers, consumed in order by the prompts that follow.
    void AnswerMessageBox(int result);
    void AnswerCommandLink(int id);
    void AnswerCommandLinkClosed();
    void AnswerList(int index); // -1: cancelled
    // One path for an open or save chooser, any number for a multiple open;
    // an empty list is a cancelled chooser.
    void AnswerFiles(const QStringList& paths);
    void AnswerFile(const QString& path);
    void AnswerFolder(const QString& path); // empty: cancelled
    void AnswerColour(COLORREF colour);
    void AnswerColourCancelled();

    int PendingAnswers() const { return static_cast<int>(m_answers.size()); }

    const std::vector<RecordedPrompt>& Recorded() const { return m_recorded; }
    const std::vector<UINT>& Beeps() const { return m_beeps; }
    // How often the wait cursor came up (depth 0 to 1).
    int WaitCursorShowCount() const { return m_waitShows; }
    const std::vector<QString>& ScriptErrors() const { return m_errors; }

    void ClearRecorded();

protected:
    int DoMessageBox(const QString& text, const QString& caption, UINT type) override;
    std::optional<int> DoCommandLink(const CommandLinkRequest& request) override;
    int DoListChoice(const ListChoiceRequest& request) override;
    QStringList DoFileDialog(FileDialogKind kind, const FileDialogRequest& request) override;
    QString DoFolderDialog(const QString& title, const QString& initialFolder) override;
    std::optional<COLORREF> DoColourDialog(COLORREF initial) override;
    void DoBeep(UINT type) override;
    void ShowWaitCursor(bool show) override;

private:
    struct BoxAnswer
    {
        int result;
    };
    struct LinkAnswer
    {
        std::optional<int> id;
    };
    struct ListAnswer
    {
        int index;
    };
    struct FilesAnswer
    {
        QStringList paths;
    };
    struct FolderAnswer
    {
        QString path;
    };
    struct ColourAnswer
    {
        std::optional<COLORREF> colour;
    };
    using Answer = std::variant<BoxAnswer, LinkAnswer, ListAnswer, FilesAnswer, FolderAnswer, ColourAnswer>;

    template <typename T>
    std::optional<T> takeAnswer(const RecordedPrompt& prompt);
    [[noreturn]] void fail(const RecordedPrompt& prompt, const QString& problem);

    std::deque<Answer> m_answers;
    std::vector<RecordedPrompt> m_recorded;
    std::vector<UINT> m_beeps;
    std::vector<QString> m_errors;
    int m_waitShows = 0;
};
