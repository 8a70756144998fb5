#pragma once
// The two real design panes over a new document, each in a shown 400 x 300
// window at 100 %, with one frame that records what the panes ask of it.
// Element colours are set apart so that chosen pixels tell the kinds and the
// no-print band apart. Tests that hold for both panes take the pane as their
// parameter (PaneKind).

#include "designer/commands/CommandIds.h"
#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/RegisteredMessages.h"
#include "designer/document/ServerItem.h"
#include "designer/document/SpooledFile.h"
#include "designer/elements/FormElement.h"
#include "designer/preferences/ColourRef.h"
#include "designer/views/DDestView.h"
#include "designer/views/DSourceView.h"
#include "designer/views/DesignFrame.h"
#include "designer/views/ElementTracker.h"
#include "platform/registry/RegistryStore.h"
#include "tests/support/QtApplicationEnvironment.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/WvdDocumentFixture.h"

#include <QApplication>
#include <QImage>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

// A notice the frame passed on to the explorer.
struct HintRecord
{
    CObject* element = nullptr;
    LPARAM hint = 0;

    bool operator==(const HintRecord&) const = default;
};

inline void PrintTo(const HintRecord& record, std::ostream* os)
{
    *os << DocumentHintName(int(record.hint)).toStdString() << " for " << static_cast<const void*>(record.element);
}

// Records every call; answers from its fields.
class RecordingFrame : public IDesignFrame
{
public:
    int tool = DrawingTool::Select;
    bool toolLock = false;
    CFormElement* anchor = nullptr;
    bool sheetShown = false;
    int sheetShows = 0;
    int sheetRefreshes = 0;
    // The tool at the moment the sheet was asked for; -1 before.
    int toolWhenSheetShown = -1;
    std::vector<CFormElement*> sheetElements;
    std::vector<HintRecord> explorerNotices;
    std::vector<UINT> commands;
    std::vector<QString> layoutSubsections;
    CDesignView* activePane = nullptr;
    QString layoutSection = QStringLiteral("Software\\Qorvane\\ViewTests\\Workspace");

    int GetCurrentTool() const override { return tool; }
    void ResetToolUnlessLocked() override
    {
        if (!toolLock)
            tool = DrawingTool::Select;
    }
    CFormElement* GetAnchorElement() const override { return anchor; }
    void NotifyExplorer(CObject* element, LPARAM hint) override { explorerNotices.push_back({element, hint}); }
    void SetPropertySheetElement(CFormElement* element) override { sheetElements.push_back(element); }
    BOOL IsPropertySheetShown() const override { return sheetShown; }
    void ShowPropertySheet() override
    {
        toolWhenSheetShown = tool;
        ++sheetShows;
        sheetShown = true;
    }
    void RefreshPropertySheet() override { ++sheetRefreshes; }
    BOOL ExecuteCommand(UINT id) override
    {
        commands.push_back(id);
        return FALSE;
    }
    std::optional<kwvd::RegistryKey> OpenLayoutKey(const QString& subsection, bool create) override
    {
        layoutSubsections.push_back(subsection);
        kwvd::RegistryStore& store = kwvd::RegistryStore::Instance();
        const QString path = layoutSection + QLatin1Char('\\') + subsection;
        return create ? store.CreateKey(kwvd::RegistryRoot::CurrentUser, path)
                      : store.OpenKey(kwvd::RegistryRoot::CurrentUser, path);
    }
    void OnPaneActivated(CDesignView* pane) override { activePane = pane; }
};

// Distinct colours (red in the low byte, as the preferences hold them).
inline constexpr COLORREF kLoopColour = 0xFF0000;        // blue
inline constexpr COLORREF kConditionalColour = 0x0000FF; // red
inline constexpr COLORREF kAddressColour = 0x0000C0;     // dark red
inline constexpr COLORREF kEraserColour = 0xC00000;      // dark blue
inline constexpr COLORREF kTextColour = 0x00C000;        // dark green
inline constexpr COLORREF kBandColour = 0x303030;

// The pane a shared test runs in.
enum class PaneKind {
    Output,
    Input,
};

inline const char* PaneKindName(PaneKind pane)
{
    return pane == PaneKind::Output ? "Output" : "Input";
}

inline void PrintTo(PaneKind pane, std::ostream* os)
{
    *os << PaneKindName(pane);
}

// Preferences set before the document is made: new documents take the
// panes' zoom and the colours from here.
struct ViewTestPreferences
{
    explicit ViewTestPreferences(CPreferences& prefs)
    {
        prefs.ColourElementLoop = kLoopColour;
        prefs.ColourElementConditional = kConditionalColour;
        prefs.ColourElementAddress = kAddressColour;
        prefs.ColourElementEraser = kEraserColour;
        prefs.ColourElementText = kTextColour;
        prefs.ColourNoPrintBorder = kBandColour;
        prefs.ZoomDest = {100, 100};
        prefs.ZoomSource = {100, 100};
    }
};

// A new document shown in both real panes, each 400 x 300.
class ViewTest : public ::testing::Test
{
protected:
    // With spooledPages, the document holds a spooled file of that many
    // pages before the panes are shown (FillSpooledFile).
    explicit ViewTest(int spooledPages = 0)
    {
        EXPECT_TRUE(doc.OnNewDocument());
        if (spooledPages > 0)
            FillSpooledFile(spooledPages);
        for (CDesignView* pane : Panes()) {
            pane->SetDesignFrame(&frame);
            pane->SetDocument(&doc);
            pane->resize(400, 300);
            pane->show();
            pane->OnInitialUpdate();
        }
    }
    ~ViewTest() override
    {
        CDesignView::SetDragRunner(nullptr);
        output.SetDocument(nullptr);
        input.SetDocument(nullptr);
    }

    std::vector<CDesignView*> Panes() { return {&output, &input}; }
    CDesignView& Pane(PaneKind kind)
    {
        return kind == PaneKind::Output ? static_cast<CDesignView&>(output) : static_cast<CDesignView&>(input);
    }
    static int SideOf(PaneKind kind) { return kind == PaneKind::Output ? PaneSide::Output : PaneSide::Input; }

    CPage& OutputPage() { return *doc.GetOutputPage(); }
    CPage& SourcePage() { return *doc.GetSourcePage(); }
    QSize OutputCell() { return QSize(OutputPage().GetCellWidth(), OutputPage().GetCellHeight()); }
    QSize SourceCell() { return QSize(SourcePage().GetCellWidth(), SourcePage().GetCellHeight()); }

    // An element made as a pane makes it: one change level, no anchor, not
    // selected.
    CFormElement* Make(int type, const kwvd::Rect& rect, int side = PaneSide::Output)
    {
        CDocChangeGuard change(&doc);
        return doc.CreateNewElement(type, side, rect, nullptr);
    }

    // Cells (column, line) of a pane's grid in logical units.
    static kwvd::Rect Cells(QSize cell, int col, int line, int cols, int lines)
    {
        return kwvd::Rect(col * cell.width(), line * cell.height(), (col + cols) * cell.width(),
                          (line + lines) * cell.height());
    }
    kwvd::Rect OutputCells(int col, int line, int cols, int lines)
    {
        return Cells(OutputCell(), col, line, cols, lines);
    }
    kwvd::Rect SourceCells(int col, int line, int cols, int lines)
    {
        return Cells(SourceCell(), col, line, cols, lines);
    }

    int UndoSteps() const { return int(doc.GetUndoList().GetCount()); }
    qsizetype ElementCount() const { return doc.GetElementList().GetCount(); }

    // A band dragged with the mouse from one viewport point to another.
    static void Band(CDesignView& pane, QPoint from, QPoint to, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        QTest::mousePress(pane.viewport(), Qt::LeftButton, keys, from);
        QTest::mouseMove(pane.viewport(), (from + to) / 2);
        QTest::mouseMove(pane.viewport(), to);
        QTest::mouseRelease(pane.viewport(), Qt::LeftButton, keys, to);
    }

    // The pane's picture as the screen shows it.
    static QImage Picture(CDesignView& pane)
    {
        pane.viewport()->update();
        QApplication::processEvents();
        return pane.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    // The viewport pixel over a page point.
    static QColor PixelAt(CDesignView& pane, const QImage& picture, QPoint logical)
    {
        return picture.pixelColor(pane.DocToClientPoint(logical));
    }

    // A spooled file of `pages` pages of 80 columns by 60 lines: the first
    // line of each names it ("PAGE 1"), the second holds X in columns 1 to
    // 20. Page 1 is current; the document is as if opened so.
    void FillSpooledFile(int pages)
    {
        CSpooledFile* file = doc.GetSpooledFile();
        for (int page = 1; page <= pages; ++page) {
            auto* lines = new CStringArray;
            lines->Add(QStringLiteral("PAGE %1").arg(page).leftJustified(kSpooledColumns, u' '));
            lines->Add(QString(20, u'X').leftJustified(kSpooledColumns, u' '));
            for (int i = 2; i < kSpooledLines; ++i)
                lines->Add(QString(kSpooledColumns, u' '));
            ASSERT_TRUE(file->SetPage(lines, page));
        }
        file->UpdatePageDimensions();
        ASSERT_TRUE(file->SetCurrentPage(1));
        doc.SetModifiedFlag(FALSE);
        doc.ClearDirty();
    }
    static constexpr int kSpooledColumns = 80;
    static constexpr int kSpooledLines = 60;

    WvdTestEnvironment env;
    ScopedRegistryFolder registry{env.folder.filePath(QStringLiteral("registry"))};
    ViewTestPreferences preferences{env.prefs};
    CDesignerDoc doc;
    RecordingFrame frame;
    CDDestView output;
    CDSourceView input;
};

// A ViewTest run once in each pane.
class PaneTest : public ViewTest, public ::testing::WithParamInterface<PaneKind>
{
protected:
    CDesignView& ThisPane() { return Pane(GetParam()); }
};

inline std::string PaneTestName(const ::testing::TestParamInfo<PaneKind>& info)
{
    return PaneKindName(info.param);
}
