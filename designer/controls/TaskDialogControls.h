#pragma once
// The task dialog's own controls, painted by us: coloured statics (and the
// static with links), the icon placeholders, radio buttons and the check box
// on the dialog's bands, and the command links with title, note, arrow and
// hot tracking. Colours are COLORREF values, blue in the high byte. The
// pictures and brushes they show are the dialog's; they hold addresses, so
// a picture the dialog replaces shows at the next paint.

#include "platform/framework/Types.h"

#include <QCheckBox>
#include <QColor>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>

// 0x993300 is red 0, green 51, blue 153.

class CXTaskDialogStatic : public QLabel
{
    Q_OBJECT

public:
    explicit CXTaskDialogStatic(QWidget* parent = nullptr);

    // Shown as it stands: a file name with "<" is no markup.
    virtual void SetWindowText(const QString& text);

    COLORREF m_crText = 0;
    COLORREF m_crBackground = 0xFFFFFF;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A static whose <A HREF="..."> ... </A> pairs are links; everything else
// in it shows as plain text.
class CXTaskDialogLinkStatic : public CXTaskDialogStatic
{
    Q_OBJECT

public:
    explicit CXTaskDialogLinkStatic(QWidget* parent = nullptr);

    void SetWindowText(const QString& text) override;

    // The text in Qt's rich text form, every character outside the tags escaped.
    static QString ToRichText(const QString& text);

signals:
    void LinkClicked(const QString& target);
};

class CXTaskDialogIconStatic : public QWidget
{
    Q_OBJECT

public:
    explicit CXTaskDialogIconStatic(QWidget* parent = nullptr);

    const QPixmap* m_icon = nullptr;
    BOOL m_bLarge = FALSE;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A radio button or check box that fills its rectangle with the colour of
// the band it lies on.
class CXTaskDialogButton : public QCheckBox
{
    Q_OBJECT

public:
    enum class Kind {
        CheckBox,
        Radio
    };

    explicit CXTaskDialogButton(Kind kind, QWidget* parent = nullptr);

    Kind ButtonKind() const { return m_kind; }

    COLORREF m_crErase = 0xFFFFFF;

protected:
    void paintEvent(QPaintEvent* event) override;
    void nextCheckState() override;

private:
    Kind m_kind;
};

class CXTaskDialogCommandLink : public QPushButton
{
    Q_OBJECT

public:
    explicit CXTaskDialogCommandLink(QWidget* parent = nullptr);

    // Fonts and pictures stay the dialog's.
    BOOL Init(const QFont& titleFont, const QFont& noteFont, const QPixmap* shield, const QPixmap* arrow,
              const QPixmap* hotArrow);

    // The button's icon image: null for none.
    void SetImage(const QPixmap* image);
    const QPixmap* Image() const { return m_image; }

    void SwapArrowIcon(bool toHot);

    bool IsHot() const { return m_bHot != FALSE; }

    static constexpr COLORREF kFocusPen = 0xFFF0B2;
    static constexpr COLORREF kHotPen = 0xC6C6C6;
    static constexpr COLORREF kNormalPen = 0xFFFFFF;
    static constexpr COLORREF kPressedFill = 0xF0F0F0;
    static constexpr COLORREF kText = 0x993300;
    static constexpr COLORREF kHotText = 0xE54A07;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void DrawItem(QPainter& painter);

    QFont m_titleFont;
    QFont m_noteFont;
    const QPixmap* m_shield = nullptr;
    const QPixmap* m_arrow = nullptr;
    const QPixmap* m_hotArrow = nullptr;
    const QPixmap* m_image = nullptr;
    BOOL m_bHot = FALSE;
    BOOL m_bTracking = FALSE;
    // Focus cues show only when the focus came by the keyboard.
    bool m_focusCues = false;
};
