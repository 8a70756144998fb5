#pragma once
// The Eraser blanks an area of the output page: whatever the spooled file
// would print there is left out. It has only a destination box, always on
// whole cells, and travels in the JVX file as one "BLNK" record.

#include "designer/elements/FormElement.h"

class CFormEraserElement : public CFormElement
{
    KWVD_DECLARE_SERIAL(CFormEraserElement)

public:
    // The form the archive makes.
    CFormEraserElement();
    // A new eraser over the rectangle drawn on the output page.
    CFormEraserElement(CDesignerDoc* doc, const kwvd::Rect& rect);
    // From a "BLNK" record.
    explicit CFormEraserElement(CAPRTPDMRec& record);
    ~CFormEraserElement() override;

    // No source side; the destination on the nearest cell lines (at least
    // one cell) and on the output page. Announces the destination.
    void Normalise();

    COLORREF GetColour() const { return m_colour; }

    void Copy(const CFormElement& other) override;
    int GetType() const override;
    void Serialize(CArchive& ar) override;
    void ExportJVX(CJVXArchive& ar) override;
    BOOL ToRecord(CAPRTPDMRec& record) override;
    void Revalidate(int mode) override;
    void DrawDest(QPainter& painter) override;
    void MoveDest(int x, int y, int flags, BOOL absolute) override;
    void ResizeDest(int cx, int cy, int flags, BOOL absolute) override;
    BOOL Select(BOOL select) override;

    // The record factory's entry for "BLNK".
    static CFormElement* FromRecord(CAPRTPDMRec& record, CJVXArchive& ar);

private:
    // TRUE when the colour from the preferences differs from the one held.
    BOOL RefreshColour();

    COLORREF m_colour = 0xFFFFFF;
};
