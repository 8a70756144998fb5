#include "designer/shell/WVDDesignerApp.h"
#include "designer/shell/tests/AppTestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace {

class HelpTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        helpFile = env.folder.filePath(QStringLiteral("help/index.html"));
        CWVDDesignerApp::Environment e;
        e.helpFile = helpFile;
        e.serverLibraryFolders = QStringList{};
        app = std::make_unique<CWVDDesignerApp>(e);
        RegisterAppStrings();
    }
    void WriteHelp(const QByteArray& text)
    {
        QDir().mkpath(QFileInfo(helpFile).absolutePath());
        QFile file(helpFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    AppTestEnvironment env;
    QString helpFile;
    std::unique_ptr<CWVDDesignerApp> app;
};

TEST_F(HelpTest, MissingHelpFileGivesMessage367WithThePath)
{
    app->ShowHelp(CWVDDesignerApp::kTutorialContext, HELP_CONTEXT);
    EXPECT_EQ(
        env.MessageTexts(),
        QStringList{QStringLiteral("Failed to find help file, Help cannot be displayed.\nFile: \"") + helpFile + u'"'});
    EXPECT_TRUE(env.openedUrls.empty());
    EXPECT_EQ(env.prompts->WaitCursorShowCount(), 0);
}

TEST_F(HelpTest, CommandsMapOntoTopicAndContents)
{
    WriteHelp("<h1 id=\"contents\">x</h1><p id=\"topic-98333\">t</p>");
    struct Case
    {
        const char* name;
        DWORD data;
        UINT command;
        const char* fragment;
    };
    const Case cases[] = {
        {"context", 98333, HELP_CONTEXT, "topic-98333"},
        {"contents", 0, HELP_CONTENTS, ""},
        {"finder", 0, HELP_FINDER, ""},
        {"unknown topic falls back to the contents", 4242, HELP_CONTEXT, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        env.openedUrls.clear();
        app->ShowHelp(c.data, c.command);
        ASSERT_EQ(env.openedUrls.size(), 1u);
        EXPECT_EQ(env.openedUrls[0].fragment(), QString::fromLatin1(c.fragment));
    }
    EXPECT_TRUE(env.MessageTexts().isEmpty());
    EXPECT_EQ(env.prompts->WaitCursorDepth(), 0);
}

TEST_F(HelpTest, DebugServicesExplainAFailedTopic)
{
    WriteHelp("<h1 id=\"contents\">x</h1>");
    app->GetPreferences().EnableDebugServices = TRUE;
    app->ShowHelp(4242, HELP_CONTEXT);
    EXPECT_EQ(env.MessageTexts(), QStringList{QStringLiteral(
                                      "DEBUG: Failed to call help.\n File: HH_HELP_CONTEXT, dwData: 4242 ($1092) \n")});
    ASSERT_EQ(env.openedUrls.size(), 1u);
    EXPECT_TRUE(env.openedUrls[0].fragment().isEmpty());
}

TEST(ShippedHelp, HasTheTopicsTheProgramOpens)
{
    QFile file(QStringLiteral(KWVD_HELP_SOURCE_DIR "/index.html"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("id=\"topic-98333\""));
    EXPECT_TRUE(text.contains("id=\"contents\""));
}

} // namespace
