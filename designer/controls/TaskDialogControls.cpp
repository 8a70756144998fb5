#include "designer/controls/TaskDialogControls.h"
#include "designer/preferences/ColourRef.h"

#include "designer/controls/TaskDialogLayout.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

CXTaskDialogStatic::CXTaskDialogStatic(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(true);
    setMargin(0);
    setIndent(0);
    setContentsMargins(0, 0, 0, 0);
}

void CXTaskDialogStatic::SetWindowText(const QString& text)
{
    setText(text);
}

void CXTaskDialogStatic::paintEvent(QPaintEvent* event)
{
    {
        QPainter painter(this);
        painter.fillRect(rect(), kwvd::ToQColor(m_crBackground));
    }
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, kwvd::ToQColor(m_crText));
    colours.setColor(QPalette::Text, kwvd::ToQColor(m_crText));
    if (colours != palette())
        setPalette(colours);
    QLabel::paintEvent(event);
}

CXTaskDialogLinkStatic::CXTaskDialogLinkStatic(QWidget* parent) : CXTaskDialogStatic(parent)
{
    setTextFormat(Qt::RichText);
    setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    setOpenExternalLinks(false);
    connect(this, &QLabel::linkActivated, this, &CXTaskDialogLinkStatic::LinkClicked);
}

void CXTaskDialogLinkStatic::SetWindowText(const QString& text)
{
    setText(ToRichText(text));
}

QString CXTaskDialogLinkStatic::ToRichText(const QString& text)
{
    // A link control reads its tags in either case.
    static const QString openTag = QStringLiteral("<a href=");
    static const QString closeTag = QStringLiteral("</a>");
    QString html;
    qsizetype at = 0;
    auto escapePlain = [](const QString& plain) {
        return plain.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>"));
    };
    while (at < text.size()) {
        const qsizetype open = text.indexOf(openTag, at, Qt::CaseInsensitive);
        if (open < 0)
            break;
        const qsizetype tagEnd = text.indexOf(u'>', open);
        const qsizetype close = tagEnd < 0 ? -1 : text.indexOf(closeTag, tagEnd, Qt::CaseInsensitive);
        if (close < 0)
            break;
        QString target = text.mid(open + openTag.size(), tagEnd - open - openTag.size()).trimmed();
        if (target.size() >= 2 && (target.front() == u'"' || target.front() == u'\'')
            && target.back() == target.front())
            target = target.mid(1, target.size() - 2);
        html += escapePlain(text.mid(at, open - at));
        html += QStringLiteral("<a href=\"%1\">%2</a>")
                    .arg(target.toHtmlEscaped(), escapePlain(text.mid(tagEnd + 1, close - tagEnd - 1)));
        at = close + closeTag.size();
    }
    html += escapePlain(text.mid(at));
    return html;
}

CXTaskDialogIconStatic::CXTaskDialogIconStatic(QWidget* parent) : QWidget(parent) {}

void CXTaskDialogIconStatic::paintEvent(QPaintEvent*)
{
    if (m_icon == nullptr || m_icon->isNull())
        return;
    const int size = m_bLarge ? 32 : 16;
    QPainter painter(this);
    painter.drawPixmap(QRect(0, 0, size, size), *m_icon);
}

CXTaskDialogButton::CXTaskDialogButton(Kind kind, QWidget* parent) : QCheckBox(parent), m_kind(kind)
{
    setTristate(false);
}

void CXTaskDialogButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    painter.fillRect(rect(), kwvd::ToQColor(m_crErase));
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(m_kind == Kind::Radio ? QStyle::CE_RadioButton : QStyle::CE_CheckBox, option);
}

void CXTaskDialogButton::nextCheckState()
{
    // A radio button is checked by its click, never cleared by it.
    if (m_kind == Kind::Radio)
        setChecked(true);
    else
        QCheckBox::nextCheckState();
}

CXTaskDialogCommandLink::CXTaskDialogCommandLink(QWidget* parent) : QPushButton(parent)
{
    setMouseTracking(true);
    setAutoDefault(false);
    setFlat(true);
}

BOOL CXTaskDialogCommandLink::Init(const QFont& titleFont, const QFont& noteFont, const QPixmap* shield,
                                   const QPixmap* arrow, const QPixmap* hotArrow)
{
    m_titleFont = titleFont;
    m_noteFont = noteFont;
    m_shield = shield;
    m_arrow = arrow;
    m_hotArrow = hotArrow;
    return TRUE;
}

void CXTaskDialogCommandLink::SetImage(const QPixmap* image)
{
    m_image = image;
    update();
}

void CXTaskDialogCommandLink::SwapArrowIcon(bool toHot)
{
    if (toHot && m_image != nullptr && m_image == m_arrow)
        SetImage(m_hotArrow);
    else if (!toHot && m_image != nullptr && m_image == m_hotArrow)
        SetImage(m_arrow);
}

void CXTaskDialogCommandLink::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_bHot) {
        m_bHot = TRUE;
        SwapArrowIcon(true);
        update();
    }
    m_bTracking = TRUE;
    QPushButton::mouseMoveEvent(event);
}

void CXTaskDialogCommandLink::leaveEvent(QEvent* event)
{
    m_bTracking = FALSE;
    m_bHot = FALSE;
    SwapArrowIcon(false);
    update();
    QPushButton::leaveEvent(event);
}

void CXTaskDialogCommandLink::focusInEvent(QFocusEvent* event)
{
    const Qt::FocusReason reason = event->reason();
    m_focusCues = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
    QPushButton::focusInEvent(event);
}

void CXTaskDialogCommandLink::focusOutEvent(QFocusEvent* event)
{
    m_focusCues = false;
    QPushButton::focusOutEvent(event);
}

void CXTaskDialogCommandLink::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    DrawItem(painter);
}

void CXTaskDialogCommandLink::DrawItem(QPainter& painter)
{
    const QRect item = rect();
    const bool selected = isDown();
    const bool focused = hasFocus();

    painter.fillRect(item, Qt::white);
    const COLORREF pen = m_bHot ? kHotPen : (focused ? kFocusPen : kNormalPen);
    painter.setPen(kwvd::ToQColor(pen));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(item).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    if (selected)
        painter.fillRect(item.adjusted(1, 1, -1, -1), kwvd::ToQColor(kPressedFill));
    if (focused && m_focusCues) {
        QPen dotted(Qt::black, 1, Qt::DotLine);
        painter.setPen(dotted);
        painter.drawRect(item.adjusted(2, 3, -3, -4));
    }

    int textLeft = item.left() + 10;
    if (m_image != nullptr && !m_image->isNull()) {
        painter.drawPixmap(QRect(item.left() + 10, (item.height() - 16) / 2, 16, 16), *m_image);
        textLeft = item.left() + 36;
    }

    painter.setPen(kwvd::ToQColor(selected || !m_bHot ? kText : kHotText));
    const CommandLinkParts parts = SplitCommandLinkText(text());
    const int mnemonic = Qt::TextShowMnemonic;
    painter.setFont(m_titleFont);
    if (parts.note) {
        const int th = QFontMetrics(m_titleFont)
                           .boundingRect(item, Qt::TextSingleLine | Qt::TextExpandTabs | mnemonic, parts.title)
                           .height();
        painter.drawText(QRect(QPoint(textLeft, 10), QPoint(item.right() - 10, th + 10 - 1)),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextExpandTabs | mnemonic,
                         parts.title);
        painter.setFont(m_noteFont);
        const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs;
        const int nh = QFontMetrics(m_noteFont).boundingRect(item, flags, *parts.note).height();
        painter.drawText(QRect(QPoint(textLeft, th + 15), QPoint(item.right() - 10, th + 15 + nh - 1)), flags,
                         *parts.note);
    } else {
        const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextExpandTabs | mnemonic;
        const int th = QFontMetrics(m_titleFont).boundingRect(item, flags, parts.title).height();
        const int top = (item.height() - th) / 2;
        painter.drawText(QRect(QPoint(textLeft, top), QPoint(item.right() - 10, top + th - 1)), flags, parts.title);
    }
}
