#include "designer/views/DDestView.h"

#include "designer/commands/CommandIds.h"
#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/ServerItem.h"
#include "designer/elements/FormElement.h"
#include "designer/preferences/ColourRef.h"
#include "designer/preferences/Preferences.h"
#include "designer/views/DesignFrame.h"
#include "designer/views/PrintCanvas.h"
#include "designer/views/ToolCursors.h"
#include "platform/framework/MathHelpers.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/PromptService.h"

#include <QApplication>
#include <QDialog>
#include <QPaintEngine>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace {

// A printed page is drawn into an image first; beyond this many dots per
// inch of the page the image only grows, the print gets no sharper.
constexpr double kMaxPrintImageDpi = 600.0;
// A page of many inches is drawn coarser rather than into an image that
// cannot be had (99 x 99 inches at 600 dots per inch would be gigabytes).
constexpr double kMaxPrintImagePixels = 64.0 * 1024 * 1024;

// Index of the no-print border among the element colours.
constexpr int kNoPrintBorderColourIndex = 77;

CDDestView::PrintDialogRunner& DialogRunner()
{
    static CDDestView::PrintDialogRunner runner;
    return runner;
}

CDDestView::PreviewRunner& PreviewRunnerSlot()
{
    static CDDestView::PreviewRunner runner;
    return runner;
}

} // namespace

CDDestView::CDDestView(QWidget* parent) : CDesignView(parent)
{
    setObjectName(QStringLiteral("DestinationView"));
    RegisterPrintCommands();
}

CDDestView::~CDDestView() = default;

void CDDestView::RegisterPrintCommands()
{
    OnCommand(ID_FILE_PRINT, [this] { OnFilePrint(); });
    OnCommand(ID_FILE_PRINT_PREVIEW, [this] { OnFilePrintPreview(); });
}

CPage* CDDestView::GetPanePage() const
{
    const CDesignerDoc* doc = GetDesignerDoc();
    return doc ? doc->GetOutputPage() : nullptr;
}

kwvd::Rect CDDestView::GetElementRect(const CFormElement* element) const
{
    return element ? element->GetDestRect() : kwvd::Rect();
}

CFormElement* CDDestView::HitTestElementAt(CFormElement* element, QPoint logical) const
{
    return element ? element->HitTestDest(logical) : nullptr;
}

void CDDestView::DrawElement(CFormElement* element, QPainter& painter)
{
    if (element)
        element->DrawDest(painter);
}

void CDDestView::MoveElementBy(CFormElement* element, int dx, int dy, int flags)
{
    if (!element)
        return;
    const QPoint offset = element->GetOffset();
    const QPoint restBefore = element->GetDestRect().TopLeft() - element->DestRect().TopLeft();
    element->MoveDest(dx, dy, flags, FALSE);
    if (!(flags & ElementMoveFlags::NoSnap))
        return;
    // A move off the grid takes the sub-cell rest from pixels, which hold the
    // offset only to the nearest pixel: where the rest is the one the offset
    // showed before, the element keeps its offset in twips exactly.
    const QPoint restAfter = element->GetDestRect().TopLeft() - element->DestRect().TopLeft();
    QPoint kept = element->GetOffset();
    if (restAfter.x() == restBefore.x())
        kept.setX(offset.x());
    if (restAfter.y() == restBefore.y())
        kept.setY(offset.y());
    element->SetOffset(kept);
}

void CDDestView::ResizeElementBy(CFormElement* element, int dw, int dh, int flags)
{
    if (element)
        element->ResizeDest(dw, dh, flags, FALSE);
}

int CDDestView::ResizeFlagsForHandle(int handle) const
{
    // The edges each handle drags; off the grid, so the element keeps the
    // size the tracker showed.
    using F = ElementMoveFlags;
    static constexpr int kFlags[8] = {
        F::Left | F::Top | F::NoSnap,
        F::Top | F::Right | F::NoSnap,
        F::Right | F::Bottom | F::NoSnap,
        F::Left | F::Bottom | F::NoSnap,
        F::Top | F::NoSnap,
        F::Right | F::NoSnap,
        F::Bottom | F::NoSnap,
        F::Left | F::NoSnap,
    };
    return handle >= 0 && handle < 8 ? kFlags[handle] : 0;
}

QString CDDestView::GetClipboardFormat() const
{
    return QString::fromLatin1(kDesignerDestFormat);
}

void CDDestView::ReadZoomFromDocument(int& zoomX, int& zoomY, int& fit) const
{
    if (const CDesignerDoc* doc = GetDesignerDoc()) {
        zoomX = doc->m_destZoom[0];
        zoomY = doc->m_destZoom[1];
        fit = doc->m_destFit;
    }
}

void CDDestView::StoreZoomInDocument(int zoomX, int zoomY, int fit)
{
    if (CDesignerDoc* doc = GetDesignerDoc()) {
        doc->m_destZoom[0] = zoomX;
        doc->m_destZoom[1] = zoomY;
        doc->m_destFit = fit;
    }
}

QString CDDestView::GetLayoutSubsection() const
{
    return QStringLiteral("DestinationView");
}

ToolAction CDDestView::GetToolAction(int tool) const
{
    const CDesignerDoc* doc = GetDesignerDoc();
    switch (tool) {
    case DrawingTool::Image:
        return {ToolAction::Band, FormElementType::Image};
    case DrawingTool::StaticText:
        return {ToolAction::Click, FormElementType::Text};
    case DrawingTool::Address:
        // An XML document has no output page to address.
        if (doc && doc->IsXmlDocument())
            return {};
        return {ToolAction::Band, FormElementType::Address};
    case DrawingTool::Eraser:
        return {ToolAction::Band, FormElementType::Eraser};
    case DrawingTool::Barcode:
        return {ToolAction::Band, FormElementType::Barcode};
    default:
        return {};
    }
}

int CDDestView::GetToolCursorId(int tool) const
{
    const CDesignerDoc* doc = GetDesignerDoc();
    switch (tool) {
    case DrawingTool::Image:
        return ToolCursorId::Image;
    case DrawingTool::StaticText:
        return ToolCursorId::StaticText;
    case DrawingTool::Address:
        return doc && !doc->IsXmlDocument() ? ToolCursorId::Address : 0;
    case DrawingTool::Eraser:
        return ToolCursorId::Eraser;
    case DrawingTool::Barcode:
        return ToolCursorId::Barcode;
    default:
        return 0;
    }
}

BOOL CDDestView::RefitsOnHint(int hint) const
{
    // A new spooled-file page leaves the output page as it is.
    return hint == DocumentHint::OutputViewRefit || hint == DocumentHint::PageSetupChanged;
}

kwvd::Rect CDDestView::GetNoPrintBand() const
{
    const CPage* page = GetPanePage();
    if (!page)
        return {};
    const int band = page->GetBorder() / 10; // 1/1000 inch to page pixels
    if (band <= 0)
        return {};
    const int width = page->GetPixelWidth();
    const int height = page->GetPixelHeight();
    if (page->IsLandscape())
        return kwvd::Rect(0, height - band, width, height);
    return kwvd::Rect(0, 0, band, height);
}

void CDDestView::DrawNoPrintBorder(QPainter& painter, const kwvd::Rect& logicalClip)
{
    const kwvd::Rect band = GetNoPrintBand();
    if (band.IsEmpty() || !band.Intersects(logicalClip))
        return;

    const COLORREF colour = Preferences().GetElementColour(kNoPrintBorderColourIndex);
    painter.save();
    painter.setPen(Qt::NoPen);
    const QPaintEngine* engine = painter.paintEngine();
    if (engine && engine->hasFeature(QPaintEngine::RasterOpModes)) {
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.fillRect(band.ToQRect(), kwvd::ToQColor(colour));
    } else {
        // A device that cannot invert gets the band as it looks over white.
        painter.fillRect(band.ToQRect(), kwvd::ToQColor(colour ^ kwvd::kWhite));
    }
    painter.restore();
}

void CDDestView::DrawOverElements(QPainter& painter, const kwvd::Rect& logicalClip, BOOL printing)
{
    Q_UNUSED(printing);
    DrawNoPrintBorder(painter, logicalClip);
}

void CDDestView::OnZoomStored()
{
    if (CDesignerDoc* doc = GetDesignerDoc())
        doc->RevalidateElements(0);
}

void CDDestView::OnEmptyDoubleClick()
{
    if (IDesignFrame* frame = GetDesignFrame())
        frame->ExecuteCommand(ID_FILE_PAGE_SETUP);
}

// ---- printing

QPrinter& CDDestView::GetPrinter()
{
    if (m_pPrinter)
        return *m_pPrinter;
    if (!m_ownPrinter)
        m_ownPrinter = std::make_unique<QPrinter>();
    return *m_ownPrinter;
}

void CDDestView::OnPreparePrinting(QPrinter& printer)
{
    const CPage* page = GetPanePage();
    const bool landscape = page && page->IsLandscape();
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

QSize CDDestView::PrintViewportExtent(QSize pagePixels, QSize pageHundredths, QSize physicalSheet,
                                      QSize printerDotsPerInch)
{
    const int w = pagePixels.width();
    const int h = pagePixels.height();
    if (w <= 0 || h <= 0)
        return QSize(100, 100);
    if (physicalSheet.width() > 0 && physicalSheet.height() > 0)
        return QSize(physicalSheet.width() * 100 / w, physicalSheet.height() * 100 / h);

    // Without the sheet's size the page keeps its own inches.
    auto extent = [](int pixels, int hundredths, int dpi) {
        const int pagePerInch = hundredths > 0 ? MulDiv(pixels, 100, hundredths) : 0;
        if (pagePerInch <= 0 || dpi <= 0)
            return 100;
        return MulDiv(dpi, 100, pagePerInch);
    };
    return QSize(extent(w, pageHundredths.width(), printerDotsPerInch.width()),
                 extent(h, pageHundredths.height(), printerDotsPerInch.height()));
}

QImage CDDestView::RenderPrintImage(double scaleX, double scaleY)
{
    const CDesignerDoc* doc = GetDesignerDoc();
    const CPage* page = GetPanePage();
    if (!doc || !doc->IsReady() || !page || scaleX <= 0 || scaleY <= 0)
        return {};
    const int width = std::max(1, static_cast<int>(std::ceil(page->GetPixelWidth() * scaleX)));
    const int height = std::max(1, static_cast<int>(std::ceil(page->GetPixelHeight() * scaleY)));
    // The elements see a printer and draw their printed look; the canvas
    // still inverts under the band.
    PrintCanvas canvas(QSize(width, height));
    if (canvas.IsNull())
        return {};
    QPainter painter;
    if (!painter.begin(&canvas))
        return {};
    painter.scale(scaleX, scaleY);
    DrawContents(painter, QRect(0, 0, width, height), TRUE);
    painter.end();
    return canvas.Image();
}

QSizeF CDDestView::PrintImageScale(QSize pagePixels, QSize pageHundredths, QSize extent)
{
    // The image needs no more dots than the printer takes, and no more than
    // kMaxPrintImageDpi over the page's inches.
    auto imageScale = [](int extentPercent, int pixels, int hundredths) {
        double scale = extentPercent / 100.0;
        if (hundredths > 0) {
            const double pagePerInch = pixels * 100.0 / hundredths;
            if (pagePerInch > 0)
                scale = std::min(scale, kMaxPrintImageDpi / pagePerInch);
        }
        return std::max(scale, 0.01);
    };
    double scaleX = imageScale(extent.width(), pagePixels.width(), pageHundredths.width());
    double scaleY = imageScale(extent.height(), pagePixels.height(), pageHundredths.height());
    const double pixels = pagePixels.width() * scaleX * pagePixels.height() * scaleY;
    if (pixels > kMaxPrintImagePixels) {
        const double shrink = std::sqrt(kMaxPrintImagePixels / pixels);
        scaleX *= shrink;
        scaleY *= shrink;
    }
    return QSizeF(scaleX, scaleY);
}

BOOL CDDestView::PrintTo(QPrinter& printer)
{
    const CDesignerDoc* doc = GetDesignerDoc();
    const CPage* page = GetPanePage();
    if (!doc || !doc->IsReady() || !page)
        return FALSE;

    const QSize pagePixels(page->GetPixelWidth(), page->GetPixelHeight());
    const QRect sheet = printer.paperRect(QPrinter::DevicePixel).toRect();
    const QRect printable = printer.pageRect(QPrinter::DevicePixel).toRect();
    const QSize dpi(printer.logicalDpiX(), printer.logicalDpiY());
    const QSize extent = PrintViewportExtent(pagePixels, QSize(page->GetWidth(), page->GetHeight()), sheet.size(), dpi);
    if (extent.width() <= 0 || extent.height() <= 0)
        return FALSE;

    const QSize target(pagePixels.width() * extent.width() / 100, pagePixels.height() * extent.height() / 100);
    const QSizeF scale = PrintImageScale(pagePixels, QSize(page->GetWidth(), page->GetHeight()), extent);
    const QImage image = RenderPrintImage(scale.width(), scale.height());
    if (image.isNull())
        return FALSE;

    QPainter painter;
    if (!painter.begin(&printer))
        return FALSE;
    // The painter starts at the printable area; the page starts at the
    // sheet's corner, so the unprintable margin is taken off.
    const QPoint origin = printer.fullPage() ? QPoint() : sheet.topLeft() - printable.topLeft();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(origin, target), image);
    return painter.end() ? TRUE : FALSE;
}

BOOL CDDestView::PrintDocument(CDesignerDoc* doc, QPrinter& printer)
{
    // The pane is a widget, which needs a GUI application.
    if (!doc || !doc->IsReady() || qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return FALSE;
    CDDestView pane;
    pane.SetDocument(doc);
    pane.OnPreparePrinting(printer);
    const BOOL printed = pane.PrintTo(printer);
    pane.SetDocument(nullptr);
    return printed;
}

void CDDestView::SetPrintDialogRunner(PrintDialogRunner runner)
{
    DialogRunner() = std::move(runner);
}

void CDDestView::SetPreviewRunner(PreviewRunner runner)
{
    PreviewRunnerSlot() = std::move(runner);
}

void CDDestView::OnFilePrint()
{
    const CDesignerDoc* doc = GetDesignerDoc();
    if (!doc || !doc->IsReady())
        return;
    QPrinter& printer = GetPrinter();
    OnPreparePrinting(printer);
    BOOL accepted = FALSE;
    if (DialogRunner()) {
        accepted = DialogRunner()(printer, this);
    } else {
        QPrintDialog dialog(&printer, this);
        accepted = dialog.exec() == QDialog::Accepted ? TRUE : FALSE;
    }
    if (!accepted)
        return;
    if (!PrintTo(printer))
        AfxMessageBox(QStringLiteral("The page could not be printed."), MB_OK | MB_ICONEXCLAMATION);
}

void CDDestView::OnFilePrintPreview()
{
    const CDesignerDoc* doc = GetDesignerDoc();
    if (!doc || !doc->IsReady())
        return;
    QPrinter& printer = GetPrinter();
    OnPreparePrinting(printer);
    QPrintPreviewDialog dialog(&printer, this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* preview) {
        if (preview)
            PrintTo(*preview);
    });
    if (PreviewRunnerSlot())
        PreviewRunnerSlot()(dialog);
    else
        dialog.exec();
}
