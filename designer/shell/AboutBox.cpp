#include "designer/shell/AboutBox.h"

#include "designer/document/DesignerDoc.h"
#include "designer/shell/AppStrings.h"
#include "designer/shell/ProgramVersion.h"
#include "platform/ui/StringTable.h"

#include <QCursor>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

int StepTowards(int from, int to)
{
    return from < to ? 1 : (from > to ? -1 : 0);
}

const QColor kStaticText(124, 130, 132);

// The newest JVX version the export writes.
constexpr int kNewestJvxVersion = 28;

} // namespace

QRect CreepStep(const QRect& box, const QPoint& okCentre, const QPoint& pointer, const QRect& bounds)
{
    const QPoint wanted = pointer - okCentre;
    QRect moved = box.translated(StepTowards(box.left(), wanted.x()), StepTowards(box.top(), wanted.y()));
    if (moved.right() > bounds.right())
        moved.moveRight(bounds.right());
    if (moved.bottom() > bounds.bottom())
        moved.moveBottom(bounds.bottom());
    if (moved.left() < bounds.left())
        moved.moveLeft(bounds.left());
    if (moved.top() < bounds.top())
        moved.moveTop(bounds.top());
    return moved;
}

CAboutBox::CAboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(LoadResString(AppString::AboutTitle));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, kStaticText);
    setPalette(white);
    setMouseTracking(true);

    auto* picture = new QLabel(this);
    picture->setPixmap(DrawBrandBitmap());

    m_version = new QLabel(GetVersionText(), this);
    m_version->setObjectName(QStringLiteral("Version"));
    auto* documentVersion =
        new QLabel(LoadResString(AppString::AboutDocumentVersion)
                       .replace(QStringLiteral("%d"), QString::number(CDesignerDoc::kCurrentVersion)),
                   this);
    documentVersion->setObjectName(QStringLiteral("DocumentVersion"));
    auto* jvxVersion = new QLabel(
        LoadResString(AppString::AboutJvxVersion).replace(QStringLiteral("%d"), QString::number(kNewestJvxVersion)),
        this);
    jvxVersion->setObjectName(QStringLiteral("JvxVersion"));
    auto* dbcs = new QLabel(LoadResString(AppString::DbcsEnabled), this);
    auto* legal = new QLabel(LoadResString(AppString::AboutLegalNotice), this);
    legal->setWordWrap(true);

    m_ok = new QPushButton(LoadResString(AppString::ButtonOk), this);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(m_version);
    layout->addWidget(documentVersion);
    layout->addWidget(jvxVersion);
    layout->addWidget(dbcs);
    layout->addWidget(legal);
    layout->addWidget(m_ok, 0, Qt::AlignRight);

    m_idleTimer.setSingleShot(true);
    m_idleTimer.setInterval(kIdleMilliseconds);
    connect(&m_idleTimer, &QTimer::timeout, this, [this] { OnTimer(kIdleTimer); });
    m_creepTimer.setInterval(kCreepMilliseconds);
    connect(&m_creepTimer, &QTimer::timeout, this, [this] { OnTimer(kCreepTimer); });
    m_idleTimer.start();
    m_pointer = QCursor::pos();
}

CAboutBox::~CAboutBox()
{
    m_idleTimer.stop();
    m_creepTimer.stop();
    ReleaseCapture();
}

void CAboutBox::ReleaseCapture()
{
    if (m_capturing) {
        releaseMouse();
        m_capturing = false;
    }
}

QRect CAboutBox::CreepBounds() const
{
    if (const QWidget* owner = parentWidget())
        return QRect(owner->mapToGlobal(QPoint(0, 0)), owner->size());
    if (const QScreen* screen = this->screen())
        return screen->availableGeometry();
    return {};
}

void CAboutBox::OnTimer(int timer)
{
    if (timer == kIdleTimer) {
        m_idleTimer.stop();
        m_creepTimer.start();
        return;
    }
    if (timer != kCreepTimer)
        return;
    ++m_ticks;
    if (m_ticks == kTicksBeforeCreep) {
        m_okRect = m_ok->geometry();
        m_okCentre = m_okRect.center() + (geometry().topLeft() - frameGeometry().topLeft());
        grabMouse();
        m_capturing = true;
        return;
    }
    if (m_ticks < kTicksBeforeCreep)
        return;
    const QRect bounds = CreepBounds();
    if (bounds.isEmpty())
        return;
    const QRect moved = CreepStep(frameGeometry(), m_okCentre, m_pointer, bounds);
    if (moved.topLeft() != frameGeometry().topLeft())
        move(moved.topLeft());
}

void CAboutBox::mouseMoveEvent(QMouseEvent* event)
{
    m_pointer = event->globalPosition().toPoint();
    QDialog::mouseMoveEvent(event);
}

void CAboutBox::mousePressEvent(QMouseEvent* event)
{
    if (m_capturing && event->button() == Qt::LeftButton && m_okRect.contains(event->position().toPoint())) {
        ReleaseCapture();
        accept();
        return;
    }
    QDialog::mousePressEvent(event);
}
