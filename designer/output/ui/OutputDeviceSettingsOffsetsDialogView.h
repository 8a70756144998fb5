#pragma once
// The window of "Printer Offsets": the widgets of the dialog model, each
// named by its control id, and the user's actions handed to the model. It
// owns its model, so the presets are read when the window is made and
// written when it goes.

#include "designer/output/ui/OutputDeviceSettingsOffsetsDialog.h"
#include "platform/ui/ReentryGuard.h"

#include <QDialog>

#include <functional>

class QComboBox;

class COutputDeviceSettingsOffsetsDialogView : public QDialog
{
    Q_OBJECT

public:
    // Without a parent window, as the settings page opens it.
    explicit COutputDeviceSettingsOffsetsDialogView(QWidget* parent = nullptr);
    ~COutputDeviceSettingsOffsetsDialogView() override;

    COutputDeviceSettingsOffsetsDialog& Model() { return m_model; }
    void SetDevice(COutputDevice* device);

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Widgets into the model, the handler, the model back into the widgets;
    // a handler that returns false puts the focus on the value that failed.
    void Run(const std::function<bool()>& handler);

    COutputDeviceSettingsOffsetsDialog m_model;
    QComboBox* m_presets = nullptr;
    ReentryGuard m_focusLoss;
    bool m_initialized = false;
};
