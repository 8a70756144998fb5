#pragma once
// The sample spooled file the user designs over: its pages of text lines,
// the page shown in the input pane, the page dimensions that size the
// source page, and the host identity of the file.
//
// A page is a string array whose index is the line number, so element 0 is
// normally empty and line n is element n. Page width and length only grow:
// they are the maxima over every page held since the file was made or read.

#include "designer/document/SpooledFileIdentity.h"
#include "platform/framework/Collections.h"
#include "platform/framework/Object.h"
#include "platform/framework/Rect.h"
#include "platform/framework/Types.h"

#include <QString>
#include <QStringList>

#include <memory>

class CDesignerDoc;

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

private:
    CStringArray* PageAt(int n) const;

    CStringArray* m_pCurrentPage = nullptr; // one of m_pages' entries
    PageList m_pages;
    int m_currentPage = 0;
    CDesignerDoc* m_pDocument = nullptr;
    int m_pageLength = 0;
    int m_pageWidth = 0;
    SpooledFileIdentity m_loadedIdentity;
    SpooledFileIdentity m_filterIdentity;
};
