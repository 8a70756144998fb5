#include "designer/shell/OptionsPropPageView.h"

#include "platform/ui/qt/DialogBinder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

COptionsPropPageView::COptionsPropPageView(COptionsPropPage& model, QWidget* parent) : QWidget(parent), m_model(model)
{}

COptionsPropPageView::~COptionsPropPageView() = default;

bool COptionsPropPageView::UpdateData(bool saveAndValidate)
{
    const bool done = ::UpdateData(m_model, this, saveAndValidate);
    if (!saveAndValidate)
        AfterShow();
    return done;
}

void COptionsPropPageView::Apply()
{
    m_model.OnOK();
}

void COptionsPropPageView::InitDialog()
{
    m_model.OnInitDialog();
    Show();
}

void COptionsPropPageView::Forward(const std::function<bool()>& handler)
{
    ReadDialogModel(m_model, this);
    if (!handler()) {
        FocusFailedControl(m_model, this);
        return;
    }
    Show();
}

void COptionsPropPageView::Show()
{
    ShowDialogModel(m_model, this);
    AfterShow();
}

QLabel* COptionsPropPageView::Label(int controlId)
{
    return new QLabel(m_model.GetLabel(controlId), this);
}

QLineEdit* COptionsPropPageView::Edit(int id, int maxChars)
{
    auto* edit = NameDialogControl(new QLineEdit(this), id);
    LimitTypedLength(edit, maxChars);
    return edit;
}

QLineEdit* COptionsPropPageView::DigitsEdit(int id)
{
    QLineEdit* edit = Edit(id);
    SetDigitsOnly(edit);
    return edit;
}

QComboBox* COptionsPropPageView::DropList(int id)
{
    return NameDialogControl(new QComboBox(this), id);
}

QCheckBox* COptionsPropPageView::Check(int id)
{
    return NameDialogControl(new QCheckBox(m_model.GetLabel(id), this), id);
}

QPushButton* COptionsPropPageView::Button(int id)
{
    auto* button = NameDialogControl(new QPushButton(m_model.GetLabel(id), this), id);
    button->setAutoDefault(false);
    return button;
}

QGroupBox* COptionsPropPageView::Group(int captionId)
{
    return new QGroupBox(m_model.GetLabel(captionId), this);
}
