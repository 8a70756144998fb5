#pragma once
// A static text that is a web link: underlined, coloured by its state
// (normal, hovering, focused, visited), opened through the desktop with the
// mouse or the space key. A link the desktop cannot open is reported.

#include "platform/framework/Types.h"

#include <QColor>
#include <QLabel>
#include <QString>

class CHyperStatic : public QLabel
{
    Q_OBJECT

public:
    enum Flags : DWORD {
        Underline = 0x01,
        HoverColour = 0x02,
        SizeToText = 0x04,
        OpenOnButtonDown = 0x08,
        FocusOnClick = 0x10,
        NormalCursor = 0x20,
        NoFocusColour = 0x40,
        DefaultFlags = Underline | HoverColour | SizeToText | FocusOnClick,
    };

    static const QColor kNormal;
    static const QColor kVisited;
    static const QColor kHover;
    static const QColor kFocused;

    explicit CHyperStatic(QWidget* parent = nullptr, DWORD flags = DefaultFlags);

    // An empty link takes the text, an empty text the link.
    void SetLink(const QString& link);
    const QString& GetLink() const { return m_link; }
    void SetText(const QString& text);

    DWORD GetFlags() const { return m_flags; }
    BOOL IsHovering() const { return m_hovering; }
    BOOL IsFocused() const { return m_focused; }
    BOOL IsVisited() const { return m_visited; }

    // The colour of a state. A colour equal to the button face becomes its
    // inverse, so the link never vanishes into the background.
    static QColor LinkColour(DWORD flags, BOOL hovering, BOOL focused, BOOL visited, const QColor& buttonFace);
    QColor CurrentColour() const;

    // The text shown for a failed opening with the desktop's result.
    static QString OpenErrorText(int result);

    // Opens the link; TRUE when the desktop took it (the link is visited).
    BOOL OpenLink();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Subclass();
    void FitToText();
    void ApplyColour();
    void SetHovering(bool hovering);

    QString m_link;
    DWORD m_flags;
    BOOL m_hovering = FALSE;
    BOOL m_focused = FALSE;
    BOOL m_visited = FALSE;
};
