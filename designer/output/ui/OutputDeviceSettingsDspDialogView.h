#pragma once
// The window of "Output Device Settings - (*DSP)": maps the control ids of
// COutputDeviceSettingsDspDialog to its widgets and hands the buttons to the
// model, which decides. The model is created with the window; the caller
// gives it the device (Model().SetDevice) and runs the window modally.

#include "designer/output/ui/OutputDeviceSettingsDspDialog.h"

#include <QDialog>

class COutputDeviceSettingsDspDialogView : public QDialog
{
    Q_OBJECT

public:
    explicit COutputDeviceSettingsDspDialogView(QWidget* parent = nullptr);
    ~COutputDeviceSettingsDspDialogView() override;

    COutputDeviceSettingsDspDialog& Model() { return m_model; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnOK();

    COutputDeviceSettingsDspDialog m_model;
};
