#pragma once
// An up-down control attached to a line edit (its buddy): each step reads the
// number shown, moves it by one within the control's own range and writes it
// back without a thousands separator. At an end it stops or wraps, as each
// dialog sets it. The buddy's arrow keys step too. Typed text is never
// touched: a value outside the range stays until it is stepped (then it is
// first brought into the range) and the data exchange reports it.

#include <QWidget>

class QLineEdit;
class QToolButton;

class CUpDownControl : public QWidget
{
public:
    explicit CUpDownControl(QWidget* parent = nullptr);

    void SetBuddy(QLineEdit* buddy);
    QLineEdit* Buddy() const { return m_buddy; }

    void SetRange(int minimum, int maximum);
    int Minimum() const { return m_min; }
    int Maximum() const { return m_max; }

    void SetWrap(bool wrap) { m_wrap = wrap; }
    bool Wraps() const { return m_wrap; }

    // +1 up, -1 down.
    void Step(int direction);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_buddy = nullptr;
    QToolButton* m_up;
    QToolButton* m_down;
    int m_min = 0;
    int m_max = 100;
    bool m_wrap = false;
};
