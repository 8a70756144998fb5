#pragma once
// A modal property sheet whose page titles stand in a list beside the pages,
// with OK and Cancel and no Apply. A page's view is made the first time it is
// shown; leaving a page validates it and a page that refuses stays. OK
// validates the active page, then applies every page whose view was made, in
// page order, and closes; a page that refuses keeps the sheet open on itself
// (the pages before it have stored). Cancel applies nothing.
//
// The sheet owns its pages and deletes them from the last to the first, with
// their views, whether it was ever shown or not.

#include "designer/controls/NavigationSheetPage.h"

#include <QDialog>

#include <memory>
#include <vector>

class QListWidget;
class QStackedWidget;

class CNavigationSheet : public QDialog
{
public:
    static constexpr int kDefaultNavigationWidth = 100;

    explicit CNavigationSheet(const QString& caption, QWidget* parent = nullptr);
    ~CNavigationSheet() override;

    CNavigationSheet(const CNavigationSheet&) = delete;
    CNavigationSheet& operator=(const CNavigationSheet&) = delete;

    // The width of the navigation list, in pixels.
    void SetNavigationWidth(int pixels);

    // Pages are added before the sheet is shown; the index of the page.
    int AddPage(std::unique_ptr<CNavigationSheetPage> page);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CNavigationSheetPage* GetPage(int index) const;
    // The view of the page, or null while it was never shown.
    QWidget* GetPageView(int index) const;

    // -1 before the first page was shown.
    int GetActiveIndex() const { return m_active; }
    // Validates the page left; false when it refused and stays.
    bool SetActivePage(int index);

    QListWidget* NavigationList() const { return m_list; }

    // OK.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Entry
    {
        std::unique_ptr<CNavigationSheetPage> page;
        QWidget* view = nullptr;
    };

    // Makes the page's view when it has none, shows and activates it.
    void ShowPage(int index);
    void SelectListRow(int index);

    std::vector<Entry> m_pages;
    QListWidget* m_list;
    QStackedWidget* m_stack;
    int m_active = -1;
};
