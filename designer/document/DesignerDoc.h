#pragma once
// The designer's document: the two pages, the sample spooled file, the
// managers of devices, barcodes, images, resources and the document store,
// the element tree in document order and z-order, the header fields that
// travel to the host, the run parameters and the Build ID.
//
// Every change runs inside a change transaction (CDocChangeGuard). When the
// outermost one ends with the document dirty, the Build ID goes up by one and
// an undo snapshot is taken. Windows learn of changes through update hints
// (DocumentHint), which leave at once unless the update suppression count
// holds them back.

#include "designer/document/CrtWvdRequest.h"
#include "designer/document/TimeStamp.h"
#include "designer/document/jvx/FixedLenNum.h"
#include "designer/document/jvx/FixedLenString.h"
#include "designer/document/jvx/FixedLenUserString.h"
#include "platform/framework/Collections.h"
#include "platform/framework/Document.h"
#include "platform/framework/PointerTable.h"
#include "platform/framework/Rect.h"
#include "platform/framework/Types.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <exception>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

class CBarcodeManager;
class CCompressedMemFile;
class SnapshotCompressor;
class CDesignerDoc;
class CDocStoreManager;
class CFormElement;
class IExplorerTree;
class CJVXArchive;
class COutputDeviceManager;
class CPage;
class CResourceManager;
class CSpooledFile;
class ImageRegistry;
struct PageSetupValues;
struct _xmlDoc;
struct _xmlNode;

// The update hints the document broadcasts; the element concerned, or null,
// travels with each.
struct DocumentHint
{
    enum : int {
        ElementChanged = 241, // also its z-order
        SourceRectChanged = 242,
        DestRectChanged = 243,
        ElementReparented = 244, // with the new container, or null at top level
        SelectionChanged = 245,  // with the element selected, or null
        ElementAdded = 246,
        ElementRemoved = 247,
        SpooledPageChanged = 248,
        OutputViewRefit = 249,
        PageSetupChanged = 250, // also after a JVX import
        OptionsChanged = 251,   // also after an XML import
        RestoreBegins = 252,
        RestoreEnds = 253,
        NewOrOpenDone = 254,
    };
};

// The hint's name as written above ("SelectionChanged"), for messages and
// test output; "hint <number>" for a number that is none of them.
QString DocumentHintName(int hint);

// What the main frame implements to hear of the document beyond its views.
class DocumentChangeListener
{
public:
    virtual ~DocumentChangeListener();

    // Every hint the document broadcasts, after its views had it. The
    // document always sends it with no sender.
    virtual void OnDocumentChanged(LPARAM hint, CObject* sender, CObject* element) = 0;

    // "WM_SET_DOC_TYPE": once for each view of the document, for the frame
    // that holds it (an XML document hides the output pane).
    virtual void OnSetDocType(CView* view, int docType, CDesignerDoc* doc);

    // The elements were revalidated: a shown property sheet re-reads its pages.
    virtual void OnElementsRevalidated(CDesignerDoc* doc);

    // The document is closing: an open find dialog goes.
    virtual void OnDocumentClosing(CDesignerDoc* doc);

    // The title changed (a new path, the modified mark): the frame caption
    // follows.
    virtual void OnTitleChanged(CDesignerDoc* doc);
};

// A message held back while the document was read quietly.
struct HeldNotice
{
    QString text;
    UINT type = 0; // message box style word

    friend bool operator==(const HeldNotice&, const HeldNotice&) = default;
};

class CDesignerDoc : public CDocument
{
    KWVD_DECLARE_DYNAMIC(CDesignerDoc)

public:
    static constexpr BYTE kCurrentVersion = 59;
    static constexpr DWORD kMaxBuildId = 999999;

    CDesignerDoc();
    ~CDesignerDoc() override;

    // ---- life cycle
    BOOL OnNewDocument() override;
    // A failed open leaves a complete new document without path or title,
    // so a later save cannot write it over the file that failed.
    BOOL OnOpenDocument(const QString& path) override;
    void OnCloseDocument() override;
    // Back to an empty document: no pages, managers or elements.
    void ResetContents();
    BOOL IsReady() const { return m_ready; }

    // ---- title mark and saving
    void SetTitle(const QString& title) override;
    void SetModifiedFlag(BOOL modified = TRUE) override;
    BOOL SaveModified() override;
    BOOL DoSave(const QString& path, BOOL replace = TRUE) override;
    // Adds " *" (mark) or removes every "*"; apply passes the title on to the
    // frame caption through SetTitle, otherwise it is only stored.
    void UpdateTitleMark(BOOL mark, BOOL apply);

    // ---- change transaction
    void BeginChange() { ++m_changeDepth; }
    // Closes one level; the outermost close of a dirty transaction counts.
    // A snapshot that fails still closes it, then its exception passes on.
    void EndChange();
    int GetChangeDepth() const { return m_changeDepth; }
    BOOL IsDirty() const { return m_dirty; }
    // The step the not-counted page moves take before their transaction ends.
    void ClearDirty() { m_dirty = FALSE; }
    DWORD GetBuildId() const { return m_buildId; }
    void SetBuildId(DWORD id) { m_buildId = id > kMaxBuildId ? 0 : id; }
    // Messages of a transaction that ended while an exception was passing,
    // shown once it has gone by. Runs at the start of the next transaction
    // too, so nothing is lost.
    void ShowPendingNotices();

    // ---- undo and redo (DesignerDocUndo.cpp)
    // Snapshots are the whole document as the WVD file writes it, held
    // compressed; the head of the undo list is the current state, the head
    // of the redo list the next state to redo.
    //
    // Drops the redo list and pushes a snapshot of the current state, first
    // dropping the oldest ones beyond MaximumUndoBufferSize megabytes (the
    // newest is always kept); a limit of 0 clears both lists and takes none.
    virtual void TakeUndoSnapshot();
    // A new compressed snapshot; the caller owns it.
    CCompressedMemFile* CreateSnapshot();
    // Reads the document back from the snapshot, in place and quietly; the
    // notices held back are shown once afterwards. Never counts as a change.
    // A failure passes on with the document half-read: the caller puts a
    // good state back.
    void RestoreSnapshot(CCompressedMemFile* snapshot);
    void ClearSnapshotList(CObList& list);
    // A restore that fails reads back the state before it and reports why;
    // only when that fails too does the document start anew.
    void OnEditUndo();
    void OnEditRedo();
    BOOL CanUndo() const { return m_undoList.GetCount() >= 2; }
    BOOL CanRedo() const { return !m_redoList.IsEmpty(); }
    const CObList& GetUndoList() const { return m_undoList; }
    const CObList& GetRedoList() const { return m_redoList; }
    ULONGLONG GetSnapshotBytes() const { return m_snapshotBytes; }

    // ---- the WVD file (DesignerDocFile.cpp)
    // Stores or loads the whole document; the archive's document must be
    // this one. Archive failures leave with the archive's file path.
    void Serialize(CArchive& ar) override;
    // Storing writes 12 12 and the current version and returns it; loading
    // judges the three bytes and returns the version, or 0 when refused.
    BYTE SerializeWvdHeader(CArchive& ar);
    void SerializeZOrder(CArchive& ar, BYTE version);
    // The z-order := the element list in document order; marks modified.
    void ResetZOrder();

    // ---- the JVX file (DesignerDocJvx.cpp)
    // Writes the document at the version (1 to 28; anything else is 28) to
    // path, replacing a file there only when the whole file was written. The
    // member name is upper-cased in place and becomes the WVD name.
    BOOL ExportJVXFile(const QString& path, QString& memberName, int version);
    // Reads the file into the document, inside the caller's transaction; its
    // elements are added to what is there. A record that cannot be read ends
    // the reading with a message, keeping what was read.
    BOOL ImportJVXFile(const QString& path);

    // ---- hints
    void BroadcastHint(LPARAM hint, CObject* element);
    void AddChangeListener(DocumentChangeListener* listener);
    void RemoveChangeListener(DocumentChangeListener* listener);
    void SuppressUpdates() { ++m_updateSuppression; }
    void ResumeUpdates();
    int GetUpdateSuppression() const { return m_updateSuppression; }

    // ---- quiet read: while an undo snapshot or a clipboard stream is read,
    // nobody asks or tells the user anything; what they would have said is
    // kept and shown once by whoever began the quiet read.
    void BeginQuietRead() { ++m_quietRead; }
    // Returns the notices held back, each once, in the order they came.
    std::vector<HeldNotice> EndQuietRead();
    BOOL IsQuietRead() const { return m_quietRead > 0; }
    // Outside a quiet read shows the message and returns the answer; inside,
    // holds it back and returns defaultResult.
    int NotifyUser(const QString& text, UINT type, int defaultResult);
    static void ShowHeldNotices(const std::vector<HeldNotice>& notices);

    // ---- document type and code page
    // 0 spooled-file design, 1 XML document; anything else counts as 0.
    BOOL SetDocType(BYTE type);
    BOOL SetDocTypeNumber(int type);
    BYTE GetDocType() const { return m_docType; }
    BOOL IsXmlDocument() const { return m_docType == 1; }
    int GetCodePageId() const;
    BOOL SetCodePageId(int codePageId);
    BYTE GetDocumentVersion() const { return m_docVersion; }
    void SetDocumentVersion(BYTE version) { m_docVersion = version; }

    // ---- owned objects (null after a reset)
    CPage* GetSourcePage() const { return m_pSourcePage; }
    CPage* GetOutputPage() const { return m_pOutputPage; }
    CSpooledFile* GetSpooledFile() const { return m_pSpooledFile; }
    COutputDeviceManager* GetOutputDeviceManager() const { return m_pOutputDevices; }
    CBarcodeManager* GetBarcodeManager() const { return m_pBarcodes; }
    ImageRegistry* GetImageRegistry() const { return m_pImages; }
    CResourceManager* GetResourceManager() const { return m_pResources; }
    CDocStoreManager* GetDocStoreManager() const { return m_pDocStore; }

    // ---- header fields
    void SetHeaderDefaults();
    CFixedLenUserString& WvdName() { return m_wvdName; }               // 1
    CFixedLenUserString& Description() { return m_description; }       // 2
    CFixedLenUserString& FirstPageText() { return m_firstPageText; }   // 3
    CFixedLenNum& FirstPageTextLine() { return m_firstPageLine; }      // 4
    CFixedLenNum& FirstPageTextColumn() { return m_firstPageColumn; }  // 5
    CFixedLenNum& FirstPageTextWidth() { return m_firstPageWidth; }    // 6
    CFixedLenString& FirstPageCompare() { return m_firstPageCompare; } // 7
    CFixedLenString& IgnoreFirstPage() { return m_ignoreFirstPage; }   // 8
    CFixedLenNum& FirstPageToProcess() { return m_firstPage; }         // 9
    CFixedLenNum& LastPageToProcess() { return m_lastPage; }           // 10
    CFixedLenString& OrientationDigit() { return m_orientation; }      // 11
    CFixedLenNum& NoPrintBorder() { return m_border; }                 // 12
    CFixedLenString& FontGroupName() { return m_fontGroup; }           // 13
    CFixedLenString& ResourceLibrary() { return m_resourceLibrary; }   // 14
    CFixedLenString& DocTypeDigit() { return m_docTypeDigit; }         // 15

    // ---- run parameters, upload record, queues, zoom
    CrtWvdRequest& GetRunParameters() { return m_runParameters; }
    CTimeStamp& GetUploadTime() { return m_uploadTime; }
    const QString& GetUploadPath() const { return m_uploadPath; }
    void SetUploadPath(const QString& path) { m_uploadPath = path; }
    // Read and written directly by the commands, the WVD file and the JVX
    // exchange.
    QString m_outputQueue;
    QString m_outputQueueLibrary;
    int m_sourceZoom[2] = {100, 100};
    int m_destZoom[2] = {100, 100};
    int m_sourceFit = 0;
    int m_destFit = 0;
    int m_mailAvailable = -1;
    BOOL m_replaceWithoutAsking = FALSE;
    BOOL m_automaticImport = TRUE;
    WORD m_jvxRecordCounter = 0;
    LONG m_currentSourceLine = 0;
    LONG m_currentDestLine = 0;
    BOOL m_serialising = FALSE;

    // ---- element tree
    const CObList& GetElementList() const { return m_elements; }
    const CObList& GetZOrderList() const { return m_zOrder; }

    // A new element of the type, added with the anchor; null for a kind that
    // cannot be made here.
    CFormElement* CreateNewElement(int type, int side, const kwvd::Rect& rect, CFormElement* anchor);
    // Null when the element is null or already in the document.
    CFormElement* AddElement(CFormElement* element, BOOL keepOutputLast, CFormElement* anchor);
    void DeleteElement(CFormElement* element, BOOL withChildren);
    void DeleteSelectedElements();
    void RemoveAllElements();
    CFormElement* MakeTopLevel(CFormElement* element);
    BOOL RemoveTopLevel(CFormElement* element);
    BOOL RemoveFromLists(CFormElement* element);
    BOOL ReparentElement(CFormElement* element, CFormElement* newContainer);
    BOOL PlaceInDocumentOrder(CFormElement* element, CFormElement* target, BOOL after);
    // Mode 0 nothing, 1 into the target, 2 just before it, 3 just after it.
    BOOL MoveElement(CFormElement* target, CFormElement* element, short mode);
    CFormElement* GetLastTopLevelElement() const;
    void BringToFront(CFormElement* element, BOOL withChildren);
    void SendToBack(CFormElement* element, BOOL withChildren);
    void RevalidateElements(int mode);
    void EnsureDefaultOutputElement();
    // The names of the Variable elements for the property pages' lists:
    // at most 999 distinct names, sorted.
    void GetVariableNames(QStringList& names) const;
    BOOL ContainsElement(const CFormElement* element) const;
    // The explorer's tree from scratch: a root item with the title, below it
    // every top-level element with its children, in document order. FALSE
    // when the tree made no root item.
    BOOL FillExplorerTree(IExplorerTree& tree);

    // ---- spooled-file pages
    // Makes the next or previous page current, marks the document modified,
    // revalidates the elements and sends SpooledPageChanged. FALSE, with
    // nothing changed, at the last or first page or without a spooled file.
    // The caller holds a change transaction.
    BOOL NextSpooledPage();
    BOOL PrevSpooledPage();
    // The page commands: the move in a transaction of its own that raises no
    // Build ID and takes no undo step, although the title gets the mark. A
    // change already pending in an outer transaction still counts.
    BOOL OnNextSpooledPage();
    BOOL OnPrevSpooledPage();
    BOOL CanNextSpooledPage() const;
    BOOL CanPrevSpooledPage() const;
    // The status pane's text, "Page n of m"; empty when there are no pages.
    QString GetSpooledPageIndicator() const;
    // After a read: a page density the file held as 0 or less was given its
    // default; tells the user once and marks the document modified, so that
    // a save stores the density used. Inside the open's transaction.
    void NoteDefaultedPageDensity();

    // ---- import and export commands (DesignerDocExport.cpp)
    // Export WVD by the file road: the export dialog until the user cancels
    // or a path is confirmed, then the JVX file. The folder becomes the
    // preference DefaultExportPath even when the writing failed.
    void OnExportWvd();
    // After an export by the file road: the host's import program PCWVDCL
    // for the member (and, from version 8, the library) through the host
    // access library, under the wait cursor. Nothing without the library.
    void CallImportProgram(const QString& memberName, int version);
    // Import WVD and Import an XML File, each in a change transaction: the
    // chooser again after every failed import, until one succeeds or the
    // user cancels.
    void OnImportFromServer();
    void OnImportXml();

    // ---- the host (DesignerDocHost.cpp)
    // Execute a WVD: a copy of the run parameters, filled from the
    // preferences, the document's output queue and the loaded spooled file
    // when it is not complete, goes to execute (the dialog and the host
    // call). Only a result of 1 stores a changed copy back, in a change
    // transaction. Returns the result.
    int OnExecuteWvd(const std::function<int(CrtWvdRequest* request)>& execute);
    // Import Spooled File (mode 0) in a change transaction, followed on
    // success by the steps of every spooled-file change; Save to File
    // (mode 1) without one. FALSE, with the document as it was, when nothing
    // was imported or saved.
    BOOL ImportSpooledFileFromServer(int mode);
    // Export Spooled File (mode 0) and Create From File (mode 1).
    BOOL ExportSpooledFileToServer(int mode);
    BOOL HasSpooledPages() const;

    // ---- spooled-file tools and inserts (DesignerDocSpooledFile.cpp,
    // DesignerDocInsert.cpp)
    // What follows every change of the sample pages: the document marked
    // modified, the elements revalidated and SpooledPageChanged sent. The
    // caller holds a change transaction.
    void OnSpooledFileChanged();
    // Each in a change transaction of its own; FALSE, with the document as it
    // was, when the spooled file's operation failed or was cancelled.
    // Loading also hands the loaded identity to run parameters that are not
    // complete yet.
    BOOL LoadLocalSpooledFile();
    BOOL PasteSpooledPage();
    BOOL DeleteCurrentSpooledPage();
    // The current page on the clipboard; nothing without a spooled file.
    void CopySpooledPage() const;
    // A spooled file identity with a file name to show.
    BOOL HasSpooledFileData() const;
    void ShowSpooledFileData() const;
    // Whether this type of document takes elements of the type: the page
    // kinds only a spooled-file design, the XML kinds only an XML document.
    BOOL CanInsertElement(int type) const;
    // A new element of the type in its own transaction, placed with the
    // anchor as a drawn one is, selected and announced. Null when nothing was
    // made (an image that does not load, a kind this document does not take).
    CFormElement* InsertNewElement(int type, CFormElement* anchor);

    // ---- XML import (XmlImport.cpp)
    // Builds XML elements from an XDR schema or an XML sample file. FALSE
    // when the file could not be read as XML (the user picks another).
    static BOOL ImportXmlFile(CDesignerDoc* doc, const QString& path);
    // TRUE when the document is a schema and its document element was built.
    static BOOL ImportXdrSchema(CDesignerDoc* doc, _xmlDoc* dom);
    // The elements of one sample node and its subtree, one line each from
    // the rectangle down, indented one cell per level.
    static BOOL ImportXmlNode(CDesignerDoc* doc, _xmlNode* node, CFormElement* parent, kwvd::Rect& rect, QSize cell);
    // New elements, already linked to their containers, added after the
    // document's elements (before a last top-level Output element) in the
    // order given, in one pass over the lists: what AddElement and
    // MoveElement would give one by one.
    void AddImportedElements(const std::vector<CFormElement*>& elements);

    // ---- page setup and go to page (DesignerDocPageSetup.cpp)
    // The Page Setup sheet's pages as the document fills them: the output
    // page's size, the default output device (made when there is none), the
    // header values, the language settings and the build information.
    void FillPageSetup(PageSetupValues& values);
    // OK of the sheet: the size, the device's name and type, the header
    // values, then the language settings (copied to the source page), each
    // stored only when it differs; after any change the document is marked
    // modified, revalidated, its images and resources turned to the page and
    // PageSetupChanged sent. TRUE when anything changed. The caller holds a
    // change transaction.
    BOOL ApplyPageSetup(const PageSetupValues& values);
    // The Page Setup command: the sheet runs on values filled from the
    // document inside one change transaction; OK (runSheet's true) applies.
    BOOL OnFilePageSetup(const std::function<bool(PageSetupValues&)>& runSheet);
    // The Go to Page command: choosePage is given the current page and the
    // page count and answers the page chosen, or 0 for cancel. The move
    // goes uncounted, as the other page moves.
    BOOL OnGotoSpooledPage(const std::function<int(int current, int total)>& choosePage);

protected:
    // Called by the transaction's guard: while an exception passes, nothing
    // here throws or shows a box; what it had to say waits for
    // ShowPendingNotices.
    void EndChangeFromGuard(bool unwinding) noexcept;
    friend class CDocChangeGuard;

private:
    // The WVD file's element list and its order on reload.
    void StoreElementTree(CArchive& ar, const std::vector<CFormElement*>& topLevel);
    void StoreZOrder(CArchive& ar, const std::vector<CFormElement*>& topLevel);
    void LoadElementTree(CArchive& ar);
    void LoadOwnedObjects(CArchive& ar, BYTE version);
    // The JVX export's preparation of the header fields and export device,
    // what it writes after the file is open, and the import's element records.
    void PrepareJvxExport(const QString& memberName);
    void WriteJvxContents(CJVXArchive& ar, const QString& memberName);
    void ReadJvxElements(CJVXArchive& ar, LONG textStart);
    // Each element's place in the element list as a reload rebuilds it.
    void OrderAfterReload(const std::vector<CFormElement*>& topLevel, kwvd::PointerTable<size_t>& position) const;

    // After a failed undo or redo: reads back the state before it, which the
    // caller has put back at the head of the undo list, and reports.
    void RecoverFromFailedRestore(CCompressedMemFile* before, const QString& reason);
    void ReadSnapshot(CCompressedMemFile& snapshot);
    // Deletes the contents and reads the snapshot, quietly; the notices held
    // back are returned. The restore hints are sent around it.
    std::vector<HeldNotice> ReloadFromSnapshot(CCompressedMemFile& snapshot);
    // After a change that failed part way (a JVX import): the document as
    // the snapshot taken before it, inside the change's open transaction,
    // with the transaction's dirty mark put back to the one given. No
    // snapshot is taken and no notice shown. A failure passes on.
    void RollBackTo(CCompressedMemFile& before, BOOL dirty);
    // The modified flag and the title's mark, without a transaction.
    void PutModifiedFlag(BOOL modified);
    void ForgetSnapshotBytes(ULONGLONG bytes);

    void CreateOwnedObjects();
    void DeleteOwnedObjects();
    // Steps shared by a new document and one whose open failed.
    BOOL FinishNewDocument();
    void ShowClockMessage(bool defer);
    void CloseTransaction(bool defer);
    void MoveInZOrder(CFormElement* element, BOOL withChildren, bool toFront);

    // Every change to the two element lists goes through these, so that the
    // positions kept beside them stay true.
    void ListElementBefore(CObList::const_iterator position, CObject* element);
    void UnlistElement(CObList::iterator position);
    void AddToZOrder(CObject* element, bool front);
    void RemoveFromZOrder(const CObject* element);
    void ClearZOrder();
    // The element's place in the element list, or end().
    CObList::iterator ElementPosition(const CObject* element);

    BOOL m_ready = FALSE;
    BYTE m_docVersion = kCurrentVersion;
    BYTE m_docType = 0;

    CPage* m_pSourcePage = nullptr;
    CPage* m_pOutputPage = nullptr;
    CSpooledFile* m_pSpooledFile = nullptr;
    COutputDeviceManager* m_pOutputDevices = nullptr;
    CBarcodeManager* m_pBarcodes = nullptr;
    ImageRegistry* m_pImages = nullptr;
    CResourceManager* m_pResources = nullptr;
    CDocStoreManager* m_pDocStore = nullptr;

    CObList m_elements;
    CObList m_zOrder;
    // Where each listed element stands in each list: membership, removal and
    // moves without a walk over the lists.
    std::unordered_map<const CObject*, CObList::iterator> m_elementAt;
    std::unordered_map<const CObject*, CObList::iterator> m_zOrderAt;

    CFixedLenUserString m_wvdName;
    CFixedLenUserString m_description;
    CFixedLenUserString m_firstPageText;
    CFixedLenNum m_firstPageLine;
    CFixedLenNum m_firstPageColumn;
    CFixedLenNum m_firstPageWidth;
    CFixedLenString m_firstPageCompare;
    CFixedLenString m_ignoreFirstPage;
    CFixedLenNum m_firstPage;
    CFixedLenNum m_lastPage;
    CFixedLenString m_orientation;
    CFixedLenNum m_border;
    CFixedLenString m_fontGroup;
    CFixedLenString m_resourceLibrary;
    CFixedLenString m_docTypeDigit;

    int m_changeDepth = 0;
    BOOL m_dirty = FALSE;
    ULONGLONG m_snapshotBytes = 0;
    CObList m_undoList; // of CCompressedMemFile*, owned
    // Made with the first snapshot and kept for the next ones.
    std::unique_ptr<SnapshotCompressor> m_snapshotCompressor;
    CObList m_redoList;
    CrtWvdRequest m_runParameters;
    DWORD m_buildId = 0;
    CTimeStamp m_uploadTime;
    QString m_uploadPath;
    int m_updateSuppression = 0;

    int m_quietRead = 0;
    std::vector<HeldNotice> m_heldNotices;
    std::vector<HeldNotice> m_pendingNotices;
    std::vector<DocumentChangeListener*> m_listeners;
};

// The change transaction: one level of the document's change depth for the
// life of the scope. Its end never throws and never shows a box while an
// exception passes through it.
class CDocChangeGuard
{
public:
    explicit CDocChangeGuard(CDesignerDoc* doc);
    ~CDocChangeGuard();

    CDocChangeGuard(const CDocChangeGuard&) = delete;
    CDocChangeGuard& operator=(const CDocChangeGuard&) = delete;

private:
    CDesignerDoc* m_pDoc;
    int m_uncaught;
};

// Shows that a file was written by a newer version of the designer; the
// designer program installs its dialog, the model alone shows the message.
// Returns the handler installed before; nullptr puts back the message.
using IncorrectVersionHandler = void (*)(const QString& fileName);
IncorrectVersionHandler SetIncorrectVersionHandler(IncorrectVersionHandler handler);

// The JVX header word. Storing writes it for the archive's version (0 or
// above 28 counts as 28) and sets that version; loading recognises it, sets
// the version found and returns it, or tells the user and returns 0.
BYTE SerializeJVXHeader(CJVXArchive& ar);

// The 0-based place of the element in the list; FALSE and 0 when absent.
BOOL FindElementIndex(const CObList& list, const CFormElement* element, WORD* index);

// The width and height of the union of the elements' destination boxes.
QSize GetElementsExtent(const CObList& elements);

// Inserts a variable name into a sorted list without duplicates; names of 1
// to 10 characters only. The property pages' lists of Variable names are
// gathered with it.
void AddSortedUniqueName(QStringList& names, const QString& name);
