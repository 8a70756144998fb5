#pragma once
// The widgets of a device settings page over its model: each control is the
// child named with its id, the labels come from the string table under the
// dialog's id, and events go to the model's handlers. The view decides
// nothing; a page's view lays out its controls with the helpers below and
// connects them to the model.

#include "designer/output/ui/OutputDevicePropPage.h"

#include <QWidget>

#include <functional>
#include <vector>

class CComboBoxClr;
class CloseUpNotifier;
class CUpDownControl;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QRadioButton;

class COutputDevicePropPageView : public QWidget
{
public:
    ~COutputDevicePropPageView() override;

    COutputDevicePropPage& Model() const { return m_model; }

    // The data exchange through the widgets; a failure has been reported
    // and the focus is on the control.
    bool UpdateData(bool saveAndValidate);
    // The sheet's OK for the page.
    bool Apply();
    // The page became active: the model may reload, the widgets follow.
    void Activate();

protected:
    COutputDevicePropPageView(COutputDevicePropPage& model, QWidget* parent);

    // After the page made its controls: the model's OnInitDialog, the
    // up-down controls set up, the model shown.
    void InitDialog();

    // Runs a handler of the model on what the widgets hold now and shows the
    // result; a handler answers false when the data exchange failed.
    void Forward(const std::function<bool()>& handler);

    QLabel* Label(int controlId);
    QLineEdit* Edit(int id, int maxChars);
    QLineEdit* NumberEdit(int id, int maxChars = 0);
    QComboBox* DropList(int id);
    QRadioButton* Radio(int id);
    QCheckBox* Check(int id);
    QGroupBox* Group(int captionId);
    CUpDownControl* UpDown(int id, QLineEdit* buddy);
    // A number edit of the width with its up-down control, as one field.
    QHBoxLayout* NumberWithUpDown(int editId, int upDownId, int width);

    // A static text that shows the control's value.
    QLabel* StaticText(int id);
    // A drop-down list that calls closedUp, through Forward, each time its
    // list closes, whether or not an entry was chosen.
    QComboBox* DropListWithCloseUp(int id, std::function<void()> closedUp);
    // The same, drawing its entries in the colours the callback gives.
    CComboBoxClr* ColourDropListWithCloseUp(int id, std::function<void()> closedUp);
    // After the model's state went to the widgets: for what a page shows
    // beyond the controls' state (the data of a list's entries).
    virtual void AfterShow() {}
    // An edit whose typing is shown in upper case.
    QLineEdit* UpperEdit(int id, int maxChars);
    // Runs handler when widget loses the focus, but not to a list or menu
    // popping up; a message the handler shows takes the focus without a
    // second run.
    void OnFocusOut(QWidget* widget, std::function<void()> handler);
    // Tab goes through these controls in this order, wherever their
    // layouts put them.
    void ChainTabOrder(const std::vector<int>& ids);

private:
    void Show();
    void FocusFailedControl();

    COutputDevicePropPage& m_model;
    // Gone before the widgets they watch, which may lose the focus as they go.
    std::vector<QObject*> m_focusOutFilters;
    template <class Box>
    Box* CloseUpList(int id, std::function<void()> closedUp);

    // Lists whose close-up the page hears, silenced when the page goes.
    std::vector<CloseUpNotifier*> m_closeUpLists;
};
