#pragma once
// The one road by which the system talks to its user: message boxes,
// questions, command-link and list choices, file and folder choosers, beeps
// and the wait cursor. Model code asks through Prompts(); a program installs
// the Qt implementation, tests install a scripted one, and when nothing is
// installed a scripted one answers Cancel, so a library never blocks.

#include "platform/framework/Types.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

// Message box style word: buttons in the low nibble, icon in the next,
// default button in the third, as the system's code writes them.
constexpr UINT MB_OK = 0x00000000u;
constexpr UINT MB_OKCANCEL = 0x00000001u;
constexpr UINT MB_YESNOCANCEL = 0x00000003u;
constexpr UINT MB_YESNO = 0x00000004u;
constexpr UINT MB_RETRYCANCEL = 0x00000005u;
constexpr UINT MB_TYPEMASK = 0x0000000Fu;

constexpr UINT MB_ICONERROR = 0x00000010u;
constexpr UINT MB_ICONSTOP = MB_ICONERROR;
constexpr UINT MB_ICONHAND = MB_ICONERROR;
constexpr UINT MB_ICONQUESTION = 0x00000020u;
constexpr UINT MB_ICONWARNING = 0x00000030u;
constexpr UINT MB_ICONEXCLAMATION = MB_ICONWARNING;
constexpr UINT MB_ICONINFORMATION = 0x00000040u;
constexpr UINT MB_ICONASTERISK = MB_ICONINFORMATION;
constexpr UINT MB_ICONMASK = 0x000000F0u;

constexpr UINT MB_DEFBUTTON1 = 0x00000000u;
constexpr UINT MB_DEFBUTTON2 = 0x00000100u;
constexpr UINT MB_DEFBUTTON3 = 0x00000200u;
constexpr UINT MB_DEFMASK = 0x00000F00u;

// The plain beep of MessageBeep, apart from the icon sounds.
constexpr UINT MB_SIMPLEBEEP = 0xFFFFFFFFu;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDRETRY = 4;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// The results a box of this style word can give, in the order its buttons
// stand. A button set the system never uses is shown as a plain OK box.
std::vector<int> MessageBoxResults(UINT type);

// What a box gives when the user backs out of it: Cancel when it has one,
// No for a Yes/No box, OK for an OK box.
int MessageBoxCancelResult(UINT type);

struct CommandLinkChoice
{
    int id = 0;
    // A line break splits the link's text from its note below it.
    QString text;
};

struct CommandLinkRequest
{
    QString windowTitle; // empty: the application's name
    QString mainInstruction;
    QString content; // optional
    std::vector<CommandLinkChoice> choices;
    int defaultId = 0;
};

struct ListChoiceRequest
{
    QString title; // empty: the application's name
    QString label;
    QStringList items;
    bool sort = false;
};

enum class FileDialogKind {
    Open,
    OpenMultiple,
    Save,
};

struct FileDialogRequest
{
    QString title;
    // In the system's form: "Spooled files (*.txt)|*.txt|All files (*.*)|*.*||"
    QString filter;
    QString initialFolder;
    QString fileName;
    QString defaultExtension;     // without the dot; added to a saved name that has none
    bool confirmOverwrite = true; // a save dialog asks before replacing a file
};

class PromptService
{
public:
    virtual ~PromptService();

    // Returns one of IDOK, IDCANCEL, IDRETRY, IDYES, IDNO; always one the
    // box's buttons can give. An empty caption is the application's name.
    int MessageBox(const QString& text, const QString& caption = {}, UINT type = MB_OK);

    // The chosen id, or nothing when the window was closed without a choice.
    std::optional<int> ChooseCommandLink(const CommandLinkRequest& request);

    // The chosen item's index in request.items (before any sorting), or -1.
    int ChooseFromList(const ListChoiceRequest& request);

    // Full paths; empty on cancel.
    QString GetOpenFileName(const FileDialogRequest& request);
    QStringList GetOpenFileNames(const FileDialogRequest& request);
    QString GetSaveFileName(const FileDialogRequest& request);
    QString ChooseFolder(const QString& title, const QString& initialFolder = {});
    // The colour chosen in the colour dialog, which starts at initial; nothing
    // on cancel. Colours have red in the low byte, then green, then blue.
    std::optional<COLORREF> ChooseColour(COLORREF initial);

    // type is an MB_ICON* sound or MB_SIMPLEBEEP.
    void MessageBeep(UINT type = MB_SIMPLEBEEP);

    // Nested: the cursor shows from the first begin to the matching end. An
    // end without a begin is ignored.
    void BeginWaitCursor();
    void EndWaitCursor();
    int WaitCursorDepth() const { return m_waitDepth; }

protected:
    // Each receives its request with the caption already resolved; the base
    // class checks what comes back against what the caller was offered.
    virtual int DoMessageBox(const QString& text, const QString& caption, UINT type) = 0;
    virtual std::optional<int> DoCommandLink(const CommandLinkRequest& request) = 0;
    virtual int DoListChoice(const ListChoiceRequest& request) = 0;
    virtual QStringList DoFileDialog(FileDialogKind kind, const FileDialogRequest& request) = 0;
    virtual QString DoFolderDialog(const QString& title, const QString& initialFolder) = 0;
    // A service without a colour dialog answers as a user who backs out.
    virtual std::optional<COLORREF> DoColourDialog(COLORREF initial);
    virtual void DoBeep(UINT type) = 0;
    virtual void ShowWaitCursor(bool show) = 0;

private:
    QStringList runFileDialog(FileDialogKind kind, const FileDialogRequest& request);

    int m_waitDepth = 0;
};

// The service of the process. Installing nullptr puts back a fresh scripted
// one. Returns the service that was installed before (nullptr when none was
// yet). UI thread only.
PromptService& Prompts();
std::shared_ptr<PromptService> SharedPrompts();
std::shared_ptr<PromptService> SetPrompts(std::shared_ptr<PromptService> service);

// The default caption of boxes and choosers. Until a program sets it, the
// name Qt knows the application by.
QString AfxGetAppName();
void AfxSetAppName(const QString& name);
