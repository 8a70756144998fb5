#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/SpooledFile.h"
#include "designer/elements/FormElement.h"
#include "designer/views/DesignFrame.h"
#include "designer/views/DSourceView.h"
#include "platform/framework/Collections.h"
#include "platform/registry/RegistryStore.h"
#include "tests/support/WvdDocumentFixture.h"

#include <QApplication>
#include <QImage>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <set>

namespace {

void EnsureApplication()
{
    if (QApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "kwvd_views_tests";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv); // lives for the whole run
    }
}

// The frame as the input pane sees it: a tool, a Tool Lock and a place in
// the registry for the layout.
class SourceFrame : public IDesignFrame
{
public:
    int GetCurrentTool() const override { return tool; }
    void ResetToolUnlessLocked() override
    {
        if (!locked)
            tool = DrawingTool::Select;
    }
    CFormElement* GetAnchorElement() const override { return nullptr; }
    void NotifyExplorer(CObject*, LPARAM) override {}
    void SetPropertySheetElement(CFormElement*) override {}
    BOOL IsPropertySheetShown() const override { return FALSE; }
    void ShowPropertySheet() override { ++sheetRequests; }
    void RefreshPropertySheet() override {}
    BOOL ExecuteCommand(UINT) override { return FALSE; }
    std::optional<kwvd::RegistryKey> OpenLayoutKey(const QString& subsection, bool create) override
    {
        subsections.insert(subsection);
        kwvd::RegistryStore& store = kwvd::RegistryStore::Instance();
        const QString path = QStringLiteral("Software\\Qorvane\\ViewTests\\") + subsection;
        return create ? store.CreateKey(HKEY_CURRENT_USER, path) : store.OpenKey(HKEY_CURRENT_USER, path);
    }
    void OnPaneActivated(CDesignView*) override {}

    int tool = DrawingTool::Select;
    bool locked = false;
    int sheetRequests = 0;
    std::set<QString> subsections;
};

std::set<CFormElement*> ElementSet(const CDesignerDoc& doc)
{
    std::set<CFormElement*> set;
    for (CObject* object : doc.GetElementList())
        set.insert(static_cast<CFormElement*>(object));
    return set;
}

// A line of the spooled file: the text, then blanks to the page width.
QString Line(const QString& text, int width)
{
    return text.leftJustified(width, u' ');
}

class SourceViewTest : public ::testing::Test
{
protected:
    static constexpr int kColumns = 80;
    static constexpr int kLines = 60;

    void SetUp() override
    {
        setenv("KWVD_REGISTRY_DIR", env.folder.filePath(QStringLiteral("registry")).toLocal8Bit().constData(), 1);
        EnsureApplication();
        // A new document takes the panes' zoom from the preferences.
        env.prefs.ZoomSource = {100, 100};
        env.prefs.ZoomDest = {100, 100};
        doc = std::make_unique<CDesignerDoc>();
        ASSERT_TRUE(doc->OnNewDocument());
        // Three pages; the first line of each names it, the second is a row
        // of X in columns 1 to 20.
        CSpooledFile* file = doc->GetSpooledFile();
        for (int page = 1; page <= 3; ++page) {
            auto* lines = new CStringArray;
            lines->Add(Line(QStringLiteral("PAGE %1").arg(page), kColumns));
            lines->Add(Line(QString(20, u'X'), kColumns));
            for (int i = 2; i < kLines; ++i)
                lines->Add(Line(QString(), kColumns));
            ASSERT_TRUE(file->SetPage(lines, page));
        }
        file->UpdatePageDimensions();
        ASSERT_TRUE(file->SetCurrentPage(1));
        // The set-up is the document's starting state.
        doc->SetModifiedFlag(FALSE);
        doc->ClearDirty();

        pane = std::make_unique<CDSourceView>();
        pane->SetDesignFrame(&frame);
        pane->SetDocument(doc.get());
        pane->resize(400, 300);
        pane->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(pane.get()));
        pane->OnInitialUpdate();
    }

    void TearDown() override
    {
        CDesignView::SetDragRunner({});
        pane.reset();
        doc.reset();
    }

    QSize Cell() const { return pane->GetCellSize(); }

    // The viewport point of a logical point given in cells.
    QPoint At(double column, double line) const
    {
        return pane->DocToClientPoint(QPoint(int(column * Cell().width()), int(line * Cell().height())));
    }

    CFormElement* AddSource(int c0, int l0, int c1, int l1)
    {
        CDocChangeGuard change(doc.get());
        return doc->CreateNewElement(FormElementType::Source, 1,
                                     kwvd::Rect(c0 * Cell().width(), l0 * Cell().height(), c1 * Cell().width(),
                                                l1 * Cell().height()),
                                     nullptr);
    }

    void Band(QPoint from, QPoint to, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        QTest::mousePress(pane->viewport(), Qt::LeftButton, keys, from);
        QTest::mouseMove(pane->viewport(), (from + to) / 2);
        QTest::mouseMove(pane->viewport(), to);
        QTest::mouseRelease(pane->viewport(), Qt::LeftButton, keys, to);
    }

    WvdTestEnvironment env;
    SourceFrame frame;
    std::unique_ptr<CDesignerDoc> doc;
    std::unique_ptr<CDSourceView> pane;
};

// Which kind each tool draws in the input pane; the rest select.
TEST_F(SourceViewTest, EachToolDrawsItsKindOrSelects)
{
    struct Case
    {
        const char* name;
        BYTE docType;
        int tool;
        int made; // 0: the tool selects
    };
    const Case cases[] = {
        {"spooled file", 0, DrawingTool::SpooledFile, FormElementType::Source},
        {"loop", 0, DrawingTool::Loop, FormElementType::Loop},
        {"conditional", 0, DrawingTool::Conditional, FormElementType::Conditional},
        {"exit parameter", 0, DrawingTool::ExitParameter, FormElementType::ExitParam},
        {"variable", 0, DrawingTool::Variable, FormElementType::Variable},
        {"barcode", 0, DrawingTool::Barcode, FormElementType::Barcode},
        {"address in a spooled-file design", 0, DrawingTool::Address, 0},
        {"static text", 0, DrawingTool::StaticText, 0},
        {"eraser", 0, DrawingTool::Eraser, 0},
        {"address in an XML document", 1, DrawingTool::Address, FormElementType::Address},
        {"XML element", 1, DrawingTool::XmlElement, FormElementType::XmlElement},
        {"XML attribute", 1, DrawingTool::XmlAttribute, FormElementType::XmlAttribute},
        {"XML comment", 1, DrawingTool::XmlComment, FormElementType::XmlComment},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        doc->SetDocType(c.docType);
        const std::set<CFormElement*> before = ElementSet(*doc);
        frame.tool = c.tool;
        Band(At(30, 10.5), At(40.5, 13.5));
        std::set<CFormElement*> added = ElementSet(*doc);
        for (CFormElement* old : before)
            added.erase(old);
        if (c.made == 0) {
            EXPECT_TRUE(added.empty());
            continue;
        }
        ASSERT_EQ(added.size(), 1u);
        CFormElement* made = *added.begin();
        EXPECT_EQ(made->GetType(), c.made);
        // The band snapped to whole cells on the source grid.
        const kwvd::Rect r = made->GetSourceRect();
        EXPECT_EQ(r.left % Cell().width(), 0);
        EXPECT_EQ(r.top % Cell().height(), 0);
        EXPECT_EQ(r.right % Cell().width(), 0);
        EXPECT_EQ(r.bottom % Cell().height(), 0);
        EXPECT_EQ(frame.tool, DrawingTool::Select);
        EXPECT_EQ(frame.sheetRequests, 0) << "no input tool opens the sheet by itself";
    }
}

TEST_F(SourceViewTest, ToolLockKeepsTheToolAndASmallBandMakesNothing)
{
    const int before = doc->GetElementList().GetCount();
    frame.tool = DrawingTool::SpooledFile;
    frame.locked = true;
    Band(At(2, 2), At(6, 4));
    Band(At(2, 20), At(6, 22));
    EXPECT_EQ(doc->GetElementList().GetCount(), before + 2);
    EXPECT_EQ(frame.tool, DrawingTool::SpooledFile);

    // Less than a cell either way: nothing, and without the lock the tool
    // still returns to Select.
    frame.locked = false;
    Band(At(10, 30), At(10.5, 30.5));
    EXPECT_EQ(doc->GetElementList().GetCount(), before + 2);
    EXPECT_EQ(frame.tool, DrawingTool::Select);
}

// Down and Page Down past the bottom of a page show the top of the next one,
// Up past the top the bottom of the previous one; the document is marked but
// no undo step is taken, and the first page's top stays put.
TEST_F(SourceViewTest, KeysPastThePageEdgeTurnTheSpooledPageWithoutUndoStep)
{
    CSpooledFile* file = doc->GetSpooledFile();
    const int undo = doc->GetUndoList().GetCount();
    const DWORD build = doc->GetBuildId();

    QTest::keyClick(pane.get(), Qt::Key_Up);
    EXPECT_EQ(file->GetCurrentPageNumber(), 1);
    EXPECT_FALSE(doc->IsModified());

    // Scroll down to the bottom first: only then does the page turn.
    pane->ScrollToPosition(QPoint(0, 1 << 20));
    const int bottom = pane->GetScrollPosition().y();
    ASSERT_GT(bottom, 0) << "the page must be taller than the pane";
    QTest::keyClick(pane.get(), Qt::Key_PageDown);
    EXPECT_EQ(file->GetCurrentPageNumber(), 2);
    EXPECT_EQ(pane->GetScrollPosition().y(), 0);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetUndoList().GetCount(), undo);
    EXPECT_EQ(doc->GetBuildId(), build);

    // At the top of page 2 the Up key goes to the bottom of page 1.
    QTest::keyClick(pane.get(), Qt::Key_Up);
    EXPECT_EQ(file->GetCurrentPageNumber(), 1);
    EXPECT_EQ(pane->GetScrollPosition().y(), bottom);
    EXPECT_EQ(doc->GetUndoList().GetCount(), undo);

    // Left and Right never turn the page.
    pane->ScrollToPosition(QPoint(1 << 20, 1 << 20));
    QTest::keyClick(pane.get(), Qt::Key_Right);
    EXPECT_EQ(file->GetCurrentPageNumber(), 1);
}

TEST_F(SourceViewTest, PageDownOnTheLastPageStaysThere)
{
    ASSERT_TRUE(doc->GetSpooledFile()->SetCurrentPage(3));
    pane->ScrollToPosition(QPoint(0, 1 << 20));
    QTest::keyClick(pane.get(), Qt::Key_Down);
    EXPECT_EQ(doc->GetSpooledFile()->GetCurrentPageNumber(), 3);
    EXPECT_FALSE(doc->IsModified());
}

// Resizing snaps again in the input pane, whatever cell fraction the mouse
// ended on.
TEST_F(SourceViewTest, CornerHandleLeavesTheElementOnCellBoundaries)
{
    CFormElement* element = AddSource(4, 4, 10, 6);
    ASSERT_NE(element, nullptr);
    pane->SelectOnly(element);
    const int undo = doc->GetUndoList().GetCount();

    CElementTracker tracker;
    pane->SetupTracker(tracker, element);
    const QPoint handle(tracker.m_rect.right - 2, tracker.m_rect.bottom - 2);
    ASSERT_EQ(tracker.HitTest(handle), CElementTracker::hitBottomRight);
    const QPoint to = handle + QPoint(int(3.4 * Cell().width()), int(1.3 * Cell().height()));
    QTest::mousePress(pane->viewport(), Qt::LeftButton, Qt::NoModifier, handle);
    QTest::mouseMove(pane->viewport(), handle + QPoint(5, 5));
    QTest::mouseMove(pane->viewport(), to);
    QTest::mouseRelease(pane->viewport(), Qt::LeftButton, Qt::NoModifier, to);

    const kwvd::Rect r = element->GetSourceRect();
    EXPECT_EQ(r.left, 4 * Cell().width());
    EXPECT_EQ(r.top, 4 * Cell().height());
    EXPECT_EQ(r.right, 13 * Cell().width());
    EXPECT_EQ(r.bottom, 7 * Cell().height());
    EXPECT_EQ(doc->GetUndoList().GetCount(), undo + 1);
}

// A selection dragged within the pane lands on the grid even with Alt held.
TEST_F(SourceViewTest, DropWithAltStillSnapsToTheGrid)
{
    CFormElement* element = AddSource(4, 4, 10, 6);
    ASSERT_NE(element, nullptr);
    const kwvd::Rect before = element->GetSourceRect();
    const int count = doc->GetElementList().GetCount();
    const QPoint grab = At(5.5, 5);
    const QPoint drop = grab + (At(2.7, 1.7) - At(0, 0));
    CDesignView::SetDragRunner([drop](CDesignView* source, std::unique_ptr<QMimeData> data, Qt::DropActions) {
        source->OnDragEnter(data.get(), Qt::AltModifier, drop);
        source->OnDragOver(data.get(), Qt::AltModifier, drop);
        return source->OnDrop(data.get(), Qt::MoveAction, drop) ? Qt::MoveAction : Qt::IgnoreAction;
    });

    QTest::mousePress(pane->viewport(), Qt::LeftButton, Qt::NoModifier, grab);
    QTest::mouseMove(pane->viewport(), grab + QPoint(6, 6));
    QTest::mouseRelease(pane->viewport(), Qt::LeftButton, Qt::NoModifier, grab + QPoint(6, 6));

    const kwvd::Rect after = element->GetSourceRect();
    EXPECT_EQ(after.left, before.left + 3 * Cell().width());
    EXPECT_EQ(after.top, before.top + 2 * Cell().height());
    EXPECT_EQ(after.Width(), before.Width());
    EXPECT_EQ(doc->GetElementList().GetCount(), count) << "moved within the pane, not copied";
}

// The report's text is drawn over the elements that mark it.
TEST_F(SourceViewTest, SpooledTextIsDrawnOverTheElements)
{
    // Line 2 holds X in columns 1 to 20; the element covers columns 1 to 30.
    CFormElement* element = AddSource(0, 1, 30, 2);
    ASSERT_NE(element, nullptr);
    pane->DeselectAll(TRUE);
    const QImage image = pane->viewport()->grab().toImage();
    const kwvd::Rect text = pane->DocToClientRect(kwvd::Rect(0, Cell().height(), 20 * Cell().width(), 2 * Cell().height()));
    const kwvd::Rect blank = pane->DocToClientRect(
        kwvd::Rect(22 * Cell().width(), Cell().height(), 30 * Cell().width(), 2 * Cell().height()));

    auto darkest = [&](const kwvd::Rect& r) {
        int value = 255;
        for (int y = r.top + 2; y < r.bottom - 2; ++y)
            for (int x = r.left + 2; x < r.right - 2; ++x)
                value = std::min(value, qGray(image.pixel(x, y)));
        return value;
    };
    const QColor fill = image.pixelColor(blank.left + 4, (blank.top + blank.bottom) / 2);
    EXPECT_NE(fill, QColor(Qt::white)) << "the element is drawn at its source rectangle";
    EXPECT_LT(darkest(text), 100) << "the text shows over the element";
    EXPECT_GT(darkest(blank), qGray(fill.rgb()) - 10) << "no text where the line is blank";
}

// A new spooled-file page or page set-up re-fits the input pane; a re-fit
// of the output page does not concern it.
TEST_F(SourceViewTest, SpooledPageAndPageSetupHintsRefitButOutputRefitDoesNot)
{
    struct Case
    {
        const char* name;
        LPARAM hint;
        bool refits;
    };
    const Case cases[] = {
        {"spooled-file page changed", DocumentHint::SpooledPageChanged, true},
        {"page set-up", DocumentHint::PageSetupChanged, true},
        {"output page re-fit", DocumentHint::OutputViewRefit, false},
        {"options", DocumentHint::OptionsChanged, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pane->SetFitMode(ViewFitMode::Page);
        pane->SetZoom(100, 100);
        ASSERT_EQ(pane->GetZoomX(), 100);
        doc->BroadcastHint(c.hint, nullptr);
        // The whole page in a 400 x 300 pane is far below 100 %.
        EXPECT_EQ(pane->GetZoomX() < 100, c.refits);
    }
}

// The input pane keeps its zoom in the document's input fields and its
// layout under "SourceView".
TEST_F(SourceViewTest, ZoomAndLayoutAreTheInputPanes)
{
    doc->m_sourceZoom[0] = doc->m_sourceZoom[1] = 175;
    pane->OnInitialUpdate();
    EXPECT_EQ(pane->GetZoomX(), 175);

    const int outputZoom = doc->m_destZoom[0];
    ASSERT_TRUE(pane->SetZoom(50, 50));
    EXPECT_EQ(doc->m_sourceZoom[0], 50);
    EXPECT_EQ(doc->m_sourceZoom[1], 50);
    EXPECT_EQ(doc->m_destZoom[0], outputZoom);

    EXPECT_EQ(pane->OnSerializeLayout(1, 0), 1);
    EXPECT_EQ(frame.subsections, std::set<QString>{QStringLiteral("SourceView")});
    ASSERT_TRUE(pane->SetZoom(100, 100));
    EXPECT_EQ(pane->OnSerializeLayout(0, 0), 1);
    EXPECT_EQ(pane->GetZoomX(), 50);
}

} // namespace
