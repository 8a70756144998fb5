#include "designer/commands/CommandIds.h"
#include "designer/commands/CommandRouter.h"
#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/SpooledFile.h"
#include "designer/elements/FormElement.h"
#include "designer/shell/MainFrame.h"
#include "designer/shell/WVDDesignerApp.h"
#include "designer/shell/tests/AppTestEnvironment.h"
#include "designer/views/DDestView.h"
#include "designer/views/DSourceView.h"
#include "platform/framework/Collections.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPrinter>
#include <QSplitter>
#include <QTest>

#include <set>

namespace {

const QString kSampleDocument = QStringLiteral(KWVD_SOURCE_DIR "/samples/sample.wvd");

CWVDDesignerApp::Environment QuietEnvironment(const AppTestEnvironment& env)
{
    CWVDDesignerApp::Environment e;
    e.serverLibraryFolders = QStringList{env.folder.path()};
    return e;
}

std::set<CFormElement*> Elements(const CDesignerDoc& doc)
{
    std::set<CFormElement*> set;
    for (CObject* object : doc.GetElementList())
        set.insert(static_cast<CFormElement*>(object));
    return set;
}

// The one element of the document that was not there before.
CFormElement* NewElement(const CDesignerDoc& doc, const std::set<CFormElement*>& before)
{
    CFormElement* found = nullptr;
    for (CFormElement* element : Elements(doc)) {
        if (before.count(element) == 0) {
            EXPECT_EQ(found, nullptr) << "more than one new element";
            found = element;
        }
    }
    return found;
}

// A band over whole cells of the pane's page, from cell (c0, l0) to cell
// (c1, l1), in viewport pixels.
void DragBand(CDesignView* pane, int c0, int l0, int c1, int l1)
{
    const QSize cell = pane->GetCellSize();
    const QPoint from = pane->DocToClientPoint(QPoint(c0 * cell.width() + 1, l0 * cell.height() + 1));
    const QPoint to = pane->DocToClientPoint(QPoint(c1 * cell.width() + 1, l1 * cell.height() + 1));
    QWidget* port = pane->viewport();
    QTest::mousePress(port, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(port, (from + to) / 2);
    QTest::mouseMove(port, to);
    QTest::mouseRelease(port, Qt::LeftButton, Qt::NoModifier, to);
}

class PanesInProgram : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app = std::make_unique<CWVDDesignerApp>(QuietEnvironment(env));
        ASSERT_TRUE(app->InitInstance({QStringLiteral("/NoSplash"), kSampleDocument}));
        frame = app->GetMainFrame();
        doc = app->GetDocument();
        ASSERT_NE(frame, nullptr);
        ASSERT_NE(doc, nullptr);
        frame->resize(1280, 860);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
        input = dynamic_cast<CDSourceView*>(frame->GetPaneView(0));
        output = dynamic_cast<CDDestView*>(frame->GetPaneView(1));
        ASSERT_NE(input, nullptr);
        ASSERT_NE(output, nullptr);
    }

    void TearDown() override
    {
        if (app)
            app->ExitInstance();
        app.reset();
    }

    void PickTool(UINT id) { ASSERT_TRUE(frame->ExecuteCommand(id)); }

    AppTestEnvironment env;
    std::unique_ptr<CWVDDesignerApp> app;
    CMainFrame* frame = nullptr;
    CDesignerDoc* doc = nullptr;
    CDSourceView* input = nullptr;
    CDDestView* output = nullptr;
};

TEST_F(PanesInProgram, BothPanesShowTheOpenedDocumentAtItsStoredZoom)
{
    EXPECT_EQ(input->GetDesignerDoc(), doc);
    EXPECT_EQ(output->GetDesignerDoc(), doc);
    EXPECT_EQ(input->GetDesignFrame(), frame);
    EXPECT_EQ(output->GetDesignFrame(), frame);
    EXPECT_EQ(input->GetZoomX(), doc->m_sourceZoom[0]);
    EXPECT_EQ(output->GetZoomX(), doc->m_destZoom[0]);
    // Print Setup's printer is the one the output pane prints on.
    EXPECT_EQ(&output->GetPrinter(), app->GetPrinter());
    // The pane with the focus gets the commands first.
    frame->activateWindow();
    input->setFocus();
    EXPECT_EQ(frame->GetActivePaneColumn(), 0);
    output->setFocus();
    EXPECT_EQ(frame->GetActivePaneColumn(), 1);
}

// Text, spooled-file section and eraser drawn with the tools, each one undo
// step, and a picture of the window to look at.
TEST_F(PanesInProgram, ToolsDrawElementsThatUndoStepByStep)
{
    doc->GetSpooledFile()->SetCurrentPage(1);
    const int undoBefore = doc->GetUndoList().GetCount();

    auto before = Elements(*doc);
    PickTool(ID_TOOL_SPOOLED_FILE);
    DragBand(input, 4, 14, 30, 17);
    CFormElement* source = NewElement(*doc, before);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->GetType(), FormElementType::Source);
    const QSize inputCell = input->GetCellSize();
    EXPECT_EQ(source->GetSourceRect(), kwvd::Rect(4 * inputCell.width(), 14 * inputCell.height(),
                                                  30 * inputCell.width(), 17 * inputCell.height()));
    EXPECT_EQ(frame->CurrentTool, DrawingTool::Select) << "the tool goes back to Select without Tool Lock";

    before = Elements(*doc);
    PickTool(ID_TOOL_STATIC_TEXT);
    const QSize outputCell = output->GetCellSize();
    QTest::mouseClick(output->viewport(), Qt::LeftButton, Qt::NoModifier,
                      output->DocToClientPoint(QPoint(40 * outputCell.width() + 2, 3 * outputCell.height() + 2)));
    CFormElement* text = NewElement(*doc, before);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetType(), FormElementType::Text);

    before = Elements(*doc);
    PickTool(ID_TOOL_ERASER);
    DragBand(output, 40, 20, 60, 24);
    CFormElement* eraser = NewElement(*doc, before);
    ASSERT_NE(eraser, nullptr);
    EXPECT_EQ(eraser->GetType(), FormElementType::Eraser);
    EXPECT_EQ(doc->GetUndoList().GetCount(), undoBefore + 3);

    QApplication::processEvents();
    const QImage shot = frame->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR));
    EXPECT_TRUE(shot.save(QStringLiteral(KWVD_SCREENSHOT_DIR "/panes-in-program.png")));

    // Undo from the Edit menu takes the eraser away, Redo brings it back.
    ASSERT_TRUE(frame->ExecuteCommand(ID_EDIT_UNDO));
    EXPECT_EQ(doc->GetElementList().GetCount(), int(before.size()));
    ASSERT_TRUE(frame->ExecuteCommand(ID_EDIT_REDO));
    EXPECT_EQ(doc->GetElementList().GetCount(), int(before.size()) + 1);
}

TEST_F(PanesInProgram, PageCommandsTurnTheSpooledFileWithoutUndoStep)
{
    CSpooledFile* file = doc->GetSpooledFile();
    ASSERT_EQ(file->GetPageCount(), 2);
    ASSERT_TRUE(file->SetCurrentPage(1));
    const int undoBefore = doc->GetUndoList().GetCount();
    frame->UpdateCommandUI();
    EXPECT_EQ(frame->GetStatusPane(1)->text(), QStringLiteral("Page 1 of 2"));
    EXPECT_FALSE(frame->Router().Query(ID_VIEW_PREV_PAGE).IsEnabled());

    ASSERT_TRUE(frame->ExecuteCommand(ID_VIEW_NEXT_PAGE));
    EXPECT_EQ(file->GetCurrentPageNumber(), 2);
    EXPECT_EQ(frame->GetStatusPane(1)->text(), QStringLiteral("Page 2 of 2"));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetUndoList().GetCount(), undoBefore);
    EXPECT_FALSE(frame->Router().Query(ID_VIEW_NEXT_PAGE).IsEnabled());
    EXPECT_FALSE(frame->ExecuteCommand(ID_VIEW_NEXT_PAGE));

    ASSERT_TRUE(frame->ExecuteCommand(ID_VIEW_PREV_PAGE));
    EXPECT_EQ(file->GetCurrentPageNumber(), 1);
    EXPECT_EQ(doc->GetUndoList().GetCount(), undoBefore);
}

// The splitter's panes write their zoom below the frame's state section.
TEST_F(PanesInProgram, LayoutKeepsEachPanesZoomApart)
{
    // The zoom steps (150 % and 75 %) also end any fit the sample keeps.
    input->OnZoomStep(ID_VIEW_ZOOM_FIRST + 5);
    output->OnZoomStep(ID_VIEW_ZOOM_FIRST + 2);
    frame->SerializeSplitter(TRUE);
    input->OnZoomStep(ID_VIEW_ZOOM_FIRST + 3);
    output->OnZoomStep(ID_VIEW_ZOOM_FIRST + 3);
    ASSERT_EQ(input->GetZoomX(), 100);
    frame->SerializeSplitter(FALSE);
    EXPECT_EQ(input->GetZoomX(), 150);
    EXPECT_EQ(output->GetZoomX(), 75);
}

TEST(PanesPrinting, PrintSwitchWritesTheSampleToThePrintersFile)
{
    AppTestEnvironment env;
    const QString pdf = env.folder.filePath(QStringLiteral("sample.pdf"));
    CWVDDesignerApp app(QuietEnvironment(env));
    // The default printer, set to print to a file.
    app.GetPrinter()->setOutputFormat(QPrinter::PdfFormat);
    app.GetPrinter()->setOutputFileName(pdf);
    // A print request ends the program once printed.
    EXPECT_FALSE(app.InitInstance({QStringLiteral("/NoSplash"), QStringLiteral("/p"), kSampleDocument}));
    app.ExitInstance();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "), 1) << "one page";
}

TEST(PanesPrinting, PrintToAnUnknownPrinterSaysSoAndPrintsNothing)
{
    AppTestEnvironment env;
    const QString pdf = env.folder.filePath(QStringLiteral("sample.pdf"));
    CWVDDesignerApp app(QuietEnvironment(env));
    app.GetPrinter()->setOutputFormat(QPrinter::PdfFormat);
    app.GetPrinter()->setOutputFileName(pdf);
    EXPECT_FALSE(
        app.InitInstance({QStringLiteral("/NoSplash"), QStringLiteral("/pt"), kSampleDocument,
                          QStringLiteral("No Such Printer"), QStringLiteral("driver"), QStringLiteral("port")}));
    app.ExitInstance();
    EXPECT_FALSE(QFile::exists(pdf));
    ASSERT_FALSE(env.MessageTexts().isEmpty());
    EXPECT_TRUE(env.MessageTexts().last().contains(QStringLiteral("No Such Printer")));
}

} // namespace
