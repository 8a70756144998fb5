#include "designer/shell/HyperStatic.h"

#include "designer/shell/AppStrings.h"
#include "platform/help/HtmlHelp.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptService.h"
#include "platform/ui/StringTable.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QUrl>

const QColor CHyperStatic::kNormal(0, 0, 255);
const QColor CHyperStatic::kVisited(0, 0, 0);
const QColor CHyperStatic::kHover(255, 0, 0);
const QColor CHyperStatic::kFocused(0, 0, 160);

namespace {

// The desktop says no more than that it could not open the link; the
// nearest of the shell's results is "no application associated".
constexpr int kDesktopOpenFailed = 31;

QColor Inverse(const QColor& colour)
{
    return QColor(255 - colour.red(), 255 - colour.green(), 255 - colour.blue());
}

} // namespace

CHyperStatic::CHyperStatic(QWidget* parent, DWORD flags) : QLabel(parent), m_flags(flags)
{
    setFocusPolicy((m_flags & FocusOnClick) ? Qt::ClickFocus : Qt::TabFocus);
    setMouseTracking(true);
    setTextFormat(Qt::PlainText);
    if (!(m_flags & NormalCursor))
        setCursor(Qt::PointingHandCursor);
    Subclass();
}

void CHyperStatic::Subclass()
{
    if (m_link.isEmpty())
        m_link = text();
    if (text().isEmpty())
        QLabel::setText(m_link);
    QFont linkFont = font();
    linkFont.setUnderline((m_flags & Underline) != 0);
    setFont(linkFont);
    setToolTip(m_link);
    ApplyColour();
    FitToText();
}

void CHyperStatic::SetLink(const QString& link)
{
    m_link = link;
    const bool shown = isVisible();
    if (shown)
        hide();
    Subclass();
    if (shown)
        show();
}

void CHyperStatic::SetText(const QString& text)
{
    QLabel::setText(text);
    Subclass();
}

void CHyperStatic::FitToText()
{
    if (!(m_flags & SizeToText))
        return;
    const QFontMetrics metrics(font());
    const QSize textSize = metrics.size(Qt::TextSingleLine, text());
    const QMargins margins = contentsMargins();
    const QSize wanted(textSize.width() + margins.left() + margins.right(),
                       textSize.height() + margins.top() + margins.bottom());
    QRect area = geometry();
    const Qt::Alignment align = alignment();
    int left = area.left();
    if (align & Qt::AlignHCenter)
        left += (area.width() - wanted.width()) / 2;
    else if (align & Qt::AlignRight)
        left = area.left() + area.width() - wanted.width();
    int top = area.top();
    if (align & Qt::AlignVCenter)
        top += (area.height() - wanted.height()) / 2;
    setGeometry(QRect(QPoint(left, top), wanted));
    setFixedSize(wanted);
}

QColor CHyperStatic::LinkColour(DWORD flags, BOOL hovering, BOOL focused, BOOL visited, const QColor& buttonFace)
{
    QColor colour;
    if (hovering && (flags & HoverColour))
        colour = kHover;
    else if (focused && !(flags & NoFocusColour))
        colour = kFocused;
    else
        colour = visited ? kVisited : kNormal;
    if (colour.rgb() == buttonFace.rgb())
        colour = Inverse(colour);
    return colour;
}

QColor CHyperStatic::CurrentColour() const
{
    return LinkColour(m_flags, m_hovering, m_focused, m_visited, palette().color(QPalette::Button));
}

void CHyperStatic::ApplyColour()
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, CurrentColour());
    setPalette(colours);
    setAutoFillBackground(false);
    update();
}

void CHyperStatic::SetHovering(bool hovering)
{
    if ((m_hovering != FALSE) == hovering)
        return;
    m_hovering = hovering ? TRUE : FALSE;
    ApplyColour();
}

QString CHyperStatic::OpenErrorText(int result)
{
    QString reason;
    switch (result) {
    case 0:
    case 2:
    case 3:
    case 5:
    case 8:
    case 11:
    case 26:
    case 27:
    case 28:
    case 29:
    case 30:
    case 31:
    case 32:
        reason = LoadResString(AppString::LinkErrorFirst + static_cast<UINT>(result));
        break;
    default:
        reason = LoadResString(AppString::LinkErrorUnknown).replace(QStringLiteral("%d"), QString::number(result));
        break;
    }
    return LoadResString(AppString::LinkOpenFailed) + reason;
}

BOOL CHyperStatic::OpenLink()
{
    const QUrl url = QUrl::fromUserInput(m_link);
    if (url.isValid() && kwvd::OpenUrl(url)) {
        m_visited = TRUE;
        ApplyColour();
        return TRUE;
    }
    Prompts().MessageBeep(MB_ICONEXCLAMATION);
    Prompts().MessageBox(OpenErrorText(kDesktopOpenFailed), {}, MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}

void CHyperStatic::enterEvent(QEnterEvent* event)
{
    SetHovering(true);
    QLabel::enterEvent(event);
}

void CHyperStatic::leaveEvent(QEvent* event)
{
    SetHovering(false);
    QLabel::leaveEvent(event);
}

void CHyperStatic::mouseMoveEvent(QMouseEvent* event)
{
    SetHovering(rect().contains(event->position().toPoint()));
    QLabel::mouseMoveEvent(event);
}

void CHyperStatic::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        if (m_flags & FocusOnClick)
            setFocus(Qt::MouseFocusReason);
        if (m_flags & OpenOnButtonDown)
            OpenLink();
        event->accept();
        return;
    }
    QLabel::mousePressEvent(event);
}

void CHyperStatic::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        if (hasFocus() && !(m_flags & OpenOnButtonDown) && rect().contains(event->position().toPoint()))
            OpenLink();
        event->accept();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

void CHyperStatic::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space) {
        OpenLink();
        event->accept();
        return;
    }
    QLabel::keyPressEvent(event);
}

void CHyperStatic::focusInEvent(QFocusEvent* event)
{
    m_focused = TRUE;
    ApplyColour();
    QLabel::focusInEvent(event);
}

void CHyperStatic::focusOutEvent(QFocusEvent* event)
{
    m_focused = FALSE;
    m_hovering = FALSE;
    ApplyColour();
    QLabel::focusOutEvent(event);
}
