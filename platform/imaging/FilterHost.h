#pragma once
// Loads the filter plug-ins by file type (PT31X<type>.so for export,
// PT31<type>.so for import) from the core's own folder and then from the
// folder named by KWVD_LIBRARY_PATH, and keeps them until shutdown.

#include "filters/common/FilterEntries.h"

#include <map>
#include <mutex>
#include <string>

struct ExportFilter
{
    void* module = nullptr;
    std::string extension;   // from PTXDLget_ext, before the semicolon
    std::string description; // after it
    FilterInfo info{};
    PTXDLbegin_write_fn beginWrite = nullptr;
    PTXDLwrite_block_fn writeBlock = nullptr;
    PTXDLend_write_fn endWrite = nullptr;
};

struct ImportFilter
{
    void* module = nullptr;
    PTDLverify_img_fn verify = nullptr;
    PTDLinit_image_fn initImage = nullptr;
    PTDLclose_image_fn closeImage = nullptr;
    PTDLread_rows_fn readRows = nullptr;
    PTDLset_row_fn setRow = nullptr;
    PTDLset_page_fn setPage = nullptr;
    PTDLbuildDIBhead_fn buildHeader = nullptr;
};

class FilterHost
{
public:
    static FilterHost& Instance();

    // Null when the plug-in is missing or lacks an entry.
    const ExportFilter* Export(const std::string& type);
    const ImportFilter* Import(const std::string& type);
    void UnloadAll();

    // The last error a filter reported through the core's error callback.
    int LastFilterError() const { return m_lastFilterError; }

private:
    void* Load(const std::string& fileName);
    static void ReportError(const void* filterModule, int code, const char* filterName, const char* context);

    std::mutex m_mutex;
    std::map<std::string, ExportFilter> m_exports;
    std::map<std::string, ImportFilter> m_imports;
    std::map<std::string, bool> m_missing;
    static inline int m_lastFilterError = 0;
};
