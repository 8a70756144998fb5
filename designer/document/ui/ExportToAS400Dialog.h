#pragma once
// "Export WVD": a save chooser whose file type picks the JVX version, with
// the two export options below the file list. It fills the export choice it
// is given and, on OK, writes the user's path, type and options back. The
// command puts the caption (IDS_EXPORT_TITLE) into the choice each time.

#include <QFileDialog>

struct ExportChoice;
class QCheckBox;

class CExportToAS400Dialog : public QFileDialog
{
    Q_OBJECT

public:
    explicit CExportToAS400Dialog(const ExportChoice& choice, QWidget* parent = nullptr);

    // QDialog::Accepted with the choice filled in, else Rejected and the
    // choice untouched.
    int DoModal(ExportChoice& choice);
    // Reads the dialog's state into the choice, as OK does.
    void ReadBack(ExportChoice& choice) const;

    QCheckBox* AutoImportBox() const { return m_autoImport; }
    QCheckBox* OverwriteBox() const { return m_overwrite; }

private:
    QCheckBox* m_autoImport = nullptr;
    QCheckBox* m_overwrite = nullptr;
};

// Makes the export command show this dialog.
void InstallExportToAS400Dialog();
