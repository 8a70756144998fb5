#pragma once
// "Export Spooled File": the target of a new spooled file on the host, made
// either from the designer's pages (mode 0) or copied from a raw data file
// the user picks (mode 1). OK checks the output queue, then exports; a
// failed export offers a retry, and a declined retry closes the dialog with
// the failure kept for the entry point. This is the dialog without its
// widgets; CExportSpooledFileDialogView shows it.

#include "hostaccess/api/SpooledFileIdentity.h"
#include "hostaccess/api/SpooledPageList.h"
#include "platform/ui/DialogModel.h"

#include <QString>

class CAS400;

class CExportSpooledFileDialog : public CDialogModel
{
public:
    enum {
        IDD = 10101
    };

    enum ControlId : int {
        IDC_OK = 1,
        IDC_CANCEL = 2,
        IDC_CODE_PAGE = 11000,
        IDC_FILE_NAME = 11001,
        IDC_LIBRARY = 11002,
        IDC_OUTPUT_QUEUE = 11003,
        IDC_SYSTEM = 11004,
        IDC_USER_DATA = 11005,
    };

    enum Mode : int {
        kModePages = 0,
        kModeRaw = 1,
    };

    static constexpr int kNameLimit = 10;

    // What OK leads to.
    enum class OkResult {
        StayOpen,
        CloseExported,
        // The export failed and the user declined to retry.
        CloseFailed,
    };

    CExportSpooledFileDialog();
    ~CExportSpooledFileDialog() override;

    // Set by the entry point before OnInitDialog.
    QString system;
    SpooledFileIdentity identity; // a copy: the caller's record stays as it is
    const SpooledPageList* pages = nullptr;
    int pageSize[2] = {0, 0}; // columns, lines
    int ccsid = 0;
    int mode = kModePages;

    // The fields; the CCSID above is the code-page box's.
    QString outputQueue;
    QString library;
    QString fileName;
    QString userData;

    // The fields take the identity's queue, library, file name and user data.
    void OnInitDialog();
    bool IsCodePageEnabled() const { return mode != kModeRaw; }

    // The fields and the code-page box's CCSID were read into the controls
    // and ccsid before.
    OkResult OnOK();

    // The texts to add to the histories after an OK that closed the dialog:
    // system, output queue, library, user data and file name.
    struct HistoryEntries
    {
        QString system;
        QString outputQueue;
        QString library;
        QString userData;
        QString fileName;
    };
    const HistoryEntries& GetHistoryEntries() const { return m_history; }

private:
    bool Export(CAS400& host);

    HistoryEntries m_history;
};
