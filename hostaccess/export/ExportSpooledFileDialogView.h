#pragma once
// The window of "Export Spooled File": the five fields with their
// completion histories under the library's own settings key, the code-page
// box, OK and Cancel. The model decides; the window shows it and closes
// when the model says so.

#include "hostaccess/export/ExportSpooledFileDialog.h"

#include <QDialog>

#include <array>

class CACEdit;
class CCSIDComboBox;

class CExportSpooledFileDialogView : public QDialog
{
    Q_OBJECT

public:
    explicit CExportSpooledFileDialogView(QWidget* parent = nullptr);
    ~CExportSpooledFileDialogView() override;

    CExportSpooledFileDialog& Model() { return m_model; }
    // How the last OK ended, for the entry point.
    CExportSpooledFileDialog::OkResult LastResult() const { return m_result; }

    CCSIDComboBox* CodePageBox() const { return m_codePage; }
    CACEdit* Completion(int controlId) const;

    // OK pressed: the model's OK on what the widgets hold.
    void OnOK();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Show();

    CExportSpooledFileDialog m_model;
    CExportSpooledFileDialog::OkResult m_result = CExportSpooledFileDialog::OkResult::StayOpen;
    CCSIDComboBox* m_codePage = nullptr;
    // System, output queue, library, file name, user data.
    std::array<CACEdit*, 5> m_completions{};
    bool m_initialised = false;
};
