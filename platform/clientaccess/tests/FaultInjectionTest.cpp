#include "EmulatedHostFixture.h"

#include "platform/clientaccess/CodePages.h"
#include "platform/clientaccess/Faults.h"
#include "platform/clientaccess/RemoteCommands.h"
#include "platform/clientaccess/Security.h"
#include "platform/clientaccess/SystemCcsid.h"
#include "platform/clientaccess/Systems.h"

#include <functional>

using namespace kwvd::clientaccess;

namespace {

class FaultInjection : public EmulatedHost
{
protected:
    void SetUp() override
    {
        Add(System(QStringLiteral("KWVDSYS")));
        Library(QStringLiteral("KWVDSYS"), QStringLiteral("KWVD"));
        ASSERT_EQ(cwbCO_CreateSystem("KWVDSYS", &m_system), kCwbOk);
        ASSERT_EQ(cwbRC_StartSysEx(m_system, &m_connection, 0), kCwbOk);
        ASSERT_EQ(cwbCO_CreateSysListHandle(&m_list, 0), kCwbOk);
    }
    void TearDown() override
    {
        cwbRC_StopSys(m_connection);
        cwbCO_DeleteSystem(m_system);
        cwbCO_DeleteSysListHandle(m_list);
        ClearInjectedFaults();
    }

public:
    cwbCO_SysHandle m_system = 0;
    cwbRC_SysHandle m_connection = 0;
    cwbCO_SysListHandle m_list = 0;
};

struct Operation
{
    const char* name;
    bool takesErrorHandle;
    // Calls the operation as its callers do; answers its result.
    std::function<unsigned(FaultInjection&, cwbSV_ErrHandle)> call;
};

} // namespace

TEST_F(FaultInjection, EveryOperationGivesTheInjectedCodeAndMessageOnce)
{
    const auto withSecurity = [](const std::function<unsigned(cwbSY_SecurityHandle)>& use) {
        cwbSY_SecurityHandle security = 0;
        if (unsigned result = cwbSY_CreateSecurityObj(&security))
            return result;
        const unsigned result = use(security);
        cwbSY_DeleteSecurityObj(security);
        return result;
    };
    const Operation operations[] = {
        {"cwbCO_CreateSystem", false,
         [](FaultInjection&, cwbSV_ErrHandle) {
             cwbCO_SysHandle system = 0;
             const unsigned result = cwbCO_CreateSystem("KWVDSYS", &system);
             cwbCO_DeleteSystem(system);
             return result;
         }},
        {"cwbCO_CreateSysListHandle", true,
         [](FaultInjection&, cwbSV_ErrHandle error) {
             cwbCO_SysListHandle list = 0;
             const unsigned result = cwbCO_CreateSysListHandle(&list, error);
             cwbCO_DeleteSysListHandle(list);
             return result;
         }},
        {"cwbCO_GetSysListSize", false,
         [](FaultInjection& test, cwbSV_ErrHandle) {
             unsigned long size = 0;
             return cwbCO_GetSysListSize(test.m_list, &size);
         }},
        {"cwbCO_GetDefaultSysName", true,
         [](FaultInjection&, cwbSV_ErrHandle error) {
             char name[255];
             unsigned long needed = 0;
             return cwbCO_GetDefaultSysName(name, sizeof name, &needed, error);
         }},
        {"cwbCO_GetUserID", false,
         [](FaultInjection&, cwbSV_ErrHandle) {
             char user[11];
             unsigned long length = sizeof user;
             return cwbCO_GetUserID("KWVDSYS", user, 1, &length);
         }},
        {"cwbSY_CreateSecurityObj", false,
         [&](FaultInjection&, cwbSV_ErrHandle) { return withSecurity([](cwbSY_SecurityHandle) { return 0u; }); }},
        {"cwbSY_SetSys", false,
         [&](FaultInjection&, cwbSV_ErrHandle) {
             return withSecurity([](cwbSY_SecurityHandle security) { return cwbSY_SetSys(security, "KWVDSYS"); });
         }},
        {"cwbSY_Logon", true,
         [&](FaultInjection&, cwbSV_ErrHandle error) {
             return withSecurity([error](cwbSY_SecurityHandle security) {
                 if (unsigned result = cwbSY_SetSys(security, "KWVDSYS"))
                     return result;
                 return cwbSY_Logon(security, error);
             });
         }},
        {"cwbSY_DeleteSecurityObj", false,
         [](FaultInjection&, cwbSV_ErrHandle) {
             cwbSY_SecurityHandle security = 0;
             cwbSY_CreateSecurityObj(&security);
             const unsigned result = cwbSY_DeleteSecurityObj(security);
             if (result != kCwbOk)
                 cwbSY_DeleteSecurityObj(security);
             return result;
         }},
        {"cwbNL_GetHostCCSID", true,
         [](FaultInjection&, cwbSV_ErrHandle error) {
             unsigned long ccsid = 0;
             return cwbNL_GetHostCCSID("KWVDSYS", &ccsid, error);
         }},
        {"cwbNL_GetCodePageOfCCSID", true,
         [](FaultInjection&, cwbSV_ErrHandle error) {
             unsigned long codePage = 0;
             return cwbNL_GetCodePageOfCCSID(285, &codePage, error);
         }},
        {"cwbNL_CreateConverterEx", true,
         [](FaultInjection&, cwbSV_ErrHandle error) {
             cwbNL_Converter converter = 0;
             const unsigned result = cwbNL_CreateConverterEx(1252, 285, kCwbNlPlain, &converter, error);
             cwbNL_DeleteConverter(converter, 0);
             return result;
         }},
        {"cwbNL_Convert", true,
         [](FaultInjection&, cwbSV_ErrHandle error) {
             cwbNL_Converter converter = 0;
             if (unsigned result = cwbNL_CreateConverterEx(1252, 285, kCwbNlPlain, &converter, 0))
                 return result;
             char target[4];
             unsigned long converted = 0;
             const unsigned result = cwbNL_Convert(converter, 1, sizeof target, "A", target, &converted, nullptr, error);
             cwbNL_DeleteConverter(converter, 0);
             return result;
         }},
        {"cwbRC_StartSysEx", true,
         [](FaultInjection& test, cwbSV_ErrHandle error) {
             cwbRC_SysHandle connection = 0;
             const unsigned result = cwbRC_StartSysEx(test.m_system, &connection, error);
             cwbRC_StopSys(connection);
             return result;
         }},
        {"cwbRC_RunCmd", true,
         [](FaultInjection& test, cwbSV_ErrHandle error) {
             return cwbRC_RunCmd(test.m_connection, "SBMJOB CMD(CRTWVD FILE(X))", error);
         }},
    };
    for (const Operation& operation : operations) {
        const cwbSV_ErrHandle error = NewErrorHandle();
        ASSERT_EQ(operation.call(*this, error), kCwbOk) << operation.name << " fails without a fault";
        ASSERT_TRUE(SetInjectedFault(operation.name, 8123, "KWV4001", "Injected failure.", true));
        EXPECT_EQ(operation.call(*this, error), 8123u) << operation.name;
        EXPECT_EQ(Messages(error), operation.takesErrorHandle ? std::vector<std::string>{"KWV4001: Injected failure."}
                                                              : std::vector<std::string>{})
            << operation.name;
        EXPECT_EQ(operation.call(*this, error), kCwbOk) << operation.name << ": a fault set once stays";
    }
}

TEST_F(FaultInjection, AFaultSetAlwaysStaysUntilCleared)
{
    ASSERT_TRUE(SetInjectedFault("cwbNL_GetHostCCSID", kCwbInvalidCcsid, "", "", false));
    unsigned long ccsid = 0;
    const cwbSV_ErrHandle error = NewErrorHandle();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(cwbNL_GetHostCCSID("KWVDSYS", &ccsid, error), kCwbInvalidCcsid);
    // Without a message identifier the handle takes nothing.
    EXPECT_EQ(MessageCount(error), 0u);
    // Other operations are untouched.
    char user[11];
    unsigned long length = sizeof user;
    EXPECT_EQ(cwbCO_GetUserID("KWVDSYS", user, 1, &length), kCwbOk);
    ASSERT_TRUE(ClearInjectedFaults());
    EXPECT_EQ(cwbNL_GetHostCCSID("KWVDSYS", &ccsid, error), kCwbOk);
    EXPECT_EQ(InjectedFault("cwbNL_GetHostCCSID", error), 0u);
}

TEST_F(FaultInjection, ANewFaultReplacesTheOldOneAndBadFaultsAreRefused)
{
    ASSERT_TRUE(SetInjectedFault("cwbRC_RunCmd", 8007, "KWV4001", "first", false));
    ASSERT_TRUE(SetInjectedFault("cwbRC_RunCmd", 8008, "KWV4002", "second", true));
    const cwbSV_ErrHandle error = NewErrorHandle();
    EXPECT_EQ(cwbRC_RunCmd(m_connection, "ADDLIBLE KWVD", error), 8008u);
    EXPECT_EQ(cwbRC_RunCmd(m_connection, "ADDLIBLE KWVD", error), kCwbOk);
    EXPECT_EQ(Messages(error), std::vector<std::string>{"KWV4002: second"});

    EXPECT_FALSE(SetInjectedFault("cwbRC_RunCmd", 0, "", "", true));
    EXPECT_FALSE(SetInjectedFault("", 8007, "", "", true));
    EXPECT_FALSE(SetInjectedFault(nullptr, 8007, "", "", true));
}
