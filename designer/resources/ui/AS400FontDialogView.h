#pragma once
// The window of the "Font" dialog: maps the control ids of CAS400FontDialog
// to its widgets and hands the lists and buttons to the model. The three
// lists draw the model's items; the sample button takes the display font of
// the shown size.

#include "designer/resources/ui/AS400FontDialog.h"

#include <QDialog>

class QPushButton;

class CAS400FontDialogView : public QDialog
{
    Q_OBJECT

public:
    explicit CAS400FontDialogView(QWidget* parent = nullptr);
    ~CAS400FontDialogView() override;

    CAS400FontDialog& Model() { return m_model; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowModel();

    CAS400FontDialog m_model;
    QPushButton* m_sample = nullptr;
    bool m_initialised = false;
    // Set while the model's state is being shown, so the lists' own
    // selection signals do not feed back into it.
    bool m_showing = false;
};
