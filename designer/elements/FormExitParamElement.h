#pragma once
// One parameter of a host exit program call: either a constant data text or
// the text at a one-line position of the spooled file. The program's return
// value for it is printed at the destination in one of the document's host
// fonts, unless the return value is ignored; then the element has no
// destination at all. While it follows its source, a move or resize of the
// source is applied to the destination too.

#include "designer/elements/DataFlagElement.h"
#include "designer/elements/FormElement.h"
#include "designer/elements/SourceLink.h"

#include <QString>

class CFontManager;

// The values the exit parameter's property page shows and edits.
struct ExitParamPageData
{
    int column = 0; // 1-based, source page
    int line = 0;
    int width = 0; // columns
    QString data;
    BOOL useData = FALSE;
    BOOL ignoreReturn = FALSE;
    int paramNumber = 0; // a negative number is never applied
    int fontIndex = 0;
    BOOL alignToGrid = FALSE;
    BOOL forceAbsolute = FALSE; // the source absolute flag
    BOOL inLoop = FALSE;
    // Set once when the page is made.
    int largestColumn = 1; // the input page in whole cells
    int largestLine = 1;
    CFontManager* fontManager = nullptr; // the output page's
};

// Bits of the what argument of ApplyPageData.
struct ExitParamPageBits
{
    enum : DWORD {
        Position = 0x1,
        Width = 0x2,
        Data = 0x8,
        Font = 0x10,
        ForceAbsolute = 0x100,
        AlignToGrid = 0x20000,
        ParamNumber = 0x40000,
        IgnoreReturn = 0x200000,
    };
};

class CFormExitParamElement : public DataFlagElement<CFormElement>
{
    KWVD_DECLARE_SERIAL(CFormExitParamElement)

public:
    static constexpr int kMaxParamNumber = 6;
    static constexpr int kDescriptionLength = 50;

    // For loading: parameter 1, position parameter, return value ignored.
    CFormExitParamElement();
    // A new element: PaneSide::Input (drawn in the input pane) makes a position
    // parameter, anything else a data parameter. Both sides start on the
    // given rectangle, normalised to one line.
    CFormExitParamElement(CDesignerDoc* doc, const kwvd::Rect& rect, int side);
    // From a "PARM" record; a destination line of 0 means the return value
    // is ignored.
    explicit CFormExitParamElement(CAPRTPDMRec& record);
    // Leaves its font's users.
    ~CFormExitParamElement() override;

    // Registers the class, its record factory and its strings.
    static void Register();

    // "PARM" and the number.
    static QString ParamName(int number);
    int GetParamNumber() const { return m_paramNumber; }
    // Numbers above 6 are refused. Setting the current number answers FALSE,
    // unless it lies outside 0 to 6, which becomes 1.
    BOOL SetParamNumber(int number);
    BOOL GetIgnoreReturn() const { return m_ignoreReturn != 0; }
    BOOL SetIgnoreReturn(BOOL ignore);
    int GetFontIndex() const { return m_fontIndex; }
    BOOL SetFontIndex(int index);
    BOOL GetAlignToGrid() const { return m_alignToGrid != 0; }
    BOOL SetAlignToGrid(BOOL align);
    BOOL GetFollowsSource() const { return m_link.IsFollowing(); }
    COLORREF GetColour() const { return m_colour; }

    // An automatic or empty description follows number and data.
    void UpdateAutoDescription() override;
    // Snaps the sides asked for to the nearest cells of their pages, on the
    // page, exactly one line high.
    void NormaliseRects(BOOL source, BOOL dest);

    // The General page's disable mask: everything of the destination is off
    // while the return value is ignored.
    int GetGeneralPageDisableMask() const;
    void PreparePage(ExitParamPageData& page) const;
    // TRUE when a value of the page changed.
    BOOL UpdatePageData(ExitParamPageData& page) const;
    // Applies the parts of the page named by the bits; TRUE on any change.
    BOOL ApplyPageData(const ExitParamPageData& page, DWORD what);

    // ---- CFormElement
    void Copy(const CFormElement& other) override;
    int GetType() const override;
    void Serialize(CArchive& ar) override;
    BOOL ToRecord(CAPRTPDMRec& record) override;
    void ExportJVX(CJVXArchive& ar) override;
    void Revalidate(int mode) override;
    void DrawSource(QPainter& painter) override;
    void DrawDest(QPainter& painter) override;
    // Empty while the return value is ignored.
    kwvd::Rect GetDestRect() const override;
    void MoveDest(int x, int y, int flags, BOOL absolute) override;
    void ResizeDest(int cx, int cy, int flags, BOOL absolute) override;
    BOOL IgnoresOffset() const override;
    BOOL Select(BOOL select) override;
    BOOL Find(const QString& text) const override;
    BOOL Replace(const QString& find, const QString& replace) override;

protected:
    CSourceLink* DestLink() override;
    void StepSourceRect(const ElementStep& step, const CPage& page, const kwvd::Rect& before) override;

private:
    // The output page's font manager takes the element from the old index's
    // users to the new one's; the index it accepted.
    int MoveFontUser(int oldIndex, int newIndex);
    void RefreshColour(BOOL announce);

    int m_paramNumber = 1;
    int m_fontIndex = 0;
    int m_alignToGrid = 0;
    COLORREF m_colour = 0xFFFFFF;
    CSourceLink m_link;
    int m_ignoreReturn = 1;
};
