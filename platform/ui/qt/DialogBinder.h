#pragma once
// Binds a CDialogModel to the widgets of a dialog: each control is the child
// whose objectName is its id in decimal. Line and multi-line edits carry
// text, combo boxes items, selection and (editable) text, buttons their
// check, list widgets items and selection, every widget its enabled state.
//
// Number edits stay plain line edits: a spin box or a validator would refuse
// or clamp what the user typed and swallow the data exchange's message.

#include "platform/ui/DialogModel.h"

#include <QString>

class QLineEdit;
class QWidget;

QWidget* FindDialogControl(QWidget* dialog, int id);

// Names the widget with its control id, for the lookups above.
template <class Widget>
Widget* NameDialogControl(Widget* widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}

// Model to widgets (after CDialogModel::Push) and widgets to model (before
// CDialogModel::Pull).
void ShowDialogModel(const CDialogModel& model, QWidget* dialog);
void ReadDialogModel(CDialogModel& model, QWidget* dialog);

// The framework's UpdateData: true pushes, false reads, pulls and, on a
// failure, focuses the control named with its text selected.
bool UpdateData(CDialogModel& model, QWidget* dialog, bool saveAndValidate);

// The focus on the control of the id, its text selected; nothing for an id
// no control has.
void FocusDialogControl(QWidget* dialog, int id);
// After a failed pull: the focus on the control named, its text selected.
void FocusFailedControl(const CDialogModel& model, QWidget* dialog);

// Typed characters other than digits are refused with a beep.
void SetDigitsOnly(QLineEdit* edit);

// Limits what the user types or pastes to maxChars; a longer text set by the
// program stays whole (QLineEdit::setMaxLength would cut it), so the data
// exchange can refuse it with its message.
void LimitTypedLength(QLineEdit* edit, int maxChars);
