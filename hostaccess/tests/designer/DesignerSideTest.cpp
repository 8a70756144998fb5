// The library as the designer uses it: loaded by name through ServerAccess,
// its boxes shown through the designer's prompt service, and its translator
// writing the JVX files the host reads.

#include "designer/shell/ServerAccess.h"
#include "hostaccess/tests/QueueRequest.h"

#include "platform/clientaccess/Faults.h"
#include "platform/clientaccess/HostSetup.h"
#include "platform/framework/Clock.h"
#include "tests/support/JvxDocumentFixture.h"
#include "tests/support/ScopedEmuhostStore.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace kwvd::clientaccess;

const QString kSystem = QStringLiteral("KWVDSYS");

class DesignerSide : public ::testing::Test
{
protected:
    void SetUp() override
    {
        HostSystem system;
        system.name = kSystem;
        system.ccsid = 285;
        system.userId = QStringLiteral("KWVDUSER");
        system.initialLibraries = QStringList{QStringLiteral("KWVD")};
        QString error;
        ASSERT_TRUE(AddSystem(system, true, &error)) << error.toStdString();
        ASSERT_TRUE(access.Load(QStringList{qEnvironmentVariable("KWVD_LIBRARY_PATH")}))
            << access.LoadError().toStdString();
        ASSERT_TRUE(doc.OnNewDocument());
        ASSERT_TRUE(doc.SetCodePageId(285));
        env.prompts->ClearRecorded();
    }
    void TearDown() override { ClearInjectedFaults(); }

    Bytes Export(int version, const QString& name)
    {
        QString member = QStringLiteral("INVOICE");
        const QString path = env.folder.filePath(name);
        if (!doc.ExportJVXFile(path, member, version))
            return {};
        return ReadFileBytes(path);
    }

    ScopedEmuhostStore store;
    WvdTestEnvironment env;
    ServerAccess access;
    CDesignerDoc doc;
    const kwvd::FixedClock clock{QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7, 890), Qt::UTC)};
};

TEST_F(DesignerSide, EntryPointsAreFoundByName)
{
    for (const char* name :
         {MerrowEntryPoint::kCallRemoteProgram, MerrowEntryPoint::kCallCRTWVD, MerrowEntryPoint::kCreateTranslator})
        EXPECT_NE(access.FindEntryPoint(name), nullptr) << name;
}

TEST_F(DesignerSide, HostFailureIsShownThroughTheDesignersPrompts)
{
    CrtWvdRequest request = QueueRequest(kSystem, QStringLiteral("KWVD"));
    ASSERT_TRUE(SetInjectedFault("cwbRC_RunCmd", kCwbCommandFailed, "KWV4030", "CRTWVD not allowed.", false));
    EXPECT_EQ(access.CallCRTWVD(&request), 0);
    EXPECT_EQ(env.PromptTexts(), QStringList{QStringLiteral("KWV4030: CRTWVD not allowed.")});
}

TEST_F(DesignerSide, JvxExportThroughTheLibrarysTranslatorCarriesHostText)
{
    struct Case
    {
        int version;
        const char* word;
    };
    for (const Case c : {Case{19, "D1 E5 E7 F0 F1 F9"}, Case{28, "D1 E5 E7 F0 F2 F8"}}) {
        SCOPED_TRACE(c.version);
        Bytes real;
        {
            TranslatorFactoryScope factory([this](int mode) { return access.CreateTranslator(mode, kSystem); });
            real = Export(c.version, QStringLiteral("real.jvx"));
        }
        ASSERT_GE(real.size(), 21u);
        EXPECT_EQ(Bytes(real.begin(), real.begin() + 6), Hex(c.word));
        // The file's CCSID "00285", then field 1, the member name, blank-padded.
        EXPECT_EQ(Bytes(real.begin() + 6, real.begin() + 11), Hex("F0 F0 F2 F8 F5"));
        EXPECT_EQ(Bytes(real.begin() + 11, real.begin() + 21), Hex("C9 D5 E5 D6 C9 C3 C5 40 40 40"));

        TranslatorLog log;
        Bytes iconv;
        {
            TranslatorFactoryScope factory(log);
            iconv = Export(c.version, QStringLiteral("iconv.jvx"));
        }
        EXPECT_TRUE(real == iconv) << FirstDifference(real, iconv);
    }
    EXPECT_TRUE(env.PromptTexts().isEmpty()) << env.PromptTexts().join(u'|').toStdString();
}

TEST_F(DesignerSide, DocumentInACcsidTheHostCannotConvertIsNotExported)
{
    ASSERT_TRUE(doc.SetCodePageId(924));
    TranslatorFactoryScope factory([this](int mode) { return access.CreateTranslator(mode, kSystem); });
    QString member = QStringLiteral("INVOICE");
    const QString path = env.folder.filePath(QStringLiteral("invoice.jvx"));
    EXPECT_FALSE(doc.ExportJVXFile(path, member, 28));
    EXPECT_FALSE(QFile::exists(path));
    const QStringList texts = env.PromptTexts();
    ASSERT_FALSE(texts.isEmpty());
    // The host's word on the CCSID once, then the export's own message.
    EXPECT_TRUE(texts.front().contains(QStringLiteral("924"))) << texts.front().toStdString();
    EXPECT_TRUE(texts.back().startsWith(QStringLiteral("WVD INVOICE not Exported. Errors were encountered.")))
        << texts.join(u'|').toStdString();
    const QStringList left = QDir(env.folder.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_TRUE(std::none_of(left.begin(), left.end(), [](const QString& name) {
        return name.contains(QStringLiteral("invoice"), Qt::CaseInsensitive) || name.startsWith(u'~');
    })) << left.join(u'|').toStdString();
}

} // namespace
