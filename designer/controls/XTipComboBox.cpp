#include "designer/controls/XTipComboBox.h"

#include <QAbstractItemView>
#include <QCursor>
#include <QMouseEvent>
#include <QStyle>

namespace {

constexpr int kTipCheckMs = 80;

} // namespace

CTrackingTip::CTrackingTip()
    : QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAutoFillBackground(true);
    setTextFormat(Qt::PlainText);
    setContentsMargins(0, 0, 0, 0);
}

void CTrackingTip::ShowAt(const QPoint& globalTopLeft, const QString& text, const QColor& textColour,
                          const QColor& back)
{
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, textColour);
    pal.setColor(QPalette::Window, back);
    setPalette(pal);
    setText(text);
    adjustSize();
    move(globalTopLeft);
    show();
    raise();
}

CXTipListBox::CXTipListBox(QAbstractItemView* view) : QObject(view), m_view(view)
{
    m_tip.setFont(view->font());
    view->setMouseTracking(true);
    view->viewport()->setMouseTracking(true);
    view->viewport()->installEventFilter(this);
    m_timer.setInterval(kTipCheckMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        const QPoint pos = m_view->viewport()->mapFromGlobal(QCursor::pos());
        if (!m_view->viewport()->rect().contains(pos) || !m_view->isVisible()) {
            m_tip.hide();
            m_timer.stop();
        }
    });
}

bool CXTipListBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove)
        Hover(static_cast<QMouseEvent*>(event)->position().toPoint());
    else if (event->type() == QEvent::Leave || event->type() == QEvent::Hide) {
        m_tip.hide();
        m_lastItem = -1;
    }
    return QObject::eventFilter(watched, event);
}

void CXTipListBox::Hover(const QPoint& pos)
{
    if (!m_view->viewport()->rect().contains(pos)) {
        m_tip.hide();
        m_lastItem = -1;
        return;
    }
    const QModelIndex index = m_view->indexAt(pos);
    const int item = index.isValid() ? index.row() : -1;
    if (item == m_lastItem)
        return;
    m_lastItem = item;
    const QRect rect = m_view->visualRect(index);
    const QString text = index.data().toString();
    if (item < 0 || m_view->fontMetrics().horizontalAdvance(text) <= rect.width() - 3) {
        m_tip.hide();
        return;
    }
    const QPalette& pal = m_view->palette();
    m_tip.ShowAt(m_view->viewport()->mapToGlobal(rect.topLeft()), text, pal.color(QPalette::HighlightedText),
                 pal.color(QPalette::Highlight));
    m_timer.start();
}

CXTipComboBox::CXTipComboBox(QWidget* parent) : QComboBox(parent)
{
    setMouseTracking(true);
    m_tip.setFont(font());
    m_timer.setInterval(kTipCheckMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (!TextArea().contains(mapFromGlobal(QCursor::pos()))) {
            m_tip.hide();
            m_timer.stop();
        }
    });
}

CXTipComboBox::~CXTipComboBox() = default;

QRect CXTipComboBox::TextArea() const
{
    const int button = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) + 2;
    return rect().adjusted(0, 0, -button, 0);
}

void CXTipComboBox::showPopup()
{
    if (!m_listBox)
        m_listBox = new CXTipListBox(view());
    QComboBox::showPopup();
}

void CXTipComboBox::mouseMoveEvent(QMouseEvent* event)
{
    const QRect area = TextArea();
    const QString text = currentText();
    if (area.contains(event->position().toPoint()) && fontMetrics().horizontalAdvance(text) > area.width() - 6) {
        const QPalette& pal = palette();
        const bool focused = hasFocus();
        m_tip.ShowAt(mapToGlobal(area.topLeft() + QPoint(1, 3)), text,
                     pal.color(focused ? QPalette::HighlightedText : QPalette::Text),
                     pal.color(focused ? QPalette::Highlight : QPalette::Base));
        m_timer.start();
    } else {
        m_tip.hide();
    }
    QComboBox::mouseMoveEvent(event);
}
