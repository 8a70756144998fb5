#pragma once
// The window of "Output": maps the control ids of COutputDeviceDialog to its
// widgets and hands the user's actions to the model, which decides. Both
// name fields take host names only (upper case, at most 10 characters, no
// blank, quote, apostrophe or dash, no digit first).

#include "designer/output/ui/OutputDeviceDialog.h"

#include <QDialog>

class COutputDeviceDialogView : public QDialog
{
public:
    explicit COutputDeviceDialogView(QWidget* parent = nullptr);
    ~COutputDeviceDialogView() override;

    COutputDeviceDialog& Model() { return m_model; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Widgets to model, then the action.
    void Run(void (COutputDeviceDialog::*action)());
    void OnOK();

    COutputDeviceDialog m_model;
};

// Fills the seam of COutputDeviceManager::SelectDevice with this dialog.
void InstallOutputDeviceDialog();
