#pragma once
// The output pane: the finished page with every element drawn at its
// destination rectangle, the no-print band over them. Here the output-only
// elements are placed (Image, Static Text, Address, Eraser, Barcode), and the
// page is printed and previewed. Everything it shares with the input pane
// lives in CDesignView; what is its own is below.
//
// The no-print band is an inversion of what lies under it. A printer cannot
// invert, so a printed page is first drawn into an image, where it can, and
// that image goes to the printer: the band prints as it looks over a white
// page.

#include "designer/document/DesignerDoc.h"
#include "designer/elements/FormElement.h"
#include "designer/views/DesignView.h"

#include <QImage>
#include <QSize>
#include <QSizeF>

#include <functional>
#include <memory>

class QPrinter;
class QPrintPreviewDialog;

class CDDestView : public CDesignView
{
    Q_OBJECT

public:
    explicit CDDestView(QWidget* parent = nullptr);
    ~CDDestView() override;

    int GetSide() const override { return PaneSide::Output; }
    CPage* GetPanePage() const override;
    kwvd::Rect GetElementRect(const CFormElement* element) const override;
    CFormElement* HitTestElementAt(CFormElement* element, QPoint logical) const override;
    void DrawElement(CFormElement* element, QPainter& painter) override;
    void MoveElementBy(CFormElement* element, int dx, int dy, int flags) override;
    void ResizeElementBy(CFormElement* element, int dw, int dh, int flags) override;
    // With the keep-size bit: a resized element keeps what the tracker showed.
    int ResizeFlagsForHandle(int handle) const override;
    // A drop within the pane keeps each element's offset below one cell.
    int DropMoveFlags() const override
    {
        return ElementMoveFlags::Left | ElementMoveFlags::Top | ElementMoveFlags::NoSnap;
    }
    QString GetClipboardFormat() const override;
    void ReadZoomFromDocument(int& zoomX, int& zoomY, int& fit) const override;
    void StoreZoomInDocument(int zoomX, int zoomY, int fit) override;
    QString GetLayoutSubsection() const override;
    ToolAction GetToolAction(int tool) const override;
    int GetToolCursorId(int tool) const override;
    int GetRectChangedHint() const override { return DocumentHint::DestRectChanged; }
    BOOL RefitsOnHint(int hint) const override;

    // ---- the no-print band
    // The band in logical units: along the left edge of a portrait page,
    // along the bottom of a landscape one; empty without a page or border.
    kwvd::Rect GetNoPrintBand() const;
    void DrawNoPrintBorder(QPainter& painter, const kwvd::Rect& logicalClip);

    // ---- printing
    // The printer used by Print and Print Preview; not owned. Without one
    // the pane keeps a printer of its own.
    void SetPrinter(QPrinter* printer) { m_pPrinter = printer; }
    QPrinter& GetPrinter();

    // The printer's page follows the output page's orientation.
    void OnPreparePrinting(QPrinter& printer);
    // Draws the output page onto one printer page, filling the sheet. FALSE
    // without a ready document or when the printer cannot be started.
    BOOL PrintTo(QPrinter& printer);
    // The page as printed: no tracker, the band inverted over white, at
    // scaleX and scaleY device pixels per logical unit. A null image
    // without a ready document.
    QImage RenderPrintImage(double scaleX, double scaleY);

    // How far one logical unit reaches on the printer, in percent: the page
    // fills the physical sheet when its size is known, else it keeps its own
    // size in inches at the printer's resolution. pageHundredths is the page
    // size in 1/100 inch.
    static QSize PrintViewportExtent(QSize pagePixels, QSize pageHundredths, QSize physicalSheet,
                                     QSize printerDotsPerInch);

    // Device pixels per logical unit of the image a page is printed
    // through: as fine as the printer (extent, in percent), at most 600
    // dots per inch of the page, and coarser only where the image would not
    // fit in memory.
    static QSizeF PrintImageScale(QSize pagePixels, QSize pageHundredths, QSize extent);

    // Prints a document's output page without a window to show it in (the
    // print switches of the command line).
    static BOOL PrintDocument(CDesignerDoc* doc, QPrinter& printer);

    // Commands 57607 and 57609.
    void OnFilePrint();
    void OnFilePrintPreview();

    // The print dialog and the preview run through seams: by default the
    // Qt dialogs; tests answer for the user. The dialog runner returns TRUE
    // to print.
    using PrintDialogRunner = std::function<BOOL(QPrinter& printer, QWidget* parent)>;
    using PreviewRunner = std::function<void(QPrintPreviewDialog& dialog)>;
    static void SetPrintDialogRunner(PrintDialogRunner runner);
    static void SetPreviewRunner(PreviewRunner runner);

protected:
    void DrawOverElements(QPainter& painter, const kwvd::Rect& logicalClip, BOOL printing) override;
    // Every element re-snaps to the grid at the new zoom.
    void OnZoomStored() override;
    BOOL AltSuppressesDropSnap() const override { return TRUE; }
    // The document's Page Setup.
    void OnEmptyDoubleClick() override;

private:
    void RegisterPrintCommands();

    QPrinter* m_pPrinter = nullptr;
    std::unique_ptr<QPrinter> m_ownPrinter;
};
