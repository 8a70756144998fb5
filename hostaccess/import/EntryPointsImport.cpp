// The entry points of the import side: the spooled-file list with its
// import or raw save, and the release of the pages it handed out.

#include "hostaccess/CallFrame.h"
#include "hostaccess/MerrowApp.h"
#include "hostaccess/MerrowStrings.h"
#include "hostaccess/api/EntryPoints.h"
#include "hostaccess/import/SelSpooledFileDialogView.h"
#include "hostaccess/import/SpooledFileImport.h"
#include "platform/framework/Collections.h"

#include <QString>

#include <algorithm>
#include <array>

namespace {

QString FromText(const char16_t* text)
{
    return text == nullptr ? QString() : QString::fromUtf16(text);
}

// At most width characters and the NUL: the buffers hold at least 11.
void CopyToBuffer(char16_t* buffer, const QString& text, int width)
{
    if (buffer == nullptr)
        return;
    const qsizetype length = std::min<qsizetype>(text.size(), width);
    std::copy_n(reinterpret_cast<const char16_t*>(text.constData()), length, buffer);
    buffer[length] = 0;
}

bool Imported(int status, const SpooledPageList* pages)
{
    return status != kImportNotSupported && status != kImportReadFailed && pages != nullptr && !pages->IsEmpty();
}

#ifndef KWVD_MERROW_WITHOUT_LIST2
// Mode 1: the chosen file's bytes into a local file. The spooled file is
// closed again whatever the first read gave.
bool SaveChosenRaw(CSelSpooledFileDialog& dialog)
{
    const cwbOBJ_ObjHandle object = dialog.GetChosenObject();
    if (object == 0)
        return false;
    CAS400& as400 = dialog.Host();
    if (!as400.OpenSpooledFile(object))
        return false;
    std::array<unsigned char, 1024> block{};
    unsigned long count = block.size();
    bool saved = false;
    if (as400.ReadSpooledFile(object, block.data(), &count))
        saved = SaveRawSpooledFile(as400, object, block.data(), count) != FALSE;
    as400.CloseSpooledFile(object);
    return saved;
}
#endif

} // namespace

MERROW_ENTRY_POINT BOOL CreateSpooledFileList(const char16_t* system, char16_t* outputQueue,
                                              char16_t* outputQueueLibrary, SpooledPageList** pages, int maxPages)
{
    return RunEntryPoint(MerrowEntryPoint::kCreateSpooledFileList, IDS_MERROW_SELECT_FAILED, BOOL(FALSE), [&] {
        if (pages == nullptr)
            return BOOL(FALSE);
        *pages = new SpooledPageList;
        CSelSpooledFileDialogView view(CMerrowApp::GetParentWindow());
        CSelSpooledFileDialog& dialog = view.Model();
        dialog.system = FromText(system);
        dialog.outputQueue = FromText(outputQueue);
        dialog.library = FromText(outputQueueLibrary);
        dialog.maximumPages = maxPages;
        if (view.exec() != QDialog::Accepted)
            return BOOL(FALSE);
        if (!Imported(ImportSpooledFile(dialog, *pages), *pages))
            return BOOL(FALSE);
        CopyToBuffer(outputQueue, dialog.outputQueue, SpooledFileIdentity::kOutputQueueWidth);
        CopyToBuffer(outputQueueLibrary, dialog.library, SpooledFileIdentity::kOutputQueueLibraryWidth);
        return BOOL(TRUE);
    });
}

#ifndef KWVD_MERROW_WITHOUT_LIST2
MERROW_ENTRY_POINT BOOL CreateSpooledFileList2(const char16_t* system, SpooledFileIdentity* filter,
                                               SpooledFileIdentity* selected, SpooledPageList** pages, int maxPages,
                                               int* ccsid, int mode)
{
    return RunEntryPoint(MerrowEntryPoint::kCreateSpooledFileList2, IDS_MERROW_SELECT_FAILED, BOOL(FALSE), [&] {
        if (pages == nullptr)
            return BOOL(FALSE);
        *pages = new SpooledPageList;
        CSelSpooledFileDialogView view(CMerrowApp::GetParentWindow());
        CSelSpooledFileDialog& dialog = view.Model();
        dialog.system = FromText(system);
        if (filter != nullptr) {
            dialog.outputQueue = filter->GetOutputQueue();
            dialog.library = filter->GetOutputQueueLibrary();
            dialog.user = filter->GetUserName();
            dialog.userData = filter->GetUserData();
        }
        dialog.maximumPages = maxPages;
        dialog.ccsid = ccsid != nullptr ? *ccsid : 0;

        BOOL result = FALSE;
        if (view.exec() == QDialog::Accepted) {
            if (mode == 1) {
                result = SaveChosenRaw(dialog) ? TRUE : FALSE;
            } else if (Imported(ImportSpooledFile(dialog, *pages), *pages)) {
                if (selected != nullptr) {
                    selected->Clear();
                    ReadSpooledFileAttributes(dialog.Host(), dialog.GetChosenObject(), *selected,
                                              dialog.GetDateSettings());
                    selected->SetOutputQueue(dialog.outputQueue);
                    selected->SetOutputQueueLibrary(dialog.library);
                }
                if (ccsid != nullptr)
                    *ccsid = dialog.ccsid;
                result = TRUE;
            }
        }
        if (filter != nullptr) {
            filter->SetOutputQueue(dialog.outputQueue);
            filter->SetOutputQueueLibrary(dialog.library);
            filter->SetUserName(dialog.user);
            filter->SetUserData(dialog.userData);
        }
        return result;
    });
}
#endif

MERROW_ENTRY_POINT void DestroySpooledFileList(SpooledPageList** pages)
{
    RunEntryPoint(MerrowEntryPoint::kDestroySpooledFileList, IDS_MERROW_IMPORT_FAILED, [&] {
        if (pages == nullptr || *pages == nullptr)
            return;
        for (CObject* page : **pages) {
            if (auto* lines = dynamic_cast<CStringArray*>(page))
                lines->RemoveAll();
            delete page;
        }
        (*pages)->RemoveAll();
        delete *pages;
        *pages = nullptr;
    });
}
