#include "EmulatedHostFixture.h"

#include "platform/clientaccess/Security.h"
#include "platform/clientaccess/SystemCcsid.h"
#include "platform/clientaccess/Systems.h"

#include <string>

using namespace kwvd::clientaccess;

namespace {

std::string DefaultName(unsigned* result, cwbSV_ErrHandle errorHandle = 0)
{
    char buffer[255];
    unsigned long needed = 0;
    *result = cwbCO_GetDefaultSysName(buffer, sizeof buffer, &needed, errorHandle);
    return *result == kCwbOk ? std::string(buffer) : std::string();
}

std::vector<std::string> ListedNames()
{
    cwbCO_SysListHandle list = 0;
    EXPECT_EQ(cwbCO_CreateSysListHandle(&list, 0), kCwbOk);
    unsigned long size = 0;
    EXPECT_EQ(cwbCO_GetSysListSize(list, &size), kCwbOk);
    std::vector<std::string> names;
    for (unsigned long i = 0; i < size; ++i) {
        char buffer[256];
        unsigned long needed = 0;
        EXPECT_EQ(cwbCO_GetSysListName(list, i, buffer, sizeof buffer, &needed), kCwbOk);
        names.push_back(buffer);
    }
    char buffer[8];
    unsigned long needed = 0;
    EXPECT_EQ(cwbCO_GetSysListName(list, size, buffer, sizeof buffer, &needed), kCwbNotFound);
    EXPECT_EQ(cwbCO_DeleteSysListHandle(list), kCwbOk);
    EXPECT_EQ(cwbCO_GetSysListSize(list, &size), kCwbInvalidHandle);
    return names;
}

} // namespace

using Systems = EmulatedHost;

TEST_F(Systems, TheListKeepsTheOrderSystemsWereAddedIn)
{
    EXPECT_TRUE(ListedNames().empty());
    unsigned result = 0;
    const cwbSV_ErrHandle error = NewErrorHandle();
    EXPECT_EQ(DefaultName(&result, error), "");
    EXPECT_EQ(result, kCwbNotFound);
    EXPECT_EQ(Messages(error), std::vector<std::string>{"KWV1001: No system is configured."});

    Add(System(QStringLiteral("Zeta")));
    Add(System(QStringLiteral("ALPHA")));
    Add(System(QStringLiteral("Mid")), true);
    EXPECT_EQ(ListedNames(), (std::vector<std::string>{"Zeta", "ALPHA", "Mid"}));
    EXPECT_EQ(DefaultName(&result), "Mid");

    // With the default gone the first system stands in.
    QString message;
    ASSERT_TRUE(RemoveSystem(QStringLiteral("mid"), &message));
    EXPECT_EQ(DefaultName(&result), "Zeta");
    EXPECT_FALSE(RemoveSystem(QStringLiteral("mid"), &message));
}

TEST_F(Systems, AListIsTheStoreAsItWasWhenMade)
{
    Add(System(QStringLiteral("ONE")));
    cwbCO_SysListHandle list = 0;
    ASSERT_EQ(cwbCO_CreateSysListHandle(&list, 0), kCwbOk);
    Add(System(QStringLiteral("TWO")));
    unsigned long size = 0;
    EXPECT_EQ(cwbCO_GetSysListSize(list, &size), kCwbOk);
    EXPECT_EQ(size, 1u);
    char small[3];
    unsigned long needed = 0;
    EXPECT_EQ(cwbCO_GetSysListName(list, 0, small, sizeof small, &needed), kCwbTargetTooSmall);
    EXPECT_EQ(needed, 3u);
    EXPECT_STREQ(small, "ON");
    cwbCO_DeleteSysListHandle(list);
}

TEST_F(Systems, ASystemObjectNeedsAConfiguredReachableSystem)
{
    Add(System(QStringLiteral("KwvdSys")));
    auto away = System(QStringLiteral("AWAY"));
    away.reachable = false;
    Add(away);

    cwbCO_SysHandle system = 0;
    ASSERT_EQ(cwbCO_CreateSystem("KWVDSYS", &system), kCwbOk);
    char name[256];
    unsigned long needed = 0;
    EXPECT_EQ(cwbCO_GetSystemName(system, name, sizeof name, &needed), kCwbOk);
    EXPECT_STREQ(name, "KwvdSys");
    EXPECT_EQ(cwbCO_DeleteSystem(system), kCwbOk);
    EXPECT_EQ(cwbCO_DeleteSystem(system), kCwbInvalidHandle);
    EXPECT_EQ(cwbCO_GetSystemName(system, name, sizeof name, &needed), kCwbInvalidHandle);

    EXPECT_EQ(cwbCO_CreateSystem("NOSYS", &system), kCwbUnknownSystem);
    EXPECT_EQ(cwbCO_CreateSystem("away", &system), kCwbSystemUnreachable);
    EXPECT_EQ(cwbCO_CreateSystem(nullptr, &system), kCwbInvalidParameter);
}

TEST_F(Systems, TheUserIdOfASystem)
{
    Add(System(QStringLiteral("KWVDSYS"), 285, QStringLiteral("jsmith")));
    Add(System(QStringLiteral("NOUSER"), 285, QString()));
    char user[11];
    unsigned long length = sizeof user;
    EXPECT_EQ(cwbCO_GetUserID("kwvdsys", user, 1, &length), kCwbOk);
    EXPECT_STREQ(user, "JSMITH");
    EXPECT_EQ(cwbCO_GetUserID("NOUSER", user, 1, &length), kCwbOk);
    EXPECT_STREQ(user, "");
    EXPECT_EQ(cwbCO_GetUserID("NOSYS", user, 1, &length), kCwbUnknownSystem);

    char small[4];
    length = sizeof small;
    EXPECT_EQ(cwbCO_GetUserID("KWVDSYS", small, 1, &length), kCwbTargetTooSmall);
    EXPECT_EQ(length, 7u);
    EXPECT_STREQ(small, "JSM");

    QString error;
    EXPECT_FALSE(AddSystem(System(QStringLiteral("LONG"), 285, QStringLiteral("ELEVENCHARS")), false, &error));
}

TEST_F(Systems, AddingRefusesNamesAnotherSystemAnswersTo)
{
    auto first = System(QStringLiteral("KWVDSYS"));
    first.fileServerNames = {QStringLiteral("QKWVDSYS")};
    Add(first);
    struct Case
    {
        const char* name;
        const char* fileServer;
    };
    const Case refused[] = {
        {"kwvdsys", ""}, {"QKWVDSYS", ""},  {"OTHER", "kwvdsys"}, {"OTHER", "qkwvdsys"},
        {"", ""},        {"TWO WORDS", ""}, {"A\\B", ""},         {"..", ""},
    };
    for (const Case& c : refused) {
        auto system = System(QString::fromUtf8(c.name));
        if (*c.fileServer)
            system.fileServerNames = {QString::fromUtf8(c.fileServer)};
        QString error;
        EXPECT_FALSE(AddSystem(system, false, &error)) << c.name << " " << c.fileServer;
        EXPECT_FALSE(error.isEmpty()) << c.name;
    }
    EXPECT_EQ(ListedNames(), std::vector<std::string>{"KWVDSYS"});
}

TEST_F(Systems, SignOnNeverAsksAndSaysWhyItFails)
{
    Add(System(QStringLiteral("GOOD")));
    Add(System(QStringLiteral("NOUSER"), 285, QString()));
    auto refusing = System(QStringLiteral("REFUSE"));
    refusing.refusesSignon = true;
    Add(refusing);
    auto away = System(QStringLiteral("AWAY"));
    away.reachable = false;
    Add(away);

    struct Case
    {
        const char* system;
        unsigned result;
        const char* message;
    };
    const Case cases[] = {
        {"good", kCwbOk, ""},
        {"NOUSER", kCwbSignonRefused, "KWV1101: No user ID is set for system NOUSER."},
        {"REFUSE", kCwbSignonRefused, "KWV1102: Sign-on of user KWVDUSER to system REFUSE refused."},
        {"AWAY", kCwbSystemUnreachable, "KWV1003: System AWAY cannot be reached."},
    };
    for (const Case& c : cases) {
        const cwbSV_ErrHandle error = NewErrorHandle();
        cwbSY_SecurityHandle security = 0;
        ASSERT_EQ(cwbSY_CreateSecurityObj(&security), kCwbOk);
        EXPECT_EQ(cwbSY_SetSys(security, c.system), kCwbOk) << c.system;
        EXPECT_EQ(cwbSY_Logon(security, error), c.result) << c.system;
        const auto messages = Messages(error);
        EXPECT_EQ(messages.empty() ? "" : messages.front(), std::string(c.message)) << c.system;
        EXPECT_EQ(cwbSY_DeleteSecurityObj(security), kCwbOk);
        EXPECT_EQ(cwbSY_Logon(security, error), kCwbInvalidHandle);
    }

    cwbSY_SecurityHandle security = 0;
    ASSERT_EQ(cwbSY_CreateSecurityObj(&security), kCwbOk);
    EXPECT_EQ(cwbSY_Logon(security, 0), kCwbInvalidParameter);
    EXPECT_EQ(cwbSY_SetSys(security, "NOSYS"), kCwbUnknownSystem);
    EXPECT_EQ(cwbSY_SetSys(security, ""), kCwbInvalidParameter);
    cwbSY_DeleteSecurityObj(security);
}

TEST_F(Systems, TheCcsidOfASystem)
{
    Add(System(QStringLiteral("UK"), 285));
    Add(System(QStringLiteral("UNSET"), 0));
    Add(System(QStringLiteral("ODD"), 12345));
    struct Case
    {
        const char* system;
        unsigned result;
        unsigned long ccsid;
        const char* message;
    };
    const Case cases[] = {
        {"uk", kCwbOk, 285, ""},
        {"UNSET", kCwbDefaultCcsid, 37, "KWV1201: System UNSET has no CCSID set; CCSID 37 is used."},
        {"ODD", kCwbInvalidCcsid, 12345, "KWV1202: CCSID 12345 of system ODD cannot be converted."},
        {"NOSYS", kCwbUnknownSystem, 0, "KWV1004: System NOSYS is not configured."},
    };
    for (const Case& c : cases) {
        const cwbSV_ErrHandle error = NewErrorHandle();
        unsigned long ccsid = 0;
        EXPECT_EQ(cwbNL_GetHostCCSID(c.system, &ccsid, error), c.result) << c.system;
        EXPECT_EQ(ccsid, c.ccsid) << c.system;
        const auto messages = Messages(error);
        EXPECT_EQ(messages.empty() ? "" : messages.front(), std::string(c.message)) << c.system;
    }
}

TEST_F(Systems, ADamagedStoreIsReportedNotTakenForAnEmptyOne)
{
    Add(System(QStringLiteral("KWVDSYS")));
    QFile file(m_store.FilePath(QStringLiteral("store.json")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("{\"format\": 1, \"systems\": [");
    file.close();

    const cwbSV_ErrHandle error = NewErrorHandle();
    cwbCO_SysListHandle list = 0;
    EXPECT_EQ(cwbCO_CreateSysListHandle(&list, error), kCwbStoreError);
    ASSERT_EQ(Messages(error).size(), 1u);
    EXPECT_EQ(Messages(error).front().rfind("KWV5001: ", 0), 0u);
    cwbCO_SysHandle system = 0;
    EXPECT_EQ(cwbCO_CreateSystem("KWVDSYS", &system), kCwbStoreError);
    // Nothing is written over it.
    QString message;
    EXPECT_FALSE(AddLibrary(QStringLiteral("KWVDSYS"), QStringLiteral("NEW"), &message));
    EXPECT_FALSE(message.isEmpty());
}
