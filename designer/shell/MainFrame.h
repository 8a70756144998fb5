#pragma once
// The designer's one top-level window: menu bar, the "Standard" and "Tools"
// toolbars, the status bar, the explorer dock and the splitter with the
// input pane (column 0) and the output pane (column 1). It keeps the current
// drawing tool and routes every command through the command layer.

#include "designer/commands/CmdTarget.h"
#include "designer/document/DesignerDoc.h"
#include "designer/views/DesignFrame.h"
#include "designer/views/FrameInterfaces.h"

#include <QHash>
#include <QMainWindow>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class CCommandRouter;
class CUserToolBars;
class LanguageSupport;
class QAction;
class QDockWidget;
class QLabel;
class QMenu;
class QSplitter;
class QToolBar;

class CMainFrame : public QMainWindow, public CCmdTarget, public DocumentChangeListener, public IDesignFrame
{
    Q_OBJECT

public:
    // The application is the last target of the command route.
    explicit CMainFrame(CCmdTarget* application);
    ~CMainFrame() override;

    // Builds the menu bar (menu 128), the toolbars, the status bar, the
    // explorer dock and the splitter, and applies the stored look. FALSE when
    // a bar or pane cannot be made.
    BOOL LoadFrame();

    // The template calls it when a document is made or opened (null when it
    // goes). The frame listens to its hints and takes its type.
    void SetDocument(CDesignerDoc* doc);
    CDesignerDoc* GetDocument() const { return m_pDocument; }
    // The document's own commands (save, undo, its status pane...): the
    // target that stands for the document in the route. Null: none.
    void SetDocumentCmdTarget(CCmdTarget* target) { m_documentTarget = target; }

    // ---- the splitter's panes (plain widgets until the design panes come)
    QSplitter* GetSplitter() const { return m_splitter; }
    // Replaces the widget of column 0 or 1; target (may be null) is offered
    // the commands while that column is the active one. The frame owns the
    // widget from then on; a design pane is given this frame and the
    // frame's document.
    void SetPaneView(int column, QWidget* view, CCmdTarget* target);
    // The panes read the document's zoom once it is new or opened.
    void InitialUpdatePanes();
    QWidget* GetPaneView(int column) const;
    int GetActivePaneColumn() const { return m_activeColumn; }
    void SetActivePaneColumn(int column);
    BOOL IsSplitterReady() const { return m_splitterReady; }
    void SetColumnWidths(int width0, int width1);
    std::pair<int, int> GetColumnWidths() const;

    // ---- drawing tool
    WORD CurrentTool = 0;
    BOOL ToolLock = FALSE;
    BYTE FrameDocType = 9;
    // Back to Select unless the Tool Lock is on; the views call it after
    // placing an element.
    void ResetToolUnlessLocked() override;
    void SetCurrentTool(WORD tool);

    // ---- the windows of later code, null until set
    void SetExplorerPane(std::unique_ptr<IExplorerPane> pane);
    IExplorerPane* GetExplorerPane() const { return m_explorer.get(); }
    QDockWidget* GetExplorerDock() const { return m_explorerDock; }
    void SetPropertySheet(std::unique_ptr<IElementPropertySheet> sheet);
    IElementPropertySheet* ElementPropertySheet() const { return m_propertySheet.get(); }
    using FindDialogFactory = std::function<std::unique_ptr<IFindReplaceDialog>(QWidget* parent)>;
    void SetFindDialogFactory(FindDialogFactory factory);
    IFindReplaceDialog* FindDialog() const { return m_findDialog.get(); }

    void ShowPropertySheet() override;
    void RefreshPropertySheet() override;
    BOOL IsPropertySheetShown() const override;
    void ShowFindReplace(CDesignerDoc* doc) override;

    // ---- DocumentChangeListener
    void OnDocumentChanged(LPARAM hint, CObject* sender, CObject* element) override;
    void OnSetDocType(CView* view, int docType, CDesignerDoc* doc) override;
    void OnElementsRevalidated(CDesignerDoc* doc) override;
    void OnDocumentClosing(CDesignerDoc* doc) override;
    void OnTitleChanged(CDesignerDoc* doc) override;

    // ---- IDesignFrame (what the panes ask of the frame)
    int GetCurrentTool() const override { return CurrentTool; }
    // The explorer's selected element; null without an explorer.
    CFormElement* GetAnchorElement() const override;
    void NotifyExplorer(CObject* element, LPARAM hint) override;
    void SetPropertySheetElement(CFormElement* element) override;
    std::optional<kwvd::RegistryKey> OpenLayoutKey(const QString& subsection, bool create) override;
    void OnPaneActivated(CDesignView* pane) override;

    // ---- layout
    // "Splitter" below section: pane0 and pane1; then "WM_SERIALIZE_LAYOUT"
    // to both panes and the property sheet.
    void SerializeSplitter(BOOL save);
    // The registry section (below the program's key) the splitter and the
    // workspace state are written to; the layout slots change it for a while.
    void SetStateSection(const QString& section) { m_stateSection = section; }
    const QString& GetStateSection() const { return m_stateSection; }
    // The whole workspace (bars, docks, user toolbars, splitter) to or from
    // the current state section. Loading is FALSE when the section gave the
    // window no geometry.
    void SaveWorkspaceState();
    BOOL LoadWorkspaceState();
    void ApplyLayoutSlot(int slot, BOOL save);

    // ---- looks
    UINT GetApplicationLook() const { return m_applicationLook; }
    void SetApplicationLook(UINT look);
    BOOL HighColourIcons() const { return m_highColourIcons; }
    UINT ToolsBitmapId() const { return m_toolsBitmap; }
    UINT StandardBitmapId() const { return m_standardBitmap; }
    BOOL SmartDocking() const { return m_smartDocking; }
    // The screen depth the looks judge; tests set it.
    void SetScreenDepthForTest(int depth) { m_screenDepthOverride = depth; }

    // ---- full screen
    BOOL IsFullScreen() const { return m_fullScreen; }
    void ToggleFullScreen();

    // ---- command layer
    CCommandRouter& Router() const { return *m_router; }
    // Runs the command through the route; FALSE when no one handles it.
    BOOL ExecuteCommand(UINT id) override;
    // One update pass over every action (the menus run it when they open).
    void UpdateCommandUI();
    QAction* GetAction(UINT id) const;
    QToolBar* GetToolsBar() const { return m_toolsBar; }
    // The context menu of the bars: the bars to show or hide, then Customize.
    QMenu* createPopupMenu() override;
    QToolBar* GetStandardBar() const { return m_standardBar; }
    QMenu* GetMenu(const QString& objectName) const;
    QLabel* GetStatusPane(int index) const;
    CUserToolBars& UserToolBars() const { return *m_userToolBars; }
    // The caption: the document's title (with its modified mark) and the
    // program's name, as "sample.wvd - KWVD Designer".
    void UpdateFrameTitle();
    // Every way of closing the window asks the document to save first; FALSE
    // when the user cancelled or the save failed, and the window stays.
    BOOL CanCloseFrame();
    // Placed on the available screen area: three quarters of it, centred.
    // Used when no stored layout gives a geometry.
    void ApplyDefaultGeometry();

    // The recent-file items: after the list changed, the application calls
    // it so that the menu shows the new texts at once.
    void RefreshRecentFiles() { UpdateCommandUI(); }

    // ---- language (MainFrameLanguage.cpp)
    // The application's language choice; without one "&Language" stays
    // disabled.
    void SetLanguageSupport(LanguageSupport* language) { m_language = language; }
    LanguageSupport* GetLanguageSupport() const { return m_language; }
    // The "&Language" submenu, filled each time it opens.
    QMenu* GetLanguageMenu() const { return m_languageMenu; }
    // After the resource source changed: the keys and the menu bar from the
    // new resources, a shown property sheet and find dialog made again, the
    // idle text in the message pane, the frame repainted. Toolbars, the
    // explorer and the panes keep what they show.
    void OnLanguageChanged();

    // ---- Window menu and context help (MainFrameHelp.cpp)
    // Split: the splitter between the panes follows the arrow keys until
    // Return keeps or Escape restores its place (a click keeps it too).
    void BeginSplitterMove();
    BOOL IsMovingSplitter() const { return m_splitterMove != nullptr; }
    // Shift+F1: the next click on a command, a toolbar button or a pane opens
    // that item's help topic; Escape or the right button leaves without help.
    void EnterContextHelpMode();
    BOOL IsInContextHelpMode() const { return m_contextHelp != nullptr; }
    // The help topic of a click on the widget at the global position: a
    // toolbar button's or menu item's command, else the pane the widget is
    // in, else the main window.
    DWORD HelpContextAt(QWidget* widget, const QPoint& globalPos) const;
    // The topic of the main window as a whole.
    static constexpr DWORD kMainWindowHelpContext = 0x20000 + 128;

signals:
    // Sent with every "WM_SET_TOOL" broadcast (tests and panes listen).
    void toolChanged(int tool);

protected:
    bool event(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void RegisterHandlers();
    void BuildMenus();
    void BuildToolBars();
    void BuildStatusBar();
    void BuildClient();
    void BuildExplorerDock();
    QAction* EnsureAction(UINT id);
    std::vector<CCmdTarget*> RouteTargets() const;

    void OnToolCommand(UINT id);
    void OnUpdateTool(CCmdUI& ui);
    void OnPaneCommand(UINT id);
    void BroadcastSetTool(WORD tool);
    void SendSerializeLayout(BOOL save);
    void ApplyColumnRatio(double ratio);
    double ColumnRatio() const;
    void TogglePropertySheet();
    void OnSetDocTypeMessage(std::intptr_t lParam);
    void TurnSpooledPage(bool next);
    void OnFileSave();
    void OnFileSaveAs();
    void RegisterWindowAndHelpHandlers();
    void RegisterLanguageHandlers();
    void AttachLanguageMenu();
    void LoadAccelerators();
    void RefreshActionTexts();
    void EndSplitterMove();
    void EndContextHelpMode();

    CCmdTarget* m_application = nullptr;
    CCmdTarget* m_documentTarget = nullptr;
    CDesignerDoc* m_pDocument = nullptr;
    std::unique_ptr<CCommandRouter> m_router;
    QHash<UINT, QAction*> m_actions;

    QSplitter* m_splitter = nullptr;
    BOOL m_splitterReady = FALSE;
    CCmdTarget* m_paneTargets[2] = {nullptr, nullptr};
    int m_activeColumn = 1;
    QToolBar* m_toolsBar = nullptr;
    QToolBar* m_standardBar = nullptr;
    QDockWidget* m_explorerDock = nullptr;
    std::vector<QLabel*> m_statusPanes;
    std::unique_ptr<CUserToolBars> m_userToolBars;

    std::unique_ptr<IExplorerPane> m_explorer;
    std::unique_ptr<IElementPropertySheet> m_propertySheet;
    FindDialogFactory m_findFactory;
    std::unique_ptr<IFindReplaceDialog> m_findDialog;
    // The document the find dialog was last pointed at.
    CDesignerDoc* m_findDocument = nullptr;
    LanguageSupport* m_language = nullptr;
    QMenu* m_languageMenu = nullptr;
    // Shown before the frame was minimised, to show again on restore.
    bool m_hiddenByMinimise = false;

    QString m_stateSection;
    UINT m_applicationLook = 0;
    BOOL m_highColourIcons = TRUE;
    BOOL m_smartDocking = TRUE;
    UINT m_toolsBitmap = 0;
    UINT m_standardBitmap = 0;
    int m_screenDepthOverride = 0;
    BOOL m_fullScreen = FALSE;
    bool m_resizing = false;
    // Event filters on the application while their mode lasts.
    QObject* m_splitterMove = nullptr;
    QObject* m_contextHelp = nullptr;
};
