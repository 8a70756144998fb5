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
// it was.
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
#include <vector>

class CArchive;

class DocumentPrompter
{
public:
    enum class SaveChoice { Save, Discard, Cancel };

    virtual ~DocumentPrompter();

    // "Save changes to <name>?" with Yes, No and Cancel.
    virtual SaveChoice AskToSave(const QString& name) = 0;

    // The save-file chooser; filter in the system's "Text|*.ext||" form,
    // defaultExtension without its dot. Empty when the user cancels.
    virtual QString ChooseSavePath(const QString& proposedName, const QString& filter,
                                   const QString& defaultExtension) = 0;

    // The report of a failed open (saving false) or save of path.
    virtual void ReportSaveLoadException(const QString& path, const CException& error, bool saving) = 0;
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
    // returns FALSE, the old file untouched. The path name does not change.
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

    // Through the installed DocumentPrompter.
    virtual void ReportSaveLoadException(const QString& path, const CException& error, BOOL saving);

    void Serialize(CArchive& ar) override;

private:
    QString m_strTitle;
    QString m_strPathName;
    QString m_strFilter;
    QString m_strDefaultExt;
    bool m_bModified = false;
    std::vector<CView*> m_views;
};
