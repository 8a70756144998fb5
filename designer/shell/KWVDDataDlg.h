#pragma once
// "Execute WVD": the run parameters of a CRTWVD submission for a last edit.
// The dialog edits the request it is given (not owned): OK reads the fields
// through the data exchange, which refuses a value longer than its field
// with its message and keeps the dialog open, so nothing is cut silently.
// The spooled-file status and the message queue are not shown and pass
// through. Caption and labels are the strings DialogTextId(IDD, control).

#include "platform/ui/DialogModel.h"

#include <QDialog>
#include <QString>

class CrtWvdRequest;
class QLineEdit;

class CKWVDDataDlg : public QDialog
{
    Q_OBJECT

public:
    enum {
        IDD = 116
    };
    enum ControlId : int {
        IDC_OK = 1,
        IDC_CANCEL = 2,
        IDC_FILE_NAME = 1065,
        IDC_FORM_TYPE = 1066,
        IDC_OUTPUT_QUEUE = 1067,
        IDC_OUTPUT_QUEUE_LIBRARY = 1068,
        IDC_WVD_NAME = 1069,
        IDC_WVD_LIBRARY = 1070,
        IDC_SYSTEM = 1071,
        IDC_USER = 1072,
        IDC_USER_DATA = 1073,
        IDC_INPUT_GROUP = 0xFF01,
        IDC_WVD_GROUP = 0xFF02,
    };

    static constexpr int kSystemLimit = 255;
    static constexpr int kNameLimit = 10;
    static constexpr int kUserDataLimit = 12;
    static constexpr int kWvdNameLimit = 8;

    // Null: the dialog only shows and closes.
    explicit CKWVDDataDlg(CrtWvdRequest* request, QWidget* parent = nullptr);

    QLineEdit* Field(int id) const;

    // OK: the fields into the request and the dialog closed, or the refusal
    // shown and the dialog left open on the field refused.
    void OnOK();

private:
    CrtWvdRequest* m_request;
    CDialogModel m_model;
    QString m_system;
    QString m_file;
    QString m_user;
    QString m_outq;
    QString m_outqLibrary;
    QString m_formType;
    QString m_userData;
    QString m_wvdName;
    QString m_library;
};

// Adds the dialog's UK English texts to the string table; harmless again.
void RegisterKWVDDataDlgStrings();

// The dialog run modally over the caller's active window; true on OK.
bool RunExecuteWvdDialog(CrtWvdRequest& request);
