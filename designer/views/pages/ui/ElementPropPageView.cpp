#include "designer/views/pages/ui/ElementPropPageView.h"

#include "designer/document/RegisteredMessages.h"
#include "platform/ui/qt/DialogBinder.h"
#include "platform/ui/qt/UpDownControl.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopedValueRollback>

CElementPropPageView::CElementPropPageView(CElementPropPage& model, QWidget* parent) : QWidget(parent), m_model(model)
{}

CElementPropPageView::~CElementPropPageView()
{
    m_model.DetachWindow();
}

void CElementPropPageView::InitDialog()
{
    m_model.AttachWindow([this] { Show(); });
    m_model.OnInitDialog();
    for (const PageControl& control : m_model.GetControlTable()) {
        QWidget* widget = FindDialogControl(this, control.id);
        if (widget == nullptr)
            continue;
        if (control.upDownId != 0) {
            if (auto* upDown = findChild<CUpDownControl*>(QString::number(control.upDownId))) {
                const auto [minimum, maximum] = UpDownRange(control.id);
                upDown->SetRange(minimum, maximum);
                upDown->SetWrap(false);
            }
        }
        const int id = control.id;
        auto changed = [this, id] {
            if (!m_showing)
                Notify(id, PageNotification::Change);
        };
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            // The user's typing and the up-down's steps; never the view's own push.
            connect(edit, &QLineEdit::textChanged, this, changed);
            edit->installEventFilter(this);
        } else if (auto* lines = qobject_cast<QPlainTextEdit*>(widget)) {
            connect(lines, &QPlainTextEdit::textChanged, this, changed);
            lines->installEventFilter(this);
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            connect(button, &QAbstractButton::clicked, this, [this, id] { Notify(id, PageNotification::Clicked); });
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            // A choice the user made in the list, never the view's own push.
            connect(combo, &QComboBox::activated, this, [this, id] { Notify(id, PageNotification::SelChange); });
        }
    }
    Show();
}

bool CElementPropPageView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        bool ok = false;
        const int id = watched->objectName().toInt(&ok);
        if (ok)
            Notify(id, PageNotification::KillFocus);
    }
    return QWidget::eventFilter(watched, event);
}

bool CElementPropPageView::event(QEvent* event)
{
    if (event->type() == RegisteredMessages::SetPageFocus()) {
        SetPageFocus();
        return true;
    }
    if (event->type() == RegisteredMessages::UpdateData()) {
        m_model.OnUpdateData();
        return true;
    }
    return QWidget::event(event);
}

void CElementPropPageView::Notify(int id, PageNotification notification)
{
    ReadWidgets();
    m_model.OnControlNotify(id, notification);
    Show();
    FocusFailedControl(m_model, this);
    AfterHandler(id);
}

void CElementPropPageView::Activate()
{
    ReadWidgets();
    m_model.OnSetActive();
    Show();
    QCoreApplication::postEvent(this, new CRegisteredMessageEvent(RegisteredMessages::SetPageFocus(), 0, 0));
}

void CElementPropPageView::SetPageFocus()
{
    QWidget* active = QApplication::activeWindow();
    const bool ours = active != nullptr && active == window();
    ReadWidgets();
    const std::optional<int> id = m_model.OnSetPageFocus(ours);
    Show();
    if (!id)
        return;
    if (QWidget* widget = FindDialogControl(this, *id))
        widget->setFocus(Qt::OtherFocusReason);
}

void CElementPropPageView::ReadWidgets()
{
    // The page decides what is enabled; a widget reads as disabled while
    // the sheet's window is, during a rebuild.
    std::vector<std::pair<int, bool>> enabled;
    for (const int id : m_model.ControlIds())
        enabled.emplace_back(id, m_model.FindControl(id)->enabled);
    ReadDialogModel(m_model, this);
    for (const auto& [id, on] : enabled)
        m_model.Control(id).enabled = on;
}

void CElementPropPageView::Show()
{
    const QScopedValueRollback<bool> showing(m_showing, true);
    ShowDialogModel(m_model, this);
    // Group titles are the model's texts of the group's id.
    for (QGroupBox* group : findChildren<QGroupBox*>()) {
        bool ok = false;
        const int id = group->objectName().toInt(&ok);
        if (const DialogControlState* state = ok ? m_model.FindControl(id) : nullptr; state && !state->text.isEmpty())
            group->setTitle(state->text);
    }
}

QLabel* CElementPropPageView::Label(int controlId)
{
    return new QLabel(m_model.GetLabel(controlId), this);
}

QLabel* CElementPropPageView::Static(int id)
{
    return NameDialogControl(new QLabel(this), id);
}

QLineEdit* CElementPropPageView::Edit(int id)
{
    return NameDialogControl(new QLineEdit(this), id);
}

QLineEdit* CElementPropPageView::NumberEdit(int id)
{
    QLineEdit* edit = Edit(id);
    SetDigitsOnly(edit);
    return edit;
}

QCheckBox* CElementPropPageView::Check(int id)
{
    return NameDialogControl(new QCheckBox(m_model.GetLabel(id), this), id);
}

QGroupBox* CElementPropPageView::Group(int id)
{
    return NameDialogControl(new QGroupBox(m_model.GetLabel(id), this), id);
}

CUpDownControl* CElementPropPageView::UpDown(int id, QLineEdit* buddy)
{
    auto* upDown = NameDialogControl(new CUpDownControl(this), id);
    upDown->SetBuddy(buddy);
    return upDown;
}

QLineEdit* CElementPropPageView::NumberRow(QGridLayout* into, int row, int editId, int spinId)
{
    QLineEdit* edit = NumberEdit(editId);
    into->addWidget(Label(editId), row, 0);
    into->addWidget(edit, row, 1);
    into->addWidget(UpDown(spinId, edit), row, 2);
    return edit;
}
