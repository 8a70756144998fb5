#pragma once
// The state of the element property sheet, without its window: the current
// element, the pages made for it (General first, then the kind's own page,
// or the "No Selection." placeholder without an element), the shown, pinned
// and busy flags and the layout section "PropertySheet". The frame owns the
// sheet; the sheet owns its pages and its window, which it reaches through
// IElementSheetWindow (the Qt window lives in designer/views/pages/ui).
//
// Pages are made from their records by factories registered by the type of
// the page data the record holds.
// A record with no registered page is dropped: that kind's page is not
// built yet.

#include "designer/elements/ElementPages.h"
#include "designer/views/FrameInterfaces.h"

#include <QPoint>
#include <QRect>

#include <functional>
#include <memory>
#include <optional>
#include <typeindex>
#include <vector>

class CElementPropPage;
class IDesignFrame;

// What the sheet needs of its window.
class IElementSheetWindow
{
public:
    virtual ~IElementSheetWindow();
    virtual QWidget* Widget() = 0;
    // The pages changed: tabs for the sheet's pages, views made when first shown.
    virtual void PagesChanged() = 0;
    // The page views are about to go with their pages.
    virtual void ClearPages() = 0;
    virtual int ActivePage() const = 0;
    virtual void ActivatePage(int index) = 0;
    virtual bool IsVisible() const = 0;
    virtual void ShowWindow() = 0;
    virtual void ShowWindowNoActivate() = 0;
    virtual void HideWindow() = 0;
    virtual bool IsWindowEnabled() const = 0;
    virtual void EnableWindow(bool enable) = 0;
    virtual void SetRedraw(bool redraw) = 0;
    virtual void PinChanged() = 0;
    // The restored (normal) rectangle, and a move of the window to a new
    // top-left corner keeping its size.
    virtual QRect NormalRect() const = 0;
    virtual void MoveTo(QPoint topLeft) = 0;
};

class CElementPropertySheet : public IElementPropertySheet, public IElementPageSink
{
public:
    using PageFactory = std::function<std::unique_ptr<CElementPropPage>(std::unique_ptr<CElementPageRecord> record)>;

    // The placeholder's dialog and the Pin button's id.
    static constexpr UINT PlaceholderDialog = 131;
    static constexpr int PinButton = 1560;

    explicit CElementPropertySheet(IDesignFrame* frame);
    ~CElementPropertySheet() override;

    static void RegisterPageFactory(std::type_index recordType, PageFactory factory);
    template <class Data>
    static void RegisterPageFactory(PageFactory factory)
    {
        RegisterPageFactory(std::type_index(typeid(Data)), std::move(factory));
    }

    // The window, which the sheet owns from now on.
    void SetWindow(std::unique_ptr<IElementSheetWindow> window);
    IElementSheetWindow* GetWindow() const { return m_window.get(); }

    // ---- IElementPropertySheet
    QWidget* GetWidget() override;
    void SetElement(CFormElement* element) override;
    void RebuildPages() override;
    void RefreshPages() override;
    void SetActivePageIndex(int index) override;
    void ShowSheet() override;
    void HideSheet() override;
    BOOL IsShown() const override { return m_shown; }
    void OnElementRemoved(CFormElement* removed) override;

    // ---- IElementPageSink
    void AddPage(std::unique_ptr<CElementPageRecord> record) override;

    CFormElement* GetElement() const { return m_element; }
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CElementPropPage* GetPage(int index) const;
    int GetActiveIndex() const;

    BOOL IsPinned() const { return m_pinned; }
    // The Pin button.
    void TogglePin();
    BOOL IsBusy() const { return m_busy > 0; }

    // The window's events.
    void OnClose();
    void OnDeactivate();
    // "WM_SERIALIZE_LAYOUT": 1 save, else load; the result of the message.
    int OnSerializeLayout(int wParam);

    // Page handlers run inside; a rebuild asked for meanwhile waits for the
    // last one to end, so no page goes while its handler runs.
    void EnterHandler() { ++m_busy; }
    void LeaveHandler();

private:
    void DoRebuildPages();
    void ClearPageList();

    IDesignFrame* m_frame;
    std::unique_ptr<IElementSheetWindow> m_window;
    std::vector<std::unique_ptr<CElementPropPage>> m_owned;
    std::vector<CElementPropPage*> m_pages;
    std::unique_ptr<CElementPropPage> m_placeholder;
    CFormElement* m_element = nullptr;
    int m_activeIndex = 0;
    int m_busy = 0;
    bool m_rebuildPending = false;
    BOOL m_shown = FALSE;
    BOOL m_pinned = FALSE;
};

// Raises the sheet's busy flag for its lifetime; nothing without a sheet.
class CSheetBusyScope
{
public:
    explicit CSheetBusyScope(CElementPropertySheet* sheet) : m_sheet(sheet)
    {
        if (m_sheet != nullptr)
            m_sheet->EnterHandler();
    }
    ~CSheetBusyScope()
    {
        if (m_sheet != nullptr)
            m_sheet->LeaveHandler();
    }
    CSheetBusyScope(const CSheetBusyScope&) = delete;
    CSheetBusyScope& operator=(const CSheetBusyScope&) = delete;

private:
    CElementPropertySheet* m_sheet;
};
