// The library as the designer meets it: entry points found by name in
// libMerrow2.so, each catching whatever is thrown in it, and the remote
// commands they run as the host's job log records them.

#include "hostaccess/CallFrame.h"
#include "hostaccess/api/EntryPoints.h"
#include "hostaccess/tests/QueueRequest.h"

#include "platform/clientaccess/Faults.h"
#include "platform/clientaccess/tests/EmulatedHostFixture.h"
#include "tests/support/ScopedPrompts.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <functional>
#include <ostream>
#include <stdexcept>

namespace {

using namespace kwvd::clientaccess;

const QString kSystem = QStringLiteral("KWVDSYS");

// The library the designer would load: the one built into the library
// folder, which this test program has loaded already.
class LoadedLibrary
{
public:
    LoadedLibrary()
    {
        const QString path = QDir(qEnvironmentVariable("KWVD_LIBRARY_PATH")).filePath(QStringLiteral("libMerrow2.so"));
        m_module = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    }
    ~LoadedLibrary()
    {
        if (m_module)
            dlclose(m_module);
    }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    template <typename Proc>
    Proc Find(const char* name) const
    {
        return m_module ? reinterpret_cast<Proc>(dlsym(m_module, name)) : nullptr;
    }
    bool IsLoaded() const { return m_module != nullptr; }

private:
    void* m_module = nullptr;
};

TEST(MerrowExports, EntryPointsAreFoundByName)
{
    LoadedLibrary library;
    ASSERT_TRUE(library.IsLoaded()) << dlerror();
    for (const char* name :
         {MerrowEntryPoint::kCallRemoteProgram, MerrowEntryPoint::kCallCRTWVD, MerrowEntryPoint::kCreateTranslator})
        EXPECT_NE(library.Find<void*>(name), nullptr) << name;
}

// Throws what the test chose, whichever entry point runs.
class ThrowingEntryPoints
{
public:
    explicit ThrowingEntryPoints(EntryPointFaultHook hook) { SetEntryPointFaultHook(hook); }
    ~ThrowingEntryPoints() { SetEntryPointFaultHook(nullptr); }
    ThrowingEntryPoints(const ThrowingEntryPoints&) = delete;
    ThrowingEntryPoints& operator=(const ThrowingEntryPoints&) = delete;
};

struct FrameCase
{
    const char* name;
    EntryPointFaultHook fault;
    std::function<bool(const LoadedLibrary&)> callGivesFailure;
    const char* shown;
};

void PrintTo(const FrameCase& c, std::ostream* os)
{
    *os << c.name;
}

const QString kAnySystem = QStringLiteral("KWVDSYS");
const QString kProgram = QStringLiteral("KWVD/PCWVDCL");
const QString kParameters = QStringLiteral("INVOICE KWVD");

bool CallRemoteProgramFails(const LoadedLibrary& library)
{
    const auto call = library.Find<CallRemoteProgramProc>(MerrowEntryPoint::kCallRemoteProgram);
    return call && call(&kAnySystem, &kProgram, &kParameters) == 0;
}

bool CallCrtWvdFails(const LoadedLibrary& library)
{
    const auto call = library.Find<CallCRTWVDProc>(MerrowEntryPoint::kCallCRTWVD);
    CrtWvdRequest request;
    return call && call(&request) == FALSE;
}

bool CreateTranslatorFails(const LoadedLibrary& library)
{
    const auto create = library.Find<CreateTranslatorProc>(MerrowEntryPoint::kCreateTranslator);
    return create && create(&kAnySystem) == nullptr;
}

const char* const kRemoteProgramText =
    "An unknown error occurred whilst attempting to call a remote program on the Server.";
const char* const kTranslatorText = "An unknown error occurred whilst attempting to create a Translator.";

const FrameCase kFrameCases[] = {
    {"CallRemoteProgramStandardException", [](const char*) { throw std::runtime_error("injected"); },
     CallRemoteProgramFails, kRemoteProgramText},
    {"CallRemoteProgramAnyThrow", [](const char*) { throw 42; }, CallRemoteProgramFails, kRemoteProgramText},
    {"CallCRTWVDStandardException", [](const char*) { throw std::bad_alloc(); }, CallCrtWvdFails, kRemoteProgramText},
    {"CallCRTWVDAnyThrow", [](const char*) { throw 42; }, CallCrtWvdFails, kRemoteProgramText},
    {"CreateTranslatorStandardException", [](const char*) { throw std::runtime_error("injected"); },
     CreateTranslatorFails, kTranslatorText},
    {"CreateTranslatorAnyThrow", [](const char*) { throw 42; }, CreateTranslatorFails, kTranslatorText},
};

class EntryPointFrame : public ::testing::TestWithParam<FrameCase>
{};

TEST_P(EntryPointFrame, ThrowShowsTheEntryPointsTextAndGivesItsFailure)
{
    const FrameCase& c = GetParam();
    LoadedLibrary library;
    ASSERT_TRUE(library.IsLoaded());
    ScopedPromptAnswers prompts;
    ThrowingEntryPoints throwing(c.fault);
    EXPECT_TRUE(c.callGivesFailure(library));
    EXPECT_EQ(prompts.Texts(), QStringList{QString::fromUtf8(c.shown)});
}

INSTANTIATE_TEST_SUITE_P(Throws, EntryPointFrame, ::testing::ValuesIn(kFrameCases));

TEST(EntryPointFrame, VoidBodyThatThrowsIsReported)
{
    ScopedPromptAnswers prompts;
    bool ranAfter = false;
    RunEntryPoint("DestroySpooledFileList", 10125, [] { throw std::runtime_error("injected"); });
    ranAfter = true;
    EXPECT_TRUE(ranAfter);
    EXPECT_EQ(prompts.Texts(),
              QStringList{QStringLiteral(
                  "An unknown error occurred whilst attempting to import a spooled file from the Server.")});
}

class RemoteCommands : public EmulatedHost
{
protected:
    void SetUp() override
    {
        HostSystem system = System(kSystem);
        system.initialLibraries = QStringList{QStringLiteral("QGPL"), QStringLiteral("KWVD")};
        Add(system, true);
        Library(kSystem, QStringLiteral("QUSRSYS"));
    }

    // The commands of the job log, without time and job.
    static QStringList Commands()
    {
        QStringList commands;
        static const QRegularExpression entry(QStringLiteral("^\\S+ \\S+ \\d{6}/\\S+/\\S+ (.*)$"));
        for (const QString& line : QString::fromStdString(JobLog(kSystem)).split(u'\n')) {
            const QRegularExpressionMatch match = entry.match(line);
            if (match.hasMatch())
                commands << match.captured(1);
        }
        return commands;
    }

    static CrtWvdRequest Request() { return QueueRequest(kSystem, QStringLiteral("KWVD")); }

    LoadedLibrary m_library;
    ScopedPromptAnswers m_prompts;
};

TEST_F(RemoteCommands, RemoteProgramCallIsLoggedAsSent)
{
    HostFile(kSystem, QStringLiteral("QDLS/KWVD/PCIN/INVOICE.JVX"), QByteArray("JVX019 rest of the file\r\n"));
    const auto call = m_library.Find<CallRemoteProgramProc>(MerrowEntryPoint::kCallRemoteProgram);
    ASSERT_NE(call, nullptr);
    EXPECT_EQ(call(&kSystem, &kProgram, &kParameters), 1);
    EXPECT_EQ(Commands(), QStringList{QStringLiteral("CALL PGM(KWVD/PCWVDCL) PARM(INVOICE KWVD)")});
    EXPECT_TRUE(m_prompts.Texts().isEmpty()) << m_prompts.Texts().join(u'|').toStdString();
}

TEST_F(RemoteCommands, RemoteProgramThatLogsAMessageFailsWithIt)
{
    const auto call = m_library.Find<CallRemoteProgramProc>(MerrowEntryPoint::kCallRemoteProgram);
    ASSERT_NE(call, nullptr);
    EXPECT_EQ(call(&kSystem, &kProgram, &kParameters), 0);
    ASSERT_EQ(m_prompts.Texts().size(), 1);
    EXPECT_TRUE(m_prompts.Texts().front().contains(QStringLiteral("INVOICE.JVX")))
        << m_prompts.Texts().front().toStdString();
}

TEST_F(RemoteCommands, UnknownSystemShowsTheLabelAndRunsNothing)
{
    const auto call = m_library.Find<CallRemoteProgramProc>(MerrowEntryPoint::kCallRemoteProgram);
    ASSERT_NE(call, nullptr);
    const QString unknown = QStringLiteral("NOSUCH");
    EXPECT_EQ(call(&unknown, &kProgram, &kParameters), 0);
    EXPECT_EQ(m_prompts.Texts(), QStringList{QStringLiteral("CreateSystemHandle")});
    EXPECT_TRUE(Commands().isEmpty());
}

struct SubmissionCase
{
    const char* name;
    std::function<void(CrtWvdRequest&)> change;
    const char* submitted;
};

void PrintTo(const SubmissionCase& c, std::ostream* os)
{
    *os << c.name;
}

class CrtWvdSubmission : public RemoteCommands, public ::testing::WithParamInterface<SubmissionCase>
{};

TEST_P(CrtWvdSubmission, AddsTheLibraryQuietlyThenSubmits)
{
    const SubmissionCase& c = GetParam();
    CrtWvdRequest request = Request();
    c.change(request);
    const auto call = m_library.Find<CallCRTWVDProc>(MerrowEntryPoint::kCallCRTWVD);
    ASSERT_NE(call, nullptr);
    // KWVD is in the job's list already: ADDLIBLE's message stays hidden.
    EXPECT_EQ(call(&request), TRUE);
    EXPECT_EQ(Commands(), (QStringList{QStringLiteral("ADDLIBLE KWVD"), QString::fromUtf8(c.submitted)}));
    EXPECT_TRUE(m_prompts.Texts().isEmpty()) << m_prompts.Texts().join(u'|').toStdString();
}

const SubmissionCase kSubmissionCases[] = {
    {"NewRequest", [](CrtWvdRequest&) {},
     "SBMJOB CMD(CRTWVD SFILE(*SLTSPL) FILE(*ALL) USRPRF(*ALL) OUTQ(KWVD/QPRINT) FORMTYPE(*ALL) USRDTA(*ALL) "
     "SPLSTS(*HLD) MOUTQ() WVDNAM(INVOICE/KWVD/APRTPDM))"},
    {"MessageQueueWithLibrary",
     [](CrtWvdRequest& r) {
         r.SetMessageQueueLibrary(QStringLiteral("QUSRSYS"));
         r.SetMessageQueue(QStringLiteral("KWVDMSG"));
     },
     "SBMJOB CMD(CRTWVD SFILE(*SLTSPL) FILE(*ALL) USRPRF(*ALL) OUTQ(KWVD/QPRINT) FORMTYPE(*ALL) USRDTA(*ALL) "
     "SPLSTS(*HLD) MOUTQ(QUSRSYS/KWVDMSG) WVDNAM(INVOICE/KWVD/APRTPDM))"},
    {"MessageQueueWithoutLibrary", [](CrtWvdRequest& r) { r.SetMessageQueue(QStringLiteral("KWVDMSG")); },
     "SBMJOB CMD(CRTWVD SFILE(*SLTSPL) FILE(*ALL) USRPRF(*ALL) OUTQ(KWVD/QPRINT) FORMTYPE(*ALL) USRDTA(*ALL) "
     "SPLSTS(*HLD) MOUTQ(KWVDMSG) WVDNAM(INVOICE/KWVD/APRTPDM))"},
    {"UserDataWithApostrophe", [](CrtWvdRequest& r) { r.GetIdentity().SetUserData(QStringLiteral("O'NEIL")); },
     "SBMJOB CMD(CRTWVD SFILE(*SLTSPL) FILE(*ALL) USRPRF(*ALL) OUTQ(KWVD/QPRINT) FORMTYPE(*ALL) "
     "USRDTA('O''NEIL') SPLSTS(*HLD) MOUTQ() WVDNAM(INVOICE/KWVD/APRTPDM))"},
};

INSTANTIATE_TEST_SUITE_P(Requests, CrtWvdSubmission, ::testing::ValuesIn(kSubmissionCases));

TEST_F(RemoteCommands, RefusedRequestReachesNoHost)
{
    CrtWvdRequest request = Request();
    request.GetIdentity().SetFileName(QStringLiteral("MY FILE"));
    const auto call = m_library.Find<CallCRTWVDProc>(MerrowEntryPoint::kCallCRTWVD);
    ASSERT_NE(call, nullptr);
    EXPECT_EQ(call(&request), FALSE);
    EXPECT_EQ(m_prompts.Texts(),
              QStringList{QStringLiteral("The value \"MY FILE\" cannot be passed to the Server as FILE.")});
    EXPECT_TRUE(Commands().isEmpty());
}

TEST_F(RemoteCommands, SubmissionTheHostRefusesFails)
{
    CrtWvdRequest request = Request();
    request.SetSystem(kSystem);
    ASSERT_TRUE(SetInjectedFault("cwbRC_RunCmd", kCwbCommandFailed, "KWV4010", "Submission refused.", false));
    const auto call = m_library.Find<CallCRTWVDProc>(MerrowEntryPoint::kCallCRTWVD);
    ASSERT_NE(call, nullptr);
    EXPECT_EQ(call(&request), FALSE);
    ClearInjectedFaults();
    // The hidden ADDLIBLE's message is not shown with the submission's.
    EXPECT_EQ(m_prompts.Texts(), QStringList{QStringLiteral("KWV4010: Submission refused.")});
}

TEST_F(RemoteCommands, NullArgumentsGiveZero)
{
    const auto call = m_library.Find<CallRemoteProgramProc>(MerrowEntryPoint::kCallRemoteProgram);
    const auto submit = m_library.Find<CallCRTWVDProc>(MerrowEntryPoint::kCallCRTWVD);
    ASSERT_NE(call, nullptr);
    ASSERT_NE(submit, nullptr);
    EXPECT_EQ(call(nullptr, &kProgram, &kParameters), 0);
    EXPECT_EQ(submit(nullptr), FALSE);
    EXPECT_TRUE(m_prompts.Texts().isEmpty());
}

} // namespace
