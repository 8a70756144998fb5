#pragma once
// The widgets of an element page over its model: each control is the child
// named with its id, labels come from the string table under the dialog's
// id, and the notifications of the model's control table go to the model:
// a user's edit of a number or text edit (never a change the program
// makes), the loss of the focus (also when the window is deactivated), a
// click. After each the view shows the model's state, leaving a control
// whose value did not change alone so that the caret stays where it is.

#include "designer/views/pages/ElementPropPage.h"

#include <QWidget>

class CUpDownControl;
class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;

class CElementPropPageView : public QWidget
{
public:
    CElementPropPageView(CElementPropPage& model, QWidget* parent);
    ~CElementPropPageView() override;

    CElementPropPage& Model() const { return m_model; }

    // The page became the active one: refresh, then the focus request is
    // posted to the page.
    void Activate();
    // The model's state into the widgets.
    void Show();

    // After the view made its controls: the model's dialog initialisation,
    // the up-down ranges and the notifications connected.
    void InitDialog();

protected:
    // The id the model's OnSetPageFocus chose gets the focus.
    void SetPageFocus();
    // After a handler ran: the page's own follow-up (the General page's history).
    virtual void AfterHandler(int /*id*/) {}
    // The up-down ranges, from the model.
    virtual std::pair<int, int> UpDownRange(int /*editId*/) const { return {0, 0x7FFF}; }

    // A notification of a control as the user made it, then the model's state shown.
    void Notify(int id, PageNotification notification);
    // The view is putting the model's state into the widgets: their signals
    // are the program's own, not the user's.
    bool IsShowing() const { return m_showing; }

    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

    QLabel* Label(int controlId);
    QLabel* Static(int id);
    QLineEdit* Edit(int id);
    QLineEdit* NumberEdit(int id);
    QCheckBox* Check(int id);
    QGroupBox* Group(int id);
    CUpDownControl* UpDown(int id, QLineEdit* buddy);
    // A number row of a grid: label, edit and its up-down; returns the edit.
    QLineEdit* NumberRow(QGridLayout* into, int row, int editId, int spinId);

private:
    void ReadWidgets();

    CElementPropPage& m_model;
    bool m_showing = false;
};
