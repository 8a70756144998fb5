#pragma once
// The window of the element property sheet: a tool window captioned
// "Properties" over the main frame, one tab per page of the sheet and the
// Pin button at the top right. A page's view is made the first time its tab
// is shown. Closing and deactivation go to the sheet, which hides the window
// without destroying it; "WM_SERIALIZE_LAYOUT" goes to the sheet too.
//
// Views are made by factories registered by the page's dialog id; the
// General page's and the placeholder's are built in.

#include "designer/views/pages/ElementPropertySheet.h"

#include <QPixmap>
#include <QWidget>

#include <functional>

class QTabWidget;
class QToolButton;

class CElementPropertySheetWnd : public QWidget, public IElementSheetWindow
{
public:
    using ViewFactory = std::function<QWidget*(CElementPropPage& page, QWidget* parent)>;

    // The Pin button's bitmaps: normal and pressed, pinned and not.
    enum : int {
        IDB_PINNED = 104,
        IDB_PINNED_DOWN = 105,
        IDB_UNPINNED = 106,
        IDB_UNPINNED_DOWN = 107,
    };

    CElementPropertySheetWnd(CElementPropertySheet& sheet, QWidget* parent);
    ~CElementPropertySheetWnd() override;

    static void RegisterViewFactory(UINT dialogId, ViewFactory factory);
    static QPixmap PinBitmap(int id);

    CElementPropertySheet& Sheet() const { return m_sheet; }
    QTabWidget* Tabs() const { return m_tabs; }
    QToolButton* PinButton() const { return m_pin; }
    // The view of a page, or null while it was not shown yet.
    QWidget* PageView(int index) const;

    // ---- IElementSheetWindow
    QWidget* Widget() override { return this; }
    void PagesChanged() override;
    void ClearPages() override;
    int ActivePage() const override;
    void ActivatePage(int index) override;
    bool IsVisible() const override { return isVisible(); }
    void ShowWindow() override;
    void ShowWindowNoActivate() override;
    void HideWindow() override;
    bool IsWindowEnabled() const override { return isEnabled(); }
    void EnableWindow(bool enable) override { setEnabled(enable); }
    void SetRedraw(bool redraw) override { setUpdatesEnabled(redraw); }
    void PinChanged() override;
    QRect NormalRect() const override;
    void MoveTo(QPoint topLeft) override;

    // Makes the sheet with its window for the frame.
    static std::unique_ptr<CElementPropertySheet> Create(IDesignFrame* frame, QWidget* parent);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnCurrentChanged(int index);
    void PlacePin();

    CElementPropertySheet& m_sheet;
    QTabWidget* m_tabs;
    QToolButton* m_pin;
    bool m_changingPages = false;
};
