// Printing the output page: where the page lands on the sheet, what the
// printed page shows (the elements' printed look, the band inverted over
// white, no tracker), one page to a PDF file, the dialog and preview seams.

#include "designer/commands/CommandIds.h"
#include "designer/preferences/ColourRef.h"
#include "designer/views/tests/ViewTestFixture.h"

#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRegularExpression>

namespace {

struct ExtentCase
{
    const char* name;
    QSize pagePixels;
    QSize pageHundredths;
    QSize sheet;
    QSize dpi;
    QSize expected;
};

void PrintTo(const ExtentCase& c, std::ostream* os)
{
    *os << c.name;
}

class PrintExtent : public ::testing::TestWithParam<ExtentCase>
{};

TEST_P(PrintExtent, PageFillsTheSheetOrKeepsItsInches)
{
    const ExtentCase& c = GetParam();
    EXPECT_EQ(CDDestView::PrintViewportExtent(c.pagePixels, c.pageHundredths, c.sheet, c.dpi), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrintExtent,
    ::testing::Values(
        // A4 at 600 dpi: 4960 x 7016 device pixels; integer percent.
        ExtentCase{"SheetKnown", {827, 1122}, {827, 1169}, {4960, 7016}, {600, 600}, {599, 625}},
        // No sheet size: pixels per inch of the page 100 and 96 (MulDiv rounds).
        ExtentCase{"SheetUnknownKeepsInches", {827, 1122}, {827, 1169}, {0, 0}, {600, 600}, {600, 625}},
        ExtentCase{"OneSideOfTheSheetUnknown", {827, 1122}, {827, 1169}, {4960, 0}, {300, 300}, {300, 313}},
        ExtentCase{"EmptyPageStaysAtHundred", {0, 1122}, {827, 1169}, {4960, 7016}, {600, 600}, {100, 100}},
        ExtentCase{"NoSizeInInchesStaysAtHundred", {827, 1122}, {0, 0}, {0, 0}, {600, 600}, {100, 100}}),
    [](const ::testing::TestParamInfo<ExtentCase>& info) { return info.param.name; });

struct ImageScaleCase
{
    const char* name;
    QSize pagePixels;
    QSize pageHundredths;
    QSize extent;
    double dotsPerInchX; // of the page, in the printed image
    double dotsPerInchY;
};

void PrintTo(const ImageScaleCase& c, std::ostream* os)
{
    *os << c.name;
}

class PrintImageScale : public ::testing::TestWithParam<ImageScaleCase>
{};

// The image a page is printed through is as fine as the printer, up to 600
// dots per inch, and coarser only where it would not fit in memory.
TEST_P(PrintImageScale, FollowsThePrinterUpTo600Dpi)
{
    const ImageScaleCase& c = GetParam();
    const QSizeF scale = CDDestView::PrintImageScale(c.pagePixels, c.pageHundredths, c.extent);
    EXPECT_NEAR(c.pagePixels.width() * scale.width() * 100.0 / c.pageHundredths.width(), c.dotsPerInchX, 1.0);
    EXPECT_NEAR(c.pagePixels.height() * scale.height() * 100.0 / c.pageHundredths.height(), c.dotsPerInchY, 1.0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrintImageScale,
    ::testing::Values(
        // A4 at 100 page pixels per inch.
        ImageScaleCase{"Printer300", {827, 1169}, {827, 1169}, {300, 300}, 300, 300},
        ImageScaleCase{"Printer600", {827, 1169}, {827, 1169}, {600, 600}, 600, 600},
        ImageScaleCase{"Printer1200StopsAt600", {827, 1169}, {827, 1169}, {1200, 1200}, 600, 600},
        ImageScaleCase{"ScreenPrinter96", {827, 1169}, {827, 1169}, {96, 96}, 96, 96},
        // 99 x 99 inches at 600 would be 14 gigabytes: kept to 64 million dots.
        ImageScaleCase{"HugePageShrinksToFit", {9900, 9900}, {9900, 9900}, {600, 600}, 82.7, 82.7}),
    [](const ::testing::TestParamInfo<ImageScaleCase>& info) { return std::string(info.param.name); });

// Pages in a PDF file: its page objects, not the page tree.
int PdfPageCount(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = file.readAll();
    if (!bytes.startsWith("%PDF"))
        return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return static_cast<int>(QString::fromLatin1(bytes).count(page));
}

using DestViewPrint = ViewTest;

TEST_F(DestViewPrint, PrintedPageShowsThePrintedLookWithoutTracker)
{
    CFormElement* address = Make(FormElementType::Address, kwvd::Rect(100, 96, 200, 112));
    CFormElement* text = Make(FormElementType::Text, kwvd::Rect(300, 96, 380, 160));
    ASSERT_NE(address, nullptr);
    ASSERT_NE(text, nullptr);
    output.SelectOnly(address);

    // On screen: the text element's box and the tracker's corner handle.
    const QImage screen = Picture(output);
    const kwvd::Rect box = text->GetDestRect();
    ASSERT_GE(box.Width(), 6);
    const QPoint inBox(box.right - 3, box.top + 2);
    EXPECT_EQ(PixelAt(output, screen, inBox).rgb(), kwvd::ToQColor(kTextColour).rgb());
    EXPECT_NE(PixelAt(output, screen, {101, 97}).rgb(), kwvd::ToQColor(kAddressColour).rgb());

    const QImage printed = output.RenderPrintImage(1.0, 1.0);
    ASSERT_EQ(printed.size(), QSize(827, 1122));
    // The editing box of a text is not printed, nor the tracker.
    EXPECT_EQ(printed.pixelColor(inBox).rgb(), QColor(Qt::white).rgb());
    EXPECT_EQ(printed.pixelColor(101, 97).rgb(), kwvd::ToQColor(kAddressColour).rgb());
    // Nor the selected address's dotted frame just outside its box.
    int framePixels = 0;
    for (int x = 99; x <= 200; ++x)
        framePixels += (printed.pixelColor(x, 95) == Qt::black) + (printed.pixelColor(x, 112) == Qt::black);
    for (int y = 95; y <= 112; ++y)
        framePixels += (printed.pixelColor(99, y) == Qt::black) + (printed.pixelColor(200, y) == Qt::black);
    EXPECT_EQ(framePixels, 0);
    // The band prints as it looks over white.
    EXPECT_EQ(printed.pixelColor(10, 600).rgb(), kwvd::ToQColor(kBandColour ^ 0xFFFFFF).rgb());
    EXPECT_EQ(printed.pixelColor(30, 600).rgb(), QColor(Qt::white).rgb());
}

TEST_F(DestViewPrint, PrintedImageScalesWithThePrinter)
{
    const QImage printed = output.RenderPrintImage(2.0, 3.0);
    ASSERT_EQ(printed.size(), QSize(1654, 3366));
    // 25 page pixels of band are 50 image pixels wide.
    EXPECT_EQ(printed.pixelColor(49, 900).rgb(), kwvd::ToQColor(kBandColour ^ 0xFFFFFF).rgb());
    EXPECT_EQ(printed.pixelColor(51, 900).rgb(), QColor(Qt::white).rgb());
}

TEST_F(DestViewPrint, OnePageToAPdfFile)
{
    Make(FormElementType::Address, kwvd::Rect(100, 96, 200, 112));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString path = env.folder.filePath(QStringLiteral("page.pdf"));
    printer.setOutputFileName(path);
    ASSERT_TRUE(output.PrintTo(printer));
    EXPECT_EQ(PdfPageCount(path), 1);
}

TEST_F(DestViewPrint, FailedPrinterIsReportedAndNothingClaimed)
{
    // A folder where the file should go: the printer cannot start.
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(env.folder.path());
    output.SetPrinter(&printer);
    EXPECT_FALSE(output.PrintTo(printer));

    const size_t shown = env.prompts->Recorded().size();
    CDDestView::SetPrintDialogRunner([](QPrinter&, QWidget*) { return TRUE; });
    ASSERT_TRUE(output.OnCmdMsg(ID_FILE_PRINT));
    CDDestView::SetPrintDialogRunner({});
    ASSERT_EQ(env.prompts->Recorded().size(), shown + 1);
    EXPECT_EQ(env.prompts->Recorded().back().kind, PromptKind::MessageBox);
}

TEST_F(DestViewPrint, PrintCommandFollowsTheDialogAndThePagesOrientation)
{
    CPage& page = OutputPage();
    page.SetOrientation(1);
    page.SetWidth(CPage::kDefaultHeight);
    page.SetHeight(CPage::kDefaultWidth);
    page.RecalcGrid();

    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString path = env.folder.filePath(QStringLiteral("command.pdf"));
    printer.setOutputFileName(path);
    output.SetPrinter(&printer);
    const size_t shown = env.prompts->Recorded().size();

    QPageLayout::Orientation seen = QPageLayout::Portrait;
    BOOL answer = FALSE;
    CDDestView::SetPrintDialogRunner([&](QPrinter& asked, QWidget*) {
        seen = asked.pageLayout().orientation();
        return answer;
    });
    output.OnFilePrint();
    EXPECT_EQ(seen, QPageLayout::Landscape);
    EXPECT_FALSE(QFile::exists(path)); // cancelled

    answer = TRUE;
    output.OnFilePrint();
    CDDestView::SetPrintDialogRunner({});
    EXPECT_EQ(PdfPageCount(path), 1);
    EXPECT_EQ(env.prompts->Recorded().size(), shown);
}

TEST_F(DestViewPrint, PrinterOrientationIsLandscapeForAnyOrientationButZero)
{
    struct Case
    {
        const char* name;
        int orientation;
        QPageLayout::Orientation expected;
    };
    const Case cases[] = {
        {"portrait", 0, QPageLayout::Portrait},
        {"landscape", 1, QPageLayout::Landscape},
        {"another non-zero value", 2, QPageLayout::Landscape},
    };
    for (const Case& c : cases) {
        OutputPage().SetOrientation(c.orientation);
        QPrinter printer;
        printer.setPageOrientation(c.expected == QPageLayout::Portrait ? QPageLayout::Landscape
                                                                       : QPageLayout::Portrait);
        output.OnPreparePrinting(printer);
        EXPECT_EQ(printer.pageLayout().orientation(), c.expected) << c.name;
    }
}

TEST_F(DestViewPrint, PreviewShowsOnePage)
{
    int pages = -1;
    CDDestView::SetPreviewRunner([&](QPrintPreviewDialog& dialog) {
        auto* preview = dialog.findChild<QPrintPreviewWidget*>();
        ASSERT_NE(preview, nullptr);
        preview->updatePreview();
        pages = preview->pageCount();
    });
    ASSERT_TRUE(output.OnCmdMsg(ID_FILE_PRINT_PREVIEW));
    CDDestView::SetPreviewRunner({});
    EXPECT_EQ(pages, 1);
}

TEST_F(DestViewPrint, DocumentPrintsWithoutAShownPane)
{
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString path = env.folder.filePath(QStringLiteral("switch.pdf"));
    printer.setOutputFileName(path);
    const size_t views = doc.GetViews().size();
    ASSERT_TRUE(CDDestView::PrintDocument(&doc, printer));
    EXPECT_EQ(PdfPageCount(path), 1);
    // The pane made for it has left the document again.
    EXPECT_EQ(doc.GetViews().size(), views);

    doc.ResetContents();
    EXPECT_FALSE(CDDestView::PrintDocument(&doc, printer));
    EXPECT_FALSE(CDDestView::PrintDocument(nullptr, printer));
}

} // namespace
