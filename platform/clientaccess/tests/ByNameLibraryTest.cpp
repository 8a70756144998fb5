#include "EmulatedHostFixture.h"

#include "platform/clientaccess/Faults.h"
#include "platform/clientaccess/Security.h"
#include "platform/clientaccess/Systems.h"

#include <dlfcn.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace kwvd::clientaccess;

namespace {

struct Group
{
    const char* file;
    std::vector<const char*> functions;
};

const Group kGroups[] = {
    {"libCWBSY.so", {"cwbSY_CreateSecurityObj", "cwbSY_SetSys", "cwbSY_Logon", "cwbSY_DeleteSecurityObj"}},
    {"libCWBSV.so", {"cwbSV_CreateErrHandle", "cwbSV_DeleteErrHandle", "cwbSV_GetErrCount", "cwbSV_GetErrText"}},
    {"libCWBCO.so",
     {"cwbCO_CreateSystem", "cwbCO_DeleteSystem", "cwbCO_GetSystemName", "cwbCO_CreateSysListHandle",
      "cwbCO_DeleteSysListHandle", "cwbCO_GetSysListSize", "cwbCO_GetSysListName", "cwbCO_GetDefaultSysName",
      "cwbCO_GetUserID"}},
};

// A group library loaded by name from the build's library folder, as the
// programs that bind the layer by name load it.
class Loaded
{
public:
    explicit Loaded(const char* file)
    {
        const char* folder = std::getenv("KWVD_LIBRARY_PATH");
        m_path = std::string(folder ? folder : "") + '/' + file;
        m_handle = ::dlopen(m_path.c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    ~Loaded()
    {
        if (m_handle)
            ::dlclose(m_handle);
    }
    Loaded(const Loaded&) = delete;
    Loaded& operator=(const Loaded&) = delete;

    void* Handle() const { return m_handle; }
    const std::string& Path() const { return m_path; }

    template <typename Function>
    Function* Bind(const char* name) const
    {
        return reinterpret_cast<Function*>(::dlsym(m_handle, name));
    }

private:
    std::string m_path;
    void* m_handle = nullptr;
};

std::string DefiningFile(void* symbol)
{
    Dl_info info{};
    return ::dladdr(symbol, &info) && info.dli_fname ? info.dli_fname : "";
}

} // namespace

using LayerByName = EmulatedHost;

TEST_F(LayerByName, EachGroupLibraryDefinesItsFunctions)
{
    for (const Group& group : kGroups) {
        const Loaded library(group.file);
        ASSERT_NE(library.Handle(), nullptr) << library.Path() << ": " << ::dlerror();
        for (const char* name : group.functions) {
            void* symbol = ::dlsym(library.Handle(), name);
            ASSERT_NE(symbol, nullptr) << group.file << " " << name;
            const std::string file = DefiningFile(symbol);
            EXPECT_EQ(file.substr(file.rfind('/') + 1), group.file) << name << " is the library's own";
        }
    }
}

TEST_F(LayerByName, HandlesMadeThroughOneLibraryServeTheOthers)
{
    Add(System(QStringLiteral("KWVDSYS"), 285, QStringLiteral("JSMITH")));
    Add(System(QStringLiteral("OTHER")));
    const Loaded sv("libCWBSV.so");
    const Loaded co("libCWBCO.so");
    const Loaded sy("libCWBSY.so");
    ASSERT_TRUE(sv.Handle() && co.Handle() && sy.Handle());

    const auto createError = sv.Bind<decltype(cwbSV_CreateErrHandle)>("cwbSV_CreateErrHandle");
    const auto deleteError = sv.Bind<decltype(cwbSV_DeleteErrHandle)>("cwbSV_DeleteErrHandle");
    const auto errorText = sv.Bind<decltype(cwbSV_GetErrText)>("cwbSV_GetErrText");
    const auto createList = co.Bind<decltype(cwbCO_CreateSysListHandle)>("cwbCO_CreateSysListHandle");
    const auto listSize = co.Bind<decltype(cwbCO_GetSysListSize)>("cwbCO_GetSysListSize");
    const auto defaultName = co.Bind<decltype(cwbCO_GetDefaultSysName)>("cwbCO_GetDefaultSysName");
    const auto userId = co.Bind<decltype(cwbCO_GetUserID)>("cwbCO_GetUserID");
    const auto createSecurity = sy.Bind<decltype(cwbSY_CreateSecurityObj)>("cwbSY_CreateSecurityObj");
    const auto setSystem = sy.Bind<decltype(cwbSY_SetSys)>("cwbSY_SetSys");
    const auto logon = sy.Bind<decltype(cwbSY_Logon)>("cwbSY_Logon");
    const auto deleteSecurity = sy.Bind<decltype(cwbSY_DeleteSecurityObj)>("cwbSY_DeleteSecurityObj");

    cwbSV_ErrHandle error = 0;
    ASSERT_EQ(createError(&error), kCwbOk);
    cwbCO_SysListHandle list = 0;
    ASSERT_EQ(createList(&list, error), kCwbOk);
    unsigned long size = 0;
    EXPECT_EQ(listSize(list, &size), kCwbOk);
    EXPECT_EQ(size, 2u);
    EXPECT_EQ(cwbCO_DeleteSysListHandle(list), kCwbOk) << "a list made by name is the layer's own";
    char name[255];
    unsigned long needed = 0;
    EXPECT_EQ(defaultName(name, sizeof name, &needed, error), kCwbOk);
    EXPECT_STREQ(name, "KWVDSYS");
    char user[11];
    unsigned long length = sizeof user;
    EXPECT_EQ(userId("KWVDSYS", user, 1, &length), kCwbOk);
    EXPECT_STREQ(user, "JSMITH");

    cwbSY_SecurityHandle security = 0;
    ASSERT_EQ(createSecurity(&security), kCwbOk);
    EXPECT_EQ(setSystem(security, "KWVDSYS"), kCwbOk);
    EXPECT_EQ(logon(security, error), kCwbOk);
    ASSERT_TRUE(SetInjectedFault("cwbSY_Logon", kCwbSignonRefused, "KWV4002", "Password expired.", true));
    EXPECT_EQ(logon(security, error), kCwbSignonRefused);
    EXPECT_EQ(deleteSecurity(security), kCwbOk);

    // The message the sign-on left, read through the service library.
    char text[64];
    EXPECT_EQ(errorText(error, text, sizeof text, &needed), kCwbOk);
    EXPECT_STREQ(text, "KWV4002: Password expired.");
    EXPECT_EQ(deleteError(error), kCwbOk);
    EXPECT_EQ(cwbSV_DeleteErrHandle(error), kCwbInvalidHandle);
}
