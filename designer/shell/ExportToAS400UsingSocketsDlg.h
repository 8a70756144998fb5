#pragma once
// "Export To Server": the member name and JVX version of a socket export,
// whether the host imports it at once and whether an existing member is
// replaced without asking. Export runs the upload on this thread with every
// control disabled and the busy picture playing; a failed upload gives the
// controls back for another try, a finished one closes the dialog.

#include "platform/framework/Types.h"
#include "platform/ui/DialogModel.h"

#include <QDialog>

#include <functional>

class CDesignerDoc;
class CPictureEx;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class CExportToAS400UsingSocketsDlg : public QDialog
{
    Q_OBJECT

public:
    enum {
        IDD = 121
    };
    enum ControlId : int {
        IDOK_EXPORT = 1,
        IDCANCEL_EXPORT = 2,
        IDC_PICTURE = 1010,
        IDC_AUTO_IMPORT = 1048,
        IDC_OVERWRITE = 1049,
        IDC_VERSION = 1087,
        IDC_NAME = 1205,
    };
    static constexpr int kNameLength = 8;
    static constexpr UINT IDR_BUSY_GIF = 180;

    // The upload: member, version, automatic import, overwrite; non-zero
    // when the dialog may close.
    using Upload = std::function<int(const QString& member, int version, BOOL autoImport, BOOL overwrite)>;

    CExportToAS400UsingSocketsDlg(CDesignerDoc* doc, Upload upload, QWidget* parent = nullptr);
    ~CExportToAS400UsingSocketsDlg() override;

    // Set before the dialog opens, read after it closed.
    QString m_memberName;
    int m_version = 28;
    int m_autoImport = 0;
    int m_overwrite = 0;

    QLineEdit* NameEdit() const { return m_name; }
    QComboBox* VersionCombo() const { return m_versions; }
    QCheckBox* AutoImportCheck() const { return m_autoImportCheck; }
    QCheckBox* OverwriteCheck() const { return m_overwriteCheck; }
    QPushButton* ExportButton() const { return m_export; }
    QPushButton* CancelButton() const { return m_cancel; }
    CPictureEx* Picture() const { return m_picture; }
    bool IsUploading() const { return m_uploading; }

    int exec() override;
    void OnInitDialog();
    void OnOK();
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void EnableControls(bool enable);

    CDesignerDoc* m_doc;
    Upload m_upload;
    CDialogModel m_model;
    int m_versionIndex = -1;
    bool m_uploading = false;

    QLineEdit* m_name = nullptr;
    QComboBox* m_versions = nullptr;
    QCheckBox* m_autoImportCheck = nullptr;
    QCheckBox* m_overwriteCheck = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_cancel = nullptr;
    CPictureEx* m_picture = nullptr;
};

// The dialog's UK English texts; harmless again.
void RegisterExportToAS400UsingSocketsDlgStrings();
