#pragma once
// An output pane of 400 x 300 over a new document, shown offscreen, with a
// frame that records what the pane asks of it. Element colours are set apart
// so that chosen pixels tell the elements and the no-print band apart.

#include "designer/document/DesignerDoc.h"
#include "designer/preferences/ColourRef.h"
#include "designer/document/Page.h"
#include "designer/elements/FormElement.h"
#include "designer/views/DesignFrame.h"
#include "designer/views/DDestView.h"
#include "platform/registry/RegistryStore.h"
#include "tests/support/WvdDocumentFixture.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

inline void EnsureViewApplication()
{
    if (QApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "kwvd_views_tests";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv); // lives for the whole run, as a program's would
    }
}

class RecordingDesignFrame : public IDesignFrame
{
public:
    int GetCurrentTool() const override { return tool; }
    void ResetToolUnlessLocked() override
    {
        if (!toolLock)
            tool = DrawingTool::Select;
    }
    CFormElement* GetAnchorElement() const override { return nullptr; }
    void NotifyExplorer(CObject*, LPARAM) override {}
    void SetPropertySheetElement(CFormElement* element) override { sheetElement = element; }
    BOOL IsPropertySheetShown() const override { return sheetShown; }
    void ShowPropertySheet() override
    {
        toolWhenSheetShown = tool;
        sheetShown = TRUE;
        ++sheetShows;
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
        const QString path = QStringLiteral("Software\\Qorvane\\KWVD Designer\\Workspace\\") + subsection;
        return create ? store.CreateKey(HKEY_CURRENT_USER, path) : store.OpenKey(HKEY_CURRENT_USER, path);
    }
    void OnPaneActivated(CDesignView*) override {}

    int tool = DrawingTool::Select;
    BOOL toolLock = FALSE;
    int toolWhenSheetShown = -1;
    BOOL sheetShown = FALSE;
    int sheetShows = 0;
    int sheetRefreshes = 0;
    CFormElement* sheetElement = nullptr;
    std::vector<UINT> commands;
    std::vector<QString> layoutSubsections;
};

// Distinct colours (red low byte, as the preferences hold them).
inline constexpr COLORREF kAddressColour = 0x0000C0; // dark red
inline constexpr COLORREF kEraserColour = 0xC00000;  // dark blue
inline constexpr COLORREF kTextColour = 0x00C000;    // dark green
inline constexpr COLORREF kBandColour = 0x303030;

// A registry of the test's own, in place before anything reads settings.
struct PrivateRegistry
{
    PrivateRegistry()
    {
        setenv("KWVD_REGISTRY_DIR", (folder.path() + QStringLiteral("/registry")).toLocal8Bit().constData(), 1);
    }
    QTemporaryDir folder;
};

class DestViewFixture : public ::testing::Test
{
protected:
    DestViewFixture()
    {
        EnsureViewApplication();
        env.prefs.ColourElementAddress = kAddressColour;
        env.prefs.ColourElementEraser = kEraserColour;
        env.prefs.ColourElementText = kTextColour;
        env.prefs.ColourNoPrintBorder = kBandColour;
        // New documents take the panes' zoom from here.
        env.prefs.ZoomDest = {100, 100};
        env.prefs.ZoomSource = {100, 100};
    }

    void SetUp() override
    {
        ASSERT_TRUE(doc.OnNewDocument());
        view = std::make_unique<CDDestView>();
        view->SetDesignFrame(&frame);
        view->SetDocument(&doc);
        view->resize(400, 300);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->OnInitialUpdate();
    }

    void TearDown() override
    {
        if (view)
            view->SetDocument(nullptr);
        view.reset();
    }

    // The element a tool made: the pane's current one after a creation.
    CFormElement* MadeElement() const { return view->GetCurrentElement(); }

    CPage& OutputPage() { return *doc.GetOutputPage(); }

    // An element of the kind made as the output pane makes it, in one
    // transaction, not selected.
    CFormElement* AddElement(int type, const kwvd::Rect& rect)
    {
        CDocChangeGuard change(&doc);
        return doc.CreateNewElement(type, 2, rect, nullptr);
    }

    // What the viewport shows now.
    QImage Screen()
    {
        view->viewport()->update();
        QApplication::processEvents();
        return view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    // The viewport pixel over a page point.
    QColor ScreenPixel(const QImage& screen, QPoint logical)
    {
        return screen.pixelColor(view->DocToClientPoint(logical));
    }

    PrivateRegistry registry;
    WvdTestEnvironment env;
    CDesignerDoc doc;
    RecordingDesignFrame frame;
    std::unique_ptr<CDDestView> view;
};
