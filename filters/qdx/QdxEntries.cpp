// The named entries of PT31XQDX.

#include "filters/common/FilterEntries.h"
#include "filters/qdx/QdxError.h"
#include "filters/qdx/QdxExport.h"

#include "platform/ui/PromptService.h"

#include <dlfcn.h>

#include <QString>

#include <new>

namespace {

ImgXOptBlkGetFn g_lookup = nullptr;

void ShowError(const std::string& text)
{
    Prompts().MessageBox(QString::fromUtf8(text.c_str()), QStringLiteral("Qdx Export Error"), MB_OK);
}

// Runs one step of the export; false after the error box.
template <class Step>
bool Run(CQdxExport* exporter, Step step)
{
    try {
        step();
        return true;
    } catch (const CQdxError& e) {
        exporter->m_lastError = e.what();
    } catch (const std::bad_alloc&) {
        exporter->m_lastError = "Not enough memory.";
    }
    ShowError(exporter->m_lastError);
    return false;
}

} // namespace

extern "C" {

int WEP(int)
{
    return 0;
}

const char* PTXDLget_ext(FilterInfo* info)
{
    if (info) {
        info->capabilities = kQdxFilterCapabilities;
        g_lookup =
            info->coreModule ? reinterpret_cast<ImgXOptBlkGetFn>(dlsym(info->coreModule, "ImgXOptBlkGet")) : nullptr;
    }
    return "QDX;Qorvane qdx (*.qdx)";
}

const char* PTXDLget_ver(void)
{
    return "1.00";
}

int PTXDLerror_string(char*, std::int32_t)
{
    return 0;
}

FilterStateHandle PTXDLbegin_write(const char* fileName, const IoCallbacks*, const char*,
                                   const BitmapInfoHeader* bitmap, OptionBlockHandle options, std::int32_t*)
{
    auto* exporter = new (std::nothrow) CQdxExport;
    if (!exporter) {
        ShowError("Not enough memory for the qdx export.");
        return nullptr;
    }
    const bool ok = Run(exporter, [&] {
        if (!fileName || !bitmap)
            throw CQdxError("Failed to create output file: " + std::string(fileName ? fileName : ""));
        exporter->Begin(fileName, *bitmap, options, g_lookup);
    });
    if (!ok) {
        delete exporter;
        return nullptr;
    }
    return exporter;
}

int PTXDLwrite_block(FilterStateHandle state, std::int32_t rowCount, std::int64_t bytesPerRow, const std::uint8_t* rows,
                     ExportProgressBlock* progress)
{
    auto* exporter = static_cast<CQdxExport*>(state);
    if (!exporter) {
        ShowError("CImageBuffer Not Init in WriteBlock.");
        return kQdxExportFailed;
    }
    return Run(exporter, [&] { exporter->WriteBlock(rowCount, bytesPerRow, rows, progress); }) ? 1 : kQdxExportFailed;
}

int PTXDLend_write(FilterStateHandle state, std::int32_t)
{
    auto* exporter = static_cast<CQdxExport*>(state);
    if (!exporter)
        return kQdxExportFailed;
    const bool ok = Run(exporter, [&] { exporter->End(); });
    delete exporter;
    return ok ? 1 : kQdxExportFailed;
}

} // extern "C"
