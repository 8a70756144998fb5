#include "platform/ui/qt/UpDownControl.h"

#include "platform/ui/DialogModel.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

CUpDownControl::CUpDownControl(QWidget* parent)
    : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {m_up, m_down}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(16, 11);
    }
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_up);
    layout->addWidget(m_down);
    connect(m_up, &QToolButton::clicked, this, [this] { Step(+1); });
    connect(m_down, &QToolButton::clicked, this, [this] { Step(-1); });
}

void CUpDownControl::SetBuddy(QLineEdit* buddy)
{
    if (m_buddy)
        m_buddy->removeEventFilter(this);
    m_buddy = buddy;
    if (m_buddy)
        m_buddy->installEventFilter(this);
}

void CUpDownControl::SetRange(int minimum, int maximum)
{
    m_min = std::min(minimum, maximum);
    m_max = std::max(minimum, maximum);
}

void CUpDownControl::Step(int direction)
{
    if (!m_buddy)
        return;
    // A text that is no number steps from the lower end.
    long long value = ParseDialogInt(m_buddy->text()).value_or(m_min);
    value = std::clamp<long long>(value, m_min, m_max);
    value += direction;
    if (value > m_max)
        value = m_wrap ? m_min : m_max;
    else if (value < m_min)
        value = m_wrap ? m_max : m_min;
    m_buddy->setText(QString::number(value));
    m_buddy->setModified(true);
}

bool CUpDownControl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_buddy && event->type() == QEvent::KeyPress && isEnabled()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
