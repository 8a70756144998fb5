#include "platform/clientaccess/byname/ByNameForward.h"

#include "platform/clientaccess/Faults.h"

#include <dlfcn.h>

namespace kwvd::clientaccess::byname {

namespace {

// kwvd_clientaccess, found through a function only it defines; it is loaded
// already, as this library needs it, and held until this library goes.
class ClientAccessLibrary
{
public:
    ClientAccessLibrary()
    {
        Dl_info info{};
        if (::dladdr(reinterpret_cast<void*>(&kwvd::clientaccess::InjectedFault), &info) && info.dli_fname)
            m_handle = ::dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
    }
    ~ClientAccessLibrary()
    {
        if (m_handle)
            ::dlclose(m_handle);
    }
    ClientAccessLibrary(const ClientAccessLibrary&) = delete;
    ClientAccessLibrary& operator=(const ClientAccessLibrary&) = delete;

    void* Find(const char* name) const { return m_handle ? ::dlsym(m_handle, name) : nullptr; }

private:
    void* m_handle = nullptr;
};

} // namespace

void* Implementation(const char* name)
{
    static const ClientAccessLibrary library;
    return library.Find(name);
}

} // namespace kwvd::clientaccess::byname
