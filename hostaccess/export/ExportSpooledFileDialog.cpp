#include "hostaccess/export/ExportSpooledFileDialog.h"

#include "hostaccess/AS400.h"
#include "hostaccess/MerrowStrings.h"
#include "hostaccess/export/ExportToHost.h"
#include "platform/ui/PromptService.h"
#include "platform/ui/StringTable.h"
#include "platform/ui/WaitCursor.h"

CExportSpooledFileDialog::CExportSpooledFileDialog()
{
    BindText(IDC_SYSTEM, &system);
    BindText(IDC_OUTPUT_QUEUE, &outputQueue, kNameLimit);
    BindText(IDC_LIBRARY, &library, kNameLimit);
    BindText(IDC_FILE_NAME, &fileName, kNameLimit);
    BindText(IDC_USER_DATA, &userData, kNameLimit);
}

CExportSpooledFileDialog::~CExportSpooledFileDialog() = default;

void CExportSpooledFileDialog::OnInitDialog()
{
    outputQueue = identity.GetOutputQueue();
    library = identity.GetOutputQueueLibrary();
    fileName = identity.GetFileName();
    userData = identity.GetUserData();
    Push();
}

CExportSpooledFileDialog::OkResult CExportSpooledFileDialog::OnOK()
{
    CWaitCursor wait;
    if (!Pull())
        return OkResult::StayOpen;
    CAS400 host;
    if (!CheckOutputQueue(host, outputQueue, library, system))
        return OkResult::StayOpen;
    identity.SetOutputQueue(outputQueue);
    identity.SetOutputQueueLibrary(library);
    identity.SetFileName(fileName);
    identity.SetUserData(userData);

    const bool exported = Export(host);
    if (!exported
        && Prompts().MessageBox(LoadResString(IDS_MERROW_EXPORT_RETRY), {}, MB_YESNO | MB_ICONQUESTION) == IDYES)
        return OkResult::StayOpen;

    library = library.toUpper();
    Push();
    m_history = {system, outputQueue, library, userData, fileName};
    return exported ? OkResult::CloseExported : OkResult::CloseFailed;
}

bool CExportSpooledFileDialog::Export(CAS400& host)
{
    if (mode == kModeRaw)
        return ExportRawSpooledFile(host, system, identity) != FALSE;
    return CreateSpooledFileFromPages(host, system, identity, pages, pageSize, ccsid) != FALSE;
}
