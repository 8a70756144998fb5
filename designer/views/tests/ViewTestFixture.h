#pragma once
// A design pane over a new document, in a shown 400 x 300 window, with a
// frame that records what the pane asks of it. The two test panes take the
// output side (destination rectangles, output page) and the input side
// (source rectangles, source page) with the tool tables of those panes, so
// that the shared base is exercised as each real pane uses it.

#include "designer/commands/CommandIds.h"
#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/RegisteredMessages.h"
#include "designer/document/ServerItem.h"
#include "designer/elements/FormElement.h"
#include "designer/views/DesignFrame.h"
#include "designer/views/DesignView.h"
#include "designer/views/ElementTracker.h"
#include "platform/registry/RegistryStore.h"
#include "tests/support/WvdDocumentFixture.h"

#include <QApplication>
#include <QImage>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

inline void EnsureViewTestApplication()
{
    if (QApplication::instance() == nullptr)
    {
        static int argc = 1;
        static char name[] = "kwvd_views_tests";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv); // lives for the whole run, as a program's would
    }
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
    std::vector<CFormElement*> sheetElements;
    std::vector<std::pair<CObject*, LPARAM>> explorerNotices;
    std::vector<UINT> commands;
    CDesignView* activePane = nullptr;
    QString layoutSection = QStringLiteral("Software\\Qorvane\\ViewTests\\Workspace");

    int GetCurrentTool() const override { return tool; }
    void ResetToolUnlessLocked() override
    {
        if (!toolLock)
            tool = DrawingTool::Select;
    }
    CFormElement* GetAnchorElement() const override { return anchor; }
    void NotifyExplorer(CObject* element, LPARAM hint) override { explorerNotices.emplace_back(element, hint); }
    void SetPropertySheetElement(CFormElement* element) override { sheetElements.push_back(element); }
    BOOL IsPropertySheetShown() const override { return sheetShown; }
    int toolWhenSheetShown = -1;
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
        kwvd::RegistryStore& store = kwvd::RegistryStore::Instance();
        const QString path = layoutSection + QLatin1Char('\\') + subsection;
        return create ? store.CreateKey(kwvd::RegistryRoot::CurrentUser, path)
                      : store.OpenKey(kwvd::RegistryRoot::CurrentUser, path);
    }
    void OnPaneActivated(CDesignView* pane) override { activePane = pane; }
};

// The output side.
class TestOutputPane : public CDesignView
{
public:
    using CDesignView::CDesignView;

    int GetSide() const override { return 2; }
    CPage* GetPanePage() const override
    {
        return GetDesignerDoc() != nullptr ? GetDesignerDoc()->GetOutputPage() : nullptr;
    }
    kwvd::Rect GetElementRect(const CFormElement* e) const override { return e->GetDestRect(); }
    CFormElement* HitTestElementAt(CFormElement* e, QPoint p) const override { return e->HitTestDest(p); }
    void DrawElement(CFormElement* e, QPainter& painter) override { e->DrawDest(painter); }
    void MoveElementBy(CFormElement* e, int dx, int dy, int flags) override { e->MoveDest(dx, dy, flags, FALSE); }
    void ResizeElementBy(CFormElement* e, int dw, int dh, int flags) override
    {
        e->ResizeDest(dw, dh, flags, FALSE);
    }
    int ResizeFlagsForHandle(int handle) const override
    {
        static constexpr int flags[8] = {0x43, 0x46, 0x4C, 0x49, 0x42, 0x44, 0x48, 0x41};
        return handle >= 0 && handle < 8 ? flags[handle] : 0;
    }
    int DropMoveFlags() const override { return 0x43; }
    QString GetClipboardFormat() const override { return QString::fromLatin1(kDesignerDestFormat); }
    void ReadZoomFromDocument(int& x, int& y, int& fit) const override
    {
        const CDesignerDoc* doc = GetDesignerDoc();
        x = doc->m_destZoom[0];
        y = doc->m_destZoom[1];
        fit = doc->m_destFit;
    }
    void StoreZoomInDocument(int x, int y, int fit) override
    {
        CDesignerDoc* doc = GetDesignerDoc();
        doc->m_destZoom[0] = x;
        doc->m_destZoom[1] = y;
        doc->m_destFit = fit;
    }
    QString GetLayoutSubsection() const override { return QStringLiteral("DestinationView"); }
    ToolAction GetToolAction(int tool) const override
    {
        const bool spooled = GetDesignerDoc() != nullptr && !GetDesignerDoc()->IsXmlDocument();
        switch (tool)
        {
        case DrawingTool::Image: return {ToolAction::Band, FormElementType::Image};
        case DrawingTool::StaticText: return {ToolAction::Click, FormElementType::Text};
        case DrawingTool::Address:
            return spooled ? ToolAction{ToolAction::Band, FormElementType::Address} : ToolAction{};
        case DrawingTool::Eraser: return {ToolAction::Band, FormElementType::Eraser};
        case DrawingTool::Barcode: return {ToolAction::Band, FormElementType::Barcode};
        default: return {};
        }
    }
    int GetToolCursorId(int tool) const override
    {
        switch (tool)
        {
        case DrawingTool::Image: return 1176;
        case DrawingTool::StaticText: return 1398;
        case DrawingTool::Eraser: return 1088;
        default: return 0;
        }
    }
    int GetRectChangedHint() const override { return DocumentHint::DestRectChanged; }
    BOOL RefitsOnHint(int hint) const override
    {
        return hint == DocumentHint::OutputViewRefit || hint == DocumentHint::PageSetupChanged;
    }

protected:
    void OnZoomStored() override { GetDesignerDoc()->RevalidateElements(0); }
    BOOL AltSuppressesDropSnap() const override { return TRUE; }
};

// The input side.
class TestInputPane : public CDesignView
{
public:
    using CDesignView::CDesignView;

    int scrollLimitKey = 0;

    int GetSide() const override { return 1; }
    CPage* GetPanePage() const override
    {
        return GetDesignerDoc() != nullptr ? GetDesignerDoc()->GetSourcePage() : nullptr;
    }
    kwvd::Rect GetElementRect(const CFormElement* e) const override { return e->GetSourceRect(); }
    CFormElement* HitTestElementAt(CFormElement* e, QPoint p) const override { return e->HitTestSource(p); }
    void DrawElement(CFormElement* e, QPainter& painter) override { e->DrawSource(painter); }
    void MoveElementBy(CFormElement* e, int dx, int dy, int flags) override
    {
        e->MoveSource(dx, dy, flags, FALSE);
    }
    void ResizeElementBy(CFormElement* e, int dw, int dh, int flags) override
    {
        e->ResizeSource(dw, dh, flags, FALSE);
    }
    int ResizeFlagsForHandle(int handle) const override
    {
        static constexpr int flags[8] = {0x03, 0x06, 0x0C, 0x09, 0x02, 0x04, 0x08, 0x01};
        return handle >= 0 && handle < 8 ? flags[handle] : 0;
    }
    int DropMoveFlags() const override { return 3; }
    QString GetClipboardFormat() const override { return QString::fromLatin1(kDesignerSrcFormat); }
    void ReadZoomFromDocument(int& x, int& y, int& fit) const override
    {
        const CDesignerDoc* doc = GetDesignerDoc();
        x = doc->m_sourceZoom[0];
        y = doc->m_sourceZoom[1];
        fit = doc->m_sourceFit;
    }
    void StoreZoomInDocument(int x, int y, int fit) override
    {
        CDesignerDoc* doc = GetDesignerDoc();
        doc->m_sourceZoom[0] = x;
        doc->m_sourceZoom[1] = y;
        doc->m_sourceFit = fit;
    }
    QString GetLayoutSubsection() const override { return QStringLiteral("SourceView"); }
    ToolAction GetToolAction(int tool) const override
    {
        switch (tool)
        {
        case DrawingTool::SpooledFile: return {ToolAction::Band, FormElementType::Source};
        case DrawingTool::Loop: return {ToolAction::Band, FormElementType::Loop};
        case DrawingTool::Conditional: return {ToolAction::Band, FormElementType::Conditional};
        case DrawingTool::Variable: return {ToolAction::Band, FormElementType::Variable};
        default: return {};
        }
    }
    int GetToolCursorId(int tool) const override { return tool == DrawingTool::SpooledFile ? 1384 : 0; }
    int GetRectChangedHint() const override { return DocumentHint::SourceRectChanged; }
    BOOL RefitsOnHint(int hint) const override
    {
        return hint == DocumentHint::SpooledPageChanged || hint == DocumentHint::PageSetupChanged;
    }

protected:
    BOOL DeselectCurrentBeforeDrop() const override { return FALSE; }
    void OnScrollLimit(int key) override { scrollLimitKey = key; }
};

// Made first, so that the application exists before any widget.
struct ViewTestApplication
{
    ViewTestApplication() { EnsureViewTestApplication(); }
};

// A new document shown in both test panes, each 400 x 300.
class ViewTest : public ::testing::Test
{
protected:
    ViewTest()
    {
        qputenv("KWVD_REGISTRY_DIR", env.folder.filePath(QStringLiteral("registry")).toUtf8());
        // Distinct colours so that pictures tell the kinds apart.
        env.prefs.ColourElementLoop = 0xFF0000;        // blue
        env.prefs.ColourElementConditional = 0x0000FF; // red
        env.prefs.ColourElementEraser = 0x00FF00;      // green
        env.prefs.ColourElementSource = 0x00FFFF;      // yellow
        env.prefs.ColourElementText = 0xFF00FF;        // magenta
        env.prefs.ColourElementAddress = 0x808080;     // grey
        doc.OnNewDocument();
        doc.m_destZoom[0] = doc.m_destZoom[1] = 100;
        doc.m_sourceZoom[0] = doc.m_sourceZoom[1] = 100;
        for (CDesignView* pane : {static_cast<CDesignView*>(&output), static_cast<CDesignView*>(&input)})
        {
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

    CPage& OutputPage() { return *doc.GetOutputPage(); }
    CPage& SourcePage() { return *doc.GetSourcePage(); }
    QSize OutputCell() { return QSize(OutputPage().GetCellWidth(), OutputPage().GetCellHeight()); }
    QSize SourceCell() { return QSize(SourcePage().GetCellWidth(), SourcePage().GetCellHeight()); }

    // An element made as a pane makes it: one change level, no anchor.
    CFormElement* Make(int type, const kwvd::Rect& rect, int side = 2)
    {
        CDocChangeGuard change(&doc);
        return doc.CreateNewElement(type, side, rect, nullptr);
    }

    // Cell (column, line) of the output grid in logical units.
    kwvd::Rect OutputCells(int col, int line, int cols, int lines)
    {
        const QSize c = OutputCell();
        return kwvd::Rect(col * c.width(), line * c.height(), (col + cols) * c.width(), (line + lines) * c.height());
    }
    kwvd::Rect SourceCells(int col, int line, int cols, int lines)
    {
        const QSize c = SourceCell();
        return kwvd::Rect(col * c.width(), line * c.height(), (col + cols) * c.width(), (line + lines) * c.height());
    }

    int UndoSteps() const { return int(doc.GetUndoList().GetCount()); }

    // The pane's picture as the screen would show it.
    static QImage Picture(CDesignView& pane) { return pane.viewport()->grab().toImage(); }

    ViewTestApplication app;
    WvdTestEnvironment env;
    CDesignerDoc doc;
    RecordingFrame frame;
    TestOutputPane output;
    TestInputPane input;
};
