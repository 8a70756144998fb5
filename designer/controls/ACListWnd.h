#pragma once
// The drop-down of an autocomplete field (CACEdit): keeps the history of
// search strings (oldest first, at most m_nMaxCount), filters it by the typed
// prefix into the sorted display strings and shows them below the field in a
// frameless topmost tool window that never takes the focus, with its own
// scroll bar (at most 12 rows before scrolling) and a size grip. The history
// is read from and written back to a registry key as "SearchString<n>"
// values. Rows are pixels of the list font's height; the user size, once the
// grip was dragged, is kept in screen coordinates for every later opening.

#include <QRect>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <memory>

class CACEdit;
class CRegistry;
class QScrollBar;

namespace kwvd {
class RegistryKey;
}

class CACListWnd : public QWidget
{
public:
    static constexpr int kMaxShownRows = 12;

    CACListWnd();
    ~CACListWnd() override;

    // Called by CACEdit::Init with the field the list belongs to.
    void Attach(CACEdit* edit, QWidget* field);

    void AddSearchString(const QString& text);
    // Empties the history and the display (file-system mode refills them).
    void ClearSearchStrings();
    void LoadSearchStrings(const kwvd::RegistryKey& root, const QString& subKey);
    void SaveSearchStrings();

    // Filters the history by text (upper-cased prefix match) and shows the
    // matches; -1 when the list was hidden for want of a field or a text,
    // else 1. With reuse the display strings are taken as they stand.
    int FindString(int startAfter, const QString& text, bool reuse = false);
    // Opens the whole history, sorted.
    void ShowAll();
    void HideList();

    // The selected display string, else the first, else empty.
    QString GetString() const;
    // Moves the selection by a navigation key and returns GetString().
    QString SelectItem(int key);
    // Removes the selected entry from the display and the history.
    bool RemoveSelected();
    // Scrolls so that row is visible; true when it scrolled.
    bool EnsureVisible(int row, bool animate);

    const QStringList& SearchStrings() const { return m_SearchList; }
    const QStringList& DisplayStrings() const { return m_DisplayList; }
    int SelectedRow() const { return m_lSelItem; }
    int TopRow() const { return m_lTopIndex; }
    int VisibleRows() const { return m_VisibleItems; }
    int RowHeight() const { return m_ItemHeight; }
    bool IsScrollBarShown() const;
    const QRect& UserSize() const { return m_LastSize; }

    // Settings the host writes (the prefix and the match-anywhere flag 0x20
    // are for hosts other than this system's).
    QChar m_PrefixChar;
    unsigned m_lMode = 0;
    int m_nMaxCount = 20;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    int HitTest(const QPoint& pos) const;
    QRect GripRect() const;
    int GripSide() const;
    void LayoutScrollBar();
    void SetScrollRange();
    void StepScrollAnimation();
    void CheckOwner();
    QString Shown(const QString& entry) const;
    int MaxTop() const { return std::max(0, m_lCount - m_VisibleItems); }

    std::unique_ptr<CRegistry> m_pKey;
    QStringList m_SearchList;
    QStringList m_DisplayList;
    QScrollBar* m_VertBar;
    QRect m_LastSize;
    QRect m_ParentRect;
    CACEdit* m_pEdit = nullptr;
    QWidget* m_field = nullptr;
    QTimer m_ownerTimer;
    QTimer m_scrollTimer;
    int m_lTopIndex = 0;
    int m_paintTop = 0; // lags behind m_lTopIndex while a scroll is animated
    int m_lCount = 0;
    int m_ItemHeight = 16;
    int m_VisibleItems = 0;
    int m_lSelItem = -1;
    bool m_gripDrag = false;
    QPoint m_gripStart;
    QRect m_gripStartRect;
};
