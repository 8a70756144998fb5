#pragma once
// A barcode on the output page. Its data is either read from the spooled
// file at the source rectangle ("COPY" on the host) or a constant kept in the
// element ("MOVE"). Symbology and size live in a barcode definition of the
// document's barcode list, which every element of that definition shares:
// resizing one element resizes the definition and so all its elements.

#include "designer/elements/DataFlagElement.h"
#include "designer/elements/FontUserElement.h"
#include "designer/elements/FormElement.h"
#include "designer/elements/SourceLink.h"
#include "designer/resources/barcodes/Barcode.h"

#include <QImage>

class CBarcodeManager;
class CFontManager;

// What the element's "Barcode" property page shows and edits.
struct BarcodePageData
{
    // Bits of ApplyPage's what.
    enum : int {
        Position = 0x1,
        Size = 0x2,
        Data = 0x8,
        Font = 0x10,
        ForceAbsolute = 0x100,
        BarcodeIndex = 0x800000,
    };

    int column = 0; // source page, 1-based
    int line = 0;
    int width = 0; // columns
    QString data;
    BOOL useData = FALSE;
    int fontIndex = 0;
    BOOL forceAbsolute = FALSE;
    int barcodeIndex = -1;
    BOOL inLoop = FALSE;
    // Set once when the page is added: the input page in whole cells and
    // the output page's fonts and the document's barcodes.
    int largestColumn = 1;
    int largestLine = 1;
    CFontManager* fontManager = nullptr;
    CBarcodeManager* barcodeManager = nullptr;
};

// The kind's bases: the font user and the data with its flag.
using BarcodeBase = FontUserElement<DataFlagElement<CFormElement>>;

class CFormBarcodeElement : public BarcodeBase, public IBarcodeUser
{
    KWVD_DECLARE_SERIAL(CFormBarcodeElement)

public:
    static constexpr int kMaxData = 132;

    // For loading.
    CFormBarcodeElement();
    // Drawn in either pane: the rectangle is both source and destination,
    // then both are sized to the definition.
    CFormBarcodeElement(CDesignerDoc* doc, const kwvd::Rect& rect);
    // From a "COPY" or "MOVE" record with a barcode letter, or "BARC".
    explicit CFormBarcodeElement(CAPRTPDMRec& record);
    ~CFormBarcodeElement() override;

    static CFormElement* FromRecord(CAPRTPDMRec& record, CJVXArchive& ar);

    int GetType() const override;
    void Copy(const CFormElement& other) override;

    void Serialize(CArchive& ar) override;
    BOOL ToRecord(CAPRTPDMRec& record) override;
    void ExportJVX(CJVXArchive& ar) override;

    BOOL SetDocument(CDesignerDoc* doc) override;
    void Revalidate(int mode) override;

    void DrawSource(QPainter& painter) override;
    void DrawDest(QPainter& painter) override;
    // Empty for a constant barcode, which has no source side.
    kwvd::Rect GetSourceRect() const override;

    void MoveDest(int x, int y, int flags, BOOL absolute) override;
    void ResizeDest(int cx, int cy, int flags, BOOL absolute) override;

    BOOL IgnoresOffset() const override;
    BOOL SnapsDestToGrid() const override;

    // ---- IBarcodeUser
    QSize GetDestSizeTwips() const override;
    int GetSourceWidthInColumns() const override;
    int GetTextFontIndex() const override { return m_fontIndex; }

    // Each TRUE when something changed.
    // Joins the new definition before leaving the old one, so an element
    // keeps its barcode when the list is full.
    BOOL SetBarcodeIndex(int index);
    BOOL SetFontIndex(int index);

    int GetBarcodeIndex() const { return m_barcodeIndex; }
    COLORREF GetColour() const { return m_colour; }
    BOOL IsLinked() const { return m_link.IsFollowing(); }

    // Moves the chosen sides onto the grid at the definition's size.
    void UpdateRects(BOOL source, BOOL dest);
    void UpdateAutoDescription() override;

    // The picture every barcode element shows, 64 x 32.
    static const QImage& SharedPicture();

    // ---- property page
    void PreparePage(BarcodePageData& page) const;
    BOOL UpdatePage(BarcodePageData& page) const;
    BOOL ApplyPage(const BarcodePageData& page, int what);

protected:
    void UseDataChanged() override;
    CSourceLink* DestLink() override;
    void BeginSourceStep(const ElementStep& step) override;
    void StepSourceRect(const ElementStep& step, const CPage& page, const kwvd::Rect& before) override;

private:
    CBarcode* Definition() const;
    int DefinitionWidth() const;
    int DefinitionHeight() const;
    BOOL UpdateColour();

    int m_barcodeIndex = -1;
    COLORREF m_colour = 0xFFFFFF;
    CSourceLink m_link;
};
