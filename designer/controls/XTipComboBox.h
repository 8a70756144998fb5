#pragma once
// A drop-down combo box that shows the whole text of its selection, and of
// the item under the pointer in its drop-down list, in a tip while that text
// does not fit: in the box when it is wider than the text area less 6
// pixels (the text area stops before the drop-down button), in the list when
// it is wider than the item's rectangle less 3. The box's tip is drawn in
// the highlight colours while the box has the focus, else in the window
// colours. A timer hides a tip once the pointer has left.

#include <QComboBox>
#include <QLabel>
#include <QTimer>

class QAbstractItemView;

// The tip window both tips use: a frameless label that never takes the focus.
class CTrackingTip : public QLabel
{
public:
    CTrackingTip();
    void ShowAt(const QPoint& globalTopLeft, const QString& text, const QColor& text_colour, const QColor& back);
};

// The drop-down list's side: watches the list's viewport.
class CXTipListBox : public QObject
{
public:
    explicit CXTipListBox(QAbstractItemView* view);
    int LastHovered() const { return m_lastItem; }
    const CTrackingTip& Tip() const { return m_tip; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Hover(const QPoint& pos);

    QAbstractItemView* m_view;
    CTrackingTip m_tip;
    QTimer m_timer;
    int m_lastItem = -1;
};

class CXTipComboBox : public QComboBox
{
public:
    explicit CXTipComboBox(QWidget* parent = nullptr);
    ~CXTipComboBox() override;

    void showPopup() override;

    const CTrackingTip& Tip() const { return m_tip; }
    // The list's side once the drop-down was first shown, else null.
    const CXTipListBox* ListBox() const { return m_listBox; }
    // Where the selection's text is drawn, without the drop-down button.
    QRect TextArea() const;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    CTrackingTip m_tip;
    QTimer m_timer;
    CXTipListBox* m_listBox = nullptr;
};
