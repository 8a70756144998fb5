#include "platform/imaging/FilterHost.h"

#include <dlfcn.h>

#include <cstdlib>
#include <vector>

namespace {

std::string CoreFolder()
{
    Dl_info where{};
    if (dladdr(reinterpret_cast<void*>(&FilterHost::Instance), &where) == 0 || !where.dli_fname)
        return {};
    const std::string path = where.dli_fname;
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// The core itself, for filters that look up ImgXOptBlkGet in it.
void* CoreModule()
{
    static void* module = [] {
        Dl_info where{};
        if (dladdr(reinterpret_cast<void*>(&FilterHost::Instance), &where) == 0 || !where.dli_fname)
            return static_cast<void*>(nullptr);
        return dlopen(where.dli_fname, RTLD_NOW | RTLD_NOLOAD);
    }();
    return module;
}

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

template <typename T>
bool Find(void* module, const char* name, T* entry)
{
    *entry = reinterpret_cast<T>(dlsym(module, name));
    return *entry != nullptr;
}

} // namespace

FilterHost& FilterHost::Instance()
{
    static FilterHost host;
    return host;
}

void FilterHost::ReportError(const void*, int code, const char*, const char*)
{
    m_lastFilterError = code;
}

void* FilterHost::Load(const std::string& fileName)
{
    std::vector<std::string> folders;
    const std::string own = CoreFolder();
    if (!own.empty())
        folders.push_back(own);
    if (const char* env = std::getenv("KWVD_LIBRARY_PATH"); env && *env)
        folders.emplace_back(env);
    for (const std::string& folder : folders) {
        const std::string path = folder + "/" + fileName;
        if (void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
            return module;
    }
    return nullptr;
}

const ExportFilter* FilterHost::Export(const std::string& type)
{
    const std::string key = Upper(type);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (auto it = m_exports.find(key); it != m_exports.end())
        return &it->second;
    if (m_missing.count("X" + key))
        return nullptr;
    ExportFilter filter;
    filter.module = Load("PT31X" + key + ".so");
    PTXDLget_ext_fn getExt = nullptr;
    if (!filter.module || !Find(filter.module, "PTXDLget_ext", &getExt)
        || !Find(filter.module, "PTXDLbegin_write", &filter.beginWrite)
        || !Find(filter.module, "PTXDLwrite_block", &filter.writeBlock)
        || !Find(filter.module, "PTXDLend_write", &filter.endWrite)) {
        if (filter.module)
            dlclose(filter.module);
        m_missing["X" + key] = true;
        return nullptr;
    }
    filter.info.errorCallback = &FilterHost::ReportError;
    filter.info.coreModule = CoreModule();
    const char* ext = getExt(&filter.info);
    const std::string text = ext ? ext : "";
    const auto semicolon = text.find(';');
    filter.extension = Upper(text.substr(0, semicolon));
    filter.description = semicolon == std::string::npos ? std::string() : text.substr(semicolon + 1);
    return &m_exports.emplace(key, filter).first->second;
}

const ImportFilter* FilterHost::Import(const std::string& type)
{
    const std::string key = Upper(type);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (auto it = m_imports.find(key); it != m_imports.end())
        return &it->second;
    if (m_missing.count(key))
        return nullptr;
    ImportFilter filter;
    filter.module = Load("PT31" + key + ".so");
    if (!filter.module || !Find(filter.module, "PTDLverify_img", &filter.verify)
        || !Find(filter.module, "PTDLinit_image", &filter.initImage)
        || !Find(filter.module, "PTDLclose_image", &filter.closeImage)
        || !Find(filter.module, "PTDLread_rows", &filter.readRows)
        || !Find(filter.module, "PTDLset_row", &filter.setRow) || !Find(filter.module, "PTDLset_page", &filter.setPage)
        || !Find(filter.module, "PTDLbuildDIBhead", &filter.buildHeader)) {
        if (filter.module)
            dlclose(filter.module);
        m_missing[key] = true;
        return nullptr;
    }
    return &m_imports.emplace(key, filter).first->second;
}

void FilterHost::UnloadAll()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto& [name, filter] : m_exports)
        dlclose(filter.module);
    for (auto& [name, filter] : m_imports)
        dlclose(filter.module);
    m_exports.clear();
    m_imports.clear();
    m_missing.clear();
}
