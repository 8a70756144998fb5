#pragma once
// The Loop marks a block of spooled-file lines, and the matching block of
// output lines, over which the host repeats what the Loop holds: its own
// height, or to the end of the page, or to the end of the document. Its
// boxes span their pages' full width, and the output block follows the
// input block until the user moves it on its own. In the JVX file: "LOOP",
// the children relative to its top lines, "ENDL".

#include "designer/elements/ElementPagesText.h"
#include "designer/elements/FormContainerElement.h"
#include "designer/elements/SourceLink.h"

struct LoopMode
{
    enum : BYTE {
        FixedHeight = 0,
        ToPageEnd = 1,
        ToDocumentEnd = 2,
    };
    static BOOL IsValid(int mode) { return mode >= FixedHeight && mode <= ToDocumentEnd; }
};

class CFormLoopElement : public CFormContainerElement
{
    KWVD_DECLARE_SERIAL(CFormLoopElement)

public:
    // Versions before this one know no loop to the end of the document.
    static constexpr int kFirstDocumentEndVersion = 13;

    // The form the archive makes.
    CFormLoopElement();
    // A new Loop over the rectangle, on both pages.
    CFormLoopElement(CDesignerDoc* doc, const kwvd::Rect& rect);
    // From a "LOOP" record; reads its children up to "ENDL".
    CFormLoopElement(CAPRTPDMRec& record, CJVXArchive& ar);

    BYTE GetLoopMode() const { return m_mode; }
    // 0, 1 and 2 only; TRUE when changed.
    BOOL SetLoopMode(int mode);
    BOOL GetIncrementOnSuccess() const { return m_incrementOnSuccess; }
    // Always FALSE in an XML document; TRUE when changed.
    BOOL SetIncrementOnSuccess(BOOL increment);
    BOOL GetDestFollowsSource() const { return m_link.IsFollowing(); }
    COLORREF GetColour() const { return m_colour; }

    // Full page width; the output block as high as the input block (mode 0)
    // or both to their page bottoms; on the grid and inside the pages.
    void ArrangeRects();

    // ---- property page
    // The input page's limits of a new page.
    void PreparePage(LoopPageData& page) const;
    // Start line, height, the flag and the mode; TRUE when any differed.
    BOOL UpdatePage(LoopPageData& page) const;
    // The groups of LoopPageData; TRUE when anything changed.
    BOOL ApplyPage(const LoopPageData& page, DWORD what);

    void Copy(const CFormElement& other) override;
    int GetType() const override;
    BOOL IsLoopOrInLoop() const override;
    void Serialize(CArchive& ar) override;
    BOOL ToRecord(CAPRTPDMRec& record) override;
    void ExportJVX(CJVXArchive& ar) override;
    void Revalidate(int mode) override;
    void DrawSource(QPainter& painter) override;
    // Never printed.
    void DrawDest(QPainter& painter) override;
    void MoveDest(int x, int y, int flags, BOOL absolute) override;
    void ResizeDest(int cx, int cy, int flags, BOOL absolute) override;

    static void Register();

protected:
    void TakeEndRecord(const CAPRTPDMRec& record) override;
    CSourceLink* DestLink() override;
    void BeginSourceStep(const ElementStep& step) override;
    void StepSourceRect(const ElementStep& step, const CPage& page, const kwvd::Rect& before) override;

private:
    BOOL FillRecord(CAPRTPDMRec& record, int mode);
    // The children with the document's current lines on the Loop's top
    // lines; both back to 0 afterwards. FALSE when reading them failed.
    BOOL ExchangeChildrenJVX(CJVXArchive& ar);
    BOOL RefreshColour();
    BOOL InXmlDocument() const;

    COLORREF m_colour = 0xFFFFFF;
    CSourceLink m_link;
    BOOL m_incrementOnSuccess = FALSE;
    BYTE m_mode = LoopMode::FixedHeight;
    // The last source line an "ENDL" record gave while reading; 0 for none.
    int m_endLine = 0;
    bool m_endLineRead = false;
};
