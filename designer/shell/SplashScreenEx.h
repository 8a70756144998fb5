#pragma once
// The splash window of start-up: the brand picture with the version text at
// its bottom right. It closes itself after its timeout or when clicked or a
// key reaches it, and deletes itself once closed.

#include "platform/framework/Types.h"

#include <QFont>
#include <QPixmap>
#include <QRect>
#include <QTimer>
#include <QWidget>

class QPropertyAnimation;

class CSplashScreenEx : public QWidget
{
    Q_OBJECT

public:
    enum Style : DWORD {
        FadeIn = 1,
        FadeOut = 2,
        Shadow = 4,
        CentreScreen = 8,
        CentreParent = 16,
        HideOnAnyInput = 32,
    };
    static constexpr DWORD kDesignerStyle = FadeIn | FadeOut | Shadow | CentreScreen;
    static constexpr int kDefaultTimeout = 2000;
    // While a box is open the end is put off by this much at a time.
    static constexpr int kWaitForBoxMilliseconds = 250;

    explicit CSplashScreenEx(QWidget* parent = nullptr);
    ~CSplashScreenEx() override;

    void SetBitmap(const QPixmap& bitmap) { m_bitmap = bitmap; }
    void SetStyle(DWORD style) { m_style = style; }
    void SetTimeout(int milliseconds) { m_timeout = milliseconds; }
    void SetText(const QString& text) { m_text = text; }

    // Lays the window out and shows it; FALSE when there is no picture.
    BOOL Show();
    // Hides (fading out with FadeOut) and then destroys the window.
    void Hide();

    const QString& Text() const { return m_text; }
    QRect TextRect() const { return m_textRect; }
    int Timeout() const { return m_timeout; }
    bool IsTimerRunning() const { return m_timer.isActive(); }
    // The timer's end, run at once; tests use it instead of waiting.
    void FireTimer();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPixmap m_bitmap;
    QFont m_font;
    QString m_text;
    QRect m_textRect;
    QColor m_textColour{124, 130, 132};
    DWORD m_style = 0;
    int m_timeout = kDefaultTimeout;
    QTimer m_timer;
    QPropertyAnimation* m_fade = nullptr;
    bool m_hiding = false;
};
