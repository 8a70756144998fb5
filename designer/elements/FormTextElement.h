#pragma once
// A fixed text printed at a place on the output page in one of the
// document's host fonts. It has no source side; its destination box is sized
// to the text. It travels in the JVX file as one "MOVE" record whose data
// field carries the text.

#include "designer/elements/FontUserElement.h"
#include "designer/elements/FormElement.h"

class CFontManager;

// What the element's "Text" property page shows and edits.
struct TextPageData
{
    // Bits of ApplyPage's what.
    enum : int {
        Text = 0x8,
        Font = 0x10,
        AlignToGrid = 0x20000,
    };

    QString text;
    int fontIndex = 0;
    BOOL alignToGrid = FALSE;
    // The output page's fonts, set when the page is added.
    CFontManager* fontManager = nullptr;
};

class CFormTextElement : public FontUserElement<CFormElement>
{
    KWVD_DECLARE_SERIAL(CFormTextElement)

public:
    // For loading.
    CFormTextElement();
    // Placed in the output pane or inserted (empty rectangle).
    CFormTextElement(CDesignerDoc* doc, const kwvd::Rect& rect);
    // From a "MOVE" record.
    explicit CFormTextElement(CAPRTPDMRec& record);
    ~CFormTextElement() override;

    int GetType() const override;
    void Copy(const CFormElement& other) override;

    void Serialize(CArchive& ar) override;
    BOOL ToRecord(CAPRTPDMRec& record) override;
    void ExportJVX(CJVXArchive& ar) override;

    void Revalidate(int mode) override;
    void DrawDest(QPainter& painter) override;
    // The size always follows the text: a request only refits.
    void ResizeDest(int cx, int cy, int flags, BOOL absolute) override;
    BOOL Select(BOOL select) override;
    BOOL IgnoresOffset() const override;

    // Over the description and the text, case-sensitive.
    BOOL Find(const QString& text) const override;
    BOOL Replace(const QString& find, const QString& replace) override;

    // TRUE when it changed. An automatic or empty description follows it.
    BOOL SetText(const QString& text);
    const QString& GetText() const { return m_text; }
    BOOL SetFontIndex(int index);
    BOOL GetAlignToGrid() const { return m_alignToGrid != 0; }
    COLORREF GetColour() const { return m_colour; }
    BOOL NeedsFit() const { return m_needsFit != 0; }

    // Sizes the destination to the text in the font; drawing does it when
    // something changed, and so does writing the element when nothing has
    // drawn it since.
    void FitDestToText();

    // ---- property page
    // The font manager of a new page.
    void PreparePage(TextPageData& page) const;
    BOOL UpdatePage(TextPageData& page) const;
    BOOL ApplyPage(const TextPageData& page, int what);

private:
    void FitIfNeeded();
    BOOL UpdateColour();

    QString m_text;
    int m_alignToGrid = 0;
    COLORREF m_colour = 0xFFFFFF;
    int m_needsFit = 1;
};
