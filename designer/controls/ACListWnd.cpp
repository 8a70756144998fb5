#include "designer/controls/ACListWnd.h"

#include "designer/controls/ACEdit.h"
#include "platform/registry/Registry.h"
#include "platform/registry/RegistryStore.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

namespace {

constexpr int kBorder = 1;
constexpr int kScrollStepMs = 10;
constexpr int kOwnerCheckMs = 200;
constexpr int kHideAfterClickMs = 500;
constexpr int kAnimateUpTo = 50;
const QString kValuePrefix = QStringLiteral("SearchString");

} // namespace

CACListWnd::CACListWnd()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      m_VertBar(new QScrollBar(Qt::Vertical, this))
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    m_VertBar->setFocusPolicy(Qt::NoFocus);
    m_VertBar->hide();
    connect(m_VertBar, &QScrollBar::valueChanged, this, [this](int value) {
        if (value == m_lTopIndex)
            return;
        m_lTopIndex = std::clamp(value, 0, MaxTop());
        m_paintTop = m_lTopIndex;
        update();
    });
    m_ownerTimer.setInterval(kOwnerCheckMs);
    connect(&m_ownerTimer, &QTimer::timeout, this, [this] { CheckOwner(); });
    m_scrollTimer.setInterval(kScrollStepMs);
    connect(&m_scrollTimer, &QTimer::timeout, this, [this] { StepScrollAnimation(); });
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            HideList();
    });
}

CACListWnd::~CACListWnd()
{
    if (m_pKey)
        SaveSearchStrings();
    m_SearchList.clear();
    m_DisplayList.clear();
}

void CACListWnd::Attach(CACEdit* edit, QWidget* field)
{
    m_pEdit = edit;
    m_field = field;
    m_ItemHeight = QFontMetrics(font()).height();
    m_lCount = static_cast<int>(m_DisplayList.size());
    m_VertBar->setValue(0);
    LayoutScrollBar();
    SetScrollRange();
}

void CACListWnd::AddSearchString(const QString& text)
{
    if (text.size() <= 2 || m_SearchList.contains(text))
        return;
    m_SearchList.append(text);
    if (m_nMaxCount > 0 && m_SearchList.size() > m_nMaxCount)
        m_SearchList.remove(0, m_SearchList.size() - m_nMaxCount);
}

void CACListWnd::ClearSearchStrings()
{
    m_SearchList.clear();
    m_DisplayList.clear();
}

void CACListWnd::LoadSearchStrings(const kwvd::RegistryKey& root, const QString& subKey)
{
    ClearSearchStrings();
    m_pKey.reset();
    m_pKey = std::make_unique<CRegistry>(root, subKey);
    if (!m_pKey->GetKey())
        return;
    for (const auto& [name, value] : kwvd::RegistryStore::Instance().EnumValues(*m_pKey->GetKey())) {
        if (!name.startsWith(kValuePrefix) || value.Type() != kwvd::RegistryValueType::Text)
            continue;
        QString text = value.ToText();
        if (const qsizetype end = text.indexOf(QChar(u'\0')); end >= 0)
            text.truncate(end);
        if (!text.isEmpty())
            AddSearchString(text);
    }
}

void CACListWnd::SaveSearchStrings()
{
    if (!m_pKey || !m_pKey->GetKey())
        return;
    kwvd::RegistryStore& store = kwvd::RegistryStore::Instance();
    const kwvd::RegistryKey& key = *m_pKey->GetKey();
    for (qsizetype i = 0; i < m_SearchList.size(); ++i)
        store.WriteValue(key, kValuePrefix + QString::number(i), kwvd::RegistryValue::Text(m_SearchList[i]));
    for (qsizetype i = m_SearchList.size(); i < m_nMaxCount; ++i)
        store.DeleteValue(key, kValuePrefix + QString::number(i));
    m_pKey.reset();
}

QString CACListWnd::Shown(const QString& entry) const
{
    return m_PrefixChar.isNull() ? entry : QString(m_PrefixChar) + entry;
}

int CACListWnd::FindString(int startAfter, const QString& text, bool reuse)
{
    const int before = m_lCount;
    if (!reuse) {
        if (!m_field || startAfter > m_SearchList.size() || text.isEmpty()) {
            HideList();
            return -1;
        }
        m_DisplayList.clear();
        const QString wanted = text.toUpper();
        for (qsizetype i = std::max(0, startAfter + 1); i < m_SearchList.size(); ++i) {
            const QString candidate = Shown(m_SearchList[i]).toUpper();
            const bool match = (m_lMode & 0x20) ? candidate.contains(wanted) : candidate.startsWith(wanted);
            if (match)
                m_DisplayList.append(m_SearchList[i]);
        }
    }
    m_lCount = static_cast<int>(m_DisplayList.size());
    if (m_lCount == 0) {
        HideList();
        return 1;
    }

    const int rows = std::min(m_lCount, kMaxShownRows);
    const int height = rows * m_ItemHeight + 2 * kBorder;
    const QPoint below = m_field->mapToGlobal(QPoint(0, m_field->height()));
    QRect placed(below, QSize(m_field->width(), height));
    if (m_LastSize.isValid())
        placed.setSize(m_LastSize.size());
    setGeometry(placed);
    if (!isVisible()) {
        m_ParentRect = m_field->window()->geometry();
        m_ownerTimer.start();
        show();
    }
    raise();
    LayoutScrollBar();
    SetScrollRange();
    if (m_lCount != before)
        m_lSelItem = -1;
    std::sort(m_DisplayList.begin(), m_DisplayList.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    update();
    return 1;
}

void CACListWnd::ShowAll()
{
    m_DisplayList = m_SearchList;
    if (!m_DisplayList.isEmpty())
        FindString(-1, QString(), true);
}

void CACListWnd::HideList()
{
    m_ownerTimer.stop();
    m_scrollTimer.stop();
    m_lSelItem = -1;
    m_lTopIndex = 0;
    m_paintTop = 0;
    hide();
}

void CACListWnd::hideEvent(QHideEvent* event)
{
    m_ownerTimer.stop();
    QWidget::hideEvent(event);
}

void CACListWnd::CheckOwner()
{
    if (!m_field || m_field->window()->geometry() != m_ParentRect)
        HideList();
}

QString CACListWnd::GetString() const
{
    if (m_lSelItem >= 0 && m_lSelItem < m_DisplayList.size())
        return m_DisplayList[m_lSelItem];
    return m_DisplayList.isEmpty() ? QString() : m_DisplayList.first();
}

QString CACListWnd::SelectItem(int key)
{
    int sel = m_lSelItem;
    switch (key) {
    case Qt::Key_PageUp:
        sel = std::max(0, sel - m_VisibleItems);
        break;
    case Qt::Key_Home:
        sel = 0;
        break;
    case Qt::Key_PageDown:
        sel += m_VisibleItems;
        if (sel >= m_lCount - 1)
            sel = m_lCount - 1;
        break;
    case Qt::Key_End:
        sel = m_lCount - 1;
        break;
    case Qt::Key_Up:
        --sel;
        break;
    case Qt::Key_Down:
        ++sel;
        break;
    default:
        break;
    }
    m_lSelItem = std::clamp(sel, 0, std::max(0, m_lCount - 1));
    if (!EnsureVisible(m_lSelItem, m_lCount <= kAnimateUpTo))
        update();
    return GetString();
}

bool CACListWnd::RemoveSelected()
{
    const QString selected = GetString();
    if (selected.isEmpty())
        return false;
    m_DisplayList.removeAll(selected);
    m_SearchList.removeAll(selected);
    m_lCount = static_cast<int>(m_DisplayList.size());
    // A list with nothing left to offer closes rather than stand empty.
    if (m_lCount == 0) {
        HideList();
        return true;
    }
    if (m_lSelItem >= m_lCount)
        m_lSelItem = m_lCount - 1;
    SetScrollRange();
    EnsureVisible(std::max(0, m_lSelItem), m_lCount <= kAnimateUpTo);
    update();
    return true;
}

bool CACListWnd::EnsureVisible(int row, bool animate)
{
    const int top = m_lTopIndex;
    if (row >= top && row < top + m_VisibleItems)
        return false;
    int target = top;
    if (row > top) {
        while (target < m_lCount - m_VisibleItems && target + m_VisibleItems <= row)
            ++target;
    } else {
        while (target > 0 && target > row)
            --target;
    }
    m_lTopIndex = target;
    {
        const QSignalBlocker block(m_VertBar);
        m_VertBar->setValue(target);
    }
    // The state moves at once; the rows on screen follow one step per tick.
    if (animate && target != m_paintTop)
        m_scrollTimer.start();
    else
        m_paintTop = target;
    update();
    return true;
}

void CACListWnd::StepScrollAnimation()
{
    if (m_paintTop < m_lTopIndex)
        ++m_paintTop;
    else if (m_paintTop > m_lTopIndex)
        --m_paintTop;
    if (m_paintTop == m_lTopIndex)
        m_scrollTimer.stop();
    update();
}

bool CACListWnd::IsScrollBarShown() const
{
    return !m_VertBar->isHidden();
}

int CACListWnd::GripSide() const
{
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

QRect CACListWnd::GripRect() const
{
    const int side = GripSide();
    return QRect(width() - kBorder - side, height() - kBorder - side, side, side);
}

void CACListWnd::LayoutScrollBar()
{
    const int side = GripSide();
    const QRect client = rect().adjusted(kBorder, kBorder, -kBorder, -kBorder);
    m_VertBar->setGeometry(client.right() + 1 - side, client.top(), side, std::max(0, client.height() - side));
}

void CACListWnd::SetScrollRange()
{
    if (m_lCount == 0)
        return;
    const int clientHeight = height() - 2 * kBorder;
    m_VisibleItems = m_ItemHeight > 0 ? clientHeight / m_ItemHeight : 0;
    m_VertBar->setVisible(m_VisibleItems < m_lCount);
    if (m_lTopIndex + m_VisibleItems > m_lCount) {
        m_lTopIndex = MaxTop();
        m_paintTop = m_lTopIndex;
    }
    const QSignalBlocker block(m_VertBar);
    m_VertBar->setRange(0, MaxTop());
    m_VertBar->setPageStep(std::max(1, m_VisibleItems));
    m_VertBar->setValue(m_lTopIndex);
}

void CACListWnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutScrollBar();
    SetScrollRange();
    if (m_LastSize.isValid())
        m_LastSize = geometry();
}

int CACListWnd::HitTest(const QPoint& pos) const
{
    const int right = width() - kBorder - (IsScrollBarShown() ? m_VertBar->width() : 0);
    if (pos.x() < kBorder + 2 || pos.x() >= right || m_ItemHeight <= 0 || pos.y() < kBorder)
        return -1;
    const int row = m_lTopIndex + (pos.y() - kBorder) / m_ItemHeight;
    return row < m_lCount && row - m_lTopIndex < m_VisibleItems ? row : -1;
}

void CACListWnd::mouseMoveEvent(QMouseEvent* event)
{
    if (m_gripDrag) {
        const QPoint delta = event->globalPosition().toPoint() - m_gripStart;
        const int minWidth = m_field ? m_field->width() : 4 * GripSide();
        const int minHeight = std::min(2 * GripSide() + 4, m_lCount * m_ItemHeight + 2 * kBorder);
        resize(std::max(minWidth, m_gripStartRect.width() + delta.x()),
               std::max(minHeight, m_gripStartRect.height() + delta.y()));
        return;
    }
    setCursor(GripRect().contains(event->position().toPoint()) ? Qt::SizeFDiagCursor : Qt::ArrowCursor);
    const int row = HitTest(event->position().toPoint());
    if (row >= 0 && row != m_lSelItem) {
        m_lSelItem = row;
        update();
    }
}

void CACListWnd::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        HideList();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    if (GripRect().contains(pos)) {
        m_LastSize = geometry();
        m_gripDrag = true;
        m_gripStart = event->globalPosition().toPoint();
        m_gripStartRect = geometry();
        return;
    }
    const int row = HitTest(pos);
    if (row < 0)
        return;
    EnsureVisible(row, m_lCount <= kAnimateUpTo);
    m_lSelItem = row;
    update();
    if (m_pEdit)
        m_pEdit->OnEntryChosen();
    QTimer::singleShot(kHideAfterClickMs, this, [this] { HideList(); });
}

void CACListWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_gripDrag && event->button() == Qt::LeftButton) {
        m_gripDrag = false;
        m_LastSize = geometry();
    }
}

void CACListWnd::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        HideList();
    else
        QWidget::keyPressEvent(event);
}

void CACListWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& pal = palette();
    painter.fillRect(rect(), pal.color(QPalette::Base));
    const int right = width() - kBorder - (IsScrollBarShown() ? m_VertBar->width() : 0);
    const QFontMetrics metrics(font());
    for (int i = m_paintTop; i < m_lCount; ++i) {
        const int y = kBorder + m_ItemHeight * (i - m_paintTop);
        if (y >= height() - kBorder)
            break;
        QRect row(kBorder + 2, y, right - kBorder - 2, m_ItemHeight);
        if (i == m_lSelItem) {
            painter.fillRect(QRect(kBorder, y, right - kBorder, m_ItemHeight), pal.color(QPalette::Highlight));
            painter.setPen(pal.color(QPalette::HighlightedText));
        } else {
            painter.setPen(pal.color(QPalette::Text));
        }
        painter.drawText(row, Qt::AlignVCenter | Qt::TextSingleLine,
                         metrics.elidedText(Shown(m_DisplayList[i]), Qt::ElideRight, row.width()));
    }

    // The grip: diagonal lines in the window, face and shadow colours.
    const QRect grip = GripRect();
    if (IsScrollBarShown())
        painter.fillRect(grip, pal.color(QPalette::Button));
    const QColor pens[] = {pal.color(QPalette::Base), pal.color(QPalette::Button), pal.color(QPalette::Dark),
                           pal.color(QPalette::Dark)};
    painter.setClipRect(grip);
    for (int i = 0; i < 20; ++i) {
        painter.setPen(pens[i % 4]);
        painter.drawLine(grip.left() + i - 1, grip.bottom() + 1, grip.left() + i + grip.width(), grip.top() - 1);
    }
    painter.setClipping(false);
    painter.setPen(pal.color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
