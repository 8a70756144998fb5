#pragma once
// A section of the spooled file copied to the output: the source rectangle
// marks columns and lines of the spooled-file page, the destination is where
// that text is printed in one of the document's host fonts. The element keeps
// the text under its source for the output pane and sizes its destination to
// it. It travels in the JVX file as one "COPY" record.

#include "designer/elements/ElementPagesText.h"
#include "designer/elements/FontUserElement.h"
#include "designer/elements/FormElement.h"
#include "designer/elements/SourceLink.h"

#include <QStringList>

class CFontManager;

// What the element's "Spooled file" property page shows and edits.
struct SourcePageData
{
    // Bits of ApplyPage's what.
    enum : int {
        Position = 0x1,
        Size = 0x2,
        Font = 0x10,
        ForceAbsolute = 0x100,
        AlignToGrid = 0x20000,
    };

    int column = 0; // source page, 1-based
    int line = 0;
    int width = 0;  // columns
    int height = 0; // lines
    int fontIndex = 0;
    BOOL alignToGrid = FALSE;
    BOOL forceAbsolute = FALSE; // the source's absolute flag
    BOOL inLoop = FALSE;

    // Set once when the page is added: the input page's limits, the first
    // captured line as the font dialog's preview and the output page's fonts.
    PageCellLimits limits;
    QString fontSample;
    CFontManager* fontManager = nullptr;
};

class CFormSourceElement : public FontUserElement<CFormElement>
{
    KWVD_DECLARE_SERIAL(CFormSourceElement)

public:
    // For loading.
    CFormSourceElement();
    // Drawn in the input pane: the rectangle is both source and destination.
    CFormSourceElement(CDesignerDoc* doc, const kwvd::Rect& rect);
    // From a "COPY" record.
    explicit CFormSourceElement(CAPRTPDMRec& record);
    ~CFormSourceElement() override;

    int GetType() const override;
    void Copy(const CFormElement& other) override;

    void Serialize(CArchive& ar) override;
    BOOL ToRecord(CAPRTPDMRec& record) override;
    void ExportJVX(CJVXArchive& ar) override;

    BOOL SetDocument(CDesignerDoc* doc) override;
    void Revalidate(int mode) override;

    void DrawSource(QPainter& painter) override;
    void DrawDest(QPainter& painter) override;

    void MoveDest(int x, int y, int flags, BOOL absolute) override;
    void ResizeDest(int cx, int cy, int flags, BOOL absolute) override;

    BOOL IgnoresOffset() const override;

    // TRUE when it changed. The index the font manager gives back is kept:
    // 0 when the new one cannot take the element.
    BOOL SetFontIndex(int index);
    BOOL GetAlignToGrid() const { return m_alignToGrid != 0; }
    COLORREF GetColour() const { return m_colour; }
    BOOL FollowsSource() const { return m_link.IsFollowing(); }
    BOOL NeedsFit() const { return m_needsFit != 0; }

    // The text under the source on the spooled file's current page; the first
    // line padded with blanks to the source width.
    void RefreshText();
    const QStringList& GetLines() const { return m_lines; }

    // Sizes the destination to the lines in the font (measured in output-page
    // pixels); drawing does it when the text or font changed, and so does
    // writing the element when nothing has drawn it since.
    void FitDestToText();

    // ---- property page
    // The first line, trimmed, at most 15 characters.
    QString GetSampleText() const;
    // The limits, the sample and the font manager of a new page.
    void PreparePage(SourcePageData& page) const;
    // TRUE when a value of the page differed.
    BOOL UpdatePage(SourcePageData& page) const;
    BOOL ApplyPage(const SourcePageData& page, int what);

protected:
    CSourceLink* DestLink() override;
    void StepSourceRect(const ElementStep& step, const CPage& page, const kwvd::Rect& before) override;

private:
    void FitIfNeeded();
    BOOL UpdateColour();

    QStringList m_lines;
    int m_alignToGrid = 0;
    COLORREF m_colour = 0xFFFFFF;
    CSourceLink m_link;
    int m_needsFit = 1;
};
