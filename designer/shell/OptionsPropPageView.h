#pragma once
// The widgets of an Options page over its model: each control is the child
// named with its id, the labels come from the string table under the page's
// dialog id, and events go to the model's handlers. The view decides
// nothing; a page's view lays out its controls with the helpers below.

#include "designer/shell/OptionsPropPage.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class COptionsPropPageView : public QWidget
{
public:
    ~COptionsPropPageView() override;

    COptionsPropPage& Model() const { return m_model; }

    // The data exchange through the widgets; a failure has been reported
    // and the focus is on the control.
    bool UpdateData(bool saveAndValidate);
    // The sheet's OK for the page, after its values were taken.
    virtual void Apply();

protected:
    COptionsPropPageView(COptionsPropPage& model, QWidget* parent);

    // After the page made its controls: the model fills its lists and is shown.
    void InitDialog();
    // Runs a handler of the model on what the widgets hold now and shows the
    // result; a handler answers false when the data exchange refused a
    // value, which keeps the user's text and takes the focus.
    void Forward(const std::function<bool()>& handler);
    // After the model's state went to the widgets.
    virtual void AfterShow() {}

    QLabel* Label(int controlId);
    QLineEdit* Edit(int id, int maxChars = 0);
    QLineEdit* DigitsEdit(int id);
    QComboBox* DropList(int id);
    QCheckBox* Check(int id);
    QPushButton* Button(int id);
    QGroupBox* Group(int captionId);

    void Show();

private:
    COptionsPropPage& m_model;
};
