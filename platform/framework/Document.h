#pragma once
// The document of the document/view base the designer and the fax client
// share: its data reaches files through Serialize, its windows (CView) learn
// of changes through update hints, and it keeps its path, title and modified
// flag.
//
// Open reads the whole file through one archive and leaves nothing half-read:
// on failure the contents are deleted and the path and title cleared, so a
// later save cannot put an empty document over the file that failed. Save
// writes a temporary file beside the target and renames it over the target
// only when everything was written, so a failed save leaves the old file as
// it was. A target without any write permission bit is refused, never
// replaced.
//
// The document remembers the modification time and size of its file when it
// reads or writes it. A save over that file after another program changed
// it asks first, so two programs saving one file never lose each other's
// work without a word.
//
// The framework knows no user interface: the save question, the save-file
// chooser and the report of a failed open or save go through the installed
// DocumentPrompter. platform/ui's InstallDocumentPrompts() routes them to
// Prompts(); until something is installed they back out (Cancel, no path)
// and reports go to the log, so a library never blocks.

#include "platform/framework/Exceptions.h"
#include "platform/framework/Object.h"
#include "platform/framework/Types.h"
#include "platform/framework/View.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

class CArchive;

class DocumentPrompter
{
public:
    enum class SaveChoice {
        Save,
        Discard,
        Cancel
    };

    virtual ~DocumentPrompter();

    // "Save changes to <name>?" with Yes, No and Cancel.
    virtual SaveChoice AskToSave(const QString& name) = 0;

    // The save-file chooser; filter in the system's "Text|*.ext||" form,
    // defaultExtension without its dot. Empty when the user cancels.
    virtual QString ChooseSavePath(const QString& proposedName, const QString& filter,
                                   const QString& defaultExtension) = 0;

    // The report of a failed open (saving false) or save of path.
    virtual void ReportSaveLoadException(const QString& path, const CException& error, bool saving) = 0;

    // path was changed by another program since the document read or wrote
    // it: true replaces it with the document, false cancels the save. A
    // prompter that cannot ask keeps the other program's file.
    virtual bool AskToReplaceChangedFile(const QString& path);
};

// The prompter of the process; installing nullptr puts back the one that
// backs out. Returns the one installed before (nullptr when none was).
DocumentPrompter& DocumentPrompts();
std::shared_ptr<DocumentPrompter> SetDocumentPrompter(std::shared_ptr<DocumentPrompter> prompter);

class CDocument : public CObject
{
    KWVD_DECLARE_DYNAMIC(CDocument)

public:
    CDocument();
    // Views still attached are let go (their document becomes null).
    ~CDocument() override;

    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    const QString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const QString& title);

    // The full path of the document's file; empty for a new document.
    const QString& GetPathName() const { return m_strPathName; }
    // Takes the full path and makes its file name the title.
    virtual void SetPathName(const QString& path);
    // Empties path and title.
    void ClearPathName();

    // The file type of the save chooser, as a document template gives it:
    // "WVD Files (*.wvd)|*.wvd||" and "wvd".
    void SetFileType(const QString& filter, const QString& defaultExtension);
    const QString& GetFileFilter() const { return m_strFilter; }
    const QString& GetDefaultExtension() const { return m_strDefaultExt; }

    BOOL IsModified() const { return m_bModified ? TRUE : FALSE; }
    virtual void SetModifiedFlag(BOOL modified = TRUE);

    // A view belongs to one document at a time: adding it here takes it
    // from the one it had. Adding twice keeps it once.
    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& GetViews() const { return m_views; }

    // Tells every view but the sender, in the order they were added. A view
    // removed by an earlier one's update is not told.
    void UpdateAllViews(CView* sender, LPARAM hint = 0, CObject* hintObject = nullptr);

    // Empties the document's data; the base has none.
    virtual void DeleteContents();

    // DeleteContents, no path, title "Untitled", not modified. TRUE.
    virtual BOOL OnNewDocument();
    // Reads the file through Serialize with an archive whose document is this
    // one and whose path is the file's. TRUE with the path set and the
    // document unmodified. A file that cannot be opened reports and returns
    // FALSE leaving the document as it was; a file that fails while being
    // read reports, deletes the contents, clears path and title and returns
    // FALSE.
    virtual BOOL OnOpenDocument(const QString& path);
    // Writes the document to path through Serialize (temporary file and
    // rename). TRUE and unmodified on success; on failure reports and
    // returns FALSE, the old file untouched. A read-only target is refused;
    // the document's own file changed by another program since it was read
    // or written is replaced only when the user agrees (No: FALSE without a
    // report). The path name does not change.
    virtual BOOL OnSaveDocument(const QString& path);
    // Lets every view go, then DeleteContents. Who owns the document decides
    // when it is destroyed.
    virtual void OnCloseDocument();

    // TRUE when the document may be closed: unmodified, or the user chose
    // No, or chose Yes and the save succeeded.
    virtual BOOL SaveModified();
    // Saves to path; an empty path asks for one with the title as the
    // proposed name. replace TRUE makes the saved path the document's path
    // (Save, Save As); FALSE saves a copy. FALSE when cancelled or failed.
    virtual BOOL DoSave(const QString& path, BOOL replace = TRUE);
    // Save: to the document's path, or through the chooser when it has none.
    BOOL DoFileSave();

    // Through the installed DocumentPrompter; nothing when Serialize has
    // already told the user about this failure (MarkFailureReported).
    virtual void ReportSaveLoadException(const QString& path, const CException& error, BOOL saving);

    void Serialize(CArchive& ar) override;

protected:
    // Serialize calls this when it has shown its own message about the
    // failure it is about to throw: the open or save then ends without a
    // second box for the same failure.
    void MarkFailureReported() { m_bFailureReported = true; }

private:
    // What the document last saw of its file.
    struct FileStamp
    {
        QString path;
        long long size = 0;
        long long modifiedSeconds = 0;
        long long modifiedNanoseconds = 0;

        bool SameFileState(const FileStamp& other) const
        {
            return size == other.size && modifiedSeconds == other.modifiedSeconds
                   && modifiedNanoseconds == other.modifiedNanoseconds;
        }
    };
    static std::optional<FileStamp> StampOf(const QString& fullPath);
    void RememberFileStamp();
    // FALSE when the file at fullPath was changed since the document saw it
    // and the user chose not to replace it.
    BOOL MayReplaceFile(const QString& fullPath);

    QString m_strTitle;
    QString m_strPathName;
    QString m_strFilter;
    QString m_strDefaultExt;
    bool m_bModified = false;
    bool m_bFailureReported = false;
    std::optional<FileStamp> m_fileStamp;
    std::vector<CView*> m_views;
};
