#include "platform/ui/qt/DialogBinder.h"

#include "platform/ui/PromptService.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

namespace {

class DigitsOnlyFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const QString text = key->text();
            if (text.size() == 1 && text[0].isPrint() && !(text[0] >= u'0' && text[0] <= u'9')
                && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
                Prompts().MessageBeep(MB_SIMPLEBEEP);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

// Cuts what the user would add beyond the limit. A text that only shrinks,
// or that the program set, passes: the edit emits textEdited (for the user's
// changes only) before textChanged, so the text before the edit is at hand.
class TypedLengthLimit : public QObject
{
public:
    TypedLengthLimit(QLineEdit* edit, int maxChars) : QObject(edit), m_before(edit->text()), m_max(maxChars)
    {
        connect(edit, &QLineEdit::textEdited, this, [this, edit](const QString& text) { Limit(edit, text); });
        // The edit reports its text changed after textEdited, also when the
        // handler cut it meanwhile: keep what it holds now.
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { m_before = edit->text(); });
    }

private:
    void Limit(QLineEdit* edit, const QString& text)
    {
        const qsizetype before = m_before.size();
        if (text.size() <= m_max || text.size() <= before)
            return;
        const qsizetype cut = (text.size() - before) - std::max<qsizetype>(0, m_max - before);
        const int pos = edit->cursorPosition();
        QString kept = text;
        kept.remove(pos - cut, cut);
        edit->setText(kept);
        edit->setCursorPosition(static_cast<int>(pos - cut));
        edit->setModified(true);
    }

    QString m_before;
    qsizetype m_max;
};

} // namespace

QWidget* FindDialogControl(QWidget* dialog, int id)
{
    return dialog->findChild<QWidget*>(QString::number(id));
}

void ShowDialogModel(const CDialogModel& model, QWidget* dialog)
{
    for (const int id : model.ControlIds()) {
        QWidget* widget = FindDialogControl(dialog, id);
        const DialogControlState* state = model.FindControl(id);
        if (!widget || !state)
            continue;
        widget->setEnabled(state->enabled);
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            if (edit->text() != state->text)
                edit->setText(state->text);
        } else if (auto* lines = qobject_cast<QPlainTextEdit*>(widget)) {
            // Setting the text moves the caret: only a new text is set.
            if (lines->toPlainText() != state->text)
                lines->setPlainText(state->text);
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            QStringList current;
            for (int i = 0; i < combo->count(); ++i)
                current << combo->itemText(i);
            if (current != state->items) {
                combo->clear();
                combo->addItems(state->items);
            }
            // An edit that shows no entry and already reads the text keeps
            // its caret: the user may be typing in it.
            const bool typed = combo->isEditable() && state->selection < 0 && combo->currentIndex() < 0;
            if (!typed || combo->currentText() != state->text) {
                combo->setCurrentIndex(state->selection);
                if (combo->isEditable() && state->selection < 0)
                    combo->setEditText(state->text);
            }
        } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
            check->setCheckState(state->check == 2 ? Qt::PartiallyChecked : state->check ? Qt::Checked : Qt::Unchecked);
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            button->setChecked(state->check != 0);
        } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
            list->clear();
            list->addItems(state->items);
            list->setCurrentRow(state->selection);
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            label->setText(state->text);
        }
    }
}

void ReadDialogModel(CDialogModel& model, QWidget* dialog)
{
    for (const int id : model.ControlIds()) {
        QWidget* widget = FindDialogControl(dialog, id);
        if (!widget)
            continue;
        DialogControlState& state = model.Control(id);
        state.enabled = widget->isEnabled();
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            state.text = edit->text();
        } else if (auto* lines = qobject_cast<QPlainTextEdit*>(widget)) {
            state.text = lines->toPlainText();
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            state.items.clear();
            for (int i = 0; i < combo->count(); ++i)
                state.items << combo->itemText(i);
            state.selection = combo->currentIndex();
            state.text = combo->currentText();
        } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
            state.check = check->checkState() == Qt::PartiallyChecked ? 2 : check->isChecked() ? 1 : 0;
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            state.check = button->isChecked() ? 1 : 0;
        } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
            state.items.clear();
            for (int i = 0; i < list->count(); ++i)
                state.items << list->item(i)->text();
            state.selection = list->currentRow();
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            state.text = label->text();
        }
    }
}

bool UpdateData(CDialogModel& model, QWidget* dialog, bool saveAndValidate)
{
    if (!saveAndValidate) {
        model.Push();
        ShowDialogModel(model, dialog);
        return true;
    }
    ReadDialogModel(model, dialog);
    if (model.Pull())
        return true;
    FocusFailedControl(model, dialog);
    return false;
}

void FocusFailedControl(const CDialogModel& model, QWidget* dialog)
{
    FocusDialogControl(dialog, model.FailedControl());
}

void FocusDialogControl(QWidget* dialog, int id)
{
    QWidget* widget = id != 0 ? FindDialogControl(dialog, id) : nullptr;
    if (widget == nullptr)
        return;
    widget->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->selectAll();
    else if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit())
        combo->lineEdit()->selectAll();
}

void SetDigitsOnly(QLineEdit* edit)
{
    edit->installEventFilter(new DigitsOnlyFilter(edit));
}

void LimitTypedLength(QLineEdit* edit, int maxChars)
{
    if (maxChars > 0)
        new TypedLengthLimit(edit, maxChars);
}
