#include "designer/shell/SplashScreenEx.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPropertyAnimation>
#include <QScreen>

namespace {

constexpr int kFadeInMilliseconds = 500;
constexpr int kFadeOutMilliseconds = 200;
constexpr int kTextMargin = 5;

// Fading needs a compositor; without one the window shows and hides at once.
bool CanFade()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

} // namespace

CSplashScreenEx::CSplashScreenEx(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool
                          | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("SplashScreenExClass"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setCursor(Qt::ArrowCursor);
    m_font = QFont(QStringLiteral("Arial"), 16, QFont::Normal, false);
    m_font.setUnderline(false);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CSplashScreenEx::FireTimer);
}

CSplashScreenEx::~CSplashScreenEx()
{
    if (qApp)
        qApp->removeEventFilter(this);
    // A message box of start-up may have taken the splash as its parent
    // while it was the active window; it lives on the caller's stack and
    // must outlive the splash.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow())
            child->setParent(nullptr, child->windowFlags());
    }
}

BOOL CSplashScreenEx::Show()
{
    if (m_bitmap.isNull())
        return FALSE;
    const QSize size = m_bitmap.deviceIndependentSize().toSize();
    setFixedSize(size);
    QRect frame(QPoint(0, 0), size);
    if ((m_style & CentreScreen) && screen())
        frame.moveCenter(screen()->geometry().center());
    else if ((m_style & CentreParent) && parentWidget())
        frame.moveCenter(parentWidget()->frameGeometry().center());
    move(frame.topLeft());
    m_textRect = QRect(QPoint(0, 0), size).adjusted(kTextMargin, kTextMargin, -kTextMargin, -kTextMargin);
    if (m_style & HideOnAnyInput)
        qApp->installEventFilter(this);

    if ((m_style & FadeIn) && CanFade()) {
        setWindowOpacity(0.0);
        show();
        m_fade = new QPropertyAnimation(this, "windowOpacity", this);
        m_fade->setDuration(kFadeInMilliseconds);
        m_fade->setStartValue(0.0);
        m_fade->setEndValue(1.0);
        m_fade->start();
    } else {
        show();
    }
    if (m_timeout != 0)
        m_timer.start(m_timeout);
    return TRUE;
}

void CSplashScreenEx::FireTimer()
{
    m_timer.stop();
    // A box of start-up is waiting for the user: the splash stays until it
    // is answered, beneath it.
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != this) {
        modal->raise();
        m_timer.start(kWaitForBoxMilliseconds);
        return;
    }
    Hide();
}

void CSplashScreenEx::Hide()
{
    if (m_hiding)
        return;
    m_hiding = true;
    m_timer.stop();
    if ((m_style & FadeOut) && CanFade() && isVisible()) {
        if (m_fade)
            m_fade->stop();
        auto* fade = new QPropertyAnimation(this, "windowOpacity", this);
        fade->setDuration(kFadeOutMilliseconds);
        fade->setStartValue(windowOpacity());
        fade->setEndValue(0.0);
        connect(fade, &QPropertyAnimation::finished, this, &QWidget::close);
        fade->start();
        return;
    }
    close();
}

void CSplashScreenEx::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_bitmap);
    painter.setFont(m_font);
    painter.setPen(m_textColour);
    painter.drawText(m_textRect, Qt::AlignRight | Qt::AlignBottom | Qt::TextSingleLine, m_text);
}

void CSplashScreenEx::mousePressEvent(QMouseEvent*)
{
    Hide();
}

void CSplashScreenEx::keyPressEvent(QKeyEvent*)
{
    Hide();
}

bool CSplashScreenEx::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
        Hide();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
