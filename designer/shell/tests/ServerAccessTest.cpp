#include "designer/shell/ServerAccess.h"
#include "designer/shell/tests/AppTestEnvironment.h"

#include "designer/document/CrtWvdRequest.h"
#include "hostaccess/api/Translator.h"

#include <gtest/gtest.h>

#include <QDir>

namespace {

const QString kStubFolder = QStringLiteral(KWVD_MERROW2_STUB_DIR);

TEST(ServerAccess, MissingLibraryIsReportedByTheLoadAndGivesNoTranslator)
{
    AppTestEnvironment env;
    ServerAccess access;
    EXPECT_FALSE(access.Load({env.folder.path(), QString()}));
    EXPECT_FALSE(access.IsLoaded());
    EXPECT_EQ(access.CreateTranslator(2, QStringLiteral("SYS")), nullptr);
    CrtWvdRequest request;
    EXPECT_EQ(access.CallCRTWVD(&request), 0);
    // A missing library says nothing here; start-up reports it once.
    EXPECT_TRUE(env.MessageTexts().isEmpty());
}

TEST(ServerAccess, LibraryWithoutCreateTranslatorGivesMessage278)
{
    AppTestEnvironment env;
    ServerAccess access;
    ASSERT_TRUE(access.Load({env.folder.path(), kStubFolder}));
    ASSERT_TRUE(access.IsLoaded());
    EXPECT_EQ(access.LoadedPath(), QDir(kStubFolder).filePath(QStringLiteral("libMerrow2.so")));
    EXPECT_EQ(access.CreateTranslator(3, QStringLiteral("SYS")), nullptr);
    EXPECT_EQ(env.MessageTexts(), QStringList{QStringLiteral("Failed to establish contact with Server.")});
}

TEST(ServerAccess, CallCrtWvdPassesTheRequestUnderTheWaitCursor)
{
    AppTestEnvironment env;
    ServerAccess access;
    ASSERT_TRUE(access.Load({kStubFolder}));
    using CountProc = int (*)();
    using LastProc = void* (*)();
    const auto count = reinterpret_cast<CountProc>(access.FindEntryPoint("Merrow2StubCallCount"));
    const auto last = reinterpret_cast<LastProc>(access.FindEntryPoint("Merrow2StubLastRequest"));
    ASSERT_NE(count, nullptr);
    ASSERT_NE(last, nullptr);
    const int before = count();
    CrtWvdRequest request;
    EXPECT_EQ(access.CallCRTWVD(&request), 1);
    EXPECT_EQ(count(), before + 1);
    EXPECT_EQ(last(), &request);
    EXPECT_EQ(env.prompts->WaitCursorShowCount(), 1);
    EXPECT_EQ(env.prompts->WaitCursorDepth(), 0);
}

TEST(ServerAccess, FreeUnloadsAndLoadingAgainWorks)
{
    AppTestEnvironment env;
    ServerAccess access;
    ASSERT_TRUE(access.Load({kStubFolder}));
    access.Free();
    EXPECT_FALSE(access.IsLoaded());
    EXPECT_EQ(access.FindEntryPoint("CallCRTWVD"), nullptr);
    EXPECT_TRUE(access.Load({kStubFolder}));
    EXPECT_NE(access.FindEntryPoint("CallCRTWVD"), nullptr);
}

// A translator whose mode cannot be set must not reach the caller.
class RefusingTranslator : public ITranslator
{
public:
    explicit RefusingTranslator(bool* deleted) : m_deleted(deleted) {}
    ~RefusingTranslator() override { *m_deleted = true; }
    int SetMode(int) override { return 0; }
    int SetHostCCSID(int) override { return 1; }
    void Write(const void*, unsigned int, CFile*) override {}
    unsigned int Read(void*, unsigned int, CFile*) override { return 0; }
    int SetStripShift(int) override { return 0; }

private:
    bool* m_deleted;
};

} // namespace

namespace {

bool g_deleted = false;
QString g_system;
int g_mode = -1;

class RecordingTranslator : public RefusingTranslator
{
public:
    RecordingTranslator() : RefusingTranslator(&g_deleted) {}
    int SetMode(int mode) override
    {
        g_mode = mode;
        return 1;
    }
};

ITranslator* CreateRefusing(const QString* system)
{
    g_system = *system;
    return new RefusingTranslator(&g_deleted);
}

ITranslator* CreateRecording(const QString* system)
{
    g_system = *system;
    return new RecordingTranslator;
}

ITranslator* CreateNone(const QString*)
{
    return nullptr;
}

TEST(ServerAccess, TranslatorIsSetToTheModeOrDropped)
{
    g_deleted = false;
    EXPECT_EQ(ServerAccess::CreateTranslatorWith(&CreateRefusing, 2, QStringLiteral("SYSA")), nullptr);
    EXPECT_TRUE(g_deleted);
    EXPECT_EQ(g_system, QStringLiteral("SYSA"));

    EXPECT_EQ(ServerAccess::CreateTranslatorWith(&CreateNone, 2, QStringLiteral("SYSA")), nullptr);

    g_deleted = false;
    ITranslator* translator = ServerAccess::CreateTranslatorWith(&CreateRecording, 3, QStringLiteral("SYSB"));
    ASSERT_NE(translator, nullptr);
    EXPECT_EQ(g_mode, 3);
    EXPECT_EQ(g_system, QStringLiteral("SYSB"));
    EXPECT_FALSE(g_deleted);
    delete translator;
    EXPECT_TRUE(g_deleted);
}

} // namespace
