#pragma once
// The window of "Barcodes": maps the control ids of CBarcodeSettingsDialog
// to its widgets and hands the notifications to the model, which decides.

#include "designer/resources/ui/BarcodeSettingsDialog.h"

#include <QDialog>

class CBarcodeSettingsDialogView : public QDialog
{
    Q_OBJECT

public:
    explicit CBarcodeSettingsDialogView(QWidget* parent = nullptr);
    ~CBarcodeSettingsDialogView() override;

    CBarcodeSettingsDialog& Model() { return m_model; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Widgets into the model, the handler, then the model back.
    void Handle(void (CBarcodeSettingsDialog::*handler)());
    void OnOK();
    void FocusFailedControl();

    CBarcodeSettingsDialog m_model;
    bool m_initialised = false;
    // The view moves the focus itself: not the user leaving the description.
    bool m_movingFocus = false;
};

// Makes CBarcodeManager::EditBarcode run the dialog modally. Called once at
// start-up; registers the dialog's texts.
void InstallBarcodeSettingsDialog();
