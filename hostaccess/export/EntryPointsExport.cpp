// ExportSpooledFile: the export dialog over the caller's pages or a raw
// data file. 1 only when the dialog ended with a spooled file made.

#include "hostaccess/CallFrame.h"
#include "hostaccess/MerrowApp.h"
#include "hostaccess/MerrowStrings.h"
#include "hostaccess/api/EntryPoints.h"
#include "hostaccess/export/ExportSpooledFileDialogView.h"

#include <QString>

#include <type_traits>

MERROW_ENTRY_POINT BOOL ExportSpooledFile(const QString* system, SpooledFileIdentity* identity,
                                          SpooledPageList** pages, int* pageSize, int ccsid, int mode)
{
    return RunEntryPoint("ExportSpooledFile", IDS_MERROW_EXPORT_FAILED, BOOL(FALSE), [&]() -> BOOL {
        CExportSpooledFileDialogView dialog(CMerrowApp::GetParentWindow());
        CExportSpooledFileDialog& model = dialog.Model();
        if (system != nullptr)
            model.system = *system;
        if (identity != nullptr)
            model.identity.CopyFrom(*identity);
        model.pages = pages != nullptr ? *pages : nullptr;
        if (pageSize != nullptr) {
            model.pageSize[0] = pageSize[0];
            model.pageSize[1] = pageSize[1];
        }
        model.ccsid = ccsid;
        model.mode = mode;
        if (dialog.exec() != QDialog::Accepted)
            return FALSE;
        // A failure whose retry the user declined closes the dialog too.
        return dialog.LastResult() == CExportSpooledFileDialog::OkResult::CloseExported ? TRUE : FALSE;
    });
}

static_assert(std::is_same_v<decltype(&ExportSpooledFile), ExportSpooledFileProc>);
