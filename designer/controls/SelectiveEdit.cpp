#include "designer/controls/SelectiveEdit.h"

#include "platform/ui/PromptService.h"

#include <QKeyEvent>

CSelectiveEdit::CSelectiveEdit(QWidget* parent) : QLineEdit(parent)
{
    // textChanged covers every road in: typing, paste, drop, delete, undo
    // and setText, which is not virtual.
    connect(this, &QLineEdit::textChanged, this, [this] { Clean(); });
}

bool CSelectiveEdit::IsCharAllowed(QChar c, bool first) const
{
    if (m_refused.contains(c))
        return false;
    return !(first && m_refusedFirst.contains(c));
}

QString CSelectiveEdit::CleanText(const QString& text, bool beep) const
{
    QString clean = (m_caseMode == 1 || m_caseMode == 2) ? text.toUpper() : text;
    for (const QChar c : m_refused)
        clean.remove(c);
    // A host name must not begin with a refused character, even once the
    // first one is gone.
    qsizetype dropped = 0;
    while (dropped < clean.size() && m_refusedFirst.contains(clean[dropped]))
        ++dropped;
    if (dropped > 0) {
        clean.remove(0, dropped);
        if (beep)
            Prompts().MessageBeep(MB_SIMPLEBEEP);
    }
    if (m_maxLength > 0 && clean.size() > m_maxLength) {
        clean.truncate(m_maxLength);
        if (beep)
            Prompts().MessageBeep(MB_SIMPLEBEEP);
    }
    return clean;
}

void CSelectiveEdit::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    if (typed.size() == 1 && typed[0].isPrint() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const int selStart = hasSelectedText() ? selectionStart() : cursorPosition();
        if (!IsCharAllowed(typed[0], selStart == 0)) {
            Prompts().MessageBeep(MB_SIMPLEBEEP);
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void CSelectiveEdit::Clean()
{
    if (m_cleaning)
        return;
    const QString current = text();
    const QString clean = CleanText(current, true);
    if (clean == current)
        return;
    const bool selected = hasSelectedText();
    const int start = selected ? selectionStart() : cursorPosition();
    const int length = selected ? static_cast<int>(selectedText().size()) : 0;
    const int size = static_cast<int>(clean.size());
    m_cleaning = true;
    setText(clean);
    m_cleaning = false;
    const int from = std::min(start, size);
    if (length > 0)
        setSelection(from, std::min(length, size - from));
    else
        setCursorPosition(from);
    setModified(true);
}
