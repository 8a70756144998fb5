#pragma once
// The sample spooled file the user designs over: its pages of text lines,
// the page shown in the input pane, the page dimensions that size the
// source page, and the host identity of the file.
//
// A page is a string array whose index is the line number, so element 0 is
// normally empty and line n is element n. Page width and length only grow:
// they are the maxima over every page held since the file was made or read.
//
// Local spooled files are 16-bit little-endian text, one line per LF (a CR
// ends the line too and takes an LF that follows it), each line a
// 4-character print-control prefix and the text. A page read from such a
// file keeps its texts in one block until the page is first asked for: a
// file holds many thousands of pages and the designer shows one at a time.

#include "designer/document/SpooledFileIdentity.h"
#include "platform/framework/Collections.h"
#include "platform/framework/Object.h"
#include "platform/framework/Rect.h"
#include "platform/framework/Types.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <memory>
#include <unordered_map>
#include <vector>

class CArchive;
class CDesignerDoc;
class QPainter;

// Deletes every page of the list (each object once, whatever its class)
// and empties it. The list itself stays.
void FreePageList(CObList* list);

struct PageListDeleter
{
    void operator()(CObList* list) const;
};

// A page list that owns its pages.
using PageList = std::unique_ptr<CObList, PageListDeleter>;

// The columns [start, start + count) of a page line, where a double-byte
// character takes two columns (the character and a filler) between
// shift-out (0x0E) and shift-in (0x0F). Plain mode (1) drops the shift
// characters and the fillers; any other mode shows them as "«", "»" and a
// blank, so that the text keeps its columns on screen.
QString ExtractLineColumns(const QString& line, int start, int count, int shiftMode);

enum class PrintControlResult {
    Stored,
    NewPage,
    Invalid,
};

// Applies one line of a local spooled file (at least 4 characters) to the
// page being read: a last prefix character "0" to "3" spaces that many lines
// down, a first prefix character "0" skips to the line the prefix numbers
// (or asks for a new page when that line is not below the current one).
// Stored text replaces what stood at the line; the page grows to reach it.
PrintControlResult ParsePrintControlLine(const QString& line, int& lineIndex, CStringArray& page);

// The lines of a page read from a local spooled file, not yet made into
// strings.
struct UnbuiltPageLines;
// Keyed by the page (an empty string array) that the lines will fill.
using UnbuiltPages = std::unordered_map<const CObject*, std::unique_ptr<UnbuiltPageLines>>;

// Finds a local spooled file: in the path's own folder (the current folder
// when it has none), then, each time only when the user agrees to the
// substitute, in DefaultSpooledFileDirectory, the program's folder and the
// current folder. On success path becomes the full path found; otherwise the
// user is told the file cannot be found.
BOOL LocateSpooledFile(QString& path);

// How the program shows the host attributes of the loaded spooled file; the
// model has no dialogs of its own.
using SpooledFileDataViewer = void (*)(const SpooledFileIdentity& identity);
// Returns the viewer installed before; nullptr removes it.
SpooledFileDataViewer SetSpooledFileDataViewer(SpooledFileDataViewer viewer);

class CSpooledFile : public CObject
{
    KWVD_DECLARE_SERIAL(CSpooledFile)

public:
    enum : int {
        DisplayShiftMode = 0,
        PlainShiftMode = 1,
    };

    // No document (the form the archive makes); both identities cleared.
    CSpooledFile();
    explicit CSpooledFile(CDesignerDoc* document);
    ~CSpooledFile() override;

    CSpooledFile(const CSpooledFile&) = delete;
    CSpooledFile& operator=(const CSpooledFile&) = delete;

    // The page list as an object of string arrays, the current page number,
    // the dimensions and the two identities. Loading refuses list entries
    // that are not string arrays (badClass) and dimensions no page can have.
    void Serialize(CArchive& ar) override;

    // Asks for a local spooled file until one reads or the user cancels.
    BOOL OpenLocalFile();
    // Reads a local spooled file in place of the pages held and selects its
    // first page. On any failure the pages stay as they were.
    BOOL ReadTextFile(const QString& path);

    // The host's list of spooled files through the host access library:
    // mode 0 imports the file chosen in place of the pages held or after
    // them, as the user answers, and may change the document's code page;
    // mode 1 only saves the chosen file's raw data. FALSE, with the pages,
    // the loaded identity and the code page as they were, when nothing was
    // imported or saved; message 278 when the library or its entry points
    // are missing. The filter keeps what the user typed into the list.
    BOOL ImportFromServer(int mode);
    // Creates a spooled file on the host, mode 0 from the pages held, mode 1
    // from a raw data file the user picks; TRUE when the library's dialog
    // ended with OK. The pages stay this object's.
    BOOL ExportToServer(int mode);

    // Copies the pages of a list built by the host access library, which
    // keeps its list. Without append the pages held go first. No page is
    // current afterwards.
    void AddServerPages(const CObList* list, BOOL append);

    CDesignerDoc* GetDocument() const { return m_pDocument; }
    void SetDocument(CDesignerDoc* document) { m_pDocument = document; }

    // Pages are numbered from 1.
    int GetPageCount() const;
    // The lines of page n; null for a page number out of range or a page
    // without lines.
    const CStringArray* GetPage(int n) const;
    const CStringArray* GetCurrentPageLines() const { return m_pCurrentPage; }
    // 0 when no page is shown.
    int GetCurrentPageNumber() const { return m_currentPage; }

    // Selects page n and sizes the document's source page to the page
    // dimensions; FALSE, with nothing changed, for a page number out of
    // range or a page without lines.
    BOOL SetCurrentPage(int n);

    // Takes over a page list; nothing for a null list. The old pages go,
    // no page is current afterwards, and the dimensions grow to the new
    // pages. Entries that are not string arrays, and repeats of one page,
    // become pages without lines, so every page is owned once.
    void ReplacePageList(PageList list);

    // Puts lines in as page n (taking them over) or, with no lines, removes
    // page n; missing pages up to n are added without lines. Selects page n
    // afterwards. FALSE for n below 1, or when more than 10001 pages would
    // have to be added; the lines then stay the caller's.
    BOOL SetPage(CStringArray* lines, int n);
    // Removes page n (1 to the page count) and selects the page that took
    // its place, else the last page, else none.
    BOOL DeletePage(int n);

    // The current page as plain text on the clipboard, each line ended by
    // CR LF.
    void CopyPageToClipboard() const;
    // The clipboard text as a page, in place of the current page (page 1
    // when none is current) or after the last, as the user chooses. FALSE
    // when there is no clipboard or the user closes the question.
    BOOL PastePageFromClipboard();

    // Draws the current page under the painter's clip in the source page's
    // grid: each line's text stands on the bottom of its cells, one cell per
    // character, in the source page's default font. The painter's state is
    // left as it was.
    void DrawPage(QPainter& painter) const;
    // The face the page is shown in while it has no font 0 (a fresh
    // installation has no master fonts): fixed pitch, as high as the cell
    // allows and spaced so that every character advances exactly one cell.
    static QFont FallbackDisplayFont(int cellWidth, int cellHeight);

    // Shows the loaded identity through the installed viewer.
    void ShowFileData() const;

    // Raises page width and length to the maxima of the pages held.
    void UpdatePageDimensions();
    int GetPageWidth() const { return m_pageWidth; }
    int GetPageLength() const { return m_pageLength; }

    // The text of the current page under a 1-based cell rectangle with
    // exclusive right and bottom: one string per line, an empty one for each
    // line outside the page. FALSE without a current page, for an empty
    // rectangle, or when the rectangle starts below the last line.
    BOOL GetTextInRect(int left, int top, int right, int bottom, QStringList& lines, int shiftMode) const;
    // The same; no lines when the other form gives FALSE.
    QStringList GetTextInRect(const kwvd::Rect& cells, int shiftMode = PlainShiftMode) const;

    // The identity of the spooled file last imported from the host.
    SpooledFileIdentity& GetLoadedIdentity() { return m_loadedIdentity; }
    const SpooledFileIdentity& GetLoadedIdentity() const { return m_loadedIdentity; }
    // The selection filter of the host's spooled-file list.
    SpooledFileIdentity& GetFilterIdentity() { return m_filterIdentity; }
    const SpooledFileIdentity& GetFilterIdentity() const { return m_filterIdentity; }

    // The most columns and lines a page may have.
    static constexpr int kMaxPageDimension = 1000000;

private:
    // Makes the lines of a page that has none yet; every page handed out
    // passes through here.
    CStringArray* PageAt(int n) const;
    void BuildPage(CStringArray* page) const;
    void TakePages(PageList list, UnbuiltPages unbuilt);
    void AppendPage(CObject* page);
    // The document's empty output queue and library filled from the
    // preferences, as the host commands start.
    void FillDocumentQueues() const;
    // The pages the library imported, appended when the user answers so;
    // FALSE when there are none.
    BOOL TakeImportedPages(const CObList* pages);

    CStringArray* m_pCurrentPage = nullptr; // one of m_pages' entries
    PageList m_pages;
    // The position of page n in m_pages at n - 1, kept in step with every
    // change to the list, so that a page is found without walking it.
    std::vector<CObList::iterator> m_pageIndex;
    // Pages of m_pages whose lines are still in their block.
    mutable UnbuiltPages m_unbuilt;
    int m_currentPage = 0;
    CDesignerDoc* m_pDocument = nullptr;
    int m_pageLength = 0;
    int m_pageWidth = 0;
    SpooledFileIdentity m_loadedIdentity;
    SpooledFileIdentity m_filterIdentity;
};
